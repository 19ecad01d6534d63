#pragma once
// The address pickers of the task wizard: the street types that have referenced streets, the
// referenced streets of a type, and the houses of a street in the order of their numbers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/shell_texts.h"
#include "records/dbrn_file.h"
#include "task/wizard_state.h"

namespace qj {

// A street that a section refers to or that has houses: the only streets a target point can
// lie on.
bool isReferencedStreet(const StreetRec& street);

// The street types offered: not the no-street type, with streets, and with at least one
// referenced street. Fills the rows, TypeListMap (one entry per street type, 0 beyond the
// rows) and selects the type named like shell text 697, else the first row.
void fillStreetTypePicker(StreetPickers& pickers, std::vector<int32_t>& typeListMap,
                          const DbrnFile& db, const ShellTables& texts);

// The referenced streets of street type `typeIndex` in database order; the first selected.
void fillStreetPicker(StreetPickers& pickers, const DbrnFile& db, int32_t typeIndex);

// The houses of the street of type `typeIndex` named like the chosen street, ordered by the
// first 9 characters of their numbers (code-page-1251 byte order, earlier records first
// among equals); the first selected. No chosen street, no houses.
void fillHousePicker(StreetPickers& pickers, const DbrnFile& db, int32_t typeIndex);

// The street-type index of the chosen type row, or -1.
int32_t chosenStreetType(const StreetPickers& pickers, const std::vector<int32_t>& typeListMap);

}  // namespace qj
