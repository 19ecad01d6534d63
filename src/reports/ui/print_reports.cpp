#include "reports/ui/print_reports.h"

#include <QBuffer>
#include <QPdfWriter>

#include "frame/ui/window_host.h"
#include "platform/locale.h"
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

// The whole report as a PDF document on the paper, made in memory; nothing when a painter
// could not begin on it.
std::optional<std::string> renderPdf(const PaperSize& paper, const QString& title,
                                     const ReportDraw& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kReportDpi);
    pdf.setPageLayout(reportPageLayout(paper));
    pdf.setTitle(title);
    QPainter painter;
    if (painter.begin(&pdf)) {
      QtPageCanvas canvas(painter, pdf);
      draw(canvas);
      drawn = painter.end();
    }
  }
  if (!drawn) return std::nullopt;
  return std::string(buffer.data().constData(), static_cast<size_t>(buffer.data().size()));
}

void printReport(AppContext& app, ReportKind kind, const std::string& taskCode,
                 const std::string& title, const ReportDraw& draw, const ReportOutput& output) {
  const QString qtTitle = toQt(title);
  const ReportJob job{kind, taskCode, qtTitle.toStdString(),
                      [&](const PaperSize& paper) { return renderPdf(paper, qtTitle, draw); }};
  const auto folder = [&] { return app.state().dirs().print(); };
  const auto show = [&](const std::filesystem::path& path) {
    return output.showPdf && output.showPdf(QString::fromStdString(path.string()));
  };
  const ReportTargets targets{output.printers, localePaper(), folder, fromDateTime(nowDateTime()),
                              show};
  if (const std::optional<Message> message = deliverReport(job, targets)) app.showMessage(*message);
}

}  // namespace

ReportOutput desktopReportOutput() {
  static const std::unique_ptr<PrintSystem> cups = cupsPrintSystem();
  return {cups.get(), [](const QString& path) { return desktop().openFile(path); }};
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
