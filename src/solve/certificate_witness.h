// Witness leaves for a certificate's branch: the whole-graph reasons the search's cheap
// checks and the proof system's pruning stop at (a graph in pieces, a bridge, a cut node,
// an uneven bipartition, an odd number of forced edges across a cut), found on the edges
// the checker's branch has left, so that the leaf holds there and not only in the engine's
// graph. One depth-first pass and one pass over the open edges.
#pragma once

#include <string>

#include "certcheck/branch_state.h"

namespace hc {

// A leaf line ("cut ...", "separator V", "bipartite ...", "parity ...") that refutes
// `branch` (which has no contradiction of its own), or "" when none of these applies.
std::string findWitnessLeaf(certcheck::BranchState& branch);

}  // namespace hc
