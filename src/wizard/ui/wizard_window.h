#pragma once
// The window that both wizards are: one page per step in a stack, Back, Next and Cancel, the
// red busy label, and the window's side of what the wizard's flow decides (wizard/wizard_flow.h):
// a step's result shown (its caption changes, its refusal's box and focus, the page that
// follows, the work it announced), Back, and what a grid key changed. Controls carry their
// component names as objectNames: the steps name the controls to focus and to change by them.

#include <QLabel>
#include <QPushButton>
#include <QSize>
#include <QStackedWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/message.h"
#include "text/ui/message_host.h"
#include "wizard/step_result.h"
#include "wizard/wizard_flow.h"

namespace qj::ui {

class WizardGrid;

// A page of a wizard: the controls of one step. A wizard creates every page when it opens (so
// every caption is set once), shows one page at a time and hands Next to the page of the
// current step.
class WizardPage : public QWidget {
  Q_OBJECT

 public:
  explicit WizardPage(int step) : step_(step) {}

  int step() const { return step_; }

  // Next while this page's step is current: check the page, store its values and move on, or
  // show the refusal.
  virtual void next() {}
  // The page has just been shown, by Next, by Back or to show a refused control: controls
  // that mirror the wizard's state (grids, pickers) are refreshed from it.
  virtual void pageShown() {}

 private:
  int step_;
};

class WizardWindow : public QWidget {
  Q_OBJECT

 public:
  const ShellTables& texts() const { return host_.texts(); }

  // The control with this component name, or nullptr.
  template <typename T = QWidget>
  T* control(const std::string& name) const {
    return findChild<T*>(QString::fromStdString(name));
  }
  WizardPage* page(int step) const;
  QPushButton* prevButton() const { return btnPrev; }
  QPushButton* nextButton() const { return btnNext; }
  QPushButton* closeButton() const { return btnClose; }
  QLabel* busyLabel() const { return Label0; }
  // The scrolled area that shows the page of the current step.
  QWidget* pageArea() const { return area_; }

  // The wizard's flow in the core.
  virtual WizardFlow& flow() = 0;

  // The step whose page is shown, and showing another one: its page, the window caption, and
  // Next's caption (finishing on the last step).
  int currentStep() { return flow().currentStep(); }
  void showStep(int step);

  // Next on the current page: `step` runs with the flow's busy label for the step shown, and
  // its result is shown.
  void runNext(const std::function<StepResult()>& step);
  // Shows a step's result: its updates, then its refusal, or the work it announced (done by the
  // flow while its label shows, and that result shown in turn), or the page that follows.
  void follow(StepResult result);

  // Shows a step's refusal: its box, then its control, on its page; in a grid, the cell named
  // (the row's first typable cell where none is) current with its editor closed, its row at top.
  void applyCheck(const StepCheck& check);
  // Gives the focus to a control (showing its page first); for a grid, row `row` at top (its
  // current row for kCurrentRow) and, when given, the cell of table column `column` current.
  void focusControl(const std::string& name, int row = -1, int column = -1);
  // Applies a step's changes to its named controls; a name that no control carries is a
  // fault (control_names.h).
  void applyUpdates(const ControlUpdates& updates);
  bool showMessage(const Message& message);
  // The red busy label of the long computations: shown and painted, then hidden.
  void showBusy(const BusyLabel& busy);
  void hideBusy();
  // Shows what a grid's key command changed and its warning; true when the key was handled.
  bool applyKeyResult(WizardGrid& grid, const GridKeyResult& result);

  // Next: what is typed into a cell counts; the last step finishes, any other runs its page's
  // Next. Back: to where the flow leads.
  void btnNextClick();
  void btnPrevClick();
  void btnCloseClick() { close(); }

 protected:
  // `host`: the shell's texts and the message boxes. `pageArea`: the size the pages take, in
  // design pixels, where the screen has room for it.
  WizardWindow(MessageHost& host, const char* objectName, QSize pageArea);

  // Adds the page of the next step; `shown` is what the stack shows for it (the page itself
  // or a container around it).
  void addPage(WizardPage* page, QWidget* shown);
  // Creates the busy label and the buttons under the pages; call once every page is added,
  // so that the page's fields come first in the tab order, then Next, Back and Cancel.
  void buildFrame();
  // Next on the last step.
  virtual void finish() = 0;
  // Runs a step's work with its busy label shown and returns its result. Here on the window's
  // thread; a wizard whose steps may take long runs them on a worker.
  virtual StepResult work(const BusyLabel& busy, const std::function<StepResult()>& step);

  // Shows the page of `step` and refreshes it, with Back as the flow has it there.
  void showPage(int step);
  bool event(QEvent* event) override;
  // What is typed into a cell counts even when a button did not take the focus from the grid.
  void commitGridEditors();
  // Gives every line edit with a rule its length, filter and case.
  void applyEditRules(const std::function<std::optional<FieldRule>(std::string_view)>& ruleOf,
                      char decSep);

 private:
  // The tallest busy label of the wizards, in design pixels.
  static constexpr int kBusyLabelHeight = 26;

  int stepOf(const QWidget* control) const;
  // Shows the page that holds `control`, where it is not the page shown.
  void showPageOf(const QWidget* control);
  void keepOneSize();

  MessageHost& host_;
  QSize pageArea_;
  std::vector<WizardPage*> pages_;
  QStackedWidget* stack_;
  QWidget* area_ = nullptr;
  QLabel* Label0 = nullptr;
  QPushButton* btnPrev = nullptr;
  QPushButton* btnNext = nullptr;
  QPushButton* btnClose = nullptr;
};

}  // namespace qj::ui
