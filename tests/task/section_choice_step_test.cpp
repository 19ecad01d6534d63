#include "task/section_choice_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/wizard_fixture.h"

namespace qj {
namespace {

std::string textOf(const StepCheck& c, const ShellTables& shell) {
  return c.message ? c.message->text.resolve(shell) : std::string();
}

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

TaskHeader header(int32_t n, int32_t start = 1, int32_t end = 0) {
  TaskHeader h;
  h.pointCount = n;
  h.startPoint = start;
  h.endPoint = end;
  h.tactMinutes = 10;
  return h;
}

TEST(StateEstimate, CountsOfTheSmallAndTheLargestTasks) {
  std::vector<TaskPointRec> two(2), ten(10);
  TaskHeader h = header(2);
  EXPECT_EQ(estimateStateCount(h, two), 4);
  h.returnFlag = 1;
  EXPECT_EQ(estimateStateCount(h, two), 5);
  h = header(10);
  EXPECT_EQ(estimateStateCount(h, ten), 2817);
  h.returnFlag = 1;
  EXPECT_EQ(estimateStateCount(h, ten), 78733);
  EXPECT_EQ(countPhaseStates(h, ten), 78733);
  // The time factor with every window 0 adds no time steps.
  h.timeFactorFlag = 1;
  EXPECT_EQ(estimateStateCount(h, ten), 78733);
}

TEST(StateEstimate, PermissionAloneMakesAPointRefusable) {
  TaskHeader h = header(3);
  h.orderMode = 1;
  h.refusalFlag = 0;
  std::vector<TaskPointRec> points(3);
  points[1].orderValue = 3;
  const int64_t strict = estimateStateCount(h, points);
  points[1].refusalAllowed = 1;
  EXPECT_NE(estimateStateCount(h, points), strict);
  EXPECT_EQ(estimateStateCount(h, points), countPhaseStates(h, points));
}

TEST(StateEstimate, RandomTasksCountAsTheWizardsLoop) {
  std::mt19937 rng(3108);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 600; ++round) {
    const int n = pick(2, round < 500 ? 6 : 9);
    TaskHeader h = header(n, pick(1, n));
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
      p.refusalAllowed = h.refusalFlag && pick(0, 1);
      p.windowLow = pick(0, 40);
      p.windowHigh = pick(0, 1) ? 0 : pick(0, 60);
    }
    SCOPED_TRACE(round);
    EXPECT_EQ(estimateStateCount(h, points), countPhaseStates(h, points));
  }
}

// ---- Step 5 -------------------------------------------------------------------------------

struct Step5 : ::testing::Test {
  ShellTables shell = test::wizardShell();
  TaskWizardState s = test::wizardOn(1, 4, 1, 4);
  ThresholdControls threshold;

  // The state after step 4 of a task with refusals: point 2 may be refused.
  void withRefusals() {
    s.header.refusalFlag = 1;
    s.points.resize(4);
    s.points[1].refusalAllowed = 1;
    fillTable1a(s, shell);
  }
  Step5Outcome next() { return checkStep5(s, threshold); }
};

TEST_F(Step5, ThresholdMustLeaveRoomForThePointsThatCannotBeRefused) {
  withRefusals();
  Step5Outcome out = next();
  EXPECT_TRUE(out.check.passed());
  EXPECT_EQ(s.header.servedThreshold, 0);

  threshold = {1, "x", ""};
  out = next();
  EXPECT_FALSE(out.check.message);
  EXPECT_EQ(out.check.focus, "porog1");
  EXPECT_EQ(out.next, WizardNext::Stay);
  threshold = {2, "", ""};
  EXPECT_EQ(next().check.focus, "porog2");

  threshold = {1, "4", ""};
  out = next();
  EXPECT_EQ(textOf(out.check, shell), "S630 <= 3.");
  EXPECT_EQ(out.check.focus, "porog1");
  threshold = {2, "", "2"};
  out = next();
  EXPECT_EQ(textOf(out.check, shell), "S634 >= 3.");  // start, end and point 3
  EXPECT_EQ(out.check.focus, "porog2");
  EXPECT_EQ(s.header.servedThreshold, -2);  // stored before the check, as it was
  threshold = {2, "", "3"};
  out = next();
  EXPECT_TRUE(out.check.passed());
  EXPECT_EQ(s.header.servedThreshold, -3);
  threshold = {1, "3", ""};
  EXPECT_TRUE(next().check.passed());
  EXPECT_EQ(s.header.servedThreshold, 3);

  // Without a refusable point a threshold has no use.
  table1aKey(s, GridKey::Space, 1, t1a::kRefusal);
  out = next();
  EXPECT_EQ(textOf(out.check, shell), "S300.");
  EXPECT_TRUE(out.resetThreshold);
  EXPECT_EQ(out.check.focus, "");

  // Without refusals the controls are not read.
  s.header.refusalFlag = 0;
  threshold = {1, "x", ""};
  out = next();
  EXPECT_TRUE(out.check.passed());
  EXPECT_EQ(s.header.servedThreshold, 0);
}

