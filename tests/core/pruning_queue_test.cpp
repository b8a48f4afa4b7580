// The pruning queue: what the chain operations queue and in which order, what Lightning
// and HeadHunter items cut, and a comparison of the engine's queue processing with the
// straightforward re-entrant formulation (each cut runs the whole queue before its item
// goes on), which must give the very same cuts and the very same random draws.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::makeGraph;

using testing::drainQueue;

TEST(PruningQueueTest, ExtendingAChainQueuesLightningThenBothHeads) {
  // Chain 0-1-2 (node 1 of degree 2 queues nothing); 0 and 3 adjacent, every other degree > 2.
  Graph g = makeGraph(6, {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {2, 4}, {2, 5}, {3, 5}, {4, 5}});
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  ASSERT_TRUE(g.pruningQueue.empty());
  g.setUncut(2, 3);
  EXPECT_EQ(g.node(2).inLightningQueue, 1);
  EXPECT_EQ(g.node(0).inHeadHunterQueue, 1);
  EXPECT_EQ(g.node(3).inHeadHunterQueue, 1);
  std::vector<std::pair<int32_t, int16_t>> expected{{2, 0}, {0, 1}, {3, 1}};
  EXPECT_EQ(drainQueue(g), expected);
}

TEST(PruningQueueTest, ProcessingEmptiesTheQueueAndKeepsInvariants) {
  Graph g = makeGraph(6, {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {2, 4}, {2, 5}, {3, 5}, {4, 5}});
  g.force(0, 1);
  g.force(1, 2);
  g.force(2, 3);
  EXPECT_TRUE(g.pruningQueue.empty());
  // Lightning at 2 cut both of 2's unforced edges; the cascade also removed 0-3.
  EXPECT_EQ(g.node(2).degree, 2);
  EXPECT_FALSE(g.isAdjacent(0, 3));
  if (g.isHamiltonian == kUndecided) EXPECT_INVARIANTS(g);
}

TEST(PruningQueueTest, HeadHunterCutsOnlyChainsShorterThanTheGraph) {
  Graph g = makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {3, 4}, {4, 0}, {4, 1}, {4, 2}});
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  drainQueue(g);  // a chain 0-1-2 with adjacent heads 0 and 2
  g.pruningQueue.push(0, PruningQueue::kHeadHunter);
  g.node(0).inHeadHunterQueue = 1;
  g.processPruningQueue();
  EXPECT_FALSE(g.isAdjacent(0, 2));

  // A chain through every node: its heads' edge closes the cycle and stays.
  Graph c = makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}});
  c.setUncut(0, 1);
  c.setUncut(1, 2);
  c.setUncut(2, 3);
  drainQueue(c);
  ASSERT_EQ(c.chains[0].members, 4);
  c.pruningQueue.push(3, PruningQueue::kHeadHunter);
  c.node(3).inHeadHunterQueue = 1;
  c.processPruningQueue();
  EXPECT_TRUE(c.isAdjacent(0, 3));
  EXPECT_TRUE(c.pruningQueue.empty());
  EXPECT_EQ(c.node(3).inHeadHunterQueue, 0);
}

TEST(PruningQueueTest, LightningStillRunsAfterTheCycleCloses) {
  Graph g = makeGraph(4, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}});
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  g.setUncut(2, 3);
  g.setUncut(3, 0);
  ASSERT_EQ(g.isHamiltonian, kHamiltonian);
  g.processPruningQueue();
  EXPECT_EQ(g.howManyEdges, 4);
  for (const Node& n : g.nodes) EXPECT_EQ(n.degree, 2) << n.id;
  EXPECT_FALSE(g.isAdjacent(0, 2));
  EXPECT_FALSE(g.isAdjacent(1, 3));
  EXPECT_TRUE(g.pruningQueue.empty());
  for (const Node& n : g.nodes) EXPECT_EQ(n.inLightningQueue + n.inHeadHunterQueue, 0);
}

TEST(PruningQueueTest, ForcingTheSecondEdgeOfADegreeFourNodeCutsTheOthers) {
  // 0 has neighbours 1..4; 4 has degree 3, so losing 0-4 brings it to degree 2.
  Graph g = makeGraph(7, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {2, 3}, {3, 1}, {4, 5}, {4, 6}, {5, 6}, {1, 5},
                          {3, 6}, {2, 5}});
  g.force(0, 1);
  g.force(0, 2);
  EXPECT_EQ(g.node(0).degree, 2);
  EXPECT_FALSE(g.isAdjacent(0, 3));
  EXPECT_FALSE(g.isAdjacent(0, 4));
  EXPECT_TRUE(g.isUncuttableEdge(4, 5));
  EXPECT_TRUE(g.isUncuttableEdge(4, 6));
  if (g.isHamiltonian == kUndecided) EXPECT_INVARIANTS(g);
}

