// The plain form in which the exchange formats (graph6, sparse6, DIMACS, edge lists) hand
// graphs to the program and take them back: a node count, the edges once each, and the
// forced edges among them. Readers fill it after checking their whole input; only then is a
// solver graph built from it.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/graph.h"

namespace hc {

using NodePair = std::pair<int32_t, int32_t>;

struct PlainGraph {
  int32_t nodes = 0;
  std::vector<NodePair> edges;   // 0-based, each edge once, in input order
  std::vector<NodePair> forced;  // edges that every Hamiltonian cycle must use
};

// The current edges of `graph`, each once from its smaller end in neighbour-array order, and
// the forced ones among them.
PlainGraph plainGraphOf(const Graph& graph);

// A finished solver graph (generation type 9, like every file-read graph) with the forced
// edges set. Reseeds the random source like every graph construction.
std::unique_ptr<Graph> buildGraphFromPlain(const PlainGraph& plain);

// Collects the edges of a reader: a repeated edge is kept once, a loop is refused.
class EdgeCollector {
 public:
  enum class Added { Yes, Repeated, Loop };
  explicit EdgeCollector(std::vector<NodePair>& edges) : edges_(edges) {}
  Added add(int32_t a, int32_t b);

 private:
  std::vector<NodePair>& edges_;
  std::unordered_set<uint64_t> seen_;
};

}  // namespace hc
