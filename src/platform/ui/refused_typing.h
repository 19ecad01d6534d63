#pragma once
// A character that an edit's filter refuses must not quietly vanish from the middle of what
// the user types: "12/3" in a house-number cell would become "123", a valid-looking number of
// another house. The refused character beeps, and the characters typed after it are refused
// too (each with its beep) until the user deals with the refusal by a key that is not a
// character (Backspace, Delete, a cursor key, a Ctrl command), a change of the text, or
// leaving the edit. The text stays as it was before the refused character.

#include <QLineEdit>
#include <QObject>

namespace qj::ui {

class RefusedTyping : public QObject {
  Q_OBJECT

 public:
  // Guards the edit; the edit owns the guard.
  static void install(QLineEdit* edit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit RefusedTyping(QLineEdit* edit);
  void refused();

  bool refusing_ = false;
};

}  // namespace qj::ui
