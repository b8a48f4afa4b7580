// Lets the parallel mill call off the iterations still running on other worker threads
// once one of them has found a cycle. The single-thread driver never installs a flag, so
// its iterations run exactly as specified.
#pragma once

#include <atomic>

namespace hc {

// The calling thread's cancel flag, or none.
extern thread_local const std::atomic<bool>* millCancelFlag;

inline bool millCancelled() {
  return millCancelFlag != nullptr && millCancelFlag->load(std::memory_order_relaxed);
}

}  // namespace hc
