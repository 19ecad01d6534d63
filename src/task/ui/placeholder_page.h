#pragma once
// A page of a step whose controls are not plugged in yet: it names its page and does
// nothing on Next.

#include "task/ui/task_wizard_page.h"

namespace qj::ui {

class PlaceholderPage : public TaskWizardPage {
  Q_OBJECT

 public:
  PlaceholderPage(TfrmCreateTaskWin& wizard, int step);
};

}  // namespace qj::ui
