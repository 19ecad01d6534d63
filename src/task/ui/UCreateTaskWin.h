#pragma once

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QWidget>
#include <array>
#include <string>

#include "frame/app_state.h"
#include "frame/message.h"
#include "task/step_flow.h"
#include "task/task_wizard_frame.h"
#include "task/ui/task_pages.h"
#include "task/wizard_state.h"

namespace qj::ui {

class TfrmMainWin;
class TaskWizardPage;
class WizardGrid;

// The task wizard: eight pages, one per step, with Back, Next and Cancel. It enters a new
// task (FormMode 1), a new task by import (2) or corrects the task of SelectedPath (3). It
// is an operation window: the main window waits disabled until it closes.
class TfrmCreateTaskWin : public QWidget {
  Q_OBJECT

 public:
  // The wizard for the main window's FormMode, or nothing when the task to correct cannot
  // be read (its message has been shown).
  static TfrmCreateTaskWin* create(TfrmMainWin& main, TaskPageMakers pages = taskWizardPages());

  TfrmMainWin& main() const { return main_; }
  AppState& app() const;
  const ShellTables& texts() const;
  TaskWizardState& state() { return state_; }
  const Text& titleText() const { return titleText_; }

  // The control with this component name, or nullptr.
  template <typename T = QWidget>
  T* control(const std::string& name) const {
    return findChild<T*>(QString::fromStdString(name));
  }
  TaskWizardPage* page(int step) const;
  QPushButton* prevButton() const { return btnPrev; }
  QPushButton* nextButton() const { return btnNext; }
  QPushButton* closeButton() const { return btnClose; }
  QLabel* busyLabel() const { return Label0; }

  // Shows the page of `step`, makes it the current step and sets the window caption.
  void showStep(int step);
  // Shows a step's refusal: its box, then its control, on its page, with the grid row at top.
  void applyCheck(const StepCheck& check);
  // Gives the focus to a control (showing its page first); for a grid, row `row` at top and,
  // when given, the cell of table column `column` current.
  void focusControl(const std::string& name, int row = -1, int column = -1);
  // Applies a step's caption and visibility changes to the controls that exist.
  void applyUpdates(const ControlUpdates& updates);
  bool showMessage(const Message& message);

  // Goes on as a step's check decided: shows the page that follows, or runs the work that
  // follows (step 5's check, the placement of level-1 points, the level-2 transitions).
  void advance(WizardNext next);
  // A step's outcome: its refusal shown, or on to what follows.
  void follow(const StepOutcome& outcome);
  // The red busy label of the long computations: shown and painted, then hidden.
  void showBusy(const BusyLabel& busy);
  void hideBusy();
  // Shows what a grid's key command changed and its warning; true when the key was handled.
  bool applyKeyResult(WizardGrid& grid, const GridKeyResult& result);

  void btnNextClick();
  void btnPrevClick();
  void btnCloseClick();

 private:
  TfrmCreateTaskWin(TfrmMainWin& main, TaskWizardState state, TaskPageMakers pages);
  QWidget* wrapPage(TaskWizardPage* page);
  void applyEditRules();
  int stepOf(const QWidget* control) const;
  // Next on the summary: the files, the protocol, closing, and the solve-now hand-over.
  void finishTask();
  bool SaveTaskFiles();

  TfrmMainWin& main_;
  TaskWizardState state_;
  Text titleText_;
  std::array<TaskWizardPage*, kTaskSteps> pages_{};
  QStackedWidget* stack_;
  QLabel* Label0;
  QPushButton* btnPrev;
  QPushButton* btnNext;
  QPushButton* btnClose;
};

// The solve-now hand-over after the wizard saved the task and closed: with `solveNow` the
// task is queued in Solving/, marked as sent for solving and the optimiser opened for it.
void handOverToOptimiser(TfrmMainWin& main, bool solveNow, const std::string& code);

}  // namespace qj::ui
