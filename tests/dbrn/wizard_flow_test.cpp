// Whole databases entered through the wizard's steps, saved, found by the catalogue, read back
// and corrected; and the wizard's frame: captions, Back, the import of step 1.

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/summary_step.h"
#include "democity/demo_city.h"
#include "frame/catalogue.h"

namespace qj {
namespace {

using test::setRow;

class WizardFlow : public test::DbrnWizardFixture {};

TEST_F(WizardFlow, ALevelOneDatabaseIsSavedAsTheCatalogueAndTheReaderWantIt) {
  enterSmallCity(1);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);

  const DbrnRead read = readDbrnFile(dir / "Dbrn/123use1_dbrn_eng.dat");
  ASSERT_TRUE(read.db) << read.error.text;
  const DbrnFile& db = *read.db;
  EXPECT_EQ(db.header.dbCode, "123");
  EXPECT_EQ(db.header.dbName, "Small city");
  EXPECT_EQ(db.header.dbKind, "use1");
  EXPECT_EQ(db.header.language, "eng");
  EXPECT_EQ(db.header.dbDate, "06.12.2024");
  EXPECT_EQ(db.header.nodeCount, 4);
  ASSERT_EQ(db.streetTypes.size(), 3u);
  // Sorted by full name: avenue, street, unnamed.
  EXPECT_EQ(db.streetTypes[0].shortName, "av.");
  EXPECT_EQ(db.streetTypes[1].shortName, "st.");
  EXPECT_EQ(db.streetTypes[2].shortName, "none");
  EXPECT_EQ(db.streetTypes[1].streetCount, 2);
  // By type, then by name; the street of the sections without a street made by the program.
  ASSERT_EQ(db.streets.size(), 4u);
  EXPECT_EQ(db.streets[0].name, "Kings");
  EXPECT_EQ(db.streets[1].name, "Elm");
  EXPECT_EQ(db.streets[2].name, "Oak");
  EXPECT_EQ(db.streets[3].streetType, "none");
  EXPECT_EQ(db.streets[3].name, "");
  for (const StreetRec& st : db.streets) EXPECT_EQ(st.state, "3") << st.name;
  ASSERT_EQ(db.sections.size(), 5u);
  EXPECT_EQ(db.sections[0].streetIndex, 2);
  EXPECT_EQ(db.sections[2].streetIndex, 1);
  EXPECT_EQ(db.sections[4].streetIndex, 3);
  EXPECT_EQ(db.sections[0].startNode, "00001");
  EXPECT_EQ(db.sections[4].houseFrom, " ");
  EXPECT_EQ(db.sections[4].nonStdNumbering, "*");
  EXPECT_EQ(db.sections[0].reverseSection, "2");
  EXPECT_EQ(db.sections[2].reverseSection, "");
  ASSERT_EQ(db.sections[0].turns.size(), 2u);
  EXPECT_EQ(db.sections[0].turns[1].node, "00003");
  EXPECT_EQ(db.sections[0].turns[1].direction, ">");

  app.formMode = kCorrectDbrn;
  const CatalogueScan scan = DBRNaClick(app);
  ASSERT_FALSE(scan.failure);
  ASSERT_EQ(scan.catalog.size(), 1u);
  EXPECT_EQ(scan.catalog[0].key, "123use1");
}

TEST_F(WizardFlow, TheStreetOfSectionsWithoutAStreetIsWrittenOnlyWhenASectionNeedsIt) {
  passIdentity(1);
  typeStreetTypes();
  // Sorted between avenue and street, its street stands between Kings and Elm.
  s.table0.set(2, typeCol::kFullName, "empty");
  passStreetTypes();
  typeStreets();
  passStreets();
  typeSections();
  for (GridTable* g : {&s.table1, &s.table2, &s.table3}) g->setRows(4);  // no section without
  passSections();
  typeTurns();
  passTurns();
  const StepResult summary = checkAccessPage(s, "06.12.2024");
  ASSERT_TRUE(updatedText(summary.updates, "nstr_5"));
  EXPECT_EQ(text(*updatedText(summary.updates, "nstr_5")), "3");
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);

