// The two workbooks laid out from the viewers' views, cell by cell, with the formats a
// spreadsheet program shows.

#include "reports/report_workbooks.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "support/town.h"

namespace qj {
namespace {

using office::CellFormat;
using office::HAlign;
using office::Sheet;
using office::Workbook;

const ShellTables kTexts = test::markedShell();

// Every row of a sheet, its first `columns` cells joined by '|'.
std::vector<std::string> rowsOf(const Sheet& s, int columns) {
  std::vector<std::string> rows;
  for (int r = 0; r < s.rowCount(); ++r) {
    rows.emplace_back();
    for (int c = 0; c < columns; ++c) rows.back() += (c ? "|" : "") + std::string(s.cell(r, c));
  }
  return rows;
}

// The rows of all the sheets, as an export counts them to tell how far it has come.
int totalRows(const Workbook& book) {
  int rows = 0;
  for (const Sheet& s : book.sheets()) rows += s.rowCount();
  return rows;
}

// Sheets of a table: the title row bold, wrapped and 54 points high over `columns` columns
// of the given widths.
void expectTable(const Sheet& s, const std::vector<double>& widths, int titled) {
  for (int c = 0; c < titled; ++c)
    EXPECT_EQ(s.formatAt(0, c), (CellFormat{true, HAlign::General, true})) << c;
  EXPECT_TRUE(s.formatAt(0, titled).isDefault());
  EXPECT_TRUE(s.formatAt(1, 0).isDefault());
  EXPECT_EQ(s.rowHeight(0), 54);
  for (size_t c = 0; c < widths.size(); ++c)
    EXPECT_EQ(s.columnWidth(static_cast<int>(c)), widths[c]) << c;
}

// The parameter sheet: keys and values left-aligned, the values bold.
void expectParameterSheet(const Sheet& s, const KeyValueList& rows, double keyWidth) {
  EXPECT_EQ(s.name(), "S483");
  std::vector<std::string> expected;
  for (const KeyValue& kv : rows) expected.push_back(kv.key + "|" + kv.value);
  EXPECT_EQ(rowsOf(s, 2), expected);
  const int last = static_cast<int>(rows.size()) - 1;
  EXPECT_EQ(s.formatAt(last, 0), (CellFormat{false, HAlign::Left, false}));
  EXPECT_EQ(s.formatAt(last, 1), (CellFormat{true, HAlign::Left, false}));
  EXPECT_TRUE(s.formatAt(last + 1, 1).isDefault());
  EXPECT_EQ(s.columnWidth(0), keyWidth);
  EXPECT_EQ(s.columnWidth(1), 74);
  EXPECT_TRUE(s.rowHeights().empty());
}

TEST(SolutionWorkbook, HoldsTheParameterListAndTheRouteUnderItsTitles) {
  const DbrnFile db = test::smallTown();
  const SolutionView shown =
      makeSolutionView(test::townTask(), test::townSolution(), &db, "eng", kTexts, '.');
  const Workbook book = solutionWorkbook(shown, kTexts);
  ASSERT_EQ(book.sheets().size(), 2u);
  expectParameterSheet(book.sheets()[0], shown.parameters, 86);
  const Sheet& route = book.sheets()[1];
  EXPECT_EQ(route.name(), "S434");
  // The kept end node is not exported.
  std::vector<std::string> expected = {"S519|S406|S13|S85|S83|S82|S265|S268|"};
  for (int r = 0; r < shown.route.rows(); ++r) {
    expected.emplace_back();
    for (int c = 0; c < kRouteShownColumns; ++c) expected.back() += shown.route.cell(r, c) + "|";
  }
  EXPECT_EQ(rowsOf(route, 9), expected);
  expectTable(route, {12, 16.5, 27, 14.5, 14.5, 14.5, 30, 13}, 8);
  EXPECT_EQ(totalRows(book), solutionWorkbookRows(shown));

  // A solution without a route has its one empty row, which has no text.
  SolutionFile none = test::townSolution();
  none.header.solutionFound = 0;
  none.body = SolutionBody::None;
  const Workbook empty = solutionWorkbook(
      makeSolutionView(test::townTask(), none, nullptr, "eng", kTexts, '.'), kTexts);
  EXPECT_EQ(rowsOf(empty.sheets()[1], 3), std::vector<std::string>{"S519|S406|S13"});
}

TEST(TaskWorkbook, LevelOneTaskHasItsPointsAndTransitionsOnThreeSheets) {
  const TaskView view = makeTaskView(test::townTask("use1"), "eng", kTexts, '.');
  const Workbook book = taskWorkbook(view, kTexts, '.');
  ASSERT_EQ(book.sheets().size(), 3u);
  expectParameterSheet(book.sheets()[0], view.parameters, 75);

  // The start point's cargo and service cells are marks; the end point shows a mark only in
  // the refusal and window columns; type and street appear where they change.
  const Sheet& points = book.sheets()[1];
  EXPECT_EQ(points.name(), "S495 (1)");
  EXPECT_EQ(rowsOf(points, 17),
            (std::vector<std::string>{
                "S405|S769 (*)|S770 (*)|S16|S14|S15|S84|S86|S750 (EUR)|S531|S425|S163 (EUR)|S374|"
                "S71|S733|S734|",
                "1|*||st.|Main|3|-|-|0|-|-|-|-|-|2|1|", "2|||||25|3|5|2||1.5|50|30|60|2|3|",
                "3||*||Oak|4|1|6|0|-|0.5|40|-|-|2|1|", "4|||ave.|Elm|5|0|2|0|  *|0|30|0||1|1|"}));
  expectTable(points, {7, 6, 6, 11.5, 25, 7, 14, 15, 21, 21, 21, 21, 21.5, 22.5, 21, 21, 21}, 17);

  // A transition to another point is written "5: " and its number; the to-block writes
  // every kind as the number.
  const Sheet& tr = book.sheets()[2];
  EXPECT_EQ(tr.name(), "S495 (2)");
  EXPECT_EQ(
      rowsOf(tr, 6),
      (std::vector<std::string>{
          "S405|S402|S381|S771|S591|S614", "1|1|1|1|40|5", "||2|2|60.5|5", "2|3|1|1|41|5",
          "||2|2|60.5|5", "3|7|1|1|42|5", "||2|2|60.5|5", "4|9|1|1|43|5",
          std::string(13, '-') + "|" + std::string(13, '-') + "|" + std::string(53, '-') + "|" +
              std::string(44, '-') + "|" + std::string(34, '-') + "|" + std::string(26, '-'),
          "1|1|1|3|210|5", "2|3|1|3|210|5", "||2|5: 3|100|5", "||3|4|45|5", "3|7|1|3|210|5",
          "4|9|1|3|210|5"}));
  expectTable(tr, {7, 7, 30, 24.5, 19, 15}, 6);
  EXPECT_EQ(totalRows(book), taskWorkbookRows(view));
}

// Level 2 and client tasks have two sheets and no count columns; reals take the given
// separator; a task without options fills columns A to H only (the title format covers
// A1 .. Q1 all the same); a street of the same name but another type shows the type only.
TEST(TaskWorkbook, PointsSheetsFollowTheTasksOptions) {
  for (const char* kind : {"use2", "sys2", "cli2"}) {
    const TaskView view = makeTaskView(test::townTask(kind), "eng", kTexts, ',');
    const Workbook book = taskWorkbook(view, kTexts, ',');
    EXPECT_EQ(totalRows(book), taskWorkbookRows(view)) << kind;
    ASSERT_EQ(book.sheets().size(), 2u) << kind;
    const Sheet& points = book.sheets()[1];
    EXPECT_EQ(points.name(), "S495") << kind;
    EXPECT_EQ(rowsOf(points, 16)[2], "2|||||25|3|5|2||1,5|50|30|60||") << kind;
    EXPECT_FALSE(points.columnWidth(15));
    EXPECT_EQ(book.sheets()[0].cell(14, 0), "S614");  // the approach speed after the fines
  }
  TaskFile task = test::townTask("use2");
  TaskHeader& h = task.header;
  h.cargoMode = h.refusalFlag = h.timeFactorFlag = h.orderMode = 0;
  h.endPoint = 0;
  for (auto& p : task.points) p.street = "Main";
  Workbook book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  EXPECT_EQ(rowsOf(book.sheets()[1], 9),
            (std::vector<std::string>{"S405|S769 (*)|S770 (*)|S16|S14|S15|S145|S750 (EUR)|",
                                      "1|*||st.|Main|3|4|0|", "2|||||25|3|2|", "3|||||4|1|0|",
                                      "4|||ave.||5|0|0|"}));
  expectTable(book.sheets()[1], {}, 17);
  EXPECT_EQ(book.sheets()[0].cell(10, 1), "");  // no end point

  // The order column: "-" for the start and end points in priority mode, empty without a
  // class; the points' own values otherwise.
  task = test::townTask("use2");
  task.header.orderMode = 3;
  task.header.priorityCount = 2;
  task.points[1].orderValue = 1;
  task.points[3].orderValue = -1;
  book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  std::string order;
  for (int r = 0; r < 5; ++r) order += std::string(book.sheets()[1].cell(r, 9)) + "|";
  EXPECT_EQ(order, "S547|-|1|-||");
  task.header.orderMode = 1;
  book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  EXPECT_EQ(rowsOf(book.sheets()[1], 10)[1].substr(rowsOf(book.sheets()[1], 10)[1].rfind('|')),
            "|0");
  EXPECT_EQ(book.sheets()[1].cell(0, 9), "S410");
}

// The points sheet's columns after column H by the task's options, one at a time.
TEST(TaskWorkbook, OptionColumnsOfThePointsSheet) {
  const std::tuple<int, int, int, int, const char*> cases[] = {
      {2, 0, 0, 0, "S84|S86|S750 (EUR)|S74|S162 (EUR)|||"},
      {0, 1, 0, 0, "S145|S750 (EUR)|S531|S162 (EUR)||||"},
      {0, 0, 1, 0, "S145|S750 (EUR)|S163 (EUR)|S374|S71|||"},
      {0, 0, 0, 2, "S145|S750 (EUR)|S408|||||"}};
  for (const auto& [cargo, refusal, timeFactor, order, titles] : cases) {
    TaskFile task = test::townTask("use2");
    task.header.cargoMode = cargo;
    task.header.refusalFlag = refusal;
    task.header.timeFactorFlag = timeFactor;
    task.header.orderMode = order;
    const Workbook book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
    EXPECT_EQ(rowsOf(book.sheets()[1], 14)[0],
              std::string("S405|S769 (*)|S770 (*)|S16|S14|S15|") + titles);
  }
}

TEST(TaskWorkbook, ALevelOneTaskWithoutTransitionsStartsSheetThreeWithTheSeparator) {
  TaskFile task = test::townTask("use1");
  for (auto& l : task.toLists) l.clear();
  for (auto& l : task.fromLists) l.clear();
  for (auto& p : task.points) p.toCount = p.fromCount = 0;
  Workbook book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  EXPECT_EQ(rowsOf(book.sheets()[2], 1), (std::vector<std::string>{"S405", std::string(13, '-')}));
  // A transition of kind 0 from a point is written as its number.
  task.fromLists[1] = {{120, 5, 0}};
  task.points[1].fromCount = 1;
  book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  EXPECT_EQ(rowsOf(book.sheets()[2], 6).back(), "2|3|1|0|120|5");
}

}  // namespace
}  // namespace qj
