#include "optimiser/relaxation.h"

#include <cmath>

namespace qj::optim {

RelaxResult solveByRelaxation(const Transitions& transitions, const IterationSettings& settings,
                              RelaxArrays& arrays, const std::function<void(int64_t)>& onSweep,
                              const std::atomic<bool>* cancel) {
  RelaxResult result;
  const int32_t states = transitions.stateCount();
  arrays.oldValues.assign(states, 0.0);
  arrays.newValues.assign(states, 0.0);
  arrays.choice.assign(states, 0);
  if (states < 2) {
    result.status = NoReferenceAlternative;
    return result;
  }
  double* v = arrays.oldValues.data();
  double* w = arrays.newValues.data();
  int32_t* choice = arrays.choice.data();
  const int32_t* start = transitions.starts().data();
  const SweepRecord* records = transitions.records().data();

  const double coef = settings.relaxationCoef;
  const double keep = 1.0 - coef;
  const double oldWeight = 1.0 / coef - 1.0;
  const double epsilon = settings.stopCriterion;
  const int32_t last = states - 1;
  int64_t sinceCheck = 1;

  for (;;) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      result.status = Cancelled;
      return result;
    }
    // The reference state's one alternative returns to the starting state at no cost and
    // takes one unit of time: its value is the gain.
    const double g = 1.0 * v[last] + 0.0;
    result.gain = g;
    result.gainComputed = true;
    w[0] = 0;
    choice[0] = -1;
    const bool check = sinceCheck == settings.checkInterval;
    bool changed = false;
    for (int32_t s = 1; s < states; ++s) {
      const int32_t first = start[s], end = start[s + 1];
      // Successors numbered before s already hold this sweep's value.
      auto value = [&](const SweepRecord& r) {
        const int32_t t = r.target;
        const double updated = t < s ? w[t] : v[t];
        return r.cost + updated / coef - oldWeight * v[t];
      };
      double best = value(records[first]);
      int32_t chosen = first;
      for (int32_t r = first + 1; r < end; ++r) {
        const double q = value(records[r]);
        if (q < best) {
          best = q;
          chosen = r;
        }
      }
      const double stepValue = best + 1.0 * g;
      const double updated = coef * (stepValue - g) + keep * v[s];
      w[s] = updated;
      choice[s] = chosen;
      if (check && !changed) {
        const double ratio = std::fabs(updated - v[s]) / (std::fabs(updated + v[s]) / 2 + 1e-10);
        changed = ratio > epsilon;
      }
    }
    ++result.sweeps;
    if (onSweep) onSweep(result.sweeps);
    if (check) {
      if (!changed) break;
      if (result.sweeps >= settings.iterationLimit) {
        result.status = IterationLimitReached;
        break;
      }
      sinceCheck = 1;
    } else {
      ++sinceCheck;
    }
    // The new values become the old ones. The other array's stale entries are never read:
    // a sweep writes each state before any later state reads it.
    std::swap(v, w);
  }
  // The last sweep's values end in newValues, the sweep before in oldValues.
  if (w != arrays.newValues.data()) std::swap(arrays.oldValues, arrays.newValues);
  if (result.status == Solved && result.gain > kInfeasibleGain) result.status = NoFeasibleRoute;
  return result;
}

}  // namespace qj::optim
