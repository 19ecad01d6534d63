#pragma once

#include <vector>

#include "frame/task_chooser.h"
#include "frame/ui/list_chooser.h"

namespace qj::ui {

class WindowHost;

// The task chooser: offers the protocol's tasks that suit the command that opened it
// (FormMode 1 view a task's input, 2 view a solution, 3 correct a task) and opens the task
// viewer, the solution viewer or the task wizard on the chosen one. The command sets its
// caption. Handing over to the wizard keeps the main window disabled until the wizard closes.
class TfrmSelectWin : public ListChooser {
  Q_OBJECT

 public:
  explicit TfrmSelectWin(WindowHost& host);

  void btnOKClick() override;

 private:
  void FormCreate();
  void openNext(ChooserTarget target);

  WindowHost& host_;
  std::vector<int> RowToRecord;
};

}  // namespace qj::ui
