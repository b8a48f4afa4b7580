#include "solve/decomposed_solve.h"

#include <algorithm>

#include "core/stop_token.h"
#include "core/verdict.h"
#include "decompose/decompose.h"

namespace hc {

namespace {

PartGraph partOfGraph(const Graph& graph) {
  PartGraph part;
  part.nodeCount = graph.howManyNodes;
  for (const Node& node : graph.nodes)
    for (int32_t i = 0; i < node.degree; ++i) {
      const int32_t w = node.neighborArray[i];
      if (node.id < w) part.edges.push_back({node.id, w, node.isForcedNeighbor(w)});
    }
  return part;
}

// The part as a solver graph: a forced edge a-b becomes a-x-b through a new node x, which
// the root pruning forces at once.
Graph graphOfPart(const PartGraph& part) {
  const SubdividedPart plain = subdivideForcedEdges(part);
  Graph graph(plain.nodeCount, 0);
  for (auto [a, b] : plain.edges) graph.addEdge(a, b);
  graph.finishConstruction();
  return graph;
}

}  // namespace

bool solveByDecomposition(const Graph& root, const SolveOptions& options, const StopToken& run,
                          SolveResult& out) {
  StopToken token(&run);
  int64_t treeNodes = 0;
  const PartDecider decide = [&](const PartGraph& part, const StopToken&) {
    PartAnswer answer;
    if (token.stopRequested()) return answer;
    SolveOptions partOptions = options;
    partOptions.useDecomposition = false;
    partOptions.branch.clear();          // the branch's edges are the whole graph's
    partOptions.certificate = nullptr;   // a part's proof is no proof of the whole
    partOptions.timeLimitSeconds = 0.0;  // the run's token carries its deadline
    const SolveResult solved = solveGraph(graphOfPart(part), partOptions, &token);
    treeNodes += solved.treeNodes;
    answer.verdict = verdictOf(solved.verdict);
    for (int32_t v : solved.cycle)
      if (v < part.nodeCount) answer.cycle.push_back(v);  // the subdivision nodes go
    return answer;
  };
  const DecomposeResult decided = decomposeAndDecide(partOfGraph(root), decide, token);
  out.treeNodes = treeNodes;
  if (!decided.applied) return false;
  if (decided.verdict == Verdict::kUndecided) {
    if (!token.stopRequested()) return false;
    out.interrupted = token.reason() == StopReason::kRequest;
    out.timedOut = !out.interrupted;
    return true;
  }
  out.verdict = decided.verdict == Verdict::kHamiltonian ? kHamiltonian : kNotHamiltonian;
  out.cycle = decided.cycle;
  out.decidedBy = decided.decidedBy;
  return true;
}

}  // namespace hc
