// The drawing and its editing: placement clear of every node, selection toggles, joining,
// cliquify, moves and rotation, deletion bookkeeping, copy / cut / paste with their
// refusals, new and clear; the objects' own node circle, edge hit rectangle in every
// direction (vertical included) and removing an edge from a node's list.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <set>

#include "core/random.h"
#include "editor/clipboard.h"
#include "editor/graph2d.h"
#include "editor_test_util.h"

namespace hc {
namespace {

using enum ProgramState;

using editor_test::addUnselected;
using editor_test::listing;

// How many nodes of either list other than `self` a node at (x, y) would overlap.
int overlaps(const Graph2D& drawing, double x, double y, const Graph2DNode* self) {
  int count = 0;
  for (const auto* list : {&drawing.unselectedNodes, &drawing.selectedNodes})
    for (const auto& n : *list) count += n.get() != self && n->overlapTest(x, y);
  return count;
}

void expectNoOverlap(const Graph2D& drawing) {
  for (const auto* list : {&drawing.unselectedNodes, &drawing.selectedNodes})
    for (const auto& n : *list) EXPECT_EQ(overlaps(drawing, n->x, n->y, n.get()), 0) << n->id;
}

// A node placed on others steps diagonally by half units and stops at the first point clear
// of every node of both lists (one step less would still overlap); it arrives selected.
// Fixed seeds make every step draw a fresh diagonal; placement must still finish.
TEST(Placement, StepsDiagonallyUntilClearAndEnds) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    enableFixedSeed(seed);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coordinate(-3, 3);
    Graph2D drawing;
    for (int i = 0; i < 150; ++i) {
      const double x = coordinate(rng), y = coordinate(rng);
      const Graph2DNode* node = drawing.addNode(x, y);
      const double dx = node->x - x, dy = node->y - y, steps = std::abs(dx) / 0.5;
      ASSERT_EQ(drawing.selectedNodes.back().get(), node);
      EXPECT_DOUBLE_EQ(std::abs(dx), std::abs(dy));
      EXPECT_NEAR(steps, std::round(steps), 1e-9);
      EXPECT_EQ(overlaps(drawing, node->x, node->y, node), 0) << i;
      EXPECT_TRUE(steps == 0 || overlaps(drawing, node->x - dx / steps, node->y - dy / steps, node) > 0) << i;
      if (rng() % 2) drawing.unselectAll();
    }
    EXPECT_EQ(drawing.checkInvariants(), "");
  }
  disableFixedSeed();
  // Huge coordinates end too: a half-unit step cannot move the node. Ids are explicit or next.
  Graph2D drawing;
  addUnselected(drawing, 1e300, 1e300);
  EXPECT_EQ(drawing.addNode(1e300, 1e300)->x, 1e300);
  EXPECT_EQ(std::vector<int32_t>({drawing.addNode(0, 0)->id, drawing.addNode(5, 0, 10)->id,
                                  drawing.nextNodeId, drawing.addNode(9, 0)->id}),
            std::vector<int32_t>({2, 10, 11, 11}));
}

TEST(Selection, TogglesMoveObjectsToTheTailOfTheOtherListAndRectanglesSwapNodesStrictlyInside) {
  Graph2D drawing;
  for (int i = 0; i < 6; ++i) addUnselected(drawing, 2.0 * i, 0);  // ids 0..5 at x = 0, 2, ..., 10
  drawing.joinNodes(drawing.unselectedNodes[4].get(), drawing.unselectedNodes[5].get());
  // In order (a braced list is evaluated left to right): node 0 on, node 0 off, nothing at
  // (1, 2), the edge on.
  EXPECT_EQ((std::vector<bool>{drawing.toggleNodeAt(0.1, 0.1), drawing.isSelectedNodeAt(0, 0),
                               drawing.toggleNodeAt(0, 0), drawing.isSelectedNodeAt(0, 0),
                               drawing.toggleNodeAt(1, 2), drawing.toggleEdgeAt(9, 0.1),
                               drawing.isSelectedEdgeAt(9, 0)}),
            (std::vector<bool>{true, true, false, false, false, true, true}));
  EXPECT_EQ(listing(drawing), "[1 2 3 4 5 0] [] [] [4-5]");
  EXPECT_FALSE(drawing.toggleEdgeAt(9, 0));
  drawing.toggleNodeAt(2, 0);
  drawing.toggleNodeAt(10, 0);
  drawing.toggleNodeAt(0, 0);                   // selected: 1, 5, 0
  drawing.toggleNodesInRectangle(1, 1, 9, -1);  // x in (1, 9): ids 1..4
  // Unselected 2, 3, 4 became selected ahead of the kept 5, 0; selected 1 became unselected.
  EXPECT_EQ(listing(drawing), "[1] [2 3 4 5 0] [4-5] []");
  drawing.toggleNodesInRectangle(2, 1, 8, -1);  // x = 4, 6 inside; x = 2 and x = 8 on the boundary
  EXPECT_EQ(listing(drawing), "[1 2 3] [4 5 0] [4-5] []");
  drawing.selectAllNodes();
  EXPECT_EQ(listing(drawing), "[] [4 5 0 1 2 3] [4-5] []");
}

