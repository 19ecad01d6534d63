#include "optimiser/transitions.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "records/numbers.h"

namespace qj::optim {

std::span<const Arc> PassSetup::out(int32_t v) const {
  if (finalPass()) return graph->out(v);
  const int32_t lists = replacements->vertexCount() - 2;  // K
  if (v >= sectionCount) return replacements->out(lists + v - sectionCount);
  const int32_t k = (*boundaryIndex)[v];
  return k >= 0 ? replacements->out(k) : graph->out(v);
}

int64_t toTimeStep(double minutes, int32_t tactMinutes, int64_t maxTimeStep) {
  const double r = roundHalfEven(minutes / tactMinutes);
  if (!(r > 0)) return 0;  // negative or not a number
  if (r >= static_cast<double>(maxTimeStep)) return maxTimeStep;
  return static_cast<int64_t>(r);
}

namespace {

constexpr int kMaxPoints = 18;

// Writes the records of one state to a sink: the counting sweep and the filling sweep run the
// same rules, so every state's offset is exact.
class StateRecords {
 public:
  StateRecords(const PassSetup& pass, const StateSpace& space) : pass_(pass), space_(space) {
    const TaskHeader& h = pass.task->header;
    atStartPosition_ = pass.startPoint - 1;
    threshold_ = std::llabs(static_cast<long long>(h.servedThreshold));
    incomes_ =
        pass.finalPass() && (h.refusalFlag == 1 || h.timeFactorFlag == 1 || h.cargoMode > kNoCargo);
  }

  template <typename Sink>
  void emit(int32_t s, Sink& sink) {
    const StateVec& sv = space_.state(s);
    const int32_t n = pass_.pointCount;
    const TaskHeader& h = pass_.task->header;
    const OptimTask& task = *pass_.task;
    int32_t pending = 0;
    double load = 0;
    bool anyPending = false;
    for (int32_t j = 0; j < n; ++j) {
      status_[j] = space_.status(sv.code, j);
      if (status_[j] != Served) ++pending;
      if (status_[j] == Pending) {
        anyPending = true;
        load += task.points[pass_.taskPoint(j)].volume;
      }
    }
    if (pending == 0) {
      sink.add(0, -1, 0.0, 0.0, false);  // the route is complete
      return;
    }
    const std::span<const Arc> arcs = pass_.out(sv.position);
    if (arcs.empty()) {
      sink.add(0, -1, 0.0, kForbiddenCost, true);  // a dead end
      return;
    }
    const size_t before = sink.size();
    const bool atStart = pass_.finalPass() && sv.position == atStartPosition_;
    const bool overloaded = h.capacity + 0.00001 < load;
    bool moves = true;
    if (atStart) {
      if (sv.timeStep == 0 && h.servedThreshold != 0 && pending > threshold_ - 1) moves = false;
      // The capacity holds at every departure from the start point, after a return too.
      if (h.cargoMode > kNoCargo && overloaded) moves = false;
      if (h.refusalFlag == 1 && sv.timeStep == 0) emitRefusals(sv, pending, sink);
      if (h.returnFlag == 1 && (sv.timeStep == 0 || h.cargoMode > kNoCargo) && overloaded)
        emitDeferrals(sv, sink);
    }
    if (moves) {
      for (const Arc& arc : arcs) emitMove(sv, arc, pending, anyPending, atStart, sink);
    }
    // A state left without any alternative ends its routes as a dead end, so that the
    // iteration reports an infeasible task instead of stopping on the state.
    if (sink.size() == before) sink.add(0, -1, 0.0, kForbiddenCost, true);
  }

 private:
  template <typename Sink>
  void addStatusStep(const StateVec& sv, uint32_t code, int32_t stepCode, Sink& sink) {
    const int32_t target = space_.lookup(sv.position, 0, code, sv.timeStep);
    if (target == -1)
      sink.add(0, stepCode, 0.0, kForbiddenCost, true);
    else
      sink.add(target, stepCode, 0.0, 0.0, false);
  }

  template <typename Sink>
  void emitRefusals(const StateVec& sv, int32_t pending, Sink& sink) {
    const TaskHeader& h = pass_.task->header;
    for (int32_t k = 0; k < pass_.pointCount; ++k) {
      if (h.servedThreshold < 0 && pending <= threshold_ - 1) continue;
      if (pass_.task->refusalAllowed[k] != 1 || status_[k] != Pending) continue;
      addStatusStep(sv, sv.code + space_.weight(k), pass_.pointCount + k, sink);
    }
  }

  template <typename Sink>
  void emitDeferrals(const StateVec& sv, Sink& sink) {
    for (int32_t k = 0; k < pass_.pointCount; ++k) {
      if (status_[k] != Pending) continue;
      addStatusStep(sv, sv.code + 2 * space_.weight(k), 2 * pass_.pointCount + k, sink);
    }
  }

  // Waiting penalties of the points still open while a step of h hours runs.
  double waitingCost(int32_t target, int32_t pending) const {
    const OptimTask& task = *pass_.task;
    if (!pass_.finalPass()) return task.waitPenalty[pass_.toPoint - 1] * pending;
    double sum = 0;
    for (int32_t j = 0; j < pass_.pointCount; ++j)
      if (status_[j] != Served && j != target) sum += task.waitPenalty[j];
    return sum;
  }

