// What only the windows around the work get wrong: long work on a worker thread while the
// event loop goes on, its window showing how far it has come and keeping the other windows
// from input, and what the work returns or throws coming back on the GUI thread; files handed
// to the desktop; exceptions of slots shown in a box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/ui/background_work.h"
#include "platform/ui/desktop.h"
#include "platform/ui/guard.h"

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
  QString count;
  bool modal = false;
  QTimer probe;  // runs on the GUI thread only if its loop goes on
  QObject::connect(&probe, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != "workWindow" || !w->isVisible()) continue;
      count = w->findChild<QLabel*>("workCount")->text();
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
  EXPECT_TRUE(modal);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->objectName() == "workWindow" && w->isVisible());
  EXPECT_THROW(runInBackground(&parent, {"Working", {}},
                               [](const WorkProgress&) -> int {
                                 throw std::runtime_error("the disk is full");
                               }),
               std::runtime_error);
}

// Work that can stop early is offered Cancel: pressed, the work hears of it and ends, and the
// window goes with it. Other work is offered nothing and hears nothing.
TEST(BackgroundWork, CancelAsksTheWorkThatOffersItToStop) {
  QWidget parent;
  parent.show();
  int offered = 0;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* cancel = w->objectName() == "workWindow" && w->isVisible()
                         ? w->findChild<QPushButton*>("workCancel")
                         : nullptr;
      if (cancel && cancel->isEnabled()) ++offered, cancel->click();
    }
  });
  probe.start(5);
  const auto stopped = [](const WorkProgress&) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    while (!workCancelled() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return workCancelled();
  };
  EXPECT_TRUE(runInBackground(&parent, {"Reading", {}, "Cancel"}, stopped));
  EXPECT_EQ(offered, 1);
  EXPECT_FALSE(runInBackground(&parent, {"Writing", {}}, stopped));
  EXPECT_EQ(offered, 1);
  EXPECT_FALSE(workCancelled());
}

// The desktop's opener says yes as soon as it starts; whether anything can show the file is
// asked of the desktop's registry of programs first.
TEST(Desktop, AFileIsHandedOverOnlyWhenAProgramIsRegisteredForItsType) {
  const QString pdf = "application/pdf",
                xlsx = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
  const std::tuple<const char*, QString, const char*, bool, bool> cases[] = {
      {"/tmp/QJ/Print/qj_A_task.pdf", pdf, "", true, false},
      {"/tmp/QJ/Print/qj_A_task.pdf", pdf, "viewer.desktop", true, true},
      {"/tmp/QJ/Export/qj_A.xlsx", xlsx, "sheets.desktop", false, false},
      {"/tmp/QJ/Export/qj_A.xlsx", xlsx, "", true, false}};
  for (const auto& [path, type, registeredAs, succeeds, opened] : cases) {
    // Copies for the lambdas: clang before 16 does not let them capture structured bindings.
    const char* const registered = registeredAs;
    const bool openerSucceeds = succeeds;
    QString askedType;
    int handedOver = 0;
    EXPECT_EQ(openWithRegisteredProgram(
                  path, [&](const QString& t) { return askedType = t, QString(registered); },
                  [&](const QString&) { return ++handedOver, openerSucceeds; }),
              opened)
        << path << " " << registered;
    EXPECT_EQ(askedType, type);
    EXPECT_EQ(handedOver, *registered ? 1 : 0);
  }
}

TEST(SlotGuard, AnExceptionBecomesAnErrorBoxAndTheRestoreStepRuns) {
  ScriptedMessages box;
  setExceptionSink(&box);
  QWidget window;
  window.setEnabled(false);
  QPushButton button;
  QObject::connect(&button, &QPushButton::clicked,
                   guardSlot([] { throw std::runtime_error("the file is damaged"); },
                             [&] { window.setEnabled(true); }));
  button.click();
  setExceptionSink(nullptr);
  EXPECT_EQ(box.last().kind, MessageKind::Error);
  EXPECT_EQ(box.last().text, "the file is damaged");
  EXPECT_TRUE(window.isEnabled());
}

// A display name of the program's own would be appended to every window title; without
// one it follows the application's name.
TEST(Application, SetsNoDisplayNameThatTitlesWouldCarry) {
  const QString name = QApplication::applicationName();
  EXPECT_EQ(name, "Lite_Orvel_QJ");
  QApplication::setApplicationName("probe");
  EXPECT_EQ(QApplication::applicationDisplayName(), "probe");
  QApplication::setApplicationName(name);
}

}  // namespace
}  // namespace qj::ui
