#include "task/ui/wizard_page.h"

#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {

TaskWizardPage::TaskWizardPage(TfrmCreateTaskWin& wizard, int step)
    : WizardPage(step), wizard_(wizard) {}

}  // namespace qj::ui
