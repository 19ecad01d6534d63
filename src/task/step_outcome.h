#pragma once
// What a step of the task wizard decided: its refusal, or what follows it. The task wizard's
// flow (wizard_flow.h) turns an outcome into the page shown next or into the work that
// follows without a page of its own, and gives the window a StepResult.

#include <algorithm>
#include <optional>

#include "task/wizard_state.h"
#include "text/message.h"

namespace qj {

enum class WizardNext {
  Stay,                   // the check failed: show its message, focus its control, stay
  ShowStep4Page,          // page 3a: refusals, cargo, incomes, time windows
  ShowSectionChoicePage,  // page 34: Table12 with ambiguousCount candidate rows
  RunStep5,               // the pages in between are skipped: run step 5's check at once
  PlaceLevelOnePoints,    // step 5 passed on a level-1 task: place the points, fill Table2
  AutoTransitions,        // step 5 passed on a level-2 task: automatic transitions, summary
  ShowStep7Page,          // step 6 passed: the transitions from the points (Table3)
  ShowSummary,            // step 5 passed on a level-3 task, or step 7: the summary page
};

struct StepOutcome {
  StepCheck check;  // not passed: show check.message (if any), focus, stay on the step
  WizardNext next = WizardNext::Stay;

  static StepOutcome stay(StepCheck c) { return {std::move(c), WizardNext::Stay}; }
  static StepOutcome go(WizardNext n) { return {StepCheck::ok(), n}; }
};

// While step 5 counts the states of the task's model.
inline BusyLabel stateCountBusyLabel() {
  return {243, 26, shell(124) + " ..."};
}
// While the section graph is built (step 7, the level-2 transitions).
inline BusyLabel graphBusyLabel() {
  return {206, 26, shell(118) + " ..."};
}

}  // namespace qj
