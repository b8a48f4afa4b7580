// The per-depth statistics: exact arithmetic of the started/solved updates with a fixed
// clock, the listener calls, and trees deeper than the initial 10,000 depths.
#include "cohc/search_tree_statistics.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <vector>

#include "core/diagnostics.h"

namespace hc {
namespace {

struct Event {
  bool solved;
  int32_t depth;
  bool newRow;
};

class RecordingListener : public SearchTreeListener {
 public:
  void nodeStarted(const SearchTreeStatistics&, int32_t depth, bool newRow) override {
    events.push_back({false, depth, newRow});
  }
  void nodeSolved(const SearchTreeStatistics&, int32_t depth) override {
    events.push_back({true, depth, false});
  }
  std::vector<Event> events;
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

  // Quarter seconds are exact in binary, so the times compare exactly.
  auto firstTwo = [](const std::vector<double>& a) { return std::vector<double>(a.begin(), a.begin() + 2); };
  EXPECT_EQ(firstTwo(s.started), (std::vector<double>{1, 2}));
  EXPECT_EQ(firstTwo(s.solved), (std::vector<double>{1, 2}));
  EXPECT_EQ(firstTwo(s.forcedEdges), (std::vector<double>{4, 6}));
  EXPECT_EQ(firstTwo(s.startTime), (std::vector<double>{10.0, 11.25}));
  EXPECT_EQ(firstTwo(s.longestTime), (std::vector<double>{3.0, 1.0}));
  EXPECT_EQ(firstTwo(s.averageTime), (std::vector<double>{3.0, 0.75}));
  EXPECT_EQ(std::tuple(s.deepestStartedDepth, s.deepestSolvedDepth, s.mostSolved), std::tuple(1, 1, 2));
  EXPECT_DOUBLE_EQ(s.longestTimeOverall, 3.0);
  EXPECT_DOUBLE_EQ(s.largestAverageTime, 3.0);
  EXPECT_EQ(s.mostForcedEdges, 7.0);  // only starts raise it
  EXPECT_EQ(s.totalStarted(), 3.0);
  EXPECT_EQ(s.totalSolved(), 3.0);

  ASSERT_EQ(listener.events.size(), 6u);
  EXPECT_TRUE(listener.events[0].newRow);
  EXPECT_TRUE(listener.events[1].newRow);
  EXPECT_FALSE(listener.events[3].newRow);  // second start at depth 1
  EXPECT_TRUE(listener.events[5].solved);
  EXPECT_EQ(listener.events[5].depth, 0);
}

TEST(SearchTreeStatistics, DisplayedAverageIsTruncatedToMilliseconds) {
  SearchTreeStatistics s;
  s.clock = scriptedClock({0.0, 0.0123456, 1.0, 1.0019999});
  s.recordNodeStarted(0, 0);
  s.recordNodeSolved(0, 0);
  s.recordNodeStarted(1, 0);
  s.recordNodeSolved(1, 0);
  EXPECT_DOUBLE_EQ(s.displayedAverageTime(0), 0.012);
  EXPECT_DOUBLE_EQ(s.displayedAverageTime(1), 0.001);
  EXPECT_EQ(s.displayedAverageTime(-1), 0.0);
}

TEST(SearchTreeStatistics, DepthsBeyondTenThousandGrowTheArrays) {
  SearchTreeStatistics s;
  EXPECT_EQ(s.depthCapacity(), 10000);
  for (int32_t d = 0; d <= 25000; d += 5000) s.recordNodeStarted(d, d);
  s.recordNodeSolved(25000, 1);
  EXPECT_GE(s.depthCapacity(), 25001);
  EXPECT_EQ(s.deepestStartedDepth, 25000);
  EXPECT_EQ(s.deepestSolvedDepth, 25000);
  EXPECT_EQ(s.started[25000], 1.0);
  EXPECT_EQ(s.solved[25000], 1.0);
  EXPECT_EQ(s.started[9999], 0.0);
  EXPECT_EQ(s.startTime[24999], -1.0);  // new depths start as never started
  EXPECT_EQ(s.totalStarted(), 6.0);
  // Every array grew together.
  size_t size = s.started.size();
  for (const auto* array : {&s.solved, &s.forcedEdges, &s.startTime, &s.longestTime, &s.averageTime})
    EXPECT_EQ(array->size(), size);
}

TEST(SearchTreeStatistics, NegativeDepthIsReportedAndIgnored) {
  std::ostringstream out;
  ScopedDiagnosticStream capture(out);
  SearchTreeStatistics s;
  s.recordNodeStarted(-1, 0);
  s.recordNodeSolved(-3, 0);
  EXPECT_EQ(s.deepestStartedDepth, -1);
  EXPECT_EQ(s.totalStarted(), 0.0);
  EXPECT_EQ(s.totalSolved(), 0.0);
  EXPECT_EQ(out.str(),
            "Error: recordNodeStarted at negative depth -1\nError: recordNodeSolved at negative depth -3\n");
}

}  // namespace
}  // namespace hc
