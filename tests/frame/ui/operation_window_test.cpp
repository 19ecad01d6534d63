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

TEST(OperationWindow, DisablesTheMainWindowUntilTheLastOneCloses) {
  QWidget mainWindow;
  QPointer<QWidget> first = new QWidget(&mainWindow);  // a parent is dropped
  openOperationWindow(&mainWindow, first);
  EXPECT_FALSE(mainWindow.isEnabled());
  EXPECT_TRUE(first->isWindow());
  EXPECT_EQ(first->parentWidget(), nullptr);
  EXPECT_TRUE(first->isEnabled());
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->windowModality(), Qt::ApplicationModal);

  QPointer<QWidget> second = new QWidget;
  openOperationWindow(&mainWindow, second);
  EXPECT_EQ(openOperationWindows(&mainWindow), 2);
  first->close();
  settle();
  EXPECT_FALSE(first);
  EXPECT_FALSE(mainWindow.isEnabled());
  second->close();
  settle();
  EXPECT_FALSE(second);
  EXPECT_TRUE(mainWindow.isEnabled());
  EXPECT_EQ(openOperationWindows(&mainWindow), 0);
}

TEST(OperationWindow, AWindowOutlivingTheMainWindowDoesNoHarm) {
  QPointer<QWidget> window = new QWidget;
  {
    QWidget mainWindow;
    openOperationWindow(&mainWindow, window);
  }
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
