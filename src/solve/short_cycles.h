// The node sets of a graph's short cycles, for the clause learner to start with. A 2-factor
// falls apart first into short cycles (in a 3-SAT reduction thousands of them, of 3 to 20
// nodes, in every round), and the lazy rounds learn their subtour clauses a round's worth
// at a time, every round a full solve. Given up front, the clauses of every cycle up to
// length 9 decide a 42,000-node reduction in one round where the rounds took sixteen.
//
// The cycles are listed length by length (3, 4, ...), each length in full or not at all: a
// length whose listing passes the step or set budget is dropped with every longer one, so
// what is returned is every cycle up to some length, whatever the numbering of the nodes.
#pragma once

#include <cstdint>
#include <vector>

#include "core/stop_token.h"
#include "solve/sat_formula.h"

namespace hc {

struct ShortCycleLimits {
  int32_t longest = 12;  // cycle length (nodes) listed at most
  // The whole listing's budget: path extensions, and distinct node sets kept.
  int64_t steps = 0;
  int64_t sets = 0;
};

// The budget for a problem: 160 neighbour scans and one node set per edge (0.2 s on the
// 60,000 edges of a 3-SAT reduction).
ShortCycleLimits shortCycleLimitsFor(const SatEdgeProblem& problem);

// The node sets (each sorted, each once) of the cycles of the problem's edges that are not
// deleted, up to the longest length the limits allow and shorter than the whole graph: a
// cycle through every node is a Hamiltonian cycle, not a subtour. Empty when `stop` ends it.
std::vector<std::vector<int32_t>> shortCycleNodeSets(const SatEdgeProblem& problem,
                                                     const EdgeIncidence& incidence,
                                                     const ShortCycleLimits& limits, const StopToken& stop);

}  // namespace hc
