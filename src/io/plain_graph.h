// The readers' side of the plain graph (core/plain_graph.h), the form in which every
// format's reader hands a graph to the program and the exchange formats (graph6, sparse6,
// DIMACS, edge lists) take it back. Readers fill it after checking their whole input; only
// then is a solver graph built from it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "core/plain_graph.h"
#include "core/stop_token.h"

namespace hc {

// The most nodes a graph file may declare (a larger graph would not fit the solver's 32-bit
// counts with room to work, and a typo must not allocate gigabytes). Text and OBJ files are
// held to the generators' limit instead (generation builds every file's graph).
constexpr int32_t kMaxFileNodes = 5000000;

// The current edges of `graph`, each once from its smaller end in neighbour-array order, and
// the forced ones among them.
PlainGraph plainGraphOf(const Graph& graph);

// graphOfPlain with graph type 9 (a file-read graph), after reseeding the random source like
// every graph construction: the graph of edges a caller hands in.
std::unique_ptr<Graph> buildGraphFromPlain(const PlainGraph& plain);

// Readers collect every edge they meet and keep each once, where it comes first: for each
// edge of `edges` (ends in 0..nodes-1, either orientation), 1 when it is the first of its
// pair and 0 for a repeat. Linear time and memory in the edges and nodes (by the smaller
// end's bucket); when the edges are few next to the nodes, by sorting, so that a file of
// many isolated nodes costs nothing per node here.
std::vector<uint8_t> firstOccurrences(std::span<const NodePair> edges, int32_t nodes);
// `edges` with every repeat removed (firstOccurrences), in order.
void dropRepeatedEdges(std::vector<NodePair>& edges, int32_t nodes);

}  // namespace hc
