// The alternation rule, a global argument that local propagation cannot make. Let S be an
// independent set. A Hamiltonian cycle has |V| edges and each node of S takes two of them,
// all distinct and all leading out of S; so |S| > |V| / 2 leaves no cycle, and with
// |S| = |V| / 2 every cycle edge has an end in S: it alternates between S and the rest, and
// every edge with both ends outside S can go. A graph that is also bipartite in the usual
// way (knight's graphs on 4 x C boards) then has two different bipartitions that every
// cycle must respect, which splits it apart, and the connectivity check ends it.
//
// Large independent sets are found by a greedy pass (smallest remaining degree first,
// random ties) improved by (1,2)-swaps: a set member leaves when two non-adjacent outside
// nodes that only it blocks can come in.
#pragma once

#include <cstdint>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// An independent set of the current edges, as large as the greedy pass and the swaps make
// it: inSet[v] is 1 for members. Deterministic for a given seed.
std::vector<uint8_t> largeIndependentSet(const Graph& graph, uint32_t seed);

// The nodes of an independent set of more than half the nodes of `graph` as given, one
// greedy pass with the swaps (seed `seed`) having found one; else empty. Near-linear and
// changes nothing: the refuting half of the rule, for graphs where a heuristic would
// otherwise run before the pruning.
std::vector<int32_t> refutingIndependentSet(const Graph& graph, uint32_t seed);

struct AlternationOutcome {
  int32_t deletedEdges = 0;          // edges removed by the rule itself and the pruning it caused
  int32_t usefulSets = 0;            // sets of exactly half the nodes that removed something
  std::vector<int32_t> refutingSet;  // a set of more than half the nodes, when one refuted the graph
  // The useful sets' nodes in the order they acted (at most `attempts` sets of n / 2 nodes),
  // so that a certificate can repeat the rule.
  std::vector<std::vector<int32_t>> halfSets;
};

// Tries `attempts` independent sets (seeds seed, seed + 1, ...). One of more than half the
// nodes sets isHamiltonian 0; one of exactly half deletes (with Graph::cut, so the pruning
// queue runs and the installed list records it) the edges outside it, and a forced edge
// outside it sets isHamiltonian 0. Does nothing unless isHamiltonian is 2. `stop` (may be
// null) ends it between sets.
AlternationOutcome applyAlternationRule(Graph& graph, uint32_t seed, int32_t attempts = 6,
                                        const StopToken* stop = nullptr);

}  // namespace hc
