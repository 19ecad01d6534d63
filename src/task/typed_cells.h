#pragma once
// What the user typed into a grid of the task wizard that no step has stored yet. A step fills
// its page's grid from the wizard's records each time the user comes forward to it; without
// this, going Back and Next would put the records' values back over what the user typed.
//
// A grid is compared with the grid as it was last filled; the cells that differ are what the
// user typed, kept by the identity of their row (a point, a point's transition, a point's
// candidate section), so that a refill can put them back into the row of the same identity,
// wherever it now stands.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "wizard/grid.h"

namespace qj {

class TypedCells {
 public:
  // Takes the cells of `grid` that the user changed since it was filled or last collected.
  // Call before the grid is filled again, or before typed cells are forgotten.
  void collect(const GridTable& grid);
  // The grid has just been filled from the records; `rowKeys` names every row's identity.
  // The typed cells of the rows are then put back where `keep` allows it (the cell still
  // means what it meant when it was typed).
  void filled(GridTable& grid, std::vector<std::string> rowKeys,
              const std::function<bool(int row, int col)>& keep);
  // A step stored the grid into the records: nothing typed is outstanding any more.
  void stored(const GridTable& grid);
  // Forgets what was typed into the rows for which `drop` holds (their values no longer apply).
  void forget(const std::function<bool(const std::string& rowKey)>& drop);
  // Forgets everything, the last fill included (the task was replaced).
  void clear();

  // The text typed into a cell of the row with this identity, if any.
  const std::string* typed(const std::string& rowKey, int col) const;

 private:
  GridTable lastSeen_;
  std::vector<std::string> keys_;
  std::map<std::pair<std::string, int>, std::string> typed_;
};

// Row identities: a point, and one transition of a point.
std::string pointKey(int point);
std::string slotKey(int point, int32_t kind);
// The point of a row identity that begins with pointKey; -1 when there is none.
int keyPoint(const std::string& rowKey);
// The kind of a slotKey; 0 for other keys.
int32_t keyKind(const std::string& rowKey);

}  // namespace qj
