// The Disjunction Check: an edge whose deletion and whose forcing both lead to a
// contradiction proves the graph non-Hamiltonian. The scan only looks; it never forces an
// edge whose deletion alone is fatal (that is Look Ahead Sequencing's job).
#pragma once

#include <cstdint>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// Tries every unforced edge v-w (v < w, node order, neighbour order); the first edge whose
// trial cut and trial force both give 0 sets isHamiltonian to 0 (and with verbose 1 names it).
// `stop` (may be null), polled before every trial, ends the scan early without a verdict.
void disjunctionScan(Graph& graph, int16_t verbose, const StopToken* stop = nullptr);

// The scan wrapped in its verbose lines ("About to run a disjunction check." ...).
void disjunctionCheck(Graph& graph, int16_t verbose, const StopToken* stop = nullptr);

}  // namespace hc
