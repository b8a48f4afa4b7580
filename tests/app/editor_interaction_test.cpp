// The editor's mouse without widgets: gestures on a two-node drawing and what they leave
// (nodes with their places, edges, the selection, the undo steps recorded).
#include "app/editor_interaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace hc {
namespace {

// 'd' drags from one world point to another (move, press, move, release); 'p' moves to a
// point and presses there; 'm' moves there.
struct Gesture {
  char kind;
  MouseButton button;
  double x, y, toX = 0, toY = 0;
  bool control = false;
};

std::string describe(const Graph2D& d, int edits) {
  std::vector<std::string> nodes, edges;
  for (const auto* list : {&d.unselectedNodes, &d.selectedNodes})
    for (const auto& n : *list) {
      std::ostringstream out;
      out << n->id << "(" << std::round(n->x * 1e6) / 1e6 + 0.0 << "," << std::round(n->y * 1e6) / 1e6 + 0.0
          << ")";
      nodes.push_back(out.str());
    }
  for (const auto* list : {&d.unselectedEdges, &d.selectedEdges})
    for (const auto& e : *list)
      edges.push_back(std::to_string(std::min(e->node1->id, e->node2->id)) + "-" +
                      std::to_string(std::max(e->node1->id, e->node2->id)));
  std::sort(nodes.begin(), nodes.end());
  std::sort(edges.begin(), edges.end());
  std::string text;
  for (const std::string& n : nodes) text += n + " ";
  text += "|";
  for (const std::string& e : edges) text += " " + e;
  return text + " | selected " + std::to_string(d.howManySelectedNodes) + "/" +
         std::to_string(d.howManySelectedEdges) + " | edits " + std::to_string(edits);
}

TEST(EditorInteraction, GesturesOnADrawing) {
  using enum MouseButton;
  struct Row {
    const char* what;
    bool editing;
    std::vector<Gesture> gestures;
    const char* drawing;
  };
  const Row rows[] = {
      {"click adds a node",
       true,
       {{'d', kLeft, -10, 0, -10, 0}},
       "0(0,0) 1(10,0) 2(-10,0) | 0-1 | selected 0/0 | edits 1"},
      {"drag from a node draws a joined node",
       true,
       {{'d', kLeft, 0, 0, 0, 10}},
       "0(0,0) 1(10,0) 2(0,10) | 0-1 0-2 | selected 2/0 | edits 1"},
      {"no drawing once submitted",
       false,
       {{'d', kLeft, -10, 0, -10, 0}},
       "0(0,0) 1(10,0) | 0-1 | selected 0/0 | edits 0"},
      {"right drag moves a node",
       true,
       {{'d', kRight, 0, 0, 0, -10}},
       "0(0,-10) 1(10,0) | 0-1 | selected 1/0 | edits 1"},
      {"a move is no edit once submitted",
       false,
       {{'d', kRight, 0, 0, 0, -10}},
       "0(0,-10) 1(10,0) | 0-1 | selected 1/0 | edits 0"},
      {"rectangle selects",
       true,
       {{'d', kRight, -5, -5, 15, 5}},
       "0(0,0) 1(10,0) | 0-1 | selected 2/0 | edits 0"},
      {"right click on an edge",
       true,
       {{'d', kRight, 5, 0, 5, 0}},
       "0(0,0) 1(10,0) | 0-1 | selected 0/1 | edits 0"},
      {"Ctrl adds to the selection",
       true,
       {{'d', kRight, 0, 0, 0, 0}, {'d', kRight, 10, 0, 10, 0, true}},
       "0(0,0) 1(10,0) | 0-1 | selected 2/0 | edits 0"},
      {"a quarter turn about node 0 is one edit",
       true,
       {{'d', kRight, 10, 0, 10, 0},
        {'p', kMiddle, 0, 0},
        {'m', kOther, 10, 0},
        {'m', kOther, 0, 10},
        {'d', kLeft, 5, 5, 5, 5},
        {'p', kMiddle, 0, 10}},
       "0(0,0) 1(0,10) | 0-1 | selected 1/0 | edits 1"},
      {"no rotation once submitted",
       false,
       {{'d', kRight, 10, 0, 10, 0}, {'p', kMiddle, 0, 0}, {'m', kOther, 0, 10}},
       "0(0,0) 1(10,0) | 0-1 | selected 1/0 | edits 0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Graph2D drawing;
    Graph2DNode* first = drawing.addNode(0, 0);
    drawing.joinNodes(first, drawing.addNode(10, 0));
    drawing.unselectAll();
    EditorView view;
    view.setCanvasSize(640, 640);
    EditorInteraction mouse;
    int edits = 0;  // as the page counts them: a change of selection alone is none
    mouse.onEdit = [&](const DrawingSnapshot& before) { edits += !sameStructure(before, drawing); };
    std::string messages;
    mouse.onMessage = [&](const std::string& text) { messages += text; };
    auto at = [&](double x, double y) { return CanvasPoint{view.pixelX(x), view.pixelY(y)}; };
    for (const Gesture& g : row.gestures) {
      mouse.move(drawing, view, at(g.x, g.y), true);
      if (g.kind == 'm') continue;
      mouse.press(drawing, row.editing, view, g.button, at(g.x, g.y), true, g.control);
      if (g.kind == 'p') continue;
      mouse.move(drawing, view, at(g.toX, g.toY), true);
      mouse.release(drawing, row.editing, view, g.button);
    }
    EXPECT_EQ(describe(drawing, edits) + messages, row.drawing);
    EXPECT_FALSE(mouse.rotationMode());
  }
}

}  // namespace
}  // namespace hc
