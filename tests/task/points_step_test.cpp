#include "task/points_step.h"

#include <gtest/gtest.h>

#include "task/task_network.h"

namespace qj {
namespace {

using test::editCells;
using test::rowText;

struct Step3 : ::testing::Test {
  ShellTables shell = test::wizardShell();
  TaskWizardState s = test::wizardOn(1, 3);
  AddressPickers& pickers = s.pickers;

  void SetUp() override { on(1, 3); }
  void on(int level, int n, int start = 1, int end = 0) {
    s = test::wizardOn(level, n, start, end);
    pickers.fill(s, shell);
    fillTable1(s, shell);
  }
  // Addresses of rows 0.. as "type street house", service 5 and penalty 0.
  void addresses(std::initializer_list<const char*> rows) {
    int r = 0;
    for (const char* a : rows) {
      std::istringstream in(a);
      std::string type, street, house;
      in >> type >> street >> house;
      const std::string row = std::to_string(r++) + ",";
      editCells(s.table1, row + "1=" + type + ";" + row + "2=" + street + ";" + row + "3=" + house +
                              ";" + row + "4=5;" + row + "6=0;" + row + "7=");
    }
  }
  Step3Outcome next() { return checkStep3(s, shell); }
  std::string refusal() { return test::checkText(next().check, shell); }
};

std::string joined(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : ",") + item;
  return out;
}

TEST_F(Step3, PickersOfferReferencedTypesAndStreetsAndFollowTheClickedRow) {
  const auto picked = [&] {
    return joined(pickers.typeItems()) + "|" + joined(pickers.streetItems()) + "|" +
           std::to_string(pickers.typeRow()) + std::to_string(pickers.streetRow()) +
           std::to_string(pickers.houseRow());
  };
  // "lane" has no referenced street, "square" no streets, "none" is the no-street type; the
  // type named like shell text 697 is chosen; level 1 has no houses.
  EXPECT_EQ(picked(), "street (ul),avenue (pr)|Lenina,Mira,Lenina1|00-1");
  EXPECT_EQ(pickers.typeListMap(), (std::vector<int32_t>{0, 1}));
  pickers.stepType(s, -1);  // not past the ends
  for (int k = 0; k < 3; ++k) pickers.stepStreet(s, 1);
  EXPECT_EQ(picked(), "street (ul),avenue (pr)|Lenina,Mira,Lenina1|02-1");
  std::string rows;
  for (int k = 0; k < 3; ++k) {
    pickers.stepStreet(s, -1);
    rows += std::to_string(pickers.streetRow());
  }
  EXPECT_EQ(rows, "100");
  pickers.stepType(s, 1);
  pickers.stepType(s, 1);
  EXPECT_EQ(picked(), "street (ul),avenue (pr)|Nevsky|10-1");
  // With a third type referenced, the type keys step one type at a time either way.
  s.db.streets[3].state = "3";  // per Tihiy
  pickers.fill(s, shell);
  rows.clear();
  for (int delta : {1, 1, 1, -1, -1, -1}) {
    pickers.stepType(s, delta);
    rows += std::to_string(pickers.typeRow());
  }
  EXPECT_EQ(rows + " " + joined(pickers.streetItems()), "122100 Lenina,Mira,Lenina1");
  s.db.streets[3].state = "1";
  pickers.fill(s, shell);
  pickers.stepType(s, 1);
  // The last street of a type counts; long type names are cut to 27 characters; of two types
  // of the default name the first is chosen; a type without streets is not offered.
  s.db.streets[0].state = s.db.streets[1].state = "1";
  s.db.streetTypes[0].fullName = "a very long street type name";
  shell.shellTexts[697] = "avenue";
  pickers.fill(s, shell);
  EXPECT_EQ(picked(), "a very long street type nam,avenue (pr)|Nevsky|10-1");
  s.db.streetTypes[0].fullName = "avenue";
  pickers.fill(s, shell);
  EXPECT_EQ(picked(), "avenue (ul),avenue (pr)|Lenina1|00-1");
  s.db.streetTypes[0].streetCount = 0;
  shell.shellTexts[697] = "boulevard";  // without the default type the first row is chosen
  pickers.fill(s, shell);
  EXPECT_EQ(picked(), "avenue (pr)|Nevsky|00-1");

  on(2, 2);
  std::string houses;
  for (const HousePick& h : pickers.houseItems())
    houses += h.houseNo + "=" + std::to_string(h.houseIndex) + " ";
  EXPECT_EQ(houses, "1=3 10=2 2=4 2\xE0=1 3=0 ");  // in byte order
  EXPECT_TRUE(sortedHouses(s.db, 3).empty());
  EXPECT_TRUE(sortedHouses(s.db, -1).empty());
  editCells(s.table1, "1,1=ul;1,2=Mira;1,3=7");
  pickers.followCell(s, 1, t1::kHouse);
  EXPECT_EQ(picked().substr(picked().rfind('|') + 1), "010");
  // No such house, street or type: nothing chosen below what was found; the items stay.
  rows.clear();
  for (const char* cells : {"1,3=8", "1,2=Nowhere", "1,1=xx"}) {
    editCells(s.table1, cells);
    pickers.followCell(s, 1, t1::kHouse);
    rows += picked().substr(picked().rfind('|') + 1) + " ";
  }
  EXPECT_EQ(rows, "01-1 0-1-1 -1-1-1 ");
  EXPECT_FALSE(pickers.streetItems().empty());
}

TEST_F(Step3, TheGridIsFilledFromRecordsOrDefaults) {
  std::tie(s.header.cargoMode, s.header.orderMode, s.header.endPoint) = std::tuple(1, 3, 3);
  s.points = {{"ul", "Lenina", "12", 1.5, 2.25, 3}, {"ul", "Lenina", "14", 4, 5, 6}};
  s.points[1].orderValue = 2;
  s.points[0].orderValue = 1;  // the start row's class is its mark
  fillTable1(s, shell);
  // The start row carries no cargo; the same street again is indented; no record: defaults.
  EXPECT_EQ(rowText(s.table1, 0), "1 (start)|ul|Lenina|12|-|-|3|-|");
  EXPECT_EQ(rowText(s.table1, 1), "2|ul|  Lenina|14|4|5|6|2|");
  EXPECT_EQ(rowText(s.table1, 2), "3 (end)||||0|0|0|-|");
  s.header.orderMode = 1;
  s.points[1].orderValue = 0;
  fillTable1(s, shell);
  EXPECT_EQ(rowText(s.table1, 1), "2|ul|  Lenina|14|4|5|6||");

  on(2, 3);
  s.points = {{"ul", "Lenina", "2\xE0"}, {"ul", "Mira", "7"}, {"pr", "Mira", "8"}};
  fillTable1(s, shell);
  EXPECT_EQ(s.table1.cell(0, 8) + s.table1.cell(1, 8) + s.table1.cell(2, 8), "15-1");
  EXPECT_EQ(s.table1.cell(1, t1::kStreet) + "|" + s.table1.cell(2, t1::kStreet),
            "Mira|Mira");  // another type
}

TEST_F(Step3, KeysEnterThePickedAddressAndWarnOncePerChangedRow) {
  s.points.resize(2);  // rows 0 and 1 have records with transitions, row 2 is new
  s.toTransitions = {{{50, 15, 1}}, {{60, 15, 1}}};
  // Ctrl+A/S step the type, Ctrl+Q/W the street.
  for (GridKey key : {GridKey::NextType, GridKey::PrevType, GridKey::NextName}) {
    const GridKeyResult k = table1Key(s, key, 1, t1::kPenalty);
    EXPECT_TRUE(k.handled && k.pickersChanged);
  }
  const GridKeyResult r = table1Key(s, GridKey::Space, 1, t1::kStreet);
  ASSERT_TRUE(r.handled && r.warning);
  EXPECT_EQ(r.warning->text.resolve(shell) + std::to_string(r.firstRow * 10 + s.warnedRow) +
                s.table1.cell(1, t1::kType) + s.table1.cell(1, t1::kStreet),
            "S30 2 S25.11ulMira");
  EXPECT_FALSE(table1Typed(s, 1, t1::kHouse));    // the same row again: no warning
  EXPECT_FALSE(table1Typed(s, 2, t1::kPenalty));  // a new row only counts as changed
  EXPECT_FALSE(table1Typed(s, 0, t1::kPenalty));  // other columns change nothing
  EXPECT_EQ(s.pointChanged, (std::vector<int32_t>{0, 1, 1}));
  EXPECT_TRUE(table1Typed(s, 0, t1::kHouse) && !table1Typed(s, 3, t1::kHouse));  // no row 3
  // A record that a refused step made for a point not entered yet holds no transitions to lose.
  s.points.resize(3);
  s.warnedRow = -1;
  EXPECT_FALSE(table1Typed(s, 2, t1::kStreet));
  EXPECT_FALSE(table1Key(s, GridKey::Space, 0, t1::kService).handled);        // to the editor
  EXPECT_FALSE(table1Key(s, GridKey::Space, 0, t1::kHouse).handled);          // typed at level 1
  EXPECT_FALSE(table1Key(s, GridKey::Space, 3, t1::kStreet).cellsChanged());  // no row 3

  // Delete is ignored where nothing is typed; rows are never inserted.
  s.header.orderMode = 3;
  fillTable1(s, shell);
  // Delete on the street, the start row's "-" order and penalty; then on a typed house.
  std::string handled;
  for (const auto& [row, col] : {std::pair(1, t1::kStreet), std::pair(0, t1::kOrder),
                                 std::pair(0, t1::kPenalty), std::pair(1, t1::kHouse)})
    handled += table1Key(s, GridKey::Delete, row, col).handled ? "1" : "0";
  EXPECT_EQ(handled, "1110");
  EXPECT_TRUE(table1Key(s, GridKey::InsertRow, 1, 1).handled && s.table1.rows() == 3);

  on(2, 2);
  for (int row : {-1, 2}) {  // no type chosen: nothing to enter
    pickers.chooseType(s, row);
    EXPECT_EQ(pickers.typeRow() * 10 + pickers.streetRow(), -11) << row;
    EXPECT_FALSE(table1Key(s, GridKey::Space, 1, t1::kType).cellsChanged()) << row;
  }
  pickers.chooseType(s, 0);
  pickers.chooseStreet(s, 3);  // past the list: no street, no houses
  EXPECT_EQ(pickers.streetRow() * 10 + pickers.houseRow(), -11);
  pickers.chooseStreet(s, 0);
  pickers.chooseHouse(5);  // past the list: nothing to enter
  EXPECT_EQ(pickers.houseRow(), -1);
  table1Key(s, GridKey::Space, 0, t1::kHouse);
  EXPECT_EQ(rowText(s.table1, 0), "1 (start)|ul|Lenina||0||0||");
  pickers.chooseHouse(1);  // "10", record 2
  ASSERT_TRUE(table1Key(s, GridKey::Space, 0, t1::kHouse).handled);
  EXPECT_EQ(s.table1.cell(0, t1::kHouse) + "/" + s.table1.cell(0, t1::kHouseIndex), "10/2");
  EXPECT_EQ(s.pointChanged[0], 0);  // only level 1 tracks changed points
  EXPECT_TRUE(table1Key(s, GridKey::Delete, 0, t1::kHouse).handled);  // picked, not typed
  EXPECT_FALSE(table1Key(s, GridKey::Space, 0, t1::kService).handled);
  pickers.chooseHouse(0);  // "1", record 3
  table1Key(s, GridKey::Space, 1, t1::kHouse);
  EXPECT_EQ(s.table1.cell(1, t1::kHouse) + "/" + s.table1.cell(1, t1::kHouseIndex), "1/3");
}

TEST_F(Step3, TypedTextFollowsTheColumnRules) {
  s.header.orderMode = 3;
  fillTable1(s, shell);
  const Table1Rules rules(s, shell);
  const std::pair<int, const char*> texts[] = {
      {t1::kHouse, "12\xE0"},    {t1::kHouse, "1234"},  {t1::kHouse, "12345"},
      {t1::kHouse, "-1"},        {t1::kHouse, "12A"},   {t1::kService, "123,45"},
      {t1::kService, "1234,56"}, {t1::kService, "1.5"}, {t1::kOrder, "12"},
      {t1::kOrder, "123"},       {t1::kType, "ul"}};
  std::string verdicts;
  for (const auto& [col, text] : texts)
    verdicts += rules.accepts(s.table1, 1, col, text) ? "1" : "0";
  EXPECT_EQ(verdicts, "11000100100");
  // The start row's order and the address cells are not typed; level 2 picks its houses.
  EXPECT_FALSE(rules.typable(s.table1, 0, t1::kOrder) || rules.typable(s.table1, 1, t1::kStreet));
  EXPECT_TRUE(rules.typable(s.table1, 1, t1::kOrder));
  // Without cargo the start point has a service time of its own.
  EXPECT_TRUE(rules.typable(s.table1, 0, t1::kService));
  s.dbLevel = 2;
  EXPECT_FALSE(rules.typable(s.table1, 1, t1::kHouse));
}

TEST_F(Step3, RowChecksRefuseInTheirOrderAndNameTheRow) {
  addresses({"ul Lenina 12", "ul Lenina 13"});
  // Each edit is kept for the next line.
  const std::pair<const char*, const char*> steps[] = {
      {"2,1=", "S458 3. @Table12:1"},
      {"2,1=per", "S356 3. @Table12:1"},  // not offered: no referenced street
      {"2,1=pr", "S454 3. @Table12:2"},
      {"2,2=Tihiy", "S348 3. @Table12:2"},
      {"2,2=  Mira", "S359 3. @Table12:2"},
      {"2,1=ul", "S455 3. S696 \"-\". @Table12:3"},
      {"2,3=12a", "S362 3. S432. @Table12:3"},  // and whatever else is no house number
      {"2,3=1\xE0\xE0", "S362 3. S432. @Table12:3"},
      {"2,3=--", "S362 3. S432. @Table12:3"},
      {"2,3=5;2,4= ", "S453 3. @Table12:4"},
      {"2,4=1,2,3", "S346 3. @Table12:4"},
      {"2,4=1,5;2,6=", "S459 3. @Table12:6"},
      {"2,6=,", "S358 3. @Table12:6"},
      {"2,6=0", "passed"},
      // Intermediate points need some cost of waiting or driving.
      {"1,6=0,00999;2,3=16", "passed"},
  };
  for (const auto& [edits, want] : steps) {
    editCells(s.table1, edits);
    EXPECT_EQ(refusal(), want) << edits;
  }
  s.header.finePerKm = 0;
  EXPECT_EQ(refusal(), "S631 2 S525 < 0,01. @Table11:6");
  editCells(s.table1, "1,6=0,009999");  // the least penalty, as the least rate below
  EXPECT_EQ(refusal(), "S631 3 S525 < 0,01. @Table12:6");
  s.header.endPoint = 3;  // the start and end points need none
  EXPECT_EQ(refusal(), "passed");
  s.header.endPoint = 0;
  s.header.finePerHour = 0.009999;
  EXPECT_EQ(refusal(), "passed");
  s.header.finePerHour = 0;
  s.header.finePerKm = 0.009999;  // rates count from there
  EXPECT_EQ(refusal(), "passed");

  // Cargo: loading and unloading, but not on the start row.
  s.header.cargoMode = 2;
  fillTable1(s, shell);
  addresses({"ul Lenina 12", "ul Lenina 13", "ul Mira -"});
  const std::pair<const char*, const char*> cargo[] = {
      {"0,4=-;1,4=;2,4=1;2,5=2", "S451 2. @Table11:4"},
      {"1,4=x", "S343 2. @Table11:4"},
      {"1,4=3;1,5=", "S452 2. @Table11:5"},
      {"1,5=4,4,", "S344 2. @Table11:5"},
      {"1,5=4,5", "passed"}};
  for (const auto& [edits, want] : cargo) {
    editCells(s.table1, edits);
    EXPECT_EQ(refusal(), want) << edits;
  }
  EXPECT_EQ(s.points[0].serviceTime, 0);
  EXPECT_EQ(s.points[1].unloadTime, 4.5);

  // Level 2: a house picked from the database.
  on(2, 2);
  addresses({"ul Lenina 1", "ul Lenina 2"});
  editCells(s.table1, "0,8=3");
  for (const char* bad : {"-1", "", "x", "8"}) {
    s.table1.set(1, t1::kHouseIndex, bad);
    EXPECT_EQ(refusal(), "S360 2, S242. @Table11:3") << bad;
  }
  editCells(s.table1, "1,8=4");
  EXPECT_EQ(refusal(), "passed");
  // A street longer than its field, cut just after a blank, is stored without the blank.
  s.table1.set(1, t1::kStreet, "  " + std::string(29, 'M') + " ira");
  EXPECT_EQ(refusal(), "passed");
  EXPECT_EQ(s.points[1].street, std::string(29, 'M'));
}

TEST_F(Step3, OrderValuesAreCheckedPointByPointThenOverAllRows) {
  const struct {
    int mode, start, end;
    std::array<const char*, 5> order;
    const char* want;
  } cases[] = {
      {1, 1, 0, {"", "0", "", "", ""}, "S325 2. @Table11:7"},
      {1, 1, 0, {"", "6", "", "", ""}, "S617 2, S877 (= 5). @Table11:7"},
      {1, 1, 0, {"", "x", "", "", ""}, "S876 2. @Table11:7"},
      {1, 1, 0, {"", "1", "", "", ""}, "S316 1 S512 2, S585. @Table11:7"},
      {1, 1, 0, {"", "2", "", "", ""}, "S321 2, S586. @Table11:7"},
      {1, 1, 5, {"", "", "", "", "2"}, "S315 5. @Table14:7"},
      {1, 1, 0, {"", "3", "2", "", ""}, "S316 2 S512 3, S236 3 S757 2. @Table12:7"},
      // Cycles of any length are refused at their last row.
      {1, 1, 0, {"", "3", "4", "2", ""}, "S316 2 S512 4, S236 4 S757 2. @Table13:7"},
      // ...also through point 1 when the task starts at another.
      {1, 2, 0, {"4", "", "1", "3", ""}, "S316 3 S512 4, S236 4 S757 3. @Table13:7"},
      {2, 1, 0, {"", "5", "4", "2", "3"}, "S316 3 S512 5, S236 5 S757 3. @Table14:7"},
      {2, 1, 0, {"", "5", "4", "5", ""}, "passed"},  // a chain, not a cycle
      {1, 1, 0, {"", "", "2", "", ""}, "passed"},    // a chain that ends
      {1, 1, 0, {"", "5", "5", "", ""}, "S316 5 S512 3, S239 2. @Table12:7"},
      {2, 1, 0, {"", "5", "5", "", ""}, "passed"},  // passed after several others
      {1, 1, 0, {"", "", "", "", ""}, "S286. @Table10:7"},
      // Priority classes: every class from 1 to 3 given, the ends "-".
      {3, 1, 5, {"-", "1", "4", "3", "-"}, "S323 3. @Table12:7"},
      {3, 1, 5, {"-", "1", "x", "3", "-"}, "S323 3. @Table12:7"},
      {3, 1, 5, {"-", "1", "3", "3", "-"}, "S283 2 S713. @Table11:7"},
      {3, 1, 5, {"-", "1", "2", "", "-"}, "S283 3 S713. @Table13:7"},
      {3, 1, 5, {"-", "1", "2", "3", "-"}, "passed"},
  };
  for (const auto& c : cases) {
    on(1, 5, c.start, c.end);
    s.header.orderMode = c.mode;
    s.header.priorityCount = 3;
    fillTable1(s, shell);
    addresses({"ul Lenina 2", "ul Lenina 4", "ul Lenina 6", "ul Lenina 8", "ul Lenina 10"});
    for (int r = 0; r < 5; ++r) s.table1.set(r, t1::kOrder, c.order[r]);
    EXPECT_EQ(refusal(), c.want) << c.mode << " " << c.order[1] << c.order[2] << c.order[3];
  }
  // Stored: the ends' classes are 0 and N, an empty order -1.
  EXPECT_EQ(s.points[0].orderValue * 100 + s.points[2].orderValue * 10 + s.points[4].orderValue,
            25);
  on(1, 5);
  s.header.orderMode = 2;
  addresses({"ul Lenina 2", "ul Lenina 4", "ul Lenina 6", "ul Lenina 8", "ul Lenina 10"});
  editCells(s.table1, "1,7=5");
  ASSERT_EQ(refusal(), "passed");
  EXPECT_EQ(std::to_string(s.points[1].orderValue) + std::to_string(s.points[0].orderValue), "5-1");
}

TEST_F(Step3, EqualAddressesCompareTheirThreeFields) {
  // The same letters joined are another address; start and end may share one, in either
  // order, no other two points.
  for (const auto& [start, end, want] : {std::tuple(3, 0, "S155 1 S1 3, S240. S201. @Table12:3"),
                                         std::tuple(3, 1, "passed"), std::tuple(1, 3, "passed")}) {
    on(1, 3, start, end);
    addresses({"ul Lenina 12", "ul Lenina1 2", "ul Lenina 12"});
    EXPECT_EQ(refusal(), want) << start << end;
  }
  editCells(s.table1, "1,2=  Lenina;1,3=12");
  const Step3Outcome out = next();
  EXPECT_EQ(out.check.message->text.resolve(shell), "S155 1 S1 2, S240. S201.");
  EXPECT_EQ(out.check.row, 1);
  EXPECT_EQ(out.check.column, t1::kHouse);  // the later point's house is made current
}

TEST_F(Step3, RecordsAreWrittenOnlyWhenEveryCheckPasses) {
  s.points.resize(1);
  s.points[0].house = "old";
  addresses({"ul Lenina 12", "ul Lenina 14", "ul Lenina 16"});
  editCells(s.table1, "1,4=x");
  EXPECT_NE(refusal(), "passed");
  ASSERT_EQ(s.points.size(), 3u);  // resized, nothing else stored
  EXPECT_EQ(s.points[0].house, "old");
  std::tie(s.points[1].income, s.points[1].windowHigh, s.points[1].refusalAllowed,
           s.points[1].unloadTime) = std::tuple(7, 9, 1, 2);
  editCells(s.table1, "1,4=2,5;1,2=  Lenina;1,5=3");
  ASSERT_EQ(refusal(), "passed");
  const TaskPointRec& p = s.points[1];
  EXPECT_EQ(p.streetType + p.street + p.house, "ulLenina14");
  EXPECT_EQ(p.serviceTime, 2.5);
  EXPECT_EQ(p.orderValue, 0);
  EXPECT_EQ(p.vertexNo, 9);
  // No option that pays, waits, refuses or carries: their values are cleared.
  EXPECT_EQ(p.income + p.windowHigh + p.refusalAllowed + p.unloadTime, 0);
}

TEST_F(Step3, HouseNumbersPlacePointsOrGiveCandidateSections) {
  on(1, 6);
  addresses({"ul Lenina 12\xE0", "ul Lenina 13", "ul Lenina 30", "ul Lenina 42", "ul Lenina -",
             "ul Mira 5"});
  s.points.resize(6);
  std::tie(s.points[4].sectionIndex, s.points[5].sectionIndex) = std::pair(1, 3);
  Step3Outcome out = next();
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::ShowSectionChoicePage);
  // Even side, odd side, numbered downwards: placed; 42 lies on no section; "-" lists every
  // section of the street (its old one marked); Mira 5 only the non-standard section.
  EXPECT_EQ(s.ambiguousCount, 4);
  ASSERT_EQ(s.table12.rows(), 4);
  EXPECT_EQ(rowText(s.table12, 0), "5|ul Lenina, -|1|ul|Lenina|2|20|||5");
  EXPECT_EQ(rowText(s.table12, 1), "|  ul Lenina, -|2|||1|19||  *|5");
  EXPECT_EQ(rowText(s.table12, 2), "|  ul Lenina, -|3|||40|22|||5");
  EXPECT_EQ(rowText(s.table12, 3), "6|ul Mira, 5|4|ul|Mira|1|9|*|  *|6");
  // A mark the user gave replaces the point's old one, and only that point's.
  editCells(s.table12, "0,8=  *");
  ASSERT_TRUE(next().check.passed());
  std::string marks;
  for (int r = 0; r < 4; ++r) marks += s.table12.cell(r, t12::kMark) + "|";
  EXPECT_EQ(marks, "  *|||  *|");

  // One candidate section is a choice too.
  on(1, 2);
  addresses({"ul Lenina 12", "pr Nevsky -"});
  EXPECT_EQ(next().next, WizardNext::ShowSectionChoicePage);
  EXPECT_EQ(s.ambiguousCount, 1);
  // A candidate group starts with every point, also at the same address.
  on(1, 3, 1, 2);
  addresses({"ul Mira -", "ul Mira -", "ul Lenina 2"});
  ASSERT_EQ(refusal(), "passed");
  EXPECT_EQ(s.table12.rows() * 10 + std::stoi(s.table12.cell(2, t12::kPoint)), 42);
}

}  // namespace
}  // namespace qj
