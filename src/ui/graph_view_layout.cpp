// Layouts of the read-only graph view (see graph_view_layout.h).
#include "ui/graph_view_layout.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <string>

#include "app/graph_source.h"

namespace hcui {

namespace {

constexpr double kEdgeLength = 4.0;  // world units an average edge gets

// Scales and centres the positions so an average edge is kEdgeLength long and the whole
// picture stays inside the drawing field.
void normalise(GraphPicture& p) {
  if (p.positions.empty()) return;
  double sum = 0;
  for (auto [a, b] : p.edges) {
    sum += std::hypot(p.positions[a].first - p.positions[b].first, p.positions[a].second - p.positions[b].second);
  }
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  for (auto [x, y] : p.positions) {
    minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  const double average = p.edges.empty() ? 0 : sum / p.edges.size();
  double scale = average > 1e-12 ? kEdgeLength / average : 1.0;
  const double extent = std::max(maxX - minX, maxY - minY);
  if (extent * scale > 1000.0) scale = 1000.0 / extent;
  const double cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
  for (auto& [x, y] : p.positions) {
    x = (x - cx) * scale;
    y = (y - cy) * scale;
  }
}

std::mutex graphvizMutex;

// One Graphviz context for the whole process, made on first use and never freed: freeing a
// context releases plugin state (fonts) that a later context on another thread still uses.
GVC_t* graphvizContext() {
  static GVC_t* context = gvContext();
  return context;
}

}  // namespace

GraphPicture pictureOf(const hc::Graph& graph) {
  GraphPicture p;
  p.nodes = graph.howManyNodes;
  for (int32_t a = 0; a < graph.howManyNodes; ++a) {
    const hc::Node& n = graph.node(a);
    for (int32_t i = 0; i < n.degree; ++i)
      if (a < n.neighborArray[i]) p.edges.emplace_back(a, n.neighborArray[i]);
  }
  return p;
}

bool placeStructured(GraphPicture& p, const hc::Graph& graph, int32_t source, double parameter1, double parameter2) {
  const int32_t rows = static_cast<int32_t>(parameter1), cols = static_cast<int32_t>(parameter2);
  if ((source == hc::kKnightsTourGraph || source == hc::kToroidalGrid) && rows > 0 && cols > 0 &&
      static_cast<int64_t>(rows) * cols == p.nodes) {
    // Square cells, row 0 at the top, the board centred on the origin.
    const double unit = std::min(kEdgeLength, 1000.0 / std::max(rows, cols));
    p.positions.resize(static_cast<size_t>(p.nodes));
    for (int32_t i = 0; i < p.nodes; ++i) {
      p.positions[i] = {((i % cols) - (cols - 1) / 2.0) * unit, ((rows - 1) / 2.0 - (i / cols)) * unit};
    }
    return true;
  }
  if (source == hc::kObjFile && graph.hasCoordinates() && static_cast<int32_t>(graph.coordinates.size()) >= p.nodes) {
    p.positions.resize(static_cast<size_t>(p.nodes));
    for (int32_t i = 0; i < p.nodes; ++i) p.positions[i] = {graph.coordinates[i][0], graph.coordinates[i][1]};
    normalise(p);
    return true;
  }
  return false;
}

void placeOnCircle(GraphPicture& p) {
  p.positions.resize(static_cast<size_t>(p.nodes));
  const double radius = std::max(10.0, p.nodes * kEdgeLength / (2 * std::numbers::pi));
  for (int32_t i = 0; i < p.nodes; ++i) {
    const double t = 2 * std::numbers::pi * i / std::max(1, p.nodes);
    p.positions[i] = {radius * std::cos(t), radius * std::sin(t)};
  }
  normalise(p);
}

bool placeForceDirected(GraphPicture& p) {
  std::lock_guard<std::mutex> lock(graphvizMutex);
  GVC_t* gvc = graphvizContext();
  if (!gvc) return false;
  char name[] = "view";
  Agraph_t* g = agopen(name, Agundirected, nullptr);
  // Unlabelled points: no text is measured, so no font machinery runs at all.
  char label[] = "label", shape[] = "shape", none[] = "", point[] = "point";
  agattr(g, AGNODE, label, none);
  agattr(g, AGNODE, shape, point);
  std::vector<Agnode_t*> nodes(static_cast<size_t>(p.nodes));
  for (int32_t i = 0; i < p.nodes; ++i) {
    std::string id = std::to_string(i);
    nodes[i] = agnode(g, id.data(), 1);
  }
  for (auto [a, b] : p.edges) agedge(g, nodes[a], nodes[b], nullptr, 1);
  bool ok = gvLayout(gvc, g, "sfdp") == 0;
  if (ok) {
    p.positions.resize(static_cast<size_t>(p.nodes));
    for (int32_t i = 0; i < p.nodes; ++i) p.positions[i] = {ND_coord(nodes[i]).x, ND_coord(nodes[i]).y};
    gvFreeLayout(gvc, g);
    normalise(p);
  }
  agclose(g);
  return ok;
}

std::unique_ptr<hc::Graph2D> makeDrawing(const GraphPicture& p) {
  auto d = std::make_unique<hc::Graph2D>();
  std::vector<hc::Graph2DNode*> nodes(static_cast<size_t>(p.nodes));
  for (int32_t i = 0; i < p.nodes; ++i) {
    auto n = std::make_unique<hc::Graph2DNode>(i, p.positions[i].first, p.positions[i].second);
    nodes[i] = n.get();
    d->appendSelectedNode(std::move(n));
  }
  for (auto [a, b] : p.edges) d->joinNodes(nodes[a], nodes[b]);
  d->unselectAll();
  d->nextNodeId = p.nodes;
  return d;
}

}  // namespace hcui
