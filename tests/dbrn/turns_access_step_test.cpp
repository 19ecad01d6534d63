// Steps 5 and 6 of the database wizard: the turn pairs with their directions and reverse
// sections, and the building of the section records with the streets' states.

#include <gtest/gtest.h>

#include "dbrn/access_step.h"
#include "dbrn/dbrn_wizard_fixture.h"
#include "dbrn/turns_step.h"

namespace qj {
namespace {

using test::setRow;
namespace tc = turnCol;

class TurnsStep : public test::DbrnWizardFixture {
 protected:
  void openPage(int level = 1) {
    passIdentity(level);
    typeStreetTypes();
    passStreetTypes();
    typeStreets();
    passStreets();
    typeSections();
    passSections();
    typeTurns();
  }
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

TEST_F(TurnsStep, DirectionsStepOnFromThePairBefore) {
  EXPECT_EQ(nextDirection(true, "", ""), "^");
  EXPECT_EQ(nextDirection(true, "", "<1"), "^");
  EXPECT_EQ(nextDirection(true, "", ">2"), ">2");
  EXPECT_EQ(nextDirection(false, "", "v"), "");
  EXPECT_EQ(nextDirection(false, "^", ""), "v");
  EXPECT_EQ(nextDirection(false, "^", "<1"), "v");
  EXPECT_EQ(nextDirection(false, "v", ">1"), "<1");
  EXPECT_EQ(nextDirection(false, "v", "x"), ">1");
  EXPECT_EQ(nextDirection(false, ">2", ""), ">3");
  EXPECT_EQ(nextDirection(false, ">2", ">3"), "<1");
  EXPECT_EQ(nextDirection(false, ">2", "<1"), ">3");
  EXPECT_EQ(nextDirection(false, "<1", ""), "<2");
  EXPECT_EQ(nextDirection(false, "<1", "<2"), "<2");
  EXPECT_EQ(nextDirection(false, "?", "x"), "x");

  openPage();
  s.table2.clear();
  s.table2.setRows(5);
  for (int k = 0; k < 3; ++k) s.table2.set(0, tc::node(k), "1");
  EXPECT_EQ(cycle(0, 6), "^ v >1 <1 ^ v ");
  EXPECT_EQ(cycle(1, 3), ">1 <1 >1 ");
  EXPECT_EQ(cycle(2, 3), ">2 <1 >2 ");
  // The SpaceBar on pair 1 empties the directions after it, not their nodes.
  turnGridKey(s, GridKey::Space, 0, tc::direction(0));
  EXPECT_EQ(s.table2.cell(0, tc::direction(1)), "");
  EXPECT_EQ(s.table2.cell(0, tc::node(2)), "1");
  // A pair without a node gets no direction.
  EXPECT_EQ(cycle(3, 1), " ");
  EXPECT_FALSE(turnGridKey(s, GridKey::Space, 0, tc::node(0)).handled);
  const TurnGridRules rules(s);
  EXPECT_TRUE(rules.accepts(s.table2, 0, tc::node(9), "99999"));
  EXPECT_FALSE(rules.accepts(s.table2, 0, tc::node(9), "123456"));
  EXPECT_FALSE(rules.typable(s.table2, 0, tc::direction(0)));
}

TEST_F(TurnsStep, PairsAreFilledInOrderWithDirectionsToExistingSections) {
  openPage();
  s.table2.set(1, tc::node(1), "3");
  s.table2.set(1, tc::direction(1), "^");
  StepResult r = checkTurnsPage(s);
  EXPECT_EQ(outcome(r), "S774 2.");
  EXPECT_EQ(r.check.row, 1);
  EXPECT_EQ(r.check.focus, "Table2");
  // Rows before the refused one are padded already.
  EXPECT_EQ(s.table2.cell(0, tc::node(0)), "00001");
  // Section 2 ends at node 1, from where section 1 leads to node 2.
  s.table2.set(1, tc::node(0), "2");
  s.table2.set(1, tc::direction(0), "");
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S273 2.");
  s.table2.set(1, tc::direction(0), "^");
  s.table2.set(1, tc::node(1), "0");
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S365 2S128 2.");
  // From node 1 no section leads to node 3.
  s.table2.set(1, tc::node(1), "3");
  EXPECT_EQ(outcome(checkTurnsPage(s)), "S361 2S128 2 (S775).");
  s.table2.set(1, tc::node(1), "");
  // A direction left behind by an erased node is removed.
  s.table2.set(1, tc::direction(2), ">1");
  ASSERT_EQ(outcome(checkTurnsPage(s)), "passed");
  EXPECT_EQ(s.table2.cell(1, tc::direction(1)), "");
  EXPECT_EQ(s.table2.cell(1, tc::direction(2)), "");
  EXPECT_EQ(s.wizardStep, 6);
}

TEST_F(TurnsStep, TheReverseSectionIsTheFirstRowBack) {
  openPage();
  // A second section from 2 back to 1 after the first.
  typeSection(5, "av.", "Kings", "9", "11", "2", "1");
  typeSection(6, "none", "", "", "", "4", "3", "  *");
  s.sectionRowCount = s.table1.rows();
  ASSERT_EQ(outcome(checkSectionsPage(s)), "S469 2 S1 6 S604 (00002 S1 00001).");
  s.table1.set(5, sectionCol::kStart, "4");
  s.table1.set(5, sectionCol::kEnd, "2");
  passSections();
  passTurns();
  EXPECT_EQ(s.table3.cell(0, accessCol::kReverse), "2");
  EXPECT_EQ(s.table3.cell(1, accessCol::kReverse), "1");
  EXPECT_EQ(s.table3.cell(2, accessCol::kReverse), "");  // one-way
  EXPECT_EQ(s.table3.cell(4, accessCol::kReverse), "7");
  EXPECT_EQ(s.table3.cell(6, accessCol::kReverse), "5");
}

TEST_F(TurnsStep, StepSixBuildsTheRecordsAndTheStatesOfTheStreets) {
  openPage();
  passTurns();
  accessGridKey(s, GridKey::Space, 2, accessCol::kReverseClosed);
  accessGridKey(s, GridKey::Space, 3, accessCol::kPrevClosed);
  EXPECT_EQ(s.table3.cell(3, accessCol::kPrevClosed), "  *");
  EXPECT_FALSE(accessGridKey(s, GridKey::Space, 3, accessCol::kReverse).handled);
  s.table1.set(1, sectionCol::kClosed, "  *");
  // A street that no section uses.
  s.db.streets.push_back({"st.", "Unused", "3", s.streetTotal()});

  const StepResult r = checkAccessPage(s, "31.12.2024");
  ASSERT_TRUE(r.passed());
  EXPECT_EQ(r.nextStep, 8);
  EXPECT_EQ(text(*updatedText(r.updates, "DBRN2_5")), "31.12.2024");
  EXPECT_EQ(updatedVisibility(r.updates, "nHs_5"), false);
  const DbrnHeader& h = s.db.header;
  EXPECT_EQ(h.sectionCount, 5);
  EXPECT_EQ(h.nodeCount, 4);
  EXPECT_EQ(h.dbDate, "31.12.2024");
  ASSERT_EQ(s.db.sections.size(), 5u);
  const TransitSectionRec& first = s.db.sections[0];
  ASSERT_EQ(first.turns.size(), 2u);
  EXPECT_EQ(first.turns[0].node, "00001");
  EXPECT_EQ(first.turns[0].direction, "v");
  EXPECT_EQ(first.turns[1].direction, ">");
  EXPECT_EQ(first.reverseSection, "2");
  EXPECT_EQ(s.db.sections[1].closed, "*");
  EXPECT_EQ(s.db.sections[2].reverseObjectsClosed, "*");
  EXPECT_EQ(s.db.sections[3].prevObjectsClosed, "*");
  EXPECT_TRUE(s.db.sections[4].turns.empty());
  EXPECT_EQ(s.db.sections[4].houseFrom, " ");
  EXPECT_EQ(s.db.sections[4].streetIndex, noStreetStreet(s));
  EXPECT_EQ(s.db.streets.back().state, "1");
  EXPECT_EQ(s.db.streets[street("st.", "Oak")].state, "3");
  // The streets page locks the rows of the streets now referenced.
  for (int row = 0; row < s.table_0.rows(); ++row) {
    if (s.table_0.cell(row, streetCol::kName) == "Oak") {
      EXPECT_EQ(s.table_0.cell(row, streetCol::kState), "3");
    }
  }
}

TEST_F(TurnsStep, ViewModeChangesNoRecord) {
  openPage();
  passTurns();
  const DbrnFile before = s.db;
  s.mode = kViewDbrn;
  s.db.header.dbDate = "01.01.2001";
  ASSERT_EQ(outcome(checkAccessPage(s, "31.12.2024")), "passed");
  EXPECT_EQ(s.db.header.dbDate, "01.01.2001");
  EXPECT_EQ(s.db.sections, before.sections);
}

}  // namespace
}  // namespace qj
