#pragma once
// The summary page of the task wizard (its last step, before the task is saved): every caption
// and value it shows, composed from the task as the steps left it. The window sets each
// component's text by its name and shows or hides it.

#include "task/wizard_frame.h"
#include "task/wizard_state.h"

namespace qj {

// The body of the page (its header strip is the one of every page): money unit and rates,
// approach speed (levels 2 and 3), the options with their values, the state counts of the
// pair passes and of the final pass, and the captions of the solve-now choice.
ControlUpdates summaryPage(const TaskWizardState& state);

}  // namespace qj
