#include "task/from_transitions_step.h"

#include "route/solver_graph.h"
#include "task/transition_grid.h"

namespace qj {

StepCheck checkTable3Rows(const TaskWizardState& st) {
  return checkRows(st, Way::From);
}

StepOutcome checkStep7(TaskWizardState& st) {
  resizePointLists(st);
  if (StepCheck c = checkTable3Rows(st); !c.passed()) return StepOutcome::stay(std::move(c));
  storeRows(st, Way::From);
  st.typed3.stored(st.table3);
  priceTransitions(st);
  buildSolverGraph(st);
  st.transitionsEntered = 1;
  st.wizardStep = 8;
  return StepOutcome::go(WizardNext::ShowSummary);
}

}  // namespace qj
