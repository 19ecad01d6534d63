#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QPointer>
#include <QTest>
#include <QTime>

#include "app/program_windows.h"
#include "frame/ui/UMainWin.h"
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

// A date-time as the shell's language writes it: short date, then hh:mm:ss unless midnight.
QString userDateTime(double dateTime) {
  const CivilDateTime t = fromDateTime(dateTime);
  QString text = QLocale().toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat);
  const QTime time(t.hour, t.minute, t.second);
  if (time != QTime(0, 0) || t.millisecond != 0) text += " " + time.toString("hh:mm:ss");
  return text;
}

class ProtocolWin : public test::MainWindowTest {
 protected:
  void start(const std::vector<ProtocolRec>& protocol) {
    WindowFactory f = programWindows();
    const WindowMaker maker = f.protocolWindow;
    f.protocolWindow = [this, maker](WindowHost& m) -> QWidget* {
      QWidget* w = maker(m);
      win = qobject_cast<TfrmProtocolWin*>(w);
      return w;
    };
    MainWindowTest::start(protocol, std::move(f));
  }
  void open() {
    main->action(MenuItem::mnuOutViewProtocol)->trigger();
    ASSERT_TRUE(win);
  }
  void reopen() {
    win->closeButton()->click();
    settle();
    ASSERT_FALSE(win);
    ASSERT_TRUE(main->isEnabled());
    open();
  }
  // Chooses a line as the user does.
  void choose(int line) {
    win->taskList()->setCurrentIndex(line);
    emit win->taskList()->activated(line);
  }

  // The details shown, "key = value" a row.
  QStringList details() const {
    QStringList out;
    const GridTable& t = win->values();
    for (int r = 0; r < t.rows(); ++r) out << toQt(t.cell(r, 0)) + " = " + toQt(t.cell(r, 1));
    return out;
  }
  QStringList lines() const {
    QStringList out;
    for (int i = 0; i < win->taskList()->count(); ++i) out << win->taskList()->itemText(i);
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
  start({protocolRecord("AB12CD", "Morning run")});
  writeTask(dir, "AB12CD", "Morning run");
  open();
  EXPECT_FALSE(main->isEnabled());
  EXPECT_EQ(win->windowTitle(), "S578");
  EXPECT_EQ(win->deleteButton()->text(), "S692");
  EXPECT_EQ(win->queueButton()->text(), "S110");
  EXPECT_EQ(win->loadButton()->text(), "S180");
  EXPECT_EQ(win->closeButton()->text(), "S196");
  EXPECT_EQ(lines(), QStringList{"[AB12CD] Morning run"});
  const QString created = "S137 = " + userDateTime(46000.25);
  const QString changed = "S136 = " + userDateTime(46001);
  EXPECT_TRUE(userDateTime(46000.25).endsWith(" 06:00:00"));
  EXPECT_FALSE(userDateTime(46001).contains(':'));  // midnight: the date alone
  EXPECT_EQ(details(),
            (QStringList{"S745 = AB12CD", "S261 = Morning run", "S648 = S755", created, changed}));
  EXPECT_EQ(actions(), (std::vector<bool>{true, true, false}));

  // Queued for solving.
  win->queueButton()->click();
  EXPECT_EQ(dir.read("Solving/qj_AB12CD_in.dat"), dir.read("Data/qj_AB12CD_in.dat"));
  const ProtocolRec& task = main->state().protocol[0];
  EXPECT_EQ(task.status, SentToSolving);
  EXPECT_EQ(details(), (QStringList{"S745 = AB12CD", "S261 = Morning run", "S648 = S430", created,
                                    changed, "S140 = " + userDateTime(task.sentToSolvingAt)}));
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(savedProtocol(), main->state().protocol);

  // The optimiser writes its result; reopened, the window offers to load it.
  dir.write("Solving/qj_AB12CD_out.dat", "the solution");
  reopen();
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, true}));
  win->loadButton()->click();
  EXPECT_EQ(dir.read("Data/qj_AB12CD_out.dat"), "the solution");
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_AB12CD_in.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_AB12CD_out.dat"));
  EXPECT_EQ(task.status, SolutionLoaded);
  EXPECT_EQ(details(), (QStringList{"S745 = AB12CD", "S261 = Morning run", "S648 = S195", created,
                                    changed, "S140 = " + userDateTime(task.sentToSolvingAt),
                                    "S135 = " + userDateTime(task.solutionLoadedAt)}));
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(savedProtocol(), main->state().protocol);
  EXPECT_TRUE(messages->shown.empty());

  win->closeButton()->click();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(ProtocolWin, ChoosingALineShowsItsTask) {
  start({protocolRecord("AAAAAA", "First"), protocolRecord("BBBBBB", "Second", SentToSolving)});
  dir.write("Solving/qj_BBBBBB_out.dat", "solution");
  open();
  EXPECT_EQ(win->taskList()->currentIndex(), 0);
  choose(1);
  EXPECT_EQ(details().first(), "S745 = BBBBBB");
  EXPECT_EQ(actions(), (std::vector<bool>{true, false, true}));
  choose(0);
  EXPECT_EQ(details().first(), "S745 = AAAAAA");
  EXPECT_EQ(actions(), (std::vector<bool>{true, true, false}));
}

