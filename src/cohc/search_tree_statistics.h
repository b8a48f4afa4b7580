// Per-depth statistics of a proof tree: how many tree nodes were started and solved at
// each depth, their forced edges and solving times, and the overall maxima the charts
// scale by. The search tree records into it from the worker thread; whoever shows
// progress (the window's page, the command line) subscribes as a SearchTreeListener and
// never reaches into the engine.
//
// The arrays start with room for depths 0..9999 and grow on demand, so a tree of any
// depth is recorded in full and nothing is ever written outside them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace hc {

class SearchTreeStatistics;

// Told about every update, on the thread that runs the search. An implementation that
// feeds a window copies what it needs and hands it over to its own thread; it must not
// block for long, since the search waits for it.
class SearchTreeListener {
 public:
  virtual ~SearchTreeListener() = default;
  // A tree node of `depth` was started; `newRow` when it is the first one that deep.
  virtual void nodeStarted(const SearchTreeStatistics& /*statistics*/, int32_t /*depth*/, bool /*newRow*/) {}
  // A tree node of `depth` was solved (decided).
  virtual void nodeSolved(const SearchTreeStatistics& /*statistics*/, int32_t /*depth*/) {}
};

// The depth bounds and the maxima over the depths of a proof tree's statistics.
struct DepthSummary {
  int32_t deepestSolvedDepth = 0;
  int32_t deepestStartedDepth = -1;
  int32_t mostSolved = 0;
  double longestTimeOverall = 0.0;
  double largestAverageTime = 0.0;
  double mostForcedEdges = 0.0;
};

class SearchTreeStatistics : public DepthSummary {
 public:
  static constexpr int32_t kInitialDepths = 10000;

  // Per depth d. A depth's start time is -1.0 until a node of that depth starts.
  std::vector<double> started;
  std::vector<double> solved;
  std::vector<double> forcedEdges;  // howManyUncuttable of the last node reported there
  std::vector<double> startTime;    // seconds, when the current node of depth d started
  std::vector<double> longestTime;  // seconds
  std::vector<double> averageTime;  // seconds

  // Told after every update; none by default.
  SearchTreeListener* listener = nullptr;
  // Seconds on some fixed origin; the program clock unless a test fixes the times.
  std::function<double()> clock;

  SearchTreeStatistics();

  // A tree node of `depth` starts with `forced` forced edges. A negative depth prints a
  // message and records nothing.
  void recordNodeStarted(int32_t depth, int32_t forced);
  // The tree node of `depth` that started last is decided, with `forced` forced edges.
  void recordNodeSolved(int32_t depth, int32_t forced);

  // Number of depths the arrays hold now (at least kInitialDepths).
  int32_t depthCapacity() const { return static_cast<int32_t>(started.size()); }
  // Tree nodes started over all depths.
  double totalStarted() const;
  double totalSolved() const;
  // The average time of depth d as the history list shows it: truncated to milliseconds.
  double displayedAverageTime(int32_t depth) const;

 private:
  void ensureDepth(int32_t depth);
  // False, after a message naming `recorder`, for a negative depth; otherwise the arrays
  // reach `depth`.
  bool prepareDepth(int32_t depth, const char* recorder);
  double now() const;
};

}  // namespace hc
