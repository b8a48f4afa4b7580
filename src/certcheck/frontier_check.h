// The frontier leaf: given an order of all nodes, the checker takes the nodes one by one
// and, for every way of choosing the edges seen so far (all forced ones, no deleted one),
// keeps only what matters for the rest: on the frontier (nodes with an edge still to come)
// each node's number of chosen edges and, for the ends of a chosen path, the other end.
// Partial choices that agree there are merged. Since every Hamiltonian cycle of the branch
// is such a choice, the branch has none when no choice survives the last node.
//
// Its cost is bounded before and while it runs: the order's widest frontier is measured
// first, and the states kept at once and handled in all are counted.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "certcheck/branch_state.h"

namespace hc::certcheck {

// Limits that keep a hostile certificate from exhausting the machine: the writers' orders
// stay well within them (their frontier search takes at most 14 nodes at once). At the
// limits a leaf takes a few seconds and a few hundred MB.
inline constexpr size_t kMaxFrontierWidth = 24;
inline constexpr size_t kMaxFrontierStates = size_t{1} << 22;
inline constexpr int64_t kMaxFrontierWork = int64_t{1} << 26;  // states handled over all edges

// "" when no choice survives `order` (all nodes, each once), else why not. Adds the states
// it handled to `work`.
std::string checkFrontierLeaf(const BranchState& state, std::span<const int32_t> order, int64_t& work);

}  // namespace hc::certcheck
