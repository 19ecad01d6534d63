// The database workbooks: the main workbook and the house workbook as the export lays them
// out, cell by cell, and the sheets of long tables; and the import from them: what comes back
// of an exported database, the checks of the info sheet in their order, cells that do not
// convert, and the house workbook beside the main one.

#include "dbrn/dbrn_workbook.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dbrn/dbrn_workbook_import.h"
#include "democity/demo_city.h"
#include "office/xlsx_writer.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/town.h"

namespace qj {
namespace {

using office::Sheet;
using office::Workbook;

// Three street types, two of them with two streets; two streets named Mill; four sections,
// the first with three turns; at level 2 five houses.
DbrnFile sampleDb(const char* kind) {
  DbrnFile db;
  db.header = {"eng", "042", "River town", kind, 0, 0, 0, 5, 0, "01.06.2024"};
  db.streetTypes = {{"avenue", "av.", 2}, {"lane", "ln.", 2}, {"street", "st.", 1}};
  // clang-format off
  db.streets = {{"av.", "Kings", "3", 0}, {"av.", "Queens", "1", 1}, {"ln.", "Mill", "3", 2},
                {"ln.", "Ash", "1", 3}, {"st.", "Mill", "3", 4}};
  // clang-format on
  const auto section = [](int32_t street, const char* from, const char* to, const char* a,
                          const char* b, std::vector<TurnRec> turns = {}) {
    return test::townSection(street, from, to, a, b, "120,5", std::move(turns));
  };
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
    // clang-format off
    db.houses = {{0, "1", 0, {{1, 5, 50}}}, {0, "3", 2, {{1, 5, 40}, {2, 7, 20}}},
                 {0, "5a", 2, {}}, {2, "4", 0, {{3, 10, 10}, {3, 11, 12}, {4, 1, 2}, {4, 3, 4}}},
                 {4, "2", 0, {{4, 6, 60}}}};
    // clang-format on
  }
  db.syncHeaderCounts();
  return db;
}

// Cells `from` to `to` of a row joined by "|"; of rows r0 to r1, each row ended by ";".
std::string row(const Sheet& s, int r, int to, int from = 0) {
  std::string out;
  for (int c = from; c <= to; ++c)
    out += std::string(c > from ? "|" : "") + std::string(s.cell(r, c));
  return out;
}
std::string rows(const Sheet& s, int r0, int r1, int to) {
  return r0 > r1 ? "" : row(s, r0, to) + ";" + rows(s, r0 + 1, r1, to);
}

const ShellTables& texts() {
  static const ShellTables t = test::markedShell();
  return t;
}

TEST(DbrnWorkbook, InfoSheetsOfBothLevels) {
  const Workbook one = dbrnWorkbook(sampleDb("use1"), texts());
  const Sheet& info = one.sheets()[0];
  EXPECT_EQ(info.name() + ":" + rows(info, 0, info.rowCount() - 1, 1),
            "S422:S788|eng;S222|042;S260|River town;S672|use1 (S510);S534|0;S721|3;S739|5;"
            "S738|5;S735|4;S139|01.06.2024;");
  const Sheet two = dbrnWorkbook(sampleDb("sys2"), texts()).sheets()[0];
  EXPECT_EQ(rows(two, 3, two.rowCount() - 1, 1),
            "S672|sys2 (S610);S534|1;S721|3;S739|5;S723|5;S738|5;S735|4;S139|01.06.2024;");
  // Street types and streets, with their repeats blank.
  const Sheet& types = one.sheets()[1];
  const Sheet& streets = one.sheets()[2];
  EXPECT_EQ(types.name() + streets.name(), "S682S698");
  // A count or type the same as above is left blank; names are always written.
  EXPECT_EQ(rows(types, 0, 3, 2), "S678|S645|S728;avenue|av.|2;lane|ln.|;street|st.|1;");

  EXPECT_EQ(
      rows(streets, 0, 5, 4),
      "S404|S645|S266|S533 (*)|;1|av.|Kings|*|;2||Queens||;3|ln.|Mill|*|;4||Ash||;5|st.|Mill|*|;");
  EXPECT_TRUE(streets.formatAt(0, 4).bold);  // the empty title of level 1 is formatted too

  const Sheet streets2 = dbrnWorkbook(sampleDb("use2"), texts()).sheets()[2];
  EXPECT_EQ(rows(streets2, 0, 4, 4),
            "S404|S645|S266|S533 (*)|S722;1|av.|Kings|*|3;2||Queens||0;3|ln.|Mill|*|1;4||Ash||0;");
}

TEST(DbrnWorkbook, SectionSheetsOfBothLevels) {
  const Sheet s = dbrnWorkbook(sampleDb("use1"), texts()).sheets()[3];
  EXPECT_EQ(s.name(), "s58 (1)");
  EXPECT_EQ(row(s, 0, 19),
            "S402|S404|S646|S266|S386|S384|S540 (*)|S399|S391|S144|S616 (s15)|"
            "S1058 (*)|S537 (*)|S536 (*)|S729|1S215|1S164|2S215|2S164|3S215");
  EXPECT_EQ(row(s, 0, 34, 33), "10S215|10S164");
  EXPECT_EQ(row(s, 1, 21), "1|1|av.|Kings|1|9|*|00001|00002|120,5|40||||3|00003|^|00004|>|1|v|");
  // The street continues: its number, type and name are blank.
  EXPECT_EQ(row(s, 2, 14), "2||||11|19||00002|00003|120,5|40|*|||0");
  EXPECT_EQ(row(s, 3, 14), "3|3|ln.|Mill| | ||00003|00004|120,5|40||*||0");
  // Another street of the same name: its number and type, but no name.
  EXPECT_EQ(row(s, 4, 14), "4|5|st.||2|8||00004|00005|120,5|40|||*|0");
  EXPECT_TRUE(s.formatAt(0, 34).wrap);

  // Level 2 lacks the numbering column; AI stays empty, its title included.
  const Sheet s2 = dbrnWorkbook(sampleDb("use2"), texts()).sheets()[3];
  EXPECT_EQ(row(s2, 0, 15),
            "S402|S404|S646|S266|S396|S395|S399|S391|S144|S616 (s15)|S1058 (*)|"
            "S537 (*)|S536 (*)|S729|1S215|1S164");
  EXPECT_EQ(row(s2, 0, 34, 33), "10S164|");
  EXPECT_EQ(row(s2, 1, 19), "1|1|av.|Kings|1|9|00001|00002|120,5|40||||3|00003|^|00004|>|1|v");
  // The columns of level 2 are laid out one to the left, with their own widths.
  EXPECT_EQ(s.columnWidth(6).value_or(0) + 100 * s2.columnWidth(6).value_or(0), 1214.5);
  // The turn columns alternate node and direction widths up to the last column.
  EXPECT_EQ(s.columnWidth(33).value_or(0) * 10 + s.columnWidth(34).value_or(0), 106);
  // The house workbook.
  const Sheet h = dbrnHouseWorkbook(sampleDb("use2"), texts()).sheets()[0];
  EXPECT_EQ(h.name(), "S160 (1)");
  EXPECT_EQ(row(h, 0, 18),
            "S404|S517|S646|S266|S711|S612|S730|S375|S594 1S165|S593 1S166|S376|"
            "S594 2S165|S593 2S166|S377|S594 3S165|S593 3S166|S378|S594 4S165|"
            "S593 4S166");
  EXPECT_EQ(row(h, 1, 10), "1|1|av.|Kings|1||1|1|5|50|");
  EXPECT_EQ(row(h, 2, 12), "|2|||3|2|2|1|5|40|2|7|20");
  EXPECT_EQ(row(h, 3, 7), "|3|||5a|2|0|");
  EXPECT_EQ(row(h, 4, 18), "3|1|ln.|Mill|4||4|3|10|10|3|11|12|4|1|2|4|3|4");
  EXPECT_EQ(row(h, 5, 4), "5|1|st.||2");  // the same street name
}

TEST(DbrnWorkbook, LongTablesRunOverSheetsOf65000Rows) {
  std::string sheets;
  for (int64_t n : {0, 65000, 65001, 195001, 300000})
    sheets += std::to_string(sectionSheetCount(n));
  for (int64_t n : {65000, 65001, 260001, 400000}) sheets += std::to_string(houseSheetCount(n));
  EXPECT_EQ(sheets,
            "11244"
            "1255");

  // 65001 sections and houses, all of one street: the second sheets hold one row each, which
  // starts again with its street and its number on the sheet, and the house position goes on.
  DbrnFile big = sampleDb("use2");
  big.sections.assign(65001, big.sections[0]);
  big.houses.assign(65001, HouseRec{0, "1", 0, {{1, 1, 1}}});
  big.streetHouseCounts = {65001, 0, 0, 0, 0};
  big.syncHeaderCounts();
  const Workbook main = dbrnWorkbook(big, texts());
  const Sheet& second = main.sheets().at(4);
  EXPECT_EQ(second.name() + " " + std::to_string(second.rowCount()) + " " + row(second, 1, 3),
            "s58 (2) 2 1|1|av.|Kings");
  const Workbook houseBook = dbrnHouseWorkbook(big, texts());
  EXPECT_EQ(houseBook.sheets().at(1).name() + " " + row(houseBook.sheets()[1], 1, 3),
            "S160 (2) 1|65001|av.|Kings");
  // The export tells of as many rows as the workbooks of level 2 have.
  int64_t rows = 0;
  for (const Workbook* book : {&main, &houseBook})
    for (const Sheet& sheet : book->sheets()) rows += sheet.rowCount();
  EXPECT_EQ(dbrnWorkbookRows(big) + dbrnHouseWorkbookRows(big), rows);
  // The import reads the sections and houses of every sheet.
  DbrnFile back = readDbrnWorkbook(main, "big.xlsx", "eng").db.value();
  EXPECT_FALSE(readDbrnHouseWorkbook(houseBook, "big#.xlsx", back));
  EXPECT_EQ(back.sections.size() + back.houses.size(), 130002u);
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

class WorkbookCells : public ::testing::Test {
 protected:
  WorkbookCells()
      : book(dbrnWorkbook(sampleDb("sys2"), texts())),
        houses(dbrnHouseWorkbook(sampleDb("sys2"), texts())) {}
  Sheet& sheet(int k) { return book.sheets()[static_cast<size_t>(k - 1)]; }
  // The refusal of the main workbook as it now stands.
  std::string refusal() const { return text(readDbrnWorkbook(book, "city.xlsx", "eng").message); }
  std::string houseRefusal() const {
    DbrnWorkbookRead read = readDbrnWorkbook(book, "city.xlsx", "eng");
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
      {7, "0", "S329. S132."}, {7, "300001", "S622 300001 (>300000). S132."},
      {7, "300000", nullptr},
      {8, "0", "S332. S132."}, {8, "100000", "S626 100000 (>99999). S132."}, {8, "99999", nullptr},
      {9, "0", "S331. S132."}, {9, "200001", "S625 200001 (>200000). S132."},
      {9, "200000", nullptr},
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
  // Cells that do not convert or refer to nothing name their place.
  // Sheet (0: of the house workbook), row, column, value and the refusal; changes add up. A
  // blank takes the value above, and the first row has none.
  // clang-format off
  const std::tuple<int, int, int, const char*, const char*> cells[] = {
      {4, 1, 1, "x", "S976 4, S977 2, S978 B S980"}, {4, 1, 1, "9", "S976 4, S977 2, S978 B S1056"},
      {4, 1, 1, "", "S976 4, S977 2, S978 B S980"}, {4, 1, 1, "1", nullptr},
      {4, 2, 13, "many", "S976 4, S977 3, S978 N S980"}, {4, 2, 13, "0", nullptr},
      {0, 1, 7, "9", "S976 1, S977 2, S978 H S1057"}, {0, 1, 7, "1", nullptr},
      {0, 2, 0, "9", "S976 1, S977 3, S978 A S1056"}, {0, 2, 0, "", nullptr},
      {0, 2, 5, "-1", "S976 1, S977 3, S978 F S981"}, {0, 2, 5, "0", nullptr}, {0, 2, 5, "", {}},
      {0, 2, 9, "", "S976 1, S977 3, S978 J S980"}};
  // clang-format on
  for (const auto& [k, r, c, value, expected] : cells) {
    (k ? sheet(k) : houses.sheets()[0]).set(r, c, value);
    const std::string file = k ? "city.xlsx" : "city#.xlsx";
    EXPECT_EQ(k ? refusal() : houseRefusal(),
              expected ? "S132 (\"" + file + "\"): " + expected + "." : "(none)")
        << k << " " << r << " " << c;
  }
  // A code that a spreadsheet keeps as a number gets its leading zeros back.
  sheet(1).set(1, 1, "7");
  EXPECT_EQ(readDbrnWorkbook(book, "city.xlsx", "eng").db.value().header.dbCode, "007");
  // A name cut to its field just after a blank keeps no blank at its end.
  sheet(2).set(1, 1, "abc de");
  sheet(3).set(1, 2, std::string(29, 'x') + " yyyy");
  const DbrnFile cut = readDbrnWorkbook(book, "city.xlsx", "eng").db.value();
  EXPECT_EQ(cut.streetTypes[0].shortName + "|" + cut.streets[0].name,
            "abc|" + std::string(29, 'x'));
  // A turn count of 0 takes every pair.
  sheet(4).set(1, 13, "0");
  EXPECT_EQ(readDbrnWorkbook(book, "city.xlsx", "eng").db.value().sections[0].turns.size(), 3u);
  // Only the first forward turn is taken.
  sheet(4).set(1, 19, "^");
  EXPECT_EQ(readDbrnWorkbook(book, "city.xlsx", "eng").db.value().sections[0].turns.size(), 2u);
  Workbook shorter = book;
  shorter.sheets().pop_back();
  EXPECT_EQ(text(readDbrnWorkbook(shorter, "city.xlsx", "eng").message),
            "S132 (\"city.xlsx\"): S982 4.");
}

TEST(DbrnWorkbookImport, FromFilesWithTheHouseWorkbookBeside) {
  test::TempDir dir;
  const fs::path main = dir / "River town.xlsx";

  const auto messages = [&](const ImportedDbrnWorkbook& w) {
    std::string out = w.loaded ? "loaded:" : "refused:";
    for (const Message& m : w.messages)
      out += " " + m.utf8(texts()) + (m.kind == MessageKind::Warning ? "?" : "!");
    return out;
  };
  EXPECT_EQ(messages(importDbrnWorkbook(main, "eng")), "refused: S970 \"River town.xlsx\" S971.!");

  office::writeXlsx(dbrnWorkbook(sampleDb("sys2"), texts()), main);
  // Without its house workbook the main one loads, with a warning.
  const ImportedDbrnWorkbook streetsOnly = importDbrnWorkbook(main, "eng");
  EXPECT_EQ(streetsOnly.workbookName + " " + std::to_string(streetsOnly.loaded->db.houses.size()),
            "River town.xlsx 0");
  EXPECT_EQ(messages(streetsOnly),
            "loaded: S27: \"" + (dir / "River town#.xlsx").string() + "\". S433.?");

  dir.write("River town#.xlsx", "not a workbook");
  EXPECT_EQ(messages(importDbrnWorkbook(main, "eng")), "refused: S970 \"River town#.xlsx\" S972.!");

  office::writeXlsx(dbrnHouseWorkbook(sampleDb("sys2"), texts()), houseWorkbookPath(main));
  const ImportedDbrnWorkbook whole = importDbrnWorkbook(main, "eng");
  ASSERT_EQ(messages(whole), "loaded:");
  EXPECT_EQ(whole.loaded->db.houses, sampleDb("sys2").houses);
  EXPECT_EQ(whole.loaded->db.header.dbKind + " " + whole.loaded->curKind + " " +
                whole.loaded->kindCaption.utf8(texts()),
            "sys2 use2 use2 (S511)");
}

}  // namespace
}  // namespace qj
