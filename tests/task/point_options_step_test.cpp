#include "task/point_options_step.h"

#include <gtest/gtest.h>

#include "task/points_step.h"
#include "task/wizard_fixture.h"

namespace qj {
namespace {

std::string textOf(const StepCheck& c, const ShellTables& shell) {
  return c.message ? c.message->utf8(shell) : std::string();
}

// Four points after step 3: start point 1, end point 4, service times of 10 minutes.
struct Step4 : ::testing::Test {
  ShellTables shell = test::wizardShell();
  TaskWizardState s = test::wizardOn(1, 4, 1, 4);

  void options(int refusal, int time, int cargo, double capacity = 10, int returns = 0) {
    TaskHeader& h = s.header;
    h.refusalFlag = refusal;
    h.timeFactorFlag = time;
    h.cargoMode = cargo;
    h.capacity = capacity;
    h.returnFlag = returns;
    s.points.resize(4);
    const char* houses[] = {"2", "4", "6", "8"};
    for (int i = 0; i < 4; ++i) {
      s.points[i].streetType = "ul";
      s.points[i].street = "Lenina";
      s.points[i].house = houses[i];
      s.points[i].serviceTime = 10;
    }
    fillTable1a(s, shell);
  }
  void cells(int col, std::vector<std::string> values) {
    for (int r = 0; r < 4; ++r) s.table1a.set(r, col, values[r]);
  }
  StepOutcome next(std::string_view tact = "10") { return checkStep4(s, shell, tact); }
  std::string refusal(std::string_view tact = "10") {
    const StepOutcome out = next(tact);
    EXPECT_EQ(out.next, WizardNext::Stay);
    return textOf(out.check, shell);
  }
};

TEST_F(Step4, GridIsFilledByOptionInOrder) {
  s.points.resize(4);
  s.points[1].refusalAllowed = 1;
  s.points[1].income = 2.5;
  s.points[1].volume = 3;
  s.points[1].windowLow = 60;
  s.points[1].windowHigh = 0;
  s.points[3].income = 4;
  s.header.refusalFlag = 1;
  s.header.cargoMode = 1;
  s.header.timeFactorFlag = 1;
  s.points[0].streetType = "ul";
  s.points[0].street = "Mira";
  s.points[0].house = "-";
  fillTable1a(s, shell);
  const GridTable& t = s.table1a;
  const std::vector<std::vector<std::string>> expected = {
      {"1 (start)", "ul Mira, -", "-", "-", "-", "-", "-"},
      {"2", " , ", "  *", "3", "2,5", "60", ""},
      {"3", " , ", "", "0", "0", "0", ""},
      {"4 (end)", " , ", "-", "0", "4", "-", "-"},
  };
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 7; ++c) EXPECT_EQ(t.cell(r, c), expected[r][c]) << r << "," << c;

