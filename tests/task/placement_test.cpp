// Where the points of a level-1 task lie, the ways to and from them that steps 6 and 7 offer and
// store, and the ways a level-2 task takes from the house links.

#include "task/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

#include "reports/task_rows.h"
#include "route/solver_graph.h"
#include "support/shell_fixture.h"
#include "task/auto_transitions.h"
#include "task/from_transitions_step.h"
#include "task/task_network.h"
#include "task/to_transitions_step.h"
#include "task/transition_grid.h"

namespace qj {
namespace {

using test::level1Task;
using test::mainNetwork;

const ShellTables& texts() {
  static const ShellTables t = test::markedShell();
  return t;
}

std::string placed(TaskWizardState& st) {
  return test::checkText(placeLevel1Points(st, texts()), texts());
}

// Where point i lies: "section/reverse own distance+reverse distance direction ways-in".
std::string at(const TaskWizardState& st, int i) {
  const TaskPointRec& p = st.points[i];
  return std::to_string(p.sectionIndex) + "/" + std::to_string(p.reverseSectionIndex) + " " +
         formatReal(st.startSectionDist[i], '.') + "+" + formatReal(st.reverseSectionDist[i], '.') +
         " " + std::to_string(st.pointSectionInfo[i].direction) + " " + std::to_string(p.toCount);
}

TEST(Placement, HouseNumbersAreANumberAndALetter) {
  EXPECT_EQ(parseHouseNumber(" 12\xE0 "), (HouseNumber{12, 0xE0}));
  for (const char* bad : {"-", "\xE0", " ", "1-2", "99999999999"})
    EXPECT_FALSE(parseHouseNumber(bad));
  EXPECT_LT((HouseNumber{11, 0xFF}), (HouseNumber{12, ' '}));
}

TEST(Placement, PointsLieWhereTheirNumbersFallAndTable2ShowsTheDefaults) {
  // 3 on S0 (1-9): (3 - 1) / 8 of 100 m; 6 on S1 (10-2, descending): (10 - 6) / 8; 4 lies
  // inside 1-9 but is even: S1; 15 on S2, whose closed reverse S3 gives no way in.
  test::NetworkBuilder b = mainNetwork();
  b.db.sections[3].closed = "*";
  TaskWizardState st = level1Task(
      b.finish(), {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}, {"Main", "4", 0}});
  ASSERT_EQ(placed(st), "passed");
  EXPECT_EQ(at(st, 0) + "|" + at(st, 1) + "|" + at(st, 2) + "|" + at(st, 3),
            "0/1 25+75 0 2|2/3 100+100 0 1|1/0 50+50 1 2|1/0 75+25 1 2");
  ASSERT_EQ(st.table2.rows(), 7);
  EXPECT_EQ(test::rowText(st.table2, 0), "1|st Main, 3|1|1-9|00001|00002|100|40|S271|25|5");
  EXPECT_EQ(test::rowText(st.table2, 1), " 1||||||||S772|75|5");
  EXPECT_EQ(test::rowText(st.table2, 3), "3|st Main, 6|2|10-2|00002|00001|100|40|S271|50|5");
}

// Street "Long" of one section per range, the ranges written "from-to" and joined by blanks.
DbrnFile longStreet(const std::string& ranges) {
  test::NetworkBuilder b;
  std::istringstream in(ranges);
  int node = 10;
  for (std::string r; in >> r; ++node) {
    std::replace(r.begin(), r.end(), '_', ' ');  // "_" is a blank house number
    const size_t dash = r.find('-');
    b.section("Long", node, node + 1, r.substr(0, dash), r.substr(dash + 1), 100, 40, {});
  }
  return b.finish();
}

TaskPointRec house(const char* number) {
  return test::level1Task(DbrnFile{}, {{"Long", number, 0}}).points[0];
}

TEST(Placement, OverlappingRangesAreDecidedByTheLetters) {
  const struct {
    DbrnFile db;
    const char* house;
    int section;
  } cases[] = {
      // The range that holds the house with its letter.
      {longStreet("10-12 12\xE0-20"), "12\xE1", 1},
      {longStreet("10-12 12\xE0-20"), "12\xE0", 1},
      // None holds it: the range that ends at its number with the nearest lower letter...
      {longStreet("10-12 12\xE2-20"), "12\xE1", 0},
      {longStreet("2-12\xE0 4-12\xE1"), "12\xE2", 1},
      // ...else the one that starts there with the nearest higher letter.
      {longStreet("12\xE1-20 12\xE2-30"), "12\xE0", 0},
      {longStreet("12\xE2-30 12\xE1-20"), "12\xE0", 1},
      {longStreet("12\xE1-20 12\xE1-30"), "12\xE0", 0},  // equal starts: the first stays
      {longStreet("2-10 12\xE2-20"), "12\xE1", 1},       // an end of another number is no end
      {longStreet("20-12\xE1"), "14", 0},
  };
  for (const auto& c : cases) {
    const auto candidates = numberingCandidates(c.db, house(c.house));
    ASSERT_FALSE(candidates.empty()) << c.house;
    EXPECT_EQ(candidates[chooseCandidate(candidates, *parseHouseNumber(c.house))].section,
              c.section)
        << c.house;
  }
  // A descending range is turned round before it is compared.
  const auto c = numberingCandidates(longStreet("20-12\xE1"), house("14"));
  EXPECT_EQ(c[0].low, (HouseNumber{12, 0xE1}));
  EXPECT_EQ(c[0].high, (HouseNumber{20, ' '}));
  EXPECT_EQ(c[0].direction, 1);
  // Equal numbers: the letters give the direction.
  EXPECT_EQ(numberingCandidates(longStreet("12\xE1-12\xE0"), house("12\xE0"))[0].direction, 1);
}

TEST(Placement, AtMostFiveCandidatesAndNeverNonStandardOrUnnumberedSections) {
  DbrnFile db = longStreet("2-8 2-10 4-12 2-6 1-9 6-6 2-4 _-_");
  db.sections[1].nonStdNumbering = "*";
  // 1-9 has the other parity, 2-10 is non-standard, 6-6 ends above 4, the last has no numbers.
  std::vector<int32_t> sections;
  for (const auto& c : numberingCandidates(db, house("4"))) sections.push_back(c.section);
  EXPECT_EQ(sections, (std::vector<int32_t>{0, 2, 3, 6}));
  const DbrnFile six = longStreet("2-8 2-8 2-8 2-8 2-8 2-8");
  EXPECT_EQ(numberingCandidates(six, house("4")).size(), kMaxCandidates);

  TaskWizardState st = level1Task(longStreet("5-5"), {{"Long", "5", 0}, {"Long", "5", 0}});
  ASSERT_EQ(placed(st), "passed");  // equal bounds: the section's start
  EXPECT_EQ(at(st, 0), "0/-1 0+0 0 1");
}

TEST(Placement, PointsOnClosedSectionsOrOnNoneAreRefusedAndNothingIsChanged) {
  test::NetworkBuilder b = mainNetwork();
  b.db.sections[2].closed = "*";
  TaskWizardState st =
      level1Task(b.finish(), {{"Main", "3", 0}, {"Main", "15", 0}, {"Main", "33", 0}});
  EXPECT_EQ(placed(st), "S446 2 S29 \"st Main, 15\", S256. S32. @Table11");
  EXPECT_EQ(st.points[0].sectionIndex, -1);  // point 1 was placed, but not committed
  EXPECT_EQ(st.table2.rows(), 0);
  // A point on no section speaks after every closed section.
  st.points[0].house = "31";
  EXPECT_EQ(placed(st), "S446 2 S29 \"st Main, 15\", S256. S32. @Table11");
  st.db.sections[2].closed = "";
  EXPECT_EQ(placed(st), "S154 1 S184. @Table10");
  // With a candidate page or the options of step 4 the user is sent back to the address.
  st.header.timeFactorFlag = 1;
  EXPECT_EQ(placed(st), "S154 1 S184. S210. @Table10");
  st.points[0].house = "-";
  EXPECT_EQ(placed(st), "S154 1 S184. S210. @Table10");
}

// Point 2 without a number, its section marked on step 5 (S2 or S3, number 3 or 4).
TaskWizardState markedPoint(const char* section) {
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "-", 0}});
  st.ambiguousCount = 2;
  st.table12.setRows(2);
  for (int r = 0; r < 2; ++r) {
    st.table12.set(r, 9, "2");
    st.table12.set(r, 2, std::to_string(3 + r));
  }
  st.table12.set(std::string(section) == "3" ? 0 : 1, 8, "  *");
  return st;
}

