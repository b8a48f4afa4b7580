// The one way a long computation hears that it must end: a stop request (Stop, Ctrl-C, a
// worker that found the answer first) and an optional deadline, behind one cheap poll.
//
// A token is owned by whoever starts the work (a runner, the command line, a portfolio)
// and passed down by reference. requestStop() may be called from any thread at any time,
// also from a signal handler (it is one lock-free compare-and-swap). poll() is what inner
// loops call: relaxed loads of the token's reason and its ancestors', and a clock read only
// every 256 polls, so a loop can ask at every step. A loop whose steps are expensive (a
// trial cut, a mill step) calls stopRequested(), which reads the clock when a deadline
// applies, so a time limit never waits for 256 expensive steps. A child token stops when it
// is stopped itself or when its parent stops (a portfolio stops its workers without
// touching the caller's token, and a worker's deadline does not end its siblings); the
// parent must outlive the child. Once a token reports a stop it keeps reporting it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace hc {

// Why a token stopped, for the "stopped" field of a report.
enum class StopReason : uint8_t { kNone, kRequest, kDeadline };

class StopToken {
 public:
  using Clock = std::chrono::steady_clock;

  StopToken() = default;
  // A child of `parent` (may be null: then a plain token).
  explicit StopToken(const StopToken* parent) : parent_(parent) {}
  StopToken(const StopToken&) = delete;
  StopToken& operator=(const StopToken&) = delete;

  // Thread-safe and async-signal-safe; the first reason recorded wins.
  void requestStop() { record(StopReason::kRequest); }
  // A deadline `seconds` from now (seconds <= 0 clears it). Set before the work starts.
  void setTimeLimit(double seconds) {
    if (seconds <= 0.0) {
      hasDeadline_ = false;
      return;
    }
    setDeadline(Clock::now() +
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
  }
  void setDeadline(Clock::time_point deadline) {
    deadline_ = deadline;
    hasDeadline_ = true;
  }
  bool hasDeadline() const { return hasDeadline_; }
  Clock::time_point deadline() const { return deadline_; }

  // The cheap poll for inner loops: the deadlines (this token's and its ancestors') are
  // looked at every 256th call only.
  bool poll() const {
    for (const StopToken* t = this; t != nullptr; t = t->parent_) {
      if (t->reason_.load(std::memory_order_relaxed) != StopReason::kNone) return t == this || inherit();
    }
    // A plain load and store: a lost count between threads only moves the next clock read.
    const uint32_t polls = polls_.load(std::memory_order_relaxed);
    polls_.store(polls + 1, std::memory_order_relaxed);
    return (polls & 255u) == 0 && stopRequested();
  }
  // The exact answer (reads the clock when a deadline applies): for coarse checks between
  // phases and for loops whose every step is expensive.
  bool stopRequested() const {
    if (reason_.load(std::memory_order_relaxed) != StopReason::kNone) return true;
    if (parent_ != nullptr && parent_->stopRequested()) return inherit();
    if (hasDeadline_ && Clock::now() >= deadline_)
      return const_cast<StopToken*>(this)->record(StopReason::kDeadline);
    return false;
  }
  // Why it stopped (kNone while neither it nor an ancestor has recorded a stop); a child
  // reports its parent's reason.
  StopReason reason() const {
    const StopReason own = reason_.load(std::memory_order_acquire);
    if (own != StopReason::kNone || parent_ == nullptr) return own;
    return parent_->reason();
  }

 private:
  bool record(StopReason why) {
    StopReason none = StopReason::kNone;
    reason_.compare_exchange_strong(none, why, std::memory_order_acq_rel);
    return true;
  }
  bool inherit() const { return const_cast<StopToken*>(this)->record(parent_->reason()); }

  const StopToken* parent_ = nullptr;
  std::atomic<StopReason> reason_{StopReason::kNone};
  mutable std::atomic<uint32_t> polls_{0};
  Clock::time_point deadline_{};
  bool hasDeadline_ = false;
};

// The `stop` parameters of the engine may be null (never stopped).
inline bool pollStop(const StopToken* stop) {
  return stop != nullptr && stop->poll();
}
inline bool stopRequested(const StopToken* stop) {
  return stop != nullptr && stop->stopRequested();
}

}  // namespace hc
