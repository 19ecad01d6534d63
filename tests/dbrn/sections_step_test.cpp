// Step 4 of the database wizard: the section rows against every check in its order, the
// network checks, the row commands across the three grids and the page's pickers.

#include "dbrn/sections_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"

namespace qj {
namespace {

using test::setRow;
namespace sc = sectionCol;
namespace hc = houseCol;

class SectionsStep : public test::DbrnWizardFixture {
 protected:
  std::string check() { return outcome(checkSectionsPage(s)); }
  // Cells of the three grids changed (row, column of Table1, text), checked, then restored.
  using Cells = std::vector<std::tuple<int, int, const char*>>;
  std::string withCells(const Cells& cells) {
    const GridTable t1 = s.table1, t2 = s.table2, t3 = s.table3;
    for (const auto& [row, col, value] : cells) s.table1.set(row, col, value);
    std::string result = refusal(checkSectionsPage(s));
    std::tie(s.table1, s.table2, s.table3) = std::tie(t1, t2, t3);
    return result;
  }
  // Row 3 (Elm) changed in one column.
  std::string withCell(int col, const char* value) {
    const std::string kept = s.table1.cell(2, col);
    s.table1.set(2, col, value);
    std::string result = check();
    s.table1.set(2, col, kept);
    return result;
  }
};

TEST_F(SectionsStep, EveryRowPassesItsChecksInOrder) {
  enterUntil(1, 4);
  // Column, value, outcome; a street never picked with the SpaceBar is no street.
  // clang-format off
  const std::tuple<int, const char*, const char*> cases[] = {
      {sc::kType, " ", "S444 3."}, {sc::kType, "xx", "S355 3."}, {sc::kName, "", "S443 3, S150."},
      {sc::kStreet, "", "S443 3, S150."}, {sc::kStart, "", "S295 3."}, {sc::kSpeed, "", "S295 3."},
      {sc::kStart, "1x", "S350 3."}, {sc::kEnd, "x", "S349 3."}, {sc::kLength, "1,2,3", "S345 3."},
      {sc::kSpeed, "x", "S354 3."}, {sc::kStart, "0", "S367 3."}, {sc::kEnd, "0", "S366 3."},
      {sc::kFrom, "", "S449 3."}, {sc::kFrom, "a1", "S363 3, S776."}, {sc::kTo, "", "S450 3."},
      {sc::kTo, "5b5", "S364 3, S776."}, {sc::kTo, "1", "S338 3."},
      {sc::kTo, "4", "S335 3, S777."}, {sc::kFrom, "12\xE0", "S335 3, S777."},
      {sc::kLength, "12.5", "passed"}, {sc::kLength, "0", "passed"},
      {sc::kSpeed, "0,0", "S1070 3."}, {sc::kSpeed, "-5", "S1070 3."},
      {sc::kSpeed, "0,1", "passed"}, {sc::kStart, "99999", "passed"}};
  // clang-format on
  for (const auto& [col, value, expected] : cases)
    EXPECT_EQ(withCell(col, value), expected) << col << value;
  // A street index past the records (a street dropped since) names no street either.
  EXPECT_EQ(withCell(sc::kStreet, std::to_string(s.streetTotal()).c_str()), "S443 3, S150.");
  s.table1.set(2, sc::kSpeed, "0");
  EXPECT_EQ(checkSectionsPage(s).check.column, sc::kSpeed);  // the cell to make current
  // Level-1 house numbers: digits with a lower-case letter at the end, of one parity.
  for (const char* ok : {"12", "12\xE0", "12a", "12z"}) EXPECT_TRUE(isSectionHouseNumber(ok)) << ok;
  for (const char* bad : {"a", "1a2", "12B", ""}) EXPECT_FALSE(isSectionHouseNumber(bad)) << bad;
  // What each number column takes as typed at level 1.
  // clang-format off
  const std::tuple<int, const char*, bool> typed[] = {
      {sc::kFrom, "12az", true}, {sc::kTo, "12345", false}, {sc::kTo, "1/", false},
      {sc::kStart, "12345", true}, {sc::kEnd, "123456", false}, {sc::kEnd, "1,", false},
      {sc::kLength, "1234,56", true}, {sc::kSpeed, "1234,567", false}, {sc::kType, "1", false}};
  // clang-format on
  for (const auto& [col, text, ok] : typed)
    EXPECT_EQ(SectionGridRules(s).accepts(s.table1, 0, col, text), ok) << col << text;
  s.table1.set(2, sc::kSpeed, "35,0");
  EXPECT_TRUE(sameParity("12\xE0", "18") && sameParity("1", "19") && !sameParity("12\xE0", "17"));
  // A section without a street has the mark and no name or numbers.
  const int none = 4;
  // clang-format off
  const std::tuple<const char*, const char*, const char*, const char*, const char*> unnamed[] = {
      {"", " ", "", "", "S441 5, S152."}, {"  *", "x", "", "", "S470 5, S151)."},
      {"  *", " ", "1", "", "S472 5, S151."}, {"  *", " ", "", "2", "S471 5, S151."},
      {"  *", " ", "", "", "passed"}};
  // clang-format on
  for (const auto& [mark, name, from, to, expected] : unnamed) {
    setRow(s.table1, none,
           {{sc::kNonStd, mark}, {sc::kName, name}, {sc::kFrom, from}, {sc::kTo, to}});
    s.wizardStep = 4;
    EXPECT_EQ(check(), expected) << mark << name << from << to;
  }
  // With the mark of non-standard numbering the house numbers of a street are not checked.
  s.table1.set(2, sc::kNonStd, "  *");
  EXPECT_EQ(withCell(sc::kFrom, ""), "passed");
}

// Two faults on page 4 at once: the message of the one checked first. Every row passes its
// checks in their order before the next row is checked, then the node pairs row by row (a loop
// before a repeat), then the repeated ranges.
TEST_F(SectionsStep, OfTwoFaultsTheOneCheckedFirstIsReported) {
  const int elm = 2, none = 4;
  // clang-format off
  const std::pair<Cells, const char*> level1[] = {
      {{{elm, sc::kType, " "}, {elm, sc::kStart, ""}}, "S444 3. @2:1 Table1"},
      {{{elm, sc::kType, "xx"}, {elm, sc::kName, ""}}, "S355 3. @2:1 Table1"},
      {{{elm, sc::kName, ""}, {elm, sc::kStart, ""}}, "S443 3, S150. @2:2 Table1"},
      {{{elm, sc::kStart, ""}, {elm, sc::kEnd, "x"}}, "S295 3. @2:6 Table1"},
      {{{elm, sc::kStart, "1x"}, {elm, sc::kEnd, "x"}}, "S350 3. @2:6 Table1"},
      {{{elm, sc::kEnd, "x"}, {elm, sc::kLength, "1,2,3"}}, "S349 3. @2:7 Table1"},
      {{{elm, sc::kLength, "1,2,3"}, {elm, sc::kSpeed, "x"}}, "S345 3. @2:8 Table1"},
      {{{elm, sc::kSpeed, "x"}, {elm, sc::kStart, "0"}}, "S354 3. @2:9 Table1"},
      {{{elm, sc::kStart, "0"}, {elm, sc::kEnd, "0"}}, "S367 3. @2:6 Table1"},
      {{{elm, sc::kEnd, "0"}, {elm, sc::kFrom, ""}}, "S366 3. @2:7 Table1"},
      {{{elm, sc::kFrom, ""}, {elm, sc::kTo, ""}}, "S449 3. @2:3 Table1"},
      {{{elm, sc::kFrom, "a1"}, {elm, sc::kTo, ""}}, "S363 3, S776. @2:3 Table1"},
      {{{elm, sc::kTo, ""}, {elm, sc::kSpeed, "0"}}, "S450 3. @2:4 Table1"},
      {{{elm, sc::kTo, "5b5"}, {elm, sc::kSpeed, "0"}}, "S364 3, S776. @2:4 Table1"},
      {{{elm, sc::kTo, "1"}, {elm, sc::kSpeed, "0"}}, "S338 3. @2:4 Table1"},
      {{{elm, sc::kTo, "4"}, {elm, sc::kSpeed, "0"}}, "S335 3, S777. @2:4 Table1"},
      // a section without a street: the mark, the name, then the two numbers
      {{{none, sc::kNonStd, ""}, {none, sc::kName, "x"}}, "S441 5, S152. @4:5 Table1"},
      {{{none, sc::kName, "x"}, {none, sc::kFrom, "1"}}, "S470 5, S151). @4:2 Table1"},
      {{{none, sc::kFrom, "1"}, {none, sc::kTo, "2"}}, "S472 5, S151. @4:3 Table1"},
      {{{none, sc::kTo, "2"}, {none, sc::kStart, ""}}, "S471 5, S151. @4:4 Table1"},
      // the last check of a row before the first of the next
      {{{1, sc::kEnd, "0"}, {elm, sc::kType, " "}}, "S366 2. @1:7 Table1"},
      // the rows before the network; a loop or a repeat of an earlier row first
      {{{none, sc::kNonStd, ""}, {3, sc::kStart, "1"}, {3, sc::kEnd, "2"}},
       "S441 5, S152. @4:5 Table1"},
      {{{1, sc::kStart, "1"}, {1, sc::kEnd, "2"}, {3, sc::kEnd, "3"}},
       "S469 1 S1 2 S604 (00001 S1 00002). @1:6 Table1"},
      {{{0, sc::kEnd, "1"}, {elm, sc::kEnd, "1"}}, "S337 1. @0:7 Table1"},
      // a repeated pair of nodes before a repeated range
      {{{1, sc::kFrom, "1"}, {1, sc::kTo, "9"}, {3, sc::kStart, "2"}, {3, sc::kEnd, "3"}},
       "S469 3 S1 4 S604 (00002 S1 00003). @3:6 Table1"},
  };
  // clang-format on
  enterUntil(1, 4);
  for (const auto& [cells, expected] : level1) EXPECT_EQ(withCells(cells), expected);
  EXPECT_EQ(withCells({{1, sc::kFrom, "1"}, {1, sc::kTo, "9"}}),
            "S157 1 S1 2 S192. S203. @1 Table1");

  // Level 2: the nodes before the house numbers, which need not be of one form.
  s = newDbrnWizard(kCreateDbrn, ',', "eng", app.texts);
  enterUntil(2, 4);
  // clang-format off
  const std::pair<Cells, const char*> level2[] = {
      {{{elm, sc::kFrom, ""}, {elm, sc::kTo, ""}}, "S448 3. @2:3 Table1"},
      {{{elm, sc::kTo, ""}, {elm, sc::kStart, "0"}}, "S367 3. @2:6 Table1"},
      {{{elm, sc::kTo, "1"}, {elm, sc::kSpeed, "0"}}, "S336 3. @2:4 Table1"},
      {{{elm, sc::kFrom, "a"}, {elm, sc::kTo, "x/1"}, {elm, sc::kSpeed, "0"}},
       "S1070 3. @2:9 Table1"},
  };
  // clang-format on
  for (const auto& [cells, expected] : level2) EXPECT_EQ(withCells(cells), expected);

  // More rows than a database holds are refused before any row is checked.
  for (GridTable* t : {&s.table1, &s.table2, &s.table3}) t->setRows(kMaxSections + 1);
  s.table1.set(0, sc::kType, "");
  EXPECT_EQ(refusal(checkSectionsPage(s)), "S307 200001 (>200000). @-1 Table1");
}

TEST_F(SectionsStep, LevelTwoNeedsHouseNumbersOfAnyFormAndRefusesSectionsWithoutAStreet) {
  enterUntil(2, 4);
  EXPECT_EQ(withCell(sc::kFrom, ""), "S448 3.");
  EXPECT_EQ(withCell(sc::kTo, ""), "S447 3.");
  EXPECT_EQ(withCell(sc::kTo, "1"), "S336 3.");
  EXPECT_EQ(withCell(sc::kFrom, "12/1"), "passed");
  EXPECT_TRUE(SectionGridRules(s).accepts(s.table1, 0, sc::kFrom, "123456/\\a"));
  EXPECT_FALSE(SectionGridRules(s).accepts(s.table1, 0, sc::kFrom, "1234567/\\a"));
  typeSection(4, "none", "", "", "", "3", "4");
  EXPECT_EQ(check(), "S441 5, S152.");
}

TEST_F(SectionsStep, TheNetworkIsCheckedForLoopsPairsRangesAndNodes) {
  enterUntil(1, 4);
  s.table1.set(3, sc::kEnd, "3");
  EXPECT_EQ(refusal(checkSectionsPage(s)), "S337 4. @3:7 Table1");
  s.table1.set(3, sc::kEnd, "1");
  // A section from 1 to 2 again, named by the later row; the reverse direction is no repeat.
  typeSection(5, "av.", "Kings", "9", "11", "1", "2");
  EXPECT_EQ(refusal(checkSectionsPage(s)), "S469 1 S1 6 S604 (00001 S1 00002). @5:6 Table1");
  // The same street and range twice.
  typeSection(5, "av.", "Kings", "1", "7", "4", "1");
  const StepResult r = checkSectionsPage(s);
  EXPECT_EQ(refusal(r), "S157 4 S1 6 S192. S203. @5 Table1");
  EXPECT_TRUE(r.check.scrollOnly);  // the row comes to the top; the focus stays
  // Two streets of one type may have the same range; a name indented under the row above is
  // the same street.
  typeSection(5, "st.", "Elm", "1", "9", "4", "1");
  EXPECT_EQ(check(), "passed");
  s.table1.set(5, sc::kName, "  Oak");
  EXPECT_EQ(refusal(checkSectionsPage(s)), "S157 1 S1 6 S192. S203. @5 Table1");
  // Sections without a street are never compared by range.
  typeSection(5, "none", "", "", "", "4", "1", "  *");
  EXPECT_EQ(check(), "passed");
  EXPECT_EQ(s.nodeCount * 100 + s.sectionTotal * 10 + s.wizardStep, 465);
  // 99999 nodes pass and one more is refused: sections chained over the node numbers.
  const int rows = 50000;
  s.table1.clear();
  for (GridTable* t : {&s.table1, &s.table2, &s.table3}) t->setRows(rows);
  for (int i = 0; i < rows; ++i)
    // clang-format off
    setRow(s.table1, i, {{sc::kType, "none"}, {sc::kNonStd, "  *"}, {sc::kLength, "1"},
                         {sc::kSpeed, "1"}, {sc::kStart, std::to_string(2 * i + 1).c_str()},
                         {sc::kEnd, std::to_string(2 * i + 2).c_str()}});
  // clang-format on
  EXPECT_EQ(check(), "S309 100000 (>99999).");
  s.table1.set(rows - 1, sc::kEnd, "1");
  EXPECT_EQ(check(), "passed");
  EXPECT_EQ(s.nodeCount, 99999);
}

TEST_F(SectionsStep, TheSpaceBarEntersThePickedStreetAndSetsTheMarks) {
  enterUntil(1, 4);
  s.db.streetTypes.push_back({"lane", "ln.", 0});  // no street has it: not offered
  fillSectionPickers(s);
  EXPECT_EQ(test::items(s.list1), "avenue (av.)=0;*street (st.)=1;unnamed (none)=2;");
  s.db.streetTypes.pop_back();
  EXPECT_TRUE(sectionGridKey(s, GridKey::PrevType, 2, sc::kName).pickersChanged);
  EXPECT_EQ(test::items(s.list2), "*Kings=0;");
  EXPECT_EQ(sectionGridKey(s, GridKey::Space, 2, sc::kName).firstRow, 2);
  EXPECT_EQ(s.table1.cell(2, sc::kName) + s.table1.cell(2, sc::kStreet), "Kings0");
  EXPECT_EQ(text(sectionInfo(s, 2)), "S156 3 S674 - \"avenue (av.) Kings\".");
  EXPECT_EQ(text(sectionInfo(s, 0)) + "|" + text(sectionInfo(s, 5)),
            "S156 1 S674 - \"street (st.) Oak\".|");
  // The page opens on the line of its current row, kept within the grid.
  std::string lines;
  for (int current : {-1, 3, 99})
    lines += text(*updatedText(prepareSectionsPage(s, current), "Label_02")) + "|";
  EXPECT_EQ(lines,
            "S156 1 S674 - \"street (st.) Oak\".|S156 4 S674 - \"avenue (av.) Kings\".|"
            "S156 5 S674 - \"unnamed (none) \".|");
  std::string marks;
  for (int col : {sc::kClosed, sc::kClosed, sc::kNonStd}) {
    sectionGridKey(s, GridKey::Space, 2, col);
    marks += "[" + s.table1.cell(2, col) + "]";
  }
  EXPECT_EQ(marks, "[  *][][  *]");
  EXPECT_TRUE(sectionGridKey(s, GridKey::Delete, 2, sc::kName).handled);
  EXPECT_FALSE(sectionGridKey(s, GridKey::Delete, 2, sc::kFrom).handled);
  // Type, name and marks are entered by keys only; numbers are typed.
  std::string typable;
  for (int col = 0; col <= sc::kCount; ++col)
    typable += SectionGridRules(s).typable(s.table1, 2, col) ? 't' : '.';
  EXPECT_EQ(typable, "...tt.tttt...");
  s.mode = kViewDbrn;  // where the keys do nothing
  EXPECT_FALSE(sectionGridKey(s, GridKey::Space, 2, sc::kClosed).handled);
}

// Viewing lists the sections of the streets whose type and name hold the phrases, up to level
// 2; a name repeated from the row above is indented.
TEST_F(SectionsStep, ViewingListsTheSectionsOfTheStreetsThatPassTheFilter) {
  enterUntil(2, 7);
  s.mode = kViewDbrn;
  std::string listed;
  for (const auto& [level, type, name] :
       {std::tuple(2, "", ""), {2, "st", ""}, {2, "", "Elm"}, {2, "av", "Elm"}, {3, "", ""}}) {
    s.level = level;
    s.keyPhraseType = type;
    s.keyPhraseName = name;
    prepareSectionsPage(s, 0);
    listed += std::to_string(s.sectionRowCount) + test::column(s.table1, sc::kName) + "|";
  }
  EXPECT_EQ(listed, "4[Oak][  Oak][Elm][Kings]|3[Oak][  Oak][Elm]|1[Elm]|0[]|0[]|");
  // The reverse sections are the database's, as no turns page works them out when viewing.
  std::tie(s.level, s.keyPhraseType, s.keyPhraseName) = std::tuple(2, "", "");
  prepareSectionsPage(s, 0);
  EXPECT_EQ(test::column(s.table3, accessCol::kReverse), "[2][1][][]");
  // Numbers stored with either separator are shown with the one in use.
  std::tie(s.db.sections[0].length, s.db.sections[0].speed) = std::pair("175.5", "40,5");
  std::tie(s.level, s.keyPhraseType, s.keyPhraseName) = std::tuple(2, "", "");
  for (const char sep : {',', '.'}) {
    s.decSep = sep;
    prepareSectionsPage(s, 0);
    EXPECT_EQ(s.table1.cell(0, sc::kLength) + " " + s.table1.cell(0, sc::kSpeed),
              sep == ',' ? "175,5 40,5" : "175.5 40.5");
  }
}

// Viewing enters nothing from the pickers: they show the street that Label_02 names, as the
// page opens and at every row chosen. Elsewhere they keep the street to enter.
TEST_F(SectionsStep, ViewingPickersShowTheStreetOfTheRowDescribed) {
  enterUntil(2, 7);
  const auto picked = [this] {
    return s.list1.items[s.list1.row] + " / " + s.list2.items[s.list2.row];
  };
  s.mode = kViewDbrn;
  prepareSectionsPage(s, 3);
  EXPECT_EQ(picked(), "avenue (av.) / Kings");
  EXPECT_EQ(text(chooseSectionRow(s, 1)), "S156 2 S674 - \"street (st.) Oak\".");
  EXPECT_EQ(picked(), "street (st.) / Oak");
  EXPECT_EQ(text(chooseSectionRow(s, 2)), "S156 3 S674 - \"street (st.) Elm\".");
  EXPECT_EQ(picked(), "street (st.) / Elm");
  s.mode = kCorrectDbrn;  // the type "street" and its first street
  prepareSectionsPage(s, 3);
  EXPECT_EQ(picked(), "street (st.) / Elm");
  EXPECT_EQ(text(chooseSectionRow(s, 1)), "S156 2 S674 - \"street (st.) Oak\".");
  EXPECT_EQ(picked(), "street (st.) / Elm");
  // Back from the turns page, in every mode: the street of the row described.
  s.wizardStep = 5;
  dbrnBack(s);
  EXPECT_EQ(picked(), "street (st.) / Oak");
}

TEST_F(SectionsStep, RowsAreInsertedAndDeletedInAllThreeGridsAndHouseLinksFollow) {
  enterUntil(2, 4);
  s.table2.set(2, turnCol::node(0), "1");
  s.table3.set(2, accessCol::kPrevClosed, "  *");
  s.db.houses = {HouseRec{0, "5", 0, {{1, 0, 5}, {3, 0, 6}, {4, 0, 7}}}};
  // clang-format off
  setRow(s.table4, 0, {{hc::kStreet, "5"}, {hc::section(0), "3"}, {hc::exitToEnd(0), "9"},
                       {hc::section(1), "4"}, {hc::exitToEnd(1), "8"}, {hc::section(2), "1"},
                       {hc::exitToEnd(2), "7"}, {hc::section(3), "2"}, {hc::exitToEnd(3), "6"}});
  // clang-format on
  const auto links = [&] {
    std::string out;
    for (const HouseLinkRec& l : s.db.houses[0].links)
      out += std::to_string(l.sectionNo) + ":" + std::to_string(l.distExitToEnd) + " ";
    for (int k = 0; k < 4; ++k)
      out += "|" + s.table4.cell(0, hc::section(k)) + ":" + s.table4.cell(0, hc::exitToEnd(k));
    return out + "|" + s.table4.cell(0, hc::kStreet);  // the street index is no link
  };

  EXPECT_TRUE(sectionGridKey(s, GridKey::InsertRow, 1, sc::kFrom).rowsChanged);
  for (const GridTable* t : {&s.table1, &s.table2, &s.table3})
    EXPECT_EQ(test::column(*t, 0), "[1][2][3][4][5]");
  EXPECT_EQ(s.table1.cell(2, sc::kType) + " " + s.table1.cell(2, sc::kSpeed) + " " +
                s.table2.cell(3, turnCol::node(0)) + s.table3.cell(3, accessCol::kPrevClosed),
            "st. 35 1  *");
  // The new row is section 3: sections 1 and 2 stay, the later ones move on by one.
  EXPECT_EQ(links(), "1:5 4:6 5:7 |4:9|5:8|1:7|2:6|5");

  // Deleting section 4 (the old 3) takes its links away; the later link moves forward.
  sectionGridKey(s, GridKey::DeleteRow, 3, sc::kFrom);
  EXPECT_EQ(test::column(s.table2, 0), "[1][2][3][4]");
  EXPECT_EQ(links(), "1:5 4:7 |4:8|1:7|2:6|:|5");
  for (int row : {-1, 4}) sectionGridKey(s, GridKey::DeleteRow, row, sc::kFrom);  // no rows
  // Deleting the first section takes the first link; the last row is never deleted.
  sectionGridKey(s, GridKey::DeleteRow, 0, sc::kFrom);
  EXPECT_EQ(links(), "3:7 |3:8|1:6|:|:|5");
  for (int i = 0; i < 5; ++i) sectionGridKey(s, GridKey::DeleteRow, 0, sc::kFrom);
  EXPECT_EQ(s.table1.rows(), 1);
}

}  // namespace
}  // namespace qj
