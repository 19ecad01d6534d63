// Long work on a worker thread: the event loop goes on meanwhile, the work's window shows how
// far it has come and keeps the other windows from input, and what the work returns or
// throws comes back on the GUI thread.

#include "platform/ui/background_work.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace qj::ui {
namespace {

using namespace std::chrono_literals;

// Waits on the worker until `flag` is set by the GUI thread, or gives up after a while (a
// GUI thread that does not run its loop never sets it).
bool waitFor(const std::atomic<bool>& flag) {
  const auto until = std::chrono::steady_clock::now() + 5s;
  while (!flag && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
  return flag;
}

TEST(BackgroundWork, TheEventLoopRunsWhileTheWorkRunsAndItsResultComesBack) {
  QWidget parent;
  std::atomic<bool> ticked{false};
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ticked = true; });
  timer.start(5);
  const Qt::HANDLE gui = QThread::currentThreadId();
  Qt::HANDLE worker = nullptr;
  const int result = runInBackground(&parent, {"Working", {}}, [&](const WorkProgress&) {
    worker = QThread::currentThreadId();
    return waitFor(ticked) ? 42 : -1;
  });
  EXPECT_EQ(result, 42);
  EXPECT_NE(worker, gui);
}

TEST(BackgroundWork, LongWorkShowsItsWindowWithTheRowsDoneAndBlocksOtherWindows) {
  QWidget parent;
  parent.show();
  std::atomic<bool> seen{false};
  QString count, caption;
  bool modal = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != "workWindow" || !w->isVisible()) continue;
      const QString text = w->findChild<QLabel*>("workCount")->text();
      if (!text.endsWith("/ 100")) continue;
      count = text;
      caption = w->findChild<QLabel*>("workCaption")->text();
      modal = QApplication::activeModalWidget() == w;
      seen = true;
    }
  });
  probe.start(20);
  runInBackground(
      &parent,
      {"Writing",
       [](int64_t done, int64_t total) { return QString("%1 / %2").arg(done).arg(total); }},
      [&](const WorkProgress& progress) {
        progress(40, 100);
        waitFor(seen);
      });
  EXPECT_TRUE(seen);
  EXPECT_EQ(count, "40 / 100");
  EXPECT_EQ(caption, "Writing");
  EXPECT_TRUE(modal);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->objectName() == "workWindow" && w->isVisible());
}

TEST(BackgroundWork, AnExceptionOfTheWorkIsThrownOnTheGuiThread) {
  QWidget parent;
  EXPECT_THROW(runInBackground(&parent, {"Working", {}},
                               [](const WorkProgress&) -> int {
                                 throw std::runtime_error("the disk is full");
                               }),
               std::runtime_error);
}

}  // namespace
}  // namespace qj::ui
