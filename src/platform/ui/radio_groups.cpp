#include "platform/ui/radio_groups.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QRadioButton>

namespace qj::ui {
namespace {

bool usable(const QAbstractButton* b) {
  return b->isEnabled() && !b->isHidden();
}

// The button that Tab enters the group on: the checked one, else the first usable one. While
// the focus is in the group, its button is the stop, so that Tab and Shift+Tab leave the group.
QAbstractButton* tabStop(const QList<QAbstractButton*>& group) {
  QWidget* focus = QApplication::focusWidget();
  QAbstractButton* first = nullptr;
  QAbstractButton* checked = nullptr;
  for (QAbstractButton* b : group) {
    if (b == focus) return b;
    if (!usable(b)) continue;
    if (!first) first = b;
    if (b->isChecked()) checked = b;
  }
  return checked ? checked : first ? first : group.front();
}

void settleTabStop(const QAbstractButton* member) {
  const QList<QAbstractButton*> group = radioGroupOf(member);
  if (group.isEmpty()) return;
  const QAbstractButton* stop = tabStop(group);
  for (QAbstractButton* b : group) {
    const Qt::FocusPolicy policy = b == stop ? Qt::FocusPolicy(b->focusPolicy() | Qt::TabFocus)
                                             : Qt::FocusPolicy(b->focusPolicy() & ~Qt::TabFocus);
    if (policy != b->focusPolicy()) b->setFocusPolicy(policy);
  }
}

// An arrow key on a button of a group: the next (or previous) usable button, round the group,
// takes the focus and is checked as a click checks it.
bool moveInGroup(QAbstractButton* from, int key) {
  const QList<QAbstractButton*> group = radioGroupOf(from);
  if (group.isEmpty()) return false;
  const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1 : -1;
  const auto n = group.size();
  const auto at = group.indexOf(from);
  for (qsizetype k = 1; k < n; ++k) {
    QAbstractButton* to = group.at(((at + step * k) % n + n) % n);
    if (!usable(to)) continue;
    to->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    // What the button's click does may move the focus on (to a field that the choice shows).
    if (!to->isChecked()) to->click();
    return true;
  }
  return true;
}

bool isArrow(const QKeyEvent* key) {
  const int k = key->key();
  return (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_Left || k == Qt::Key_Right) &&
         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

constexpr const char* kWatched = "qjRadioGroupWatched";

class RadioGroupKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::Polish && type != QEvent::KeyPress && type != QEvent::FocusOut &&
        type != QEvent::EnabledChange && type != QEvent::ShowToParent &&
        type != QEvent::HideToParent)
      return false;
    auto* button = qobject_cast<QRadioButton*>(watched);
    if (!button) return false;
    if (type == QEvent::KeyPress) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      return isArrow(key) && moveInGroup(button, key->key());
    }
    if (type == QEvent::Polish && !button->property(kWatched).toBool()) {
      button->setProperty(kWatched, true);
      // The checked button of a group is its stop of the tab order.
      connect(button, &QAbstractButton::toggled, this, [button] { settleTabStop(button); });
    }
    settleTabStop(button);
    return false;
  }
};

}  // namespace

QList<QAbstractButton*> radioGroupOf(const QAbstractButton* button) {
  QList<QAbstractButton*> group;
  if (const QButtonGroup* g = button->group()) {
    if (g->exclusive())
      for (QAbstractButton* b : g->buttons())
        if (qobject_cast<QRadioButton*>(b)) group.append(b);
  } else if (button->autoExclusive() && button->parentWidget()) {
    for (QAbstractButton* b :
         button->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
      if (qobject_cast<QRadioButton*>(b) && b->autoExclusive() && !b->group()) group.append(b);
  }
  if (group.size() < 2 || !group.contains(button)) group.clear();
  return group;
}

void keepRadioGroupsAsUsual() {
  static RadioGroupKeeper* keeper = nullptr;
  if (keeper) return;
  keeper = new RadioGroupKeeper(qApp);
  qApp->installEventFilter(keeper);
}

}  // namespace qj::ui
