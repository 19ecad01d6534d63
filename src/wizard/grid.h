#pragma once
// The string grids of the wizards and viewers, held in the core: cells of code-page-1251 text,
// including columns that carry record data and are never shown, plus the rules that say what
// the user may type into each cell. Windows show a GridTable through one Qt model.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/text.h"
#include "text/key_filters.h"

namespace qj {

// The text of a cell: a view into its grid that becomes a string where one is needed (a copy),
// and joins strings as a string does.
struct CellText : std::string_view {
  CellText() = default;
  CellText(std::string_view text) : std::string_view(text) {}
  operator std::string() const { return std::string(*this); }
};
inline std::string operator+(std::string a, CellText b) {
  return a.append(b);
}
inline std::string operator+(CellText a, std::string_view b) {
  return std::string(a).append(b);
}
inline std::string operator+(CellText a, CellText b) {
  return std::string(a).append(b);
}
inline std::string operator+(const char* a, CellText b) {
  return std::string(a).append(b);
}
inline std::string operator+(CellText a, const char* b) {
  return std::string(a).append(b);
}
inline std::string operator+(CellText a, char b) {
  return std::string(a) + b;
}

class GridTable {
 public:
  explicit GridTable(int columns = 0) : columns_(columns) {}

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  // Changes the number of rows; existing cells keep their texts, new cells are empty.
  void setRows(int rows);
  void setColumns(int columns);
  void clear() { setRows(0); }

  // Cells outside the grid read as empty and ignore writes. A cell's text stays valid until
  // the grid changes.
  CellText cell(int row, int col) const;
  void set(int row, int col, std::string_view text);
  // Every cell of a row at once, in one pass over it (a cell alone is found by walking the row
  // up to it); `out` takes the first out.size() cells, and cells beyond the grid read as empty.
  void rowCells(int row, std::span<CellText> out) const;
  bool isEmptyTrimmed(int row, int col) const;

  // A new empty row at `at` (0 <= at <= rows); the rows from `at` on move down.
  void insertRow(int at);
  // Removes row `at`; the rows below move up.
  void removeRow(int at);

  // The memory the rows take: each row's own block with what the allocator adds to it.
  uint64_t keptBytes() const;

 private:
  int rows_ = 0;
  int columns_ = 0;
  // One packed text per row (every cell as its length and its bytes; an empty text is a row
  // of empty cells), so that a grid of 200000 rows keeps little more than its characters and
  // inserting or removing a row moves rows, not every cell below it.
  std::vector<std::string> cells_;
};

// Keys that the wizards give a meaning of their own.
enum class GridKey { InsertRow, DeleteRow, PrevType, NextType, PrevName, NextName, Space, Delete };

// What the user may do to the cells of one grid. A typable cell takes what its field rule
// says, typed and pasted alike, as the edits of the wizards do.
class GridRules {
 public:
  virtual ~GridRules() = default;
  virtual bool typable(const GridTable& table, int row, int col) const = 0;
  // What a typable cell takes.
  virtual FieldRule cellRule(const GridTable& table, int row, int col) const = 0;
  // Whether the cell may change from its text to `text` (what its editor commits).
  bool accepts(const GridTable& table, int row, int col, std::string_view text) const;
};

// A grid that nobody edits (viewers, lists).
class ReadOnlyRules : public GridRules {
 public:
  bool typable(const GridTable&, int, int) const override { return false; }
  FieldRule cellRule(const GridTable&, int, int) const override { return {}; }
};

// The flag cell texts: shown as two blanks and an asterisk, stored as "*".
inline constexpr std::string_view kFlagShown = "  *";
inline bool isFlagSet(std::string_view cell) {
  return cell.find('*') != std::string_view::npos;
}

}  // namespace qj
