#include "task/street_pickers.h"

#include <algorithm>
#include <unordered_set>

#include "records/text.h"

namespace qj {

bool isReferencedStreet(const StreetRec& street) {
  return trim(street.state) == kStreetReferenced;
}

void fillStreetTypePicker(StreetPickers& pickers, std::vector<int32_t>& typeListMap,
                          const DbrnFile& db, const ShellTables& texts) {
  std::unordered_set<std::string> referencedTypes;
  for (const auto& s : db.streets)
    if (isReferencedStreet(s)) referencedTypes.insert(s.streetType);

  const std::string_view noStreet = trim(texts.shortText(2));
  pickers.typeRows.clear();
  typeListMap.assign(db.streetTypes.size(), 0);
  pickers.typeSelected = -1;
  for (size_t t = 0; t < db.streetTypes.size(); ++t) {
    const StreetTypeRec& type = db.streetTypes[t];
    if (trim(type.shortName) == noStreet || type.streetCount <= 0 ||
        !referencedTypes.contains(type.shortName))
      continue;
    typeListMap[pickers.typeRows.size()] = static_cast<int32_t>(t);
    if (pickers.typeSelected < 0 && type.fullName == texts.shell(697))
      pickers.typeSelected = static_cast<int>(pickers.typeRows.size());
    pickers.typeRows.push_back(cut(type.fullName + " (" + type.shortName + ")", 27));
  }
  if (pickers.typeSelected < 0 && !pickers.typeRows.empty()) pickers.typeSelected = 0;
}

void fillStreetPicker(StreetPickers& pickers, const DbrnFile& db, int32_t typeIndex) {
  pickers.streetRows.clear();
  if (typeIndex >= 0 && static_cast<size_t>(typeIndex) < db.streetTypes.size()) {
    const std::string& shortName = db.streetTypes[typeIndex].shortName;
    for (const auto& s : db.streets)
      if (s.streetType == shortName && isReferencedStreet(s)) pickers.streetRows.push_back(s.name);
  }
  pickers.streetSelected = pickers.streetRows.empty() ? -1 : 0;
}

void fillHousePicker(StreetPickers& pickers, const DbrnFile& db, int32_t typeIndex) {
  pickers.houses.clear();
  pickers.houseSelected = -1;
  if (typeIndex < 0 || static_cast<size_t>(typeIndex) >= db.streetTypes.size() ||
      pickers.streetSelected < 0 ||
      static_cast<size_t>(pickers.streetSelected) >= pickers.streetRows.size())
    return;
  const std::string& shortName = db.streetTypes[typeIndex].shortName;
  const std::string& name = pickers.streetRows[pickers.streetSelected];
  const auto street = std::find_if(db.streets.begin(), db.streets.end(), [&](const StreetRec& s) {
    return s.streetType == shortName && s.name == name;
  });
  if (street == db.streets.end()) return;
  const auto streetIndex = static_cast<int32_t>(street - db.streets.begin());

  for (size_t h = 0; h < db.houses.size(); ++h)
    if (db.houses[h].streetIndex == streetIndex)
      pickers.houses.push_back({static_cast<int32_t>(h), db.houses[h].houseNo});
  // Unsigned byte order of the first nine characters; a shorter text sorts as if padded
  // with code 0, so "10" comes before "9" and digits before letters.
  std::stable_sort(pickers.houses.begin(), pickers.houses.end(),
                   [](const HouseEntry& a, const HouseEntry& b) {
                     const std::string_view x = std::string_view(a.houseNo).substr(0, 9);
                     const std::string_view y = std::string_view(b.houseNo).substr(0, 9);
                     return std::lexicographical_compare(
                         x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
                           return static_cast<unsigned char>(c) < static_cast<unsigned char>(d);
                         });
                   });
  if (!pickers.houses.empty()) pickers.houseSelected = 0;
}

int32_t chosenStreetType(const StreetPickers& pickers, const std::vector<int32_t>& typeListMap) {
  if (pickers.typeSelected < 0 || static_cast<size_t>(pickers.typeSelected) >= typeListMap.size())
    return -1;
  return typeListMap[pickers.typeSelected];
}

}  // namespace qj
