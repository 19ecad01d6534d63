#include "reports/print_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "records/numbers.h"
#include "records/text.h"

namespace qj {

namespace {

// The longest start of `word` that fits the limit, at least its first character.
size_t fittingPrefix(std::string_view word, int limit, const PageCanvas& canvas) {
  size_t n = 1;
  while (n < word.size() && canvas.textWidth(word.substr(0, n + 1)) <= limit) ++n;
  return n;
}

}  // namespace

std::vector<std::string> wrapText(std::string_view text, int limit, const PageCanvas& canvas,
                                  LongWord longWord) {
  std::vector<std::string> lines;
  std::string current;  // the line being filled, up to the end of its last word
  size_t taken = 0;     // where the text of `current` ends
  while (taken < text.size()) {
    const size_t start = text.find_first_not_of(' ', taken);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(text.find(' ', start), text.size());
    std::string_view word = text.substr(start, end - start);
    // The word after the line's blanks; the text's opening blanks go on its first line.
    const bool opening = lines.empty() && current.empty();
    std::string candidate = current.empty() && !opening
                                ? std::string(word)
                                : current + std::string(text.substr(taken, end - taken));
    taken = end;
    if (canvas.textWidth(candidate) <= limit) {
      current = std::move(candidate);
      continue;
    }
    if (!current.empty()) lines.push_back(std::exchange(current, {}));
    // The word opens a line of its own; one wider than a whole line is cut or broken.
    while (!word.empty() && canvas.textWidth(word) > limit) {
      const size_t n = fittingPrefix(word, limit, canvas);
      lines.emplace_back(word.substr(0, n));
      word = longWord == LongWord::Cut ? std::string_view() : word.substr(n);
    }
    current = std::string(word);
  }
  if (!current.empty()) lines.push_back(std::move(current));
  return lines;
}

ReportColumns reportColumns(const std::vector<double>& shares, int usableWidth) {
  ReportColumns c;
  c.x.push_back(kReportTextLeft);
  for (const double share : shares) {
    const int width = static_cast<int>(roundHalfEven(usableWidth * share));
    c.x.push_back(c.x.back() + width);
    c.limit.push_back(width - 2 * kReportCellPad);
  }
  return c;
}

namespace {

// What a column needs for its widest word with the margins of its text; a switched-off column
// needs nothing.
std::vector<int> neededWidths(const std::vector<double>& shares,
                              const std::vector<int>& widestWords) {
  std::vector<int> need(shares.size(), 0);
  for (size_t k = 0; k < shares.size(); ++k)
    if (shares[k] > 0 && k < widestWords.size()) need[k] = widestWords[k] + 2 * kReportCellPad;
  return need;
}

std::vector<int> widthsOf(const ReportColumns& columns) {
  std::vector<int> widths;
  for (size_t k = 0; k + 1 < columns.x.size(); ++k)
    widths.push_back(columns.x[k + 1] - columns.x[k]);
  return widths;
}

// `total` split in proportion to the weights, each part a whole number and, while `total` is
// at most the weights' sum, none above its weight: the largest remainders take the units
// that rounding down leaves.
std::vector<int> apportion(int total, const std::vector<int>& weights) {
  std::vector<int> parts(weights.size(), 0);
  long long sum = 0;
  for (const int w : weights) sum += std::max(0, w);
  if (sum == 0 || total <= 0) return parts;
  std::vector<std::pair<long long, size_t>> remainders;
  int given = 0;
  for (size_t k = 0; k < weights.size(); ++k) {
    const long long share = static_cast<long long>(total) * std::max(0, weights[k]);
    parts[k] = static_cast<int>(share / sum);
    given += parts[k];
    remainders.emplace_back(share % sum, k);
  }
  std::stable_sort(remainders.begin(), remainders.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t i = 0; given < total && i < remainders.size(); ++i, ++given)
    ++parts[remainders[i].second];
  return parts;
}

// What the columns give of `total`: each in proportion to its weight, none more than it can
// spare; what a column cannot give is asked of the others in the same proportion.
std::vector<int> givenInProportion(int total, const std::vector<int>& weights,
                                   const std::vector<int>& spare) {
  std::vector<int> given(weights.size(), 0);
  std::vector<int> open(weights.size(), 0);  // the weights of the columns that can still give
  for (size_t k = 0; k < weights.size(); ++k) open[k] = spare[k] > 0 ? weights[k] : 0;
  while (total > 0) {
    const std::vector<int> asked = apportion(total, open);
    bool capped = false;
    for (size_t k = 0; k < open.size(); ++k)
      if (open[k] > 0 && asked[k] > spare[k]) {
        given[k] = spare[k];
        total -= spare[k];
        open[k] = 0;
        capped = true;
      }
    if (capped) continue;
    for (size_t k = 0; k < open.size(); ++k) given[k] += asked[k];
    break;
  }
  return given;
}

struct Room {
  std::vector<int> lack, spare;  // per column
  int endRoom = 0;               // the usable width beyond the table's end
  int lacking() const { return std::accumulate(lack.begin(), lack.end(), 0); }
  int spareTotal() const { return std::accumulate(spare.begin(), spare.end(), endRoom); }
};

Room roomOf(const std::vector<int>& widths, const std::vector<int>& need, int usableWidth) {
  Room room;
  for (size_t k = 0; k < widths.size(); ++k) {
    room.lack.push_back(std::max(0, need[k] - widths[k]));
    room.spare.push_back(std::max(0, widths[k] - need[k]));
  }
  room.endRoom = std::max(0, usableWidth - std::accumulate(widths.begin(), widths.end(), 0));
  return room;
}

}  // namespace

bool wordsFitColumns(const std::vector<double>& shares, const std::vector<int>& widestWords,
                     int usableWidth) {
  const Room room = roomOf(widthsOf(reportColumns(shares, usableWidth)),
                           neededWidths(shares, widestWords), usableWidth);
  return room.lacking() <= room.spareTotal();
}

ReportColumns columnsForWords(const std::vector<double>& shares,
                              const std::vector<int>& widestWords, int usableWidth) {
  const ReportColumns atShares = reportColumns(shares, usableWidth);
  std::vector<int> widths = widthsOf(atShares);
  const Room room = roomOf(widths, neededWidths(shares, widestWords), usableWidth);
  const int lacking = room.lacking();
  if (lacking == 0) return atShares;
  const int available = room.spareTotal();
  // The width that switched-off columns leave at the table's end costs no column anything:
  // it goes first. The columns give the rest in proportion to their shares, so that the
  // widest keeps the most.
  const int fromEnd = std::min(lacking, room.endRoom);
  const std::vector<int> given =
      givenInProportion(std::min(lacking, available) - fromEnd, widths, room.spare);
  const std::vector<int> taken = lacking <= available ? room.lack : apportion(available, room.lack);
  ReportColumns columns;
  columns.x.push_back(kReportTextLeft);
  for (size_t k = 0; k < widths.size(); ++k) {
    widths[k] += taken[k] - given[k];
    columns.x.push_back(columns.x.back() + widths[k]);
    columns.limit.push_back(widths[k] - 2 * kReportCellPad);
  }
  return columns;
}

namespace {

constexpr size_t kTitleMax = 1000;
constexpr size_t kCellMax = 100;
// A parameter row whose key and value have this many characters together prints its value
// on a line of its own.
constexpr size_t kParameterLineMax = 120;
// The room a route table needs on its first page.
constexpr int kTableRoom = 1200;

// The viewer's caption is its shell text, a blank and the quoted task name.
std::string reportTitle(const std::string& titleText, std::string_view caption,
                        const std::string& captionText) {
  const size_t from = captionText.size() + 1;
  const std::string_view tail =
      from < caption.size() ? caption.substr(from, kTitleMax) : std::string_view();
  return titleText + " " + std::string(tail);
}

// A parameter's key with its colon. A key that ends in a colon of its own (the heading of a
// group of rows) is not given a second one.
std::string keyWithColon(const std::string& key) {
  return !key.empty() && key.back() == ':' ? key : key + ":";
}

// A parameter row as one line of text.
std::string parameterText(const KeyValue& p) {
  return keyWithColon(p.key) + " " + p.value;
}

// A row of cells as the lines of each column.
using BlockLines = std::vector<std::vector<std::string>>;

// The page model that both reports follow.
class ReportPrinter {
 public:
  // The canvas at its own size, as the title and the parameter lines are printed.
  explicit ReportPrinter(PageCanvas& canvas) : c_(canvas) {
    c_.setTextScale(1);
    footerHeight_ = c_.textHeight();
  }

