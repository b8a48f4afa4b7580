// The frontier leaf: given an order of all nodes, the checker takes the nodes one by one
// and, for every way of choosing the edges seen so far (all forced ones, no deleted one),
// keeps only what matters for the rest: on the frontier (nodes with an edge still to come)
// each node's number of chosen edges and, for the ends of a chosen path, the other end.
// Partial choices that agree there are merged. Since every Hamiltonian cycle of the branch
// is such a choice, the branch has none when no choice survives the last node.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "certcheck/branch_state.h"

namespace hc::certcheck {

// Limits that keep a hostile certificate from exhausting the machine.
inline constexpr size_t kMaxFrontierWidth = 250;
inline constexpr size_t kMaxFrontierStates = size_t{1} << 22;

// "" when no choice survives `order` (all nodes, each once), else why not.
std::string checkFrontierLeaf(const BranchState& state, std::span<const int32_t> order);

}  // namespace hc::certcheck
