// The found cycle as the outside world wants it, and an independent check of a cycle
// against the graph as it was submitted. The check shares no code with the solver: it
// only reads a plain adjacency snapshot taken before any pruning, so a solver fault that
// produced a false cycle cannot also hide it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/graph.h"

namespace hc {

// Every node's neighbours, sorted, as they were when the snapshot was taken: those of node
// v are targets[offsets[v] .. offsets[v + 1] - 1].
struct AdjacencySnapshot {
  std::vector<int64_t> offsets;
  std::vector<int32_t> targets;
  int32_t nodeCount() const { return offsets.empty() ? 0 : static_cast<int32_t>(offsets.size() - 1); }
};
AdjacencySnapshot takeAdjacencySnapshot(const Graph& graph);

// The Hamiltonian cycle of a solved graph (isHamiltonian 1) as node ids in cycle order,
// starting at node 0 and walking its forced edges (towards its smaller forced neighbour
// first). Empty when the forced edges do not form one cycle through every node.
std::vector<int32_t> hamiltonianCycleOrder(const Graph& graph);

// True when `cycle` visits every node of `snapshot` exactly once and each consecutive pair
// (and last-first) is an edge of it. Otherwise false, with the reason in *why when given.
bool verifyHamiltonianCycle(const AdjacencySnapshot& snapshot, const std::vector<int32_t>& cycle,
                            std::string* why = nullptr);

}  // namespace hc