  const DbrnFile db = *readDbrnFile(dir / "Dbrn/123use1_dbrn_eng.dat").db;
  ASSERT_EQ(db.streets.size(), 3u);
  EXPECT_EQ(db.header.streetCount, 3);
  EXPECT_EQ(db.streets[1].name, "Elm");
  EXPECT_EQ(db.streets[1].streetNo, 1);
  EXPECT_EQ(db.streetTypes[1].shortName, "none");
  EXPECT_EQ(db.streetTypes[1].streetCount, 0);
  EXPECT_EQ(db.sections[0].streetIndex, 2);  // Oak
  EXPECT_EQ(db.sections[2].streetIndex, 1);  // Elm
  EXPECT_EQ(db.sections[3].streetIndex, 0);  // Kings
}

TEST_F(WizardFlow, ALevelTwoDatabaseKeepsItsHousesStreetByStreet) {
  enterSmallCity(2);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const DbrnRead read = readDbrnFile(dir / "Dbrn/123use2_dbrn_eng.dat");
  ASSERT_TRUE(read.db) << read.error.text;
  const DbrnFile& db = *read.db;
  // No street is made for sections without a street: a level-2 section always has houses.
  ASSERT_EQ(db.streets.size(), 3u);
  EXPECT_EQ(db.streetHouseCounts, (std::vector<int32_t>{1, 1, 2}));
  ASSERT_EQ(db.houses.size(), 4u);
  // Kings first (avenue), then Elm, then Oak: the rows followed their streets.
  EXPECT_EQ(db.houses[0].streetIndex, 0);
  EXPECT_EQ(db.houses[3].streetIndex, 2);
  EXPECT_EQ(db.sections[0].streetIndex, 2);
  ASSERT_EQ(db.houses[0].links.size(), 1u);
  EXPECT_EQ(db.houses[3].links[0].distExitToEnd, 40);
}

TEST_F(WizardFlow, ACorrectionReadsTheDatabaseAndWritesItBackUnchangedButForTheDate) {
  enterSmallCity(2);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const std::string before = dir.read("Dbrn/123use2_dbrn_eng.dat");

  app.formMode = kCorrectDbrn;
  app.selectedPath = (dir / "Dbrn/123use2_dbrn_eng").string();
  DbrnWizardOpen open = openDbrnWizard(app);
  ASSERT_TRUE(open.state);
  s = std::move(*open.state);
  EXPECT_EQ(s.level, 2);
  EXPECT_EQ(text(s.kindCaption), "use2 (S511)");
  ASSERT_EQ(outcome(checkGeneralPage(s, app, {"123", "Small city", true, false})), "passed");
  EXPECT_EQ(s.table0.rows(), 3);
  passStreetTypes();
  passStreets();
  EXPECT_EQ(s.table1.rows(), 4);
  passSections();
  passTurns();
  ASSERT_EQ(outcome(checkAccessPage(s, "07.12.2024")), "passed");
  EXPECT_EQ(s.table4.rows(), 4);
  EXPECT_EQ(s.table4.cell(3, houseCol::kHouseNo), "3");
  passHouses();
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  DbrnFile after = *readDbrnFile(dir / "Dbrn/123use2_dbrn_eng.dat").db;
  DbrnFile expected = *readDbrn(before).db;
  EXPECT_EQ(after.header.dbDate, "07.12.2024");
  after.header.dbDate = expected.header.dbDate;
  EXPECT_EQ(after, expected);
}

TEST_F(WizardFlow, ViewingWritesNothing) {
  enterSmallCity(1);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  std::filesystem::remove(dir / "Dbrn/123use1_dbrn_eng.dat");
  s.mode = kViewDbrn;
  EXPECT_EQ(finishDbrn(s, app), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/123use1_dbrn_eng.dat"));
}

TEST_F(WizardFlow, ASaveThatCannotBeWrittenIsReported) {
  enterSmallCity(1);
  std::filesystem::remove_all(dir / "Dbrn");
  dir.write("Dbrn", "a file where the folder belongs");
  EXPECT_EQ(text(finishDbrn(s, app)), "S830 \"123use1_dbrn_eng.dat\" S865.");
}

}  // namespace
}  // namespace qj

