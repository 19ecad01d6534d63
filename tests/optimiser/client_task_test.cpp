// Tasks on client additions: the graph built on the system database, the checks that the
// system database is the task's network, and the route described in lines.

#include "optimiser/client_task.h"

#include <gtest/gtest.h>

#include "optimiser/progress_log.h"
#include "reports/solution_rows.h"
#include "route/solver_graph.h"
#include "support/temp_dir.h"
#include "task/auto_transitions.h"
#include "task/task_network.h"

namespace qj::optim {
namespace {

using test::indexShell;
using test::ProgressLog;

// The network of task_network.h as a system database with the houses of Main:
//   H0 "3"          S0 (no. 1) 10 m to the exit, 75 m on to the end
//   H1 "15"         S2 (no. 3)  5 m, 100 m
//   H2 "6"  yard 1  S1 (no. 2) 20 m, 50 m
//   H3 "8"  yard 1  no link
//   H4 "9"          S0 (no. 1) 4 m, 30 m; S5 (no. 6) 8 m, 10 m
DbrnFile systemDb() {
  qj::test::NetworkBuilder b = qj::test::mainNetwork("sys2");
  const int32_t main = b.street("Main");
  b.db.houses = {{main, "3", 0, {{1, 10, 75}}},
                 {main, "15", 0, {{3, 5, 100}}},
                 {main, "6", 1, {{2, 20, 50}}},
                 {main, "8", 1, {}},
                 {main, "9", 0, {{1, 4, 30}, {6, 8, 10}}}};
  b.db.streetHouseCounts.assign(b.db.streets.size(), 0);
  b.db.streetHouseCounts[main] = 5;
  return b.finish();
}

// A client-addition task at the given houses of Main; point 2 takes 6 minutes.
OptimTask cliTask(std::initializer_list<int32_t> houses) {
  const DbrnFile db = systemDb();
  OptimTask task;
  task.code = "CLI001";
  TaskHeader& h = task.header;
  h.language = "eng";
  h.code = task.code;
  h.dbKind = "cli2";
  h.dbCode = "042";
  h.sectionCount = static_cast<int32_t>(db.sections.size());
  h.pointCount = static_cast<int32_t>(houses.size());
  h.startPoint = 1;
  h.finePerKm = 2;
  h.finePerHour = 10;
  h.approachSpeed = 5;
  for (int32_t house : houses) {
    TaskPointRec p;
    p.streetType = "st";
    p.street = "Main";
    p.house = db.houses[house].houseNo;
    p.houseIndex = house;
    p.vertexNo = h.sectionCount + static_cast<int32_t>(task.points.size());
    p.sectionIndex = p.reverseSectionIndex = 0;  // as a client-addition task file leaves them
    task.points.push_back(p);
  }
  task.points[1].serviceTime = 6;
  fillPointArrays(task);
  return task;
}

TEST(ClientTask, TheGraphIsTheLevelTwoGraphOnTheSystemDatabase) {
  OptimTask task = cliTask({0, 2, 4});
  DbrnFile system = systemDb();
  ProgressLog log;
  loadRoadNetworkTask(task, system, log);
  EXPECT_EQ(system, systemDb());
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Busy: [118] ...", "Busy shown", "Busy hidden"}));

  // The same points entered on the system database as a level-2 task.
  TaskWizardState st;
  st.db = systemDb();
  st.header = task.header;
  st.header.dbKind = "sys2";
  st.points = cliTask({0, 2, 4}).points;
  ASSERT_TRUE(autoTransitions(st).passed());
  const SolverInput level2 = solverInputOf(st);

  ASSERT_EQ(task.graph.vertexCount(), 7 + 3);
  size_t k = 0;
  for (int32_t v = 0; v < task.graph.vertexCount(); ++v) {
    ASSERT_EQ(task.graph.outCount(v), level2.arcCounts[v]) << v;
    for (const Arc& a : task.graph.out(v)) {
      const TaskArc& b = level2.arcs[k++];
      EXPECT_EQ(a.target, b.target) << v;
      EXPECT_DOUBLE_EQ(a.time, b.time) << v;
      EXPECT_DOUBLE_EQ(a.cost, b.cost) << v;
    }
  }
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(task.points[i].sectionIndex, level2.points[i].sectionIndex) << i;
    EXPECT_EQ(task.points[i].reverseSectionIndex, level2.points[i].reverseSectionIndex) << i;
    EXPECT_EQ(task.points[i].toCount, level2.points[i].toCount) << i;
    EXPECT_EQ(task.points[i].fromCount, level2.points[i].fromCount) << i;
  }
  // Point 1 (H0) stands on S0 with S1 as its reverse; point 3 (H4) has two links: no section.
  EXPECT_EQ(task.points[0].sectionIndex, 0);
  EXPECT_EQ(task.points[0].reverseSectionIndex, 1);
  EXPECT_EQ(task.points[2].sectionIndex, -1);
  // Point 1 leaves onto S0 (10 + 75 m at 5 km/h, 0.1 % dearer), and reaches point 2 (H2 on
  // S1, over the reverse side: 10 + 20 + |100 - 75 - 50| m) with its 6 minutes of service.
  const auto out = task.graph.out(7);
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out[0].target, 0);
  EXPECT_NEAR(out[0].time, 0.017, 1e-9);
  EXPECT_NEAR(out[0].cost, 0.34 * 1.001, 1e-9);
  EXPECT_EQ(out[2].target, 8);
  EXPECT_NEAR(out[2].time, 0.011 + 0.1, 1e-9);
  EXPECT_NEAR(out[2].cost, 0.22 + 1.0, 1e-9);
  EXPECT_EQ(task.times[1].serviceDuration, 6);
}

