#include "optimiser/passes.h"

#include <gtest/gtest.h>

#include "optimiser/task_fixture.h"

namespace qj::optim {
namespace {

using test::TaskFixture;

// The pair pass of a task with two points, built by hand from the pass's parts.
struct PairPassParts {
  const OptimTask& task;
  std::vector<int32_t> boundary, boundaryIndex;
  Graph lists;
  PassSetup setup;
  StateSpace space;
  Transitions transitions;

  explicit PairPassParts(const OptimTask& t, Pair pair = {1, 2}) : task(t) {
    const int32_t a = t.sectionCount();
    boundary = boundarySections(t.graph, a);
    boundaryIndex.assign(a, -1);
    for (size_t k = 0; k < boundary.size(); ++k) boundaryIndex[boundary[k]] = int32_t(k);
    lists = pairReplacementLists(t.graph, a, boundary, pair);
    setup.kind = 1;
    setup.pairCount = 1;
    setup.sectionCount = a;
    setup.fromPoint = pair.from;
    setup.toPoint = pair.to;
    setup.task = &t;
    setup.graph = &t.graph;
    setup.boundaryIndex = &boundaryIndex;
    setup.replacements = &lists;
    space.build(pairPassShape(a));
    transitions.build(setup, space);
  }
};

// P1 -> s0 -> s1 -> s2 -> P2, and P2 -> s0: costs 1, 2, 3, 4 and 5, no time.
OptimTask& chainTask(TaskFixture& f) {
  f.arc(f.point(1), 0, 1).arc(0, 1, 2).arc(1, 2, 3).arc(2, f.point(2), 4).arc(f.point(2), 0, 5);
  return f.finish();
}

TEST(Transitions, ChainPairPassHasOneRecordPerState) {
  TaskFixture f(3, 2);
  const OptimTask& task = chainTask(f);
  PairPassParts parts(task);
  const Transitions& tr = parts.transitions;
  ASSERT_EQ(tr.stateCount(), 12);
  // 1..5 finished (every point served), 6..8 the sections, 9 and 10 the points in phase 1,
  // 11 the starting state.
  for (int32_t s = 1; s <= 5; ++s) {
    ASSERT_EQ(tr.end(s) - tr.first(s), 1);
    EXPECT_EQ(tr.record(tr.first(s)).target, 0);
    EXPECT_EQ(tr.record(tr.first(s)).cost, 0);
    EXPECT_EQ(tr.detail(tr.first(s)).code, -1);
  }
  const std::vector<std::pair<int32_t, double>> expected = {{7, 2}, {8, 3}, {5, 4},
                                                            {6, 1}, {6, 5}, {6, 1}};
  for (int32_t s = 6; s <= 11; ++s) {
    ASSERT_EQ(tr.end(s) - tr.first(s), 1) << s;
    EXPECT_EQ(tr.record(tr.first(s)).target, expected[s - 6].first) << s;
    EXPECT_EQ(tr.record(tr.first(s)).cost, expected[s - 6].second) << s;
  }
  EXPECT_EQ(tr.detail(tr.first(8)).code, 4);  // the arrival at the To point, vertex A + 1
}

TEST(Relaxation, ChainSweepValuesAsComputedByHand) {
  TaskFixture f(3, 2);
  const OptimTask& task = chainTask(f);
  PairPassParts parts(task);
  RelaxArrays arrays;
  // A test after three sweeps that fails, at the limit: the values of sweeps 2 and 3 stay.
  const RelaxResult r = solveByRelaxation(parts.transitions, {0.9, 1e-9, 3, 3}, arrays);
  EXPECT_EQ(r.status, IterationLimitReached);
  EXPECT_EQ(r.sweeps, 3);
  EXPECT_NEAR(r.gain, 5.4, 1e-12);  // the starting state's value after sweep 2
  const std::vector<double> sweep2 = {4.41, 6.21, 3.96, 5.4, 9.36, 5.4};
  const std::vector<double> sweep3 = {7.83, 6.885, 3.996, 8.829, 12.825, 8.829};
  for (int32_t s = 6; s <= 11; ++s) {
    EXPECT_NEAR(arrays.oldValues[s], sweep2[s - 6], 1e-12) << s;
    EXPECT_NEAR(arrays.newValues[s], sweep3[s - 6], 1e-12) << s;
  }
  for (int32_t s = 0; s <= 5; ++s) EXPECT_EQ(arrays.newValues[s], 0);
}

TEST(Relaxation, ChainStopsAtTheTenthSweep) {
  TaskFixture f(3, 2);
  const OptimTask& task = chainTask(f);
  PairPassParts parts(task);
  RelaxArrays arrays;
  // The test after sweep 5 fails, the one after sweep 10 passes.
  const RelaxResult r = solveByRelaxation(parts.transitions, {0.9, 0.003, 5, 1000}, arrays);
  EXPECT_EQ(r.status, Solved);
  EXPECT_EQ(r.sweeps, 10);
  EXPECT_NEAR(r.gain, 9.999987759, 1e-9);
  EXPECT_NEAR(arrays.newValues[8], 3.9999999996, 1e-9);
  EXPECT_NEAR(arrays.newValues[6], 8.9999984781, 1e-9);
}

TEST(Passes, ChainTaskSolvesWithTwoPasses) {
  TaskFixture f(3, 2);
  const OptimTask& task = chainTask(f);
  SilentProgress progress;
  const PassesResult res = solvePasses(task, {}, {1, ','}, progress);
  ASSERT_FALSE(res.failure);
  EXPECT_EQ(res.solutionFound, 1);
  ASSERT_EQ(res.pairs.size(), 1u);
  EXPECT_NEAR(res.passResults[0].cost, 9.999987759, 1e-9);
  const std::vector<RouteStep> route = {{0, 0}, {1, 0}, {2, 0}, {4, 0}};
  EXPECT_EQ(res.passRoutes[0], route);
  EXPECT_EQ(res.routeSteps, route);  // point 2 is vertex 4 in the task too
  EXPECT_EQ(res.stateCount, 4);      // the final pass: 2 + (2 - 1) * 1 + 2 - 1
  ASSERT_EQ(res.startServiceTimes.size(), 1u);
  EXPECT_EQ(res.startServiceTimes[0], 0);
  EXPECT_NEAR(res.objective, res.passResults[0].cost, 1e-3);
}

TEST(Passes, EqualAlternativesFollowTheFirstRecord) {
  for (bool firstViaS0 : {true, false}) {
    TaskFixture f(2, 2);
    if (firstViaS0)
      f.arc(f.point(1), 0, 1).arc(f.point(1), 1, 1);
    else
      f.arc(f.point(1), 1, 1).arc(f.point(1), 0, 1);
    f.arc(0, f.point(2), 1).arc(1, f.point(2), 1);
    SilentProgress progress;
    const PassesResult res = solvePasses(f.finish(), {}, {1, ','}, progress);
    ASSERT_EQ(res.solutionFound, 1);
    const std::vector<RouteStep> route = {{firstViaS0 ? 0 : 1, 0}, {3, 0}};
    EXPECT_EQ(res.routeSteps, route);
  }
}

// P1 reaches a cycle of two sections that never leads to P2: the values grow without end.
OptimTask& endlessTask(TaskFixture& f) {
  f.arc(f.point(1), 0, 1).arc(0, 1, 1).arc(1, 0, 1).arc(f.point(2), 0, 1);
  return f.finish();
}

TEST(Relaxation, LimitEndsAtTheFirstCheckAtOrAfterIt) {
  TaskFixture f(2, 2);
  const OptimTask& task = endlessTask(f);
  PairPassParts parts(task);
  RelaxArrays arrays;
  EXPECT_EQ(solveByRelaxation(parts.transitions, {0.9, 1e-9, 5, 1000}, arrays).sweeps, 1000);
  EXPECT_EQ(solveByRelaxation(parts.transitions, {0.9, 1e-9, 3, 1000}, arrays).sweeps, 1002);
  EXPECT_EQ(solveByRelaxation(parts.transitions, {0.9, 1e-9, 1, 10}, arrays).sweeps, 10);
  const RelaxResult r = solveByRelaxation(parts.transitions, {0.9, 0.003, 3, 10}, arrays);
  EXPECT_EQ(r.status, IterationLimitReached);
  EXPECT_EQ(r.sweeps, 12);
}

TEST(Passes, IterationLimitFailsThePairPass) {
  TaskFixture f(2, 2);
  SilentProgress progress;
  const PassesResult res = solvePasses(endlessTask(f), {0.9, 0.003, 3, 10}, {1, ','}, progress);
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(res.solutionFound, -1);
  EXPECT_EQ(res.iterationsDone, 0);
  EXPECT_GT(res.objective, 0);  // the last gain computed
  EXPECT_TRUE(res.routeSteps.empty());
  EXPECT_EQ(res.pairs[0].failed, 1);
  ShellTables shell;
  shell.shellTexts.resize(800);
  shell.shellTexts[193] = "Task";
  shell.shellTexts[10] = "Iteration failed (pass";
  shell.shellTexts[601] = "kind";
  shell.shellTexts[548] = "limit reached";
  EXPECT_EQ(res.failure->utf8(shell),
            "Task \"TEST01\". Iteration failed (pass 1 kind). limit reached.");
}

TEST(Passes, UnreachableToPointHasNoFeasibleRoute) {
  TaskFixture f(2, 2);
  f.arc(f.point(1), 0, 1).arc(f.point(2), 1, 1);  // section 0 is a dead end
  SilentProgress progress;
  const PassesResult res = solvePasses(f.finish(), {}, {1, ','}, progress);
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(res.solutionFound, -1);
  EXPECT_GT(res.objective, kInfeasibleGain);
}

TEST(Pairs, OrderAndExclusions) {
  TaskHeader h;
  h.pointCount = 3;
  h.startPoint = 1;
  h.endPoint = 0;
  h.returnFlag = 1;
  std::vector<int32_t> ov(3, 0);
  std::vector<Pair> all = buildPairs(h, ov);
  const std::vector<Pair> every = {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}};
  EXPECT_EQ(all, every);

