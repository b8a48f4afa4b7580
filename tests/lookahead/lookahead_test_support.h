// Helpers shared by the look-ahead and Stone Carver tests: small graphs and a brute-force
// Hamiltonian cycle enumeration that shares nothing with the solver, as the reference
// answer on small graphs.
#pragma once

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "support/test_graphs.h"

namespace hc::testing {

inline EdgeList cycleEdges(int32_t n) { return cycleEdges(0, n); }

// Outer 5-cycle 0..4, spokes i - i+5, inner pentagram.
inline EdgeList petersenEdges() {
  EdgeList e;
  for (int32_t i = 0; i < 5; ++i) {
    e.emplace_back(i, (i + 1) % 5);
    e.emplace_back(i, i + 5);
    e.emplace_back(5 + i, 5 + (i + 2) % 5);
  }
  return e;
}

// Two triangles 0-1-2 and 3-4-5 joined by the rungs 0-3, 1-4, 2-5.
inline EdgeList prismEdges() { return {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}; }

// Every Hamiltonian cycle of the current edges of g, each as its set of edges (a < b).
// Exhaustive: small graphs only.
inline std::vector<std::set<std::pair<int32_t, int32_t>>> allHamiltonianCycles(const Graph& g) {
  const int32_t n = g.howManyNodes;
  std::vector<std::vector<int32_t>> adj(static_cast<size_t>(n));
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = g.node(v);
    adj[static_cast<size_t>(v)].assign(node.neighborArray, node.neighborArray + node.degree);
  }
  std::vector<std::set<std::pair<int32_t, int32_t>>> cycles;
  if (n < 3) return cycles;
  std::vector<int32_t> path{0};
  std::vector<char> used(static_cast<size_t>(n), 0);
  used[0] = 1;
  auto edge = [](int32_t a, int32_t b) { return a < b ? std::make_pair(a, b) : std::make_pair(b, a); };
  auto extend = [&](auto&& self) -> void {
    const int32_t end = path.back();
    if (static_cast<int32_t>(path.size()) == n) {
      for (int32_t u : adj[static_cast<size_t>(end)]) {
        // Each cycle is met in two directions; keep the one whose second node is smaller.
        if (u == 0 && path[1] < path.back()) {
          std::set<std::pair<int32_t, int32_t>> cycle;
          for (size_t k = 0; k < path.size(); ++k) cycle.insert(edge(path[k], path[(k + 1) % path.size()]));
          cycles.push_back(std::move(cycle));
        }
      }
      return;
    }
    for (int32_t u : adj[static_cast<size_t>(end)]) {
      if (used[static_cast<size_t>(u)] != 0) continue;
      used[static_cast<size_t>(u)] = 1;
      path.push_back(u);
      self(self);
      path.pop_back();
      used[static_cast<size_t>(u)] = 0;
    }
  };
  extend(extend);
  return cycles;
}

}  // namespace hc::testing
