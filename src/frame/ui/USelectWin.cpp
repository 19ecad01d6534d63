#include "frame/ui/USelectWin.h"

#include "frame/ui/UMainWin.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelectWin::TfrmSelectWin(TfrmMainWin& main)
    : ListChooser(main, "lbTask", QSize(420, 240), false, QStringLiteral("ОК")) {
  FormCreate();
  finishLayout();
}

void TfrmSelectWin::FormCreate() {
  const AppState& state = main_.state();
  RowToRecord = offeredTasks(state.protocol, state.formMode);
  std::vector<std::string> lines;
  for (const int r : RowToRecord) lines.push_back(taskListLine(state.protocol[r]));
  setLines(lines);
}

void TfrmSelectWin::btnOKClick() {
  const int row = list()->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= RowToRecord.size()) return;
  const TaskChoice choice = chooseTask(main_.state(), RowToRecord[row]);
  if (choice.message) main_.showMessage(*choice.message, this);
  openNext(choice.target);
}

void TfrmSelectWin::openNext(ChooserTarget target) {
  // A window that is not there (yet), or that refused to open on the task, leaves the
  // chooser open for another choice.
  const WindowFactory& windows = main_.windows();
  QWidget* next = nullptr;
  switch (target) {
    case ChooserTarget::TaskViewer:
      if (windows.taskViewer && (next = windows.taskViewer(main_))) main_.openViewer(next);
      break;
    case ChooserTarget::SolutionViewer:
      if (windows.solutionViewer && (next = windows.solutionViewer(main_))) main_.openViewer(next);
      break;
    case ChooserTarget::TaskWizard:
      // Opened before the chooser closes, so the main window stays disabled for it.
      if (windows.taskWizard && (next = windows.taskWizard(main_))) main_.openWindow(next);
      break;
    case ChooserTarget::None: break;
  }
  if (next) close();
}

}  // namespace qj::ui
