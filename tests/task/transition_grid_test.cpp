#include "task/transition_grid.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "task/from_transitions_step.h"
#include "task/placement.h"
#include "task/task_network.h"
#include "task/to_transitions_step.h"

namespace qj {
namespace {

using test::level1Task;
using test::mainNetwork;

const ShellTables& texts() {
  static const ShellTables t = test::markedShell();
  return t;
}

std::string messageOf(const StepCheck& c) {
  return c.message ? c.message->text.resolve(texts()) : std::string();
}

std::vector<std::string> row(const GridTable& g, int r) {
  std::vector<std::string> cells;
  for (int c = 0; c < g.columns(); ++c) cells.push_back(g.cell(r, c));
  return cells;
}

// Points 3 (S0), 15 (S2), 6 (S1) placed; Table2 rows: 0-1 point 1 (own, reverse), 2-3 point 2,
// 4-5 point 3. After step 6, Table3 rows: 0-2 point 1 (end of S0, to point 3, end of S1), 3-4
// point 2 (ends of S2, S3), 5-7 point 3 (end of S1, to point 1, end of S0).
TaskWizardState atStep6(test::NetworkBuilder b = mainNetwork()) {
  TaskWizardState st =
      level1Task(b.finish(), {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}});
  EXPECT_TRUE(placeLevel1Points(st, texts()).passed());
  return st;
}

TaskWizardState atStep7() {
  TaskWizardState st = atStep6();
  EXPECT_EQ(checkStep6(st, texts()).next, WizardNext::ShowStep7Page);
  return st;
}

struct RowCase {
  int row;
  const char* dist;
  const char* speed;
  const char* message;  // empty: the row passes
};

void expectRowChecks(TaskWizardState (*make)(), bool table2, std::initializer_list<RowCase> cases) {
  for (const RowCase& c : cases) {
    TaskWizardState st = make();
    GridTable& grid = table2 ? st.table2 : st.table3;
    grid.set(c.row, 9, c.dist);
    grid.set(c.row, 10, c.speed);
    const StepCheck check = table2 ? checkTable2Rows(st) : checkTable3Rows(st);
    SCOPED_TRACE(std::string("row ") + std::to_string(c.row) + " \"" + c.dist + "\" \"" + c.speed +
                 "\"");
    EXPECT_EQ(messageOf(check), c.message);
    if (*c.message) {
      EXPECT_EQ(check.row, c.row);
      EXPECT_EQ(check.focus, table2 ? "Table2" : "Table3");
    }
  }
}

TaskWizardState step6Default() {
  return atStep6();
}

TEST(TransitionsStep6, RowChecksInTheirOrder) {
  expectRowChecks(step6Default, true,
                  {
                      {0, "", "", "S288 1."},  // the distance speaks before the speed
                      {1, " ", "5", "S287  1."},
                      {2, "1,2,3", "", "S352 2."},
                      {0, "100", "400", ""},  // bounds: length of S0 and 10 x its 40 km/h
                      {0, "100,0001", "5", "S619 1, S238 (= 100 s22), S742."},
                      {1, "100,0001", "5", "S619 1, S237 (= 100 s22), S742."},
                      {3, "200", "800", ""},  // reverse of point 2 is S3: 200 m, 80 km/h
                      {0, "10", "", "S285 1."},
                      {1, "10", "", "S284  1."},
                      {0, "10", ",", "S353 1."},
                      {0, "10", "0", "S890 1."},
                      {0, "10", "400,001", "S620 1, S621 (= 40 s15), S742."},
                      {3, "10", "800,001", "S620 2, S234 (= 80 s15), S742."},
                  });
}

TEST(TransitionsStep6, TheFirstFailingRowIsReportedAndNothingIsStored) {
  TaskWizardState st = atStep6();
  st.table2.set(4, 10, "");
  st.table2.set(2, 9, "");
  st.table2.set(0, 9, "12");
  const StepOutcome out = checkStep6(st, texts());
  EXPECT_EQ(out.check.row, 2);
  EXPECT_EQ(out.next, WizardNext::Stay);
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 25);
  EXPECT_EQ(st.table3.rows(), 0);
  EXPECT_EQ(st.wizardStep, 1);
}

