#include "reports/solution_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/town.h"
#include "support/shell_fixture.h"

namespace qj {
namespace {

using test::markedShell;
using Row = std::vector<std::string>;

std::vector<Row> rowsOf(const GridTable& t) {
  std::vector<Row> rows;
  for (int r = 0; r < t.rows(); ++r) {
    rows.emplace_back();
    for (int c = 0; c < t.columns(); ++c) rows.back().push_back(t.cell(r, c));
  }
  return rows;
}

TEST(RouteRows, StoredLinesAndTheEmptyTable) {
  RouteLine l{" 1", "1 (s) (1)", "addr", "a", "b", "c", "sec", "turn", "00012"};
  const GridTable t = routeLineRows({l, l});
  ASSERT_EQ(t.rows(), 2);
  EXPECT_EQ(rowsOf(t)[1], (Row{" 1", "1 (s) (1)", "addr", "a", "b", "c", "sec", "turn", "00012"}));
  const GridTable empty = emptyRouteRows();
  EXPECT_EQ(empty.rows(), 1);
  EXPECT_EQ(rowsOf(empty)[0], Row(kRouteColumns));
}

TEST(RouteColumns, TitlesAndWidths) {
  ShellTables texts = markedShell();
  texts.shellTexts[13] = "  Address ";
  std::vector<std::string> titles;
  for (int c = 0; c < kRouteShownColumns; ++c) titles.push_back(routeColumnTitle(c, texts));
  EXPECT_EQ(titles, (std::vector<std::string>{"S519", "S406", "Address", "S85", "S83", "S82",
                                              "S265", "S268"}));
  EXPECT_EQ(routeTitleWidths(2), (TitleWidths{165, 165, 220}));
  EXPECT_EQ(routeGridColumnWidth(0, 67), 66);
  EXPECT_EQ(routeGridColumnWidth(1, 80), 80);
  EXPECT_EQ(routeGridColumnWidth(7, 74), 75);
}

// ---- the parameter list ----

KeyValueList townParameters(const SolutionFile& s, double routeCost,
                            const TaskFile& task = test::townTask()) {
  return solutionParameters(task.header, dbLevel(task.header.dbKind), s.header, routeCost, "eng",
                            markedShell(), ',');
}

TEST(SolutionParameters, SolvedTaskWithTheTimeFactor) {
  const KeyValueList expected = {
      {"S541", "1"},
      {"S788", "eng"},
      {"S745", "TOWN01"},
      {"S261", "Morning round"},
      {"S673:", "use1 (S510), 123"},
      {"S741", "4"},
      {"S411", "1, 3"},
      {"S167", "EUR"},
      {"S749 (EUR)", "2"},
      {"S751 (EUR)", "12"},
      {"S532", "1"},
      {"S488:", ""},
      {"  - S675", "2"},
      {"  - S69", "3"},
      {"S543", "1"},
      {"S148", "5"},
      {"S542", "1"},
      {"S75", "2,5"},
      {"S530", "1"},
      {"S33:", "0"},
      {" 0 - S445", ""},
      {" 1 - S581", ""},
      {" 2 - S580", ""},
      {" 3 - S579", ""},
      {"S720", "26; 1234"},
      {"S490:", ""},
      {"  - S248", "0,003"},
      {"  - S246", "10"},
      {"  - S524", "5000"},
      {"  - S439", "0,9"},
      {"S486:", ""},
      {"  - S676", "Route planning office"},
      {"  - S667", "Small town"},
      {"  - S426", "Demo"},
      {"S123:", ""},
      {"  - S712", "120"},
      {"  - S724", "13"},
      {"  - S596 (EUR)", "18,50"},
      {"  - S709", ""},
      {"    S21 (EUR)", "72,05"},
      {"  - S147", "0:00:02"},
  };
  EXPECT_EQ(townParameters(test::townSolution(), -72.0533), expected);
}

// The result rows alone: what follows the route length row, up to the elapsed time.
KeyValueList resultRows(const KeyValueList& all) {
  KeyValueList rows;
  bool in = false;
  for (const auto& kv : all) {
    if (kv.key == "  - S147") break;
    if (in) rows.push_back(kv);
    if (kv.key == "  - S724") in = true;
  }
  return rows;
}

TEST(SolutionParameters, ResultRowsByTheTaskFactors) {
  SolutionFile s = test::townSolution();
  TaskFile task = test::townTask();
  task.header.timeFactorFlag = 0;
  task.header.refusalFlag = 0;
  task.header.cargoMode = 0;
  EXPECT_EQ(resultRows(townParameters(s, 7, task)), (KeyValueList{{"  - S252 (EUR)", "-18,50"}}));
  task.header.cargoMode = 2;
  EXPECT_EQ(resultRows(townParameters(s, 7, task)), (KeyValueList{{"  S596 (EUR)", "18,50"}}));
  task.header.timeFactorFlag = 1;
  task.header.finePerKm = 0.001;
  EXPECT_EQ(resultRows(townParameters(s, 7, task)),
            (KeyValueList{{"  - S596 (EUR)", "18,50"}, {"  - S709 (EUR)", "-7,00"}}));
  s.header.objective = 0;
  EXPECT_EQ(resultRows(townParameters(s, 0, task)),
            (KeyValueList{{"  - S596 (EUR)", "0,00"}, {"  - S709 (EUR)", "0,00"}}));
}

TEST(SolutionParameters, FailedTaskShowsTheMessageInPiecesAndNoResults) {
  SolutionFile s = test::townSolution();
  s.header.solutionFound = 0;
  s.header.finalMessage =
      std::string(80, 'a') + std::string(80, 'b') + std::string(80, 'c') + std::string(15, 'd');
  KeyValueList rows = townParameters(s, 0);
  ASSERT_GE(rows.size(), 6u);
  EXPECT_EQ(rows[0], (KeyValue{"S541", "0"}));
  EXPECT_EQ(rows[1], (KeyValue{"S668", std::string(80, 'a')}));
  EXPECT_EQ(rows[2], (KeyValue{"", std::string(80, 'b')}));
  EXPECT_EQ(rows[3], (KeyValue{"", std::string(80, 'c')}));
  EXPECT_EQ(rows[4], (KeyValue{"", std::string(15, 'd')}));
  EXPECT_EQ(rows[5].key, "S788");
  EXPECT_EQ(rows.back(), (KeyValue{"  - S147", "0:00:02"}));
  EXPECT_EQ(rows[rows.size() - 2].key, "  - S426");

  // Up to 80 characters: one row; 81 to 160: two; an empty message still has its row.
  s.header.finalMessage = std::string(80, 'x');
  EXPECT_EQ(townParameters(s, 0)[2].key, "S788");
  s.header.finalMessage = std::string(81, 'x');
  EXPECT_EQ(townParameters(s, 0)[2], (KeyValue{"", "x"}));
  EXPECT_EQ(townParameters(s, 0)[3].key, "S788");
  s.header.solutionFound = -2;  // a pair pass failed: the same
  s.header.finalMessage.clear();
  rows = townParameters(s, 0);
  EXPECT_EQ(rows[1], (KeyValue{"S668", ""}));
  EXPECT_EQ(rows[2].key, "S788");
}

TEST(SolutionParameters, TaskWithoutEndPointAndOtherKinds) {
  TaskFile task = test::townTask("cli2");
  task.header.endPoint = 0;
  task.header.refusalFlag = 0;
  task.header.orderMode = 3;
  task.header.priorityCount = 2;
  const KeyValueList rows = townParameters(test::townSolution(), 0, task);
  const auto find = [&](const std::string& key) {
    for (const auto& kv : rows)
      if (kv.key == key) return kv.value;
    return std::string("<absent>");
  };
  EXPECT_EQ(find("S411"), "1, S277");
  EXPECT_EQ(find("S673:"), "cli2 (S218), 123");
  EXPECT_EQ(find("S614"), "5");  // approach speed above level 1
  EXPECT_EQ(find("S488:"), "<absent>");
  EXPECT_EQ(find("S732"), "2");
  task.header.dbKind = "xyz1";
  EXPECT_EQ(townParameters(test::townSolution(), 0, task)[4], (KeyValue{"S673:", ", 123"}));
}

}  // namespace
}  // namespace qj
