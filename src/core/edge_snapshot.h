// The edges of a graph at one moment, kept apart from the graph: every node's neighbours,
// sorted, in one block (node v's are those from offset v to offset v + 1). A run takes
// one before any method cuts or forces anything, so a cycle it reports can be checked
// against the graph as it was given (hamiltonian_cycle_check.h), and the frontier search
// reads the pruned graph's edges from one. It is also the compact form of a graph that
// needs no solver graph (a few bytes per node): the figures and checks of a graph with an
// isolated node are read off it.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/graph.h"

namespace hc {

class EdgeSnapshot {
 public:
  EdgeSnapshot() = default;
  // Copies the current neighbour arrays of `graph` (construction finished).
  explicit EdgeSnapshot(const Graph& graph);
  // The graph of `nodes` nodes with these edges (ends that are not node ids are left out);
  // a repeated pair is kept twice, as a graph keeps a parallel join.
  EdgeSnapshot(int32_t nodes, std::span<const std::pair<int32_t, int32_t>> edges);

  int32_t nodes() const { return offsets_.empty() ? 0 : static_cast<int32_t>(offsets_.size() - 1); }
  // Number of distinct edges.
  int64_t edges() const { return static_cast<int64_t>(neighbors_.size() / 2); }
  // The sorted neighbours of v; empty for an id out of range.
  std::span<const int32_t> neighborsOf(int32_t v) const;
  int32_t degree(int32_t v) const { return static_cast<int32_t>(neighborsOf(v).size()); }
  bool contains(int32_t a, int32_t b) const;
  // Whether it holds exactly the current edges of `graph`, compared list by list (a graph
  // whose neighbour lists are out of order never matches): a caller that took a snapshot
  // of a graph and may have cut it since learns whether the snapshot still stands for it.
  bool holdsEdgesOf(const Graph& graph) const;
  // Every edge once as (v, w) with v < w, by v then w: the plain edges the certificate
  // checker and the library's callers are handed.
  std::vector<std::pair<int32_t, int32_t>> edgeList() const;

 private:
  // 32 bits are enough: a graph has fewer than 2^31 edges, so fewer than 2^32 entries.
  std::vector<uint32_t> offsets_;
  std::vector<int32_t> neighbors_;
};

}  // namespace hc
