#include "task/parameters_step.h"

#include <gtest/gtest.h>

#include "task/identity_step.h"
#include "task/points_step.h"
#include "task/summary_step.h"
#include "task/task_wizard_fixture.h"

namespace qj {
namespace {

using test::tinyDb;
using test::WizardFixture;

class StepTwo : public ::testing::Test {
 protected:
  StepTwo() : state(f.wizard()) {
    input.pointCount = "4";
    input.startPoint = "1";
    input.moneyUnit = "EUR";
    input.finePerKm = "1,5";
    input.finePerHour = "10";
    input.approachSpeed = "15,0";
  }

  // Passes step 1 on a database of the level.
  void onDatabase(int level) {
    const int item = f.addDatabase(tinyDb(level));
    ASSERT_TRUE(checkStep1(state, f.app, {"ABC123", "Deliveries", item}).check.passed());
  }
  Step2Result next() { return checkStep2(state, input, f.app.texts); }
  // The refusal's text, or the control focused without a message, or "passed".
  std::string outcome(const Step2Result& r) const {
    if (r.check.passed()) return "passed";
    return r.check.message ? f.text(*r.check.message) : "focus " + r.check.focus;
  }
  std::string label(const ControlUpdates& u, const char* name) const {
    const auto t = updatedText(u, name);
    return t ? f.text(*t) : "<unchanged>";
  }
  std::string label(const Step2Result& r, const char* name) const { return label(r.updates, name); }