class SystemDatabaseCheck : public ::testing::Test {
 protected:
  std::string failure(const DbrnFile& db, const OptimTask& task = cliTask({0, 1})) const {
    dir.write("042sys2_dbrn_eng.dat", writeDbrn(db));
    const SystemDatabase read = readSystemDatabase(task, dir / "042sys2_dbrn_eng.dat");
    EXPECT_NE(read.db.has_value(), read.failure.has_value());
    return read.failure ? read.failure->utf8(indexShell()) : std::string("(none)");
  }
  qj::test::TempDir dir;
  const std::string head = "[193] \"CLI001\". [8]. [830] \"042sys2_dbrn_eng.dat\" [1051]: ";
};

TEST_F(SystemDatabaseCheck, TheSystemDatabaseMustBeTheTasksNetwork) {
  EXPECT_EQ(failure(systemDb()), "(none)");

  DbrnFile level1 = systemDb();
  level1.header.dbKind = "sys1";
  level1.streetHouseCounts.clear();
  level1.houses.clear();
  level1.header.houseCount = 0;
  EXPECT_EQ(failure(level1), head + "[1052].");

  OptimTask more = cliTask({0, 1});
  more.header.sectionCount = 8;
  EXPECT_EQ(failure(systemDb(), more), head + "[1053] (7, 8).");

  DbrnFile badLength = systemDb();
  badLength.sections[2].length = "1OO";
  EXPECT_EQ(failure(badLength), head + "[1055] 3.");
  DbrnFile badNode = systemDb();
  badNode.sections[6].endNode = "";
  EXPECT_EQ(failure(badNode), head + "[1055] 7.");

  // The houses at the points' indices must be the points' addresses.
  DbrnFile renumbered = systemDb();
  renumbered.houses[1].houseNo = "17";
  EXPECT_EQ(failure(renumbered), head + "[1054] 2.");
  OptimTask beyond = cliTask({0, 1});
  beyond.points[0].houseIndex = 5;
  EXPECT_EQ(failure(systemDb(), beyond), head + "[1054] 1.");
  beyond.points[0].houseIndex = -1;
  EXPECT_EQ(failure(systemDb(), beyond), head + "[1054] 1.");

  // A damaged file is reported as every damaged database is.
  dir.write("042sys2_dbrn_eng.dat", writeDbrn(systemDb()).substr(0, 300));
  const SystemDatabase damaged = readSystemDatabase(cliTask({0, 1}), dir / "042sys2_dbrn_eng.dat");
  ASSERT_TRUE(damaged.failure);
  EXPECT_EQ(damaged.failure->utf8(indexShell()),
            "[193] \"CLI001\". [8]. [830] \"042sys2_dbrn_eng.dat\" [832]: [835] (7).");
}

TEST(ClientTask, TheRouteIsDescribedAsTheViewerShowsItCutToTheFields) {
  OptimTask task = cliTask({0, 1});
  DbrnFile system = systemDb();
  ProgressLog log;
  loadRoadNetworkTask(task, system, log);
  ShellTables texts = indexShell();
  texts.shellTexts[79] = "straight on, straight on";  // longer than the turn field
  const int32_t m = 7;
  const std::vector<RouteStep> steps = {{0, 0.01},      // S0, from point 1 on
                                        {2, 0.02},      // S2, straight on
                                        {m + 1, 0.05},  // point 2 served
                                        {-5, 0},        // a deferral beyond the points: no line
                                        {-1, 0}};       // point 1 passed
  const RouteDescription d = buildRouteDescription(task, steps, {3.0}, system, texts, ',');

  ASSERT_EQ(d.lines.size(), 5u);
  const RouteRows rows = buildRouteRows(task.header, task.points, steps, {3.0}, system, texts, ',');
  EXPECT_DOUBLE_EQ(d.routeCostTotal, rows.cost);
  EXPECT_GT(d.routeCostTotal, 0);
  ASSERT_EQ(rows.table.rows(), 5);
  EXPECT_EQ(d.lines[0].rowNo, " 1");
  EXPECT_EQ(rows.table.cell(0, kRoutePoint), "1 (<s11>) (1)");
  EXPECT_EQ(d.lines[0].pointNo, "1 (<s11>");
  EXPECT_EQ(d.lines[0].serviceEnd, rows.table.cell(0, kRouteServiceEnd));
  EXPECT_EQ(d.lines[1].sectionName, "st Main, 1-9");
  EXPECT_EQ(d.lines[1].turnText, "straight on, s");
  EXPECT_EQ(d.lines[1].endNode, "00002");
  EXPECT_EQ(d.lines[2].sectionName, "              . . . ,  11-19");
  EXPECT_EQ(d.lines[3].rowNo, " 4");
  EXPECT_EQ(d.lines[3].pointNo, "2 (2)");
  EXPECT_EQ(d.lines[3].address, "st Main, 15");
  EXPECT_EQ(d.lines[3].turnText, "( [159] )");
  EXPECT_EQ(d.lines[4].sectionName, "  < [436] >");
  for (int r = 0; r < 5; ++r) {
    const RouteLine& l = d.lines[static_cast<size_t>(r)];
    const std::string fields[] = {l.rowNo,       l.pointNo,      l.address,
                                  l.arrivalTime, l.serviceStart, l.serviceEnd,
                                  l.sectionName, l.turnText,     l.endNode};
    const size_t widths[] = {4, 8, 40, 20, 20, 20, 50, 14, 5};
    for (int c = 0; c < 9; ++c)
      EXPECT_EQ(fields[c], rows.table.cell(r, c).substr(0, widths[c])) << r << " " << c;
  }
}

}  // namespace
}  // namespace qj::optim
