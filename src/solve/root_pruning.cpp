#include "solve/root_pruning.h"

#include <algorithm>
#include <vector>

#include "checks/depth_first_scan.h"
#include "checks/necessary_conditions.h"
#include "solve/alternation_rule.h"

namespace hc {

namespace {

// One depth-first pass from node 0 answers all three cheap questions at once: every node
// reached, no cut vertex (low points), and, when the graph is bipartite (tree edges give
// the colours, no other edge joins equal colours), equal sides. A stopped pass passes.
template <typename NeighboursOf>
bool passesCheapChecks(int32_t n, NeighboursOf&& neighboursOf, const StopToken* stop) {
  if (n == 0) return true;
  const DepthFirstScan scan = depthFirstScan(n, 0, neighboursOf, n >= 3, stop);
  if (scan.stopped) return true;
  if (scan.cutVertex || scan.reached < n) return false;
  return scan.sameColourEdge || scan.sides[0] == scan.sides[1];
}

bool passesCheapChecks(const Graph& graph, const StopToken* stop) {
  return passesCheapChecks(
      graph.howManyNodes, [&graph](int32_t v) { return neighboursOf(graph.node(v)); }, stop);
}

}  // namespace

bool failsCheapChecks(const Graph& graph, const StopToken* stop) {
  return !passesCheapChecks(graph, stop);
}

bool failsCheapChecks(const EdgeSnapshot& edges, const StopToken* stop) {
  return !passesCheapChecks(
      edges.nodes(), [&edges](int32_t v) { return edges.neighborsOf(v); }, stop);
}

void runCheapChecks(Graph& graph, const StopToken* stop) {
  if (graph.isHamiltonian != kUndecided) return;
  if (!passesCheapChecks(graph, stop)) graph.isHamiltonian = kNotHamiltonian;
}

HamiltonicityState pruneRootIncrementally(Graph& graph, const StopToken* stop) {
  if (graph.howManyNodes < 3) graph.isHamiltonian = kNotHamiltonian;
  checkEnoughEdges(graph, 0);
  checkLowDegreeNodes(graph, 0);
  runCheapChecks(graph, stop);
  const int32_t edgesBefore = graph.howManyEdges;
  for (int32_t v = 0; v < graph.howManyNodes && graph.isHamiltonian == kUndecided; ++v) {
    if (pollStop(stop)) return graph.isHamiltonian;
    graph.forceDegreeTwo(v);
    graph.processPruningQueue();
  }
  if (graph.howManyEdges != edgesBefore) runCheapChecks(graph, stop);
  return graph.isHamiltonian;
}

RootPruningResult pruneRoot(Graph& graph, uint32_t seed, const StopToken* stop) {
  RootPruningResult result;
  result.verdict = pruneRootIncrementally(graph, stop);
  if (result.verdict != kUndecided || stopRequested(stop)) return result;
  const int32_t attempts = graph.howManyNodes > kAlternationNodeLimit ? 1 : 6;
  AlternationOutcome alternation = applyAlternationRule(graph, seed, attempts, stop);
  result.alternationDeletions = alternation.deletedEdges;
  if (alternation.deletedEdges > 0) runCheapChecks(graph);
  result.verdict = graph.isHamiltonian;
  result.byAlternation = result.verdict == kNotHamiltonian;
  result.independentSet = std::move(alternation.refutingSet);
  result.alternationSets = std::move(alternation.halfSets);
  return result;
}

}  // namespace hc
