#pragma once
// The printed reports of a solution and of a task: what the viewer shows, laid out on
// pages. Both share one page model: fixed margins in device pixels, one line height, a page
// number at the bottom right of every page, tables whose columns take fixed shares of the
// usable width, texts wrapped at their blanks into their columns, and rules.
//
// The title, the parameter lines and the page numbers are printed at the canvas's own size.
// A table keeps that size while its words fit its columns (columnsForWords); only where they
// cannot does the table's text get smaller, no smaller than needed and at least half size.
//
// A table row is measured before it is drawn and goes to the next page when it would reach
// into the footer line; only a row taller than a whole page is continued over pages. The
// rules and the page number are drawn once per page.

#include <string>
#include <string_view>
#include <vector>

#include "reports/page_canvas.h"
#include "reports/solution_view.h"
#include "reports/task_view.h"
#include "text/shell_texts.h"

namespace qj {

// Page measures in device pixels.
inline constexpr int kReportTextLeft = 65;   // parameter lines and column 0
inline constexpr int kReportRuleLeft = 60;   // where horizontal rules start
inline constexpr int kReportFirstTop = 60;   // the title on the first page
inline constexpr int kReportTop = 65;        // every later page
inline constexpr int kReportMargin = 65;     // right and bottom
inline constexpr int kReportRuleOffset = 5;  // a column's rule lies this far left of its edge
inline constexpr int kReportCellPad = 15;    // between a cell's text and its rules
// The least size of the text, as a share of the canvas's own.
inline constexpr double kReportLeastTextScale = 0.5;

// What becomes of a word wider than a whole line: cut at the line's end (a table cell, whose
// rule must stay clear), or broken over as many lines as it needs (a line across the page).
enum class LongWord { Cut, Break };

// The text in lines no wider than `limit`, broken at its blanks (the blanks at a break are
// dropped; those that open the text stay). A line exactly as wide as the limit stays whole;
// every line takes at least one character, however narrow the limit. An empty or blank text
// has no lines.
std::vector<std::string> wrapText(std::string_view text, int limit, const PageCanvas& canvas,
                                  LongWord longWord = LongWord::Cut);

struct ReportColumns {
  std::vector<int> x;      // the edges x0 .. xn; column k's rule lies at x(k) - 5
  std::vector<int> limit;  // the width a column's text may take, its margins deducted
  int right() const { return x.back(); }
  // Where column k's text starts.
  int textX(size_t k) const { return x[k] - kReportRuleOffset + kReportCellPad; }
};

// Columns taking the given shares of the usable width (a switched-off column has share 0):
// x(k+1) = x(k) + Round(usable x share), rounding halves to even; the text keeps its margin
// from both rules.
ReportColumns reportColumns(const std::vector<double>& shares, int usableWidth);

// The columns of a table whose column k holds words up to `widestWords[k]` pixels wide.
// Where every column holds its widest word, the columns are those of the shares. Otherwise a
// column too narrow takes the room it lacks first from the width that switched-off columns
// leave at the table's end, then from the columns with room to spare beyond their own widest
// words, each giving in proportion to its share and none below its widest word. When all that
// room is not enough, the columns too narrow share it in proportion to what they lack, and
// their widest words are cut.
ReportColumns columnsForWords(const std::vector<double>& shares,
                              const std::vector<int>& widestWords, int usableWidth);
// True when every column can hold its widest word within the usable width.
bool wordsFitColumns(const std::vector<double>& shares, const std::vector<int>& widestWords,
                     int usableWidth);

// The report titles: the title text, a blank and the viewer's caption from the character
// after its own shell text and the blank that follows it (the quoted task name), at most
// 1000 characters.
std::string solutionReportTitle(std::string_view caption, const ShellTables& texts);
std::string taskReportTitle(std::string_view caption, const ShellTables& texts);

// The shares of the usable width that the report's columns take: the solution report's
// eight, and the task report's in its layout, a switched-off column at 0 (the unloading
// time and the volume need cargo, the order column an order mode, the refusal column
// refusals, the income column any of refusals, time factor or cargo, the windows the time
// factor).
std::vector<double> solutionReportShares();
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
