#pragma once
// The number and code filters of the edits (and of grid editors): a validator on the text
// the edit would hold, so typed and pasted text are filtered alike.

#include <QLineEdit>
#include <QValidator>

#include "text/key_filters.h"

namespace qj::ui {

class KeyFilterValidator : public QValidator {
  Q_OBJECT

 public:
  // Installs itself on the edit; the edit owns it.
  KeyFilterValidator(QLineEdit* edit, KeyFilter filter, char decSep);

  State validate(QString& input, int& pos) const override;

 private:
  KeyFilter filter_;
  char decSep_;
  QString accepted_;  // the edit's text before the change being judged
};

// Backspace and the digits.
void DigitKeyFilter(QLineEdit* edit);
// Backspace, the digits and the decimal separator.
void DecimalKeyFilter(QLineEdit* edit, char decSep);
// Backspace, the Latin letters and the digits.
void CodeKeyFilter(QLineEdit* edit);

}  // namespace qj::ui
