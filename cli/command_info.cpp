// `info GRAPH`: the Graph Information page's figures.
#include <iostream>

#include "app/graph_information.h"
#include "app/graph_loading.h"
#include "commands.h"
#include "core/random.h"
#include "solve_common.h"

namespace hc::cli {

int runInfo(const InfoOptions& options, const CommonOptions& common) {
  // The figures do not depend on the random choices of the pruning, but a fixed seed keeps
  // every run of info identical all the same.
  enableFixedSeed(1);
  LoadedGraph loaded = loadGraphFile(options.graph, commandLineFormatOptions());
  if (!loaded) return fail(loaded.error);
  GraphInformation info = computeGraphInformation(*loaded.graph, graphDisplayName(loaded.description));
  if (common.json) {
    Json j;
    j["command"] = "info";
    j["name"] = info.name;
    j["nodes"] = info.nodes;
    j["edges"] = info.edges;
    j["forcedEdges"] = info.forcedEdges;
    j["averageDegree"] = info.averageDegree;
    j["minDegree"] = info.minDegree;
    j["maxDegree"] = info.maxDegree;
    j["bipartite"] = info.bipartite;
    j["connected"] = info.connected;
    j["biconnected"] = info.biconnected;
    printJson(j);
  } else {
    for (const std::string& line : graphInformationLines(info)) std::cout << line << "\n";
  }
  return 0;
}

}  // namespace hc::cli
