#include "task/placement.h"

#include <gtest/gtest.h>

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

std::string messageOf(const StepCheck& c) {
  return c.message ? c.message->text.resolve(texts()) : std::string();
}

std::vector<std::string> row(const GridTable& g, int r) {
  std::vector<std::string> cells;
  for (int c = 0; c < g.columns(); ++c) cells.push_back(g.cell(r, c));
  return cells;
}

TEST(HouseNumber, NumberAndTrailingLetter) {
  EXPECT_EQ(parseHouseNumber("12"), (HouseNumber{12, ' '}));
  EXPECT_EQ(parseHouseNumber(" 12\xE0"), (HouseNumber{12, 0xE0}));  // 12а
  EXPECT_FALSE(parseHouseNumber("-"));
  EXPECT_FALSE(parseHouseNumber("\xE0"));
  EXPECT_FALSE(parseHouseNumber(" "));
  EXPECT_FALSE(parseHouseNumber("1-2"));
  EXPECT_EQ(parseHouseNumber(" 40 "), (HouseNumber{40, ' '}));
  EXPECT_FALSE(parseHouseNumber("99999999999"));
  EXPECT_LT((HouseNumber{12, ' '}), (HouseNumber{12, 0xE0}));
  EXPECT_LT((HouseNumber{11, 0xFF}), (HouseNumber{12, ' '}));
}

TEST(Placement, PointsLieWhereTheirNumbersFallAndTable2ShowsTheDefaults) {
  TaskWizardState st =
      level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "15", 10}, {"Main", "6", 6}});
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());

  // 3 on S0 (1-9 ascending): (3 - 1) / 8 = 0.25 of 100 m; reverse S1: 0.75 of 100 m.
  EXPECT_EQ(st.points[0].sectionIndex, 0);
  EXPECT_EQ(st.points[0].reverseSectionIndex, 1);
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 25);
  EXPECT_DOUBLE_EQ(st.reverseSectionDist[0], 75);
  EXPECT_EQ(st.pointSectionInfo[0].rangeText, "1-9");
  EXPECT_EQ(st.pointSectionInfo[0].direction, 0);
  EXPECT_EQ(st.pointSectionInfo[0].houseNumber, 3);
  EXPECT_DOUBLE_EQ(st.pointSectionInfo[0].length, 100);
  EXPECT_DOUBLE_EQ(st.pointSectionInfo[0].speed, 40);
  // 6 on S1 (10-2, descending): (10 - 6) / 8 = 0.5.
  EXPECT_EQ(st.points[2].sectionIndex, 1);
  EXPECT_EQ(st.points[2].reverseSectionIndex, 0);
  EXPECT_EQ(st.pointSectionInfo[2].direction, 1);
  EXPECT_DOUBLE_EQ(st.startSectionDist[2], 50);

  for (const auto& p : st.points) EXPECT_EQ(p.toCount, 2);
  ASSERT_EQ(st.table2.rows(), 6);
  EXPECT_EQ(row(st.table2, 0), (std::vector<std::string>{"1", "st Main, 3", "1", "1-9", "00001",
                                                         "00002", "100", "40", "S271", "25", "5"}));
  EXPECT_EQ(row(st.table2, 1),
            (std::vector<std::string>{" 1", "", "", "", "", "", "", "", "S772", "75", "5"}));
  EXPECT_EQ(row(st.table2, 4)[2], "2");
  EXPECT_EQ(row(st.table2, 4)[3], "10-2");
}

TEST(Placement, TheHouseMustShareTheParityOfTheRangeStart) {
  // 4 lies inside 1-9 of S0 but is even: it belongs to S1 (10-2), (10 - 4) / 8 of 100 m.
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "4", 0}, {"Main", "13", 0}});
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(st.points[0].sectionIndex, 1);
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 75);
  EXPECT_EQ(st.points[1].sectionIndex, 2);
}

// Street "Long" with overlapping ranges whose letters decide.
test::NetworkBuilder longStreet(std::initializer_list<std::pair<const char*, const char*>> ranges) {
  test::NetworkBuilder b;
  int node = 10;
  for (const auto& [from, to] : ranges) {
    b.section("Long", node, node + 1, from, to, 100, 40, {});
    ++node;
  }
  return b;
}

TaskPointRec house(const char* number) {
  TaskPointRec p;
  p.streetType = "st";
  p.street = "Long";
  p.house = number;
  return p;
}

int chosenFor(const DbrnFile& db, const char* number) {
  const auto c = numberingCandidates(db, house(number));
  return c.empty() ? -1 : c[chooseCandidate(c, *parseHouseNumber(number))].section;
}

