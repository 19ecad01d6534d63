// Tasks on client additions: the graph built on the system database, the checks that the
// system database is the task's network, and the route described in lines.

#include "optimiser/client_task.h"

#include <gtest/gtest.h>

#include "optimiser/progress_log.h"
#include "optimiser/town_task.h"
#include "support/temp_dir.h"

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

// The graph equals the wizard's level-2 graph of the same points (the run's client-addition
// test solves both); here what a house gives its point.
TEST(ClientTask, HousesGiveTheirPointsSectionsAndWays) {
  OptimTask task = cliTask();
  DbrnFile system = qj::test::smallTown("sys2");
  test::ProgressLog log;
  loadRoadNetworkTask(task, system, log);
  EXPECT_EQ(system, qj::test::smallTown("sys2"));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Busy: [118] ...", "Busy shown", "Busy hidden"}));
  ASSERT_EQ(task.graph.vertexCount(), 10 + 4);
  // Main 3 stands on s0 with s5 as its reverse; Main 5a has two links: no section.
  EXPECT_EQ(task.points[0].sectionIndex, 0);
  EXPECT_EQ(task.points[0].reverseSectionIndex, 5);
  EXPECT_EQ(task.points[1].sectionIndex, -1);
  EXPECT_EQ(task.points[1].reverseSectionIndex, -1);
  EXPECT_EQ(task.points[0].fromCount, static_cast<int32_t>(task.graph.out(10).size()));
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

}  // namespace
}  // namespace qj::optim