  h.returnFlag = 0;
  h.endPoint = 3;
  EXPECT_EQ(buildPairs(h, ov), (std::vector<Pair>{{1, 2}, {2, 3}}));  // no (1,3): no refusals
  h.refusalFlag = 1;
  EXPECT_EQ(buildPairs(h, ov), (std::vector<Pair>{{1, 2}, {1, 3}, {2, 3}}));

  h = {};
  h.pointCount = 5;
  h.startPoint = 1;
  h.returnFlag = 1;
  h.orderMode = 1;
  ov = {0, 5, 0, 0, 0};
  for (const Pair& p : buildPairs(h, ov))
    if (p.from == 2) {
      EXPECT_EQ(p.to, 5);
    }
  h.orderMode = 2;
  ov = {0, 3, 0, 0, 0};  // point 2 comes after point 3
  for (const Pair& p : buildPairs(h, ov)) EXPECT_FALSE(p.from == 3 && p.to == 2);

  h.orderMode = 3;
  h.endPoint = 4;
  h.returnFlag = 0;
  ov = {0, 1, 3, 3};
  h.pointCount = 4;
  auto has = [&](int i, int j) {
    for (const Pair& p : buildPairs(h, ov))
      if (p.from == i && p.to == j) return true;
    return false;
  };
  EXPECT_FALSE(has(2, 3));  // class 1 to class 3 skips class 2
  EXPECT_TRUE(has(2, 4));   // unless into the end point
  h.refusalFlag = 1;
  EXPECT_TRUE(has(2, 3));
  EXPECT_FALSE(has(3, 2));  // never to a lower class

