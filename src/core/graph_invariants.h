// A full consistency check of a Graph, for tests and for the heavy-check build
// (HC_HEAVY_CHECKS), where the engine runs it after every top-level cut and force.
#pragma once

#include <string>

#include "core/graph.h"

namespace hc {

struct InvariantOptions {
  // Chains come from the incremental model (only heads know their chain). The scan-model
  // builders give every member the chain index; pass false after them.
  bool incrementalChains = true;
};

// Empty when every invariant holds; otherwise a description of the first one broken:
// symmetric adjacency without self-loops or duplicates, forced-edge records consistent at
// both ends and present as edges, howManyEdges equal to half the degree sum, chain heads
// and members consistent with the forced edges (while the verdict is undecided), and an
// empty queue with every queue flag 0. With incrementalChains, an undecided graph must also
// have no hub, no ring, and one forcing operation per forced edge.
std::string checkInvariants(const Graph& graph, InvariantOptions options = {});

// True when some inner chain node carries its chain's index: the chains were built by the
// scan-model chain builder (the incremental model leaves -1 there), so the strict chain
// checks do not apply.
bool hasScanModelChains(const Graph& graph);

}  // namespace hc
