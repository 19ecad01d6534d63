#pragma once
// Filling the address grid of step 3 (Table1) when step 2 passes: one row per target point,
// from the point records the wizard holds (a loaded, imported or earlier entered task) or
// with a new point's defaults.

#include <string>

#include "frame/shell_texts.h"
#include "task/wizard_state.h"

namespace qj {

// Column 0 of a point's rows: its number, marked for the start and the end point.
std::string pointNumberCell(const TaskWizardState& state, int row, const ShellTables& texts);

// A start or end point row: its column 0 carries a mark in parentheses.
bool isMarkedPointRow(const GridTable& table, int row);
// A cargo row without its own cargo times: its column-0 text holds short text 12 (the
// start point's mark). An empty short text 12 marks no row.
bool isExemptCargoRow(const GridTable& table, int row, const ShellTables& texts);

// Index of the first house record on the first street of the point's street type and name
// whose number is the point's house, or -1.
int32_t houseIndexOf(const DbrnFile& db, const TaskPointRec& point);

// Sets Table1 to the point count and fills every row.
void fillPointGrid(TaskWizardState& state, const ShellTables& texts);

}  // namespace qj
