// The figures of a graph that the Graph Information page shows and `hamcycles-cli info`
// prints: name, node and edge counts, forced edges, degrees, and whether the graph is
// bipartite, connected and biconnected, with the page's ten lines. Edges and forced edges
// are counted after the cheap pruning the Co-HC proof applies at its root, on a throw-away
// copy, so the graph given is never changed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"

namespace hc {

// Node and edge counts and degrees of a graph as it stands, without any pruning (what
// `info` reports as loaded, beside the page's figures). No nodes: every figure 0.
struct DegreeFigures {
  int32_t nodes = 0;
  int32_t edges = 0;
  double averageDegree = 0.0;
  int32_t minDegree = 0;
  int32_t maxDegree = 0;
};
DegreeFigures degreeFigures(const Graph& graph);
// The same from an edge snapshot (parallel entries count as edges, as in a graph).
DegreeFigures degreeFigures(const EdgeSnapshot& graph);

struct GraphInformation {
  std::string name;
  DegreeFigures pruned;     // after the root pruning: what the page shows
  int32_t forcedEdges = 0;  // after the root pruning
  bool bipartite = false;
  bool connected = false;
  bool biconnected = false;
  DegreeFigures asLoaded;  // before the pruning (what `info` reports under the plain names)
};

// The one place the root pruning is done for the window: a copy of `submitted` after
// isBipartite, isConnected and isBiconnected, then checkLowDegreeNodes,
// setUncuttabilities, lightning, buildChains and HeadHunter, all quiet. The Information
// page counts its edges and forced edges; the editor shows those forced edges in orange.
struct RootPruning {
  std::unique_ptr<Graph> graph;
  bool bipartite = false;
  bool connected = false;
  bool biconnected = false;
};
RootPruning pruneAtRoot(const Graph& submitted);

// A graph without nodes reads 0 for every degree figure (its average would divide by 0).
// A graph with a node of degree below two is answered without the copy (see below).
GraphInformation computeGraphInformation(const Graph& submitted, const std::string& name);

// The page's figures of a graph that has a node of degree below two, read off its edges
// alone: the root pruning changes nothing in such a graph (its low-degree check ends it
// before anything is forced or cut), so the pruned figures are the graph's own and only
// the three structural flags take a pass each. A front end may build the snapshot from a
// file's edge list (EdgeSnapshot(nodes, edges)) and never build a solver graph: a file of
// millions of isolated nodes then costs a few bytes per node. `forcedEdges` is the count of
// the file's forced edges. Empty when every node has degree two or more, or there are no
// nodes (the figures then need computeGraphInformation).
std::optional<GraphInformation> lowDegreeGraphInformation(const EdgeSnapshot& graph, int32_t forcedEdges,
                                                          const std::string& name);

// The page's ten lines, captions exactly as the page writes them ("Nodes:              64").
std::vector<std::string> graphInformationLines(const GraphInformation& info);

// The ten captions, trailing blanks included ("Nodes:              "): a line is its
// caption followed by its value.
const std::array<const char*, 10>& graphInformationCaptions();

// The ten lines with every value replaced by `value` ("---" without a graph).
std::vector<std::string> graphInformationPlaceholderLines(const std::string& value);

// Graphs this large take a noticeable time to copy, check and prune: the window computes
// their figures on a worker thread.
bool graphInformationTakesLong(const Graph& graph);

}  // namespace hc
