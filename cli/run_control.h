// What stops a run from outside and what the user sees while it runs:
//  - the run flag (1 run, 0 stop) that the engines poll; Ctrl-C (SIGINT, SIGTERM) clears
//    it from a signal handler that does nothing else, and a second Ctrl-C ends the
//    process the ordinary way;
//  - a monitor thread that clears the same flag at the --time-limit deadline, and that ends
//    the process with the report so far when a method has not answered the cleared flag
//    within a grace period (an engine step that polls too rarely must not turn a time
//    limit or Ctrl-C into a hang; output files are only ever written after a run, so
//    nothing is left half-written);
//  - the progress line on stderr, redrawn at most four times a second, shown only on a
//    terminal unless --progress asks for it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace hc::cli {

// The process-wide run flag.
std::atomic<uint8_t>& runFlag();

// Installs the Ctrl-C handler (once; later calls do nothing).
void installInterruptHandler();

// Seconds a method may take to answer a cleared run flag before the monitor gives up on it.
inline constexpr double kStopGraceSeconds = 2.0;

// Watches a run: clears the run flag once `timeLimit` seconds have passed (never when
// timeLimit <= 0); when the flag has been cleared (by the deadline or by Ctrl-C) and the
// run is still going `grace` seconds later, calls `onOverrun(timedOut)`, which reports and
// ends the process. Stops on destruction.
class RunMonitor {
 public:
  RunMonitor(double timeLimit, std::function<void(bool timedOut)> onOverrun, double grace = kStopGraceSeconds);
  ~RunMonitor();
  RunMonitor(const RunMonitor&) = delete;
  RunMonitor& operator=(const RunMonitor&) = delete;
  bool timedOut() const { return timedOut_.load(); }
  // The one who prints the report: the main thread after the run returned, or the
  // overrun path. The loser must not print (the main thread then waits to be ended).
  static bool claimReport();

 private:
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
