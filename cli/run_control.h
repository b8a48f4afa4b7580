// What stops a run from outside and what the user sees while it runs:
//  - the process's StopToken that the engines poll; Ctrl-C (SIGINT, SIGTERM) requests a
//    stop on it from a signal handler that does nothing else (one lock-free
//    compare-and-swap), and a second Ctrl-C ends the process the ordinary way; the
//    --time-limit is the token's deadline;
//  - a monitor thread that looks at the token every 20 ms (so a passed deadline is recorded
//    even while a method is between polls), and that ends the process with the report so
//    far when a method has not answered the stop within a grace period (an engine step that
//    polls too rarely must not turn a time limit or Ctrl-C into a hang; output files are
//    only ever written after a run, so nothing is left half-written);
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

#include "core/stop_token.h"

namespace hc::cli {

// The process-wide stop of the command's run (a batch gives each graph a child of it).
StopToken& processStop();

// Installs the Ctrl-C handler (once; later calls do nothing).
void installInterruptHandler();

// Seconds a method may take to answer a stop before the monitor gives up on it.
inline constexpr double kStopGraceSeconds = 2.0;

// Watches a run stopped by `stop` (with its deadline, if any, already set): when the token
// has stopped (by the deadline or by Ctrl-C) and the run is still going `grace` seconds
// later, calls `onOverrun(timedOut)`, which reports and ends the process. Stops on
// destruction.
class RunMonitor {
 public:
  RunMonitor(const StopToken& stop, std::function<void(bool timedOut)> onOverrun,
             double grace = kStopGraceSeconds);
  ~RunMonitor();
  RunMonitor(const RunMonitor&) = delete;
  RunMonitor& operator=(const RunMonitor&) = delete;
  // The one who prints the report: the main thread after the run returned, or the
  // overrun path. The loser must not print (the main thread then waits to be ended).
  static bool claimReport();

 private:
  std::jthread thread_;
};

enum class ProgressMode { kAuto, kOn, kOff };

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
