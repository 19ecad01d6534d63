// Step 7 of the database wizard: the house rows, their pickers, their checks and records, and
// the rows that follow their streets when the wizard goes back and forth; and the chooser.

#include "dbrn/houses_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_chooser.h"
#include "dbrn/dbrn_wizard_fixture.h"

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

TEST_F(HousesStep, ThePageListsEveryHouseStreetByStreetWithItsPickers) {
  EXPECT_EQ(s.wizardStep * 10 + s.db.header.houseCount, 74);
  EXPECT_EQ(column(hc::kName) + column(hc::kRow), "[Kings][Elm][Oak][  Oak][1][2][3][4]");
  // Types with referenced streets ("street" first), their streets, the chosen street's sections.
  const int32_t kings = street("av.", "Kings"), elm = street("st.", "Elm");
  const std::string oak = std::to_string(street("st.", "Oak"));
  EXPECT_EQ(test::items(s.list41), "avenue (av.)=0;*street (st.)=1;");
  EXPECT_EQ(test::items(s.list42), "*Elm=" + std::to_string(elm) + ";Oak=" + oak + ";");
  EXPECT_EQ(test::items(s.list43), "*1-5=3;");
  houseGridKey(s, GridKey::PrevType, 0, hc::kHouseNo);
  EXPECT_EQ(test::items(s.list42) + test::items(s.list43),
            "*Kings=" + std::to_string(kings) + ";*1-7=4;");
  houseGridKey(s, GridKey::NextType, 0, hc::kHouseNo);
  houseGridKey(s, GridKey::NextName, 0, hc::kHouseNo);
  EXPECT_EQ(test::items(s.list42) + test::items(s.list43),
            "Elm=" + std::to_string(elm) + ";*Oak=" + oak + ";*1-9=1;2-10=2;");
}

TEST_F(HousesStep, RangesSortAsTextOnNineCharactersEqualOnesInSectionOrder) {
  const int32_t oak = street("st.", "Oak");
  s.db.sections.assign(4, TransitSectionRec{});
  const char* ranges[][2] = {{"2", "8"}, {"10", "20"}, {"2", "8"}, {"1", "1"}};
  for (int k = 0; k < 4; ++k) {
    s.db.sections[k].streetIndex = oak;
    s.db.sections[k].houseFrom = ranges[k][0];
    s.db.sections[k].houseTo = ranges[k][1];
  }
  list42Change(s, 1);
  EXPECT_EQ(test::items(s.list43), "*1-1=4;10-20=2;2-8=1;2-8=3;");
  const HouseGridRules rules(s);
  // The SpaceBar on a section column enters the chosen section.
  list43Change(s, 2);
  EXPECT_TRUE(houseGridKey(s, GridKey::Space, 0, hc::section(1)).handled);
  EXPECT_EQ(s.table4.cell(0, hc::section(1)), "1");
  // The information line names sections 1 to the last only.
  std::string info;
  for (const char* section : {"0", "1", "4", "5", "x"}) {
    s.table4.set(0, hc::section(3), section);
    info += text(houseSectionInfo(s, 0, hc::section(3))) + "|";
  }
  EXPECT_EQ(info, "|S546: st. Oak, 2-8|S546: st. Oak, 1-1|||");
  EXPECT_TRUE(houseSectionInfo(s, 0, hc::kHouseNo).empty());
  // Delete takes a section number away; nothing else can change it.
  EXPECT_TRUE(houseGridKey(s, GridKey::Delete, 0, hc::section(1)).handled);
  EXPECT_EQ(s.table4.cell(0, hc::section(1)), "");
  EXPECT_FALSE(rules.typable(s.table4, 0, hc::section(0)));
  EXPECT_TRUE(rules.accepts(s.table4, 0, hc::kHouseNo, "12\xE0/1"));
  EXPECT_FALSE(rules.accepts(s.table4, 0, hc::kHouseNo, "12A") ||
               rules.accepts(s.table4, 0, hc::toExit(0), "123456"));
}

TEST_F(HousesStep, EveryRowIsCheckedInOrderAndLinksNameSectionsOneToTheLast) {
  // Cells of row 2 changed one after the other, and the outcome where one is given.
  struct Edit {
    int col;
    const char *value, *outcome;
  };
  // clang-format off
  const Edit edits[] = {
      {hc::kHouseNo, " ", "S461 2."}, {hc::kHouseNo, "1", nullptr}, {hc::section(0), "", "S181 2."},
      {hc::section(2), "3", "S635 2."}, {hc::section(0), "3", nullptr}, {hc::section(1), "2", nullptr},
      {hc::section(2), "", nullptr}, {hc::toExit(1), "0", "S188 2S126 2."}, {hc::exitToEnd(1), "5", nullptr},
      {hc::toExit(1), "7", "S334 2S127 2."}, {hc::kYard, "1", "passed"},
      // the fourth link, to sections 0, 1, the last and one beyond
      {hc::section(2), "1", nullptr}, {hc::toExit(2), "0", nullptr}, {hc::exitToEnd(2), "0", nullptr},
      {hc::toExit(3), "0", nullptr}, {hc::exitToEnd(3), "0", nullptr},
      {hc::section(3), "0", "S185 4S126 2, S245 4."}, {hc::section(3), "1", "passed"},
      {hc::section(3), "4", "passed"}, {hc::section(3), "5", "S185 4S126 2, S245 4."}};
  // clang-format on
  for (const Edit& e : edits) {
    s.table4.set(1, e.col, e.value);
    if (e.outcome) EXPECT_EQ(check(), e.outcome) << e.col << " " << e.value;
  }
  EXPECT_EQ(refusal(checkHousesPage(s)), "S185 4S126 2, S245 4. @1 Table4");
}

