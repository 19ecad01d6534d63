#pragma once
// A page of the task wizard: the controls of one step. The wizard frame creates every page
// when it opens (so every caption is set once), shows one page at a time and hands Next to
// the page of the current step. Controls carry their component names as objectNames: the
// steps' checks name the control to focus, and the steps' caption updates the labels to
// change, by those names.

#include <QWidget>

namespace qj::ui {

class TfrmCreateTaskWin;

class TaskWizardPage : public QWidget {
  Q_OBJECT

 public:
  TaskWizardPage(TfrmCreateTaskWin& wizard, int step);

  int step() const { return step_; }

  // Next while this page's step is current: check the page, store its values and move on
  // (TfrmCreateTaskWin::showStep), or show the refusal (TfrmCreateTaskWin::applyCheck).
  virtual void next() {}
  // The page has just been shown, by Next, by Back or to show a refused control: controls
  // that mirror the wizard's state (grids, pickers) are refreshed from it.
  virtual void pageShown() {}

 protected:
  TfrmCreateTaskWin& wizard() const { return wizard_; }

 private:
  TfrmCreateTaskWin& wizard_;
  int step_;
};

}  // namespace qj::ui
