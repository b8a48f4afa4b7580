// Whole-graph scans of the two pruning rules, for the scan model (deletions by
// Graph::cutAndForce, chains rebuilt wholesale by buildChains):
//  - Lightning: a node of degree 3 or more with two forced edges loses its other edges;
//  - HeadHunter: the two heads of a chain, when adjacent, lose the edge between them.
// The incremental model applies the same rules through the pruning queue instead.
#pragma once

#include <cstdint>

#include "core/graph.h"

namespace hc {

// Only when isHamiltonian is 2: passes over the nodes in index order until a pass finds no
// work; every node of degree >= 3 with howManyUncuttable 2 is cut down to degree 2 with
// cutAndForce (random cuttable neighbour first), checkEnoughEdges after each cut.
void lightning(Graph& graph, int16_t verbose);

// Only when isHamiltonian is 2; expects chains from buildChains. Repeatedly cuts the edge
// between the first head of degree >= 3 (index order) and its adjacent partner head; when
// an end drops to degree 2, re-prunes with checkEnoughEdges, lightning and buildChains and
// returns once the verdict is decided. A partner edge that is itself forced is left alone
// (cutting a forced edge would corrupt the forcing records).
void HeadHunter(Graph& graph, int16_t verbose);

}  // namespace hc
