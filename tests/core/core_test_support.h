// Helpers shared by the solver-graph tests: random graphs with cascades, the unforced
// edges, and draining the queue.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "core/graph.h"
#include "core/graph_invariants.h"
#include "support/test_graphs.h"

namespace hc::testing {

// A random graph on n nodes whose average degree is about `degree`: a ring (so cuts soon
// bring nodes to degree 2 and start cascades) and random chords, in shuffled order.
inline Graph makeRandomGraph(std::mt19937& rng, int32_t n, double degree) {
  EdgeList edges = cycleEdges(0, n);
  for (auto [a, b] : randomEdges(rng, n, std::max(0.0, (degree - 2.0) / std::max(1, n - 1))))
    if (b != a + 1 && !(a == 0 && b == n - 1)) edges.emplace_back(a, b);
  return makeGraph(n, edges);
}

// The unforced edges a-b (a < b) of a graph, in ascending order.
inline EdgeList unforcedEdges(const Graph& g) {
  EdgeList edges;
  for (auto [a, b] : currentEdges(g))
    if (!g.node(a).isForcedNeighbor(b) && !g.node(b).isForcedNeighbor(a)) edges.emplace_back(a, b);
  return edges;
}

// Empties the pruning queue without processing it, clearing the queued flags; returns the
// items in queue order as "2L 0H" (Lightning for 2, then HeadHunter for 0).
inline std::string drainQueue(Graph& g) {
  std::string items;
  while (!g.pruningQueue.empty()) {
    const PruningItem item = g.pruningQueue.pop();
    items += (items.empty() ? "" : " ") + std::to_string(item.id);
    items += item.Type == PruningQueue::kLightning ? "L" : "H";
    g.node(item.id).inLightningQueue = 0;
    g.node(item.id).inHeadHunterQueue = 0;
  }
  return items;
}

}  // namespace hc::testing
