// The solver graph of the test town's delivery task: sections as vertices priced by length
// and speed, the ways into and out of the points, the arcs as the solver input writes them.

#include "route/solver_graph.h"

#include <gtest/gtest.h>

#include "support/town.h"

namespace qj {
namespace {

// The town task's own transitions on the level-1 town, priced, and the graph built.
RouteTask townGraph(int cargoMode = 1) {
  const TaskFile t = test::townTask();
  RouteTask st;
  st.db = test::smallTown();
  st.header = t.header;
  st.header.cargoMode = cargoMode;
  st.points = t.points;
  st.toTransitions = t.toLists;
  st.fromTransitions = t.fromLists;
  priceTransitions(st);
  buildSolverGraph(st);
  return st;
}

// A way of d metres at 5 km/h, 2 per km and 12 per hour; a section of d metres at 40 km/h.
TaskArc way(int32_t target, double d, double stayMinutes = 0) {
  const double hours = d / 5000;
  return {target, hours + stayMinutes / 60, 0.002 * d + 12 * hours + 12 * stayMinutes / 60};
}
TaskArc section(int32_t target, double d) {
  return {target, d / 40000, 0.002 * d + 12 * d / 40000};
}

TEST(SolverGraph, TownGraphArcByArc) {
  for (int cargo : {0, 1}) {
    SCOPED_TRACE(cargo);
    const RouteTask st = townGraph(cargo);
    // Per section its turns' sections, each followed by the ways into the points on it:
    // s0 turns onto s1 and s5 (point 1 entered over its reverse section).
    const std::vector<int32_t> counts = {3, 8, 2, 7, 3, 2, 2, 5, 0, 0, 1, 3, 1, 1};
    std::vector<int32_t> arcCounts;
    for (const auto& list : st.arcs) arcCounts.push_back(static_cast<int32_t>(list.size()));
    EXPECT_EQ(arcCounts, counts);
    const std::vector<int32_t> successors = {2, 5, 1, 4, 2, 1, 1, 3, 0, 0};
    const std::vector<int32_t> onSection = {1, 0, 1, 1, 0, 1, 1, 1, 1, 0};
    for (size_t i = 0; i < 10; ++i) {
      EXPECT_EQ(st.sectionVertices[i].successorCount, successors[i]) << i;
      EXPECT_EQ(st.sectionVertices[i].pointsOnSection, onSection[i]) << i;
      EXPECT_EQ(st.sectionVertices[i].arcCount, counts[i]) << i;
    }
    // A point stays to unload in a cargo task, for its service otherwise (points 1 to 4:
    // 0 or 4, 5 or 3, 6 or 1, 2 or 0 minutes); the speed guard moves the ninth digit.
    const double stay3 = cargo ? 6 : 1;
    const std::vector<std::pair<int32_t, std::vector<TaskArc>>> golden = {
        {0, {section(1, 250), section(5, 250), way(10, 60.5, cargo ? 0 : 4)}},
        {1,
         {section(9, 120), section(8, 150), way(13, 43, cargo ? 2 : 0), section(6, 200),
          way(12, 42, stay3), section(2, 300), way(11, 41, cargo ? 5 : 3), section(4, 250)}},
        // Point 2: to the end of its section, straight to point 3, to the end of its reverse.
        {11, {way(2, 210), way(12, 100, stay3), way(3, 45)}},
        {13, {way(8, 210)}},
    };
    for (const auto& [v, arcs] : golden) {
      ASSERT_EQ(st.arcs[v].size(), arcs.size()) << v;
      for (size_t k = 0; k < arcs.size(); ++k) {
        EXPECT_EQ(st.arcs[v][k].target, arcs[k].target) << v << " " << k;
        EXPECT_NEAR(st.arcs[v][k].time, arcs[k].time, 1e-8) << v << " " << k;
        EXPECT_NEAR(st.arcs[v][k].cost, arcs[k].cost, 1e-8) << v << " " << k;
      }
    }
  }
}

TEST(SolverGraph, SolverInputCountsAreTheArcsWritten) {
  RouteTask st = townGraph();
  const SolverInput in = solverInputOf(st);
  EXPECT_EQ(in.arcCounts, (std::vector<int32_t>{3, 8, 2, 7, 3, 2, 2, 5, 0, 0, 1, 3, 1, 1}));
  ASSERT_EQ(in.arcs.size(), 38u);
  EXPECT_EQ(in.arcs[2], (TaskArc{10, st.arcs[0][2].time, st.arcs[0][2].cost}));
  // The file holds exactly what the counts announce, and reads back the same.
  const std::string bytes = writeSolverInput(in, "Shell (QJ 1.6).eng");
  EXPECT_EQ(bytes.size(), 320u + 128 * 4 + 4 * 14 + 24 * 38 + 25);
  const SolverInputRead back = readSolverInput(bytes);
  ASSERT_TRUE(back.input) << back.error;
  EXPECT_EQ(back.input->arcCounts, in.arcCounts);
  EXPECT_EQ(back.input->arcs, in.arcs);

  // A graph that disagrees with its counts is never written; a client task carries none.
  st.header.sectionCount = 9;
  EXPECT_THROW(solverInputOf(st), std::logic_error);
  st.header.sectionCount = 10;
  st.arcs[11].pop_back();  // point 2 keeps FromCount 3
  EXPECT_THROW(solverInputOf(st), std::logic_error);
  RouteTask far = townGraph();  // point 1 on a section beyond the database
  far.points[0].sectionIndex = far.points[0].reverseSectionIndex = 10;
  EXPECT_THROW(buildSolverGraph(far), std::logic_error);
  RouteTask few;  // more points than sections
  few.header.sectionCount = 1;
  few.sectionVertices.resize(1);
  few.points.resize(2);
  few.arcs.resize(3);
  EXPECT_EQ(solverInputOf(few).arcCounts.size(), 3u);
  st.header.dbKind = "cli2";
  EXPECT_TRUE(solverInputOf(st).arcCounts.empty());
  EXPECT_TRUE(solverInputOf(st).arcs.empty());
}

TEST(SolverGraph, SuccessorsStopAtTheTurnLimitAndSkipUnknownNodesAndClosedSections) {
  const TaskFile t = test::townTask();
  RouteTask st;
  st.db = test::smallTown();
  st.header = t.header;
  // s1 into node 3: a turn to no section first, its five turns, then six more to node 4 -
  // twelve in all, where the database admits ten; s6 (to node 5) is closed.
  auto& turns = st.db.sections[1].turns;
  turns.insert(turns.begin(), TurnRec{"abc", "^"});
  turns.insert(turns.end(), 6, TurnRec{"4", "^"});
  st.db.sections[6].closed = "*";
  buildSolverGraph(st);
  const SectionVertexRec& v = st.sectionVertices[1];
  EXPECT_EQ(v.successorCount, 8);
  EXPECT_EQ(std::vector<int32_t>(v.successors.begin(), v.successors.begin() + 8),
            (std::vector<int32_t>{9, 8, 2, 4, 2, 2, 2, 2}));
}

}  // namespace
}  // namespace qj
