// Passes on tasks that use the options: return trips, refusals, time windows; the same
// results and lines from one thread and from many.

#include <gtest/gtest.h>

#include "optimiser/passes.h"
#include "optimiser/progress_log.h"
#include "optimiser/random_task.h"

namespace qj::optim {
namespace {

using test::ProgressLog;
using test::TaskFixture;

void expectSame(const PassesResult& a, const PassesResult& b) {
  EXPECT_EQ(a.solutionFound, b.solutionFound);
  EXPECT_EQ(a.stateCount, b.stateCount);
  EXPECT_EQ(a.objective, b.objective);
  EXPECT_EQ(a.iterationsDone, b.iterationsDone);
  EXPECT_EQ(a.routeSteps, b.routeSteps);
  EXPECT_EQ(a.startServiceTimes, b.startServiceTimes);
  EXPECT_EQ(a.pairs, b.pairs);
  EXPECT_EQ(a.passRoutes, b.passRoutes);
  ASSERT_EQ(a.failure.has_value(), b.failure.has_value());
  if (a.failure) {
    EXPECT_EQ(a.failure->utf8(test::indexShell()), b.failure->utf8(test::indexShell()));
  }
}

void expectThreadsAgree(const OptimTask& task, const IterationSettings& settings = {}) {
  ProgressLog one, many;
  const PassesResult a = solvePasses(task, settings, {1, ','}, one);
  const PassesResult b = solvePasses(task, settings, {8, ','}, many);
  expectSame(a, b);
  EXPECT_EQ(one.lines, many.lines);
}

TEST(Threads, RandomTasksGiveTheSameResultsAndLines) {
  test::Rng rng(77);
  for (int round = 0; round < 40; ++round) {
    TaskFixture f(rng.pick(4, 30), rng.pick(3, 5));
    SCOPED_TRACE(round);
    expectThreadsAgree(test::randomTask(rng, test::options::kAll, f));
  }
}

// Points 1, 2, 3; point 3 is entered only from section 3, which only point 2 reaches; on
// the way from point 1 without point 2 the road ends in section 2.
OptimTask& secondPairFails(TaskFixture& f) {
  f.arc(f.point(1), 0, 1).arc(0, 1, 1).arc(1, f.point(2), 1).arc(1, 2, 1);
  f.arc(f.point(2), 3, 1).arc(3, f.point(3), 1).arc(f.point(3), 0, 1);
  return f.finish();
}

TEST(Threads, SecondPairFailsTheSameWay) {
  TaskFixture f(4, 3);
  const OptimTask& task = secondPairFails(f);
  ProgressLog log;
  const PassesResult res = solvePasses(task, {}, {1, ','}, log);
  ASSERT_EQ(res.pairs.size(), 4u);   // (1,2) (1,3) (2,3) (3,2)
  EXPECT_EQ(res.solutionFound, -3);  // the pass with index 4 - 3 = 1 failed
  ASSERT_TRUE(res.failure);
  EXPECT_EQ(res.failure->utf8(test::indexShell()), "[193] \"TEST01\". [767] 1 [601]). [77].");
  EXPECT_EQ(res.routeSteps, res.passRoutes[0]);  // the first pair's route stays
  EXPECT_EQ(res.iterationsDone, 0);
  EXPECT_GT(res.objective, kInfeasibleGain);
  EXPECT_EQ(log.lines.back(), "L8: " + res.failure->utf8(test::indexShell()));
  expectThreadsAgree(task);
}

TEST(Passes, ProgressLinesOfATwoPointTaskInOrder) {
  TaskFixture f(1, 2);
  f.arc(f.point(1), 0, 2).arc(0, f.point(2), 3).arc(f.point(2), 0, 1);
  ProgressLog log;
  const PassesResult res = solvePasses(f.finish(), {0.9, 0.003, 1, 1000}, {1, '.'}, log);
  ASSERT_EQ(res.solutionFound, 1);
  EXPECT_EQ(res.iterationsDone, 4);
  const std::vector<std::string> expected = {
      "L2: 1. [171].",
      "L3: ",
      "L4: ",
      "L6: ",
      // The pair pass: the busy line stays hidden.
      "Busy: [117] ...",
      "Busy hidden",
      "L3: 2. [172] 1/1 [716] 1 [1] 2), [727] 8.",
      "Busy: [119] ...",
      "Busy: [115] ...",
      "L4: 3. [174] 1/1 [716] 1 [1] 2).",
      "L5: 4. [178] 1 [601]). [435] [726] - 4. [253] 2 [715] - 4.99 <s54> <s10>",
      "Busy hidden",
      "L6: 5. [176] 1/1 [716] 1 [1] 2).",
      // The final pass: the failure line is emptied, the busy line shows and blinks.
      "L8: ",
      "Busy: [117] ...",
      "Busy shown",
      "L3: 2. [173] 4.",
      "Busy: [119] ...",
      "Busy: [115] ...",
      "L4: 3. [175].",
      "Busy hidden",
      "Busy shown",
      "Busy hidden",
      "Busy shown",
      "L5: 4. [178] 2 [601]). [435] [726] - 4. [253] 2 [715] - 4.99 <s54> <s10>",
      "Busy hidden",
      "L6: 5. [177].",
  };
  EXPECT_EQ(log.lines, expected);
}

// Start point 1 (loading 2 minutes), points 2 and 3 of 6 units each, capacity 10: one
// point must wait for a second trip.
TEST(Passes, ReturnTripsDeferAndReloadAtTheStart) {
  TaskFixture f(3, 3);
  f.arc(f.point(1), 0, 1).arc(0, f.point(2), 1).arc(0, f.point(3), 1).arc(0, 1, 1);
  f.arc(1, f.point(1), 1).arc(1, 0, 1);
  f.arc(f.point(2), 1, 1).arc(f.point(3), 1, 1).arc(2, 0, 1);
  TaskHeader& h = f.task.header;
  h.cargoMode = 1;
  h.capacity = 10;
  h.returnFlag = 1;
  f.pointRec(1).serviceTime = 2;
  f.pointRec(2).serviceTime = 4;
  f.pointRec(3).serviceTime = 7;
  f.pointRec(2).volume = 6;
  f.pointRec(3).volume = 6;
  const OptimTask& task = f.finish();
  SilentProgress quiet;
  const PassesResult res = solvePasses(task, {}, {1, ','}, quiet);
  ASSERT_EQ(res.solutionFound, 1);
  // One loading per departure: the pending point's loading time each trip.
  ASSERT_EQ(res.startServiceTimes.size(), 2u);
  EXPECT_EQ(res.startServiceTimes[0] + res.startServiceTimes[1], 11);
  int deferred = 0, served = 0;
  for (const RouteStep& s : res.routeSteps) {
    if (s.code < -3) ++deferred;
    if (s.code >= 3) ++served;
    if (s.code < 0) {
      EXPECT_EQ(s.hours, 0);
    }
  }
  EXPECT_EQ(deferred, 1);
  EXPECT_EQ(served, 3);  // points 2 and 3, and the return to point 1
  expectThreadsAgree(task);
}

// Loading at the start point costs the hourly rate and the waiting penalties of the start
// point and of the point driven to, for the loading time; nothing else.
TEST(Passes, LoadingAtTheStartCostsTheRateAndTheTwoPenalties) {
  TaskFixture f(1, 2);
  f.arc(f.point(1), 0, 2, 0.1).arc(0, f.point(2), 3, 0.2).arc(f.point(2), 0, 1, 0.1);
  f.task.header.finePerHour = 4;
  f.pointRec(1).serviceTime = 9;
  f.pointRec(1).waitPenalty = 0.5;
  f.pointRec(2).waitPenalty = 1.5;
  SilentProgress quiet;
  const PassesResult res = solvePasses(f.finish(), {0.9, 0.00099, 1, 10000}, {1, ','}, quiet);
  ASSERT_EQ(res.solutionFound, 1);
  // The pair: 2 + 3 for the arcs, 1.5 per hour for point 2 waiting 0.3 hours; the iteration
  // stops within about a thousandth of the values.
  EXPECT_NEAR(res.passResults[0].cost, 5 + 1.5 * 0.3, 0.01);
  EXPECT_NEAR(res.objective, res.passResults[0].cost + (4 + 0.5 + 1.5) * 9 / 60, 0.02);
  EXPECT_NEAR(res.passResults[1].time, 0.3 + 9.0 / 60, 1e-12);
}

TEST(Passes, ExpensivePointIsRefusedForItsSmallIncome) {
  TaskFixture f(2, 3);
  f.arc(f.point(1), 0, 1).arc(0, f.point(2), 1).arc(0, 1, 500).arc(1, f.point(3), 500);
  f.arc(f.point(2), 0, 1).arc(f.point(3), 0, 1);
  TaskHeader& h = f.task.header;
  h.refusalFlag = 1;
  f.pointRec(3).refusalAllowed = 1;
  f.pointRec(2).income = 50;
  f.pointRec(3).income = 10;
  SilentProgress quiet;
  const PassesResult res = solvePasses(f.finish(), {}, {1, ','}, quiet);
  ASSERT_EQ(res.solutionFound, 1);
  ASSERT_FALSE(res.routeSteps.empty());
  EXPECT_EQ(res.routeSteps.front(), (RouteStep{-3, 0}));
  EXPECT_EQ(res.routeSteps.back().code, 2 + 2 - 1);  // point 2 served
  EXPECT_LT(res.objective, 0);                       // the income exceeds the costs
}

TEST(Passes, EarlyArrivalWaitsForTheWindow) {
  TaskFixture f(1, 2);
  f.arc(f.point(1), 0, 1, 0.25).arc(0, f.point(2), 1, 0.25).arc(f.point(2), 0, 1, 0.1);
  TaskHeader& h = f.task.header;
  h.timeFactorFlag = 1;
  h.tactMinutes = 10;
  h.finePerHour = 6;
  f.pointRec(2).windowLow = 90;
  f.pointRec(2).windowHigh = 120;
  f.pointRec(2).serviceTime = 10;
  SilentProgress quiet;
  const PassesResult res = solvePasses(f.finish(), {0.9, 0.00099, 1, 10000}, {1, ','}, quiet);
  ASSERT_EQ(res.solutionFound, 1);
  // Arriving after 30 minutes, service would start at 20; it waits 70 minutes to 90.
  EXPECT_NEAR(res.passResults[1].time, 0.5 + 70.0 / 60, 1e-12);
  EXPECT_NEAR(res.objective, res.passResults[0].cost + 6 * 70.0 / 60, 0.01);
  // The route's own hours are those of the pair's route, without the waiting.
  EXPECT_NEAR(res.routeSteps[0].hours + res.routeSteps[1].hours, 0.5, 1e-12);
}

}  // namespace
}  // namespace qj::optim
