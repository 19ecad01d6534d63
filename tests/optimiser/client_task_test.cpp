// Tasks on client additions: the graph built on the system database, the checks that the
// system database is the task's network, and the route described in lines.

#include "optimiser/client_task.h"

#include <gtest/gtest.h>

#include "optimiser/progress_log.h"
#include "optimiser/run.h"
#include "records/cp1251.h"
#include "records/text.h"
#include "reports/solution_rows.h"
#include "route/solver_graph.h"
#include "support/temp_dir.h"
#include "support/town.h"
#include "task/auto_transitions.h"

namespace qj::optim {
namespace {

using test::indexShell;

// A task at houses of the town's level-2 database as a client-addition task file leaves
// it: addresses and house indices, no sections; no options but the start point; the
// second point takes 6 minutes. By default Main 3, Main 5a (in a yard, two links), Main 25
// and Oak 4.
OptimTask cliTask(const std::vector<int32_t>& houses = {0, 1, 2, 3}) {
  const DbrnFile db = qj::test::smallTown("sys2");
  OptimTask task;
  task.code = "CLI001";
  task.header = qj::test::townTask("cli2").header;
  TaskHeader& h = task.header;
  h.code = task.code;
  h.pointCount = static_cast<int32_t>(houses.size());
  h.endPoint = 0;
  h.refusalFlag = h.timeFactorFlag = h.cargoMode = h.returnFlag = 0;
  for (int32_t house : houses) {
    const HouseRec& rec = db.houses[house];
    TaskPointRec p;
    p.streetType = db.streets[rec.streetIndex].streetType;
    p.street = db.streets[rec.streetIndex].name;
    p.house = rec.houseNo;
    p.houseIndex = house;
    p.vertexNo = h.sectionCount + static_cast<int32_t>(task.points.size());
    p.serviceTime = task.points.size() == 1 ? 6 : 3;
    task.points.push_back(p);
  }
  fillPointArrays(task);
  return task;
}

// The graph equals the wizard's level-2 graph of the same points (the run's client-addition
// test solves both); here what a house gives its point.
TEST(ClientTask, HousesGiveTheirPointsSectionsAndWays) {
  OptimTask task = cliTask();
  DbrnFile system = qj::test::smallTown("sys2");
  // Oak 4 also reaches the last section, s9, and a section beyond the database.
  system.houses[3].links.push_back({10, 5, 60});
  system.houses[3].links.push_back({11, 0, 0});
  system.houses[2].links.push_back({11, 0, 0});  // Main 25: one of its two links counts
  const DbrnFile before = system;
  test::ProgressLog log;
  loadRoadNetworkTask(task, system, log);
  EXPECT_EQ(system, before);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Busy: [118] ...", "Busy shown", "Busy hidden"}));
  ASSERT_EQ(task.graph.vertexCount(), 10 + 4);
  // Main 3 stands on s0 with s5 as its reverse; Main 5a has two links: no section.
  EXPECT_EQ(task.points[0].sectionIndex, 0);
  EXPECT_EQ(task.points[0].reverseSectionIndex, 5);
  EXPECT_EQ(task.points[1].sectionIndex + task.points[1].reverseSectionIndex, -2);
  // Oak 4 is entered from s6, its reverse s7 and s9: the link beyond counts for nothing.
  EXPECT_EQ(task.points[3].toCount, 3);
  EXPECT_EQ(task.points[3].sectionIndex, -1);
  EXPECT_EQ(task.points[2].sectionIndex, -1);
  EXPECT_EQ(task.points[0].fromCount, static_cast<int32_t>(task.graph.out(10).size()));
  // Main 3 leaves onto s0 (80 m to its end), onto its reverse s5 (250 - 80 m) and, along s0,
  // to Main 5a (25 m from its exit, 80 - 60 m apart), staying there 6 minutes; at 5 km/h,
  // 2 per km and 12 per hour, the ways onto the network 0.1 % dearer.
  const auto out = task.graph.out(10);
  ASSERT_EQ(out.size(), 3u);
  const std::vector<std::tuple<int32_t, double, double>> ways = {
      {0, 0.016, 0.352 * 1.001}, {5, 0.034, 0.748 * 1.001}, {11, 0.009 + 0.1, 0.198 + 1.2}};
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(out[k].target, std::get<0>(ways[k])) << k;
    EXPECT_NEAR(out[k].time, std::get<1>(ways[k]), 1e-9) << k;
    EXPECT_NEAR(out[k].cost, std::get<2>(ways[k]), 1e-9) << k;
  }
  EXPECT_EQ(task.times[1].serviceDuration, 6);
  // A point whose house, or whose house's only link, lies beyond the database has no ways.
  OptimTask lost = cliTask({0, 1});
  lost.points[1].houseIndex = 4;
  system.houses[0].links = {{11, 0, 0}};
  loadRoadNetworkTask(lost, system, log);
  EXPECT_EQ(lost.points[1].toCount + lost.points[1].fromCount, 0);
  EXPECT_EQ(lost.points[0].toCount, 0);
  EXPECT_EQ(lost.points[0].sectionIndex, -1);
}

TEST(ClientTask, TheSystemDatabaseMustBeTheTasksNetwork) {
  qj::test::TempDir dir;
  const std::string head = "[193] \"CLI001\". [8]. [830] \"123sys2_dbrn_eng.dat\" [1051]: ";
  const auto failure = [&](const std::string& bytes, const OptimTask& task) {
    dir.write("123sys2_dbrn_eng.dat", bytes);
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
      {[](DbrnFile&, OptimTask& t) { t.header.sectionCount = 11; }, "[1053] (10, 11)."},
      {[](DbrnFile& db, OptimTask&) { db.sections[2].length = "1OO"; }, "[1055] 3."},
      {[](DbrnFile& db, OptimTask&) { db.sections[9].endNode = ""; }, "[1055] 10."},
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
    EXPECT_EQ(failure(writeDbrn(db), task), c.tail.empty() ? "(none)" : head + c.tail);
  }
  // A damaged file is reported as every damaged database is.
  const std::string damaged = writeDbrn(qj::test::smallTown("sys2")).substr(0, 300);
  EXPECT_EQ(failure(damaged, cliTask()).rfind(head.substr(0, head.find("[1051]")) + "[832]: ", 0),
            0u);
}

// A task on the client addition of the town's level-2 database is solved on the system
// database's network: the same route as the same task entered on the system database, told
// in the lines that the solution viewer would show for it, cut to the fields.
TEST(ClientTask, AClientAdditionTaskIsSolvedOnItsSystemDatabase) {
  qj::test::TempDir dir;
  ShellTables texts = test::indexShell();
  texts.shellTexts[79] = "straight on, straight on";  // longer than the turn field
  const RunEnvironment env{dir.path(), dir.path(), "eng", &texts, {}, ',', 1};
  const DbrnFile sys2 = qj::test::smallTown("sys2");
  dir.write("123sys2_dbrn_eng.dat", writeDbrn(sys2));
  const OptimTask cli = cliTask({0, 2, 3});
  TaskWizardState st;
  st.db = sys2;
  st.points = cli.points;
  st.header = cli.header;
  st.header.dbKind = "sys2";
  ASSERT_TRUE(autoTransitions(st).passed());
  dir.write("qj_SYS002_in.dat", writeSolverInput(solverInputOf(st), ""));
  dir.write("qj_CLI002_in.dat", writeSolverInput({cli.header, cli.points, {}, {}}, ""));
  SilentProgress quiet;
  const SolutionFile own = runTask(env, {}, "SYS002", quiet).file;
  const SolutionFile described = runTask(env, {}, "CLI002", quiet).file;
  ASSERT_EQ(own.header.solutionFound, 1) << cp1251::toUtf8(own.header.finalMessage);
  ASSERT_EQ(described.header.solutionFound, 1) << cp1251::toUtf8(described.header.finalMessage);
  const SolutionHeader &d = described.header, &o = own.header;
  EXPECT_EQ(std::tie(d.objective, d.routeStepCount, d.stateCount),
            std::tie(o.objective, o.routeStepCount, o.stateCount));
  EXPECT_EQ(described.body, SolutionBody::Description);
  const RouteRows rows =
      buildRouteRows(st.header, st.points, own.steps, own.startServiceTimes, sys2, texts, ',');
  EXPECT_DOUBLE_EQ(described.routeCostTotal, rows.cost);
  ASSERT_EQ(described.lines.size(), static_cast<size_t>(rows.table.rows()));
  EXPECT_EQ(described.lines.size(), own.steps.size() + 1);
  const size_t widths[] = {4, 8, 40, 20, 20, 20, 50, 14, 5};
  for (size_t r = 0; r < described.lines.size(); ++r) {
    const RouteLine& l = described.lines[r];
    const std::string fields[] = {l.rowNo,       l.pointNo,      l.address,
                                  l.arrivalTime, l.serviceStart, l.serviceEnd,
                                  l.sectionName, l.turnText,     l.endNode};
    for (int c = 0; c < 9; ++c)
      EXPECT_EQ(fields[c], cut(rows.table.cell(static_cast<int>(r), c), widths[c])) << r << c;
  }
  EXPECT_EQ(described.lines.back().turnText, "( [159] )");
  EXPECT_EQ(described.lines[1].turnText, "straight on, s");
}

}  // namespace
}  // namespace qj::optim
