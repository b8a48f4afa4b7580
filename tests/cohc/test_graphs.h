// Small graphs with known answers for the proof-tree tests, built edge by edge so that the
// tests depend on nothing but the graph core.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "core/graph.h"

namespace hc::testing {

inline Graph graphFromEdges(int32_t n, const std::vector<std::pair<int32_t, int32_t>>& edges) {
  Graph g(n, 0);
  for (auto [a, b] : edges) g.addEdge(a, b);
  g.finishConstruction();
  return g;
}

// GP(n, k): outer cycle 0..n-1, spokes i - n+i, inner edges n+i - n+(i+k mod n).
inline Graph generalizedPetersen(int32_t n, int32_t k) {
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (int32_t i = 0; i < n; ++i) edges.emplace_back(i, (i + 1) % n);
  for (int32_t i = 0; i < n; ++i) edges.emplace_back(i, n + i);
  for (int32_t i = 0; i < n; ++i) edges.emplace_back(n + i, n + (i + k) % n);
  return graphFromEdges(2 * n, edges);
}

inline Graph petersen() {
  return generalizedPetersen(5, 2);
}

inline Graph completeGraph(int32_t n) {
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (int32_t i = 0; i < n; ++i)
    for (int32_t j = i + 1; j < n; ++j) edges.emplace_back(i, j);
  return graphFromEdges(n, edges);
}

inline Graph cycleGraph(int32_t n) {
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (int32_t i = 0; i < n; ++i) edges.emplace_back(i, (i + 1) % n);
  return graphFromEdges(n, edges);
}

inline Graph knightGraph(int32_t rows, int32_t cols) {
  std::vector<std::pair<int32_t, int32_t>> edges;
  const int32_t moves[4][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}};
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < cols; ++c)
      for (const auto& m : moves) {
        int32_t r2 = r + m[0];
        int32_t c2 = c + m[1];
        if (r2 >= 0 && r2 < rows && c2 >= 0 && c2 < cols) edges.emplace_back(r * cols + c, r2 * cols + c2);
      }
  return graphFromEdges(rows * cols, edges);
}

// Two K4 blocks sharing node 0: connected, no degree-2 node, but 0 is a cut vertex.
inline Graph twoK4SharingANode() {
  return graphFromEdges(
      7, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {0, 4}, {0, 5}, {0, 6}, {4, 5}, {4, 6}, {5, 6}});
}

// The edges of a graph as a set of ordered pairs (smaller id first).
inline std::set<std::pair<int32_t, int32_t>> edgeSet(const Graph& g) {
  std::set<std::pair<int32_t, int32_t>> edges;
  for (int32_t i = 0; i < g.howManyNodes; ++i) {
    const Node& node = g.node(i);
    for (int32_t k = 0; k < node.degree; ++k) {
      int32_t j = node.neighborArray[k];
      edges.emplace(std::min(i, j), std::max(i, j));
    }
  }
  return edges;
}

// A check of a cycle that shares nothing with the engine: every node once, every step an
// edge of `edges`.
inline bool isHamiltonianCycleOf(const std::vector<int32_t>& cycle, int32_t n,
                                 const std::set<std::pair<int32_t, int32_t>>& edges) {
  if (static_cast<int32_t>(cycle.size()) != n || n < 3) return false;
  std::vector<bool> seen(static_cast<size_t>(n), false);
  for (size_t i = 0; i < cycle.size(); ++i) {
    int32_t a = cycle[i];
    int32_t b = cycle[(i + 1) % cycle.size()];
    if (a < 0 || a >= n || seen[static_cast<size_t>(a)]) return false;
    seen[static_cast<size_t>(a)] = true;
    if (!edges.count({std::min(a, b), std::max(a, b)})) return false;
  }
  return true;
}

}  // namespace hc::testing
