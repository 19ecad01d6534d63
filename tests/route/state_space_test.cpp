#include "route/state_space.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace qj {
namespace {

// ---------------------------------------------------------------------------------------
// The numbering written out step by step as the enumeration describes it: the subset
// counter, the status vectors and their order, a dense table with the time step as an axis,
// and every test made at every (vector, phase, position, time step). The rules are written
// out again here rather than taken from the optimiser.

struct Literal {
  int32_t n = 0, vertices = 0, phases = 0, axis = 2;
  int64_t maxT = 0;
  std::vector<int32_t> table;
  std::vector<std::array<int32_t, 21>> vectors;  // position, phase, statuses, time step

  size_t index(int32_t v, int32_t phase, const int32_t* st, int64_t t) const {
    size_t i = static_cast<size_t>(v) * phases + phase;
    for (int32_t j = 0; j < n; ++j) i = i * axis + st[j];
    return i * (maxT + 1) + t;
  }
};

struct Counter18 {
  std::array<int32_t, 18> digits{};
  int32_t served = 0;
  void next() {
    if (digits[0] == 0) {
      digits[0] = 1;
      ++served;
      return;
    }
    for (int j = 1; j < 18; ++j) {
      if (digits[j] == 0) {
        for (int i = 0; i < j; ++i) digits[i] = 0;
        digits[j] = 1;
        served -= j - 1;
        return;
      }
    }
    digits.fill(0);
    served = 0;
  }
};

bool literalRefusable(const FinalPassRules& r, int j) {
  return r.refusable[j] != 0;
}

// 1 refuse the whole vector, 2 refuse the combination, 0 take it.
int literalRefusal(const FinalPassRules& r, const int32_t* st, int32_t v) {
  const int32_t n = r.pointCount;
  auto open = [&](int j) { return st[j] == 0 || st[j] == 2; };
  if (r.orderMode == 1 || r.orderMode == 2) {
    for (int j = 0; j < n; ++j) {
      const int q = r.orderValues[j];
      if (open(j) && !literalRefusable(r, j) && q >= 1 && q <= n && st[q - 1] == 1) return 1;
    }
    const int q = r.orderValues[v];
    if (q >= 1 && q <= n && st[q - 1] == 1) return 2;
    return 0;
  }
  if (r.orderMode == 3) {
    int low = 1000, high = -1000;
    for (int j = 0; j < n; ++j) {
      const int c = r.orderValues[j];
      if (c < 0 || literalRefusable(r, j)) continue;
      if (open(j)) low = std::min(low, c);
      if (st[j] == 1) high = std::max(high, c);
    }
    if (low < high) return 1;
    const int p = r.orderValues[v];
    if (p >= 0 && p < high) return 2;
    return 0;
  }
  if (r.endPoint > 0) {
    if (v != r.endPoint - 1 && st[r.endPoint - 1] == 1) return 2;
    if (v == r.endPoint - 1)
      for (int j = 0; j < n; ++j)
        if (open(j)) return 2;
  }
  return 0;
}

Literal literalBuild(const PassShape& shape) {
  Literal L;
  L.n = shape.pointCount;
  L.vertices = shape.vertexCount();
  L.phases = shape.phaseCount;
  L.axis = shape.threeStatuses ? 3 : 2;
  L.maxT = shape.maxTimeStep;
  const int32_t n = L.n;
  std::vector<std::vector<int32_t>> subsets;
  Counter18 counter;
  for (int64_t value = 0; value < (int64_t{1} << n); ++value) {
    if (value > 0) counter.next();
    if (counter.digits[shape.startPoint - 1] != 1) continue;
    std::vector<int32_t> s(counter.digits.begin(), counter.digits.begin() + n);
    s.push_back(counter.served);
    subsets.push_back(s);
  }
  std::vector<std::vector<int32_t>> statusVectors;
  for (const auto& s : subsets) {
    if (L.axis == 2) {
      statusVectors.push_back(s);
      continue;
    }
    std::vector<int32_t> cur(n + 1);
    cur[n] = s[n];
    auto fill = [&](auto&& self, int j) -> void {
      if (j == n) {
        statusVectors.push_back(cur);
        return;
      }
      if (s[j] == 1) {
        cur[j] = 1;
        self(self, j + 1);
        return;
      }
      for (int value : {2, 0}) {
        cur[j] = value;
        self(self, j + 1);
      }
    };
    fill(fill, 0);
  }
  std::vector<size_t> order;
  for (int c = n; c >= 0; --c)
    for (size_t i = 0; i < statusVectors.size(); ++i)
      if (statusVectors[i][n] == c) order.push_back(i);

  size_t tableSize = static_cast<size_t>(L.vertices) * L.phases * (L.maxT + 1);
  for (int j = 0; j < n; ++j) tableSize *= L.axis;
  L.table.assign(tableSize, 0);
  std::array<int32_t, 21> ref;
  ref.fill(-1);
  L.vectors.push_back(ref);
  int32_t k = 1;
  const size_t m = order.size();
  const int32_t a = shape.sectionCount;
  for (size_t i = 0; i < m; ++i) {
    const int32_t* sigma = statusVectors[order[i]].data();
    for (int32_t phase = L.phases - 1; phase >= 0; --phase)
      for (int32_t v = 0; v < L.vertices; ++v)
        for (int64_t t = 0; t <= L.maxT; ++t) {
          if (i == 0 && phase != 0) continue;
          if (i == m - 1 && phase == 0 && (v != a + shape.startPoint - 1 || t != 0)) continue;
          if (shape.finalPass) {
            if (sigma[v] != 1) continue;
            if (L.table[L.index(v, phase, sigma, t)] == -1) continue;
            const int refusal = literalRefusal(*shape.rules, sigma, v);
            if (refusal == 1) {
              for (int32_t u = 0; u < L.vertices; ++u) L.table[L.index(u, phase, sigma, t)] = -1;
              continue;
            }
            if (refusal == 2) {
              L.table[L.index(v, phase, sigma, t)] = -1;
              continue;
            }
          }
          std::array<int32_t, 21> vec{};
          vec[0] = v;
          vec[1] = phase;
          for (int j = 0; j < n; ++j) vec[2 + j] = sigma[j];
          vec[n + 2] = static_cast<int32_t>(t);
          L.vectors.push_back(vec);
          L.table[L.index(v, phase, sigma, t)] = k++;
        }
  }
  return L;
}

// Compares the optimiser's numbering and every lookup with the literal enumeration.
void expectSameAsLiteral(const PassShape& shape) {
  const Literal L = literalBuild(shape);
  ASSERT_EQ(StateSpace::count(shape), static_cast<int64_t>(L.vectors.size()));
  StateSpace space;
  space.build(shape);
  ASSERT_EQ(space.stateCount(), static_cast<int32_t>(L.vectors.size()));
  const int32_t n = shape.pointCount;
  for (int32_t s = 1; s < space.stateCount(); ++s) {
    const StateVec& sv = space.state(s);
    ASSERT_EQ(sv.position, L.vectors[s][0]) << s;
    ASSERT_EQ(sv.phase, L.vectors[s][1]) << s;
    for (int j = 0; j < n; ++j) ASSERT_EQ(space.status(sv.code, j), L.vectors[s][2 + j]) << s;
    ASSERT_EQ(sv.timeStep, L.vectors[s][n + 2]) << s;
  }
  // Every combination of the axes looks up as in the dense table.
  std::vector<int32_t> st(n, 0);
  uint32_t codes = 1;
  for (int j = 0; j < n; ++j) codes *= L.axis;
  for (uint32_t code = 0; code < codes; ++code) {
    for (int j = 0; j < n; ++j) st[j] = static_cast<int32_t>(code / space.weight(j) % L.axis);
    for (int32_t v = 0; v < L.vertices; ++v)
      for (int32_t phase = 0; phase < L.phases; ++phase)
        for (int64_t t = 0; t <= L.maxT; ++t)
          ASSERT_EQ(space.lookup(v, phase, code, t), L.table[L.index(v, phase, st.data(), t)])
              << "code " << code << " v " << v << " phase " << phase << " t " << t;
  }
  EXPECT_EQ(space.lookup(-1, 0, 0, 0), 0);
}

FinalPassRules rules(int32_t n, int32_t start, int32_t end) {
  FinalPassRules r;
  r.pointCount = n;
  r.startPoint = start;
  r.endPoint = end;
  r.orderValues.assign(n, 0);
  r.refusable.assign(n, 0);
  return r;
}

// ---------------------------------------------------------------------------------------

TEST(StateSpace, PairPassOverFiveSectionsHasSixteenStatesInOrder) {
  const PassShape shape = pairPassShape(5);
  EXPECT_EQ(StateSpace::count(shape), 16);
  StateSpace space;
  space.build(shape);
  ASSERT_EQ(space.stateCount(), 16);
  for (int32_t s = 1; s <= 7; ++s) {
    EXPECT_EQ(space.state(s).position, s - 1);
    EXPECT_EQ(space.state(s).phase, 0);
    EXPECT_EQ(space.state(s).code, 3u);  // both points served
  }
  for (int32_t s = 8; s <= 14; ++s) {
    EXPECT_EQ(space.state(s).position, s - 8);
    EXPECT_EQ(space.state(s).phase, 1);
    EXPECT_EQ(space.state(s).code, 1u);  // the start served, the other pending
  }
  EXPECT_EQ(space.state(15).position, 5);
  EXPECT_EQ(space.state(15).phase, 0);
  EXPECT_TRUE(space.startingStateLast());
  EXPECT_EQ(space.lookup(5, 0, 1, 0), 15);
  EXPECT_EQ(space.lookup(4, 0, 1, 0), 0);  // the starting vector elsewhere in phase 0
  EXPECT_EQ(space.lookup(-1, 0, 1, 0), 0);
}

TEST(StateSpace, PairPassCountIsTwiceVerticesPlusTwo) {
  for (int32_t a : {0, 1, 7, 10000})
    EXPECT_EQ(StateSpace::count(pairPassShape(a)), 2 * (a + 2) + 2);
}

TEST(StateSpace, FinalPassWithEndPointNumbersFiveStates) {
  FinalPassRules r = rules(3, 1, 3);
  StateSpace space;
  space.build(finalPassShape(r));
  ASSERT_EQ(space.stateCount(), 5);
  auto expectState = [&](int32_t s, int32_t pos, std::array<int, 3> st) {
    EXPECT_EQ(space.state(s).position, pos) << s;
    for (int j = 0; j < 3; ++j) EXPECT_EQ(space.status(space.state(s).code, j), st[j]) << s;
    EXPECT_EQ(space.state(s).timeStep, 0);
  };
  expectState(1, 2, {1, 1, 1});
  expectState(2, 0, {1, 1, 0});
  expectState(3, 1, {1, 1, 0});
  expectState(4, 0, {1, 0, 0});
  // 1 0 1: at point 1 the end point is already served, at point 3 point 2 is still open.
  EXPECT_EQ(space.lookup(0, 0, 1 + 4, 0), -1);
  EXPECT_EQ(space.lookup(2, 0, 1 + 4, 0), -1);

  r.maxTimeStep = 2;
  EXPECT_EQ(countFinalStates(r), 11);
  expectSameAsLiteral(finalPassShape(r));
}

TEST(StateSpace, FinalPassWithReturnFlagHasDeferredStates) {
  FinalPassRules r = rules(2, 1, 0);
  r.returnFlag = true;
  StateSpace space;
  space.build(finalPassShape(r));
  ASSERT_EQ(space.stateCount(), 5);
  EXPECT_EQ(space.radix(), 3u);
  const uint32_t served11 = 1 + 3, served12 = 1 + 6, served10 = 1;
  EXPECT_EQ(space.state(1).position, 0);
  EXPECT_EQ(space.state(1).code, served11);
  EXPECT_EQ(space.state(2).position, 1);
  EXPECT_EQ(space.state(2).code, served11);
  EXPECT_EQ(space.state(3).position, 0);
  EXPECT_EQ(space.state(3).code, served12);
  EXPECT_EQ(space.state(4).position, 0);
  EXPECT_EQ(space.state(4).code, served10);
}

TEST(StateSpace, PriorityClassesKeepOnlyOrderedVectors) {
  FinalPassRules r = rules(4, 1, 0);
  r.orderMode = 3;
  r.orderValues = {0, 1, 2, 3};
  EXPECT_EQ(countFinalStates(r), 5);
  expectSameAsLiteral(finalPassShape(r));
}

TEST(StateSpace, TenPointsWithoutRules) {
  FinalPassRules r = rules(10, 1, 0);
  EXPECT_EQ(countFinalStates(r), 2817);
  r.returnFlag = true;
  EXPECT_EQ(countFinalStates(r), 78733);
  for (int32_t n = 2; n <= 10; ++n) {
    const int64_t expected = 2 + (n - 1) * (int64_t{1} << (n - 2)) + (int64_t{1} << (n - 1)) - 1;
    EXPECT_EQ(countFinalStates(rules(n, n / 2 + 1, 0)), expected) << n;
  }
}

TEST(StateSpace, CountScalesWithTimeStepsWithoutBuildingTables) {
  FinalPassRules r = rules(10, 1, 0);
  r.maxTimeStep = 2000000000;  // far too many states, counted without a table
  EXPECT_EQ(countFinalStates(r), 2 + (r.maxTimeStep + 1) * (2817 - 2));
}

TEST(StateSpace, MaxTimeStepRoundsHalfToEven) {
  TaskHeader h;
  h.timeFactorFlag = 1;
  h.tactMinutes = 20;
  std::vector<TaskPointRec> points(2);
  points[1].windowHigh = 90;
  EXPECT_EQ(maxTimeStep(h, points), 4);
  points[1].windowHigh = 110;
  EXPECT_EQ(maxTimeStep(h, points), 6);
  points[0].windowLow = 130;
  EXPECT_EQ(maxTimeStep(h, points), 6);  // 6.5 rounds to 6
  h.timeFactorFlag = 0;
  EXPECT_EQ(maxTimeStep(h, points), 0);
}

TEST(StateSpace, StartingCombinationRefusedIsReported) {
  // Point 2 must be served before the start point, which is served first.
  FinalPassRules r = rules(3, 1, 0);
  r.orderMode = 1;
  r.orderValues = {0, 1, 0};
  StateSpace space;
  space.build(finalPassShape(r));
  EXPECT_FALSE(space.startingStateLast());
  expectSameAsLiteral(finalPassShape(r));
}

TEST(StateSpace, WizardRuleCountsRefusablePointsByTheirPermission) {
  TaskHeader h;
  h.pointCount = 3;
  h.startPoint = 1;
  h.orderMode = 1;
  h.refusalFlag = 0;
  std::vector<TaskPointRec> points(3);
  points[1].orderValue = 3;  // 3 comes after 2
  points[1].refusalAllowed = 1;
  const auto optimiser = finalPassRules(h, points);
  const auto wizard = finalPassRules(h, points, RefusableRule::AllowedAlone);
  EXPECT_EQ(optimiser.refusable[1], 0);
  EXPECT_EQ(wizard.refusable[1], 1);
  EXPECT_NE(countFinalStates(optimiser), countFinalStates(wizard));
  h.refusalFlag = 2;  // any point may be refused
  EXPECT_EQ(finalPassRules(h, points).refusable[0], 1);
}

TEST(StateSpace, RandomTasksCountAndLookUpAsTheLiteralEnumeration) {
  std::mt19937 rng(20260611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 400; ++round) {
    const int32_t n = pick(2, round < 300 ? 5 : 7);
    FinalPassRules r = rules(n, pick(1, n), 0);
    r.endPoint = pick(0, 2) == 0 ? 0 : pick(1, n);  // the start point too, now and then
    r.orderMode = pick(0, 4);
    for (int j = 0; j < n; ++j) {
      r.orderValues[j] = pick(-1, n);
      r.refusable[j] = static_cast<uint8_t>(pick(0, 2) == 0);
    }
    r.returnFlag = pick(0, 1) == 1;
    r.maxTimeStep = n <= 5 ? pick(0, 3) : 0;
    SCOPED_TRACE(round);
    expectSameAsLiteral(finalPassShape(r));
  }
  for (int32_t a = 0; a <= 4; ++a) expectSameAsLiteral(pairPassShape(a));
}

}  // namespace
}  // namespace qj
