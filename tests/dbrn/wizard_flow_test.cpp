// Whole databases entered through the wizard's steps, saved, found by the catalogue, read back
// and corrected; the demo city and a client addition through every step.

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/summary_step.h"
#include "democity/demo_city.h"
#include "frame/catalogue.h"

namespace qj {
namespace {

class WizardFlow : public test::DbrnWizardFixture {
 protected:
  DbrnFile saved(const char* file) {
    const DbrnRead read = readDbrnFile(dir / "Dbrn" / file);
    EXPECT_TRUE(read.db) << read.error.text;
    return read.db ? *read.db : DbrnFile();
  }
  static std::string streetsOf(const DbrnFile& db) {
    std::string out;
    for (const StreetRec& s : db.streets)
      out += s.streetType + " " + s.name + " " + s.state + " " + std::to_string(s.streetNo) + ";";
    for (const StreetTypeRec& t : db.streetTypes)
      out += t.shortName + std::to_string(t.streetCount) + ";";
    return out;
  }
};

TEST_F(WizardFlow, ALevelOneDatabaseIsSavedAsTheCatalogueAndTheReaderWantIt) {
  enterSmallCity(1);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const DbrnFile db = saved("123use1_dbrn_eng.dat");
  const DbrnHeader& h = db.header;
  EXPECT_EQ(h.dbCode + h.dbKind + h.language + " " + h.dbName + " " + h.dbDate,
            "123use1eng Small city 06.12.2024");
  EXPECT_EQ(h.nodeCount, 4);
  // Types by full name; streets by type, then name; the street of the sections without a
  // street made by the program.
  EXPECT_EQ(streetsOf(db), "av. Kings 3 0;st. Elm 3 1;st. Oak 3 2;none  3 3;av.1;st.2;none1;");
  EXPECT_EQ(
      test::sectionLines(db.sections),
      (std::vector<std::string>{"2 00001>00002 1-9 r2 .... 00001v 00003>",
                                "2 00002>00001 2-10 r1 ....", "1 00002>00003 1-5 r .... 00001^",
                                "0 00003>00001 1-7 r .... 00002^", "3 00003>00004  -  r *..."}));
  app.formMode = kCorrectDbrn;
  const CatalogueScan scan = DBRNaClick(app);
  ASSERT_FALSE(scan.failure);
  ASSERT_EQ(scan.catalog.size(), 1u);
  EXPECT_EQ(scan.catalog[0].key, "123use1");
}

TEST_F(WizardFlow, TheStreetOfSectionsWithoutAStreetIsWrittenOnlyWhenASectionNeedsIt) {
  enterUntil(1, 2);
  // Sorted between avenue and street, its street would stand between Kings and Elm.
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
  const DbrnFile db = saved("123use1_dbrn_eng.dat");
  EXPECT_EQ(db.header.streetCount, 3);
  EXPECT_EQ(streetsOf(db), "av. Kings 3 0;st. Elm 3 1;st. Oak 3 2;av.1;none0;st.2;");
  EXPECT_EQ(db.sections[0].streetIndex * 100 + db.sections[2].streetIndex * 10 +
                db.sections[3].streetIndex,
            210);
}

TEST_F(WizardFlow, ALevelTwoDatabaseIsCorrectedAndWrittenBackUnchangedButForTheDate) {
  enterSmallCity(2);
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  const DbrnFile before = saved("123use2_dbrn_eng.dat");
  // No street is made for sections without a street: a level-2 section always has houses.
  EXPECT_EQ(streetsOf(before), "av. Kings 3 0;st. Elm 3 1;st. Oak 3 2;av.1;st.2;none0;");
  EXPECT_EQ(before.streetHouseCounts, (std::vector<int32_t>{1, 1, 2}));
  // Kings first (avenue), then Elm, then Oak: the rows followed their streets.
  ASSERT_EQ(before.houses.size(), 4u);
  EXPECT_EQ(before.houses[0], (HouseRec{0, "5", 0, {{4, 0, 40}}}));
  EXPECT_EQ(before.houses[3], (HouseRec{2, "3", 0, {{1, 0, 40}}}));

  app.formMode = kCorrectDbrn;
  app.selectedPath = (dir / "Dbrn/123use2_dbrn_eng").string();
  DbrnWizardOpen open = openDbrnWizard(app);
  ASSERT_TRUE(open.state);
  s = std::move(*open.state);
  EXPECT_EQ(s.level, 2);
  passIdentity(2);
  passStreetTypes();
  passStreets();
  passSections();
  passTurns();
  ASSERT_EQ(outcome(checkAccessPage(s, "07.12.2024")), "passed");
  passHouses();
  ASSERT_EQ(finishDbrn(s, app), std::nullopt);
  DbrnFile after = saved("123use2_dbrn_eng.dat");
  EXPECT_EQ(after.header.dbDate, "07.12.2024");
  after.header.dbDate = before.header.dbDate;
  EXPECT_EQ(after, before);
}

TEST_F(WizardFlow, ASaveThatFailsIsReported) {
  enterSmallCity(1);
  std::filesystem::remove_all(dir / "Dbrn");
  dir.write("Dbrn", "a file where the folder belongs");
  EXPECT_EQ(text(finishDbrn(s, app)), "S830 \"123use1_dbrn_eng.dat\" S865.");
}

class DemoCityCorrection : public test::DbrnWizardFixture,
                           public ::testing::WithParamInterface<int> {};

// The shipped city, corrected without a change, passes every step and comes back as it was.
TEST_P(DemoCityCorrection, PassesEveryStepAndIsWrittenBackUnchanged) {
  const int level = GetParam();
  DbrnFile city = demoCity(level, "eng");
  city.header.dbKind = level == 1 ? "use1" : "use2";
  const std::string file = city.header.dbCode + city.header.dbKind + "_dbrn_eng";
  dir.write("Dbrn/" + file + ".dat", writeDbrn(city));
  app.formMode = kCorrectDbrn;
  app.selectedPath = (dir / "Dbrn" / file).string();
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
  EXPECT_EQ(dir.read("Dbrn/" + file + ".dat"), writeDbrn(city));
}

INSTANTIATE_TEST_SUITE_P(Levels, DemoCityCorrection, ::testing::Values(1, 2));

// A client addition has streets and houses but no sections: viewing it lists no section and
// every house, without links, and writes nothing.
TEST_F(WizardFlow, AClientAdditionIsViewedWithItsHousesAndNoSection) {
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
  ASSERT_EQ(outcome(checkGeneralPage(s, app, {"002", city.header.dbName})), "passed");
  passStreetTypes();
  passStreets();
  EXPECT_EQ(s.sectionRowCount * 10 + s.table1.rows(), 1);
  passSections();
  EXPECT_EQ(s.sectionTotal, city.header.sectionCount);
  passTurns();
  ASSERT_EQ(outcome(checkAccessPage(s, "")), "passed");
  EXPECT_EQ(s.wizardStep, 7);
  EXPECT_EQ(s.table4.rows(), city.header.houseCount);
  EXPECT_EQ(s.table4.cell(0, houseCol::kHouseNo) + "|" + s.table4.cell(0, houseCol::section(0)),
            city.houses[0].houseNo + "|");
  EXPECT_TRUE(s.list43.items.empty() && houseSectionInfo(s, 0, houseCol::section(0)).empty());
  passHouses();
  std::filesystem::remove(dir / "Dbrn/002cli2_dbrn_eng.dat");
  EXPECT_EQ(finishDbrn(s, app), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dbrn/002cli2_dbrn_eng.dat"));
}

}  // namespace
}  // namespace qj
