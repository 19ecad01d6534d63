// Tasks entered on the demo city from the first step to the saved files, through the
// wizard's widgets as a user enters them: the refusal of every page on the way, what is typed
// surviving Back and Next, and the road on to the optimiser.

#include <gtest/gtest.h>

#include <QTest>

#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "records/protocol_file.h"
#include "records/task_file.h"
#include "records/text.h"
#include "support/bytes_at.h"
#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

class TaskWizardFlow : public TaskWizardWindow {
 protected:
  bool focused(const char* name) const {
    for (QWidget* w = wizard()->focusWidget(); w; w = w->parentWidget())
      if (w->objectName() == name) return true;
    return false;
  }
  // Types into a cell and leaves its editor open, as a user who presses Back at once.
  void typeAndLeaveOpen(const char* gridName, int row, int tableColumn, const char* text) {
    goTo(gridName, row, tableColumn);
    grid(gridName)->edit(grid(gridName)->currentIndex());
    auto* editor =
        qobject_cast<QLineEdit*>(grid(gridName)->indexWidget(grid(gridName)->currentIndex()));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
  }
};

// A level-1 task from the first step: a page's refusal names its row and focuses its grid, and
// what is typed survives Back and Next, a cell still open when Back is pressed included.
// Saved with solve-now, the optimiser's automatic run solves it and loads its solution.
TEST_F(TaskWizardFlow, ALevelOneTaskEnteredAndSolved) {
  const DbrnFile db = demoCity("001sys1_dbrn_eng.dat");
  const Address first = houseOfSection(db, "Oak", 0);
  const Address second = houseOfSection(db, "Oak", 3);
  const Address third{"av.", "Kings", "-"};
  const WindowFactory program = programWindows();
  windows.optimiser = program.optimiser;
  windows.taskChooser = program.taskChooser;
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "one001");
  type("txtName", "Level one");
  choose("list_DBRN", "[001sys1]");
  next();
  ASSERT_EQ(step(), 2);
  type("TS_num", "3");
  type("fine1", "1x.5");  // the "x" alone is refused, the "." enters the separator
  EXPECT_EQ(edit("fine1")->text(), "1,5");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();

  // Page 3 refuses a point without an address at its type cell, closed.
  next();
  EXPECT_EQ(lastMessage(), "S458 1.");
  EXPECT_EQ(wizard()->focusWidget(), grid("Table1"));
  EXPECT_EQ(grid("Table1")->currentTableColumn(), t1::kType);
  enterAddress(0, first, 1);
  enterAddress(1, second, 1);
  typeInCell("Table1", 1, t1::kService, "x5.5");
  enterAddress(2, third, 1);
  messages->clear();

  // Back to page 1 and on: pages 2 and 3 as the user left them, no step having stored them.
  back();
  type("fine2", "10");
  back();
  next();
  EXPECT_EQ(edit("fine2")->text(), "10");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  const TaskWizardState& s = wizard()->state();
  EXPECT_EQ(s.table1.cell(1, t1::kService), "5,5");
  EXPECT_EQ(s.table1.cell(0, t1::kHouse), first.house);
  next();
  ASSERT_EQ(step(), 5) << lastMessage();

  // The point without a number goes on the section marked for it.
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

  // Keys typed on: Tab goes from the speed on to the next row's distance and its speed; a
  // character on a cell that takes no typing stays there and searches nothing.
  goTo("Table2", 0, 10);
  test::typeKeys(wizard()->focusWidget(), "12");
  for (const char* typed : {"5", "14"}) {
    QTest::keyClick(wizard()->focusWidget(), Qt::Key_Tab);
    settle();
    test::typeKeys(wizard()->focusWidget(), typed);
  }
  QTest::keyClick(wizard()->focusWidget(), Qt::Key_Return);
  settle();
  EXPECT_EQ(s.table2.cell(0, 10) + "|" + s.table2.cell(1, 9) + "|" + s.table2.cell(1, 10),
            "12|5|14");
  const int last = s.table2.rows() - 1;
  goTo("Table2", last, 8);
  test::typeKeys(wizard()->focusWidget(), "1");
  EXPECT_EQ(std::pair(grid("Table2")->currentRow(), grid("Table2")->currentTableColumn()),
            std::pair(last, 8));

  // A speed typed on the ways in survives Back to the section choice and on.
  typeInCell("Table2", 0, 10, "4.5");
  back();
  ASSERT_EQ(step(), 5);
  messages->clear();
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  EXPECT_EQ(s.table2.cell(0, 10), "4,5");
  next();
  ASSERT_EQ(step(), 7) << lastMessage();

  // Page 5 refuses a way out without its distance; one typed into a cell still open when Back
  // is pressed stays.
  typeInCell("Table3", 0, 9, "");
  next();
  EXPECT_EQ(lastMessage(), "S456 1.");
  EXPECT_EQ(wizard()->focusWidget(), grid("Table3"));
  EXPECT_EQ(grid("Table3")->currentTableColumn(), 9);
  typeAndLeaveOpen("Table3", 0, 9, "55");
  back();
  messages->clear();
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  EXPECT_EQ(s.table3.cell(0, 9), "55");
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  EXPECT_TRUE(control<QRadioButton>("Order1")->isChecked());
  next();
  EXPECT_EQ(wizard(), nullptr);

  const SolverInputRead in = readSolverInput(dir.read("Data/qj_ONE001_in.dat"));
  ASSERT_TRUE(in.input) << in.error;
  EXPECT_EQ(in.input->points.at(2).sectionIndex, 4);  // the marked section 5
  EXPECT_EQ(in.input->header.finePerKm, 1.5);
  EXPECT_EQ(in.input->points.at(1).serviceTime, 5.5);

  // The optimiser runs the handed-over task by itself, loads its solution and closes.
  ASSERT_TRUE(waitForTheSolution()) << lastMessage();
}

