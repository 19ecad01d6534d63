#pragma once
// Step 4 of the database wizard: the transit sections (Table1), with the street pickers List_1
// and List_2 whose choice the SpaceBar enters. Table1, the turns grid Table2 and the
// accessibility grid Table3 are row-aligned: row r of each describes section r + 1, and rows
// are inserted and deleted in all three at once. Next copies the rows into the two following
// grids, checks every row and the network, counts the nodes and opens the turns page.

#include <cstdint>
#include <string>
#include <string_view>

#include "dbrn/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

inline constexpr int kMaxSections = 200000;
inline constexpr int32_t kMaxNodes = 99999;

// What may be typed into Table1: house numbers, node numbers, length and speed.
class SectionGridRules : public GridRules {
 public:
  explicit SectionGridRules(const DbrnWizardState& state) : state_(state) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const DbrnWizardState& state_;
};

// A house number at level 1: digits, the last character possibly a lower-case Latin or
// Cyrillic letter; a single character must be a digit.
bool isSectionHouseNumber(std::string_view text);
// Whether two valid level-1 house numbers are both odd or both even.
bool sameParity(std::string_view a, std::string_view b);

// The sections page as step 3 leaves it: Table1, Table2 and Table3 from the records when they
// are newer than the grids (in view mode the sections that pass the filter), otherwise the
// rows as typed with their streets renamed as the streets are now; the pickers; the line
// about the current row; the filter lines in view mode.
ControlUpdates prepareSectionsPage(DbrnWizardState& state, int table1Row);
// List_1 and List_2 as the page opens: the type "street" (or the first), its first street.
void fillSectionPickers(DbrnWizardState& state);
// The user chose a type in List_1 (its streets fill List_2) or a street in List_2.
void list1Change(DbrnWizardState& state, int row);
void list2Change(DbrnWizardState& state, int row);
// Label_02: the section of a row and its street; empty when its type is not a stored type.
Text sectionInfo(const DbrnWizardState& state, int row);
// A row was chosen: Label_02 describes it. In view mode nothing is entered from the pickers,
// so they show the same street as Label_02 rather than a street to enter.
Text chooseSectionRow(DbrnWizardState& state, int row);
// Back to the sections page: in every mode the pickers show the street of the row that
// Label_02 describes, the row the grid's cursor is on.
void returnToSectionsPage(DbrnWizardState& state);

// Inserts an empty section after row `row` (in all three grids), with the type chosen in
// List_1 and the average speed, and gives its row; deletes the section of row `row` when there
// are at least two. The house links follow the sections they name.
int insertSectionRow(DbrnWizardState& state, int row);
void deleteSectionRow(DbrnWizardState& state, int row);

// The wizard's keys in Table1.
GridKeyResult sectionGridKey(DbrnWizardState& state, GridKey key, int row, int col);

// Column 1 of Table2 and Table3: type, name, house range and the non-standard mark.
std::string sectionNameText(const GridTable& table1, int row);

StepResult checkSectionsPage(DbrnWizardState& state);

}  // namespace qj
