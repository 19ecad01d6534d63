// Tasks entered on the demo city from the first step to the saved files, through the
// wizard's widgets as a user enters them, with the refusal of every page on the way.

#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QTest>
#include <numeric>

#include "app/program_windows.h"
#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/USelectWin.h"
#include "records/protocol_file.h"
#include "records/task_file.h"
#include "records/text.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

// A place of the demo city for a target point and the section the wizard must put it on.
struct Address {
  std::string type, street, house;
  int32_t section = -1;
};

class TaskWizardFlow : public TaskWizardWindow {
 protected:
  DbrnFile demoCity(const char* file) const {
    DbrnRead read = readDbrnFile(dir / ("Dbrn/" + std::string(file)));
    EXPECT_TRUE(read.db) << file;
    return read.db ? *read.db : DbrnFile{};
  }

  // Level 1: the first house number of the n-th open section of a street with standard
  // numbering. Only that section's numbering holds it.
  static Address houseOfSection(const DbrnFile& db, const std::string& street, int n) {
    for (size_t k = 0; k < db.sections.size(); ++k) {
      const TransitSectionRec& s = db.sections[k];
      if (db.streets.at(s.streetIndex).name != street || s.hasNonStdNumbering() || s.isClosed())
        continue;
      if (n-- == 0)
        return {db.streets[s.streetIndex].streetType, street, trimmed(s.houseFrom),
                static_cast<int32_t>(k)};
    }
    ADD_FAILURE() << street;
    return {};
  }

  // Level 2: the n-th house (in record order) that leaves its yard by one open section only,
  // on a street of its own type other than the streets already taken.
  static Address singleLinkHouse(const DbrnFile& db, int n) {
    for (const HouseRec& h : db.houses) {
      if (h.links.size() != 1 || h.yardNo != 0) continue;
      const TransitSectionRec& s = db.sections.at(h.links[0].sectionNo - 1);
      if (s.isClosed() || s.areReverseObjectsClosed()) continue;
      if (n-- == 0)
        return {db.streets.at(h.streetIndex).streetType, db.streets[h.streetIndex].name, h.houseNo,
                h.links[0].sectionNo - 1};
    }
    ADD_FAILURE();
    return {};
  }

  // Steps a picker with its grid keys (previous / next) until it shows the wanted item.
  void stepPicker(const char* list, const QString& wanted, Qt::Key previous, Qt::Key following) {
    auto* box = control<QComboBox>(list);
    int target = -1;
    for (int i = 0; i < box->count() && target < 0; ++i)
      if (box->itemText(i) == wanted || box->itemText(i).endsWith("(" + wanted + ")")) target = i;
    ASSERT_GE(target, 0) << wanted.toStdString();
    for (int guard = 0; box->currentIndex() != target && guard < 200; ++guard)
      press("Table1", box->currentIndex() < target ? following : previous, Qt::ControlModifier);
    ASSERT_EQ(box->currentIndex(), target) << wanted.toStdString();
  }

  // The address entered into a row of Table1 from the pickers, as a user enters it: a click on
  // the row, type and street with Ctrl+A/S and Ctrl+Q/W, the house picked from its list
  // (levels 2 and 3), the SpaceBar, and at level 1 the house number typed.
  void enterAddress(int row, const Address& a, int level) {
    goTo("Table1", row, t1::kType);
    stepPicker("List", toQt(a.type), Qt::Key_A, Qt::Key_S);
    stepPicker("List1", toQt(a.street), Qt::Key_Q, Qt::Key_W);
    if (level >= 2) {
      auto* houses = control<QComboBox>("List2");
      const int house = houses->findText(toQt(a.house));
      ASSERT_GE(house, 0) << a.house;
      pick("List2", house);
    }
    press("Table1", Qt::Key_Space);
    const TaskWizardState& s = wizard()->state();
    EXPECT_EQ(trimmed(s.table1.cell(row, t1::kType)), a.type);
    EXPECT_EQ(trimmed(s.table1.cell(row, t1::kStreet)), a.street);
    if (level == 1) typeInCell("Table1", row, t1::kHouse, toQt(a.house));
    EXPECT_EQ(s.table1.cell(row, t1::kHouse), a.house);
  }

  bool focused(const char* name) const {
    for (QWidget* w = wizard()->focusWidget(); w; w = w->parentWidget())
      if (w->objectName() == name) return true;
    return false;
  }
  int topRow(const char* gridName) const { return grid(gridName)->rowAt(0); }

