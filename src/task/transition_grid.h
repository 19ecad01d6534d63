#pragma once
// The transition grids of steps 6 and 7 of the task wizard for level-1 tasks (Table2 and
// Table3, to_transitions_step.h and from_transitions_step.h): what the user may type into them,
// their rows' checks and how a checked grid is stored in the transition lists, and the pieces
// that the placement of the points shares with them.

#include <cstdint>
#include <string_view>
#include <vector>

#include "task/wizard_state.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

// The columns of a transition's distance and speed in Table2 and Table3.
inline constexpr int kDistanceColumn = 9, kSpeedColumn = 10;

// What the user may type into Table2 and Table3: distances and speeds (columns 9 and 10),
// digits and the decimal separator, at most 6 characters. A longer value that the wizard put
// there may still be shortened.
class TransitionGridRules : public GridRules {
 public:
  explicit TransitionGridRules(char decSep) : decSep_(decSep) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  char decSep_;
};

// A grid's rows: Table2 holds the ways to the points, Table3 the ways from them. Row r stands
// for slot `slot` of point `point`'s list, the lists' slots one after another.
enum class Way { To, From };
struct RowSlot {
  int point = 0;
  int slot = 0;
};
// Checks every row of a grid, in row order: the first fault with its row, or nothing.
StepCheck checkRows(const TaskWizardState& state, Way way);
// Copies the checked grid's distances and speeds into the lists; the rows' slots.
std::vector<RowSlot> storeRows(TaskWizardState& state, Way way);

// The section of an index, or nullptr outside the database's sections.
const TransitSectionRec* sectionAt(const TaskWizardState& state, int32_t index);
// The per-point lists of the wizard sized to its points.
void resizePointLists(TaskWizardState& state);
bool isPointChanged(const TaskWizardState& state, int point);
// Columns 0 to 7 of the first row of point i in Table2 and Table3.
void writePointRow(GridTable& grid, int row, const TaskWizardState& state, int i);

}  // namespace qj