TEST(Joining, TwoSelectedNodesOnceAndCliquifyTheMissingPairs) {
  Graph2D drawing;
  drawing.addNode(0, 0);
  EXPECT_EQ(drawing.join2SelectedNodes().message,
            "Error, attempt to join2SelectedNodes when howManySelectedNodes != 2");
  drawing.addNode(3, 0);
  EXPECT_TRUE(drawing.join2SelectedNodes());
  EXPECT_TRUE(drawing.join2SelectedNodes());  // already joined: nothing added, selection kept
  EXPECT_EQ(listing(drawing), "[] [0 1] [0-1] []");
  drawing.addNode(6, 0);
  EXPECT_FALSE(drawing.join2SelectedNodes());
  drawing.addNode(9, 0);
  drawing.cliquify();
  drawing.cliquify();  // every pair is joined already
  EXPECT_EQ(listing(drawing), "[] [0 1 2 3] [0-1 0-2 0-3 1-2 1-3 2-3] []");
}

TEST(Moving, MoveTranslateCenterRotateAndReplace) {
  Graph2D drawing;
  Graph2DNode* a = addUnselected(drawing, 1, 0);
  Graph2DNode* b = drawing.addNode(3, 0);
  drawing.joinNodes(a, b);
  drawing.moveSelected(0, 2);
  EXPECT_EQ(std::vector<double>({b->x, b->y, a->y}), std::vector<double>({3, 2, 0}));
  EXPECT_TRUE(drawing.isEdgeAt(2, 1));
  drawing.translateAll(1, 1);
  EXPECT_EQ(a->x, 2);
  drawing.centerGraph();
  EXPECT_TRUE(std::abs(a->x + b->x) < 1e-12 && std::abs(a->y + b->y) < 1e-12);
  drawing.rotateSelected(a->x, a->y, std::numbers::pi / 2);  // b was (a + (2, 2)): now a + (-2, 2)
  EXPECT_TRUE(std::abs(b->x - a->x + 2) < 1e-12 && std::abs(b->y - a->y - 2) < 1e-12) << b->x - a->x;
  EXPECT_TRUE(drawing.isEdgeAt(a->x - 1, a->y + 1));
  // Nodes dragged on top of another (and of each other, 3 apart) are placed clear again.
  Graph2D dragged;
  addUnselected(dragged, 0, 0);
  dragged.addNode(5, 5);
  dragged.addNode(8, 8);
  dragged.moveSelected(-5, -5);
  dragged.replaceSelected();
  expectNoOverlap(dragged);
  EXPECT_EQ(listing(dragged), "[0] [1 2] [] []");
}

// The unselected nodes and edges that touch no selected node stay, in their order.
TEST(Deleting, SelectedNodesTakeAllTheirEdges) {
  auto add = [](std::string& list, const std::string& item) { list += (list.empty() ? "" : " ") + item; };
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    Graph2D drawing = editor_test::randomDrawing(seed, 20, 40);
    std::set<const Graph2DNode*> doomed;
    for (const auto& n : drawing.selectedNodes) doomed.insert(n.get());
    std::string kept, survivors;
    for (const auto& n : drawing.unselectedNodes) add(kept, std::to_string(n->id));
    for (const auto& e : drawing.unselectedEdges)
      if (!doomed.count(e->node1) && !doomed.count(e->node2))
        add(survivors, std::to_string(e->node1->id) + "-" + std::to_string(e->node2->id));
    EXPECT_TRUE(drawing.deleteSelected());
    EXPECT_EQ(listing(drawing), "[" + kept + "] [] [" + survivors + "] []");
  }
}

