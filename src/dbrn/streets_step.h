#pragma once
// Step 3 of the database wizard: the streets (Table_0), shown for one street type at a time
// (List_0) or as a free list. Next checks and stores the rows, checks the house total, re-sorts
// every street by type and name (renumbering every reference to a street) and opens the
// transit-sections page.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbrn/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

inline constexpr int kMaxStreetRows = 10000;
inline constexpr int32_t kMaxHouses = 300000;

// What may be typed into Table_0: the name (30 characters) and, at level 2, the number of
// houses (3 digits).
class StreetGridRules : public GridRules {
 public:
  explicit StreetGridRules(const DbrnWizardState& state) : state_(state) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const DbrnWizardState& state_;
};

// List_0 and Table_0 as step 2 leaves them: the stored types, and the streets of the chosen
// type unless the grid holds rows typed since the last load.
void prepareStreetsPage(DbrnWizardState& state);
// Table_0 := the streets of the type chosen in List_0 (one empty row when it has none).
void fillStreetsOfType(DbrnWizardState& state);

// The rows of Table_0 against the step's rules; the first refusal.
StepCheck checkStreetRows(const DbrnWizardState& state);
// Every row with a type and a name into the street records (new rows get a record).
void storeStreetRows(DbrnWizardState& state);
// Both, outside view mode; the refusal when the rows are refused.
StepCheck checkAndStoreStreets(DbrnWizardState& state);

// A street that cannot be deleted: referenced by a record, or used by a section row.
bool streetInUse(const DbrnWizardState& state, int32_t street);

// The user chose row `row` of List_0. With the listing by type, the rows shown are first
// checked and stored; a refusal keeps the list and the grid on the type they show.
StepCheck list0Change(DbrnWizardState& state, int row);
// RB_yes / RB_no.
void listStreetsByType(DbrnWizardState& state, bool byType);
// The wizard's keys in Table_0: Ctrl+A/S step the types, SpaceBar enters the chosen type,
// Ctrl+Ins and Ctrl+Del insert and delete rows; Ctrl+Q/W only say why the rows shown would keep
// the type from changing.
GridKeyResult streetGridKey(DbrnWizardState& state, GridKey key, int row, int col);

// The order of the streets of one type: by the first 20 characters of their names (padded
// with blanks), streets agreeing in them later record first. Returns record indices.
std::vector<int32_t> streetOrder(const std::vector<StreetRec>& streets,
                                 const std::vector<int32_t>& ofType);
// Re-sorts the streets by type and name, drops deleted streets and streets of a type no longer
// listed, and renumbers every street index held by the sections, the houses and the grids.
// At level 1 the street of sections without a street is made when its type exists. Returns
// the new index of every old record (-1: dropped).
std::vector<int32_t> resortStreets(DbrnWizardState& state);

struct StreetsPageInput {
  std::string keyPhraseType, keyPhraseName;  // view mode: the filter typed on page 1
  int table1Row = 0;                         // the current row of the sections grid
};
StepResult checkStreetsPage(DbrnWizardState& state, const StreetsPageInput& input);

}  // namespace qj
