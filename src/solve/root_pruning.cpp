#include "solve/root_pruning.h"

#include "checks/necessary_conditions.h"
#include "solve/alternation_rule.h"

namespace hc {

void runCheapChecks(Graph& graph) {
  if (graph.isHamiltonian != kUndecided) return;
  checkConnectedNotUnevenlyBipartite(graph, 0);
  if (graph.isHamiltonian != kUndecided) return;
  if (!isBiconnected(graph, 0)) graph.isHamiltonian = kNotHamiltonian;
}

HamiltonicityState pruneRootIncrementally(Graph& graph) {
  if (graph.howManyNodes < 3) graph.isHamiltonian = kNotHamiltonian;
  checkEnoughEdges(graph, 0);
  checkLowDegreeNodes(graph, 0);
  runCheapChecks(graph);
  for (int32_t v = 0; v < graph.howManyNodes && graph.isHamiltonian == kUndecided; ++v) {
    graph.forceDegreeTwo(v);
    graph.processPruningQueue();
  }
  runCheapChecks(graph);
  return graph.isHamiltonian;
}

RootPruningResult pruneRoot(Graph& graph, uint32_t seed) {
  RootPruningResult result;
  result.verdict = pruneRootIncrementally(graph);
  if (result.verdict != kUndecided) return result;
  AlternationOutcome alternation = applyAlternationRule(graph, seed);
  result.alternationDeletions = alternation.deletedEdges;
  if (alternation.deletedEdges > 0) runCheapChecks(graph);
  result.verdict = graph.isHamiltonian;
  result.byAlternation = result.verdict == kNotHamiltonian;
  return result;
}

}  // namespace hc
