// The one way a long computation hears that it must end: a stop request (Stop, Ctrl-C, a
// worker that found the answer first) and an optional deadline, behind one cheap poll.
//
// A token is owned by whoever starts the work (a runner, the command line, a portfolio)
// and passed down by reference. requestStop() may be called from any thread at any time.
// poll() is what inner loops call: one relaxed atomic load, and a clock read only every
// 256 polls, so a loop can ask at every step. A child token stops when it is stopped
// itself or when its parent stops (a portfolio stops its workers without touching the
// caller's token, and a worker's deadline does not end its siblings); the parent must
// outlive the child. Once a token reports a stop it keeps reporting it.
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

  // Thread-safe; the first reason recorded wins.
  void requestStop() { record(StopReason::kRequest); }
  // A deadline `seconds` from now (seconds <= 0 clears it). Set before the work starts.
  void setTimeLimit(double seconds) {
    if (seconds <= 0.0) {
      hasDeadline_ = false;
      return;
    }
    setDeadline(Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
  }
  void setDeadline(Clock::time_point deadline) {
    deadline_ = deadline;
    hasDeadline_ = true;
  }
  bool hasDeadline() const { return hasDeadline_; }
  Clock::time_point deadline() const { return deadline_; }

  // The cheap poll for inner loops: reads the clock every 256th call only.
  bool poll() const {
    if (reason_.load(std::memory_order_relaxed) != StopReason::kNone) return true;
    if (parent_ != nullptr && parent_->poll()) return inherit();
    if (hasDeadline_ && (polls_.fetch_add(1, std::memory_order_relaxed) & 255u) == 0 && Clock::now() >= deadline_)
      return const_cast<StopToken*>(this)->record(StopReason::kDeadline);
    return false;
  }
  // The exact answer (reads the clock when there is a deadline): for coarse checks between
  // phases, where a poll's 256-call delay could be long.
  bool stopRequested() const {
    if (reason_.load(std::memory_order_relaxed) != StopReason::kNone) return true;
    if (parent_ != nullptr && parent_->stopRequested()) return inherit();
    if (hasDeadline_ && Clock::now() >= deadline_) return const_cast<StopToken*>(this)->record(StopReason::kDeadline);
    return false;
  }
  // Why it stopped (kNone while it has not); a child reports its parent's reason.
  StopReason reason() const { return reason_.load(std::memory_order_acquire); }

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

}  // namespace hc
