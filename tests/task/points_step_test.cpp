#include "task/points_step.h"

#include <gtest/gtest.h>

#include "task/wizard_fixture.h"

namespace qj {
namespace {

using test::wizardOn;
using test::wizardShell;

std::string textOf(const StepCheck& c, const ShellTables& shell) {
  return c.message ? c.message->text.resolve(shell) : std::string();
}

// Enters an address and the numbers of one row as a user would leave them.
void setRow(TaskWizardState& s, int r, std::string type, std::string street, std::string house,
            std::string service = "5", std::string penalty = "0", std::string order = "") {
  GridTable& t = s.table1;
  t.set(r, t1::kType, std::move(type));
  t.set(r, t1::kStreet, std::move(street));
  t.set(r, t1::kHouse, std::move(house));
  t.set(r, t1::kService, std::move(service));
  t.set(r, t1::kPenalty, std::move(penalty));
  t.set(r, t1::kOrder, std::move(order));
}

struct Step3 : ::testing::Test {
  ShellTables shell = wizardShell();
  TaskWizardState s = wizardOn(1, 3);
  AddressPickers& pickers = s.pickers;

  void SetUp() override { prepare(); }
  void prepare() {
    pickers.fill(s, shell);
    fillTable1(s, shell);
  }
  Step3Outcome next() { return checkStep3(s, shell); }
  std::string refusal() {
    const Step3Outcome out = next();
    EXPECT_EQ(out.next, WizardNext::Stay);
    return textOf(out.check, shell);
  }
};

// ---- Pickers --------------------------------------------------------------------------------

TEST_F(Step3, PickersOfferReferencedTypesAndStreetsStartingAtTheDefaultType) {
  // "lane" has no referenced street, "square" no streets, "none" is the no-street type.
  ASSERT_EQ(pickers.typeItems(), (std::vector<std::string>{"street (ul)", "avenue (pr)"}));
  EXPECT_EQ(pickers.typeListMap(), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(pickers.typeRow(), 0);
  EXPECT_EQ(pickers.streetItems(), (std::vector<std::string>{"Lenina", "Mira", "Lenina1"}));
  EXPECT_EQ(pickers.streetRow(), 0);
  EXPECT_TRUE(pickers.houseItems().empty());  // level 1 has no houses

  pickers.stepType(s, -1);  // not past the first row
  EXPECT_EQ(pickers.typeRow(), 0);
  pickers.stepStreet(s, 1);
  pickers.stepStreet(s, 1);
  pickers.stepStreet(s, 1);
  EXPECT_EQ(pickers.streetRow(), 2);
  pickers.stepType(s, 1);
  pickers.stepType(s, 1);
  EXPECT_EQ(pickers.typeRow(), 1);
  EXPECT_EQ(pickers.streetItems(), (std::vector<std::string>{"Nevsky"}));
  EXPECT_EQ(pickers.streetRow(), 0);

  // Without the default type the first row is chosen.
  shell.shellTexts[697] = "avenue";
  pickers.fill(s, shell);
  EXPECT_EQ(pickers.typeRow(), 1);
  shell.shellTexts[697] = "boulevard";
  pickers.fill(s, shell);
  EXPECT_EQ(pickers.typeRow(), 0);
}

TEST(Step3Houses, HouseListIsSortedByCharacterCodes) {
  const DbrnFile db = test::smallCity(2);
  std::vector<std::string> numbers;
  for (const HousePick& h : sortedHouses(db, 0)) numbers.push_back(h.houseNo);
  EXPECT_EQ(numbers, (std::vector<std::string>{"1", "10", "2", "2\xE0", "3"}));
  EXPECT_EQ(sortedHouses(db, 0)[0].houseIndex, 3);
  EXPECT_TRUE(sortedHouses(db, 3).empty());
  EXPECT_TRUE(sortedHouses(db, -1).empty());
}

TEST(Step3Houses, PickersFollowTheClickedRow) {
  const ShellTables shell = wizardShell();
  TaskWizardState s = wizardOn(2, 2);
  AddressPickers pickers;
  pickers.fill(s, shell);
  ASSERT_EQ(pickers.houseItems().size(), 5u);
  EXPECT_EQ(pickers.houseRow(), 0);
  fillTable1(s, shell);
  setRow(s, 1, "ul", "Mira", "7");
  pickers.followCell(s, 1, t1::kHouse);
  EXPECT_EQ(pickers.typeRow(), 0);
  EXPECT_EQ(pickers.streetRow(), 1);
  ASSERT_EQ(pickers.houseItems().size(), 1u);
  EXPECT_EQ(pickers.houseRow(), 0);

  setRow(s, 1, "ul", "Lenina", "99");
  pickers.followCell(s, 1, t1::kType);
  EXPECT_EQ(pickers.streetRow(), 0);
  EXPECT_EQ(pickers.houseRow(), -1);  // no such house

  setRow(s, 1, "xx", "Lenina", "1");
  pickers.followCell(s, 1, t1::kStreet);
  EXPECT_EQ(pickers.typeRow(), -1);
  EXPECT_EQ(pickers.streetRow(), -1);
  EXPECT_EQ(pickers.houseRow(), -1);
  EXPECT_FALSE(pickers.streetItems().empty());  // the items stay

  pickers.followCell(s, 1, t1::kPenalty);  // other columns leave the pickers alone
  EXPECT_EQ(pickers.typeRow(), -1);
}

// ---- Filling the grid ---------------------------------------------------------------------

TEST_F(Step3, GridIsFilledFromRecordsOrDefaults) {
  s.header.cargoMode = 1;
  s.header.orderMode = 3;
  s.header.endPoint = 3;
  s.points.resize(2);
  s.points[0] = {"ul", "Lenina", "12", 1.5, 2.25, 3};
  s.points[1] = {"ul", "Lenina", "14", 4, 5, 6};
  s.points[1].orderValue = 2;
  fillTable1(s, shell);
  const GridTable& t = s.table1;
  EXPECT_EQ(t.cell(0, t1::kPoint), "1 (start)");
  EXPECT_EQ(t.cell(2, t1::kPoint), "3 (end)");
  // The start row carries no cargo of its own.
  EXPECT_EQ(t.cell(0, t1::kService), "-");
  EXPECT_EQ(t.cell(0, t1::kUnload), "-");
  EXPECT_EQ(t.cell(0, t1::kOrder), "-");
  EXPECT_EQ(t.cell(1, t1::kStreet), "  Lenina");  // same street as the row above
  EXPECT_EQ(t.cell(1, t1::kService), "4");
  EXPECT_EQ(t.cell(1, t1::kUnload), "5");
  EXPECT_EQ(t.cell(1, t1::kPenalty), "6");
  EXPECT_EQ(t.cell(1, t1::kOrder), "2");
  // A row without a record.
  EXPECT_EQ(t.cell(2, t1::kType), "");
  EXPECT_EQ(t.cell(2, t1::kService), "0");
  EXPECT_EQ(t.cell(2, t1::kUnload), "0");
  EXPECT_EQ(t.cell(2, t1::kPenalty), "0");
  EXPECT_EQ(t.cell(2, t1::kOrder), "-");

  s.header.cargoMode = 0;
  s.header.orderMode = 1;
  s.points[0].orderValue = -1;
  fillTable1(s, shell);
  EXPECT_EQ(t.cell(0, t1::kService), "1,5");
  EXPECT_EQ(t.cell(0, t1::kUnload), "");
  EXPECT_EQ(t.cell(0, t1::kOrder), "");
  EXPECT_EQ(t.cell(2, t1::kUnload), "");
}

TEST(Step3Fill, LevelTwoRowsFindTheirHouseRecords) {
  const ShellTables shell = wizardShell();
  TaskWizardState s = wizardOn(2, 3);
  s.points.resize(3);
  s.points[0] = {"ul", "Lenina", "2\xE0"};
  s.points[1] = {"ul", "Mira", "7"};
  s.points[2] = {"ul", "Mira", "8"};
  fillTable1(s, shell);
  EXPECT_EQ(s.table1.cell(0, t1::kHouseIndex), "1");
  EXPECT_EQ(s.table1.cell(1, t1::kHouseIndex), "5");
  EXPECT_EQ(s.table1.cell(2, t1::kHouseIndex), "-1");
}

// ---- Keys -------------------------------------------------------------------------------------

TEST_F(Step3, SpaceEntersThePickedAddressAndWarnsOncePerChangedRow) {
  s.points.resize(2);  // rows 0 and 1 have records, row 2 is new
  pickers.stepStreet(s, 1);
  GridKeyResult r = table1Key(s, GridKey::Space, 1, t1::kStreet);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.firstRow, 1);
  EXPECT_EQ(s.table1.cell(1, t1::kType), "ul");
  EXPECT_EQ(s.table1.cell(1, t1::kStreet), "Mira");
  ASSERT_TRUE(r.warning);
  EXPECT_EQ(r.warning->text.resolve(shell), "S30 2 S25.");
  EXPECT_EQ(s.pointChanged[1], 1);
  EXPECT_EQ(s.warnedRow, 1);
  EXPECT_FALSE(table1Typed(s, 1, t1::kHouse));  // the same row again: no warning

  // A new row only counts as changed.
  EXPECT_FALSE(table1Typed(s, 2, t1::kPenalty));
  EXPECT_EQ(s.pointChanged[2], 1);
  // Other columns of a row with a record change nothing.
  EXPECT_FALSE(table1Typed(s, 0, t1::kPenalty));
  EXPECT_EQ(s.pointChanged[0], 0);
  EXPECT_TRUE(table1Typed(s, 0, t1::kHouse));

  // The SpaceBar elsewhere goes to the editor.
  EXPECT_FALSE(table1Key(s, GridKey::Space, 0, t1::kService).handled);
}

TEST_F(Step3, LevelTwoSpaceEntersTheHouseAndItsRecord) {
  s = wizardOn(2, 2);
  prepare();
  pickers.chooseHouse(1);  // "10", record 2
  ASSERT_TRUE(table1Key(s, GridKey::Space, 0, t1::kHouse).handled);
  EXPECT_EQ(s.table1.cell(0, t1::kHouse), "10");
  EXPECT_EQ(s.table1.cell(0, t1::kHouseIndex), "2");
  EXPECT_EQ(s.pointChanged[0], 0);  // only level 1 tracks changed points
}

TEST_F(Step3, DeleteIsIgnoredOnCellsThatAreNotTyped) {
  s.header.orderMode = 3;
  fillTable1(s, shell);
  EXPECT_TRUE(table1Key(s, GridKey::Delete, 1, t1::kType).handled);
  EXPECT_TRUE(table1Key(s, GridKey::Delete, 1, t1::kStreet).handled);
  EXPECT_TRUE(table1Key(s, GridKey::Delete, 0, t1::kPenalty).handled);  // start row
  EXPECT_TRUE(table1Key(s, GridKey::Delete, 0, t1::kOrder).handled);    // "-"
  EXPECT_FALSE(table1Key(s, GridKey::Delete, 1, t1::kPenalty).handled);
  EXPECT_FALSE(table1Key(s, GridKey::Delete, 1, t1::kHouse).handled);
  EXPECT_TRUE(table1Key(s, GridKey::InsertRow, 1, 1).handled);
  EXPECT_EQ(s.table1.rows(), 3);
}

TEST_F(Step3, TypedTextFollowsTheColumnRules) {
  s.header.orderMode = 3;
  s.header.cargoMode = 1;
  fillTable1(s, shell);
  const Table1Rules rules(s, shell);
  const GridTable& t = s.table1;
  EXPECT_TRUE(rules.accepts(t, 1, t1::kHouse, "12\xE0"));
  EXPECT_TRUE(rules.accepts(t, 1, t1::kHouse, "-"));
  EXPECT_FALSE(rules.accepts(t, 1, t1::kHouse, "-1"));
  EXPECT_FALSE(rules.accepts(t, 1, t1::kHouse, "12345"));
  EXPECT_FALSE(rules.accepts(t, 1, t1::kHouse, "12A"));
  EXPECT_TRUE(rules.accepts(t, 1, t1::kService, "123,45"));
  EXPECT_FALSE(rules.accepts(t, 1, t1::kService, "1234,56"));
  EXPECT_FALSE(rules.accepts(t, 1, t1::kService, "1.5"));
  EXPECT_FALSE(rules.typable(t, 0, t1::kService));  // the start row's cargo cells
  EXPECT_FALSE(rules.typable(t, 0, t1::kUnload));
  EXPECT_TRUE(rules.typable(t, 0, t1::kPenalty));
  EXPECT_FALSE(rules.typable(t, 0, t1::kOrder));
  EXPECT_TRUE(rules.accepts(t, 1, t1::kOrder, "12"));
  EXPECT_FALSE(rules.accepts(t, 1, t1::kOrder, "123"));
  EXPECT_FALSE(rules.typable(t, 1, t1::kType));
  EXPECT_FALSE(rules.typable(t, 1, t1::kStreet));

  s.header.orderMode = 0;
  s.header.cargoMode = 0;
  EXPECT_FALSE(rules.typable(t, 1, t1::kOrder));
  EXPECT_FALSE(rules.typable(t, 1, t1::kUnload));
  s.dbLevel = 2;
  EXPECT_FALSE(rules.typable(t, 1, t1::kHouse));
}

// ---- Row checks -------------------------------------------------------------------------------

TEST_F(Step3, RowChecksRefuseInTheirOrderAndNameTheRow) {
  setRow(s, 0, "ul", "Lenina", "12");
  setRow(s, 1, "ul", "Lenina", "13");
  setRow(s, 2, "", "", "");
  const Step3Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S458 3.");
  EXPECT_EQ(out.check.focus, "Table1");
  EXPECT_EQ(out.check.row, 2);

  s.table1.set(2, t1::kType, "per");
  EXPECT_EQ(refusal(), "S356 3.");  // not offered: no referenced street
  s.table1.set(2, t1::kType, "pr");
  EXPECT_EQ(refusal(), "S454 3.");
  s.table1.set(2, t1::kStreet, "Tihiy");
  EXPECT_EQ(refusal(), "S348 3.");
  s.table1.set(2, t1::kStreet, "  Mira");
  EXPECT_EQ(refusal(), "S359 3.");
  s.table1.set(2, t1::kType, "ul");
  EXPECT_EQ(refusal(), "S455 3. S696 \"-\".");
  for (const char* bad : {"12a", "\xE0", "1\xE0\xE0", "-1", "1-2", "--"}) {
    s.table1.set(2, t1::kHouse, bad);
    EXPECT_EQ(refusal(), "S362 3. S432.") << bad;
  }
  s.table1.set(2, t1::kHouse, "5");
  s.table1.set(2, t1::kService, " ");
  EXPECT_EQ(refusal(), "S453 3.");
  s.table1.set(2, t1::kService, "1,2,3");
  EXPECT_EQ(refusal(), "S346 3.");
  s.table1.set(2, t1::kService, "1,5");
  s.table1.set(2, t1::kPenalty, "");
  EXPECT_EQ(refusal(), "S459 3.");
  s.table1.set(2, t1::kPenalty, ",");
  EXPECT_EQ(refusal(), "S358 3.");
  s.table1.set(2, t1::kPenalty, "0");
  EXPECT_TRUE(next().check.passed());
}

TEST_F(Step3, CargoRowsCheckLoadingAndUnloadingButNotTheStartRow) {
  s.header.cargoMode = 2;
  fillTable1(s, shell);
  setRow(s, 0, "ul", "Lenina", "12", "-");
  setRow(s, 1, "ul", "Lenina", "13", "");
  setRow(s, 2, "ul", "Mira", "-", "1");
  s.table1.set(2, t1::kUnload, "2");
  EXPECT_EQ(refusal(), "S451 2.");
  s.table1.set(1, t1::kService, "x");
  EXPECT_EQ(refusal(), "S343 2.");
  s.table1.set(1, t1::kService, "3");
  s.table1.set(1, t1::kUnload, "");
  EXPECT_EQ(refusal(), "S452 2.");
  s.table1.set(1, t1::kUnload, "4,4,");
  EXPECT_EQ(refusal(), "S344 2.");
  s.table1.set(1, t1::kUnload, "4,5");
  EXPECT_TRUE(next().check.passed());
  EXPECT_EQ(s.points[0].serviceTime, 0);
  EXPECT_EQ(s.points[1].serviceTime, 3);
  EXPECT_EQ(s.points[1].unloadTime, 4.5);
}

TEST_F(Step3, LevelTwoNeedsAHousePickedFromTheDatabase) {
  s = wizardOn(2, 2);
  prepare();
  setRow(s, 0, "ul", "Lenina", "1");
  setRow(s, 1, "ul", "Lenina", "2");
  s.table1.set(0, t1::kHouseIndex, "3");
  for (const char* bad : {"-1", "", "x", "8"}) {
    s.table1.set(1, t1::kHouseIndex, bad);
    EXPECT_EQ(refusal(), "S360 2, S242.") << bad;
  }
  s.table1.set(1, t1::kHouseIndex, "4");
  EXPECT_TRUE(next().check.passed());
}

TEST_F(Step3, IntermediatePointsNeedSomeCostOfWaitingOrDriving) {
  s.header.finePerKm = 0;
  setRow(s, 0, "ul", "Lenina", "12");
  setRow(s, 1, "ul", "Lenina", "14", "5", "0,00999");
  setRow(s, 2, "ul", "Lenina", "16");
  EXPECT_EQ(refusal(), "S631 2 S525 < 0,01.");
  s.table1.set(1, t1::kPenalty, "0,01");
  EXPECT_EQ(refusal(), "S631 3 S525 < 0,01.");
  s.header.finePerHour = 0.01;
  EXPECT_TRUE(next().check.passed());
  // The start and end points need none.
  s.header.finePerHour = 0;
  s.header.endPoint = 3;
  EXPECT_TRUE(next().check.passed());
}

// ---- Order rules ------------------------------------------------------------------------------

struct Step3Order : Step3 {
  TaskWizardState five = wizardOn(1, 5);
  void SetUp() override {
    s = five;
    s.header.orderMode = 1;
    prepare();
    const char* houses[] = {"2", "4", "6", "8", "10"};
    for (int r = 0; r < 5; ++r) setRow(s, r, "ul", "Lenina", houses[r]);
  }
  void order(std::vector<std::string> values) {
    for (int r = 0; r < 5; ++r) s.table1.set(r, t1::kOrder, values[r]);
  }
};

TEST_F(Step3Order, NamedPointsAreChecked) {
  order({"", "0", "", "", ""});
  EXPECT_EQ(refusal(), "S325 2.");
  order({"", "6", "", "", ""});
  EXPECT_EQ(refusal(), "S617 2, S877 (= 5).");
  order({"", "x", "", "", ""});
  EXPECT_EQ(refusal(), "S876 2.");
  order({"", "1", "", "", ""});
  EXPECT_EQ(refusal(), "S316 1 S512 2, S585.");
  order({"", "2", "", "", ""});
  EXPECT_EQ(refusal(), "S321 2, S586.");
  s.header.endPoint = 5;
  order({"", "", "", "", "2"});
  EXPECT_EQ(refusal(), "S315 5.");
  s.header.endPoint = 0;
  order({"", "3", "2", "", ""});
  const Step3Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S316 2 S512 3, S236 3 S757 2.");
  EXPECT_EQ(out.check.row, 2);
}

TEST_F(Step3Order, CyclesOfAnyLengthAreRefusedAtTheirLastRow) {
  order({"", "3", "4", "2", ""});  // 2 -> 3 -> 4 -> 2
  const Step3Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S316 2 S512 4, S236 4 S757 2.");
  EXPECT_EQ(out.check.row, 3);
  s.header.orderMode = 2;
  order({"", "5", "4", "2", "3"});  // 2 -> 5 -> 3 -> 4 -> 2, closed at row 5
  EXPECT_EQ(refusal(), "S316 3 S512 5, S236 5 S757 3.");
  order({"", "5", "4", "5", ""});  // a chain, not a cycle
  EXPECT_TRUE(next().check.passed());
}

TEST_F(Step3Order, OverAllRowsCheckNextPointsAndEmptyColumns) {
  order({"", "5", "5", "", ""});
  Step3Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S316 5 S512 3, S239 2.");
  EXPECT_EQ(out.check.focus, "Table1");
  EXPECT_EQ(out.check.row, 2);
  s.header.orderMode = 2;  // a point may be passed after several others
  EXPECT_TRUE(next().check.passed());
  EXPECT_EQ(s.points[1].orderValue, 5);
  EXPECT_EQ(s.points[0].orderValue, -1);
  order({"", "", "", "", ""});
  out = next();
  EXPECT_EQ(textOf(out.check, shell), "S286.");
  EXPECT_EQ(out.check.row, -1);
}

TEST_F(Step3Order, PriorityClassesMustAllBeGiven) {
  s.header.orderMode = 3;
  s.header.priorityCount = 3;
  s.header.endPoint = 5;
  fillTable1(s, shell);
  const char* houses[] = {"2", "4", "6", "8", "10"};
  for (int r = 0; r < 5; ++r) setRow(s, r, "ul", "Lenina", houses[r]);
  order({"-", "1", "4", "3", "-"});
  EXPECT_EQ(refusal(), "S323 3.");
  order({"-", "1", "x", "3", "-"});
  EXPECT_EQ(refusal(), "S323 3.");
  order({"-", "1", "3", "3", "-"});
  const Step3Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S283 2 S713.");
  order({"-", "1", "2", "", "-"});
  EXPECT_EQ(refusal(), "S283 3 S713.");
  order({"-", "1", "2", "3", "-"});
  ASSERT_TRUE(next().check.passed());
  EXPECT_EQ(s.points[0].orderValue, 0);
  EXPECT_EQ(s.points[4].orderValue, 5);
  EXPECT_EQ(s.points[2].orderValue, 2);
}

// ---- Equal addresses ------------------------------------------------------------------------

TEST_F(Step3, EqualAddressesCompareTheirThreeFields) {
  s = wizardOn(1, 3, 1, 3);
  prepare();
  setRow(s, 0, "ul", "Lenina", "12");
  setRow(s, 1, "ul", "Lenina1", "2");  // the same letters joined, another address
  setRow(s, 2, "ul", "Lenina", "12");  // start and end may share an address
  EXPECT_TRUE(next().check.passed());
  s.table1.set(1, t1::kStreet, "  Lenina");
  s.table1.set(1, t1::kHouse, "12");
  const Step3Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S155 1 S1 2, S240. S201.");
  EXPECT_EQ(out.check.row, 1);
  EXPECT_EQ(out.check.focus, "");  // the grid is scrolled, the focus stays
}

// ---- Records, candidates, next page -----------------------------------------------------------

TEST_F(Step3, RecordsAreWrittenOnlyWhenEveryCheckPasses) {
  s.points.resize(1);
  s.points[0].house = "old";
  setRow(s, 0, "ul", "Lenina", "12");
  setRow(s, 1, "ul", "Lenina", "14", "x");
  setRow(s, 2, "ul", "Lenina", "16");
  EXPECT_FALSE(next().check.passed());
  ASSERT_EQ(s.points.size(), 3u);  // resized, nothing else stored
  EXPECT_EQ(s.points[0].house, "old");

  s.points[1].income = 7;
  s.points[1].windowHigh = 9;
  s.points[1].refusalAllowed = 1;
  s.table1.set(1, t1::kService, "2,5");
  s.table1.set(1, t1::kStreet, "  Lenina");
  ASSERT_TRUE(next().check.passed());
  const TaskPointRec& p = s.points[1];
  EXPECT_EQ(p.streetType, "ul");
  EXPECT_EQ(p.street, "Lenina");
  EXPECT_EQ(p.house, "14");
  EXPECT_EQ(p.serviceTime, 2.5);
  EXPECT_EQ(p.orderValue, 0);
  EXPECT_EQ(p.vertexNo, 9);
  EXPECT_EQ(p.income, 0);  // no option that pays
  EXPECT_EQ(p.windowHigh, 0);
  EXPECT_EQ(p.refusalAllowed, 0);
}

TEST_F(Step3, HouseNumbersPlacePointsOrGiveCandidateSections) {
  s = wizardOn(1, 6);
  prepare();
  setRow(s, 0, "ul", "Lenina", "12\xE0");  // even side
  setRow(s, 1, "ul", "Lenina", "13");      // odd side
  setRow(s, 2, "ul", "Lenina", "30");      // numbered downwards
  setRow(s, 3, "ul", "Lenina", "42");      // on no section: no candidates either
  setRow(s, 4, "ul", "Lenina", "-");       // every section of the street
  setRow(s, 5, "ul", "Mira", "5");         // only the non-standard section
  s.points.resize(6);
  s.points[4].sectionIndex = 1;
  const Step3Outcome out = next();
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::ShowSectionChoicePage);
  EXPECT_EQ(s.ambiguousCount, 4);
  const GridTable& t = s.table12;
  ASSERT_EQ(t.rows(), 4);
  const std::vector<std::vector<std::string>> expected = {
      {"5", "ul Lenina, -", "1", "ul", "Lenina", "2", "20", "", "", "5"},
      {"", "  ul Lenina, -", "2", "", "", "1", "19", "", "  *", "5"},
      {"", "  ul Lenina, -", "3", "", "", "40", "22", "", "", "5"},
      {"6", "ul Mira, 5", "4", "ul", "Mira", "1", "9", "*", "", "6"},
  };
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 10; ++c) EXPECT_EQ(t.cell(r, c), expected[r][c]) << r << "," << c;
}

