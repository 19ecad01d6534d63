#pragma once
// Relative value iteration with relaxation: sweeps the states in number order (values
// updated in place, Gauss-Seidel), tests the relative change of every state's value every
// CheckInterval sweeps, and yields the gain (the cost of the cheapest complete route) and
// the chosen alternative of every state.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "optimiser/task_data.h"
#include "optimiser/transitions.h"

namespace qj::optim {

// Why an iteration ended.
enum SolveStatus : int32_t {
  Solved = 0,
  NoReferenceAlternative = 1,  // the reference state has no alternative
  StateWithoutAlternative = 2,
  IterationLimitReached = 3,
  NoFeasibleRoute = 4,  // converged with a gain above 99000000
  Cancelled = -1,       // the run no longer needs this pass
};

struct RelaxResult {
  int32_t status = Solved;
  double gain = 0;            // the last gain computed
  bool gainComputed = false;  // at least one sweep began
  int64_t sweeps = 0;
};

// The two terms that every record leading to a state reads of it, side by side so that a
// record costs one memory access: the state's current value divided by the relaxation
// coefficient, and its previous sweep's value times (1 / coefficient - 1). The latter is kept
// for two sweeps in turn, so that a sweep writes the next one's beside the one it reads.
struct SuccessorTerms {
  double scaled = 0;
  double weighted[2] = {0, 0};
  double unused = 0;  // a state's terms never straddle two cache lines
};

// Working arrays of the iteration, kept between passes so that a sweep never allocates.
// After the call newValues holds the last sweep's values and oldValues the sweep's before.
struct RelaxArrays {
  std::vector<double> oldValues, newValues;
  std::vector<SuccessorTerms> successorTerms;
  // Per state, the record chosen (an index into the transition tables); for the reference
  // state, -1: its single outcome alternative.
  std::vector<int32_t> choice;
};

// `onSweep`, when set, is called after every sweep with the number of sweeps made (the busy
// line of the final pass blinks with it). `cancel`, when set and raised, ends the iteration
// with status Cancelled.
RelaxResult solveByRelaxation(const Transitions& transitions, const IterationSettings& settings,
                              RelaxArrays& arrays, const std::function<void(int64_t)>& onSweep = {},
                              const std::atomic<bool>* cancel = nullptr);

}  // namespace qj::optim
