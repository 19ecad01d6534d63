#include "reports/solution_rows.h"

#include <gtest/gtest.h>

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

TEST(RouteRows, StoredLinesTitlesAndWidths) {
  const RouteLine l{" 1", "1 (s) (1)", "addr", "a", "b", "c", "sec", "turn", "00012"};
  const GridTable t = routeLineRows({l, l});
  ASSERT_EQ(t.rows(), 2);
  std::string row;
  for (int c = 0; c < kRouteColumns; ++c) row += t.cell(1, c) + "|";
  EXPECT_EQ(row, " 1|1 (s) (1)|addr|a|b|c|sec|turn|00012|");
  EXPECT_EQ(emptyRouteRows().rows(), 1);
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

}  // namespace
}  // namespace qj
