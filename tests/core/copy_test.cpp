// Graph copies and assignFrom: what a copy carries (current neighbour order, chains,
// coordinates, the generation description) and how it reseeds, and taking over a solved
// copy. That a copy is independent of its source and makes the same choices is part of the
// undo property.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <tuple>

#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::completeGraph;
using testing::snapshot;

TEST(CopyTest, ACopyCarriesWhatSolversReadAndStartsItsOwnRecordsAndSeed) {
  enableFixedSeed(1000);
  Graph g = completeGraph(10);
  for (auto [a, b] : testing::EdgeList{{0, 1}, {2, 3}, {4, 5}, {6, 7}, {1, 6}}) g.setUncut(a, b);
  testing::drainQueue(g);  // the last merge moved chain 3 into slot 0
  g.outputFileName = "out.txt";
  g.coordinates.assign(10, Point3{0.5, 0.5, 1});
  g.coordinates[3] = {1, 2, 3};
  g.node(2).mark = 7;  // part of the snapshot
  g.version = 9;
  g.cutCount = 12;
  const std::string source = snapshot(g);
  Graph copy(g);
  EXPECT_EQ(randomState(), 1000u) << "a copy reseeds: the first fixed seed";
  Graph second(g);
  EXPECT_EQ(randomState(), 1000u + 2654435769u);
  disableFixedSeed();
  EXPECT_EQ(snapshot(copy), source);
  // Kept beyond the minimum: the driver's ratios divide by edgesToRemove.
  EXPECT_EQ(std::tuple(copy.coordinates, copy.outputFileName, copy.version, copy.cutCount, copy.edgesToRemove,
                       copy.actionList == nullptr),
            std::tuple(g.coordinates, std::string("out.txt"), 9, 0, 35, true));
}

TEST(CopyTest, ACopyThatIsAskedToStopIsNoneAndAnOpenOneIsTheCopy) {
  // Two blocks of nodes, so the copy polls between them; every copy reseeds, kept or not.
  const Graph g = testing::makeGraph(70000, testing::cycleEdges(0, 70000));
  const std::string source = snapshot(g);
  StopToken requested;
  requested.requestStop();
  StopToken passed;
  passed.setDeadline(StopToken::Clock::now() - std::chrono::seconds(1));
  const StopToken open;
  enableFixedSeed(7);
  uint32_t expectedSeed = 7;
  for (auto [stop, copied] : {std::pair<const StopToken*, bool>{nullptr, true},
                              {&requested, false},
                              {&open, true},
                              {&passed, false}}) {
    std::optional<Graph> copy = Graph::copyUnlessStopped(g, stop);
    EXPECT_EQ(copy.has_value(), copied);
    EXPECT_TRUE(!copy || snapshot(*copy) == source);
    EXPECT_EQ(randomState(), expectedSeed);
    expectedSeed += 2654435769u;
  }
  disableFixedSeed();
}

TEST(CopyTest, AssignFromTakesOverASolvedCopyButNotItsNamesOrMarks) {
  Graph g = completeGraph(6);
  g.outputFileName = "mine.txt";
  g.version = 3;
  g.node(1).mark = 3;
  Graph solved(g);
  solved.outputFileName = "theirs.txt";
  solved.cutCount = 5;
  solved.node(1).mark = 9;
  for (int32_t v = 0; v < 6 && solved.isHamiltonian == kUndecided; ++v) solved.force(v, (v + 1) % 6);
  ASSERT_EQ(solved.isHamiltonian, kHamiltonian);
  g.assignFrom(solved);
  EXPECT_EQ(std::tuple(g.cutCount, g.node(1).mark, g.outputFileName, g.version),
            std::tuple(5, 3, std::string("mine.txt"), 3));
  g.node(1).mark = 9;
  const std::string solvedState = snapshot(solved);
  g.assignFrom(g);   // taking over itself changes nothing
  solved = Graph();  // the solved state stands on its own once the source is gone
  EXPECT_EQ(snapshot(g), solvedState);
}

}  // namespace
}  // namespace hc
