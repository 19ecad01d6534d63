#include "wizard/grid.h"

#include <algorithm>
#include <cstddef>

#include "records/text.h"

namespace qj {
namespace {

// A packed row holds every cell as its length (seven bits a byte, the high bit set on every
// byte but the last) followed by its bytes.
size_t readLength(std::string_view row, size_t& pos) {
  size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const auto b = static_cast<unsigned char>(row[pos++]);
    length |= static_cast<size_t>(b & 0x7f) << shift;
    if (!(b & 0x80)) return length;
  }
}

void appendLength(std::string& out, size_t length) {
  for (; length >= 0x80; length >>= 7) out += static_cast<char>(0x80 | (length & 0x7f));
  out += static_cast<char>(length);
}

// Where cell `col` of a packed row starts (its length), where its text starts and where it ends.
struct CellSpan {
  size_t begin, text, end;
};

CellSpan locate(std::string_view row, int col) {
  size_t pos = 0;
  for (int c = 0;; ++c) {
    const size_t begin = pos;
    const size_t length = readLength(row, pos);
    if (c == col) return {begin, pos, pos + length};
    pos += length;
  }
}

// A block of `bytes` as the allocator hands it out: a word of its own, 16-byte steps, at
// least 32 bytes.
uint64_t heapBlock(uint64_t bytes) {
  return std::max<uint64_t>(32, (bytes + 8 + 15) / 16 * 16);
}

}  // namespace

void GridTable::setRows(int rows) {
  rows_ = rows < 0 ? 0 : rows;
  cells_.resize(static_cast<size_t>(rows_));
}

void GridTable::setColumns(int columns) {
  if (columns == columns_) return;
  columns = columns < 0 ? 0 : columns;
  for (auto& row : cells_) {
    if (row.empty()) continue;
    if (columns > columns_)
      row.append(static_cast<size_t>(columns - columns_), '\0');
    else {
      row.resize(columns == 0 ? 0 : locate(row, columns).begin);
      row.shrink_to_fit();
    }
  }
  columns_ = columns;
}

CellText GridTable::cell(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= columns_) return {};
  const std::string& packed = cells_[static_cast<size_t>(row)];
  if (packed.empty()) return {};
  const CellSpan span = locate(packed, col);
  return std::string_view(packed).substr(span.text, span.end - span.text);
}

void GridTable::rowCells(int row, std::span<CellText> out) const {
  std::fill(out.begin(), out.end(), CellText());
  if (row < 0 || row >= rows_) return;
  const std::string_view packed = cells_[static_cast<size_t>(row)];
  size_t pos = 0;
  for (size_t c = 0; c < out.size() && c < static_cast<size_t>(columns_) && pos < packed.size();
       ++c) {
    const size_t length = readLength(packed, pos);
    out[c] = packed.substr(pos, length);
    pos += length;
  }
}

void GridTable::set(int row, int col, std::string_view text) {
  if (row < 0 || row >= rows_ || col < 0 || col >= columns_) return;
  std::string& packed = cells_[static_cast<size_t>(row)];
  if (packed.empty()) {
    if (text.empty()) return;
    packed.assign(static_cast<size_t>(columns_), '\0');
  }
  const CellSpan span = locate(packed, col);
  // A text of the cell's length is written over it: the steps set many cells to what they
  // hold already (a padded number padded again), and a row rebuilt for each would cost an
  // allocation a cell. Moved, not copied, since `text` may be a cell of this very row.
  if (span.end - span.text == text.size()) {
    std::char_traits<char>::move(packed.data() + span.text, text.data(), text.size());
    return;
  }
  // Built apart, so that `text` may be a cell of this very row, and sized to what it holds.
  std::string changed;
  changed.reserve(packed.size() - (span.end - span.begin) + text.size() + 5);
  changed.append(packed, 0, span.begin);
  appendLength(changed, text.size());
  changed.append(text);
  changed.append(packed, span.end);
  // Every cell empty: one length byte each.
  if (changed.size() == static_cast<size_t>(columns_)) std::string().swap(changed);
  // Swapped, not moved: a short text moved into a long row would keep the row's block.
  packed.swap(changed);
}

bool GridTable::isEmptyTrimmed(int row, int col) const {
  return trim(cell(row, col)).empty();
}

void GridTable::insertRow(int at) {
  if (at < 0 || at > rows_) return;
  cells_.insert(cells_.begin() + at, std::string());
  ++rows_;
}

void GridTable::removeRow(int at) {
  if (at < 0 || at >= rows_) return;
  cells_.erase(cells_.begin() + at);
  --rows_;
}

uint64_t GridTable::keptBytes() const {
  uint64_t bytes = cells_.capacity() * sizeof(std::string);
  for (const std::string& row : cells_)
    if (row.capacity() > std::string().capacity()) bytes += heapBlock(row.capacity() + 1);
  return bytes;
}

bool GridRules::accepts(const GridTable& table, int row, int col, std::string_view text) const {
  if (!typable(table, row, col)) return false;
  const FieldEdit edit = judgeEdit(cellRule(table, row, col), table.cell(row, col), text);
  return edit.taken && edit.text == text;
}

}  // namespace qj
