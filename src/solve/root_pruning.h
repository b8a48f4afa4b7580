// The root of every solving method: the necessary conditions on the graph as given, then
// the forcing of degree-2 nodes through the incremental model (so chains, hubs and rings are
// kept from the start and every later change can be undone), then the global alternation
// rule. Everything here is cheap (a few linear passes) and sound: an edge is deleted only
// when no Hamiltonian cycle can use it, a verdict 0 only with a proof.
#pragma once

#include <cstdint>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

struct RootPruningResult {
  HamiltonicityState verdict = kUndecided;
  int32_t alternationDeletions = 0;     // edges the alternation rule removed
  bool byAlternation = false;           // the alternation rule gave the verdict 0
  std::vector<int32_t> independentSet;  // its set of more than half the nodes, when that was the reason
  // Its sets of exactly half the nodes that deleted edges, in the order they acted.
  std::vector<std::vector<int32_t>> alternationSets;
};

// Fewer than 3 nodes, a node of degree below 2, too few edges, a disconnected or unevenly
// bipartite graph, or a cut vertex: verdict 0. A graph that is one cycle: verdict 1.
// Otherwise every degree-2 node is forced (logged in the installed list, if any) and the
// queue runs. Expects no forced edges yet (a freshly loaded graph). `stop` (may be null)
// ends the checks and the forcing early; what was forced stays sound, and a stopped check
// gives no verdict.
HamiltonicityState pruneRootIncrementally(Graph& graph, const StopToken* stop = nullptr);

// The cheap whole-graph checks the search runs at its tree nodes: connected, not unevenly
// bipartite, no cut vertex. Sets isHamiltonian 0 when one fails; a pass that `stop` (may
// be null) ended sets nothing.
void runCheapChecks(Graph& graph, const StopToken* stop = nullptr);

// Above this many nodes the alternation rule tries one independent set, not several (each
// is a pass with a priority queue; the graphs it proves are mostly far smaller).
inline constexpr int32_t kAlternationNodeLimit = 200000;

// The same checks on a graph as given, without changing it: true when it is disconnected,
// unevenly bipartite or has a cut vertex. A pass that `stop` (may be null) ended refutes
// nothing. One linear pass, for graphs where something else runs before the pruning.
bool failsCheapChecks(const Graph& graph, const StopToken* stop = nullptr);
// The same on the graph's edges: its neighbour lists lie in one array, so the pass over a
// graph of millions of nodes reads far fewer pages than the solver graph's node records.
bool failsCheapChecks(const EdgeSnapshot& edges, const StopToken* stop = nullptr);

// pruneRootIncrementally, then the alternation rule (see alternation_rule.h) with `seed`,
// then the cheap checks again when the rule deleted edges. A stop (may be null) ends it
// early, undecided unless a sound step decided already.
RootPruningResult pruneRoot(Graph& graph, uint32_t seed, const StopToken* stop = nullptr);

}  // namespace hc
