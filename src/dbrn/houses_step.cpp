#include "dbrn/houses_step.h"

#include <algorithm>
#include <unordered_map>

#include "dbrn/duplicates.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj {

namespace hc = houseCol;

bool isLinkSectionColumn(int col) {
  return col >= hc::section(0) && col <= hc::section(kMaxLinks - 1) &&
         (col - hc::section(0)) % 3 == 0;
}

bool HouseGridRules::typable(const GridTable&, int, int col) const {
  if (state_.viewing()) return false;
  return col == hc::kHouseNo || col == hc::kYard ||
         (col >= hc::toExit(0) && col <= hc::exitToEnd(kMaxLinks - 1) && !isLinkSectionColumn(col));
}

FieldRule HouseGridRules::cellRule(const GridTable&, int, int col) const {
  if (col == hc::kHouseNo) return {KeyFilter::HouseNumberSlash, 9};
  return {KeyFilter::Digit, 5};
}

// ---- Links that follow their sections -----------------------------------------------------

namespace {

// The link cells of a row: section, house to exit, exit to end.
void moveLink(GridTable& t, int row, int from, int to) {
  t.set(row, hc::section(to), t.cell(row, hc::section(from)));
  t.set(row, hc::toExit(to), t.cell(row, hc::toExit(from)));
  t.set(row, hc::exitToEnd(to), t.cell(row, hc::exitToEnd(from)));
}

void clearLink(GridTable& t, int row, int k) {
  for (int col : {hc::section(k), hc::toExit(k), hc::exitToEnd(k)}) t.set(row, col, {});
}

// Applies `renumber` to every section number of the records and of Table4; a number it maps
// to 0 or less is a link that goes.
template <typename Renumber>
void renumberLinks(DbrnWizardState& state, Renumber renumber) {
  for (HouseRec& h : state.db.houses) {
    std::vector<HouseLinkRec> kept;
    for (HouseLinkRec l : h.links)
      if ((l.sectionNo = renumber(l.sectionNo)) > 0) kept.push_back(l);
    h.links = std::move(kept);
  }
  GridTable& t = state.table4;
  for (int row = 0; row < t.rows(); ++row) {
    for (int k = 0; k < kMaxLinks;) {
      const std::optional<int32_t> n = cellInt(t, row, hc::section(k));
      if (!n) {
        ++k;
        continue;
      }
      const int32_t moved = renumber(*n);
      if (moved > 0) {
        t.set(row, hc::section(k), std::to_string(moved));
        ++k;
        continue;
      }
      for (int later = k + 1; later < kMaxLinks; ++later) moveLink(t, row, later, later - 1);
      clearLink(t, row, kMaxLinks - 1);
    }
  }
}

}  // namespace

void sectionInserted(DbrnWizardState& state, int32_t number) {
  renumberLinks(state, [number](int32_t n) { return n >= number ? n + 1 : n; });
}

void sectionRemoved(DbrnWizardState& state, int32_t number) {
  renumberLinks(state, [number](int32_t n) { return n == number ? 0 : n > number ? n - 1 : n; });
}

// ---- Pickers ------------------------------------------------------------------------------

void list41Change(DbrnWizardState& state, int row) {
  state.list41.choose(row);
  state.list42.clear();
  if (const auto type = state.list41.chosen()) {
    const std::string& shortName = state.db.streetTypes[*type].shortName;
    const auto& streets = state.db.streets;
    for (size_t s = 0; s < streets.size(); ++s)
      if (streets[s].streetType == shortName && streets[s].state == kStreetReferenced)
        state.list42.add(streets[s].name.empty() ? " " : streets[s].name, static_cast<int32_t>(s));
    if (!state.list42.items.empty()) state.list42.row = 0;
  }
  if (state.level == 2) listStreetSections(state);
}

void list42Change(DbrnWizardState& state, int row) {
  state.list42.choose(row);
  if (state.level == 2) listStreetSections(state);
}

void list43Change(DbrnWizardState& state, int row) {
  state.list43.choose(row);
}

void listStreetSections(DbrnWizardState& state) {
  state.list43.clear();
  const std::optional<int32_t> street = state.list42.chosen();
  if (!street) return;
  struct Entry {
    std::string range;
    int32_t sectionNo;
  };
  std::vector<Entry> entries;
  const auto& sections = state.db.sections;
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].streetIndex == *street)
      entries.push_back({cut(sections[i].houseFrom + "-" + sections[i].houseTo, 20),
                         static_cast<int32_t>(i + 1)});
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::string_view(a.range).substr(0, 9) < std::string_view(b.range).substr(0, 9);
  });
  for (Entry& e : entries) state.list43.add(std::move(e.range), e.sectionNo);
  if (!state.list43.items.empty()) state.list43.row = 0;
}

