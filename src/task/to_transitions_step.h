#pragma once
// Step 6 of the task wizard for level-1 tasks: the user states the distance and speed of every
// way from the network to a point (Table2). The step stores them and prepares step 7: which
// ways lead from each point, with their defaults or what was stored before, in Table3.

#include "task/step_outcome.h"
#include "task/wizard_state.h"
#include "text/shell_texts.h"

namespace qj {

// Next on Table2: checks every row, stores the to-transitions and the entered distances,
// works out which ways lead from each point, fills Table3 and moves to step 7.
StepOutcome checkStep6(TaskWizardState& state, const ShellTables& texts);

// The row checks alone, in the order the step applies them.
StepCheck checkTable2Rows(const TaskWizardState& state);

}  // namespace qj
