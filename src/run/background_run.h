// The thread machinery the method runners share: one worker (std::jthread) per run,
// an elapsed-time ticker beside it, the run's StopToken and progress flag, and a run id so
// that a worker still finishing an aborted run can neither deliver progress nor its result
// into a newer one.
//
// Threads: start(), abortRun() and the getters belong to the UI thread. The worker and
// the ticker reach the owner only through deliver() and the tick callback, both under
// one small lock that abortRun() also takes, so once abortRun() returns nothing of the
// old run is delivered any more. abortRun() never joins: the old worker ends on its own
// (its work polls the run's token) and is joined later, by the next start() once it has
// finished or by the destructor.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/stop_token.h"

namespace hc {

class BackgroundRun {
 public:
  // The run's work, on the worker thread: polls `stop` (which abortRun() stops; it lives as
  // long as the work runs) and returns the ProgramResult to deliver, or nothing (an
  // undecided end is not delivered).
  using Work = std::function<std::optional<int16_t>(const StopToken& stop)>;

  BackgroundRun() = default;
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;
  // Stops every run still going and waits for its threads.
  ~BackgroundRun();

  // Starts a new run (aborting the current one first, if any). When the work returns a
  // result and the run was not aborted, `onDecided` is called exactly once, on the worker
  // thread, after runInProgress() has become false. Returns the new run's id.
  uint64_t start(Work work, std::function<void(int16_t result)> onDecided);
  // Stops the current run's token and detaches the run from this object; returns at once.
  void abortRun();
  // The current run's worker is still working.
  bool runInProgress() const;
  // The current run was aborted (abortRun(), or the destructor).
  bool runAborted() const { return current_ && current_->stop.reason() != StopReason::kNone; }
  // Seconds since the current (or last) run started; frozen when it ended or was aborted.
  double elapsedSeconds() const;
  // Called from the ticker thread every 10 ms while the current run is in progress, with
  // elapsedSeconds(). May be set at any time; an empty function stops the ticks.
  void setTickCallback(std::function<void(double seconds)> tick);
  // The current run's id (0: none yet).
  uint64_t runId() const { return currentId_.load(); }
  // The id the next start() hands out (UI thread).
  uint64_t nextRunId() const { return nextId_ + 1; }

  // For the worker's progress adapters: calls `deliver` only while `run` is the current,
  // unaborted run, holding the delivery lock (keep it short).
  template <typename F>
  void deliver(uint64_t run, F&& deliverFn) {
    std::lock_guard lock(deliveryMutex_);
    if (run == liveId_) deliverFn();
  }

 private:
  struct Flags {
    uint64_t id = 0;
    StopToken stop;
    std::atomic<uint8_t> runInProgress{1};
    std::atomic<double> startSeconds{0};
    std::atomic<double> endSeconds{-1};
  };
  struct Threads {
    std::shared_ptr<Flags> flags;
    std::jthread worker;
    std::jthread ticker;
  };
  void reapFinished();
  void tickerLoop(std::stop_token stop, std::shared_ptr<Flags> flags);

  mutable std::mutex deliveryMutex_;
  uint64_t liveId_ = 0;               // the run allowed to deliver (0: none); under deliveryMutex_
  std::function<void(double)> tick_;  // under deliveryMutex_
  std::atomic<uint64_t> currentId_{0};
  uint64_t nextId_ = 0;
  std::shared_ptr<Flags> current_;
  std::vector<Threads> threads_;  // the current run's and old runs' not yet joined
};

}  // namespace hc
