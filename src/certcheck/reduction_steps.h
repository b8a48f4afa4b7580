// The `piece` step: node sets that every Hamiltonian cycle of the branch passes in one
// piece, each contracted to one node, and one sub-proof on the contracted graph. A piece is
// named by an independent set I whose edges left reach a set N of |I| + 1 nodes: a cycle
// leaves each node of I along two edges into N, so its edges at I make node-disjoint paths
// N I N ... I N, each with one N more than I, and with |N| = |I| + 1 there is just one,
// through all of I and N (a cycle inside the piece would need it to be every node).
// Contracting a piece of a cycle keeps a Hamiltonian cycle while at least three nodes are
// left. The pieces of a step are disjoint, and each stays a piece when the others are
// contracted (I's edges reach only its own N). A set that at most three edges left leave is
// a piece as it stands (a cycle crosses that cut just twice), named by all its nodes.
//
// The `bypass` step: sides S (at least 2 nodes) of 4-edge cuts that a Hamiltonian cycle can
// only pass as two plain edges would. The cut edges are ordered by their inner end's place
// in the list, then by outer end (b1..b4). The step claims that a cycle uses edges 1 and 2,
// or 3 and 4, or all four with S covered by a path from edge 1 to edge 2 and one from edge 3
// to edge 4; then replacing S by edges b1-b2 and b3-b4 keeps every Hamiltonian cycle. Five
// sub-proofs per side show it, on S's edges left (S's nodes numbered by their place in the
// list) and more nodes: node |S| joined to the inner ends of cut edges 1 and 3, 1 and 4, 2
// and 3, 2 and 4 (no Hamiltonian path of S between them), then node |S| joined to those of
// 1 and 2 and node |S| + 1 to those of 3 and 4 (no two paths covering S that pair 1 with 3
// or 4). Sides are disjoint and not adjacent, so each stays a side of its cut when the
// others are replaced. A last sub-proof is on the replaced graph: the nodes in no side by
// ascending id, their edges left and the new edges (a loop dropped); at least 3 nodes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "certcheck/branch_state.h"

namespace hc::certcheck {

// `piece I... [/ I... ...]`: checks each I (nodes of the branch, each listed once in the
// step) and builds the contracted graph: the nodes in no piece by ascending id, then one
// node per piece in listed order; the edges left among the former, and each one's edges
// left to a piece's N as an edge to the piece's node. Returns "" when the step holds.
std::string checkPieceStep(const BranchState& state, std::span<const std::string_view> tokens,
                           int32_t& contractedNodes, std::vector<Edge>& contractedEdges);

struct SubGraph {
  int32_t nodes = 0;
  std::vector<Edge> edges;  // canonical
};

// `bypass S... [/ S... ...]`: checks the sides and gives the graphs of the sub-proofs in
// their order (five per side, then the replaced graph). Returns "" when the step holds.
std::string checkBypassStep(const BranchState& state, std::span<const std::string_view> tokens,
                            std::vector<SubGraph>& graphs);

}  // namespace hc::certcheck
