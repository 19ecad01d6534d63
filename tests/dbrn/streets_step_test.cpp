// Steps 2 and 3 of the database wizard: the average speed, the street types with their order
// and locks; the street rows, their storing and deletion, and the re-sort with everything that
// refers to a street.

#include "dbrn/streets_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/street_types_step.h"

namespace qj {
namespace {

using test::setRow;

class StreetTypesStep : public test::DbrnWizardFixture {
 protected:
  StreetTypesStep() { passIdentity(1); }

  void typeTypes(std::initializer_list<std::pair<const char*, const char*>> rows) {
    s.table0.clear();
    int r = 0;
    for (const auto& [full, abbreviation] : rows)
      setRow(s.table0, r++, {{typeCol::kFullName, full}, {typeCol::kShortName, abbreviation}});
    renumberRows(s.table0);
  }
  std::string check() { return refusal(checkStreetTypesPage(s, "35,0")); }
  std::string checkTypes(std::initializer_list<std::pair<const char*, const char*>> rows) {
    typeTypes(rows);
    return check();
  }
};

TEST_F(StreetTypesStep, TheAverageSpeedIsANumberOfAtLeastOneTenth) {
  typeTypes({{"street", "st."}});
  // The literal shows a comma whatever the separator.
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"", "focus skor @-1 skor"}, {"abc", "focus skor @-1 skor"}, {"0,1", "passed @-1 "},
      {"0", "S313 (<0,1 s15). @-1 skor"}, {"0,099", "S313 (<0,1 s15). @-1 skor"},
      {"0,09999", "passed @-1 "}};
  // clang-format on
  for (const auto& [speed, expected] : cases)
    EXPECT_EQ(refusal(checkStreetTypesPage(s, speed)), expected) << speed;
  // Rows are checked for their count and blanks, then for the first equal pair.
  // clang-format off
  for (int r = 0; r < 101; ++r)
    setRow(s.table0, r, {{typeCol::kFullName, test::marked("t", r).c_str()},
                         {typeCol::kShortName, test::marked("a", r).c_str()}});
  // clang-format on
  EXPECT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "S305 101 (>100).");
  s.table0.setRows(100);
  EXPECT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");

  EXPECT_EQ(checkTypes({{"street", "st."}, {" ", "av."}}), "S290 2. @1:1 Table0");
  EXPECT_EQ(checkTypes({{"street", "st."}, {"avenue", ""}}), "S291 2. @1:2 Table0");
  // Row 1's abbreviation is repeated in row 5, row 2's full name in row 4: row 1 comes first.
  EXPECT_EQ(checkTypes({{"a", "x"}, {"b", "y"}, {"c", "z"}, {"b", "w"}, {"e", "x"}}),
            "S149 1 S1 5 S190. S203. @4:2 Table0");
  EXPECT_EQ(checkTypes({{"a", "x"}, {"b", "y"}, {"c", "z"}, {"b", "w"}, {"e", "v"}}),
            "S149 2 S1 4 S189. S203. @3:1 Table0");
  typeTypes({{"a", "x"}, {"a ", "y"}});  // texts are compared exactly
  EXPECT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");
}

// Two faults on page 2 at once: the speed, then the number of rows, then the rows from the
// top with the full name before the abbreviation, then the equal pairs row by row, the full
// names of a row before its abbreviation.
TEST_F(StreetTypesStep, OfTwoFaultsTheOneCheckedFirstIsReported) {
  const auto rows = [](int n) {
    std::vector<std::pair<std::string, std::string>> r;
    for (int i = 0; i < n; ++i) r.emplace_back(test::marked("t", i), test::marked("a", i));
    return r;
  };
  using Rows = std::vector<std::pair<std::string, std::string>>;
  // clang-format off
  const struct {
    const char* speed;
    Rows types;
    const char* expected;
  } cases[] = {
      {"x", {{" ", "st."}}, "focus skor @-1 skor"},        // no number before a blank name
      {"0,01", rows(101), "S313 (<0,1 s15). @-1 skor"},    // too slow before too many rows
      {"35", [&] { Rows r = rows(101); r[0].first = ""; return r; }(),
       "S305 101 (>100). @-1 Table0"},                     // too many rows before a blank
      {"35", {{"a", " "}, {"", "b"}}, "S291 1. @0:2 Table0"},  // the rows from the top
      {"35", {{" ", " "}}, "S290 1. @0:1 Table0"},           // the full name before the abbreviation
      {"35", {{"a", "x"}, {"a", "x"}, {"", "z"}}, "S290 3. @2:1 Table0"},  // blanks before pairs
      {"35", {{"a", "x"}, {"b", "x"}, {"c", "y"}, {"a", "w"}},
       "S149 1 S1 4 S189. S203. @3:1 Table0"},               // a row's full name first
      {"35", {{"a", "x"}, {"b", "y"}, {"b", "x"}}, "S149 1 S1 3 S190. S203. @2:2 Table0"},
  };
  // clang-format on
  for (const auto& c : cases) {
    s.table0.clear();
    for (size_t r = 0; r < c.types.size(); ++r)
      setRow(s.table0, static_cast<int>(r),
             {{typeCol::kFullName, c.types[r].first.c_str()},
              {typeCol::kShortName, c.types[r].second.c_str()}});
    EXPECT_EQ(refusal(checkStreetTypesPage(s, c.speed)), c.expected) << c.speed;
    EXPECT_TRUE(s.db.streetTypes.empty());  // nothing stored
  }
}

