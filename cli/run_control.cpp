#include "run_control.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>

namespace hc::cli {

namespace {

StopToken stopOfTheProcess;
// requestStop() is one compare-and-swap on this atomic: safe in a signal handler only when
// it takes no lock.
static_assert(std::atomic<StopReason>::is_always_lock_free, "the signal handler needs a lock-free stop");

extern "C" void onInterrupt(int) {
  stopOfTheProcess.requestStop();
}

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);

}  // namespace

StopToken& processStop() {
  return stopOfTheProcess;
}

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

RunMonitor::RunMonitor(const StopToken& watched, std::function<void(bool)> onOverrun, double grace) {
  using Clock = std::chrono::steady_clock;
  const Clock::duration graceTime =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(grace));
  thread_ = std::jthread([&watched, graceTime, onOverrun = std::move(onOverrun)](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::optional<Clock::time_point> stopSeen;
    std::unique_lock lock(mutex);
    for (;;) {
      if (wake.wait_for(lock, stop, std::chrono::milliseconds(20), [] { return false; }) ||
          stop.stop_requested())
        return;
      const Clock::time_point now = Clock::now();
      // The exact question records a passed deadline, which every poll then sees at once.
      if (!stopSeen && watched.stopRequested()) stopSeen = now;
      if (stopSeen && now - *stopSeen >= graceTime) {
        if (onOverrun && claimReport()) onOverrun(watched.reason() == StopReason::kDeadline);
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
  enabled_ = mode == ProgressMode::kOn || (mode == ProgressMode::kAuto && terminal_);
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
