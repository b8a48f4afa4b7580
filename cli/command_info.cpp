// `info GRAPH`: the Graph Information page's figures.
#include <iostream>

#include "app/graph_source.h"
#include "app/graph_information.h"
#include "run/graph_loading.h"
#include "commands.h"
#include "core/random.h"
#include "solve_common.h"

namespace hc::cli {

Json infoJson(const GraphInformation& info, const Graph& loaded) {
  // The graph as loaded under the plain names (as schc and cohc report it); the figures
  // after the root pruning, which the Graph Information page shows, under "pruned".
  const DegreeFigures asLoaded = degreeFigures(loaded);
  Json j;
  j["command"] = "info";
  j["name"] = info.name;
  j["nodes"] = asLoaded.nodes;
  j["edges"] = asLoaded.edges;
  j["averageDegree"] = asLoaded.averageDegree;
  j["minDegree"] = asLoaded.minDegree;
  j["maxDegree"] = asLoaded.maxDegree;
  j["pruned"] = {{"edges", info.edges},
                 {"forcedEdges", info.forcedEdges},
                 {"averageDegree", info.averageDegree},
                 {"minDegree", info.minDegree},
                 {"maxDegree", info.maxDegree}};
  j["bipartite"] = info.bipartite;
  j["connected"] = info.connected;
  j["biconnected"] = info.biconnected;
  return j;
}

int runInfo(const InfoOptions& options, const CommonOptions& common) {
  // The figures do not depend on the random choices of the pruning, but a fixed seed keeps
  // every run of info identical all the same.
  enableFixedSeed(1);
  LoadedGraph loaded = loadGraphFile(options.graph, commandLineFormatOptions());
  if (!loaded) return fail(loaded.error);
  GraphInformation info = computeGraphInformation(*loaded.graph, graphDisplayName(loaded.description));
  if (common.json) {
    printJson(infoJson(info, *loaded.graph));
  } else {
    for (const std::string& line : graphInformationLines(info)) std::cout << line << "\n";
  }
  return 0;
}

}  // namespace hc::cli