TEST_F(Step5, TooManyStatesAreRefusedWithTheWaysToFewer) {
  s = test::wizardOn(1, 10);
  s.points.resize(10);
  s.header.returnFlag = 1;
  Step5Outcome out = next();
  EXPECT_EQ(out.stateCount, 78733);
  EXPECT_EQ(textOf(out.check, shell), "S311 78733 (> 30000 S153). S699 S187, S637.");
  EXPECT_EQ(out.check.focus, "");
  EXPECT_EQ(out.next, WizardNext::Stay);
  EXPECT_EQ(s.header.stateCount2, 0);

  s.header.endPoint = 10;
  s.header.timeFactorFlag = 1;
  s.header.tactMinutes = 10;
  s.points[1].windowHigh = 100;  // ten more time steps
  out = next();
  EXPECT_EQ(textOf(out.check, shell),
            "S311 " + std::to_string(out.stateCount) + " (> 30000 S153). S700, S637.");
  EXPECT_EQ(out.check.focus, "txtDT");

  s.header.returnFlag = 0;
  s.header.endPoint = 0;
  s.header.timeFactorFlag = 0;
  out = next();
  EXPECT_TRUE(out.check.passed());
  EXPECT_EQ(s.header.stateCount2, 2817);
}

TEST_F(Step5, ExactlyThirtyThousandStatesPass) {
  // Find a task whose count with time steps is exactly the limit: 2 + (T + 1) x S.
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
    Step5Outcome out = next();
    EXPECT_TRUE(out.check.passed());
    EXPECT_EQ(s.header.stateCount2, 30000);
    s.points[1].windowHigh += 1;
    out = next();
    EXPECT_GT(out.stateCount, 30000);
    EXPECT_FALSE(out.check.passed());
  }
  EXPECT_TRUE(found);
}

TEST_F(Step5, EveryAmbiguousPointNeedsAMarkedSection) {
  s = test::wizardOn(1, 3);
  s.pickers.fill(s, shell);
  fillTable1(s, shell);
  GridTable& t1 = s.table1;
  auto row = [&](int r, const char* street, const char* house) {
    t1.set(r, t1::kType, "ul");
    t1.set(r, t1::kStreet, street);
    t1.set(r, t1::kHouse, house);
  };
  row(0, "Lenina", "2");
  row(1, "Mira", "-");
  row(2, "Lenina", "-");
  ASSERT_EQ(checkStep3(s, shell).next, WizardNext::ShowSectionChoicePage);
  ASSERT_EQ(s.ambiguousCount, 5);  // point 2: sections 4 and 5; point 3: sections 1, 2, 3
  Step5Outcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S274 2.");
  EXPECT_EQ(out.check.focus, "Table12");
  EXPECT_EQ(out.check.row, 0);
  EXPECT_EQ(s.header.stateCount2, out.stateCount);  // the count is kept

  GridKeyResult r = table12Key(s, GridKey::Space, 1, t12::kMark);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(s.table12.cell(1, t12::kMark), "  *");
  out = next();
  EXPECT_EQ(textOf(out.check, shell), "S274 3.");
  EXPECT_EQ(out.check.row, 2);

  table12Key(s, GridKey::Space, 3, t12::kMark);
  r = table12Key(s, GridKey::Space, 4, t12::kMark);  // one mark per point
  EXPECT_EQ(r.firstRow, 3);
  EXPECT_EQ(r.lastRow, 4);
  EXPECT_EQ(s.table12.cell(3, t12::kMark), "");
  EXPECT_EQ(s.table12.cell(4, t12::kMark), "  *");
  EXPECT_EQ(s.table12.cell(1, t12::kMark), "  *");  // another point's mark stays
  EXPECT_FALSE(table12Key(s, GridKey::Space, 0, t12::kSection).cellsChanged());
  EXPECT_TRUE(table12Key(s, GridKey::Delete, 0, t12::kSection).handled);

  out = next();
  EXPECT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::PlaceLevelOnePoints);
}

TEST_F(Step5, TheLevelDecidesWhatFollows) {
  s = test::wizardOn(2, 2);
  s.points.resize(2);
  s.table1.setRows(2);
  s.table1.set(0, t1::kHouseIndex, "3");
  s.table1.set(1, t1::kHouseIndex, "6");
  Step5Outcome out = next();
  EXPECT_EQ(out.next, WizardNext::AutoTransitions);
  EXPECT_EQ(s.points[0].houseIndex, 3);
  EXPECT_EQ(s.points[1].houseIndex, 6);
  EXPECT_EQ(s.header.stateCount2, 4);
  s.dbLevel = 3;
  EXPECT_EQ(next().next, WizardNext::ShowSummary);
}

}  // namespace
}  // namespace qj
