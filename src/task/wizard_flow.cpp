#include "task/wizard_flow.h"

#include <utility>

#include "task/auto_transitions.h"
#include "task/from_transitions_step.h"
#include "task/placement.h"
#include "task/points_step.h"
#include "task/section_choice_step.h"
#include "task/to_transitions_step.h"
#include "task/transition_grid.h"
#include "task/wizard_frame.h"

namespace qj {

int TaskWizardFlow::stepCount() const {
  return kTaskSteps;
}

Text TaskWizardFlow::stepCaption(int step) const {
  return taskStepCaption(state_, step);
}

std::optional<BusyLabel> TaskWizardFlow::busyWhileNext(int step) const {
  if (step == 5) return stateCountBusyLabel();
  if (step == 7) return graphBusyLabel();
  return std::nullopt;
}

StepResult TaskWizardFlow::back() {
  const BackMove move = backFrom(state_);
  if (move.resetWarnedRow) state_.warnedRow = -1;
  return StepResult::show(move.toStep, move.focus);
}

StepResult TaskWizardFlow::identityNext(const Step1Input& input) {
  Step1Result step = checkStep1(state_, app_, input);
  // A refused step changes no caption.
  if (!step.check.passed()) return StepResult::refuse(std::move(step.check));
  page2Fill_ = std::move(step.page2);
  StepResult result = StepResult::show(2, "TS_num");
  result.updates = std::move(step.updates);
  return result;
}

StepResult TaskWizardFlow::parametersNext(const Page2Input& input) {
  Step2Result step = checkStep2(state_, input, app_.texts);
  StepResult result = step.check.passed() ? StepResult::show(3, "Table1", 0)
                                          : StepResult::refuse(std::move(step.check));
  result.updates = std::move(step.updates);
  return result;
}

StepResult TaskWizardFlow::pointsNext() {
  const Step3Outcome step = checkStep3(state_, app_.texts);
  ControlUpdates shown;
  if (step.threshold) shown = showThreshold(*step.threshold);
  StepResult result = follow(step);
  result.updates.insert(result.updates.begin(), shown.begin(), shown.end());
  return result;
}

StepResult TaskWizardFlow::pointOptionsNext(std::string_view tactText) {
  return follow(checkStep4(state_, app_.texts, tactText));
}

StepResult TaskWizardFlow::sectionChoiceNext() {
  return runStep5();
}

StepResult TaskWizardFlow::toTransitionsNext() {
  return follow(checkStep6(state_, app_.texts));
}

StepResult TaskWizardFlow::fromTransitionsNext() {
  return follow(checkStep7(state_));
}

StepResult TaskWizardFlow::resume() {
  switch (std::exchange(pending_, WizardNext::Stay)) {
    case WizardNext::RunStep5: return runStep5();
    case WizardNext::AutoTransitions: {
      const StepCheck check = autoTransitions(state_);
      if (!check.passed()) return StepResult::refuse(check);
      return follow(StepOutcome::go(WizardNext::ShowSummary));
    }
    default: return {};
  }
}

std::optional<Page2Values> TaskWizardFlow::takePage2Fill() {
  return std::exchange(page2Fill_, std::nullopt);
}

StepResult TaskWizardFlow::runStep5() {
  const Step5Outcome step = checkStep5(state_, threshold_);
  ControlUpdates shown;
  if (step.resetThreshold) shown = showThreshold({});
  StepResult result = follow(step);
  result.updates.insert(result.updates.begin(), shown.begin(), shown.end());
  return result;
}

StepResult TaskWizardFlow::follow(const StepOutcome& outcome) {
  if (!outcome.check.passed()) return StepResult::refuse(outcome.check);
  switch (outcome.next) {
    case WizardNext::Stay: return {};
    case WizardNext::ShowStep4Page: return StepResult::show(4, "Table1a", 0);
    case WizardNext::ShowSectionChoicePage: return StepResult::show(5, "Table12", 0, t12::kMark);
    case WizardNext::RunStep5:
      pending_ = WizardNext::RunStep5;
      return StepResult::work(stateCountBusyLabel());
    case WizardNext::PlaceLevelOnePoints: {
      const StepCheck placed = placeLevel1Points(state_, app_.texts);
      if (!placed.passed()) return StepResult::refuse(placed);
      return StepResult::show(6, "Table2", 0, kDistanceColumn);
    }
    case WizardNext::AutoTransitions:
      pending_ = WizardNext::AutoTransitions;
      return StepResult::work(graphBusyLabel());
    case WizardNext::ShowStep7Page: return StepResult::show(7, "Table3", 0, kDistanceColumn);
    case WizardNext::ShowSummary: return StepResult::show(8, "btnNext");
  }
  return {};
}

ControlUpdates TaskWizardFlow::showThreshold(const ThresholdControls& threshold) {
  const int choice = threshold.choice == 1 || threshold.choice == 2 ? threshold.choice : 0;
  threshold_ = {choice, choice == 1 ? threshold.porog1 : std::string(),
                choice == 2 ? threshold.porog2 : std::string()};
  // As the clicks on the radio buttons show it: the edit not in use empty and disabled.
  ControlUpdates u;
  setChecked(u, "por0", choice == 0);
  setChecked(u, "por1", choice == 1);
  setChecked(u, "por2", choice == 2);
  setText(u, "porog1", val(threshold_.porog1));
  setEnabled(u, "porog1", choice == 1);
  setText(u, "porog2", val(threshold_.porog2));
  setEnabled(u, "porog2", choice == 2);
  return u;
}

}  // namespace qj