TEST_F(Step3, ACandidateGroupStartsWithEveryPoint) {
  s = wizardOn(1, 3, 1, 2);
  prepare();
  setRow(s, 0, "ul", "Mira", "-");
  setRow(s, 1, "ul", "Mira", "-");  // the end point may share the start's address
  setRow(s, 2, "ul", "Lenina", "2");
  ASSERT_TRUE(next().check.passed());
  ASSERT_EQ(s.table12.rows(), 4);
  EXPECT_EQ(s.table12.cell(0, t12::kPoint), "1");
  EXPECT_EQ(s.table12.cell(2, t12::kPoint), "2");
  EXPECT_EQ(s.table12.cell(2, t12::kAddress), "ul Mira, -");
  EXPECT_EQ(s.table12.cell(2, t12::kType), "ul");
}

TEST_F(Step3, NextPageFollowsTheOptions) {
  setRow(s, 0, "ul", "Lenina", "12");
  setRow(s, 1, "ul", "Lenina", "14");
  setRow(s, 2, "ul", "Lenina", "16");
  Step3Outcome out = next();
  EXPECT_EQ(out.next, WizardNext::RunStep5);
  EXPECT_FALSE(out.threshold);

  s.header.timeFactorFlag = 1;
  out = next();
  EXPECT_EQ(out.next, WizardNext::ShowStep4Page);
  EXPECT_FALSE(out.threshold);
  EXPECT_EQ(s.table1a.rows(), 3);

  s.header.refusalFlag = 1;
  s.header.servedThreshold = -2;
  out = next();
  ASSERT_TRUE(out.threshold);
  EXPECT_EQ(*out.threshold, (ThresholdControls{2, "", "2"}));
  EXPECT_EQ(thresholdControls(0), (ThresholdControls{0, "", ""}));
  EXPECT_EQ(thresholdControls(3), (ThresholdControls{1, "3", ""}));

  s = wizardOn(2, 2);
  prepare();
  setRow(s, 0, "ul", "Lenina", "1");
  setRow(s, 1, "ul", "Mira", "-");  // level 2: no candidates, the house is picked
  s.table1.set(0, t1::kHouseIndex, "3");
  s.table1.set(1, t1::kHouseIndex, "5");
  out = next();
  EXPECT_EQ(out.next, WizardNext::RunStep5);
  EXPECT_EQ(s.ambiguousCount, 0);
}

TEST(Step3Text, HouseNumbersValidate) {
  EXPECT_TRUE(isValidHouseNumber("7"));
  EXPECT_TRUE(isValidHouseNumber("1234\xFF"));
  EXPECT_FALSE(isValidHouseNumber("-"));
  EXPECT_FALSE(isValidHouseNumber(""));
}

}  // namespace
}  // namespace qj
