// Sides of 4-edge cuts that a Hamiltonian cycle can only pass as two plain edges would (the
// certificate's `bypass` step, certcheck/bypass_step.h). A cubic graph built by dot products
// from snarks has many: the Petersen graph less two adjacent nodes, joined by four edges,
// lets a cycle through only from one end pair to the other (or through both pairs at once),
// so it can be replaced by two edges, which undoes the product. Replacing them round by
// round leaves a small graph whose obstruction is plain, where neither the colouring nor the
// 2-factor formula scales past a few thousand nodes.
#pragma once

#include <string>

#include "core/stop_token.h"
#include "solve/certificate_writer.h"

namespace hc {

// One round: small sides of 4-edge cuts (found by a local minimum cut around each node),
// whose behaviour, worked out by brute force, admits the replacement; disjoint and not
// adjacent. Returns the `bypass` line followed by the five sub-proofs of each side (frontier
// leaves), or "" when there is none. The small sides of 2- and 3-edge cuts met on the way that have
// a Hamiltonian path between the inner ends of any two cut edges come in `pieces`, as a
// `piece` line ("" when none): contracting them loses no cycle and wins none.
// Nothing on a graph with a node of more than three edges left.
std::string findBypassStep(const BranchState& branch, const StopToken& stop, std::string& pieces);

}  // namespace hc