TEST(Placement, AHouseWithoutNumberTakesTheMarkedSectionHalfWay) {
  TaskWizardState st = markedPoint("4");
  ASSERT_EQ(placed(st), "passed");
  EXPECT_EQ(at(st, 1), "3/2 100+100 -1 2");  // half of 200 m
  // A number that no standard range holds places the point half way along its marked section.
  st.points[1].house = "15";
  st.db.sections[2].nonStdNumbering = "*";  // 15 is on no standard range: marked on S3
  ASSERT_EQ(placed(st), "passed");
  EXPECT_DOUBLE_EQ(st.startSectionDist[1], 100);
  st.table12.set(1, 8, "");
  EXPECT_EQ(placed(st), "S154 2 S184. S210. @Table11");
  // A mark holds on the first and the last section, on a number beyond them as on none.
  st.table12.set(0, 8, "  *");
  std::string verdicts;
  for (const char* no : {"1", "7", "0", "8"}) {
    st.table12.set(0, 2, no);
    verdicts += placed(st) + "|";
  }
  EXPECT_EQ(verdicts, "passed|passed|S154 2 S184. S210. @Table11|S154 2 S184. S210. @Table11|");
}

TEST(Placement, StoredWaysInAreShownUnlessThePointOrItsSectionChanged) {
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
  ASSERT_EQ(placed(st), "passed");
  // As a loaded task: the user's values stored, the lists and the flag set. A workbook
  // records the points' own sections but not their reverse sections.
  const std::vector<TransitionRec> waysOut = {
      {5, 7, kFromOwnSection}, {9, 7, toPointKind(1)}, {8, 7, kFromReverseSection}};
  for (const bool workbook : {false, true}) {
    SCOPED_TRACE(workbook ? "from a workbook" : "from a task file");
    st.toTransitions[0] = {{30, 7, kToOwnSection}, {1e-9, 6, kToReverseSection}};
    st.toTransitions[1] = {{12, 4, kToReverseSection}, {11, 3, kToOwnSection}};
    st.fromTransitions[0] = waysOut;
    if (workbook)
      for (TaskPointRec& p : st.points) p.reverseSectionIndex = -1;
    st.transitionsEntered = 1;
    ASSERT_EQ(placed(st), "passed");
    // Below 1e-8 shows as 0; matched by kind, not by slot.
    std::string ways;
    for (int r = 0; r < 4; ++r) ways += st.table2.cell(r, 9) + "/" + st.table2.cell(r, 10) + " ";
    EXPECT_EQ(ways, "30/7 0/6 11/3 12/4 ");
    EXPECT_EQ(st.fromTransitions[0], waysOut);
  }
  // A recorded reverse section that is not the point's own any more (the first section of
  // all) takes the ways that need it with it.
  st.points[1].reverseSectionIndex = 0;
  st.toTransitions[1] = {{12, 4, kToReverseSection}, {11, 3, kToOwnSection}};
  ASSERT_EQ(placed(st), "passed");
  EXPECT_EQ(st.table2.cell(2, 9) + "/" + st.table2.cell(2, 10) + " " + st.table2.cell(3, 9) + "/" +
                st.table2.cell(3, 10),
            "11/3 100/5");
  // An edited address brings the defaults back, in every mode.
  st.formMode = kNewTask;
  st.pointChanged[0] = 1;
  ASSERT_EQ(placed(st), "passed");
  EXPECT_EQ(st.table2.cell(0, 9) + "/" + st.table2.cell(0, 10), "25/5");
  EXPECT_EQ(st.table2.cell(2, 9), "11");
  EXPECT_EQ(st.pointChanged, (std::vector<int32_t>{0, 0}));  // applied once
}

