#pragma once
// Steps 6 and 7 of the task wizard for level-1 tasks: the user states the distance and speed
// of every way from the network to a point (step 6, grid Table2) and from a point to the
// network or straight to another point (step 7, grid Table3). Step 6 stores the first and
// prepares the second; step 7 stores the second and builds the solver graph.

#include <cstdint>
#include <string_view>

#include "task/step_flow.h"
#include "task/wizard_state.h"
#include "text/shell_texts.h"
#include "wizard/grid.h"

namespace qj {

// The column of a transition's distance in Table2 and Table3 (its speed follows).
inline constexpr int kDistanceColumn = 9;

// What the user may type into Table2 and Table3: distances and speeds (columns 9 and 10),
// digits and the decimal separator, at most 6 characters. A longer value that the wizard put
// there may still be shortened.
class TransitionGridRules : public GridRules {
 public:
  explicit TransitionGridRules(char decSep) : decSep_(decSep) {}
  bool typable(const GridTable& table, int row, int col) const override;
  bool accepts(const GridTable& table, int row, int col, std::string_view text) const override;

 private:
  char decSep_;
};

// Step 6 (Next on Table2): checks every row, stores the to-transitions and the entered
// distances, works out which ways lead from each point, fills Table3 and moves to step 7.
StepOutcome checkStep6(TaskWizardState& state, const ShellTables& texts);

// Step 7 (Next on Table3): checks every row, stores the from-transitions, prices every
// transition, builds the solver graph and moves to the summary (step 8).
StepOutcome checkStep7(TaskWizardState& state);

// The row checks alone, in the order the steps apply them.
StepCheck checkTable2Rows(const TaskWizardState& state);
StepCheck checkTable3Rows(const TaskWizardState& state);

// Shared with the placement and the level-2 transitions.

// The per-point lists of the wizard sized to its points.
void resizePointLists(TaskWizardState& state);
bool isPointChanged(const TaskWizardState& state, int point);
// Columns 0 to 7 of the first row of point i in Table2 and Table3.
void writePointRow(GridTable& grid, int row, const TaskWizardState& state, int i);

}  // namespace qj
