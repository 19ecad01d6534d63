#include "task/placement.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/shell_fixture.h"
#include "task/task_network.h"
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
  const StepCheck c = placeLevel1Points(st, texts());
  if (c.passed()) return "passed";
  return c.message->text.resolve(texts()) + " @" + c.focus + " " + std::to_string(c.row);
}

TEST(Placement, HouseNumbersAreANumberAndALetter) {
  EXPECT_EQ(parseHouseNumber(" 12\xE0 "), (HouseNumber{12, 0xE0}));
  for (const char* bad : {"-", "\xE0", " ", "1-2", "99999999999"})
    EXPECT_FALSE(parseHouseNumber(bad));
  EXPECT_LT((HouseNumber{11, 0xFF}), (HouseNumber{12, ' '}));
}

TEST(Placement, PointsLieWhereTheirNumbersFallAndTable2ShowsTheDefaults) {
  // 3 on S0 (1-9): (3 - 1) / 8 of 100 m; 6 on S1 (10-2, descending): (10 - 6) / 8; 4 lies
  // inside 1-9 but is even: S1; 15 on S2.
  TaskWizardState st =
      level1Task(mainNetwork().finish(),
                 {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}, {"Main", "4", 0}});
  ASSERT_EQ(placed(st), "passed");
  const std::vector<std::array<double, 4>> want{
      {0, 1, 25, 75}, {2, 3, 100, 100}, {1, 0, 50, 50}, {1, 0, 75, 25}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(st.points[i].sectionIndex, want[i][0]) << i;
    EXPECT_EQ(st.points[i].reverseSectionIndex, want[i][1]) << i;
    EXPECT_DOUBLE_EQ(st.startSectionDist[i], want[i][2]) << i;
    EXPECT_DOUBLE_EQ(st.reverseSectionDist[i], want[i][3]) << i;
    EXPECT_EQ(st.points[i].toCount, 2);
  }
  EXPECT_EQ(st.pointSectionInfo[2].direction * 10 + st.pointSectionInfo[0].direction, 10);
  ASSERT_EQ(st.table2.rows(), 8);
  EXPECT_EQ(test::rowText(st.table2, 0), "1|st Main, 3|1|1-9|00001|00002|100|40|S271|25|5");
  EXPECT_EQ(test::rowText(st.table2, 1), " 1||||||||S772|75|5");
  EXPECT_EQ(test::rowText(st.table2, 4), "3|st Main, 6|2|10-2|00002|00001|100|40|S271|50|5");
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
      // None holds it: the range that ends at its number with the nearest lower letter...
      {longStreet("10-12 12\xE2-20"), "12\xE1", 0},
      {longStreet("2-12\xE0 4-12\xE1"), "12\xE2", 1},
      // ...else the one that starts there with the nearest higher letter.
      {longStreet("12\xE1-20 12\xE2-30"), "12\xE0", 0},
      {longStreet("12\xE2-30 12\xE1-20"), "12\xE0", 1},
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
  const auto c = numberingCandidates(cases[5].db, house("14"));
  EXPECT_EQ(c[0].low, (HouseNumber{12, 0xE1}));
  EXPECT_EQ(c[0].high, (HouseNumber{20, ' '}));
  EXPECT_EQ(c[0].direction, 1);
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
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 0);
  EXPECT_EQ(st.points[0].reverseSectionIndex, -1);
  EXPECT_EQ(st.points[0].toCount, 1);
}

