#pragma once
// How long work tells how far it has come: a plain callback, called on the thread that does
// the work, often (callers that show it keep the last value and show it at their own pace).
// And how the user stops it: the window that shows the work raises a flag that work which
// waits on something outside the program (the .xls reading process) looks at as it waits.

#include <atomic>
#include <cstdint>
#include <functional>

namespace qj {

// `done` units (rows written or read) of `total`; `total` is 0 when it is not known.
using WorkProgress = std::function<void(int64_t done, int64_t total)>;

// Whether the user has asked the work on this thread to stop; false on a thread without a
// WorkCancelScope.
bool workCancelled();

// While it lives, workCancelled() on the thread that made it reads `flag`.
class WorkCancelScope {
 public:
  explicit WorkCancelScope(const std::atomic<bool>& flag);
  ~WorkCancelScope();
  WorkCancelScope(const WorkCancelScope&) = delete;
  WorkCancelScope& operator=(const WorkCancelScope&) = delete;

 private:
  const std::atomic<bool>* outer_;
};

}  // namespace qj
