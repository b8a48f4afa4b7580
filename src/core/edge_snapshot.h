// The edges of a graph at one moment, kept apart from the graph: every node's neighbours,
// sorted, in one block (node v's are those from offset v to offset v + 1). A run takes
// one before any method cuts or forces anything, so a cycle it reports can be checked
// against the graph as it was given (hamiltonian_cycle_check.h), and the frontier search
// reads the pruned graph's edges from one.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/graph.h"

namespace hc {

class EdgeSnapshot {
 public:
  EdgeSnapshot() = default;
  // Copies the current neighbour arrays of `graph` (construction finished).
  explicit EdgeSnapshot(const Graph& graph);

  int32_t nodes() const { return offsets_.empty() ? 0 : static_cast<int32_t>(offsets_.size() - 1); }
  // Number of distinct edges.
  int64_t edges() const { return static_cast<int64_t>(neighbors_.size() / 2); }
  // The sorted neighbours of v; empty for an id out of range.
  std::span<const int32_t> neighborsOf(int32_t v) const;
  bool contains(int32_t a, int32_t b) const;

 private:
  std::vector<int64_t> offsets_;
  std::vector<int32_t> neighbors_;
};

}  // namespace hc