  PageCanvas& canvas() { return c_; }
  int usableWidth() const { return c_.pageWidth() - 2 * kReportMargin; }
  int lineHeight() const { return c_.textHeight(); }
  int y() const { return y_; }
  void moveDown(int dy) { y_ += dy; }

  // Centred on the width the title takes in the regular style, drawn in bold.
  void title(const std::string& text) {
    const int x = (c_.pageWidth() - c_.textWidth(text)) / 2;
    c_.setBold(true);
    c_.text(x, kReportFirstTop, text);
    y_ = kReportFirstTop + lineHeight();
    c_.setBold(false);
  }

  // A text at the left edge; one wider than the page continues on the lines below it
  // rather than running off the paper. Returns its lines (at least one).
  std::vector<std::string> pageLines(const std::string& text) const {
    std::vector<std::string> lines = wrapText(text, usableWidth(), c_, LongWord::Break);
    if (lines.empty()) lines.emplace_back();
    return lines;
  }

  // True when `lines` more lines of text, with a line height to spare, would reach into the
  // footer.
  bool pageFull(size_t lines) const {
    const int needed = std::max<int>(4, static_cast<int>(lines) + 2) * lineHeight();
    return y_ + needed > c_.pageHeight() - kReportMargin;
  }

  void pageBreak() {
    closePage();
    c_.newPage();
    ++page_;
    y_ = kReportTop;
    tableTop_ = kReportTop;
  }

