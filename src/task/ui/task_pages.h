#pragma once
// The pages of the task wizard, one entry per step.

#include <array>
#include <functional>

#include "task/task_wizard_frame.h"

namespace qj::ui {

class TfrmCreateTaskWin;
class TaskWizardPage;

using TaskPageMaker = std::function<TaskWizardPage*(TfrmCreateTaskWin& wizard)>;
// Entry s - 1 makes the page of step s.
using TaskPageMakers = std::array<TaskPageMaker, kTaskSteps>;

TaskPageMakers taskWizardPages();

}  // namespace qj::ui
