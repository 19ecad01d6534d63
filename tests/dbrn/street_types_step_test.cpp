// Step 2 of the database wizard: the average speed, the street types, their order and their
// locks.

#include "dbrn/street_types_step.h"

#include <gtest/gtest.h>

#include "dbrn/dbrn_wizard_fixture.h"

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
};

TEST_F(StreetTypesStep, TheAverageSpeedIsANumberOfAtLeastOneTenth) {
  typeTypes({{"street", "st."}});
  // The literal shows a comma whatever the separator.
  const std::pair<const char*, const char*> cases[] = {{"", "focus skor @-1 skor"},
                                                       {"abc", "focus skor @-1 skor"},
                                                       {"0", "S313 (<0,1 s15). @-1 skor"},
                                                       {"0,099", "S313 (<0,1 s15). @-1 skor"},
                                                       {"0,1", "passed @-1 "}};
  for (const auto& [speed, expected] : cases)
    EXPECT_EQ(refusal(checkStreetTypesPage(s, speed)), expected) << speed;
  EXPECT_EQ(s.avgSpeedText, "0,1");
}

TEST_F(StreetTypesStep, RowsAreCheckedForCountBlanksAndThenForTheFirstEqualPair) {
  for (int r = 0; r < 101; ++r)
    setRow(s.table0, r,
           {{typeCol::kFullName, test::marked("t", r).c_str()},
            {typeCol::kShortName, test::marked("a", r).c_str()}});
  EXPECT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "S305 101 (>100).");
  s.table0.setRows(100);
  EXPECT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");

  typeTypes({{"street", "st."}, {" ", "av."}});
  EXPECT_EQ(check(), "S290 2. @1 Table0");
  typeTypes({{"street", "st."}, {"avenue", ""}});
  EXPECT_EQ(check(), "S291 2. @1 Table0");
  // Row 1's abbreviation is repeated in row 5, row 2's full name in row 4: row 1 comes first.
  typeTypes({{"a", "x"}, {"b", "y"}, {"c", "z"}, {"b", "w"}, {"e", "x"}});
  EXPECT_EQ(check(), "S149 1 S1 5 S190. S203. @4 Table0");
  typeTypes({{"a", "x"}, {"b", "y"}, {"c", "z"}, {"b", "w"}, {"e", "v"}});
  EXPECT_EQ(check(), "S149 2 S1 4 S189. S203. @3 Table0");
  typeTypes({{"a", "x"}, {"a ", "y"}});  // texts are compared exactly
  EXPECT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");
}

TEST_F(StreetTypesStep, TypesAreStoredByTheirFirstFiveCharactersLaterRowsFirstOnATie) {
  typeTypes(
      {{"abcdex", "a"}, {"abcdey", "b"}, {"ab", "c"}, {"abc", "d"}, {"\xE0", "e"}, {"z", "f"}});
  ASSERT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");
  std::string names;
  for (const StreetTypeRec& t : s.db.streetTypes) names += t.fullName + " ";
  EXPECT_EQ(names, "ab abc abcdey abcdex z \xE0 ");
  EXPECT_EQ(s.db.header.streetTypeCount * 10 + s.wizardStep, 63);
  // The type chooser of the streets page names the types in their order.
  EXPECT_EQ(s.list0.items[0] + s.list0.items[5], "ab (c)\xE0 (e)");
  EXPECT_EQ(s.list0.row, 0);
  // The type named "street" is chosen first.
  typeTypes({{"avenue", "av."}, {"street", "st."}});
  ASSERT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed");
  EXPECT_EQ(s.list0.items[s.list0.row], "street (st.)");
  EXPECT_EQ(s.shownType, "st.");
}

TEST_F(StreetTypesStep, NamesTakeLowerCaseLettersAndPunctuationAndRowsAreInsertedBelow) {
  const StreetTypeGridRules rules(s);
  typeTypes({{"a", "x"}, {"b", "y"}});
  const int full = typeCol::kFullName;
  for (const char* ok : {"\xF3\xeb\xe8\xf6\xe0-x.", "\xBF@", "aaaaaaaaaaaaaaaaaaaa"})
    EXPECT_TRUE(rules.accepts(s.table0, 0, full, ok)) << ok;
  for (const char* bad : {"aaaaaaaaaaaaaaaaaaaaa", "a1", "Ab", "a b", "\xC0", "\xDF"})
    EXPECT_FALSE(rules.accepts(s.table0, 0, full, bad)) << bad;
  EXPECT_TRUE(rules.accepts(s.table0, 0, typeCol::kShortName, "abcd"));
  EXPECT_FALSE(rules.accepts(s.table0, 0, typeCol::kShortName, "abcde"));

  EXPECT_TRUE(streetTypeGridKey(s, GridKey::InsertRow, 0, 1).rowsChanged);
  EXPECT_EQ(s.table0.cell(1, full) + "|" + s.table0.cell(2, full) + s.table0.cell(2, 0), "|b3");
  EXPECT_EQ(s.typeCount, 3);
  // The last row is never deleted.
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(streetTypeGridKey(s, GridKey::DeleteRow, 0, 1).handled);
  EXPECT_EQ(s.table0.rows(), 1);
  EXPECT_EQ(s.table0.cell(0, full), "b");
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
  EXPECT_EQ(s.table_0.cell(0, streetCol::kName), "Kings");  // the typed row was kept
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
  EXPECT_EQ(s.table0.rows(), 3);
  EXPECT_EQ(text(streetTypeGridKey(s, GridKey::Delete, 0, 1).warning), "S638.");
  EXPECT_EQ(streetTypeTypingRefused(s, 2), std::nullopt);
  EXPECT_FALSE(streetTypeGridKey(s, GridKey::Delete, 2, 1).handled);
}

}  // namespace
}  // namespace qj