  // The saved solver input: the arc counts add up to the arcs written, the points sit on the
  // sections chosen.
  SolverInput savedInput(const std::string& code) const {
    const SolverInputRead read = readSolverInput(dir.read("Data/qj_" + code + "_in.dat"));
    EXPECT_TRUE(read.input) << read.error;
    if (!read.input) return {};
    const SolverInput& in = *read.input;
    EXPECT_EQ(in.arcCounts.size(),
              static_cast<size_t>(in.header.sectionCount + in.header.pointCount));
    EXPECT_EQ(std::accumulate(in.arcCounts.begin(), in.arcCounts.end(), int64_t{0}),
              static_cast<int64_t>(in.arcs.size()));
    return in;
  }

  // The first task that the chooser of an output command offers, opened in its viewer.
  QWidget* viewThrough(MenuItem item) const {
    main->runCommand(item);
    settle();
    TfrmSelectWin* chooser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* c = qobject_cast<TfrmSelectWin*>(w); c && c->isVisible()) chooser = c;
    if (!chooser) return nullptr;
    chooser->list()->setCurrentRow(0);
    chooser->okButton()->click();
    settle();
    const auto children = main->mdiArea()->subWindowList();
    return children.isEmpty() ? nullptr : children.back()->widget();
  }

  // Waits for the optimiser's automatic run of the one task of the protocol to load its
  // solution and for the main window to come back.
  void awaitSolution(const std::string& code) const {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return main->state().protocol.size() == 1 && main->state().protocol[0].status == 2; },
        60000))
        << lastMessage();
    settle();
    EXPECT_TRUE(std::filesystem::exists(dir / ("Data/qj_" + code + "_out.dat")));
    EXPECT_FALSE(std::filesystem::exists(dir / ("Solving/qj_" + code + "_in.dat")));
    EXPECT_FALSE(std::filesystem::exists(dir / ("Solving/qj_" + code + "_out.dat")));
    EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records.at(0).status, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->isEnabled(); }, 5000));
  }

  // The hand-over to the optimiser of a task saved with solve-now.
  void expectQueued(const std::string& code) const {
    EXPECT_EQ(wizard(), nullptr);
    EXPECT_EQ(optimiserFor, code);
    EXPECT_EQ(dir.read("Solving/qj_" + code + "_in.dat"), dir.read("Data/qj_" + code + "_in.dat"));
    EXPECT_FALSE(dir.read("Data/qj_" + code + ".dat").empty());
    ASSERT_EQ(main->state().protocol.size(), 1u);
    EXPECT_EQ(main->state().protocol[0].code, code);
    EXPECT_EQ(main->state().protocol[0].status, SentToSolving);
  }
};

