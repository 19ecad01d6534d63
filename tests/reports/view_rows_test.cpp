// The viewers' tables and parameter lists: the route and the task's points and transitions,
// their column titles, and the parameters of a task and of its solution.

#include <gtest/gtest.h>

#include "reports/print_layout.h"
#include "reports/solution_rows.h"
#include "reports/solution_view.h"
#include "reports/task_rows.h"
#include "support/shell_fixture.h"
#include "support/town.h"

namespace qj {
namespace {

using test::markedShell;

// A parameter list as "key=value" pairs joined by " | ", to compare whole lists at a glance.
std::string joined(const KeyValueList& rows) {
  std::string s;
  for (const KeyValue& kv : rows) s += (s.empty() ? "" : " | ") + kv.key + "=" + kv.value;
  return s;
}

// The stored lines of a client addition are checked where the viewer reads them.
TEST(RouteRows, TitlesAndWidths) {
  ShellTables texts = markedShell();
  texts.shellTexts[13] = "  Address ";
  std::string titles;
  for (int c = 0; c < kRouteShownColumns; ++c) titles += routeColumnTitle(c, texts) + "|";
  EXPECT_EQ(titles, "S519|S406|Address|S85|S83|S82|S265|S268|");
  // Column 0 is a pixel narrower than its label, column 1 as wide, the others a pixel wider.
  EXPECT_EQ(std::tuple(routeGridColumnWidth(0, 67), routeGridColumnWidth(1, 80),
                       routeGridColumnWidth(7, 74)),
            std::tuple(66, 80, 75));
}

// "( parking )" wraps as one word in the viewer and the report, on the route the viewer
// builds and on the stored lines of a client addition alike.
TEST(SolutionView, ATurnsBracketsStayWithTheirWord) {
  const DbrnFile db = test::smallTown();
  RouteLine stored;
  stored.turnText = "( S159 )";
  SolutionFile lines = test::townSolution();
  lines.body = SolutionBody::Description;
  lines.lines = {stored};
  const struct {
    TaskFile task;
    SolutionFile solution;
    int brackets;
  } cases[] = {{test::townTask(), test::townSolution(), 2}, {test::townTask("cli2"), lines, 1}};
  for (const auto& c : cases) {
    const GridTable route =
        makeSolutionView(c.task, c.solution, &db, "eng", markedShell(), '.').route;
    int kept = 0;
    for (int r = 0; r < route.rows(); ++r) {
      const std::string& turn = route.cell(r, kRouteTurn);
      kept += turn == "(\xA0S159\xA0)";
      EXPECT_EQ(turn.find("( "), std::string::npos) << r;
      EXPECT_EQ(turn.find(" )"), std::string::npos) << r;
    }
    EXPECT_EQ(kept, c.brackets);
  }
}

KeyValueList townParameters(const SolutionFile& s, double routeCost,
                            const TaskFile& task = test::townTask()) {
  return solutionParameters(task.header, dbLevel(task.header.dbKind), s.header, routeCost, "eng",
                            markedShell(), ',');
}

TEST(SolutionParameters, SolvedTaskWithTheTimeFactor) {
  EXPECT_EQ(
      joined(townParameters(test::townSolution(), -72.0533)),
      "S541=1 | S788=eng | S745=TOWN01 | S261=Morning round | S673:=use1 (S510), 123 | S741=4 | "
      "S411=1, 3 | S167=EUR | S749 (EUR)=2 | S751 (EUR)=12 | S532=1 | S488:= |   - S675=2 | "
      "  - S69=3 | S543=1 | S148=5 | S542=1 | S75=2,5 | S530=1 | S33:=0 |  0 - S445= | "
      " 1 - S581= |  2 - S580= |  3 - S579= | S720=26; 1234 | S490:= |   - S248=0,003 | "
      "  - S246=10 |   - S524=5000 |   - S439=0,9 | S486:= |   - S676=Route planning office | "
      "  - S667=Small town |   - S426=Demo | S123:= |   - S712=120 |   - S724=13 | "
      "  - S596 (EUR)=18,50 |   - S709= |     S21 (EUR)=72,05 |   - S147=0:00:02");
}

// The result rows alone: what follows the route length row, up to the elapsed time.
std::string resultRows(const KeyValueList& all) {
  KeyValueList rows;
  bool in = false;
  for (const auto& kv : all) {
    if (kv.key == "  - S147") break;
    if (in) rows.push_back(kv);
    if (kv.key == "  - S724") in = true;
  }
  return joined(rows);
}

TEST(SolutionParameters, ResultRowsByTheTaskFactors) {
  SolutionFile s = test::townSolution();
  TaskFile task = test::townTask();
  struct Case {
    int timeFactor, refusal, cargo;
    double finePerKm, objective, routeCost;
    const char* rows;
  } cases[] = {
      {0, 0, 0, 2, -18.5, 7, "  - S252 (EUR)=-18,50"},
      {0, 0, 2, 2, -18.5, 7, "  S596 (EUR)=18,50"},
      {0, 1, 0, 2, -18.5, 7, "  S596 (EUR)=18,50"},
      {1, 0, 2, 0.001, -18.5, 7, "  - S596 (EUR)=18,50 |   - S709 (EUR)=-7,00"},
      {1, 0, 2, 0.001, 0, 0, "  - S596 (EUR)=0,00 |   - S709 (EUR)=0,00"},
      {1, 0, 0, 0.002, -18.5, -72.0533, "  - S596 (EUR)=18,50 |   - S709= |     S21 (EUR)=72,05"},
  };
  for (const Case& k : cases) {
    task.header.timeFactorFlag = k.timeFactor;
    task.header.refusalFlag = k.refusal;
    task.header.cargoMode = k.cargo;
    task.header.finePerKm = k.finePerKm;
    s.header.objective = k.objective;
    EXPECT_EQ(resultRows(townParameters(s, k.routeCost, task)), k.rows) << k.rows;
  }
}

TEST(SolutionParameters, AFailedTaskShowsItsMessageInPiecesOfEightyAndNoResults) {
  SolutionFile s = test::townSolution();
  struct Case {
    int found;
    std::string message;
    std::string opening;  // the rows before the language's
  } cases[] = {
      {0, std::string(80, 'a') + std::string(80, 'b') + std::string(15, 'd'),
       "S541=0 | S668=" + std::string(80, 'a') + " | =" + std::string(80, 'b') +
           " | =ddddddddddddddd"},
      {0, std::string(80, 'x'), "S541=0 | S668=" + std::string(80, 'x')},
      {0, std::string(81, 'x'), "S541=0 | S668=" + std::string(80, 'x') + " | =x"},
      {-2, "", "S541=-2 | S668="},  // a pair pass failed
  };
  for (const Case& k : cases) {
    s.header.solutionFound = k.found;
    s.header.finalMessage = k.message;
    const std::string rows = joined(townParameters(s, 0));
    EXPECT_EQ(rows.substr(0, rows.find(" | S788=")), k.opening);
    // The information texts close the list, with the elapsed time and no results.
    EXPECT_TRUE(rows.ends_with("  - S426=Demo |   - S147=0:00:02")) << rows;
  }
}

TEST(SolutionParameters, TaskWithoutEndPointAndOtherKinds) {
  TaskFile task = test::townTask("cli2");
  task.header.endPoint = 0;
  task.header.refusalFlag = 0;
  task.header.orderMode = 3;
  task.header.priorityCount = 2;
  const std::string rows = joined(townParameters(test::townSolution(), 0, task));
  for (const char* row : {"S411=1, S277 |", "S673:=cli2 (S218), 123 |", "S614=5 |", "S732=2 |"})
    EXPECT_NE(rows.find(row), std::string::npos) << row << "\n" << rows;
  EXPECT_EQ(rows.find("S488:"), std::string::npos);
  task.header.dbKind = "xyz1";
  EXPECT_EQ(townParameters(test::townSolution(), 0, task)[4], (KeyValue{"S673:", ", 123"}));
}

// Each row's cells joined by '|', to compare whole tables at a glance.
std::vector<std::string> rowsOf(const GridTable& t) {
  std::vector<std::string> rows;
  for (int r = 0; r < t.rows(); ++r) {
    std::string row;
    for (int c = 0; c < t.columns(); ++c) row += (c ? "|" : "") + t.cell(r, c);
    rows.push_back(row);
  }
  return rows;
}

TEST(TaskRows, TransitionsLayoutOfALevelOneTask) {
  std::string dashes = std::string(31, '-') + "|" + std::string(52, '-');
  for (int c = 2; c < 16; ++c) dashes += "|" + std::string(31, '-');
  // Cargo, refusals and the time factor are on, the order mode is off.
  const std::vector<std::string> expected = {
      "1 (s11)|st. Main, 3|-|-|0|1|1|S271|40|5||-|-|-|-|-",
      "||||||2|S772|60,5|5||||||",
      "2|st. Main, 25|3|5|2|3|1|S271|41|5|||1,5|50|30|60",
      "||||||2|S772|60,5|5||||||",
      "3 (s17)|st. Oak, 4|1|6|0|7|1|S271|42|5||-|0,5|40|-|-",
      "||||||2|S772|60,5|5||||||",
      "4|ave. Elm, 5|0|2|0|9|1|S271|43|5||  *|0|30|0|",
      dashes,
      "1 (s11)|st. Main, 3|-|-|0|1|1|S228|210|5||-|-|-|-|-",
      "2|st. Main, 25|3|5|2|3|1|S228|210|5|||1,5|50|30|60",
      "||||||2|s61 3|100|5||||||",
      "||||||3|S781|45|5||||||",
      "3 (s17)|st. Oak, 4|1|6|0|7|1|S228|210|5||-|0,5|40|-|-",
      "4|ave. Elm, 5|0|2|0|9|1|S228|210|5||  *|0|30|0|",
  };
  EXPECT_EQ(rowsOf(taskRows(test::townTask(), TaskLayout::Transitions, markedShell(), ',')),
            expected);
}

TEST(TaskRows, KindsOutsideTheirPartAreEmptyAndAPointWithoutTransitionsHasNoRow) {
  TaskFile task = test::townTask();
  task.toLists[1] = {{1, 2, 3}, {1, 2, -1}};
  task.toLists[2].clear();
  task.fromLists = {{}, {{1, 2, 1}}};   // fewer lists than points: the others have none
  task.toLists.push_back({{1, 2, 1}});  // and a list beyond the points, which has no point
  // 2 + 2 + 0 + 1 rows above the dashes, one below.
  const std::vector<std::string> rows =
      rowsOf(taskRows(task, TaskLayout::Transitions, markedShell(), ','));
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[2], "2|st. Main, 25|3|5|2|3|1||1|2|||1,5|50|30|60");
  EXPECT_EQ(rows[3], "||||||2||1|2||||||");
  EXPECT_EQ(rows[4].substr(0, 2), "4|");
  EXPECT_EQ(rows[6], "2|st. Main, 25|3|5|2|3|1||1|2|||1,5|50|30|60");
  task.toLists.assign(4, {});
  task.fromLists.assign(4, {});
  EXPECT_EQ(taskRows(task, TaskLayout::Transitions, markedShell(), ',').rows(), 1);
}

TEST(TaskRows, PointsLayoutWithOrderModesAndWithoutCargo) {
  TaskFile task = test::townTask("use2");
  task.header.cargoMode = 0;
  task.header.orderMode = 3;
  task.points[1].orderValue = 2;
  task.points[3].orderValue = -1;
  EXPECT_EQ(rowsOf(taskRows(task, TaskLayout::Points, markedShell(), ',')),
            (std::vector<std::string>{
                "1 (s11)|st. Main, 3|4||0|-|-||-|-|-", "2|st. Main, 25|3||2|2|||50|30|60",
                "3 (s17)|st. Oak, 4|1||0|-|-||40|-|-", "4|ave. Elm, 5|0||0||  *||30|0|"}));
  task.header.orderMode = 1;
  const GridTable t = taskRows(task, TaskLayout::Points, markedShell(), ',');
  EXPECT_EQ(t.cell(0, 5), "0");  // the start point's own value outside priority classes
  EXPECT_EQ(t.cell(3, 5), "");
  // A point's income shows with any of refusals, time factor or cargo; its window with the
  // time factor.
  for (const auto& [refusal, timeFactor, cargo, shown] : {std::tuple(0, 0, 0, "||"),
                                                          {1, 0, 0, "50||"},
                                                          {0, 1, 0, "50|30|60"},
                                                          {0, 0, 1, "50||"},
                                                          {-1, -1, -1, "||"}}) {
    task.header.refusalFlag = refusal;
    task.header.timeFactorFlag = timeFactor;
    task.header.cargoMode = cargo;
    const GridTable rows = taskRows(task, TaskLayout::Points, markedShell(), ',');
    EXPECT_EQ(rows.cell(1, 8) + "|" + rows.cell(1, 9) + "|" + rows.cell(1, 10), shown)
        << refusal << timeFactor << cargo;
  }
}

TEST(TaskColumns, TitlesFollowTheTaskAndColumnsThatDoNotApplyAreEmpty) {
  ShellTables texts = markedShell();
  texts.shellTexts[402] = " S402 ";
  TaskHeader h = test::townTask().header;
  const auto titles = [&](TaskLayout layout) {
    std::string all;
    for (int c = 0; c < taskColumnCount(layout); ++c)
      all += taskColumnTitle(layout, c, h, texts) + "|";
    return all;
  };
  EXPECT_EQ(titles(TaskLayout::Transitions),
            "S405|S13|S84|S86|S750 (EUR)|S402|S379|S686|S591|S614||S529|S425|S162 (EUR)|S372|S73|");
  h.cargoMode = 0;
  h.refusalFlag = 0;
  h.timeFactorFlag = 0;
  h.orderMode = 2;
  EXPECT_EQ(titles(TaskLayout::Points), "S405|S13|S145||S750 (EUR)|S407||||||");
  // Column 0 is a pixel narrower than its label, the others a pixel wider.
  EXPECT_EQ(taskGridColumnWidth(0, 46), 45);
  EXPECT_EQ(taskGridColumnWidth(3, 1), 2);
  for (const TaskLayout layout : {TaskLayout::Transitions, TaskLayout::Points})
    EXPECT_EQ(taskTitleWidths(layout, taskColumnCount(layout)).max, 0);  // no such column
  EXPECT_EQ(taskLayout(1), TaskLayout::Transitions);
  EXPECT_EQ(taskLayout(2), TaskLayout::Points);
}

// Which columns apply, as '1' and '0' per column: the unloading time and the volume need
// cargo, the order column an order mode, the refusal column refusals, the income any of
// refusals, time factor and cargo, the windows the time factor. The report prints the
// transitions layout's columns that apply, but a negative mode or flag switches them off.
TEST(TaskColumns, ApplyByTheTasksOptions) {
  const struct {
    int cargo, order, refusal, timeFactor;
    const char *transitions, *points, *printed;
  } cases[] = {{0, 0, 0, 0, "1110111111000000", "11101000000", "1110111111000000"},
               {2, 0, 0, 0, "1111111111001100", "11111001100", "1111111111001100"},
               {-1, 0, 0, 0, "1111111111001100", "11111001100", "1110111111000000"},
               {0, 1, 0, 0, "1110111111100000", "11101100000", "1110111111100000"},
               {0, -1, 0, 0, "1110111111100000", "11101100000", "1110111111000000"},
               {0, 0, 1, 0, "1110111111010100", "11101010100", "1110111111010100"},
               {0, 0, -1, 0, "1110111111010100", "11101010100", "1110111111000000"},
               {0, 0, 0, 1, "1110111111000111", "11101000111", "1110111111000111"},
               {0, 0, 0, -1, "1110111111000111", "11101000111", "1110111111000000"}};
  for (const auto& c : cases) {
    TaskHeader h;
    h.cargoMode = c.cargo;
    h.orderMode = c.order;
    h.refusalFlag = c.refusal;
    h.timeFactorFlag = c.timeFactor;
    std::string applies[2], printed;
    for (const TaskLayout layout : {TaskLayout::Transitions, TaskLayout::Points})
      for (int col = 0; col < taskColumnCount(layout); ++col)
        applies[layout == TaskLayout::Points] += taskColumnApplies(layout, col, h) ? '1' : '0';
    for (const double s : taskReportShares(TaskLayout::Transitions, h))
      printed += s > 0 ? '1' : '0';
    EXPECT_EQ(applies[0] + " " + applies[1] + " " + printed,
              std::string(c.transitions) + " " + c.points + " " + c.printed)
        << c.cargo << c.order << c.refusal << c.timeFactor;
  }
}

TEST(TaskParameters, EveryRowInOrder) {
  EXPECT_EQ(joined(taskParameters(test::townTask().header, 1, "eng", markedShell(), ',')),
            "S788=eng | S745=TOWN01 | S261=Morning round | S484:= |   - S681=use1 (S510) | "
            "  - S227=123 |   - S259=Small town |   - S138=06.12.2026 | S741=4 | S388=1 | S390=3 | "
            "S167=EUR | S749 (EUR)=2 | S751 (EUR)=12 | S532=1 | S488:= |   - S675=2 |   - S69=3 | "
            "S543=1 | S148=5 | S542=1 | S75=2,5 | S530=1 | S33:=0 |  0 - S445= |  1 - S581= | "
            " 2 - S580= |  3 - S579= | S720=26; 1234");
}

TEST(TaskParameters, RowsThatDependOnTheTask) {
  TaskHeader h = test::townTask().header;
  h.endPoint = 0;
  h.servedThreshold = 4;
  h.cargoMode = 2;
  h.orderMode = 3;
  h.priorityCount = 3;
  h.sectionCount = 40;
  h.dbKind = "sys2";
  const std::string rows = joined(taskParameters(h, 2, "eng", markedShell(), '.')) + " |";
  for (const char* row : {"S390= |", "  - S675=1 |", "  - S69=4 |", "S130=2.5 |", "S614=5 |",
                          "S732=3 |", "S720=86; 1234 |", "  - S681=sys2 (S610) |"})
    EXPECT_NE(rows.find(row), std::string::npos) << row << "\n" << rows;
  EXPECT_EQ(rows.find("S75="), std::string::npos);

  h.servedThreshold = 0;
  h.refusalFlag = 0;
  h.timeFactorFlag = 0;
  h.dbKind = "ab";
  const std::string plain = joined(taskParameters(h, 0, "eng", markedShell(), '.'));
  EXPECT_NE(plain.find("  - S681= |"), std::string::npos);
  for (const char* absent : {"S488:", "S148", "S614"})
    EXPECT_EQ(plain.find(absent), std::string::npos) << absent;
  h.refusalFlag = 1;
  EXPECT_NE(joined(taskParameters(h, 0, "eng", markedShell(), '.')).find("  - S69= |"),
            std::string::npos);
}

}  // namespace
}  // namespace qj
