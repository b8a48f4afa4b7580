// The verdict a graph's degrees alone give: fewer than three nodes, fewer edges than
// nodes, or a node of degree below two leave no Hamiltonian cycle. Every method's first
// rules reach the same verdict, so a front end may give it before it builds anything: a
// file of millions of isolated nodes is answered from its node count and edge list, at a
// byte per node at most.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "core/graph.h"
#include "core/verdict.h"

namespace hc {

// NonHamiltonian when one of the three holds, else Undecided. Edge ends that are not node
// ids count for nothing.
Verdict trivialVerdict(int32_t nodes, std::span<const std::pair<int32_t, int32_t>> edges);

// The same for a built graph, from its current degrees.
Verdict trivialVerdict(const Graph& graph);

}  // namespace hc
