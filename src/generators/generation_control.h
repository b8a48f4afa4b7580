// The stop and the progress of one long generation, so that a window's Cancel button or a
// command line's Ctrl-C can end `generate complete 5000` or a ten-million-node regular
// graph cleanly, and both can tell how far it has come.
//
// generateGraph(request, stop, progress) makes one GenerationTicker for the call and hands
// it to the family, whose loops tick it at each outer step. A stopped family returns
// early with a partial graph, which the factory throws away; the caller sees no graph and
// the error kGenerationCancelled. A family given no ticker is never stopped and reports
// nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "core/stop_token.h"

namespace hc {

inline constexpr const char* kGenerationCancelled = "generation cancelled";

class GenerationTicker {
 public:
  // `stop` may be null (never stopped). `progress` (may be empty) is called on the
  // generating thread with 0 <= fraction <= 1, non-decreasing, at most about a thousand
  // times per generation (and once with 1.0 at the end).
  GenerationTicker(const StopToken* stop, std::function<void(double fraction)> progress)
      : stop_(stop), progress_(std::move(progress)) {}

  // For the family loops: `done` of `total` steps are finished. Reports progress (only
  // when the fraction has grown by a thousandth; the edges count as the first 90 %,
  // finishing the construction as the rest) and returns false when the generation should
  // stop.
  bool tick(int64_t done, int64_t total);
  // The stop, asked now; true from then on.
  bool stopRequested();
  // True once a tick (or stopRequested) has seen the stop.
  bool stopped() const { return stopped_; }
  // For the factory: reports the fraction 1.0.
  void finished() { report(1000); }

 private:
  void report(int32_t permille);

  const StopToken* stop_;
  std::function<void(double)> progress_;
  int32_t reportedPermille_ = -1;
  bool stopped_ = false;
};

// A tick of a ticker that may be absent (then always true).
inline bool generationTick(GenerationTicker* ticker, int64_t done, int64_t total) {
  return ticker == nullptr || ticker->tick(done, total);
}

}  // namespace hc
