#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "app/program_windows.h"
#include "frame/ui/UProtocolWin.h"
#include "platform/ui/qt_text.h"
#include "records/datetime.h"
#include "support/task_fixture.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::protocolRecord;
using test::settle;
using test::writeTask;

// A date-time as the English shell writes it.
QString userDateTime(double dateTime) {
  return toQt(momentText(dateTime, "eng"));
}

class ProtocolWin : public test::MainWindowTest {
 protected:
  void open() {
    main->action(MenuItem::mnuOutViewProtocol)->trigger();
    win = qobject_cast<TfrmProtocolWin*>(QApplication::activeModalWidget());
    ASSERT_TRUE(win);
  }

  // The details shown, "key = value" a row.
  QStringList details() const {
    QStringList out;
    const GridTable& t = win->values();
    for (int r = 0; r < t.rows(); ++r) out << toQt(t.cell(r, 0)) + " = " + toQt(t.cell(r, 1));
    return out;
  }
  // Delete, queue and load: which are enabled.
  std::vector<bool> actions() const {
    return {win->deleteButton()->isEnabled(), win->queueButton()->isEnabled(),
            win->loadButton()->isEnabled()};
  }

  QPointer<TfrmProtocolWin> win;
};

TEST_F(ProtocolWin, ATaskGoesFromEnteredToSentToSolved) {
  start({protocolRecord("AB12CD", "Morning run")}, programWindows());
  writeTask(dir, "AB12CD", "Morning run");
  open();
  EXPECT_FALSE(main->isEnabled());
  // Day first and a four-digit year, whatever the C library's locale; midnight: the date alone.
  EXPECT_EQ(details(), (QStringList{"S745 = AB12CD", "S261 = Morning run", "S648 = S755",
                                    "S137 = 09/12/2025 06:00:00", "S136 = 10/12/2025"}));
  EXPECT_EQ(actions(), (std::vector<bool>{true, true, false}));

  win->queueButton()->click();
  const ProtocolRec& task = main->state().protocol[0];
  EXPECT_EQ(task.status, SentToSolving);
  EXPECT_EQ(details().back(), "S140 = " + userDateTime(task.sentToSolvingAt));
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, false}));

  // The optimiser writes its result; reopened, the window offers to load it.
  dir.write("Solving/qj_AB12CD_out.dat", "the solution");
  win->closeButton()->click();
  settle();
  open();
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, true}));
  win->loadButton()->click();
  EXPECT_EQ(dir.read("Data/qj_AB12CD_out.dat"), "the solution");
  EXPECT_EQ(task.status, SolutionLoaded);
  EXPECT_EQ(details().back(), "S135 = " + userDateTime(task.solutionLoadedAt));
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(savedProtocol(), main->state().protocol);

  win->closeButton()->click();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

// A deletion confirmed takes the task's line; the line after it is shown, a demonstration task
// cannot be deleted.
TEST_F(ProtocolWin, DeletingATaskTakesItsLine) {
  start({protocolRecord("AAAAAA", "First"), protocolRecord("BBBBBB", "Second"),
         protocolRecord("DEME01", "Demonstration")},
        programWindows());
  for (const char* code : {"AAAAAA", "BBBBBB", "DEME01"}) writeTask(dir, code, "x");
  open();
  win->taskList()->setCurrentIndex(1);  // as the user chooses it
  emit win->taskList()->activated(1);
  messages->answers = {true};
  win->deleteButton()->click();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S90 \"Second\"?"});
  EXPECT_FALSE(std::filesystem::exists(dir / "Data/qj_BBBBBB.dat"));
  ASSERT_EQ(win->taskList()->count(), 2);
  EXPECT_EQ(win->taskList()->itemText(1), "[DEME01] Demonstration");
  EXPECT_EQ(details().first(), "S745 = DEME01");
  EXPECT_FALSE(win->deleteButton()->isEnabled());
  EXPECT_EQ(savedProtocol(), main->state().protocol);
}

// The window opens on the task list with Close as its default: Enter deletes nothing.
TEST_F(ProtocolWin, EnterOnTheOpenedWindowDeletesNothing) {
  start({protocolRecord("AAAAAA", "First")}, programWindows());
  writeTask(dir, "AAAAAA", "First");
  open();
  settle();
  QWidget* focused = win->focusWidget();
  ASSERT_NE(focused, nullptr);
  EXPECT_NE(focused, win->deleteButton());
  QTest::keyClick(focused, Qt::Key_Return);
  settle();
  EXPECT_TRUE(messages->shown.empty()) << messages->last().text;
  EXPECT_FALSE(win);  // Enter closed the window
  EXPECT_EQ(main->state().protocol.size(), 1u);
}

}  // namespace
}  // namespace qj::ui
