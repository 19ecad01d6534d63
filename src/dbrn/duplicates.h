#pragma once
// Equal keys among the rows of a grid, found by hashing. The steps report "rows i and j are
// equal" for the first row i (from the top) that has a later equal row, and for it the first
// such j: the pair that comparing every row with every later row would report first.

#include <optional>
#include <unordered_map>
#include <utility>

namespace qj {

template <typename Key, typename Hash = std::hash<Key>>
class DuplicateFinder {
 public:
  // Rows are added from the top.
  void add(int row, const Key& key) {
    auto [it, fresh] = rows_.try_emplace(key, row, -1);
    if (!fresh && it->second.second < 0) it->second.second = row;
  }

  // The first later row with the same key as `row`, when `row` is the first row of its key;
  // -1 otherwise (an earlier row of the same key is reported before this one is reached).
  int laterOf(int row, const Key& key) const {
    const auto it = rows_.find(key);
    return it != rows_.end() && it->second.first == row ? it->second.second : -1;
  }

  // The first pair (i, j) of rows with equal keys.
  std::optional<std::pair<int, int>> firstPair() const {
    std::optional<std::pair<int, int>> best;
    for (const auto& [key, pair] : rows_)
      if (pair.second >= 0 && (!best || pair.first < best->first)) best = pair;
    return best;
  }

 private:
  std::unordered_map<Key, std::pair<int, int>, Hash> rows_;  // first and second row of a key
};

}  // namespace qj
