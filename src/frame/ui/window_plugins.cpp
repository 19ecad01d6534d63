// Every window that the frame opens is wired in here, one line each.
#include "dbrn/ui/UCreateDBRN.h"
#include "dbrn/ui/USelectDBRN.h"
#include "frame/ui/UProtocolWin.h"
#include "frame/ui/USelectWin.h"
#include "frame/ui/window_factory.h"
#include "optimiser/ui/OM_QJ.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {

// A window is wired in by one line that creates it, for example
//   windows.help = [](TfrmMainWin& main) -> QWidget* { return new TfrmHelp(main); };
// and a viewer command by one line that runs it on the viewer:
//   windows.printTask = [](TfrmMainWin& m, QWidget* v) { PrintTask(m, asTask(v)); };
WindowFactory programWindows() {
  WindowFactory windows;
  windows.taskChooser = [](TfrmMainWin& main) -> QWidget* { return new TfrmSelectWin(main); };
  windows.protocolWindow = [](TfrmMainWin& main) -> QWidget* { return new TfrmProtocolWin(main); };
  windows.taskWizard = [](TfrmMainWin& m) -> QWidget* { return TfrmCreateTaskWin::create(m); };
  windows.optimiser = [](TfrmMainWin& main) -> QWidget* { return new TForm1(main); };
  windows.taskViewer = [](TfrmMainWin& main) -> QWidget* { return TfrmViewTask::create(main); };
  windows.solutionViewer = [](TfrmMainWin& m) -> QWidget* { return TfrmViewSolution::create(m); };
  windows.databaseWizard = [](TfrmMainWin& m) -> QWidget* { return TfrmCreateDBRN::create(m); };
  windows.databaseChooser = [](TfrmMainWin& m) -> QWidget* { return new TfrmSelectDBRN(m); };
  return windows;
}

}  // namespace qj::ui
