// The independent check of every Hamiltonian cycle the program reports, shows or writes.
// It shares no code with the solvers: the edges of the graph are copied as loaded, before
// any method cuts or forces anything, and a cycle (a node sequence) is accepted only when
// it visits every node exactly once along edges of that copy.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/graph.h"

namespace hc {

// The edges of a graph at one moment, as sorted neighbour lists in one block.
class LoadedEdges {
 public:
  LoadedEdges() = default;
  // Copies the current neighbour arrays of `graph` (construction finished).
  explicit LoadedEdges(const Graph& graph);

  int32_t nodes() const { return static_cast<int32_t>(offsets_.empty() ? 0 : offsets_.size() - 1); }
  // Number of distinct edges.
  int64_t edges() const { return static_cast<int64_t>(neighbors_.size() / 2); }
  bool contains(int32_t a, int32_t b) const;
  std::span<const int32_t> neighborsOf(int32_t v) const;

 private:
  std::vector<int64_t> offsets_;
  std::vector<int32_t> neighbors_;
};

struct CycleCheck {
  bool ok = true;
  std::string fault;  // the first thing wrong, when !ok
  explicit operator bool() const { return ok; }
  static CycleCheck failure(std::string what) { return CycleCheck{false, std::move(what)}; }
};

// `cycle` lists node ids in cycle order (the closing edge back to cycle[0] is implied).
CycleCheck verifyHamiltonianCycle(const LoadedEdges& graph, std::span<const int32_t> cycle);

// Turns a set of undirected cycle edges on nodes 0..nodes-1 (each edge may be listed from
// one or both ends) into a node sequence starting at node 0; fails when the edges are not
// one cycle through all nodes (a node without exactly two cycle neighbours, or a shorter
// cycle).
CycleCheck cycleFromEdges(int32_t nodes, std::span<const std::pair<int32_t, int32_t>> edges,
                          std::vector<int32_t>& cycle);

// The cycle a decided Hamiltonian graph holds: at each node its two forced neighbours, or
// its two neighbours when only two are left. The walk leaves node 0 towards the first of
// its neighbour entries that is a cycle neighbour, as the cycle file writers do.
CycleCheck extractCycle(const Graph& solved, std::vector<int32_t>& cycle);

}  // namespace hc
