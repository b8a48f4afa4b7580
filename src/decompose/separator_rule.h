// Hamiltonicity through the 2-node separators of a biconnected graph, read off its SPQR
// tree.
//
// A Hamiltonian cycle less two nodes u, v falls into at most two paths, so a pair whose
// removal leaves three or more pieces refutes the graph. When it leaves exactly two, A and
// B, the cycle runs u - (all of A) - v - (all of B) - u: it never uses an edge u-v, and the
// graph is Hamiltonian exactly when A + u + v and B + u + v, each with a forced edge u-v
// standing for the other side, both are (the two cycles less that edge join into one).
// On the tree this reads:
//  - a bond (a P-node, two poles with parallel edges) with three or more virtual edges is
//    three pieces: refuted; with two, its real edge u-v is never used (refuted if forced);
//  - every virtual edge of a polygon or rigid node stands for a side with nodes of its own,
//    so it is forced; a polygon is then one cycle through all its edges, always fine;
//  - each rigid node (a triconnected skeleton) with its virtual edges forced is a part to
//    decide, smallest first; all Hamiltonian gives the cycle of the whole, each virtual edge
//    replaced by the path its side's cycle makes between the two poles.
#pragma once

#include "core/stop_token.h"
#include "decompose/part_outcome.h"
#include "decompose/triconnected_components.h"

namespace hc {

// Decides `graph` (biconnected, simple) from its SPQR tree `tree` (more than one node),
// each rigid node through `solve`. The verdict names the separator rule unless a part's
// refutation came from a rule inside it. With onlyIfARuleApplies, a tree whose one rigid
// node holds all the work (the rest being chains and bonds that refute nothing) is no
// split worth the name: that node is asked the same way, and applied is false unless a
// rule applies inside it.
PartOutcome decideBySeparators(const PartGraph& graph, const SpqrTree& tree, const SolvePart& solve,
                               const StopToken& stop, bool onlyIfARuleApplies);

}  // namespace hc
