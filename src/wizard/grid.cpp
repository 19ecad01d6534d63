#include "wizard/grid.h"

#include <algorithm>
#include <cstddef>

#include "records/text.h"

namespace qj {
namespace {
const std::string kEmpty;
}  // namespace

void GridTable::setRows(int rows) {
  rows_ = rows < 0 ? 0 : rows;
  cells_.resize(static_cast<size_t>(rows_),
                std::vector<std::string>(static_cast<size_t>(columns_)));
}

void GridTable::setColumns(int columns) {
  if (columns == columns_) return;
  columns_ = columns < 0 ? 0 : columns;
  for (auto& row : cells_) row.resize(static_cast<size_t>(columns_));
}

const std::string& GridTable::cell(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= columns_) return kEmpty;
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void GridTable::set(int row, int col, std::string text) {
  if (row < 0 || row >= rows_ || col < 0 || col >= columns_) return;
  cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
}

bool GridTable::isEmptyTrimmed(int row, int col) const {
  return trim(cell(row, col)).empty();
}

void GridTable::insertRow(int at) {
  if (at < 0 || at > rows_) return;
  cells_.insert(cells_.begin() + at, std::vector<std::string>(static_cast<size_t>(columns_)));
  ++rows_;
}

void GridTable::removeRow(int at) {
  if (at < 0 || at >= rows_) return;
  cells_.erase(cells_.begin() + at);
  --rows_;
}

bool GridRules::accepts(const GridTable& table, int row, int col, std::string_view text) const {
  if (!typable(table, row, col)) return false;
  const FieldEdit edit = judgeEdit(cellRule(table, row, col), table.cell(row, col), text);
  return edit.taken && edit.text == text;
}

}  // namespace qj
