// When a solving method should give up: an engine stop byte (non-zero: stop), a caller's
// run flag (zero: stop) and a deadline, any of which may be absent. The clock is read only
// every few hundred polls, so a method can ask at every step of its inner loop.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace hc {

class StopCondition {
 public:
  using Clock = std::chrono::steady_clock;

  StopCondition() = default;
  // `stop`: non-zero stops. `keepRunning`: zero stops. `seconds` > 0 sets a deadline from now.
  StopCondition(const std::atomic<uint8_t>* stop, const std::atomic<uint8_t>* keepRunning, double seconds = 0.0)
      : stop_(stop), keepRunning_(keepRunning) {
    if (seconds > 0.0) setDeadline(Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
  }
  void setDeadline(Clock::time_point deadline) {
    deadline_ = deadline;
    hasDeadline_ = true;
  }

  // True once any of the three says so; stays true afterwards.
  bool operator()() {
    if (stopped_) return true;
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed) != 0) return stopped_ = true;
    if (keepRunning_ != nullptr && keepRunning_->load(std::memory_order_relaxed) == 0) return stopped_ = true;
    if (hasDeadline_ && (++polls_ & 255u) == 0 && Clock::now() >= deadline_) return stopped_ = true;
    return false;
  }
  bool stopped() const { return stopped_; }

 private:
  const std::atomic<uint8_t>* stop_ = nullptr;
  const std::atomic<uint8_t>* keepRunning_ = nullptr;
  Clock::time_point deadline_{};
  bool hasDeadline_ = false;
  bool stopped_ = false;
  uint32_t polls_ = 0;
};

}  // namespace hc