TEST(Placement, SeveralCandidatesAreDecidedInThreePasses) {
  // Pass 1: the range that holds the house with its letter. 12б lies in 12а-20, not in 10-12.
  EXPECT_EQ(chosenFor(longStreet({{"10", "12"}, {"12\xE0", "20"}}).finish(), "12\xE1"), 1);
  // Pass 2: no range holds 12б; 10-12 ends at its number with a lower letter.
  EXPECT_EQ(chosenFor(longStreet({{"10", "12"}, {"12\xE2", "20"}}).finish(), "12\xE1"), 0);
  // Pass 2, replaced: 2-12а, then 4-12б: the later end is nearer to 12в.
  EXPECT_EQ(chosenFor(longStreet({{"2", "12\xE0"}, {"4", "12\xE1"}}).finish(), "12\xE2"), 1);
  // Pass 3: both start at 12 above 12а; the first stays while the next starts higher...
  EXPECT_EQ(chosenFor(longStreet({{"12\xE1", "20"}, {"12\xE2", "30"}}).finish(), "12\xE0"), 0);
  // ...and is replaced when the next starts lower.
  EXPECT_EQ(chosenFor(longStreet({{"12\xE2", "30"}, {"12\xE1", "20"}}).finish(), "12\xE0"), 1);
  // A descending range is turned round before it is compared.
  const auto c = numberingCandidates(longStreet({{"20", "12\xE1"}}).finish(), house("14"));
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].low, (HouseNumber{12, 0xE1}));
  EXPECT_EQ(c[0].high, (HouseNumber{20, ' '}));
  EXPECT_EQ(c[0].direction, 1);
}

TEST(Placement, AtMostFiveCandidatesAndNeverNonStandardOrUnnumberedSections) {
  test::NetworkBuilder b = longStreet({{"2", "8"},
                                       {"2", "10"},
                                       {"4", "12"},
                                       {"2", "6"},
                                       {"1", "9"},
                                       {"6", "6"},
                                       {"2", "4"},
                                       {" ", " "}});
  b.db.sections[1].nonStdNumbering = "*";
  const auto c = numberingCandidates(b.finish(), house("4"));
  // 2-8, 4-12, 2-6 and 2-4; 1-9 has the other parity, 2-10 is non-standard, 6-6 ends above 4,
  // the last has no numbers.
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].section, 0);
  EXPECT_EQ(c[3].section, 6);

  test::NetworkBuilder six =
      longStreet({{"2", "8"}, {"2", "8"}, {"2", "8"}, {"2", "8"}, {"2", "8"}, {"2", "8"}});
  EXPECT_EQ(numberingCandidates(six.finish(), house("4")).size(), kMaxCandidates);
}

TEST(Placement, EqualBoundsPutTheHouseAtTheSectionStart) {
  test::NetworkBuilder b = longStreet({{"5", "5"}});
  TaskWizardState st = level1Task(b.finish(), {{"Long", "5", 0}, {"Long", "5", 0}});
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_DOUBLE_EQ(st.startSectionDist[0], 0);
  EXPECT_EQ(st.points[0].reverseSectionIndex, -1);
  EXPECT_EQ(st.points[0].toCount, 1);
}

TEST(Placement, AClosedSectionIsRefusedAndNothingIsChanged) {
  test::NetworkBuilder b = mainNetwork();
  b.db.sections[2].closed = "*";
  TaskWizardState st = level1Task(b.finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
  const StepCheck c = placeLevel1Points(st, texts());
  EXPECT_EQ(messageOf(c), "S446 2 S29 \"st Main, 15\", S256. S32.");
  EXPECT_EQ(c.focus, "Table1");
  EXPECT_EQ(c.row, 1);
  EXPECT_EQ(st.points[0].sectionIndex, -1);  // point 1 was placed, but not committed
  EXPECT_EQ(st.table2.rows(), 0);
}

TEST(Placement, APointOnNoSectionIsRefusedAfterEveryClosedSection) {
  test::NetworkBuilder b = mainNetwork();
  b.db.sections[2].closed = "*";
  TaskWizardState st =
      level1Task(b.finish(), {{"Main", "31", 0}, {"Main", "15", 0}, {"Main", "33", 0}});
  // Point 1 (31) lies nowhere, point 2 on a closed section: the closed section speaks first.
  EXPECT_EQ(placeLevel1Points(st, texts()).row, 1);

  st.db.sections[2].closed = "";
  StepCheck c = placeLevel1Points(st, texts());
  EXPECT_EQ(messageOf(c), "S154 1 S184.");
  EXPECT_EQ(c.focus, "Table1");
  EXPECT_EQ(c.row, 0);

  // With a candidate page or the options of step 4 the user is sent back to the address.
  st.header.timeFactorFlag = 1;
  EXPECT_EQ(messageOf(placeLevel1Points(st, texts())), "S154 1 S184. S210.");
}

TEST(Placement, AHouseWithoutNumberTakesTheMarkedSectionHalfWay) {
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "-", 0}});
  EXPECT_EQ(messageOf(placeLevel1Points(st, texts())), "S154 2 S184.");

  // Step 3 listed S2 and S3 for point 2; the user marked S3 (number 4).
  st.ambiguousCount = 2;
  st.table12.setRows(2);
  st.table12.set(0, 9, "2");
  st.table12.set(0, 2, "3");
  st.table12.set(1, 9, "2");
  st.table12.set(1, 2, "4");
  st.table12.set(1, 8, "  *");
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(st.points[1].sectionIndex, 3);
  EXPECT_EQ(st.points[1].reverseSectionIndex, 2);
  EXPECT_EQ(st.pointSectionInfo[1].direction, -1);
  EXPECT_DOUBLE_EQ(st.startSectionDist[1], 100);  // half of 200 m
  EXPECT_DOUBLE_EQ(st.reverseSectionDist[1], 100);
}

