#pragma once
// Follows the chosen alternatives from the starting state until every point is done and
// records the pass's route: one step per record followed, and in the final pass the loading
// duration at every departure from the start point.

#include <cstdint>
#include <vector>

#include "optimiser/relaxation.h"
#include "optimiser/transitions.h"
#include "records/solution_file.h"

namespace qj::optim {

enum class ExtractStatus {
  Complete,
  NotAStep,        // the state was left by an outcome alternative (failure 1)
  RevisitsStates,  // more steps than states, or more departures than points (failure 2)
  ForbiddenStep,   // the chosen step is forbidden: no feasible route
};

struct ExtractResult {
  ExtractStatus status = ExtractStatus::Complete;
  int32_t alternative = 0;  // the value that failure 1 names
  std::vector<RouteStep> steps;
  std::vector<double> startServiceTimes;  // minutes, one per departure from the start point
  double hours = 0;                       // the sum of the steps' hours
};

ExtractResult extractRoute(const PassSetup& pass, const StateSpace& space,
                           const Transitions& transitions, const std::vector<int32_t>& choice);

}  // namespace qj::optim
