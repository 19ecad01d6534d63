#pragma once
// Step 7 of the task wizard for level-1 tasks: the user states the distance and speed of every
// way from a point to the network or straight to another point (Table3). The step stores them,
// prices every transition and builds the solver graph.

#include "task/step_outcome.h"
#include "task/wizard_state.h"

namespace qj {

// Next on Table3: checks every row, stores the from-transitions, prices every transition,
// builds the solver graph and moves to the summary (step 8).
StepOutcome checkStep7(TaskWizardState& state);

// The row checks alone, in the order the step applies them.
StepCheck checkTable3Rows(const TaskWizardState& state);

}  // namespace qj
