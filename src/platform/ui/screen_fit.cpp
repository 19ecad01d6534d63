#include "platform/ui/screen_fit.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace qj::ui {
namespace {

// What the window manager has framed the window with; nothing before it is shown.
QMargins ownFrame(const QWidget* window) {
  const QWindow* handle = window->windowHandle();
  if (!handle || !window->isVisible()) return {};
  return handle->frameMargins();
}

QMargins largest(const QMargins& a, const QMargins& b) {
  return {std::max(a.left(), b.left()), std::max(a.top(), b.top()), std::max(a.right(), b.right()),
          std::max(a.bottom(), b.bottom())};
}

// Windows that the window manager frames and places; menus, tooltips and the like place
// themselves.
bool framed(const QWidget* w) {
  const Qt::WindowType type = w->windowType();
  return w->isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

// After a window is shown, the window manager frames and places it; until this many
// milliseconds have passed, every move and resize is checked again. Later moves are the
// user's.
constexpr qint64 kSettlingMs = 1500;
constexpr const char* kSettledAt = "qjScreenFitSettledAt";

// A dialog that the program centres over its window stays there while the window manager
// settles it: a manager that maps it before it takes the program's place puts it where it
// puts new windows (a corner of the screen).
constexpr const char* kCentredOnShow = "qjScreenFitCentredOnShow";

void centreOverOwner(QWidget* dialog);

// Until the window manager has framed a window, its frame, and so the room it may take, is a
// guess; a window that sized itself by its room (a wizard) lays itself out again once the frame
// it has is known, while it is still being placed.
constexpr const char* kFrameSeen = "qjScreenFitFrameSeen";

void noticeFrame(QWidget* window) {
  const QMargins own = ownFrame(window);
  if (own.isNull() || window->property(kFrameSeen).value<QMargins>() == own) return;
  window->setProperty(kFrameSeen, QVariant::fromValue(own));
  QCoreApplication::postEvent(window, new QEvent(QEvent::LayoutRequest));
}

void settleLater(QWidget* window) {
  window->setProperty(kSettledAt, QDateTime::currentMSecsSinceEpoch() + kSettlingMs);
  window->setProperty(kFrameSeen, QVariant());
  QPointer<QWidget> guard(window);
  for (const int delay : {0, 200, 1000})
    QTimer::singleShot(delay, window, [guard, delay] {
      if (!guard || !guard->isVisible()) return;
      noticeFrame(guard);
      if (delay < 1000 && guard->property(kCentredOnShow).toBool() && guard->parentWidget())
        centreOverOwner(guard);
      else
        keepOnScreen(guard);
    });
}

// Where a frame of `outer`'s size lies inside `area`, moved as little as it can be.
QPoint insideArea(const QRect& outer, const QRect& area) {
  return {std::clamp(outer.left(), area.left(),
                     std::max(area.left(), area.right() + 1 - outer.width())),
          std::clamp(outer.top(), area.top(),
                     std::max(area.top(), area.bottom() + 1 - outer.height()))};
}

// A window moved before it is shown is placed by its frame; once shown, even before the
// window manager has framed it, by its client area.
void moveFrameTo(QWidget* window, const QPoint& topLeft, const QMargins& frame) {
  if (window->isVisible())
    window->setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window->size()));
  else
    window->move(topLeft);
}

bool settling(const QWidget* window) {
  const QVariant until = window->property(kSettledAt);
  return until.isValid() && QDateTime::currentMSecsSinceEpoch() <= until.toLongLong();
}

// A dialog that the program has not placed opens at the centre of the window it belongs to;
// it sizes itself while it shows, and stays at the centre until it is on the screen.
constexpr const char* kCentred = "qjScreenFitCentred";

void centreOverOwner(QWidget* dialog) {
  centreOver(dialog, dialog->parentWidget()->window());
}

bool centringWhileShown(const QWidget* window) {
  return window->property(kCentred).toBool() && window->windowHandle() &&
         !window->windowHandle()->isVisible();
}

// A window manager that places the dialog after the program did (in a corner of the screen)
// is heard of only by the move it makes; until then the dialog's geometry still reads the
// centre, so that placing it there again would change nothing. The move puts it back.
bool centredWhileSettling(const QWidget* window) {
  return window->isVisible() && settling(window) && window->property(kCentredOnShow).toBool() &&
         window->parentWidget();
}

