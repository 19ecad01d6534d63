// The key commands of the wizards' grids find what the user typed into a cell whose editor is
// still open: one test per command, over grids of the database wizard and the task wizard (the
// grid view's own test covers every key on a bare grid).

#include <gtest/gtest.h>

#include <QTest>

#include "dbrn/dbrn_io.h"
#include "dbrn/ui/dbrn_wizard_window.h"
#include "platform/files.h"
#include "task/points_step.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

using Command = std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers, GridKey>;

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
  return std::get<0>(info.param);
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
  bool is(GridKey k) const { return std::get<3>(command()) == k; }
  DbrnWizardState& state() const { return wizard()->state(); }

  // Types `text` into the cell, runs the command and hands back what the cell holds then.
  std::string typeAndCommand(const char* gridName, const GridTable& table, int row, int col,
                             const char* text) {
    typeWithoutEnter(grid(gridName), row, col, text);
    press(gridName, std::get<1>(command()), std::get<2>(command()));
    return table.cell(row, col);
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

  next();
  ASSERT_EQ(step(), 3) << lastMessage();

  // Streets: the type keys store the rows shown before they show another type's streets.
  const GridTable& streets = state().table_0;
  const int street = std::stoi(streets.cell(0, streetCol::kIndex));
  typeAndCommand("Table_0", streets, 0, streetCol::kName, "zzz");
  if (is(GridKey::PrevType) || is(GridKey::NextType)) {
    EXPECT_EQ(state().db.streets.at(street).name, "zzz");
  } else {
    EXPECT_EQ(streets.cell(0, streetCol::kName), "zzz");  // a referenced street stays
  }
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
  press("Table1", std::get<1>(GetParam()), std::get<2>(GetParam()));
  EXPECT_EQ(wizard()->state().table1.cell(1, t1::kService), "5");
}

INSTANTIATE_TEST_SUITE_P(Commands, TaskGridCommands, ::testing::ValuesIn(kCommands), commandName);

}  // namespace
}  // namespace qj::ui
