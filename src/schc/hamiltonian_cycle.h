// The found cycle as the outside world wants it: the node order of the Hamiltonian cycle a
// solved graph holds. Every such cycle is checked against the graph as it was submitted
// (core/hamiltonian_cycle_check.h) before it is taken as a result.
#pragma once

#include <cstdint>
#include <vector>

#include "core/graph.h"

namespace hc {

// The Hamiltonian cycle of a solved graph (isHamiltonian 1) as node ids in cycle order,
// starting at node 0 and walking its forced edges (towards its smaller forced neighbour
// first). Empty when the forced edges do not form one cycle through every node.
std::vector<int32_t> hamiltonianCycleOrder(const Graph& graph);

}  // namespace hc
