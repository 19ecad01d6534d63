#pragma once
// The summary page of the task wizard (its last step, before the task is saved): every caption
// and value it shows, composed from the task as the steps left it. The window sets each
// component's text by its name and shows or hides it.

#include <string>
#include <vector>

#include "frame/message.h"
#include "task/wizard_state.h"

namespace qj {

struct SummaryLine {
  std::string name;  // the component (objectName) that shows the text
  Text text;
  bool fit = false;  // fitted to the label's width before it is shown
  bool shown = true;
};

// The header strip (task code and name, database, points) and the body: money unit and
// rates, approach speed (levels 2 and 3), the options with their values, the state counts of
// the pair passes and of the final pass, and the captions of the solve-now choice.
std::vector<SummaryLine> summaryPage(const TaskWizardState& state);

// The database kind as the header strips show it, e.g. "use1 (" + ShellTexts[510] + ")".
Text dbKindText(const std::string& kind);

}  // namespace qj
