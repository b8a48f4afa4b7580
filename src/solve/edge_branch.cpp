#include "solve/edge_branch.h"

namespace hc {

HamiltonicityState applyBranch(Graph& graph, std::span<const BranchEdge> branch) {
  for (const BranchEdge& e : branch) {
    if (graph.isHamiltonian != kUndecided) break;
    const bool forcedNow = graph.node(e.u).isForcedNeighbor(e.v) || graph.node(e.v).isForcedNeighbor(e.u);
    if (!graph.isAdjacent(e.u, e.v)) {
      if (e.forced) graph.isHamiltonian = kNotHamiltonian;
    } else if (e.forced) {
      if (!forcedNow) graph.force(e.u, e.v);
    } else if (forcedNow) {
      graph.isHamiltonian = kNotHamiltonian;
    } else {
      graph.cut(e.u, e.v);
    }
  }
  return graph.isHamiltonian;
}

void applyBranch(certcheck::BranchState& state, std::span<const BranchEdge> branch) {
  for (const BranchEdge& e : branch)
    if (const int32_t edge = state.findEdge(e.u, e.v); edge >= 0)
      state.decide(edge, e.forced ? certcheck::kForced : certcheck::kDeleted);
}

}  // namespace hc
