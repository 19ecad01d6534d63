// The database import from workbooks: what comes back of an exported database, the checks
// of the info sheet in their order, cells that do not convert, the turn lists rebuilt from
// their pairs, and the house workbook beside the main one.

#include "dbrn/dbrn_workbook_import.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dbrn/dbrn_workbook.h"
#include "democity/demo_city.h"
#include "office/xlsx_writer.h"
#include "records/cp1251.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using office::Sheet;
using office::Workbook;

const ShellTables& texts() {
  static const ShellTables t = test::markedShell();
  return t;
}

std::string text(const std::optional<Message>& m) {
  return m ? m->utf8(texts()) : std::string("(none)");
}

// What an exported database comes back as: the kind as written, streets that no section or
// house refers to as deleted, the turn lists in the order forward, back, right, left, and no
// reverse-section numbers; at level 2 also without non-standard numbering marks.
DbrnFile asImported(DbrnFile db) {
  const auto rank = [](const TurnRec& t) {
    return t.direction == "^" ? 0 : t.direction == "v" ? 1 : t.direction == ">" ? 2 : 3;
  };
  for (StreetRec& s : db.streets)
    if (s.state != kStreetReferenced) s.state = "2";
  for (TransitSectionRec& s : db.sections) {
    std::stable_sort(s.turns.begin(), s.turns.end(),
                     [&](const TurnRec& a, const TurnRec& b) { return rank(a) < rank(b); });
    s.reverseSection.clear();
    if (db.level() == 2) s.nonStdNumbering.clear();
  }
  return db;
}

TEST(DbrnWorkbookImport, TheDemoCityComesBackAsItWasExported) {
  for (int level : {1, 2}) {
    const DbrnFile db = demoCity(level, "eng");
    const DbrnWorkbookRead read = readDbrnWorkbook(dbrnWorkbook(db, texts()), "city.xlsx", "eng");
    ASSERT_TRUE(read.db) << text(read.message);
    DbrnFile back = *read.db;
    if (level == 2) {
      EXPECT_TRUE(back.houses.empty());
      EXPECT_EQ(text(readDbrnHouseWorkbook(dbrnHouseWorkbook(db, texts()), "city#.xlsx", back)),
                "(none)");
    }
    EXPECT_EQ(back, asImported(db));
  }
}

// A small level-2 workbook to change cell by cell.
DbrnFile small() {
  DbrnFile db;
  db.header = {"eng", "042", "River town", "sys2", 0, 0, 0, 4, 0, "01.06.2024"};
  db.streetTypes = {{"avenue", "av.", 1}, {"street", "st.", 1}};
  db.streets = {{"av.", "Kings", "3", 0}, {"st.", "Oak", "1", 1}};
  db.streetHouseCounts = {2, 0};
  TransitSectionRec s;
  s.streetIndex = 0;
  s.houseFrom = "1";
  s.houseTo = "9";
  s.startNode = "1";
  s.endNode = "2";
  s.length = "100";
  s.speed = "40";
  s.turns = {{"3", "^"}};
  db.sections = {s, s};
  db.houses = {{0, "1", 0, {{1, 5, 50}}}, {0, "3", 1, {{2, 7, 20}}}};
  db.syncHeaderCounts();
  return db;
}

class WorkbookCells : public ::testing::Test {
 protected:
  WorkbookCells()
      : book(dbrnWorkbook(small(), texts())), houses(dbrnHouseWorkbook(small(), texts())) {}
  Sheet& sheet(int k) { return book.sheets()[static_cast<size_t>(k - 1)]; }
  // The refusal of the main workbook as it now stands.
  std::string refusal() const { return text(readDbrnWorkbook(book, "city.xlsx", "eng").message); }
  std::string houseRefusal() const {
    DbrnWorkbookRead read = readDbrnWorkbook(book, "city.xlsx", "eng");
    EXPECT_TRUE(read.db) << text(read.message);
    return read.db ? text(readDbrnHouseWorkbook(houses, "city#.xlsx", *read.db)) : std::string();
  }

  Workbook book, houses;
};

