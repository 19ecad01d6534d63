// Databases created, corrected, viewed and deleted through the wizard's and the chooser's
// widgets, from the main menu, as a user does it.

#include <gtest/gtest.h>

#include <QTest>

#include "dbrn/dbrn_io.h"
#include "dbrn/ui/dbrn_wizard_window.h"
#include "frame/catalogue.h"
#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {
namespace {

namespace sc = sectionCol;

class CreateDbrnWin : public DbrnWizardWindow {
 protected:
  // Page 1 of a new database.
  void fillIdentity(const char* code, const char* name, bool level2) {
    type("txtKod", code);
    type("txtName", name);
    control<QRadioButton>(level2 ? "RBT2" : "RBT1")->click();
  }
  // Page 2: two street types typed row by row, the second in a row made with Ctrl+Ins.
  void typeStreetTypes() {
    typeInCell("Table0", 0, typeCol::kFullName, "street");
    typeInCell("Table0", 0, typeCol::kShortName, "st.");
    press("Table0", Qt::Key_Insert, Qt::ControlModifier);
    typeInCell("Table0", 1, typeCol::kFullName, "unnamed");
    typeInCell("Table0", 1, typeCol::kShortName, "none");
  }
  // Page 3: the streets of the type "street", the type entered with the SpaceBar.
  void typeStreets(bool level2) {
    pressAt("Table_0", 0, streetCol::kType, Qt::Key_Space);
    typeInCell("Table_0", 0, streetCol::kName, "Oak");
    if (level2) typeInCell("Table_0", 0, streetCol::kHouses, "2");
    press("Table_0", Qt::Key_Insert, Qt::ControlModifier);
    typeInCell("Table_0", 1, streetCol::kName, "Elm");
    if (level2) typeInCell("Table_0", 1, streetCol::kHouses, "1");
  }
  // A section row: its street picked in the lists and entered with the SpaceBar, the rest typed.
  void typeSection(int row, const QString& street, const char* from, const char* to,
                   const char* start, const char* end) {
    goTo("Table1", row, sc::kType);
    pick("List_1", "street");
    pick("List_2", street);
    press("Table1", Qt::Key_Space);
    typeInCell("Table1", row, sc::kFrom, from);
    typeInCell("Table1", row, sc::kTo, to);
    typeInCell("Table1", row, sc::kStart, start);
    typeInCell("Table1", row, sc::kEnd, end);
    typeInCell("Table1", row, sc::kLength, "120");
  }
  // The catalogue lists the database, and the task wizard's step 1 takes it.
  void expectTaskWizardTakes(const std::string& key, size_t sections) {
    main->state().formMode = 1;
    const CatalogueScan scan = DBRNClick(main->state());
    ASSERT_FALSE(scan.failure);
    EXPECT_TRUE(std::any_of(scan.catalog.begin(), scan.catalog.end(),
                            [&key](const DbrnCatalogEntry& e) { return e.key == key; }));
    open(MenuItem::mnuInNewTask);
    auto* task = topLevel<TfrmCreateTaskWin>();
    ASSERT_NE(task, nullptr);
    task->control<QLineEdit>("txtShifr")->setText("TOWN01");
    task->control<QLineEdit>("txtName")->setText("Rounds");
    auto* list = task->control<QComboBox>("list_DBRN");
    const int item = list->findText(QString::fromStdString("[" + key + "]"), Qt::MatchStartsWith);
    ASSERT_GT(item, 0);
    list->setCurrentIndex(item);
    emit list->activated(item);
    task->nextButton()->click();
    settle();
    EXPECT_EQ(task->state().wizardStep, 2) << lastMessage();
    EXPECT_EQ(task->state().db.sections.size(), sections);
    task->close();
    settle();
  }
  DbrnFile saved(const std::string& file) const {
    const DbrnRead read = readDbrnFile(dir / ("Dbrn/" + file));
    EXPECT_TRUE(read.db) << file << ": " << read.error.text;
    return read.db ? *read.db : DbrnFile{};
  }
};

TEST_F(CreateDbrnWin, ALevelOneDatabaseFromTheMenuIsListedAndTakesATask) {
  start();
  open(MenuItem::N10);
  ASSERT_NE(wizard(), nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_EQ(wizard()->windowTitle().toStdString(), "S640 (S744 1 S200 6)");
  fillIdentity("555", "Test town", false);
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  EXPECT_EQ(control<QLineEdit>("skor")->text().toStdString(), "35,0");
  typeStreetTypes();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  EXPECT_EQ(control<QComboBox>("List_0")->currentText().toStdString(), "street (st.)");
  typeStreets(false);
  next();
  ASSERT_EQ(step(), 4) << lastMessage();

  typeSection(0, "Oak", "1", "9", "1", "2");
  press("Table1", Qt::Key_Insert, Qt::ControlModifier);
  typeSection(1, "Oak", "2", "10", "2", "1");
  press("Table1", Qt::Key_Insert, Qt::ControlModifier);
  typeSection(2, "Elm", "1", "5", "2", "3");
  // A section that belongs to no street: its type from the list, the mark with the SpaceBar.
  press("Table1", Qt::Key_Insert, Qt::ControlModifier);
  goTo("Table1", 3, sc::kType);
  pick("List_1", "unnamed");
  press("Table1", Qt::Key_Space);
  pressAt("Table1", 3, sc::kNonStd, Qt::Key_Space);
  typeInCell("Table1", 3, sc::kStart, "3");
  typeInCell("Table1", 3, sc::kEnd, "4");
  typeInCell("Table1", 3, sc::kLength, "40");
  const DbrnWizardState& s = wizard()->state();
  EXPECT_EQ(cell(s.table1, 3, sc::kSpeed), "35");
  EXPECT_EQ(cell(s.table1, 3, sc::kName), " ");
  next();
  ASSERT_EQ(step(), 5) << lastMessage();

  // From the end of section 1 on to node 3 (section 3) and back to node 1 (section 2).
  typeInCell("Table2", 0, turnCol::node(0), "3");
  pressAt("Table2", 0, turnCol::direction(0), Qt::Key_Space);
  typeInCell("Table2", 0, turnCol::node(1), "1");
  pressAt("Table2", 0, turnCol::direction(1), Qt::Key_Space);
  EXPECT_EQ(cell(s.table2, 0, turnCol::direction(0)), "^");
  EXPECT_EQ(cell(s.table2, 0, turnCol::direction(1)), "v");
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  EXPECT_EQ(cell(s.table3, 0, accessCol::kReverse), "2");
  pressAt("Table3", 2, accessCol::kPrevClosed, Qt::Key_Space);
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle().toStdString(), "S640");
  EXPECT_EQ(wizard()->nextButton()->text().toStdString(), "S129");
  // Oak, Elm and the street that the sections without a street belong to.
  EXPECT_EQ(control<QLabel>("nstr_5")->text().toStdString(), "3");
  EXPECT_FALSE(control<QLabel>("nHs_5")->isVisibleTo(wizard()));
  next();
  EXPECT_EQ(wizard(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();

  const DbrnFile db = saved("555use1_dbrn_eng.dat");
  EXPECT_EQ(db.header.dbName, "Test town");
  EXPECT_EQ(db.sections.size(), 4u);
  EXPECT_EQ(db.sections[2].prevObjectsClosed, "*");
  EXPECT_EQ(db.sections[0].turns.size(), 2u);
  EXPECT_EQ(db.streets.size(), 3u);

  expectTaskWizardTakes("555use1", 4);
}

TEST_F(CreateDbrnWin, ALevelTwoDatabaseWithItsHouses) {
  start();
  open(MenuItem::N10);
  fillIdentity("556", "Houses", true);
  next();
  typeStreetTypes();
  next();
  typeStreets(true);
  next();
  ASSERT_EQ(step(), 4) << lastMessage();
  // The non-standard numbering column is not there at level 2.
  EXPECT_EQ(grid("Table1")->gridModel()->viewColumn(sc::kNonStd), -1);
  typeSection(0, "Oak", "1", "9", "1", "2");
  press("Table1", Qt::Key_Insert, Qt::ControlModifier);
  typeSection(1, "Elm", "2", "10", "2", "1");
  next();
  ASSERT_EQ(step(), 5) << lastMessage();
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  EXPECT_EQ(wizard()->windowTitle().toStdString(), "S640 (S744 6a S200 6)");
  const DbrnWizardState& s = wizard()->state();
  ASSERT_EQ(s.table4.rows(), 3);  // Elm 1, Oak 2
  EXPECT_EQ(cell(s.table4, 0, houseCol::kName), "Elm");
  // Each house: its number, its section from the list with the SpaceBar, two distances.
  const char* numbers[] = {"2", "1", "3"};
  for (int r = 0; r < 3; ++r) {
    typeInCell("Table4", r, houseCol::kHouseNo, numbers[r]);
    goTo("Table4", r, houseCol::section(0));
    pick("List_42", r == 0 ? "Elm" : "Oak");
    press("Table4", Qt::Key_Space);
    if (r == 0) {
      EXPECT_EQ(control<QLabel>("Label_4b")->text().toStdString(), "S546: st. Elm, 2-10");
    }
    typeInCell("Table4", r, houseCol::toExit(0), "0");
    typeInCell("Table4", r, houseCol::exitToEnd(0), "30");
  }
  EXPECT_EQ(cell(s.table4, 0, houseCol::section(0)), "2");
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  EXPECT_EQ(control<QLabel>("nHs_5")->text().toStdString(), "3");
  // Back from the summary lands on the houses, forward again keeps them.
  back();
  EXPECT_EQ(step(), 7);
  EXPECT_EQ(wizard()->nextButton()->text().toStdString(), "S80");
  next();
  next();
  EXPECT_EQ(wizard(), nullptr);
  const DbrnFile db = saved("556use2_dbrn_eng.dat");
  ASSERT_EQ(db.houses.size(), 3u);
  EXPECT_EQ(db.houses[2].houseNo, "3");
  EXPECT_EQ(db.houses[2].links[0].sectionNo, 1);
  expectTaskWizardTakes("556use2", 2);
}

TEST_F(CreateDbrnWin, RefusalsShowTheirBoxAndFocusTheirRow) {
  start();
  open(MenuItem::N10);
  type("txtKod", "5a");
  EXPECT_EQ(control<QLineEdit>("txtKod")->text().toStdString(), "5");
  next();
  EXPECT_EQ(lastMessage(), "S297.");
  EXPECT_EQ(step(), 1);
  fillIdentity("557", "X", false);
  next();
  typeInCell("Table0", 0, typeCol::kFullName, "treetS1");  // capitals and digits are not typed
  EXPECT_EQ(cell(wizard()->state().table0, 0, typeCol::kFullName), "treet");
  press("Table0", Qt::Key_Insert, Qt::ControlModifier);
  typeInCell("Table0", 1, typeCol::kFullName, "treet");
  typeInCell("Table0", 0, typeCol::kShortName, "a");
  typeInCell("Table0", 1, typeCol::kShortName, "b");
  next();
  EXPECT_EQ(lastMessage(), "S149 1 S1 2 S189. S203.");
  EXPECT_EQ(grid("Table0")->currentRow(), 1);
  // Back from the street types to page 1, and forward: the typed rows are still there.
  back();
  EXPECT_EQ(step(), 1);
  next();
  EXPECT_EQ(wizard()->state().table0.rows(), 2);
  EXPECT_EQ(cell(wizard()->state().table0, 1, typeCol::kShortName), "b");
}

TEST_F(CreateDbrnWin, ALockedStreetTypeSaysWhyItCannotBeTyped) {
  start();
  open(MenuItem::N10);
  fillIdentity("558", "X", false);
  next();
  typeInCell("Table0", 0, typeCol::kFullName, "street");
  typeInCell("Table0", 0, typeCol::kShortName, "st.");
  next();
  typeStreets(false);
  back();
  ASSERT_EQ(step(), 2);
  goTo("Table0", 0, typeCol::kFullName);
  QTest::keyClick(grid("Table0"), Qt::Key_X);
  EXPECT_EQ(lastMessage(), "S639.");
  messages->clear();
  press("Table0", Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_TRUE(messages->shown.empty());  // the only row is never deleted
  press("Table0", Qt::Key_Delete);
  EXPECT_EQ(lastMessage(), "S638.");
}

}  // namespace
}  // namespace qj::ui
