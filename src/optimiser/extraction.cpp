#include "optimiser/extraction.h"

#include <array>

namespace qj::optim {

ExtractResult extractRoute(const PassSetup& pass, const StateSpace& space,
                           const Transitions& transitions, const std::vector<int32_t>& choice) {
  ExtractResult result;
  const OptimTask& task = *pass.task;
  const int32_t a = pass.sectionCount, n = pass.pointCount;
  const int32_t states = space.stateCount();
  const int32_t startPosition = a + pass.startPoint - 1;
  const size_t maxDepartures = task.points.size();

  std::array<uint8_t, 18> status{};
  for (int32_t j = 0; j < n; ++j) status[j] = j == pass.startPoint - 1 ? Served : Pending;
  int32_t position = startPosition;
  int32_t current = states - 1;
  int64_t k = 0;

  auto complete = [&] {
    for (int32_t j = 0; j < n; ++j)
      if (status[j] != Served) return false;
    return true;
  };

  for (;;) {
    const int32_t chosen = choice[current];
    if (chosen < 0) {
      // Only the reference state is left by its outcome alternative, number 1.
      result.status = ExtractStatus::NotAStep;
      result.alternative = 1;
      break;
    }
    const StepDetail& step = transitions.detail(chosen);
    if (step.forbidden) {
      result.status = ExtractStatus::ForbiddenStep;
      break;
    }
    result.steps.push_back({step.code, step.time});
    result.hours += step.time;
    if (++k > states) {
      result.status = ExtractStatus::RevisitsStates;
      break;
    }
    const int32_t c = step.code;
    if (c >= a + 2 * n) {
      status[c - a - 2 * n] = Deferred;
    } else if (c >= a + n) {
      status[c - a - n] = Served;
    } else {
      const int32_t previous = position;
      position = c;
      if (c >= a) {
        const int32_t point = c - a;
        if (pass.finalPass() && previous == startPosition) {
          if (result.startServiceTimes.size() >= maxDepartures) {
            result.status = ExtractStatus::RevisitsStates;
            break;
          }
          double minutes = 0;
          if (task.header.cargoMode == kNoCargo) {
            minutes = task.points[pass.startPoint - 1].serviceTime;
          } else {
            for (int32_t j = 0; j < n; ++j)
              if (status[j] == Pending) minutes += task.points[j].serviceTime;
          }
          result.startServiceTimes.push_back(minutes);
        }
        if (pass.finalPass() && point == pass.startPoint - 1) {
          for (int32_t j = 0; j < n; ++j)
            if (status[j] == Deferred) status[j] = Pending;
        } else {
          status[point] = Served;
        }
      }
    }
    if (complete()) break;
    current = transitions.record(chosen).target;
  }
  return result;
}

}  // namespace qj::optim
