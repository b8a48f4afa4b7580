// Helpers shared by the editor tests: building drawings at exact positions, spelling out
// expected .g bytes item by item, and temporary files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

inline std::vector<Graph2DNode*> allNodes(const Graph2D& drawing) {
  std::vector<Graph2DNode*> nodes;
  for (const auto& n : drawing.unselectedNodes) nodes.push_back(n.get());
  for (const auto& n : drawing.selectedNodes) nodes.push_back(n.get());
  return nodes;
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
  Bytes& f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return little(bits, 8);
  }
  Bytes& text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  // A class seen for the first time: 0xFFFF, schema 0, name length, name.
  Bytes& newClass(const std::string& name) { return u16(0xFFFF).u16(0).u16(static_cast<uint16_t>(name.size())).text(name); }
  std::vector<uint8_t> bytes;
};

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("hc-editor-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             std::to_string(counter++) + "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace hc::editor_test
