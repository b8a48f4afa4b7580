// The plain form in which every format's reader hands a graph to the program, and the
// exchange formats (graph6, sparse6, DIMACS, edge lists) take it back: a node count, the
// edges once each, the forced edges among them, and (OBJ) the coordinates. Readers fill it
// after checking their whole input; only then is a solver graph built from it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"

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
// With `stop`, the joining is given up between blocks of edges once a stop is requested
// (false; the graph is then half built and must be dropped).
bool addEdgesNotPresent(Graph& graph, const std::vector<NodePair>& edges, const StopToken* stop = nullptr);

// Readers collect every edge they meet and keep each once, where it comes first: for each
// edge of `edges` (ends in 0..nodes-1, either orientation), 1 when it is the first of its
// pair and 0 for a repeat. Linear time and memory in the edges and nodes (by the smaller
// end's bucket); when the edges are few next to the nodes, by sorting, so that a file of
// many isolated nodes costs nothing per node here.
std::vector<uint8_t> firstOccurrences(std::span<const NodePair> edges, int32_t nodes);
// `edges` with every repeat removed (firstOccurrences), in order.
void dropRepeatedEdges(std::vector<NodePair>& edges, int32_t nodes);

}  // namespace hc
