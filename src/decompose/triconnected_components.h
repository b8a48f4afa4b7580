// The triconnected components of a biconnected graph, joined into its SPQR tree: every
// 2-node separator of the graph is either the two ends of a virtual edge (the edge a split
// adds on both sides to stand for the other one) or two non-adjacent nodes of a polygon.
//
// The split components come from the path search over a depth-first tree with ordered
// adjacency lists, in linear time: a stack of the edges seen so far and a stack of candidate
// separation pairs (with the highest node of the piece they would cut off) are kept while
// the search returns; a candidate whose piece turns out to be attached elsewhere is
// dropped, one that holds is split off at once, and a node left with two edges is cut off
// as a triangle. Afterwards bonds sharing a virtual edge with bonds, and polygons sharing
// one with polygons, are merged, which makes the tree unique.
//
// The result is checked before it is returned (checkSpqrTree: the edges are shared out
// exactly, the virtual edges form a tree, each node's skeletons form a subtree, each kind
// has its shape), so a fault in the search can cost a split but never a wrong one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/stop_token.h"
#include "decompose/part_graph.h"

namespace hc {

enum class SkeletonKind : uint8_t { kBond, kPolygon, kRigid };

struct SpqrNode {
  SkeletonKind kind = SkeletonKind::kRigid;
  std::vector<int32_t> edges;  // edge ids: below realEdgeCount the input's, above virtual
};

struct SpqrTree {
  int32_t realEdgeCount = 0;
  std::vector<int32_t> edgeA, edgeB;  // the ends of every edge id, real and virtual
  std::vector<SpqrNode> nodes;
  // For virtual edge id e, the two tree nodes holding it: twins[e - realEdgeCount].
  std::vector<std::array<int32_t, 2>> twins;
  bool isVirtual(int32_t e) const { return e >= realEdgeCount; }
};

enum class SpqrStatus : uint8_t { kBuilt, kNotBiconnected, kStopped, kFailed };

// Splits `graph` (at least 3 nodes, simple; forced flags are ignored) into its SPQR tree.
// NotBiconnected when it is disconnected or has a cut node; Failed when the result failed
// its check (a diagnostic line says why); in both, and with Stopped, `tree` is to be
// ignored.
SpqrStatus buildSpqrTree(const PartGraph& graph, const StopToken& stop, SpqrTree& tree);

// Empty when `tree` is a valid decomposition of a graph on nodeCount nodes whose edges are
// the tree's real edges; otherwise what is wrong.
std::string checkSpqrTree(int32_t nodeCount, const SpqrTree& tree);

}  // namespace hc
