#pragma once
// The task wizard's flow as its window drives it (wizard/wizard_flow.h): eight steps, each
// page's Next a function here that runs its step and decides what follows. The steps without
// a page of their own are chained here too: step 5's check when the section choice is not
// needed, the placement of level-1 points, and the automatic transitions of level 2, each
// announced with its red label so that the window shows it while the flow does the work.
//
// The threshold controls of page 3a are held here as the user leaves them (the page writes them
// through): step 5 reads them, also when it runs from steps 3 and 4.

#include <optional>
#include <string_view>

#include "frame/app_state.h"
#include "task/identity_step.h"
#include "task/parameters_step.h"
#include "task/point_options_step.h"
#include "task/step_outcome.h"
#include "task/wizard_state.h"
#include "wizard/wizard_flow.h"

namespace qj {

class TaskWizardFlow : public WizardFlow {
 public:
  TaskWizardFlow(TaskWizardState& state, AppState& app) : state_(state), app_(app) {}

  int stepCount() const override;
  int currentStep() const override { return state_.wizardStep; }
  void setCurrentStep(int step) override { state_.wizardStep = step; }
  Text stepCaption(int step) const override;
  // Step 5 counts the states, step 7 builds the section graph.
  std::optional<BusyLabel> busyWhileNext(int step) const override;
  StepResult back() override;
  StepResult resume() override;

  // Next on each page with what the page holds.
  StepResult identityNext(const Step1Input& input);
  StepResult parametersNext(const Page2Input& input);
  StepResult pointsNext();
  StepResult pointOptionsNext(std::string_view tactText);
  StepResult sectionChoiceNext();
  StepResult toTransitionsNext();
  StepResult fromTransitionsNext();

  // Page 2's values when step 1 filled them from the header, once: page 2 shows them.
  std::optional<Page2Values> takePage2Fill();
  // The threshold controls of page 3a as the user left them.
  const ThresholdControls& threshold() const { return threshold_; }
  void setThreshold(ThresholdControls threshold) { threshold_ = std::move(threshold); }

 private:
  // What a step's outcome leads to: the page shown next, the work that follows, or the refusal.
  StepResult follow(const StepOutcome& outcome);
  StepResult runStep5();
  // The threshold held and shown on page 3a.
  ControlUpdates showThreshold(const ThresholdControls& threshold);

  TaskWizardState& state_;
  AppState& app_;
  WizardNext pending_ = WizardNext::Stay;
  std::optional<Page2Values> page2Fill_;
  ThresholdControls threshold_;
};

}  // namespace qj
