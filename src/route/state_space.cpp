#include "route/state_space.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "records/numbers.h"

namespace qj {

FinalPassRules finalPassRules(const TaskHeader& header, const std::vector<TaskPointRec>& points,
                              RefusableRule rule) {
  FinalPassRules r;
  r.pointCount = static_cast<int32_t>(points.size());
  r.startPoint = header.startPoint;
  r.endPoint = header.endPoint;
  r.orderMode = header.orderMode;
  r.returnFlag = header.returnFlag != 0;
  r.maxTimeStep = maxTimeStep(header, points);
  for (const auto& p : points) {
    r.orderValues.push_back(p.orderValue);
    const bool refusable =
        rule == RefusableRule::AllowedAlone
            ? p.refusalAllowed != 0
            : header.refusalFlag != 0 && (header.refusalFlag != 1 || p.refusalAllowed != 0);
    r.refusable.push_back(refusable ? 1 : 0);
  }
  return r;
}

int64_t maxTimeStep(const TaskHeader& header, const std::vector<TaskPointRec>& points) {
  if (header.timeFactorFlag == 0 || header.tactMinutes <= 0) return 0;
  int32_t latest = 0;
  for (const auto& p : points) latest = std::max({latest, p.windowLow, p.windowHigh});
  return roundToInt64(static_cast<double>(latest) / header.tactMinutes);
}

namespace {

bool isOpen(uint8_t status) {
  return status != Served;
}

// A successor named by an order value, as a 0-based point, or -1 for none.
int32_t successorOf(const FinalPassRules& rules, int32_t point) {
  const int32_t q = rules.orderValues[point];
  return q >= 1 && q <= rules.pointCount ? q - 1 : -1;
}

// The largest class among the served points that must be served (-1000 when none).
int32_t highestServedClass(const FinalPassRules& rules, const uint8_t* statuses) {
  int32_t high = -1000;
  for (int32_t j = 0; j < rules.pointCount; ++j) {
    const int32_t c = rules.orderValues[j];
    if (c >= 0 && !rules.refusable[j] && statuses[j] == Served) high = std::max(high, c);
  }
  return high;
}

}  // namespace

bool vectorRefused(const FinalPassRules& rules, const uint8_t* statuses) {
  const int32_t n = rules.pointCount;
  if (rules.orderMode == kNextPointGiven || rules.orderMode == kPassedAfterPoint) {
    for (int32_t j = 0; j < n; ++j) {
      if (!isOpen(statuses[j]) || rules.refusable[j]) continue;
      const int32_t q = successorOf(rules, j);
      if (q >= 0 && statuses[q] == Served) return true;
    }
    return false;
  }
  if (rules.orderMode == kPriorityClasses) {
    int32_t low = 1000;
    for (int32_t j = 0; j < n; ++j) {
      const int32_t c = rules.orderValues[j];
      if (c >= 0 && !rules.refusable[j] && isOpen(statuses[j])) low = std::min(low, c);
    }
    return low < highestServedClass(rules, statuses);
  }
  return false;
}

bool combinationRefused(const FinalPassRules& rules, const uint8_t* statuses, int32_t position) {
  if (rules.orderMode == kNextPointGiven || rules.orderMode == kPassedAfterPoint) {
    const int32_t q = successorOf(rules, position);
    return q >= 0 && statuses[q] == Served;
  }
  if (rules.orderMode == kPriorityClasses) {
    const int32_t p = rules.orderValues[position];
    return p >= 0 && p < highestServedClass(rules, statuses);
  }
  if (rules.endPoint <= 0 || rules.endPoint > rules.pointCount) return false;
  const int32_t end = rules.endPoint - 1;
  if (position != end) return statuses[end] == Served;
  for (int32_t j = 0; j < rules.pointCount; ++j)
    if (isOpen(statuses[j])) return true;
  return false;
}

PassShape finalPassShape(const FinalPassRules& rules) {
  PassShape s;
  s.finalPass = true;
  s.sectionCount = 0;
  s.pointCount = rules.pointCount;
  s.startPoint = rules.startPoint;
  s.phaseCount = 1;
  s.threeStatuses = rules.returnFlag;
  s.maxTimeStep = rules.maxTimeStep;
  s.rules = &rules;
  return s;
}

PassShape pairPassShape(int32_t sectionCount) {
  PassShape s;
  s.sectionCount = sectionCount;
  return s;
}

namespace {

constexpr int kMaxPoints = 18;

struct Radix {
  uint32_t base = 2;
  std::array<uint32_t, kMaxPoints + 1> weights{};

