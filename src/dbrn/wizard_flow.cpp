#include "dbrn/wizard_flow.h"

namespace qj {

StepResult DbrnWizardFlow::back() {
  const DbrnBackMove move = dbrnBack(state_);
  return StepResult::show(move.toStep, move.focus, move.scrollToCurrent ? kCurrentRow : -1);
}

}  // namespace qj
