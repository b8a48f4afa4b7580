// Pictures of graphs nobody drew: where to put the nodes of a generated or loaded graph so
// the editor can show it read-only. Boards and toroidal grids sit on their grid, OBJ meshes
// on their vertex coordinates seen from above, everything else is laid out force-directed
// by Graphviz's sfdp engine (slow for big graphs: the page runs it off the UI thread).
// Positions are scaled so that an average edge is a few world units long, and nodes are
// kept far enough apart that their circles never overlap. An edge that would run straight
// through other nodes (the wrap-around edges of a toroidal grid) is drawn as a bend beside
// its row or column, so no edge hides behind others.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "core/graph_source.h"
#include "editor/graph2d.h"

namespace hcui {

// Above this many nodes the page shows a note instead of a picture.
inline constexpr int32_t kMaxViewNodes = 20000;

struct GraphPicture {
  int32_t nodes = 0;
  std::vector<std::pair<int32_t, int32_t>> edges;  // each once, smaller end first
  std::vector<std::pair<double, double>> positions;
  // Per edge (same order), how far its curve bows out to the left of the way from its
  // smaller to its larger end, in world units; 0 draws it straight.
  std::vector<double> bends;
};

// The least distance between two node centres a layout leaves (world units): the node
// circles of the editor (radius 320 / canvas width, under 0.5 on any canvas of 640 pixels
// or more) stay apart.
inline constexpr double kNodeGap = 2.0;

// The drawn curve of an edge from (x1, y1) to (x2, y2) bowing `bend` to its left: a cubic
// that leaves each end at a right angle, so it clears the nodes next to the ends. Returns
// the two inner control points.
std::pair<std::pair<double, double>, std::pair<double, double>> bendControls(double x1, double y1, double x2,
                                                                             double y2, double bend);

// The nodes and edges of `graph` (its current edges), no positions yet.
GraphPicture pictureOf(const hc::Graph& graph);
// Grid places for knight's boards and toroidal grids, vertex coordinates for OBJ graphs;
// false when the graph needs a force-directed layout.
bool placeStructured(GraphPicture& picture, const hc::Graph& graph, hc::GraphSource source, double parameter1,
                     double parameter2);
// sfdp; false when Graphviz fails. Safe to call from any thread (calls are serialised).
bool placeForceDirected(GraphPicture& picture);
// Moves nodes that lie closer than kNodeGap apart away from each other (a few passes of a
// grid-bucketed push), keeping the picture's shape.
void separateNodes(GraphPicture& picture);
// Nodes evenly on a circle (the stand-in while the layout runs).
void placeOnCircle(GraphPicture& picture);
// The read-only drawing: node i has id i, nothing selected. `bends`, when given, receives
// the bowed edges of the drawing.
using EdgeBends = std::unordered_map<const hc::Graph2DEdge*, double>;
std::unique_ptr<hc::Graph2D> makeDrawing(const GraphPicture& picture, EdgeBends* bends = nullptr);

}  // namespace hcui
