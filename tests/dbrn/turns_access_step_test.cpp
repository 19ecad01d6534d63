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
  EXPECT_EQ(refusal(checkTurnsPage(s)), "S774 2. @1 Table2");
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
