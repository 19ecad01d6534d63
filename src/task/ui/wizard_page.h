#pragma once
// A page of the task wizard: the controls of one step, with the task wizard it belongs to.

#include "wizard/ui/wizard_window.h"

namespace qj::ui {

class TfrmCreateTaskWin;

class TaskWizardPage : public WizardPage {
  Q_OBJECT

 public:
  TaskWizardPage(TfrmCreateTaskWin& wizard, int step);

 protected:
  TfrmCreateTaskWin& wizard() const { return wizard_; }

 private:
  TfrmCreateTaskWin& wizard_;
};

}  // namespace qj::ui