  h = {};
  h.pointCount = 2;
  h.startPoint = 2;
  h.endPoint = 0;
  EXPECT_EQ(buildPairs(h, {7, 7}), (std::vector<Pair>{{2, 1}}));
}

TEST(Pairs, ReplacementListsKeepSectionsAndRenameTheToPoint) {
  TaskFixture f(3, 3);
  // Section 0 leads to section 1, to point 2, to point 3 and to point 1.
  f.arc(0, 1, 1).arc(0, f.point(2), 2).arc(0, f.point(3), 3).arc(0, f.point(1), 4);
  f.arc(1, 2, 1);
  f.arc(f.point(1), f.point(3), 5).arc(f.point(1), 0, 6);
  f.arc(f.point(2), 2, 7).arc(f.point(2), f.point(1), 8);
  const OptimTask& task = f.finish();
  const auto boundary = boundarySections(task.graph, 3);
  EXPECT_EQ(boundary, std::vector<int32_t>{0});
  const Graph lists = pairReplacementLists(task.graph, 3, boundary, {1, 2});
  ASSERT_EQ(lists.vertexCount(), 3);
  auto vec = [](std::span<const Arc> s) { return std::vector<Arc>(s.begin(), s.end()); };
  EXPECT_EQ(vec(lists.out(0)), (std::vector<Arc>{{1, 0, 1}, {4, 0, 2}}));
  EXPECT_EQ(vec(lists.out(1)), (std::vector<Arc>{{0, 0, 6}}));
  EXPECT_EQ(vec(lists.out(2)), (std::vector<Arc>{{2, 0, 7}}));
}

TEST(Passes, ExpansionWritesRefusalsAndDeferralsAsNegativeCodes) {
  const std::vector<Pair> pairs = {{1, 2}, {1, 3}, {2, 1}, {2, 3}};
  const std::vector<std::vector<RouteStep>> routes = {
      {{5, 0.1}, {11, 0.2}}, {{6, 0.3}, {11, 0.4}}, {{7, 0.5}, {11, 0.6}}, {{8, 0.7}, {11, 0.8}}};
  // Refuse point 3, move to point 2, defer point 1 (as a code 2N + k - 1).
  const std::vector<RouteStep> final = {{3 + 2, 0}, {1, 1}, {6, 0}, {2, 0}};
  const auto route = expandFinalRoute(3, 1, pairs, routes, final);
  const std::vector<RouteStep> expected = {{-3, 0}, {5, 0.1}, {11, 0.2},
                                           {-4, 0}, {8, 0.7}, {12, 0.8}};
  EXPECT_EQ(route, expected);
}

}  // namespace
}  // namespace qj::optim

