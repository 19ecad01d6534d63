#pragma once
// Step 2 of the database wizard: the average speed and the street types (Table0). A type that
// streets use is locked: its cells cannot be changed and its row cannot be deleted. Next
// checks the page, stores the sorted types and opens the streets page.

#include <optional>
#include <string_view>
#include <vector>

#include "dbrn/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

// The lowest average speed accepted, km/h.
inline constexpr double kMinAverageSpeed = 0.09999;
inline constexpr int kMaxStreetTypes = 100;

// What may be typed into Table0: lower-case letters and punctuation, 20 characters of full
// name and 4 of abbreviation, on rows whose type no street uses.
class StreetTypeGridRules : public GridRules {
 public:
  explicit StreetTypeGridRules(const DbrnWizardState& state) : state_(state) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const DbrnWizardState& state_;
};

// Whether a row's type has streets (column 3 holds a number above 0).
bool typeLocked(const GridTable& table0, int row);

// Table0 from the stored types, when the records are newer than the grid: one row per type,
// or one empty row.
void fillTable0(DbrnWizardState& state);
// Column 3 of Table0: the number of streets that use each type now, the stored streets and
// the street rows typed but not yet stored (the program's street for sections without a
// street counts only while a section uses it).
void refreshTypeLocks(DbrnWizardState& state);

// The wizard's keys in Table0: Ctrl+Ins and Ctrl+Del for rows, Delete refused on a locked row.
GridKeyResult streetTypeGridKey(DbrnWizardState& state, GridKey key, int row, int col);
// A character typed into a cell that cannot take it: the warning when the row is locked.
std::optional<Message> streetTypeTypingRefused(const DbrnWizardState& state, int row);

// The street types in the order they are stored: by the first five characters of the full
// name, rows agreeing in them later row first. Returns the rows in that order.
std::vector<int> streetTypeOrder(const GridTable& table0);

StepResult checkStreetTypesPage(DbrnWizardState& state, std::string_view speedText);

}  // namespace qj
