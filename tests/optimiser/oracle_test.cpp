// The optimiser against an independent solution of small random tasks with every option.

#include "optimiser/oracle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "optimiser/random_task.h"

namespace qj::optim {
namespace {

using test::FinalOracle;
using test::OraclePair;
using test::randomTask;
using test::Rng;
using test::TaskFixture;
using namespace test::options;

struct Comparison {
  int tasks = 0, feasible = 0, infeasible = 0, routesChecked = 0;
  double worstRelative = 0;
};

std::string describe(const PassesResult& res, const OptimTask& task) {
  ShellTables shell;
  for (int k = 0; k < 800; ++k) {
    std::ostringstream name;
    name << '[' << k << ']';
    shell.shellTexts.push_back(name.str());
  }
  std::ostringstream out;
  out << (res.failure ? res.failure->utf8(shell) : std::string("no failure"));
  const TaskHeader& h = task.header;
  out << " N=" << h.pointCount << " start=" << h.startPoint << " end=" << h.endPoint
      << " order=" << h.orderMode << " refusal=" << h.refusalFlag
      << " threshold=" << h.servedThreshold << " order values:";
  for (const auto& p : task.points) out << ' ' << p.orderValue << '/' << p.refusalAllowed;
  return out.str();
}

// Solves the task both ways and compares pair routes and the final objective.
void compare(const OptimTask& task, const IterationSettings& settings, Comparison& stats,
             double tolerance) {
  SilentProgress progress;
  const PassesResult res = solvePasses(task, settings, {1, ','}, progress);
  ++stats.tasks;
  std::vector<OraclePair> oracle;
  for (const Pair& p : res.pairs) oracle.push_back(test::oraclePair(task, p.from, p.to));
  const int32_t pairCount = static_cast<int32_t>(res.pairs.size());
  // Every pair that was solved lies within the tolerance of its shortest route, and takes
  // exactly that route where no other comes close.
  const int32_t solvedPairs = res.solutionFound >= 0 ? pairCount : pairCount + res.solutionFound;
  for (int32_t q = 0; q < solvedPairs; ++q) {
    ASSERT_TRUE(std::isfinite(oracle[q].cost));
    const double cost = res.passResults[q].cost;
    EXPECT_NEAR(cost, oracle[q].cost, tolerance * oracle[q].cost) << "pair " << q;
    if (oracle[q].margin > 0.05 * oracle[q].cost) {
      std::vector<int32_t> codes;
      for (const RouteStep& s : res.passRoutes[q]) codes.push_back(s.code);
      // In the pair's numbering the To point is vertex A + 1.
      std::vector<int32_t> expected = oracle[q].path;
      expected.back() = task.sectionCount() + 1;
      EXPECT_EQ(codes, expected) << "pair " << q;
      ++stats.routesChecked;
    }
  }
  ASSERT_GE(res.solutionFound, 0) << "a pair failed although every pair is reachable";
  FinalOracle final(task, res.pairs, oracle);
  const double best = final.solve();
  if (best > kInfeasibleGain) {
    ++stats.infeasible;
    EXPECT_EQ(res.solutionFound, 0);
    ASSERT_TRUE(res.failure);
    // Either the iteration found only forbidden routes, or the order rules refuse the very
    // start and the final pass ends before it iterates.
    StateSpace space;
    const FinalPassRules rules = finalPassRules(task.header, task.points);
    space.build(finalPassShape(rules));
    if (space.startingStateLast()) {
      EXPECT_GT(res.objective, kInfeasibleGain * 0.99);
    }
    return;
  }
  ++stats.feasible;
  ASSERT_EQ(res.solutionFound, 1) << "oracle " << best << " objective " << res.objective << " "
                                  << describe(res, task);
  double scale = 0;
  for (const auto& o : oracle) scale = std::max(scale, o.cost);
  const double error = std::fabs(res.objective - best) / (std::fabs(best) + scale);
  stats.worstRelative = std::max(stats.worstRelative, error);
  EXPECT_LE(error, tolerance) << "oracle " << best << " objective " << res.objective;
}

void runRandom(unsigned options, uint32_t seed, int rounds, Comparison& stats) {
  Rng rng(seed);
  const IterationSettings tight{0.9, 0.00099, 1, 100000};
  for (int round = 0; round < rounds; ++round) {
    const int32_t n = rng.pick(2, 5);
    TaskFixture f(rng.pick(4, 18), n);
    const OptimTask& task = randomTask(rng, options, f);
    SCOPED_TRACE("round " + std::to_string(round));
    compare(task, tight, stats, 0.01);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(Oracle, PlainTasks) {
  Comparison stats;
  runRandom(0, 11, 150, stats);
  EXPECT_GT(stats.routesChecked, 100);
  std::printf("plain: %d tasks, %d routes checked, worst error %.2e\n", stats.tasks,
              stats.routesChecked, stats.worstRelative);
}

TEST(Oracle, EndPointsAndRefusals) {
  Comparison stats;
  runRandom(kEndPoint | kRefusals, 12, 150, stats);
  std::printf("end/refusal: %d tasks (%d infeasible), worst error %.2e\n", stats.tasks,
              stats.infeasible, stats.worstRelative);
}

TEST(Oracle, TimeWindows) {
  Comparison stats;
  runRandom(kTimeWindows | kEndPoint, 13, 150, stats);
  std::printf("windows: %d tasks (%d infeasible), worst error %.2e\n", stats.tasks,
              stats.infeasible, stats.worstRelative);
}

TEST(Oracle, CargoWithReturnTrips) {
  Comparison stats;
  runRandom(kCargoReturn, 14, 150, stats);
  std::printf("cargo: %d tasks (%d infeasible), worst error %.2e\n", stats.tasks, stats.infeasible,
              stats.worstRelative);
}

TEST(Oracle, OrderModes) {
  Comparison stats;
  runRandom(kOrder | kEndPoint | kRefusals, 15, 150, stats);
  std::printf("order: %d tasks (%d infeasible), worst error %.2e\n", stats.tasks, stats.infeasible,
              stats.worstRelative);
}

TEST(Oracle, EveryOptionTogether) {
  Comparison stats;
  runRandom(kAll, 16, 200, stats);
  EXPECT_GT(stats.feasible, 50);
  std::printf("all: %d tasks (%d infeasible), worst error %.2e\n", stats.tasks, stats.infeasible,
              stats.worstRelative);
}

}  // namespace
}  // namespace qj::optim
