// Steps 5 and 6 of the database wizard: the turn pairs with their directions, and the building
// of the section records, reverse sections included, with the streets' states.

#include <gtest/gtest.h>

#include "dbrn/access_step.h"
#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/turns_step.h"

namespace qj {
namespace {

namespace tc = turnCol;

class TurnsStep : public test::DbrnWizardFixture {
 protected:
  // The directions that pressing the SpaceBar on pair k of row 0 shows in turn.
  std::string cycle(int k, int presses) {
    std::string seen;
    for (int i = 0; i < presses; ++i) {
      turnGridKey(s, GridKey::Space, 0, tc::direction(k));
      seen += s.table2.cell(0, tc::direction(k)) + " ";
    }
    return seen;
  }
};

TEST_F(TurnsStep, PairsAreFilledInOrderAndDirectionsStepOnFromThePairBefore) {
  enterUntil(1, 5);
  test::setRow(s.table2, 1, {{tc::node(1), "3"}, {tc::direction(1), "^"}});
  EXPECT_EQ(refusal(checkTurnsPage(s)), "S774 2. @1:4 Table2");
  EXPECT_EQ(test::column(s.table2, tc::kName),
            "[st. Oak, 1-9][  st. Oak, 2-10][st. Elm, 1-5][av. Kings, 1-7][none , -  *]");
  // Section 2 ends at node 1, from where section 1 leads to node 2.
  s.table2.set(1, tc::node(0), "2");
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S273 2.");
  s.table2.set(1, tc::direction(0), "^");
  s.table2.set(1, tc::node(1), "0");
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S365 2S128 2.");
  s.table2.set(1, tc::node(1), "3");  // from node 1 no section leads to node 3
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S361 2S128 2 (S775).");
  s.table2.set(1, tc::node(1), "2x");  // pasted: no node at all
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S361 2S128 2 (S775).");
  // The tenth pair is checked as well.
  s.table2.set(1, tc::node(1), "");
  test::setRow(s.table2, 3, {{tc::node(9), "3"}, {tc::direction(9), "^"}});
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S774 4.");
  s.table2.set(3, tc::node(9), "");
  // A direction left behind by an erased node is removed.
  s.table2.set(1, tc::direction(2), ">1");
  ASSERT_EQ(outcome(checkTurnsPage(s)), "passed");
  EXPECT_EQ(s.table2.cell(1, tc::direction(1)) + s.table2.cell(1, tc::direction(2)) +
                s.table2.cell(3, tc::direction(9)),
            "");
  EXPECT_EQ(s.wizardStep, 6);
  // Directions step on from the pair before.
  // First pair or not, the direction now, the direction of the pair before, the next one.
  // clang-format off
  const std::tuple<bool, const char*, const char*, const char*> steps[] = {
      {true, "", "", "^"}, {true, "", "<1", "^"}, {true, "", ">2", ">2"}, {false, "", "v", ""},
      {false, "^", "", "v"}, {false, "^", "<1", "v"}, {false, "v", ">1", "<1"},
      {false, "v", "x", ">1"}, {false, ">2", "", ">3"}, {false, ">2", ">3", "<1"},
      {false, ">2", "<1", ">3"},
      {false, "<1", "", "<2"}, {false, "<1", "<2", "<2"}, {false, "?", "x", "x"}};
  // clang-format on
  for (const auto& [first, now, before, next] : steps)
    EXPECT_EQ(nextDirection(first, now, before), next) << first << now << before;

  s.table2.clear();
  s.table2.setRows(5);
  for (int k = 0; k < 3; ++k) s.table2.set(0, tc::node(k), "1");
  EXPECT_EQ(cycle(0, 6), "^ v >1 <1 ^ v ");
  // The SpaceBar on pair 1 empties the directions after it, not their nodes.
  turnGridKey(s, GridKey::Space, 0, tc::direction(0));
  EXPECT_EQ(s.table2.cell(0, tc::direction(1)) + "|" + s.table2.cell(0, tc::node(2)), "|1");
  EXPECT_EQ(cycle(3, 1), " ");  // a pair without a node gets no direction
  // Nodes are typed and directions stepped in the ten pairs only, the tenth like the first.
  std::string kinds;
  for (int col = 0; col < tc::kCount + 2; ++col)
    kinds += TurnGridRules(s).typable(s.table2, 0, col)       ? 'n'
             : turnGridKey(s, GridKey::Space, 0, col).handled ? 'd'
                                                              : '.';
  EXPECT_EQ(kinds, "....ndndndndndndndndndnd..");
  EXPECT_TRUE(TurnGridRules(s).accepts(s.table2, 0, tc::node(9), "99999"));
  EXPECT_FALSE(TurnGridRules(s).accepts(s.table2, 0, tc::node(9), "123456"));
}

// Two faults on page 5 at once: within a row the gaps, then the missing directions, then pair by
// pair a node 0 or a node no section leads to; a row's faults before the next row's.
TEST_F(TurnsStep, OfTwoFaultsTheOneCheckedFirstIsReported) {
  enterUntil(1, 5);
  const GridTable typed = s.table2;
  using Pairs =
      std::vector<std::tuple<int, int, const char*, const char*>>;  // row, pair, node, dir
  // Sections 1 and 2 run between nodes 1 and 2: from the end of section 2 (node 1) section 1
  // leads to node 2; no section leads from node 1 to node 3.
  // clang-format off
  const std::pair<Pairs, const char*> cases[] = {
      {{{1, 0, "", ""}, {1, 1, "2", ""}}, "S774 2. @1:4 Table2"},            // a gap, no direction
      {{{1, 0, "2", "^"}, {1, 2, "2", "v"}}, "S774 2. @1:6 Table2"},          // the gap named
      {{{1, 0, "0", "^"}, {1, 1, "2", ""}}, "S273 2. @1:7 Table2"},          // no direction, node 0
      {{{1, 0, "3", "^"}, {1, 1, "0", "v"}}, "S361 1S128 2 (S775). @1:4 Table2"},
      {{{1, 0, "0", "^"}, {1, 1, "3", "v"}}, "S365 1S128 2. @1:4 Table2"},
      {{{1, 0, "2", "^"}, {1, 1, "3", "v"}, {1, 2, "0", ">1"}}, "S361 2S128 2 (S775). @1:6 Table2"},
      {{{1, 0, "3", "^"}, {2, 0, "", ""}, {2, 1, "1", "^"}}, "S361 1S128 2 (S775). @1:4 Table2"},
  };
  // clang-format on
  for (const auto& [pairs, expected] : cases) {
    s.table2 = typed;
    for (const auto& [row, k, node, direction] : pairs) {
      s.table2.set(row, tc::node(k), node);
      s.table2.set(row, tc::direction(k), direction);
    }
    s.wizardStep = 5;
    EXPECT_EQ(refusal(checkTurnsPage(s)), expected);
    EXPECT_EQ(s.wizardStep, 5);
  }
}

// A network of one section is checked like any other.
TEST_F(TurnsStep, ASingleSectionIsCheckedToo) {
  enterUntil(1, 4);
  for (GridTable* g : {&s.table1, &s.table2, &s.table3}) g->setRows(1);
  passSections();
  ASSERT_EQ(s.sectionRowCount, 1);
  test::setRow(s.table2, 0, {{tc::node(0), "1"}, {tc::direction(0), "v"}});
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S361 1S128 1 (S775).");
  s.table2.set(0, tc::node(0), "");
  EXPECT_EQ(outcome(checkTurnsPage(s)), "passed");
}

// At level 2 a street is referenced by a section or by its houses; one with neither is not.
TEST_F(TurnsStep, LevelTwoStreetsAreReferencedBySectionsOrHouses) {
  enterUntil(2, 3);
  typeStreets();
  s.table_0.set(0, streetCol::kHouses, "0");  // Oak: no houses
  s.table_0.set(2, streetCol::kHouses, "3");  // Kings
  test::setRow(s.table_0, 3,
               {{streetCol::kType, "st."}, {streetCol::kName, "Ash"}, {streetCol::kHouses, "0"}});
  test::setRow(s.table_0, 4,
               {{streetCol::kType, "st."}, {streetCol::kName, "Birch"}, {streetCol::kHouses, "2"}});
  passStreets();
  typeSection(0, "st.", "Elm", "1", "5", "2", "3");
  typeSection(1, "st.", "Oak", "1", "9", "3", "1");
  for (GridTable* g : {&s.table1, &s.table2, &s.table3}) g->setRows(2);
  passSections();
  passTurns();
  passAccess();
  std::string states;
  for (const StreetRec& st : s.db.streets) states += st.name + st.state + " ";
  EXPECT_EQ(states, "Kings3 Ash1 Birch3 Elm3 Oak3 ");
}

TEST_F(TurnsStep, StepSixBuildsTheRecordsAndTheStatesOfTheStreets) {
  enterUntil(1, 6);
  accessGridKey(s, GridKey::Space, 2, accessCol::kReverseClosed);
  accessGridKey(s, GridKey::Space, 0, accessCol::kPrevClosed);
  EXPECT_FALSE(accessGridKey(s, GridKey::Delete, 3, accessCol::kPrevClosed).handled);
  for (int row : {-1, 5})  // outside the grids
    EXPECT_FALSE(accessGridKey(s, GridKey::Space, row, accessCol::kPrevClosed).handled ||
                 turnGridKey(s, GridKey::Space, row, tc::direction(0)).handled);
  s.table1.set(1, sectionCol::kClosed, "  *");
  s.db.streets.push_back({"st.", "Unused", "3", s.streetTotal()});  // no section uses it

  const StepResult r = checkAccessPage(s, toDateTime({2024, 12, 31, 15, 30, 0, 0}));
  ASSERT_EQ(r.nextStep, 8);
  const DbrnHeader& h = s.db.header;
  // Dated in the English interface's format, whatever the C library's locale.
  EXPECT_EQ(std::to_string(h.sectionCount) + " " + std::to_string(h.nodeCount) + " " + h.dbDate,
            "5 4 31/12/2024");
  // Streets: Kings, Elm, Oak, the street of sections without a street, Unused.
  EXPECT_EQ(
      test::sectionLines(s.db.sections),
      (std::vector<std::string>{"2 00001>00002 1-9 r2 ..*. 00001v 00003>",
                                "2 00002>00001 2-10 r1 .*..", "1 00002>00003 1-5 r ...* 00001^",
                                "0 00003>00001 1-7 r .... 00002^", "3 00003>00004  -  r *..."}));
  EXPECT_EQ(s.db.streets.back().state + s.db.streets[2].state, "13");
  // The streets page locks the rows of the streets now referenced, the first street's too.
  EXPECT_EQ(test::column(s.table_0, streetCol::kName) + test::column(s.table_0, streetCol::kState),
            "[Oak][Elm][Kings][3][3][3]");

  // View mode changes no record.
  const DbrnFile before = s.db;
  s.mode = kViewDbrn;
  EXPECT_FALSE(accessGridKey(s, GridKey::Space, 0, accessCol::kPrevClosed).handled);
  ASSERT_EQ(outcome(checkAccessPage(s, toDateTime({2025, 1, 1}))), "passed");
  EXPECT_EQ(s.db, before);
  // The Russian interface dates a correction its own way.
  s.mode = kCorrectDbrn;
  s.langCode = "rus";
  ASSERT_EQ(outcome(checkAccessPage(s, toDateTime({2025, 1, 2}))), "passed");
  EXPECT_EQ(s.db.header.dbDate, "02.01.2025");
}

}  // namespace
}  // namespace qj
