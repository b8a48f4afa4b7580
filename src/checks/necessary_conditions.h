// Necessary conditions for a Hamiltonian cycle, tested on the current edges of a graph:
// enough edges, no node of degree below two, connected, not bipartite with sides of
// unequal size, and biconnected. Every pruning sequence (SCHC driver, Co-HC tree, the
// 2-edge-cut re-pruning) runs these before anything expensive.
//
// All checks use Node::mark as their only scratch storage and leave it 0 on every node.
// A check that finds its condition violated sets isHamiltonian to 0; none ever sets it to
// 1 or back to 2. With verbose == 1 a check writes its lines to the diagnostic stream.
#pragma once

#include <cstdint>
#include <span>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// Only when isHamiltonian is 2: fewer edges than nodes sets it to 0.
void checkEnoughEdges(Graph& graph, int16_t verbose);

// Only when isHamiltonian is 2: the first node (index order) of degree below 2 sets it to 0.
void checkLowDegreeNodes(Graph& graph, int16_t verbose);

// Only when isHamiltonian is 2: one flood fill from node 0 colours the graph; a
// disconnected graph, or a bipartite one with sides of unequal size, sets it to 0.
// A graph with no nodes passes, and so does one whose fill `stop` (may be null) ended.
void checkConnectedNotUnevenlyBipartite(Graph& graph, int16_t verbose, const StopToken* stop = nullptr);

// Only when isHamiltonian is 2: false (and isHamiltonian 0) when the graph is disconnected.
// Returns true without testing when the verdict is not 2, and for a graph with no nodes.
// The flood fill is checkConnectedNotUnevenlyBipartite's; verbose 1 writes "About to check
// if the graph is connected.", then "The graph is not connected." or "The graph is
// connected.".
bool isConnected(Graph& graph, int16_t verbose);

// Two-colours every component; true when no edge joins two nodes of one colour.
// Runs whatever isHamiltonian holds and never changes it.
bool isBipartite(Graph& graph, int16_t verbose);

// True when the graph is connected and has no cut vertex. Depth-first search rooted at
// node 4 (node 0 when there are fewer than five nodes), linear in nodes and edges; a graph
// with no nodes is not biconnected, one node is. Never changes isHamiltonian (callers set 0
// on false) and writes nothing. `stop` (may be null) ends the search early, and a stopped
// search answers true: it proves nothing.
bool isBiconnected(Graph& graph, int16_t verbose = 0, const StopToken* stop = nullptr);

// A node's current neighbours, for scans over any neighbour view.
inline std::span<const int32_t> neighboursOf(const Node& node) {
  return std::span<const int32_t>(node.neighborArray, static_cast<size_t>(node.degree > 0 ? node.degree : 0));
}

}  // namespace hc
