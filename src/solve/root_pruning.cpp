#include "solve/root_pruning.h"

#include <algorithm>
#include <span>
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
bool passesWholeChecks(int32_t n, NeighboursOf&& neighboursOf, const StopToken* stop) {
  if (n == 0) return true;
  const DepthFirstScan scan = depthFirstScan(n, 0, neighboursOf, n >= 3, stop);
  if (scan.stopped) return true;
  if (scan.cutVertex || scan.reached < n) return false;
  return scan.sameColourEdge || scan.sides[0] == scan.sides[1];
}

// On a dense graph a spanning subgraph is asked first: every node with its first
// kSparseDegree neighbours (the edges taken both ways). Edges added to a connected graph
// without a cut vertex leave it so, and to a graph with an odd cycle too, and a connected
// bipartite graph has the sides of any connected spanning subgraph; so when the subgraph
// passes, the graph passes, at a small part of the cost. Otherwise the whole graph answers.
constexpr int64_t kSparseDegree = 8;

template <typename NeighboursOf>
bool passesCheapChecks(int32_t n, int64_t entries, NeighboursOf&& neighboursOf, const StopToken* stop) {
  if (entries > 4 * kSparseDegree * n) {
    // The thread's own arrays, reused: the search asks at its tree nodes.
    thread_local std::vector<int64_t> first, fill;
    thread_local std::vector<int32_t> joined;
    first.assign(static_cast<size_t>(n) + 1, 0);
    auto sparse = [&](int32_t v) {
      return neighboursOf(v).first(std::min<size_t>(neighboursOf(v).size(), kSparseDegree));
    };
    for (int32_t v = 0; v < n; ++v)
      for (int32_t w : sparse(v)) ++first[static_cast<size_t>(v) + 1], ++first[static_cast<size_t>(w) + 1];
    for (size_t v = 1; v < first.size(); ++v) first[v] += first[v - 1];
    joined.resize(static_cast<size_t>(first.back()));
    fill.assign(first.begin(), first.end() - 1);
    for (int32_t v = 0; v < n; ++v)
      for (int32_t w : sparse(v)) {
        joined[static_cast<size_t>(fill[static_cast<size_t>(v)]++)] = w;
        joined[static_cast<size_t>(fill[static_cast<size_t>(w)]++)] = v;
      }
    auto subgraph = [&](int32_t v) {
      return std::span<const int32_t>(joined).subspan(
          static_cast<size_t>(first[static_cast<size_t>(v)]),
          static_cast<size_t>(first[static_cast<size_t>(v) + 1] - first[static_cast<size_t>(v)]));
    };
    if (passesWholeChecks(n, subgraph, stop)) return true;
  }
  return passesWholeChecks(n, neighboursOf, stop);
}

bool passesCheapChecks(const Graph& graph, const StopToken* stop) {
  return passesCheapChecks(
      graph.howManyNodes, 2 * static_cast<int64_t>(graph.howManyEdges),
      [&graph](int32_t v) { return neighboursOf(graph.node(v)); }, stop);
}

}  // namespace

bool failsCheapChecks(const Graph& graph, const StopToken* stop) {
  return !passesCheapChecks(graph, stop);
}

bool failsCheapChecks(const EdgeSnapshot& edges, const StopToken* stop) {
  return !passesCheapChecks(
      edges.nodes(), 2 * edges.edges(), [&edges](int32_t v) { return edges.neighborsOf(v); }, stop);
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
