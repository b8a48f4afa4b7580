// The plain form in which every format's reader hands a graph to the program, and the
// exchange formats (graph6, sparse6, DIMACS, edge lists) take it back: a node count, the
// edges once each, the forced edges among them, and (OBJ) the coordinates. Readers fill it
// after checking their whole input; only then is a solver graph built from it.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/graph.h"

namespace hc {

using NodePair = std::pair<int32_t, int32_t>;

// The most nodes a graph file may declare (a larger graph would not fit the solver's 32-bit
// counts with room to work, and a typo must not allocate gigabytes). Text and OBJ files are
// held to the generators' limit instead, as they are built by generation.
constexpr int32_t kMaxFileNodes = 5000000;

struct PlainGraph {
  int32_t nodes = 0;
  std::vector<NodePair> edges;           // 0-based, each edge once, in input order
  std::vector<NodePair> forced;          // edges that every Hamiltonian cycle must use
  std::vector<Point3> coordinates = {};  // one per node for OBJ files, else empty
};

// The current edges of `graph`, each once from its smaller end in neighbour-array order, and
// the forced ones among them.
PlainGraph plainGraphOf(const Graph& graph);

// A finished solver graph (generation type 9, like every file-read graph) with the forced
// edges set and the coordinates. Reseeds the random source like every graph construction.
std::unique_ptr<Graph> buildGraphFromPlain(const PlainGraph& plain);

// Construction phase: joins the edges of `edges` that `graph` does not hold yet, in order.
void addEdgesNotPresent(Graph& graph, const std::vector<NodePair>& edges);

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
