// The `piece` step: node sets that every Hamiltonian cycle of the branch passes in one
// piece, each contracted to one node, after which one sub-proof follows on the contracted
// graph. A piece is named by an independent set I: with N the nodes I's edges left reach,
// |N| = |I| + 1 shows it. A Hamiltonian cycle leaves each node of I along two edges into N,
// so its edges at I make paths N I N ... I N, node-disjoint, each one N more than I: with
// |N| = |I| + 1 there is just one, through all of I and N, and the cycle passes I and N in
// that one piece (a cycle inside the piece alone would need the piece to be every node).
// Contracting a piece of a cycle to one node leaves a Hamiltonian cycle of the contracted
// graph as long as it has at least three nodes. Pieces of one step are disjoint; each
// stays a piece when the others are contracted (I's edges reach only its own N). A set that
// at most three edges left leave is a piece as it stands (a cycle crosses that cut just
// twice), named by all its nodes.
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

}  // namespace hc::certcheck