TEST_F(TaskWizardFlow, ALevelOneTaskFromTheFirstStepToTheOptimiser) {
  const DbrnFile db = demoCity("001sys1_dbrn_eng.dat");
  const Address first = houseOfSection(db, "Oak", 0);
  const Address second = houseOfSection(db, "Oak", 3);
  const Address third{"av.", "Kings", "-"};
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "one001");
  type("txtName", "Level one");
  choose("list_DBRN", "[001sys1]");
  next();
  ASSERT_EQ(step(), 2);
  type("TS_num", "3");
  type("fine1", "1");
  type("fine2", "10");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64 (S744 3 S200 5)");
  EXPECT_FALSE(control("List2")->isVisibleTo(wizard()));

  // Page 3 refuses a point without an address, naming its row.
  next();
  EXPECT_EQ(lastMessage(), "S458 1.");
  EXPECT_TRUE(focused("Table1"));
  EXPECT_EQ(topRow("Table1"), 0);

  enterAddress(0, first, 1);
  enterAddress(1, second, 1);
  typeInCell("Table1", 1, t1::kService, "5");
  enterAddress(2, third, 1);
  messages->clear();
  next();
  ASSERT_EQ(step(), 5) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64 (S744 S3 S200 5)");
  const TaskWizardState& s = wizard()->state();
  ASSERT_GT(s.ambiguousCount, 1);

  // Page 34 refuses a point whose section is not marked.
  next();
  EXPECT_EQ(lastMessage(), "S274 3.");
  EXPECT_TRUE(focused("Table12"));
  int marked = -1;
  for (int r = 0; r < s.table12.rows(); ++r)
    if (s.table12.cell(r, t12::kSection) == "5") marked = r;
  ASSERT_GE(marked, 0);
  goTo("Table12", marked, t12::kMark);
  press("Table12", Qt::Key_Space);
  EXPECT_EQ(s.table12.cell(marked, t12::kMark), "  *");
  messages->clear();
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64 (S744 4 S200 5)");
  EXPECT_FALSE(wizard()->busyLabel()->isVisible());

  // Back leads to the section choice, which Next passes again.
  back();
  EXPECT_EQ(step(), 5);
  EXPECT_EQ(s.table12.cell(marked, t12::kMark), "  *");
  next();
  ASSERT_EQ(step(), 6) << lastMessage();

  // Page 4 refuses a way in longer than the section.
  const std::string distance = s.table2.cell(0, 9);
  typeInCell("Table2", 0, 9, "999");
  next();
  EXPECT_EQ(lastMessage(),
            "S619 1, S238 (= " + trimmed(db.sections[first.section].length) + " s22), S742.");
  EXPECT_TRUE(focused("Table2"));
  typeInCell("Table2", 0, 9, toQt(distance));
  messages->clear();
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64 (S744 5 S200 5)");

  // Page 5 refuses a way out without its distance.
  const std::string out = s.table3.cell(0, 9);
  typeInCell("Table3", 0, 9, "");
  next();
  EXPECT_EQ(lastMessage(), "S456 1.");
  EXPECT_TRUE(focused("Table3"));
  typeInCell("Table3", 0, 9, toQt(out));
  messages->clear();
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64");
  EXPECT_EQ(wizard()->nextButton()->text(), "S129");
  EXPECT_EQ(label("nstate2"), std::to_string(s.header.stateCount2));
  EXPECT_EQ(label("nts_6"), "3");
  EXPECT_FALSE(control("velo_6")->isVisibleTo(wizard()));
  EXPECT_TRUE(control<QRadioButton>("Order1")->isChecked());

  next();
  expectQueued("ONE001");
  const SolverInput in = savedInput("ONE001");
  ASSERT_EQ(in.points.size(), 3u);
  EXPECT_EQ(in.header.sectionCount, static_cast<int32_t>(db.sections.size()));
  EXPECT_EQ(in.points[0].sectionIndex, first.section);
  EXPECT_EQ(in.points[1].sectionIndex, second.section);
  EXPECT_EQ(in.points[2].sectionIndex, 4);  // the marked section 5
  EXPECT_EQ(in.points[1].serviceTime, 5);
  for (const TaskPointRec& p : in.points) EXPECT_GE(p.toCount, 1);
}

TEST_F(TaskWizardFlow, WhatIsTypedSurvivesBackAndNextAlsoWhenCorrecting) {
  const DbrnFile db = demoCity("001sys1_dbrn_eng.dat");
  const Address first = houseOfSection(db, "Oak", 0);
  const Address second = houseOfSection(db, "Oak", 3);
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "bak001");
  type("txtName", "Back and forth");
  choose("list_DBRN", "[001sys1]");
  next();
  type("TS_num", "2");
  type("fine1", "1");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  enterAddress(0, first, 1);
  enterAddress(1, second, 1);
  typeInCell("Table1", 1, t1::kPenalty, "7");
  messages->clear();

  // Back to page 1 and on: pages 2 and 3 as the user left them, no step having stored them.
  back();
  type("fine2", "3");
  back();
  next();
  EXPECT_EQ(edit("fine2")->text(), "3");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  const TaskWizardState& s = wizard()->state();
  EXPECT_EQ(s.table1.cell(1, t1::kPenalty), "7");
  EXPECT_EQ(s.table1.cell(0, t1::kHouse), first.house);

  // The ways in, typed and not yet stored: Back to the addresses and on.
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  typeInCell("Table2", 0, 9, "7");
  typeInCell("Table2", 0, 10, "4");
  back();
  ASSERT_EQ(step(), 3);
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  EXPECT_EQ(s.table2.cell(0, 9), "7");
  EXPECT_EQ(s.table2.cell(0, 10), "4");

  // A way out typed into a cell still open when Back is pressed.
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  goTo("Table3", 0, 9);
  grid("Table3")->edit(grid("Table3")->currentIndex());
  auto* editor =
      qobject_cast<QLineEdit*>(grid("Table3")->indexWidget(grid("Table3")->currentIndex()));
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "55");
  back();
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  EXPECT_EQ(s.table3.cell(0, 9), "55");
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  control<QRadioButton>("Order2")->click();
  next();
  ASSERT_EQ(wizard(), nullptr) << lastMessage();

  // Correcting the task: a way out typed over the stored one, Back and on.
  chosenTask = "BAK001";
  ASSERT_NE(open(MenuItem::mnuInEditTask), nullptr);
  for (int page = 1; page < 7; page = step()) {
    next();
    ASSERT_GT(step(), page) << lastMessage();
  }
  const TaskWizardState& c = wizard()->state();
  EXPECT_EQ(c.table3.cell(0, 9), "55");
  EXPECT_EQ(c.table2.cell(0, 9), "7");
  typeInCell("Table3", 0, 9, "33");
  back();
  next();
  EXPECT_EQ(c.table3.cell(0, 9), "33");
}

