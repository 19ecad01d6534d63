#include "optimiser/ui/OM_QJ.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <array>

#include "frame/ui/UMainWin.h"
#include "optimiser/progress_log.h"
#include "optimiser/task_fixture.h"
#include "platform/ui/design.h"
#include "records/protocol_file.h"
#include "records/solution_file.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj::ui {
namespace {

class OptimiserWindow : public ::testing::Test {
 protected:
  OptimiserWindow() : main(dir.path(), std::make_unique<ScriptedMessages>(), WindowFactory{}) {
    AppState& s = main.state();
    s.texts = optim::test::indexShell();
    s.langCode = "eng";
    s.decSep = ',';
    main.setEnabled(false);  // as the menu leaves it
  }
  ~OptimiserWindow() override {
    if (window) {
      if (window->running()) (void)QTest::qWaitFor([&] { return !window->running(); }, 20000);
      window->close();
    }
    QApplication::processEvents();
  }

  TForm1* open() {
    window = new TForm1(main, &box);
    window->setThreads(2);
    window->show();
    return window;
  }
  template <typename T>
  T* child(const char* name) {
    T* w = window->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString text(const char* name) { return child<QLabel>(name)->text(); }
  bool visible(const char* name) { return child<QWidget>(name)->isVisible(); }
  void click(const char* name) { child<QPushButton>(name)->click(); }
  void type(const char* name, const QString& t) {
    QLineEdit* e = child<QLineEdit>(name);
    e->clear();
    QTest::keyClicks(e, t);
  }
  void queue(const std::string& code) {
    dir.write("Solving/qj_" + code + "_in.dat",
              writeSolverInput(optim::test::ringTask(code), "Shell (QJ 1.6).eng"));
  }
  void waitForRun() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->running(); }, 20000));
    QApplication::processEvents();
  }

  qj::test::TempDir dir;
  // The start-up of the main window finds a shell and a protocol, so it shows no box.
  bool folderReady = [this] {
    qj::test::writeShellFile(dir, "eng", qj::test::markedShell());
    dir.write("System/protocol.pro", writeProtocolFile({}));
    return true;
  }();
  TfrmMainWin main;
  ScriptedMessages box;
  QPointer<TForm1> window;
};

TEST_F(OptimiserWindow, FirstShowSetsUpTheModeChoiceOnce) {
  open();
  EXPECT_TRUE(window->isModal());
  for (const char* name : {"MaskEdit1_3", "BStart", "BNext3", "ME1"}) EXPECT_FALSE(visible(name));
  child<QLineEdit>("ME3")->setText("7");
  window->hide();
  window->show();
  EXPECT_EQ(child<QLineEdit>("ME3")->text(), "7");
  // Batch mode with an empty queue offers only closing, which frees the window.
  click("BNext1");
  EXPECT_EQ(window->step(), TForm1::Step::NothingQueued);
  EXPECT_EQ(text("Label8"), "[6]. [569].");
  click("BEnd");
  QApplication::processEvents();
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(main.isEnabled());
}

// Labels lie over the controls of other steps; a mouse click must still reach each control.
TEST_F(OptimiserWindow, EveryVisibleControlTakesTheMouse) {
  open();
  auto reachable = [&] {
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
      if (!b->isVisible()) continue;
      const QPoint centre = b->mapTo(window, b->rect().center());
      EXPECT_EQ(window->childAt(centre), b) << b->objectName().toStdString();
    }
  };
  reachable();
  child<QRadioButton>("RB2")->click();
  click("BNext1");
  reachable();
}

// The four parameter edits stand in one column, the same room after the longest caption,
// on the first showing and after Reset.
TEST_F(OptimiserWindow, TheParameterEditsStandInOneColumn) {
  queue("TEST01");
  open();
  child<QRadioButton>("RB2")->click();
  click("BNext1");
  type("MaskEdit1_3", "TEST01");
  for (int pass = 0; pass < 2; ++pass) {
    click("BNext2");
    ASSERT_EQ(window->step(), TForm1::Step::Parameters);
    int captionsEnd = 0;
    for (const char* caption : {"LOPT1", "LOPT2", "LOPT3", "LOPT4"})
      captionsEnd = std::max(captionsEnd, child<QLabel>(caption)->geometry().right() + 1);
    for (const char* edit : {"ME1", "ME2", "ME3", "ME4"})
      EXPECT_EQ(child<QLineEdit>(edit)->x(), captionsEnd + px(15)) << edit << " " << pass;
    click("BNext3");
    ASSERT_EQ(window->step(), TForm1::Step::Summary);
    click("BReset");
  }
}

