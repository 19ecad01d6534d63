#pragma once
// The transitions of a level-2 task come from the database, not from the user: every link of a
// point's house to a transit section gives ways onto and off that section and its reverse
// section, and ways straight to the other points along the same sections or in the same yard.

#include "task/wizard_state.h"

namespace qj {

// The to- and from-lists of every point from its house's links on the network of `state.db`,
// priced at the approach speed, and each point's section and reverse section when its house
// has one link (else none). Serves a level-2 task and a client-addition task on its system
// database alike. A house index outside the houses gives its point no transitions.
void houseTransitions(TaskWizardState& state);

// Run at the end of step 5 for a level-2 task: replaces every point's to- and from-lists,
// prices them and builds the solver graph. A point that the route could not use is refused
// (the start point without a way out, the end point without a way in, a point that may not be
// refused without either), naming the point's row of `Table1`; the lists stay as built.
StepCheck autoTransitions(TaskWizardState& state);

}  // namespace qj
