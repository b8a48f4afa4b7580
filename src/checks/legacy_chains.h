// The legacy degree-two chain model used only by the legacy Probability Mill versions.
// Here forcing is implied by degree 2, a chain is a maximal path whose inner nodes have
// degree 2, and every node of a chain (not only its heads) carries the chain's index.
// These routines never consult isHamiltonian, except buildDegreeTwoChains, which sets it
// when one chain runs through every node (1 when it is closed, 0 when it is an open path).
#pragma once

#include <cstdint>

#include "core/graph.h"

namespace hc {

// Every node: isHead 0, whichChain -1; every chain slot reset; howManyRings and
// howManyChains 0.
void clearChains(Graph& graph);

// Builds the chains of degree-2 nodes (all members tagged) and counts members. One chain
// through all nodes decides the graph (isHamiltonian 1 when closed, 0 when open);
// otherwise each closed chain whose head has degree 2 is a ring (howManyRings + 1 each).
// Expects clearChains first.
void buildDegreeTwoChains(Graph& graph);

// Deletes a-b on the node level (howManyEdges - 1) and forces both edges of an endpoint
// left with degree 2. A non-edge prints its message and changes nothing.
void probabilityMillOldCut(Graph& graph, int32_t a, int32_t b);

// Lightning with probabilityMillOldCut, in passes until nothing is left to do.
void lightningOld(Graph& graph);

// HeadHunter with probabilityMillOldCut; rebuilds the legacy chains (clearChains,
// lightningOld, buildDegreeTwoChains) whenever an end drops to degree 2.
void headHunterOld(Graph& graph);

}  // namespace hc