TEST(Clipboard, CopyPasteTwiceAndCut) {
  Graph2D drawing;
  std::vector<Graph2DNode*> nodes;
  for (int i = 0; i < 4; ++i) nodes.push_back(addUnselected(drawing, 3.0 * i, 0));
  for (int i = 0; i < 3; ++i) drawing.joinNodes(nodes[i], nodes[i + 1]);
  for (int i : {2, 0, 1}) drawing.toggleNodeAt(3.0 * i, 0);  // the clipboard goes by id, not list order
  Clipboard clipboard;
  ASSERT_TRUE(copySelection(clipboard, drawing, kEditing, false));
  ASSERT_EQ(std::pair(clipboard.nodes.size(), clipboard.edges.size()), std::pair(size_t{3}, size_t{2}));
  EXPECT_EQ(std::tuple(clipboard.nodes[0]->id, clipboard.nodes[1]->id, clipboard.nodes[2]->id),
            std::tuple(0, 1, 2));
  // The edges among the selected nodes join the clipboard's own copies.
  EXPECT_EQ(std::pair(clipboard.edges[0]->node1, clipboard.edges[1]->node2),
            std::pair(clipboard.nodes[0].get(), clipboard.nodes[2].get()));
  EXPECT_EQ(std::pair(clipboard.centroidX, clipboard.centroidY), std::pair(3.0, 0.0));
  ASSERT_TRUE(pasteClipboard(clipboard, drawing, kEditing, false, true, 100, 100));
  double cx = 0, cy = 0;
  for (const auto& n : drawing.selectedNodes) cx += n->x, cy += n->y;
  EXPECT_TRUE(std::abs(cx / 3 - 100) < 1e-9 && std::abs(cy / 3 - 100) < 1e-9) << cx / 3 << "," << cy / 3;
  ASSERT_TRUE(pasteClipboard(clipboard, drawing, kEditing, false, true, 100, 100));  // on top: placed clear
  expectNoOverlap(drawing);
  // Fresh ids; only the latest paste is selected and every pasted edge is unselected.
  EXPECT_EQ(listing(drawing) + " " + std::to_string(drawing.nextNodeId),
            "[3 2 0 1 4 5 6] [7 8 9] [0-1 1-2 2-3 4-5 5-6 7-8 8-9] [] 10");
  drawing.unselectAll();
  drawing.toggleNodeAt(3, 0);
  drawing.toggleNodeAt(6, 0);
  ASSERT_TRUE(cutSelection(clipboard, drawing, kEditing, false));
  ASSERT_EQ(std::pair(clipboard.nodes.size(), clipboard.edges.size()), std::pair(size_t{2}, size_t{1}));
  EXPECT_EQ(std::pair(clipboard.nodes[0]->id, clipboard.nodes[1]->id), std::pair(1, 2));
  EXPECT_EQ(listing(drawing), "[3 0 4 5 6 7 8 9] [] [4-5 5-6 7-8 8-9] []");
  ASSERT_TRUE(copySelection(clipboard, drawing, kEditing, false));  // nothing selected
  EXPECT_EQ(std::tuple(clipboard.empty(), clipboard.edges.size(), clipboard.centroidX),
            std::tuple(true, 0u, 0.0));
  ASSERT_TRUE(pasteClipboard(clipboard, drawing, kEditing, false, true, 50, 50));
  EXPECT_EQ(drawing.nodeCount(), 8);
}

// Once the graph is submitted copy, cut and paste name themselves and Clear refuses
// silently; rotation mode refuses copy, cut and paste silently (before the state) and Clear
// with the Delete text. No refusal changes anything; then Clear and New empty the drawing.
TEST(PageActions, RefusalsChangeNothingThenClearAndNewEmptyTheDrawing) {
  Graph2D drawing;
  drawing.addNode(0, 0);
  drawing.addNode(3, 0);
  drawing.cliquify();
  Clipboard clipboard;
  auto refusal = [](const EditorStatus& status) { return status ? std::string("(done)") : status.message; };
  const std::string submitted = " once the graph has been submitted.";
  for (ProgramState state : {kSubmitted, kRunning, kDecided}) {
    EXPECT_EQ(refusal(copySelection(clipboard, drawing, state, false)), "ERROR! Cannot copy" + submitted);
    EXPECT_EQ(refusal(cutSelection(clipboard, drawing, state, false)), "ERROR! Cannot cut" + submitted);
    EXPECT_EQ(refusal(pasteClipboard(clipboard, drawing, state, false, true, 5, 5)),
              "ERROR! Cannot paste" + submitted);
    EXPECT_EQ(refusal(clearDrawing(drawing, state, false)), "");
  }
  for (ProgramState state : {kEditing, kSubmitted}) {
    EXPECT_EQ(refusal(copySelection(clipboard, drawing, state, true)), "");
    EXPECT_EQ(refusal(cutSelection(clipboard, drawing, state, true)), "");
    EXPECT_EQ(refusal(pasteClipboard(clipboard, drawing, state, true, true, 5, 5)), "");
  }
  EXPECT_EQ(refusal(clearDrawing(drawing, kEditing, true)), "ERROR! Cannot delete while in rotation mode.");
  EXPECT_TRUE(clipboard.empty());
  ASSERT_TRUE(copySelection(clipboard, drawing, kEditing, false));
  EXPECT_EQ(refusal(pasteClipboard(clipboard, drawing, kEditing, false, false, 5, 5)),
            "");  // mouse off the canvas
  EXPECT_EQ(listing(drawing) + std::to_string(drawing.nextNodeId), "[] [0 1] [0-1] []2");
  EXPECT_TRUE(clearDrawing(drawing, kEditing, false));
  EXPECT_EQ(listing(drawing) + std::to_string(drawing.nextNodeId), "[] [] [] []0");
  drawing.addNode(0, 0);
  bool rotationMode = true;
  newDrawing(drawing, rotationMode);
  EXPECT_EQ(listing(drawing) + std::to_string(rotationMode), "[] [] [] []0");
}

