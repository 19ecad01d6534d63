#pragma once
// Operation windows: the windows that a command opens while the main window waits. Each is
// a top-level window (a child of the disabled main window would be disabled too), modal
// for the application, centred on the main window and freed when it closes. The main
// window is disabled while any of them is open and enabled again when the last one
// closes, so a window that hands over to the next one (a chooser opening a wizard) keeps
// it disabled without further care.

#include <QWidget>

namespace qj::ui {

// Disables the main window and shows `window` as an operation window over it. The window
// must not be shown yet; a parent it was given is dropped.
void openOperationWindow(QWidget* mainWindow, QWidget* window);

// How many operation windows are open over the main window.
int openOperationWindows(const QWidget* mainWindow);

// Enables the main window unless an operation window is still open over it.
void enableUnlessOperationWindowOpen(QWidget* mainWindow);

// Sizes a top-level window to its content and moves it to the centre of another window.
void centreOn(QWidget* window, const QWidget* over);

}  // namespace qj::ui
