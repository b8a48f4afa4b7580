// Pictures of graphs nobody drew: where to put the nodes of a generated or loaded graph so
// the editor can show it read-only. Boards and toroidal grids sit on their grid, OBJ meshes
// on their vertex coordinates seen from above, everything else is laid out force-directed
// by Graphviz's sfdp engine (slow for big graphs: the page runs it off the UI thread).
// Positions are scaled so that an average edge is a few world units long.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "editor/graph2d.h"

namespace hcui {

// Above this many nodes the page shows a note instead of a picture.
inline constexpr int32_t kMaxViewNodes = 20000;

struct GraphPicture {
  int32_t nodes = 0;
  std::vector<std::pair<int32_t, int32_t>> edges;  // each once, smaller end first
  std::vector<std::pair<double, double>> positions;
};

// The nodes and edges of `graph` (its current edges), no positions yet.
GraphPicture pictureOf(const hc::Graph& graph);
// Grid places for knight's boards (source 5) and toroidal grids (4), vertex coordinates
// for OBJ graphs; false when the graph needs a force-directed layout.
bool placeStructured(GraphPicture& picture, const hc::Graph& graph, int32_t source, double parameter1,
                     double parameter2);
// sfdp; false when Graphviz fails. Safe to call from any thread (calls are serialised).
bool placeForceDirected(GraphPicture& picture);
// Nodes evenly on a circle (the stand-in while the layout runs).
void placeOnCircle(GraphPicture& picture);
// The read-only drawing: node i has id i, nothing selected.
std::unique_ptr<hc::Graph2D> makeDrawing(const GraphPicture& picture);

}  // namespace hcui
