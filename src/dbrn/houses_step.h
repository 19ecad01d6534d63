#pragma once
// Step 7 of the database wizard (page "6a", levels 2 and 3): one row per house of Table4,
// street by street as the house counts of step 3 give them, each with its number, its yard and
// up to four adjacent transit sections entered from the list of the chosen street's sections.
// Next checks the rows and builds the house and link records.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbrn/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

// What may be typed into Table4: the house number, the yard and the distances. Section numbers
// come from the list only.
class HouseGridRules : public GridRules {
 public:
  explicit HouseGridRules(const DbrnWizardState& state) : state_(state) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const DbrnWizardState& state_;
};

// Whether a column of Table4 holds a section number (5, 8, 11, 14).
bool isLinkSectionColumn(int col);

// House links follow their transit section when a section row is inserted (the sections from
// `number` on move one number up) or deleted (links to section `number` are removed, later
// links of the house move forward, higher numbers move one down): in the house records and in
// Table4.
void sectionInserted(DbrnWizardState& state, int32_t number);
void sectionRemoved(DbrnWizardState& state, int32_t number);

// The houses page as step 6 leaves it: the pickers; Table4 from the stored houses when they are
// newer than the grid (in view mode the houses of the streets that pass the filter), otherwise
// the rows as typed, moved with their streets and fitted to the streets' house counts; the
// house count of the header; the filter line and the line about the current cell.
ControlUpdates prepareHousesPage(DbrnWizardState& state);

// The pickers: a type (its streets with state 3 fill List_42), a street (its sections fill
// List_43, level 2).
void list41Change(DbrnWizardState& state, int row);
void list42Change(DbrnWizardState& state, int row);
void list43Change(DbrnWizardState& state, int row);
// List_43: the house ranges of the sections of the street chosen in List_42, sorted as text on
// their first nine characters, equal ones in section order.
void listStreetSections(DbrnWizardState& state);

// Label_4b: the section whose number a section cell holds, with its street and range.
Text houseSectionInfo(const DbrnWizardState& state, int row, int col);

GridKeyResult houseGridKey(DbrnWizardState& state, GridKey key, int row, int col);

StepResult checkHousesPage(DbrnWizardState& state);

}  // namespace qj
