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

// A modal box; the button it was answered with. Every box shows its text as written: a text
// that looks like markup (a print system's words, a name or a path with "<b>" or "&lt;" in it)
// would otherwise be drawn as rich text, its tags hidden and its entities replaced.
QMessageBox::StandardButton ask(QMessageBox::Icon icon, const std::string& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton byDefault, QWidget* parent) {
  QMessageBox b(icon, title(), QString::fromStdString(text), buttons, parent);
  b.setTextFormat(Qt::PlainText);
  b.setDefaultButton(byDefault);
  b.exec();
  return b.standardButton(b.clickedButton());
}
}  // namespace

QWidget* QtMessages::parentOfNextBox() const {
  if (owner_) return owner_;
  // Operation windows are application-modal: the one the user works in is on top of the stack.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return fallback_;
}

void QtMessages::warning(const std::string& text) {
  ask(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok, parentOfNextBox());
}

void QtMessages::error(const std::string& text) {
  ask(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok, parentOfNextBox());
}

bool QtMessages::confirm(const std::string& text) {
  return ask(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
             parentOfNextBox()) == QMessageBox::Yes;
}

void QtMessages::information(const std::string& text) {
  ask(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok, parentOfNextBox());
}

void QtMessages::notice(MessageKind kind, const std::string& text) {
  const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                 : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                : QMessageBox::Information;
  auto* box = new QMessageBox(icon, title(), QString::fromStdString(text), QMessageBox::Ok,
                              parentOfNextBox());
  box->setTextFormat(Qt::PlainText);
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
