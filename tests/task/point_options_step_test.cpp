#include "task/point_options_step.h"

#include <gtest/gtest.h>

#include "task/points_step.h"
#include "task/task_network.h"

namespace qj {
namespace {

using test::editCells;

// Four points after step 3: start point 1, end point 4, service times of 10 minutes.
struct Step4 : ::testing::Test {
  ShellTables shell = test::wizardShell();
  TaskWizardState s = test::wizardOn(1, 4, 1, 4);

  void options(int refusal, int time, int cargo, int returns = 0) {
    TaskHeader& h = s.header;
    std::tie(h.refusalFlag, h.timeFactorFlag, h.cargoMode, h.capacity, h.returnFlag) =
        std::tuple(refusal, time, cargo, 10, returns);
    s.points.resize(4);
    for (int i = 0; i < 4; ++i) s.points[i] = {"ul", "Lenina", std::to_string(2 + 2 * i), 10};
    fillTable1a(s, shell);
  }
  std::string next(std::string_view tact = "10") {
    return test::checkText(checkStep4(s, shell, tact).check, shell);
  }
  void expectSteps(std::initializer_list<std::pair<const char*, const char*>> steps) {
    for (const auto& [edits, want] : steps) {
      editCells(s.table1a, edits);
      EXPECT_EQ(next(), want) << edits;
    }
  }
};

TEST_F(Step4, TheGridAndItsKeysFollowTheOptions) {
  s.points.resize(4);
  s.points[0] = {"ul", "Mira", "-"};
  TaskPointRec& p = s.points[1];
  std::tie(p.refusalAllowed, p.income, p.volume, p.windowLow) = std::tuple(1, 2.5, 3, 60);
  s.points[3].income = 4;
  s.header.refusalFlag = s.header.cargoMode = s.header.timeFactorFlag = 1;
  fillTable1a(s, shell);
  EXPECT_EQ(test::rowText(s.table1a, 0), "1 (start)|ul Mira, -|-|-|-|-|-");
  EXPECT_EQ(test::rowText(s.table1a, 1), "2| , |  *|3|2,5|60|");
  EXPECT_EQ(test::rowText(s.table1a, 2), "3| , ||0|0|0|");
  EXPECT_EQ(test::rowText(s.table1a, 3), "4 (end)| , |-|0|4|-|-");
  // The SpaceBar toggles the refusal mark of intermediate points only.
  GridKeyResult r = table1aKey(s, GridKey::Space, 1, t1a::kRefusal);
  EXPECT_TRUE(r.handled && r.firstRow == 1 && s.table1a.cell(1, t1a::kRefusal).empty());
  r = table1aKey(s, GridKey::Space, 0, t1a::kRefusal);
  EXPECT_TRUE(r.handled && !r.cellsChanged());
  EXPECT_FALSE(table1aKey(s, GridKey::Space, 1, t1a::kIncome).handled);
  EXPECT_TRUE(table1aKey(s, GridKey::Delete, 0, t1a::kIncome).handled);
  EXPECT_FALSE(table1aKey(s, GridKey::Delete, 1, t1a::kIncome).handled);
  // What may be typed.
  const Table1aRules rules(s);
  EXPECT_FALSE(rules.typable(s.table1a, 1, t1a::kRefusal) ||
               rules.accepts(s.table1a, 0, t1a::kIncome, "1") ||
               rules.typable(s.table1a, 0, t1a::kIncome) || rules.typable(s.table1a, 3, t1a::kLow));
  const std::tuple<int, const char*, bool> accepts[] = {
      {t1a::kIncome, "1234,5", true}, {t1a::kIncome, "1234,56", false}, {t1a::kLow, "9999", true},
      {t1a::kLow, "10000", false},    {t1a::kHigh, "1,5", false},       {t1a::kCargo, "2,5", true}};
  for (const auto& [col, text, ok] : accepts)
    EXPECT_EQ(rules.accepts(s.table1a, 1, col, text), ok) << text;

  s.header.cargoMode = s.header.timeFactorFlag = 0;
  fillTable1a(s, shell);
  EXPECT_EQ(test::rowText(s.table1a, 1), "2| , |||2,5||");  // the mark as toggled
  EXPECT_FALSE(rules.typable(s.table1a, 1, t1a::kCargo));
  s.header.refusalFlag = 0;
  table1aKey(s, GridKey::Space, 2, t1a::kRefusal);  // without refusals nothing is marked
  EXPECT_EQ(s.table1a.cell(2, t1a::kRefusal), "");
  s.points.resize(3);  // the end point without its record yet: the defaults
  fillTable1a(s, shell);
  EXPECT_EQ(test::rowText(s.table1a, 3), "4 (end)| , |||||");
}

TEST_F(Step4, TheTactLiesBetweenOneAndAHundred) {
  options(0, 1, 0);
  const std::pair<const char*, const char*> cases[] = {
      {"", " @txtDT-1"},       {"x", " @txtDT-1"},
      {"0", "S324. @txtDT-1"}, {"101", "S618 (> 100). @txtDT-1"},
      {"1", "passed"},         {"100", "passed"}};
  for (const auto& [tact, want] : cases) EXPECT_EQ(next(tact), want) << tact;
  EXPECT_EQ(s.header.tactMinutes, 100);
}

TEST_F(Step4, CargoMustFitTheVehicle) {
  options(1, 0, 1, 1);
  expectSteps({{"1,3=;2,3=5;3,3=1", "S282 2. @Table1a1:3"},
               {"1,3=,,", "S351 2. @Table1a1:3"},
               {"1,3=10,1", "S629 2, S243 (= 10 s20), S717. @Table1a1:3"},
               {"1,3=10,00001;2,4=", "S279 3. @Table1a2:4"},
               {"2,4=x", "S347 3. @Table1a2:4"},
               {"2,4=0", "passed"}});
  options(1, 0, 2, 1);
  expectSteps({{"1,3=;2,3=5;3,3=1", "S278 2. @Table1a1:3"},
               {"1,3=a", "S342 2. @Table1a1:3"},
               {"1,3=11", "S528 2, S244 (= 10 s14), S717. @Table1a1:3"}});
  // Without returns the sum must fit, but for what may be refused.
  options(1, 0, 1, 0);
  expectSteps({{"1,3=6;2,3=6;3,3=1", "S280. @Table1a1:2"}, {"2,2=  *", "passed"}});
  expectSteps({{"1,3=9,00001", "passed"},
               {"1,3=9,5", "S664 (= 10,5 s20), S718 (= 10 s20), S742. @Table1a1:2"}});
  s.header.cargoMode = 2;
  expectSteps({{"", "S662 (= 10,5 s14), S719 (= 10 s14), S742. @Table1a1:2"}});
  // With returns, everything fitting at once makes the cargo factor pointless.
  options(1, 0, 1, 1);
  expectSteps({{"1,3=4;2,3=4;3,3=1", "S663 (= 9 s20), S718 (= 10 s20). S784. @Table1a-1"}});
  s.header.cargoMode = 2;
  expectSteps({{"", "S661 (= 9 s14), S719 (= 10 s14). S783. @Table1a-1"},
               {"3,3=1,000005", "S661 (= 9,000005 s14), S719 (= 10 s14). S783. @Table1a-1"},
               {"3,3=2,00001", "S661 (= 10,00001 s14), S719 (= 10 s14). S783. @Table1a-1"},
               {"3,3=2,5", "passed"}});
}

TEST_F(Step4, ServiceMustFitIntoTheWindowOfAtMostFourDigits) {
  options(0, 1, 0);
  s.points[1].serviceTime = 10.2;
  expectSteps({{"1,5=60;2,5=", "S281 3. @Table1a2:5"},
               {"2,5=0;1,6=70", "S633 2, S241 71 s24. @Table1a1:6"},
               {"1,6=71", "passed"},
               {"1,5=10000", "S875 2. @Table1a1:5"},
               {"1,5=x", "S875 2. @Table1a1:5"},
               {"1,5=9999;1,6=;2,6=12345", "S875 3. @Table1a2:6"},
               {"2,6=9999", "passed"}});
  // A cargo task's service at the point is its unloading.
  options(0, 1, 1, 1);
  s.points[1].unloadTime = 2;
  expectSteps({{"1,3=6;2,3=6;3,3=1;1,5=60;2,5=0;1,6=62;2,6=", "passed"}});
  s.points[1].unloadTime = 2.01;
  expectSteps({{"", "S633 2, S241 63 s24. @Table1a1:6"}});
}

TEST_F(Step4, RecordsAreWrittenWhenEveryCheckPasses) {
  options(1, 1, 1, 1);
  s.ambiguousCount = 2;
  s.points[0].income = 5;
  editCells(s.table1a, "1,3=6;2,3=6;3,3=1,5;1,4=1;2,4=x;3,4=3;1,5=20;2,5=30;2,6=90;1,2=  *");
  EXPECT_NE(next(), "passed");
  EXPECT_EQ(s.points[1].refusalAllowed, 0);  // nothing stored
  EXPECT_EQ(s.header.tactMinutes, 10);       // but the tact is
  editCells(s.table1a, "2,4=2");
  const StepOutcome out = checkStep4(s, shell, "15");
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::ShowSectionChoicePage);
  EXPECT_EQ(s.header.tactMinutes, 15);
  std::string stored;
  for (const TaskPointRec& p : s.points)
    stored += std::to_string(p.refusalAllowed) + " " + formatReal(p.volume, '.') + " " +
              formatReal(p.income, '.') + " " + std::to_string(p.windowLow) + "-" +
              std::to_string(p.windowHigh) + "|";
  EXPECT_EQ(stored, "0 0 0 0-0|1 6 1 20-0|0 6 2 30-90|0 1.5 3 0-0|");
}

}  // namespace
}  // namespace qj
