// Hamiltonicity through small 3-edge cuts.
//
// A Hamiltonian cycle crosses every edge cut an even number of times, so a 3-edge cut
// exactly twice: it enters the small side S by one cut edge, runs a Hamiltonian path of S
// between the inner ends of two cut edges, and leaves by the other. For each pair of the
// three edges the question "does S have a Hamiltonian path between their inner ends?" is
// asked on S alone, as a cycle question on S plus one node joined to the two ends (two
// edges with one inner end cannot both be used unless S is one node, which is not a
// fragment worth the name). Then:
//  - no pair: no Hamiltonian cycle;
//  - one pair: its two edges are forced and the third is never used;
//  - two pairs: the edge they share is forced;
// and S becomes one node that keeps the three edges and remembers S's path for each
// possible pair, so that a cycle of the smaller graph turns into one of the whole (which
// is checked before it is returned). A cut edge that was forced already rules out the pair
// without it before any question is asked.
#pragma once

#include <vector>

#include "core/stop_token.h"
#include "decompose/part_outcome.h"
#include "decompose/three_edge_cuts.h"

namespace hc {

// Applies the rule to every cut of `cuts` (small sides pairwise disjoint) in `graph`
// (3-connected), asking the path questions and deciding the reduced graph through `solve`.
// A cut whose question stays undecided is left alone; applied is false when no cut was
// usable, and with onlyIfARuleApplies also when every usable cut allows all three pairs
// (the reduction would only shrink the graph, as it does for a triangle in a cubic graph).
PartOutcome decideByEdgeCuts(const PartGraph& graph, const std::vector<ThreeEdgeCut>& cuts,
                             const SolvePart& solve, const StopToken& stop, bool onlyIfARuleApplies);

}  // namespace hc
