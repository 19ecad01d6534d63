#pragma once
// The states of one pass: position, phase, the status of every point and the time step.
// States are numbered in a fixed order (status vectors with more served points first, within
// a vector phase 1 before phase 0, then ascending position, then ascending time step); state 0
// is the reference state and the starting state is numbered last.
//
// The lookup from components to a state number is a direct index. The time step is not an
// axis of the table: the rules that decide which combinations are states do not depend on it,
// so the states of one (vector, phase, position) are consecutive and the time step is added
// to the first of them. That keeps the table small even when the time steps are many.

#include <cstdint>
#include <vector>

#include "records/task_file.h"

namespace qj {

// The most states a pass may have: the optimiser refuses a task above it, and the task wizard
// refuses to save one whose final pass would exceed it.
inline constexpr int64_t kStateLimit = 30000;

enum PointStatus : uint8_t { Pending = 0, Served = 1, Deferred = 2 };

// The rules of the final pass that decide which combinations are states. The task wizard
// counts the final pass's states with the same rules.
struct FinalPassRules {
  int32_t pointCount = 0;
  int32_t startPoint = 1;  // 1-based
  int32_t endPoint = 0;    // 1-based, 0 = none
  int32_t orderMode = 0;
  bool returnFlag = false;
  int64_t maxTimeStep = 0;
  std::vector<int32_t> orderValues;  // per point
  std::vector<uint8_t> refusable;    // per point, 1 = the point may be refused
};

// Which points count as refusable: the optimiser's rule (refusals on, and either a refusal
// mode other than 1 or the point's own permission), or the point's permission alone (the
// task wizard's estimate before the task is saved).
enum class RefusableRule { Optimiser, AllowedAlone };

FinalPassRules finalPassRules(const TaskHeader& header, const std::vector<TaskPointRec>& points,
                              RefusableRule rule = RefusableRule::Optimiser);

// The last time step of the final pass: the latest window bound in tacts, rounded half to
// even; 0 without the time factor (or without a usable tact length).
int64_t maxTimeStep(const TaskHeader& header, const std::vector<TaskPointRec>& points);

// The final pass's state count, the reference state included, without building anything.
// The count may exceed any limit; it is exact for every input the rules accept.
int64_t countFinalStates(const FinalPassRules& rules);
int64_t countFinalStates(const TaskHeader& header, const std::vector<TaskPointRec>& points);

// The refusal rules of the final pass on a status vector (one status per point): the whole
// vector, or the vector at one position (0-based point index).
bool vectorRefused(const FinalPassRules& rules, const uint8_t* statuses);
bool combinationRefused(const FinalPassRules& rules, const uint8_t* statuses, int32_t position);

// The shape of a pass as far as the state space needs it.
struct PassShape {
  bool finalPass = false;
  int32_t sectionCount = 0;  // A: 0 in the final pass
  int32_t pointCount = 2;    // N
  int32_t startPoint = 1;
  int32_t phaseCount = 2;
  bool threeStatuses = false;  // the final pass of a task that may return to reload
  int64_t maxTimeStep = 0;
  const FinalPassRules* rules = nullptr;  // the final pass only

  int32_t vertexCount() const { return sectionCount + pointCount; }
};

PassShape finalPassShape(const FinalPassRules& rules);
PassShape pairPassShape(int32_t sectionCount);

struct StateVec {
  int32_t position = -1;
  int32_t phase = -1;
  uint32_t code = 0;  // the statuses in mixed radix: point j has weight radix^j
  int32_t timeStep = -1;
};

class StateSpace {
 public:
  // The number of states the pass would have, the reference state included.
  static int64_t count(const PassShape& shape);

  // Numbers the states. Call only for shapes whose count is within the state limit.
  void build(const PassShape& shape);

  int32_t stateCount() const { return static_cast<int32_t>(states_.size()); }
  const StateVec& state(int32_t s) const { return states_[s]; }
  // False when the rules refuse the starting combination, so that the last state is not
  // the starting state (the task's rules can then never be met).
  bool startingStateLast() const { return startingLast_; }

  uint32_t radix() const { return radix_; }
  uint32_t weight(int32_t point) const { return weights_[point]; }  // 0-based point
  uint8_t status(uint32_t code, int32_t point) const {
    return static_cast<uint8_t>(code / weights_[point] % radix_);
  }
  uint32_t startingCode() const { return startCode_; }

  // The state number of a combination: -1 refused, 0 not a state of its own, else the
  // state. Position -1 is the reference state's vector and gives 0.
  int32_t lookup(int32_t position, int32_t phase, uint32_t code, int64_t timeStep) const {
    if (position < 0) return 0;
    if (code == startCode_ && phase == 0 && timeStep > 0) return 0;
    const int32_t e =
        table_[(static_cast<size_t>(code) * phaseCount_ + phase) * vertexCount_ + position];
    return e <= 0 ? e : e + static_cast<int32_t>(timeStep);
  }

 private:
  std::vector<int32_t> table_;
  std::vector<StateVec> states_;
  std::vector<uint32_t> weights_;
  uint32_t radix_ = 2, startCode_ = 0;
  int32_t phaseCount_ = 1, vertexCount_ = 0;
  bool startingLast_ = false;
};

}  // namespace qj
