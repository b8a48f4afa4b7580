// Chain-walking steps shared by the scan-model chain builder, the HeadHunter scan and the
// legacy chain model: both models grow chains along degree-2 nodes and pair heads the
// same way, so the walks live here once.
#pragma once

#include <cstdint>

#include "core/graph.h"

namespace hc {

// Makes chain slot `index` usable. A pruned graph never needs more than howManyNodes / 2
// chains (each chain owns a degree-2 node and half of two heads), but an unpruned one can
// (K(2,k): k chains on k + 2 nodes), so the slots grow rather than overflow.
void ensureChainSlot(Graph& graph, int32_t index);

// Walks from v through `first` along degree-2 nodes, tagging each node reached with
// `chain`; returns the node where the walk stopped (a node of another degree, or v).
int32_t walkChain(Graph& graph, int32_t v, int32_t first, int32_t chain);

// The other head of v's chain when it is a usable neighbour of v, else -1. A partner
// joined to v by a forced edge is skipped: that edge must stay.
int32_t adjacentPartnerHead(const Graph& graph, const Node& v);

// The first head v (index order) of degree >= 3 whose partner head w is adjacent to it;
// false when there is none. Both HeadHunter scans take their next edge from it.
bool firstHeadWithAdjacentPartner(const Graph& graph, int32_t& v, int32_t& w);

}  // namespace hc
