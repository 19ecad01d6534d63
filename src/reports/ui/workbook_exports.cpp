#include "reports/ui/workbook_exports.h"

#include "frame/ui/window_host.h"
#include "office/workbook_export.h"
#include "office/workbook_messages.h"
#include "platform/ui/background_work.h"
#include "platform/ui/desktop.h"
#include "platform/ui/qt_text.h"
#include "reports/report_workbooks.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/viewer_parts.h"

namespace qj::ui {
namespace {

// Writes the workbook on a worker thread, row by row as the layout gives them, and hands it
// to the desktop; a workbook nothing can open is left where the message says. Any failure
// of the layout or the file ends the export with its one message.
void saveAndOpen(WindowHost& host, const office::WorkbookLayout& layout, int64_t rows,
                 const std::string& stem) {
  const ShellTables& texts = host.state().texts;
  const ProgramFolder& folder = host.state().dirs();
  const BackgroundWork shown{toQt(office::workbookWorkCaption(true).resolve(texts)),
                             [&texts](int64_t done, int64_t total) {
                               return toQt(office::workRowsText(done, total).resolve(texts));
                             }};
  const WorkbookExport saved = runInBackground(
      host.mainWindow(), shown,
      [&](const WorkProgress& p) { return saveExportedWorkbook(layout, folder, stem, p, rows); });
  if (!saved.file) {
    host.showMessage(*saved.message);
    return;
  }
  if (!desktop().openFile(QString::fromStdString(saved.file->string())))
    host.showMessage(workbookNotOpenedMessage(*saved.file));
}

}  // namespace

void ExportTaskToExcel(WindowHost& host, const TfrmViewTask& viewer) {
  const TaskView& view = viewer.view();
  const ShellTables& texts = host.state().texts;
  const char sep = regionalSeparator();
  saveAndOpen(
      host, [&](office::WorkbookOutput& out) { layTaskWorkbook(view, texts, sep, out); },
      taskWorkbookRows(view), taskWorkbookStem(view.header));
}

void ExportSolutionToExcel(WindowHost& host, const TfrmViewSolution& viewer) {
  const SolutionView& view = viewer.view();
  const ShellTables& texts = host.state().texts;
  saveAndOpen(
      host, [&](office::WorkbookOutput& out) { laySolutionWorkbook(view, texts, out); },
      solutionWorkbookRows(view), solutionWorkbookStem(view.header));
}

}  // namespace qj::ui
