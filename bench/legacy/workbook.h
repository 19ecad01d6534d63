#pragma once
// The workbook model, reader and writer as the program had them before it streamed its
// workbooks (a tree per sheet part, libxlsxwriter), kept only so that the benchmark measures
// old and new in one run.
// A spreadsheet workbook held in memory: sheets by position, each a sparse set of text cells
// with the little formatting the program's workbooks use (bold, horizontal alignment,
// wrapping, column widths, row heights). Exports lay their workbooks out here and write them
// with writeXlsx; imports read a file into one with readWorkbook and take cells by position.
//
// Texts and sheet names are code-page-1251 byte strings like every text of the core; the
// file layers convert to and from UTF-8.
//
// Rows and columns are counted from 0 here (row 0, column 0 is the spreadsheet's cell A1).

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qj::legacy {

// The largest sheet the .xlsx format holds.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;
inline constexpr size_t kMaxSheetNameLength = 31;

enum class HAlign : uint8_t { General, Left, Center, Right };

struct CellFormat {
  bool bold = false;
  HAlign align = HAlign::General;
  bool wrap = false;
  bool operator==(const CellFormat&) const = default;
  bool isDefault() const { return *this == CellFormat{}; }
};

// A rectangle of cells, corners included.
struct CellRange {
  int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
  bool contains(int row, int col) const {
    return row >= firstRow && row <= lastRow && col >= firstColumn && col <= lastColumn;
  }
};
// All rows 0..rows-1 of one column; an empty range when rows is 0.
CellRange columnRange(int col, int rows);
// Columns 0..columns-1 of one row.
CellRange rowRange(int row, int columns);

// A formatting step on a range; the steps apply in the order they were made, a later step
// overriding what an earlier one set on the same cell.
struct FormatStep {
  CellRange range;
  std::optional<bool> bold;
  std::optional<HAlign> align;
  std::optional<bool> wrap;
};

// "A", "B", ..., "Z", "AA", ...: the letters of column `col` (0-based).
std::string columnLetters(int col);

class Sheet {
 public:
  struct Cell {
    int32_t column;
    std::string text;
  };
  struct Row {
    int32_t row;
    std::vector<Cell> cells;  // ascending columns, never an empty text
  };

  explicit Sheet(std::string name = {}) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }

  // An empty text removes the cell: a sheet holds only cells with text. Positions outside
  // the format's limits are a programming error (std::out_of_range).
  void set(int row, int col, std::string text);
  // The cell's text; empty for a cell the sheet does not hold.
  const std::string& cell(int row, int col) const;

  // One more than the last row and column that hold a cell (0 for an empty sheet).
  int rowCount() const;
  int columnCount() const;
  size_t cellCount() const { return cellCount_; }
  // The rows that hold cells, in ascending order.
  const std::vector<Row>& rows() const { return rows_; }

  void setBold(const CellRange& range, bool bold = true);
  void setAlign(const CellRange& range, HAlign align);
  void setWrap(const CellRange& range, bool wrap = true);
  const std::vector<FormatStep>& formatSteps() const { return formats_; }
  CellFormat formatAt(int row, int col) const;

  // Widths in characters of the standard font, heights in points, as a spreadsheet program
  // counts them.
  void setColumnWidth(int col, double width);
  void setRowHeight(int row, double points);
  std::optional<double> columnWidth(int col) const;
  std::optional<double> rowHeight(int row) const;
  const std::map<int, double>& columnWidths() const { return widths_; }
  const std::map<int, double>& rowHeights() const { return heights_; }

 private:
  std::string name_;
  std::vector<Row> rows_;
  size_t cellCount_ = 0;
  std::vector<FormatStep> formats_;
  std::map<int, double> widths_, heights_;
};

class Workbook {
 public:
  // Appends a sheet; the reference stays valid until the next sheet is added.
  Sheet& addSheet(std::string name);
  std::vector<Sheet>& sheets() { return sheets_; }
  const std::vector<Sheet>& sheets() const { return sheets_; }
  // The sheet at 0-based `position`, or nullptr.
  const Sheet* sheet(size_t position) const {
    return position < sheets_.size() ? &sheets_[position] : nullptr;
  }

 private:
  std::vector<Sheet> sheets_;
};

// The names the sheets get in a file: at most 31 characters, none of []:*?/\ (each becomes
// "_"), no apostrophe at either end, not empty ("Sheet<n>"), not the reserved "History", and
// unique without regard to letter case (a repeated name gets " (2)", " (3)" ...). Names are
// code page 1251.
std::vector<std::string> validSheetNames(const std::vector<std::string>& names);

}  // namespace qj::legacy