TEST_F(StreetTypesStep, TypesAreStoredByTheirFirstFiveCharactersLaterRowsFirstOnATie) {
  typeTypes(
      {{"abcdex", "a"}, {"abcdey", "b"}, {"ab", "c"}, {"abc", "d"}, {"\xE0", "e"}, {"z", "f"}});
  ASSERT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");
  // Names take lower-case letters and punctuation, within 20 and 4 characters.
  const StreetTypeGridRules rules(s);
  for (const char* bad : {"a1", "Ab", "aZ", "a b", "\xC0", "\xDF", "aaaaaaaaaaaaaaaaaaaaa"})
    EXPECT_FALSE(rules.accepts(s.table0, 0, typeCol::kFullName, bad)) << bad;
  EXPECT_TRUE(rules.accepts(s.table0, 0, typeCol::kFullName, "\xBF\xE0-x.aaaaaaaaaaaaaaa"));
  EXPECT_FALSE(rules.accepts(s.table0, 0, typeCol::kShortName, "abcde"));
  EXPECT_TRUE(streetTypeGridKey(s, GridKey::InsertRow, 0, 1).rowsChanged);
  EXPECT_EQ(test::column(s.table0, typeCol::kFullName), "[abcdex][][abcdey][ab][abc][\xE0][z]");
  EXPECT_TRUE(streetTypeGridKey(s, GridKey::DeleteRow, 0, 1).rowsChanged);
  for (int k = 0; k < 7; ++k) EXPECT_TRUE(streetTypeGridKey(s, GridKey::DeleteRow, 0, 1).handled);
  EXPECT_EQ(test::column(s.table0, typeCol::kFullName), "[z]");  // the last row stays
  // The type chooser of the streets page names the types in their order, "street" chosen first.
  EXPECT_EQ(test::items(s.list0),
            "*ab (c)=0;abc (d)=1;abcdey (b)=2;abcdex (a)=3;z (f)=4;\xE0 (e)=5;");
}

TEST_F(StreetTypesStep, ATypeIsLockedWhileStreetsUseItAgainstTypingDeletingAndErasing) {
  typeStreetTypes();
  passStreetTypes();
  // A street typed under "avenue" but not stored yet locks its type on the way back.
  setRow(s.table_0, 0, {{streetCol::kType, "av."}, {streetCol::kName, "Kings"}});
  s.wizardStep = 3;
  dbrnBack(s);
  EXPECT_TRUE(typeLocked(s.table0, 1));
  // Stored and then deleted, it no longer does.
  passStreetTypes();
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName);
  s.wizardStep = 3;
  dbrnBack(s);
  EXPECT_FALSE(typeLocked(s.table0, 1));
  passStreetTypes();
  typeStreets();
  passStreets();
  s.wizardStep = 4;
  dbrnBack(s);
  // The grid keeps the rows in the order they were typed: street, avenue, unnamed. The street
  // of the sections without a street counts only while a section uses it.
  EXPECT_EQ(test::column(s.table0, typeCol::kStreets), "[2][1][]");
  EXPECT_FALSE(StreetTypeGridRules(s).typable(s.table0, 0, typeCol::kFullName));
  EXPECT_EQ(text(streetTypeTypingRefused(s, 0)), "S639.");
  EXPECT_EQ(text(streetTypeGridKey(s, GridKey::DeleteRow, 0, 1).warning), "S111.");
  EXPECT_EQ(text(streetTypeGridKey(s, GridKey::Delete, 0, 1).warning), "S638.");
  EXPECT_EQ(streetTypeTypingRefused(s, 2), std::nullopt);
  s.table0.set(2, typeCol::kStreets, "0");  // as a type without streets is loaded
  EXPECT_FALSE(typeLocked(s.table0, 2));
  EXPECT_FALSE(streetTypeGridKey(s, GridKey::Delete, 2, 1).handled);
  // Before the sections grid is loaded, the section records tell whether one uses it.
  std::string locks;
  s.db.sections.resize(1);
  s.table1Load = -1;
  for (int32_t on : {street("st.", "Oak"), noStreetStreet(s)}) {
    s.db.sections[0].streetIndex = on;
    refreshTypeLocks(s);
    locks += test::column(s.table0, typeCol::kStreets);
  }
  EXPECT_EQ(locks, "[2][1][][2][1][1]");
}

