// The composition root: every window that the frame opens is wired in here, one line each.
#include "app/program_windows.h"

#include "dbrn/ui/UCreateCliDB.h"
#include "dbrn/ui/UCreateDBRN.h"
#include "dbrn/ui/USelectDBRN.h"
#include "dbrn/ui/database_workbooks.h"
#include "frame/ui/UHelpWin.h"
#include "frame/ui/UProtocolWin.h"
#include "frame/ui/USelectWin.h"
#include "frame/ui/window_factory.h"
#include "optimiser/ui/OM_QJ.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/print_reports.h"
#include "reports/ui/workbook_exports.h"
#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {
namespace {

// The database chooser's export and the database wizard's import of workbooks.
bool exportDatabaseWorkbooks(TfrmSelectDBRN& chooser) {
  return exportDbrnToWorkbook(chooser.main(), chooser.busyLabel());
}

std::optional<DbrnWorkbookImport> importDatabaseWorkbook(TfrmCreateDBRN& wizard) {
  auto read = chooseDbrnWorkbook(wizard.main(), &wizard, wizard.busyLabel());
  if (!read) return std::nullopt;
  return DbrnWorkbookImport{std::move(read->loaded), std::move(read->messages),
                            std::move(read->workbookName)};
}

}  // namespace

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
  windows.help = [](TfrmMainWin& main) -> QWidget* { return TfrmHelp::create(main); };
  windows.printTask = [](TfrmMainWin& main, QWidget* viewer) { PrintTask(main, viewer); };
  windows.printSolution = [](TfrmMainWin& main, QWidget* viewer) { PrintSolution(main, viewer); };
  windows.clientAddition = [](TfrmMainWin& main) -> QWidget* { return new TfrmCreateCliDB(main); };
  windows.exportTask = [](TfrmMainWin& m, QWidget* v) {
    if (auto* viewer = qobject_cast<TfrmViewTask*>(v)) ExportTaskToExcel(m, *viewer);
  };
  windows.exportSolution = [](TfrmMainWin& m, QWidget* v) {
    if (auto* viewer = qobject_cast<TfrmViewSolution*>(v)) ExportSolutionToExcel(m, *viewer);
  };
  windows.databaseWizard = [](TfrmMainWin& m) -> QWidget* {
    return TfrmCreateDBRN::create(m, importDatabaseWorkbook);
  };
  windows.databaseChooser = [](TfrmMainWin& m) -> QWidget* {
    return new TfrmSelectDBRN(m, exportDatabaseWorkbooks);
  };
  return windows;
}

}  // namespace qj::ui
