// The composition root: every window that the frame opens is wired in here, one line each.
#include "app/program_windows.h"

#include "dbrn/ui/UCreateCliDB.h"
#include "dbrn/ui/UCreateDBRN.h"
#include "dbrn/ui/USelectDBRN.h"
#include "dbrn/ui/dbrn_workbooks.h"
#include "frame/ui/UHelpWin.h"
#include "frame/ui/UProtocolWin.h"
#include "frame/ui/USelectWin.h"
#include "frame/ui/window_factory.h"
#include "frame/ui/window_host.h"
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
  return exportDbrnToWorkbook(chooser.host(), chooser.busyLabel());
}

std::optional<DbrnWorkbookImport> importDatabaseWorkbook(TfrmCreateDBRN& wizard) {
  auto read = chooseDbrnWorkbook(wizard.context(), &wizard, wizard.busyLabel());
  if (!read) return std::nullopt;
  return DbrnWorkbookImport{std::move(read->loaded), std::move(read->messages),
                            std::move(read->workbookName)};
}

}  // namespace

// A window is wired in by one line that creates it, for example
//   windows.help = [](WindowHost& host) -> QWidget* { return TfrmHelp::create(host); };
// and a viewer command by one line that runs it on the viewer:
//   windows.printTask = [](WindowHost& host, QWidget* v) { PrintTask(host, v); };
WindowFactory programWindows() {
  WindowFactory windows;
  windows.taskChooser = [](WindowHost& host) -> QWidget* { return new TfrmSelectWin(host); };
  windows.protocolWindow = [](WindowHost& host) -> QWidget* { return new TfrmProtocolWin(host); };
  windows.taskWizard = [](WindowHost& host) -> QWidget* { return TfrmCreateTaskWin::create(host); };
  windows.optimiser = [](WindowHost& host) -> QWidget* { return new TForm1(host); };
  windows.taskViewer = [](WindowHost& host) -> QWidget* { return TfrmViewTask::create(host); };
  windows.solutionViewer = [](WindowHost& host) -> QWidget* {
    return TfrmViewSolution::create(host);
  };
  windows.help = [](WindowHost& host) -> QWidget* { return TfrmHelp::create(host); };
  windows.printTask = [](WindowHost& host, QWidget* viewer) { PrintTask(host, viewer); };
  windows.printSolution = [](WindowHost& host, QWidget* viewer) { PrintSolution(host, viewer); };
  windows.clientAddition = [](WindowHost& host) -> QWidget* { return new TfrmCreateCliDB(host); };
  windows.exportTask = [](WindowHost& host, QWidget* v) {
    if (auto* viewer = qobject_cast<TfrmViewTask*>(v)) ExportTaskToExcel(host, *viewer);
  };
  windows.exportSolution = [](WindowHost& host, QWidget* v) {
    if (auto* viewer = qobject_cast<TfrmViewSolution*>(v)) ExportSolutionToExcel(host, *viewer);
  };
  windows.databaseWizard = [](WindowHost& host) -> QWidget* {
    return TfrmCreateDBRN::create(host, importDatabaseWorkbook);
  };
  windows.databaseChooser = [](WindowHost& host) -> QWidget* {
    return new TfrmSelectDBRN(host, exportDatabaseWorkbooks);
  };
  return windows;
}

}  // namespace qj::ui
