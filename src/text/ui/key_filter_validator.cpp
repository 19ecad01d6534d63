#include "text/ui/key_filter_validator.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QToolTip>

#include "platform/ui/qt_text.h"
#include "records/cp1251.h"

namespace qj::ui {
namespace {

// The core's view of an edit's text: a character that code page 1251 cannot hold stays one
// character that no filter takes.
std::string judged(const QString& text) {
  return cp1251::fromUtf8(text.toStdString(), nullptr, kForeignChar);
}

const QString kTipName = QStringLiteral("refusalTip");

// What a field takes, shown under the field for a few seconds: one label of the field's
// window, above its other widgets and transparent to the mouse, so that a click on a control it
// covers reaches the control. (Qt's own tooltip goes at the next key release, before the user
// has let go of the refused key.)
class RefusalTip : public QLabel {
 public:
  explicit RefusalTip(QWidget* window) : QLabel(window) {
    setObjectName(kTipName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(2);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
  }

  // `area`: the part of the field the tip is about, in the field's coordinates.
  void show(QWidget* field, const QRect& area, const QString& text) {
    if (field_ != field) {
      if (field_) field_->removeEventFilter(this);
      field_ = field;
      field->installEventFilter(this);
    }
    setText(text);
    adjustSize();
    // Under the area, or over it where the window ends below; within the window.
    const QWidget* window = parentWidget();
    QPoint at = field->mapTo(window, area.bottomLeft() + QPoint(0, 1));
    if (at.y() + height() > window->height())
      at.setY(field->mapTo(window, area.topLeft()).y() - height());
    at.setX(std::max(0, std::min(at.x(), window->width() - width())));
    move(at);
    raise();
    QLabel::show();
    timer_.start(4000);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == field_ && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide))
      hide();
    return QLabel::eventFilter(watched, event);
  }

 private:
  QPointer<QWidget> field_;
  QTimer timer_;
};

}  // namespace

KeyFilterValidator::KeyFilterValidator(QLineEdit* edit, const FieldRule& rule, QString tip)
    : QValidator(edit), edit_(edit), rule_(rule), tip_(std::move(tip)), accepted_(edit->text()) {
  for (auto* old : edit->findChildren<KeyFilterValidator*>(QString(), Qt::FindDirectChildrenOnly))
    if (old != this) delete old;
  // Every text the edit takes, typed or set by the program, is the base of the next change.
  connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
  connect(edit, &QLineEdit::inputRejected, this, &KeyFilterValidator::refused);
  edit->setValidator(this);
  edit->installEventFilter(this);
}

bool KeyFilterValidator::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & Qt::AltModifier) && !key->text().isEmpty()) {
      // Not typed; the edit's window may still take it as a command.
      key->ignore();
      return true;
    }
    if (enterTyped(*key)) return true;
  }
  return QValidator::eventFilter(watched, event);
}

bool KeyFilterValidator::enterTyped(const QKeyEvent& key) {
  const QString text = key.text();
  if (text.size() != 1 || text[0].unicode() >= 0x80 || !text[0].isPrint() ||
      (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) || edit_->isReadOnly())
    return false;
  const char typed = static_cast<char>(text[0].unicode());
  const char entered = typedCharacter(rule_, typed);
  if (entered == typed) return false;
  // Typed as the character it enters, so that the edit's undo steps back over it as over any
  // key; a text changed by the filter afterwards would start the edit's history anew.
  edit_->insert(QString(QChar(entered)));
  return true;
}

QValidator::State KeyFilterValidator::validate(QString& input, int& /*pos*/) const {
  // The edit counts a change as the user's until the program sets its text: a text the
  // program put in (a stored value, a default) is shown and kept as it is.
  if (!edit_->isModified()) return Acceptable;
  const FieldEdit edit = judgeEdit(rule_, judged(accepted_), judged(input));
  if (!edit.taken) return Invalid;
  // A changed separator or letter case keeps every character where it was.
  if (const QString text = toQt(edit.text); text != input) input = text;
  return Acceptable;
}

void KeyFilterValidator::refused() const {
  QApplication::beep();
  if (!tip_.isEmpty()) showRefusalTip(edit_, edit_->rect(), tip_);
}

void showRefusalTip(QWidget* field, const QRect& area, const QString& text) {
  QWidget* window = field->window();
  auto* tip =
      static_cast<RefusalTip*>(window->findChild<QLabel*>(kTipName, Qt::FindDirectChildrenOnly));
  (tip ? tip : new RefusalTip(window))->show(field, area, text);
}

QString keyFilterTip(const FieldRule& rule, const ShellTables& texts) {
  return toQt(qj::keyFilterTip(rule).resolve(texts));
}

void installKeyFilter(QLineEdit* edit, const FieldRule& rule, const ShellTables& texts) {
  new KeyFilterValidator(edit, rule, keyFilterTip(rule, texts));
}

}  // namespace qj::ui
