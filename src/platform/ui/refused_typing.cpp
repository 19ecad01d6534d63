#include "platform/ui/refused_typing.h"

#include <QApplication>
#include <QKeyEvent>

namespace qj::ui {
namespace {

// A key that types a character into the edit (Shift for capitals and symbols included).
bool typesCharacter(const QKeyEvent* key) {
  const auto commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  return (key->modifiers() & commands) == 0 && !key->text().isEmpty() &&
         key->text().at(0).isPrint();
}

}  // namespace

void RefusedTyping::install(QLineEdit* edit) {
  if (!edit || edit->findChild<RefusedTyping*>(QString(), Qt::FindDirectChildrenOnly)) return;
  new RefusedTyping(edit);
}

RefusedTyping::RefusedTyping(QLineEdit* edit) : QObject(edit) {
  // The edit reports every change its validator or its length refused.
  connect(edit, &QLineEdit::inputRejected, this, &RefusedTyping::refused);
  // While refusing, typing changes nothing: any change of the text (a deletion, a paste, the
  // program's own) ends the refusal.
  connect(edit, &QLineEdit::textChanged, this, [this] { refusing_ = false; });
  edit->installEventFilter(this);
}

void RefusedTyping::refused() {
  refusing_ = true;
  QApplication::beep();
}

bool RefusedTyping::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (!typesCharacter(key)) {
        refusing_ = false;
      } else if (refusing_) {
        QApplication::beep();
        return true;
      }
      break;
    }
    case QEvent::FocusOut: refusing_ = false; break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qj::ui
