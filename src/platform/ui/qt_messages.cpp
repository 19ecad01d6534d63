#include "platform/ui/qt_messages.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

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

void QtMessages::notice(MessageKind kind, const std::string& text) {
  const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                 : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                : QMessageBox::Information;
  auto* box = new QMessageBox(icon, title(), QString::fromStdString(text), QMessageBox::Ok,
                              parentOfNextBox());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setAttribute(Qt::WA_ShowWithoutActivating);
  box->setWindowModality(Qt::NonModal);
  // The keys go to the text first, where Enter and the SpaceBar do nothing.
  if (auto* words = box->findChild<QLabel*>("qt_msgbox_label")) {
    words->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    words->setFocus();
  }
  box->show();
  // A dialog shown makes its first button its default; a notice has none.
  for (QPushButton* button : box->findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
}

}  // namespace qj::ui
