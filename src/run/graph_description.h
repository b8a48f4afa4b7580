// Where a graph came from, as loading and the generators record it, and the name every
// front end shows for it.
#pragma once

#include <cstdint>
#include <string>

#include "core/graph_source.h"

namespace hc {

struct GraphDescription {
  GraphSource sourceType = GraphSource::kNoGraph;  // files of every format but .txt, .g, .obj: kHcpFile
  double parameter1 = 0.0;
  double parameter2 = 0.0;
  int32_t nodes = 0;         // nodes of the built graph
  std::string filePath;      // files: the path loaded
  int32_t drawingNodes = 0;  // user-drawn graphs: nodes of the drawing
};

// "Knight's Tour Graph With 64 Nodes (8 X 8)", a file's name, "NO GRAPH LOADED", ...
std::string graphDisplayName(const GraphDescription& graph);

}  // namespace hc
