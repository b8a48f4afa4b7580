// Look Ahead Sequencing (Full LAS): every unforced edge is tried with a trial cut, pass
// after pass until a pass changes nothing. An edge whose deletion is fatal is forced; an
// edge whose deletion closes a Hamiltonian cycle is deleted for real. Changes are real and
// recorded in whatever undo log is installed, so callers running under a trial or a search
// level can roll them back with everything else.
#pragma once

#include <cstdint>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// Full LAS; `withDC` non-zero runs the Disjunction Check inside every trial. True when at
// least one edge was forced. Does nothing (false) unless isHamiltonian is 2. `stop` (may
// be null), asked before every trial cut, ends the passes early: what was forced so far
// stays sound, only less is found.
bool lookAheadSequencing(Graph& graph, int16_t withDC, const StopToken* stop = nullptr);

// Full LAS as the initial pruning calls it: mode 2 without the Disjunction Check, any other
// mode with it; verbose 1 writes the progress lines. True when LAS forced an edge or when it
// proved the graph non-Hamiltonian.
bool initialPruningLookAheadSequencing(Graph& graph, int16_t verbose, int16_t mode,
                                       const StopToken* stop = nullptr);

}  // namespace hc
