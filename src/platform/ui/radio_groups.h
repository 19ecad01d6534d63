#pragma once
// Groups of radio buttons as a desktop user expects them: a group is one stop of the tab
// order, entered on its checked button (its first usable button while none is checked); Down
// and Right check the next button of the group, Up and Left the one before, round from the
// last to the first, past the disabled and hidden ones. A group is the buttons of one
// exclusive QButtonGroup, or else the auto-exclusive radio buttons of one parent.

#include <QAbstractButton>
#include <QList>

namespace qj::ui {

// The buttons of the group that `button` belongs to, in their order; empty for a radio button
// that is alone.
QList<QAbstractButton*> radioGroupOf(const QAbstractButton* button);

// From now on every group of radio buttons of the program behaves so.
void keepRadioGroupsAsUsual();

}  // namespace qj::ui