TEST_F(TaskWizardFlow, ALevelTwoTaskWithRefusalsAndTimeWindows) {
  const DbrnFile db = demoCity("002sys2_dbrn_eng.dat");
  const Address points[] = {singleLinkHouse(db, 0), singleLinkHouse(db, 40),
                            singleLinkHouse(db, 80)};
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "TWO001");
  type("txtName", "Level two");
  choose("list_DBRN", "[002sys2]");
  next();
  ASSERT_EQ(step(), 2);
  type("TS_num", "3");
  type("TS_last", "3");
  type("fine1", "1");
  control<QRadioButton>("ref_1")->click();
  control<QRadioButton>("tm_1")->click();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64 (S744 3 S200 3)");
  EXPECT_TRUE(control("List2")->isVisibleTo(wizard()));

  for (int r = 0; r < 3; ++r) enterAddress(r, points[r], 2);
  typeInCell("Table1", 1, t1::kService, "5");
  messages->clear();
  next();
  ASSERT_EQ(step(), 4) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle(), "S64 (S744 S3 S200 3)");
  EXPECT_TRUE(control<QRadioButton>("por0")->isChecked());
  EXPECT_FALSE(control("porog1")->isEnabled());

  // Page 3a: the tact first; an empty one only moves the focus.
  next();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  EXPECT_TRUE(focused("txtDT"));
  type("txtDT", "0");
  next();
  EXPECT_EQ(lastMessage(), "S324.");
  EXPECT_TRUE(focused("txtDT"));
  type("txtDT", "10");
  // A threshold needs a point that may be refused; the refusal clears it.
  control<QRadioButton>("por1")->click();
  EXPECT_TRUE(control("porog1")->isEnabled());
  EXPECT_FALSE(control("porog2")->isEnabled());
  EXPECT_TRUE(focused("porog1"));
  type("porog1", "2");
  next();
  EXPECT_EQ(lastMessage(), "S300.");
  EXPECT_TRUE(control<QRadioButton>("por0")->isChecked());
  EXPECT_FALSE(control("porog1")->isEnabled());
  EXPECT_EQ(edit("porog1")->text(), "");
  // The start and end point are never refused; point 2 may be.
  goTo("Table1a", 0, t1a::kRefusal);
  press("Table1a", Qt::Key_Space);
  goTo("Table1a", 1, t1a::kRefusal);
  press("Table1a", Qt::Key_Space);
  const TaskWizardState& s = wizard()->state();
  EXPECT_EQ(s.table1a.cell(0, t1a::kRefusal), "-");
  EXPECT_EQ(s.table1a.cell(1, t1a::kRefusal), "  *");
  typeInCell("Table1a", 1, t1a::kLow, "30");
  typeInCell("Table1a", 1, t1a::kHigh, "34");
  next();
  EXPECT_EQ(lastMessage(), "S633 2, S241 35 s24.");
  EXPECT_TRUE(focused("Table1a"));
  typeInCell("Table1a", 1, t1a::kHigh, "90");
  messages->clear();
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  EXPECT_EQ(label("velo_6"), "15");
  EXPECT_EQ(label("dt_6"), "10");
  EXPECT_EQ(label("por_6"), "S445");

  // Back from the summary lands on page 3a; Next comes back.
  back();
  EXPECT_EQ(step(), 4);
  EXPECT_EQ(wizard()->nextButton()->text(), "S80");
  next();
  ASSERT_EQ(step(), 8) << lastMessage();

  next();
  expectQueued("TWO001");
  const SolverInput in = savedInput("TWO001");
  ASSERT_EQ(in.points.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(in.points[i].sectionIndex, points[i].section) << i;
    EXPECT_EQ(in.points[i].house, points[i].house) << i;
    EXPECT_GE(in.points[i].fromCount, 1) << i;
  }
  EXPECT_EQ(in.header.tactMinutes, 10);
  EXPECT_EQ(in.points[1].refusalAllowed, 1);
  EXPECT_EQ(in.points[1].windowLow, 30);
  EXPECT_EQ(in.points[1].windowHigh, 90);
  EXPECT_GT(in.header.stateCount2, 0);
}