// A level-2 task: houses picked from their list; on the point options page an empty tact only
// moves the focus, a threshold option enables and focuses its edit and its refusal clears it,
// a time window refused focuses its grid. Saved to be solved later, and corrected: what is
// typed over the stored values survives Back and Next.
TEST_F(TaskWizardFlow, ALevelTwoTaskEnteredAndCorrected) {
  const DbrnFile db = demoCity("002sys2_dbrn_eng.dat");
  const Address points[] = {singleLinkHouse(db, 0), singleLinkHouse(db, 40),
                            singleLinkHouse(db, 80)};
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "TWO001");
  type("txtName", "Level two");
  choose("list_DBRN", "[002sys2]");
  next();
  type("TS_num", "3");
  type("TS_last", "3");
  type("fine1", "1");
  control<QRadioButton>("ref_1")->click();
  control<QRadioButton>("tm_1")->click();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_TRUE(control("List2")->isVisibleTo(wizard()));
  for (int r = 0; r < 3; ++r) enterAddress(r, points[r], 2);
  typeInCell("Table1", 1, t1::kService, "5");
  messages->clear();
  next();
  ASSERT_EQ(step(), 4) << lastMessage();
  EXPECT_FALSE(control("porog1")->isEnabled());

  next();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  EXPECT_TRUE(focused("txtDT"));
  type("txtDT", "10");
  control<QRadioButton>("por1")->click();
  EXPECT_TRUE(control("porog1")->isEnabled());
  EXPECT_FALSE(control("porog2")->isEnabled());
  EXPECT_TRUE(focused("porog1"));
  type("porog1", "2");
  next();
  EXPECT_EQ(lastMessage(), "S300.");  // no point may be refused yet
  EXPECT_TRUE(control<QRadioButton>("por0")->isChecked());
  EXPECT_FALSE(control("porog1")->isEnabled());
  EXPECT_EQ(edit("porog1")->text(), "");

  // The start and end point are never refused; point 2 may be.
  for (const int row : {0, 1}) {
    goTo("Table1a", row, t1a::kRefusal);
    press("Table1a", Qt::Key_Space);
  }
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

  // Solved later: the task is only saved.
  control<QRadioButton>("Order2")->click();
  next();
  ASSERT_EQ(wizard(), nullptr) << lastMessage();
  EXPECT_EQ(optimiserFor, "");
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_TWO001_in.dat"));
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records.at(0).status, InputEntered);

  // The correction opens on the saved task; the user may pick its database again.
  chosenTask = "TWO001";
  ASSERT_NE(open(MenuItem::mnuInEditTask), nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_FALSE(edit("txtShifr")->isEnabled());
  EXPECT_TRUE(control<QComboBox>("list_DBRN")->currentText().startsWith("[002sys2]"));
  EXPECT_EQ(wizard()->state().dbChangedByUser, 0);
  emit control<QComboBox>("list_DBRN")->activated(control<QComboBox>("list_DBRN")->currentIndex());
  EXPECT_EQ(wizard()->state().dbChangedByUser, 1);
  for (int page = 1; page < 4; page = step()) {
    next();
    ASSERT_GT(step(), page) << lastMessage();
  }
  const TaskWizardState& c = wizard()->state();
  EXPECT_EQ(c.table1a.cell(1, t1a::kRefusal), "  *");
  EXPECT_EQ(c.table1a.cell(1, t1a::kHigh), "90");
  typeAndLeaveOpen("Table1a", 1, t1a::kHigh, "95");
  back();
  next();
  ASSERT_EQ(step(), 4) << lastMessage();
  EXPECT_EQ(c.table1a.cell(1, t1a::kHigh), "95");
}

