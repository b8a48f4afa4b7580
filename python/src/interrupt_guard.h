// Ctrl-C during runs. Python turns SIGINT into KeyboardInterrupt only when its main thread
// gets back to Python code, which a run of the engine does not do, and runs on other threads
// never see it at all. So while any run of the process is going on, SIGINT goes to a handler
// of ours that asks every run's stop token to stop (lock-free stores, safe in a handler) and
// then calls the handler it replaced (Python's, which notes the signal for the main thread).
// When the last run is over, that handler is back. The main thread's run then raises
// KeyboardInterrupt where its call returns; a run on another thread returns undecided
// ("interrupted"). No thread and no polling: a run costs a slot in a table, and the first and
// last run of a stretch a sigaction call each.
#pragma once

#include <hamcycles/hamcycles.h>

namespace hcpy {

class InterruptGuard {
 public:
  // Any thread, GIL held or not. Does nothing for the stop when SIGINT is ignored or left to
  // the system (a background job, or SIG_DFL set by the caller).
  explicit InterruptGuard(const hamcycles::StopToken& run);
  // Takes the run out of the table (waiting out a handler that is reading it) and, for the
  // last run, puts the previous handler back. The caller then raises a pending
  // KeyboardInterrupt with PyErr_CheckSignals() once it holds the GIL.
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  int slot_ = -1;
  bool counted_ = false;
};

}  // namespace hcpy