  s.header.cargoMode = 0;
  s.header.timeFactorFlag = 0;
  fillTable1a(s, shell);
  EXPECT_EQ(t.cell(1, t1a::kCargo), "");
  EXPECT_EQ(t.cell(1, t1a::kLow), "");
  EXPECT_EQ(t.cell(0, t1a::kIncome), "-");
  EXPECT_EQ(t.cell(3, t1a::kIncome), "4");
}

TEST_F(Step4, SpaceTogglesTheRefusalMarkOfIntermediatePoints) {
  options(1, 0, 0);
  GridKeyResult r = table1aKey(s, GridKey::Space, 1, t1a::kRefusal);
  EXPECT_TRUE(r.handled);
  EXPECT_EQ(r.firstRow, 1);
  EXPECT_EQ(s.table1a.cell(1, t1a::kRefusal), "  *");
  table1aKey(s, GridKey::Space, 1, t1a::kRefusal);
  EXPECT_EQ(s.table1a.cell(1, t1a::kRefusal), "");
  r = table1aKey(s, GridKey::Space, 0, t1a::kRefusal);  // the start point: "-"
  EXPECT_TRUE(r.handled);
  EXPECT_FALSE(r.cellsChanged());
  EXPECT_EQ(s.table1a.cell(0, t1a::kRefusal), "-");
  EXPECT_FALSE(table1aKey(s, GridKey::Space, 1, t1a::kIncome).handled);
  EXPECT_TRUE(table1aKey(s, GridKey::Delete, 0, t1a::kIncome).handled);
  EXPECT_FALSE(table1aKey(s, GridKey::Delete, 1, t1a::kIncome).handled);

  s.header.refusalFlag = 0;  // without refusals nothing is marked
  table1aKey(s, GridKey::Space, 2, t1a::kRefusal);
  EXPECT_EQ(s.table1a.cell(2, t1a::kRefusal), "");
}

TEST_F(Step4, TypedTextFollowsTheColumnRules) {
  options(1, 1, 0);
  const Table1aRules rules(s);
  const GridTable& t = s.table1a;
  EXPECT_FALSE(rules.typable(t, 1, t1a::kRefusal));
  EXPECT_FALSE(rules.typable(t, 1, t1a::kCargo));  // no cargo
  EXPECT_TRUE(rules.accepts(t, 1, t1a::kIncome, "1234,5"));
  EXPECT_FALSE(rules.accepts(t, 1, t1a::kIncome, "1234,56"));
  EXPECT_TRUE(rules.accepts(t, 1, t1a::kLow, "9999"));
  EXPECT_FALSE(rules.accepts(t, 1, t1a::kLow, "10000"));
  EXPECT_FALSE(rules.accepts(t, 1, t1a::kHigh, "1,5"));
  EXPECT_FALSE(rules.typable(t, 0, t1a::kIncome));  // "-"
  EXPECT_FALSE(rules.typable(t, 3, t1a::kLow));
  s.header.cargoMode = 1;
  EXPECT_TRUE(rules.accepts(t, 1, t1a::kCargo, "2,5"));
}

TEST_F(Step4, TactMustLieBetweenOneAndAHundred) {
  options(0, 1, 0);
  StepOutcome out = next("");
  EXPECT_FALSE(out.check.message);
  EXPECT_EQ(out.check.focus, "txtDT");
  EXPECT_EQ(out.next, WizardNext::Stay);
  EXPECT_EQ(next("x").check.focus, "txtDT");
  out = next("0");
  EXPECT_EQ(textOf(out.check, shell), "S324.");
  EXPECT_EQ(out.check.focus, "txtDT");
  EXPECT_EQ(refusal("101"), "S618 (> 100).");
  EXPECT_EQ(next("1").next, WizardNext::RunStep5);
  EXPECT_EQ(next("100").next, WizardNext::RunStep5);
  EXPECT_EQ(s.header.tactMinutes, 100);
}

TEST_F(Step4, CargoOfOnePointMustFitTheVehicle) {
  options(1, 0, 1, 10, 1);
  cells(t1a::kCargo, {"-", "", "5", "1"});
  EXPECT_EQ(refusal(), "S282 2.");
  s.table1a.set(1, t1a::kCargo, ",,");
  EXPECT_EQ(refusal(), "S351 2.");
  s.table1a.set(1, t1a::kCargo, "10,1");
  const StepOutcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S629 2, S243 (= 10 s20), S717.");
  EXPECT_EQ(out.check.focus, "Table1a");
  EXPECT_EQ(out.check.row, 1);
  s.table1a.set(1, t1a::kCargo, "10");
  s.table1a.set(2, t1a::kIncome, "");
  EXPECT_EQ(refusal(), "S279 3.");
  s.table1a.set(2, t1a::kIncome, "x");
  EXPECT_EQ(refusal(), "S347 3.");
  s.table1a.set(2, t1a::kIncome, "0");
  EXPECT_TRUE(next().check.passed());

  options(1, 0, 2, 10, 1);
  cells(t1a::kCargo, {"-", "", "5", "1"});
  EXPECT_EQ(refusal(), "S278 2.");
  s.table1a.set(1, t1a::kCargo, "a");
  EXPECT_EQ(refusal(), "S342 2.");
  s.table1a.set(1, t1a::kCargo, "11");
  EXPECT_EQ(refusal(), "S528 2, S244 (= 10 s14), S717.");
}

TEST_F(Step4, CargoSumsNeedRefusablePointsOrRoomForTheRest) {
  options(1, 0, 1, 10, 0);
  cells(t1a::kCargo, {"-", "6", "6", "1"});
  StepOutcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S280.");
  EXPECT_EQ(out.check.focus, "Table1a");
  EXPECT_EQ(out.check.row, -1);
  table1aKey(s, GridKey::Space, 2, t1a::kRefusal);  // 6 + 1 left must fit: it does
  EXPECT_TRUE(next().check.passed());
  s.table1a.set(1, t1a::kCargo, "9,5");
  EXPECT_EQ(refusal(), "S664 (= 10,5 s20), S718 (= 10 s20), S742.");
  s.header.cargoMode = 2;
  EXPECT_EQ(refusal(), "S662 (= 10,5 s14), S719 (= 10 s14), S742.");

  // Everything fits at once: the cargo factor is pointless.
  options(1, 0, 1, 10, 1);
  cells(t1a::kCargo, {"-", "4", "4", "1"});
  EXPECT_EQ(refusal(), "S663 (= 9 s20), S718 (= 10 s20). S784.");
  s.header.cargoMode = 2;
  EXPECT_EQ(refusal(), "S661 (= 9 s14), S719 (= 10 s14). S783.");
  s.table1a.set(3, t1a::kCargo, "1,000005");
  EXPECT_FALSE(next().check.passed());  // within the tolerance
  s.table1a.set(3, t1a::kCargo, "2,5");
  EXPECT_TRUE(next().check.passed());
}

TEST_F(Step4, ServiceMustFitIntoTheWindow) {
  options(0, 1, 0);
  s.points[1].serviceTime = 10.2;
  cells(t1a::kLow, {"-", "60", "", "-"});
  EXPECT_EQ(refusal(), "S281 3.");
  cells(t1a::kLow, {"-", "60", "0", "-"});
  cells(t1a::kHigh, {"-", "70", "", "-"});
  const StepOutcome out = next();
  EXPECT_EQ(textOf(out.check, shell), "S633 2, S241 71 s24.");
  EXPECT_EQ(out.check.row, 1);
  s.table1a.set(1, t1a::kHigh, "71");
  EXPECT_TRUE(next().check.passed());
  EXPECT_EQ(s.points[1].windowLow, 60);
  EXPECT_EQ(s.points[1].windowHigh, 71);
  EXPECT_EQ(s.points[2].windowHigh, 0);  // no upper bound

  // A cargo task's service at the point is its unloading.
  options(0, 1, 1, 10, 1);
  s.points[1].unloadTime = 2;
  cells(t1a::kCargo, {"-", "6", "6", "1"});
  cells(t1a::kLow, {"-", "60", "0", "-"});
  cells(t1a::kHigh, {"-", "62", "", "-"});
  EXPECT_TRUE(next().check.passed());
  s.points[1].unloadTime = 2.01;
  EXPECT_EQ(refusal(), "S633 2, S241 63 s24.");
}

TEST_F(Step4, WindowBoundsAboveNineThousandNineHundredNinetyNineAreRefused) {
  options(0, 1, 0);
  cells(t1a::kLow, {"-", "10000", "0", "-"});
  EXPECT_EQ(refusal(), "S875 2.");
  cells(t1a::kLow, {"-", "x", "0", "-"});
  EXPECT_EQ(refusal(), "S875 2.");
  cells(t1a::kLow, {"-", "9999", "0", "-"});
  cells(t1a::kHigh, {"-", "", "12345", "-"});
  EXPECT_EQ(refusal(), "S875 3.");
  cells(t1a::kHigh, {"-", "", "9999", "-"});
  EXPECT_TRUE(next().check.passed());
}

TEST_F(Step4, RecordsAreWrittenWhenEveryCheckPasses) {
  options(1, 1, 1, 10, 1);
  s.ambiguousCount = 2;
  s.points[0].income = 5;
  cells(t1a::kCargo, {"-", "6", "6", "1,5"});
  cells(t1a::kIncome, {"-", "1", "2", "3"});
  cells(t1a::kLow, {"-", "20", "30", "-"});
  cells(t1a::kHigh, {"-", "", "90", "-"});
  table1aKey(s, GridKey::Space, 1, t1a::kRefusal);
  s.table1a.set(2, t1a::kIncome, "x");
  EXPECT_FALSE(next().check.passed());
  EXPECT_EQ(s.points[1].refusalAllowed, 0);  // nothing stored
  EXPECT_EQ(s.header.tactMinutes, 10);       // but the tact is
  s.table1a.set(2, t1a::kIncome, "2");
  const StepOutcome out = next("15");
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::ShowSectionChoicePage);
  EXPECT_EQ(s.header.tactMinutes, 15);
  const auto& p = s.points;
  EXPECT_EQ(p[0].income, 0);
  EXPECT_EQ(p[0].volume, 0);
  EXPECT_EQ(p[1].refusalAllowed, 1);
  EXPECT_EQ(p[1].volume, 6);
  EXPECT_EQ(p[1].windowLow, 20);
  EXPECT_EQ(p[1].windowHigh, 0);
  EXPECT_EQ(p[2].refusalAllowed, 0);
  EXPECT_EQ(p[2].income, 2);
  EXPECT_EQ(p[2].windowHigh, 90);
  EXPECT_EQ(p[3].volume, 1.5);
  EXPECT_EQ(p[3].income, 3);
  EXPECT_EQ(p[3].refusalAllowed, 0);
  EXPECT_EQ(p[3].windowLow, 0);
}

}  // namespace
}  // namespace qj
