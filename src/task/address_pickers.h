#pragma once
// The three address pickers of the task wizard's point page: the street types that have
// referenced streets, the referenced streets of the chosen type and (levels 2 and 3) the
// houses of the chosen street in the order of their numbers. The pickers belong to the
// wizard's state; the window shows their items and selections and reports the user's choices.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/dbrn_file.h"
#include "text/shell_texts.h"

namespace qj {

struct TaskWizardState;

// One house of the house picker: its index in the database's houses and its number.
struct HousePick {
  int32_t houseIndex = 0;
  std::string houseNo;
  bool operator==(const HousePick&) const = default;
};

// The first street with this type and name (blanks around either do not count), or -1.
int32_t findStreet(const DbrnFile& db, std::string_view type, std::string_view name);

// The houses of one street in the house picker's order: by the first 9 characters of the
// house number as unsigned code-page-1251 codes (so "10" comes before "9" and digits before
// letters), equal numbers in record order.
std::vector<HousePick> sortedHouses(const DbrnFile& db, int32_t streetIndex);

class AddressPickers {
 public:
  // Builds the street-type list when step 2 passes: every type other than the no-street type
  // that has streets, one of them referenced; the row of the type named by shell text 697 is
  // chosen, else row 0. Also lists the streets and houses of that type.
  void fill(const TaskWizardState& state, const ShellTables& shell);

  const std::vector<std::string>& typeItems() const { return typeItems_; }
  const std::vector<std::string>& streetItems() const { return streetItems_; }
  const std::vector<HousePick>& houseItems() const { return houses_; }
  // Picker row -> street-type index, one entry per listed type.
  const std::vector<int32_t>& typeListMap() const { return typeListMap_; }
  int typeRow() const { return typeRow_; }  // -1: nothing chosen
  int streetRow() const { return streetRow_; }
  int houseRow() const { return houseRow_; }

  // The user chose a row of a picker (-1 clears the choice).
  void chooseType(const TaskWizardState& state, int row);
  void chooseStreet(const TaskWizardState& state, int row);
  void chooseHouse(int row);
  // Ctrl+A / Ctrl+S and Ctrl+Q / Ctrl+W: the previous or next type or street, not past the
  // ends of the list; a new type lists its streets from the first.
  void stepType(const TaskWizardState& state, int delta);
  void stepStreet(const TaskWizardState& state, int delta);
  // A click on the address cells of a row of Table1 shows that row's address in the pickers.
  void followCell(const TaskWizardState& state, int row, int col);

  // Whether the street type with this short name is offered.
  bool offersType(const DbrnFile& db, std::string_view shortName) const;
  // The choice as the SpaceBar enters it: street-type index, street name and house pick.
  std::optional<int32_t> chosenType(const DbrnFile& db) const;
  const HousePick* chosenHouse() const;

 private:
  void listStreets(const TaskWizardState& state);
  void listHouses(const TaskWizardState& state);

  std::vector<std::string> typeItems_, streetItems_;
  std::vector<int32_t> typeListMap_;
  std::vector<HousePick> houses_;
  int typeRow_ = -1, streetRow_ = -1, houseRow_ = -1;
};

}  // namespace qj
