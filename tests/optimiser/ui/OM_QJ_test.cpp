#include "optimiser/ui/OM_QJ.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

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

using optim::test::TaskFixture;

SolverInput smallTask(const std::string& code) {
  TaskFixture f(4, 3);
  f.task.header.code = code;
  for (int32_t s = 0; s < 4; ++s) f.arc(s, (s + 1) % 4, 1 + s, 0.05);
  f.arc(0, f.point(2), 2, 0.02).arc(2, f.point(3), 2, 0.02).arc(3, f.point(1), 1, 0.01);
  for (int k = 1; k <= 3; ++k) f.arc(f.point(k), k % 4, 1, 0.03);
  return optim::test::toSolverInput(f.finish());
}

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
              writeSolverInput(smallTask(code), "Shell (QJ 1.6).eng"));
  }
  void toParameters(const std::string& code) {
    queue(code);
    open();
    child<QRadioButton>("RB2")->click();
    click("BNext1");
    type("MaskEdit1_3", QString::fromStdString(code));
    click("BNext2");
    ASSERT_EQ(window->step(), TForm1::Step::Parameters);
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

TEST_F(OptimiserWindow, FirstShowSetsUpTheModeChoice) {
  open();
  EXPECT_EQ(window->windowTitle(), "[255]");
  EXPECT_EQ(window->size(), px(QSize(614, 433)));
  EXPECT_TRUE(window->isModal());
  EXPECT_EQ(text("Label0"), "[98]:");
  EXPECT_TRUE(child<QRadioButton>("RB1")->isChecked());
  for (const char* name : {"Label0", "Label0_1", "Label0_2", "RB1", "RB2", "BNext1"})
    EXPECT_TRUE(visible(name)) << name;
  for (const char* name : {"MaskEdit1_3", "Label1", "BStart", "BReset", "BEnd", "BNext2", "BNext3",
                           "LOPRM", "LOPT1", "ME1", "ME4", "Label_0"})
    EXPECT_FALSE(visible(name)) << name;
  EXPECT_EQ(child<QLineEdit>("ME1")->text(), "0,9");
  EXPECT_EQ(child<QLineEdit>("ME2")->text(), "0,003");
  EXPECT_EQ(child<QLineEdit>("ME3")->text(), "5");
  EXPECT_EQ(child<QLineEdit>("ME4")->text(), "1000");
  EXPECT_EQ(text("LOPT1"), "[431] (>=0,1 [1] <1,0)");
  // Each edit stands 15 design pixels after its caption, which starts at 64.
  EXPECT_EQ(child<QLineEdit>("ME2")->x(), px(64) + child<QLabel>("LOPT2")->width() + px(15));

  // Showing the window again sets nothing up again.
  child<QLineEdit>("ME3")->setText("7");
  window->hide();
  window->show();
  EXPECT_EQ(child<QLineEdit>("ME3")->text(), "7");
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

TEST_F(OptimiserWindow, BatchWithAnEmptyQueueOffersOnlyClosing) {
  open();
  click("BNext1");
  EXPECT_EQ(window->step(), TForm1::Step::NothingQueued);
  EXPECT_EQ(text("Label8"), "[6]. [569].");
  EXPECT_TRUE(visible("BEnd"));
  for (const char* name : {"BStart", "BNext1", "BNext2", "BNext3", "ME1", "MaskEdit1_3"})
    EXPECT_FALSE(visible(name)) << name;
  click("BEnd");
  QApplication::processEvents();
  EXPECT_TRUE(window.isNull());  // closed and freed
  EXPECT_TRUE(main.isEnabled());
}

TEST_F(OptimiserWindow, CodeWithoutQueuedInputShowsTheFileName) {
  open();
  child<QRadioButton>("RB2")->click();
  click("BNext1");
  EXPECT_TRUE(visible("MaskEdit1_3"));
  EXPECT_EQ(text("Label1"), "[57]:");
  type("MaskEdit1_3", "ab12c");
  click("BNext2");
  EXPECT_EQ(window->step(), TForm1::Step::CodeEntry);  // five characters: not a code yet
  type("MaskEdit1_3", "ab-12cd9");
  EXPECT_EQ(child<QLineEdit>("MaskEdit1_3")->text(), "AB12CD");
  click("BNext2");
  EXPECT_EQ(window->step(), TForm1::Step::NoInput);
  EXPECT_EQ(text("Label1"), "[747] - \"AB12CD\".");
  EXPECT_EQ(text("Label8"), "[8]. [568] \"qj_AB12CD_in.dat\".");
  EXPECT_TRUE(visible("BEnd"));
  EXPECT_FALSE(visible("BNext2"));
  EXPECT_FALSE(visible("ME1"));
}

TEST_F(OptimiserWindow, ParameterBoundaries) {
  toParameters("TEST01");
  struct Case {
    const char* me1;
    const char* me2;
    const char* me3;
    const char* me4;
    const char* message;  // empty: no box
    const char* focus;
  };
  const std::vector<Case> refused = {
      {"0,09", "0,003", "5", "1000", "[320].", "ME1"},
      {"1,0", "0,003", "5", "1000", "[320].", "ME1"},
      {"0,9", "0,0009", "5", "1000", "[319].", "ME2"},
      {"0,9", "0,2", "5", "1000", "[319].", "ME2"},
      {"0,9", "0,003", "0", "1000", "[760].", "ME3"},
      {"0,9", "0,003", "5", "9", "[761].", "ME4"},
      {"0,9", "0,003", "", "1000", "", "ME3"},
      {",", "0,003", "5", "1000", "", "ME1"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(std::string(c.me1) + " " + c.me2 + " " + c.me3 + " " + c.me4);
    box.clear();
    type("ME1", c.me1);
    type("ME2", c.me2);
    type("ME3", c.me3);
    type("ME4", c.me4);
    click("BNext3");
    EXPECT_EQ(window->step(), TForm1::Step::Parameters);
    if (*c.message) {
      ASSERT_EQ(box.shown.size(), 1u);
      EXPECT_EQ(box.last().kind, MessageKind::Warning);
      EXPECT_EQ(box.last().text, c.message);
    } else {
      EXPECT_TRUE(box.shown.empty());
    }
    EXPECT_EQ(window->focusWidget(), child<QWidget>(c.focus));
  }
  // The edits take only digits and the separator, up to their lengths; a refused character
  // refuses what is typed after it.
  type("ME1", "0.9x99");
  EXPECT_EQ(child<QLineEdit>("ME1")->text(), "0");
  type("ME1", "0,09999");
  EXPECT_EQ(child<QLineEdit>("ME1")->text(), "0,09");
  type("ME3", "1a2");
  EXPECT_EQ(child<QLineEdit>("ME3")->text(), "1");

  box.clear();
  type("ME1", "0,99");
  type("ME2", "0,1");
  type("ME3", "1");
  type("ME4", "10");
  click("BNext3");
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(window->step(), TForm1::Step::Summary);
  EXPECT_EQ(text("LOPRM"), "[489]:");
  EXPECT_EQ(text("LOPT1"), "<s40> = 0,99");
  EXPECT_EQ(text("LOPT2"), "<s19> = 0,100");
  EXPECT_EQ(text("LOPT3"), "<s18> = 1");
  EXPECT_EQ(text("LOPT4"), "<s21> = 10");
  for (const char* name : {"BStart", "BEnd", "BReset"}) EXPECT_TRUE(visible(name)) << name;
  EXPECT_FALSE(visible("ME1"));
}

TEST_F(OptimiserWindow, ResetGoesBackToTheCode) {
  toParameters("TEST01");
  click("BNext3");
  ASSERT_EQ(window->step(), TForm1::Step::Summary);
  click("BReset");
  EXPECT_EQ(window->step(), TForm1::Step::CodeEntry);
  EXPECT_EQ(text("Label1"), "[57]:");
  EXPECT_EQ(child<QLineEdit>("MaskEdit1_3")->text(), "TEST01");
  EXPECT_TRUE(visible("MaskEdit1_3"));
  EXPECT_TRUE(visible("BNext2"));
  for (const char* name : {"LOPRM", "LOPT1", "BStart", "BReset", "BEnd"})
    EXPECT_FALSE(visible(name)) << name;
  EXPECT_EQ(text("LOPT1"), "[431] (>=0,1 [1] <1,0)");
  click("BNext2");
  EXPECT_TRUE(visible("ME1"));
  EXPECT_EQ(child<QLineEdit>("ME1")->text(), "0,9");  // the edits keep their texts
}

TEST_F(OptimiserWindow, RunInBatchShowsItsLinesAndBlocksTheWindowWhileRunning) {
  queue("TEST01");
  queue("TEST02");
  dir.write("System/info", "\nCity services\n\nDepartment\n\nLicence\n");
  open();
  click("BNext1");
  ASSERT_EQ(window->step(), TForm1::Step::Parameters);
  click("BNext3");
  ASSERT_EQ(window->step(), TForm1::Step::Summary);
  EXPECT_FALSE(visible("BReset"));  // batch mode
  QSignalSpy finished(window.data(), &TForm1::runFinished);
  click("BStart");
  EXPECT_TRUE(window->running());
  EXPECT_FALSE(child<QWidget>("BStart")->isEnabled());
  EXPECT_FALSE(window->close());  // the close box does nothing while the run works
  EXPECT_FALSE(window.isNull());
  waitForRun();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_TRUE(child<QWidget>("BStart")->isEnabled());
  EXPECT_EQ(child<QPushButton>("BStart")->text(), "[0]");
  EXPECT_EQ(text("Label7"), "6. [170] \"TEST02\", [649].");
  EXPECT_TRUE(text("Label_End").startsWith("[146] \"TEST02\" - 0:00:0"));
  EXPECT_TRUE(text("Label_Start").startsWith("[270] \"TEST02\":  "));
  EXPECT_EQ(text("Label2"), "1. [171].");
  EXPECT_EQ(text("Label6"), "5. [177].");
  EXPECT_TRUE(text("Label8").isEmpty());
  EXPECT_FALSE(visible("Label_0"));
  for (const std::string code : {"TEST01", "TEST02"}) {
    const SolutionRead r = readSolutionFile(dir.read("Solving/qj_" + code + "_out.dat"), false);
    ASSERT_TRUE(r.file) << r.error;
    EXPECT_EQ(r.file->header.solutionFound, 1);
    EXPECT_EQ(r.file->header.infoText1, "City services");
    EXPECT_EQ(r.file->header.infoText3, "Licence");
  }
  // A manual run leaves the solution in the queue.
  EXPECT_TRUE(std::filesystem::exists(dir / "Solving/qj_TEST01_in.dat"));
  // Start may be pressed again.
  click("BStart");
  waitForRun();
  EXPECT_EQ(finished.count(), 2);
}

TEST_F(OptimiserWindow, FailedTaskShowsItsMessageInTheRedLine) {
  SolverInput bad = smallTask("TEST01");
  bad.header.pointCount = 11;
  dir.write("Solving/qj_TEST01_in.dat", writeSolverInput(bad, "Shell (QJ 1.6).eng"));
  open();
  click("BNext1");
  click("BNext3");
  click("BStart");
  waitForRun();
  EXPECT_EQ(text("Label8"), "[193] \"TEST01\". [8]. [550] 11 (> 10 [153]).");
  EXPECT_EQ(text("Label7"), "6. [170] \"TEST01\", [649].");
}

TEST_F(OptimiserWindow, HandedOverTaskIsSolvedAndReturnedToTheProtocol) {
  AppState& s = main.state();
  s.solveAtOnce = 1;
  s.curTaskCode = "TEST01";
  s.protocol.resize(2);
  s.protocol[0].code = "OTHER1";
  s.protocol[1].code = "TEST01";
  s.protocol[1].status = SentToSolving;
  queue("TEST01");
  window = new TForm1(main, &box);
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 20000));
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(s.protocol[1].status, SolutionLoaded);
  EXPECT_GT(s.protocol[1].solutionLoadedAt, 40000);
  EXPECT_EQ(s.protocol[0].status, InputEntered);
  // The status change reached the protocol file at once.
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records.at(1).status, SolutionLoaded);
  EXPECT_TRUE(std::filesystem::exists(dir / "Data/qj_TEST01_out.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_TEST01_in.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_TEST01_out.dat"));
  EXPECT_EQ(s.solveAtOnce, 1);  // the window never changes it
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(OptimiserWindow, HandedOverTaskThatFailsIsReturnedAsWell) {
  AppState& s = main.state();
  s.solveAtOnce = 1;
  s.curTaskCode = "TEST01";
  s.protocol.resize(1);
  s.protocol[0].code = "TEST01";
  SolverInput bad = smallTask("TEST01");
  bad.arcs[0].cost = -1;
  dir.write("Solving/qj_TEST01_in.dat", writeSolverInput(bad, "Shell (QJ 1.6).eng"));
  window = new TForm1(main, &box);
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 20000));
  EXPECT_EQ(s.protocol[0].status, SolutionLoaded);
  const SolutionRead r = readSolutionFile(dir.read("Data/qj_TEST01_out.dat"), false);
  ASSERT_TRUE(r.file);
  EXPECT_EQ(r.file->header.solutionFound, 0);
}

TEST_F(OptimiserWindow, HandedOverTaskWithoutInputKeepsTheWindowOpen) {
  AppState& s = main.state();
  s.solveAtOnce = 1;
  s.curTaskCode = "TEST01";
  s.protocol.resize(1);
  s.protocol[0].code = "TEST01";
  s.protocol[0].status = SentToSolving;
  open();
  QApplication::processEvents();
  ASSERT_FALSE(window.isNull());
  EXPECT_EQ(window->step(), TForm1::Step::NoInput);
  EXPECT_EQ(text("Label8"), "[8]. [568] \"qj_TEST01_in.dat\".");
  EXPECT_EQ(s.protocol[0].status, SentToSolving);
  EXPECT_FALSE(main.isEnabled());
  window->close();
  QApplication::processEvents();
  EXPECT_TRUE(main.isEnabled());
}

}  // namespace
}  // namespace qj::ui
