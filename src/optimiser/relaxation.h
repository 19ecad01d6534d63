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

// A record as the sweep reads it. Every state has kSweepSlots slots in a row: a state with
// fewer records repeats its first record, which never changes the smallest value (a later
// record is taken only when strictly smaller than every earlier one), and a state
// with more records finds the rest in the transition tables. The sweep thus runs without a
// loop per state for the common states of a road network.
inline constexpr int32_t kSweepSlots = 3;
struct SweepSlot {
  double cost = 0;
  int32_t term = 0;   // the successor's first term, an index into RelaxArrays::terms
  int32_t extra = 0;  // in a state's first slot, the number of records beyond its slots
};

// Working arrays of the iteration, kept between passes so that a sweep never allocates.
// After the call newValues holds the last sweep's values and oldValues the sweep's before.
struct RelaxArrays {
  std::vector<double> oldValues, newValues;
  // Per state, side by side, the terms that every record leading to it reads, so that a
  // record costs one memory access: the state's current value divided by the relaxation
  // coefficient, then its previous sweep's value times (1 / coefficient - 1), kept for two
  // sweeps in turn so that a sweep writes the next one's beside the one it reads, then a
  // fourth double so that a state's terms never straddle two cache lines.
  std::vector<double> terms;
  std::vector<SweepSlot> sweepSlots;  // not "slots": the windows see Qt's macro of that name
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
