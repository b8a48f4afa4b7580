#include "run/graph_information.h"

#include <algorithm>

#include "core/number_format.h"
#include "checks/chain_building.h"
#include "checks/necessary_conditions.h"
#include "checks/scans.h"

namespace hc {

DegreeFigures degreeFigures(const Graph& graph) {
  DegreeFigures figures;
  figures.nodes = graph.howManyNodes;
  figures.edges = graph.howManyEdges;
  if (figures.nodes <= 0) return figures;
  figures.averageDegree = 2.0 * static_cast<double>(figures.edges) / static_cast<double>(figures.nodes);
  int32_t least = 1000000000;
  int32_t most = 0;
  for (const Node& node : graph.nodes) {
    least = std::min(least, node.degree);
    most = std::max(most, node.degree);
  }
  figures.minDegree = least;
  figures.maxDegree = most;
  return figures;
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
    "Graph Name:    ",       "Nodes:              ", "Edges:              ", "Forced Edges:  ",
    "Avg. Degree:    ",      "Min. Degree:     ",    "Max. Degree:    ",     "Bipartite:           ",
    "Connected:       ",     "Biconnected:     ",
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

const std::array<const char*, 10>& graphInformationCaptions() { return kCaptions; }

std::vector<std::string> graphInformationPlaceholderLines(const std::string& value) {
  std::vector<std::string> lines;
  for (const char* caption : kCaptions) lines.push_back(caption + value);
  return lines;
}

bool graphInformationTakesLong(const Graph& graph) {
  return static_cast<int64_t>(graph.howManyNodes) + graph.howManyEdges > 200000;
}

}  // namespace hc
