#include "task/auto_transitions.h"

#include <gtest/gtest.h>

#include <numeric>

#include "route/solver_graph.h"
#include "support/shell_fixture.h"
#include "task/task_network.h"

namespace qj {
namespace {

// The houses of Main on mainNetwork (links: section number, metres from the house to its exit,
// metres from the exit to the section's end):
//   H0 "3" S0 (no. 1) a 10, x 75     H1 "15" S2 (no. 3) a 5, x 100    H2 "6" yard 1 S1 a 20, x 50
//   H3 "8" yard 1, no link           H4 "9" S0 a 4, x 30; S5 (no. 6) a 8, x 10
// Reverse sections: S0 <-> S1, S2 <-> S3, S5 -> S4 (closed; the first section from 2 to 4).
test::NetworkBuilder housesOnMain() {
  test::NetworkBuilder b = test::mainNetwork("use2");
  const int32_t main = b.street("Main");
  b.db.houses = {{main, "3", 0, {{1, 10, 75}}},
                 {main, "15", 0, {{3, 5, 100}}},
                 {main, "6", 1, {{2, 20, 50}}},
                 {main, "8", 1, {}},
                 {main, "9", 0, {{1, 4, 30}, {6, 8, 10}}}};
  b.db.streetHouseCounts = {5, 0};
  return b;
}

// Points 1-5 at the houses H0-H4; point 3 takes 6 minutes, point 5 12. Point 4 has no way in
// or out: the task is usable only while it may be refused.
TaskWizardState level2Task(test::NetworkBuilder b = housesOnMain()) {
  TaskWizardState st = test::level1Task(
      b.finish(),
      {{"Main", "3", 0}, {"Main", "15", 0}, {"Main", "6", 6}, {"Main", "8", 0}, {"Main", "9", 12}});
  st.header.approachSpeed = 5;
  for (int i = 0; i < 5; ++i) st.points[i].houseIndex = i;
  st.header.refusalFlag = 1;
  st.points[3].refusalAllowed = 1;
  return st;
}

using Ways = std::vector<std::pair<int32_t, double>>;  // kind, metres

Ways ways(const std::vector<TransitionRec>& list) {
  Ways out;
  for (const auto& t : list) out.emplace_back(t.kind, t.dist);
  return out;
}

TEST(AutoTransitions, WaysFollowTheHouseLinksAndTheYards) {
  TaskWizardState st = level2Task();
  ASSERT_TRUE(autoTransitions(st).passed());
  EXPECT_EQ(st.transitionsEntered, 1);
  // Ways in: section L - x + a, reverse section x + a; H4's second link is S5, whose reverse
  // S4 is closed.
  EXPECT_EQ(ways(st.toTransitions[0]), (Ways{{1, 100 - 75 + 10}, {2, 75 + 10}}));
  EXPECT_EQ(ways(st.toTransitions[1]), (Ways{{3, 200 - 100 + 5}, {4, 100 + 5}}));
  EXPECT_EQ(ways(st.toTransitions[2]), (Ways{{2, 100 - 50 + 20}, {1, 50 + 20}}));
  EXPECT_TRUE(st.toTransitions[3].empty());
  EXPECT_EQ(ways(st.toTransitions[4]), (Ways{{1, 100 - 30 + 4}, {2, 30 + 4}, {6, 50 - 10 + 8}}));
  // Ways out: section a + x, reverse L - x + a, then the points: on the same section ahead
  // a + a' + |x - x'|, over the reverse a + a' + |L - x - x'|, in the same yard 100.
  EXPECT_EQ(ways(st.fromTransitions[0]),
            (Ways{{1, 10 + 75}, {2, 100 - 75 + 10}, {-3, 10 + 20 + 25}, {-5, 10 + 4 + 45}}));
  EXPECT_EQ(ways(st.fromTransitions[1]), (Ways{{3, 5 + 100}, {4, 200 - 100 + 5}}));
  EXPECT_EQ(
      ways(st.fromTransitions[2]),
      (Ways{{2, 20 + 50}, {1, 100 - 50 + 20}, {-1, 20 + 10 + 25}, {-4, 100}, {-5, 20 + 4 + 20}}));
  EXPECT_TRUE(st.fromTransitions[3].empty());
  EXPECT_EQ(ways(st.fromTransitions[4]),
            (Ways{{1, 4 + 30}, {2, 100 - 30 + 4}, {-1, 4 + 10 + 45}, {-3, 4 + 20 + 20}, {6, 18}}));
  std::string placed;
  for (const TaskPointRec& p : st.points)
    placed += std::to_string(p.sectionIndex) + "/" + std::to_string(p.reverseSectionIndex) + " " +
              std::to_string(p.toCount) + std::to_string(p.fromCount) + " ";
  EXPECT_EQ(placed, "0/1 24 2/3 22 1/0 25 -1/-1 00 -1/-1 35 ");
  EXPECT_DOUBLE_EQ(st.toTransitions[4][2].speed, 5);
}

TEST(AutoTransitions, PricesAndTheGraph) {
  TaskWizardState st = level2Task();
  ASSERT_TRUE(autoTransitions(st).passed());
  // At 5 km/h with 2 per km and 10 per hour: time d / 5000 h, cost 0.004 d; ways onto the
  // network cost 0.1 % more.
  EXPECT_NEAR(st.fromTransitions[0][0].time, 0.017, 1e-9);
  EXPECT_NEAR(st.fromTransitions[0][0].cost, 0.34 * 1.001, 1e-9);
  EXPECT_NEAR(st.fromTransitions[0][2].cost, 0.22, 1e-9);  // straight to point 3
  EXPECT_NEAR(st.toTransitions[0][0].cost, 0.14, 1e-9);
  // S4 -> S5, then into P5 over S5: 48 m + 12 minutes.
  EXPECT_EQ(st.arcs[4][1].target, 7 + 4);
  EXPECT_NEAR(st.arcs[4][1].time, 0.2096, 1e-9);
  EXPECT_NEAR(st.arcs[4][1].cost, 2.192, 1e-9);
  // Sections: their successors and the ways into points over them.
  const SolverInput input = solverInputOf(st);
  EXPECT_EQ(input.arcCounts, (std::vector<int32_t>{6, 4, 2, 4, 2, 6, 2, 4, 2, 5, 0, 5}));
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(st.sectionVertices[i].arcCount, input.arcCounts[i]);
  EXPECT_EQ(std::accumulate(input.arcCounts.begin(), input.arcCounts.end(), size_t{0}),
            input.arcs.size());

  st = level2Task();
  st.header.finePerKm = st.header.finePerHour = 0;
  ASSERT_TRUE(autoTransitions(st).passed());
  EXPECT_DOUBLE_EQ(st.fromTransitions[0][0].cost, 1e-4);  // onto the network: never free
  EXPECT_DOUBLE_EQ(st.fromTransitions[0][2].cost, 0);
  EXPECT_DOUBLE_EQ(st.toTransitions[0][0].cost, 0);
}

TEST(AutoTransitions, ClosedSectionsFlagsAndExtraLinksChangeTheWays) {
  test::NetworkBuilder b = housesOnMain();
  b.db.sections[0].prevObjectsClosed = "*";   // S0
  b.db.sections[2].closed = "*";              // S2, H1's only link
  b.db.houses[2].links.push_back({6, 1, 1});  // H2 gets a second exit
  TaskWizardState st = level2Task(b);
  ASSERT_TRUE(autoTransitions(st).passed());
  // H4 lies behind H0 on S0: no longer reached from it, but H0 still reaches H4 ahead; H4
  // reaches H2 over both of its links.
  EXPECT_EQ(ways(st.fromTransitions[4]),
            (Ways{{1, 34}, {2, 74}, {-3, 44}, {6, 18}, {-3, 8 + 1 + 9}}));
  EXPECT_EQ(ways(st.fromTransitions[0]).back(), (std::pair<int32_t, double>{-5, 59}));
  // The closed S2 gives neither way; its open reverse S3 still does.
  EXPECT_EQ(ways(st.toTransitions[1]), (Ways{{4, 105}}));
  EXPECT_EQ(ways(st.fromTransitions[1]), (Ways{{4, 105}}));
  // A yard way per link of the starting house; two links: no single section.
  EXPECT_EQ(std::count_if(st.fromTransitions[2].begin(), st.fromTransitions[2].end(),
                          [](const TransitionRec& t) { return t.kind == -4; }),
            2);
  EXPECT_EQ(st.points[2].sectionIndex, -1);
}

TEST(AutoTransitions, PointsThatCannotBeUsedAreRefused) {
  const ShellTables texts = test::markedShell();
  TaskWizardState st = level2Task();
  st.points[3].refusalAllowed = 0;  // point 4 must be served but cannot be reached
  const StepCheck c = autoTransitions(st);
  ASSERT_TRUE(c.message);
  EXPECT_EQ(c.message->text.resolve(texts) + " @" + c.focus, "S154 4 S184. @Table1");
  EXPECT_EQ(c.row, 3);
  // The end point must be reached and the start point left, refusals or not; a house index
  // outside the database has no links.
  const std::pair<std::function<void(TaskWizardState&)>, int> cases[] = {
      {[](TaskWizardState& s) { s.header.endPoint = 4; }, 3},
      {[](TaskWizardState& s) { s.header.startPoint = 4; }, 3},
      {[](TaskWizardState& s) { s.points[0].houseIndex = 99; }, 0},
      {[](TaskWizardState& s) { s.points[0].houseIndex = -1; }, 0}};
  for (const auto& [change, row] : cases) {
    st = level2Task();
    change(st);
    EXPECT_EQ(autoTransitions(st).row, row);
  }
}

}  // namespace
}  // namespace qj