  // As tall as the tallest cell (an empty row as one line), with the cells' margins.
  int blockHeight(const BlockLines& block) const {
    return static_cast<int>(blockLines(block)) * lineHeight() + 2 * kReportCellPad;
  }
  static size_t blockLines(const BlockLines& block) {
    size_t lines = 1;
    for (const auto& cell : block) lines = std::max(lines, cell.size());
    return lines;
  }

  // The size of the table's text from here on; the page numbers keep the canvas's own.
  void setTableScale(double scale) {
    tableScale_ = scale;
    c_.setTextScale(scale);
  }

  // Starts a table with its top rule, on a new page when the headings and the first row
  // would not fit below what the page already holds.
  void startTable(const ReportColumns& columns, const BlockLines& headings,
                  const BlockLines& firstRow) {
    if (y_ > kReportTop && y_ + blockHeight(headings) + blockHeight(firstRow) > contentBottom())
      pageBreak();
    columns_ = &columns;
    tableTop_ = y_;
    rule(kReportRuleLeft, columns.right() - kReportRuleOffset);
  }

  void rule(int x1, int x2) { c_.line(x1, y_, x2, y_); }

  // One row of the table: line j (from 0) of column k at (its text x, y + margin + j x TH).
  // A row that would reach into the footer starts a new page; one taller than a whole page
  // is continued line by line.
  void block(const BlockLines& block) {
    const int th = lineHeight();
    if (y_ + blockHeight(block) > contentBottom() && y_ > tableTop_) pageBreak();
    const size_t lines = blockLines(block);
    const int firstLineTop = kReportTop + kReportCellPad;
    int base = y_;
    for (size_t j = 0; j < lines; ++j) {
      const int top = base + kReportCellPad + static_cast<int>(j) * th;
      if (top + th > contentBottom() && top > firstLineTop) {
        y_ = top;
        pageBreak();
        base = y_ - static_cast<int>(j) * th;
      }
      for (size_t k = 0; k < block.size(); ++k)
        if (j < block[k].size())
          c_.text(columns_->textX(k), base + kReportCellPad + static_cast<int>(j) * th,
                  block[k][j]);
    }
    y_ = base + static_cast<int>(lines) * th + 2 * kReportCellPad;
  }

  // The vertical rules of the last page and its number.
  void finish() { closePage(); }

