#include "frame/ui/USelectWin.h"

#include "frame/ui/window_host.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"

namespace qj::ui {

TfrmSelectWin::TfrmSelectWin(WindowHost& host)
    : ListChooser(host, "lbTask", QSize(420, 240), false, QStringLiteral("ОК")), host_(host) {
  FormCreate();
  finishLayout();
}

void TfrmSelectWin::FormCreate() {
  const AppState& state = host_.state();
  RowToRecord = offeredTasks(state.protocol, state.formMode);
  std::vector<std::string> lines;
  for (const int r : RowToRecord) lines.push_back(taskListLine(state.protocol[r]));
  const auto none = noTaskOfferedText(state.formMode);
  setLines(lines, none ? none->resolve(state.texts) : std::string());
}

void TfrmSelectWin::btnOKClick() {
  const int row = list()->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= RowToRecord.size()) return;
  const TaskChoice choice = chooseTask(host_.state(), RowToRecord[row]);
  if (choice.message) host_.showMessage(*choice.message, this);
  openNext(choice.target);
}

void TfrmSelectWin::openNext(ChooserTarget target) {
  // A window that is not there (yet), or that refused to open on the task, leaves the
  // chooser open for another choice.
  const WindowFactory& windows = host_.windows();
  QWidget* next = nullptr;
  switch (target) {
    case ChooserTarget::TaskViewer:
      if (windows.taskViewer && (next = windows.taskViewer(host_))) host_.openViewer(next);
      break;
    case ChooserTarget::SolutionViewer:
      if (windows.solutionViewer && (next = windows.solutionViewer(host_))) host_.openViewer(next);
      break;
    case ChooserTarget::TaskWizard:
      // Opened before the chooser closes, so the main window stays disabled for it.
      if (windows.taskWizard && (next = windows.taskWizard(host_))) host_.openWindow(next);
      break;
    case ChooserTarget::None: break;
  }
  if (next) close();
}

}  // namespace qj::ui
