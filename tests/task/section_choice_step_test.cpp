#include "task/section_choice_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/task_network.h"

namespace qj {
namespace {

// ---------------------------------------------------------------------------------------
// The estimate written out as the wizard's counting loop describes it: an 18-digit subset
// counter, the subset rows that hold the start point, their expansion with deferred points,
// the order by subset size and a test of every (vector, point, time step) triple.

struct SubsetCounter {
  std::array<int, 18> digits{};
  int ones = 0;
  void advance() {
    if (digits[0] == 0) {
      digits[0] = 1;
      ++ones;
    } else if (digits[1] == 0) {
      digits[0] = 0;
      digits[1] = 1;
    } else {
      int k = 2;
      while (k < 18 && digits[k] == 1) ++k;
      if (k == 18) {
        digits.fill(0);
        ones = 0;
        return;
      }
      for (int i = 0; i < k; ++i) digits[i] = 0;
      digits[k] = 1;
      ones -= k - 1;
    }
  }
};

int64_t countPhaseStates(const TaskHeader& h, const std::vector<TaskPointRec>& pts) {
  const int n = h.pointCount;
  std::vector<std::vector<int>> rows;
  SubsetCounter counter;
  for (int64_t k = 0; k < (int64_t{1} << n); ++k) {
    if (k > 0) counter.advance();
    if (counter.digits[h.startPoint - 1] != 1) continue;
    std::vector<int> row(counter.digits.begin(), counter.digits.begin() + n);
    row.push_back(counter.ones);
    rows.push_back(row);
  }
  std::vector<std::vector<int>> vectors;
  for (const auto& row : rows) {
    if (h.returnFlag == 0) {
      vectors.push_back(row);
      continue;
    }
    std::vector<int> v = row;
    auto expand = [&](auto&& self, int j) -> void {
      if (j == n) {
        vectors.push_back(v);
        return;
      }
      if (row[j] == 1) return self(self, j + 1);
      for (int value : {2, 0}) {
        v[j] = value;
        self(self, j + 1);
      }
    };
    expand(expand, 0);
  }
  std::vector<std::vector<int>> ordered;
  for (int size = n; size >= 0; --size)
    for (const auto& v : vectors)
      if (v[n] == size) ordered.push_back(v);
  int64_t t = 0;
  if (h.timeFactorFlag == 1) {
    int w = 0;
    for (const auto& p : pts) w = std::max({w, p.windowLow, p.windowHigh});
    t = static_cast<int64_t>(std::nearbyint(static_cast<double>(w) / h.tactMinutes));
  }
  auto open = [](int status) { return status == 0 || status == 2; };
  int64_t count = 1;
  for (size_t i = 0; i < ordered.size(); ++i) {
    const auto& v = ordered[i];
    for (int p = 0; p < n; ++p)
      for (int64_t step = 0; step <= t; ++step) {
        if (i + 1 == ordered.size() && (p != h.startPoint - 1 || step != 0)) continue;
        if (v[p] != 1) continue;
        bool ok = true;
        if (h.orderMode == 1 || h.orderMode == 2) {
          for (int k = 0; k < n; ++k) {
            const int q = pts[k].orderValue;
            if (open(v[k]) && pts[k].refusalAllowed == 0 && q >= 1 && v[q - 1] == 1) ok = false;
          }
          const int q = pts[p].orderValue;
          if (q >= 1 && v[q - 1] == 1) ok = false;
        } else if (h.orderMode == 3) {
          int lo = 1000, hi = -1000;
          for (int k = 0; k < n; ++k) {
            const int c = pts[k].orderValue;
            if (pts[k].refusalAllowed != 0 || c < 0) continue;
            if (open(v[k])) lo = std::min(lo, c);
            if (v[k] == 1) hi = std::max(hi, c);
          }
          ok = lo >= hi && (pts[p].orderValue < 0 || pts[p].orderValue >= hi);
        } else if (h.endPoint >= 1) {
          if (p == h.endPoint - 1) {
            for (int k = 0; k < n; ++k)
              if (open(v[k])) ok = false;
          } else if (v[h.endPoint - 1] == 1) {
            ok = false;
          }
        }
        count += ok ? 1 : 0;
      }
  }
  return count;
}

TEST(StateEstimate, RandomTasksCountAsTheWizardsLoop) {
  std::vector<TaskPointRec> ten(10);
  TaskHeader h;
  h.pointCount = 10;
  h.startPoint = 1;
  EXPECT_EQ(estimateStateCount(h, ten), 2817);
  h.returnFlag = 1;
  h.timeFactorFlag = 1;  // every window 0: no time steps
  h.tactMinutes = 10;
  EXPECT_EQ(estimateStateCount(h, ten), 78733);
  EXPECT_EQ(countPhaseStates(h, ten), 78733);

  std::mt19937 rng(3108);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 600; ++round) {
    const int n = pick(2, round < 500 ? 6 : 9);
    h = {};
    h.pointCount = n;
    h.startPoint = pick(1, n);
    h.endPoint = pick(0, 1) ? 0 : pick(1, n);
    if (h.endPoint == h.startPoint) h.endPoint = 0;
    h.orderMode = pick(0, 3);
    h.priorityCount = pick(2, std::max(2, n - 1));
    h.returnFlag = pick(0, 1);
    h.refusalFlag = pick(0, 1);
    h.timeFactorFlag = n <= 6 ? pick(0, 1) : 0;
    h.tactMinutes = pick(1, 30);
    std::vector<TaskPointRec> points(n);
    for (int i = 0; i < n; ++i) {
      TaskPointRec& p = points[i];
      if (h.orderMode == 1 || h.orderMode == 2)
        p.orderValue = pick(0, 2) == 0 ? -1 : pick(1, n);
      else if (h.orderMode == 3)
        p.orderValue = i + 1 == h.startPoint ? 0 : pick(-1, h.priorityCount);
      // The point's permission alone makes it refusable, whatever the task's flag says.
      p.refusalAllowed = pick(0, 1);
      p.windowLow = pick(0, 40);
      p.windowHigh = pick(0, 1) ? 0 : pick(0, 60);
    }
    SCOPED_TRACE(round);
    EXPECT_EQ(estimateStateCount(h, points), countPhaseStates(h, points));
  }
}

struct Step5 : ::testing::Test {
  ShellTables shell = test::wizardShell();
  TaskWizardState s = test::wizardOn(1, 4, 1, 4);
  ThresholdControls threshold;

