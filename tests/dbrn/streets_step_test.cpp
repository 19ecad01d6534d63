// Step 3 of the database wizard: the street rows, their storing, the re-sort with everything
// that refers to a street, and the keys and pickers of the page.

#include "dbrn/streets_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"

namespace qj {
namespace {

using test::setRow;

class StreetsStep : public test::DbrnWizardFixture {
 protected:
  void openPage(int level) {
    passIdentity(level);
    typeStreetTypes();
    passStreetTypes();
  }
  void typeRows(std::initializer_list<std::tuple<const char*, const char*, const char*>> rows) {
    s.table_0.clear();
    int r = 0;
    for (const auto& [type, name, houses] : rows)
      setRow(s.table_0, r++,
             {{streetCol::kType, type}, {streetCol::kName, name}, {streetCol::kHouses, houses}});
    renumberRows(s.table_0);
  }
  std::string streetNames() const {
    std::string names;
    for (const StreetRec& st : s.db.streets) names += st.streetType + " " + st.name + ";";
    return names;
  }
};

TEST_F(StreetsStep, RowsNeedATypeAndANameAndAreUniqueByName) {
  openPage(1);
  typeRows({{"", "", ""}});
  StepResult r = checkStreetsPage(s, {});
  EXPECT_EQ(outcome(r), "S659.");
  EXPECT_EQ(r.check.row, 0);
  typeRows({{"st.", "Oak", ""}, {"", "Elm", ""}});
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S292 2.");
  typeRows({{"st.", "Oak", ""}, {"st.", " ", ""}});
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S289 2.");
  typeRows({{"st.", "Oak", ""}, {"st.", "Elm", ""}, {"av.", " Oak ", ""}});
  r = checkStreetsPage(s, {});
  EXPECT_EQ(outcome(r), "S149 1 S1 3 S191. S203.");
  EXPECT_EQ(r.check.row, 2);
  EXPECT_EQ(s.wizardStep, 3);
  EXPECT_TRUE(s.db.streets.empty());  // nothing stored by a refusal
  // Once a street is stored, one empty row is ignored; two are equal names.
  typeRows({{"st.", "Oak", ""}, {"", "", ""}});
  EXPECT_EQ(outcome(checkStreetRows(s)), "S659.");
  typeRows({{"st.", "Oak", ""}});
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  s.table_0.setRows(2);
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  EXPECT_EQ(s.db.streets.size(), 1u);
  typeRows({{"st.", "Oak", "1"}, {"", "", ""}, {"", "", ""}});
  EXPECT_EQ(outcome(checkStreetRows(s)), "S149 2 S1 3 S191. S203.");
}

TEST_F(StreetsStep, TenThousandRowsPassOneMoreIsRefused) {
  openPage(1);
  s.table_0.setRows(10001);
  for (int r = 0; r < 10001; ++r) {
    s.table_0.set(r, streetCol::kType, "st.");
    s.table_0.set(r, streetCol::kName, test::marked("S", r));
  }
  EXPECT_EQ(outcome(checkStreetRows(s)), "S304 10001 (>10000).");
  s.table_0.setRows(10000);
  EXPECT_EQ(outcome(checkStreetRows(s)), "passed");
}

TEST_F(StreetsStep, LevelTwoNeedsWholeHouseCountsAndAHouseTotalUpTo300000) {
  openPage(2);
  typeRows({{"st.", "Oak", ""}});
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S293 1.");
  typeRows({{"st.", "Oak", "0"}});
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S326.");
  const StreetGridRules rules(s);
  EXPECT_TRUE(rules.accepts(s.table_0, 0, streetCol::kHouses, "999"));
  EXPECT_FALSE(rules.accepts(s.table_0, 0, streetCol::kHouses, "1000"));
  EXPECT_FALSE(rules.accepts(s.table_0, 0, streetCol::kHouses, "1a"));
  // A pasted count that is no whole number.
  typeRows({{"st.", "Oak", "+"}});
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S357 1.");

  s.db.streets.clear();
  s.db.streetHouseCounts.clear();
  s.table_0.clear();
  s.table_0.setRows(301);
  for (int r = 0; r < 301; ++r) {
    s.table_0.set(r, streetCol::kType, "st.");
    s.table_0.set(r, streetCol::kName, test::marked("S", r));
    s.table_0.set(r, streetCol::kHouses, "999");
  }
  s.table_0.set(300, streetCol::kHouses, "301");  // 300 x 999 + 301 = 300001
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S303 300001(>300000).");
  s.table_0.set(300, streetCol::kHouses, "300");
  s.db.streets.clear();
  s.db.streetHouseCounts.clear();
  for (int r = 0; r < 301; ++r) s.table_0.set(r, streetCol::kState, "");
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  EXPECT_EQ(s.houseTotal, 300000);
}

TEST_F(StreetsStep, TheReSortOrdersByTypeAndTwentyCharactersAndRenumbersEveryReference) {
  openPage(2);
  const std::string longA = "Abcdefghijklmnopqrst-one", longB = "Abcdefghijklmnopqrst-two";
  typeRows({{"st.", "Oak", "1"},
            {"av.", "Kings", "1"},
            {"st.", longA.c_str(), "1"},
            {"st.", longB.c_str(), "1"},
            {"st.", "Elm", "2"}});
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  // Records of sections, houses and the grids that name streets by their old index.
  TransitSectionRec section;
  section.streetIndex = 4;  // Elm
  s.db.sections = {section};
  s.db.houses = {HouseRec{0, "1", 0, {}}, HouseRec{4, "2", 0, {}}};
  s.table1Load = s.recordsLoad;
  s.table1.setRows(2);
  s.table1.set(0, sectionCol::kStreet, "1");  // Kings
  s.table1.set(1, sectionCol::kStreet, "3");  // longB
  s.table4.setRows(1);
  s.table4.set(0, houseCol::kStreet, "0");  // Oak

  ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  // Avenues before streets; names agreeing in 20 characters later record first.
  EXPECT_EQ(streetNames(), "av. Kings;st. " + longB + ";st. " + longA + ";st. Elm;st. Oak;");
  for (size_t i = 0; i < s.db.streets.size(); ++i)
    EXPECT_EQ(s.db.streets[i].streetNo, static_cast<int32_t>(i));
  EXPECT_EQ(s.db.streetHouseCounts, (std::vector<int32_t>{1, 1, 1, 2, 1}));
  EXPECT_EQ(s.db.streetTypes[0].streetCount, 1);
  EXPECT_EQ(s.db.streetTypes[1].streetCount, 4);
  EXPECT_EQ(s.db.sections[0].streetIndex, 3);
  EXPECT_EQ(s.db.houses[0].streetIndex, 4);
  EXPECT_EQ(s.db.houses[1].streetIndex, 3);
  EXPECT_EQ(s.table1.cell(0, sectionCol::kStreet), "0");
  EXPECT_EQ(s.table1.cell(1, sectionCol::kStreet), "1");
  EXPECT_EQ(s.table1.cell(1, sectionCol::kName), longB);
  EXPECT_EQ(s.table4.cell(0, houseCol::kStreet), "4");
  // The typed rows stay, pointing at their streets' new records.
  EXPECT_EQ(s.table_0.cell(0, streetCol::kName), "Oak");
  EXPECT_EQ(s.table_0.cell(0, streetCol::kIndex), "4");
}

TEST_F(StreetsStep, DeletedStreetsAreDroppedAtTheNextPassAndReferencedOnesAreKept) {
  openPage(1);
  typeRows({{"st.", "Oak", ""}, {"st.", "Elm", ""}, {"av.", "Kings", ""}});
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  s.db.streets[2].state = "3";
  GridKeyResult r = streetGridKey(s, GridKey::DeleteRow, 2, streetCol::kName);
  EXPECT_EQ(text(r.warning), "S112.");
  EXPECT_EQ(s.table_0.rows(), 3);
  // A street that a section row uses is kept as well.
  s.table1Load = s.recordsLoad;
  s.table1.setRows(1);
  s.table1.set(0, sectionCol::kStreet, "1");
  EXPECT_EQ(text(streetGridKey(s, GridKey::DeleteRow, 1, streetCol::kName).warning), "S112.");
  r = streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName);
  EXPECT_FALSE(r.warning);
  EXPECT_TRUE(r.rowsChanged);
  EXPECT_EQ(s.db.streets[0].state, "2");
  EXPECT_EQ(s.table_0.rows(), 2);
  EXPECT_EQ(s.table_0.cell(0, streetCol::kRow), "1");
  ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  // Kings, Elm and the program's street of the sections without a street.
  EXPECT_EQ(streetNames(), "av. Kings;st. Elm;none ;");
  EXPECT_EQ(s.table1.cell(0, sectionCol::kStreet), "1");
  // The only row is emptied rather than removed.
  typeRows({{"st.", "Pine", ""}});
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName);
  EXPECT_EQ(s.table_0.rows(), 1);
  EXPECT_EQ(s.table_0.cell(0, streetCol::kName), "");
}