// The whole road of a task: entered in the wizard with solve-now, solved by the real optimiser
// window in its automatic run, its solution brought into Data/ with status 2, and then viewed
// through the task chooser in the task viewer and the solution viewer.
TEST_F(TaskWizardFlow, ATaskEnteredSolvedAndViewed) {
  const DbrnFile db = demoCity("001sys1_dbrn_eng.dat");
  const Address from = houseOfSection(db, "Oak", 0);
  const Address to = houseOfSection(db, "Oak", 3);
  const WindowFactory program = programWindows();
  windows.optimiser = program.optimiser;
  windows.taskChooser = program.taskChooser;
  dir.write("System/protocol.pro", writeProtocolFile({}));
  start();

  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "run001");
  type("txtName", "Two stops");
  choose("list_DBRN", "[001sys1]");
  next();
  type("TS_num", "2");
  type("fine1", "1");
  type("fine2", "10");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  enterAddress(0, from, 1);
  enterAddress(1, to, 1);
  for (int guard = 0; step() != 8 && guard < 6; ++guard) next();
  ASSERT_EQ(step(), 8) << lastMessage();
  ASSERT_TRUE(control<QRadioButton>("Order1")->isChecked());
  next();

  // The optimiser runs the handed-over task by itself and closes.
  awaitSolution("RUN001");
  if (HasFatalFailure()) return;

  // Output, view a solution: the chooser offers the solved task; OK opens its viewer.
  auto* solution = qobject_cast<TfrmViewSolution*>(viewThrough(MenuItem::mnuOutViewSolution));
  ASSERT_NE(solution, nullptr) << lastMessage();
  EXPECT_EQ(solution->view().solution.solutionFound, 1);
  EXPECT_GT(solution->view().route.rows(), 2);
  EXPECT_GT(solution->view().routeCost, 0);
  auto* task = qobject_cast<TfrmViewTask*>(viewThrough(MenuItem::mnuInViewTask));
  ASSERT_NE(task, nullptr) << lastMessage();
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 2);
}

// A task on the client addition of the demo city's level-2 database: the wizard takes its
// addresses from the client addition's houses and asks no transitions; the optimiser solves it
// on the system database and stores the route as lines, which the solution viewer shows.
TEST_F(TaskWizardFlow, AClientAdditionTaskEnteredSolvedAndViewed) {
  const DbrnFile sys2 = demoCity("002sys2_dbrn_eng.dat");
  dir.write("Dbrn/002cli2_dbrn_eng.dat", writeDbrn(clientAdditionOf(sys2)));
  const Address points[] = {singleLinkHouse(sys2, 0), singleLinkHouse(sys2, 40),
                            singleLinkHouse(sys2, 80)};
  const WindowFactory program = programWindows();
  windows.optimiser = program.optimiser;
  windows.taskChooser = program.taskChooser;
  dir.write("System/protocol.pro", writeProtocolFile({}));
  start();

  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "cli001");
  type("txtName", "Client round");
  choose("list_DBRN", "[002cli2]");
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  type("TS_num", "3");
  type("TS_last", "3");
  type("fine1", "1");
  type("fine2", "10");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_TRUE(control("List2")->isVisibleTo(wizard()));
  for (int r = 0; r < 3; ++r) enterAddress(r, points[r], 3);
  messages->clear();
  for (int guard = 0; step() != 8 && guard < 6; ++guard) next();
  ASSERT_EQ(step(), 8) << lastMessage();
  ASSERT_TRUE(control<QRadioButton>("Order1")->isChecked());
  next();

  awaitSolution("CLI001");
  if (HasFatalFailure()) return;
  const TaskFile saved = *readTaskFile(dir.read("Data/qj_CLI001.dat")).task;
  EXPECT_EQ(saved.header.dbKind, "cli2");
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(sys2.houses.at(saved.points[i].houseIndex).houseNo, points[i].house) << i;

  auto* solution = qobject_cast<TfrmViewSolution*>(viewThrough(MenuItem::mnuOutViewSolution));
  ASSERT_NE(solution, nullptr) << lastMessage();
  const SolutionView& view = solution->view();
  EXPECT_EQ(view.dbLevel, 3);
  ASSERT_EQ(view.solution.solutionFound, 1) << view.solution.finalMessage;
  EXPECT_EQ(view.route.rows(), view.solution.routeStepCount + 1);
  EXPECT_EQ(view.route.cell(0, 0), " 1");
  EXPECT_EQ(view.route.cell(view.route.rows() - 1, 7), "( S159 )");
  EXPECT_GT(view.routeCost, 0);
}

}  // namespace
}  // namespace qj::ui
