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
  return graphOfPlain(plain, kFileReadGraph);
}

std::vector<uint8_t> firstOccurrences(std::span<const NodePair> edges, int32_t nodes) {
  std::vector<uint8_t> first(edges.size(), 0);
  auto smaller = [](const NodePair& e) { return static_cast<size_t>(std::min(e.first, e.second)); };
  auto larger = [](const NodePair& e) { return std::max(e.first, e.second); };
  if (edges.size() < static_cast<size_t>(std::max(nodes, 0)) / 4) {
    // Few edges: sorted by pair, then by place, the first of each run is the first met.
    auto pair = [&](uint32_t e) {
      return (uint64_t{smaller(edges[e])} << 32) | static_cast<uint32_t>(larger(edges[e]));
    };
    std::vector<uint32_t> order(edges.size());
    for (size_t e = 0; e < edges.size(); ++e) order[e] = static_cast<uint32_t>(e);
    std::sort(order.begin(), order.end(),
              [&](uint32_t x, uint32_t y) { return std::pair(pair(x), x) < std::pair(pair(y), y); });
    for (size_t k = 0; k < order.size(); ++k)
      if (k == 0 || pair(order[k]) != pair(order[k - 1])) first[order[k]] = 1;
    return first;
  }
  // The edges bucketed by their smaller end in input order; within a bucket a mark per
  // larger end keeps the first of each.
  const size_t n = static_cast<size_t>(nodes);
  std::vector<uint32_t> firstOf(n + 1, 0);
  for (const NodePair& e : edges) ++firstOf[smaller(e) + 1];
  for (size_t v = 0; v < n; ++v) firstOf[v + 1] += firstOf[v];
  struct Entry {
    int32_t larger;  // the edge's larger end
    uint32_t index;  // its place in `edges`
  };
  std::vector<Entry> bucketed(edges.size());
  {
    std::vector<uint32_t> next(firstOf.begin(), firstOf.end() - 1);
    for (size_t e = 0; e < edges.size(); ++e)
      bucketed[next[smaller(edges[e])]++] = {larger(edges[e]), static_cast<uint32_t>(e)};
  }
  std::vector<int32_t> seenFrom(n, -1);  // the smaller end whose bucket saw it last
  for (size_t a = 0; a < n; ++a)
    for (uint32_t k = firstOf[a]; k < firstOf[a + 1]; ++k) {
      int32_t& seen = seenFrom[static_cast<size_t>(bucketed[k].larger)];
      if (seen == static_cast<int32_t>(a)) continue;
      seen = static_cast<int32_t>(a);
      first[bucketed[k].index] = 1;
    }
  return first;
}

void dropRepeatedEdges(std::vector<NodePair>& edges, int32_t nodes) {
  const std::vector<uint8_t> first = firstOccurrences(edges, nodes);
  size_t kept = 0;
  for (size_t e = 0; e < edges.size(); ++e)
    if (first[e] != 0) edges[kept++] = edges[e];
  edges.resize(kept);
}

}  // namespace hc