  template <typename Sink>
  void emitMove(const StateVec& sv, const Arc& arc, int32_t pending, bool anyPending, bool atStart,
                Sink& sink) {
    const OptimTask& task = *pass_.task;
    const TaskHeader& h = task.header;
    const int32_t a = pass_.sectionCount, t = arc.target;
    double hours = arc.time, cost = arc.cost;
    if (atStart) {
      // Departure from the start point: the loading for this trip.
      double minutes = 0;
      if (h.cargoMode == kNoCargo) {
        minutes = task.points[pass_.startPoint - 1].serviceTime;
      } else {
        for (int32_t j = 0; j < pass_.pointCount; ++j)
          if (status_[j] == Pending) minutes += task.points[j].serviceTime;
      }
      hours += minutes / 60;
      // While loading, the hour rate runs and both the start point and the point driven to
      // wait (in the final pass vertex t is point t + 1).
      cost += (h.finePerHour + task.waitPenalty[pass_.startPoint - 1] + task.waitPenalty[t]) *
              minutes / 60;
    }
    if (pass_.finalPass() && h.returnFlag == 1 && !anyPending && t == pass_.startPoint - 1) {
      emitReturn(sv, t, hours, cost, sink);
      return;
    }
    int32_t phase = 0;
    uint32_t code = sv.code;
    bool forbidden = false;
    if (t < a) {
      phase = std::min(sv.phase + 1, pass_.phaseCount - 1);
    } else {
      const int32_t k = t - a;
      if (status_[k] != Pending) return;  // never entered again once done
      code += space_.weight(k);
      forbidden = pending == 1 && pass_.endPoint > 0 && k + 1 != pass_.endPoint;
    }
    int64_t timeStep = 0;
    if (pass_.maxTimeStep > 0) {
      const PointTime& pt = task.times[t];
      double start =
          static_cast<double>(h.tactMinutes) * sv.timeStep + 60 * hours - pt.serviceDuration;
      if (pt.windowLow > start) {
        const double wait = (pt.windowLow - start) / 60;
        start = pt.windowLow;
        hours += wait;
        cost += (h.finePerHour + task.waitPenalty[t]) * wait;
      }
      const double end = start + pt.serviceDuration;
      if (pt.windowHigh > 0 && pt.windowHigh * 1.001 < end)
        forbidden = true;
      else
        timeStep = toTimeStep(end, h.tactMinutes, pass_.maxTimeStep);
    }
    const int32_t target = space_.lookup(t, phase, code, timeStep);
    if (target == -1) forbidden = true;
    if (forbidden)
      cost = kForbiddenCost;
    else
      cost += hours * waitingCost(t, pending);
    if (incomes_) cost -= task.incomes[t];
    sink.add(forbidden ? 0 : target, t, hours, cost, forbidden);
  }

  // Back at the start point with only deferred points open: they become pending for the
  // next trip.
  template <typename Sink>
  void emitReturn(const StateVec& sv, int32_t t, double hours, double cost, Sink& sink) {
    const TaskHeader& h = pass_.task->header;
    uint32_t code = sv.code;
    for (int32_t j = 0; j < pass_.pointCount; ++j)
      if (status_[j] == Deferred) code -= 2 * space_.weight(j);
    const int64_t timeStep =
        pass_.maxTimeStep == 0
            ? 0
            : toTimeStep(static_cast<double>(h.tactMinutes) * sv.timeStep + 60 * hours,
                         h.tactMinutes, pass_.maxTimeStep);
    const int32_t target = space_.lookup(t, 0, code, timeStep);
    if (target == -1) {
      sink.add(0, t, hours, kForbiddenCost, true);
      return;
    }
    double penalties = 0;
    for (int32_t j = 0; j < pass_.pointCount; ++j)
      if (status_[j] != Served && j != t) penalties += pass_.task->waitPenalty[j];
    sink.add(target, t, hours, cost + hours * penalties, false);
  }

  const PassSetup& pass_;
  const StateSpace& space_;
  int32_t atStartPosition_ = 0;
  int64_t threshold_ = 0;
  bool incomes_ = false;
  std::array<uint8_t, kMaxPoints> status_{};
};

struct CountSink {
  size_t count = 0;
  size_t size() const { return count; }
  void add(int32_t, int32_t, double, double, bool) { ++count; }
};

struct FillSink {
  int32_t* targets;
  double* costs;
  StepDetail* details;
  size_t count = 0;
  size_t size() const { return count; }
  void add(int32_t target, int32_t code, double time, double cost, bool forbidden) {
    targets[count] = target;
    costs[count] = cost;
    details[count] = {time, code, forbidden};
    ++count;
  }
};

}  // namespace

void Transitions::build(const PassSetup& pass, const StateSpace& space) {
  const int32_t states = space.stateCount();
  StateRecords rules(pass, space);
  start_.assign(static_cast<size_t>(states) + 1, 0);
  CountSink counter;
  for (int32_t s = 1; s < states; ++s) {
    start_[s] = static_cast<int32_t>(counter.count);
    rules.emit(s, counter);
  }
  start_[states] = static_cast<int32_t>(counter.count);
  targets_.resize(counter.count);
  costs_.resize(counter.count);
  details_.resize(counter.count);
  FillSink filler{targets_.data(), costs_.data(), details_.data()};
  for (int32_t s = 1; s < states; ++s) rules.emit(s, filler);
  finished_ = 0;
  for (int32_t s = 1; s < states; ++s) {
    const int32_t r = start_[s];
    const bool finished = start_[s + 1] - r == 1 && targets_[r] == 0 && costs_[r] == 0 &&
                          details_[r].code == -1 && !details_[r].forbidden;
    if (!finished) break;
    finished_ = s;
  }
}

}  // namespace qj::optim
