// The optimiser against an independent solution of small random tasks with every option:
// each pair's route, the final objective, and the final route followed under the rules.

#include "optimiser/oracle.h"

#include <gtest/gtest.h>

#include "optimiser/random_task.h"

namespace qj::optim {
namespace {

using namespace test::options;

struct Comparison {
  int feasible = 0, infeasible = 0, routesChecked = 0;
};

void compare(const OptimTask& task, Comparison& stats) {
  const double tolerance = 0.01;
  SilentProgress progress;
  const IterationSettings tight{0.9, 0.00099, 1, 100000};
  const PassesResult res = solvePasses(task, tight, {1, ','}, progress);
  // Pair passes on several threads end as one after another, failures included.
  const PassesResult parallel = solvePasses(task, tight, {4, ','}, progress);
  EXPECT_EQ(parallel.solutionFound, res.solutionFound);
  EXPECT_EQ(parallel.objective, res.objective);
  EXPECT_EQ(parallel.routeSteps, res.routeSteps);
  EXPECT_EQ(parallel.startServiceTimes, res.startServiceTimes);
  std::vector<test::OraclePair> oracle;
  for (const Pair& p : res.pairs) oracle.push_back(test::oraclePair(task, p.from, p.to));
  ASSERT_GE(res.solutionFound, 0) << "a pair failed although every pair is reachable";
  // Every pair lies within the tolerance of its shortest route, and takes exactly that
  // route where no other comes close.
  double scale = 0;
  for (size_t q = 0; q < res.pairs.size(); ++q) {
    ASSERT_TRUE(std::isfinite(oracle[q].cost));
    scale = std::max(scale, oracle[q].cost);
    EXPECT_NEAR(res.passResults[q].cost, oracle[q].cost, tolerance * oracle[q].cost) << q;
    if (oracle[q].margin > 0.05 * oracle[q].cost) {
      std::vector<int32_t> codes;
      double hours = 0;
      for (const RouteStep& s : res.passRoutes[q]) {
        codes.push_back(s.code);
        hours += s.hours;
      }
      EXPECT_NEAR(hours, oracle[q].hours, 1e-9) << "pair " << q;
      EXPECT_NEAR(res.passResults[q].time, oracle[q].hours, 1e-9) << "pair " << q;
      std::vector<int32_t> expected = oracle[q].path;
      expected.back() = task.sectionCount() + 1;  // the To point in the pair's numbering
      EXPECT_EQ(codes, expected) << "pair " << q;
      ++stats.routesChecked;
    }
  }
  test::FinalOracle final(task, res.pairs, oracle);
  const double best = final.solve();
  if (best > kInfeasibleGain) {
    ++stats.infeasible;
    EXPECT_EQ(res.solutionFound, 0);
    EXPECT_TRUE(res.failure);
    // The iteration, when the rules let it start, finds only forbidden routes.
    const FinalPassRules rules = finalPassRules(task.header, task.points);
    StateSpace space;
    space.build(finalPassShape(rules));
    if (space.startingStateLast()) {
      EXPECT_GT(res.objective, kInfeasibleGain * 0.99);
    }
    return;
  }
  ++stats.feasible;
  ASSERT_EQ(res.solutionFound, 1) << "oracle " << best << " objective " << res.objective;
  EXPECT_LE(std::fabs(res.objective - best) / (std::fabs(best) + scale), tolerance)
      << "oracle " << best << " objective " << res.objective;
  // The route taken is one the rules allow, as good as the best, with its loadings.
  const auto replay = final.replay(res.passRoutes.back());
  EXPECT_LE(std::fabs(replay.cost - best) / (std::fabs(best) + scale), tolerance)
      << "route " << replay.cost << " oracle " << best;
  EXPECT_EQ(replay.loading, res.startServiceTimes);
}

struct OracleCase {
  const char* name;
  unsigned options;
  uint32_t seed;
  int rounds;
};

class Oracle : public ::testing::TestWithParam<OracleCase> {};

TEST_P(Oracle, AgreesOnRandomTasks) {
  const OracleCase& c = GetParam();
  test::Rng rng(c.seed);
  Comparison stats;
  for (int round = 0; round < c.rounds; ++round) {
    test::TaskFixture f(rng.pick(4, 18), rng.pick(2, 5));
    const OptimTask& task = test::randomTask(rng, c.options, f);
    SCOPED_TRACE("round " + std::to_string(round));
    compare(task, stats);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(stats.feasible, c.rounds / 4);
  EXPECT_TRUE(c.options != 0 || stats.routesChecked > 100) << stats.routesChecked;
}

INSTANTIATE_TEST_SUITE_P(
    Options, Oracle,
    ::testing::Values(OracleCase{"plain", 0, 11, 150},
                      OracleCase{"ends_refusals", kEndPoint | kRefusals, 12, 150},
                      OracleCase{"windows", kTimeWindows | kEndPoint, 13, 150},
                      OracleCase{"cargo_returns", kCargoReturn, 14, 150},
                      OracleCase{"windows_returns", kCargoReturn | kTimeWindows, 17, 200},
                      OracleCase{"order", kOrder | kEndPoint | kRefusals, 15, 150},
                      OracleCase{"all", kAll, 16, 250}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace qj::optim
