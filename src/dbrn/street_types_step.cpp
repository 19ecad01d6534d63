#include "dbrn/street_types_step.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>

#include "dbrn/duplicates.h"
#include "dbrn/streets_step.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj {

bool typeLocked(const GridTable& table0, int row) {
  const auto n = cellInt(table0, row, typeCol::kStreets);
  return n && *n > 0;
}

bool StreetTypeGridRules::typable(const GridTable& table, int row, int col) const {
  return !state_.viewing() && (col == typeCol::kFullName || col == typeCol::kShortName) &&
         !typeLocked(table, row);
}

FieldRule StreetTypeGridRules::cellRule(const GridTable&, int, int col) const {
  return {KeyFilter::StreetType, col == typeCol::kFullName ? 20u : 4u};
}

void fillTable0(DbrnWizardState& state) {
  if (state.table0Load == state.recordsLoad && !state.viewing()) return;
  GridTable& t = state.table0;
  const auto& types = state.db.streetTypes;
  t.clear();
  t.setRows(std::max<int>(static_cast<int>(types.size()), 1));
  renumberRows(t);
  for (size_t r = 0; r < types.size(); ++r) {
    t.set(static_cast<int>(r), typeCol::kFullName, types[r].fullName);
    t.set(static_cast<int>(r), typeCol::kShortName, types[r].shortName);
    t.set(static_cast<int>(r), typeCol::kStreets, std::to_string(types[r].streetCount));
  }
  state.typeCount = t.rows();
  state.table0Load = state.recordsLoad;
}

namespace {

// Whether some section uses the street: the sections grid once it holds the sections,
// otherwise the section records.
bool usedBySection(const DbrnWizardState& state, int32_t street) {
  if (state.table1Load == state.recordsLoad) {
    for (int r = 0; r < state.table1.rows(); ++r)
      if (cellInt(state.table1, r, sectionCol::kStreet) == street) return true;
    return false;
  }
  return std::any_of(state.db.sections.begin(), state.db.sections.end(),
                     [street](const TransitSectionRec& s) { return s.streetIndex == street; });
}

}  // namespace

void refreshTypeLocks(DbrnWizardState& state) {
  std::unordered_map<std::string, int32_t> uses;
  const int32_t noStreet = noStreetStreet(state);
  const auto& streets = state.db.streets;
  for (size_t s = 0; s < streets.size(); ++s) {
    if (streets[s].state == kStreetDeleted) continue;
    if (static_cast<int32_t>(s) == noStreet && !usedBySection(state, noStreet)) continue;
    ++uses[streets[s].streetType];
  }
  const GridTable& t = state.table_0;
  for (int r = 0; r < t.rows(); ++r)
    if (t.cell(r, streetCol::kState).empty() && !t.isEmptyTrimmed(r, streetCol::kName) &&
        !t.isEmptyTrimmed(r, streetCol::kType))
      ++uses[std::string(t.cell(r, streetCol::kType))];
  GridTable& t0 = state.table0;
  for (int r = 0; r < t0.rows(); ++r) {
    const auto it = uses.find(std::string(t0.cell(r, typeCol::kShortName)));
    const int32_t n = it == uses.end() ? 0 : it->second;
    t0.set(r, typeCol::kStreets, n > 0 ? std::to_string(n) : std::string());
  }
}

std::optional<Message> streetTypeTypingRefused(const DbrnWizardState& state, int row) {
  if (state.viewing() || !typeLocked(state.table0, row)) return std::nullopt;
  return warningMessage(shell(639) + ".");
}

GridKeyResult streetTypeGridKey(DbrnWizardState& state, GridKey key, int row, int) {
  GridKeyResult r;
  if (state.viewing()) return r;
  GridTable& t = state.table0;
  switch (key) {
    case GridKey::InsertRow:
      r.newRow = std::clamp(row + 1, 0, t.rows());
      t.insertRow(r.newRow);
      renumberRows(t);
      state.typeCount = t.rows();
      r.handled = r.rowsChanged = true;
      break;
    case GridKey::DeleteRow:
      r.handled = true;
      if (t.rows() < 2 || row < 0) break;
      if (typeLocked(t, row)) {
        r.warning = warningMessage(shell(111) + ".");
        break;
      }
      t.removeRow(row);
      renumberRows(t);
      state.typeCount = t.rows();
      r.rowsChanged = true;
      break;
    case GridKey::Delete:
      if (typeLocked(t, row)) {
        r.handled = true;
        r.warning = warningMessage(shell(638) + ".");
      }
      break;
    default: break;
  }
  return r;
}

