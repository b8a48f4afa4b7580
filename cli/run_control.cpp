#include "run_control.h"

#include <csignal>
#include <cstdio>
#include <iostream>

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

DeadlineWatcher::DeadlineWatcher(double seconds) {
  if (!(seconds > 0.0)) return;
  auto limit = std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
  auto deadline = std::chrono::steady_clock::now() + limit;
  thread_ = std::jthread([this, deadline](std::stop_token stop) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, stop, deadline, [] { return false; })) return;
    if (stop.stop_requested()) return;
    timedOut_.store(true);
    keepRunning.store(0);
  });
}

DeadlineWatcher::~DeadlineWatcher() {
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
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
