#include "platform/ui/QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace qj::ui {
namespace {
QString title() {
  return QApplication::applicationDisplayName();
}
}  // namespace

void QtMessages::warning(const std::string& text) {
  QMessageBox::warning(parent_, title(), QString::fromStdString(text));
}

void QtMessages::error(const std::string& text) {
  QMessageBox::critical(parent_, title(), QString::fromStdString(text));
}

bool QtMessages::confirm(const std::string& text) {
  return QMessageBox::question(parent_, title(), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtMessages::information(const std::string& text) {
  QMessageBox::information(parent_, title(), QString::fromStdString(text));
}

}  // namespace qj::ui
