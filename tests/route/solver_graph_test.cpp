#include "route/solver_graph.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/shell_fixture.h"
#include "task/from_transitions_step.h"
#include "task/placement.h"
#include "task/task_network.h"
#include "task/to_transitions_step.h"
#include "task/transition_grid.h"

namespace qj {
namespace {

using test::level1Task;
using test::mainNetwork;

struct ExpectedArc {
  int32_t target;
  double time, cost;
};

// Points 3, 15 and 6 on Main: point 1 (start, no service) on S0 a quarter along, point 2
// (10 minutes) half way along S2, point 3 (6 minutes) half way along S1.
TaskWizardState placedTask(int cargoMode = 0) {
  TaskWizardState st =
      level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}});
  st.header.cargoMode = cargoMode;
  return st;
}

void runSteps5To7(TaskWizardState& st) {
  const ShellTables texts = test::markedShell();
  ASSERT_TRUE(placeLevel1Points(st, texts).passed());
  ASSERT_EQ(checkStep6(st, texts).next, WizardNext::ShowStep7Page);
  ASSERT_EQ(checkStep7(st).next, WizardNext::ShowSummary);
}

void expectArcs(const TaskWizardState& st, const std::vector<std::vector<ExpectedArc>>& want) {
  ASSERT_EQ(st.arcs.size(), want.size());
  for (size_t v = 0; v < want.size(); ++v) {
    ASSERT_EQ(st.arcs[v].size(), want[v].size()) << "vertex " << v;
    for (size_t a = 0; a < want[v].size(); ++a) {
      SCOPED_TRACE("vertex " + std::to_string(v) + " arc " + std::to_string(a));
      EXPECT_EQ(st.arcs[v][a].target, want[v][a].target);
      EXPECT_NEAR(st.arcs[v][a].time, want[v][a].time, 1e-9);
      EXPECT_NEAR(st.arcs[v][a].cost, want[v][a].cost, 1e-9);
    }
  }
}

TEST(SolverGraph, GoldenGraphOfTheMainNetworkWithDefaultTransitions) {
  TaskWizardState st = placedTask();
  runSteps5To7(st);

  // Sections: time = km / speed, cost = 2 x km + 10 x time.
  //   S0, S1: 0.1/40 = 0.0025 h, 0.2 + 0.025 = 0.225      S2: 0.2/40 = 0.005 h, 0.4 + 0.05 = 0.45
  //   S3: 0.2/80 = 0.0025 h, 0.4 + 0.025 = 0.425          S4-S6: 0.05/50 = 0.001 h, 0.1 + 0.01 =
  //   0.11
  // Transitions at 5 km/h: time = d / 5000 h, cost = 0.002 d + 10 d / 5000 = 0.004 d.
  // Defaults (point 1 at 25 m of S0 and 75 m of S1, point 2 at 100 m of S2 and of S3,
  // point 3 at 50 m of S1 and of S0):
  //   into P1 over S0: 25 m -> 0.005 h, 0.1;   over S1: 75 m -> 0.015 h, 0.3;  no service
  //   into P2 over S2 or S3: 100 m -> 0.02 h, 0.4;  plus 10 min = 1/6 h and 10/6
  //   into P3 over S1 or S0: 50 m -> 0.01 h, 0.2;   plus 6 min = 0.1 h and 1.0
  const double p2Time = 0.02 + 1.0 / 6, p2Cost = 0.4 + 10.0 / 6;
  // Vertices: sections 0-6, points 7 (P1), 8 (P2), 9 (P3).
  expectArcs(
      st,
      {
          // S0 -> S2 (then P2 entered from S2), S1 (then P1 and P3 entered from S1);
          // its turn to node 4 meets the closed S4 first, so S6 is no successor.
          {{2, 0.005, 0.45},
           {8, p2Time, p2Cost},
           {1, 0.0025, 0.225},
           {7, 0.015, 0.3},
           {9, 0.11, 1.2}},
          {{0, 0.0025, 0.225}, {7, 0.005, 0.1}, {9, 0.11, 1.2}},  // S1 -> S0, P1, P3
          {{3, 0.0025, 0.425}, {8, p2Time, p2Cost}},              // S2 -> S3, P2
          {{1, 0.0025, 0.225}, {7, 0.015, 0.3}, {9, 0.11, 1.2}},  // S3 -> S1, P1, P3
          {{5, 0.001, 0.11}},                                     // S4 -> S5
          {{1, 0.0025, 0.225},
           {7, 0.015, 0.3},
           {9, 0.11, 1.2},
           {2, 0.005, 0.45},
           {8, p2Time, p2Cost}},  // S5 -> S1, P1, P3, S2, P2
          {{5, 0.001, 0.11}},     // S6 -> S5
                               // P1: to the end of S0 (100 - 25 = 75 m), to P3 over S1 (|50 - 75| =
                               // 25 m, plus P3's 6 minutes), to the end of S1 (100 - 75 = 25 m)
          {{0, 0.015, 0.3}, {9, 0.005 + 0.1, 0.1 + 1.0}, {1, 0.005, 0.1}},
          // P2: to the ends of S2 and S3 (200 - 100 = 100 m each)
          {{2, 0.02, 0.4}, {3, 0.02, 0.4}},
          // P3: to the end of S1 (50 m), to P1 over S0 (|25 - 50| = 25 m), end of S0 (50 m)
          {{1, 0.01, 0.2}, {7, 0.005, 0.1}, {0, 0.01, 0.2}},
      });

  const std::vector<int32_t> successors{2, 1, 1, 1, 1, 2, 1};
  const std::vector<int32_t> onSection{2, 2, 1, 1, 0, 0, 0};
  for (size_t i = 0; i < successors.size(); ++i) {
    EXPECT_EQ(st.sectionVertices[i].successorCount, successors[i]) << i;
    EXPECT_EQ(st.sectionVertices[i].pointsOnSection, onSection[i]) << i;
    EXPECT_EQ(st.sectionVertices[i].arcCount, static_cast<int32_t>(st.arcs[i].size())) << i;
  }
  // The speed's 1e-8 guard shifts the values in their ninth significant digit.
  EXPECT_NEAR(st.sectionVertices[3].time, 0.0025, 1e-9);
  EXPECT_NEAR(st.sectionVertices[3].cost, 0.425, 1e-9);
}

