#pragma once
// The printed reports of a solution and of a task: what the viewer shows, laid out on
// pages. Both share one page model: fixed margins in device pixels, one line height, a page
// number at the bottom right of every page, tables whose columns take fixed shares of the
// usable width, texts wrapped character by character into their columns, and rules.
//
// A table row is measured before it is drawn and goes to the next page when it would reach
// into the footer line; only a row taller than a whole page is continued over pages. The
// rules and the page number are drawn once per page.

#include <string>
#include <string_view>
#include <vector>

#include "frame/shell_texts.h"
#include "reports/page_canvas.h"
#include "reports/solution_view.h"
#include "reports/task_view.h"

namespace qj {

// Page measures in device pixels.
inline constexpr int kReportTextLeft = 65;   // parameter lines and column 0
inline constexpr int kReportRuleLeft = 60;   // where horizontal rules start
inline constexpr int kReportFirstTop = 60;   // the title on the first page
inline constexpr int kReportTop = 65;        // every later page
inline constexpr int kReportMargin = 65;     // right and bottom
inline constexpr int kReportRuleOffset = 5;  // a column's rule lies this far left of its text

// The text cut into lines no wider than `limit`, character by character without regard to
// words: a line exactly as wide as the limit stays whole, and every line takes at least one
// character, however narrow the limit. An empty text has no lines.
std::vector<std::string> wrapText(std::string_view text, int limit, const PageCanvas& canvas);

struct ReportColumns {
  std::vector<int> x;      // the edges x0 .. xn; x0 is the left text edge
  std::vector<int> limit;  // the width a column's text may take
  int right() const { return x.back(); }
};

// Columns taking the given shares of the usable width (a switched-off column has share 0):
// x(k+1) = x(k) + Round(usable x share), limit = Round(usable x share) - 5, rounding halves
// to even.
ReportColumns reportColumns(const std::vector<double>& shares, int usableWidth);

// The report titles: the title text, a blank and the viewer's caption from the character
// after its own shell text and the blank that follows it (the quoted task name), at most
// 1000 characters.
std::string solutionReportTitle(std::string_view caption, const ShellTables& texts);
std::string taskReportTitle(std::string_view caption, const ShellTables& texts);

// The column shares of the task report's layout, switched-off columns at 0: the unloading
// time and the volume need cargo, the order column an order mode, the refusal column
// refusals, the income column any of refusals, time factor or cargo, the windows the time
// factor.
std::vector<double> taskReportShares(TaskLayout layout, const TaskHeader& h);
// The heading of a column of the task report: the viewer's title, empty for a switched-off
// column and for a mode that has no title of its own.
std::string taskReportHeading(TaskLayout layout, int col, const TaskHeader& h,
                              const ShellTables& texts);

// Draws the whole report on the canvas, page after page; the caller begins and ends the
// document.
void printSolutionReport(PageCanvas& canvas, const SolutionView& view, const ShellTables& texts);
void printTaskReport(PageCanvas& canvas, const TaskView& view, const ShellTables& texts);

}  // namespace qj