Text houseSectionInfo(const DbrnWizardState& state, int row, int col) {
  if (!isLinkSectionColumn(col)) return {};
  const std::optional<int32_t> k = cellInt(state.table4, row, col);
  if (!k || *k < 1 || *k > state.db.header.sectionCount ||
      static_cast<size_t>(*k) > state.db.sections.size())
    return {};
  const TransitSectionRec& s = state.db.sections[*k - 1];
  if (s.streetIndex < 0 || s.streetIndex >= state.streetTotal()) return {};
  const StreetRec& street = state.db.streets[s.streetIndex];
  return shell(546) + ": " + val(street.streetType) + " " + val(street.name) + ", " +
         val(s.houseFrom) + "-" + val(s.houseTo);
}

// ---- The page -------------------------------------------------------------------------------

namespace {

void fillHousePickers(DbrnWizardState& state) {
  state.list41.clear();
  const auto& types = state.db.streetTypes;
  std::vector<bool> referenced(types.size(), false);
  for (const StreetRec& s : state.db.streets)
    if (s.state == kStreetReferenced)
      if (const int32_t t = typeIndexOf(state, s.streetType); t >= 0) referenced[t] = true;
  for (size_t t = 0; t < types.size(); ++t) {
    if (!referenced[t]) continue;
    if (types[t].fullName == state.defaultTypeName)
      state.list41.row = static_cast<int>(state.list41.items.size());
    state.list41.add(typeItem(types[t]), static_cast<int32_t>(t));
  }
  if (state.list41.row < 0 && !state.list41.items.empty()) state.list41.row = 0;
  list41Change(state, state.list41.row);
}

int32_t houseCountOf(const DbrnWizardState& state, size_t street) {
  const auto& counts = state.db.streetHouseCounts;
  return street < counts.size() ? std::max(counts[street], 0) : 0;
}

// Columns 0 to 2 and the hidden street of a new row.
void startRow(GridTable& t, int row, int32_t number, const StreetRec& street, int32_t s) {
  t.set(row, hc::kRow, std::to_string(number));
  t.set(row, hc::kType, street.streetType);
  const bool same = row > 0 && trim(t.cell(row - 1, hc::kName)) == trim(street.name);
  t.set(row, hc::kName, same ? "  " + street.name : street.name);
  t.set(row, hc::kStreet, std::to_string(s));
}

void putHouse(GridTable& t, int row, const HouseRec& h) {
  t.set(row, hc::kHouseNo, h.houseNo);
  t.set(row, hc::kYard, h.yardNo >= 1 ? std::to_string(h.yardNo) : std::string());
  for (size_t k = 0; k < h.links.size() && k < kMaxLinks; ++k) {
    const int link = static_cast<int>(k);
    t.set(row, hc::section(link), std::to_string(h.links[k].sectionNo));
    t.set(row, hc::toExit(link), std::to_string(h.links[k].distToExit));
    t.set(row, hc::exitToEnd(link), std::to_string(h.links[k].distExitToEnd));
  }
}

// Every house of every street (in view mode of the streets that pass the filter); a street's
// rows take its own stored houses in their stored order. The houses stand in the order the
// streets had when they were stored, and a street renamed since then sorts elsewhere: a
// position shared by all streets would skip its houses.
void fillFromRecords(DbrnWizardState& state) {
  const auto& houses = state.db.houses;
  const auto& streets = state.db.streets;
  std::vector<std::vector<int32_t>> housesOf(streets.size());
  for (size_t h = 0; h < houses.size(); ++h)
    if (houses[h].streetIndex >= 0 && static_cast<size_t>(houses[h].streetIndex) < streets.size())
      housesOf[houses[h].streetIndex].push_back(static_cast<int32_t>(h));
  GridTable& t = state.table4;
  t.clear();
  int32_t q = 0;
  for (size_t s = 0; s < streets.size(); ++s) {
    const int32_t count = houseCountOf(state, s);
    const bool listed =
        !state.viewing() || (matchesPhrase(streets[s].streetType, state.keyPhraseType) &&
                             matchesPhrase(streets[s].name, state.keyPhraseName));
    if (!listed) {
      q += count;
      continue;
    }
    const auto& own = housesOf[s];
    for (int32_t i = 0; i < count; ++i) {
      const int row = t.rows();
      t.setRows(row + 1);
      startRow(t, row, ++q, streets[s], static_cast<int32_t>(s));
      if (static_cast<size_t>(i) < own.size()) putHouse(t, row, houses[own[i]]);
    }
  }
}

// The rows as typed, street by street in the present order of the streets: a street keeps its
// first rows up to its house count and gets empty rows for the rest.
void regroupRows(DbrnWizardState& state) {
  const GridTable& old = state.table4;
  std::unordered_map<int32_t, std::vector<int>> rowsOf;
  for (int r = 0; r < old.rows(); ++r)
    if (const auto s = cellInt(old, r, hc::kStreet)) rowsOf[*s].push_back(r);
  GridTable t(hc::kCount);
  const auto& streets = state.db.streets;
  for (size_t s = 0; s < streets.size(); ++s) {
    const int32_t count = houseCountOf(state, s);
    const auto it = rowsOf.find(static_cast<int32_t>(s));
    for (int32_t i = 0; i < count; ++i) {
      const int row = t.rows();
      t.setRows(row + 1);
      if (it != rowsOf.end() && static_cast<size_t>(i) < it->second.size())
        for (int col = hc::kHouseNo; col < hc::kStreet; ++col)
          t.set(row, col, old.cell(it->second[i], col));
      startRow(t, row, row + 1, streets[s], static_cast<int32_t>(s));
    }
  }
  state.table4 = std::move(t);
}

}  // namespace

