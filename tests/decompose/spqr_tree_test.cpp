// The SPQR tree against brute force: on random graphs glued from pieces, the 2-node
// separators it implies (the ends of every virtual edge, and every two non-adjacent nodes of
// a polygon) are exactly the pairs whose removal disconnects the graph, and the tree passes
// its own check.
#include <gtest/gtest.h>

#include <set>

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
    if (node.kind != SkeletonKind::Polygon) continue;
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
  for (int32_t round = 0; round < 3000; ++round) {
    const PartGraph g = gluedGraph(rng, 4 + round % 40);
    if (!isBiconnected(g)) continue;
    SpqrTree tree;
    const StopToken never;
    ASSERT_TRUE(buildSpqrTree(g, never, tree)) << "round " << round;
    const std::set<Pair> expected = separatorsByBruteForce(g);
    ASSERT_EQ(separatorsOfTree(tree), expected) << "round " << round << ", " << g.nodeCount << " nodes";
    ++checked;
    withPairs += !expected.empty();
  }
  EXPECT_GT(checked, 2000);
  EXPECT_GT(withPairs, 1500);
}

}  // namespace
}  // namespace hc::testing
