#include "run_control.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>

#include <unistd.h>

namespace hc::cli {

namespace {

std::atomic<uint8_t> keepRunning{1};
static_assert(std::atomic<uint8_t>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void onInterrupt(int) { keepRunning.store(0); }

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);

}  // namespace

std::atomic<uint8_t>& runFlag() { return keepRunning; }

void installInterruptHandler() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // The first signal asks for a clean stop; the handler is then reset, so a second one
  // ends the process at once if the run does not answer.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

RunMonitor::RunMonitor(double timeLimit, std::function<void(bool)> onOverrun, double grace) {
  using Clock = std::chrono::steady_clock;
  auto toDuration = [](double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  };
  const bool hasDeadline = timeLimit > 0.0;
  const Clock::time_point deadline = Clock::now() + (hasDeadline ? toDuration(timeLimit) : Clock::duration::zero());
  const Clock::duration graceTime = toDuration(grace);
  thread_ = std::jthread([this, hasDeadline, deadline, graceTime, onOverrun = std::move(onOverrun)](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::optional<Clock::time_point> stopSeen;
    std::unique_lock lock(mutex);
    for (;;) {
      if (wake.wait_for(lock, stop, std::chrono::milliseconds(20), [] { return false; }) || stop.stop_requested()) return;
      Clock::time_point now = Clock::now();
      if (hasDeadline && !timedOut_.load() && now >= deadline) {
        timedOut_.store(true);
        keepRunning.store(0);
      }
      if (keepRunning.load() == 0 && !stopSeen) stopSeen = now;
      if (stopSeen && now - *stopSeen >= graceTime) {
        if (onOverrun && claimReport()) onOverrun(timedOut_.load());
        return;
      }
    }
  });
}

RunMonitor::~RunMonitor() {
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
}

bool RunMonitor::claimReport() {
  static std::atomic<bool> claimed{false};
  return !claimed.exchange(true);
}

ProgressLine::ProgressLine(ProgressMode mode) {
  terminal_ = isatty(STDERR_FILENO) != 0;
  enabled_ = mode == ProgressMode::On || (mode == ProgressMode::Auto && terminal_);
}

bool ProgressLine::due() {
  if (!enabled_) return false;
  auto now = std::chrono::steady_clock::now();
  if (shown_ && now - last_ < kRedrawInterval) return false;
  return true;
}

void ProgressLine::show(const std::string& text) {
  if (!enabled_) return;
  last_ = std::chrono::steady_clock::now();
  shown_ = true;
  if (terminal_) {
    std::cerr << '\r' << text << "\x1b[K" << std::flush;
  } else {
    std::cerr << text << '\n' << std::flush;
  }
}

void ProgressLine::finish() {
  if (enabled_ && terminal_ && shown_) std::cerr << "\r\x1b[K" << std::flush;
  shown_ = false;
}

}  // namespace hc::cli
