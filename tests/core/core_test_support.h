// Helpers shared by the solver-graph tests: random graphs with cascades, the unforced
// edges, and draining the queue.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "core/graph_invariants.h"
#include "support/test_graphs.h"

namespace hc::testing {

// K(n): every degree stays high, so forcing a few edges starts no degree-2 cascade.
inline Graph completeGraph(int32_t n) { return makeGraph(n, completeEdges(0, n)); }

// A random graph on n nodes whose average degree is about `degree`, with every node
// joined to at least two others (so cuts soon bring nodes to degree 2 and start cascades).
inline Graph makeRandomGraph(std::mt19937& rng, int32_t n, double degree) {
  Graph graph(n, 1);
  EdgeSet joined;
  auto add = [&](int32_t a, int32_t b) {
    if (a != b && joined.emplace(std::min(a, b), std::max(a, b)).second) graph.addEdge(a, b);
  };
  for (int32_t v = 0; v < n; ++v) add(v, (v + 1) % n);  // a ring keeps every degree at 2 or more
  std::bernoulli_distribution coin(std::max(0.0, (degree - 2.0) / std::max(1, n - 1)));
  for (int32_t a = 0; a < n; ++a)
    for (int32_t b = a + 1; b < n; ++b)
      if (coin(rng)) add(a, b);
  graph.finishConstruction();
  return graph;
}

// The unforced edges a-b (a < b) of a graph, in node and array order.
inline EdgeList unforcedEdges(const Graph& g) {
  EdgeList edges;
  for (const Node& n : g.nodes) {
    for (int32_t i = 0; i < n.degree; ++i) {
      int32_t u = n.neighborArray[i];
      if (n.id < u && !n.isForcedNeighbor(u) && !g.node(u).isForcedNeighbor(n.id)) edges.emplace_back(n.id, u);
    }
  }
  return edges;
}

// Empties the pruning queue without processing it, clearing the queued flags; returns the
// (node, type) items in queue order.
inline std::vector<std::pair<int32_t, int16_t>> drainQueue(Graph& g) {
  std::vector<std::pair<int32_t, int16_t>> items;
  while (!g.pruningQueue.empty()) {
    PruningItem item = g.pruningQueue.pop();
    items.emplace_back(item.id, item.Type);
    g.node(item.id).inLightningQueue = 0;
    g.node(item.id).inHeadHunterQueue = 0;
  }
  return items;
}

}  // namespace hc::testing