TEST(TransitionsStep6, StoresTheWaysInAndOffersTheWaysOutWithTheirDefaults) {
  TaskWizardState st = atStep6();
  st.table2.set(0, 9, "40");  // point 1 now 40 m along S0
  st.table2.set(1, 9, "60");  // and 60 m along S1
  st.table2.set(1, 10, "7,5");
  const StepOutcome out = checkStep6(st, texts());
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::ShowStep7Page);
  EXPECT_EQ(st.wizardStep, 7);
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 40);
  EXPECT_DOUBLE_EQ(st.reverseSectionDist[0], 60);
  EXPECT_EQ(st.toTransitions[0][1], (TransitionRec{60, 7.5, kToReverseSection}));

  EXPECT_EQ(st.points[0].fromCount, 3);
  EXPECT_EQ(st.points[1].fromCount, 2);
  EXPECT_EQ(st.points[2].fromCount, 3);
  ASSERT_EQ(st.table3.rows(), 8);
  // Point 1: end of S0 100 - 40 = 60; to point 3 (50 m along S1) |50 - 60| = 10; end of S1
  // 100 - 60 = 40.
  EXPECT_EQ(row(st.table3, 0), (std::vector<std::string>{"1", "st Main, 3", "1", "1-9", "00001",
                                                         "00002", "100", "40", "S773", "60", "5"}));
  EXPECT_EQ(row(st.table3, 1),
            (std::vector<std::string>{" 1", "", "", "", "", "", "", "", "s61 3", "10", "5"}));
  EXPECT_EQ(row(st.table3, 2)[8], "S781");
  EXPECT_EQ(row(st.table3, 2)[9], "40");
  // Point 3 to point 1: |40 - 50| = 10.
  EXPECT_EQ(row(st.table3, 6)[8], "s61 1");
  EXPECT_EQ(row(st.table3, 6)[9], "10");
}

TEST(TransitionsStep6, PointsAlongOneSection) {
  // 13 and 17 on S2: 50 m and 150 m along it; two points at 15 share 100 m.
  for (bool prevClosed : {false, true}) {
    test::NetworkBuilder b = mainNetwork();
    if (prevClosed) b.db.sections[2].prevObjectsClosed = "*";
    TaskWizardState st = level1Task(
        b.finish(), {{"Main", "13", 0}, {"Main", "17", 0}, {"Main", "15", 0}, {"Main", "15", 0}});
    ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
    ASSERT_TRUE(checkStep6(st, texts()).check.passed());
    std::vector<int32_t> kinds1, kinds2;
    for (const auto& t : st.fromTransitions[1]) kinds1.push_back(t.kind);
    for (const auto& t : st.fromTransitions[2]) kinds2.push_back(t.kind);
    // Point 1 (50 m) reaches everything ahead of it.
    EXPECT_EQ(st.fromTransitions[0].size(), 5u);
    // Point 2 (150 m) has the others behind it: only while S2 lets objects behind be reached.
    if (prevClosed)
      EXPECT_EQ(kinds1, (std::vector<int32_t>{3, 4}));
    else
      EXPECT_EQ(kinds1, (std::vector<int32_t>{3, -1, -3, -4, 4}));
    // Points 3 and 4 at the same 100 m reach each other at distance 0.
    EXPECT_EQ(kinds2, prevClosed ? (std::vector<int32_t>{3, -2, -4, 4})
                                 : (std::vector<int32_t>{3, -1, -2, -4, 4}));
    EXPECT_DOUBLE_EQ(st.fromTransitions[2][kinds2.size() - 2].dist, 0);
  }
}

