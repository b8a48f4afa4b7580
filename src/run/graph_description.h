// Where a graph came from, as loading and the generators record it, and the name every
// front end shows for it.
#pragma once

#include <cstdint>
#include <string>

namespace hc {

// -1 none; 1..8 the generator families; 9 the 3-SAT reduction; 10 .txt; 11 .g; 12 .obj;
// 13 a drawing submitted from the editor. TSPLIB .hcp files have no code of their own:
// like every file they are shown by their file name (kHcpFile is this program's own).
enum GraphSourceType : int32_t {
  kNoGraph = -1,
  kEdgeProbabilityGraph = 1,
  kRegularGraph = 2,
  kRandomEdgesGraph = 3,
  kToroidalGrid = 4,
  kKnightsTourGraph = 5,
  kNCubeGraph = 6,
  kIccsGraph = 7,
  kCompleteGraph = 8,
  kThreeSatReduction = 9,
  kTextFile = 10,
  kDrawingFile = 11,
  kObjFile = 12,
  kUserDrawnGraph = 13,
  kHcpFile = 14,
};

struct GraphDescription {
  int32_t sourceType = kNoGraph;
  double parameter1 = 0.0;
  double parameter2 = 0.0;
  int32_t nodes = 0;         // nodes of the built graph
  std::string filePath;      // files: the path loaded
  int32_t drawingNodes = 0;  // user-drawn graphs: nodes of the drawing
};

// "Knight's Tour Graph With 64 Nodes (8 X 8)", a file's name, "NO GRAPH LOADED", ...
std::string graphDisplayName(const GraphDescription& graph);

}  // namespace hc
