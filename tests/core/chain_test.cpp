// The incremental model: chains built, extended, merged and closed by setUncut; hub and
// ring detection; degree-two forcing after a cut; the scan-model cutAndForce; messages.
// Head and member bookkeeping of undecided graphs is left to the invariant checker.
#include <gtest/gtest.h>

#include "core_test_support.h"

namespace hc {
namespace {

using testing::CapturedDiagnostics;
using testing::chainList;
using testing::completeGraph;
using testing::makeGraph;

TEST(ChainTest, ForcedEdgesGrowMergeAndCloseChains) {
  struct Case {
    int32_t n;
    testing::EdgeList forced;
    const char* chains;
    HamiltonicityState verdict;
    int32_t hubs;
    int32_t rings;
  };
  const Case cases[] = {
      {6, {{0, 1}, {1, 2}, {2, 3}}, "0-3:4", kUndecided, 0, 0},
      {6, {{2, 3}, {0, 1}}, "2-3:2 0-1:2", kUndecided, 0, 0},
      {6, {{2, 3}, {0, 1}, {1, 2}}, "0-3:4", kUndecided, 0, 0},
      {6, {{0, 1}, {1, 2}, {2, 0}}, "2-2:3R", kNotHamiltonian, 0, 1},
      {4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}, "3-3:4", kHamiltonian, 0, 0},
      // A third forced edge makes a hub and leaves the chains alone; each further one counts.
      {6, {{0, 1}, {0, 2}, {0, 3}}, "2-1:3", kNotHamiltonian, 1, 0},
      {6, {{0, 1}, {0, 2}, {0, 3}, {0, 4}}, "2-1:3", kNotHamiltonian, 2, 0},
  };
  for (const Case& c : cases) {
    Graph g = completeGraph(c.n);
    for (auto [a, b] : c.forced) g.setUncut(a, b);
    SCOPED_TRACE(c.chains);
    EXPECT_EQ(chainList(g), c.chains);
    EXPECT_EQ(std::vector<int32_t>({g.isHamiltonian, g.howManyHubs, g.howManyRings}),
              std::vector<int32_t>({c.verdict, c.hubs, c.rings}));
    EXPECT_EQ(g.howManyUncuttable, static_cast<int32_t>(c.forced.size()));
    testing::drainQueue(g);
    EXPECT_EQ(g.isHamiltonian == kUndecided ? checkInvariants(g) : "", "");
  }
}

// Three chains; merging the first with the last and the middle one with the last in both
// argument orders: the survivor lands in the right slot and undo puts every chain back.
TEST(ChainTest, MergeAndUndoWithTheLastChainMoved) {
  const testing::EdgeList merges{{1, 4}, {4, 1}, {3, 0}, {5, 2}};
  const char* expected[] = {"0-5:4 2-3:2", "0-5:4 2-3:2", "4-5:2 2-1:4", "0-1:2 4-3:4"};
  for (size_t variant = 0; variant < merges.size(); ++variant) {
    Graph g = completeGraph(8);
    g.setUncut(0, 1);
    g.setUncut(2, 3);
    g.setUncut(4, 5);
    const std::string before = testing::snapshot(g);
    ScopedActionList trial(g);
    g.setUncut(merges[variant].first, merges[variant].second);
    EXPECT_EQ(chainList(g), expected[variant]) << variant;
    testing::drainQueue(g);  // undo leaves the queue alone
    EXPECT_EQ(checkInvariants(g), "") << variant;
    g.undoActions();
    EXPECT_EQ(testing::snapshot(g), before) << "variant " << variant;
  }
}

TEST(ChainTest, CutForcesADegreeTwoEndButCutAndForceWorksOnTheNodesOnly) {
  // 0 has neighbours 1, 2, 3; cutting 0-3 leaves 0 at degree 2.
  const testing::EdgeList edges{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {3, 4}, {1, 4}, {2, 4}};
  Graph g = makeGraph(5, edges);
  g.cut(0, 3);
  EXPECT_TRUE(g.isUncuttableEdge(0, 1) && g.isUncuttableEdge(0, 2));
  EXPECT_FALSE(g.isAdjacent(1, 2)) << "the chain 1-0-2 has adjacent heads: HeadHunter cuts 1-2";
  EXPECT_EQ(g.howManyEdges, 7);
  EXPECT_EQ(checkInvariants(g), "");

  Graph scan = makeGraph(5, edges);
  scan.cutAndForce(0, 3);
  EXPECT_TRUE(scan.isUncuttableEdge(0, 1) && scan.isUncuttableEdge(0, 2));
  EXPECT_EQ(std::pair(scan.howManyUncuttable, scan.howManyEdges), std::pair(2, 8));
  EXPECT_EQ(chainList(scan), "") << "no chains, no pruning";

  // A node of degree 3 whose three neighbours all drop to degree 2 becomes a hub.
  Graph star = makeGraph(7, {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 5}, {3, 6}, {1, 5}, {2, 6}, {3, 4}});
  star.cutAndForce(1, 5);
  star.cutAndForce(2, 6);
  EXPECT_EQ(star.isHamiltonian, kUndecided);
  star.cutAndForce(3, 4);
  EXPECT_EQ(std::pair(star.howManyHubs, star.isHamiltonian), std::pair(1, kNotHamiltonian));
}

TEST(ChainTest, PreconditionMessagesLeaveTheGraphAlone) {
  Graph g = makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}, {0, 2}});
  CapturedDiagnostics out;
  std::string before = testing::snapshot(g);
  g.cut(1, 3);
  g.cutAndForce(1, 3);
  g.setUncut(1, 3);
  EXPECT_EQ(testing::snapshot(g), before);
  g.force(0, 2);
  before = testing::snapshot(g);
  {
    ScopedActionList trial(g);
    g.setUncut(2, 0);
    EXPECT_EQ(trial.list().count(), 0) << "nothing recorded";
  }
  EXPECT_EQ(testing::snapshot(g), before);
  EXPECT_EQ(g.isHamiltonian, kUndecided) << "forcing a forced edge again is no ring of two";
  Graph broken = completeGraph(6);
  broken.setUncut(0, 1);
  broken.node(2).whichChain = 0;  // broken on purpose: 2 claims chain 0 but is no end of it
  broken.extendChain(2, 3);
  EXPECT_EQ(chainList(broken), "0-1:3");
  Graph decided = completeGraph(6);
  decided.force(0, 1);
  decided.isHamiltonian = kNotHamiltonian;
  decided.simulateForce(2, 3);
  EXPECT_EQ(decided.isHamiltonian, kUndecided);
  EXPECT_EQ(checkInvariants(decided), "");
  EXPECT_EQ(out.text(),
            "Error: Attempt to cut an edge between non-adjacent nodes 1 and 3.\n"
            "Error.  Attempt to do a graph level cut on two nodes which are not adjacent.\n"
            "Error: Attempt to set uncut an edge between non-adjacent nodes 1 and 3.\n"
            "Error: Attempt to set uncut an edge that is already uncuttable between nodes 2 and 0.\n"
            "In extendChain. This should never happen.\n"
            "Error: At top of simulate force but isHamiltonian = 0\n");
}

}  // namespace
}  // namespace hc
