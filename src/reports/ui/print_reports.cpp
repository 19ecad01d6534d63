#include "reports/ui/print_reports.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>

#include "frame/ui/window_host.h"
#include "platform/files.h"
#include "platform/ui/desktop.h"
#include "platform/ui/qt_text.h"
#include "reports/print_layout.h"
#include "reports/print_output.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/qt_page_canvas.h"

namespace qj::ui {
namespace {

using ReportDraw = std::function<void(PageCanvas&)>;

// Draws the whole report on a device that a painter could begin on.
bool drawOn(QPagedPaintDevice& device, const ReportDraw& draw) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  QtPageCanvas canvas(painter, device);
  draw(canvas);
  return painter.end();
}

std::optional<Message> printOn(const QPrinterInfo& info, const QString& title,
                               const ReportDraw& draw) {
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(title);
  printer.setPageLayout(reportPageLayout());
  if (!drawOn(printer, draw)) return printerFailedMessage(fromQt(info.printerName()));
  return std::nullopt;
}

// The PDF is made in memory and written whole, so that a failure leaves no half file.
std::optional<Message> writePdf(const std::filesystem::path& path, const QString& title,
                                const ReportDraw& draw, const ReportOutput& output) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kReportDpi);
    pdf.setPageLayout(reportPageLayout());
    pdf.setTitle(title);
    drawn = drawOn(pdf, draw);
  }
  if (!drawn) return pdfFailedMessage(path);
  try {
    writeFileAtomic(path, std::string_view(buffer.data().constData(),
                                           static_cast<size_t>(buffer.data().size())));
  } catch (const FileError&) {
    return pdfFailedMessage(path);
  }
  if (!output.showPdf || !output.showPdf(QString::fromStdString(path.string())))
    return pdfNotShownMessage(path);
  return std::nullopt;
}

void printReport(AppContext& app, ReportKind kind, const std::string& taskCode,
                 const std::string& title, const ReportDraw& draw, const ReportOutput& output) {
  std::optional<Message> failure;
  if (!output.printer.isNull()) {
    failure = printOn(output.printer, toQt(title), draw);
  } else {
    const CivilDateTime now = fromDateTime(nowDateTime());
    failure = writePdf(reportPdfPath(app.state().dirs().print(), kind, taskCode, now), toQt(title),
                       draw, output);
  }
  if (failure) app.showMessage(*failure);
}

}  // namespace

ReportOutput desktopReportOutput() {
  return {QPrinterInfo::defaultPrinter(),
          [](const QString& path) { return desktop().openFile(path); }};
}

void PrintTask(AppContext& app, QWidget* viewer, const ReportOutput& output) {
  const auto* task = qobject_cast<const TfrmViewTask*>(viewer);
  if (!task) return;
  const ShellTables& texts = app.state().texts;
  const TaskView& view = task->view();
  printReport(
      app, ReportKind::Task, view.header.code, taskReportTitle(view.caption, texts),
      [&](PageCanvas& canvas) { printTaskReport(canvas, view, texts); }, output);
}

void PrintSolution(AppContext& app, QWidget* viewer, const ReportOutput& output) {
  const auto* solution = qobject_cast<const TfrmViewSolution*>(viewer);
  if (!solution) return;
  const ShellTables& texts = app.state().texts;
  const SolutionView& view = solution->view();
  printReport(
      app, ReportKind::Solution, view.header.code, solutionReportTitle(view.caption, texts),
      [&](PageCanvas& canvas) { printSolutionReport(canvas, view, texts); }, output);
}

}  // namespace qj::ui
