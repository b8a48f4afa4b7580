// `solve` through the decomposition rules (src/decompose): the root graph, once pruned, is
// split at its small separators and small edge cuts, and every part that no rule splits
// further is decided by the whole of `solve` (without the rules again), each forced edge of a
// part subdivided by a node of degree 2 so that the part is a plain graph.
#pragma once

#include <cstdint>

#include "core/graph.h"
#include "core/stop_token.h"
#include "solve/solve_graph.h"

namespace hc {

// Tries the rules on `root` (the pruned graph: its current edges, its forced edges). False
// when no rule applies, or when they gave no verdict without being stopped: the portfolio
// goes on. True with `out` holding the verdict, the cycle (not yet checked against the graph
// as given), the method and the parts' tree nodes; or, with the verdict undecided, timedOut
// or interrupted set.
// `run` is the solve's own token (the caller's stop and its deadline); the parts are solved
// under a child of it.
bool solveByDecomposition(const Graph& root, const SolveOptions& options, const StopToken& run,
                          SolveResult& out);

}  // namespace hc
