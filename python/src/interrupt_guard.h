// Ctrl-C during a run. Python turns SIGINT into KeyboardInterrupt only when its main thread
// gets back to Python code, which a run of the engine does not do. So for the length of a run
// started on the main thread, SIGINT goes to a handler of ours that only asks the run's stop
// token to stop (a lock-free store, safe in a handler); when the run is over, Python's own
// handler is back and the signal is passed on to it as if it had arrived just then, so the
// caller gets KeyboardInterrupt (or whatever its own SIGINT handler does) at the usual place.
// No thread and no polling: a run costs two sigaction calls.
#pragma once

#include <hamcycles/hamcycles.h>

#include <csignal>

namespace hcpy {

class InterruptGuard {
 public:
  // With the GIL held. Does nothing off the main thread (Python delivers signals to the main
  // thread only) or when SIGINT is ignored or left to the system.
  explicit InterruptGuard(const hamcycles::StopToken& run);
  // Puts the previous handler back and passes on a SIGINT that came meanwhile; needs no GIL.
  // The caller then raises it with PyErr_CheckSignals() once it holds the GIL.
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  bool active_ = false;
  bool installed_ = false;
  const hamcycles::StopToken* previousRun_ = nullptr;
  struct sigaction saved_ {};
};

// Remembers which thread is Python's main thread; called once when the module loads.
void rememberMainThread();

}  // namespace hcpy
