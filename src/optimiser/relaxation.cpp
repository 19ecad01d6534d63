#include "optimiser/relaxation.h"

#include <algorithm>
#include <cmath>

namespace qj::optim {

namespace {

constexpr int32_t kTermStride = 4;

void fillSlots(const Transitions& transitions, std::vector<SweepSlot>& slots) {
  const int32_t states = transitions.stateCount();
  slots.resize(static_cast<size_t>(states) * kSweepSlots);
  for (int32_t s = 0; s < states; ++s) {
    const int32_t first = transitions.first(s), count = transitions.end(s) - first;
    for (int32_t k = 0; k < kSweepSlots; ++k) {
      const SweepRecord record = transitions.record(first + (k < count ? k : 0));
      slots[static_cast<size_t>(s) * kSweepSlots + k] = {record.cost, record.target * kTermStride,
                                                         0};
    }
    slots[static_cast<size_t>(s) * kSweepSlots].extra = std::max(count - kSweepSlots, 0);
  }
}

}  // namespace

RelaxResult solveByRelaxation(const Transitions& transitions, const IterationSettings& settings,
                              RelaxArrays& arrays, const std::function<void(int64_t)>& onSweep,
                              const std::atomic<bool>* cancel) {
  RelaxResult result;
  const int32_t states = transitions.stateCount();
  arrays.oldValues.assign(states, 0.0);
  arrays.newValues.assign(states, 0.0);
  arrays.terms.assign(static_cast<size_t>(states) * kTermStride, 0.0);
  arrays.choice.assign(states, 0);
  if (states < 2) {
    result.status = NoReferenceAlternative;
    return result;
  }
  // V, the previous sweep's values, and W, this sweep's: the two arrays change roles after
  // every sweep instead of W being copied into V.
  fillSlots(transitions, arrays.sweepSlots);
  double* v = arrays.oldValues.data();
  double* w = arrays.newValues.data();
  // W[t] / w and (1 / w - 1) x V[t] for every state, computed once when W[t] changes rather
  // than at every record that leads to t: the same quotient and product, bit for bit. A
  // successor numbered before the state at hand already holds this sweep's quotient.
  double* const terms = arrays.terms.data();
  const SweepSlot* const slots = arrays.sweepSlots.data();
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
    const double* const scaledTerm = terms;
    const double* const weightedTerm = terms + 1 + reading;
    const int writing = 1 - reading;
    auto q = [&](const SweepSlot& x) { return x.cost + scaledTerm[x.term] - weightedTerm[x.term]; };
    // The finished states numbered first keep the value 0 for as long as the gain is a
    // finite number: their sweep would compute exactly 0 again.
    if (!std::isfinite(g)) finishedSkip = 0;
    for (int32_t s = 1 + finishedSkip; s < states; ++s) {
      const SweepSlot* const slot = slots + static_cast<size_t>(s) * kSweepSlots;
      // A later record only when strictly smaller.
      double best = q(slot[0]);
      for (int32_t k = 1; k < kSweepSlots; ++k) {
        const double next = q(slot[k]);
        best = next < best ? next : best;
      }
      if (slot[0].extra != 0) [[unlikely]] {
        for (int32_t r = start[s] + kSweepSlots; r < start[s + 1]; ++r) {
          const double next = q({costs[r], targets[r] * kTermStride, 0});
          best = next < best ? next : best;
        }
      }
      const double stepValue = best + 1.0 * g;
      const double updated = coef * (stepValue - g) + keep * v[s];
      w[s] = updated;
      terms[s * kTermStride] = updated / coef;
      terms[s * kTermStride + 1 + writing] = oldWeight * updated;
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
