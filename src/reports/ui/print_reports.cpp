#include "reports/ui/print_reports.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QTimer>

#include "frame/ui/window_host.h"
#include "platform/locale.h"
#include "platform/ui/background_work.h"
#include "platform/ui/desktop.h"
#include "platform/ui/guard.h"
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

// Asks the print system on a worker thread: the windows are redrawn meanwhile and take no
// input, and a print system that is slow to answer shows the caption.
class AskedAside : public PrintSystem {
 public:
  AskedAside(PrintSystem& printers, QWidget* parent, QString caption)
      : printers_(printers), parent_(parent), shown_{std::move(caption), {}} {}
  QueueLookup defaultQueue() override {
    return ask([&] { return printers_.defaultQueue(); });
  }
  JobReport print(const PrintQueue& queue, const std::string& title,
                  std::string_view pdf) override {
    return ask([&] { return printers_.print(queue, title, pdf); });
  }
  std::vector<JobReport> news() override { return printers_.news(); }

 private:
  template <typename Question>
  auto ask(const Question& question) -> decltype(question()) {
    return runInBackground(parent_, shown_, [&](const WorkProgress&) { return question(); });
  }

  PrintSystem& printers_;
  QWidget* parent_;
  const BackgroundWork shown_;
};

ReportTargets targetsOf(AppContext& app, const ReportOutput& output, PrintSystem* printers) {
  return {printers, localePaper(), [&app] { return app.state().dirs().print(); },
          fromDateTime(nowDateTime()),
          [showPdf = output.showPdf](const std::filesystem::path& path) {
            return showPdf && showPdf(QString::fromStdString(path.string()));
          }};
}

// The reports whose jobs a print system still has, for as long as the main window lives: its
// news is heard on a timer, so that no window waits for a job, and told as notices. When the
// main window closes, the last news is told in boxes, and the reports of jobs that have not
// ended are kept in Print/, as nobody will hear of their end.
class ReportFollower : public QObject {
 public:
  // The follower of the output's print system under the main window.
  static ReportFollower& of(QWidget* mainWindow, AppContext& app, const ReportOutput& output) {
    for (QObject* child : mainWindow->children())
      if (auto* f = dynamic_cast<ReportFollower*>(child);
          f && f->output_.printers == output.printers)
        return *f;
    return *new ReportFollower(mainWindow, app, output);
  }

  void follow(FollowedReport report) {
    followed_.push_back(std::move(report));
    timer_.start();
  }

  // Holds the news back while a report is being delivered, or a box of earlier news is open.
  class Hold {
   public:
    explicit Hold(ReportFollower& f) : f_(f), was_(std::exchange(f.held_, true)) {}
    ~Hold() { f_.held_ = was_; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    ReportFollower& f_;
    bool was_;
  };

 private:
  static constexpr int kHearMs = 500;

  ReportFollower(QWidget* mainWindow, AppContext& app, const ReportOutput& output)
      : QObject(mainWindow), app_(app), output_(output) {
    timer_.setInterval(kHearMs);
    connect(&timer_, &QTimer::timeout, this, [this] { guarded([this] { hear(false); }); });
    mainWindow->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close && watched == parent() && !held_)
      guarded([this] { close(); });
    return false;
  }

  // `closing`: in boxes, as notices would go with the main window.
  void hear(bool closing) {
    if (held_) return;
    const Hold hold(*this);
    const std::vector<Message> told = hearPrintNews(followed_, output_.printers->news(),
                                                    targetsOf(app_, output_, output_.printers));
    if (followed_.empty()) timer_.stop();
    for (const Message& message : told) {
      if (closing)
        app_.showMessage(message);
      else
        app_.showNotice(message);
    }
  }

  void close() {
    hear(true);
    timer_.stop();
    const std::optional<Message> kept =
        keepUnendedReports(followed_, targetsOf(app_, output_, output_.printers));
    if (kept) app_.showMessage(*kept);
  }

  AppContext& app_;
  const ReportOutput output_;
  std::vector<FollowedReport> followed_;
  QTimer timer_;
  bool held_ = false;
};

// Shows the busy cursor while it lives.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

void printReport(AppContext& app, QWidget* viewer, ReportKind kind, const std::string& taskCode,
                 const std::string& title, const ReportDraw& draw, const ReportOutput& output) {
  const QString qtTitle = toQt(title);
  const ReportJob job{kind, taskCode, qtTitle.toStdString(),
                      [&](const PaperSize& paper) { return renderPdf(paper, qtTitle, draw); }};
  if (!output.printers) {
    if (auto message = deliverReport(job, targetsOf(app, output, nullptr)).message)
      app.showMessage(*message);
    return;
  }
  QWidget* mainWindow = viewer->window();
  ReportFollower& follower = ReportFollower::of(mainWindow, app, output);
  AskedAside aside(*output.printers, mainWindow,
                   toQt(printWorkCaption().resolve(app.state().texts)));
  ReportDelivery delivery;
  {
    const BusyCursor busy;
    const ReportFollower::Hold hold(follower);
    delivery = deliverReport(job, targetsOf(app, output, &aside));
  }
  if (delivery.followed) follower.follow(std::move(*delivery.followed));
  if (delivery.message) app.showMessage(*delivery.message);
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
      app, viewer, ReportKind::Task, view.header.code, taskReportTitle(view.caption, texts),
      [&](PageCanvas& canvas) { printTaskReport(canvas, view, texts); }, output);
}

void PrintSolution(AppContext& app, QWidget* viewer, const ReportOutput& output) {
  const auto* solution = qobject_cast<const TfrmViewSolution*>(viewer);
  if (!solution) return;
  const ShellTables& texts = app.state().texts;
  const SolutionView& view = solution->view();
  printReport(
      app, viewer, ReportKind::Solution, view.header.code, solutionReportTitle(view.caption, texts),
      [&](PageCanvas& canvas) { printSolutionReport(canvas, view, texts); }, output);
}

}  // namespace qj::ui
