// Graphs for the decomposition tests: random graphs glued from small pieces (so that they
// have separation pairs, bonds, chains and 3-edge cuts), and brute-force answers that share
// no code with the rules.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "decompose/part_graph.h"
#include "support/test_graphs.h"

namespace hc::testing {

inline PartGraph partFromPairs(int32_t n, const EdgeList& pairs) {
  PartGraph g;
  g.nodeCount = n;
  std::set<std::pair<int32_t, int32_t>> seen;
  for (auto [a, b] : pairs)
    if (a != b && seen.emplace(std::min(a, b), std::max(a, b)).second) g.edges.push_back({a, b, false});
  return g;
}

// Connected components of the graph less the (distinct) nodes in `removed`, by union-find.
inline int32_t componentsWithout(const PartGraph& g, const std::vector<int32_t>& removed) {
  std::vector<int32_t> root(static_cast<size_t>(g.nodeCount));
  std::iota(root.begin(), root.end(), 0);
  const auto find = [&root](int32_t v) {
    while (root[static_cast<size_t>(v)] != v) v = root[static_cast<size_t>(v)];
    return v;
  };
  const auto kept = [&removed](int32_t v) { return std::ranges::find(removed, v) == removed.end(); };
  auto count = g.nodeCount - static_cast<int32_t>(removed.size());
  for (const PartEdge& e : g.edges)
    if (kept(e.a) && kept(e.b) && find(e.a) != find(e.b))
      root[static_cast<size_t>(find(e.a))] = find(e.b), --count;
  return count;
}

// A Hamiltonian cycle through every forced edge, or empty when there is none: each forced
// edge is subdivided by a node of degree 2 (nodes plus forced edges at most 22).
inline std::vector<int32_t> bruteForceCycle(const PartGraph& g) {
  if (g.nodeCount < 3) return {};
  const auto [total, edges] = subdivideForcedEdges(g);
  std::vector<int32_t> cycle = hamiltonianCycle(total, EdgeSet(edges.begin(), edges.end()));
  std::erase_if(cycle, [&g](int32_t v) { return v >= g.nodeCount; });
  return cycle;
}

// The graph with its labels and edges shuffled.
inline PartGraph relabelled(std::mt19937& rng, EdgeList edges) {
  std::map<int32_t, int32_t> id;
  for (auto [a, b] : edges) {
    id.emplace(a, static_cast<int32_t>(id.size()));
    id.emplace(b, static_cast<int32_t>(id.size()));
  }
  std::vector<int32_t> label(id.size());
  std::iota(label.begin(), label.end(), 0);
  std::shuffle(label.begin(), label.end(), rng);
  for (auto& [a, b] : edges) a = label[static_cast<size_t>(id[a])], b = label[static_cast<size_t>(id[b])];
  std::shuffle(edges.begin(), edges.end(), rng);
  return partFromPairs(static_cast<int32_t>(id.size()), edges);
}

// A random biconnected graph glued from pieces: a start cycle, then pieces of one to four
// new nodes hung between two existing nodes (sometimes replacing the edge between them),
// now and then a few random chords. Labels are shuffled.
inline PartGraph gluedGraph(std::mt19937& rng, int32_t maxNodes) {
  EdgeList edges;
  int32_t n = 3 + static_cast<int32_t>(rng() % 2);
  for (int32_t i = 0; i < n; ++i) edges.emplace_back(i, (i + 1) % n);
  while (n < maxNodes) {
    const int32_t size = std::min<int32_t>(1 + static_cast<int32_t>(rng() % 4), maxNodes - n);
    int32_t u = 0, v = 0;
    if (rng() % 2) {
      const auto& e = edges[rng() % edges.size()];
      std::tie(u, v) = e;
      if (rng() % 3 == 0) edges.erase(std::find(edges.begin(), edges.end(), e));
    } else {
      u = static_cast<int32_t>(rng() % n);
      do v = static_cast<int32_t>(rng() % n);
      while (v == u);
    }
    // The piece: a random path through its nodes (so it is connected) plus random chords;
    // its first node joins u, its last v, and each other node joins u or v now and then.
    for (int32_t i = 0; i + 1 < size; ++i) edges.emplace_back(n + i, n + i + 1);
    for (int32_t i = 0; i < size; ++i)
      for (int32_t j = i + 2; j < size; ++j)
        if (rng() % 3 == 0) edges.emplace_back(n + i, n + j);
    edges.emplace_back(u, n);
    edges.emplace_back(v, n + size - 1);
    for (int32_t i = 0; i < size; ++i)
      if (rng() % 4 == 0) edges.emplace_back(rng() % 2 ? u : v, n + i);
    n += size;
  }
  for (int32_t k = static_cast<int32_t>(rng() % 3); k > 0 && rng() % 2; --k) {
    const int32_t a = static_cast<int32_t>(rng() % n);
    const int32_t b = static_cast<int32_t>(rng() % n);
    edges.emplace_back(a, b);
  }
  return relabelled(rng, edges);
}

// Two or three pieces joined by 3-edge cuts: each piece a random cubic graph or the Petersen
// graph, less one node; two pieces join their three loose ends pairwise, three pieces send
// one end each to three new hubs.
inline PartGraph cutFragmentsGraph(std::mt19937& rng, int32_t pieces) {
  EdgeList edges;
  std::vector<std::vector<int32_t>> loose;
  int32_t n = 0;
  for (int32_t p = 0; p < pieces; ++p) {
    const int32_t k = rng() % 3 == 0 ? 10 : 4 + 2 * static_cast<int32_t>(rng() % 2);
    const EdgeList piece =
        shifted(k == 10 ? generalizedPetersenEdges(5, 2) : randomRegularEdges(rng, k, 3), n);
    const int32_t removed = n + static_cast<int32_t>(rng() % static_cast<uint32_t>(k));
    loose.emplace_back();
    for (auto [a, b] : piece) {
      if (a == removed || b == removed)
        loose.back().push_back(a == removed ? b : a);
      else
        edges.emplace_back(a, b);
    }
    n += k;
  }
  if (pieces == 2) {
    for (size_t i = 0; i < 3; ++i) edges.emplace_back(loose[0][i], loose[1][i]);
  } else {
    for (auto& ends : loose)
      for (int32_t i = 0; i < 3; ++i) edges.emplace_back(ends[static_cast<size_t>(i)], n + i);
  }
  return relabelled(rng, edges);
}

// Nodes u and v and `count` blobs: random cubic graphs of 4 or 6 nodes less one edge a-b,
// with a joined to u and b to v.
inline PartGraph blobsGraph(std::mt19937& rng, int32_t count) {
  EdgeList edges;
  int32_t n = 2;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t k = 4 + 2 * static_cast<int32_t>(rng() % 2);
    const EdgeList blob = shifted(randomRegularEdges(rng, k, 3), n);
    const auto [a, b] = blob[rng() % blob.size()];
    for (auto e : blob)
      if (e != std::make_pair(a, b)) edges.push_back(e);
    edges.emplace_back(0, a);
    edges.emplace_back(1, b);
    n += k;
  }
  return relabelled(rng, edges);
}

}  // namespace hc::testing
