#include "platform/ui/background_work.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <exception>
#include <memory>

namespace qj::ui {
namespace {

// What the worker tells and the window reads.
struct Shared {
  std::atomic<int64_t> done{0}, total{0};
  std::atomic<bool> cancelled{false};  // set by the window, read by the work
  std::exception_ptr error;            // written by the worker before it ends, read after
};

// The window of a running work: it cannot be closed or escaped while the work runs.
class WorkWindow : public QDialog {
 public:
  WorkWindow(QWidget* parent, const BackgroundWork& shown, std::atomic<bool>& cancelled)
      : QDialog(parent), shown_(shown), cancelled_(cancelled) {
    setObjectName("workWindow");
    setWindowTitle(shown.caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(shown.caption, this);
    caption->setObjectName("workCaption");
    bar_ = new QProgressBar(this);
    bar_->setObjectName("workBar");
    // Wide enough for fifty characters of the window's font, whatever its size.
    bar_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    count_ = new QLabel(this);
    count_->setObjectName("workCount");
    count_->setVisible(static_cast<bool>(shown.count));
    layout->addWidget(caption);
    layout->addWidget(bar_);
    layout->addWidget(count_);
    if (!shown.cancel.isEmpty()) {
      cancel_ = new QPushButton(shown.cancel, this);
      cancel_->setObjectName("workCancel");
      QObject::connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
      layout->addWidget(cancel_, 0, Qt::AlignRight);
    }
    showCount(0, 0);
  }

  void showCount(int64_t done, int64_t total) {
    if (total > 0) {
      // The bar counts in thousandths, so that no count overflows it.
      bar_->setRange(0, 1000);
      bar_->setValue(static_cast<int>(std::min<int64_t>(done, total) * 1000 / total));
    } else {
      bar_->setRange(0, 0);  // busy, of unknown length
    }
    if (shown_.count) count_->setText(shown_.count(done, total));
  }

 protected:
  void closeEvent(QCloseEvent* e) override { e->ignore(); }
  // Escape or Cancel asks the work to stop, where it can; the window goes when the work ends.
  void reject() override {
    if (!cancel_) return;
    cancelled_ = true;
    cancel_->setEnabled(false);
  }

 private:
  const BackgroundWork& shown_;
  std::atomic<bool>& cancelled_;
  QPushButton* cancel_ = nullptr;
  QProgressBar* bar_;
  QLabel* count_;
};

// Work that ends within this time shows no window.
constexpr int kQuietMs = 250;
constexpr int kRefreshMs = 100;

}  // namespace

void runWork(QWidget* parent, const BackgroundWork& shown,
             const std::function<void(const WorkProgress&)>& work) {
  auto shared = std::make_shared<Shared>();
  const WorkProgress progress = [shared](int64_t done, int64_t total) {
    shared->done.store(done, std::memory_order_relaxed);
    shared->total.store(total, std::memory_order_relaxed);
  };
  std::unique_ptr<QThread> worker(QThread::create([&work, &progress, shared] {
    const WorkCancelScope cancel(shared->cancelled);
    try {
      work(progress);
    } catch (...) {
      shared->error = std::current_exception();
    }
  }));
  // The loop is driven event by event rather than by exec(), which returns at once in an
  // application that was told to quit.
  QEventLoop loop;
  bool ended = false;  // set on this thread when the worker has finished
  QObject::connect(worker.get(), &QThread::finished, &loop, [&] { ended = true; });
  worker->start();

  // A short wait with user input held back: quick work shows no window at all.
  bool quietOver = false;
  QTimer quiet;
  quiet.setSingleShot(true);
  QObject::connect(&quiet, &QTimer::timeout, &loop, [&] { quietOver = true; });
  quiet.start(kQuietMs);
  while (!ended && !quietOver)
    loop.processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);

  if (!ended) {
    WorkWindow window(parent, shown, shared->cancelled);
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &window, [&] {
      window.showCount(shared->done.load(std::memory_order_relaxed),
                       shared->total.load(std::memory_order_relaxed));
    });
    refresh.start(kRefreshMs);
    window.show();
    while (!ended) loop.processEvents(QEventLoop::WaitForMoreEvents);
    refresh.stop();
    window.hide();
  }
  worker->wait();
  if (shared->error) std::rethrow_exception(shared->error);
}

}  // namespace qj::ui