TEST(Placement, AMovedPointLosesTheWaysThatReferToItsOldSections) {
  // Also when the task came from a workbook, which records no reverse sections.
  for (const bool workbook : {false, true}) {
    SCOPED_TRACE(workbook ? "from a workbook" : "from a task file");
    TaskWizardState st = markedPoint("3");
    ASSERT_EQ(placed(st), "passed");
    st.toTransitions[1] = {{44, 9, kToOwnSection}, {55, 9, kToReverseSection}};
    st.fromTransitions[0] = {
        {1, 1, kFromOwnSection}, {2, 2, toPointKind(1)}, {6, 6, toPointKind(2)}};
    st.fromTransitions[1] = {{3, 3, kFromOwnSection}, {4, 4, kFromReverseSection}};
    st.fromTransitions.push_back({{5, 5, kFromOwnSection}});  // of a point that is no more
    if (workbook)
      for (TaskPointRec& p : st.points) p.reverseSectionIndex = -1;
    st.transitionsEntered = 1;
    // The mark moves to S3: every stored way of point 2 and every way into it is gone.
    st.table12.set(0, 8, "");
    st.table12.set(1, 8, "  *");
    ASSERT_EQ(placed(st), "passed");
    EXPECT_EQ(st.points[1].sectionIndex, 3);
    EXPECT_EQ(st.table2.cell(2, 9) + "/" + st.table2.cell(2, 10) + " " + st.table2.cell(3, 9) +
                  "/" + st.table2.cell(3, 10),
              "100/5 100/5");
    EXPECT_EQ(st.fromTransitions[0], (std::vector<TransitionRec>{{1, 1, kFromOwnSection}}));
    EXPECT_TRUE(st.fromTransitions[1].empty() && st.fromTransitions.back().empty());
  }
}

