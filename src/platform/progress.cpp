#include "platform/progress.h"

namespace qj {
namespace {

thread_local const std::atomic<bool>* cancelFlag = nullptr;

}  // namespace

bool workCancelled() {
  return cancelFlag && cancelFlag->load(std::memory_order_relaxed);
}

WorkCancelScope::WorkCancelScope(const std::atomic<bool>& flag) : outer_(cancelFlag) {
  cancelFlag = &flag;
}

WorkCancelScope::~WorkCancelScope() {
  cancelFlag = outer_;
}

}  // namespace qj
