// The passes on small tasks drawn by hand: ties, failures and their messages, pairs, the
// expansion of the final route, what the start point offers, the state limit, the lines.

#include "optimiser/passes.h"

#include <gtest/gtest.h>

#include <array>

#include "optimiser/pass_parts.h"
#include "optimiser/progress_log.h"

namespace qj::optim {
namespace {

using namespace test;

std::string text(const Text& t) {
  return t.utf8(test::indexShell());
}

PassesResult solve(const OptimTask& task, const IterationSettings& settings = {}, int threads = 1) {
  SilentProgress quiet;
  return solvePasses(task, settings, {threads, ','}, quiet);
}

// The points' graph of a final pass: every point reaches every other.
Graph everyPointReachesEveryOther(int32_t n) {
  Graph graph;
  for (int32_t b = 0; b < n; ++b) {
    std::vector<Arc> arcs;
    for (int32_t j = 0; j < n; ++j)
      if (j != b) arcs.push_back({j, 0.1, 1});
    graph.addVertex(arcs);
  }
  return graph;
}

TEST(Passes, EqualAlternativesFollowTheFirstRecord) {
  for (bool firstViaS0 : {true, false}) {
    TaskFixture f(2, 2);
    f.arc(f.point(1), firstViaS0 ? 0 : 1, 1).arc(f.point(1), firstViaS0 ? 1 : 0, 1);
    f.arc(0, f.point(2), 1).arc(1, f.point(2), 1);
    const PassesResult res = solve(f.finish());
    ASSERT_EQ(res.solutionFound, 1);
    EXPECT_EQ(res.routeSteps, (std::vector<RouteStep>{{firstViaS0 ? 0 : 1, 0}, {3, 0}}));
  }
}

TEST(Passes, FailedPairPassesEndTheTask) {
  {                       // the iteration limit
    TaskFixture f(2, 2);  // P1 reaches a cycle of two sections that never leads to P2
    f.arc(f.point(1), 0, 1).arc(0, 1, 1).arc(1, 0, 1).arc(f.point(2), 0, 1);
    const PassesResult res = solve(f.finish(), {0.9, 0.003, 3, 10});
    ASSERT_TRUE(res.failure);
    EXPECT_EQ(res.solutionFound, -1);
    EXPECT_EQ(res.iterationsDone, 0);
    EXPECT_GT(res.objective, 0);  // the last gain computed, not the pass's cost
    EXPECT_EQ(res.passResults[0].cost, 0);
    EXPECT_EQ(res.pairs[0].failed, 1);
    EXPECT_EQ(text(*res.failure), "[193] \"TEST01\". [10] 1 [601]). [548].");
  }
  // Points 1, 2, 3; point 3 is entered only from section 3, which only point 2 reaches; on
  // the way from point 1 without point 2 the road ends in section 2.
  TaskFixture f(4, 3);
  f.arc(f.point(1), 0, 1).arc(0, 1, 1).arc(1, f.point(2), 1).arc(1, 2, 1);
  f.arc(f.point(2), 3, 1).arc(3, f.point(3), 1).arc(f.point(3), 0, 1);
  const OptimTask& task = f.finish();
  ProgressLog log;
  const PassesResult res = solvePasses(task, {}, {1, ','}, log);
  ASSERT_EQ(res.pairs.size(), 4u);   // (1,2) (1,3) (2,3) (3,2)
  EXPECT_EQ(res.solutionFound, -3);  // the pass with index 4 - 3 = 1 failed
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(text(*res.failure), "[193] \"TEST01\". [767] 1 [601]). [77].");
  EXPECT_EQ(res.routeSteps, res.passRoutes[0]);  // the first pair's route stays
  EXPECT_EQ(res.iterationsDone, 0);
  EXPECT_GT(res.objective, kInfeasibleGain);
  EXPECT_EQ(log.lines.back(), "L8: " + text(*res.failure));
  ProgressLog many;
  const PassesResult parallel = solvePasses(task, {}, {8, ','}, many);
  EXPECT_EQ(parallel.solutionFound, -3);
  EXPECT_EQ(parallel.routeSteps, res.routeSteps);
  EXPECT_EQ(many.lines, log.lines);
}

TEST(Pairs, OrderAndExclusions) {
  struct Case {
    const char* name;
    int32_t n, start, end, refusal, returns, orderMode;
    std::vector<int32_t> orderValues;
    std::vector<Pair> pairs;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"every pair", 3, 1, 0, 0, 1, 0, {0, 0, 0}, {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}}},
      {"no start to end", 3, 1, 3, 0, 0, 0, {0, 0, 0}, {{1, 2}, {2, 3}}},
      {"refusals", 3, 1, 3, 1, 0, 0, {0, 0, 0}, {{1, 2}, {1, 3}, {2, 3}}},
      {"returns", 3, 2, 3, 0, 1, 0, {0, 0, 0}, {{1, 2}, {1, 3}, {2, 1}, {2, 3}}},
      {"fixed next", 4, 1, 0, 0, 1, 1, {0, 4, 0, 0},
       {{1, 2}, {1, 3}, {1, 4}, {2, 4}, {3, 1}, {3, 2}, {3, 4}, {4, 1}, {4, 2}, {4, 3}}},
      {"2 after 3", 3, 1, 0, 0, 1, 2, {0, 3, 0}, {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}}},
      {"classes", 4, 1, 4, 0, 0, 3, {0, 1, 3, 3}, {{1, 2}, {2, 4}, {3, 4}}},
      {"classes refusable", 4, 1, 4, 1, 0, 3, {0, 1, 3, 3},
       {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}},
      {"no class", 3, 1, 0, 0, 0, 3, {-1, 1, 0}, {{1, 2}, {1, 3}, {3, 2}}},
      {"two points", 2, 2, 0, 0, 0, 0, {7, 7}, {{2, 1}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    TaskHeader h;
    h.pointCount = c.n;
    h.startPoint = c.start;
    h.endPoint = c.end;
    h.refusalFlag = c.refusal;
    h.returnFlag = c.returns;
    h.orderMode = c.orderMode;
    EXPECT_EQ(buildPairs(h, c.orderValues), c.pairs) << c.name;
  }
}

TEST(Passes, ExpansionWritesRefusalsAndDeferralsAsNegativeCodes) {
  const std::vector<Pair> pairs = {{1, 2}, {1, 3}, {2, 1}, {2, 3}};
  const std::vector<std::vector<RouteStep>> routes = {
      {{5, 0.1}, {11, 0.2}}, {{6, 0.3}, {11, 0.4}}, {{7, 0.5}, {11, 0.6}}, {{8, 0.7}, {11, 0.8}}};
  // Refuse point 3, move to point 2, defer point 1 (as a code 2N + k - 1).
  const std::vector<RouteStep> final = {{3 + 2, 0}, {1, 1}, {6, 0}, {2, 0}};
  EXPECT_EQ(expandFinalRoute(3, 1, pairs, routes, final),
            (std::vector<RouteStep>{{-3, 0}, {5, 0.1}, {11, 0.2}, {-4, 0}, {8, 0.7}, {12, 0.8}}));
}

// At the start point the refusals come at time step 0 only; the deferrals of a return trip
// at time step 0 only, but at every time step of a cargo task, whose capacity also holds
// back every move while the load is too large.
TEST(Transitions, WhatTheStartPointOffersAtEachTimeStep) {
  // Cargo mode and capacity: 8 units are loaded only when at most 8 fit.
  for (const auto& [cargo, capacity] :
       std::vector<std::pair<int32_t, double>>{{0, 5}, {1, 5}, {1, 8}}) {
    TaskFixture f(1, 4);
    TaskHeader& h = f.task.header;
    h.refusalFlag = h.returnFlag = h.timeFactorFlag = 1;  // time steps of 10 minutes
    h.cargoMode = cargo;
    h.capacity = capacity;
    f.pointRec(3).volume = f.pointRec(4).volume = 4;
    f.pointRec(3).refusalAllowed = 1;
    f.pointRec(4).windowHigh = 30;  // time steps 0 to 3
    const OptimTask& task = f.finish();
    const PassParts parts(task, everyPointReachesEveryOther(4));
    const Transitions& tr = parts.transitions;
    int starts = 0;
    for (int32_t s = 1; s < tr.stateCount(); ++s) {
      const StateVec& sv = parts.space.state(s);
      // Back at the start with point 2 served, points 3 and 4 pending: 8 units.
      if (sv.position != 0 || sv.code != 1 + 3) continue;
      ++starts;
      int refusals = 0, deferrals = 0, moves = 0;
      for (int32_t r = tr.first(s); r < tr.end(s); ++r) {
        const int32_t code = tr.detail(r).code;
        (code >= 8 ? deferrals : code >= 4 ? refusals : moves) += code >= 0;
      }
      const bool first = sv.timeStep == 0, over = capacity < 8;
      EXPECT_EQ(
          std::make_tuple(refusals, deferrals, moves),
          std::make_tuple(first ? 1 : 0, over && (first || cargo) ? 2 : 0, cargo && over ? 0 : 2))
          << "cargo " << cargo << " capacity " << capacity << " step " << sv.timeStep;
    }
    EXPECT_EQ(starts, 4);
  }
}

// A served threshold T holds the vehicle at the start until fewer than |T| points are open;
// a negative T also stops the refusals there: no more than needed are refused.
TEST(Transitions, ServedThresholdAtTheStart) {
  using Counts = std::array<int, 3>;  // with 3, 2 and 1 points open
  // clang-format off
  for (const auto& [threshold, expectedRefusals, expectedMoves] :
       std::vector<std::tuple<int32_t, Counts, Counts>>{
           {0, {3, 2, 1}, {3, 2, 1}}, {2, {3, 2, 1}, {0, 0, 1}}, {-2, {3, 2, 0}, {0, 0, 1}},
           {-3, {3, 0, 0}, {0, 2, 1}}, {-1, {3, 2, 1}, {0, 0, 0}}}) {
    // clang-format on
    TaskFixture f(1, 4);
    f.task.header.refusalFlag = 1;
    f.task.header.servedThreshold = threshold;
    for (int32_t k = 2; k <= 4; ++k) f.pointRec(k).refusalAllowed = 1;
    const PassParts parts(f.finish(), everyPointReachesEveryOther(4));
    Counts refusals{}, moves{};
    int32_t finished = 0;  // the states with every point served come first
    for (int32_t s = 1; s < parts.transitions.stateCount(); ++s) {
      const StateVec& sv = parts.space.state(s);
      int open = 0;
      for (int32_t j = 0; j < 4; ++j) open += parts.space.status(sv.code, j) != Served;
      if (open == 0) finished = s;
      if (sv.position != 0 || open == 0) continue;
      refusals[3 - open] = moves[3 - open] = 0;  // the same at every state of `open` points
      for (int32_t r = parts.transitions.first(s); r < parts.transitions.end(s); ++r) {
        const int32_t code = parts.transitions.detail(r).code;
        (code >= 4 ? refusals : moves)[3 - open] += code >= 0;
      }
    }
    EXPECT_EQ(refusals, expectedRefusals) << threshold;
    EXPECT_EQ(moves, expectedMoves) << threshold;
    EXPECT_EQ(parts.transitions.finishedStates(), finished);
  }
}

// The final pass of ten points with return trips has 78733 states: counted, refused before
// any table is made.
TEST(Passes, TooManyStatesFailTheFinalPassBeforeItsTables) {
  TaskFixture f(1, 10);
  for (int32_t k = 1; k <= 10; ++k) f.arc(0, f.point(k), 1).arc(f.point(k), 0, 1);
  f.task.header.returnFlag = 1;
  const PassesResult res = solve(f.finish());
  EXPECT_EQ(res.solutionFound, 0);
  EXPECT_EQ(res.stateCount, 78733);
  EXPECT_EQ(res.passStats.back().records, 0);
  EXPECT_GT(res.iterationsDone, 0);  // the last pair pass's: the final pass never iterated
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(text(*res.failure), "[193] \"TEST01\". [7]. [765] 2 [766] 78733 (> 30000 [153]).");
  // Two points over 14999 time steps of a minute: 30000 states, not too many.
  TaskFixture two(1, 2);
  two.arc(0, two.point(2), 1).arc(two.point(1), 0, 1).arc(two.point(2), 0, 1);
  two.task.header.timeFactorFlag = 1;
  two.task.header.tactMinutes = 1;
  two.pointRec(2).windowHigh = 14998;
  const PassesResult limit = solve(two.finish());
  EXPECT_EQ(limit.stateCount, 30000);
  EXPECT_EQ(limit.solutionFound, 1);
}

TEST(Passes, ForbiddenStepThatAnIncomeMakesCheapIsNeverARoute) {
  // Point 2 closes after 30 minutes but is an hour away; its income brings the forbidden
  // step's cost below the feasibility bound.
  TaskFixture f(1, 2);
  f.arc(f.point(1), 0, 1, 0.5).arc(0, f.point(2), 1, 0.5).arc(f.point(2), 0, 1, 0.1);
  TaskHeader& h = f.task.header;
  h.timeFactorFlag = h.refusalFlag = 1;  // time steps of 10 minutes
  f.pointRec(2).windowHigh = 30;
  f.pointRec(2).income = 5e6;
  const PassesResult res = solve(f.finish());
  EXPECT_LT(res.objective, kInfeasibleGain);
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(res.solutionFound, 0);
  EXPECT_EQ(text(*res.failure), "[193] \"TEST01\". [767] 2 [601]). [76].");
  f.arcs[f.point(1)][0].time = f.arcs[0][0].time = 0.25;  // ends at 30 minutes: in time
  EXPECT_EQ(solve(f.finish()).solutionFound, 1);
  // Nor a refusal of end point 3 away from it, after a trip whose income pays for it: the
  // load holds the vehicle until point 3 is deferred, and no way leads to point 3.
  TaskFixture g(1, 3);
  TaskHeader& r = g.task.header;
  r.refusalFlag = r.returnFlag = r.cargoMode = 1;
  r.capacity = 5;
  r.endPoint = 3;
  g.pointRec(2).volume = g.pointRec(3).volume = 4;
  g.pointRec(3).refusalAllowed = 1;
  g.pointRec(2).income = 5e6;
  const PassParts parts(g.finish(), Graph({1, 1, 0}, {{1, 0.1, 1}, {0, 0.1, 1}}));
  RelaxArrays arrays;
  EXPECT_EQ(solveByRelaxation(parts.transitions, {}, arrays).status, Solved);
  // Deferral of 3, to 2 and back: then the refusal.
  EXPECT_EQ(extractRoute(parts.setup, parts.space, parts.transitions, arrays.choice).status,
            ExtractStatus::ForbiddenStep);
}

TEST(Passes, ProgressLinesOfATwoPointTaskInOrder) {
  TaskFixture f(1, 2);
  f.arc(f.point(1), 0, 2).arc(0, f.point(2), 3).arc(f.point(2), 0, 1);
  ProgressLog log;
  const PassesResult res = solvePasses(f.finish(), {0.9, 0.003, 1, 1000}, {1, '.'}, log);
  ASSERT_EQ(res.solutionFound, 1);
  EXPECT_EQ(res.iterationsDone, 4);
  const std::vector<std::string> expected = {
      "L2: 1. [171].", "L3: ", "L4: ", "L6: ",
      // The pair pass: the busy line stays hidden.
      "Busy: [117] ...", "Busy hidden", "L3: 2. [172] 1/1 [716] 1 [1] 2), [727] 8.",
      "Busy: [119] ...", "Busy: [115] ...", "L4: 3. [174] 1/1 [716] 1 [1] 2).",
      "L5: 4. [178] 1 [601]). [435] [726] - 4. [253] 2 [715] - 4.99 <s54> <s10>", "Busy hidden",
      "L6: 5. [176] 1/1 [716] 1 [1] 2).",
      // The final pass: the failure line is emptied, the busy line shows and blinks.
      "L8: ", "Busy: [117] ...", "Busy shown", "L3: 2. [173] 4.", "Busy: [119] ...",
      "Busy: [115] ...", "L4: 3. [175].", "Busy hidden", "Busy shown", "Busy hidden", "Busy shown",
      "L5: 4. [178] 2 [601]). [435] [726] - 4. [253] 2 [715] - 4.99 <s54> <s10>", "Busy hidden",
      "L6: 5. [177]."};
  EXPECT_EQ(log.lines, expected);
  // With incomes, times or cargo the final pass's gain shows as a profit, [764] in place of
  // [253]; a pair pass's never does.
  for (int option = 1; option < 4; ++option) {
    TaskFixture g(1, 2);
    g.arc(g.point(1), 0, 2).arc(0, g.point(2), 3).arc(g.point(2), 0, 1);
    TaskHeader& h = g.task.header;
    (option == 1 ? h.refusalFlag : option == 2 ? h.timeFactorFlag : h.cargoMode) = 1;
    ProgressLog withOption;
    solvePasses(g.finish(), {}, {1, '.'}, withOption);
    std::vector<bool> profit;
    for (const std::string& line : withOption.lines)
      if (line.rfind("L5: ", 0) == 0) profit.push_back(line.find("[764]") != std::string::npos);
    EXPECT_EQ(profit, (std::vector<bool>{false, true})) << option;
  }
}

}  // namespace
}  // namespace qj::optim
