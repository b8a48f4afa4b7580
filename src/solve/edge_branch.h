// A branch of a graph: edges decided before a solve, each forced (in every Hamiltonian cycle
// looked for) or deleted (in none), in the order they were decided. A part of a split
// (solve/cube_split.h) is such a branch; solve takes one in SolveOptions::branch and decides
// only the cycles it allows, and its certificate is then the proof of that branch, as a
// `split` step of a larger certificate reaches it.
//
// The same decisions are applied in the same order to the solver's graph and to the
// certificate checker's branch state, so the proof written for a branch is read by the
// checker in exactly the branch it was written for.
#pragma once

#include <cstdint>
#include <span>

#include "certcheck/branch_state.h"
#include "core/graph.h"

namespace hc {

struct BranchEdge {
  int32_t u = 0;
  int32_t v = 0;
  bool forced = false;  // else deleted
  friend bool operator==(const BranchEdge&, const BranchEdge&) = default;
};

// Forces or cuts each edge in turn through the incremental model (with its propagation),
// until the graph is decided: forcing an edge the graph no longer has, or deleting a forced
// one, leaves it non-Hamiltonian (isHamiltonian 0). Returns the graph's verdict afterwards.
HamiltonicityState applyBranch(Graph& graph, std::span<const BranchEdge> branch);

// Decides each edge in the checker's branch state, as the checker does at the splits on the
// way to this branch. Edges the state does not know are passed over.
void applyBranch(certcheck::BranchState& state, std::span<const BranchEdge> branch);

}  // namespace hc
