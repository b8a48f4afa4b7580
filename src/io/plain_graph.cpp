#include "io/plain_graph.h"

#include <algorithm>

#include "core/random.h"

namespace hc {

PlainGraph plainGraphOf(const Graph& graph) {
  PlainGraph plain;
  plain.nodes = graph.howManyNodes;
  plain.edges.reserve(static_cast<size_t>(std::max(graph.howManyEdges, 0)));
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    const Node& node = graph.node(v);
    for (int32_t k = 0; k < node.degree; ++k) {
      int32_t w = node.neighborArray[k];
      if (w <= v) continue;
      plain.edges.emplace_back(v, w);
      if (graph.isUncuttableEdge(v, w)) plain.forced.emplace_back(v, w);
    }
  }
  return plain;
}

std::unique_ptr<Graph> buildGraphFromPlain(const PlainGraph& plain) {
  reseedFromClock(graphClockSeed());
  constexpr int16_t kFileReadGraph = 9;
  auto graph = std::make_unique<Graph>(plain.nodes, kFileReadGraph, plain.edges);
  graph->coordinates = plain.coordinates;
  // Forcing only records the edges; the methods' own pruning takes it from there.
  for (const auto& [a, b] : plain.forced) graph->setUncut(a, b);
  return graph;
}

void addEdgesNotPresent(Graph& graph, const std::vector<NodePair>& edges) {
  bool empty = true;
  for (const Node& node : graph.nodes) empty = empty && node.adjacencyList.empty();
  if (empty) {  // the usual case: a graph just made for the file
    for (const auto& [a, b] : edges) graph.addEdge(a, b);
    return;
  }
  std::vector<NodePair> known;
  EdgeCollector present(known);
  for (const Node& node : graph.nodes)
    for (int32_t neighbor : node.adjacencyList) present.add(node.id, neighbor);
  for (const auto& [a, b] : edges)
    if (present.add(a, b) == EdgeCollector::Added::Yes) graph.addEdge(a, b);
}

EdgeCollector::Added EdgeCollector::add(int32_t a, int32_t b) {
  if (a == b) return Added::Loop;
  uint64_t key = (static_cast<uint64_t>(std::min(a, b)) << 32) | static_cast<uint32_t>(std::max(a, b));
  if (!seen_.insert(key).second) return Added::Repeated;
  edges_.emplace_back(a, b);
  return Added::Yes;
}

}  // namespace hc
