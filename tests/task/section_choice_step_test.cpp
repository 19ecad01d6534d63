#include "task/section_choice_step.h"

#include <gtest/gtest.h>

#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/task_network.h"

namespace qj {
namespace {

// The count itself is checked against the literal enumeration in the route tests.
struct Step5 : ::testing::Test {
  ShellTables shell = test::wizardShell();
  TaskWizardState s = test::wizardOn(1, 4, 1, 4);
  ThresholdControls threshold;

  std::string next() { return test::checkText(checkStep5(s, threshold).check, shell); }
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
  s.header.returnFlag = s.header.endPoint = s.header.timeFactorFlag = 0;
  EXPECT_EQ(next(), "passed");
  EXPECT_EQ(s.header.stateCount2, 2817);

  // A task whose count with time steps is exactly the limit, 2 + (565 + 1) x 53, passes.
  s = test::wizardOn(1, 4, 1, 4);
  s.points.resize(4);
  s.header.returnFlag = s.header.refusalFlag = s.header.timeFactorFlag = 1;
  std::tie(s.header.orderMode, s.header.tactMinutes) = std::tuple(3, 1);
  s.points[2].orderValue = 4;
  s.points[2].refusalAllowed = s.points[3].refusalAllowed = 1;
  s.points[1].windowHigh = 565;
  EXPECT_EQ(next(), "passed");
  EXPECT_EQ(s.header.stateCount2, kStateLimit);
  s.points[1].windowHigh = 566;
  EXPECT_EQ(next().substr(0, 10), "S311 30053");
}

TEST_F(Step5, EveryAmbiguousPointNeedsOneMarkedSection) {
  s = test::wizardOn(1, 3);
  s.pickers.fill(s, shell);
  fillTable1(s, shell);
  test::editCells(s.table1,
                  "0,1=ul;0,2=Lenina;0,3=2;1,1=ul;1,2=Mira;1,3=-;2,1=ul;2,2=Lenina;2,3=-");
  ASSERT_EQ(checkStep3(s, shell).next, WizardNext::ShowSectionChoicePage);
  ASSERT_EQ(s.ambiguousCount, 5);  // point 2: sections 4 and 5; point 3: sections 1, 2, 3
  EXPECT_EQ(next(), "S274 2. @Table120:8");
  EXPECT_EQ(s.header.stateCount2, checkStep5(s, threshold).stateCount);  // the count is kept
  for (int row : {-1, 5})
    EXPECT_FALSE(table12Key(s, GridKey::Space, row, t12::kMark).cellsChanged());
  EXPECT_TRUE(table12Key(s, GridKey::Space, 0, t12::kMark).handled);
  EXPECT_EQ(next(), "S274 3. @Table122:8");
  table12Key(s, GridKey::Space, 3, t12::kMark);
  const GridKeyResult r = table12Key(s, GridKey::Space, 4, t12::kMark);  // one mark per point
  EXPECT_EQ(r.firstRow * 10 + r.lastRow, 34);
  std::string marks;
  for (int row = 0; row < 5; ++row) marks += s.table12.cell(row, t12::kMark) + "|";
  EXPECT_EQ(marks, "  *||||  *|");
  EXPECT_FALSE(table12Key(s, GridKey::Space, 0, t12::kSection).cellsChanged());
  EXPECT_TRUE(table12Key(s, GridKey::Delete, 0, t12::kSection).handled);
  EXPECT_EQ(next(), "passed");
  EXPECT_EQ(checkStep5(s, threshold).next, WizardNext::PlaceLevelOnePoints);
}

}  // namespace
}  // namespace qj
