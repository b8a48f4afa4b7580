// The drawing of the Graph Editor: nodes with real positions, edges with a hit rectangle,
// and a selection carried by which list an object sits in (not by a flag).
//
// Ownership: a Graph2D owns its nodes (through the two node lists) and its edges (through
// the two edge lists); a node's `edges` list only points at edges owned by the graph, and
// an edge points at its two nodes. Objects live on the heap, so moving them between lists
// never moves them in memory and every pointer stays valid until the object is deleted.
//
// Every operation keeps the invariants: each node in exactly one node list, each edge in
// exactly one edge list and in the `edges` of both endpoints, the four counts equal to
// the list sizes, no loops and no second edge between the same pair.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_status.h"

namespace hc {

struct Graph2DEdge;
struct Clipboard;

struct Graph2DNode {
  int32_t id = -1;
  double x = 0.0;
  double y = 0.0;
  double radius = 0.5;
  std::vector<Graph2DEdge*> edges;  // incident edges in insertion order (not owned)

  Graph2DNode() = default;
  Graph2DNode(int32_t nodeId, double nodeX, double nodeY) : id(nodeId), x(nodeX), y(nodeY) {}

  // Inside the circle, boundary included.
  bool hitTest(double px, double py) const;
  // Within two radii: a new node there would overlap this one.
  bool overlapTest(double px, double py) const;
  // Moves the centre and recomputes the hit rectangle of every incident edge.
  void move(double dx, double dy);
  bool isJoinedTo(const Graph2DNode& other) const;
  // Rotates through `edges` until `edge` is at the head and drops it, so the survivors keep
  // their cyclic order starting after the dropped one. Returns false (list unchanged) when
  // `edge` is not in the list; the caller reports "Should not be reached.".
  bool removeEdge(const Graph2DEdge* edge);
};

struct Graph2DEdge {
  double slope = 0.0;
  double halfWidth = 0.2;
  Graph2DNode* node1 = nullptr;
  Graph2DNode* node2 = nullptr;
  std::array<double, 4> cornerX{};
  std::array<double, 4> cornerY{};

  Graph2DEdge() = default;
  // Corners computed at once.
  Graph2DEdge(Graph2DNode* first, Graph2DNode* second);

  // slope and the four corners from the endpoint positions (a vertical edge has an
  // infinite slope; its rectangle is still proper).
  void recomputeRectangle();
  // Strictly inside the hit rectangle.
  bool hitTest(double px, double py) const;
  Graph2DNode* otherEnd(const Graph2DNode* node) const { return node == node1 ? node2 : node1; }
};

class Graph2D {
 public:
  using NodeList = std::vector<std::unique_ptr<Graph2DNode>>;
  using EdgeList = std::vector<std::unique_ptr<Graph2DEdge>>;

  NodeList unselectedNodes;
  NodeList selectedNodes;
  int32_t howManyUnselectedNodes = 0;
  int32_t howManySelectedNodes = 0;
  EdgeList unselectedEdges;
  EdgeList selectedEdges;
  int32_t howManyUnselectedEdges = 0;
  int32_t howManySelectedEdges = 0;
  int32_t nextNodeId = 0;

  Graph2D() = default;
  Graph2D(Graph2D&&) noexcept = default;
  Graph2D& operator=(Graph2D&&) noexcept = default;
  Graph2D(const Graph2D&) = delete;
  Graph2D& operator=(const Graph2D&) = delete;

  int32_t nodeCount() const { return howManyUnselectedNodes + howManySelectedNodes; }
  int32_t edgeCount() const { return howManyUnselectedEdges + howManySelectedEdges; }
  // Largest id over both lists + 1 (0 when there is no node).
  int32_t nextIdAfterLargest() const;
  // Empty when every invariant holds, else the first one broken (tests and heavy checks).
  std::string checkInvariants() const;

  // Appends every object of `other` (emptied) and sets nextNodeId to the largest id + 1.
  void absorb(Graph2D&& other);

  // --- editing ---

  // id -1 takes nextNodeId (which then grows by one); another id is used as given and
  // nextNodeId becomes id + 1. The node is placed clear of the others and arrives selected.
  Graph2DNode* addNode(double x, double y, int32_t id = -1);
  // Steps `node` (in neither list) diagonally by its radius until no node of either list
  // overlaps it. The diagonal is drawn once per call from the random source reseeded from
  // the clock in whole seconds; the number of steps is bounded.
  void placeWithoutOverlap(Graph2DNode& node);
  // The first hit unselected node becomes selected (true); else the first hit selected
  // node becomes unselected (false).
  bool toggleNodeAt(double x, double y);
  bool toggleEdgeAt(double x, double y);
  // Nodes strictly inside swap their selection (top > bottom, world coordinates).
  void toggleNodesInRectangle(double left, double top, double right, double bottom);
  bool isNodeAt(double x, double y) const;
  bool isEdgeAt(double x, double y) const;
  bool isSelectedNodeAt(double x, double y) const;
  bool isSelectedEdgeAt(double x, double y) const;
  void selectAllNodes();
  void unselectAll();
  // Needs exactly two selected nodes (else the refusal text); joins them unless joined.
  EditorStatus join2SelectedNodes();
  // Joins every pair of selected nodes not yet joined, in selection order.
  void cliquify();
  void moveSelected(double dx, double dy);
  void translateAll(double dx, double dy);
  // Moves the centroid of all nodes to the origin.
  void centerGraph();
  void rotateSelected(double cx, double cy, double angle);
  // Re-places every selected node clear of the others, keeping the selection order.
  void replaceSelected();
  // Deletes the selected edges, then the selected nodes with every incident edge.
  EditorStatus deleteSelected();
  // Adds copies of the clipboard's nodes and edges, moved so that the clipboard's centroid
  // lands on (x, y) and then placed clear of the drawing; the copies get fresh ids in
  // clipboard order and arrive selected, their edges unselected.
  void paste(const Clipboard& clipboard, double x, double y);

  // The edge between a and b, appended to both `edges` lists and to unselectedEdges.
  // The caller has checked that a and b are distinct and not joined.
  Graph2DEdge* joinNodes(Graph2DNode* a, Graph2DNode* b);
  // Appends a node that already has its id and position to selectedNodes.
  void appendSelectedNode(std::unique_ptr<Graph2DNode> node);
};

}  // namespace hc
