// The route rows against a small town's delivery route: texts, turns, times and the checks
// of a stored route.

#include "route/route_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/shell_fixture.h"
#include "support/town.h"

namespace qj {
namespace {

using test::markedShell;
using Row = std::vector<std::string>;

// A time of day as the marked shell shows it, with the regional separator ",".
std::string tt(int64_t hours, const char* minutes) {
  return std::to_string(hours) + " s62 " + minutes + " s24";
}
std::string same(const char* range) {
  return std::string(kSameStreet) + range;
}

std::vector<Row> rowsOf(const GridTable& t) {
  std::vector<Row> rows;
  for (int r = 0; r < t.rows(); ++r) {
    rows.emplace_back();
    for (int c = 0; c < t.columns(); ++c) rows.back().push_back(t.cell(r, c));
  }
  return rows;
}

RouteRows townRows(const TaskFile& task, const SolutionFile& s, const DbrnFile& db) {
  return buildRouteRows(task.header, task.points, s.steps, s.startServiceTimes, db, markedShell(),
                        ',');
}

TEST(RouteRows, TownRouteReadsStepByStep) {
  const TaskFile task = test::townTask();
  const RouteRows rows = townRows(task, test::townSolution(), test::smallTown());
  const std::vector<Row> expected = {
      // start: 10 minutes of loading
      {" 1", "1 (s11) (1)", "st. Main, 3", tt(0, "0,00"), tt(0, "0,00"), tt(0, "10,00"), "", "",
       ""},
      // a straight run along Main street: the word once, then dots; the street once, then
      // its house ranges
      {" 2", "", "", "", "", "", "st. Main, 1-9", "S79", "2"},
      {" 3", "", "", "", "", "", same(" 11-19"), "   . . .", "3"},
      // reached at 22 with 5 minutes of unloading, waits for the window at 30
      {" 4", "2 (2)", "st. Main, 25", tt(0, "17,00"), tt(0, "30,00"), tt(0, "35,00"),
       same(" 21-29"), "( S159 )", ""},
      // refused; the deferral of point 3 makes no row
      {" 5", "  4", "  ave. Elm, 5", "", "", "", "  < S436 >", "", ""},
      {" 6", "", "", "", "", "", same(" 21-29"), "S257", "4"},
      // straight on after the U-turn shows the word again
      {" 7", "", "", "", "", "", same(" 30-22"), "S79", "3"},
      {" 8", "", "", "", "", "", same(" 20-12"), "   . . .", "2"},
      // the second visit of the start point: arrived at 46.4, 4 more minutes of loading
      // after it; the U-turn onto the next section replaces the service mark
      {" 9", "1 (s11) (3)", "st. Main, 3", tt(0, "46,40"), tt(0, "46,40"), tt(0, "50,40"),
       same(" 10-2"), "S257", ""},
      {" 10", "", "", "", "", "", same(" 1-9"), "S79", "2"},
      // Oak street is the second right turn of the list
      {" 11", "", "", "", "", "", same(" 11-19"), "2S214", "3"},
      {" 12", "3 (s17) (4)", "st. Oak, 4", tt(0, "59,40"), tt(0, "59,40"), tt(1, "5,40"),
       "st. Oak, 1-7", "( S159 )", ""},
  };
  EXPECT_EQ(rowsOf(rows.table), expected);
  // 1850 m at 2 per km, 65.4 minutes at 12 per hour, the waiting penalty of point 2 up to 35
  // minutes, less the incomes of points 2 and 3.
  EXPECT_NEAR(rows.cost, 2 * 1.85 + 12 * 65.4 / 60 + 2 * 35.0 / 60 - 50 - 40, 1e-9);
  // The start point's waiting penalty counts up to the start of its loading at 46.4: the
  // loading is time of the trip that follows.
  TaskFile penalised = task;
  penalised.points[0].waitPenalty = 6;
  EXPECT_NEAR(townRows(penalised, test::townSolution(), test::smallTown()).cost - rows.cost,
              6 * 46.4 / 60, 1e-9);
}

// Other routes through the town: the cells they must show. Point 2 may lose its sections.
TEST(RouteRows, TurnsSectionsAtPointsAndTimes) {
  using Cell = std::tuple<int, int, std::string>;  // row, column, text
  struct Case {
    const char* name;
    std::vector<RouteStep> steps;
    bool point2HasSections;
    std::vector<Cell> cells;
    int32_t startWindowLow = 0;  // when set, the time factor applies
    int32_t point2WindowLow = 0;  // when set, the time factor applies
  };
  // clang-format off
  const std::vector<Case> cases = {
      // s3 then s6: the first left of s3's list; s6 into s9 is no turn of s6.
      {"turns", {{3, 0.01}, {6, 0.01}, {9, 0.01}}, true,
       {{0, kRouteServiceEnd, tt(0, "10,00")}, {1, kRouteTurn, "1S213"}, {2, kRouteTurn, ""},
        {3, kRouteSection, "ln. Birch, 1-5*"}, {2, kRouteSection, "st. Oak, 1-7"}}},
      // Point 2 served next to a point: the vehicle stands nowhere. Point 3 straight after
      // point 2: none either. Point 2 again from node 3: the next step's s2 starts there.
      {"no section", {{0, 0.05}, {1, 0.05}, {11, 0.1}, {12, 0.1}, {1, 0.05}, {11, 0.1}, {2, 0.05}},
       false, {{3, kRouteSection, ""}, {4, kRouteSection, ""}, {6, kRouteSection, same(" 21-29")}}},
      // A refusal before the first section leaves no street to shorten to: the texts stay whole.
      {"after a refusal", {{-4, 0}, {0, 0.05}, {1, 0.05}}, true,
       {{2, kRouteSection, "st. Main, 1-9"}, {3, kRouteSection, "st. Main, 11-19"}}},
      // A route that ends at point 2: no next step to stand on.
      {"last at a point", {{0, 0.05}, {1, 0.05}, {11, 0.1}}, false, {{3, kRouteSection, ""}}},
      // Back at node 1, the start point stands on its own section s0, the first of all.
      {"own section", {{0, 0.05}, {5, 0.05}, {10, 0.1}}, true, {{3, kRouteSection, same(" 1-9")}}},
      // At node 3 after s1 the next step drives s3 (4 -> 3), which does not start there; its
      // reverse s2 does. Without the time factor point 2 does not wait for its window at 30.
      {"reverse of the next", {{0, 0.05}, {1, 0.05}, {11, 0.1}, {3, 0.05}}, false,
       {{3, kRouteSection, same(" 21-29")}, {2, kRouteTurn, "   . . ."},
        {3, kRouteServiceEnd, tt(0, "22,00")}}},
      // Back at the start after point 2 ends at 22: arrived at 25, loaded 4 minutes, and the
      // clock goes on from 29.
      {"back at the start", {{0, 0.05}, {1, 0.05}, {11, 0.1}, {10, 0.05}, {12, 0.1}}, true,
       {{4, kRouteArrival, tt(0, "25,00")}, {4, kRouteServiceStart, tt(0, "25,00")},
        {4, kRouteServiceEnd, tt(0, "29,00")}, {5, kRouteArrival, tt(0, "29,00")},
        {5, kRouteServiceEnd, tt(0, "35,00")}}},
      // The same with the time factor: point 2 waits for 30 and ends at 35; back at 38, the
      // loading waits for the start point's window at 40.
      {"start window", {{0, 0.05}, {1, 0.05}, {11, 0.1}, {10, 0.05}, {12, 0.1}}, true,
       {{3, kRouteServiceEnd, tt(0, "35,00")}, {4, kRouteArrival, tt(0, "38,00")},
        {4, kRouteServiceStart, tt(0, "40,00")}, {4, kRouteServiceEnd, tt(0, "44,00")},
        {5, kRouteArrival, tt(0, "44,00")}, {5, kRouteServiceEnd, tt(0, "50,00")}}, 40},
      // Point 2's service of 5 minutes would run from 17 to 22; its window opens at 25, before
      // the service could have ended, and the service waits for it.
      {"short wait", {{0, 0.05}, {1, 0.05}, {11, 0.1}, {3, 0.05}}, false,
       {{3, kRouteArrival, tt(0, "17,00")}, {3, kRouteServiceStart, tt(0, "25,00")},
        {3, kRouteServiceEnd, tt(0, "30,00")}}, 0, 25},
  };
  // clang-format on
  const DbrnFile db = test::smallTown();
  for (const Case& c : cases) {
    TaskFile task = test::townTask();
    task.header.timeFactorFlag = c.startWindowLow > 0 || c.point2WindowLow > 0 ? 1 : 0;
    task.points[0].windowLow = c.startWindowLow;
    if (c.point2WindowLow > 0) task.points[1].windowLow = c.point2WindowLow;
    if (!c.point2HasSections) task.points[1].sectionIndex = task.points[1].reverseSectionIndex = -1;
    SolutionFile s = test::townSolution();
    s.steps = c.steps;
    const std::vector<Row> rows = rowsOf(townRows(task, s, db).table);
    for (const auto& [row, column, text] : c.cells) {
      ASSERT_LT(static_cast<size_t>(row), rows.size()) << c.name;
      EXPECT_EQ(rows[row][column], text) << c.name << " row " << row;
    }
  }
}

TEST(RouteTexts, TimesAndNumbersInTheRegionalFormat) {
  const ShellTables t = markedShell();
  EXPECT_EQ(timeText(59.994, t, '.'), "0 s62 59.99 s24");
  EXPECT_EQ(timeText(60, t, ','), tt(1, "0,00"));
  EXPECT_EQ(timeText(-5.25, t, ','), tt(0, "-5,25"));
  EXPECT_EQ(timeText(6e13, t, ','), tt(1000000000000, "0,00"));  // no endless loop
  EXPECT_EQ(fixed2Text(-0.0, ','), "0,00");
  EXPECT_EQ(fixed2Text(-0.004, '.'), "0.00");
  EXPECT_EQ(fixed2Text(-0.005001, '.'), "-0.01");
  EXPECT_EQ(realText(100.0 / 3, '.'), "33.3333333333333");
  const TaskHeader h = test::townTask().header;  // start 1, end 3
  EXPECT_EQ(pointNumberText(1, h, t) + pointNumberText(2, h, t) + pointNumberText(3, h, t),
            "1 (s11)23 (s17)");
}

TEST(RouteRows, ChecksEveryStepAgainstTaskAndDatabase) {
  const DbrnFile db = test::smallTown();
  const TaskFile task = test::townTask();
  const auto check = [&](std::vector<RouteStep> steps, std::vector<double> loading = {}) {
    return checkRoute(task.header, task.points, steps, loading, db);
  };
  EXPECT_EQ(check(test::townRoute(), {10, 4}), RouteFault::None);
  EXPECT_EQ(check({{-9, 0}, {-4, 0}}), RouteFault::None);  // deferred and refused
  EXPECT_EQ(check({{14, 0.1}}), RouteFault::PointBeyondTask);
  EXPECT_EQ(check({{std::numeric_limits<int32_t>::max(), 0}}), RouteFault::PointBeyondTask);
  EXPECT_EQ(check({{std::numeric_limits<int32_t>::min(), 0}}), RouteFault::None);
  EXPECT_EQ(check({{0, std::nan("")}}), RouteFault::TimeNotANumber);
  EXPECT_EQ(check({{0, 0.1}}, {std::numeric_limits<double>::infinity()}),
            RouteFault::TimeNotANumber);
  EXPECT_EQ(check({{13, 0.1}, {-4, 0}}), RouteFault::None);  // the last point
  // A header that counts a point more than the task holds: passing it is beyond the task.
  TaskHeader more = task.header;
  more.pointCount = 5;
  EXPECT_EQ(checkRoute(more, task.points, {{-5, 0}}, {}, db), RouteFault::PointBeyondTask);
  EXPECT_EQ(checkRoute(more, task.points, {{-6, 0}}, {}, db), RouteFault::None);
  DbrnFile smaller = db;
  smaller.sections.resize(5);
  EXPECT_EQ(checkRoute(task.header, task.points, {{4, 0}}, {}, smaller), RouteFault::None);
  EXPECT_EQ(checkRoute(task.header, task.points, {{5, 0}}, {}, smaller),
            RouteFault::SectionBeyondDatabase);
}

}  // namespace
}  // namespace qj
