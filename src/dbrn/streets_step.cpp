#include "dbrn/streets_step.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "dbrn/duplicates.h"
#include "dbrn/sections_step.h"
#include "records/text.h"

namespace qj {

bool StreetGridRules::typable(const GridTable&, int, int col) const {
  if (state_.viewing()) return false;
  return col == streetCol::kName || (col == streetCol::kHouses && state_.level >= 2);
}

FieldRule StreetGridRules::cellRule(const GridTable&, int, int col) const {
  if (col == streetCol::kName) return {KeyFilter::Text, 30};
  return {KeyFilter::Digit, 3};
}

// ---- Filling the page -------------------------------------------------------------------

void fillStreetsOfType(DbrnWizardState& state) {
  GridTable& t = state.table_0;
  t.clear();
  const std::optional<int32_t> type = state.list0.chosen();
  const std::string shortName = type ? state.db.streetTypes[*type].shortName : std::string();
  const auto& streets = state.db.streets;
  for (size_t s = 0; s < streets.size(); ++s) {
    const StreetRec& street = streets[s];
    if (!type || street.streetType != shortName || street.state == kStreetDeleted ||
        isNoStreetStreet(state, static_cast<int32_t>(s)))
      continue;
    const int r = t.rows();
    t.setRows(r + 1);
    t.set(r, streetCol::kType, shortName);
    t.set(r, streetCol::kName, street.name);
    if (state.level >= 2 && s < state.db.streetHouseCounts.size())
      t.set(r, streetCol::kHouses, std::to_string(state.db.streetHouseCounts[s]));
    t.set(r, streetCol::kState, street.state);
    t.set(r, streetCol::kIndex, std::to_string(s));
  }
  if (t.rows() == 0) t.setRows(1);
  renumberRows(t);
  state.shownType = shortName;
  state.table_0Load = state.recordsLoad;
}

void prepareStreetsPage(DbrnWizardState& state) {
  const auto& types = state.db.streetTypes;
  const int previous = typeIndexOf(state, state.shownType);
  state.list0.clear();
  for (size_t t = 0; t < types.size(); ++t)
    state.list0.add(typeItem(types[t]), static_cast<int32_t>(t));
  const bool typed = state.table_0Load == state.recordsLoad && !state.viewing();
  if (typed && previous >= 0) {
    state.list0.row = previous;
    return;
  }
  state.list0.row = types.empty() ? -1 : 0;
  for (size_t t = 0; t < types.size(); ++t)
    if (types[t].fullName == state.defaultTypeName) state.list0.row = static_cast<int>(t);
  // A free list keeps its rows; a list of one type keeps them while the type is there.
  if (!typed || state.listByType) fillStreetsOfType(state);
}

// ---- Checking and storing the rows --------------------------------------------------------

namespace {

Message rowMessage(const Text& what, int row) {
  return warningMessage(what + " " + num(row + 1) + ".");
}

// Streets stored and not deleted, the program's street of sections without a street left out.
bool hasStoredStreet(const DbrnWizardState& state) {
  for (int32_t s = 0; s < state.streetTotal(); ++s)
    if (state.db.streets[s].state != kStreetDeleted && !isNoStreetStreet(state, s)) return true;
  return false;
}

}  // namespace

StepCheck checkStreetRows(const DbrnWizardState& state) {
  const GridTable& t = state.table_0;
  if (t.rows() > kMaxStreetRows)
    return StepCheck::refuse(
        warningMessage(shell(304) + " " + num(t.rows()) + " (>" + num(kMaxStreetRows) + ")."),
        "Table_0");
  const bool stored = hasStoredStreet(state);
  for (int r = 0; r < t.rows(); ++r) {
    const bool type = !t.isEmptyTrimmed(r, streetCol::kType);
    const bool name = !t.isEmptyTrimmed(r, streetCol::kName);
    if (!type && !name && !stored)
      return StepCheck::refuse(warningMessage(shell(659) + "."), "Table_0", r);
    if (!type && name)
      return StepCheck::refuse(rowMessage(shell(292), r), "Table_0", r, streetCol::kType);
    if (type && !name)
      return StepCheck::refuse(rowMessage(shell(289), r), "Table_0", r, streetCol::kName);
    if (state.level == 2 && (type || name)) {
      if (t.isEmptyTrimmed(r, streetCol::kHouses))
        return StepCheck::refuse(rowMessage(shell(293).trimmed(), r), "Table_0", r,
                                 streetCol::kHouses);
      if (!cellInt(t, r, streetCol::kHouses))
        return StepCheck::refuse(rowMessage(shell(357), r), "Table_0", r, streetCol::kHouses);
    }
  }
  DuplicateFinder<std::string> names;
  for (int r = 0; r < t.rows(); ++r) names.add(r, trimmed(t.cell(r, streetCol::kName)));
  if (const auto pair = names.firstPair())
    return StepCheck::refuse(warningMessage(shell(149) + " " + num(pair->first + 1) + " " +
                                            shell(1).trimmed() + " " + num(pair->second + 1) + " " +
                                            shell(191).trimmed() + ". " + shell(203) + "."),
                             "Table_0", pair->second, streetCol::kName);
  return StepCheck::ok();
}

void storeStreetRows(DbrnWizardState& state) {
  GridTable& t = state.table_0;
  auto& streets = state.db.streets;
  auto& counts = state.db.streetHouseCounts;
  if (state.level >= 2) counts.resize(streets.size());
  for (int r = 0; r < t.rows(); ++r) {
    if (t.isEmptyTrimmed(r, streetCol::kType) || t.isEmptyTrimmed(r, streetCol::kName)) continue;
    const int32_t houses = cellInt(t, r, streetCol::kHouses).value_or(0);
    const std::optional<int32_t> index = cellInt(t, r, streetCol::kIndex);
    if (!t.cell(r, streetCol::kState).empty() && index && *index >= 0 &&
        *index < state.streetTotal()) {
      StreetRec& s = streets[*index];
      s.streetType = cut(t.cell(r, streetCol::kType), 4);
      s.name = cut(t.cell(r, streetCol::kName), 30);
      if (state.level >= 2) counts[*index] = houses;
      continue;
    }
    const int32_t k = state.streetTotal();
    streets.push_back({cut(t.cell(r, streetCol::kType), 4), cut(t.cell(r, streetCol::kName), 30),
                       std::string(kStreetEntered), k});
    if (state.level >= 2) counts.push_back(houses);
    t.set(r, streetCol::kState, std::string(kStreetEntered));
    t.set(r, streetCol::kIndex, std::to_string(k));
  }
}

StepCheck checkAndStoreStreets(DbrnWizardState& state) {
  if (state.viewing()) return StepCheck::ok();
  StepCheck check = checkStreetRows(state);
  if (check.passed()) storeStreetRows(state);
  return check;
}

bool streetInUse(const DbrnWizardState& state, int32_t street) {
  if (street < 0 || street >= state.streetTotal()) return false;
  if (state.db.streets[street].state == kStreetReferenced) return true;
  if (state.table1Load == state.recordsLoad) {
    for (int r = 0; r < state.table1.rows(); ++r)
      if (cellInt(state.table1, r, sectionCol::kStreet) == street) return true;
    return false;
  }
  return std::any_of(state.db.sections.begin(), state.db.sections.end(),
                     [street](const TransitSectionRec& s) { return s.streetIndex == street; });
}

// ---- Pickers and keys ---------------------------------------------------------------------

StepCheck list0Change(DbrnWizardState& state, int row) {
  if (state.listByType) {
    if (StepCheck check = checkAndStoreStreets(state); !check.passed()) return check;
    if (!state.list0.choose(row)) return StepCheck::ok();
    fillStreetsOfType(state);
    return StepCheck::ok();
  }
  state.list0.choose(row);
  return StepCheck::ok();
}

void listStreetsByType(DbrnWizardState& state, bool byType) {
  state.listByType = byType;
}

namespace {

// The row made, below `row`.
int insertStreetRow(DbrnWizardState& state, int row) {
  GridTable& t = state.table_0;
  const int at = std::clamp(row + 1, 0, t.rows());
  t.insertRow(at);
  if (const auto type = state.list0.chosen())
    t.set(at, streetCol::kType, state.db.streetTypes[*type].shortName);
  renumberRows(t);
  return at;
}

void deleteStreetRow(DbrnWizardState& state, int row, GridKeyResult& r) {
  GridTable& t = state.table_0;
  if (row < 0 || row >= t.rows()) return;
  const std::optional<int32_t> index = cellInt(t, row, streetCol::kIndex);
  const bool stored = !t.cell(row, streetCol::kState).empty() && index;
  if (t.cell(row, streetCol::kState) == kStreetReferenced ||
      (stored && streetInUse(state, *index))) {
    r.warning = warningMessage(shell(112) + ".");
    return;
  }
  if (stored && *index >= 0 && *index < state.streetTotal())
    state.db.streets[*index].state = std::string(kStreetDeleted);
  if (t.rows() > 1) {
    t.removeRow(row);
  } else {
    for (int c = 1; c < t.columns(); ++c) t.set(row, c, std::string());
  }
  renumberRows(t);
  r.rowsChanged = true;
}

}  // namespace

GridKeyResult streetGridKey(DbrnWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  const auto refuse = [&r](const StepCheck& check) {
    r.warning = check.message;
    r.focusRow = check.row;
    r.focusColumn = check.column;
  };
  switch (key) {
    case GridKey::PrevType:
    case GridKey::NextType: {
      r.handled = true;
      if (state.listByType) {
        if (StepCheck check = checkAndStoreStreets(state); !check.passed()) {
          refuse(check);
          break;
        }
      }
      if (state.list0.step(key == GridKey::PrevType ? -1 : 1)) {
        r.pickersChanged = true;
        if (state.listByType) {
          fillStreetsOfType(state);
          r.rowsChanged = true;
        }
      }
      break;
    }
    case GridKey::PrevName:
    case GridKey::NextName:
      // The page has no street picker: while the rows shown would keep the type picker from
      // moving, these keys say why, as the type keys do; otherwise they do nothing.
      r.handled = true;
      if (state.listByType && !state.viewing())
        if (const StepCheck check = checkStreetRows(state); !check.passed()) refuse(check);
      break;
    case GridKey::Space:
      if (state.viewing() || col != streetCol::kType) break;
      r.handled = true;
      if (const auto type = state.list0.chosen()) {
        state.table_0.set(row, streetCol::kType, state.db.streetTypes[*type].shortName);
        r.changed(row);
      }
      break;
    case GridKey::InsertRow:
      r.handled = true;
      if (state.viewing()) break;
      r.newRow = insertStreetRow(state, row);
      r.rowsChanged = true;
      break;
    case GridKey::DeleteRow:
      r.handled = true;
      if (!state.viewing()) deleteStreetRow(state, row, r);
      break;
    default: break;
  }
  return r;
}

// ---- The re-sort ----------------------------------------------------------------------------

std::vector<int32_t> streetOrder(const std::vector<StreetRec>& streets,
                                 const std::vector<int32_t>& ofType) {
  using Key = std::array<unsigned char, 20>;
  const auto keyOf = [&streets](int32_t s) {
    Key k;
    k.fill(static_cast<unsigned char>(' '));
    const std::string& name = streets[s].name;
    for (size_t i = 0; i < k.size() && i < name.size(); ++i)
      k[i] = static_cast<unsigned char>(name[i]);
    return k;
  };
  std::vector<std::pair<Key, int32_t>> keyed;
  keyed.reserve(ofType.size());
  for (int32_t s : ofType) keyed.emplace_back(keyOf(s), s);
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return a.second > b.second;
  });
  std::vector<int32_t> order;
  order.reserve(keyed.size());
  for (const auto& [key, s] : keyed) order.push_back(s);
  return order;
}

