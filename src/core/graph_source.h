// Where a graph came from: the one list of graph sources that the generators, the loaders,
// the window and the command line share. The numbers are the codes the window's requests
// and the Graph Generation page have always used, so a code shown or stored elsewhere keeps
// its value; the names a user reads come from graphDisplayName (run/graph_description.h).
#pragma once

#include <cstdint>

namespace hc {

enum class GraphSource : int32_t {
  kNoGraph = -1,
  // The eight families of the Graph Generation page.
  kEdgeProbabilityGraph = 1,
  kRegularGraph = 2,
  kRandomEdgesGraph = 3,
  kToroidalGrid = 4,
  kKnightsTourGraph = 5,
  kNCubeGraph = 6,
  kIccsGraph = 7,
  kCompleteGraph = 8,
  kThreeSatReduction = 9,
  // Files: adjacency text, the editor's drawing, OBJ meshes, and every other format the
  // program reads (shown by its file name like the rest).
  kTextFile = 10,
  kDrawingFile = 11,
  kObjFile = 12,
  kUserDrawnGraph = 13,  // a drawing submitted from the editor
  kHcpFile = 14,
  kGeneralizedPetersen = 1000,  // a family of the command line only
};

// The eight families that generateGraph builds from two numbers.
constexpr bool isGeneratorFamily(GraphSource source) {
  return source >= GraphSource::kEdgeProbabilityGraph && source <= GraphSource::kCompleteGraph;
}

// A graph read from a file, whatever its format.
constexpr bool isGraphFile(GraphSource source) {
  return source == GraphSource::kTextFile || source == GraphSource::kDrawingFile ||
         source == GraphSource::kObjFile || source == GraphSource::kHcpFile;
}

constexpr int32_t graphSourceCode(GraphSource source) {
  return static_cast<int32_t>(source);
}

}  // namespace hc
