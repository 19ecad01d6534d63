#include "task/auto_transitions.h"

#include <gtest/gtest.h>

#include <numeric>

#include "route/solver_graph.h"
#include "support/shell_fixture.h"
#include "task/task_network.h"

namespace qj {
namespace {

using test::mainNetwork;

// The houses of Main on the network of task_network.h (links: section number, metres from the
// house to its exit, metres from the exit to the section's end):
//   H0 "3"            S0 (no. 1) a 10, x 75
//   H1 "15"           S2 (no. 3) a 5,  x 100
//   H2 "6"   yard 1   S1 (no. 2) a 20, x 50
//   H3 "8"   yard 1   no link
//   H4 "9"            S0 (no. 1) a 4, x 30;  S5 (no. 6) a 8, x 10
// Reverse sections: S0 <-> S1, S2 <-> S3, S5 -> S4 (closed; the first section from 2 to 4).
test::NetworkBuilder housesOnMain() {
  test::NetworkBuilder b = mainNetwork("use2");
  const int32_t main = b.street("Main");
  const auto house = [&](const char* no, int32_t yard, std::vector<HouseLinkRec> links) {
    b.db.houses.push_back({main, no, yard, std::move(links)});
  };
  house("3", 0, {{1, 10, 75}});
  house("15", 0, {{3, 5, 100}});
  house("6", 1, {{2, 20, 50}});
  house("8", 1, {});
  house("9", 0, {{1, 4, 30}, {6, 8, 10}});
  b.db.streetHouseCounts.assign(b.db.streets.size(), 0);
  b.db.streetHouseCounts[main] = 5;
  return b;
}

// Points 1-5 at the houses H0-H4; point 1 starts, point 3 takes 6 minutes, point 5 12.
TaskWizardState level2Task(test::NetworkBuilder b = housesOnMain()) {
  TaskWizardState st = test::level1Task(
      b.finish(),
      {{"Main", "3", 0}, {"Main", "15", 0}, {"Main", "6", 6}, {"Main", "8", 0}, {"Main", "9", 12}});
  st.header.approachSpeed = 5;
  for (int i = 0; i < 5; ++i) st.points[i].houseIndex = i;
  // Point 4 has no way in or out: the task is usable only when it may be refused.
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

  // Ways in: section L - x + a, reverse section x + a.
  EXPECT_EQ(ways(st.toTransitions[0]), (Ways{{1, 100 - 75 + 10}, {2, 75 + 10}}));
  EXPECT_EQ(ways(st.toTransitions[1]), (Ways{{3, 200 - 100 + 5}, {4, 100 + 5}}));
  EXPECT_EQ(ways(st.toTransitions[2]), (Ways{{2, 100 - 50 + 20}, {1, 50 + 20}}));
  EXPECT_TRUE(st.toTransitions[3].empty());
  // H4's second link: S5, whose reverse S4 is closed.
  EXPECT_EQ(ways(st.toTransitions[4]), (Ways{{1, 100 - 30 + 4}, {2, 30 + 4}, {6, 50 - 10 + 8}}));

  // Ways out: section a + x, reverse L - x + a, then the points along them:
  //   same section, ahead (x >= x'): a + a' + |x - x'|; over the reverse: a + a' + |L - x - x'|.
  EXPECT_EQ(ways(st.fromTransitions[0]), (Ways{{1, 10 + 75},
                                               {2, 100 - 75 + 10},
                                               {-3, 10 + 20 + 25},    // H2 on S1: |(100 - 75) - 50|
                                               {-5, 10 + 4 + 45}}));  // H4 on S0 ahead: |75 - 30|
  EXPECT_EQ(ways(st.fromTransitions[1]), (Ways{{3, 5 + 100}, {4, 200 - 100 + 5}}));
  EXPECT_EQ(ways(st.fromTransitions[2]), (Ways{{2, 20 + 50},
                                               {1, 100 - 50 + 20},
                                               {-1, 20 + 10 + 25},    // H0 on S0: |(100 - 50) - 75|
                                               {-4, 100},             // H3 shares yard 1
                                               {-5, 20 + 4 + 20}}));  // H4 on S0: |(100 - 50) - 30|
  EXPECT_TRUE(st.fromTransitions[3].empty());  // a house without links leads nowhere
  EXPECT_EQ(ways(st.fromTransitions[4]),
            (Ways{{1, 4 + 30},
                  {2, 100 - 30 + 4},
                  {-1, 4 + 10 + 45},  // H0 behind on S0: PrevObjectsClosed is clear
                  {-3, 4 + 20 + 20},  // H2 on S1: |(100 - 30) - 50|
                  {6, 8 + 10}}));

  const std::vector<int32_t> sections{0, 2, 1, -1, -1}, reverses{1, 3, 0, -1, -1};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(st.points[i].sectionIndex, sections[i]) << i;
    EXPECT_EQ(st.points[i].reverseSectionIndex, reverses[i]) << i;
    EXPECT_EQ(st.points[i].toCount, static_cast<int32_t>(st.toTransitions[i].size()));
    EXPECT_EQ(st.points[i].fromCount, static_cast<int32_t>(st.fromTransitions[i].size()));
    for (const auto& t : st.toTransitions[i]) EXPECT_DOUBLE_EQ(t.speed, 5);
  }
}

TEST(AutoTransitions, PricesAndTheGraph) {
  TaskWizardState st = level2Task();
  ASSERT_TRUE(autoTransitions(st).passed());
  // At 5 km/h with 2 per km and 10 per hour: time d / 5000 h, cost 0.002 d + 0.002 d = 0.004 d.
  const TransitionRec& off = st.fromTransitions[0][0];  // 85 m onto S0
  EXPECT_NEAR(off.time, 0.017, 1e-9);
  EXPECT_NEAR(off.cost, 0.34 * 1.001, 1e-9);               // ways onto the network cost 0.1 % more
  const TransitionRec& across = st.fromTransitions[0][2];  // 55 m to point 3
  EXPECT_NEAR(across.cost, 0.22, 1e-9);
  const TransitionRec& in = st.toTransitions[0][0];  // 35 m from S0
  EXPECT_NEAR(in.cost, 0.14, 1e-9);

  // Section arcs: successors as in the level-1 graph; the ways in per section:
  //   S0: P1, P3, P5   S1: P1, P3, P5   S2: P2   S3: P2   S5: P5
  const std::vector<int32_t> counts{6, 4, 2, 4, 2, 6, 2};
  for (size_t i = 0; i < counts.size(); ++i) {
    EXPECT_EQ(st.sectionVertices[i].arcCount, counts[i]) << i;
    EXPECT_EQ(st.arcs[i].size(), static_cast<size_t>(counts[i])) << i;
  }
  // S4 -> S5, then into P5 over S5: 48 m + 12 minutes: 0.0096 + 0.2 h, 0.192 + 2.0.
  ASSERT_EQ(st.arcs[4].size(), 2u);
  EXPECT_EQ(st.arcs[4][1].target, 7 + 4);
  EXPECT_NEAR(st.arcs[4][1].time, 0.2096, 1e-9);
  EXPECT_NEAR(st.arcs[4][1].cost, 2.192, 1e-9);
  // P1 -> P3 (vertex 9): 55 m + 6 minutes.
  EXPECT_EQ(st.arcs[7][2].target, 9);
  EXPECT_NEAR(st.arcs[7][2].time, 0.011 + 0.1, 1e-9);
  EXPECT_NEAR(st.arcs[7][2].cost, 0.22 + 1.0, 1e-9);

  const SolverInput input = solverInputOf(st);
  EXPECT_EQ(input.arcCounts, (std::vector<int32_t>{6, 4, 2, 4, 2, 6, 2, 4, 2, 5, 0, 5}));
  EXPECT_EQ(std::accumulate(input.arcCounts.begin(), input.arcCounts.end(), size_t{0}),
            input.arcs.size());
}

TEST(AutoTransitions, WaysOntoTheNetworkAreNeverFree) {
  TaskWizardState st = level2Task();
  st.header.finePerKm = st.header.finePerHour = 0;
  ASSERT_TRUE(autoTransitions(st).passed());
  EXPECT_DOUBLE_EQ(st.fromTransitions[0][0].cost, 1e-4);
  EXPECT_DOUBLE_EQ(st.fromTransitions[0][2].cost, 0);  // straight to a point
  EXPECT_DOUBLE_EQ(st.toTransitions[0][0].cost, 0);
}

TEST(AutoTransitions, ClosedSectionsAndFlagsCutTheirWays) {
  test::NetworkBuilder b = housesOnMain();
  b.db.sections[0].prevObjectsClosed = "*";  // S0
  b.db.sections[2].closed = "*";             // S2, H1's only link
  TaskWizardState st = level2Task(b);
  ASSERT_TRUE(autoTransitions(st).passed());
  // H4 lies behind H0 on S0: no longer reached from it... but H0 still reaches H4 ahead.
  EXPECT_EQ(ways(st.fromTransitions[4]), (Ways{{1, 34}, {2, 74}, {-3, 44}, {6, 18}}));
  EXPECT_EQ(ways(st.fromTransitions[0]).back(), (std::pair<int32_t, double>{-5, 59}));
  // The closed S2 gives neither way; its open reverse S3 still does.
  EXPECT_EQ(ways(st.toTransitions[1]), (Ways{{4, 105}}));
  EXPECT_EQ(ways(st.fromTransitions[1]), (Ways{{4, 105}}));
}

TEST(AutoTransitions, AYardWayPerLinkOfTheStartingHouse) {
  test::NetworkBuilder b = housesOnMain();
  b.db.houses[2].links.push_back({6, 1, 1});  // H2 gets a second exit
  TaskWizardState st = level2Task(b);
  ASSERT_TRUE(autoTransitions(st).passed());
  int yardWays = 0;
  for (const auto& t : st.fromTransitions[2]) yardWays += t.kind == -4;
  EXPECT_EQ(yardWays, 2);
  EXPECT_EQ(st.points[2].sectionIndex, -1);  // two links: no single section
}

TEST(AutoTransitions, UnusablePointsAreRefused) {
  const ShellTables texts = test::markedShell();
  TaskWizardState st = level2Task();
  st.points[3].refusalAllowed = 0;  // point 4 must be served but cannot be reached
  StepCheck c = autoTransitions(st);
  ASSERT_TRUE(c.message);
  EXPECT_EQ(c.message->text.resolve(texts), "S154 4 S184.");
  EXPECT_EQ(c.focus, "Table1");
  EXPECT_EQ(c.row, 3);

  st = level2Task();
  st.header.endPoint = 4;  // the end point must be reachable, refusals or not
  EXPECT_EQ(autoTransitions(st).row, 3);

  st = level2Task();
  st.header.startPoint = 4;  // the start point must be left
  EXPECT_EQ(autoTransitions(st).row, 3);

  st = level2Task();
  st.points[0].houseIndex = 99;  // a house index outside the database: no links
  EXPECT_EQ(autoTransitions(st).row, 0);
}

}  // namespace
}  // namespace qj
