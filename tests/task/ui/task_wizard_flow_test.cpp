// Tasks entered on the demo city from the first step to the saved files, through the
// wizard's widgets as a user enters them: the refusal of every page on the way, what is typed
// surviving Back and Next, and the road on to the optimiser.

#include <gtest/gtest.h>

#include <QTest>

#include "dbrn/dbrn_io.h"
#include "records/protocol_file.h"
#include "records/text.h"
#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

// A place of the demo city for a target point.
struct Address {
  std::string type, street, house;
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
      if (n-- == 0) return {db.streets[s.streetIndex].streetType, street, trimmed(s.houseFrom)};
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
        return {db.streets.at(h.streetIndex).streetType, db.streets[h.streetIndex].name, h.houseNo};
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
      houses->setCurrentIndex(house);  // as the user chooses it
      emit houses->activated(house);
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

  // Page 3 refuses a point without an address, naming its row.
  next();
  EXPECT_EQ(lastMessage(), "S458 1.");
  EXPECT_TRUE(focused("Table1"));
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
  EXPECT_TRUE(focused("Table3"));
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

}  // namespace
}  // namespace qj::ui
