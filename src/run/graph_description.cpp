#include "run/graph_description.h"

#include "core/number_format.h"

namespace hc {

std::string graphDisplayName(const GraphDescription& g) {
  auto whole = [](double v) { return formatNumber(v, 0); };
  const std::string n = whole(g.nodes);
  const std::string p1 = whole(g.parameter1);
  const std::string p2 = whole(g.parameter2);
  using enum GraphSource;
  switch (g.sourceType) {
    case kNoGraph: return "NO GRAPH LOADED";
    case kEdgeProbabilityGraph:
      return "Random " + p1 + "-Node Graph With Edge Probability " + formatNumber(g.parameter2, 4);
    case kRegularGraph: return "Random " + p2 + "-Regular Graph With " + p1 + " Nodes";
    case kRandomEdgesGraph: return "Random " + p1 + "-Node Graph With " + p2 + " Random Edges";
    case kToroidalGrid: return "Toroidal Grid With " + n + " Nodes (" + p1 + " X " + p2 + ")";
    case kKnightsTourGraph: return "Knight's Tour Graph With " + n + " Nodes (" + p1 + " X " + p2 + ")";
    case kNCubeGraph: return "N-Cube Graph With Dimension " + p1 + " (" + n + " Nodes)";
    case kIccsGraph: return "ICCS Graph With " + p1 + " Components (" + n + " Nodes)";
    case kCompleteGraph: return "Complete Graph With " + n + " Nodes";
    case kThreeSatReduction:
      return "3-SAT Reduction Graph From Random Formula With " + p1 + " Variables & Clause Multiplier " +
             formatNumber(g.parameter2, 3);
    case kTextFile:
    case kDrawingFile:
    case kObjFile:
    case kHcpFile: {
      size_t cut = g.filePath.find_last_of("/\\");
      return cut == std::string::npos ? g.filePath : g.filePath.substr(cut + 1);
    }
    case kUserDrawnGraph: return "USER-DRAWN GRAPH WITH " + whole(g.drawingNodes) + " NODES";
    case kGeneralizedPetersen:
    default: return "ERROR!!! THIS SHOULD NEVER HAPPEN!!!";
  }
}

}  // namespace hc