TEST_F(OptimiserWindow, ParametersRefuseWithFocusThenSummaryAndReset) {
  queue("TEST01");
  open();
  child<QRadioButton>("RB2")->click();
  click("BNext1");
  type("MaskEdit1_3", "TEST01");
  click("BNext2");
  ASSERT_EQ(window->step(), TForm1::Step::Parameters);
  EXPECT_EQ(child<QLineEdit>("ME1")->selectedText(), "0,9");  // typed over, as after Tab
  // Edit, typed text, message (none: back silently), the good text again.
  const std::vector<std::array<const char*, 4>> refused = {{"ME1", "1,0", "[320].", "0,9"},
                                                           {"ME3", "", "", "5"}};
  for (const auto& [edit, typed, message, good] : refused) {
    box.clear();
    type(edit, typed);
    click("BNext3");
    EXPECT_EQ(window->step(), TForm1::Step::Parameters);
    EXPECT_EQ(box.shown.size(), *message ? 1u : 0u);
    if (*message) {
      EXPECT_EQ(box.last().text, message);
    }
    EXPECT_EQ(window->focusWidget(), child<QWidget>(edit));
    EXPECT_EQ(child<QLineEdit>(edit)->selectedText(), typed);
    type(edit, good);
  }
  // The edits take only digits and the separator, up to their lengths; a refused character is
  // dropped alone, and either separator key enters the separator.
  type("ME1", "0.9x99");
  EXPECT_EQ(child<QLineEdit>("ME1")->text(), "0,99");
  type("ME1", "0,99");
  click("BNext3");
  EXPECT_EQ(window->step(), TForm1::Step::Summary);
  EXPECT_EQ(text("LOPT1"), "<s40> = 0,99");
  EXPECT_TRUE(visible("BReset"));
  click("BReset");
  EXPECT_EQ(window->step(), TForm1::Step::CodeEntry);
  EXPECT_EQ(child<QLineEdit>("MaskEdit1_3")->text(), "TEST01");
  // The code edit takes upper-cased letters and digits only; no input file, no parameters.
  type("MaskEdit1_3", "ab-12cd9");
  EXPECT_EQ(child<QLineEdit>("MaskEdit1_3")->text(), "AB12CD");
  click("BNext2");
  EXPECT_EQ(window->step(), TForm1::Step::NoInput);
  EXPECT_EQ(text("Label8"), "[8]. [568] \"qj_AB12CD_in.dat\".");
}

TEST_F(OptimiserWindow, RunInBatchShowsItsLinesAndBlocksTheWindowWhileRunning) {
  queue("TEST01");
  queue("TEST02");
  dir.write("System/info", "\nCity services\n\nDepartment\n\nLicence\n");
  open();
  click("BNext1");
  click("BNext3");
  ASSERT_EQ(window->step(), TForm1::Step::Summary);
  EXPECT_FALSE(visible("BReset"));  // batch mode
  QSignalSpy finished(window.data(), &TForm1::runFinished);
  click("BStart");
  EXPECT_TRUE(window->running());
  EXPECT_FALSE(child<QWidget>("BStart")->isEnabled());
  EXPECT_FALSE(window->close());  // the close box does nothing while the run works
  waitForRun();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_TRUE(child<QWidget>("BStart")->isEnabled());
  EXPECT_EQ(text("Label7"), "6. [170] \"TEST02\", [649].");
  const SolutionRead r = readSolutionFile(dir.read("Solving/qj_TEST01_out.dat"), false);
  ASSERT_TRUE(r.file) << r.error;
  EXPECT_EQ(r.file->header.infoText3, "Licence");
  // A manual run leaves the task in the queue, and Start may be pressed again.
  EXPECT_TRUE(std::filesystem::exists(dir / "Solving/qj_TEST01_in.dat"));
  click("BStart");
  waitForRun();
  EXPECT_EQ(finished.count(), 2);
}

// Enter takes each step on as in a dialog: it presses the step's default button from whichever
// control has the focus, or the button that has the focus.
TEST_F(OptimiserWindow, EnterTakesEachStepOn) {
  queue("TEST01");
  open();
  QApplication::setActiveWindow(window);
  const auto press = [&](Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window.data(), key);
  };
  // The two modes are one group of radio buttons: the arrows check the other one.
  child<QRadioButton>("RB1")->setFocus();
  press(Qt::Key_Down);
  EXPECT_TRUE(child<QRadioButton>("RB2")->isChecked());
  press(Qt::Key_Up);
  EXPECT_TRUE(child<QRadioButton>("RB1")->isChecked());
  child<QRadioButton>("RB2")->setFocus();
  press(Qt::Key_Space);
  press(Qt::Key_Return);
  ASSERT_EQ(window->step(), TForm1::Step::CodeEntry);
  QTest::keyClicks(QApplication::focusWidget(), "TEST01");
  press(Qt::Key_Enter);
  ASSERT_EQ(window->step(), TForm1::Step::Parameters);
  press(Qt::Key_Return);
  ASSERT_EQ(window->step(), TForm1::Step::Summary);
  press(Qt::Key_Return);
  EXPECT_TRUE(window->running());
  waitForRun();
  EXPECT_EQ(text("Label7"), "6. [170] \"TEST01\", [649].");
  // The focused button is Enter's rather than the default.
  child<QPushButton>("BReset")->setFocus();
  press(Qt::Key_Return);
  EXPECT_EQ(window->step(), TForm1::Step::CodeEntry);
}

TEST_F(OptimiserWindow, HandedOverTaskIsSolvedAndReturnedToTheProtocol) {
  AppState& s = main.state();
  s.solveAtOnce = 1;
  s.curTaskCode = "TEST01";
  s.protocol.resize(2);
  s.protocol[1].code = "TEST01";
  s.protocol[1].status = SentToSolving;
  queue("TEST01");
  window = new TForm1(main, &box);
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 20000));
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(s.protocol[1].status, SolutionLoaded);
  // The status change reached the protocol file at once.
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records.at(1).status, SolutionLoaded);
  EXPECT_TRUE(std::filesystem::exists(dir / "Data/qj_TEST01_out.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_TEST01_in.dat"));
}

}  // namespace
}  // namespace qj::ui
