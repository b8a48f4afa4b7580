// Drawing -> solver graph, and the edge colouring that reads the solver graph back onto
// the drawing. The colouring relies on the conversion having made the drawing's node ids
// equal to the solver's node ids.
#include "editor/drawing_conversion.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace hc {

Graph convertDrawingToGraph(Graph2D& drawing, const std::string& name) {
  drawing.unselectAll();
  const int32_t n = drawing.howManyUnselectedNodes;
  // Rows of each node's own length (not padded to the highest degree, which for a star
  // would be nodes x leaves entries); the solver graph joins them in the same order.
  std::vector<int64_t> rowStart(static_cast<size_t>(n) + 1, 0);
  for (int32_t i = 0; i < n; ++i) {
    Graph2DNode& node = *drawing.unselectedNodes[static_cast<size_t>(i)];
    node.id = i;
    rowStart[static_cast<size_t>(i) + 1] =
        rowStart[static_cast<size_t>(i)] + static_cast<int64_t>(node.edges.size());
  }
  std::vector<int32_t> neighbours;
  neighbours.reserve(static_cast<size_t>(rowStart.back()));
  for (int32_t i = 0; i < n; ++i) {
    const Graph2DNode& node = *drawing.unselectedNodes[static_cast<size_t>(i)];
    for (const auto& edge : node.edges) neighbours.push_back(edge->otherEnd(&node)->id);
  }
  return Graph(rowStart, neighbours, n, 5, name);
}

EdgeStyleLook edgeStyleLook(EdgeStyle style) {
  // In the order of EdgeStyle: ordinary, selected, cycle, forced without a cycle, deleted,
  // forced.
  static constexpr EdgeStyleLook kLooks[] = {
      {0, 0, 255, 1.0, false}, {255, 0, 0, 1.5, false},    {0, 255, 0, 2.5, false},
      {255, 0, 0, 2.5, false}, {190, 190, 190, 1.0, true}, {255, 171, 42, 2.5, false},
  };
  const auto index = static_cast<size_t>(style);
  return index < std::size(kLooks) ? kLooks[index] : kLooks[0];
}

EdgeStyle edgeStyle(const Graph2DEdge& edge, bool selected, const Graph* workingGraph,
                    ProgramState programState, AlgorithmChoice algorithmChoice) {
  if (selected) return EdgeStyle::kSelected;
  if (programState == ProgramState::kEditing || !workingGraph) return EdgeStyle::kOrdinary;
  const int32_t a = edge.node1->id;
  const int32_t b = edge.node2->id;
  // A drawing edited after the conversion could name nodes the working graph lacks.
  const bool known = a >= 0 && b >= 0 && a < workingGraph->howManyNodes && b < workingGraph->howManyNodes &&
                     a < static_cast<int32_t>(workingGraph->nodes.size()) &&
                     b < static_cast<int32_t>(workingGraph->nodes.size());
  const bool forced =
      known && (workingGraph->node(a).isForcedNeighbor(b) || workingGraph->node(b).isForcedNeighbor(a));
  switch (programState) {
    case ProgramState::kSubmitted:
    case ProgramState::kRunning:
      if (algorithmChoice == AlgorithmChoice::kManualEdit) {
        if (!known || !workingGraph->isAdjacent(a, b)) return EdgeStyle::kDeleted;
        return forced ? EdgeStyle::kForced : EdgeStyle::kOrdinary;
      }
      return forced ? EdgeStyle::kForced : EdgeStyle::kOrdinary;
    case ProgramState::kDecided:
      if (!forced) return EdgeStyle::kDeleted;
      return workingGraph->isHamiltonian == kHamiltonian ? EdgeStyle::kCycle : EdgeStyle::kForcedNoCycle;
    default: return EdgeStyle::kOrdinary;
  }
}

std::vector<StyledEdge> edgeStyles(const Graph2D& drawing, const Graph* workingGraph,
                                   ProgramState programState, AlgorithmChoice algorithmChoice) {
  std::vector<StyledEdge> styled;
  styled.reserve(drawing.unselectedEdges.size() + drawing.selectedEdges.size());
  for (const auto& edge : drawing.unselectedEdges)
    styled.push_back({edge.get(), edgeStyle(*edge, false, workingGraph, programState, algorithmChoice)});
  for (const auto& edge : drawing.selectedEdges)
    styled.push_back({edge.get(), edgeStyle(*edge, true, workingGraph, programState, algorithmChoice)});
  return styled;
}

}  // namespace hc
