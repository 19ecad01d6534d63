#include "optimiser/relaxation.h"

#include <cmath>
#include <cstring>

namespace qj::optim {

RelaxResult solveByRelaxation(const Transitions& transitions, const IterationSettings& settings,
                              RelaxArrays& arrays, const std::function<void(int64_t)>& onSweep,
                              const std::atomic<bool>* cancel) {
  RelaxResult result;
  const int32_t states = transitions.stateCount();
  arrays.oldValues.assign(states, 0.0);
  arrays.newValues.assign(states, 0.0);
  arrays.scaledValues.assign(states, 0.0);
  arrays.choice.assign(states, 0);
  if (states < 2) {
    result.status = NoReferenceAlternative;
    return result;
  }
  // V, the previous sweep's values, and W, updated in place: a successor numbered before the
  // state at hand already holds this sweep's value, any other still the previous one.
  double* const v = arrays.oldValues.data();
  double* const w = arrays.newValues.data();
  // W[t] / w for every state, divided once when W[t] changes rather than at every record
  // that leads to t: the same quotient, bit for bit.
  double* const scaled = arrays.scaledValues.data();
  int32_t* const choice = arrays.choice.data();
  const int32_t* const start = transitions.starts().data();
  const int32_t* const targets = transitions.targets().data();
  const double* const costs = transitions.costs().data();

  const double coef = settings.relaxationCoef;
  const double keep = 1.0 - coef;
  // The successor's value is divided by the coefficient, not multiplied by a stored 1 / w:
  // the last bits decide between records of equal cost.
  const double oldWeight = 1 / coef - 1;
  const double epsilon = settings.stopCriterion;
  const int32_t last = states - 1;
  int64_t sinceCheck = 1;
  int32_t finishedSkip = transitions.finishedStates();

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
    const bool check = sinceCheck == settings.checkInterval;
    bool changed = false;
    // The finished states numbered first keep the value 0 for as long as the gain is a
    // finite number: their sweep would compute exactly 0 again.
    if (!std::isfinite(g)) finishedSkip = 0;
    for (int32_t s = 1 + finishedSkip; s < states; ++s) {
      const int32_t first = start[s], end = start[s + 1];
      int32_t t = targets[first];
      double best = costs[first] + scaled[t] - oldWeight * v[t];
      for (int32_t r = first + 1; r < end; ++r) {
        t = targets[r];
        const double q = costs[r] + scaled[t] - oldWeight * v[t];
        best = q < best ? q : best;  // a later record only when strictly smaller
      }
      const double stepValue = best + 1.0 * g;
      const double updated = coef * (stepValue - g) + keep * v[s];
      w[s] = updated;
      scaled[s] = updated / coef;
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
    std::memcpy(v, w, sizeof(double) * static_cast<size_t>(states));  // V := W
  }
  // The choices of the last sweep, found again from the values it read: this sweep's value
  // for a successor numbered before the state, the previous sweep's for any other.
  choice[0] = -1;
  for (int32_t s = 1; s < states; ++s) {
    const int32_t first = start[s], end = start[s + 1];
    auto value = [&](int32_t r) {
      const int32_t t = targets[r];
      return costs[r] + (t < s ? w[t] : v[t]) / coef - oldWeight * v[t];
    };
    double best = value(first);
    int32_t chosen = first;
    for (int32_t r = first + 1; r < end; ++r) {
      const double q = value(r);
      if (q < best) {
        best = q;
        chosen = r;
      }
    }
    choice[s] = chosen;
  }
  if (result.status == Solved && result.gain > kInfeasibleGain) result.status = NoFeasibleRoute;
  return result;
}

}  // namespace qj::optim