  Radix(int32_t n, bool three) : base(three ? 3 : 2) {
    weights[0] = 1;
    for (int32_t j = 1; j <= n; ++j) weights[j] = weights[j - 1] * base;
  }
};

// The status vectors in numbering order: every subset of the points that holds the start
// point, in increasing subset value; with three statuses each subset's open points take
// status 2 or 0 (the first point varying slowest, 2 before 0); then ordered by the number of
// served points, most first, keeping that order within a group. The first vector has every
// point served, the last is the starting vector.
std::vector<uint32_t> statusOrder(int32_t n, int32_t startPoint, const Radix& radix) {
  struct Entry {
    uint32_t code;
    int served;
  };
  std::vector<Entry> vectors;
  const uint32_t subsets = 1u << n;
  for (uint32_t u = 0; u < subsets; ++u) {
    if (!(u >> (startPoint - 1) & 1)) continue;
    const int served = std::popcount(u);
    uint32_t servedCode = 0;
    std::array<int32_t, kMaxPoints> open{};
    int openCount = 0;
    for (int32_t j = 0; j < n; ++j) {
      if (u >> j & 1)
        servedCode += radix.weights[j];
      else
        open[openCount++] = j;
    }
    if (radix.base == 2) {
      vectors.push_back({servedCode, served});
      continue;
    }
    for (uint32_t c = 0; c < (1u << openCount); ++c) {
      uint32_t code = servedCode;
      for (int f = 0; f < openCount; ++f) {
        const bool pending = c >> (openCount - 1 - f) & 1;
        if (!pending) code += 2 * radix.weights[open[f]];
      }
      vectors.push_back({code, served});
    }
  }
  std::stable_sort(vectors.begin(), vectors.end(),
                   [](const Entry& a, const Entry& b) { return a.served > b.served; });
  std::vector<uint32_t> codes;
  codes.reserve(vectors.size());
  for (const auto& e : vectors) codes.push_back(e.code);
  return codes;
}

// Walks the combinations of (vector, phase, position) in numbering order and reports each
// one that becomes states (`take`), each vector refused as a whole at a phase
// (`refuseVector`) and each single combination refused (`refuseCombination`).
template <typename Visitor>
void enumerate(const PassShape& shape, Visitor& visitor) {
  const int32_t n = shape.pointCount;
  const Radix radix(n, shape.threeStatuses);
  const std::vector<uint32_t> order = statusOrder(n, shape.startPoint, radix);
  const size_t m = order.size();
  const int32_t vertices = shape.vertexCount();
  const int32_t startPosition = shape.sectionCount + shape.startPoint - 1;
  std::array<uint8_t, kMaxPoints> statuses{};
  for (size_t i = 0; i < m; ++i) {
    const uint32_t code = order[i];
    for (int32_t j = 0; j < n; ++j)
      statuses[j] = static_cast<uint8_t>(code / radix.weights[j] % radix.base);
    const bool first = i == 0, last = i == m - 1;
    for (int32_t phase = shape.phaseCount - 1; phase >= 0; --phase) {
      if (first && phase != 0) continue;
      bool refusedWhole = false;
      for (int32_t v = 0; v < vertices && !refusedWhole; ++v) {
        const bool startOnly = last && phase == 0;
        if (startOnly && v != startPosition) continue;
        if (shape.finalPass) {
          if (statuses[v] != Served) continue;
          if (vectorRefused(*shape.rules, statuses.data())) {
            visitor.refuseVector(code, phase);
            refusedWhole = true;
            continue;
          }
          if (combinationRefused(*shape.rules, statuses.data(), v)) {
            visitor.refuseCombination(code, phase, v);
            continue;
          }
        }
        visitor.take(code, phase, v, startOnly);
      }
    }
  }
}

struct Counter {
  int64_t perCombination;
  int64_t count = 1;  // the reference state
  void take(uint32_t, int32_t, int32_t, bool startOnly) { count += startOnly ? 1 : perCombination; }
  void refuseVector(uint32_t, int32_t) {}
  void refuseCombination(uint32_t, int32_t, int32_t) {}
};

}  // namespace

int64_t StateSpace::count(const PassShape& shape) {
  if (shape.pointCount < 2 || shape.pointCount > kMaxPoints || shape.startPoint < 1 ||
      shape.startPoint > shape.pointCount || shape.maxTimeStep < 0)
    return 0;
  Counter counter{shape.maxTimeStep + 1};
  enumerate(shape, counter);
  return counter.count;
}

int64_t countFinalStates(const FinalPassRules& rules) {
  return StateSpace::count(finalPassShape(rules));
}

int64_t countFinalStates(const TaskHeader& header, const std::vector<TaskPointRec>& points) {
  return countFinalStates(finalPassRules(header, points));
}

void StateSpace::build(const PassShape& shape) {
  const Radix radix(shape.pointCount, shape.threeStatuses);
  radix_ = radix.base;
  weights_.assign(radix.weights.begin(), radix.weights.begin() + shape.pointCount);
  startCode_ = radix.weights[shape.startPoint - 1];
  phaseCount_ = shape.phaseCount;
  vertexCount_ = shape.vertexCount();
  table_.assign(static_cast<size_t>(radix.weights[shape.pointCount]) * phaseCount_ * vertexCount_,
                0);
  states_.clear();
  states_.push_back(StateVec{});  // the reference state
  startingLast_ = false;

  struct Builder {
    StateSpace& space;
    int64_t maxTimeStep;
    int32_t startPosition;
    size_t index(uint32_t code, int32_t phase, int32_t v) const {
      return (static_cast<size_t>(code) * space.phaseCount_ + phase) * space.vertexCount_ + v;
    }
    void take(uint32_t code, int32_t phase, int32_t v, bool startOnly) {
      space.table_[index(code, phase, v)] = space.stateCount();
      const int64_t steps = startOnly ? 1 : maxTimeStep + 1;
      for (int64_t t = 0; t < steps; ++t)
        space.states_.push_back({v, phase, code, static_cast<int32_t>(t)});
      space.startingLast_ = startOnly && v == startPosition;
    }
    void refuseVector(uint32_t code, int32_t phase) {
      for (int32_t v = 0; v < space.vertexCount_; ++v) space.table_[index(code, phase, v)] = -1;
    }
    void refuseCombination(uint32_t code, int32_t phase, int32_t v) {
      space.table_[index(code, phase, v)] = -1;
    }
  };
  Builder builder{*this, shape.maxTimeStep, shape.sectionCount + shape.startPoint - 1};
  enumerate(shape, builder);
}

}  // namespace qj