TaskWizardState placedOn(test::NetworkBuilder b, std::initializer_list<test::PointSpec> points) {
  TaskWizardState st = level1Task(b.finish(), points);
  EXPECT_TRUE(placeLevel1Points(st, texts()).passed());
  return st;
}

// Points 3 (S0), 15 (S2), 6 (S1); Table2 rows: 0-1 point 1 (own, reverse), 2-3 point 2, 4-5
// point 3. With `step7` Table3 rows: 0-2 point 1 (end of S0, to point 3, end of S1), 3-4 point 2
// (ends of S2, S3), 5-7 point 3 (end of S1, to point 1, end of S0).
TaskWizardState threePoints(bool step7) {
  TaskWizardState st =
      placedOn(mainNetwork(), {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}});
  if (step7) {
    EXPECT_EQ(checkStep6(st, texts()).next, WizardNext::ShowStep7Page);
  }
  return st;
}

TEST(TransitionGrids, RowChecksInTheirOrder) {
  const struct {
    bool table3;
    int row;
    const char *dist, *speed, *message;
    int column;  // of the cell the refusal names
  } cases[] = {
      {false, 0, "", "", "S288 1.", 9},  // the distance speaks before the speed
      {false, 1, " ", "5", "S287  1.", 9},
      {false, 2, "1,2,3", "", "S352 2.", 9},
      {false, 0, "100", "400", "", -1},  // bounds: the length of S0 and 10 x its 40 km/h
      {false, 0, "100,0001", "5", "S619 1, S238 (= 100 s22), S742.", 9},
      {false, 1, "100,0001", "5", "S619 1, S237 (= 100 s22), S742.", 9},
      {false, 3, "200", "800", "", -1},  // the reverse of point 2 is S3: 200 m, 80 km/h
      {false, 2, "0", "5", "", -1},
      {false, 0, "10", "", "S285 1.", 10},
      {false, 1, "10", "", "S284  1.", 10},
      {false, 0, "10", "0", "S890 1.", 10},
      {false, 0, "10", "400,001", "S620 1, S621 (= 40 s15), S742.", 10},
      {false, 3, "10", "800,001", "S620 2, S234 (= 80 s15), S742.", 10},
      {true, 0, "", "", "S456 1.", 9},
      {true, 1, "", "5", "S456  1.", 9},
      {true, 1, "5", "", "S457  1.", 10},
      {true, 6, "5", "-1", "S353  3.", 10},
      // A way to another point is bound by the point's own section, the way to the reverse
      // section's end by the reverse.
      {true, 1, "100", "400", "", -1},
      {true, 1, "100,0001", "5", "S619 1, S238 (= 100 s22), S742.", 9},
      {true, 4, "200", "800", "", -1},
      {true, 4, "200,0001", "5", "S619 2, S237 (= 200 s22), S742.", 9},
      {true, 4, "20", "800,001", "S620 2, S234 (= 80 s15), S742.", 10},
      {true, 3, "20", "400,001", "S620 2, S621 (= 40 s15), S742.", 10},
      {true, 7, "20", "0,0", "S890  3.", 10},
  };
  for (const auto& c : cases) {
    TaskWizardState st = threePoints(c.table3);
    GridTable& grid = c.table3 ? st.table3 : st.table2;
    grid.set(c.row, 9, c.dist);
    grid.set(c.row, 10, c.speed);
    const StepCheck check = c.table3 ? checkTable3Rows(st) : checkTable2Rows(st);
    const std::string text = check.message ? check.message->text.resolve(texts()) : "";
    EXPECT_EQ(text, c.message) << c.row << " " << c.dist << " " << c.speed;
    if (*c.message) {
      EXPECT_EQ(check.focus + std::to_string(check.row) + ":" + std::to_string(check.column),
                (c.table3 ? "Table3" : "Table2") + std::to_string(c.row) + ":" +
                    std::to_string(c.column));
    }
  }
}

