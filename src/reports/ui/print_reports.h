#pragma once
// The output menu's print command on the active viewer: the report goes to the default
// printer without a dialog, laid out on the printer's paper; with no printer, or when the
// printer does not take the job, it becomes a PDF file in the program's Print folder, shown
// with the desktop's viewer. The print system is asked off the window's thread; a job it took
// is followed for as long as the main window lives, and one it cancels or aborts later becomes
// the PDF file too, told in a notice. A job not ended when the main window closes leaves its
// report as the PDF file, and the closing says so.

#include <QString>
#include <functional>

#include "platform/print_system.h"

class QWidget;

namespace qj::ui {

class AppContext;

struct ReportOutput {
  PrintSystem* printers = nullptr;  // none: every report becomes a PDF file
  // Shows a PDF file written instead; false when nothing could show it.
  std::function<bool(const QString& path)> showPdf;
};

// The print system of the desktop (CUPS), and the desktop's viewer for a PDF file.
ReportOutput desktopReportOutput();

// Print the report of a task viewer or of a solution viewer; any other window prints
// nothing.
void PrintTask(AppContext& app, QWidget* viewer,
               const ReportOutput& output = desktopReportOutput());
void PrintSolution(AppContext& app, QWidget* viewer,
                   const ReportOutput& output = desktopReportOutput());

}  // namespace qj::ui