namespace {

// Renumbers a cell that holds a street index; a street that was dropped leaves it empty.
void remapCell(GridTable& t, int row, int col, const std::vector<int32_t>& map) {
  const std::optional<int32_t> old = cellInt(t, row, col);
  if (!old) return;
  const bool known = *old >= 0 && static_cast<size_t>(*old) < map.size() && map[*old] >= 0;
  t.set(row, col, known ? std::to_string(map[*old]) : std::string());
}

int32_t remapped(int32_t old, const std::vector<int32_t>& map) {
  return old >= 0 && static_cast<size_t>(old) < map.size() ? map[old] : -1;
}

// At level 1, sections without a street belong to a street of the no-street type with an
// empty name. Nobody types it: the program makes it as soon as the type exists.
void addNoStreetStreet(DbrnWizardState& state) {
  if (state.level != 1 || typeIndexOf(state, state.noStreetType) < 0 || noStreetStreet(state) >= 0)
    return;
  const std::string& type = state.db.streetTypes[typeIndexOf(state, state.noStreetType)].shortName;
  state.db.streets.push_back({type, "", std::string(kStreetEntered), state.streetTotal()});
}

void applyStreetMap(DbrnWizardState& state, const std::vector<int32_t>& map) {
  for (TransitSectionRec& s : state.db.sections) s.streetIndex = remapped(s.streetIndex, map);
  for (HouseRec& h : state.db.houses) h.streetIndex = remapped(h.streetIndex, map);
  for (int r = 0; r < state.table1.rows(); ++r)
    remapCell(state.table1, r, sectionCol::kStreet, map);
  for (int r = 0; r < state.table4.rows(); ++r) remapCell(state.table4, r, houseCol::kStreet, map);
  GridTable& t = state.table_0;
  for (int r = 0; r < t.rows(); ++r) {
    if (t.cell(r, streetCol::kState).empty()) continue;
    remapCell(t, r, streetCol::kIndex, map);
    // A row whose street is gone is a row typed anew.
    if (t.cell(r, streetCol::kIndex).empty()) t.set(r, streetCol::kState, std::string());
  }
}

}  // namespace