ControlUpdates prepareHousesPage(DbrnWizardState& state) {
  fillHousePickers(state);
  if (!state.viewing()) {
    state.keyPhraseType.clear();
    state.keyPhraseName.clear();
  }
  if (state.viewing() || state.table4Load != state.recordsLoad)
    fillFromRecords(state);
  else
    regroupRows(state);
  state.table4Load = state.recordsLoad;
  ControlUpdates u;
  // The houses page lists houses: without a phrase it says that all houses are shown.
  if (state.viewing()) setText(u, "_L4a", filterLine(state, state.table4.rows(), shell(1100)));
  state.db.header.houseCount = state.houseTotal;
  setText(u, "nHs_5", num(state.houseTotal));
  setText(u, "Label_4b", houseSectionInfo(state, 0, hc::section(0)));
  return u;
}

// ---- Keys -----------------------------------------------------------------------------------

GridKeyResult houseGridKey(DbrnWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  if (state.viewing() || row < 0 || row >= state.table4.rows()) return r;
  switch (key) {
    case GridKey::PrevType:
    case GridKey::NextType:
      r.handled = true;
      if (state.list41.step(key == GridKey::PrevType ? -1 : 1)) {
        list41Change(state, state.list41.row);
        r.pickersChanged = true;
      }
      break;
    case GridKey::PrevName:
    case GridKey::NextName:
      r.handled = true;
      if (state.list42.step(key == GridKey::PrevName ? -1 : 1)) {
        list42Change(state, state.list42.row);
        r.pickersChanged = true;
      }
      break;
    case GridKey::Space:
      if (!isLinkSectionColumn(col)) break;
      r.handled = true;
      if (const auto section = state.list43.chosen()) {
        state.table4.set(row, col, std::to_string(*section));
        r.changed(row);
      }
      break;
    case GridKey::Delete:
      // A section number is never typed; Delete takes it away.
      if (!isLinkSectionColumn(col)) break;
      r.handled = true;
      state.table4.set(row, col, {});
      r.changed(row);
      break;
    case GridKey::InsertRow:
    case GridKey::DeleteRow: r.handled = true; break;  // rows follow the house counts
  }
  return r;
}

// ---- Next -----------------------------------------------------------------------------------

