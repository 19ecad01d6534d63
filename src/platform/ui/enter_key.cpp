#include "platform/ui/enter_key.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace qj::ui {
namespace {

class EnterPressesDefault : public QObject {
 public:
  explicit EnterPressesDefault(QWidget* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
      return false;
    QPushButton* button = qobject_cast<QPushButton*>(window_->focusWidget());
    if (!button) button = shownDefault();
    if (!button || !button->isVisible() || !button->isEnabled()) return false;
    button->click();
    return true;
  }

 private:
  // Of the steps that share a window, one shows its default button at a time.
  QPushButton* shownDefault() const {
    for (QPushButton* b : window_->findChildren<QPushButton*>())
      if (b->isDefault() && b->isVisible()) return b;
    return nullptr;
  }

  QWidget* window_;
};

}  // namespace

void pressDefaultButtonOnEnter(QWidget* window) {
  window->installEventFilter(new EnterPressesDefault(window));
}

}  // namespace qj::ui