 private:
  // Table rows end above the footer's line.
  int contentBottom() const { return c_.pageHeight() - kReportMargin - footerHeight_; }

  void closePage() {
    if (columns_)
      for (const int x : columns_->x)
        c_.line(x - kReportRuleOffset, tableTop_, x - kReportRuleOffset, y_);
    c_.setTextScale(1);
    const std::string number = std::to_string(page_);
    c_.text(c_.pageWidth() - c_.textWidth(number) - kReportMargin,
            c_.pageHeight() - kReportMargin - footerHeight_, number);
    c_.setTextScale(tableScale_);
  }

  PageCanvas& c_;
  int footerHeight_ = 0;
  double tableScale_ = 1;
  const ReportColumns* columns_ = nullptr;
  int y_ = kReportFirstTop;
  int tableTop_ = kReportFirstTop;
  int page_ = 1;
};

BlockLines wrappedBlock(const std::vector<std::string>& texts, const ReportColumns& columns,
                        const PageCanvas& canvas) {
  BlockLines block;
  for (size_t k = 0; k < texts.size(); ++k)
    block.push_back(wrapText(texts[k], columns.limit[k], canvas));
  return block;
}

std::vector<std::string> rowTexts(const GridTable& table, int row, int columns) {
  std::vector<std::string> texts;
  for (int k = 0; k < columns; ++k) texts.emplace_back(table.cell(row, k));
  return texts;
}

// The widest word of each column of the blocks, at the canvas's present text size.
std::vector<int> widestWords(const std::vector<BlockLines>& blocks, size_t columns,
                             const PageCanvas& canvas) {
  std::vector<int> widest(columns, 0);
  for (const BlockLines& block : blocks)
    for (size_t k = 0; k < block.size() && k < columns; ++k)
      for (const std::string& line : block[k]) {
        size_t i = 0;
        while (i < line.size()) {
          const size_t start = line.find_first_not_of(' ', i);
          if (start == std::string::npos) break;
          const size_t end = std::min(line.find(' ', start), line.size());
          widest[k] = std::max(widest[k],
                               canvas.textWidth(std::string_view(line).substr(start, end - start)));
          i = end;
        }
      }
  return widest;
}

// The columns of a table and the size of its text.
struct TableFit {
  ReportColumns columns;
  double scale = 1;
};

// The largest size of the table's text, from the canvas's own down to the least, at which
// the columns can hold every word of the blocks, and the columns at that size. The canvas is
// left at its own size.
TableFit fitTable(const std::vector<double>& shares, const std::vector<BlockLines>& blocks,
                  int usable, PageCanvas& canvas) {
  constexpr int kSteps = 100;  // sizes from the canvas's own in hundredths
  TableFit fit;
  std::vector<int> widest;
  for (int step = 0;; ++step) {
    fit.scale = std::max(kReportLeastTextScale, 1.0 - static_cast<double>(step) / kSteps);
    canvas.setTextScale(fit.scale);
    widest = widestWords(blocks, shares.size(), canvas);
    if (wordsFitColumns(shares, widest, usable) || fit.scale <= kReportLeastTextScale) break;
  }
  canvas.setTextScale(1);
  fit.columns = columnsForWords(shares, widest, usable);
  return fit;
}

// The blocks unwrapped: each cell's text as one line, for measuring its words.
BlockLines unwrapped(const std::vector<std::string>& texts) {
  BlockLines block;
  for (const std::string& t : texts) block.push_back({t});
  return block;
}

}  // namespace

std::string solutionReportTitle(std::string_view caption, const ShellTables& texts) {
  return reportTitle(texts.shell(599), caption, texts.shell(768));
}

std::string taskReportTitle(std::string_view caption, const ShellTables& texts) {
  return reportTitle(texts.shell(88), caption, texts.shell(574));
}

std::vector<double> solutionReportShares() {
  static_assert(kRouteShownColumns == 8);
  return {0.05, 0.07, 0.20, 0.12, 0.12, 0.12, 0.22, 0.10};
}

void printSolutionReport(PageCanvas& canvas, const SolutionView& view, const ShellTables& texts) {
  ReportPrinter pr(canvas);
  std::vector<std::string> headings;
  for (int col = 0; col < kRouteShownColumns; ++col)
    headings.push_back(routeColumnTitle(col, texts));
  const GridTable& route = view.route;
  std::vector<BlockLines> measured{unwrapped(headings)};
  for (int r = 0; r < route.rows(); ++r)
    measured.push_back(unwrapped(rowTexts(route, r, kRouteShownColumns)));
  const TableFit fit = fitTable(solutionReportShares(), measured, pr.usableWidth(), canvas);
  const ReportColumns& columns = fit.columns;

  pr.title(solutionReportTitle(view.caption, texts));

  for (const KeyValue& p : view.parameters) {
    std::vector<std::string> lines;
    for (const std::string& text : p.key.size() + p.value.size() < kParameterLineMax
                                       ? std::vector<std::string>{parameterText(p)}
                                       : std::vector<std::string>{keyWithColon(p.key), p.value}) {
      const std::vector<std::string> part = pr.pageLines(text);
      lines.insert(lines.end(), part.begin(), part.end());
    }
    if (pr.pageFull(lines.size())) pr.pageBreak();
    for (const std::string& line : lines) {
      pr.moveDown(pr.lineHeight());
      canvas.text(kReportTextLeft, pr.y(), line);
    }
  }

  pr.moveDown(2 * pr.lineHeight());
  if (pr.y() > canvas.pageHeight() - kTableRoom) pr.pageBreak();

  pr.setTableScale(fit.scale);
  const BlockLines headingBlock = wrappedBlock(headings, columns, canvas);
  const BlockLines firstRow =
      route.rows() > 0 ? wrappedBlock(rowTexts(route, 0, kRouteShownColumns), columns, canvas)
                       : BlockLines{};
  pr.startTable(columns, headingBlock, firstRow);
  pr.block(headingBlock);
  pr.rule(kReportRuleLeft, columns.right() - kReportRuleOffset);

  for (int r = 0; r < route.rows(); ++r) {
    pr.block(r == 0 ? firstRow
                    : wrappedBlock(rowTexts(route, r, kRouteShownColumns), columns, canvas));
    // Rows of a point's passing without an address continue the row above.
    if (!route.cell(r, kRouteAddress).empty())
      pr.rule(kReportRuleLeft, columns.right() - kReportRuleOffset);
  }
  pr.finish();
}

namespace {

bool taskColumnPrinted(int content, const TaskHeader& h) {
  switch (content) {
    case kTaskUnloadTime:
    case kTaskVolume: return h.cargoMode > kNoCargo;
    case kTaskOrder: return h.orderMode > kNoOrder;
    case kTaskRefusal: return h.refusalFlag > 0;
    case kTaskIncome: return h.refusalFlag > 0 || h.timeFactorFlag > 0 || h.cargoMode > kNoCargo;
    case kTaskWindowLow:
    case kTaskWindowHigh: return h.timeFactorFlag > 0;
    default: return true;
  }
}

// The cells of the transitions layout's separator row hold dashes.
bool isDashCell(std::string_view cell) {
  return cell.find("---") != std::string_view::npos;
}

// The text of a cell of the task report: the separator row's cells from the unloading time
// on are fixed runs of dashes.
std::string taskCellText(TaskLayout layout, int col, std::string_view cell) {
  const std::string text = cut(cell, kCellMax);
  if (layout != TaskLayout::Transitions || !isDashCell(text) || col < kTaskUnloadTime) return text;
  return std::string(col <= kTaskTransitionKind ? 16 : 10, '-');
}

// The lines of a cell of the task report, wrapped into its column; the dashes of the
// separator row fill their cell, each to its own margins.
std::vector<std::string> taskCellLines(TaskLayout layout, int col, std::string_view cell,
                                       const ReportColumns& columns, const PageCanvas& canvas) {
  return wrapText(taskCellText(layout, col, cell), columns.limit[col], canvas);
}

}  // namespace

std::vector<double> taskReportShares(TaskLayout layout, const TaskHeader& h) {
  static constexpr double kTransitions[kTaskTransitionColumns] = {
      0.06, 0.18, 0.05, 0.05, 0.05, 0.06, 0.07, 0.08,
      0.05, 0.05, 0.05, 0.05, 0.05, 0.05, 0.05, 0.05};
  static constexpr double kPoints[kTaskPointColumns] = {0.08, 0.20, 0.08, 0.08, 0.08, 0.08,
                                                        0.08, 0.08, 0.08, 0.08, 0.08};
  const double* shares = layout == TaskLayout::Transitions ? kTransitions : kPoints;
  std::vector<double> printed;
  for (int col = 0; col < taskColumnCount(layout); ++col)
    printed.push_back(taskColumnPrinted(taskColumnContent(layout, col), h) ? shares[col] : 0);
  return printed;
}

std::string taskReportHeading(TaskLayout layout, int col, const TaskHeader& h,
                              const ShellTables& texts) {
  const int content = taskColumnContent(layout, col);
  if (!taskColumnPrinted(content, h)) return {};
  if (content == kTaskVolume && h.cargoMode != kCargoByVolume && h.cargoMode != kCargoByWeight)
    return {};
  if (content == kTaskOrder && h.orderMode > kPriorityClasses) return {};
  return taskColumnTitle(layout, col, h, texts);
}

void printTaskReport(PageCanvas& canvas, const TaskView& view, const ShellTables& texts) {
  const TaskLayout layout = view.layout;
  const int columnCount = taskColumnCount(layout);
  ReportPrinter pr(canvas);
  const std::vector<double> shares = taskReportShares(layout, view.header);
  std::vector<std::string> headings;
  for (int col = 0; col < columnCount; ++col)
    headings.push_back(taskReportHeading(layout, col, view.header, texts));
  const GridTable& table = view.table;
  // A switched-off column prints nothing; the separator row's dashes are cut, not measured.
  const auto rowTextsOf = [&](int r) {
    std::vector<std::string> cells;
    for (int col = 0; col < columnCount; ++col)
      cells.push_back(shares[col] == 0 ? std::string()
                                       : taskCellText(layout, col, table.cell(r, col)));
    return cells;
  };
  std::vector<BlockLines> measured{unwrapped(headings)};
  for (int r = 0; r < table.rows(); ++r)
    if (layout != TaskLayout::Transitions || !isDashCell(table.cell(r, kTaskPointNo)))
      measured.push_back(unwrapped(rowTextsOf(r)));
  const TableFit fit = fitTable(shares, measured, pr.usableWidth(), canvas);
  const ReportColumns& columns = fit.columns;

  pr.title(taskReportTitle(view.caption, texts));

  // The parameter lines stand directly under the title, with an empty line below them.
  int line = 0;
  for (const KeyValue& p : view.parameters)
    for (const std::string& text : pr.pageLines(parameterText(p)))
      canvas.text(kReportTextLeft, pr.y() + line++ * pr.lineHeight(), text);
  pr.moveDown((line + 1) * pr.lineHeight());

  pr.setTableScale(fit.scale);
  const BlockLines headingBlock = wrappedBlock(headings, columns, canvas);
  const auto rowBlock = [&](int r) {
    BlockLines block;
    for (int col = 0; col < columnCount; ++col)
      block.push_back(shares[col] == 0
                          ? std::vector<std::string>{}
                          : taskCellLines(layout, col, table.cell(r, col), columns, canvas));
    return block;
  };
  pr.startTable(columns, headingBlock, table.rows() > 0 ? rowBlock(0) : BlockLines{});
  const int right = columns.right() - kReportRuleOffset;
  pr.block(headingBlock);
  pr.rule(kReportRuleLeft, right);

  for (int r = 0; r < table.rows(); ++r) {
    pr.block(rowBlock(r));
    // The next row continues the same point when it has no address: only its transition
    // columns are ruled off.
    const bool continued = layout == TaskLayout::Transitions && r + 1 < table.rows() &&
                           table.cell(r + 1, kTaskAddress).empty();
    if (continued)
      pr.rule(columns.x[kTaskTransitionNo] - kReportRuleOffset,
              columns.x[kTaskOrder] - kReportRuleOffset);
    else
      pr.rule(kReportRuleLeft, right);
  }
  pr.finish();
}

}  // namespace qj
