// The pruning queue: what the chain operations queue and in which order, and a comparison
// of the engine's queue processing with the straightforward re-entrant formulation (each
// cut runs the whole queue before its item goes on), which must give the very same cuts
// and the very same random draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::drainQueue;
using testing::makeGraph;

TEST(PruningQueueTest, ExtendingAChainQueuesLightningThenBothHeads) {
  // Chain 0-1-2 (node 1 of degree 2 queues nothing); 0 and 3 adjacent, every other degree > 2.
  Graph g = makeGraph(6, {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {2, 4}, {2, 5}, {3, 5}, {4, 5}});
  g.setUncut(0, 1);
  g.setUncut(1, 2);
  ASSERT_TRUE(g.pruningQueue.empty());
  g.setUncut(2, 3);
  EXPECT_EQ(std::vector<int16_t>({g.node(2).inLightningQueue, g.node(0).inHeadHunterQueue, g.node(3).inHeadHunterQueue}),
            std::vector<int16_t>({1, 1, 1}));
  std::vector<std::pair<int32_t, int16_t>> expected{{2, 0}, {0, 1}, {3, 1}};
  EXPECT_EQ(drainQueue(g), expected);
}

// --- the re-entrant formulation, built from the graph's public steps ---

void referenceProcess(Graph& g);

void referenceCut(Graph& g, int32_t a, int32_t b) {
  if (!g.isAdjacent(a, b)) return;
  Node::cut(g.node(a), g.node(b), 0);
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
      const auto cuttable = [&](int32_t u) { return !v.isForcedNeighbor(u) && g.node(u).degree > 2; };
      // A random pick first; when it cannot be cut, the loop ends only if no neighbour can.
      while (v.howManyUncuttable == 2 && v.degree > 2 && g.isHamiltonian != kNotHamiltonian) {
        const int32_t r = v.findRandomCuttableNeighbor();
        if (r != -1 && g.node(r).degree > 2)
          referenceCut(g, v.id, r);
        else if (!std::any_of(v.neighborArray, v.neighborArray + v.degree, cuttable))
          break;
      }
    } else {
      v.inHeadHunterQueue = 0;
      if (v.whichChain == -1) continue;
      const Chain& chain = g.chains[static_cast<size_t>(v.whichChain)];
      if (chain.members >= 3 && chain.members < g.howManyNodes && g.isAdjacent(chain.head1, chain.head2))
        referenceCut(g, chain.head1, chain.head2);
    }
  }
  drainQueue(g);
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
      doForce ? engine.force(a, b) : engine.cut(a, b);
      const std::string engineState = testing::snapshot(engine) + std::to_string(randomState());
      seedRandom(draw);
      if (doForce) {
        reference.setUncut(a, b);
        referenceProcess(reference);
      } else {
        referenceCut(reference, a, b);
      }
      ASSERT_EQ(engineState, testing::snapshot(reference) + std::to_string(randomState())) << "seed " << seed << " n " << n << " after" << trace;
      if (edgesBefore - engine.howManyEdges > 2) ++cascades;
    }
  }
  EXPECT_GT(cascades, 100) << "the random graphs should exercise real cascades";
}

}  // namespace
}  // namespace hc
