#include "frame/ui/operation_window.h"

#include <QLayout>
#include <QPointer>
#include <QVariant>

#include "platform/ui/design.h"
#include "platform/ui/screen_fit.h"

namespace qj::ui {
namespace {

constexpr const char* kCountProperty = "qjOperationWindows";

void addToCount(QWidget* mainWindow, int delta) {
  mainWindow->setProperty(kCountProperty, openOperationWindows(mainWindow) + delta);
}

}  // namespace

int openOperationWindows(const QWidget* mainWindow) {
  return mainWindow->property(kCountProperty).toInt();
}

void enableUnlessOperationWindowOpen(QWidget* mainWindow) {
  if (openOperationWindows(mainWindow) == 0) mainWindow->setEnabled(true);
}

void centreOn(QWidget* window, const QWidget* over) {
  window->adjustSize();
  centreOver(window, over);
}

void openOperationWindow(QWidget* mainWindow, QWidget* window) {
  if (window->parentWidget()) window->setParent(nullptr, window->windowFlags() | Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::ApplicationModal);

  mainWindow->setEnabled(false);
  addToCount(mainWindow, +1);
  QPointer<QWidget> main(mainWindow);
  QObject::connect(window, &QObject::destroyed, mainWindow, [main] {
    if (!main) return;
    addToCount(main, -1);
    enableUnlessOperationWindowOpen(main);
  });

  // The frame shows the window's whole caption, as far as the screen has room.
  const QSize size = window->layout() ? window->layout()->totalSizeHint() : window->size();
  const QSize wanted = withRoomForCaption(window, size).boundedTo(windowRoom(window));
  const bool fixedByLayout =
      window->layout() && window->layout()->sizeConstraint() == QLayout::SetFixedSize;
  if (!fixedByLayout && wanted.width() > window->minimumWidth()) {
    if (window->minimumSize() == window->maximumSize())
      window->setFixedSize(wanted.width(), window->height());
    else
      window->setMinimumWidth(wanted.width());
  }

  if (mainWindow->isVisible()) centreOn(window, mainWindow);
  window->show();
}

}  // namespace qj::ui
