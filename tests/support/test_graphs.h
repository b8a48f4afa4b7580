// Graphs for the tests of every subsystem, built edge by edge on the graph core alone,
// small reference answers that share no code with the solvers (plain adjacency sets), and
// a capture of the diagnostic stream.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/diagnostics.h"
#include "core/graph.h"
#include "core/random.h"

namespace hc::testing {

using EdgeList = std::vector<std::pair<int32_t, int32_t>>;
using EdgeSet = std::set<std::pair<int32_t, int32_t>>;

// A finished graph on n nodes whose neighbour arrays follow the order of `edges`.
inline Graph makeGraph(int32_t n, const EdgeList& edges) {
  Graph g(n, 0);
  for (auto [a, b] : edges) g.addEdge(a, b);
  g.finishConstruction();
  return g;
}

// The cycle first, first+1, ..., first+length-1.
inline EdgeList cycleEdges(int32_t first, int32_t length) {
  EdgeList e;
  for (int32_t i = 0; i < length; ++i) e.emplace_back(first + i, first + (i + 1) % length);
  return e;
}

// The complete graph on first..first+size-1.
inline EdgeList completeEdges(int32_t first, int32_t size) {
  EdgeList e;
  for (int32_t i = 0; i < size; ++i)
    for (int32_t j = i + 1; j < size; ++j) e.emplace_back(first + i, first + j);
  return e;
}

// K(p, q): nodes 0..p-1 on one side, p..p+q-1 on the other.
inline EdgeList completeBipartiteEdges(int32_t p, int32_t q) {
  EdgeList e;
  for (int32_t i = 0; i < p; ++i)
    for (int32_t j = 0; j < q; ++j) e.emplace_back(i, p + j);
  return e;
}

// GP(n, k): outer cycle 0..n-1, spokes i - n+i, inner edges n+i - n+(i+k mod n).
// Non-Hamiltonian for k = 2 exactly when n = 5 (mod 6); GP(5, 2) is the Petersen graph.
inline EdgeList generalizedPetersenEdges(int32_t n, int32_t k) {
  EdgeList e;
  for (int32_t i = 0; i < n; ++i) e.emplace_back(i, (i + 1) % n);
  for (int32_t i = 0; i < n; ++i) e.emplace_back(i, n + i);
  for (int32_t i = 0; i < n; ++i) e.emplace_back(n + i, n + (i + k) % n);
  return e;
}

inline Graph petersenGraph() {
  return makeGraph(10, generalizedPetersenEdges(5, 2));
}
inline Graph completeGraph(int32_t n) {
  return makeGraph(n, completeEdges(0, n));
}
inline Graph cycleGraph(int32_t n) {
  return makeGraph(n, cycleEdges(0, n));
}

// Knight moves on a rows x cols board, node r * cols + c.
inline EdgeList knightEdges(int32_t rows, int32_t cols) {
  EdgeList e;
  const int32_t moves[4][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}};
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < cols; ++c)
      for (const auto& [dr, dc] : moves)  // dr > 0: only the bottom edge can be crossed
        if (r + dr < rows && c + dc >= 0 && c + dc < cols)
          e.emplace_back(r * cols + c, (r + dr) * cols + c + dc);
  return e;
}