std::vector<int32_t> resortStreets(DbrnWizardState& state) {
  addNoStreetStreet(state);
  const std::vector<StreetRec> old = state.db.streets;
  const std::vector<int32_t> oldCounts = state.db.streetHouseCounts;
  std::vector<int32_t> map(old.size(), -1);
  std::vector<StreetRec> streets;
  std::vector<int32_t> counts;
  for (StreetTypeRec& type : state.db.streetTypes) {
    std::vector<int32_t> ofType;
    for (size_t s = 0; s < old.size(); ++s)
      if (old[s].streetType == type.shortName && old[s].state != kStreetDeleted)
        ofType.push_back(static_cast<int32_t>(s));
    for (int32_t s : streetOrder(old, ofType)) {
      map[s] = static_cast<int32_t>(streets.size());
      streets.push_back(old[s]);
      streets.back().streetNo = map[s];
      if (state.level >= 2)
        counts.push_back(static_cast<size_t>(s) < oldCounts.size() ? oldCounts[s] : 0);
    }
    type.streetCount = static_cast<int32_t>(ofType.size());
  }
  state.db.streets = std::move(streets);
  if (state.level >= 2) state.db.streetHouseCounts = std::move(counts);
  state.db.header.streetCount = state.streetTotal();
  applyStreetMap(state, map);
  return map;
}

