#pragma once
// The one filter of the program's edits and grid cell editors: every change of an edit's text
// (a key, a paste, a drop, a deletion) goes to the core's judgement, and a refused change beeps
// and shows at the edit what the edit takes (a label "refusalTip" of the edit's window). What
// the program puts into the edit is kept whole. A key pressed with Alt is a command (an access
// key), never text: one that nothing takes leaves the edit as it was. AltGr, a layout's third
// level, is no Alt and types.

#include <QKeyEvent>
#include <QLineEdit>
#include <QRect>
#include <QValidator>

#include "text/key_filters.h"
#include "text/shell_texts.h"

namespace qj::ui {

class KeyFilterValidator : public QValidator {
  Q_OBJECT

 public:
  // Installs itself on the edit, in place of any filter before it; the edit owns it. `tip` is
  // shown at the edit when a change is refused.
  KeyFilterValidator(QLineEdit* edit, const FieldRule& rule, QString tip);

  State validate(QString& input, int& pos) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refused() const;
  // A key whose character the field enters as another (a separator, a capital) types that
  // one instead; true when it did.
  bool enterTyped(const QKeyEvent& key);

  QLineEdit* edit_;
  FieldRule rule_;
  QString tip_;
  QString accepted_;  // the edit's text before the change being judged
};

// Shows `text` at `area` of the field (in the field's coordinates) for a few seconds, as a
// refused key's tip: under it, over the field's window, gone when the field loses the focus.
void showRefusalTip(QWidget* field, const QRect& area, const QString& text);
// What a field of `rule` says it takes, in the loaded shell.
QString keyFilterTip(const FieldRule& rule, const ShellTables& texts);
// The filter of `rule` on the edit, its refusal worded in the loaded shell.
void installKeyFilter(QLineEdit* edit, const FieldRule& rule, const ShellTables& texts);

}  // namespace qj::ui