TEST(Placement, TheReverseWayInNeedsAnOpenReverseSection) {
  for (const char* flag : {"closed", "reverseObjectsClosed", "none"}) {
    SCOPED_TRACE(flag);
    test::NetworkBuilder b = mainNetwork();
    if (std::string(flag) == "closed") b.db.sections[3].closed = "*";
    if (std::string(flag) == "reverseObjectsClosed") b.db.sections[3].reverseObjectsClosed = "*";
    if (std::string(flag) == "none") b.db.sections[3].endNode = "00007";  // S3 runs elsewhere
    TaskWizardState st = level1Task(b.finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
    ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
    EXPECT_EQ(st.points[1].toCount, 1);
    EXPECT_EQ(st.points[1].reverseSectionIndex, std::string(flag) == "none" ? -1 : 3);
    EXPECT_EQ(st.table2.rows(), 3);
  }
}

TEST(Placement, StoredWaysInAreShownUnlessThePointOrItsSectionChanged) {
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  // As a loaded task: the user's values stored, the lists and the flag set.
  st.toTransitions[0] = {{30, 7, kToOwnSection}, {1e-9, 6, kToReverseSection}};
  st.toTransitions[1] = {{12, 4, kToReverseSection}, {11, 3, kToOwnSection}};
  st.fromTransitions[0] = {{1, 1, kFromOwnSection}, {2, 2, toPointKind(1)}};
  st.fromTransitions[1] = {{3, 3, kFromOwnSection}, {4, 4, kFromReverseSection}};
  st.transitionsEntered = 1;

  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(st.table2.cell(0, 9), "30");
  EXPECT_EQ(st.table2.cell(0, 10), "7");
  EXPECT_EQ(st.table2.cell(1, 9), "0");  // below 1e-8
  // Matched by kind, not by slot: the own section's row shows the own section's values.
  EXPECT_EQ(st.table2.cell(2, 9), "11");
  EXPECT_EQ(st.table2.cell(3, 9), "12");

  // An edited address brings the defaults back, in every mode.
  st.formMode = 1;
  st.pointChanged[0] = 1;
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(st.table2.cell(0, 9), "25");
  EXPECT_EQ(st.table2.cell(0, 10), "5");
  EXPECT_EQ(st.table2.cell(2, 9), "11");
}

TEST(Placement, AMovedPointLosesTheWaysThatReferToItsOldSections) {
  TaskWizardState st = level1Task(mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "-", 0}});
  st.ambiguousCount = 1;
  st.table12.setRows(1);
  st.table12.set(0, 9, "2");
  st.table12.set(0, 2, "3");
  st.table12.set(0, 8, "  *");
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  st.toTransitions[1] = {{44, 9, kToOwnSection}, {55, 9, kToReverseSection}};
  st.fromTransitions[0] = {{1, 1, kFromOwnSection}, {2, 2, toPointKind(1)}};
  st.fromTransitions[1] = {{3, 3, kFromOwnSection}, {4, 4, kFromReverseSection}};
  st.transitionsEntered = 1;

  // The mark moves to S3: every stored way of point 2 and every way into it is gone.
  st.table12.set(0, 2, "4");
  ASSERT_TRUE(placeLevel1Points(st, texts()).passed());
  EXPECT_EQ(st.points[1].sectionIndex, 3);
  EXPECT_EQ(st.table2.cell(2, 9), "100");  // 200 m x 0.5
  EXPECT_EQ(st.table2.cell(2, 10), "5");
  EXPECT_EQ(st.fromTransitions[0], (std::vector<TransitionRec>{{1, 1, kFromOwnSection}}));
  EXPECT_TRUE(st.fromTransitions[1].empty());
}

}  // namespace
}  // namespace qj
