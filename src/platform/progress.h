#pragma once
// How long work tells how far it has come: a plain callback, called on the thread that does
// the work, often (callers that show it keep the last value and show it at their own pace).

#include <cstdint>
#include <functional>

namespace qj {

// `done` units (rows written or read) of `total`; `total` is 0 when it is not known.
using WorkProgress = std::function<void(int64_t done, int64_t total)>;

}  // namespace qj
