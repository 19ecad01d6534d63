#include "dbrn/turns_step.h"

#include <array>
#include <unordered_map>
#include <unordered_set>

#include "records/numbers.h"
#include "records/text.h"

namespace qj {

namespace {

bool isNodeColumn(int col) {
  return col >= turnCol::node(0) && col <= turnCol::node(kMaxTurns - 1) &&
         (col - turnCol::node(0)) % 2 == 0;
}

bool isDirectionColumn(int col) {
  return col >= turnCol::direction(0) && col <= turnCol::direction(kMaxTurns - 1) &&
         (col - turnCol::direction(0)) % 2 == 0;
}

// A direction of rank m such as ">2"; built by appending, which GCC 12 does not misread as an
// overlapping copy.
std::string ranked(char direction, int32_t m) {
  std::string s(1, direction);
  s += std::to_string(m);
  return s;
}

// The number after the first character of a direction such as ">2"; nullopt when none.
std::optional<int32_t> rank(std::string_view direction) {
  if (direction.size() < 2 || !isDigit(direction[1])) return std::nullopt;
  return parseInt(direction.substr(1));
}

}  // namespace

bool TurnGridRules::typable(const GridTable&, int, int col) const {
  return !state_.viewing() && isNodeColumn(col);
}

FieldRule TurnGridRules::cellRule(const GridTable&, int, int) const {
  return {KeyFilter::Digit, 5};
}

std::string nextDirection(bool firstPair, std::string_view previous, std::string_view current) {
  if (firstPair) {
    const std::string_view d = trim(current);
    if (d.empty()) return "^";
    if (d == "^") return "v";
    if (d == "v") return ">1";
    if (d == ">1") return "<1";
    if (d == "<1") return "^";
    return std::string(current);
  }
  const std::string_view p = trim(previous);
  const std::string_view d = current;
  if (p.empty()) return {};
  if (p == "^") {
    if (d == "v") return ">1";
    if (d == ">1") return "<1";
    if (d == "<1") return "v";
    return "v";
  }
  if (p == "v") return d == ">1" ? "<1" : ">1";
  if (const auto m = rank(p)) {
    if (p.front() == '>') {
      const std::string s = ranked('>', *m + 1);
      return d == s ? "<1" : s;
    }
    if (p.front() == '<') return ranked('<', *m + 1);
  }
  return std::string(current);
}

GridKeyResult turnGridKey(DbrnWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  GridTable& t = state.table2;
  if (state.viewing() || key != GridKey::Space || !isDirectionColumn(col) || row < 0 ||
      row >= t.rows())
    return r;
  r.handled = true;
  r.changed(row);
  for (int c = col + 2; c <= turnCol::direction(kMaxTurns - 1); c += 2) t.set(row, c, {});
  if (t.isEmptyTrimmed(row, col - 1)) {
    t.set(row, col, {});
    return r;
  }
  const bool first = col == turnCol::direction(0);
  t.set(row, col,
        nextDirection(first, first ? CellText() : t.cell(row, col - 2), t.cell(row, col)));
  return r;
}

namespace {

uint64_t nodePair(int32_t a, int32_t b) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

// Column 4 of Table3: the number of the first section that runs back from each section's end
// node to its start node.
void findReverseSections(DbrnWizardState& state) {
  GridTable& t3 = state.table3;
  std::unordered_map<uint64_t, int> first;
  for (int r = 0; r < t3.rows(); ++r) {
    const auto a = cellInt(t3, r, accessCol::kStart), b = cellInt(t3, r, accessCol::kEnd);
    if (a && b) first.try_emplace(nodePair(*a, *b), r);
  }
  for (int r = 0; r < t3.rows(); ++r) {
    const auto a = cellInt(t3, r, accessCol::kStart), b = cellInt(t3, r, accessCol::kEnd);
    const auto it = a && b ? first.find(nodePair(*b, *a)) : first.end();
    t3.set(r, accessCol::kReverse,
           it == first.end() ? std::string() : std::to_string(it->second + 1));
  }
}

// A refusal of a row and the cell it names.
struct TurnRefusal {
  Message message;
  int column;
};

TurnRefusal pairRefusal(const Text& what, int k, int row, const Text& tail = {}) {
  return {
      warningMessage(what + " " + num(k + 1) + shell(128).trimmed() + " " + num(row) + tail + "."),
      turnCol::node(k)};
}

// The checks of one row's pairs; the row is padded and cleaned as far as it passes. The row
// is read once: a cell alone is found by walking the row up to it.
std::optional<TurnRefusal> checkTurnRow(GridTable& t, int r,
                                        const std::unordered_set<uint64_t>& sections) {
  std::array<CellText, turnCol::kCount> cells;
  t.rowCells(r, cells);
  const auto node = [&](int k) { return cells[static_cast<size_t>(turnCol::node(k))]; };
  int gap = -1;  // the first pair without a node
  for (int k = 0; k < kMaxTurns; ++k) {
    if (node(k).empty()) {
      if (gap < 0) gap = k;
    } else if (gap >= 0) {
      return TurnRefusal{warningMessage(shell(774) + " " + num(r + 1) + "."), turnCol::node(gap)};
    }
  }
  for (int k = 0; k < kMaxTurns; ++k)
    if (!node(k).empty() && cells[static_cast<size_t>(turnCol::direction(k))].empty())
      return TurnRefusal{warningMessage(shell(273) + " " + num(r + 1) + "."),
                         turnCol::direction(k)};
  const std::optional<int32_t> end = parseInt(trim(cells[turnCol::kEnd]));
  std::array<std::string, kMaxTurns> padded;
  for (int k = 0; k < kMaxTurns; ++k) {
    if (trim(node(k)).empty()) continue;
    const std::optional<int32_t> n = parseInt(trim(node(k)));
    if (n == 0) return pairRefusal(shell(365), k, r + 1);
    if (!n || !end || !sections.count(nodePair(*end, *n)))
      return pairRefusal(shell(361), k, r + 1, lit(" (") + shell(775) + ")");
    padded[static_cast<size_t>(k)] = paddedNode(node(k));
  }
  // Only the cells that change are set: the views into the row end with its first change.
  std::array<bool, kMaxTurns> changed{}, cleared{};
  for (int k = 0; k < kMaxTurns; ++k) {
    const auto i = static_cast<size_t>(k);
    changed[i] = node(k) != padded[i];
    cleared[i] = padded[i].empty() && !cells[static_cast<size_t>(turnCol::direction(k))].empty();
  }
  for (int k = 0; k < kMaxTurns; ++k) {
    const auto i = static_cast<size_t>(k);
    if (changed[i]) t.set(r, turnCol::node(k), padded[i]);
    if (cleared[i]) t.set(r, turnCol::direction(k), {});
  }
  return std::nullopt;
}

}  // namespace

StepResult checkTurnsPage(DbrnWizardState& state) {
  state.table3.setRows(state.table1.rows());
  if (!state.viewing() && state.sectionRowCount >= 1) {
    findReverseSections(state);
    std::unordered_set<uint64_t> sections;
    const GridTable& t3 = state.table3;
    for (int r = 0; r < t3.rows(); ++r) {
      const auto a = cellInt(t3, r, accessCol::kStart), b = cellInt(t3, r, accessCol::kEnd);
      if (a && b) sections.insert(nodePair(*a, *b));
    }
    GridTable& t2 = state.table2;
    for (int r = 0; r < t2.rows(); ++r)
      if (auto refusal = checkTurnRow(t2, r, sections))
        return StepResult::refuse(
            StepCheck::refuse(std::move(refusal->message), "Table2", r, refusal->column));
  }
  StepResult r;
  state.wizardStep = 6;
  r.nextStep = 6;
  r.focus = "Table3";
  return r;
}

}  // namespace qj
