#pragma once
// Every window fits the screen it opens on: its frame, title bar and borders included, lies
// inside the screen's available area (the screen less the desktop's panels). The design of a
// window may be larger than a small screen at a large font; such a window takes the room
// there is and scrolls its content (the wizards' pages, the viewers' grids).

#include <QMargins>
#include <QSize>
#include <QWidget>

namespace qj::ui {

// The frame the window manager puts around a window: the window's own once it has been
// shown; before that, the largest frame of the windows on screen, and no less than a usual
// title bar and border.
QMargins windowFrame(const QWidget* window);

// The largest client area a top-level window may take: its screen's available area less
// its frame.
QSize windowRoom(const QWidget* window);

// Makes a top-level window no larger than its room (a fixed size stays fixed, at the room);
// false for a window that is not top-level, or maximised, full-screen or minimised.
bool fitSize(QWidget* window);

// Makes a top-level window no larger than its room and, once it is shown or placed by the
// program, moves its frame inside the available area.
void keepOnScreen(QWidget* window);

// Places a top-level window, its frame included, at the centre of the window `over`, as far
// as the available area lets it.
void centreOver(QWidget* window, const QWidget* over);

// From now on every top-level window is kept on screen when it is shown, and again while the
// window manager frames and places it; a dialog that the program has not placed opens at the
// centre of the window it belongs to (a message box over the window that raised it). Once
// the window manager has framed a window, the window is asked to lay itself out again
// (QEvent::LayoutRequest): a window that takes the room its frame leaves takes it then.
void keepWindowsOnScreen();

}  // namespace qj::ui
