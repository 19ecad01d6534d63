// The workbook model, reader and writer as the program had them before it streamed its
// workbooks (a tree per sheet part, libxlsxwriter), kept only so that the benchmark measures
// old and new in one run.
#include "legacy/workbook.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "records/cp1251.h"

namespace qj::legacy {
namespace {

const std::string kEmpty;

void requireInside(int row, int col) {
  if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns)
    throw std::out_of_range("cell " + std::to_string(row) + "," + std::to_string(col) +
                            " lies outside a sheet");
}

bool isEmptyRange(const CellRange& r) {
  return r.lastRow < r.firstRow || r.lastColumn < r.firstColumn;
}

bool forbiddenInSheetName(char c) {
  switch (c) {
    case '[':
    case ']':
    case ':':
    case '*':
    case '?':
    case '/':
    case '\\': return true;
    default: return false;
  }
}

std::string trimApostrophes(std::string s) {
  while (!s.empty() && s.back() == '\'') s.pop_back();
  const size_t first = s.find_first_not_of('\'');
  return first == std::string::npos ? std::string() : s.substr(first);
}

// The name cut so that `suffix` fits behind it within the length limit.
std::string withSuffix(const std::string& base, const std::string& suffix) {
  std::string cut = base.substr(0, kMaxSheetNameLength - suffix.size());
  return trimApostrophes(cut) + suffix;
}

}  // namespace

CellRange columnRange(int col, int rows) {
  return {0, col, rows - 1, col};
}

CellRange rowRange(int row, int columns) {
  return {row, 0, row, columns - 1};
}

std::string columnLetters(int col) {
  std::string letters;
  for (int n = col + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

void Sheet::set(int row, int col, std::string text) {
  requireInside(row, col);
  auto rowIt = std::lower_bound(rows_.begin(), rows_.end(), row,
                                [](const Row& r, int value) { return r.row < value; });
  if (rowIt == rows_.end() || rowIt->row != row) {
    if (text.empty()) return;
    rowIt = rows_.insert(rowIt, Row{row, {}});
  }
  std::vector<Cell>& cells = rowIt->cells;
  // Layouts fill their rows left to right: appending is the common case.
  auto cellIt = !cells.empty() && cells.back().column < col
                    ? cells.end()
                    : std::lower_bound(cells.begin(), cells.end(), col,
                                       [](const Cell& c, int value) { return c.column < value; });
  const bool present = cellIt != cells.end() && cellIt->column == col;
  if (text.empty()) {
    if (!present) return;
    cells.erase(cellIt);
    --cellCount_;
    if (cells.empty()) rows_.erase(rowIt);
    return;
  }
  if (present) {
    cellIt->text = std::move(text);
    return;
  }
  cells.insert(cellIt, Cell{col, std::move(text)});
  ++cellCount_;
}

const std::string& Sheet::cell(int row, int col) const {
  const auto rowIt = std::lower_bound(rows_.begin(), rows_.end(), row,
                                      [](const Row& r, int value) { return r.row < value; });
  if (rowIt == rows_.end() || rowIt->row != row) return kEmpty;
  const auto& cells = rowIt->cells;
  const auto cellIt = std::lower_bound(cells.begin(), cells.end(), col,
                                       [](const Cell& c, int value) { return c.column < value; });
  return cellIt != cells.end() && cellIt->column == col ? cellIt->text : kEmpty;
}

int Sheet::rowCount() const {
  return rows_.empty() ? 0 : rows_.back().row + 1;
}

int Sheet::columnCount() const {
  int count = 0;
  for (const Row& r : rows_) count = std::max(count, r.cells.back().column + 1);
  return count;
}

void Sheet::setBold(const CellRange& range, bool bold) {
  if (!isEmptyRange(range)) formats_.push_back({range, bold, std::nullopt, std::nullopt});
}

void Sheet::setAlign(const CellRange& range, HAlign align) {
  if (!isEmptyRange(range)) formats_.push_back({range, std::nullopt, align, std::nullopt});
}

void Sheet::setWrap(const CellRange& range, bool wrap) {
  if (!isEmptyRange(range)) formats_.push_back({range, std::nullopt, std::nullopt, wrap});
}

CellFormat Sheet::formatAt(int row, int col) const {
  CellFormat f;
  for (const FormatStep& step : formats_) {
    if (!step.range.contains(row, col)) continue;
    if (step.bold) f.bold = *step.bold;
    if (step.align) f.align = *step.align;
    if (step.wrap) f.wrap = *step.wrap;
  }
  return f;
}

void Sheet::setColumnWidth(int col, double width) {
  requireInside(0, col);
  widths_[col] = width;
}

void Sheet::setRowHeight(int row, double points) {
  requireInside(row, 0);
  heights_[row] = points;
}

std::optional<double> Sheet::columnWidth(int col) const {
  const auto it = widths_.find(col);
  return it == widths_.end() ? std::nullopt : std::optional<double>(it->second);
}

std::optional<double> Sheet::rowHeight(int row) const {
  const auto it = heights_.find(row);
  return it == heights_.end() ? std::nullopt : std::optional<double>(it->second);
}

Sheet& Workbook::addSheet(std::string name) {
  sheets_.emplace_back(std::move(name));
  return sheets_.back();
}

std::vector<std::string> validSheetNames(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  // Spreadsheet programs reserve "History" for a sheet of their own.
  std::set<std::string> taken{"HISTORY"};
  for (size_t i = 0; i < names.size(); ++i) {
    std::string name = names[i];
    for (char& c : name)
      if (forbiddenInSheetName(c)) c = '_';
    name = trimApostrophes(name.substr(0, kMaxSheetNameLength));
    if (name.empty()) name = "Sheet" + std::to_string(i + 1);
    std::string candidate = name;
    for (int n = 2; taken.count(cp1251::upper(candidate)) != 0; ++n)
      candidate = withSuffix(name, " (" + std::to_string(n) + ")");
    taken.insert(cp1251::upper(candidate));
    out.push_back(std::move(candidate));
  }
  return out;
}

}  // namespace qj::legacy
