// Step 7 of the database wizard: the house rows, their pickers, their checks and records, and
// the rows that follow their streets when the wizard goes back and forth.

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
  void openPage() {
    passIdentity(2);
    typeStreetTypes();
    passStreetTypes();
    typeStreets();
    passStreets();
    typeSections();
    passSections();
    typeTurns();
    passTurns();
    passAccess();
    typeHouses();
  }
  std::string check() { return outcome(checkHousesPage(s)); }
};

TEST_F(HousesStep, ThePageListsEveryHouseStreetByStreet) {
  openPage();
  EXPECT_EQ(s.wizardStep, 7);
  ASSERT_EQ(s.table4.rows(), 4);
  EXPECT_EQ(s.table4.cell(0, hc::kName), "Kings");
  EXPECT_EQ(s.table4.cell(2, hc::kName), "Oak");
  EXPECT_EQ(s.table4.cell(3, hc::kName), "  Oak");
  EXPECT_EQ(s.table4.cell(3, hc::kRow), "4");
  EXPECT_EQ(s.db.header.houseCount, 4);
  // The pickers: types with referenced streets ("street" first), their streets, the sections
  // of the chosen street.
  EXPECT_EQ(s.list41.items, (std::vector<std::string>{"avenue (av.)", "street (st.)"}));
  EXPECT_EQ(s.list41.row, 1);
  EXPECT_EQ(s.list42.items, (std::vector<std::string>{"Elm", "Oak"}));
  EXPECT_EQ(s.list43.items, (std::vector<std::string>{"1-5"}));
  EXPECT_EQ(s.list43.values[0], 3);
}

TEST_F(HousesStep, RangesSortAsTextOnNineCharactersEqualOnesInSectionOrder) {
  openPage();
  const int32_t oak = street("st.", "Oak");
  auto section = [oak](const char* from, const char* to) {
    TransitSectionRec r;
    r.streetIndex = oak;
    r.houseFrom = from;
    r.houseTo = to;
    return r;
  };
  s.db.sections = {section("2", "8"), section("10", "20"), section("2", "8"), section("1", "1")};
  s.db.header.sectionCount = 4;
  list42Change(s, 1);
  EXPECT_EQ(s.list43.items, (std::vector<std::string>{"1-1", "10-20", "2-8", "2-8"}));
  EXPECT_EQ(s.list43.values, (std::vector<int32_t>{4, 2, 1, 3}));
  // The SpaceBar on a section column enters the chosen section.
  list43Change(s, 2);
  GridKeyResult r = houseGridKey(s, GridKey::Space, 0, hc::section(1));
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(s.table4.cell(0, hc::section(1)), "1");
  EXPECT_EQ(text(houseSectionInfo(s, 0, hc::section(1))), "S546: st. Oak, 2-8");
  s.table4.set(0, hc::section(1), "5");
  EXPECT_TRUE(houseSectionInfo(s, 0, hc::section(1)).empty());
  s.table4.set(0, hc::section(1), "0");
  EXPECT_TRUE(houseSectionInfo(s, 0, hc::section(1)).empty());
  EXPECT_TRUE(houseSectionInfo(s, 0, hc::kHouseNo).empty());
  // Delete takes a section number away; nothing else can change it.
  EXPECT_TRUE(houseGridKey(s, GridKey::Delete, 0, hc::section(1)).handled);
  EXPECT_EQ(s.table4.cell(0, hc::section(1)), "");
  const HouseGridRules rules(s);
  EXPECT_FALSE(rules.typable(s.table4, 0, hc::section(0)));
  EXPECT_TRUE(rules.accepts(s.table4, 0, hc::kHouseNo, "12\xE0/1"));
  EXPECT_FALSE(rules.accepts(s.table4, 0, hc::kHouseNo, "12A"));
  EXPECT_FALSE(rules.accepts(s.table4, 0, hc::toExit(0), "123456"));
}