// ---- Next -----------------------------------------------------------------------------------

namespace {

// The number of houses of the streets that the re-sort keeps.
int64_t keptHouseTotal(const DbrnWizardState& state) {
  std::unordered_set<std::string> types;
  for (const StreetTypeRec& t : state.db.streetTypes) types.insert(t.shortName);
  int64_t total = 0;
  const auto& counts = state.db.streetHouseCounts;
  for (size_t s = 0; s < state.db.streets.size() && s < counts.size(); ++s)
    if (state.db.streets[s].state != kStreetDeleted && types.count(state.db.streets[s].streetType))
      total += counts[s];
  return total;
}

}  // namespace

StepResult checkStreetsPage(DbrnWizardState& state, const StreetsPageInput& input) {
  StepResult r;
  setText(r.updates, "Label2", lit("<SpaceBar> - ") + (state.level == 1 ? shell(63) : shell(62)));
  if (StepCheck check = checkAndStoreStreets(state); !check.passed()) {
    r.check = std::move(check);
    return r;
  }
  if (state.level >= 2) {
    const int64_t total = keptHouseTotal(state);
    if (!state.viewing()) {
      if (total == 0) {
        r.check = StepCheck::refuse(warningMessage(shell(326) + "."), "Table_0");
        return r;
      }
      if (total > kMaxHouses) {
        r.check = StepCheck::refuse(
            warningMessage(shell(303) + " " + num(total) + "(>" + num(kMaxHouses) + ")."),
            "Table_0");
        return r;
      }
    }
    state.houseTotal = static_cast<int32_t>(total);
  }
  if (!state.viewing()) resortStreets(state);
  state.keyPhraseType = trimmed(input.keyPhraseType);
  state.keyPhraseName = trimmed(input.keyPhraseName);
  for (ControlUpdate& u : prepareSectionsPage(state, input.table1Row))
    r.updates.push_back(std::move(u));
  state.wizardStep = 4;
  r.nextStep = 4;
  r.focus = "Table1";
  return r;
}

}  // namespace qj
