// The drawing conversion builds the same solver graph from rows of each node's own length
// as from rows padded to the highest degree, on random drawings (stars included).
#include <gtest/gtest.h>

#include <random>

#include "core/graph.h"
#include "editor/drawing_conversion.h"
#include "editor_test_util.h"

namespace hc {
namespace {

TEST(CompactConversion, SameGraphAsPaddedRows) {
  std::mt19937 rng(99);
  for (int trial = 0; trial < 40; ++trial) {
    Graph2D drawing;
    const int n = 1 + static_cast<int>(rng() % 30);
    std::vector<Graph2DNode*> nodes;
    for (int i = 0; i < n; ++i) nodes.push_back(editor_test::addUnselected(drawing, 3.0 * i, 0));
    std::vector<std::vector<bool>> joined(n, std::vector<bool>(n, false));
    const int hub = trial % 2 == 0 ? 0 : -1;  // every other drawing leans on a star centre
    for (int k = 0; k < 3 * n; ++k) {
      const int a = hub >= 0 && k % 2 == 0 ? hub : static_cast<int>(rng() % n);
      const int b = static_cast<int>(rng() % n);
      if (a == b || joined[a][b]) continue;
      joined[a][b] = joined[b][a] = true;
      drawing.joinNodes(nodes[a], nodes[b]);
    }
    const Graph compact = convertDrawingToGraph(drawing, "x");
    size_t maxDegree = 0;
    for (Graph2DNode* node : nodes) maxDegree = std::max(maxDegree, node->edges.size());
    std::vector<int32_t> rows(n * maxDegree, -1);
    for (Graph2DNode* node : nodes)
      for (size_t k = 0; k < node->edges.size(); ++k)
        rows[node->id * maxDegree + k] = node->edges[k]->otherEnd(node)->id;
    const Graph padded(rows, n, static_cast<int32_t>(maxDegree), 5, "x");
    ASSERT_EQ(compact.howManyEdges, padded.howManyEdges);
    for (int32_t v = 0; v < n; ++v) {
      const Node& c = compact.node(v);
      const Node& p = padded.node(v);
      EXPECT_EQ(std::vector<int32_t>(c.neighborArray, c.neighborArray + c.degree),
                std::vector<int32_t>(p.neighborArray, p.neighborArray + p.degree));
    }
  }
}

}  // namespace
}  // namespace hc
