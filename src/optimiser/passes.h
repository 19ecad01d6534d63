#pragma once
// The two levels of a task: one pair pass for every admissible ordered pair of target points
// on the whole section graph, then one final pass on the points alone whose arcs are the pair
// results. The pair passes are independent: they run on all cores and their results are
// committed in pair order, so that the outcome is the same as one pass after another.

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "optimiser/extraction.h"
#include "optimiser/progress.h"
#include "optimiser/relaxation.h"
#include "optimiser/task_data.h"
#include "optimiser/transitions.h"
#include "route/state_space.h"
#include "text/message.h"

namespace qj::optim {

struct Pair {
  int32_t from = 0, to = 0;  // 1-based points
  int32_t failed = 0;
  bool operator==(const Pair&) const = default;
};

// Whether the ordered pair (i, j) of 1-based points gets a pair pass (tasks of three or more
// points; a task of two points has the single pair from its start point).
bool pairAdmissible(const TaskHeader& header, const std::vector<int32_t>& orderValues, int32_t i,
                    int32_t j);
std::vector<Pair> buildPairs(const TaskHeader& header, const std::vector<int32_t>& orderValues);

// The sections with at least one arc into a point, ascending.
std::vector<int32_t> boundarySections(const Graph& graph, int32_t sectionCount);

// The K + 2 replacement lists of a pair in the pair's numbering (From is vertex A, To is
// A + 1): one per boundary section, then From's list, then To's. An arc into To is renamed;
// an arc into any other point leaves the pair's sub-problem and gives no record.
Graph pairReplacementLists(const Graph& graph, int32_t sectionCount,
                           const std::vector<int32_t>& boundary, const Pair& pair);

struct PassResult {
  int32_t stepCount = 0;
  double time = 0;  // hours of the pass's route
  double cost = 0;  // the pass's gain
};

// The final pass's graph on the points alone: one arc per solved pair.
Graph finalGraph(int32_t pointCount, int32_t startPoint, int32_t endPoint,
                 const std::vector<Pair>& pairs, const std::vector<PassResult>& results);

// The final route in the task's numbering: every move to a point replaced by the route of
// the first pair that leads there, refusals and deferrals as negative codes.
std::vector<RouteStep> expandFinalRoute(int32_t pointCount, int32_t startPoint,
                                        const std::vector<Pair>& pairs,
                                        const std::vector<std::vector<RouteStep>>& pairRoutes,
                                        const std::vector<RouteStep>& finalRoute);

struct SolveOptions {
  int threads = 0;  // 0: every core
  char decimalSeparator = ',';
};

// Work of one pass, for measurements.
struct PassStats {
  int64_t states = 0;
  int64_t records = 0;
  int64_t finished = 0;  // states whose value a sweep need not compute
  int64_t sweeps = 0;
  double relaxSeconds = 0;
};

// What the passes leave for the solution file.
struct PassesResult {
  int32_t solutionFound = 0;
  int64_t stateCount = 0;
  double objective = 0;
  int32_t iterationsDone = 0;
  std::vector<RouteStep> routeSteps;
  std::vector<double> startServiceTimes;
  std::optional<Text> failure;

  std::vector<Pair> pairs;
  std::vector<PassResult> passResults;
  std::vector<std::vector<RouteStep>> passRoutes;  // per pass, in the pass's numbering
  std::vector<PassStats> passStats;                // per pass that ran
};

// Runs the pair passes and the final pass of a checked task.
PassesResult solvePasses(const OptimTask& task, const IterationSettings& settings,
                         const SolveOptions& options, RunProgress& progress);

}  // namespace qj::optim
