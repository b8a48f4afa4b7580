// `info GRAPH`: the Graph Information page's figures.
#include <iostream>

#include "commands.h"
#include "core/random.h"
#include "run/graph_information.h"

namespace hc::cli {

Json infoJson(const GraphInformation& info) {
  // The graph as loaded under the plain names (as schc and cohc report it); the figures
  // after the root pruning, which the Graph Information page shows, under "pruned".
  const DegreeFigures& asLoaded = info.asLoaded;
  Json j;
  j["command"] = "info";
  j["name"] = info.name;
  j["nodes"] = asLoaded.nodes;
  j["edges"] = asLoaded.edges;
  j["averageDegree"] = asLoaded.averageDegree;
  j["minDegree"] = asLoaded.minDegree;
  j["maxDegree"] = asLoaded.maxDegree;
  j["pruned"] = {{"edges", info.pruned.edges},
                 {"forcedEdges", info.forcedEdges},
                 {"averageDegree", info.pruned.averageDegree},
                 {"minDegree", info.pruned.minDegree},
                 {"maxDegree", info.pruned.maxDegree}};
  j["bipartite"] = info.bipartite;
  j["connected"] = info.connected;
  j["biconnected"] = info.biconnected;
  return j;
}

int runInfo(const std::string& graph, const CommonOptions& common) {
  // The figures do not depend on the random choices of the pruning, but a fixed seed keeps
  // every run of info identical all the same.
  enableFixedSeed(1);
  LoadedGraph loaded = loadGraphFile(graph, commandLineFormatOptions());
  if (!loaded) return fail(loaded.error);
  GraphInformation info = computeGraphInformation(*loaded.graph, graphDisplayName(loaded.description));
  if (common.json) {
    printJson(infoJson(info));
  } else {
    for (const std::string& line : graphInformationLines(info)) std::cout << line << "\n";
  }
  return 0;
}

}  // namespace hc::cli