// A database keeps the separator its numbers were typed with; the wizard shows them, and the
// messages that quote them, with the separator in use, as it shows the distances it computes.
TEST(TransitionGrids, StoredLengthsAndSpeedsAreShownWithTheSeparatorInUse) {
  test::NetworkBuilder b = mainNetwork();
  std::tie(b.db.sections[0].length, b.db.sections[0].speed) = std::pair(" 100.5", "40,5");
  for (const char sep : {',', '.'}) {
    TaskWizardState st = level1Task(b.finish(), {{"Main", "3", 0}});
    st.decSep = sep;
    ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
    const auto withSep = [sep](std::string s) {
      std::replace(s.begin(), s.end(), ',', sep);
      return s;
    };
    EXPECT_EQ(test::rowText(st.table2, 0),
              "1|st Main, 3|1|1-9|00001|00002|" + withSep("100,5|40,5|S271|25,125|5"));
    st.table2.set(0, 9, "101");
    st.table2.set(0, 10, "1000");
    const StepCheck check = checkTable2Rows(st);
    EXPECT_EQ(check.message ? check.message->text.resolve(texts()) : "",
              "S619 1, S238 (= " + withSep("100,5") + " s22), S742.");
  }
}

// A kind of way has one name: the wizard's grids name each kind as the viewer's rows do (and
// so the printed report, which draws them).
TEST(TransitionGrids, EachKindIsNamedAsTheViewerNamesIt) {
  TaskWizardState st = threePoints(true);
  const TaskFile task{st.header, st.points, st.toTransitions, st.fromTransitions};
  const GridTable viewed = taskRows(task, TaskLayout::Transitions, texts(), ',');
  std::map<int32_t, std::set<std::string>> names;  // kind: the names it is shown with
  int viewedRow = 0;
  for (const bool to : {true, false}) {
    const GridTable& grid = to ? st.table2 : st.table3;
    int row = 0;
    for (const auto& list : to ? st.toTransitions : st.fromTransitions)
      for (const TransitionRec& t : list) {
        names[t.kind].insert(grid.cell(row++, 8));
        names[t.kind].insert(viewed.cell(viewedRow++, kTaskTransitionKind));
      }
    ++viewedRow;  // the dash row between the parts
  }
  const std::map<int32_t, std::set<std::string>> expected = {
      {toPointKind(0), {"s61 1"}},   {toPointKind(2), {"s61 3"}}, {kToOwnSection, {"S271"}},
      {kToReverseSection, {"S772"}}, {kFromOwnSection, {"S228"}}, {kFromReverseSection, {"S781"}}};
  EXPECT_EQ(names, expected);
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
  EXPECT_EQ(test::rowText(st.table3, 0), "1|st Main, 3|1|1-9|00001|00002|100|40|S228|60|5");
  EXPECT_EQ(test::rowText(st.table3, 1), " 1||||||||s61 3|10|5");
  EXPECT_EQ(test::rowText(st.table3, 2, 8), "S781|40|5");
  EXPECT_EQ(test::rowText(st.table3, 6, 8), "s61 1|10|5");  // point 3 to point 1: |40 - 50|
}

