// Initial forcing at degree-two nodes and the wholesale chain builder of the scan model.
// setUncuttabilities forces both edges of every degree-2 node (node level, nothing logged);
// buildChains then throws away every chain record and rebuilds the chains from the paths
// of degree-2 nodes, reading off the three outcomes: one forced cycle through everything
// (a Hamiltonian cycle), one forced path through everything (no cycle), or a forced cycle
// through only part of the graph (a ring: no cycle).
#pragma once

#include <cstdint>

#include "core/action_list.h"
#include "core/graph.h"

namespace hc {

// Only when isHamiltonian is 2: forces both edges of every degree-2 node in index order
// (graph howManyUncuttable + 1 per newly forced edge). A neighbour turned into a hub adds
// 1 to howManyHubs, sets isHamiltonian 0 and ends the pass. Does not log or touch chains.
void setUncuttabilities(Graph& graph, int16_t verbose);

// Only when isHamiltonian is 2: resets every chain and node chain field, then builds one
// chain per maximal path (or closed cycle) of degree-2 nodes; every node on a chain, heads
// included, carries its index in whichChain, heads get isHead 1. One chain through all
// nodes sets isHamiltonian 1 (closed) or 0 (open); otherwise the first closed chain is a
// ring: isRing 1, howManyRings + 1, isHamiltonian 0, and one kind-4 record (chain index)
// is appended to `list` when it is not null. Grows `chains`/maxChains if a graph that was
// never pruned needs more chains than the slots it has.
void buildChains(Graph& graph, int16_t verbose, ActionList* list = nullptr);

}  // namespace hc
