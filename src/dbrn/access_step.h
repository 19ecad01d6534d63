#pragma once
// Step 6 of the database wizard: two accessibility flags per transit section (Table3), set
// with the SpaceBar. Next turns the three row-aligned grids into the section and turn records,
// completes the header, sets every street's state and opens the houses page (levels 2 and 3)
// or the summary (level 1).

#include <string>
#include <string_view>

#include "dbrn/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

// Table3 is never typed into.
class AccessGridRules : public ReadOnlyRules {};

GridKeyResult accessGridKey(DbrnWizardState& state, GridKey key, int row, int col);

// The section and turn records from Table1, Table2 and Table3, and the header's counts and
// date (`today`, a date-time, in the interface language's date format); then the streets'
// states.
void buildSectionRecords(DbrnWizardState& state, double today);
void setStreetStates(DbrnWizardState& state);

StepResult checkAccessPage(DbrnWizardState& state, double today);

}  // namespace qj