  WizardFixture f;
  TaskWizardState state;
  Page2Input input;
};

TEST_F(StepTwo, ThePointCountIsTwoToTen) {
  onDatabase(1);
  for (const char* n : {"2", "10"}) {
    input.pointCount = n;
    EXPECT_EQ(outcome(next()), "passed") << n;
  }
  for (const char* n : {"1", "0"}) {
    input.pointCount = n;
    const Step2Result r = next();
    EXPECT_EQ(outcome(r), "S314 (< 2).");
    EXPECT_EQ(r.check.focus, "TS_num");
  }
  for (const char* n : {"11", "99"}) {
    input.pointCount = n;
    EXPECT_EQ(outcome(next()), "S312 (> 10 S153).");
  }
  input.pointCount = "";
  EXPECT_EQ(outcome(next()), "focus TS_num");
}

TEST_F(StepTwo, StartAndEndPointLieAmongThePointsAndDiffer) {
  onDatabase(1);
  input.startPoint = "4";
  EXPECT_EQ(outcome(next()), "passed");
  input.startPoint = "0";
  Step2Result r = next();
  EXPECT_EQ(outcome(r), "S340.");
  EXPECT_EQ(r.check.focus, "TS_first");
  // What was read before the failing check stays stored.
  EXPECT_EQ(state.header.pointCount, 4);
  EXPECT_EQ(state.header.startPoint, 0);
  input.startPoint = "";
  EXPECT_EQ(outcome(next()), "focus TS_first");

  input.startPoint = "2";
  input.endPoint = "5";
  r = next();
  EXPECT_EQ(outcome(r), "S341.");
  EXPECT_EQ(r.check.focus, "TS_last");
  input.endPoint = "1x";  // only a paste can bring this
  EXPECT_EQ(outcome(next()), "S341.");
  input.endPoint = "2";
  r = next();
  EXPECT_EQ(outcome(r), "S211. S743.");
  EXPECT_EQ(r.check.focus, "TS_first");

  input.endPoint = "3";
  r = next();
  ASSERT_EQ(outcome(r), "passed");
  EXPECT_EQ(state.header.endPoint, 3);
  EXPECT_EQ(label(r, "tsf_34"), "2");
  EXPECT_EQ(label(r, "tsl_6"), "3");
  EXPECT_EQ(label(r, "nts_3a"), "4");

  input.endPoint = "";
  r = next();
  EXPECT_EQ(state.header.endPoint, 0);
  EXPECT_EQ(label(r, "tsl_3"), "S277");
}

TEST_F(StepTwo, CostsAndSpeedThatAreNoNumbersOnlyMoveTheFocus) {
  onDatabase(2);
  input.finePerKm = "";
  EXPECT_EQ(outcome(next()), "focus fine1");
  input.finePerKm = "1,5";
  input.finePerHour = "1,,5";
  EXPECT_EQ(outcome(next()), "focus fine2");
  input.finePerHour = "0";
  input.approachSpeed = ",";
  EXPECT_EQ(outcome(next()), "focus Velo");
  input.approachSpeed = "4,5";
  ASSERT_EQ(outcome(next()), "passed");
  EXPECT_EQ(state.header.finePerKm, 1.5);
  EXPECT_EQ(state.header.finePerHour, 0);
  EXPECT_EQ(state.header.approachSpeed, 4.5);
  EXPECT_EQ(state.approachSpeed, 4.5);
}

TEST_F(StepTwo, AnApproachSpeedOfZeroIsRefusedWhereItIsUsed) {
  onDatabase(2);
  input.approachSpeed = "0";
  const Step2Result r = next();
  EXPECT_EQ(outcome(r), "S867.");
  EXPECT_EQ(r.check.focus, "Velo");

  // A level-1 task does not use it and does not store it.
  TaskWizardState levelOne = f.wizard();
  const int item = f.addDatabase(tinyDb(1));
  ASSERT_TRUE(checkStep1(levelOne, f.app, {"ABC123", "x", item}).check.passed());
  EXPECT_TRUE(checkStep2(levelOne, input, f.app.texts).check.passed());
  EXPECT_EQ(levelOne.header.approachSpeed, 0);
}

TEST_F(StepTwo, PriorityClassesAreAtLeastTwoAndLeaveRoomForTheOtherPoints) {
  onDatabase(1);
  input.pointCount = "5";
  input.endPoint = "5";
  input.orderMode = 3;
  input.priorityCount = "";
  EXPECT_EQ(outcome(next()), "focus nprio");
  for (const char* ok : {"2", "3"}) {
    input.priorityCount = ok;
    EXPECT_EQ(outcome(next()), "passed") << ok;
  }
  input.priorityCount = "1";
  Step2Result r = next();
  EXPECT_EQ(outcome(r), "S632 >= 2.");
  EXPECT_EQ(r.check.focus, "nprio");
  input.priorityCount = "4";
  r = next();
  EXPECT_EQ(outcome(r), "S623 <= 3.");
  EXPECT_EQ(r.check.focus, "nprio");
  input.endPoint = "";
  EXPECT_EQ(outcome(next()), "passed");
  EXPECT_EQ(state.header.priorityCount, 4);

  input.orderMode = 1;
  ASSERT_EQ(outcome(next()), "passed");
  EXPECT_EQ(state.header.orderMode, 1);
  EXPECT_EQ(state.header.priorityCount, 0);
}

TEST_F(StepTwo, CargoNeedsACapacityAndRefusalsOrReturns) {
  onDatabase(1);
  input.cargoMode = 1;
  input.refusals = true;
  input.capacity = "";
  EXPECT_EQ(outcome(next()), "focus ndol");
  for (const char* tiny : {"0", "0,00001"}) {
    input.capacity = tiny;
    const Step2Result r = next();
    EXPECT_EQ(outcome(r), "S328.") << tiny;
    EXPECT_EQ(r.check.focus, "ndol");
  }
  input.capacity = "0,0001";
  EXPECT_EQ(outcome(next()), "passed");

  input.refusals = false;
  input.returnToStart = false;
  Step2Result r = next();
  EXPECT_EQ(outcome(r), "S302. S202.");
  EXPECT_EQ(r.check.focus, "");
  input.returnToStart = true;
  r = next();
  ASSERT_EQ(outcome(r), "passed");
  EXPECT_EQ(state.header.cargoMode, 1);
  EXPECT_EQ(state.header.capacity, 0.0001);
  EXPECT_EQ(state.header.returnFlag, 1);
  EXPECT_EQ(label(summaryPage(state), "ndol_6"), "0,0001");
  EXPECT_EQ(label(summaryPage(state), "prvd_6"), "1");

  // Without cargo the capacity and the return are cleared.
  input.cargoMode = 0;
  ASSERT_EQ(outcome(next()), "passed");
  EXPECT_EQ(state.header.capacity, 0);
  EXPECT_EQ(state.header.returnFlag, 0);
}

TEST_F(StepTwo, TheChecksComeInTheirOrder) {
  onDatabase(2);
  // Every value wrong: each correction uncovers the next check.
  input = {};
  input.pointCount = "1";
  input.startPoint = "9";
  input.endPoint = "9";
  input.approachSpeed = "0";
  input.orderMode = 3;
  input.priorityCount = "1";
  input.cargoMode = 2;
  input.capacity = "0";
  std::vector<std::string> seen;
  const auto step = [&] {
    seen.push_back(outcome(next()));
    return seen.back();
  };
  step();
  input.pointCount = "6";
  step();
  input.startPoint = "1";
  step();
  input.endPoint = "";
  step();
  input.finePerKm = "1";
  step();
  input.finePerHour = "1";
  step();
  input.approachSpeed = "5";
  step();
  input.priorityCount = "2";
  step();
  input.capacity = "10";
  step();
  input.returnToStart = true;
  step();
  EXPECT_EQ(seen,
            (std::vector<std::string>{"S314 (< 2).", "S340.", "S341.", "focus fine1", "focus fine2",
                                      "S867.", "S632 >= 2.", "S328.", "S302. S202.", "passed"}));
}

TEST_F(StepTwo, TheHeaderTakesTheOptionsAndTheDatabaseIdentity) {
  onDatabase(2);
  state.header.tactMinutes = 15;
  input.moneyUnit = "A money unit longer than twenty";
  input.timeFactor = true;
  input.refusals = true;
  ASSERT_EQ(outcome(next()), "passed");
  const TaskHeader& h = state.header;
  EXPECT_EQ(h.language, "eng");
  EXPECT_EQ(h.moneyUnit, "A money unit longer ");
  EXPECT_EQ(h.timeFactorFlag, 1);
  EXPECT_EQ(h.refusalFlag, 1);
  EXPECT_EQ(h.tactMinutes, 0);
  EXPECT_EQ(h.dbKind, "use2");
  EXPECT_EQ(h.dbCode, "002");
  EXPECT_EQ(h.dbName, "Tiny town");
  EXPECT_EQ(h.dbDate, "01.02.2026");
  EXPECT_EQ(h.sectionCount, 4);
  EXPECT_EQ(state.warnedRow, -1);
  EXPECT_EQ(state.wizardStep, 3);
}

TEST_F(StepTwo, TheLaterPagesGetTheirCaptions) {
  onDatabase(1);
  input.timeFactor = true;
  input.cargoMode = 2;
  input.capacity = "1500";
  input.returnToStart = true;
  input.orderMode = 3;
  input.priorityCount = "2";
  const Step2Result r = next();
  ASSERT_EQ(outcome(r), "passed");
  EXPECT_EQ(label(r, "L11_3a"), "S74");
  EXPECT_EQ(label(r, "L2_3a"), "S163 (EUR)");
  EXPECT_EQ(label(r, "Title3_T1"), "S84");
  EXPECT_EQ(label(r, "Title6_T1"), "S547 (>=1 S1 <=2)");
  EXPECT_EQ(label(r, "Title5_T1"), "S750 (EUR)");
  EXPECT_EQ(updatedVisibility(r.updates, "Title4_T1"), true);
  EXPECT_EQ(updatedVisibility(r.updates, "txtDT"), true);
  EXPECT_EQ(updatedVisibility(r.updates, "porog1"), false);
  EXPECT_EQ(updatedVisibility(r.updates, "List2"), false);
  // The summary composes its rows from what step 2 stored.
  const ControlUpdates summary = summaryPage(state);
  EXPECT_EQ(label(summary, "pr2_6"), "1");
  EXPECT_EQ(label(summary, "pr1_6"), "0");
  EXPECT_EQ(label(summary, "pruf_6"), "2");
  EXPECT_EQ(label(summary, "Label25_6"), "S130:");
  EXPECT_EQ(label(summary, "Label11_6"), "S748 (EUR):");
  EXPECT_EQ(label(summary, "Label12_6"), "S751 (EUR):");
  EXPECT_EQ(label(summary, "fine1_6"), "1,5");
  EXPECT_EQ(label(summary, "vzpp_6"), "3");
  EXPECT_EQ(label(summary, "npri_6"), "2");
  EXPECT_EQ(label(summary, "nstate1"), "14");  // (4 + 2) x 2 + 2
  EXPECT_EQ(updatedVisibility(summary, "Label19_6"), true);
  EXPECT_EQ(updatedVisibility(summary, "por_6"), false);
  EXPECT_EQ(updatedVisibility(summary, "prvd_6"), true);
  EXPECT_EQ(updatedVisibility(summary, "Label16_6"), true);

  input = {};
  input.pointCount = "3";
  input.startPoint = "1";
  input.finePerKm = input.finePerHour = input.approachSpeed = "1";
  input.refusals = true;
  input.cargoMode = 1;
  input.capacity = "2";
  const Step2Result plain = next();
  ASSERT_EQ(outcome(plain), "passed");
  EXPECT_EQ(label(plain, "L11_3a"), "S425");
  EXPECT_EQ(label(plain, "L2_3a"), "S162");  // no money unit, no brackets
  EXPECT_EQ(updatedVisibility(plain.updates, "Title6_T1"), false);
  EXPECT_EQ(updatedVisibility(plain.updates, "porog2"), true);
  const ControlUpdates plainSummary = summaryPage(state);
  EXPECT_EQ(label(plainSummary, "Label25_6"), "S75:");
  EXPECT_EQ(label(plainSummary, "vzpp_6"), "S445");
  EXPECT_EQ(updatedVisibility(plainSummary, "Label19_6"), false);
}

TEST_F(StepTwo, ThePickersOfferTypesWithReferencedStreets) {
  onDatabase(2);
  ASSERT_EQ(outcome(next()), "passed");
  const AddressPickers& p = state.pickers;
  // The no-street type and the lane without referenced streets are left out.
  EXPECT_EQ(p.typeItems(), (std::vector<std::string>{"avenue (av.)", "street (st.)"}));
  EXPECT_EQ(p.typeListMap(), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(p.typeRow(), 1);  // the type named like shell text 697
  EXPECT_EQ(p.streetItems(), (std::vector<std::string>{"Oak", "Elm"}));
  EXPECT_EQ(p.streetRow(), 0);
  ASSERT_EQ(p.houseItems().size(), 3u);
  EXPECT_EQ(p.houseItems()[0], (HousePick{0, "10"}));
  EXPECT_EQ(p.houseItems()[1], (HousePick{2, "2\xE0"}));
  EXPECT_EQ(p.houseItems()[2], (HousePick{1, "9"}));
  EXPECT_EQ(p.houseRow(), 0);
  EXPECT_EQ(updatedVisibility(next().updates, "List2"), true);
}

TEST(AddressPickers, TheLastStreetCountsAndTheFirstRowIsTheFallback) {
  TaskWizardState s;
  s.dbLevel = 1;
  s.db = tinyDb(1);
  s.db.streets[0].state = "1";  // Oak no longer referenced: only the last street, Elm, is
  ShellTables texts = test::markedShell();
  texts.shortTexts[2] = "none";
  AddressPickers p;
  p.fill(s, texts);
  EXPECT_EQ(p.typeItems(), (std::vector<std::string>{"avenue (av.)", "street (st.)"}));
  EXPECT_EQ(p.typeRow(), 0);  // no type is named like shell text 697 here
  EXPECT_EQ(p.streetItems(), (std::vector<std::string>{"Main"}));
  p.chooseType(s, 1);
  EXPECT_EQ(p.streetItems(), (std::vector<std::string>{"Elm"}));

  s.db.streetTypes[1].fullName = "a very long street type name";
  p.fill(s, texts);
  EXPECT_EQ(p.typeItems()[1], "a very long street type nam");  // 27 characters
}

TEST_F(StepTwo, ANewTaskGetsDefaultRows) {
  onDatabase(1);
  input.pointCount = "3";
  input.startPoint = "2";
  input.endPoint = "3";
  input.orderMode = 3;
  input.priorityCount = "1";
  ASSERT_EQ(outcome(next()), "S632 >= 2.");
  input.orderMode = 3;
  input.pointCount = "4";
  input.priorityCount = "2";
  ASSERT_EQ(outcome(next()), "passed");
  const GridTable& t = state.table1;
  ASSERT_EQ(t.rows(), 4);
  EXPECT_EQ(t.cell(0, 0), "1");
  EXPECT_EQ(t.cell(1, 0), "2 (s11)");
  EXPECT_EQ(t.cell(2, 0), "3 (s17)");
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(t.cell(r, 1), "");
    EXPECT_EQ(t.cell(r, 4), "0");
    EXPECT_EQ(t.cell(r, 5), "");
    EXPECT_EQ(t.cell(r, 6), "0");
    EXPECT_EQ(t.cell(r, 7), r == 1 || r == 2 ? "-" : "") << r;
  }
  EXPECT_EQ(state.pointChanged, (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(StepTwo, HeldPointsRefillTheGrid) {
  f.app.texts.shortTexts[12] = "s11";  // the start point's mark makes its cargo row exempt
  onDatabase(2);
  state.dbChangedByUser = 1;
  TaskPointRec a;
  a.streetType = "st.";
  a.street = "Oak";
  a.house = "9";
  a.serviceTime = 2.5;
  a.unloadTime = 4;
  a.waitPenalty = 0.5;
  a.orderValue = -1;
  TaskPointRec b = a;
  b.house = "Nope";
  b.orderValue = 1;
  state.points = {a, b};
  input.pointCount = "3";
  input.orderMode = 2;
  input.cargoMode = 1;
  input.capacity = "5";
  input.returnToStart = true;
  ASSERT_EQ(outcome(next()), "passed");
  const GridTable& t = state.table1;
  ASSERT_EQ(t.rows(), 3);
  // The start point: no cargo times of its own.
  EXPECT_EQ(t.cell(0, 0), "1 (s11)");
  EXPECT_EQ(t.cell(0, 2), "Oak");
  EXPECT_EQ(t.cell(0, 4), "-");
  EXPECT_EQ(t.cell(0, 5), "-");
  EXPECT_EQ(t.cell(0, 6), "0,5");
  EXPECT_EQ(t.cell(0, 7), "");  // an empty entry stays empty
  EXPECT_EQ(t.cell(0, 8), "1");
  // The same street again is shown indented; an unknown house has no index.
  EXPECT_EQ(t.cell(1, 2), "  Oak");
  EXPECT_EQ(t.cell(1, 3), "Nope");
  EXPECT_EQ(t.cell(1, 4), "2,5");
  EXPECT_EQ(t.cell(1, 5), "4");
  EXPECT_EQ(t.cell(1, 7), "1");
  EXPECT_EQ(t.cell(1, 8), "-1");
  // A row without a record.
  EXPECT_EQ(t.cell(2, 1), "");
  EXPECT_EQ(t.cell(2, 4), "0");
  EXPECT_EQ(t.cell(2, 5), "0");
  EXPECT_EQ(t.cell(2, 8), "");
  EXPECT_EQ(state.pointChanged, (std::vector<int32_t>{1, 1, 1}));
  EXPECT_EQ(state.dbChangedByUser, 0);  // taken into the marks once
}

}  // namespace
}  // namespace qj