TEST(PruningQueueTest, ANonHamiltonianGraphDropsWhatIsLeft) {
  Graph g = makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}, {0, 2}, {1, 3}, {2, 4}});
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  ASSERT_FALSE(g.pruningQueue.empty());
  g.isHamiltonian = kNotHamiltonian;
  const int32_t edges = g.howManyEdges;
  g.processPruningQueue();
  EXPECT_EQ(g.howManyEdges, edges) << "nothing is cut once the graph is non-Hamiltonian";
  EXPECT_TRUE(g.pruningQueue.empty());
  for (const Node& n : g.nodes) EXPECT_EQ(n.inLightningQueue + n.inHeadHunterQueue, 0) << n.id;
}

TEST(PruningQueueTest, NothingQueuedReturnsAtOnce) {
  Graph g = makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
  const std::string before = testing::snapshot(g, true);
  g.processPruningQueue();
  EXPECT_EQ(testing::snapshot(g, true), before);
}

// --- the re-entrant formulation, built from the graph's public steps ---

void referenceProcess(Graph& g);

void referenceCut(Graph& g, int32_t a, int32_t b) {
  Node& na = g.node(a);
  Node& nb = g.node(b);
  if (!Node::isAdjacent(na, nb)) return;
  if (g.actionList) g.actionList->append(kActionCut, a, b, na.findNeighborIndex(b), nb.findNeighborIndex(a));
  Node::cut(na, nb, 0);
  --g.howManyEdges;
  g.forceDegreeTwo(a);
  g.forceDegreeTwo(b);
  referenceProcess(g);
}

void referenceProcess(Graph& g) {
  while (!g.pruningQueue.empty() && g.isHamiltonian != kNotHamiltonian) {
    PruningItem item = g.pruningQueue.pop();
    Node& v = g.node(item.id);
    if (item.Type == PruningQueue::kLightning) {
      v.inLightningQueue = 0;
      while (v.howManyUncuttable == 2) {
        if (v.degree < 3 || g.isHamiltonian == kNotHamiltonian) break;
        int32_t r = v.findRandomCuttableNeighbor();
        if (r != -1 && v.degree > 2 && g.node(r).degree > 2 && g.isAdjacent(v.id, r)) {
          referenceCut(g, v.id, r);
          continue;
        }
        bool candidateLeft = false;
        for (int32_t i = 0; i < v.degree; ++i) {
          int32_t u = v.neighborArray[i];
          candidateLeft = candidateLeft || (!v.isForcedNeighbor(u) && g.node(u).degree > 2);
        }
        if (!candidateLeft) break;
      }
    } else {
      v.inHeadHunterQueue = 0;
      if (v.whichChain != -1) {
        const Chain& chain = g.chains[static_cast<size_t>(v.whichChain)];
        if (chain.members >= 3 && chain.members < g.howManyNodes && g.isAdjacent(chain.head1, chain.head2)) {
          referenceCut(g, chain.head1, chain.head2);
        }
      }
    }
  }
  while (!g.pruningQueue.empty()) {
    PruningItem item = g.pruningQueue.pop();
    g.node(item.id).inLightningQueue = 0;
    g.node(item.id).inHeadHunterQueue = 0;
  }
}

TEST(PruningQueueTest, SameCutsAndDrawsAsTheReentrantFormulation) {
  int cascades = 0;
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    std::mt19937 rng(seed);
    int32_t n = 8 + static_cast<int32_t>(rng() % 40);
    Graph engine = testing::makeRandomGraph(rng, n, 3.0 + (rng() % 30) / 10.0);
    Graph reference(engine);
    std::string trace;
    for (int step = 0; step < 4 * n && engine.isHamiltonian == kUndecided; ++step) {
      testing::EdgeList edges = testing::unforcedEdges(engine);
      if (edges.empty()) break;
      auto [a, b] = edges[rng() % edges.size()];
      bool doForce = rng() % 2 == 0;
      trace += (doForce ? " force " : " cut ") + std::to_string(a) + "-" + std::to_string(b);
      uint32_t draw = static_cast<uint32_t>(rng());
      int32_t edgesBefore = engine.howManyEdges;
      seedRandom(draw);
      if (doForce) {
        engine.force(a, b);
      } else {
        engine.cut(a, b);
      }
      const std::string engineState = testing::snapshot(engine, true);
      seedRandom(draw);
      if (doForce) {
        reference.setUncut(a, b);
        referenceProcess(reference);
      } else {
        referenceCut(reference, a, b);
      }
      const std::string referenceState = testing::snapshot(reference, true);
      ASSERT_EQ(testing::firstDifference(referenceState, engineState), "")
          << "seed " << seed << " n " << n << " after" << trace;
      if (edgesBefore - engine.howManyEdges > 2) ++cascades;
    }
  }
  EXPECT_GT(cascades, 100) << "the random graphs should exercise real cascades";
}

}  // namespace
}  // namespace hc