TEST_F(HousesStep, PickersStepWithTheKeys) {
  openPage();
  houseGridKey(s, GridKey::PrevType, 0, hc::kHouseNo);
  EXPECT_EQ(s.list42.items, (std::vector<std::string>{"Kings"}));
  EXPECT_EQ(s.list43.values, (std::vector<int32_t>{4}));
  houseGridKey(s, GridKey::NextType, 0, hc::kHouseNo);
  houseGridKey(s, GridKey::NextName, 0, hc::kHouseNo);
  EXPECT_EQ(s.list42.items[s.list42.row], "Oak");
  EXPECT_EQ(s.list43.items, (std::vector<std::string>{"1-9", "2-10"}));
}

TEST_F(HousesStep, EveryRowIsCheckedInOrder) {
  openPage();
  s.table4.set(1, hc::kHouseNo, " ");
  EXPECT_EQ(check(), "S461 2.");
  s.table4.set(1, hc::kHouseNo, "1");
  s.table4.set(1, hc::section(0), "");
  EXPECT_EQ(check(), "S181 2.");
  s.table4.set(1, hc::section(2), "3");
  EXPECT_EQ(check(), "S635 2.");
  s.table4.set(1, hc::section(2), "");
  s.table4.set(1, hc::section(0), "3");
  s.table4.set(1, hc::section(1), "2");
  s.table4.set(1, hc::toExit(1), "0");
  EXPECT_EQ(check(), "S188 2S126 2.");
  s.table4.set(1, hc::exitToEnd(1), "5");
  s.table4.set(1, hc::toExit(1), "7");
  EXPECT_EQ(check(), "S334 2S127 2.");
  s.table4.set(1, hc::kYard, "1");
  EXPECT_EQ(check(), "passed");
  s.wizardStep = 7;
  s.table4.set(1, hc::section(1), "5");
  const StepResult r = checkHousesPage(s);
  EXPECT_EQ(outcome(r), "S185 2S126 2, S245 4.");
  EXPECT_EQ(r.check.row, 1);
  EXPECT_EQ(r.check.focus, "Table4");
}

TEST_F(HousesStep, AHouseNumberOccursOnceOnAStreet) {
  openPage();
  s.table4.set(3, hc::kHouseNo, " 1 ");
  const StepResult r = checkHousesPage(s);
  EXPECT_EQ(outcome(r), "S339 3 S1 4, S269.");
  EXPECT_EQ(r.check.row, 3);
  // The same number on another street is another house.
  s.table4.set(3, hc::kHouseNo, "3");
  s.table4.set(0, hc::kHouseNo, "1");
  EXPECT_EQ(check(), "passed");
}

TEST_F(HousesStep, RecordsComeStreetByStreetWithTheirLinks) {
  openPage();
  s.table4.set(2, hc::kYard, "2");
  setRow(s.table4, 2, {{hc::section(1), "2"}, {hc::toExit(1), "15"}, {hc::exitToEnd(1), "60"}});
  s.table4.set(3, hc::toExit(2), "99");  // a distance without its section goes
  ASSERT_EQ(check(), "passed");
  EXPECT_EQ(s.wizardStep, 8);
  ASSERT_EQ(s.db.houses.size(), 4u);
  const HouseRec& h = s.db.houses[2];
  EXPECT_EQ(h.streetIndex, street("st.", "Oak"));
  EXPECT_EQ(h.houseNo, "1");
  EXPECT_EQ(h.yardNo, 2);
  ASSERT_EQ(h.links.size(), 2u);
  EXPECT_EQ(h.links[1].sectionNo, 2);
  EXPECT_EQ(h.links[1].distToExit, 15);
  EXPECT_EQ(s.table4.cell(3, hc::toExit(2)), "");
  EXPECT_EQ(s.db.header.houseCount, 4);
}

