#pragma once

#include <QWidget>
#include <string>

#include "frame/app_state.h"
#include "task/wizard_flow.h"
#include "task/wizard_frame.h"
#include "task/wizard_state.h"
#include "text/message.h"
#include "wizard/ui/wizard_window.h"

namespace qj::ui {

class WindowHost;
class TaskWizardPage;

// The task wizard: eight pages, one per step, with Back, Next and Cancel. It enters a new
// task (FormMode 1), a new task by import (2) or corrects the task of SelectedPath (3). It
// is an operation window: the main window waits disabled until it closes.
class TfrmCreateTaskWin : public WizardWindow {
  Q_OBJECT

 public:
  // The wizard for the main window's FormMode, or nothing when the task to correct cannot
  // be read (its message has been shown).
  static TfrmCreateTaskWin* create(WindowHost& host);

  WindowHost& host() const { return host_; }
  AppState& app() const;
  TaskWizardState& state() { return state_; }
  const Text& titleText() const { return titleText_; }
  TaskWizardPage* page(int step) const;

  TaskWizardFlow& flow() override { return flow_; }

 protected:
  // Next on the summary: the files, the protocol, closing, and the solve-now hand-over.
  void finish() override;

 private:
  TfrmCreateTaskWin(WindowHost& host, TaskWizardState state);
  QWidget* wrapPage(TaskWizardPage* page);
  bool SaveTaskFiles();

  WindowHost& host_;
  TaskWizardState state_;
  TaskWizardFlow flow_;
  Text titleText_;
};

// The solve-now hand-over after the wizard saved the task and closed: with `solveNow` the
// task is queued in Solving/, marked as sent for solving and the optimiser opened for it.
void handOverToOptimiser(WindowHost& host, bool solveNow, const std::string& code);

}  // namespace qj::ui
