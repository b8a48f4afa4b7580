// What stops a run from outside and what the user sees while it runs:
//  - the run flag (1 run, 0 stop) that the engines poll; Ctrl-C (SIGINT, SIGTERM) clears
//    it from a signal handler that does nothing else, and a second Ctrl-C ends the
//    process the ordinary way;
//  - a deadline watcher thread for --time-limit that clears the same flag;
//  - the progress line on stderr, redrawn at most four times a second, shown only on a
//    terminal unless --progress asks for it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace hc::cli {

// The process-wide run flag.
std::atomic<uint8_t>& runFlag();

// Installs the Ctrl-C handler (once; later calls do nothing).
void installInterruptHandler();

// Clears the run flag once `seconds` have passed (never when seconds <= 0); stops on
// destruction. timedOut() tells whether it was the one that stopped the run.
class DeadlineWatcher {
 public:
  explicit DeadlineWatcher(double seconds);
  ~DeadlineWatcher();
  DeadlineWatcher(const DeadlineWatcher&) = delete;
  DeadlineWatcher& operator=(const DeadlineWatcher&) = delete;
  bool timedOut() const { return timedOut_.load(); }

 private:
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::atomic<bool> timedOut_{false};
  std::jthread thread_;
};

enum class ProgressMode { Auto, On, Off };

class ProgressLine {
 public:
  explicit ProgressLine(ProgressMode mode);
  ~ProgressLine() { finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool enabled() const { return enabled_; }
  // True when a redraw is due (the caller then builds its text and calls show).
  bool due();
  void show(const std::string& text);
  // Clears the line on a terminal; nothing otherwise.
  void finish();

 private:
  bool enabled_ = false;
  bool terminal_ = false;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace hc::cli
