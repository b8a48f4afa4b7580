#include "run/graph_information.h"

#include <algorithm>

#include "checks/chain_building.h"
#include "checks/depth_first_scan.h"
#include "checks/necessary_conditions.h"
#include "checks/scans.h"
#include "core/number_format.h"

namespace hc {

namespace {

template <typename Figures>
DegreeFigures degreeFiguresOf(int32_t nodes, int64_t edges, Figures degreeOf) {
  DegreeFigures figures;
  figures.nodes = nodes;
  figures.edges = static_cast<int32_t>(edges);
  if (nodes <= 0) return figures;
  figures.averageDegree = 2.0 * static_cast<double>(edges) / static_cast<double>(nodes);
  int32_t least = 1000000000;
  int32_t most = 0;
  for (int32_t v = 0; v < nodes; ++v) {
    least = std::min(least, degreeOf(v));
    most = std::max(most, degreeOf(v));
  }
  figures.minDegree = least;
  figures.maxDegree = most;
  return figures;
}

// The figures of a graph with a node of degree below two, from its degrees and neighbours
// (see lowDegreeGraphInformation). `connectedUntested`: the graph is decided already, and
// the page's connectivity test, which then tests nothing, reads "connected".
template <typename NeighboursOf>
GraphInformation lowDegreeFigures(const DegreeFigures& degrees, int32_t forcedEdges, bool connectedUntested,
                                  NeighboursOf neighboursOf, const std::string& name) {
  GraphInformation info;
  info.name = name;
  const int32_t n = degrees.nodes;
  info.bipartite = isTwoColourable(n, neighboursOf);
  const DepthFirstScan fromZero = depthFirstScan(n, 0, neighboursOf, false, nullptr);
  info.connected = connectedUntested || fromZero.reached == n;
  // Biconnected means connected without a cut vertex, wherever the search starts.
  const DepthFirstScan blocks = depthFirstScan(n, n >= 5 ? 4 : 0, neighboursOf, true, nullptr);
  info.biconnected = !blocks.cutVertex && blocks.reached == n;
  // Nothing is pruned: the root checks stop at the low-degree node.
  info.pruned = degrees;
  info.asLoaded = degrees;
  info.forcedEdges = forcedEdges;
  return info;
}

}  // namespace

DegreeFigures degreeFigures(const Graph& graph) {
  return degreeFiguresOf(graph.howManyNodes, graph.howManyEdges,
                         [&graph](int32_t v) { return graph.node(v).degree; });
}

DegreeFigures degreeFigures(const EdgeSnapshot& graph) {
  return degreeFiguresOf(graph.nodes(), graph.edges(), [&graph](int32_t v) { return graph.degree(v); });
}

std::optional<GraphInformation> lowDegreeGraphInformation(const EdgeSnapshot& graph, int32_t forcedEdges,
                                                          const std::string& name) {
  const DegreeFigures degrees = degreeFigures(graph);
  if (degrees.nodes <= 0 || degrees.minDegree >= 2) return std::nullopt;
  return lowDegreeFigures(
      degrees, forcedEdges, false, [&graph](int32_t v) { return graph.neighborsOf(v); }, name);
}

RootPruning pruneAtRoot(const Graph& submitted) {
  RootPruning result;
  result.graph = std::make_unique<Graph>(submitted);
  Graph& copy = *result.graph;
  // The order matters: a disconnected graph is marked non-Hamiltonian by isConnected, and
  // the pruning that follows then leaves it as it is, as the page shows it.
  result.bipartite = isBipartite(copy, 0);
  result.connected = isConnected(copy, 0);
  result.biconnected = isBiconnected(copy, 0);
  checkLowDegreeNodes(copy, 0);
  setUncuttabilities(copy, 0);
  lightning(copy, 0);
  buildChains(copy, 0);
  HeadHunter(copy, 0);
  return result;
}

GraphInformation computeGraphInformation(const Graph& submitted, const std::string& name) {
  if (const DegreeFigures degrees = degreeFigures(submitted); degrees.nodes > 0 && degrees.minDegree < 2) {
    return lowDegreeFigures(
        degrees, submitted.howManyUncuttable, submitted.isHamiltonian != kUndecided,
        [&submitted](int32_t v) { return neighboursOf(submitted.node(v)); }, name);
  }
  GraphInformation info;
  info.name = name;
  const RootPruning pruning = pruneAtRoot(submitted);
  info.pruned = degreeFigures(*pruning.graph);
  info.forcedEdges = pruning.graph->howManyUncuttable;
  info.bipartite = pruning.bipartite;
  info.connected = pruning.connected;
  info.biconnected = pruning.biconnected;
  info.asLoaded = degreeFigures(submitted);
  return info;
}

namespace {

constexpr std::array<const char*, 10> kCaptions = {
    "Graph Name:    ",   "Nodes:              ", "Edges:              ", "Forced Edges:  ",
    "Avg. Degree:    ",  "Min. Degree:     ",    "Max. Degree:    ",     "Bipartite:           ",
    "Connected:       ", "Biconnected:     ",
};

}  // namespace

std::vector<std::string> graphInformationLines(const GraphInformation& info) {
  auto yesNo = [](bool b) { return std::string(b ? "Yes" : "No"); };
  const std::string values[10] = {
      info.name,
      formatNumber(info.pruned.nodes, 0),
      formatNumber(info.pruned.edges, 0),
      formatNumber(info.forcedEdges, 0),
      formatNumber(info.pruned.averageDegree, 2),
      formatNumber(info.pruned.minDegree, 0),
      formatNumber(info.pruned.maxDegree, 0),
      yesNo(info.bipartite),
      yesNo(info.connected),
      yesNo(info.biconnected),
  };
  std::vector<std::string> lines;
  for (int i = 0; i < 10; ++i) lines.push_back(kCaptions[i] + values[i]);
  return lines;
}

const std::array<const char*, 10>& graphInformationCaptions() {
  return kCaptions;
}

std::vector<std::string> graphInformationPlaceholderLines(const std::string& value) {
  std::vector<std::string> lines;
  for (const char* caption : kCaptions) lines.push_back(caption + value);
  return lines;
}

bool graphInformationTakesLong(const Graph& graph) {
  return static_cast<int64_t>(graph.howManyNodes) + graph.howManyEdges > 200000;
}

}  // namespace hc
