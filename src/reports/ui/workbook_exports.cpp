#include "reports/ui/workbook_exports.h"

#include "frame/ui/UMainWin.h"
#include "platform/ui/desktop.h"
#include "reports/report_workbooks.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/viewer_parts.h"
#include "reports/workbook_export.h"

namespace qj::ui {
namespace {

// Writes the workbook and hands it to the desktop; a workbook nothing can open is left
// where the message says.
void saveAndOpen(TfrmMainWin& main, const office::Workbook& book, const std::string& stem) {
  const WorkbookExport saved = saveExportedWorkbook(book, main.state().dirs(), stem);
  if (!saved.file) {
    main.showMessage(*saved.message);
    return;
  }
  if (!desktop().openFile(QString::fromStdString(saved.file->string())))
    main.showMessage(workbookNotOpenedMessage(*saved.file));
}

// Any failure while the workbook is laid out ends the export with its one message.
template <typename Layout>
void exportWith(TfrmMainWin& main, Layout&& layout, const std::string& stem) {
  std::optional<office::Workbook> book;
  try {
    book = layout();
  } catch (const std::exception&) {
    main.showMessage(exportFailedMessage());
    return;
  }
  saveAndOpen(main, *book, stem);
}

}  // namespace

void ExportTaskToExcel(TfrmMainWin& main, const TfrmViewTask& viewer) {
  const TaskView& view = viewer.view();
  exportWith(
      main, [&] { return taskWorkbook(view, main.state().texts, regionalSeparator()); },
      taskWorkbookStem(view.header));
}

void ExportSolutionToExcel(TfrmMainWin& main, const TfrmViewSolution& viewer) {
  const SolutionView& view = viewer.view();
  exportWith(
      main, [&] { return solutionWorkbook(view, main.state().texts); },
      solutionWorkbookStem(view.header));
}

}  // namespace qj::ui
