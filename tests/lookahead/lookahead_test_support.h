// Helpers shared by the look-ahead and Stone Carver tests: small graphs, random graphs the
// initial pruning leaves open, and a brute-force Hamiltonian cycle enumeration that shares
// nothing with the solver, as the reference answer on small graphs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "schc/stone_carver.h"
#include "support/test_graphs.h"

namespace hc::testing {

inline EdgeList cycleEdges(int32_t n) { return cycleEdges(0, n); }

// Two triangles 0-1-2 and 3-4-5 joined by the rungs 0-3, 1-4, 2-5.
inline EdgeList prismEdges() { return {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}; }

// Every Hamiltonian cycle of the current edges of g, each as its set of edges (a < b).
// Exhaustive: small graphs only.
inline std::vector<EdgeSet> allHamiltonianCycles(const Graph& g) {
  const int32_t n = g.howManyNodes;
  std::vector<EdgeSet> cycles;
  if (n < 3) return cycles;
  std::vector<int32_t> path{0};
  std::vector<char> used(static_cast<size_t>(n), 0);
  used[0] = 1;
  auto extend = [&](auto&& self) -> void {
    const Node& end = g.node(path.back());
    for (int32_t k = 0; k < end.degree; ++k) {
      const int32_t u = end.neighborArray[k];
      // Each cycle is met in two directions; keep the one whose second node is smaller.
      if (static_cast<int32_t>(path.size()) == n && u == 0 && path[1] < path.back()) {
        EdgeSet cycle;
        for (size_t i = 0; i < path.size(); ++i) {
          const int32_t a = path[i], b = path[(i + 1) % path.size()];
          cycle.emplace(std::min(a, b), std::max(a, b));
        }
        cycles.push_back(std::move(cycle));
      } else if (static_cast<int32_t>(path.size()) < n && used[static_cast<size_t>(u)] == 0) {
        used[static_cast<size_t>(u)] = 1;
        path.push_back(u);
        self(self);
        path.pop_back();
        used[static_cast<size_t>(u)] = 0;
      }
    }
  };
  extend(extend);
  return cycles;
}

// The Hamiltonian cycles of g that keep every forced edge.
inline std::vector<EdgeSet> cyclesKeepingForcedEdges(const Graph& g) {
  std::vector<EdgeSet> valid;
  for (EdgeSet& cycle : allHamiltonianCycles(g)) {
    bool keeps = true;
    for (const Node& v : g.nodes)
      for (int32_t u : {v.uncuttable1, v.uncuttable2})
        keeps = keeps && (u < 0 || cycle.count({std::min(v.id, u), std::max(v.id, u)}) > 0);
    if (keeps) valid.push_back(std::move(cycle));
  }
  return valid;
}

// `rounds` random graphs on 6 to 10 nodes, those the initial pruning leaves undecided.
inline std::vector<Graph> openRandomGraphs(uint32_t seed, int32_t rounds) {
  std::mt19937 rng(seed);
  std::vector<Graph> graphs;
  for (int32_t round = 0; round < rounds; ++round) {
    const int32_t n = 6 + static_cast<int32_t>(rng() % 5);
    Graph g = makeGraph(n, randomEdges(rng, n, 0.45));
    if (fastInitialPruning(g, 65535, 0) == kUndecided) graphs.push_back(std::move(g));
  }
  return graphs;
}

}  // namespace hc::testing