TEST(SolverGraph, CargoTasksStayForTheUnloadingTime) {
  TaskWizardState st = placedTask(1);
  st.points[1].unloadTime = 30;  // service time stays 10: the cargo task unloads instead
  st.points[2].unloadTime = 0;
  runSteps5To7(st);
  // Into P2 over S2: 0.02 h + 30/60 h, 0.4 + 10 x 0.5.
  EXPECT_NEAR(st.arcs[2][1].time, 0.52, 1e-9);
  EXPECT_NEAR(st.arcs[2][1].cost, 5.4, 1e-9);
  // P1 -> P3 with no unloading: the bare 25 m.
  EXPECT_NEAR(st.arcs[7][1].time, 0.005, 1e-9);
  EXPECT_NEAR(st.arcs[7][1].cost, 0.1, 1e-9);
}

TEST(SolverGraph, SolverInputCountsAreTheArcsWritten) {
  TaskWizardState st = placedTask();
  runSteps5To7(st);
  const SolverInput in = solverInputOf(st);
  ASSERT_EQ(in.arcCounts.size(), 10u);
  EXPECT_EQ(in.arcCounts, (std::vector<int32_t>{5, 3, 2, 3, 1, 5, 1, 3, 2, 3}));
  EXPECT_EQ(std::accumulate(in.arcCounts.begin(), in.arcCounts.end(), 0), 28);
  EXPECT_EQ(in.arcs.size(), 28u);
  for (size_t p = 0; p < st.points.size(); ++p)
    EXPECT_EQ(in.points[p].fromCount, static_cast<int32_t>(st.fromTransitions[p].size()));

  // The file holds exactly what the counts announce, and reads back the same.
  const std::string bytes = writeSolverInput(in, "Shell (QJ 1.6).eng");
  EXPECT_EQ(bytes.size(), 320u + 128 * 3 + 4 * 10 + 24 * 28 + 25);
  const SolverInputRead back = readSolverInput(bytes);
  ASSERT_TRUE(back.input) << back.error;
  EXPECT_EQ(back.input->arcCounts, in.arcCounts);
  EXPECT_EQ(back.input->arcs, in.arcs);
}

TEST(SolverGraph, ClientAdditionTasksCarryNoGraph) {
  TaskWizardState st = placedTask();
  st.header.dbKind = "cli2";
  const SolverInput in = solverInputOf(st);
  EXPECT_TRUE(in.arcCounts.empty());
  EXPECT_TRUE(in.arcs.empty());
}

TEST(SolverGraph, AGraphThatDisagreesWithItsCountsIsNeverWritten) {
  TaskWizardState st = placedTask();
  runSteps5To7(st);
  st.arcs[7].pop_back();  // P1 keeps FromCount 3
  EXPECT_THROW(solverInputOf(st), std::logic_error);
}

TEST(SolverGraph, SuccessorsStopAtTheTurnLimitAndSkipUnknownNodes) {
  test::NetworkBuilder b;
  b.section("Main", 1, 2, "1", "9", 100, 40, {});
  for (int node = 3; node <= 14; ++node) b.section("Main", 2, node, " ", " ", 10, 10, {});
  // Twelve turns: the database admits ten, an in-memory record may hold more.
  for (int node = 3; node <= 14; ++node)
    b.db.sections[0].turns.push_back({test::padded(node), "^"});
  b.db.sections[0].turns.push_back({"abc", "^"});
  TaskWizardState st = level1Task(b.finish(), {});
  buildSolverGraph(st);
  EXPECT_EQ(st.sectionVertices[0].successorCount, 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(st.sectionVertices[0].successors[k], k + 1);
  EXPECT_EQ(st.arcs[0].size(), 10u);
}

}  // namespace
}  // namespace qj
