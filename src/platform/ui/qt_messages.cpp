#include "platform/ui/qt_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace qj::ui {
namespace {
QString title() {
  return QApplication::applicationDisplayName();
}
}  // namespace

QWidget* QtMessages::parentOfNextBox() const {
  if (owner_) return owner_;
  // Operation windows are application-modal: the one the user works in is on top of the stack.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return fallback_;
}

void QtMessages::warning(const std::string& text) {
  QMessageBox::warning(parentOfNextBox(), title(), QString::fromStdString(text));
}

void QtMessages::error(const std::string& text) {
  QMessageBox::critical(parentOfNextBox(), title(), QString::fromStdString(text));
}

bool QtMessages::confirm(const std::string& text) {
  return QMessageBox::question(parentOfNextBox(), title(), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void QtMessages::information(const std::string& text) {
  QMessageBox::information(parentOfNextBox(), title(), QString::fromStdString(text));
}

}  // namespace qj::ui
