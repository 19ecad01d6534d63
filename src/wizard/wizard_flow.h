#pragma once
// A wizard's flow as its window drives it: the steps and their captions, where Back leads, and
// the work that a step's result announced. Each page's Next calls its own step with what the
// page holds and hands the StepResult to the window (wizard/ui/wizard_window.h), which shows
// what the flow decided; both wizards are driven the same way.

#include <optional>

#include "text/message.h"
#include "wizard/step_result.h"

namespace qj {

class WizardFlow {
 public:
  virtual ~WizardFlow() = default;

  // Steps 1 .. stepCount(); Next on the last step finishes the wizard.
  virtual int stepCount() const = 0;
  virtual int currentStep() const = 0;
  virtual void setCurrentStep(int step) = 0;
  // The window's caption while a step is shown.
  virtual Text stepCaption(int step) const = 0;
  // Next's caption on a step: on the last one Next finishes the wizard.
  Text nextCaption(int step) const { return step >= stepCount() ? shell(129) : shell(80); }
  // Back leads somewhere from every step but the first.
  static bool backEnabled(int step) { return step > 1; }
  // The red label shown while the Next of a step works; none for a quick step.
  virtual std::optional<BusyLabel> busyWhileNext(int step) const = 0;
  // Back from the current step: the page shown and the control focused there.
  virtual StepResult back() = 0;
  // The work that a result with a busy label announced, done while that label shows.
  virtual StepResult resume() { return {}; }
};

}  // namespace qj
