// Layouts of the read-only graph view (see graph_view_layout.h).
#include "ui/graph_view_layout.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <string>
#include <unordered_map>
#include <utility>

#include "run/graph_description.h"

namespace hcui {

namespace {

constexpr double kEdgeLength = 4.0;  // world units an average edge gets

// Scales and centres the positions so an average edge is kEdgeLength long and the whole
// picture stays inside the drawing field.
void normalise(GraphPicture& p) {
  if (p.positions.empty()) return;
  double sum = 0;
  for (auto [a, b] : p.edges) {
    sum += std::hypot(p.positions[a].first - p.positions[b].first,
                      p.positions[a].second - p.positions[b].second);
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

int64_t gcd(int64_t a, int64_t b) {
  while (b != 0) a = std::exchange(b, a % b);
  return a;
}

// Grid places: an edge between lattice points (c1, r1) and (c2, r2) runs through another
// lattice point exactly when gcd(|c1 - c2|, |r1 - r2|) > 1; such an edge (on a toroidal
// grid, the wrap-around of a row or a column) bows out by 0.6 of a cell.
void bendEdgesThroughNodes(GraphPicture& p, int32_t cols, double unit) {
  p.bends.assign(p.edges.size(), 0.0);
  for (size_t e = 0; e < p.edges.size(); ++e) {
    const auto [a, b] = p.edges[e];
    if (gcd(std::abs(a % cols - b % cols), std::abs(a / cols - b / cols)) > 1) p.bends[e] = 0.6 * unit;
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

bool placeStructured(GraphPicture& p, const hc::Graph& graph, hc::GraphSource source, double parameter1,
                     double parameter2) {
  const int32_t rows = static_cast<int32_t>(parameter1), cols = static_cast<int32_t>(parameter2);
  if ((source == hc::GraphSource::kKnightsTourGraph || source == hc::GraphSource::kToroidalGrid) &&
      rows > 0 && cols > 0 && static_cast<int64_t>(rows) * cols == p.nodes) {
    // Square cells, row 0 at the top, the board centred on the origin.
    const double unit = std::min(kEdgeLength, 1000.0 / std::max(rows, cols));
    p.positions.resize(static_cast<size_t>(p.nodes));
    for (int32_t i = 0; i < p.nodes; ++i) {
      p.positions[i] = {((i % cols) - (cols - 1) / 2.0) * unit, ((rows - 1) / 2.0 - (i / cols)) * unit};
    }
    bendEdgesThroughNodes(p, cols, unit);
    return true;
  }
  if (source == hc::GraphSource::kObjFile && graph.hasCoordinates() &&
      static_cast<int32_t>(graph.coordinates.size()) >= p.nodes) {
    p.positions.resize(static_cast<size_t>(p.nodes));
    for (int32_t i = 0; i < p.nodes; ++i) p.positions[i] = {graph.coordinates[i][0], graph.coordinates[i][1]};
    normalise(p);
    separateNodes(p);  // vertices above each other in the mesh
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
    separateNodes(p);
  }
  agclose(g);
  return ok;
}

void separateNodes(GraphPicture& p) {
  const size_t n = p.positions.size();
  if (n < 2) return;
  // Buckets of side kNodeGap: a pair closer than the gap lies in the same bucket or in
  // one next to it.
  auto cell = [](double v) { return static_cast<int64_t>(std::floor(v / kNodeGap)); };
  auto key = [](int64_t cx, int64_t cy) {
    return (cx << 32) ^ static_cast<int64_t>(static_cast<uint32_t>(cy));
  };
  std::unordered_map<int64_t, std::vector<size_t>> buckets;
  std::vector<std::pair<double, double>> push(n);
  for (int pass = 0; pass < 30; ++pass) {
    buckets.clear();
    for (size_t i = 0; i < n; ++i)
      buckets[key(cell(p.positions[i].first), cell(p.positions[i].second))].push_back(i);
    std::fill(push.begin(), push.end(), std::pair(0.0, 0.0));
    bool moved = false;
    for (size_t i = 0; i < n; ++i) {
      const auto [x, y] = p.positions[i];
      for (int64_t dx = -1; dx <= 1; ++dx)
        for (int64_t dy = -1; dy <= 1; ++dy) {
          const auto found = buckets.find(key(cell(x) + dx, cell(y) + dy));
          if (found == buckets.end()) continue;
          for (size_t j : found->second) {
            if (j <= i) continue;
            const double ux = p.positions[j].first - x, uy = p.positions[j].second - y,
                         d = std::hypot(ux, uy);
            if (d >= kNodeGap) continue;
            // Two nodes on one spot part along a direction of their own.
            const double angle = static_cast<double>(i + j);
            const double dirX = d > 1e-9 ? ux / d : std::cos(angle),
                         dirY = d > 1e-9 ? uy / d : std::sin(angle);
            const double half = (kNodeGap - d) / 2.0;
            push[i].first -= dirX * half, push[i].second -= dirY * half;
            push[j].first += dirX * half, push[j].second += dirY * half;
            moved = true;
          }
        }
    }
    if (!moved) return;
    for (size_t i = 0; i < n; ++i) {
      p.positions[i].first += push[i].first;
      p.positions[i].second += push[i].second;
    }
  }
}

std::pair<std::pair<double, double>, std::pair<double, double>> bendControls(double x1, double y1, double x2,
                                                                             double y2, double bend) {
  const double length = std::hypot(x2 - x1, y2 - y1);
  if (length < 1e-12) return {{x1, y1}, {x2, y2}};
  // Left of the way from the first end to the second: the direction turned a quarter turn.
  const double nx = -(y2 - y1) / length * bend, ny = (x2 - x1) / length * bend;
  return {{x1 + nx, y1 + ny}, {x2 + nx, y2 + ny}};
}

std::unique_ptr<hc::Graph2D> makeDrawing(const GraphPicture& p, EdgeBends* bends) {
  auto d = std::make_unique<hc::Graph2D>();
  std::vector<hc::Graph2DNode*> nodes(static_cast<size_t>(p.nodes));
  for (int32_t i = 0; i < p.nodes; ++i) {
    auto n = std::make_unique<hc::Graph2DNode>(i, p.positions[i].first, p.positions[i].second);
    nodes[i] = n.get();
    d->appendSelectedNode(std::move(n));
  }
  if (bends) bends->clear();
  for (size_t e = 0; e < p.edges.size(); ++e) {
    const auto [a, b] = p.edges[e];
    const hc::Graph2DEdge* edge = d->joinNodes(nodes[a], nodes[b]);
    if (bends && edge && e < p.bends.size() && p.bends[e] != 0.0) (*bends)[edge] = p.bends[e];
  }
  d->unselectAll();
  d->nextNodeId = p.nodes;
  return d;
}

}  // namespace hcui
