#include "task/ui/task_wizard_page.h"

#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {

TaskWizardPage::TaskWizardPage(TfrmCreateTaskWin& wizard, int step)
    : wizard_(wizard), step_(step) {}

}  // namespace qj::ui
