// Graph copies and assignFrom: what a copy carries (current neighbour order, chains,
// coordinates, the generation description), independence, and taking over a solved copy.
// That a copy equals its source and makes the same choices is part of the undo property.
#include <gtest/gtest.h>

#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::completeGraph;
using testing::snapshot;

TEST(CopyTest, ChainsKeepTheirSlotsUnusedSlotsAreFreshAndUndoStaysOnTheCopy) {
  Graph g = completeGraph(10);
  for (auto [a, b] : testing::EdgeList{{0, 1}, {2, 3}, {4, 5}, {6, 7}, {1, 6}}) g.setUncut(a, b);
  testing::drainQueue(g);  // the last merge moved chain 3 into slot 0; slot 3 keeps old values
  ASSERT_NE(g.chains[3].members, 0);
  const std::string source = snapshot(g);
  Graph copy(g);
  EXPECT_EQ(snapshot(copy), source);
  EXPECT_EQ(copy.maxChains, 5);
  for (int32_t c = g.howManyChains; c < copy.maxChains; ++c) {
    const Chain& slot = copy.chains[static_cast<size_t>(c)];
    EXPECT_EQ(std::vector<int32_t>({slot.head1, slot.head2, slot.members, slot.isRing}),
              std::vector<int32_t>({-1, -1, 0, 0}));
  }
  EXPECT_NE(copy.node(0).neighborArray, g.node(0).neighborArray) << "arrays are not shared";
  {
    ScopedActionList trial(copy);
    copy.force(8, 9);
    copy.cut(3, 4);
    EXPECT_EQ(snapshot(g), source);
    copy.undoActions();
  }
  EXPECT_EQ(snapshot(copy), source);
}

TEST(CopyTest, WhatACopyCarriesAndWhatItStartsAfresh) {
  enableFixedSeed(1000);
  Graph g = completeGraph(5);
  g.outputFileName = "out.txt";
  g.coordinates = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 1}};
  g.node(2).mark = 7;
  g.version = 9;
  g.cutCount = 12;
  Graph copy(g);
  EXPECT_EQ(randomState(), 1000u) << "a copy reseeds: the first fixed seed";
  Graph second(g);
  EXPECT_EQ(randomState(), 1000u + 2654435769u);
  disableFixedSeed();
  EXPECT_EQ(copy.coordinates, g.coordinates);
  EXPECT_EQ(copy.outputFileName, "out.txt");
  // Kept beyond the minimum: the driver's ratios divide by edgesToRemove.
  EXPECT_EQ(std::vector<int32_t>({copy.node(2).mark, copy.version, copy.cutCount, copy.edgesToRemove}),
            std::vector<int32_t>({7, 9, 0, 5}));
  EXPECT_EQ(copy.actionList, nullptr);
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
  EXPECT_EQ(g.cutCount, 5);
  EXPECT_EQ(g.node(1).mark, 3);
  g.node(1).mark = 9;
  EXPECT_EQ(snapshot(g), snapshot(solved));
  EXPECT_EQ(g.outputFileName, "mine.txt");
  EXPECT_EQ(g.version, 3);
  g.assignFrom(g);  // taking over itself changes nothing
  solved = Graph();  // the solved state stands on its own once the source is gone
  EXPECT_EQ(testing::currentEdges(g), testing::currentEdges(testing::makeGraph(6, testing::cycleEdges(0, 6))));
  EXPECT_EQ(checkInvariants(g), "");
}

}  // namespace
}  // namespace hc
