// Tasks on client additions: the graph built on the system database, the checks that the
// system database is the task's network, and the route described in lines.

#include "optimiser/client_task.h"

#include <gtest/gtest.h>

#include "optimiser/progress_log.h"
#include "optimiser/town_task.h"
#include "route/route_rows.h"
#include "route/solver_graph.h"
#include "support/temp_dir.h"
#include "task/auto_transitions.h"

namespace qj::optim {
namespace {

using test::indexShell;

// The town's houses Main 3, Main 5a (in a yard, two links), Main 25 and Oak 4; point 2
// takes 6 minutes.
OptimTask cliTask(const std::vector<int32_t>& houses = {0, 1, 2, 3}) {
  OptimTask task = test::townHouseTask(houses);
  task.points[1].serviceTime = 6;
  fillPointArrays(task);
  return task;
}

TEST(ClientTask, TheGraphIsTheLevelTwoGraphOnTheSystemDatabase) {
  OptimTask task = cliTask();
  DbrnFile system = qj::test::smallTown("sys2");
  test::ProgressLog log;
  loadRoadNetworkTask(task, system, log);
  EXPECT_EQ(system, qj::test::smallTown("sys2"));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Busy: [118] ...", "Busy shown", "Busy hidden"}));

  // The same points entered on the system database as a level-2 task.
  TaskWizardState st;
  st.db = system;
  st.header = task.header;
  st.header.dbKind = "sys2";
  st.points = cliTask().points;
  ASSERT_TRUE(autoTransitions(st).passed());
  const SolverInput level2 = solverInputOf(st);
  ASSERT_EQ(task.graph.vertexCount(), 10 + 4);
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
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(task.points[i].sectionIndex, level2.points[i].sectionIndex) << i;
    EXPECT_EQ(task.points[i].reverseSectionIndex, level2.points[i].reverseSectionIndex) << i;
    EXPECT_EQ(task.points[i].toCount, level2.points[i].toCount) << i;
    EXPECT_EQ(task.points[i].fromCount, level2.points[i].fromCount) << i;
  }
  // Main 3 stands on s0 with s5 as its reverse; Main 5a has two links: no section.
  EXPECT_EQ(task.points[0].sectionIndex, 0);
  EXPECT_EQ(task.points[0].reverseSectionIndex, 5);
  EXPECT_EQ(task.points[1].sectionIndex, -1);
  // Main 3 leaves onto s0, 80 m to its end at 5 km/h, 2 per km and 12 per hour, 0.1 % dearer.
  const auto out = task.graph.out(10);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0].target, 0);
  EXPECT_NEAR(out[0].time, 0.016, 1e-9);
  EXPECT_NEAR(out[0].cost, 0.352 * 1.001, 1e-9);
  EXPECT_EQ(task.times[1].serviceDuration, 6);
}