class StreetsStep : public test::DbrnWizardFixture {
 protected:
  using Rows = std::vector<std::tuple<const char*, const char*, const char*>>;
  void typeRows(const Rows& rows) {
    s.table_0.clear();
    int r = 0;
    for (const auto& [type, name, houses] : rows)
      setRow(s.table_0, r++,
             {{streetCol::kType, type}, {streetCol::kName, name}, {streetCol::kHouses, houses}});
    renumberRows(s.table_0);
  }
  // `rows` rows of type st. named S0, S1, ... with `houses` houses each.
  void typeMany(int rows, const char* houses) {
    s.table_0.clear();
    s.db.streets.clear();
    s.db.streetHouseCounts.clear();
    // clang-format off
    for (int r = 0; r < rows; ++r)
      setRow(s.table_0, r, {{streetCol::kType, "st."}, {streetCol::kHouses, houses},
                            {streetCol::kName, test::marked("S", r).c_str()}});
    // clang-format on
  }
  std::string check() { return refusal(checkStreetsPage(s, {})); }
  std::string checkRows(const Rows& rows) {
    typeRows(rows);
    return check();
  }
  std::string streetNames() const {
    std::string names;
    for (const StreetRec& st : s.db.streets) names += st.streetType + " " + st.name + ";";
    return names;
  }
};

TEST_F(StreetsStep, RowsNeedATypeAndANameAndAreUniqueByName) {
  enterUntil(1, 3);
  EXPECT_EQ(checkRows({{"", "", ""}}), "S659. @0 Table_0");
  EXPECT_EQ(text(*updatedText(checkStreetsPage(s, {}).updates, "Label2")), "<SpaceBar> - S63");
  EXPECT_EQ(checkRows({{"st.", "Oak", ""}, {"", "Elm", ""}}), "S292 2. @1:1 Table_0");
  EXPECT_EQ(checkRows({{"st.", "Oak", ""}, {"st.", " ", ""}}), "S289 2. @1:2 Table_0");
  EXPECT_EQ(checkRows({{"st.", "Oak", ""}, {"st.", "Elm", ""}, {"av.", " Oak ", ""}}),
            "S149 1 S1 3 S191. S203. @2:2 Table_0");
  EXPECT_TRUE(s.wizardStep == 3 && s.db.streets.empty());  // nothing stored by a refusal
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
  // Ten thousand rows pass, one more is refused.
  typeMany(10001, "");
  EXPECT_EQ(outcome(checkStreetRows(s)), "S304 10001 (>10000).");
  s.table_0.setRows(10000);
  EXPECT_EQ(outcome(checkStreetRows(s)), "passed");
  s.table_0.setRows(1);
  streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName);  // the last row stays, emptied
  EXPECT_EQ(test::column(s.table_0, streetCol::kRow) + s.table_0.cell(0, streetCol::kName), "[1]");
}

// Two faults on page 3 at once: the number of rows, then every row from the top (type, name,
// then at level 2 the house count), then the equal names, then the house total.
TEST_F(StreetsStep, OfTwoFaultsTheOneCheckedFirstIsReported) {
  // clang-format off
  const struct {
    int level;
    Rows rows;
    const char* expected;
  } cases[] = {
      {1, {{"", "", ""}, {"", "Elm", ""}}, "S659. @0 Table_0"},
      {1, {{"", "Oak", ""}, {"st.", "", ""}}, "S292 1. @0:1 Table_0"},
      {1, {{"st.", " ", ""}, {"", "Elm", ""}}, "S289 1. @0:2 Table_0"},
      {1, {{"st.", "Oak", ""}, {"st.", "Elm", ""}, {"st.", "Oak", ""}, {"", "Ash", ""}},
       "S292 4. @3:1 Table_0"},                              // the rows before the equal names
      {2, {{"st.", "", ""}}, "S289 1. @0:2 Table_0"},        // the name before the house count
      {2, {{"st.", "Oak", ""}, {"", "Elm", "1"}}, "S293 1. @0:3 Table_0"},
      {2, {{"st.", "Oak", "x"}, {"st.", "", "1"}}, "S357 1. @0:3 Table_0"},
      {2, {{"st.", "Oak", "0"}, {"st.", "Oak", "0"}},
       "S149 1 S1 2 S191. S203. @1:2 Table_0"},              // the equal names before the total
  };
  // clang-format on
  for (const auto& c : cases) {
    s = newDbrnWizard(kCreateDbrn, ',', "eng", app.texts);
    enterUntil(c.level, 3);
    typeRows(c.rows);
    EXPECT_EQ(check(), c.expected) << c.level << " " << std::get<1>(*c.rows.begin());
    EXPECT_EQ(s.wizardStep, 3);
  }
  // The row limit before the rows.
  typeMany(10001, "");
  s.table_0.set(0, streetCol::kType, "");
  EXPECT_EQ(check(), "S304 10001 (>10000). @-1 Table_0");
}