std::vector<int> streetTypeOrder(const GridTable& table0) {
  using Key = std::array<unsigned char, 5>;
  std::vector<Key> keys(static_cast<size_t>(table0.rows()));
  for (int r = 0; r < table0.rows(); ++r) {
    const std::string_view name = table0.cell(r, typeCol::kFullName);
    Key k{};
    for (size_t i = 0; i < k.size() && i < name.size(); ++i)
      k[i] = static_cast<unsigned char>(name[i]);
    keys[static_cast<size_t>(r)] = k;
  }
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&keys](int a, int b) {
    if (keys[a] != keys[b]) return keys[a] < keys[b];
    return a > b;
  });
  return order;
}

namespace {

StepCheck checkStreetTypeRows(const DbrnWizardState& state) {
  const GridTable& t = state.table0;
  if (t.rows() > kMaxStreetTypes)
    return StepCheck::refuse(
        warningMessage(shell(305) + " " + num(t.rows()) + " (>" + num(kMaxStreetTypes) + ")."),
        "Table0");
  for (int r = 0; r < t.rows(); ++r) {
    if (t.isEmptyTrimmed(r, typeCol::kFullName))
      return StepCheck::refuse(warningMessage(shell(290) + " " + num(r + 1) + "."), "Table0", r,
                               typeCol::kFullName);
    if (t.isEmptyTrimmed(r, typeCol::kShortName))
      return StepCheck::refuse(warningMessage(shell(291) + " " + num(r + 1) + "."), "Table0", r,
                               typeCol::kShortName);
  }
  DuplicateFinder<std::string> full, abbreviation;
  for (int r = 0; r < t.rows(); ++r) {
    full.add(r, std::string(t.cell(r, typeCol::kFullName)));
    abbreviation.add(r, std::string(t.cell(r, typeCol::kShortName)));
  }
  const auto refusePair = [](int i, int j, int column) {
    const Text same = column == typeCol::kFullName ? shell(189) : shell(190);
    return StepCheck::refuse(
        warningMessage(shell(149) + " " + num(i + 1) + " " + shell(1).trimmed() + " " + num(j + 1) +
                       " " + same + ". " + shell(203) + "."),
        "Table0", j, column);
  };
  for (int i = 0; i < t.rows(); ++i) {
    if (const int j = full.laterOf(i, std::string(t.cell(i, typeCol::kFullName))); j >= 0)
      return refusePair(i, j, typeCol::kFullName);
    if (const int j = abbreviation.laterOf(i, std::string(t.cell(i, typeCol::kShortName))); j >= 0)
      return refusePair(i, j, typeCol::kShortName);
  }
  return StepCheck::ok();
}

void storeStreetTypes(DbrnWizardState& state) {
  const GridTable& t = state.table0;
  std::vector<StreetTypeRec> types;
  types.reserve(static_cast<size_t>(t.rows()));
  for (int r : streetTypeOrder(t)) {
    StreetTypeRec type;
    type.fullName = cut(t.cell(r, typeCol::kFullName), 20);
    type.shortName = cut(t.cell(r, typeCol::kShortName), 4);
    type.streetCount = cellInt(t, r, typeCol::kStreets).value_or(0);
    types.push_back(std::move(type));
  }
  state.db.streetTypes = std::move(types);
  state.typeCount = t.rows();
  state.db.header.streetTypeCount = state.typeCount;
  state.db.header.dbKind = state.curKind;
  if (state.level >= 2) state.db.streetHouseCounts.resize(state.db.streets.size());
}

}  // namespace

StepResult checkStreetTypesPage(DbrnWizardState& state, std::string_view speedText) {
  if (!state.viewing()) {
    const std::optional<double> speed = parseReal(speedText, state.decSep);
    if (!speed) return StepResult::refuse(StepCheck::focusOnly("skor"));
    if (kMinAverageSpeed > *speed)
      return StepResult::refuse(
          StepCheck::refuse(warningMessage(shell(313) + " (<0" + val(std::string(1, state.decSep)) +
                                           "1 " + shortText(15) + ")."),
                            "skor"));
    if (StepCheck rows = checkStreetTypeRows(state); !rows.passed())
      return StepResult::refuse(std::move(rows));
    state.avgSpeed = *speed;
    // New sections take it in the general format of the speeds beside it ("35", not "35,0").
    state.avgSpeedText = formatReal(*speed, state.decSep);
    storeStreetTypes(state);
  }
  prepareStreetsPage(state);
  state.kindFinal = true;
  state.wizardStep = 3;
  StepResult r;
  setShown(r.updates, "RBT1", false);
  setShown(r.updates, "RBT2", false);
  r.nextStep = 3;
  r.focus = "Table_0";
  return r;
}

}  // namespace qj
