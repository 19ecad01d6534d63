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

std::vector<int32_t> kinds(const std::vector<TransitionRec>& list) {
  std::vector<int32_t> out;
  for (const auto& t : list) out.push_back(t.kind);
  return out;
}

TaskWizardState placed(test::NetworkBuilder b, std::initializer_list<test::PointSpec> points) {
  TaskWizardState st = level1Task(b.finish(), points);
  EXPECT_TRUE(placeLevel1Points(st, texts()).passed());
  return st;
}

// Points 3 (S0), 15 (S2), 6 (S1); Table2 rows: 0-1 point 1 (own, reverse), 2-3 point 2, 4-5
// point 3. With `step7` Table3 rows: 0-2 point 1 (end of S0, to point 3, end of S1), 3-4 point 2
// (ends of S2, S3), 5-7 point 3 (end of S1, to point 1, end of S0).
TaskWizardState threePoints(bool step7) {
  TaskWizardState st =
      placed(mainNetwork(), {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}});
  if (step7) EXPECT_EQ(checkStep6(st, texts()).next, WizardNext::ShowStep7Page);
  return st;
}

TEST(TransitionGrids, RowChecksInTheirOrder) {
  const struct {
    bool table3;
    int row;
    const char *dist, *speed, *message;
  } cases[] = {
      {false, 0, "", "", "S288 1."},  // the distance speaks before the speed
      {false, 1, " ", "5", "S287  1."},
      {false, 2, "1,2,3", "", "S352 2."},
      {false, 0, "100", "400", ""},  // bounds: the length of S0 and 10 x its 40 km/h
      {false, 0, "100,0001", "5", "S619 1, S238 (= 100 s22), S742."},
      {false, 1, "100,0001", "5", "S619 1, S237 (= 100 s22), S742."},
      {false, 3, "200", "800", ""},  // the reverse of point 2 is S3: 200 m, 80 km/h
      {false, 0, "10", "", "S285 1."},
      {false, 1, "10", "", "S284  1."},
      {false, 0, "10", ",", "S353 1."},
      {false, 0, "10", "0", "S890 1."},
      {false, 0, "10", "400,001", "S620 1, S621 (= 40 s15), S742."},
      {false, 3, "10", "800,001", "S620 2, S234 (= 80 s15), S742."},
      {true, 0, "", "", "S456 1."},
      {true, 1, "", "5", "S456  1."},
      {true, 1, "5", "", "S457  1."},
      {true, 5, "x", "5", "S352 3."},
      {true, 6, "5", "-1", "S353  3."},
      // A way to another point is bound by the point's own section, the way to the reverse
      // section's end by the reverse.
      {true, 1, "100", "400", ""},
      {true, 1, "100,0001", "5", "S619 1, S238 (= 100 s22), S742."},
      {true, 4, "200", "800", ""},
      {true, 4, "200,0001", "5", "S619 2, S237 (= 200 s22), S742."},
      {true, 4, "20", "800,001", "S620 2, S234 (= 80 s15), S742."},
      {true, 3, "20", "400,001", "S620 2, S621 (= 40 s15), S742."},
      {true, 7, "20", "0,0", "S890  3."},
  };
  for (const auto& c : cases) {
    TaskWizardState st = threePoints(c.table3);
    GridTable& grid = c.table3 ? st.table3 : st.table2;
    grid.set(c.row, 9, c.dist);
    grid.set(c.row, 10, c.speed);
    const StepCheck check = c.table3 ? checkTable3Rows(st) : checkTable2Rows(st);
    const std::string text = check.message ? check.message->text.resolve(texts()) : "";
    EXPECT_EQ(text, c.message) << c.row << " " << c.dist << " " << c.speed;
    if (*c.message)
      EXPECT_EQ(check.focus + std::to_string(check.row),
                (c.table3 ? "Table3" : "Table2") + std::to_string(c.row));
  }
}

