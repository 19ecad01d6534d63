#pragma once
// The database wizard's flow as its window drives it (wizard/wizard_flow.h): eight steps, each
// page's Next a step of its own (identity_step.h .. houses_step.h, the summary's in
// wizard_frame.h) that decides the page that follows, with the red label of dbrnBusyLabel while
// it works, and Back as dbrnBack leads.

#include "dbrn/wizard_frame.h"
#include "dbrn/wizard_state.h"
#include "wizard/wizard_flow.h"

namespace qj {

class DbrnWizardFlow : public WizardFlow {
 public:
  explicit DbrnWizardFlow(DbrnWizardState& state) : state_(state) {}

  int stepCount() const override { return kDbrnSteps; }
  int currentStep() const override { return state_.wizardStep; }
  void setCurrentStep(int step) override { state_.wizardStep = step; }
  Text stepCaption(int step) const override { return dbrnStepCaption(state_, step); }
  std::optional<BusyLabel> busyWhileNext(int) const override { return dbrnBusyLabel(); }
  // The grid that Back leads to shows its current row at the top.
  StepResult back() override;

 private:
  DbrnWizardState& state_;
};

}  // namespace qj
