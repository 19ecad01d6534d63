#pragma once
// Enter in a window that is no dialog, taken as a dialog takes it: it presses the button that
// has the focus, or else the window's default button that is shown and enabled. Only an Enter
// that no control took reaches it, so a grid or a list that uses Enter keeps it.

#include <QWidget>

namespace qj::ui {

void pressDefaultButtonOnEnter(QWidget* window);

}  // namespace qj::ui
