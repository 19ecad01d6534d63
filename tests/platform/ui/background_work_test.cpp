// Long work on a worker thread: the event loop goes on meanwhile, the work's window shows how
// far it has come and keeps the other windows from input, and what the work returns or
// throws comes back on the GUI thread.

#include "platform/ui/background_work.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace qj::ui {
namespace {

// Waits on the worker until `flag` is set by the GUI thread, or gives up after a while (a
// GUI thread that does not run its loop never sets it).
bool waitFor(const std::atomic<bool>& flag) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!flag && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return flag;
}

TEST(BackgroundWork, ShowsItsWindowModallyWhileTheLoopRunsAndHandsBackTheResult) {
  QWidget parent;
  parent.show();
  std::atomic<bool> seen{false};
  QString count, caption;
  bool modal = false;
  QTimer probe;  // runs on the GUI thread only if its loop goes on
  QObject::connect(&probe, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != "workWindow" || !w->isVisible()) continue;
      count = w->findChild<QLabel*>("workCount")->text();
      caption = w->findChild<QLabel*>("workCaption")->text();
      modal = QApplication::activeModalWidget() == w;
      seen = count.endsWith("/ 100");
    }
  });
  probe.start(5);
  Qt::HANDLE worker = nullptr;
  const auto rows = [](int64_t done, int64_t total) {
    return QString("%1 / %2").arg(done).arg(total);
  };
  const int result = runInBackground(&parent, {"Writing", rows}, [&](const WorkProgress& progress) {
    worker = QThread::currentThreadId();
    progress(40, 100);
    return waitFor(seen) ? 42 : -1;
  });
  EXPECT_EQ(result, 42);
  EXPECT_NE(worker, QThread::currentThreadId());
  EXPECT_EQ(count, "40 / 100");
  EXPECT_EQ(caption, "Writing");
  EXPECT_TRUE(modal);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->objectName() == "workWindow" && w->isVisible());
  EXPECT_THROW(runInBackground(&parent, {"Working", {}},
                               [](const WorkProgress&) -> int {
                                 throw std::runtime_error("the disk is full");
                               }),
               std::runtime_error);
}

}  // namespace
}  // namespace qj::ui
