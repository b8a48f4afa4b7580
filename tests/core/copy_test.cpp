// Graph copies and assignFrom: what a copy carries (current neighbour order, chains,
// coordinates, the generation description), independence, and taking over a solved copy.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/graph_files.h"
#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::completeGraph;
using testing::makeGraph;
using testing::snapshot;

TEST(CopyTest, ACopyTakesTheCurrentNeighbourOrder) {
  Graph g = completeGraph(7);
  g.cut(0, 1);
  g.cut(3, 0);
  Graph copy(g);
  EXPECT_EQ(snapshot(copy), snapshot(g));
  EXPECT_EQ(copy.node(0).neighborArray[0], 6) << "entry 0 took the last entry at the first cut";
  EXPECT_NE(copy.node(0).neighborArray, g.node(0).neighborArray) << "arrays are not shared";
  EXPECT_EQ(copy.node(0).capacity, g.node(0).capacity);
  EXPECT_INVARIANTS(copy);
}

TEST(CopyTest, UndoOnACopyNeverTouchesTheSource) {
  Graph g = completeGraph(8);
  g.force(0, 1);
  const std::string source = snapshot(g);
  Graph copy(g);
  {
    ScopedActionList trial(copy);
    copy.force(1, 2);
    copy.cut(3, 4);
    EXPECT_EQ(snapshot(g), source);
    copy.undoActions();
  }
  EXPECT_EQ(snapshot(g), source);
  EXPECT_EQ(snapshot(copy), source);
}

TEST(CopyTest, ChainsKeepTheirSlotsAndUnusedSlotsAreFresh) {
  Graph g = completeGraph(10);
  g.setUncut(0, 1);
  g.setUncut(2, 3);
  g.setUncut(4, 5);
  g.setUncut(6, 7);
  g.setUncut(1, 6);  // merges chain 3 into chain 0: slot 3 keeps its old values
  testing::drainQueue(g);
  ASSERT_EQ(g.howManyChains, 3);
  ASSERT_NE(g.chains[3].members, 0);
  Graph copy(g);
  ASSERT_EQ(copy.howManyChains, 3);
  ASSERT_EQ(copy.maxChains, 5);
  for (int32_t c = 0; c < g.howManyChains; ++c) {
    EXPECT_EQ(copy.chains[static_cast<size_t>(c)].head1, g.chains[static_cast<size_t>(c)].head1);
    EXPECT_EQ(copy.chains[static_cast<size_t>(c)].head2, g.chains[static_cast<size_t>(c)].head2);
    EXPECT_EQ(copy.chains[static_cast<size_t>(c)].members, g.chains[static_cast<size_t>(c)].members);
  }
  for (int32_t c = g.howManyChains; c < copy.maxChains; ++c) {
    const Chain& slot = copy.chains[static_cast<size_t>(c)];
    EXPECT_EQ(slot.head1, -1);
    EXPECT_EQ(slot.head2, -1);
    EXPECT_EQ(slot.members, 0);
    EXPECT_EQ(slot.isRing, 0);
  }
  EXPECT_INVARIANTS(copy);
}

TEST(CopyTest, WhatACopyCarriesAndWhatItStartsAfresh) {
  Graph g = completeGraph(5);
  g.outputFileName = "out.txt";
  g.inputFileName = "in.txt";
  g.coordinates = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 1}};
  g.node(2).mark = 7;
  g.version = 9;
  g.printLevel = 1;
  g.indentDepth = 4;
  g.iterationCount = 11;
  g.cutCount = 12;
  g.simulationForceCount = 13;
  g.regularDegree = 4;
  Graph copy(g);
  EXPECT_EQ(copy.outputFileName, "out.txt");
  EXPECT_EQ(copy.coordinates, g.coordinates);
  EXPECT_EQ(copy.node(2).mark, 7);
  EXPECT_EQ(copy.version, 9);
  EXPECT_EQ(copy.printLevel, 1);
  EXPECT_EQ(copy.indentDepth, 4);
  EXPECT_EQ(copy.iterationCount, 11);
  EXPECT_EQ(copy.cutCount, 0);
  EXPECT_EQ(copy.simulationForceCount, 0);
  EXPECT_EQ(copy.actionList, nullptr);
  EXPECT_TRUE(copy.pruningQueue.empty());
  // Kept beyond the minimum: the driver's ratios divide by edgesToRemove.
  EXPECT_EQ(copy.edgesToRemove, 5);
  EXPECT_EQ(copy.initialEdges, 10);
  EXPECT_EQ(copy.initialNodes, 5);
  EXPECT_EQ(copy.regularDegree, 4);
  EXPECT_EQ(copy.inputFileName, "in.txt");

  Graph bare = completeGraph(4);
  Graph bareCopy(bare);
  EXPECT_FALSE(bareCopy.hasCoordinates());
  FileStatus status = writeHamiltonianCycleObj(bareCopy, (std::filesystem::temp_directory_path() / "hc_copy_no.obj").string());
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.error.find("no coordinates"), std::string::npos) << status.error;
}

TEST(CopyTest, ACopyReseedsTheGenerator) {
  enableFixedSeed(1000);
  Graph g = completeGraph(4);
  Graph first(g);
  EXPECT_EQ(randomState(), 1000u);
  Graph second(g);
  EXPECT_EQ(randomState(), 1000u + 2654435769u);
  disableFixedSeed();
}

TEST(CopyTest, AssignFromTakesOverASolvedCopy) {
  Graph g = completeGraph(6);
  g.outputFileName = "mine.txt";
  g.version = 3;
  Graph solved(g);
  solved.outputFileName = "theirs.txt";
  solved.cutCount = 5;
  for (int32_t v = 0; v < 6 && solved.isHamiltonian == kUndecided; ++v) solved.force(v, (v + 1) % 6);
  ASSERT_EQ(solved.isHamiltonian, kHamiltonian);

  g.assignFrom(solved);
  EXPECT_EQ(g.isHamiltonian, kHamiltonian);
  EXPECT_EQ(g.cutCount, 5);
  EXPECT_EQ(g.howManyEdges, 6);
  EXPECT_EQ(snapshot(g), snapshot(solved));
  EXPECT_NE(g.node(0).neighborArray, solved.node(0).neighborArray);
  EXPECT_EQ(g.outputFileName, "mine.txt");
  EXPECT_EQ(g.version, 3);
  EXPECT_TRUE(g.pruningQueue.empty());
  // The solved state stands on its own once the source is gone.
  solved = Graph();
  for (const Node& n : g.nodes) EXPECT_EQ(n.degree, 2);
}

TEST(CopyTest, AssignFromLeavesMarksAlone) {
  Graph g = completeGraph(4);
  g.node(1).mark = 3;
  Graph other(g);
  other.node(1).mark = 9;
  other.cut(0, 1);
  g.assignFrom(other);
  EXPECT_EQ(g.node(1).mark, 3);
  g.node(1).mark = 9;
  EXPECT_EQ(snapshot(g), snapshot(other));
  g.assignFrom(g);  // taking over itself changes nothing
  EXPECT_EQ(snapshot(g), snapshot(other));
}

}  // namespace
}  // namespace hc