TEST_F(WorkbookCells, TheInfoSheetIsCheckedInItsOrder) {
  EXPECT_EQ(refusal(), "(none)");
  // Row, value, refusal (none: a count at its limit passes and the import goes on into the
  // sheets); each row is put back before the next.
  // clang-format off
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, " rus ", "S785 (rus), S786 (eng), S787."}, {3, "cli2 (client addition)", "S208. S133."},
      {5, "0", "S330. S132."}, {5, "101", "S624 101 (>100). S132."}, {5, "100", nullptr},
      {6, "0", "S333. S132."}, {6, "10001", "S627 10001 (>10000). S132."}, {6, "10000", nullptr},
      {7, "0", "S329. S132."}, {7, "300001", "S622 300001 (>300000). S132."}, {7, "300000", nullptr},
      {8, "0", "S332. S132."}, {8, "100000", "S626 100000 (>99999). S132."}, {8, "99999", nullptr},
      {9, "0", "S331. S132."}, {9, "200001", "S625 200001 (>200000). S132."}, {9, "200000", nullptr},
      {5, "1,5", "S132 (\"city.xlsx\"): S976 1, S977 6, S978 B S980."}};
  // clang-format on
  for (const auto& [r, value, expected] : cases) {
    const std::string kept(sheet(1).cell(r, 1));
    sheet(1).set(r, 1, value);
    if (expected)
      EXPECT_EQ(refusal(), expected) << r << " " << value;
    else
      EXPECT_EQ(refusal().find("(>"), std::string::npos) << r;
    sheet(1).set(r, 1, kept);
  }
  // A level-1 info sheet reads its rows one up; the first count out of range is reported.
  sheet(1).set(3, 1, "use1");
  sheet(1).set(7, 1, "0");
  EXPECT_EQ(refusal(), "S332. S132.");
  sheet(1).set(3, 1, "sys2");
  sheet(1).set(7, 1, "2");
  sheet(1).set(5, 1, "101");
  sheet(1).set(9, 1, "0");
  EXPECT_EQ(refusal(), "S624 101 (>100). S132.");
}

TEST_F(WorkbookCells, CellsThatDoNotConvertOrReferToNothingNameTheirPlace) {
  // Sheet (0: of the house workbook), row, column, value and the refusal; changes add up. A
  // blank takes the value above, and the first row has none.
  // clang-format off
  const std::tuple<int, int, int, const char*, const char*> cases[] = {
      {4, 1, 1, "x", "S976 4, S977 2, S978 B S980"}, {4, 1, 1, "3", "S976 4, S977 2, S978 B S1056"},
      {4, 1, 1, "", "S976 4, S977 2, S978 B S980"}, {4, 1, 1, "1", nullptr},
      {4, 2, 13, "many", "S976 4, S977 3, S978 N S980"}, {4, 2, 13, "1", nullptr},
      {0, 1, 7, "3", "S976 1, S977 2, S978 H S1057"}, {0, 1, 7, "1", nullptr},
      {0, 2, 0, "9", "S976 1, S977 3, S978 A S1056"}, {0, 2, 0, "", nullptr},
      {0, 2, 5, "-1", "S976 1, S977 3, S978 F S981"}, {0, 2, 5, "", nullptr},
      {0, 2, 9, "", "S976 1, S977 3, S978 J S980"}};
  // clang-format on
  for (const auto& [k, r, c, value, expected] : cases) {
    (k ? sheet(k) : houses.sheets()[0]).set(r, c, value);
    const std::string file = k ? "city.xlsx" : "city#.xlsx";
    EXPECT_EQ(k ? refusal() : houseRefusal(),
              expected ? "S132 (\"" + file + "\"): " + expected + "." : "(none)")
        << k << " " << r << " " << c;
  }
  Workbook shorter = book;
  shorter.sheets().pop_back();
  EXPECT_EQ(text(readDbrnWorkbook(shorter, "city.xlsx", "eng").message),
            "S132 (\"city.xlsx\"): S982 4.");
}

TEST_F(WorkbookCells, WhatTheWizardGets) {
  // Streets without the mark come as deleted; blank cells take the value above them.
  sheet(3).set(1, 4, "");
  sheet(2).set(2, 2, "");
  houses.sheets()[0].set(2, 5, "");
  houses.sheets()[0].set(1, 10, "2");  // a second link
  houses.sheets()[0].set(1, 11, "1");
  houses.sheets()[0].set(1, 12, "2");
  houses.sheets()[0].set(1, 6, "7");  // the link count is not read
  DbrnWorkbookRead read = readDbrnWorkbook(book, "city.xlsx", "eng");
  ASSERT_TRUE(read.db);
  DbrnFile& db = *read.db;
  EXPECT_EQ(db.header.dbKind + db.streets[0].state + db.streets[1].state, "sys232");
  EXPECT_EQ(db.streetHouseCounts, (std::vector<int32_t>{0, 0}));  // "0" before the first value
  EXPECT_EQ(db.streetTypes[1].streetCount, 1);
  EXPECT_EQ(db.sections[1].streetIndex, 0);
  ASSERT_FALSE(readDbrnHouseWorkbook(houses, "city#.xlsx", db));
  ASSERT_EQ(db.houses.size(), 2u);
  EXPECT_EQ(db.houses[0].links, (std::vector<HouseLinkRec>{{1, 5, 50}, {2, 1, 2}}));
  EXPECT_EQ(db.houses[1].yardNo * 10 + db.houses[1].streetIndex, 0);
}