TEST_F(HousesStep, TypedRowsFollowTheirStreetsAndTheHouseCounts) {
  openPage();
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
  ASSERT_EQ(s.table4.rows(), 4);
  EXPECT_EQ(s.table4.cell(0, hc::kName), "Kings");
  EXPECT_EQ(s.table4.cell(0, hc::kHouseNo), "5");
  EXPECT_EQ(s.table4.cell(1, hc::kHouseNo), "1");  // Elm's first house
  EXPECT_EQ(s.table4.cell(2, hc::kName), "  Elm");
  EXPECT_EQ(s.table4.cell(2, hc::kHouseNo), "");  // its new one
  EXPECT_EQ(s.table4.cell(3, hc::kName), "Oak");
  EXPECT_EQ(s.table4.cell(3, hc::kYard), "7");
  EXPECT_EQ(s.db.header.houseCount, 4);
}

TEST_F(HousesStep, ViewModeListsTheHousesOfTheFilteredStreets) {
  openPage();
  passHouses();
  s.mode = kViewDbrn;
  s.keyPhraseName = "Oak";
  s.houseTotal = 4;
  const ControlUpdates u = prepareHousesPage(s);
  ASSERT_EQ(s.table4.rows(), 2);
  EXPECT_EQ(s.table4.cell(0, hc::kRow), "3");
  EXPECT_EQ(s.table4.cell(1, hc::kHouseNo), "3");
  EXPECT_EQ(text(*updatedText(u, "_L4a")), "S219 - \"\" + \"Oak\".   S725 - 2.");
  EXPECT_EQ(check(), "passed");
  s.keyPhraseName.clear();
  EXPECT_EQ(text(*updatedText(prepareHousesPage(s), "_L4a")), "S1100.   S725 - 4.");
}

// ---- The chooser ----------------------------------------------------------------------------

class DbrnChooser : public test::DbrnWizardFixture {};

TEST_F(DbrnChooser, OkChoosesTheDatabaseAndTheOperation) {
  app.dbrnCatalog = {{"001sys1", "System"}, {"123use2", "Mine"}};
  app.formMode = kChooseToCorrect;
  ChooserChoice c = chooseDbrn(app, 0);
  EXPECT_EQ(c.action, ChooserAction::Stay);
  EXPECT_EQ(text(c.message), "S105.");
  c = chooseDbrn(app, 1);
  EXPECT_EQ(c.action, ChooserAction::OpenWizard);
  EXPECT_EQ(app.selectedPath, (dir / "Dbrn/123use2_dbrn_eng").string());
  app.formMode = kChooseToView;
  EXPECT_EQ(chooseDbrn(app, 0).action, ChooserAction::OpenWizard);
  app.formMode = kChooseToExport;
  EXPECT_EQ(chooseDbrn(app, 0).action, ChooserAction::Export);
  app.formMode = kChooseToDelete;
  c = chooseDbrn(app, 0);
  EXPECT_EQ(c.action, ChooserAction::Delete);
  EXPECT_EQ(c.key, "001sys1");
  EXPECT_EQ(text(deleteDbrnQuestion(c.key)), "S89 \"001sys1\"?");
  EXPECT_EQ(deleteDbrnQuestion(c.key).kind, MessageKind::Confirm);
  EXPECT_EQ(chooseDbrn(app, 2).action, ChooserAction::Stay);
}

TEST_F(DbrnChooser, DeletionRemovesTheFileAndReportsWhatFails) {
  app.dbrnCatalog = {{"001sys1", "System"}};
  app.formMode = kChooseToDelete;
  dir.write("Dbrn/001sys1_dbrn_eng.dat", "x");
  chooseDbrn(app, 0);
  EXPECT_EQ(deleteDbrnFile(app), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/001sys1_dbrn_eng.dat"));
  // Gone already: this deletion removed nothing, and says so.
  EXPECT_EQ(text(deleteDbrnFile(app)), "S816 \"001sys1_dbrn_eng.dat\".");
  // A folder of that name cannot be removed as a file.
  dir.write("Dbrn/001sys1_dbrn_eng.dat/inside", "x");
  EXPECT_EQ(text(deleteDbrnFile(app)), "S816 \"001sys1_dbrn_eng.dat\".");
}

}  // namespace
}  // namespace qj