TEST_F(StreetsStep, TheStreetOfSectionsWithoutAStreetIsMadeOnceAndNeverListed) {
  openPage(1);
  typeStreets();
  passStreets();
  const int32_t none = noStreetStreet(s);
  ASSERT_GE(none, 0);
  EXPECT_EQ(s.db.streets[none].name, "");
  // The sections page offers it, as one blank, under its type.
  const auto type = std::find(s.list1.items.begin(), s.list1.items.end(), "unnamed (none)");
  ASSERT_NE(type, s.list1.items.end());
  list1Change(s, static_cast<int>(type - s.list1.items.begin()));
  ASSERT_EQ(s.list2.items, (std::vector<std::string>{" "}));
  EXPECT_EQ(s.list2.values[0], none);
  // Its type's streets page lists nothing; the next pass makes no second one.
  s.wizardStep = 4;
  dbrnBack(s);
  passStreetTypes();
  listStreetsByType(s, true);
  list0Change(s, 2);
  EXPECT_EQ(s.table_0.rows(), 1);
  EXPECT_EQ(s.table_0.cell(0, streetCol::kName), "");
  passStreets();
  EXPECT_EQ(s.db.streets.size(), 4u);
}

TEST_F(StreetsStep, KeysStepTheTypesEnterTheTypeAndInsertRows) {
  openPage(1);
  ASSERT_EQ(s.list0.items[s.list0.row], "street (st.)");
  GridKeyResult r = streetGridKey(s, GridKey::Space, 0, streetCol::kType);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(s.table_0.cell(0, streetCol::kType), "st.");
  s.table_0.set(0, streetCol::kName, "Oak");
  r = streetGridKey(s, GridKey::InsertRow, 0, streetCol::kName);
  EXPECT_TRUE(r.rowsChanged);
  EXPECT_EQ(s.table_0.rows(), 2);
  EXPECT_EQ(s.table_0.cell(1, streetCol::kType), "st.");
  EXPECT_EQ(s.table_0.cell(1, streetCol::kRow), "2");
  // Ctrl+A with a row that is refused keeps the type and names the row.
  r = streetGridKey(s, GridKey::PrevType, 1, streetCol::kName);
  EXPECT_EQ(text(r.warning), "S289 2.");
  EXPECT_EQ(r.focusRow, 1);
  EXPECT_EQ(s.list0.items[s.list0.row], "street (st.)");
  s.table_0.set(1, streetCol::kName, "Elm");
  r = streetGridKey(s, GridKey::PrevType, 1, streetCol::kName);
  EXPECT_TRUE(r.pickersChanged && r.rowsChanged);
  EXPECT_EQ(s.list0.items[s.list0.row], "avenue (av.)");
  EXPECT_EQ(s.table_0.rows(), 1);
  EXPECT_EQ(s.db.streets.size(), 2u);
  // Back on the streets, the two stored rows come back.
  EXPECT_TRUE(list0Change(s, 1).passed());
  EXPECT_EQ(s.table_0.rows(), 2);
  EXPECT_EQ(s.table_0.cell(1, streetCol::kState), "1");
  // A refused change of type keeps the list on the type the grid shows.
  s.table_0.set(1, streetCol::kName, "");
  const StepCheck refused = list0Change(s, 0);
  EXPECT_EQ(outcome(refused), "S289 2.");
  EXPECT_EQ(s.list0.row, 1);
  // Listing freely, a change of type leaves the rows as they are.
  listStreetsByType(s, false);
  EXPECT_TRUE(list0Change(s, 0).passed());
  EXPECT_EQ(s.table_0.rows(), 2);
}

TEST_F(StreetsStep, RowsTypedButNotStoredSurviveBackAndNext) {
  openPage(1);
  typeStreets();
  passStreets();
  s.table_0.setRows(4);
  setRow(s.table_0, 3, {{streetCol::kType, "st."}, {streetCol::kName, "New"}});
  s.wizardStep = 3;
  dbrnBack(s);
  passStreetTypes();
  EXPECT_EQ(s.table_0.rows(), 4);
  EXPECT_EQ(s.table_0.cell(3, streetCol::kName), "New");
  // A load of other records fills the grid from them.
  ++s.recordsLoad;
  passStreetTypes();
  EXPECT_NE(s.table_0.cell(s.table_0.rows() - 1, streetCol::kName), "New");
}

}  // namespace
}  // namespace qj
