// The two splitting structures against brute force. The SPQR tree: on random graphs glued
// from pieces, it is built exactly when the graph is biconnected, and the 2-node separators
// it implies (the ends of every virtual edge, and every two non-adjacent nodes of a polygon)
// are exactly the pairs whose removal disconnects the graph. The 3-edge cuts: on cubic pieces joined by
// 3-edge cuts, with no bound on the small side, exactly the sets of three edges whose removal leaves two
// sides of two nodes or more.
#include <gtest/gtest.h>

#include <set>

#include "decompose/three_edge_cuts.h"
#include "decompose/triconnected_components.h"
#include "decompose_test_graphs.h"

namespace hc::testing {
namespace {

using Pair = std::pair<int32_t, int32_t>;

std::set<Pair> separatorsByBruteForce(const PartGraph& g) {
  std::set<Pair> pairs;
  for (int32_t x = 0; x < g.nodeCount; ++x)
    for (int32_t y = x + 1; y < g.nodeCount; ++y)
      if (componentsWithout(g, {x, y}) >= 2) pairs.emplace(x, y);
  return pairs;
}

std::set<Pair> separatorsOfTree(const SpqrTree& tree) {
  std::set<Pair> pairs;
  for (size_t e = static_cast<size_t>(tree.realEdgeCount); e < tree.edgeA.size(); ++e)
    pairs.emplace(std::minmax(tree.edgeA[e], tree.edgeB[e]));
  for (const SpqrNode& node : tree.nodes) {
    if (node.kind != SkeletonKind::kPolygon) continue;
    std::set<int32_t> ends;
    std::set<Pair> sides;
    for (int32_t e : node.edges) {
      ends.insert(tree.edgeA[static_cast<size_t>(e)]);
      ends.insert(tree.edgeB[static_cast<size_t>(e)]);
      sides.emplace(std::minmax(tree.edgeA[static_cast<size_t>(e)], tree.edgeB[static_cast<size_t>(e)]));
    }
    for (int32_t x : ends)
      for (int32_t y : ends)
        if (x < y && !sides.count({x, y})) pairs.emplace(x, y);
  }
  return pairs;
}

TEST(SpqrTree, ItsSeparatorsAreExactlyThePairsThatDisconnect) {
  std::mt19937 rng(20260301);
  int32_t checked = 0;
  int32_t withPairs = 0;
  for (int32_t round = 0; round < 1500; ++round) {
    const PartGraph g = gluedGraph(rng, 4 + round % 30);
    bool biconnected = componentsWithout(g, {}) == 1;
    for (int32_t x = 0; x < g.nodeCount && biconnected; ++x) biconnected = componentsWithout(g, {x}) == 1;
    SpqrTree tree;
    const SpqrStatus status = buildSpqrTree(g, StopToken{}, tree);
    ASSERT_EQ(status, biconnected ? SpqrStatus::kBuilt : SpqrStatus::kNotBiconnected) << "round " << round;
    if (!biconnected) continue;
    const std::set<Pair> expected = separatorsByBruteForce(g);
    ASSERT_EQ(separatorsOfTree(tree), expected) << "round " << round << ", " << g.nodeCount << " nodes";
    ++checked;
    withPairs += !expected.empty();
  }
  EXPECT_GT(checked, 1000);
  EXPECT_GT(withPairs, 800);
}

TEST(ThreeEdgeCuts, AreExactlyTheCutsOfThreeEdges) {
  std::mt19937 rng(20260303);
  int32_t withCuts = 0;
  for (int32_t round = 0; round < 600; ++round) {
    const PartGraph g = round % 4 == 0 ? relabelled(rng, randomRegularEdges(rng, 6 + 2 * (round % 5), 3))
                                       : cutFragmentsGraph(rng, 2 + round % 2);
    const int32_t n = g.nodeCount;
    if (n > 16) continue;
    std::set<std::array<int32_t, 3>> expected;
    bool threeEdgeConnected = true;
    for (uint32_t mask = 2; mask < (1u << n) - 1 && threeEdgeConnected; mask += 2) {  // sides without node 0
      std::vector<int32_t> leaving;
      for (size_t e = 0; e < g.edges.size(); ++e)
        if ((mask >> g.edges[e].a & 1u) != (mask >> g.edges[e].b & 1u))
          leaving.push_back(static_cast<int32_t>(e));
      threeEdgeConnected = leaving.size() >= 3;
      const int32_t inside = __builtin_popcount(mask);
      if (leaving.size() == 3 && inside >= 2 && n - inside >= 2)
        expected.insert({leaving[0], leaving[1], leaving[2]});
    }
    if (!threeEdgeConnected) continue;
    std::set<std::array<int32_t, 3>> found;
    for (const ThreeEdgeCut& cut : findThreeEdgeCuts(g, n, StopToken{})) found.insert(cut.edges);
    ASSERT_EQ(found, expected) << "round " << round;
    withCuts += !expected.empty();
  }
  EXPECT_GT(withCuts, 300);
}

}  // namespace
}  // namespace hc::testing