TEST_F(ProtocolWin, DeletingATaskRemovesItsFilesAndItsLine) {
  start({protocolRecord("AAAAAA", "First"), protocolRecord("BBBBBB", "Second"),
         protocolRecord("DEME01", "Demonstration")});
  for (const char* code : {"AAAAAA", "BBBBBB", "DEME01"}) writeTask(dir, code, "x");
  dir.write("Solving/qj_BBBBBB_in.dat", "queued");
  open();
  choose(1);

  messages->answers = {false};
  win->deleteButton()->click();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S90 \"Second\"?"});
  EXPECT_EQ(main->state().protocol.size(), 3u);
  EXPECT_TRUE(std::filesystem::exists(dir / "Data/qj_BBBBBB.dat"));

  messages->answers = {true};
  win->deleteButton()->click();
  for (const char* file :
       {"Data/qj_BBBBBB.dat", "Data/qj_BBBBBB_in.dat", "Solving/qj_BBBBBB_in.dat"})
    EXPECT_FALSE(std::filesystem::exists(dir / file)) << file;
  EXPECT_EQ(lines(), (QStringList{"[AAAAAA] First", "[DEME01] Demonstration"}));
  EXPECT_EQ(win->taskList()->currentIndex(), 1);
  EXPECT_EQ(details().first(), "S745 = DEME01");
  EXPECT_FALSE(win->deleteButton()->isEnabled());  // a demonstration task stays
  EXPECT_EQ(savedProtocol(), main->state().protocol);
  EXPECT_EQ(savedProtocol().size(), 2u);
}

TEST_F(ProtocolWin, EnterOnTheOpenedWindowDeletesNothing) {
  start({protocolRecord("AAAAAA", "First")});
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

TEST_F(ProtocolWin, DeletingTheLastLineSelectsTheNewLastAndTheOnlyTaskLeavesAnEmptyList) {
  start({protocolRecord("AAAAAA", "First"), protocolRecord("BBBBBB", "Second")});
  writeTask(dir, "AAAAAA", "First");
  writeTask(dir, "BBBBBB", "Second");
  open();
  choose(1);
  messages->answers = {true, true};
  win->deleteButton()->click();
  EXPECT_EQ(lines(), QStringList{"[AAAAAA] First"});
  EXPECT_EQ(win->taskList()->currentIndex(), 0);
  EXPECT_EQ(details().first(), "S745 = AAAAAA");

  win->deleteButton()->click();
  EXPECT_EQ(win->taskList()->count(), 0);
  EXPECT_TRUE(details().isEmpty());
  EXPECT_EQ(actions(), (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(main->state().protocol.empty());
  EXPECT_TRUE(savedProtocol().empty());
}

TEST_F(ProtocolWin, WithoutItsFilesAnActionDoesNothing) {
  start({protocolRecord("AAAAAA", "First")});
  open();
  ASSERT_EQ(actions(), (std::vector<bool>{true, true, false}));
  win->deleteButton()->click();  // no task file: no question
  win->queueButton()->click();   // no optimiser input: nothing queued
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_EQ(main->state().protocol[0], protocolRecord("AAAAAA", "First"));
  EXPECT_EQ(lines(), QStringList{"[AAAAAA] First"});
}

TEST_F(ProtocolWin, FailedFileOperationsAreReportedAndTheTaskKept) {
  start({protocolRecord("AAAAAA", "First")});
  writeTask(dir, "AAAAAA", "First");
  dir.write("Solving/qj_AAAAAA_in.dat/x", "a folder in the way");
  open();
  win->queueButton()->click();
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{
                "S818 \"Data/qj_AAAAAA_in.dat\" S819 \"Solving/qj_AAAAAA_in.dat\"."});
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
  EXPECT_EQ(main->state().protocol[0].status, InputEntered);
  EXPECT_EQ(actions(), (std::vector<bool>{true, true, false}));

  messages->clear();
  messages->answers = {true};
  win->deleteButton()->click();
  EXPECT_EQ(messages->texts(), (std::vector<std::string>{
                                   "S90 \"First\"?", "S816 \"Solving/qj_AAAAAA_in.dat\". S817."}));
  EXPECT_EQ(lines(), QStringList{"[AAAAAA] First"});
  EXPECT_EQ(main->state().protocol.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir / "Data/qj_AAAAAA.dat"));
}

TEST_F(ProtocolWin, AnEmptyProtocolLeavesOnlyClose) {
  start({});
  open();
  EXPECT_EQ(win->taskList()->count(), 0);
  EXPECT_FALSE(win->taskList()->isEnabled());
  EXPECT_FALSE(win->valueList()->isEnabled());
  EXPECT_TRUE(details().isEmpty());
  EXPECT_EQ(actions(), (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(win->closeButton()->isEnabled());
  win->closeButton()->click();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

}  // namespace
}  // namespace qj::ui