// Samples a box around each edge and compares the hit test with the distance to the
// segment: well inside the band hits, well outside does not. An upward vertical edge has an
// infinite slope; points exactly on a side do not hit.
TEST(Graph2DEdge, HitRectangleFollowsTheEdgeInEveryDirection) {
  const double ends[][4] = {{0, 0, 3, 0},  {3, 0, 0, 0}, {0, 0, 2, 2}, {2, 2, 0, 0},    {0, 0, 2, -3},
                            {2, -3, 0, 0}, {0, 0, 0, 4}, {0, 4, 0, 0}, {-1, 5, 4, 4.5}, {1, 1, 1.2, 5}};
  for (const auto& [x1, y1, x2, y2] : ends) {
    Graph2DNode a(0, x1, y1), b(1, x2, y2);
    const Graph2DEdge edge(&a, &b);
    const double length = std::hypot(x2 - x1, y2 - y1), ux = (x2 - x1) / length, uy = (y2 - y1) / length;
    for (double t = -0.3; t <= length + 0.3; t += length / 17.0) {
      for (double d = -0.4; d <= 0.4; d += 0.05) {
        const bool inside = t > 0.01 && t < length - 0.01 && std::abs(d) < 0.19;
        if (!inside && t >= -0.01 && t <= length + 0.01 && std::abs(d) <= 0.21) continue;  // the rim
        EXPECT_EQ(edge.hitTest(x1 + ux * t - uy * d, y1 + uy * t + ux * d), inside)
            << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") t=" << t << " d=" << d;
      }
    }
  }
  Graph2DNode a(0, 0, 0), b(1, 0, 4), c(2, 2, 0);
  const Graph2DEdge vertical(&a, &b), horizontal(&a, &c);
  EXPECT_TRUE(std::isinf(vertical.slope) && vertical.slope > 0);
  EXPECT_TRUE(!horizontal.hitTest(1.0, 0.2) && horizontal.hitTest(1.0, 0.1999));
}

// A node's circle and overlap include their boundary; removing an edge from its list
// rotates past the dropped edge, and a stranger is refused.
TEST(Graph2DNode, CircleOverlapAndRemovingAnEdge) {
  Graph2DNode node(3, 1.0, 2.0);
  // On the circle, just outside; two radii away, just beyond.
  EXPECT_EQ((std::vector<bool>{node.hitTest(1.5, 2.0), node.hitTest(1.5001, 2.0), node.overlapTest(2.0, 2.0),
                               node.overlapTest(2.0001, 2.0)}),
            (std::vector<bool>{true, false, true, false}));
  Graph2D drawing;
  Graph2DNode* hub = addUnselected(drawing, 0, 0);
  std::vector<Graph2DEdge*> spokes;
  for (int i = 0; i < 4; ++i)
    spokes.push_back(drawing.joinNodes(hub, addUnselected(drawing, 5.0 * (i + 1), 3)));
  ASSERT_TRUE(hub->removeEdge(spokes[1]));
  EXPECT_EQ(hub->edges, (std::vector<Graph2DEdge*>{spokes[2], spokes[3], spokes[0]}));
  Graph2DEdge stranger(hub, addUnselected(drawing, -9, -9));
  EXPECT_FALSE(hub->removeEdge(&stranger));
  EXPECT_EQ(hub->edges, (std::vector<Graph2DEdge*>{spokes[2], spokes[3], spokes[0]}));
}

}  // namespace
}  // namespace hc
