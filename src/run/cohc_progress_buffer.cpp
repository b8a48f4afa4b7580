#include "run/cohc_progress_buffer.h"

#include <utility>

namespace hc {

DepthRow depthRowOf(const SearchTreeStatistics& statistics, int32_t depth) {
  if (depth < 0 || depth >= statistics.depthCapacity()) return {};
  size_t d = static_cast<size_t>(depth);
  return {statistics.started[d], statistics.solved[d], statistics.forcedEdges[d], statistics.longestTime[d],
          statistics.averageTime[d]};
}

DepthSummary depthSummaryOf(const SearchTreeStatistics& statistics) {
  return statistics;  // its DepthSummary part
}

void CohcProgressBuffer::nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool) {
  take(statistics, depth);
}

void CohcProgressBuffer::nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) {
  take(statistics, depth);
}

void CohcProgressBuffer::take(const SearchTreeStatistics& statistics, int32_t depth) {
  DepthRow row = depthRowOf(statistics, depth);
  DepthSummary summary = depthSummaryOf(statistics);
  std::lock_guard lock(mutex_);
  pending_.rows[depth] = row;
  pending_.summary = summary;
  news_.store(true, std::memory_order_release);
}

DepthBatch CohcProgressBuffer::drain() {
  std::lock_guard lock(mutex_);
  DepthBatch batch = std::move(pending_);
  pending_ = {};
  pending_.summary = batch.summary;
  news_.store(false, std::memory_order_release);
  return batch;
}

}  // namespace hc