namespace qj::optim {
namespace {

TEST(Transitions, StateWhoseArcsAllLeadToDonePointsIsADeadEnd) {
  TaskFixture f(1, 3);
  const OptimTask& task = f.finish();
  Graph graph;  // the final pass's graph on the points
  const std::vector<Arc> fromStart = {{1, 0.1, 1}, {2, 0.1, 1}};
  const std::vector<Arc> fromTwo = {{0, 0.1, 1}};  // back to the start only
  const std::vector<Arc> fromThree = {{1, 0.1, 1}};
  graph.addVertex(fromStart);
  graph.addVertex(fromTwo);
  graph.addVertex(fromThree);
  const FinalPassRules rules = finalPassRules(task.header, task.points);
  StateSpace space;
  space.build(finalPassShape(rules));
  PassSetup setup;
  setup.kind = 2;
  setup.sectionCount = 0;
  setup.pointCount = 3;
  setup.startPoint = 1;
  setup.endPoint = 0;
  setup.phaseCount = 1;
  setup.task = &task;
  setup.graph = &graph;
  Transitions tr;
  tr.build(setup, space);
  // At point 2 with point 3 still pending, the only arc leads back to the served start.
  const int32_t s = space.lookup(1, 0, 1 + 2, 0);
  ASSERT_GT(s, 0);
  ASSERT_EQ(tr.end(s) - tr.first(s), 1);
  EXPECT_EQ(tr.record(tr.first(s)).target, 0);
  EXPECT_EQ(tr.record(tr.first(s)).cost, kForbiddenCost);
  EXPECT_EQ(tr.detail(tr.first(s)).code, -1);
  EXPECT_TRUE(tr.detail(tr.first(s)).forbidden);
}

TEST(Passes, ForbiddenStepThatAnIncomeMakesCheapIsNeverARoute) {
  // Point 2 closes after 30 minutes but is an hour away; its income brings the forbidden
  // step's cost below the feasibility bound.
  TaskFixture f(1, 2);
  f.arc(f.point(1), 0, 1, 0.5).arc(0, f.point(2), 1, 0.5).arc(f.point(2), 0, 1, 0.1);
  TaskHeader& h = f.task.header;
  h.timeFactorFlag = 1;
  h.tactMinutes = 10;
  h.refusalFlag = 1;
  f.pointRec(2).windowHigh = 30;
  f.pointRec(2).income = 5e6;
  SilentProgress quiet;
  const PassesResult res = solvePasses(f.finish(), {}, {1, ','}, quiet);
  EXPECT_LT(res.objective, kInfeasibleGain);
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(res.solutionFound, 0);
  ShellTables shell;
  shell.shellTexts.resize(800);
  shell.shellTexts[193] = "Task";
  shell.shellTexts[767] = "No route (pass";
  shell.shellTexts[601] = "kind";
  shell.shellTexts[76] = "time windows";
  EXPECT_EQ(res.failure->utf8(shell), "Task \"TEST01\". No route (pass 2 kind). time windows.");
}

}  // namespace
}  // namespace qj::optim
