#include "task/address_pickers.h"

#include <algorithm>
#include <unordered_set>

#include "records/text.h"
#include "task/points_step.h"
#include "task/wizard_state.h"

namespace qj {
namespace {

bool sameTrimmed(std::string_view a, std::string_view b) {
  return trim(a) == trim(b);
}

}  // namespace

int32_t findStreet(const DbrnFile& db, std::string_view type, std::string_view name) {
  for (size_t s = 0; s < db.streets.size(); ++s)
    if (sameTrimmed(db.streets[s].streetType, type) && sameTrimmed(db.streets[s].name, name))
      return static_cast<int32_t>(s);
  return -1;
}

std::vector<HousePick> sortedHouses(const DbrnFile& db, int32_t streetIndex) {
  std::vector<HousePick> list;
  if (streetIndex < 0) return list;
  for (size_t h = 0; h < db.houses.size(); ++h)
    if (db.houses[h].streetIndex == streetIndex)
      list.push_back({static_cast<int32_t>(h), db.houses[h].houseNo});
  // std::string compares its bytes as unsigned characters, a shorter text first.
  std::stable_sort(list.begin(), list.end(), [](const HousePick& a, const HousePick& b) {
    return std::string_view(a.houseNo).substr(0, 9) < std::string_view(b.houseNo).substr(0, 9);
  });
  return list;
}

void AddressPickers::fill(const TaskWizardState& state, const ShellTables& shell) {
  const DbrnFile& db = state.db;
  typeItems_.clear();
  typeListMap_.clear();
  std::unordered_set<std::string> referencedTypes;
  for (const StreetRec& s : db.streets)
    if (trim(s.state) == kStreetReferenced) referencedTypes.insert(s.streetType);
  const std::string_view noStreet = trim(shell.shortText(2));
  typeRow_ = -1;
  for (size_t i = 0; i < db.streetTypes.size(); ++i) {
    const StreetTypeRec& type = db.streetTypes[i];
    if (trim(type.shortName) == noStreet || type.streetCount <= 0 ||
        !referencedTypes.count(type.shortName))
      continue;
    if (typeRow_ < 0 && type.fullName == shell.shell(697))
      typeRow_ = static_cast<int>(typeItems_.size());
    typeItems_.push_back(cut(type.fullName + " (" + type.shortName + ")", 27));
    typeListMap_.push_back(static_cast<int32_t>(i));
  }
  if (typeRow_ < 0 && !typeItems_.empty()) typeRow_ = 0;
  chooseType(state, typeRow_);
}

bool AddressPickers::offersType(const DbrnFile& db, std::string_view shortName) const {
  for (int32_t t : typeListMap_)
    if (t >= 0 && t < static_cast<int32_t>(db.streetTypes.size()) &&
        sameTrimmed(db.streetTypes[t].shortName, shortName))
      return true;
  return false;
}

std::optional<int32_t> AddressPickers::chosenType(const DbrnFile& db) const {
  if (typeRow_ < 0 || typeRow_ >= static_cast<int>(typeListMap_.size())) return {};
  const int32_t t = typeListMap_[typeRow_];
  if (t < 0 || t >= static_cast<int32_t>(db.streetTypes.size())) return {};
  return t;
}

const HousePick* AddressPickers::chosenHouse() const {
  if (houseRow_ < 0 || houseRow_ >= static_cast<int>(houses_.size())) return nullptr;
  return &houses_[houseRow_];
}

void AddressPickers::listStreets(const TaskWizardState& state) {
  streetItems_.clear();
  const auto type = chosenType(state.db);
  if (!type) return;
  const std::string& shortName = state.db.streetTypes[*type].shortName;
  for (const StreetRec& s : state.db.streets)
    if (s.streetType == shortName && trim(s.state) == kStreetReferenced)
      streetItems_.push_back(s.name);
}

// The houses of the chosen street; none when no street is chosen.
void AddressPickers::listHouses(const TaskWizardState& state) {
  houses_.clear();
  const auto type = chosenType(state.db);
  if (!type || streetRow_ < 0 || streetRow_ >= static_cast<int>(streetItems_.size())) return;
  const int32_t street =
      findStreet(state.db, state.db.streetTypes[*type].shortName, streetItems_[streetRow_]);
  houses_ = sortedHouses(state.db, street);
}

void AddressPickers::chooseType(const TaskWizardState& state, int row) {
  typeRow_ = row >= 0 && row < static_cast<int>(typeItems_.size()) ? row : -1;
  listStreets(state);
  chooseStreet(state, streetItems_.empty() ? -1 : 0);
}

void AddressPickers::chooseStreet(const TaskWizardState& state, int row) {
  streetRow_ = row >= 0 && row < static_cast<int>(streetItems_.size()) ? row : -1;
  houses_.clear();
  if (state.dbLevel >= 2) listHouses(state);
  houseRow_ = houses_.empty() ? -1 : 0;
}

void AddressPickers::chooseHouse(int row) {
  houseRow_ = row >= 0 && row < static_cast<int>(houses_.size()) ? row : -1;
}

void AddressPickers::stepType(const TaskWizardState& state, int delta) {
  int row = typeRow_;
  if (delta < 0 && row > 0) --row;
  if (delta > 0 && row < static_cast<int>(typeItems_.size()) - 1) ++row;
  if (row >= 0) chooseType(state, row);
}

void AddressPickers::stepStreet(const TaskWizardState& state, int delta) {
  int row = streetRow_;
  if (delta < 0 && row > 0) --row;
  if (delta > 0 && row < static_cast<int>(streetItems_.size()) - 1) ++row;
  if (row >= 0) chooseStreet(state, row);
}

void AddressPickers::followCell(const TaskWizardState& state, int row, int col) {
  if (col != t1::kType && col != t1::kStreet && !(col == t1::kHouse && state.dbLevel >= 2)) return;
  const GridTable& t = state.table1;
  typeRow_ = -1;
  for (size_t i = 0; i < typeListMap_.size() && typeRow_ < 0; ++i) {
    const int32_t type = typeListMap_[i];
    if (type >= 0 && type < static_cast<int32_t>(state.db.streetTypes.size()) &&
        sameTrimmed(state.db.streetTypes[type].shortName, t.cell(row, t1::kType)))
      typeRow_ = static_cast<int>(i);
  }
  if (typeRow_ < 0) {  // the lists keep their items and lose their choice
    streetRow_ = houseRow_ = -1;
    return;
  }
  listStreets(state);
  streetRow_ = -1;
  for (size_t i = 0; i < streetItems_.size() && streetRow_ < 0; ++i)
    if (sameTrimmed(streetItems_[i], t.cell(row, t1::kStreet))) streetRow_ = static_cast<int>(i);
  if (state.dbLevel < 2) return;
  houseRow_ = -1;
  if (streetRow_ < 0) return;
  listHouses(state);
  for (size_t i = 0; i < houses_.size() && houseRow_ < 0; ++i)
    if (sameTrimmed(houses_[i].houseNo, t.cell(row, t1::kHouse))) houseRow_ = static_cast<int>(i);
}

}  // namespace qj
