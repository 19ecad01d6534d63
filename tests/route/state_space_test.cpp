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

// 1 refuse the whole vector, 2 refuse the combination, 0 take it.
int literalRefusal(const FinalPassRules& r, const int32_t* st, int32_t v) {
  const int32_t n = r.pointCount;
  auto open = [&](int j) { return st[j] == 0 || st[j] == 2; };
  if (r.orderMode == 1 || r.orderMode == 2) {
    for (int j = 0; j < n; ++j) {
      const int q = r.orderValues[j];
      if (open(j) && !r.refusable[j] && q >= 1 && q <= n && st[q - 1] == 1) return 1;
    }
    const int q = r.orderValues[v];
    if (q >= 1 && q <= n && st[q - 1] == 1) return 2;
    return 0;
  }
  if (r.orderMode == 3) {
    int low = 1000, high = -1000;
    for (int j = 0; j < n; ++j) {
      const int c = r.orderValues[j];
      if (c < 0 || r.refusable[j]) continue;
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
  Literal L{shape.pointCount, shape.vertexCount(), shape.phaseCount, shape.threeStatuses ? 3 : 2,
            shape.maxTimeStep};
  const int32_t n = L.n;
  // Every subset of the points by its value, bit j for point j, with its served count.
  std::vector<std::vector<int32_t>> subsets;
  for (int64_t value = 0; value < (int64_t{1} << n); ++value) {
    std::vector<int32_t> s(n + 1, 0);
    for (int j = 0; j < n; ++j) s[n] += s[j] = value >> j & 1;
    if (s[shape.startPoint - 1] == 1) subsets.push_back(s);
  }
  // With three statuses each open point of a subset is deferred (2) or pending (0), the
  // first open point varying slowest, 2 before 0.
  std::vector<std::vector<int32_t>> statusVectors;
  for (const auto& s : subsets) {
    std::vector<int32_t> open;
    for (int j = 0; j < n; ++j)
      if (!s[j]) open.push_back(j);
    const size_t variants = L.axis == 2 ? 1 : size_t{1} << open.size();
    for (size_t c = 0; c < variants; ++c) {
      std::vector<int32_t> vector = s;
      for (size_t f = 0; f < open.size() && L.axis == 3; ++f)
        vector[open[f]] = (c >> (open.size() - 1 - f) & 1) ? 0 : 2;
      statusVectors.push_back(vector);
    }
  }
  std::vector<size_t> order;
  for (int c = n; c >= 0; --c)
    for (size_t i = 0; i < statusVectors.size(); ++i)
      if (statusVectors[i][n] == c) order.push_back(i);

  size_t tableSize = static_cast<size_t>(L.vertices) * L.phases * (L.maxT + 1);
  for (int j = 0; j < n; ++j) tableSize *= L.axis;
  L.table.assign(tableSize, 0);
  L.vectors.emplace_back().fill(-1);  // the reference state
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
            for (int32_t u = 0; u < L.vertices; ++u)
              if (refusal == 1 || (refusal == 2 && u == v))
                L.table[L.index(u, phase, sigma, t)] = -1;
            if (refusal != 0) continue;
          }
          std::array<int32_t, 21> vec{v, phase};
          std::copy(sigma, sigma + n, vec.begin() + 2);
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
  // The starting state is last unless the rules refuse the start itself.
  const auto& last = L.vectors.back();
  EXPECT_EQ(space.startingStateLast(),
            L.vectors.size() > 1 && last[0] == shape.sectionCount + shape.startPoint - 1 &&
                std::count(last.begin() + 2, last.begin() + 2 + n, 1) == 1);
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

TEST(StateSpace, ClosedFormsOfTheCounts) {
  for (int32_t a : {0, 1, 7, 10000}) EXPECT_EQ(StateSpace::count(pairPassShape(a)), 2 * a + 6);
  for (int32_t n = 2; n <= 18; ++n) {  // up to the most points a state can hold
    const int64_t expected = 2 + (n - 1) * (int64_t{1} << (n - 2)) + (int64_t{1} << (n - 1)) - 1;
    EXPECT_EQ(countFinalStates(rules(n, n / 2 + 1, 0)), expected) << n;
  }
  FinalPassRules r = rules(10, 1, 0);
  r.returnFlag = true;
  EXPECT_EQ(countFinalStates(r), 78733);
  r.returnFlag = false;
  r.maxTimeStep = 2000000000;  // far too many states, counted without a table
  EXPECT_EQ(countFinalStates(r), 2 + (r.maxTimeStep + 1) * (2817 - 2));
  r.maxTimeStep = -1;  // shapes no task can have count nothing
  EXPECT_EQ(countFinalStates(r), 0);
  r.maxTimeStep = 0;
  r.startPoint = 11;
  EXPECT_EQ(countFinalStates(r), 0);
  r.startPoint = 1;
  r.pointCount = 19;
  EXPECT_EQ(countFinalStates(r), 0);
}

TEST(StateSpace, MaxTimeStepRoundsHalfToEven) {
  // Time factor, tact, latest window bound (minutes): time steps.
  const std::vector<std::array<int32_t, 4>> cases = {{1, 20, 90, 4},  {1, 20, 110, 6},
                                                     {1, 20, 130, 6}, {1, 20, 150, 8},
                                                     {1, 0, 90, 0},   {0, 20, 90, 0}};
  for (const auto& [flag, tact, latest, steps] : cases) {
    TaskHeader h;
    h.timeFactorFlag = flag;
    h.tactMinutes = tact;
    std::vector<TaskPointRec> points(3);
    points[1].windowHigh = 10;
    points[latest % 20 == 0 ? 0 : 2].windowLow = latest;  // a low bound counts too
    EXPECT_EQ(maxTimeStep(h, points), steps) << latest;
  }
}

// Point 2 may be refused: by the refusal flag for the optimiser, by its own permission alone
// for the wizard's count.
TEST(StateSpace, WhichPointsCountAsRefusable) {
  TaskHeader h;
  std::vector<TaskPointRec> points(2);
  points[1].refusalAllowed = 1;
  for (int32_t flag : {0, 1, 2}) {
    h.refusalFlag = flag;
    const auto o = finalPassRules(h, points),
               w = finalPassRules(h, points, RefusableRule::AllowedAlone);
    EXPECT_EQ(o.refusable, (std::vector<uint8_t>{flag == 2, flag > 0})) << flag;
    EXPECT_EQ(w.refusable, (std::vector<uint8_t>{0, 1})) << flag;
  }
}

TEST(StateSpace, RandomTasksCountAndLookUpAsTheLiteralEnumeration) {
  std::mt19937 rng(20260611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 500; ++round) {
    const int32_t n = pick(2, round < 400 ? 5 : 7);
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
