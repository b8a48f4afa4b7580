// The 3-edge cuts of a 3-edge-connected graph that leave a small side: the fragments a gadget
// or a glued piece forms, joined to the rest by three edges.
//
// One depth-first tree. For a node v let cover(v) be the back edges from v's subtree to
// above v, c(v) their number; a set of three edges is a cut exactly when the tree edges in it
// cut the tree into pieces whose union S has no other edge leaving it. With the tree edge
// into v written t_v:
//  - t_v and two back edges: c(v) = 2, S = subtree(v);
//  - t_v, t_w (w below v) and one back edge: S = subtree(v) - subtree(w), either with
//    cover(w) inside cover(v) and one more edge (every edge of cover(w) lands above v, and
//    c(v) = c(w) + 1) or the other way round (every edge of cover(v) starts in w's subtree,
//    that is below the nearest common ancestor M(v) of their starts, and c(w) = c(v) + 1);
//    both are answered exactly by one sweep that keeps, per value of c, the nodes of the
//    current root path that have it;
//  - three tree edges: the two shapes (a chain u, w1, w2 with S = (subtree(u) - subtree(w1))
//    + subtree(w2), or u with two separate subtrees cut out) are found by XOR labels: each
//    back edge gets a random 64-bit label, cover(v) the XOR of its edges' labels, and the
//    three covers of such a cut XOR to zero. Only nodes u within a short window (16) of the
//    landing points of the lower piece are tried, so this part costs O(n) lookups; such a
//    cut with longer paths inside its small side, or whose small side holds the root, can
//    be missed.
// Every candidate is checked by scanning its smaller side, so the result never holds a
// false cut; what the bounded part misses is only a missed simplification.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/stop_token.h"
#include "decompose/part_graph.h"

namespace hc {

struct ThreeEdgeCut {
  std::array<int32_t, 3> edges{};  // edge ids, ascending
  std::vector<int32_t> side;       // the nodes of the smaller side (at least 2)
};

// The 3-edge cuts of `graph` (3-edge-connected, for example 3-connected) whose smaller side
// has 2 to maxSide nodes, each once. Empty when the stop token ends the search.
std::vector<ThreeEdgeCut> findThreeEdgeCuts(const PartGraph& graph, int32_t maxSide, const StopToken& stop);

}  // namespace hc