inline EdgeList joined(EdgeList a, const EdgeList& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A random simple graph on n nodes, each pair an edge with probability p, in shuffled order
// so that neighbour arrays are not always ascending.
inline EdgeList randomEdges(std::mt19937& rng, int32_t n, double p) {
  std::bernoulli_distribution coin(p);
  EdgeList e;
  for (int32_t i = 0; i < n; ++i)
    for (int32_t j = i + 1; j < n; ++j)
      if (coin(rng)) e.emplace_back(i, j);
  std::shuffle(e.begin(), e.end(), rng);
  return e;
}

// The edges with every node id raised by `by`.
inline EdgeList shifted(EdgeList e, int32_t by) {
  for (auto& [a, b] : e) a += by, b += by;
  return e;
}

// A random d-regular graph on n nodes (n * d even): random pairings of d points per node,
// redrawn until one is simple; its edges (a < b) in ascending order.
inline EdgeList randomRegularEdges(std::mt19937& rng, int32_t n, int32_t degree) {
  EdgeSet edges;
  while (static_cast<int32_t>(edges.size()) < n * degree / 2) {
    std::vector<int32_t> points;
    for (int32_t v = 0; v < n; ++v) points.insert(points.end(), static_cast<size_t>(degree), v);
    std::shuffle(points.begin(), points.end(), rng);
    edges.clear();
    for (size_t i = 0; i < points.size(); i += 2)
      if (points[i] == points[i + 1] || !edges.emplace(std::minmax(points[i], points[i + 1])).second) break;
  }
  return {edges.begin(), edges.end()};
}

// Graphs a (on na nodes) and b, each less its node 0, the loose ends joined in pairs in the
// order of their edges: a 3-edge cut when node 0 has degree 3. Node p > 0 of a becomes p - 1,
// node q > 0 of b becomes na - 2 + q. Two Petersen graphs so joined, or the prism GP(6, 1) and
// a Petersen graph, have a side without a Hamiltonian path between any two of its cut ends.
inline EdgeList joinedWithoutNodeZero(const EdgeList& a, int32_t na, const EdgeList& b) {
  EdgeList out;
  std::vector<int32_t> loose[2];
  for (int side = 0; side < 2; ++side) {
    const int32_t shift = side == 0 ? -1 : na - 2;
    for (auto [u, v] : side == 0 ? a : b) {
      if (u == 0 || v == 0)
        loose[side].push_back(u + v + shift);
      else
        out.emplace_back(u + shift, v + shift);
    }
  }
  for (size_t k = 0; k < loose[0].size(); ++k) out.emplace_back(loose[0][k], loose[1][k]);
  return out;
}

// Nodes 0 and 1 and `count` blobs between them, each K4 less an edge a-b with a joined to 0
// and b to 1: without 0 and 1 the blobs fall apart.
inline EdgeList blobsBetweenTwoNodes(int32_t count) {
  EdgeList e;
  for (int32_t a = 2; a < 2 + 4 * count; a += 4) {
    for (auto [x, y] : completeEdges(a, 4))
      if (x != a || y != a + 1) e.emplace_back(x, y);
    e.insert(e.end(), {{0, a}, {1, a + 1}});
  }
  return e;
}

// Brute force that shares nothing with the solvers, for graphs of at most about 22 nodes: subset
// dynamic programming over the paths from a start node, where ends[mask] has bit v when a
// path from the start through exactly the nodes of mask ends at v.
inline std::vector<uint32_t> pathEnds(const std::vector<uint32_t>& adjacent, int32_t start) {
  std::vector<uint32_t> ends(size_t{1} << adjacent.size(), 0);
  ends[1u << start] = 1u << start;
  for (uint32_t mask = 1; mask < ends.size(); ++mask)
    for (uint32_t e = (mask >> start & 1u) ? ends[mask] : 0; e; e &= e - 1)
      for (uint32_t next = adjacent[static_cast<size_t>(__builtin_ctz(e))] & ~mask; next; next &= next - 1)
        ends[mask | (next & -next)] |= next & -next;
  return ends;
}

inline std::vector<uint32_t> adjacencyMasks(int32_t n, const EdgeSet& edges) {
  std::vector<uint32_t> adjacent(static_cast<size_t>(n), 0);
  for (auto [a, b] : edges)
    adjacent[static_cast<size_t>(a)] |= 1u << b, adjacent[static_cast<size_t>(b)] |= 1u << a;
  return adjacent;
}

// The edges (a < b) on some Hamiltonian cycle (none when there is no cycle).
inline EdgeSet edgesOnHamiltonianCycles(int32_t n, const EdgeSet& edges) {
  const std::vector<uint32_t> adjacent = adjacencyMasks(n, edges);
  EdgeSet used;
  for (int32_t a = 0; a < n && n >= 3; ++a) {
    const uint32_t all = pathEnds(adjacent, a).back() & adjacent[static_cast<size_t>(a)];
    for (uint32_t b = all; b; b &= b - 1)
      used.emplace(std::minmax(a, static_cast<int32_t>(__builtin_ctz(b))));
  }
  return used;
}

// One Hamiltonian cycle from node 0, or none.
inline std::vector<int32_t> hamiltonianCycle(int32_t n, const EdgeSet& edges) {
  if (n < 3) return {};
  const std::vector<uint32_t> adjacent = adjacencyMasks(n, edges);
  const std::vector<uint32_t> ends = pathEnds(adjacent, 0);
  uint32_t mask = static_cast<uint32_t>(ends.size() - 1), candidates = ends[mask] & adjacent[0];
  if (candidates == 0) return {};
  // Back from an end next to node 0: each step takes a node where the path one shorter ends.
  std::vector<int32_t> cycle{0};
  while (mask != 1) {
    const int32_t v = __builtin_ctz(candidates);
    cycle.push_back(v);
    mask &= ~(1u << v);
    candidates = ends[mask] & adjacent[static_cast<size_t>(v)];
  }
  return cycle;
}

inline bool hasHamiltonianCycle(int32_t n, const EdgeSet& edges) {
  return !hamiltonianCycle(n, edges).empty();
}

// The current neighbours of v, in the order of its neighbour array.
inline std::vector<int32_t> neighbourList(const Graph& g, int32_t v) {
  return {g.node(v).neighborArray, g.node(v).neighborArray + g.node(v).degree};
}

// The current edges of a graph as (min, max) pairs.
inline EdgeSet currentEdges(const Graph& g) {
  EdgeSet s;
  for (const Node& n : g.nodes)
    for (int32_t i = 0; i < n.degree; ++i) s.emplace(std::minmax(n.id, n.neighborArray[i]));
  return s;
}

// True when `cycle` visits all n nodes once and each step (the closing one included) is an
// edge of `edges`.
inline bool isHamiltonianCycleOf(const std::vector<int32_t>& cycle, int32_t n, const EdgeSet& edges) {
  const std::set<int32_t> distinct(cycle.begin(), cycle.end());
  if (n < 3 || cycle.size() != static_cast<size_t>(n) || distinct.size() != cycle.size()) return false;
  if (*distinct.begin() < 0 || *distinct.rbegin() >= n) return false;
  for (size_t i = 0; i < cycle.size(); ++i)
    if (!edges.count(std::minmax(cycle[i], cycle[(i + 1) % cycle.size()]))) return false;
  return true;
}

// Everything a solver reads from a graph, as text: equal snapshots mean equal graphs (the
// random state is not part of it).
inline std::string snapshot(const Graph& g) {
  std::ostringstream out;
  out << "isHamiltonian " << g.isHamiltonian << " nodes " << g.howManyNodes << " edges " << g.howManyEdges
      << " uncuttable " << g.howManyUncuttable << " chains " << g.howManyChains << "/" << g.maxChains
      << " hubs " << g.howManyHubs << " rings " << g.howManyRings << " queue " << g.pruningQueue.count()
      << "\n";
  for (const Node& n : g.nodes) {
    out << n.id << ": deg " << n.degree << " [";
    for (int32_t i = 0; i < n.degree; ++i) out << (i ? " " : "") << n.neighborArray[i];
    out << "] forced " << n.howManyUncuttable << " (" << n.uncuttable1 << "," << n.uncuttable2 << ") head "
        << n.isHead << " chain " << n.whichChain << " hub " << n.isHub << " queued " << n.inLightningQueue
        << n.inHeadHunterQueue << " mark " << n.mark << "\n";
  }
  for (int32_t c = 0; c < g.howManyChains; ++c) {
    const Chain& chain = g.chains[static_cast<size_t>(c)];
    out << "chain " << c << ": " << chain.head1 << "-" << chain.head2 << " members " << chain.members
        << " ring " << chain.isRing << "\n";
  }
  return out.str();
}

// The chains as "head1-head2:members" (with "R" for a ring), slot order.
inline std::string chainList(const Graph& g) {
  std::ostringstream out;
  for (int32_t c = 0; c < g.howManyChains; ++c) {
    const Chain& chain = g.chains[static_cast<size_t>(c)];
    out << (c ? " " : "") << chain.head1 << "-" << chain.head2 << ":" << chain.members
        << (chain.isRing ? "R" : "");
  }
  return out.str();
}

// Captures the diagnostic stream for the lifetime of the object.
struct CapturedDiagnostics {
  std::string text() const { return stream.str(); }
  void clear() { stream.str(""); }
  std::ostringstream stream;
  ScopedDiagnosticStream scope{stream};
};

}  // namespace hc::testing