TEST_F(StreetsStep, LevelTwoNeedsWholeHouseCountsAndAHouseTotalUpTo300000) {
  enterUntil(2, 3);
  EXPECT_EQ(checkRows({{"st.", "Oak", ""}}), "S293 1. @0:3 Table_0");
  EXPECT_EQ(checkRows({{"st.", "Oak", "0"}}), "S326. @-1 Table_0");
  // Names of 30 characters and house counts of three digits are typed; types are picked.
  std::string typed;
  for (const std::string& text : {std::string(30, 'x'), std::string(31, 'x'), std::string("999"),
                                  std::string("1000"), std::string("1a")})
    for (int col : {streetCol::kType, streetCol::kName, streetCol::kHouses})
      typed += StreetGridRules(s).accepts(s.table_0, 0, col, text) ? 'y' : '.';
  EXPECT_EQ(typed, ".y.....yy.y..y.");
  typeRows({{"st.", "Oak", "+"}});  // pasted, no whole number
  const StepResult pasted = checkStreetsPage(s, {});
  EXPECT_EQ(outcome(pasted) + text(*updatedText(pasted.updates, "Label2")),
            "S357 1.<SpaceBar> - S62");

  // The re-sort orders by type and twenty characters and renumbers every reference.
  typeMany(0, "");  // no streets stored
  const std::string longA = "Abcdefghijklmnopqrst-one", longB = "Abcdefghijklmnopqrst-two";
  // clang-format off
  typeRows({{"st.", "Oak", "1"}, {"av.", "Kings", "1"}, {"st.", longA.c_str(), "1"},
            {"st.", longB.c_str(), "1"}, {"st.", "Elm", "2"}});
  // clang-format on
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  // Records of sections, houses and the grids that name streets by their old index.
  s.db.sections.resize(1);
  s.table1Load = -1;
  s.db.sections[0].streetIndex = 4;  // Elm
  s.db.houses = {HouseRec{0, "1", 0, {}}, HouseRec{4, "2", 0, {}}};
  s.table1Load = s.recordsLoad;
  setRow(s.table1, 1, {{sectionCol::kStreet, "3"}});  // longB
  s.table1.set(0, sectionCol::kStreet, "1");          // Kings
  setRow(s.table4, 0, {{houseCol::kStreet, "0"}});    // Oak

  ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  // Avenues before streets; names agreeing in 20 characters later record first.
  EXPECT_EQ(streetNames(), "av. Kings;st. " + longB + ";st. " + longA + ";st. Elm;st. Oak;");
  for (size_t i = 0; i < s.db.streets.size(); ++i) EXPECT_EQ(s.db.streets[i].streetNo, int32_t(i));
  EXPECT_EQ(s.db.streetHouseCounts, (std::vector<int32_t>{1, 1, 1, 2, 1}));
  EXPECT_EQ(s.db.streetTypes[0].streetCount * 10 + s.db.streetTypes[1].streetCount, 14);
  EXPECT_EQ(s.db.sections[0].streetIndex, 3);
  EXPECT_EQ(s.db.houses[0].streetIndex * 10 + s.db.houses[1].streetIndex, 43);
  EXPECT_EQ(s.table1.cell(0, sectionCol::kStreet) + s.table1.cell(1, sectionCol::kStreet), "01");
  EXPECT_EQ(s.table4.cell(0, houseCol::kStreet), "4");
  // The typed rows stay, pointing at their streets' new records; listed by type, the streets
  // show their house counts.
  EXPECT_EQ(s.table_0.cell(0, streetCol::kName) + s.table_0.cell(0, streetCol::kIndex), "Oak4");
  listStreetsByType(s, true);
  list0Change(s, 0);
  EXPECT_EQ(test::column(s.table_0, streetCol::kName) + test::column(s.table_0, streetCol::kHouses),
            "[Kings][1]");
  for (int k = 0; k < 2; ++k) {  // on to a type without streets: it lists one empty row
    const GridKeyResult r = streetGridKey(s, GridKey::NextType, 0, streetCol::kName);
    EXPECT_TRUE(r.rowsChanged && r.handled);
  }
  EXPECT_EQ(test::column(s.table_0, streetCol::kName), "[]");
  list0Change(s, 0);  // the type shown stays when the page comes back
  prepareStreetsPage(s);
  EXPECT_EQ(s.list0.row, 0);
  typeMany(301, "999");
  s.table_0.set(300, streetCol::kHouses, "301");  // 300 x 999 + 301 = 300001
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "S303 300001(>300000).");
  typeMany(301, "999");
  s.table_0.set(300, streetCol::kHouses, "300");
  EXPECT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  EXPECT_EQ(s.houseTotal, 300000);
}

