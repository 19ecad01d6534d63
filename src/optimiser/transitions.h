#pragma once
// The alternatives of every state of a pass: deterministic steps to a successor state with
// their hours and cost. All states' lists lie one after another in flat tables; the sweep
// reads only the successor and the cost of each record, route extraction the rest.

#include <cstdint>
#include <span>
#include <vector>

#include "optimiser/task_data.h"
#include "route/state_space.h"

namespace qj::optim {

// One pass: which sub-problem it solves and on which graph.
struct PassSetup {
  int32_t kind = 1;  // 1 pair pass, 2 final pass
  int32_t passIndex = 0, pairCount = 0;
  int32_t sectionCount = 0;  // A
  int32_t pointCount = 2;    // N
  int32_t startPoint = 1, endPoint = 2;
  int32_t phaseCount = 2;
  int32_t fromPoint = 0, toPoint = 0;  // pair pass: the pair's points, 1-based task numbering
  int64_t maxTimeStep = 0;

  const OptimTask* task = nullptr;
  // Out-arcs in the pass's numbering. A pair pass takes the task graph for its sections,
  // except the boundary sections (per section the index of its replacement list, or -1) and
  // the two point vertices, whose lists are replacements (lists K and K + 1 for From and To).
  const Graph* graph = nullptr;
  const std::vector<int32_t>* boundaryIndex = nullptr;
  const Graph* replacements = nullptr;

  bool finalPass() const { return kind == 2; }
  int32_t vertexCount() const { return sectionCount + pointCount; }
  std::span<const Arc> out(int32_t v) const;
  // The task point (0-based) of a point of the pass (0-based).
  int32_t taskPoint(int32_t passPoint) const {
    return finalPass() ? passPoint : (passPoint == 0 ? fromPoint : toPoint) - 1;
  }
};

// What the sweep reads of a record.
struct SweepRecord {
  double cost = 0;
  int32_t target = 0;
};

// What route extraction reads of a record.
struct StepDetail {
  double time = 0;  // hours
  int32_t code = -1;
  bool forbidden = false;  // a step the rules forbid, or a dead end
};

class Transitions {
 public:
  // Counts the records of every state, sizes the tables once and fills them.
  void build(const PassSetup& pass, const StateSpace& space);

  int32_t stateCount() const { return static_cast<int32_t>(start_.size()) - 1; }
  int32_t first(int32_t s) const { return start_[s]; }
  int32_t end(int32_t s) const { return start_[s + 1]; }

  // The sweep reads successors and costs as two flat arrays.
  const std::vector<int32_t>& starts() const { return start_; }
  const std::vector<int32_t>& targets() const { return targets_; }
  const std::vector<double>& costs() const { return costs_; }
  SweepRecord record(int32_t r) const { return {costs_[r], targets_[r]}; }
  const StepDetail& detail(int32_t r) const { return details_[r]; }
  size_t recordCount() const { return targets_.size(); }
  // The states 1 .. n whose single record ends a complete route (to state 0 at no cost).
  int32_t finishedStates() const { return finished_; }

 private:
  std::vector<int32_t> start_;  // per state, and one past the last
  std::vector<int32_t> targets_;
  std::vector<double> costs_;
  std::vector<StepDetail> details_;
  int32_t finished_ = 0;
};

// A time in minutes as a time step: rounded half to even, kept within 0 .. maxTimeStep.
int64_t toTimeStep(double minutes, int32_t tactMinutes, int64_t maxTimeStep);

}  // namespace qj::optim
