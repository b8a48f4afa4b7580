#include "solve/root_pruning.h"

#include <algorithm>
#include <vector>

#include "checks/necessary_conditions.h"
#include "solve/alternation_rule.h"

namespace hc {

namespace {

// One iterative depth-first pass from node 0 that answers all three cheap questions at
// once: every node reached, no cut vertex (low points), and, when the graph is bipartite
// (tree edges give the colours, no other edge joins equal colours), equal sides. The
// scratch arrays are the thread's own and are reused; a visit stamp replaces clearing
// them, so a search pays neither allocation nor a clearing pass per tree node.
bool passesCheapChecks(const Graph& graph) {
  struct Scratch {
    std::vector<uint32_t> stamp;  // == epoch: visited in this pass
    std::vector<int32_t> order;   // discovery time
    std::vector<int32_t> low;
    std::vector<int32_t> parent;
    std::vector<int32_t> next;  // next neighbour index to look at
    std::vector<int8_t> colour;
    std::vector<int32_t> stack;
    uint32_t epoch = 0;
  };
  thread_local Scratch s;
  const int32_t n = graph.howManyNodes;
  if (n == 0) return true;
  const size_t size = static_cast<size_t>(n);
  if (s.stamp.size() < size || ++s.epoch == 0) {
    s.stamp.assign(std::max(size, s.stamp.size()), 0);
    s.order.resize(s.stamp.size());
    s.low.resize(s.stamp.size());
    s.parent.resize(s.stamp.size());
    s.next.resize(s.stamp.size());
    s.colour.resize(s.stamp.size());
    s.stack.resize(s.stamp.size());
    s.epoch = 1;
  }
  const uint32_t epoch = s.epoch;
  const bool findCutVertex = n >= 3;
  int32_t time = 0;
  int32_t rootChildren = 0;
  int64_t sides[2] = {0, 0};
  bool bipartite = true;
  int32_t top = 0;
  auto visit = [&](int32_t w, int32_t p, int8_t c) {
    s.stamp[static_cast<size_t>(w)] = epoch;
    s.order[static_cast<size_t>(w)] = s.low[static_cast<size_t>(w)] = time++;
    s.parent[static_cast<size_t>(w)] = p;
    s.next[static_cast<size_t>(w)] = 0;
    s.colour[static_cast<size_t>(w)] = c;
    ++sides[c];
    s.stack[static_cast<size_t>(top++)] = w;
  };
  visit(0, -1, 0);
  while (top > 0) {
    const int32_t v = s.stack[static_cast<size_t>(top - 1)];
    const Node& nv = graph.node(v);
    int32_t& i = s.next[static_cast<size_t>(v)];
    if (i < nv.degree) {
      const int32_t w = nv.neighborArray[i++];
      if (s.stamp[static_cast<size_t>(w)] != epoch) {
        if (v == 0) ++rootChildren;
        visit(w, v, static_cast<int8_t>(1 - s.colour[static_cast<size_t>(v)]));
      } else {
        if (s.colour[static_cast<size_t>(w)] == s.colour[static_cast<size_t>(v)]) bipartite = false;
        if (w != s.parent[static_cast<size_t>(v)])
          s.low[static_cast<size_t>(v)] = std::min(s.low[static_cast<size_t>(v)], s.order[static_cast<size_t>(w)]);
      }
      continue;
    }
    --top;
    const int32_t p = s.parent[static_cast<size_t>(v)];
    if (p < 0) continue;
    s.low[static_cast<size_t>(p)] = std::min(s.low[static_cast<size_t>(p)], s.low[static_cast<size_t>(v)]);
    if (findCutVertex && p != 0 && s.low[static_cast<size_t>(v)] >= s.order[static_cast<size_t>(p)]) return false;
  }
  if (time < n) return false;
  if (findCutVertex && rootChildren > 1) return false;
  return !bipartite || sides[0] == sides[1];
}

}  // namespace

void runCheapChecks(Graph& graph) {
  if (graph.isHamiltonian != kUndecided) return;
  if (!passesCheapChecks(graph)) graph.isHamiltonian = kNotHamiltonian;
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
  result.independentSet = std::move(alternation.refutingSet);
  return result;
}

}  // namespace hc
