// The two workbooks laid out from the viewers' views, cell by cell, with the formats a
// spreadsheet program shows.

#include "reports/report_workbooks.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "support/town.h"

namespace qj {
namespace {

using office::HAlign;
using office::Sheet;
using office::Workbook;

const ShellTables kTexts = test::markedShell();

// A row's first `columns` cells joined by '|'.
std::string rowOf(const Sheet& s, int row, int columns) {
  std::string cells;
  for (int c = 0; c < columns; ++c) cells += (c ? "|" : "") + std::string(s.cell(row, c));
  return cells;
}

void expectTitleRowFormat(const Sheet& s, int columns) {
  for (int c = 0; c < columns; ++c) {
    EXPECT_TRUE(s.formatAt(0, c).bold) << c;
    EXPECT_TRUE(s.formatAt(0, c).wrap) << c;
  }
  EXPECT_FALSE(s.formatAt(0, columns).bold);
  EXPECT_FALSE(s.formatAt(1, 0).bold);
  EXPECT_EQ(s.rowHeight(0), 54);
}

void expectParameterSheet(const Sheet& s, const KeyValueList& rows, double keyWidth) {
  EXPECT_EQ(s.name(), "S483");
  ASSERT_EQ(s.rowCount(), static_cast<int>(rows.size()));
  for (size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(s.cell(static_cast<int>(k), 0), rows[k].key) << k;
    EXPECT_EQ(s.cell(static_cast<int>(k), 1), rows[k].value) << k;
  }
  const int last = static_cast<int>(rows.size()) - 1;
  EXPECT_EQ(s.formatAt(last, 0), (office::CellFormat{false, HAlign::Left, false}));
  EXPECT_EQ(s.formatAt(last, 1), (office::CellFormat{true, HAlign::Left, false}));
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
  EXPECT_EQ(rowOf(route, 0, 9), "S519|S406|S13|S85|S83|S82|S265|S268|");
  ASSERT_EQ(route.rowCount(), shown.route.rows() + 1);
  for (int r = 0; r < shown.route.rows(); ++r) {
    for (int c = 0; c < kRouteShownColumns; ++c)
      EXPECT_EQ(route.cell(r + 1, c), shown.route.cell(r, c)) << r << "," << c;
    EXPECT_EQ(route.cell(r + 1, kRouteEndNode), "");  // the kept end node is not exported
  }
  expectTitleRowFormat(route, 8);
  const double widths[] = {12, 16.5, 27, 14.5, 14.5, 14.5, 30, 13};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(route.columnWidth(c), widths[c]) << c;
}

TEST(SolutionWorkbook, ASolutionWithoutARouteHasItsOneEmptyRow) {
  SolutionFile s = test::townSolution();
  s.header.solutionFound = 0;
  s.body = SolutionBody::None;
  s.steps.clear();
  s.header.routeStepCount = 0;
  const Workbook book =
      solutionWorkbook(makeSolutionView(test::townTask(), s, nullptr, "eng", kTexts, '.'), kTexts);
  EXPECT_EQ(book.sheets()[1].rowCount(), 1);  // titles; the empty row has no text
  EXPECT_EQ(book.sheets()[1].cell(0, 2), "S13");
}

TEST(TaskWorkbook, LevelOneTaskHasItsPointsAndTransitionsOnThreeSheets) {
  const TaskView view = makeTaskView(test::townTask("use1"), "eng", kTexts, '.');
  const Workbook book = taskWorkbook(view, kTexts, '.');
  ASSERT_EQ(book.sheets().size(), 3u);
  expectParameterSheet(book.sheets()[0], view.parameters, 75);
  EXPECT_EQ(book.sheets()[0].cell(0, 1), "eng");
  EXPECT_EQ(book.sheets()[0].cell(1, 1), "TOWN01");
  EXPECT_EQ(book.sheets()[0].cell(5, 1), "123");

  const Sheet& points = book.sheets()[1];
  EXPECT_EQ(points.name(), "S495 (1)");
  EXPECT_EQ(rowOf(points, 0, 17),
            "S405|S769 (*)|S770 (*)|S16|S14|S15|S84|S86|S750 (EUR)|S531|S425|S163 "
            "(EUR)|S374|S71|S733|S734|");
  // The start point's cargo and service cells are marks; the end point shows a mark only in
  // the refusal and window columns; type and street appear where they change.
  EXPECT_EQ(rowOf(points, 1, 17), "1|*||st.|Main|3|-|-|0|-|-|-|-|-|2|1|");
  EXPECT_EQ(rowOf(points, 2, 17), "2|||||25|3|5|2||1.5|50|30|60|2|3|");
  EXPECT_EQ(rowOf(points, 3, 17), "3||*||Oak|4|1|6|0|-|0.5|40|-|-|2|1|");
  EXPECT_EQ(rowOf(points, 4, 17), "4|||ave.|Elm|5|0|2|0|  *|0|30|0||1|1|");
  EXPECT_EQ(points.rowCount(), 5);
  expectTitleRowFormat(points, 17);
  const double widths[] = {7, 6, 6, 11.5, 25, 7, 14, 15, 21, 21, 21, 21, 21.5, 22.5, 21, 21, 21};
  for (int c = 0; c < 17; ++c) EXPECT_EQ(points.columnWidth(c), widths[c]) << c;

  const Sheet& tr = book.sheets()[2];
  EXPECT_EQ(tr.name(), "S495 (2)");
  EXPECT_EQ(rowOf(tr, 0, 6), "S405|S402|S381|S771|S591|S614");
  EXPECT_EQ(rowOf(tr, 1, 6), "1|1|1|1|40|5");
  EXPECT_EQ(rowOf(tr, 2, 6), "||2|2|60.5|5");
  EXPECT_EQ(rowOf(tr, 3, 6), "2|3|1|1|41|5");
  EXPECT_EQ(rowOf(tr, 7, 6), "4|9|1|1|43|5");
  EXPECT_EQ(rowOf(tr, 8, 6), std::string(13, '-') + "|" + std::string(13, '-') + "|" +
                                 std::string(53, '-') + "|" + std::string(44, '-') + "|" +
                                 std::string(34, '-') + "|" + std::string(26, '-'));
  EXPECT_EQ(rowOf(tr, 9, 6), "1|1|1|3|210|5");
  // A transition to another point is written "5: " and its number; the to-block writes
  // every kind as the number.
  EXPECT_EQ(rowOf(tr, 10, 6), "2|3|1|3|210|5");
  EXPECT_EQ(rowOf(tr, 11, 6), "||2|5: 3|100|5");
  EXPECT_EQ(rowOf(tr, 12, 6), "||3|4|45|5");
  EXPECT_EQ(tr.rowCount(), 15);  // 2 + 7 to-transitions + 6 from-transitions
  expectTitleRowFormat(tr, 6);
  const double trWidths[] = {7, 7, 30, 24.5, 19, 15};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(tr.columnWidth(c), trWidths[c]) << c;
}

TEST(TaskWorkbook, LevelTwoAndClientTasksHaveTwoSheetsWithoutCounts) {
  for (const char* kind : {"use2", "sys2", "cli2"}) {
    TaskFile task = test::townTask(kind);
    const TaskView view = makeTaskView(task, "eng", kTexts, ',');
    const Workbook book = taskWorkbook(view, kTexts, ',');
    ASSERT_EQ(book.sheets().size(), 2u) << kind;
    const Sheet& points = book.sheets()[1];
    EXPECT_EQ(points.name(), "S495") << kind;
    EXPECT_EQ(points.cell(0, 13), "S71");
    EXPECT_EQ(points.cell(0, 14), "");     // no count columns
    EXPECT_EQ(points.cell(2, 10), "1,5");  // the regional separator
    EXPECT_FALSE(points.columnWidth(15));
    EXPECT_EQ(book.sheets()[0].cell(14, 0), "S614");  // the approach speed after the fines
  }
}

TEST(TaskWorkbook, ATaskWithoutOptionsFillsOnlyColumnsAToH) {
  TaskFile task = test::townTask("use2");
  TaskHeader& h = task.header;
  h.cargoMode = h.refusalFlag = h.timeFactorFlag = h.orderMode = 0;
  h.endPoint = 0;
  for (auto& p : task.points) p.street = "Main";  // three points on one street
  const Workbook book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  const Sheet& points = book.sheets()[1];
  EXPECT_EQ(points.columnCount(), 8);
  EXPECT_EQ(rowOf(points, 0, 8), "S405|S769 (*)|S770 (*)|S16|S14|S15|S145|S750 (EUR)");
  EXPECT_EQ(rowOf(points, 1, 8), "1|*||st.|Main|3|4|0");
  EXPECT_EQ(rowOf(points, 3, 8), "3|||||4|1|0");
  // A street of the same name but another type shows the type and no name.
  EXPECT_EQ(rowOf(points, 4, 6), "4|||ave.||5");
  expectTitleRowFormat(points, 17);             // the title format covers A1 .. Q1 all the same
  EXPECT_EQ(book.sheets()[0].cell(10, 1), "");  // no end point
}

TEST(TaskWorkbook, OrderColumnsAndThresholdRowsFollowTheModes) {
  TaskFile task = test::townTask("use2");
  task.header.orderMode = 3;
  task.header.priorityCount = 2;
  task.points[1].orderValue = 1;
  task.points[3].orderValue = -1;
  const Workbook book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  const Sheet& points = book.sheets()[1];
  EXPECT_EQ(points.cell(0, 9), "S547");
  EXPECT_EQ(points.cell(1, 9), "-");  // start and end points in priority mode
  EXPECT_EQ(points.cell(2, 9), "1");
  EXPECT_EQ(points.cell(3, 9), "-");
  EXPECT_EQ(points.cell(4, 9), "");  // no class
  task.header.orderMode = 1;
  const Workbook next = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  EXPECT_EQ(next.sheets()[1].cell(0, 9), "S410");
  EXPECT_EQ(next.sheets()[1].cell(1, 9), "0");
}

TEST(TaskWorkbook, ALevelOneTaskWithoutTransitionsStartsSheetThreeWithTheSeparator) {
  TaskFile task = test::townTask("use1");
  for (auto& l : task.toLists) l.clear();
  for (auto& l : task.fromLists) l.clear();
  for (auto& p : task.points) p.toCount = p.fromCount = 0;
  const Workbook book = taskWorkbook(makeTaskView(task, "eng", kTexts, '.'), kTexts, '.');
  const Sheet& tr = book.sheets()[2];
  EXPECT_EQ(tr.rowCount(), 2);
  EXPECT_EQ(tr.cell(1, 0), std::string(13, '-'));
}

}  // namespace
}  // namespace qj