TEST(TransitionsStep6, WaysOverTheReverseSectionNeedItOpen) {
  test::NetworkBuilder closedReverse = mainNetwork();
  closedReverse.db.sections[1].closed = "*";  // S1, the reverse of point 1's S0
  TaskWizardState st = level1Task(closedReverse.finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  ASSERT_TRUE(checkStep6(st, texts()).check.passed());
  EXPECT_EQ(st.points[0].fromCount, 1);  // no way off over S1, and none into it

  test::NetworkBuilder objects = mainNetwork();
  objects.db.sections[0].reverseObjectsClosed = "*";
  st = level1Task(objects.finish(), {{"Main", "3", 0}, {"Main", "6", 0}});
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  ASSERT_TRUE(checkStep6(st, texts()).check.passed());
  EXPECT_EQ(st.points[0].fromCount, 1);  // point 2 lies on S1, across from point 1
  EXPECT_EQ(st.points[1].fromCount, 3);  // point 2 still reaches point 1 over S0
}

TaskWizardState step7Default() {
  return atStep7();
}

TEST(TransitionsStep7, RowChecksInTheirOrder) {
  expectRowChecks(step7Default, false,
                  {
                      {0, "", "", "S456 1."},
                      {1, "", "5", "S456  1."},
                      {1, "5", "", "S457  1."},
                      {5, "x", "5", "S352 3."},
                      {6, "5", "-1", "S353  3."},
                      // A way to another point is bound by the point's own section (S1 for
                      // point 3), the way to the reverse section's end by the reverse.
                      {1, "100", "400", ""},
                      {1, "100,0001", "5", "S619 1, S238 (= 100 s22), S742."},
                      {4, "200", "800", ""},
                      {4, "200,0001", "5", "S619 2, S237 (= 200 s22), S742."},
                      {4, "20", "800,001", "S620 2, S234 (= 80 s15), S742."},
                      {3, "20", "400,001", "S620 2, S621 (= 40 s15), S742."},
                      {7, "20", "0,0", "S890  3."},
                  });
}

TEST(TransitionsStep7, StoresPricesAndMovesToTheSummary) {
  TaskWizardState st = atStep7();
  st.table3.set(1, 9, "30");
  st.table3.set(1, 10, "6");
  const StepOutcome out = checkStep7(st);
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(out.next, WizardNext::ShowSummary);
  EXPECT_EQ(st.wizardStep, 8);
  EXPECT_EQ(st.transitionsEntered, 1);
  const TransitionRec& t = st.fromTransitions[0][1];
  EXPECT_DOUBLE_EQ(t.dist, 30);
  EXPECT_DOUBLE_EQ(t.speed, 6);
  // 0.03 km at 6 km/h = 0.005 h; 2 x 0.03 + 10 x 0.005 = 0.11.
  EXPECT_NEAR(t.time, 0.005, 1e-9);
  EXPECT_NEAR(t.cost, 0.11, 1e-9);
  EXPECT_EQ(st.arcs.size(), 10u);
}

TEST(TransitionsStep7, EnteredWaysSurviveBackAndNextUntilTheirPointsAddressChanges) {
  TaskWizardState st = atStep7();
  for (int r = 0; r < st.table3.rows(); ++r) st.table3.set(r, 9, "9");
  ASSERT_TRUE(checkStep7(st).check.passed());

  // Back to step 6, where the user changes point 1's way in, and Next: the ways out come back
  // as entered; back to step 5 and Next: so does the way in.
  st.table2.set(0, 9, "7");
  st.table2.set(0, 10, "4");
  ASSERT_TRUE(checkStep6(st, texts()).check.passed());
  for (int r = 0; r < st.table3.rows(); ++r) EXPECT_EQ(st.table3.cell(r, 9), "9") << r;
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(row(st.table2, 0)[9], "7");
  EXPECT_EQ(row(st.table2, 0)[10], "4");

  // Point 1's address typed again on page 3: its ways, and point 3's way to it, start again.
  st.pointChanged[0] = 1;
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(row(st.table2, 0)[9], "25");
  EXPECT_EQ(row(st.table2, 0)[10], "5");
  EXPECT_EQ(st.pointChanged, (std::vector<int32_t>{0, 0, 0}));  // applied once
  ASSERT_TRUE(checkStep6(st, texts()).check.passed());
  const std::vector<std::string> want{"75", "25", "25", "9", "9", "9", "25", "9"};
  for (int r = 0; r < st.table3.rows(); ++r) EXPECT_EQ(st.table3.cell(r, 9), want[r]) << r;
}

TEST(TransitionGrid, OnlyDistancesAndSpeedsAreTyped) {
  TransitionGridRules rules(',');
  GridTable g(11);
  g.setRows(1);
  for (int c = 0; c < 11; ++c) EXPECT_EQ(rules.typable(g, 0, c), c == 9 || c == 10) << c;
  EXPECT_TRUE(rules.accepts(g, 0, 9, "12,5"));
  EXPECT_TRUE(rules.accepts(g, 0, 10, "123456"));
  EXPECT_TRUE(rules.accepts(g, 0, 10, ""));
  EXPECT_FALSE(rules.accepts(g, 0, 10, "1234567"));
  EXPECT_FALSE(rules.accepts(g, 0, 9, "12.5"));
  EXPECT_FALSE(rules.accepts(g, 0, 9, "-1"));
  EXPECT_FALSE(rules.accepts(g, 0, 8, "1"));
  // A long default may be shortened, never lengthened.
  g.set(0, 9, "33,3333333333333");
  EXPECT_TRUE(rules.accepts(g, 0, 9, "33,333333333333"));
  EXPECT_FALSE(rules.accepts(g, 0, 9, "33,33333333333333"));
}

}  // namespace
}  // namespace qj
