// Thread-local hooks into the mill loops:
//  - a cancel flag, with which the parallel mill calls off the iterations still running on
//    other worker threads once one of them has found a cycle (the single-thread driver
//    never installs one, so its iterations run to their end as specified);
//  - the run's stop flag (1 run, anything else stop), which the single-thread driver
//    installs so that a time limit or Ctrl-C ends an iteration at its next step instead of
//    at its end (a large graph's iteration can take seconds; the stopped iteration is then
//    not counted);
//  - a step observer, which sees every chosen edge before the step acts on it (tests use
//    it to watch the choices; nothing in the engine installs one).
// Each hook costs one thread-local pointer test per step when absent.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/graph.h"

namespace hc {

// What a mill step is about to do with its chosen edge.
enum class MillStepAction { kCut, kForce };

class MillStepObserver {
 public:
  virtual ~MillStepObserver() = default;
  // `trial` is the verdict of the step's trial cut, or -1 when the version runs none.
  virtual void onStep(const Graph& graph, int32_t v, int32_t w, int32_t trial, MillStepAction action) = 0;
};

// The calling thread's cancel flag and observer, or none.
extern thread_local const std::atomic<bool>* millCancelFlag;
extern thread_local const std::atomic<uint8_t>* millStopFlag;
extern thread_local MillStepObserver* millStepObserver;

inline bool millCancelled() {
  return (millCancelFlag != nullptr && millCancelFlag->load(std::memory_order_relaxed)) ||
         (millStopFlag != nullptr && millStopFlag->load(std::memory_order_relaxed) != 1);
}

inline void notifyMillStep(const Graph& graph, int32_t v, int32_t w, int32_t trial, MillStepAction action) {
  if (millStepObserver != nullptr) millStepObserver->onStep(graph, v, w, trial, action);
}

// Installs an observer on this thread for the lifetime of the scope.
class ScopedMillStepObserver {
 public:
  explicit ScopedMillStepObserver(MillStepObserver& observer) : previous_(millStepObserver) {
    millStepObserver = &observer;
  }
  ~ScopedMillStepObserver() { millStepObserver = previous_; }
  ScopedMillStepObserver(const ScopedMillStepObserver&) = delete;
  ScopedMillStepObserver& operator=(const ScopedMillStepObserver&) = delete;

 private:
  MillStepObserver* previous_;
};

}  // namespace hc
