// A thread-local observer of the mill loops, which sees every chosen edge before the step
// acts on it (tests use it to watch the choices; nothing in the engine installs one). It
// costs one thread-local pointer test per step when absent. It only watches: what stops an
// iteration is the StopToken the mill is given.
#pragma once

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

// The calling thread's observer, or none.
extern thread_local MillStepObserver* millStepObserver;

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
