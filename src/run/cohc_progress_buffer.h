// Where the Co-HC worker leaves its statistics updates for the window. The search tree
// tells its listener about every node started and solved (thousands a second); this
// listener copies the touched depth's row and the maxima under a small lock, and the
// window drains the changed rows on a timer a few dozen times a second into its
// DepthHistory (app/depth_history.h). Every update lands: a depth touched twice between
// drains simply hands over its newest row.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>

#include "cohc/search_tree_statistics.h"

namespace hc {

// One depth of SearchTreeStatistics.
struct DepthRow {
  double started = 0.0;
  double solved = 0.0;
  double forcedEdges = 0.0;
  double longestTime = 0.0;
  double averageTime = 0.0;
};

DepthRow depthRowOf(const SearchTreeStatistics& statistics, int32_t depth);
DepthSummary depthSummaryOf(const SearchTreeStatistics& statistics);

struct DepthBatch {
  std::map<int32_t, DepthRow> rows;  // the depths changed since the last drain
  DepthSummary summary;
};

class CohcProgressBuffer : public SearchTreeListener {
 public:
  // Worker thread.
  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool newRow) override;
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override;

  // Window thread.
  DepthBatch drain();
  bool hasNews() const { return news_.load(std::memory_order_acquire); }

 private:
  void take(const SearchTreeStatistics& statistics, int32_t depth);

  std::atomic<bool> news_{false};
  std::mutex mutex_;
  DepthBatch pending_;
};

}  // namespace hc