  std::string next() {
    const Step5Outcome out = checkStep5(s, threshold);
    if (out.check.passed()) return "passed";
    EXPECT_EQ(out.next, WizardNext::Stay);
    return (out.check.message ? out.check.message->text.resolve(shell) : "") + " @" +
           out.check.focus + std::to_string(out.check.row);
  }
};

TEST_F(Step5, TheThresholdLeavesRoomForThePointsThatCannotBeRefused) {
  // Point 2 may be refused; start, end and point 3 may not.
  s.header.refusalFlag = 1;
  s.points.resize(4);
  s.points[1].refusalAllowed = 1;
  fillTable1a(s, shell);
  const std::tuple<ThresholdControls, const char*, int32_t> cases[] = {
      {{0, "", ""}, "passed", 0},
      {{1, "x", ""}, " @porog1-1", 0},
      {{2, "", ""}, " @porog2-1", 0},
      {{1, "4", ""}, "S630 <= 3. @porog1-1", 4},
      {{2, "", "2"}, "S634 >= 3. @porog2-1", -2},  // stored before the check, as it was
      {{2, "", "3"}, "passed", -3},
      {{1, "3", ""}, "passed", 3}};
  for (const auto& [controls, want, stored] : cases) {
    threshold = controls;
    EXPECT_EQ(next(), want) << controls.porog1 << controls.porog2;
    EXPECT_EQ(s.header.servedThreshold, stored);
  }
  // Without a refusable point a threshold has no use; without refusals it is not read.
  table1aKey(s, GridKey::Space, 1, t1a::kRefusal);
  EXPECT_EQ(next(), "S300. @-1");
  EXPECT_TRUE(checkStep5(s, threshold).resetThreshold);
  s.header.refusalFlag = 0;
  threshold = {1, "x", ""};
  EXPECT_EQ(next(), "passed");
  EXPECT_EQ(s.header.servedThreshold, 0);
}

TEST_F(Step5, TooManyStatesAreRefusedWithTheWaysToFewer) {
  s = test::wizardOn(1, 10);
  s.points.resize(10);
  s.header.returnFlag = 1;
  EXPECT_EQ(next(), "S311 78733 (> 30000 S153). S699 S187, S637. @-1");
  EXPECT_EQ(s.header.stateCount2, 0);
  s.header.endPoint = 10;
  s.header.timeFactorFlag = 1;
  s.points[1].windowHigh = 100;  // ten more time steps
  const std::string count = std::to_string(checkStep5(s, threshold).stateCount);
  EXPECT_EQ(next(), "S311 " + count + " (> 30000 S153). S700, S637. @txtDT-1");
  s.header.returnFlag = 0;
  s.header.endPoint = 0;
  s.header.timeFactorFlag = 0;
  EXPECT_EQ(next(), "passed");
  EXPECT_EQ(s.header.stateCount2, 2817);

  // A task whose count with time steps is exactly the limit, 2 + (T + 1) x S, passes.
  std::mt19937 rng(30000);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  bool found = false;
  for (int round = 0; round < 5000 && !found; ++round) {
    const int n = pick(2, 7);
    s = test::wizardOn(1, n, 1, pick(0, 1) ? 0 : n);
    s.points.resize(n);
    s.header.returnFlag = pick(0, 1);
    s.header.orderMode = pick(0, 3);
    s.header.refusalFlag = 1;
    for (int i = 1; i < n; ++i) {
      s.points[i].orderValue = s.header.orderMode == 0 ? 0 : pick(-1, n);
      s.points[i].refusalAllowed = pick(0, 1);
    }
    const int64_t spread = estimateStateCount(s.header, s.points) - 2;
    if (spread <= 0 || (kStateLimit - 2) % spread != 0) continue;
    const int64_t steps = (kStateLimit - 2) / spread - 1;
    if (steps > kMaxWindowMinutes) continue;
    s.header.timeFactorFlag = 1;
    s.header.tactMinutes = 1;
    s.points[1].windowHigh = static_cast<int32_t>(steps);
    if (estimateStateCount(s.header, s.points) != kStateLimit) continue;
    found = true;
    EXPECT_EQ(next(), "passed");
    EXPECT_EQ(s.header.stateCount2, 30000);
    s.points[1].windowHigh += 1;
    EXPECT_NE(next(), "passed");
  }
  EXPECT_TRUE(found);
}

TEST_F(Step5, EveryAmbiguousPointNeedsOneMarkedSection) {
  s = test::wizardOn(1, 3);
  s.pickers.fill(s, shell);
  fillTable1(s, shell);
  test::editCells(s.table1,
                  "0,1=ul;0,2=Lenina;0,3=2;1,1=ul;1,2=Mira;1,3=-;2,1=ul;2,2=Lenina;2,3=-");
  ASSERT_EQ(checkStep3(s, shell).next, WizardNext::ShowSectionChoicePage);
  ASSERT_EQ(s.ambiguousCount, 5);  // point 2: sections 4 and 5; point 3: sections 1, 2, 3
  EXPECT_EQ(next(), "S274 2. @Table120");
  EXPECT_EQ(s.header.stateCount2, checkStep5(s, threshold).stateCount);  // the count is kept
  EXPECT_TRUE(table12Key(s, GridKey::Space, 1, t12::kMark).handled);
  EXPECT_EQ(next(), "S274 3. @Table122");
  table12Key(s, GridKey::Space, 3, t12::kMark);
  const GridKeyResult r = table12Key(s, GridKey::Space, 4, t12::kMark);  // one mark per point
  EXPECT_EQ(r.firstRow * 10 + r.lastRow, 34);
  std::string marks;
  for (int row = 0; row < 5; ++row) marks += s.table12.cell(row, t12::kMark) + "|";
  EXPECT_EQ(marks, "|  *|||  *|");
  EXPECT_FALSE(table12Key(s, GridKey::Space, 0, t12::kSection).cellsChanged());
  EXPECT_TRUE(table12Key(s, GridKey::Delete, 0, t12::kSection).handled);
  EXPECT_EQ(next(), "passed");
  EXPECT_EQ(checkStep5(s, threshold).next, WizardNext::PlaceLevelOnePoints);
}

TEST_F(Step5, TheLevelDecidesWhatFollows) {
  s = test::wizardOn(2, 2);
  s.points.resize(2);
  s.table1.setRows(2);
  test::editCells(s.table1, "0,8=3;1,8=6");
  EXPECT_EQ(checkStep5(s, threshold).next, WizardNext::AutoTransitions);
  EXPECT_EQ(s.points[0].houseIndex * 10 + s.points[1].houseIndex, 36);
  EXPECT_EQ(s.header.stateCount2, 4);
  s.dbLevel = 3;
  EXPECT_EQ(checkStep5(s, threshold).next, WizardNext::ShowSummary);
}

}  // namespace
}  // namespace qj