TEST(TransitionGrids, PointsBehindOnTheirSectionAreReachedWhileItAllowsIt) {
  // 13 and 17 on S2: 50 m and 150 m along it; two points at 15 share 100 m.
  for (bool prevClosed : {false, true}) {
    test::NetworkBuilder b = mainNetwork();
    if (prevClosed) b.db.sections[2].prevObjectsClosed = "*";
    TaskWizardState st =
        placedOn(b, {{"Main", "13", 0}, {"Main", "17", 0}, {"Main", "15", 0}, {"Main", "15", 0}});
    ASSERT_TRUE(checkStep6(st, texts()).check.passed());
    std::string kinds;
    for (int i = 1; i < 3; ++i) {
      for (const auto& t : st.fromTransitions[i]) kinds += std::to_string(t.kind) + " ";
      kinds += "| ";
    }
    EXPECT_EQ(kinds, prevClosed ? "3 4 | 3 -2 -4 4 | " : "3 -1 -3 -4 4 | 3 -1 -2 -4 4 | ");
    EXPECT_DOUBLE_EQ(st.fromTransitions[2][st.fromTransitions[2].size() - 2].dist, 0);  // 15 to 15
  }
}

TEST(TransitionGrids, EnteredWaysSurviveUntilTheirPointsAddressChanges) {
  TaskWizardState st = threePoints(true);
  for (int r = 0; r < st.table3.rows(); ++r) st.table3.set(r, 9, r == 3 ? "0,00000001" : "9");
  st.table3.set(3, 10, "0,00000001");  // the least that is not nothing
  ASSERT_TRUE(checkStep7(st).check.passed());
  // Point 1's address typed again: its ways, and point 3's way to it, start again.
  st.pointChanged[0] = 1;
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  ASSERT_TRUE(checkStep6(st, texts()).check.passed());
  std::string ways;
  for (int r = 0; r < st.table3.rows(); ++r) ways += st.table3.cell(r, 9) + " ";
  EXPECT_EQ(ways + st.table3.cell(3, 10), "75 25 25 1e-08 9 9 25 9 1e-08");
}

