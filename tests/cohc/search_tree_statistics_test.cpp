// The per-depth statistics: exact arithmetic of the started/solved updates with a fixed
// clock, the listener calls, trees deeper than the initial 10,000 depths, and negative depths.
#include "cohc/search_tree_statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/test_graphs.h"

namespace hc {
namespace {

// Writes "S<depth>" per start ("+" for a new row) and "E<depth>" per solve.
struct RecordingListener : SearchTreeListener {
  void nodeStarted(const SearchTreeStatistics&, int32_t depth, bool newRow) override {
    events += " S" + std::to_string(depth) + (newRow ? "+" : "");
  }
  void nodeSolved(const SearchTreeStatistics&, int32_t depth) override {
    events += " E" + std::to_string(depth);
  }
  std::string events;
};

// A clock that reads the times a test lists, one per call.
std::function<double()> scriptedClock(std::vector<double> times) {
  auto at = std::make_shared<size_t>(0);
  return [times = std::move(times), at]() { return times.at((*at)++); };
}

TEST(SearchTreeStatistics, HandCountedSequence) {
  SearchTreeStatistics s;
  RecordingListener listener;
  s.listener = &listener;
  // root starts at 10.0; child A starts 10.5, solved 11.0 (0.5 s); child B starts 11.25,
  // solved 12.25 (1.0 s); root solved at 13.0 (3.0 s).
  s.clock = scriptedClock({10.0, 10.5, 11.0, 11.25, 12.25, 13.0});
  s.recordNodeStarted(0, 3);
  s.recordNodeStarted(1, 7);
  s.recordNodeSolved(1, 9);
  s.recordNodeStarted(1, 5);
  s.recordNodeSolved(1, 6);
  s.recordNodeSolved(0, 4);

  // Per depth: started, solved, forced edges, start, longest and average time. Quarter
  // seconds are exact in binary, so the times compare exactly.
  auto row = [&s](size_t d) {
    return std::vector<double>{s.started[d],   s.solved[d],      s.forcedEdges[d],
                               s.startTime[d], s.longestTime[d], s.averageTime[d]};
  };
  EXPECT_EQ(row(0), (std::vector<double>{1, 1, 4, 10.0, 3.0, 3.0}));
  EXPECT_EQ(row(1), (std::vector<double>{2, 2, 6, 11.25, 1.0, 0.75}));
  EXPECT_EQ(std::tuple(s.deepestStartedDepth, s.deepestSolvedDepth, s.mostSolved), std::tuple(1, 1, 2));
  // Only starts raise the most forced edges.
  EXPECT_EQ(std::vector<double>({s.longestTimeOverall, s.largestAverageTime, s.mostForcedEdges,
                                 s.totalStarted(), s.totalSolved()}),
            std::vector<double>({3.0, 3.0, 7.0, 3.0, 3.0}));
  EXPECT_EQ(listener.events, " S0+ S1+ E1 S1 E1 E0");
}

TEST(SearchTreeStatistics, DeepTreesGrowTheArraysAndNegativeDepthsAreRefused) {
  testing::CapturedDiagnostics out;
  SearchTreeStatistics s;
  EXPECT_EQ(s.depthCapacity(), 10000);
  // A negative depth reads no clock and records nothing.
  s.clock = scriptedClock({0, 0, 0, 0, 0, 0, 1.0019999});
  s.recordNodeStarted(-1, 0);
  for (int32_t d = 0; d <= 25000; d += 5000) s.recordNodeStarted(d, d);
  s.recordNodeSolved(25000, 1);
  s.recordNodeSolved(-3, 0);
  EXPECT_EQ(out.text(),
            "Error: recordNodeStarted at negative depth -1\nError: recordNodeSolved at negative depth -3\n");
  EXPECT_GE(s.depthCapacity(), 25001);
  EXPECT_EQ(std::tuple(s.deepestStartedDepth, s.deepestSolvedDepth), std::tuple(25000, 25000));
  EXPECT_EQ(std::vector<double>({s.started[25000], s.solved[25000], s.started[9999], s.totalStarted()}),
            std::vector<double>({1, 1, 0, 6}));
  EXPECT_EQ(s.startTime[24999], -1.0);  // new depths start as never started
  // The history list truncates the average to milliseconds.
  EXPECT_DOUBLE_EQ(s.displayedAverageTime(25000), 1.001);
  EXPECT_EQ(s.displayedAverageTime(-1), 0.0);
  // Every array grew together.
  for (const auto* array : {&s.solved, &s.forcedEdges, &s.startTime, &s.longestTime, &s.averageTime})
    EXPECT_EQ(array->size(), s.started.size());
}

}  // namespace
}  // namespace hc
