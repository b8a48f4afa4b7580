// Cut-set checks. A Hamiltonian cycle crosses every edge cut an even number of times and
// at least twice, so the two edges of a 2-edge cut are in every Hamiltonian cycle and can
// be forced. cutBalanceRatio is the connectivity measure shared with the odd forced cut
// check.
#pragma once

#include <cstdint>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// With the nodes x, y, z (ids or -1) taken out: -1.0 when the rest is connected, otherwise
// smaller side / larger side in (0, 1]; -500.0 when isHamiltonian is not 2. Uses mark as
// scratch (0 again on return); changes nothing else.
double cutBalanceRatio(Graph& graph, int32_t x, int32_t y, int32_t z);

// Only when isHamiltonian is 2: finds a pair of edges whose removal disconnects the graph
// and that is not yet wholly forced, forces its edges on the node level, re-prunes
// (checkEnoughEdges, lightning, buildChains, HeadHunter,
// checkConnectedNotUnevenlyBipartite, isBiconnected) and starts again until a scan finds
// no such pair. Returns true when it forced an edge or decided the graph. The 2-edge cuts
// of the last scan (all forced) are left in graph.twoEdgeCuts when a list is installed;
// without one nothing is recorded. Neighbour-array order changes (edges are put back at
// the end). `stop` (may be null), asked once per pair, ends the scan early with what was
// forced so far.
bool checkTwoEdgeCuts(Graph& graph, int16_t verbose, const StopToken* stop = nullptr);

}  // namespace hc
