// Lists of cut sets found by the cut-set checks (2-edge, 2-vertex, 3-edge, 3-vertex
// cuts). The graph holds one optional list per kind; a check's caller installs a fresh list
// before the check and removes it afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hc {

struct CutRecord {
  int16_t kind = 1;        // 1 edge cut
  int16_t size = 0;        // number of edges (or nodes) in the cut
  int32_t itemsAdded = 0;  // slots filled so far
  int32_t nodes[3] = {-1, -1, -1};
  int32_t edges[3][2] = {{-1, -1}, {-1, -1}, {-1, -1}};
  double balanceRatio = 0.0;

  void addEdge(int32_t a, int32_t b) {
    if (itemsAdded < 3) {
      edges[itemsAdded][0] = a;
      edges[itemsAdded][1] = b;
    }
    ++itemsAdded;
  }
  void addNode(int32_t v) {
    if (itemsAdded < 3) nodes[itemsAdded] = v;
    ++itemsAdded;
  }
};

class CutList {
 public:
  int32_t count() const { return static_cast<int32_t>(records.size()); }
  void add(const CutRecord& record) { records.push_back(record); }
  void clear() { records.clear(); }

  std::vector<CutRecord> records;
};

}  // namespace hc
