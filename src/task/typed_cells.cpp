#include "task/typed_cells.h"

#include <algorithm>
#include <string_view>

#include "records/numbers.h"

namespace qj {

void TypedCells::collect(const GridTable& grid) {
  const int rows = std::min({grid.rows(), lastSeen_.rows(), static_cast<int>(keys_.size())});
  const int cols = std::min(grid.columns(), lastSeen_.columns());
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      if (grid.cell(r, c) != lastSeen_.cell(r, c)) typed_[{keys_[r], c}] = grid.cell(r, c);
  // A cell typed once stays typed; collecting again only adds what changed since.
  if (grid.rows() == lastSeen_.rows()) lastSeen_ = grid;
}

void TypedCells::filled(GridTable& grid, std::vector<std::string> rowKeys,
                        const std::function<bool(int row, int col)>& keep) {
  keys_ = std::move(rowKeys);
  keys_.resize(static_cast<size_t>(grid.rows()));
  for (int r = 0; r < grid.rows(); ++r) {
    const auto first = typed_.lower_bound({keys_[r], -1});
    for (auto it = first; it != typed_.end() && it->first.first == keys_[r]; ++it)
      if (keep(r, it->first.second)) grid.set(r, it->first.second, it->second);
  }
  // Compared with the grid as shown: a cell typed back to the records' value is typed too.
  lastSeen_ = grid;
}

void TypedCells::stored(const GridTable& grid) {
  typed_.clear();
  if (grid.rows() == lastSeen_.rows()) lastSeen_ = grid;
}

void TypedCells::forget(const std::function<bool(const std::string& rowKey)>& drop) {
  std::erase_if(typed_, [&](const auto& entry) { return drop(entry.first.first); });
}

void TypedCells::clear() {
  lastSeen_ = GridTable();
  keys_.clear();
  typed_.clear();
}

const std::string* TypedCells::typed(const std::string& rowKey, int col) const {
  const auto it = typed_.find({rowKey, col});
  return it == typed_.end() ? nullptr : &it->second;
}

std::string pointKey(int point) {
  return std::to_string(point);
}

std::string slotKey(int point, int32_t kind) {
  return pointKey(point) + ":" + std::to_string(kind);
}

int keyPoint(const std::string& rowKey) {
  return parseInt(std::string_view(rowKey).substr(0, rowKey.find_first_of(":|"))).value_or(-1);
}

int32_t keyKind(const std::string& rowKey) {
  const size_t colon = rowKey.find(':');
  if (colon == std::string::npos) return 0;
  return parseInt(std::string_view(rowKey).substr(colon + 1)).value_or(0);
}

}  // namespace qj
