#include "text/ui/key_filter_validator.h"

#include "platform/ui/qt_text.h"
#include "platform/ui/refused_typing.h"

namespace qj::ui {

KeyFilterValidator::KeyFilterValidator(QLineEdit* edit, KeyFilter filter, char decSep)
    : QValidator(edit), filter_(filter), decSep_(decSep), accepted_(edit->text()) {
  // Every text the edit takes, typed or set by the program, is the base of the next change.
  connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
  edit->setValidator(this);
  RefusedTyping::install(edit);
}

QValidator::State KeyFilterValidator::validate(QString& input, int& /*pos*/) const {
  // A character that code page 1251 cannot hold becomes '?', which no filter passes.
  return keyFilterAcceptsEdit(filter_, fromQt(accepted_), fromQt(input), decSep_) ? Acceptable
                                                                                  : Invalid;
}

void DigitKeyFilter(QLineEdit* edit) {
  new KeyFilterValidator(edit, KeyFilter::Digit, ',');
}

void DecimalKeyFilter(QLineEdit* edit, char decSep) {
  new KeyFilterValidator(edit, KeyFilter::Decimal, decSep);
}

void CodeKeyFilter(QLineEdit* edit) {
  new KeyFilterValidator(edit, KeyFilter::Code, ',');
}

}  // namespace qj::ui
