// The database workbooks: the main workbook and the house workbook as the export lays them
// out, cell by cell, with their blanks and formats, and the sheets of long tables.

#include "dbrn/dbrn_workbook.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace qj {
namespace {

using office::HAlign;
using office::Sheet;
using office::Workbook;

TransitSectionRec section(int32_t street, const char* from, const char* to, const char* start,
                          const char* end, std::vector<TurnRec> turns = {}) {
  TransitSectionRec s;
  s.streetIndex = street;
  s.houseFrom = from;
  s.houseTo = to;
  s.startNode = start;
  s.endNode = end;
  s.length = "120,5";
  s.speed = "40";
  s.turns = std::move(turns);
  return s;
}

// Three street types, two of them with two streets; two streets named Mill; four sections,
// the first with three turns; at level 2 five houses.
DbrnFile sampleDb(const char* kind) {
  DbrnFile db;
  db.header = {"eng", "042", "River town", kind, 0, 0, 0, 5, 0, "01.06.2024"};
  db.streetTypes = {{"avenue", "av.", 2}, {"lane", "ln.", 2}, {"street", "st.", 1}};
  db.streets = {{"av.", "Kings", "3", 0},
                {"av.", "Queens", "1", 1},
                {"ln.", "Mill", "3", 2},
                {"ln.", "Ash", "1", 3},
                {"st.", "Mill", "3", 4}};
  db.sections = {
      section(0, "1", "9", "00001", "00002", {{"00003", "^"}, {"00004", ">"}, {"1", "v"}}),
      section(0, "11", "19", "00002", "00003"), section(2, " ", " ", "00003", "00004"),
      section(4, "2", "8", "00004", "00005")};
  db.sections[0].nonStdNumbering = "*";
  db.sections[1].closed = "*";
  db.sections[2].prevObjectsClosed = "*";
  db.sections[3].reverseObjectsClosed = "*";
  if (db.level() == 2) {
    db.streetHouseCounts = {3, 0, 1, 0, 1};
    db.houses = {{0, "1", 0, {{1, 5, 50}}},
                 {0, "3", 2, {{1, 5, 40}, {2, 7, 20}}},
                 {0, "5a", 2, {}},
                 {2, "4", 0, {{3, 10, 10}, {3, 11, 12}, {4, 1, 2}, {4, 3, 4}}},
                 {4, "2", 0, {{4, 6, 60}}}};
  }
  db.syncHeaderCounts();
  return db;
}

std::vector<std::string> row(const Sheet& s, int r, int columns) {
  std::vector<std::string> out;
  for (int c = 0; c < columns; ++c) out.emplace_back(s.cell(r, c));
  return out;
}

using Cells = std::vector<std::string>;

const ShellTables& texts() {
  static const ShellTables t = [] {
    ShellTables s = test::markedShell();
    s.shellTexts[609] = "  S609  ";  // trimmed in the kind text
    return s;
  }();
  return t;
}

TEST(DbrnWorkbook, InfoSheetsOfBothLevels) {
  const Workbook one = dbrnWorkbook(sampleDb("use1"), texts());
  ASSERT_EQ(one.sheets().size(), 4u);
  const Sheet& info = one.sheets()[0];
  EXPECT_EQ(info.name(), "S422");
  EXPECT_EQ(row(info, 0, 2), (Cells{"S788", "eng"}));
  EXPECT_EQ(row(info, 1, 2), (Cells{"S222", "042"}));
  EXPECT_EQ(row(info, 2, 2), (Cells{"S260", "River town"}));
  EXPECT_EQ(row(info, 3, 2), (Cells{"S672", "use1 (S510)"}));
  EXPECT_EQ(row(info, 4, 2), (Cells{"S534", "0"}));
  EXPECT_EQ(row(info, 5, 2), (Cells{"S721", "3"}));
  EXPECT_EQ(row(info, 6, 2), (Cells{"S739", "5"}));
  EXPECT_EQ(row(info, 7, 2), (Cells{"S738", "5"}));
  EXPECT_EQ(row(info, 8, 2), (Cells{"S735", "4"}));
  EXPECT_EQ(row(info, 9, 2), (Cells{"S139", "01.06.2024"}));
  EXPECT_EQ(info.rowCount(), 10);
  EXPECT_EQ(info.formatAt(10, 0).align, HAlign::Left);
  EXPECT_TRUE(info.formatAt(10, 1).bold);
  EXPECT_FALSE(info.formatAt(0, 0).bold);
  EXPECT_EQ(info.columnWidth(0), 57);
  EXPECT_EQ(info.columnWidth(1), 81);

  DbrnFile sys = sampleDb("sys2");
  const Sheet two = dbrnWorkbook(sys, texts()).sheets()[0];
  EXPECT_EQ(row(two, 3, 2), (Cells{"S672", "sys2 (S610)"}));
  EXPECT_EQ(row(two, 4, 2), (Cells{"S534", "1"}));
  EXPECT_EQ(row(two, 7, 2), (Cells{"S723", "5"}));
  EXPECT_EQ(row(two, 8, 2), (Cells{"S738", "5"}));
  EXPECT_EQ(row(two, 9, 2), (Cells{"S735", "4"}));
  EXPECT_EQ(row(two, 10, 2), (Cells{"S139", "01.06.2024"}));
  sys.header.dbKind = "sys1";
  EXPECT_EQ(dbrnWorkbook(sys, texts()).sheets()[0].cell(3, 1), "sys1 (S609)");
}

TEST(DbrnWorkbook, StreetTypesAndStreetsWithTheirRepeatsBlank) {
  const Workbook one = dbrnWorkbook(sampleDb("use1"), texts());
  const Sheet& types = one.sheets()[1];
  EXPECT_EQ(types.name(), "S682");
  EXPECT_EQ(row(types, 0, 3), (Cells{"S678", "S645", "S728"}));
  EXPECT_EQ(row(types, 1, 3), (Cells{"avenue", "av.", "2"}));
  EXPECT_EQ(row(types, 2, 3), (Cells{"lane", "ln.", ""}));  // the same count as above
  EXPECT_EQ(row(types, 3, 3), (Cells{"street", "st.", "1"}));
  EXPECT_TRUE(types.formatAt(0, 2).bold);
  EXPECT_TRUE(types.formatAt(0, 2).wrap);
  EXPECT_FALSE(types.formatAt(1, 0).bold);
  EXPECT_EQ(types.rowHeight(0), 42);
  EXPECT_EQ(types.columnWidth(2), 12);

  const Sheet& streets = one.sheets()[2];
  EXPECT_EQ(streets.name(), "S698");
  EXPECT_EQ(row(streets, 0, 5), (Cells{"S404", "S645", "S266", "S533 (*)", ""}));
  EXPECT_EQ(row(streets, 1, 5), (Cells{"1", "av.", "Kings", "*", ""}));
  EXPECT_EQ(row(streets, 2, 5), (Cells{"2", "", "Queens", "", ""}));
  EXPECT_EQ(row(streets, 3, 5), (Cells{"3", "ln.", "Mill", "*", ""}));
  EXPECT_EQ(row(streets, 5, 5), (Cells{"5", "st.", "Mill", "*", ""}));  // names always written
  EXPECT_TRUE(streets.formatAt(0, 4).bold);  // the empty title of level 1 is formatted too
  EXPECT_EQ(streets.columnWidth(0), 6.5);
  EXPECT_FALSE(streets.columnWidth(4));

  const Sheet streets2 = dbrnWorkbook(sampleDb("use2"), texts()).sheets()[2];
  EXPECT_EQ(streets2.cell(0, 4), "S722");
  EXPECT_EQ(row(streets2, 1, 5), (Cells{"1", "av.", "Kings", "*", "3"}));
  EXPECT_EQ(row(streets2, 2, 5), (Cells{"2", "", "Queens", "", "0"}));
  EXPECT_EQ(row(streets2, 3, 5), (Cells{"3", "ln.", "Mill", "*", "1"}));
  EXPECT_EQ(row(streets2, 4, 5), (Cells{"4", "", "Ash", "", "0"}));
  EXPECT_EQ(streets2.columnWidth(4), 13);
}

TEST(DbrnWorkbook, SectionSheetsOfLevelOne) {
  const Sheet s = dbrnWorkbook(sampleDb("use1"), texts()).sheets()[3];
  EXPECT_EQ(s.name(), "s58 (1)");
  EXPECT_EQ(row(s, 0, 20),
            (Cells{"S402", "S404",  "S646",  "S266",       "S386",      "S384",     "S540 (*)",
                   "S399", "S391",  "S144",  "S616 (s15)", "S1058 (*)", "S537 (*)", "S536 (*)",
                   "S729", "1S215", "1S164", "2S215",      "2S164",     "3S215"}));
  EXPECT_EQ(s.cell(0, 33), "10S215");
  EXPECT_EQ(s.cell(0, 34), "10S164");
  EXPECT_EQ(row(s, 1, 21),
            (Cells{"1", "1", "av.", "Kings", "1",     "9", "*",     "00001", "00002", "120,5", "40",
                   "",  "",  "",    "3",     "00003", "^", "00004", ">",     "1",     "v"}));
  // The street continues: its number, type and name are blank.
  EXPECT_EQ(row(s, 2, 15), (Cells{"2", "", "", "", "11", "19", "", "00002", "00003", "120,5", "40",
                                  "*", "", "", "0"}));
  EXPECT_EQ(row(s, 3, 15), (Cells{"3", "3", "ln.", "Mill", " ", " ", "", "00003", "00004", "120,5",
                                  "40", "", "*", "", "0"}));
  // Another street of the same name: its number and type, but no name.
  EXPECT_EQ(row(s, 4, 15), (Cells{"4", "5", "st.", "", "2", "8", "", "00004", "00005", "120,5",
                                  "40", "", "", "*", "0"}));
  EXPECT_EQ(s.cell(1, 21), "");  // pairs beyond the turn count stay empty
  EXPECT_EQ(s.rowHeight(0), 55);
  EXPECT_TRUE(s.formatAt(0, 34).bold);
  EXPECT_TRUE(s.formatAt(0, 34).wrap);
  EXPECT_EQ(s.columnWidth(6), 14.5);
  EXPECT_EQ(s.columnWidth(14), 13);
  EXPECT_EQ(s.columnWidth(15), 10);
  EXPECT_EQ(s.columnWidth(34), 6);
}

TEST(DbrnWorkbook, SectionSheetsOfLevelTwoLackTheNumberingColumn) {
  const Sheet s = dbrnWorkbook(sampleDb("use2"), texts()).sheets()[3];
  EXPECT_EQ(row(s, 0, 16),
            (Cells{"S402", "S404", "S646", "S266", "S396", "S395", "S399", "S391", "S144",
                   "S616 (s15)", "S1058 (*)", "S537 (*)", "S536 (*)", "S729", "1S215", "1S164"}));
  EXPECT_EQ(s.cell(0, 33), "10S164");
  EXPECT_EQ(s.cell(0, 34), "");  // AI stays empty, title included
  EXPECT_TRUE(s.formatAt(0, 34).bold);
  EXPECT_EQ(row(s, 1, 20),
            (Cells{"1", "1", "av.", "Kings", "1",     "9", "00001", "00002", "120,5", "40",
                   "",  "",  "",    "3",     "00003", "^", "00004", ">",     "1",     "v"}));
  EXPECT_EQ(s.columnWidth(6), 12);
  EXPECT_EQ(s.columnWidth(9), 10.5);
  EXPECT_EQ(s.columnWidth(11), 16.5);
  EXPECT_EQ(s.columnWidth(14), 10);
  EXPECT_EQ(s.columnWidth(33), 6);
  EXPECT_FALSE(s.columnWidth(34));
}

TEST(DbrnWorkbook, HouseWorkbook) {
  const Workbook book = dbrnHouseWorkbook(sampleDb("use2"), texts());
  ASSERT_EQ(book.sheets().size(), 1u);
  const Sheet& s = book.sheets()[0];
  EXPECT_EQ(s.name(), "S160 (1)");
  EXPECT_EQ(row(s, 0, 19),
            (Cells{"S404", "S517", "S646", "S266", "S711", "S612", "S730", "S375", "S594 1S165",
                   "S593 1S166", "S376", "S594 2S165", "S593 2S166", "S377", "S594 3S165",
                   "S593 3S166", "S378", "S594 4S165", "S593 4S166"}));
  EXPECT_EQ(row(s, 1, 10), (Cells{"1", "1", "av.", "Kings", "1", "", "1", "1", "5", "50"}));
  EXPECT_EQ(row(s, 2, 13), (Cells{"", "2", "", "", "3", "2", "2", "1", "5", "40", "2", "7", "20"}));
  EXPECT_EQ(row(s, 3, 8), (Cells{"", "3", "", "", "5a", "2", "0", ""}));
  EXPECT_EQ(row(s, 4, 19), (Cells{"3", "1", "ln.", "Mill", "4", "", "4", "3", "10", "10", "3", "11",
                                  "12", "4", "1", "2", "4", "3", "4"}));
  EXPECT_EQ(row(s, 5, 5), (Cells{"5", "1", "st.", "", "2"}));  // the same street name
  EXPECT_EQ(s.rowHeight(0), 55);
  EXPECT_TRUE(s.formatAt(0, 18).wrap);
  EXPECT_EQ(s.columnWidth(8), 14);
  EXPECT_EQ(s.columnWidth(18), 13);
}

TEST(DbrnWorkbook, LongTablesRunOverSheetsOf65000Rows) {
  EXPECT_EQ(sectionSheetCount(0), 1);
  EXPECT_EQ(sectionSheetCount(65000), 1);
  EXPECT_EQ(sectionSheetCount(65001), 2);
  EXPECT_EQ(sectionSheetCount(195001), 4);
  EXPECT_EQ(sectionSheetCount(300000), 4);
  EXPECT_EQ(houseSheetCount(65000), 1);
  EXPECT_EQ(houseSheetCount(65001), 2);
  EXPECT_EQ(houseSheetCount(260001), 5);
  EXPECT_EQ(houseSheetCount(400000), 5);

  // A database without sections still has its section sheet, with the titles only.
  DbrnFile empty = sampleDb("use1");
  empty.sections.clear();
  empty.syncHeaderCounts();
  const Workbook none = dbrnWorkbook(empty, texts());
  ASSERT_EQ(none.sheets().size(), 4u);
  EXPECT_EQ(none.sheets()[3].rowCount(), 1);

  // 65001 sections and houses, all of one street: the second sheets hold one row each, which
  // starts again with its street and its number on the sheet, and the house position goes on.
  DbrnFile big = sampleDb("use2");
  big.sections.assign(65001, big.sections[0]);
  big.houses.assign(65001, HouseRec{0, "1", 0, {{1, 1, 1}}});
  big.streetHouseCounts = {65001, 0, 0, 0, 0};
  big.syncHeaderCounts();
  const Workbook main = dbrnWorkbook(big, texts());
  ASSERT_EQ(main.sheets().size(), 5u);
  const Sheet& second = main.sheets()[4];
  EXPECT_EQ(second.name(), "s58 (2)");
  EXPECT_EQ(second.rowCount(), 2);
  EXPECT_EQ(row(second, 1, 4), (Cells{"1", "1", "av.", "Kings"}));
  EXPECT_EQ(main.sheets()[3].cell(65000, 0), "65000");
  EXPECT_EQ(main.sheets()[3].cell(65000, 1), "");
  const Workbook houses = dbrnHouseWorkbook(big, texts());
  ASSERT_EQ(houses.sheets().size(), 2u);
  EXPECT_EQ(houses.sheets()[1].name(), "S160 (2)");
  EXPECT_EQ(row(houses.sheets()[1], 1, 4), (Cells{"1", "65001", "av.", "Kings"}));
  EXPECT_EQ(houses.sheets()[0].cell(65000, 1), "65000");
}

}  // namespace
}  // namespace qj
