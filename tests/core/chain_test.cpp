// The incremental model: chains built, extended, merged and closed by setUncut; hub and
// ring detection; degree-two forcing after a cut; the scan-model cutAndForce; messages.
#include <gtest/gtest.h>

#include "core_test_support.h"

namespace hc {
namespace {

using testing::CapturedDiagnostics;
using testing::completeGraph;
using testing::makeGraph;

TEST(ChainTest, ForcingAPathOneEdgeAtATimeGrowsOneChain) {
  Graph g = completeGraph(6);
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  g.setUncut(2, 3);
  ASSERT_EQ(g.howManyChains, 1);
  EXPECT_EQ(g.chains[0].head1, 0);
  EXPECT_EQ(g.chains[0].head2, 3);
  EXPECT_EQ(g.chains[0].members, 4);
  EXPECT_EQ(g.node(1).whichChain, -1);
  EXPECT_EQ(g.node(2).whichChain, -1);
  EXPECT_EQ(g.node(1).isHead, 0);
  EXPECT_EQ(g.node(0).whichChain, 0);
  EXPECT_EQ(g.node(3).whichChain, 0);
  EXPECT_EQ(g.howManyUncuttable, 3);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
}

TEST(ChainTest, MergingMovesTheSurvivorIntoTheFreedSlot) {
  Graph g = completeGraph(6);
  g.setUncut(2, 3);
  g.setUncut(0, 1);
  ASSERT_EQ(g.howManyChains, 2);
  EXPECT_EQ(g.chains[0].head1, 2);
  EXPECT_EQ(g.chains[1].head1, 0);
  g.setUncut(1, 2);
  ASSERT_EQ(g.howManyChains, 1);
  EXPECT_EQ(g.chains[0].head1, 0);
  EXPECT_EQ(g.chains[0].head2, 3);
  EXPECT_EQ(g.chains[0].members, 4);
  EXPECT_EQ(g.node(0).whichChain, 0);
  EXPECT_EQ(g.node(3).whichChain, 0);
  EXPECT_EQ(g.node(1).whichChain, -1);
  EXPECT_EQ(g.node(2).whichChain, -1);
}

// Three chains; merging the first with the last and the middle one with the last in both
// argument orders: the survivor lands in the right slot and undo puts every chain back.
TEST(ChainTest, MergeAndUndoWithTheLastChainMoved) {
  for (int variant = 0; variant < 4; ++variant) {
    Graph g = completeGraph(8);
    g.setUncut(0, 1);  // chain 0
    g.setUncut(2, 3);  // chain 1
    g.setUncut(4, 5);  // chain 2
    const std::string before = testing::snapshot(g);
    ScopedActionList trial(g);
    switch (variant) {
      case 0: g.setUncut(1, 4); break;  // ca 0, cb 2 (cb is the last chain)
      case 1: g.setUncut(4, 1); break;  // ca 2 (the last), cb 0: the survivor moves to 0
      case 2: g.setUncut(3, 0); break;  // ca 1, cb 0: chain 2 moves into slot 0
      case 3: g.setUncut(5, 2); break;  // ca 2, cb 1
    }
    ASSERT_EQ(g.howManyChains, 2) << variant;
    for (int32_t c = 0; c < 2; ++c) {
      const Chain& chain = g.chains[static_cast<size_t>(c)];
      EXPECT_EQ(g.node(chain.head1).whichChain, c) << variant;
      EXPECT_EQ(g.node(chain.head2).whichChain, c) << variant;
    }
    // Drop the queued items the merge made (undo leaves the queue alone).
    testing::drainQueue(g);
    EXPECT_EQ(checkInvariants(g), "") << variant;
    g.undoActions();
    EXPECT_EQ(testing::firstDifference(before, testing::snapshot(g)), "") << "variant " << variant;
    EXPECT_EQ(checkInvariants(g), "") << variant;
  }
}

TEST(ChainTest, ClosingThroughAllNodesIsAHamiltonianCycle) {
  Graph g = makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  g.setUncut(2, 3);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  g.setUncut(3, 0);
  EXPECT_EQ(g.isHamiltonian, kHamiltonian);
  EXPECT_EQ(g.howManyRings, 0);
  EXPECT_EQ(g.chains[0].head1, 3);
  EXPECT_EQ(g.chains[0].head2, 3);
  EXPECT_EQ(g.node(0).whichChain, -1);
  EXPECT_EQ(g.chains[0].isRing, 0);
}

TEST(ChainTest, ClosingAShorterChainIsARing) {
  Graph g = completeGraph(6);
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  g.setUncut(2, 0);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(g.howManyRings, 1);
  EXPECT_EQ(g.chains[0].isRing, 1);
  EXPECT_EQ(g.chains[0].head1, 2);
  EXPECT_EQ(g.chains[0].head2, 2);
}

TEST(ChainTest, AThirdForcedEdgeIsAHubAndLeavesChainsAlone) {
  Graph g = completeGraph(6);
  g.setUncut(0, 1);
  g.setUncut(0, 2);
  const Chain chain = g.chains[0];
  const int32_t chains = g.howManyChains;
  g.setUncut(0, 3);
  EXPECT_EQ(g.node(0).isHub, 1);
  EXPECT_EQ(g.howManyHubs, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(g.howManyChains, chains);
  EXPECT_EQ(g.chains[0].head1, chain.head1);
  EXPECT_EQ(g.chains[0].head2, chain.head2);
  EXPECT_EQ(g.chains[0].members, chain.members);
  EXPECT_EQ(g.node(3).whichChain, -1);
  // A node that is already a hub counts again on every further forced edge.
  g.setUncut(0, 4);
  EXPECT_EQ(g.howManyHubs, 2);
}

TEST(ChainTest, CutForcesTheEdgesOfADegreeTwoEnd) {
  // 0 has neighbours 1, 2, 3; cutting 0-3 leaves 0 at degree 2.
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {3, 4}, {1, 4}, {2, 4}});
  g.cut(0, 3);
  EXPECT_TRUE(g.isUncuttableEdge(0, 1));
  EXPECT_TRUE(g.isUncuttableEdge(0, 2));
  // The chain 1-0-2 has adjacent heads of degree 4: HeadHunter cuts 1-2 as well.
  EXPECT_FALSE(g.isAdjacent(1, 2));
  EXPECT_EQ(g.howManyEdges, 7);
  EXPECT_INVARIANTS(g);

