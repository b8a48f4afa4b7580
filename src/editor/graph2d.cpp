// The drawing's objects: hit tests, moves, the edge's hit rectangle, and the graph-level
// bookkeeping (invariant check, absorbing a freshly read drawing, file entry points).
// The editing operations proper live in graph2d_editing.cpp.
#include "editor/graph2d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace hc {

// ---------------------------------------------------------------- Graph2DNode

bool Graph2DNode::hitTest(double px, double py) const {
  const double dx = x - px;
  const double dy = y - py;
  return dx * dx + dy * dy <= radius * radius;
}

bool Graph2DNode::overlapTest(double px, double py) const {
  const double dx = x - px;
  const double dy = y - py;
  return dx * dx + dy * dy <= 4.0 * radius * radius;
}

void Graph2DNode::move(double dx, double dy) {
  x += dx;
  y += dy;
  for (Graph2DEdge* edge : edges) edge->recomputeRectangle();
}

bool Graph2DNode::isJoinedTo(const Graph2DNode& other) const {
  return std::any_of(edges.begin(), edges.end(),
                     [&](const Graph2DEdge* e) { return e->node1 == &other || e->node2 == &other; });
}

bool Graph2DNode::removeEdge(const Graph2DEdge* edge) {
  const auto found = std::find(edges.begin(), edges.end(), edge);
  if (found == edges.end()) return false;
  // Rotating the head to the tail until the edge comes up leaves the list rotated.
  std::rotate(edges.begin(), found, edges.end());
  edges.erase(edges.begin());
  return true;
}

// ---------------------------------------------------------------- Graph2DEdge

Graph2DEdge::Graph2DEdge(Graph2DNode* first, Graph2DNode* second) : node1(first), node2(second) {
  recomputeRectangle();
}

void Graph2DEdge::recomputeRectangle() {
  const double x1 = node1->x, y1 = node1->y, x2 = node2->x, y2 = node2->y;
  const double m = (y2 - y1) / (x2 - x1);  // +-infinity for a vertical edge, kept as is
  slope = m;
  const double w2 = halfWidth * halfWidth;
  double a = std::sqrt(w2 / (1.0 / (m * m) + 1.0));
  const double b = std::sqrt(w2 / (m * m + 1.0));
  if (m > 0) a = -a;
  cornerX = {x1 + a, x1 - a, x2 - a, x2 + a};
  cornerY = {y1 + b, y1 - b, y2 - b, y2 + b};
}

bool Graph2DEdge::hitTest(double px, double py) const {
  const auto& X = cornerX;
  const auto& Y = cornerY;
  const double c1 = (Y[1] - Y[0]) * (px - X[0]) - (X[1] - X[0]) * (py - Y[0]);
  const double c2 = (Y[2] - Y[1]) * (px - X[1]) - (X[2] - X[1]) * (py - Y[1]);
  const double c3 = (px - X[2]) * (Y[3] - Y[2]) - (py - Y[2]) * (X[3] - X[2]);
  const double c4 = (Y[0] - Y[3]) * (px - X[3]) - (py - Y[3]) * (X[0] - X[3]);
  if (node1->x <= node2->x) return c1 < 0 && c2 < 0 && c3 < 0 && c4 < 0;
  return c1 > 0 && c2 > 0 && c3 > 0 && c4 > 0;
}

// ---------------------------------------------------------------- Graph2D

int32_t Graph2D::nextIdAfterLargest() const {
  int32_t largest = -1;
  for (const NodeList* list : {&unselectedNodes, &selectedNodes})
    for (const auto& node : *list) largest = std::max(largest, node->id);
  return largest == std::numeric_limits<int32_t>::max() ? largest : largest + 1;
}

std::string Graph2D::checkInvariants() const {
  if (howManyUnselectedNodes != static_cast<int32_t>(unselectedNodes.size()) ||
      howManySelectedNodes != static_cast<int32_t>(selectedNodes.size()) ||
      howManyUnselectedEdges != static_cast<int32_t>(unselectedEdges.size()) ||
      howManySelectedEdges != static_cast<int32_t>(selectedEdges.size()))
    return "a count differs from the size of its list";
  std::unordered_set<const Graph2DNode*> nodes;
  for (const NodeList* list : {&unselectedNodes, &selectedNodes})
    for (const auto& node : *list)
      if (!node || !nodes.insert(node.get()).second) return "a node is listed twice or is null";
  std::unordered_set<const Graph2DEdge*> edges;
  for (const EdgeList* list : {&unselectedEdges, &selectedEdges})
    for (const auto& edge : *list)
      if (!edge || !edges.insert(edge.get()).second) return "an edge is listed twice or is null";
  // How often each edge appears in the lists of its first and second end, counted in one
  // pass over the node lists (counting per edge in the list of a hub would be quadratic).
  std::unordered_map<const Graph2DEdge*, std::array<int64_t, 2>> listed;
  bool foreignEntry = false;
  for (const Graph2DNode* node : nodes) {
    for (const Graph2DEdge* edge : node->edges) {
      if (!edges.count(edge) || (edge->node1 != node && edge->node2 != node)) {
        foreignEntry = true;
        continue;
      }
      ++listed[edge][edge->node1 == node ? 0 : 1];
    }
  }
  std::set<std::pair<const Graph2DNode*, const Graph2DNode*>> pairs;
  for (const EdgeList* list : {&unselectedEdges, &selectedEdges}) {
    for (const auto& edge : *list) {
      if (!nodes.count(edge->node1) || !nodes.count(edge->node2)) return "an edge ends outside the drawing";
      if (edge->node1 == edge->node2) return "an edge is a loop";
      const auto key = std::minmax(edge->node1, edge->node2);
      if (!pairs.insert({key.first, key.second}).second) return "two edges join the same nodes";
      const auto found = listed.find(edge.get());
      if (found == listed.end() || found->second[0] != 1 || found->second[1] != 1)
        return "an edge is missing from (or repeated in) an endpoint's list";
    }
  }
  if (foreignEntry) return "a node lists an edge that is not its own";
  return {};
}

void Graph2D::absorb(Graph2D&& other) {
  for (auto& node : other.unselectedNodes) unselectedNodes.push_back(std::move(node));
  for (auto& node : other.selectedNodes) selectedNodes.push_back(std::move(node));
  for (auto& edge : other.unselectedEdges) unselectedEdges.push_back(std::move(edge));
  for (auto& edge : other.selectedEdges) selectedEdges.push_back(std::move(edge));
  howManyUnselectedNodes = static_cast<int32_t>(unselectedNodes.size());
  howManySelectedNodes = static_cast<int32_t>(selectedNodes.size());
  howManyUnselectedEdges = static_cast<int32_t>(unselectedEdges.size());
  howManySelectedEdges = static_cast<int32_t>(selectedEdges.size());
  other = Graph2D{};
  nextNodeId = nextIdAfterLargest();
}

}  // namespace hc
