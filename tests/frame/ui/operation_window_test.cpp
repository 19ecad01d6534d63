#include "frame/ui/operation_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QScreen>

namespace qj::ui {
namespace {

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A parent given is dropped: the window stays enabled under the disabled main window and may
// outlive it.
TEST(OperationWindow, StandsOnItsOwnBesideTheMainWindow) {
  QPointer<QWidget> window;
  {
    QWidget mainWindow;
    window = new QWidget(&mainWindow);
    openOperationWindow(&mainWindow, window);
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
  }
  ASSERT_TRUE(window);
  window->close();
  settle();
  EXPECT_FALSE(window);
}

TEST(OperationWindow, AWiderWindowIsCentredButStaysOnTheScreen) {
  QWidget mainWindow;
  mainWindow.setGeometry(0, 0, 300, 200);
  mainWindow.show();
  QWidget small;
  small.setFixedSize(100, 50);
  centreOn(&small, &mainWindow);
  EXPECT_EQ(small.frameGeometry().center(), mainWindow.frameGeometry().center());
  QWidget wide;
  wide.setFixedSize(700, 100);
  centreOn(&wide, &mainWindow);
  const QRect area = mainWindow.screen()->availableGeometry();
  EXPECT_GE(wide.frameGeometry().left(), area.left());
  EXPECT_GE(wide.frameGeometry().top(), area.top());
}

}  // namespace
}  // namespace qj::ui
