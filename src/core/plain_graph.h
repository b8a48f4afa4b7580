// The plain form of a graph: a node count, the edges once each, the forced edges among them
// and (OBJ files) the coordinates. Every file format's reader hands its graph over in this
// form, and the generators build a file's graph from it; io's helpers for readers are in
// io/plain_graph.h.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/graph.h"

namespace hc {

using NodePair = std::pair<int32_t, int32_t>;

struct PlainGraph {
  int32_t nodes = 0;
  std::vector<NodePair> edges;           // 0-based, each edge once, in input order
  std::vector<NodePair> forced;          // edges that every Hamiltonian cycle must use
  std::vector<Point3> coordinates = {};  // one per node for OBJ files, else empty
};

// The finished solver graph of `plain` (ends must be node ids): graph type `graphType`, the
// edges joined in order, the forced edges set, the coordinates kept. Does not reseed.
std::unique_ptr<Graph> graphOfPlain(const PlainGraph& plain, int16_t graphType);

}  // namespace hc
