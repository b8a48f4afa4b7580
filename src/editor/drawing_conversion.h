// Where the drawing meets the solver graph: converting a drawing into a solver Graph, and
// the look of every drawn edge as a function of the drawing, the working graph, the
// program state and the algorithm choice (the canvas paints what this says).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/graph.h"
#include "core/program_state.h"
#include "editor/graph2d.h"

namespace hc {

// The name given to the solver graph of a submitted or loaded drawing.
inline constexpr const char* kUserDefinedGraphName = "User-Defined Graph -HC.txt";

// Unselects everything, renumbers the nodes 0..n-1 by their place in unselectedNodes
// (the drawing's ids are overwritten; nextNodeId is kept) and builds the solver graph:
// row i lists, in the order of node i's `edges`, the ids of its neighbours, and node i is
// joined to each listed v > i in that order; version 5. Memory is linear in nodes + edges.
Graph convertDrawingToGraph(Graph2D& drawing, const std::string& name);

enum class EdgeStyle : int16_t {
  kOrdinary = 0,
  kSelected = 1,
  kCycle = 2,          // an edge of the Hamiltonian cycle found
  kForcedNoCycle = 3,  // forced when the graph was found non-Hamiltonian
  kDeleted = 4,
  kForced = 5,
};

struct EdgeStyleLook {
  uint8_t red, green, blue;
  double widthFactor;  // times the base edge width; the painter truncates to whole pixels
  bool dotted;
};

// Colour, width and pen of a style.
EdgeStyleLook edgeStyleLook(EdgeStyle style);

// The style of one drawn edge. `selected` says which edge list holds it; `workingGraph`
// may be null in state 0 (and an edge whose ends are not nodes of it draws as deleted).
// In states 1 and 2 of the automatic methods an edge shows as forced when it is forced in
// the graph given: the window gives the graph as the root pruning leaves it, so the canvas
// and the Information page's "Forced Edges" count the same edges.
EdgeStyle edgeStyle(const Graph2DEdge& edge, bool selected, const Graph* workingGraph,
                    ProgramState programState, AlgorithmChoice algorithmChoice);

struct StyledEdge {
  const Graph2DEdge* edge;
  EdgeStyle style;
};
// Every edge with its style, in painting order: the unselected edges, then the selected.
std::vector<StyledEdge> edgeStyles(const Graph2D& drawing, const Graph* workingGraph,
                                   ProgramState programState, AlgorithmChoice algorithmChoice);

}  // namespace hc
