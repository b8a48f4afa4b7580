// The editing operations on the drawing: adding and placing nodes, toggling the
// selection, joining, moving, rotating and deleting. Each keeps the list invariants of
// graph2d.h; list order matters (it is the order of the file and of the conversion), so
// every operation states where things go: appended at the tail, or rotated through.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <unordered_set>

#include "core/random.h"
#include "editor/graph2d.h"

namespace hc {
namespace {

// Moves element `index` of `from` to the tail of `to`.
template <typename T>
void moveToTail(std::vector<std::unique_ptr<T>>& from, size_t index, std::vector<std::unique_ptr<T>>& to) {
  to.push_back(std::move(from[index]));
  from.erase(from.begin() + static_cast<std::ptrdiff_t>(index));
}

// Moves the first item of `from` under (x, y) to the tail of `to`, the counts following.
template <typename T>
bool moveFirstHit(std::vector<std::unique_ptr<T>>& from, int32_t& fromCount,
                  std::vector<std::unique_ptr<T>>& to, int32_t& toCount, double x, double y) {
  for (size_t i = 0; i < from.size(); ++i) {
    if (from[i]->hitTest(x, y)) {
      moveToTail(from, i, to);
      --fromCount;
      ++toCount;
      return true;
    }
  }
  return false;
}

// The unselected list is searched first, so a toggle selects when it can. True when it
// selected something.
template <typename T>
bool toggleFirstHit(std::vector<std::unique_ptr<T>>& unselected, int32_t& unselectedCount,
                    std::vector<std::unique_ptr<T>>& selected, int32_t& selectedCount, double x, double y) {
  if (moveFirstHit(unselected, unselectedCount, selected, selectedCount, x, y)) return true;
  moveFirstHit(selected, selectedCount, unselected, unselectedCount, x, y);
  return false;
}

}  // namespace

Graph2DNode* Graph2D::addNode(double x, double y, int32_t id) {
  if (id == -1) {
    id = nextNodeId;
    if (nextNodeId < std::numeric_limits<int32_t>::max()) ++nextNodeId;
  } else {
    nextNodeId = id < std::numeric_limits<int32_t>::max() ? id + 1 : id;
  }
  auto node = std::make_unique<Graph2DNode>(id, x, y);
  placeWithoutOverlap(*node);
  Graph2DNode* raw = node.get();
  appendSelectedNode(std::move(node));
  return raw;
}

void Graph2D::appendSelectedNode(std::unique_ptr<Graph2DNode> node) {
  selectedNodes.push_back(std::move(node));
  ++howManySelectedNodes;
}

void Graph2D::placeWithoutOverlap(Graph2DNode& node) {
  // The node itself is skipped by identity (not by id: a pasted copy still carries its
  // original's id while it is placed, and must not land on that original).
  auto overlapsAny = [&] {
    for (const NodeList* list : {&unselectedNodes, &selectedNodes})
      for (const auto& other : *list)
        if (other.get() != &node && other->overlapTest(node.x, node.y)) return true;
    return false;
  };
  if (!overlapsAny()) return;
  // One diagonal per placement, drawn from the generator reseeded from the clock in whole
  // seconds (odd: minus, even: plus). Along a fixed diagonal the node passes each overlap
  // disk in a few steps, so a bound of a few steps per node always suffices; it only
  // matters for coordinates so large that a half-unit step no longer changes them.
  reseedFromClock(static_cast<uint32_t>(std::time(nullptr)));
  const double stepX = nextRandom() % 2 ? -node.radius : node.radius;
  const double stepY = nextRandom() % 2 ? -node.radius : node.radius;
  const int64_t maxSteps = 8 * (static_cast<int64_t>(nodeCount()) + 1) + 64;
  for (int64_t step = 0; step < maxSteps && overlapsAny(); ++step) {
    const double oldX = node.x, oldY = node.y;
    node.move(stepX, stepY);
    if (node.x == oldX && node.y == oldY) break;
  }
}

bool Graph2D::toggleNodeAt(double x, double y) {
  return toggleFirstHit(unselectedNodes, howManyUnselectedNodes, selectedNodes, howManySelectedNodes, x, y);
}

bool Graph2D::toggleEdgeAt(double x, double y) {
  return toggleFirstHit(unselectedEdges, howManyUnselectedEdges, selectedEdges, howManySelectedEdges, x, y);
}

void Graph2D::toggleNodesInRectangle(double left, double top, double right, double bottom) {
  auto inside = [&](const Graph2DNode& n) { return left < n.x && n.x < right && bottom < n.y && n.y < top; };
  // Both passes rotate through their list: visited nodes that stay go to the tail, so the
  // nodes selected by the first pass end up ahead of the selected nodes that stay.
  const size_t previouslySelected = selectedNodes.size();
  NodeList keptUnselected;
  for (auto& node : unselectedNodes) {
    if (inside(*node)) {
      selectedNodes.push_back(std::move(node));
    } else {
      keptUnselected.push_back(std::move(node));
    }
  }
  unselectedNodes = std::move(keptUnselected);
  NodeList rotated(
      std::make_move_iterator(selectedNodes.begin() + static_cast<std::ptrdiff_t>(previouslySelected)),
      std::make_move_iterator(selectedNodes.end()));
  for (size_t i = 0; i < previouslySelected; ++i) {
    auto& node = selectedNodes[i];
    if (inside(*node)) {
      unselectedNodes.push_back(std::move(node));
    } else {
      rotated.push_back(std::move(node));
    }
  }
  selectedNodes = std::move(rotated);
  howManyUnselectedNodes = static_cast<int32_t>(unselectedNodes.size());
  howManySelectedNodes = static_cast<int32_t>(selectedNodes.size());
}

bool Graph2D::isNodeAt(double x, double y) const {
  return isSelectedNodeAt(x, y) || std::any_of(unselectedNodes.begin(), unselectedNodes.end(),
                                               [&](const auto& n) { return n->hitTest(x, y); });
}

bool Graph2D::isEdgeAt(double x, double y) const {
  return isSelectedEdgeAt(x, y) || std::any_of(unselectedEdges.begin(), unselectedEdges.end(),
                                               [&](const auto& e) { return e->hitTest(x, y); });
}

bool Graph2D::isSelectedNodeAt(double x, double y) const {
  return std::any_of(selectedNodes.begin(), selectedNodes.end(),
                     [&](const auto& n) { return n->hitTest(x, y); });
}

bool Graph2D::isSelectedEdgeAt(double x, double y) const {
  return std::any_of(selectedEdges.begin(), selectedEdges.end(),
                     [&](const auto& e) { return e->hitTest(x, y); });
}

void Graph2D::selectAllNodes() {
  for (auto& node : unselectedNodes) selectedNodes.push_back(std::move(node));
  unselectedNodes.clear();
  howManySelectedNodes += howManyUnselectedNodes;
  howManyUnselectedNodes = 0;
}

void Graph2D::unselectAll() {
  for (auto& node : selectedNodes) unselectedNodes.push_back(std::move(node));
  selectedNodes.clear();
  howManyUnselectedNodes += howManySelectedNodes;
  howManySelectedNodes = 0;
  for (auto& edge : selectedEdges) unselectedEdges.push_back(std::move(edge));
  selectedEdges.clear();
  howManyUnselectedEdges += howManySelectedEdges;
  howManySelectedEdges = 0;
}

Graph2DEdge* Graph2D::joinNodes(Graph2DNode* a, Graph2DNode* b) {
  auto edge = std::make_unique<Graph2DEdge>(a, b);
  Graph2DEdge* raw = edge.get();
  a->edges.push_back(raw);
  b->edges.push_back(raw);
  unselectedEdges.push_back(std::move(edge));
  ++howManyUnselectedEdges;
  return raw;
}

EditorStatus Graph2D::join2SelectedNodes() {
  if (howManySelectedNodes != 2) return EditorStatus::refused(editor_messages::kJoinNeedsTwo);
  Graph2DNode* a = selectedNodes[0].get();
  Graph2DNode* b = selectedNodes[1].get();
  if (!a->isJoinedTo(*b) && !b->isJoinedTo(*a)) joinNodes(a, b);
  return EditorStatus::done();
}

void Graph2D::cliquify() {
  for (size_t i = 0; i < selectedNodes.size(); ++i) {
    for (size_t j = i + 1; j < selectedNodes.size(); ++j) {
      Graph2DNode* a = selectedNodes[i].get();
      Graph2DNode* b = selectedNodes[j].get();
      if (!a->isJoinedTo(*b) && !b->isJoinedTo(*a)) joinNodes(a, b);
    }
  }
}

void Graph2D::moveSelected(double dx, double dy) {
  for (auto& node : selectedNodes) node->move(dx, dy);
}

void Graph2D::translateAll(double dx, double dy) {
  for (auto& node : unselectedNodes) node->move(dx, dy);
  for (auto& node : selectedNodes) node->move(dx, dy);
}

void Graph2D::centerGraph() {
  const int32_t n = nodeCount();
  if (n == 0) return;
  double sumX = 0.0, sumY = 0.0;
  for (const NodeList* list : {&unselectedNodes, &selectedNodes}) {
    for (const auto& node : *list) {
      sumX += node->x;
      sumY += node->y;
    }
  }
  translateAll(-sumX / n, -sumY / n);
}

void Graph2D::rotateSelected(double cx, double cy, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  for (auto& node : selectedNodes) {
    const double dx = node->x - cx, dy = node->y - cy;
    node->x = cx + c * dx - s * dy;
    node->y = cy + s * dx + c * dy;
    for (Graph2DEdge* edge : node->edges) edge->recomputeRectangle();
  }
}

void Graph2D::replaceSelected() {
  // Placing skips the node itself, so it can stay where it is in the list: same result as
  // taking it out and appending it again, order kept.
  for (auto& node : selectedNodes) placeWithoutOverlap(*node);
}

EditorStatus Graph2D::deleteSelected() {
  EditorStatus status;
  auto unlink = [&](Graph2DNode* node, const Graph2DEdge* edge) {
    if (!node->removeEdge(edge)) status = EditorStatus::refused(editor_messages::kShouldNotBeReached);
  };
  for (auto& edge : selectedEdges) {
    unlink(edge->node1, edge.get());
    unlink(edge->node2, edge.get());
  }
  selectedEdges.clear();
  howManySelectedEdges = 0;

  // Edges of deleted nodes are unlinked at once and dropped from the graph lists in one
  // sweep, which keeps deleting a large selection linear.
  std::unordered_set<const Graph2DEdge*> doomed;
  for (auto& node : selectedNodes) {
    for (Graph2DEdge* edge : node->edges) {
      unlink(edge->otherEnd(node.get()), edge);
      doomed.insert(edge);
    }
    node->edges.clear();
  }
  if (!doomed.empty()) {
    std::erase_if(unselectedEdges, [&](const auto& e) { return doomed.count(e.get()) > 0; });
    std::erase_if(selectedEdges, [&](const auto& e) { return doomed.count(e.get()) > 0; });
    howManyUnselectedEdges = static_cast<int32_t>(unselectedEdges.size());
    howManySelectedEdges = static_cast<int32_t>(selectedEdges.size());
  }
  selectedNodes.clear();
  howManySelectedNodes = 0;
  return status;
}

}  // namespace hc