TEST_F(WorkbookCells, TurnListsAreRebuiltFromTheirPairs) {
  const auto turnsOf = [&](std::vector<std::pair<const char*, const char*>> pairs,
                           const char* count) {
    Sheet& s = sheet(4);
    for (int q = 0; q < 10; ++q) {
      s.set(1, 14 + 2 * q, q < static_cast<int>(pairs.size()) ? pairs[q].first : "");
      s.set(1, 15 + 2 * q, q < static_cast<int>(pairs.size()) ? pairs[q].second : "");
    }
    s.set(1, 13, count);
    const DbrnWorkbookRead read = readDbrnWorkbook(book, "city.xlsx", "eng");
    std::string out;
    for (const TurnRec& t : read.db->sections[0].turns) out += t.node + t.direction + " ";
    return out;
  };
  EXPECT_EQ(turnsOf({{"1", ">"}, {"2", "^"}, {"3", "<"}, {"4", "v"}}, "4"), "2^ 4v 1> 3< ");
  // A count of 0 (or above 10) takes every pair.
  EXPECT_EQ(turnsOf({{"1", ">"}, {"2", ">"}}, "0"), "1> 2> ");
  EXPECT_EQ(turnsOf({{"1", "^"}, {"2", "^"}, {"3", "x"}, {"", "<"}, {"5", "v"}}, "11"), "1^ 5v ");
  EXPECT_EQ(turnsOf({{"1", "<"}, {"2", ">"}, {"3", "^"}}, "2"), "3^ 2> ");
}

TEST(DbrnWorkbookImport, FromFilesWithTheHouseWorkbookBeside) {
  test::TempDir dir;
  const fs::path main = dir / "River town.xlsx";
  EXPECT_EQ(houseWorkbookPath(main), dir / "River town#.xlsx");
  EXPECT_EQ(houseWorkbookPath(dir / "a.b.xls"), dir / "a.b#.xls");

  const auto messages = [&](const ImportedDbrnWorkbook& w) {
    std::string out = w.loaded ? "loaded:" : "refused:";
    for (const Message& m : w.messages) out += " " + m.utf8(texts());
    return out;
  };
  EXPECT_EQ(messages(importDbrnWorkbook(main, "eng")), "refused: S970 \"River town.xlsx\" S971.");

  office::writeXlsx(dbrnWorkbook(small(), texts()), main);
  ImportedDbrnWorkbook streetsOnly = importDbrnWorkbook(main, "eng");
  EXPECT_EQ(streetsOnly.workbookName, "River town.xlsx");
  EXPECT_TRUE(streetsOnly.loaded->db.houses.empty());
  EXPECT_EQ(streetsOnly.loaded->db.sections.size(), 2u);
  EXPECT_EQ(messages(streetsOnly),
            "loaded: S27: \"" + (dir / "River town#.xlsx").string() + "\". S433.");
  EXPECT_EQ(streetsOnly.messages[0].kind, MessageKind::Warning);

  dir.write("River town#.xlsx", "not a workbook");
  EXPECT_EQ(messages(importDbrnWorkbook(main, "eng")), "refused: S970 \"River town#.xlsx\" S972.");

  office::writeXlsx(dbrnHouseWorkbook(small(), texts()), houseWorkbookPath(main));
  ImportedDbrnWorkbook whole = importDbrnWorkbook(main, "eng");
  ASSERT_EQ(messages(whole), "loaded:");
  EXPECT_EQ(whole.loaded->db.houses, small().houses);
  EXPECT_EQ(whole.loaded->db.header.dbKind + " " + whole.loaded->curKind + " " +
                whole.loaded->kindCaption.utf8(texts()),
            "sys2 use2 use2 (S511)");
}

}  // namespace
}  // namespace qj
