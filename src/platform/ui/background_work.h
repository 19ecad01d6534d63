#pragma once
// Long work off the GUI thread. The work runs on a worker thread while the GUI thread goes
// on with its event loop: the windows are redrawn and timers tick. A small application-modal
// window over `parent` shows a caption, a bar and how far the work has come (it appears only
// when the work takes longer than a blink); until then user input waits. Either way no other
// window takes input while the work runs, so nothing the user could start meanwhile touches
// the work's files or data, and no window the work reads from can be closed.
//
// The work hears nothing of Qt: it reports through the plain WorkProgress callback, which
// only stores the figures; the window shows them at its own pace. The work's result comes
// back on the GUI thread, where the caller takes it over as it would have taken over the
// result of a call. An exception of the work never leaves the worker thread: it is carried
// over and thrown again on the GUI thread, into the caller's guarded slot. Work that can stop
// early is offered a Cancel button (Escape does the same): the work hears of it through
// workCancelled() and ends on its own, and the window waits for it as ever.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/progress.h"

namespace qj::ui {

struct BackgroundWork {
  QString caption;
  // The line under the bar for `done` of `total` (0: unknown); none: no line.
  std::function<QString(int64_t done, int64_t total)> count;
  // The caption of a button that asks the work to stop (workCancelled() turns true on its
  // thread); empty: the work cannot be stopped.
  QString cancel = {};
};

// Runs `work` as above and returns when it has finished.
void runWork(QWidget* parent, const BackgroundWork& shown,
             const std::function<void(const WorkProgress&)>& work);

// The same, returning what the work returns.
template <typename Work>
auto runInBackground(QWidget* parent, const BackgroundWork& shown, Work&& work) {
  using Result = decltype(work(std::declval<const WorkProgress&>()));
  if constexpr (std::is_void_v<Result>) {
    runWork(parent, shown, work);
  } else {
    std::optional<Result> result;
    runWork(parent, shown, [&](const WorkProgress& p) { result.emplace(work(p)); });
    return std::move(*result);
  }
}

}  // namespace qj::ui