TEST(TransitionGrids, Step6StoresTheWaysInAndOffersTheWaysOut) {
  TaskWizardState st = threePoints(false);
  st.table2.set(4, 10, "");
  st.table2.set(2, 9, "");
  st.table2.set(0, 9, "12");
  StepOutcome out = checkStep6(st, texts());
  EXPECT_EQ(out.check.row, 2);  // the first failing row; nothing is stored
  EXPECT_EQ(st.startSectionDist[0] + st.table3.rows(), 25);

  st = threePoints(false);
  st.table2.set(0, 9, "40");  // point 1 now 40 m along S0
  st.table2.set(1, 9, "60");  // and 60 m along S1
  st.table2.set(1, 10, "7,5");
  out = checkStep6(st, texts());
  ASSERT_TRUE(out.check.passed());
  EXPECT_EQ(st.wizardStep, 7);
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 40);
  EXPECT_DOUBLE_EQ(st.reverseSectionDist[0], 60);
  EXPECT_EQ(st.toTransitions[0][1], (TransitionRec{60, 7.5, kToReverseSection}));
  EXPECT_EQ(st.points[0].fromCount * 100 + st.points[1].fromCount * 10 + st.points[2].fromCount,
            323);
  ASSERT_EQ(st.table3.rows(), 8);
  // Point 1: end of S0 100 - 40; to point 3 (50 m along S1) |50 - 60|; end of S1 100 - 60.
  EXPECT_EQ(test::rowText(st.table3, 0), "1|st Main, 3|1|1-9|00001|00002|100|40|S773|60|5");
  EXPECT_EQ(test::rowText(st.table3, 1), " 1||||||||s61 3|10|5");
  EXPECT_EQ(test::rowText(st.table3, 2, 8), "S781|40|5");
  EXPECT_EQ(test::rowText(st.table3, 6, 8), "s61 1|10|5");  // point 3 to point 1: |40 - 50|
}

TEST(TransitionGrids, Step7PricesTheWaysAndBuildsTheGraph) {
  TaskWizardState st = threePoints(true);
  st.table3.set(1, 9, "30");
  st.table3.set(1, 10, "6");
  ASSERT_TRUE(checkStep7(st).check.passed());
  EXPECT_EQ(st.wizardStep * 10 + st.transitionsEntered, 81);
  const TransitionRec& t = st.fromTransitions[0][1];
  EXPECT_EQ(t.dist * 10 + t.speed, 306);
  // 0.03 km at 6 km/h = 0.005 h; 2 x 0.03 + 10 x 0.005 = 0.11.
  EXPECT_NEAR(t.time, 0.005, 1e-9);
  EXPECT_NEAR(t.cost, 0.11, 1e-9);
  EXPECT_EQ(st.arcs.size(), 10u);
}

TEST(TransitionGrids, OnlyDistancesAndSpeedsAreTyped) {
  TransitionGridRules rules(',');
  GridTable g(11);
  g.setRows(1);
  for (int c = 0; c < 11; ++c) EXPECT_EQ(rules.typable(g, 0, c), c == 9 || c == 10) << c;
  EXPECT_TRUE(rules.accepts(g, 0, 10, "123456") && rules.accepts(g, 0, 9, "12,5"));
  EXPECT_FALSE(rules.accepts(g, 0, 10, "1234567") || rules.accepts(g, 0, 9, "12.5") ||
               rules.accepts(g, 0, 9, "-1") || rules.accepts(g, 0, 8, "1"));
  // A long default may be shortened, never lengthened.
  g.set(0, 9, "33,3333333333333");
  EXPECT_TRUE(rules.accepts(g, 0, 9, "33,333333333333") && rules.accepts(g, 0, 9, g.cell(0, 9)));
  EXPECT_FALSE(rules.accepts(g, 0, 9, "33,33333333333333"));
}

}  // namespace
}  // namespace qj
