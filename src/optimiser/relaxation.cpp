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
  arrays.successorTerms.assign(states, SuccessorTerms{});
  arrays.choice.assign(states, 0);
  if (states < 2) {
    result.status = NoReferenceAlternative;
    return result;
  }
  // V, the previous sweep's values, and W, this sweep's: the two arrays change roles after
  // every sweep instead of W being copied into V.
  double* v = arrays.oldValues.data();
  double* w = arrays.newValues.data();
  // W[t] / w and (1 / w - 1) x V[t] for every state, computed once when W[t] changes rather
  // than at every record that leads to t: the same quotient and product, bit for bit. A
  // successor numbered before the state at hand already holds this sweep's quotient.
  SuccessorTerms* const terms = arrays.successorTerms.data();
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
  int reading = 0;  // which of a state's two weighted terms holds (1 / w - 1) x V

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
    const int writing = 1 - reading;
    // The finished states numbered first keep the value 0 for as long as the gain is a
    // finite number: their sweep would compute exactly 0 again.
    if (!std::isfinite(g)) finishedSkip = 0;
    for (int32_t s = 1 + finishedSkip; s < states; ++s) {
      const int32_t first = start[s], end = start[s + 1];
      const SuccessorTerms& head = terms[targets[first]];
      double best = costs[first] + head.scaled - head.weighted[reading];
      for (int32_t r = first + 1; r < end; ++r) {
        const SuccessorTerms& next = terms[targets[r]];
        const double q = costs[r] + next.scaled - next.weighted[reading];
        best = q < best ? q : best;  // a later record only when strictly smaller
      }
      const double stepValue = best + 1.0 * g;
      const double updated = coef * (stepValue - g) + keep * v[s];
      w[s] = updated;
      terms[s].scaled = updated / coef;
      terms[s].weighted[writing] = oldWeight * updated;
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
    std::swap(v, w);  // V := W; the next sweep writes every state it reads anew
    reading = writing;
  }
  // The arrays by their roles in the last sweep.
  if (v != arrays.oldValues.data()) arrays.oldValues.swap(arrays.newValues);
  v = arrays.oldValues.data();
  w = arrays.newValues.data();
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