TEST(ClientTask, TheSystemDatabaseMustBeTheTasksNetwork) {
  qj::test::TempDir dir;
  const std::string head = "[193] \"CLI001\". [8]. [830] \"123sys2_dbrn_eng.dat\" [1051]: ";
  const auto failure = [&](const DbrnFile& db, const OptimTask& task) {
    dir.write("123sys2_dbrn_eng.dat", writeDbrn(db));
    const SystemDatabase read = readSystemDatabase(task, dir / "123sys2_dbrn_eng.dat");
    EXPECT_NE(read.db.has_value(), read.failure.has_value());
    return read.failure ? read.failure->utf8(indexShell()) : std::string("(none)");
  };
  struct Case {
    std::function<void(DbrnFile&, OptimTask&)> change;
    std::string tail;
  };
  const std::vector<Case> cases = {
      {[](DbrnFile&, OptimTask&) {}, ""},
      {[](DbrnFile& db, OptimTask&) { db = qj::test::smallTown("use1"); }, "[1052]."},
      {[](DbrnFile& db, OptimTask&) { db = qj::test::smallTown("cli2"); }, "[1052]."},
      {[](DbrnFile&, OptimTask& t) { t.header.sectionCount = 11; }, "[1053] (10, 11)."},
      {[](DbrnFile& db, OptimTask&) { db.sections[2].length = "1OO"; }, "[1055] 3."},
      {[](DbrnFile& db, OptimTask&) { db.sections[9].endNode = ""; }, "[1055] 10."},
      {[](DbrnFile& db, OptimTask&) { db.sections[9].speed = "x"; }, "[1055] 10."},
      // The houses at the points' indices must be the points' addresses.
      {[](DbrnFile& db, OptimTask&) { db.houses[2].houseNo = "27"; }, "[1054] 3."},
      {[](DbrnFile& db, OptimTask&) { db.streets[1].name = "Ash"; }, "[1054] 4."},
      {[](DbrnFile& db, OptimTask&) { db.streets[1].streetType = "ave."; }, "[1054] 4."},
      {[](DbrnFile&, OptimTask& t) { t.points[0].houseIndex = 4; }, "[1054] 1."},
      {[](DbrnFile&, OptimTask& t) { t.points[0].houseIndex = -1; }, "[1054] 1."},
  };
  for (const Case& c : cases) {
    DbrnFile db = qj::test::smallTown("sys2");
    OptimTask task = cliTask();
    c.change(db, task);
    EXPECT_EQ(failure(db, task), c.tail.empty() ? "(none)" : head + c.tail);
  }
  // A damaged file is reported as every damaged database is.
  dir.write("123sys2_dbrn_eng.dat", writeDbrn(qj::test::smallTown("sys2")).substr(0, 300));
  const SystemDatabase damaged = readSystemDatabase(cliTask(), dir / "123sys2_dbrn_eng.dat");
  ASSERT_TRUE(damaged.failure);
  EXPECT_EQ(damaged.failure->utf8(indexShell())
                .rfind("[193] \"CLI001\". [8]. [830] \"123sys2_dbrn_eng.dat\" [832]: ", 0),
            0u);
}

TEST(ClientTask, TheRouteIsDescribedAsTheViewerShowsItCutToTheFields) {
  OptimTask task = cliTask({0, 2, 3});
  DbrnFile system = qj::test::smallTown("sys2");
  SilentProgress quiet;
  loadRoadNetworkTask(task, system, quiet);
  ShellTables texts = indexShell();
  texts.shellTexts[79] = "straight on, straight on";  // longer than the turn field
  const std::vector<RouteStep> steps = {{0, 0.01},    // s0, from point 1 on
                                        {1, 0.02},    // s1, straight on
                                        {11, 0.05},   // point 2 served
                                        {-5, 0},      // a deferral beyond the points: no line
                                        {-1, 0}};     // point 1 passed
  const RouteDescription d = buildRouteDescription(task, steps, {3.0}, system, texts, ',');
  ASSERT_EQ(d.lines.size(), 5u);
  const RouteRows rows = buildRouteRows(task.header, task.points, steps, {3.0}, system, texts, ',');
  EXPECT_DOUBLE_EQ(d.routeCostTotal, rows.cost);
  EXPECT_GT(d.routeCostTotal, 0);
  EXPECT_EQ(d.lines[0].rowNo, " 1");
  EXPECT_EQ(d.lines[0].pointNo, "1 (<s11>");
  EXPECT_EQ(d.lines[1].sectionName, "st. Main, 1-9");
  EXPECT_EQ(d.lines[1].turnText, "straight on, s");
  EXPECT_EQ(d.lines[2].turnText, "   . . .");
  EXPECT_EQ(d.lines[2].endNode, "3");
  EXPECT_EQ(d.lines[3].pointNo, "2 (2)");
  EXPECT_EQ(d.lines[3].address, "st. Main, 25");
  EXPECT_EQ(d.lines[3].turnText, "( [159] )");
  EXPECT_EQ(d.lines[4].sectionName, "  < [436] >");
  const size_t widths[] = {4, 8, 40, 20, 20, 20, 50, 14, 5};
  for (int r = 0; r < 5; ++r) {
    const RouteLine& l = d.lines[static_cast<size_t>(r)];
    const std::string fields[] = {l.rowNo,       l.pointNo,      l.address,
                                  l.arrivalTime, l.serviceStart, l.serviceEnd,
                                  l.sectionName, l.turnText,     l.endNode};
    for (int c = 0; c < 9; ++c)
      EXPECT_EQ(fields[c], rows.table.cell(r, c).substr(0, widths[c])) << r << " " << c;
  }
}

}  // namespace
}  // namespace qj::optim
