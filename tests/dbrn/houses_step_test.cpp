// Step 7 of the database wizard: the house rows with their section picker and keys, and their
// checks in order.

#include "dbrn/houses_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"
#include "support/town.h"

namespace qj {
namespace {

using test::setRow;
namespace hc = houseCol;

class HousesStep : public test::DbrnWizardFixture {
 protected:
  HousesStep() { enterUntil(2, 7); }
  std::string check() {
    s.wizardStep = 7;
    return outcome(checkHousesPage(s));
  }
  std::string column(int col) const { return test::column(s.table4, col); }
};

TEST_F(HousesStep, RangesSortAsTextOnNineCharactersEqualOnesInSectionOrder) {
  // Types with referenced streets, "street" chosen first.
  EXPECT_EQ(test::items(s.list41), "avenue (av.)=0;*street (st.)=1;");
  const int32_t oak = street("st.", "Oak");
  s.db.sections.clear();
  for (const auto& [from, to] : {std::pair("2", "8"), {"10", "20"}, {"2", "8"}, {"1", "1"}})
    s.db.sections.push_back(test::townSection(oak, from, to, "1", "2", "100", {}));
  EXPECT_TRUE(houseGridKey(s, GridKey::NextName, 0, hc::kName).pickersChanged);
  EXPECT_EQ(test::items(s.list42), "Elm=1;*Oak=2;");
  // The type keys step the type picker and tell only when it moved.
  std::string moved;
  for (GridKey key : {GridKey::PrevType, GridKey::PrevType, GridKey::NextType})
    moved += houseGridKey(s, key, 0, hc::kName).pickersChanged ? "y" : "n";
  EXPECT_EQ(moved + std::to_string(s.list41.row), "yny1");
  // The street picker lists the chosen type's referenced streets only.
  s.db.streets[street("st.", "Elm")].state = "2";
  list41Change(s, 1);
  EXPECT_EQ(test::items(s.list42), "*Oak=2;");
  EXPECT_EQ(test::items(s.list43), "*1-1=4;10-20=2;2-8=1;2-8=3;");
  // The SpaceBar on a section column enters the chosen section.
  list43Change(s, 2);
  EXPECT_TRUE(houseGridKey(s, GridKey::Space, 0, hc::section(1)).handled);
  EXPECT_EQ(s.table4.cell(0, hc::section(1)), "1");
  // The information line names sections 1 to the last only, of any street.
  s.db.sections[3].streetIndex = street("av.", "Kings");
  std::string info;
  for (const char* section : {"0", "1", "4", "5", "x"}) {
    s.table4.set(0, hc::section(3), section);
    info += text(houseSectionInfo(s, 0, hc::section(3))) + "|";
  }
  EXPECT_EQ(info, "|S546: st. Oak, 2-8|S546: av. Kings, 1-1|||");
  // Delete takes a section number away; nothing else can change it.
  EXPECT_TRUE(houseGridKey(s, GridKey::Delete, 0, hc::section(1)).handled);
  EXPECT_FALSE(houseGridKey(s, GridKey::Delete, 0, hc::kName).handled);
  for (int row : {-1, 4})  // outside the grids
    EXPECT_FALSE(houseGridKey(s, GridKey::Delete, row, hc::section(1)).handled ||
                 sectionGridKey(s, GridKey::Space, row, sectionCol::kClosed).handled);
  // Numbers are typed in the house number, the yard and the distances; sections are picked.
  const HouseGridRules rules(s);
  std::string typable;
  for (int c = 0; c <= hc::kCount; ++c) typable += rules.typable(s.table4, 0, c) ? 't' : '.';
  EXPECT_EQ(typable, "...tt.tt.tt.tt.tt..");
  // clang-format off
  const std::tuple<int, const char*, bool> texts[] = {
      {hc::kHouseNo, "12345az/\\", true}, {hc::kHouseNo, "\xE0", true}, {hc::kHouseNo, "A", false},
      {hc::kHouseNo, "1234567890", false}, {hc::kHouseNo, "-", false}, {hc::kYard, "12345", true},
      {hc::kYard, "123456", false}, {hc::exitToEnd(3), "1a", false}, {hc::section(0), "1", false}};
  // clang-format on
  for (const auto& [col, typed, ok] : texts)
    EXPECT_EQ(rules.accepts(s.table4, 0, col, typed), ok) << typed;
}

// Two faults on page 6a at once: within a row the house number, a section at all, the gaps,
// then link by link the distances, the way out of a house without a yard, the section's number;
// a row's faults before the next row's, every row before the repeated house numbers.
TEST_F(HousesStep, OfTwoFaultsTheOneCheckedFirstIsReported) {
  const GridTable typed = s.table4;
  using Cells = std::vector<std::tuple<int, int, const char*>>;
  // Row 2 (Oak's first house) has section 1 in link 1, 0 m to its exit and no yard.
  // clang-format off
  const std::pair<Cells, const char*> cases[] = {
      {{{2, hc::kHouseNo, " "}, {2, hc::section(0), ""}}, "S461 3. @2:3 Table4"},
      {{{2, hc::section(0), ""}, {2, hc::toExit(0), "5"}}, "S181 3. @2:5 Table4"},
      {{{2, hc::section(2), "1"}, {2, hc::toExit(0), ""}}, "S635 3. @2:8 Table4"},
      {{{2, hc::section(1), "1"}, {2, hc::toExit(0), "5"}}, "S188 2S126 3. @2:9 Table4"},
      {{{2, hc::exitToEnd(0), ""}}, "S188 1S126 3. @2:7 Table4"},
      {{{2, hc::toExit(0), "5"}, {2, hc::section(0), "9"}}, "S334 1S127 3. @2:6 Table4"},
      {{{2, hc::section(1), "9"}, {2, hc::toExit(1), "5"}, {2, hc::exitToEnd(1), "5"}},
       "S334 2S127 3. @2:9 Table4"},
      {{{2, hc::kYard, "1"}, {2, hc::toExit(0), "5"}, {2, hc::section(0), "9"}},
       "S185 1S126 3, S245 4. @2:5 Table4"},
      {{{1, hc::section(0), "9"}, {2, hc::kHouseNo, ""}}, "S185 1S126 2, S245 4. @1:5 Table4"},
      {{{3, hc::kHouseNo, "1"}, {3, hc::section(0), "5"}}, "S185 1S126 4, S245 4. @3:5 Table4"},
      {{{3, hc::kHouseNo, "1"}}, "S339 3 S1 4, S269. @3:3 Table4"},
  };
  // clang-format on
  for (const auto& [cells, expected] : cases) {
    s.table4 = typed;
    for (const auto& [row, col, value] : cells) s.table4.set(row, col, value);
    EXPECT_EQ(refusal(checkHousesPage(s)), expected);
  }
}

// Viewing lists the houses of the streets whose type and name hold the phrases, each under its
// running number among all houses, with what the records hold.
TEST_F(HousesStep, ViewingListsTheHousesOfTheStreetsThatPassTheFilter) {
  passHouses();
  s.db.houses[2].yardNo = 1;  // Oak's first house stands in yard 1
  s.db.houses[2].links[0].distToExit = 12;
  s.mode = kViewDbrn;
  std::string listed;
  for (const auto& [type, name] :
       {std::pair("", ""), {"", "Oak"}, {"av", ""}, {"st", "Elm"}, {"av", "Elm"}}) {
    s.keyPhraseType = type;
    s.keyPhraseName = name;
    const ControlUpdates u = prepareHousesPage(s);
    listed += text(*updatedText(u, "_L4a")) + " " + column(hc::kRow) + column(hc::kName) + "\n";
  }
  EXPECT_EQ(listed,
            "S1100.   S725 - 4. [1][2][3][4][Kings][Elm][Oak][  Oak]\n"
            "S219 - \"\" + \"Oak\".   S725 - 2. [3][4][Oak][  Oak]\n"
            "S219 - \"av\" + \"\".   S725 - 1. [1][Kings]\n"
            "S219 - \"st\" + \"Elm\".   S725 - 1. [2][Elm]\n"
            "S219 - \"av\" + \"Elm\".   S725 - 0. \n");
  s.keyPhraseType = s.keyPhraseName = "";
  prepareHousesPage(s);
  EXPECT_EQ(column(hc::kHouseNo) + column(hc::kYard) + column(hc::toExit(0)),
            "[5][1][1][3][][][1][][0][0][12][0]");
  // The house count of the database stays what the streets give, whatever is listed.
  EXPECT_EQ(s.db.header.houseCount, 4);
}

TEST_F(HousesStep, TypedRowsFollowTheirStreetsAndTheHouseCounts) {
  s.table4.set(2, hc::kYard, "7");  // Oak's first house
  // Back to the streets: Elm gets a second house and Oak keeps one; Elm's new house is empty.
  s.wizardStep = 4;
  dbrnBack(s);
  passStreetTypes();
  for (int r = 0; r < s.table_0.rows(); ++r)
    s.table_0.set(r, streetCol::kHouses, s.table_0.cell(r, streetCol::kName) == "Elm" ? "2" : "1");
  passStreets();
  passSections();
  passTurns();
  passAccess();
  EXPECT_EQ(column(hc::kName) + column(hc::kHouseNo) + column(hc::kYard) + column(hc::kRow),
            "[Kings][Elm][  Elm][Oak][5][1][][1][][][][7][1][2][3][4]");
}

TEST_F(HousesStep, EveryRowIsCheckedInOrderAndLinksNameSectionsOneToTheLast) {
  // Cells of row 2 changed one after the other, and the outcome where one is given.
  // clang-format off
  const std::tuple<int, const char*, const char*> edits[] = {
      {hc::kHouseNo, " ", "S461 2."}, {hc::kHouseNo, "1", nullptr}, {hc::section(0), "", "S181 2."},
      {hc::section(2), "3", "S635 2."}, {hc::section(0), "3", nullptr}, {hc::section(1), "2", {}},
      {hc::section(2), "", {}}, {hc::toExit(1), "0", "S188 2S126 2."}, {hc::exitToEnd(1), "5", {}},
      {hc::toExit(1), "7", "S334 2S127 2."}, {hc::kYard, "1", "passed"},
      // the fourth link, to sections 0, 1, the last and one beyond
      {hc::section(2), "1", nullptr}, {hc::toExit(2), "0", nullptr}, {hc::exitToEnd(2), "0", {}},
      {hc::toExit(3), "0", nullptr}, {hc::exitToEnd(3), "0", nullptr},
      {hc::section(3), "0", "S185 4S126 2, S245 4."}, {hc::section(3), "1", "passed"},
      {hc::section(3), "4", "passed"}, {hc::section(3), "5", "S185 4S126 2, S245 4."}};
  // clang-format on
  for (const auto& [col, value, expected] : edits) {
    s.table4.set(1, col, value);
    if (expected) {
      EXPECT_EQ(check(), expected) << col << " " << value;
    }
  }
  EXPECT_EQ(refusal(checkHousesPage(s)), "S185 4S126 2, S245 4. @1:14 Table4");
  // A house number occurs once on a street.
  s.table4.set(1, hc::section(3), "4");
  s.table4.set(3, hc::kHouseNo, " 1 ");
  EXPECT_EQ(refusal(checkHousesPage(s)), "S339 3 S1 4, S269. @3:3 Table4");
}

}  // namespace
}  // namespace qj
