// Where the Stone Carver worker leaves its iteration reports for the window. The engine
// calls postIteration on its own thread as fast as iterations end (microseconds apart on
// a small graph); the window drains the buffer on a timer a few dozen times a second and
// appends what it took to its IterationHistory (app/iteration_history.h).
//
// Nothing is lost that the page shows: the statistics take in every iteration here, on
// the worker's side, and the pending rows are capped at the list's row limit only
// because older ones could never be shown. When rows had to be skipped the batch says
// so, and the window restarts its list from the batch, so the rows it shows are always
// consecutive iterations ending with the newest.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "schc/stone_carver.h"

namespace hc {

// One postIteration report.
struct IterationRow {
  int32_t iteration = 0;
  int32_t deletions = 0;
  int32_t hubs = 0;
  int32_t rings = 0;
  int32_t forcedEdges = 0;
  double percentComplete = 0.0;
  double seconds = 0.0;
};

inline constexpr int32_t kNotMetYet = 2000000000;

// The four running statistics over every iteration of a run.
struct IterationStatistics {
  int32_t rowsAdded = 0;  // iterations reported since the run began
  int32_t leastDeletionsToHub = kNotMetYet;
  int32_t leastDeletionsToRing = kNotMetYet;
  int32_t mostDeletions = -1;
  int32_t maxForcedEdges = -1;

  // Takes one iteration into the four statistics and the count.
  void add(const IterationRow& row);
};

// The list's row limit L comes from the page's iterations edit; anything below 1 keeps
// one row (an empty list would hide the iteration in progress and the row arithmetic
// needs L >= 1).
int32_t sanitizedRowLimit(int64_t requested);

struct IterationBatch {
  std::vector<IterationRow> rows;  // oldest first
  bool skippedRows = false;        // rows older than `rows` were dropped from the hand-over
  IterationStatistics statistics;  // over every iteration so far
};

class SchcProgressBuffer : public SchcSink {
 public:
  explicit SchcProgressBuffer(int32_t rowLimit = 1000) : limit_(sanitizedRowLimit(rowLimit)) {}

  // Worker thread.
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double seconds) override;

  // Window thread. The limit may change during a run (the edit is live).
  void setRowLimit(int64_t requested) {
    limit_.store(sanitizedRowLimit(requested), std::memory_order_relaxed);
  }
  // Takes everything reported since the last drain.
  IterationBatch drain();
  // True when a drain would bring something new.
  bool hasNews() const { return news_.load(std::memory_order_acquire); }

 private:
  std::atomic<int32_t> limit_;
  std::atomic<bool> news_{false};
  std::mutex mutex_;
  std::deque<IterationRow> pending_;
  bool skipped_ = false;
  IterationStatistics statistics_;
};

}  // namespace hc
