// The key commands of the wizards' grids find what the user typed into a cell whose editor is
// still open: one test per command, over the grids of the database wizard and the task wizard.

#include <gtest/gtest.h>

#include <QTest>

#include "dbrn/dbrn_io.h"
#include "dbrn/ui/dbrn_wizard_window.h"
#include "platform/files.h"
#include "task/points_step.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

struct Command {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  GridKey gridKey;
};

const Command kCommands[] = {
    {"InsertRow", Qt::Key_Insert, Qt::ControlModifier, GridKey::InsertRow},
    {"DeleteRow", Qt::Key_Delete, Qt::ControlModifier, GridKey::DeleteRow},
    {"PrevType", Qt::Key_A, Qt::ControlModifier, GridKey::PrevType},
    {"NextType", Qt::Key_S, Qt::ControlModifier, GridKey::NextType},
    {"PrevName", Qt::Key_Q, Qt::ControlModifier, GridKey::PrevName},
    {"NextName", Qt::Key_W, Qt::ControlModifier, GridKey::NextName},
    {"SpaceBar", Qt::Key_Space, Qt::NoModifier, GridKey::Space},
};

std::string commandName(const ::testing::TestParamInfo<Command>& info) {
  return info.param.name;
}

// Types into a cell in place of what it held and leaves the editor open.
void typeWithoutEnter(GridView* view, int row, int tableColumn, const QString& text) {
  test::goToCell(view, row, tableColumn);
  if (!view->indexWidget(view->currentIndex())) view->edit(view->currentIndex());
  auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->currentIndex()));
  ASSERT_NE(editor, nullptr) << view->objectName().toStdString();
  editor->selectAll();
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClicks(editor, text);
}

// ---- The database wizard --------------------------------------------------------------------

class DbrnGridCommands : public DbrnWizardWindow, public ::testing::WithParamInterface<Command> {
 protected:
  const Command& command() const { return GetParam(); }
  bool is(GridKey k) const { return command().gridKey == k; }
  DbrnWizardState& state() const { return wizard()->state(); }

  // Types `text` into the cell, runs the command and hands back what the cell holds then.
  std::string typeAndCommand(const char* gridName, const GridTable& table, int row, int col,
                             const char* text) {
    typeWithoutEnter(grid(gridName), row, col, text);
    press(gridName, command().key, command().modifiers);
    return table.cell(row, col);
  }
  // Removes the row that Ctrl+Ins put below `row`.
  void dropInsertedRow(const char* gridName, const GridTable& table, int rowsBefore, int row,
                       int col) {
    if (table.rows() > rowsBefore)
      pressAt(gridName, row + 1, col, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(table.rows(), rowsBefore) << gridName;
  }
};

TEST_P(DbrnGridCommands, FindTheTextOfTheOpenEditor) {
  // A user's level-2 database corrected: every page has rows.
  DbrnFile db = *readDbrnFile(dir / "Dbrn/002sys2_dbrn_eng.dat").db;
  db.header.dbCode = "321";
  db.header.dbKind = "use2";
  writeFileAtomic(dir / "Dbrn/321use2_dbrn_eng.dat", writeDbrn(db));
  start();
  open(MenuItem::N12);
  chooseInChooser("321use2");
  next();
  ASSERT_EQ(step(), 2) << lastMessage();

  // Street types: a row of its own after the types that have streets.
  const int types = state().table0.rows();
  pressAt("Table0", types - 1, typeCol::kFullName, Qt::Key_Insert, Qt::ControlModifier);
  ASSERT_EQ(state().table0.rows(), types + 1);
  const std::string typed =
      typeAndCommand("Table0", state().table0, types, typeCol::kFullName, "park");
  if (!is(GridKey::DeleteRow)) {
    EXPECT_EQ(typed, "park");  // else the row is gone
  }
  for (int guard = 0; state().table0.rows() > types && guard < 2; ++guard)
    pressAt("Table0", types, typeCol::kFullName, Qt::Key_Delete, Qt::ControlModifier);
  messages->clear();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();

  // Streets: the type keys store the rows shown before they show another type's streets.
  const GridTable& streets = state().table_0;
  const int streetRows = streets.rows();
  const std::string name = streets.cell(0, streetCol::kName);
  const int street = std::stoi(streets.cell(0, streetCol::kIndex));
  const int type = control<QComboBox>("List_0")->currentIndex();
  typeAndCommand("Table_0", streets, 0, streetCol::kName, "zzz");
  if (is(GridKey::PrevType) || is(GridKey::NextType)) {
    EXPECT_EQ(state().db.streets.at(street).name, "zzz");
    if (control<QComboBox>("List_0")->currentIndex() != type)
      press("Table_0", is(GridKey::PrevType) ? Qt::Key_S : Qt::Key_A, Qt::ControlModifier);
  } else {
    EXPECT_EQ(streets.cell(0, streetCol::kName), "zzz");  // a referenced street stays
  }
  dropInsertedRow("Table_0", streets, streetRows, 0, streetCol::kName);
  typeInCell("Table_0", 0, streetCol::kName, toQt(name));
  messages->clear();
  next();
  ASSERT_EQ(step(), 4) << lastMessage();

  // Sections: Ctrl+Del would take the row with its text.
  const GridTable& sections = state().table1;
  const int sectionRows = sections.rows();
  const std::string length = sections.cell(0, sectionCol::kLength);
  if (!is(GridKey::DeleteRow)) {
    EXPECT_EQ(typeAndCommand("Table1", sections, 0, sectionCol::kLength, "77"), "77");
    dropInsertedRow("Table1", sections, sectionRows, 0, sectionCol::kLength);
    typeInCell("Table1", 0, sectionCol::kLength, toQt(length));
  }
  next();
  ASSERT_EQ(step(), 5) << lastMessage();

  // Turns and houses have no row commands.
  EXPECT_EQ(typeAndCommand("Table2", state().table2, 0, turnCol::node(9), "7"), "7");
  typeInCell("Table2", 0, turnCol::node(9), "");
  next();
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  EXPECT_EQ(typeAndCommand("Table4", state().table4, 0, houseCol::kHouseNo, "999"), "999");
}

INSTANTIATE_TEST_SUITE_P(Commands, DbrnGridCommands, ::testing::ValuesIn(kCommands), commandName);

// ---- The task wizard ------------------------------------------------------------------------

class TaskGridCommands : public TaskWizardWindow, public ::testing::WithParamInterface<Command> {};

TEST_P(TaskGridCommands, FindTheTextOfTheOpenEditor) {
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  fillPageOne();
  next();
  type("TS_num", "3");
  type("fine1", "1");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  typeWithoutEnter(grid("Table1"), 1, t1::kService, "5");
  press("Table1", GetParam().key, GetParam().modifiers);
  EXPECT_EQ(wizard()->state().table1.cell(1, t1::kService), "5");
}

INSTANTIATE_TEST_SUITE_P(Commands, TaskGridCommands, ::testing::ValuesIn(kCommands), commandName);

}  // namespace
}  // namespace qj::ui
