// The odd forced cut check. A Hamiltonian cycle crosses every edge cut an even number of
// times; if an odd set of forced edges is a whole edge cut, there is no cycle. Regions are
// the parts that stay connected through unforced edges; the chains between regions are
// the candidate cuts, each tested on a trial copy of the graph.
#pragma once

#include <cstdint>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// Only when isHamiltonian is 2; expects chains from buildChains and the scans, so every
// region node with a forced edge heads the chain its whichChain names. Sets isHamiltonian
// 0 when the chains between two regions, or out of one region, are an odd cut. The graph
// is otherwise unchanged (mark 0 again); trial copies reseed the random source. An
// inconsistent chain record prints "MASSIVE ERROR: CHAIN HEAD IS WRONG.\n" and returns
// with the verdict unchanged. `stop` (may be null), asked before each trial copy, ends the
// check early with nothing found.
void initialPruningCheckForOddForcedCut(Graph& graph, int16_t verbose, const StopToken* stop = nullptr);

}  // namespace hc