  // Degree 1 left: nothing else happens.
  Graph pendant = makeGraph(5, {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}});
  pendant.cut(0, 2);
  EXPECT_EQ(pendant.howManyUncuttable, 0);
  EXPECT_EQ(pendant.node(0).degree, 1);
  EXPECT_EQ(pendant.howManyEdges, 7);
  EXPECT_INVARIANTS(pendant);
}

TEST(ChainTest, CutAndForceWorksOnTheNodesOnly) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {3, 4}, {1, 4}, {2, 4}});
  g.cutAndForce(0, 3);
  EXPECT_TRUE(g.isUncuttableEdge(0, 1));
  EXPECT_TRUE(g.isUncuttableEdge(0, 2));
  EXPECT_EQ(g.howManyUncuttable, 2);
  EXPECT_EQ(g.howManyChains, 0);
  EXPECT_EQ(g.node(0).whichChain, -1);
  EXPECT_EQ(g.isHamiltonian, kUndecided);

  // A node of degree 3 whose three neighbours all drop to degree 2 becomes a hub.
  Graph star = makeGraph(7, {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 5}, {3, 6}, {1, 5}, {2, 6}, {3, 4}});
  star.cutAndForce(1, 5);
  star.cutAndForce(2, 6);
  EXPECT_EQ(star.isHamiltonian, kUndecided);
  star.cutAndForce(3, 4);
  EXPECT_EQ(star.node(0).isHub, 1);
  EXPECT_EQ(star.howManyHubs, 1);
  EXPECT_EQ(star.isHamiltonian, kNotHamiltonian);
}

TEST(ChainTest, PreconditionMessagesLeaveTheGraphAlone) {
  Graph g = makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}, {0, 2}});
  CapturedDiagnostics out;
  std::string before = testing::snapshot(g);

  g.cut(1, 3);
  EXPECT_EQ(out.text(), "Error: Attempt to cut an edge between non-adjacent nodes 1 and 3.\n");
  EXPECT_EQ(testing::snapshot(g), before);
  out.clear();

  g.cutAndForce(1, 3);
  EXPECT_EQ(out.text(), "Error.  Attempt to do a graph level cut on two nodes which are not adjacent.\n");
  EXPECT_EQ(testing::snapshot(g), before);
  out.clear();

  g.setUncut(1, 3);
  EXPECT_EQ(out.text(), "Error: Attempt to set uncut an edge between non-adjacent nodes 1 and 3.\n");
  g.setUncut(2, 2);
  EXPECT_EQ(testing::snapshot(g), before);
  out.clear();

  g.force(0, 2);
  before = testing::snapshot(g);
  {
    ScopedActionList trial(g);
    out.clear();
    g.setUncut(2, 0);
    EXPECT_EQ(out.text(), "Error: Attempt to set uncut an edge that is already uncuttable between nodes 2 and 0.\n");
    EXPECT_EQ(trial.list().count(), 0) << "nothing recorded";
  }
  EXPECT_EQ(testing::snapshot(g), before);
  EXPECT_EQ(g.isHamiltonian, kUndecided) << "forcing a forced edge again is no ring of two";
}

TEST(ChainTest, ExtendChainFromANodeAtNeitherEndSaysSo) {
  Graph g = completeGraph(6);
  g.setUncut(0, 1);
  g.node(2).whichChain = 0;  // broken on purpose: 2 claims chain 0 but is no end of it
  CapturedDiagnostics out;
  g.extendChain(2, 3);
  EXPECT_EQ(out.text(), "In extendChain. This should never happen.\n");
  EXPECT_EQ(g.chains[0].head1, 0);
  EXPECT_EQ(g.chains[0].head2, 1);
}

TEST(ChainTest, SimulateForceOnADecidedGraphSaysSoAndEndsUndecided) {
  Graph g = completeGraph(6);
  g.force(0, 1);
  g.isHamiltonian = kNotHamiltonian;
  CapturedDiagnostics out;
  g.simulateForce(2, 3);
  EXPECT_EQ(out.text(), "Error: At top of simulate force but isHamiltonian = 0\n");
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_INVARIANTS(g);
}

}  // namespace
}  // namespace hc
