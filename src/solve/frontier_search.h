// A complete decision for long, thin graphs (generalized Petersen graphs, ladders, boards of
// few rows), where the depth-first search meets the same situation again and again. The
// nodes are taken in breadth-first order; the frontier is the set of nodes taken that still
// have neighbours to come. For every way of choosing the edges among the nodes taken so far
// that can still grow into a Hamiltonian cycle, only what matters for the rest is kept: per
// frontier node its number of chosen edges and, at a path end, the other end of its path.
// Equal states merge, so the work grows with the number of nodes times the number of
// states, not with the number of partial cycles. A node leaving the frontier must have two
// chosen edges, and a path may close only into the cycle through every node.
//
// It runs on the current edges of a graph whose cuts are sound (no Hamiltonian cycle uses a
// cut edge), so "no state survives" proves the graph non-Hamiltonian. It gives up when the
// frontier is wider than its state encoding holds or the work budget is spent.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

struct FrontierSearchResult {
  HamiltonicityState verdict = kUndecided;  // 0 no Hamiltonian cycle, 1 one exists (none is built), 2 gave up
  int32_t width = 0;                        // the largest frontier of the order
  int64_t work = 0;                         // states handled
  int64_t peak = 0;                         // the most states kept at once
};

// Frontiers of more than this many nodes are not tried.
inline constexpr int32_t kFrontierWidthLimit = 14;
// Frontier states a search may handle by default before it gives up: about a second's work,
// which decides GP(6k + 5, 2) up to some 200,000 nodes, and within what the certificate
// checker replays. A budget of work, not of time, so that whether a thin graph is decided
// (and certified) does not depend on the machine's load.
inline constexpr int64_t kFrontierWorkLimit = 50000000;

// Decides whether `graph` (the snapshot of a graph's current edges) has a Hamiltonian cycle,
// within `workLimit` states handled, or gives up (verdict 2); `stop` (polled) ends it early
// with verdict 2. The nodes are taken in `order` when one is given (every node once), else
// breadth first from node 0.
FrontierSearchResult frontierSearch(const EdgeSnapshot& graph, const StopToken& stop, int64_t workLimit,
                                    std::span<const int32_t> order = {});

// An order of the nodes that keeps the frontier narrow on long, thin graphs, drawn from the
// graph's shape and not its numbering: greedy layouts (the next node is always one that
// lets the most frontier nodes leave and brings the fewest in) from both ends of a few
// pseudo-diameters, the narrowest winning (the smaller sum of frontiers among equals).
// `seed` picks the sweeps' first nodes and breaks exact ties. Empty when every layout's
// frontier, as frontierSearch counts it, passes `widthLimit` nodes (each layout gives up
// there, so a wide graph costs a few linear passes).
std::vector<int32_t> narrowFrontierOrder(const EdgeSnapshot& graph, int32_t widthLimit = kFrontierWidthLimit,
                                         uint32_t seed = 1);

}  // namespace hc
