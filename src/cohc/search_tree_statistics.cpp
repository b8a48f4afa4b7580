// Recording of the per-depth proof statistics; see search_tree_statistics.h.
#include "cohc/search_tree_statistics.h"

#include <algorithm>
#include <cmath>

#include "core/clock.h"
#include "core/diagnostics.h"

namespace hc {

SearchTreeStatistics::SearchTreeStatistics()
    : started(kInitialDepths, 0.0),
      solved(kInitialDepths, 0.0),
      forcedEdges(kInitialDepths, 0.0),
      startTime(kInitialDepths, -1.0),
      longestTime(kInitialDepths, 0.0),
      averageTime(kInitialDepths, 0.0) {}

double SearchTreeStatistics::now() const {
  return clock ? clock() : secondsSinceStart();
}

void SearchTreeStatistics::ensureDepth(int32_t depth) {
  size_t needed = static_cast<size_t>(depth) + 1;
  if (needed <= started.size()) return;
  // Doubling keeps the cost of a steadily deepening tree linear.
  size_t size = std::max(needed, started.size() * 2);
  started.resize(size, 0.0);
  solved.resize(size, 0.0);
  forcedEdges.resize(size, 0.0);
  startTime.resize(size, -1.0);
  longestTime.resize(size, 0.0);
  averageTime.resize(size, 0.0);
}

bool SearchTreeStatistics::prepareDepth(int32_t depth, const char* recorder) {
  if (depth < 0) {
    diagnostic("Error: ", recorder, " at negative depth ", depth, "\n");
    return false;
  }
  ensureDepth(depth);
  return true;
}

void SearchTreeStatistics::recordNodeStarted(int32_t depth, int32_t forced) {
  if (!prepareDepth(depth, "recordNodeStarted")) return;
  size_t d = static_cast<size_t>(depth);
  started[d] += 1.0;
  startTime[d] = now();
  forcedEdges[d] = forced;
  if (forced > mostForcedEdges) mostForcedEdges = forced;
  bool newRow = depth > deepestStartedDepth;
  if (newRow) deepestStartedDepth = depth;
  if (listener) listener->nodeStarted(*this, depth, newRow);
}

void SearchTreeStatistics::recordNodeSolved(int32_t depth, int32_t forced) {
  if (!prepareDepth(depth, "recordNodeSolved")) return;
  size_t d = static_cast<size_t>(depth);
  if (depth > deepestSolvedDepth) deepestSolvedDepth = depth;
  double t = now() - startTime[d];
  if (t > longestTime[d]) longestTime[d] = t;
  if (t > longestTimeOverall) longestTimeOverall = t;
  averageTime[d] = (averageTime[d] * solved[d] + t) / (solved[d] + 1.0);
  solved[d] += 1.0;
  if (solved[d] > mostSolved) mostSolved = static_cast<int32_t>(solved[d]);
  forcedEdges[d] = forced;
  if (averageTime[d] > largestAverageTime) largestAverageTime = averageTime[d];
  if (listener) listener->nodeSolved(*this, depth);
}

double SearchTreeStatistics::totalStarted() const {
  double total = 0.0;
  for (int32_t d = 0; d <= deepestStartedDepth; ++d) total += started[static_cast<size_t>(d)];
  return total;
}

double SearchTreeStatistics::totalSolved() const {
  double total = 0.0;
  for (int32_t d = 0; d <= deepestStartedDepth; ++d) total += solved[static_cast<size_t>(d)];
  return total;
}

double SearchTreeStatistics::displayedAverageTime(int32_t depth) const {
  if (depth < 0 || depth >= depthCapacity()) return 0.0;
  return std::trunc(averageTime[static_cast<size_t>(depth)] * 1000.0) * 0.001;
}

}  // namespace hc
