#pragma once
// The transitions of a level-2 task come from the database, not from the user
// (route/house_transitions.h): the task wizard takes them at the end of step 5.

#include "task/wizard_state.h"

namespace qj {

// Run at the end of step 5 for a level-2 task: replaces every point's to- and from-lists,
// prices them and builds the solver graph. A point that the route could not use is refused
// (the start point without a way out, the end point without a way in, a point that may not be
// refused without either), naming the point's row of `Table1`; the lists stay as built.
StepCheck autoTransitions(TaskWizardState& state);

}  // namespace qj
