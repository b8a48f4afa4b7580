#include "solve/root_pruning.h"

#include <algorithm>
#include <vector>

#include "checks/necessary_conditions.h"
#include "solve/alternation_rule.h"

namespace hc {

namespace {

// One breadth-first pass from node 0: false when some node is unreached, or when the
// graph is bipartite with sides of unequal size. Linear in the graph; the scratch arrays
// are the thread's own and are reused, so a search pays no allocation per tree node.
bool connectedAndEvenlyBipartite(const Graph& graph) {
  thread_local std::vector<int8_t> colour;
  thread_local std::vector<int32_t> queue;
  const int32_t n = graph.howManyNodes;
  if (n == 0) return true;
  colour.assign(static_cast<size_t>(n), -1);
  queue.resize(static_cast<size_t>(n));
  int32_t head = 0;
  int32_t tail = 0;
  int64_t sides[2] = {1, 0};
  bool bipartite = true;
  colour[0] = 0;
  queue[static_cast<size_t>(tail++)] = 0;
  while (head < tail) {
    const Node& v = graph.node(queue[static_cast<size_t>(head++)]);
    const int8_t c = colour[static_cast<size_t>(v.id)];
    for (int32_t i = 0; i < v.degree; ++i) {
      int32_t w = v.neighborArray[i];
      int8_t& cw = colour[static_cast<size_t>(w)];
      if (cw == -1) {
        cw = static_cast<int8_t>(1 - c);
        ++sides[cw];
        queue[static_cast<size_t>(tail++)] = w;
      } else if (cw == c) {
        bipartite = false;
      }
    }
  }
  if (tail < n) return false;
  return !bipartite || sides[0] == sides[1];
}

// No cut vertex, by an iterative depth-first search from node 0 with low points (the graph
// is known to be connected). Linear, with the thread's reusable scratch arrays.
bool withoutCutVertex(const Graph& graph) {
  thread_local std::vector<int32_t> order;  // discovery time, -1 unvisited
  thread_local std::vector<int32_t> low;
  thread_local std::vector<int32_t> parent;
  thread_local std::vector<int32_t> next;  // next neighbour index to look at
  thread_local std::vector<int32_t> stack;
  const int32_t n = graph.howManyNodes;
  if (n < 3) return true;
  order.assign(static_cast<size_t>(n), -1);
  low.resize(static_cast<size_t>(n));
  parent.assign(static_cast<size_t>(n), -1);
  next.assign(static_cast<size_t>(n), 0);
  stack.clear();
  int32_t time = 0;
  int32_t rootChildren = 0;
  order[0] = low[0] = time++;
  stack.push_back(0);
  while (!stack.empty()) {
    const int32_t v = stack.back();
    const Node& nv = graph.node(v);
    int32_t& i = next[static_cast<size_t>(v)];
    if (i < nv.degree) {
      const int32_t w = nv.neighborArray[i++];
      if (order[static_cast<size_t>(w)] == -1) {
        parent[static_cast<size_t>(w)] = v;
        order[static_cast<size_t>(w)] = low[static_cast<size_t>(w)] = time++;
        if (v == 0) ++rootChildren;
        stack.push_back(w);
      } else if (w != parent[static_cast<size_t>(v)]) {
        low[static_cast<size_t>(v)] = std::min(low[static_cast<size_t>(v)], order[static_cast<size_t>(w)]);
      }
      continue;
    }
    stack.pop_back();
    const int32_t p = parent[static_cast<size_t>(v)];
    if (p < 0) continue;
    low[static_cast<size_t>(p)] = std::min(low[static_cast<size_t>(p)], low[static_cast<size_t>(v)]);
    if (p != 0 && low[static_cast<size_t>(v)] >= order[static_cast<size_t>(p)]) return false;
  }
  return rootChildren <= 1;
}

}  // namespace

void runCheapChecks(Graph& graph) {
  if (graph.isHamiltonian != kUndecided) return;
  if (!connectedAndEvenlyBipartite(graph)) {
    graph.isHamiltonian = kNotHamiltonian;
    return;
  }
  if (!withoutCutVertex(graph)) graph.isHamiltonian = kNotHamiltonian;
}

HamiltonicityState pruneRootIncrementally(Graph& graph) {
  if (graph.howManyNodes < 3) graph.isHamiltonian = kNotHamiltonian;
  checkEnoughEdges(graph, 0);
  checkLowDegreeNodes(graph, 0);
  runCheapChecks(graph);
  const int32_t edgesBefore = graph.howManyEdges;
  for (int32_t v = 0; v < graph.howManyNodes && graph.isHamiltonian == kUndecided; ++v) {
    graph.forceDegreeTwo(v);
    graph.processPruningQueue();
  }
  if (graph.howManyEdges != edgesBefore) runCheapChecks(graph);
  return graph.isHamiltonian;
}

RootPruningResult pruneRoot(Graph& graph, uint32_t seed) {
  RootPruningResult result;
  result.verdict = pruneRootIncrementally(graph);
  if (result.verdict != kUndecided) return result;
  if (graph.howManyNodes > kAlternationNodeLimit) return result;
  AlternationOutcome alternation = applyAlternationRule(graph, seed);
  result.alternationDeletions = alternation.deletedEdges;
  if (alternation.deletedEdges > 0) runCheapChecks(graph);
  result.verdict = graph.isHamiltonian;
  result.byAlternation = result.verdict == kNotHamiltonian;
  return result;
}

}  // namespace hc