void shown(QWidget* window, bool spontaneous) {
  window->setProperty(kCentred, false);
  window->setProperty(kCentredOnShow, false);
  if (window->testAttribute(Qt::WA_Moved) || spontaneous) {
    keepOnScreen(window);
  } else if (window->windowType() == Qt::Dialog && window->parentWidget()) {
    // Moved before its own show handling, the dialog takes the place as the program's.
    window->setProperty(kCentred, true);
    window->setProperty(kCentredOnShow, true);
    centreOverOwner(window);
  } else {
    // The window manager places a window that the program has not placed.
    fitSize(window);
  }
  settleLater(window);
}

class ScreenKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize &&
        type != QEvent::Paint)
      return false;
    if (!watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!framed(window)) return false;
    // A window is first painted once it is mapped, in the frame the window manager gave it.
    if (type == QEvent::Paint) {
      if (settling(window)) noticeFrame(window);
    } else if (type == QEvent::Show) {
      shown(window, event->spontaneous());
    } else if (centringWhileShown(window) || centredWhileSettling(window)) {
      centreOverOwner(window);
    } else if (window->isVisible() && settling(window)) {
      keepOnScreen(window);
    }
    return false;
  }
};

}  // namespace

QMargins windowFrame(const QWidget* window) {
  const QMargins own = ownFrame(window);
  if (!own.isNull()) return own;
  // A title bar holds a line of a bold caption with some room around it.
  const int title = QFontMetrics(QApplication::font()).height() + 12;
  QMargins frame(4, title, 4, 4);
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w != window && framed(w)) frame = largest(frame, ownFrame(w));
  return frame;
}

QSize windowRoom(const QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  const QMargins frame = windowFrame(window);
  const QSize room = screen->availableGeometry().size().shrunkBy(frame);
  return room.expandedTo({1, 1});
}

bool fitSize(QWidget* window) {
  if (!window->isWindow() || !window->screen()) return false;
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
    return false;
  const QSize size = window->size().boundedTo(windowRoom(window));
  if (size != window->size()) {
    if (window->minimumSize() == window->maximumSize())
      window->setFixedSize(size);
    else
      window->resize(size.expandedTo(window->minimumSize()));
  }
  return true;
}

void keepOnScreen(QWidget* window) {
  if (!fitSize(window)) return;
  // A window not yet shown is placed by the window manager, unless the program placed it.
  if (!window->isVisible() && !window->testAttribute(Qt::WA_Moved)) return;

  const QMargins frame = windowFrame(window);
  const QRect outer = window->isVisible() ? window->geometry().marginsAdded(frame)
                                          : QRect(window->pos(), window->size().grownBy(frame));
  const QPoint topLeft = insideArea(outer, window->screen()->availableGeometry());
  if (topLeft != outer.topLeft()) moveFrameTo(window, topLeft, frame);
}

void centreOver(QWidget* window, const QWidget* over) {
  fitSize(window);
  // The frame that the window manager puts around the window counts.
  const QMargins frame = windowFrame(window);
  QRect outer(QPoint(), window->size().grownBy(frame));
  const QScreen* screen = over->screen() ? over->screen() : window->screen();
  // A window asked to be maximised takes the available area, though the window manager may
  // not have made it so yet (the language chooser opens as the program starts); a window not
  // shown yet (the main window while the program starts) stands nowhere: the screen counts.
  const bool wholeScreen =
      screen &&
      (!over->isVisible() || (over->isWindow() && (over->windowState() & Qt::WindowMaximized)));
  outer.moveCenter(wholeScreen ? screen->availableGeometry().center()
                               : over->frameGeometry().center());
  // A window larger than the one it opens over stays on the screen.
  if (screen) outer.moveTopLeft(insideArea(outer, screen->availableGeometry()));
  moveFrameTo(window, outer.topLeft(), frame);
}

void keepWindowsOnScreen() {
  static ScreenKeeper* keeper = nullptr;
  if (keeper) return;
  keeper = new ScreenKeeper(qApp);
  qApp->installEventFilter(keeper);
}

}  // namespace qj::ui
