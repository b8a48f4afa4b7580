// Small hand-built graphs and independent reference answers for the check tests. The
// reference functions share no code with the checks (neighbour arrays read directly, BFS, brute
// force), so a fault in a check cannot hide in its reference.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/graph.h"
#include "support/test_graphs.h"

namespace hc::testing {

// Nodes reached from `start` avoiding `removed`, breadth first.
inline int32_t reachable(const Graph& g, int32_t start, int32_t removed) {
  std::vector<char> seen(g.nodes.size(), 0);
  std::vector<int32_t> reached{start};
  seen[static_cast<size_t>(start)] = 1;
  for (size_t k = 0; k < reached.size(); ++k)
    for (int32_t w : neighbourList(g, reached[k]))
      if (w != removed && !seen[static_cast<size_t>(w)])
        seen[static_cast<size_t>(w)] = 1, reached.push_back(w);
  return static_cast<int32_t>(reached.size());
}

// Connected, and still connected without any single node (one node counts as biconnected).
inline bool referenceBiconnected(const Graph& g) {
  const int32_t n = g.howManyNodes;
  if (n == 0 || reachable(g, 0, -1) != n) return false;
  for (int32_t v = 0; v < n && n > 2; ++v)
    if (reachable(g, v == 0 ? 1 : 0, v) != n - 1) return false;
  return true;
}

inline bool referenceHamiltonian(const Graph& g) {
  return hasHamiltonianCycle(g.howManyNodes, currentEdges(g));
}

inline bool allMarksZero(const Graph& g) {
  return std::ranges::all_of(g.nodes, [](const Node& n) { return n.mark == 0; });
}

}  // namespace hc::testing
