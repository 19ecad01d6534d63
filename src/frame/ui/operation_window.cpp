#include "frame/ui/operation_window.h"

#include <QPointer>
#include <QVariant>

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
  const QRect frame = over->frameGeometry();
  QRect geometry = window->frameGeometry();
  geometry.moveCenter(frame.center());
  window->move(geometry.topLeft());
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

  if (mainWindow->isVisible()) centreOn(window, mainWindow);
  window->show();
}

}  // namespace qj::ui
