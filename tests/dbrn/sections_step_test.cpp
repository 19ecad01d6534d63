// Step 4 of the database wizard: the section rows against every check in its order, the
// network checks, the row commands across the three grids and the page's pickers.

#include "dbrn/sections_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/summary_step.h"

namespace qj {
namespace {

using test::setRow;
namespace sc = sectionCol;

class SectionsStep : public test::DbrnWizardFixture {
 protected:
  void openPage(int level) {
    passIdentity(level);
    typeStreetTypes();
    passStreetTypes();
    typeStreets();
    passStreets();
    typeSections();
  }
  std::string check() { return outcome(checkSectionsPage(s)); }
  // Row 2 (Elm) changed in one column.
  std::string withCell(int col, const char* value) {
    const std::string kept = s.table1.cell(2, col);
    s.table1.set(2, col, value);
    std::string result = check();
    s.table1.set(2, col, kept);
    return result;
  }
};

TEST_F(SectionsStep, EveryRowPassesItsChecksInOrder) {
  openPage(1);
  EXPECT_EQ(withCell(sc::kType, " "), "S444 3.");
  EXPECT_EQ(withCell(sc::kType, "xx"), "S355 3.");
  EXPECT_EQ(withCell(sc::kName, ""), "S443 3, S150.");
  // A street never picked with the SpaceBar is no street.
  EXPECT_EQ(withCell(sc::kStreet, ""), "S443 3, S150.");
  EXPECT_EQ(withCell(sc::kStart, ""), "S295 3.");
  EXPECT_EQ(withCell(sc::kSpeed, ""), "S295 3.");
  // Node texts of a file read with other characters than digits.
  EXPECT_EQ(withCell(sc::kStart, "1x"), "S350 3.");
  EXPECT_EQ(withCell(sc::kEnd, "x"), "S349 3.");
  EXPECT_EQ(withCell(sc::kLength, "1,2,3"), "S345 3.");
  EXPECT_EQ(withCell(sc::kSpeed, "x"), "S354 3.");
  EXPECT_EQ(withCell(sc::kStart, "0"), "S367 3.");
  EXPECT_EQ(withCell(sc::kEnd, "0"), "S366 3.");
  EXPECT_EQ(withCell(sc::kFrom, ""), "S449 3.");
  EXPECT_EQ(withCell(sc::kFrom, "a1"), "S363 3, S776.");
  EXPECT_EQ(withCell(sc::kTo, ""), "S450 3.");
  EXPECT_EQ(withCell(sc::kTo, "5b5"), "S364 3, S776.");
  EXPECT_EQ(withCell(sc::kTo, "1"), "S338 3.");
  EXPECT_EQ(withCell(sc::kTo, "4"), "S335 3, S777.");
  // Stored lengths keep the separator they were typed with.
  EXPECT_EQ(withCell(sc::kLength, "12.5"), "passed");
  // A speed must be above 0 (an imported one may be negative); a length of 0 is allowed.
  EXPECT_EQ(withCell(sc::kSpeed, "0,0"), "S1070 3.");
  EXPECT_EQ(withCell(sc::kSpeed, "-5"), "S1070 3.");
  EXPECT_EQ(withCell(sc::kLength, "0"), "passed");
  s.table1.set(2, sc::kSpeed, "0");
  const StepResult r = checkSectionsPage(s);
  EXPECT_EQ(std::pair(r.check.row, r.check.column), std::pair(2, sc::kSpeed));
}

TEST_F(SectionsStep, HouseNumbersOfLevelOneAreDigitsWithALetterAndOfOneParity) {
  EXPECT_TRUE(isSectionHouseNumber("12"));
  EXPECT_TRUE(isSectionHouseNumber("12\xE0"));  // а
  EXPECT_TRUE(isSectionHouseNumber("12b"));
  EXPECT_FALSE(isSectionHouseNumber("a"));
  EXPECT_FALSE(isSectionHouseNumber("1a2"));
  EXPECT_FALSE(isSectionHouseNumber("12B"));
  EXPECT_TRUE(sameParity("12\xE0", "18"));
  EXPECT_FALSE(sameParity("12\xE0", "17"));
  EXPECT_TRUE(sameParity("1", "19"));
  openPage(1);
  EXPECT_EQ(withCell(sc::kFrom, "12\xE0"), "S335 3, S777.");
  s.table1.set(2, sc::kTo, "18");
  EXPECT_EQ(withCell(sc::kFrom, "12\xE0"), "passed");
}

TEST_F(SectionsStep, ASectionWithoutAStreetHasTheMarkAndNoNameOrNumbers) {
  openPage(1);
  const int none = 4;
  s.table1.set(none, sc::kNonStd, "");
  EXPECT_EQ(check(), "S441 5, S152.");
  s.table1.set(none, sc::kNonStd, "  *");
  s.table1.set(none, sc::kName, "x");
  EXPECT_EQ(check(), "S470 5, S151).");
  s.table1.set(none, sc::kName, " ");
  s.table1.set(none, sc::kFrom, "1");
  EXPECT_EQ(check(), "S472 5, S151.");
  s.table1.set(none, sc::kFrom, "");
  s.table1.set(none, sc::kTo, "2");
  EXPECT_EQ(check(), "S471 5, S151.");
  s.table1.set(none, sc::kTo, "");
  // With the mark of non-standard numbering the house numbers of a street are not checked.
  s.table1.set(2, sc::kNonStd, "  *");
  s.table1.set(2, sc::kFrom, "");
  EXPECT_EQ(check(), "passed");
  // The row needs no street picked: it belongs to the program's street.
  EXPECT_EQ(s.table1.cell(none, sc::kStreet), "");
}

TEST_F(SectionsStep, LevelTwoNeedsHouseNumbersOfAnyFormAndRefusesSectionsWithoutAStreet) {
  openPage(2);
  EXPECT_EQ(withCell(sc::kFrom, ""), "S448 3.");
  EXPECT_EQ(withCell(sc::kTo, ""), "S447 3.");
  EXPECT_EQ(withCell(sc::kTo, "1"), "S336 3.");
  EXPECT_EQ(withCell(sc::kFrom, "12/1"), "passed");
  const SectionGridRules rules(s);
  EXPECT_TRUE(rules.accepts(s.table1, 0, sc::kFrom, "123456/\\a"));
  EXPECT_FALSE(rules.accepts(s.table1, 0, sc::kFrom, "1234567890"));
  typeSection(4, "none", "", "", "", "3", "4");
  EXPECT_EQ(check(), "S441 5, S152.");
}

TEST_F(SectionsStep, NodesArePaddedEvenWhenTheStepIsRefused) {
  openPage(1);
  s.table1.set(2, sc::kFrom, "");
  EXPECT_EQ(check(), "S449 3.");
  EXPECT_EQ(s.table1.cell(0, sc::kStart), "00001");
  EXPECT_EQ(s.table2.cell(0, turnCol::kStart), "00001");
  EXPECT_EQ(s.table3.cell(0, accessCol::kEnd), "00002");
  EXPECT_EQ(s.table2.cell(2, turnCol::kName), "st. Elm, -5");
  EXPECT_EQ(s.table2.cell(1, turnCol::kName), "  st. Oak, 2-10");
  EXPECT_EQ(s.table3.cell(4, accessCol::kName), "none , -  *");
  EXPECT_EQ(paddedNode(" 12345 "), "12345");
  EXPECT_EQ(paddedNode(""), "");
}

TEST_F(SectionsStep, TheNetworkIsCheckedForLoopsPairsRangesAndNodes) {
  openPage(1);
  s.table1.set(3, sc::kEnd, "3");
  StepResult r = checkSectionsPage(s);
  EXPECT_EQ(outcome(r), "S337 4.");
  EXPECT_EQ(r.check.row, 3);
  s.table1.set(3, sc::kEnd, "1");
  // A section from 1 to 2 again, named by the later row; the reverse direction is no repeat.
  typeSection(5, "av.", "Kings", "9", "11", "1", "2");
  r = checkSectionsPage(s);
  EXPECT_EQ(outcome(r), "S469 1 S1 6 S604 (00001 S1 00002).");
  EXPECT_EQ(r.check.row, 5);
  // The same street and range twice.
  typeSection(5, "av.", "Kings", "1", "7", "4", "1");
  r = checkSectionsPage(s);
  EXPECT_EQ(outcome(r), "S157 4 S1 6 S192. S203.");
  EXPECT_EQ(r.check.row, 5);
  EXPECT_TRUE(r.check.scrollOnly);  // the row comes to the top; the focus stays
  // Sections without a street are never compared by range.
  typeSection(5, "none", "", "", "", "4", "1", "  *");
  EXPECT_EQ(check(), "passed");
  EXPECT_EQ(s.nodeCount, 4);
  EXPECT_EQ(s.sectionTotal, 6);
  EXPECT_EQ(s.wizardStep, 5);
}

TEST_F(SectionsStep, NodeAndRowLimits) {
  openPage(1);
  // 99999 nodes pass and one more is refused: sections chained over the node numbers.
  const int rows = 50000;
  for (GridTable* t : {&s.table1, &s.table2, &s.table3}) {
    t->clear();
    t->setRows(rows);
  }
  for (int r = 0; r < rows; ++r) {
    setRow(s.table1, r,
           {{sc::kType, "none"}, {sc::kNonStd, "  *"}, {sc::kLength, "1"}, {sc::kSpeed, "1"}});
    s.table1.set(r, sc::kStart, std::to_string(2 * r + 1));
    s.table1.set(r, sc::kEnd, std::to_string(2 * r + 2));
  }
  EXPECT_EQ(check(), "S309 100000 (>99999).");
  s.table1.set(rows - 1, sc::kEnd, "1");
  EXPECT_EQ(check(), "passed");
  EXPECT_EQ(s.nodeCount, 99999);
  for (GridTable* t : {&s.table1, &s.table2, &s.table3}) t->setRows(kMaxSections + 1);
  EXPECT_EQ(check(), "S307 200001 (>200000).");
}

TEST_F(SectionsStep, ViewModeNeverRefusesAndTakesTheCountsFromTheHeader) {
  openPage(1);
  s.mode = kViewDbrn;
  s.db.header.nodeCount = 17;
  s.db.header.sectionCount = 23;
  s.table1.set(0, sc::kType, "");
  EXPECT_EQ(check(), "passed");
  EXPECT_EQ(s.nodeCount, 17);
  EXPECT_EQ(s.sectionTotal, 23);
}

TEST_F(SectionsStep, TheSpaceBarEntersThePickedStreetAndSetsTheMarks) {
  openPage(1);
  ASSERT_EQ(s.list1.items[s.list1.row], "street (st.)");
  ASSERT_EQ(s.list2.items, (std::vector<std::string>{"Elm", "Oak"}));
  GridKeyResult r = sectionGridKey(s, GridKey::NextName, 0, sc::kType);
  EXPECT_TRUE(r.pickersChanged);
  EXPECT_EQ(s.list2.row, 1);
  EXPECT_FALSE(sectionGridKey(s, GridKey::NextName, 0, sc::kType).pickersChanged);
  sectionGridKey(s, GridKey::PrevType, 2, sc::kName);
  EXPECT_EQ(s.list1.items[s.list1.row], "avenue (av.)");
  EXPECT_EQ(s.list2.items, (std::vector<std::string>{"Kings"}));
  r = sectionGridKey(s, GridKey::Space, 2, sc::kName);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.firstRow, 2);
  EXPECT_EQ(s.table1.cell(2, sc::kType), "av.");
  EXPECT_EQ(s.table1.cell(2, sc::kName), "Kings");
  EXPECT_EQ(s.table1.cell(2, sc::kStreet), std::to_string(street("av.", "Kings")));
  EXPECT_EQ(text(sectionInfo(s, 2)), "S156 3 S674 - \"avenue (av.) Kings\".");
  EXPECT_TRUE(sectionInfo(s, 99).empty());
  sectionGridKey(s, GridKey::Space, 2, sc::kClosed);
  EXPECT_EQ(s.table1.cell(2, sc::kClosed), "  *");
  sectionGridKey(s, GridKey::Space, 2, sc::kClosed);
  EXPECT_EQ(s.table1.cell(2, sc::kClosed), "");
  sectionGridKey(s, GridKey::Space, 2, sc::kNonStd);
  EXPECT_EQ(s.table1.cell(2, sc::kNonStd), "  *");
  EXPECT_TRUE(sectionGridKey(s, GridKey::Delete, 2, sc::kName).handled);
  EXPECT_FALSE(sectionGridKey(s, GridKey::Delete, 2, sc::kFrom).handled);
  // In view mode the keys do nothing.
  s.mode = kViewDbrn;
  EXPECT_FALSE(sectionGridKey(s, GridKey::Space, 2, sc::kClosed).handled);
}

TEST_F(SectionsStep, RowsAreInsertedAndDeletedInAllThreeGridsAndHouseLinksFollow) {
  openPage(2);
  s.table2.set(2, turnCol::node(0), "1");
  s.table3.set(2, accessCol::kPrevClosed, "  *");
  s.db.houses = {HouseRec{0, "5", 0, {{1, 0, 5}, {3, 0, 6}, {4, 0, 7}}}};
  s.table4.setRows(1);
  setRow(s.table4, 0,
         {{houseCol::section(0), "3"},
          {houseCol::toExit(0), "0"},
          {houseCol::exitToEnd(0), "9"},
          {houseCol::section(1), "4"},
          {houseCol::toExit(1), "0"},
          {houseCol::exitToEnd(1), "8"}});

  GridKeyResult r = sectionGridKey(s, GridKey::InsertRow, 1, sc::kFrom);
  EXPECT_TRUE(r.rowsChanged);
  ASSERT_EQ(s.table1.rows(), 5);
  for (const GridTable* t : {&s.table1, &s.table2, &s.table3}) {
    EXPECT_EQ(t->rows(), 5);
    EXPECT_EQ(t->cell(2, 0), "3");
    EXPECT_EQ(t->cell(4, 0), "5");
  }
  EXPECT_EQ(s.table1.cell(2, sc::kType), "st.");
  EXPECT_EQ(s.table1.cell(2, sc::kSpeed), "35");
  EXPECT_EQ(s.table2.cell(3, turnCol::node(0)), "1");
  EXPECT_EQ(s.table3.cell(3, accessCol::kPrevClosed), "  *");
  ASSERT_EQ(s.db.houses[0].links.size(), 3u);
  EXPECT_EQ(s.db.houses[0].links[1].sectionNo, 4);
  EXPECT_EQ(s.db.houses[0].links[0].sectionNo, 1);
  EXPECT_EQ(s.table4.cell(0, houseCol::section(0)), "4");
  EXPECT_EQ(s.table4.cell(0, houseCol::section(1)), "5");

  // Deleting section 4 (the old 3) takes its links away; the later link moves forward.
  sectionGridKey(s, GridKey::DeleteRow, 3, sc::kFrom);
  EXPECT_EQ(s.table1.rows(), 4);
  EXPECT_EQ(s.table2.cell(3, 0), "4");
  ASSERT_EQ(s.db.houses[0].links.size(), 2u);
  EXPECT_EQ(s.db.houses[0].links[1].sectionNo, 4);
  EXPECT_EQ(s.db.houses[0].links[1].distExitToEnd, 7);
  EXPECT_EQ(s.table4.cell(0, houseCol::section(0)), "4");
  EXPECT_EQ(s.table4.cell(0, houseCol::exitToEnd(0)), "8");
  EXPECT_EQ(s.table4.cell(0, houseCol::section(1)), "");

  // The last row is never deleted.
  for (int i = 0; i < 5; ++i) sectionGridKey(s, GridKey::DeleteRow, 0, sc::kFrom);
  EXPECT_EQ(s.table1.rows(), 1);
}

TEST_F(SectionsStep, TypedSectionsSurviveBackAndNextAndShowTheirStreetsAsTheyAreNow) {
  openPage(1);
  passSections();
  // Back to the streets, Oak is renamed.
  s.wizardStep = 4;
  dbrnBack(s);
  passStreetTypes();
  listStreetsByType(s, false);
  for (int r = 0; r < s.table_0.rows(); ++r)
    if (s.table_0.cell(r, streetCol::kName) == "Oak") s.table_0.set(r, streetCol::kName, "Ash");
  passStreets();
  ASSERT_EQ(s.table1.rows(), 5);
  EXPECT_EQ(s.table1.cell(0, sc::kName), "Ash");
  EXPECT_EQ(s.table1.cell(1, sc::kName), "  Ash");
  EXPECT_EQ(s.table1.cell(0, sc::kFrom), "1");
  EXPECT_EQ(s.table1.cell(0, sc::kStreet), std::to_string(street("st.", "Ash")));
  passSections();
}

TEST_F(SectionsStep, LoadedSectionsFillTheThreeGrids) {
  enterSmallCity(1);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  app.formMode = kCorrectDbrn;
  app.selectedPath = (dir / "Dbrn/123use1_dbrn_eng").string();
  s = std::move(*openDbrnWizard(app).state);
  passIdentity(1);
  passStreetTypes();
  passStreets();
  ASSERT_EQ(s.table1.rows(), 5);
  EXPECT_EQ(s.table1.cell(0, sc::kName), "Oak");
  EXPECT_EQ(s.table1.cell(1, sc::kName), "  Oak");
  EXPECT_EQ(s.table1.cell(4, sc::kName), "");
  EXPECT_EQ(s.table1.cell(4, sc::kNonStd), "  *");
  EXPECT_EQ(s.table1.cell(4, sc::kFrom), " ");
  EXPECT_EQ(s.table2.cell(0, turnCol::direction(1)), ">1");
  EXPECT_EQ(s.table2.cell(0, turnCol::node(1)), "00003");

  // View mode lists the sections of the streets that pass the filter under their own numbers.
  s.mode = kViewDbrn;
  StreetsPageInput filter{"st", "Elm", 0};
  ASSERT_EQ(outcome(checkStreetsPage(s, filter)), "passed");
  ASSERT_EQ(s.table1.rows(), 1);
  EXPECT_EQ(s.table1.cell(0, sc::kRow), "3");
  EXPECT_EQ(s.sectionRowCount, 1);
  const ControlUpdates u = prepareSectionsPage(s, 0);
  EXPECT_EQ(text(*updatedText(u, "_L3")), "S219 - \"st\" + \"Elm\".   S725 - 1.");
  s.keyPhraseName = "nowhere";
  EXPECT_EQ(text(*updatedText(prepareSectionsPage(s, 0), "_L2")),
            "S219 - \"st\" + \"nowhere\".   S725 - 0.");
  EXPECT_EQ(s.table1.rows(), 1);
  EXPECT_EQ(s.table1.cell(0, sc::kRow), "");
  s.keyPhraseType = s.keyPhraseName = "";
  EXPECT_EQ(text(*updatedText(prepareSectionsPage(s, 0), "_L4")), "S220.   S725 - 5.");
}

}  // namespace
}  // namespace qj
