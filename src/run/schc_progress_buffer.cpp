#include "run/schc_progress_buffer.h"

#include <algorithm>
#include <limits>

namespace hc {

void IterationStatistics::add(const IterationRow& row) {
  ++rowsAdded;
  if (row.hubs >= 1 && row.deletions < leastDeletionsToHub) leastDeletionsToHub = row.deletions;
  if (row.rings >= 1 && row.deletions < leastDeletionsToRing) leastDeletionsToRing = row.deletions;
  mostDeletions = std::max(mostDeletions, row.deletions);
  maxForcedEdges = std::max(maxForcedEdges, row.forcedEdges);
}

int32_t sanitizedRowLimit(int64_t requested) {
  return static_cast<int32_t>(std::clamp<int64_t>(requested, 1, std::numeric_limits<int32_t>::max()));
}

void SchcProgressBuffer::postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings,
                                       int32_t forcedEdges, double percentComplete, double seconds) {
  IterationRow row{iteration, deletions, hubs, rings, forcedEdges, percentComplete, seconds};
  std::lock_guard lock(mutex_);
  statistics_.add(row);
  pending_.push_back(row);
  const size_t limit = static_cast<size_t>(limit_.load(std::memory_order_relaxed));
  while (pending_.size() > limit) {
    pending_.pop_front();
    skipped_ = true;
  }
  news_.store(true, std::memory_order_release);
}

IterationBatch SchcProgressBuffer::drain() {
  IterationBatch batch;
  std::lock_guard lock(mutex_);
  batch.rows.assign(pending_.begin(), pending_.end());
  batch.skippedRows = skipped_;
  batch.statistics = statistics_;
  pending_.clear();
  skipped_ = false;
  news_.store(false, std::memory_order_release);
  return batch;
}

}  // namespace hc