// At level 2 a deleted street takes its houses along: the first street stored, deleted, is gone
// at the next pass and its houses are not counted.
TEST_F(StreetsStep, ADeletedStreetTakesItsHousesAlong) {
  enterUntil(2, 3);
  typeRows({{"st.", "Oak", "2"}, {"st.", "Elm", "1"}});
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  ASSERT_EQ(s.table_0.cell(0, streetCol::kIndex), "0");
  EXPECT_TRUE(streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName).rowsChanged);
  EXPECT_EQ(s.db.streets[0].state, "2");
  ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  EXPECT_EQ(streetNames() + std::to_string(s.houseTotal), "st. Elm;1");
  EXPECT_EQ(s.db.streetHouseCounts, std::vector<int32_t>{1});
}

// The street of sections without a street is the program's: with every typed street deleted,
// an empty row is no street at all.
TEST_F(StreetsStep, TheProgramsOwnStreetIsNoStreetOfTheUser) {
  enterUntil(1, 4);
  ASSERT_GE(noStreetStreet(s), 0);
  s.table1.setRows(0);  // no section uses a street
  listStreetsByType(s, false);
  s.table_0.clear();
  for (int32_t st = 0; st < s.streetTotal(); ++st)
    if (!isNoStreetStreet(s, st)) s.db.streets[st].state = "2";
  s.table_0.setRows(1);
  EXPECT_EQ(outcome(checkStreetRows(s)), "S659.");
}

TEST_F(StreetsStep, DeletedStreetsAreDroppedAtTheNextPassAndReferencedOnesAreKept) {
  enterUntil(1, 2);
  s.table0.set(2, typeCol::kFullName, "a");  // the no-street type sorts first
  passStreetTypes();
  typeRows({{"st.", "Oak", ""}, {"st.", "Elm", ""}, {"av.", "Kings", ""}});
  ASSERT_TRUE(checkAndStoreStreets(s).passed());
  s.db.streets[2].state = "3";
  EXPECT_EQ(text(streetGridKey(s, GridKey::DeleteRow, 2, streetCol::kName).warning), "S112.");
  // A street that a section uses is kept as well: a section record, or a row once loaded.
  s.db.sections.resize(1);
  s.table1Load = -1;
  s.db.sections[0].streetIndex = 0;
  EXPECT_EQ(text(streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName).warning), "S112.");
  s.table1Load = s.recordsLoad;
  setRow(s.table1, 0, {{sectionCol::kStreet, "1"}});
  EXPECT_EQ(text(streetGridKey(s, GridKey::DeleteRow, 1, streetCol::kName).warning), "S112.");
  for (int row : {-1, 3})  // outside the grid
    EXPECT_FALSE(streetGridKey(s, GridKey::DeleteRow, row, streetCol::kName).rowsChanged);
  for (int32_t street : {-1, s.streetTotal()}) EXPECT_FALSE(streetInUse(s, street)) << street;
  const GridKeyResult r = streetGridKey(s, GridKey::DeleteRow, 0, streetCol::kName);
  EXPECT_TRUE(!r.warning && r.rowsChanged && r.handled);
  EXPECT_EQ(s.db.streets[0].state, "2");
  EXPECT_EQ(test::column(s.table_0, streetCol::kRow) + test::column(s.table_0, streetCol::kName),
            "[1][2][Elm][Kings]");
  ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed");
  resortStreets(s);
  // The program's street of the sections without a street, once; Kings, Elm.
  EXPECT_EQ(streetNames(), "none ;av. Kings;st. Elm;");
  EXPECT_EQ(s.table1.cell(0, sectionCol::kStreet), "2");
}

}  // namespace
}  // namespace qj