TEST(Placement, PointsOnClosedSectionsOrOnNoneAreRefusedAndNothingIsChanged) {
  test::NetworkBuilder b = mainNetwork();
  b.db.sections[2].closed = "*";
  TaskWizardState st =
      level1Task(b.finish(), {{"Main", "3", 0}, {"Main", "15", 0}, {"Main", "33", 0}});
  EXPECT_EQ(placed(st), "S446 2 S29 \"st Main, 15\", S256. S32. @Table1 1");
  EXPECT_EQ(st.points[0].sectionIndex, -1);  // point 1 was placed, but not committed
  EXPECT_EQ(st.table2.rows(), 0);
  // A point on no section speaks after every closed section.
  st.points[0].house = "31";
  EXPECT_EQ(placed(st), "S446 2 S29 \"st Main, 15\", S256. S32. @Table1 1");
  st.db.sections[2].closed = "";
  EXPECT_EQ(placed(st), "S154 1 S184. @Table1 0");
  // With a candidate page or the options of step 4 the user is sent back to the address.
  st.header.timeFactorFlag = 1;
  EXPECT_EQ(placed(st), "S154 1 S184. S210. @Table1 0");
  st.points[0].house = "-";
  EXPECT_EQ(placed(st), "S154 1 S184. S210. @Table1 0");
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
  EXPECT_EQ(st.points[1].sectionIndex, 3);
  EXPECT_EQ(st.points[1].reverseSectionIndex, 2);
  EXPECT_EQ(st.pointSectionInfo[1].direction, -1);
  EXPECT_DOUBLE_EQ(st.startSectionDist[1], 100);  // half of 200 m
  EXPECT_DOUBLE_EQ(st.reverseSectionDist[1], 100);
  // A number that no standard range holds places the point half way along its marked section.
  st.points[1].house = "15";
  st.db.sections[2].nonStdNumbering = "*";  // 15 is on no standard range: marked on S3
  ASSERT_EQ(placed(st), "passed");
  EXPECT_DOUBLE_EQ(st.startSectionDist[1], 100);
  st.table12.set(1, 8, "");
  EXPECT_EQ(placed(st), "S154 2 S184. S210. @Table1 1");
}

TEST(Placement, StoredWaysInAreShownUnlessThePointOrItsSectionChanged) {
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
  ASSERT_EQ(placed(st), "passed");
  // As a loaded task: the user's values stored, the lists and the flag set.
  st.toTransitions[0] = {{30, 7, kToOwnSection}, {1e-9, 6, kToReverseSection}};
  st.toTransitions[1] = {{12, 4, kToReverseSection}, {11, 3, kToOwnSection}};
  st.transitionsEntered = 1;
  ASSERT_EQ(placed(st), "passed");
  // Below 1e-8 shows as 0; matched by kind, not by slot.
  std::string ways;
  for (int r = 0; r < 4; ++r) ways += st.table2.cell(r, 9) + "/" + st.table2.cell(r, 10) + " ";
  EXPECT_EQ(ways, "30/7 0/6 11/3 12/4 ");
  // An edited address brings the defaults back, in every mode.
  st.formMode = kNewTask;
  st.pointChanged[0] = 1;
  ASSERT_EQ(placed(st), "passed");
  EXPECT_EQ(st.table2.cell(0, 9) + "/" + st.table2.cell(0, 10), "25/5");
  EXPECT_EQ(st.table2.cell(2, 9), "11");
  EXPECT_EQ(st.pointChanged, (std::vector<int32_t>{0, 0}));  // applied once
}

TEST(Placement, AMovedPointLosesTheWaysThatReferToItsOldSections) {
  TaskWizardState st = markedPoint("3");
  ASSERT_EQ(placed(st), "passed");
  st.toTransitions[1] = {{44, 9, kToOwnSection}, {55, 9, kToReverseSection}};
  st.fromTransitions[0] = {{1, 1, kFromOwnSection}, {2, 2, toPointKind(1)}};
  st.fromTransitions[1] = {{3, 3, kFromOwnSection}, {4, 4, kFromReverseSection}};
  st.transitionsEntered = 1;
  // The mark moves to S3: every stored way of point 2 and every way into it is gone.
  st.table12.set(0, 8, "");
  st.table12.set(1, 8, "  *");
  ASSERT_EQ(placed(st), "passed");
  EXPECT_EQ(st.points[1].sectionIndex, 3);
  EXPECT_EQ(st.table2.cell(2, 9) + "/" + st.table2.cell(2, 10), "100/5");
  EXPECT_EQ(st.fromTransitions[0], (std::vector<TransitionRec>{{1, 1, kFromOwnSection}}));
  EXPECT_TRUE(st.fromTransitions[1].empty());
}

}  // namespace
}  // namespace qj