TEST_F(HousesStep, AHouseNumberOccursOnceOnAStreet) {
  s.table4.set(3, hc::kHouseNo, " 1 ");
  EXPECT_EQ(refusal(checkHousesPage(s)), "S339 3 S1 4, S269. @3 Table4");
  // The same number on another street is another house.
  s.table4.set(3, hc::kHouseNo, "3");
  s.table4.set(0, hc::kHouseNo, "1");
  EXPECT_EQ(check(), "passed");
}

TEST_F(HousesStep, RecordsComeStreetByStreetWithTheirLinks) {
  s.table4.set(2, hc::kYard, "2");
  setRow(s.table4, 2, {{hc::section(1), "2"}, {hc::toExit(1), "15"}, {hc::exitToEnd(1), "60"}});
  s.table4.set(3, hc::toExit(2), "99");  // a distance without its section goes
  ASSERT_EQ(check(), "passed");
  EXPECT_EQ(s.wizardStep, 8);
  ASSERT_EQ(s.db.houses.size(), 4u);
  const HouseRec& h = s.db.houses[2];
  EXPECT_EQ(h.streetIndex, street("st.", "Oak"));
  EXPECT_EQ(h.houseNo + " " + std::to_string(h.yardNo), "1 2");
  EXPECT_EQ(h.links, (std::vector<HouseLinkRec>{{1, 0, 40}, {2, 15, 60}}));
  EXPECT_EQ(s.table4.cell(3, hc::toExit(2)), "");
  EXPECT_EQ(s.db.header.houseCount, 4);
}

TEST_F(HousesStep, TypedRowsFollowTheirStreetsAndTheHouseCounts) {
  s.table4.set(2, hc::kYard, "7");  // Oak's first house
  // Back to the streets: Elm gets a second house and Oak keeps one.
  s.wizardStep = 4;
  dbrnBack(s);
  passStreetTypes();
  listStreetsByType(s, false);
  for (int r = 0; r < s.table_0.rows(); ++r) {
    if (s.table_0.cell(r, streetCol::kName) == "Elm") s.table_0.set(r, streetCol::kHouses, "2");
    if (s.table_0.cell(r, streetCol::kName) == "Oak") s.table_0.set(r, streetCol::kHouses, "1");
  }
  passStreets();
  passSections();
  passTurns();
  passAccess();
  EXPECT_EQ(column(hc::kName), "[Kings][Elm][  Elm][Oak]");
  EXPECT_EQ(column(hc::kHouseNo), "[5][1][][1]");  // Elm's new house is empty
  EXPECT_EQ(column(hc::kYard), "[][][][7]");
  EXPECT_EQ(s.db.header.houseCount, 4);
}

// ---- The chooser ----------------------------------------------------------------------------

class DbrnChooser : public test::DbrnWizardFixture {};

TEST_F(DbrnChooser, OkChoosesTheDatabaseAndTheOperationAndDeletes) {
  app.dbrnCatalog = {{"001sys1", "System"}, {"123use2", "Mine"}};
  // clang-format off
  const std::tuple<int, int, ChooserAction> cases[] = {
      {kChooseToCorrect, 1, ChooserAction::OpenWizard}, {kChooseToView, 0, ChooserAction::OpenWizard},
      {kChooseToExport, 0, ChooserAction::Export}, {kChooseToDelete, 2, ChooserAction::Stay},
      {kChooseToCorrect, 0, ChooserAction::Stay}, {kChooseToDelete, 0, ChooserAction::Delete}};
  // clang-format on
  for (const auto& [mode, row, action] : cases) {
    app.formMode = mode;
    EXPECT_EQ(chooseDbrn(app, row).action, action) << mode << " " << row;
  }
  EXPECT_EQ(app.selectedPath, (dir / "Dbrn/001sys1_dbrn_eng").string());
  EXPECT_EQ(text(deleteDbrnQuestion(chooseDbrn(app, 0).key)), "S89 \"001sys1\"?");
  dir.write("Dbrn/001sys1_dbrn_eng.dat", "x");
  EXPECT_EQ(deleteDbrnFile(app), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/001sys1_dbrn_eng.dat"));
  // Gone already, or a folder of that name: nothing is removed, and the box says so.
  EXPECT_EQ(text(deleteDbrnFile(app)), "S816 \"001sys1_dbrn_eng.dat\".");
  dir.write("Dbrn/001sys1_dbrn_eng.dat/inside", "x");
  EXPECT_EQ(text(deleteDbrnFile(app)), "S816 \"001sys1_dbrn_eng.dat\".");
  app.formMode = kChooseToCorrect;
  EXPECT_EQ(text(chooseDbrn(app, 0).message), "S105.");  // a system database is not corrected
}

}  // namespace
}  // namespace qj