TEST(TransitionGrids, WaysTypedForAPointThatIsNoMoreAreForgotten) {
  TaskWizardState st = threePoints(true);
  st.table2.set(4, 9, "12");  // point 3's way in
  st.table3.set(1, 9, "9");   // point 1's way to point 3
  const TaskPointRec third = st.points[2];
  st.points.pop_back();
  st.header.pointCount = 2;
  ASSERT_EQ(placed(st), "passed");
  st.points.push_back(third);
  st.header.pointCount = 3;
  ASSERT_EQ(placed(st), "passed");
  ASSERT_TRUE(checkStep6(st, texts()).check.passed());
  EXPECT_EQ(st.table2.cell(4, 9) + "|" + st.table3.cell(1, 9), "50|25");
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

// The houses of Main on mainNetwork (links: section number, metres from the house to its exit,
// metres from the exit to the section's end):
//   H0 "3" S0 (no. 1) a 10, x 75     H1 "15" S2 (no. 3) a 5, x 100    H2 "6" yard 1 S1 a 20, x 50
//   H3 "8" yard 1, no link           H4 "9" S0 a 4, x 30; S5 (no. 6) a 8, x 10
// Reverse sections: S0 <-> S1, S2 <-> S3, S5 -> S4 (closed; the first section from 2 to 4).
test::NetworkBuilder housesOnMain() {
  test::NetworkBuilder b = test::mainNetwork("use2");
  const int32_t main = b.street("Main");
  b.db.houses = {{main, "3", 0, {{1, 10, 75}}},
                 {main, "15", 0, {{3, 5, 100}}},
                 {main, "6", 1, {{2, 20, 50}}},
                 {main, "8", 1, {}},
                 {main, "9", 0, {{1, 4, 30}, {6, 8, 10}}}};
  b.db.streetHouseCounts = {5, 0};
  return b;
}

// Points 1-5 at the houses H0-H4; point 3 takes 6 minutes, point 5 12. Point 4 has no way in
// or out: the task is usable only while it may be refused.
TaskWizardState level2Task(test::NetworkBuilder b = housesOnMain()) {
  TaskWizardState st = test::level1Task(
      b.finish(),
      {{"Main", "3", 0}, {"Main", "15", 0}, {"Main", "6", 6}, {"Main", "8", 0}, {"Main", "9", 12}});
  st.header.approachSpeed = 5;
  for (int i = 0; i < 5; ++i) st.points[i].houseIndex = i;
  st.header.refusalFlag = 1;
  st.points[3].refusalAllowed = 1;
  return st;
}

using Ways = std::vector<std::pair<int32_t, double>>;  // kind, metres

Ways ways(const std::vector<TransitionRec>& list) {
  Ways out;
  for (const auto& t : list) out.emplace_back(t.kind, t.dist);
  return out;
}

TEST(AutoTransitions, WaysFollowTheHouseLinksAndTheYards) {
  TaskWizardState st = level2Task();
  ASSERT_TRUE(autoTransitions(st).passed());
  EXPECT_EQ(st.transitionsEntered, 1);
  // Ways in: section L - x + a, reverse section x + a; H4's second link is S5, whose reverse
  // S4 is closed.
  EXPECT_EQ(ways(st.toTransitions[0]), (Ways{{1, 100 - 75 + 10}, {2, 75 + 10}}));
  EXPECT_EQ(ways(st.toTransitions[1]), (Ways{{3, 200 - 100 + 5}, {4, 100 + 5}}));
  EXPECT_EQ(ways(st.toTransitions[2]), (Ways{{2, 100 - 50 + 20}, {1, 50 + 20}}));
  EXPECT_TRUE(st.toTransitions[3].empty());
  EXPECT_EQ(ways(st.toTransitions[4]), (Ways{{1, 100 - 30 + 4}, {2, 30 + 4}, {6, 50 - 10 + 8}}));
  // Ways out: section a + x, reverse L - x + a, then the points: on the same section ahead
  // a + a' + |x - x'|, over the reverse a + a' + |L - x - x'|, in the same yard 100.
  EXPECT_EQ(ways(st.fromTransitions[0]),
            (Ways{{1, 10 + 75}, {2, 100 - 75 + 10}, {-3, 10 + 20 + 25}, {-5, 10 + 4 + 45}}));
  EXPECT_EQ(ways(st.fromTransitions[1]), (Ways{{3, 5 + 100}, {4, 200 - 100 + 5}}));
  EXPECT_EQ(
      ways(st.fromTransitions[2]),
      (Ways{{2, 20 + 50}, {1, 100 - 50 + 20}, {-1, 20 + 10 + 25}, {-4, 100}, {-5, 20 + 4 + 20}}));
  EXPECT_TRUE(st.fromTransitions[3].empty());
  EXPECT_EQ(ways(st.fromTransitions[4]),
            (Ways{{1, 4 + 30}, {2, 100 - 30 + 4}, {-1, 4 + 10 + 45}, {-3, 4 + 20 + 20}, {6, 18}}));
  std::string placed;
  for (const TaskPointRec& p : st.points)
    placed += std::to_string(p.sectionIndex) + "/" + std::to_string(p.reverseSectionIndex) + " " +
              std::to_string(p.toCount) + std::to_string(p.fromCount) + " ";
  EXPECT_EQ(placed, "0/1 24 2/3 22 1/0 25 -1/-1 00 -1/-1 35 ");
  EXPECT_DOUBLE_EQ(st.toTransitions[4][2].speed, 5);
}

TEST(AutoTransitions, PricesAndTheGraph) {
  TaskWizardState st = level2Task();
  ASSERT_TRUE(autoTransitions(st).passed());
  // At 5 km/h with 2 per km and 10 per hour: time d / 5000 h, cost 0.004 d; ways onto the
  // network cost 0.1 % more.
  EXPECT_NEAR(st.fromTransitions[0][0].time, 0.017, 1e-9);
  EXPECT_NEAR(st.fromTransitions[0][0].cost, 0.34 * 1.001, 1e-9);
  EXPECT_NEAR(st.fromTransitions[0][2].cost, 0.22, 1e-9);  // straight to point 3
  EXPECT_NEAR(st.toTransitions[0][0].cost, 0.14, 1e-9);
  // S4 -> S5, then into P5 over S5: 48 m + 12 minutes.
  EXPECT_EQ(st.arcs[4][1].target, 7 + 4);
  EXPECT_NEAR(st.arcs[4][1].time, 0.2096, 1e-9);
  EXPECT_NEAR(st.arcs[4][1].cost, 2.192, 1e-9);
  // Sections: their successors and the ways into points over them.
  const SolverInput input = solverInputOf(st);
  EXPECT_EQ(input.arcCounts, (std::vector<int32_t>{6, 4, 2, 4, 2, 6, 2, 4, 2, 5, 0, 5}));
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(st.sectionVertices[i].arcCount, input.arcCounts[i]);
  EXPECT_EQ(std::accumulate(input.arcCounts.begin(), input.arcCounts.end(), size_t{0}),
            input.arcs.size());

  st = level2Task();
  st.header.finePerKm = st.header.finePerHour = 0;
  ASSERT_TRUE(autoTransitions(st).passed());
  EXPECT_DOUBLE_EQ(st.fromTransitions[0][0].cost, 1e-4);  // onto the network: never free
  EXPECT_DOUBLE_EQ(st.fromTransitions[0][2].cost, 0);
  EXPECT_DOUBLE_EQ(st.toTransitions[0][0].cost, 0);
}

TEST(AutoTransitions, ClosedSectionsFlagsAndExtraLinksChangeTheWays) {
  test::NetworkBuilder b = housesOnMain();
  b.db.sections[0].prevObjectsClosed = "*";   // S0
  b.db.sections[2].closed = "*";              // S2, H1's only link
  b.db.houses[2].links.push_back({6, 1, 1});  // H2 gets a second exit
  TaskWizardState st = level2Task(b);
  ASSERT_TRUE(autoTransitions(st).passed());
  // H4 lies behind H0 on S0: no longer reached from it, but H0 still reaches H4 ahead; H4
  // reaches H2 over both of its links.
  EXPECT_EQ(ways(st.fromTransitions[4]),
            (Ways{{1, 34}, {2, 74}, {-3, 44}, {6, 18}, {-3, 8 + 1 + 9}}));
  EXPECT_EQ(ways(st.fromTransitions[0]).back(), (std::pair<int32_t, double>{-5, 59}));
  // The closed S2 gives neither way; its open reverse S3 still does.
  EXPECT_EQ(ways(st.toTransitions[1]), (Ways{{4, 105}}));
  EXPECT_EQ(ways(st.fromTransitions[1]), (Ways{{4, 105}}));
  // A yard way per link of the starting house; two links: no single section.
  EXPECT_EQ(std::count_if(st.fromTransitions[2].begin(), st.fromTransitions[2].end(),
                          [](const TransitionRec& t) { return t.kind == -4; }),
            2);
  EXPECT_EQ(st.points[2].sectionIndex, -1);
}

TEST(AutoTransitions, PointsThatCannotBeUsedAreRefused) {
  const ShellTables texts = test::markedShell();
  TaskWizardState st = level2Task();
  st.points[3].refusalAllowed = 0;  // point 4 must be served but cannot be reached
  const StepCheck c = autoTransitions(st);
  EXPECT_EQ(test::checkText(c, texts), "S154 4 S184. @Table13");
  // The end point must be reached and the start point left, refusals or not; a house index
  // outside the database has no links.
  const std::pair<std::function<void(TaskWizardState&)>, int> cases[] = {
      {[](TaskWizardState& s) { s.header.endPoint = 4; }, 3},
      {[](TaskWizardState& s) { s.header.startPoint = 4; }, 3},
      {[](TaskWizardState& s) { s.points[0].houseIndex = 99; }, 0},
      {[](TaskWizardState& s) { s.points[0].houseIndex = -1; }, 0}};
  for (const auto& [change, row] : cases) {
    st = level2Task();
    change(st);
    EXPECT_EQ(autoTransitions(st).row, row);
  }
}

}  // namespace
}  // namespace qj