namespace qj {
namespace {

class DemoCityCorrection : public test::DbrnWizardFixture,
                           public ::testing::WithParamInterface<int> {};

// The shipped city, corrected without a change, passes every step and comes back as it was.
TEST_P(DemoCityCorrection, PassesEveryStepAndIsWrittenBackUnchanged) {
  const int level = GetParam();
  DbrnFile city = demoCity(level, "eng");
  city.header.dbKind = level == 1 ? "use1" : "use2";
  const std::string file = city.header.dbCode + city.header.dbKind + "_dbrn_eng.dat";
  dir.write("Dbrn/" + file, writeDbrn(city));
  app.formMode = kCorrectDbrn;
  app.selectedPath = (dir / ("Dbrn/" + file.substr(0, file.size() - 4))).string();
  s = std::move(*openDbrnWizard(app).state);
  ASSERT_EQ(outcome(checkGeneralPage(s, app, {city.header.dbCode, city.header.dbName})), "passed");
  passStreetTypes();
  passStreets();
  passSections();
  passTurns();
  ASSERT_EQ(outcome(checkAccessPage(s, city.header.dbDate)), "passed");
  if (level == 2) passHouses();
  ASSERT_EQ(s.wizardStep, 8);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const DbrnRead read = readDbrnFile(dir / ("Dbrn/" + file));
  ASSERT_TRUE(read.db) << read.error.text;
  EXPECT_EQ(read.db->streets, city.streets);
  EXPECT_EQ(read.db->sections, city.sections);
  EXPECT_EQ(read.db->houses, city.houses);
  EXPECT_EQ(*read.db, city);
}

INSTANTIATE_TEST_SUITE_P(Levels, DemoCityCorrection, ::testing::Values(1, 2));

}  // namespace
}  // namespace qj

namespace qj {
namespace {

class ClientAdditionView : public test::DbrnWizardFixture {};

// A client addition has streets and houses but no sections: viewing it lists no section and
// every house, without links.
TEST_F(ClientAdditionView, ListsTheHousesAndNoSection) {
  DbrnFile city = demoCity(2, "eng");
  DbrnFile client = city;
  client.header.dbKind = "cli2";
  client.sections.clear();
  for (HouseRec& h : client.houses) h.links.clear();
  dir.write("Dbrn/002cli2_dbrn_eng.dat", writeDbrn(client));
  app.formMode = kViewDbrn;
  app.selectedPath = (dir / "Dbrn/002cli2_dbrn_eng").string();
  s = std::move(*openDbrnWizard(app).state);
  EXPECT_EQ(s.level, 3);
  EXPECT_EQ(text(s.kindCaption), "cli2 (S218)");
  ASSERT_EQ(outcome(checkGeneralPage(s, app, {"002", city.header.dbName})), "passed");
  passStreetTypes();
  ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  EXPECT_EQ(s.sectionRowCount, 0);
  EXPECT_EQ(s.table1.rows(), 1);
  passSections();
  EXPECT_EQ(s.sectionTotal, city.header.sectionCount);
  passTurns();
  ASSERT_EQ(outcome(checkAccessPage(s, "")), "passed");
  EXPECT_EQ(s.wizardStep, 7);
  EXPECT_EQ(s.table4.rows(), city.header.houseCount);
  EXPECT_EQ(s.table4.cell(0, houseCol::kHouseNo), city.houses[0].houseNo);
  EXPECT_EQ(s.table4.cell(0, houseCol::section(0)), "");
  EXPECT_TRUE(s.list43.items.empty());
  EXPECT_TRUE(houseSectionInfo(s, 0, houseCol::section(0)).empty());
  passHouses();
  EXPECT_EQ(finishDbrn(s, app), std::nullopt);
  EXPECT_EQ(dir.read("Dbrn/002cli2_dbrn_eng.dat"), writeDbrn(client));
}

}  // namespace
}  // namespace qj
