#include "core/plain_graph.h"

namespace hc {

std::unique_ptr<Graph> graphOfPlain(const PlainGraph& plain, int16_t graphType) {
  auto graph = std::make_unique<Graph>(plain.nodes, graphType, plain.edges);
  graph->coordinates = plain.coordinates;
  // Forcing only records the edges; the methods' own pruning takes it from there.
  for (const auto& [a, b] : plain.forced) graph->setUncut(a, b);
  return graph;
}

}  // namespace hc