namespace {

// A refusal of a row and the cell it names.
struct HouseRefusal {
  Message message;
  int column;
};

HouseRefusal linkRefusal(const Text& what, int k, const Text& row, int n, int column) {
  return {warningMessage(what + " " + num(k + 1) + row + " " + num(n) + "."), column};
}

std::optional<HouseRefusal> checkHouseRow(const DbrnWizardState& state, int r) {
  const GridTable& t = state.table4;
  const int n = r + 1;
  const auto present = [&](int col) { return !t.cell(r, col).empty(); };
  if (t.isEmptyTrimmed(r, hc::kHouseNo))
    return HouseRefusal{warningMessage(shell(461) + " " + num(n) + "."), hc::kHouseNo};
  bool any = false;
  for (int k = 0; k < kMaxLinks; ++k) any = any || present(hc::section(k));
  if (!any) return HouseRefusal{warningMessage(shell(181) + " " + num(n) + "."), hc::section(0)};
  for (int k = 1; k < kMaxLinks; ++k)
    if (present(hc::section(k)))
      for (int before = 0; before < k; ++before)
        if (!present(hc::section(before)))
          return HouseRefusal{warningMessage(shell(635) + " " + num(n) + "."), hc::section(before)};
  for (int k = 0; k < kMaxLinks; ++k)
    if (present(hc::section(k))) {
      const bool toExit = cellInt(t, r, hc::toExit(k)).has_value();
      if (!toExit || !cellInt(t, r, hc::exitToEnd(k)))
        return linkRefusal(shell(188).trimmed(), k, shell(126), n,
                           toExit ? hc::exitToEnd(k) : hc::toExit(k));
    }
  const bool yard = !t.isEmptyTrimmed(r, hc::kYard);
  for (int k = 0; k < kMaxLinks; ++k)
    if (!yard && present(hc::section(k)) && cellInt(t, r, hc::toExit(k)) != 0)
      return linkRefusal(shell(334), k, shell(127), n, hc::toExit(k));
  const int32_t sections = state.db.header.sectionCount;
  for (int k = 0; k < kMaxLinks; ++k) {
    if (!present(hc::section(k))) continue;
    const std::optional<int32_t> section = cellInt(t, r, hc::section(k));
    if (!section || *section < 1 || *section > sections)
      return HouseRefusal{warningMessage(shell(185) + " " + num(k + 1) + shell(126) + " " + num(n) +
                                         ", " + shell(245) + " " + num(sections) + "."),
                          hc::section(k)};
  }
  return std::nullopt;
}

StepCheck checkHouseNumbers(const DbrnWizardState& state) {
  const GridTable& t = state.table4;
  DuplicateFinder<std::string> numbers;
  int row = 0;
  for (size_t s = 0; s < state.db.streets.size(); ++s)
    for (int32_t i = 0; i < houseCountOf(state, s) && row < t.rows(); ++i, ++row)
      numbers.add(row, std::to_string(s) + '\n' + trimmed(t.cell(row, hc::kHouseNo)));
  if (const auto pair = numbers.firstPair())
    return StepCheck::refuse(
        warningMessage(shell(339) + " " + num(pair->first + 1) + " " + shell(1).trimmed() + " " +
                       num(pair->second + 1) + ", " + shell(269) + "."),
        "Table4", pair->second, hc::kHouseNo);
  return StepCheck::ok();
}

void buildHouseRecords(DbrnWizardState& state) {
  GridTable& t = state.table4;
  for (int r = 0; r < t.rows(); ++r)
    for (int k = 0; k < kMaxLinks; ++k)
      if (t.cell(r, hc::section(k)).empty()) {
        t.set(r, hc::toExit(k), {});
        t.set(r, hc::exitToEnd(k), {});
      }
  std::vector<HouseRec> houses;
  houses.reserve(static_cast<size_t>(t.rows()));
  int row = 0;
  for (size_t s = 0; s < state.db.streets.size(); ++s)
    for (int32_t i = 0; i < houseCountOf(state, s) && row < t.rows(); ++i, ++row) {
      HouseRec h;
      h.streetIndex = static_cast<int32_t>(s);
      h.houseNo = cut(trim(t.cell(row, hc::kHouseNo)), 9);
      h.yardNo = cellInt(t, row, hc::kYard).value_or(0);
      for (int k = 0; k < kMaxLinks; ++k)
        if (!t.isEmptyTrimmed(row, hc::section(k)))
          h.links.push_back({*cellInt(t, row, hc::section(k)), *cellInt(t, row, hc::toExit(k)),
                             *cellInt(t, row, hc::exitToEnd(k))});
      houses.push_back(std::move(h));
    }
  state.db.houses = std::move(houses);
  state.db.header.houseCount = static_cast<int32_t>(state.db.houses.size());
}

}  // namespace

StepResult checkHousesPage(DbrnWizardState& state) {
  if (!state.viewing()) {
    for (int r = 0; r < state.table4.rows(); ++r)
      if (auto refusal = checkHouseRow(state, r))
        return StepResult::refuse(
            StepCheck::refuse(std::move(refusal->message), "Table4", r, refusal->column));
    if (StepCheck numbers = checkHouseNumbers(state); !numbers.passed())
      return StepResult::refuse(std::move(numbers));
    buildHouseRecords(state);
  }
  StepResult r;
  state.wizardStep = 8;
  r.nextStep = 8;
  r.focus = "btnNext";
  return r;
}

}  // namespace qj