// A task on a client addition: its points stand at houses and have neither sections nor
// transitions. Step 5 counts the states and goes straight to the summary; the task file is its
// header and points, the solver input the same with the shell's name after them.
TEST_F(TaskWizardFlow, AClientAdditionTaskGoesFromItsAddressesToTheSummaryAndIsSavedAsPoints) {
  const DbrnFile system = demoCity("002sys2_dbrn_eng.dat");
  const DbrnFile client = clientAdditionOf(system);
  dir.write("Dbrn/002cli2_dbrn_eng.dat", writeDbrn(client));
  // Houses of the system database, which keeps their order.
  const Address points[] = {singleLinkHouse(system, 0), singleLinkHouse(system, 40),
                            singleLinkHouse(system, 80)};
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "CLI001");
  type("txtName", "Client round");
  choose("list_DBRN", "[002cli2]");
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  type("TS_num", "3");
  type("fine1", "2");
  type("Velo", "12,5");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  for (int r = 0; r < 3; ++r) enterAddress(r, points[r], 3);
  messages->clear();
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_EQ(wizard()->state().table12.rows() * 10 + wizard()->state().ambiguousCount, 0);
  EXPECT_EQ(label("velo_6"), "12,5");
  EXPECT_EQ(label("nstate2"), "9");  // 1 + 3 + 2 x 2 + 1
  control<QRadioButton>("Order2")->click();
  next();
  ASSERT_EQ(wizard(), nullptr) << lastMessage();

  // Header and points, nothing after them; the solver input adds the shell's name.
  const std::string task = dir.read("Data/qj_CLI001.dat");
  const std::string input = dir.read("Data/qj_CLI001_in.dat");
  const size_t n = 3, points0 = kTaskHeaderSize;
  ASSERT_EQ(task.size(), kTaskHeaderSize + n * kTaskPointSize);
  ASSERT_EQ(input.size(), task.size() + kShellNameTrailerSize);
  EXPECT_EQ(input.substr(0, task.size()), task);
  EXPECT_EQ(test::strAt(input, task.size()), "Shell (QJ 1.6).eng");
  const int32_t m = client.header.sectionCount;
  ASSERT_GT(m, 0);
  EXPECT_EQ(test::strAt(task, 82) + test::strAt(task, 87), "cli2002");
  EXPECT_EQ(test::i32At(task, 204), m);  // the system database's sections
  EXPECT_EQ(test::i32At(task, 208), 3);
  EXPECT_EQ(test::f64At(task, 264), 12.5);
  EXPECT_EQ(test::i32At(task, 316), 9);
  for (size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    const size_t at = points0 + i * kTaskPointSize;
    const Address& a = points[i];
    EXPECT_EQ(
        test::strAt(task, at) + "|" + test::strAt(task, at + 5) + "|" + test::strAt(task, at + 36),
        a.type + "|" + a.street + "|" + a.house);
    int32_t house = -1;
    for (size_t h = 0; h < client.houses.size() && house < 0; ++h)
      if (client.houses[h].houseNo == a.house &&
          client.streets.at(client.houses[h].streetIndex).name == a.street)
        house = static_cast<int32_t>(h);
    // No transitions to or from the point; its vertex after the sections; no section.
    EXPECT_EQ(test::i32At(task, at + 104), 0);
    EXPECT_EQ(test::i32At(task, at + 108), 0);
    EXPECT_EQ(test::i32At(task, at + 112), m + static_cast<int32_t>(i));
    EXPECT_EQ(test::i32At(task, at + 116), -1);
    EXPECT_EQ(test::i32At(task, at + 120), -1);
    EXPECT_EQ(test::i32At(task, at + 124), house);
  }
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records.at(0).code, "CLI001");
}

}  // namespace
}  // namespace qj::ui
