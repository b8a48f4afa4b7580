// Helpers shared by the editor tests: drawings at exact positions, random drawings with
// both selections used, a drawing as text, expected .g bytes spelled out item by item, and
// temporary files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/graph2d.h"

namespace hc::editor_test {

// Adds an unselected node exactly at (x, y) (the caller keeps nodes apart).
inline Graph2DNode* addUnselected(Graph2D& drawing, double x, double y, int32_t id = -1) {
  Graph2DNode* node = drawing.addNode(x, y, id);
  drawing.unselectAll();
  return node;
}

// Appends an unselected node without placing it (large drawings in tests).
inline Graph2DNode* appendUnplaced(Graph2D& drawing, int32_t id, double x, double y) {
  drawing.unselectedNodes.push_back(std::make_unique<Graph2DNode>(id, x, y));
  ++drawing.howManyUnselectedNodes;
  drawing.nextNodeId = std::max(drawing.nextNodeId, id + 1);
  return drawing.unselectedNodes.back().get();
}

// `nodes` nodes on a grid, `tries` random pairs joined (every other one at node 0 when
// `star`), then random nodes and up to three edges toggled into the selection.
inline Graph2D randomDrawing(uint32_t seed, int nodes, int tries, bool star = false) {
  std::mt19937 rng(seed);
  Graph2D drawing;
  std::vector<Graph2DNode*> all;
  for (int i = 0; i < nodes; ++i)
    all.push_back(addUnselected(drawing, 3.0 * (i % 7), 3.0 * (i / 7) + 0.25 * (i % 3)));
  for (int k = 0; k < tries; ++k) {
    Graph2DNode* a = star && k % 2 == 0 ? all[0] : all[rng() % all.size()];
    Graph2DNode* b = all[rng() % all.size()];
    if (a != b && !a->isJoinedTo(*b)) drawing.joinNodes(a, b);
  }
  for (int k = 0; k < nodes / 3; ++k) {
    const Graph2DNode* n = all[rng() % all.size()];
    drawing.toggleNodeAt(n->x, n->y);
  }
  for (int k = 0; k < 3 && !drawing.unselectedEdges.empty(); ++k) {
    const Graph2DEdge* e = drawing.unselectedEdges[rng() % drawing.unselectedEdges.size()].get();
    drawing.toggleEdgeAt((e->node1->x + e->node2->x) / 2, (e->node1->y + e->node2->y) / 2);
  }
  return drawing;
}

// The first broken invariant (if any), then "[unselected] [selected] [edges] [selected
// edges]" by id, edges as "a-b" in list order. With `geometry` every node also shows its
// exact position, radius and neighbours in the order of its edges, and every edge its corners.
inline std::string listing(const Graph2D& drawing, bool geometry = false) {
  std::ostringstream out;
  out << drawing.checkInvariants() << std::hexfloat;
  for (const auto* list : {&drawing.unselectedNodes, &drawing.selectedNodes}) {
    out << "[";
    for (const auto& n : *list) {
      out << (&n == &list->front() ? "" : " ") << n->id;
      if (!geometry) continue;
      out << "@" << n->x << "," << n->y << "r" << n->radius;
      for (const Graph2DEdge* e : n->edges) out << ":" << e->otherEnd(n.get())->id;
    }
    out << "] ";
  }
  for (const auto* list : {&drawing.unselectedEdges, &drawing.selectedEdges}) {
    out << "[";
    for (const auto& e : *list) {
      out << (&e == &list->front() ? "" : " ") << e->node1->id << "-" << e->node2->id;
      for (int k = 0; geometry && k < 4; ++k) out << "," << e->cornerX[k] << "," << e->cornerY[k];
    }
    out << (list == &drawing.selectedEdges ? "]" : "] ");
  }
  return out.str();
}

// Little-endian items in the order a test spells them.
class Bytes {
 public:
  Bytes& little(uint64_t v, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& u16(uint16_t v) { return little(v, 2); }
  Bytes& u32(uint32_t v) { return little(v, 4); }
  Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  Bytes& f64(double v) { return little(std::bit_cast<uint64_t>(v), 8); }
  Bytes& text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  // The four counts that open a file, without selected objects.
  Bytes& header(int32_t nodes, int32_t edges) { return i32(nodes).i32(0).i32(edges).i32(0); }
  // A class seen for the first time: 0xFFFF, schema 0, name length, name.
  Bytes& newClass(const std::string& name) {
    return u16(0xFFFF).u16(0).u16(static_cast<uint16_t>(name.size())).text(name);
  }
  std::vector<uint8_t> bytes;
};

// A fresh folder under the system's temporary folder, removed with the object.
struct TempFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("hc-editor-test-" + std::to_string(std::random_device{}()));
  std::error_code ignored;
  TempFolder() { std::filesystem::create_directories(path); }
  ~TempFolder() { std::filesystem::remove_all(path, ignored); }
  std::string file(const std::string& name) const { return (path / name).string(); }
};

}  // namespace hc::editor_test
