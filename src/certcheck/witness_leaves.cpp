// The witness leaves (see witness_leaves.h). A Hamiltonian cycle of the branch uses only
// edges the branch has left and every forced edge; each check below rules such a cycle out.
#include "certcheck/witness_leaves.h"

#include <algorithm>

namespace hc::certcheck {

namespace {

std::string count(int64_t k, const char* noun) {
  return std::to_string(k) + " " + noun + (k == 1 ? "" : "s");
}

bool inSet(BranchState& state, int32_t v, uint32_t stamp) {
  return state.marks()[static_cast<size_t>(v)] == stamp;
}

std::string properSubset(const BranchState& state, std::span<const int32_t> set) {
  if (set.empty() || static_cast<int32_t>(set.size()) >= state.nodes())
    return "the node set must hold at least one node and not all " + std::to_string(state.nodes());
  return {};
}

// The edges the branch has left between the set and the other nodes: (inside, outside, edge).
struct Crossing {
  int32_t inside, outside, edge;
};
std::vector<Crossing> crossingEdges(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  std::vector<Crossing> out;
  for (int32_t v : set)
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.status(i.edge) != kDeleted && !inSet(state, i.node, stamp))
        out.push_back({v, i.node, i.edge});
  return out;
}

// An edge left that joins two nodes of the set, as a reason ("" when the set is independent).
std::string edgeWithin(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  for (int32_t v : set)
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.status(i.edge) != kDeleted && inSet(state, i.node, stamp))
        return "edge " + std::to_string(v) + "-" + std::to_string(i.node) + " joins two nodes of the set";
  return {};
}

}  // namespace

std::string checkNodeLeaf(const BranchState& state, int32_t v, bool forced) {
  const int32_t k = forced ? state.forcedDegree(v) : state.remainingDegree(v);
  if (forced ? k > 2 : k < 2) return {};
  return "node " + std::to_string(v) + " has " +
         (forced ? count(k, "forced edge") : count(k, "edge") + " left");
}

std::string checkCutLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  if (std::string problem = properSubset(state, set); !problem.empty()) return problem;
  const size_t k = crossingEdges(state, set, stamp).size();
  return k < 2 ? "" : count(static_cast<int64_t>(k), "edge") + " leave the node set";
}

std::string checkParityLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  if (std::string problem = properSubset(state, set); !problem.empty()) return problem;
  const std::vector<Crossing> crossing = crossingEdges(state, set, stamp);
  for (const Crossing& c : crossing)
    if (state.status(c.edge) != kForced)
      return "edge " + std::to_string(c.inside) + "-" + std::to_string(c.outside) +
             " leaves the node set and is not forced";
  return crossing.size() % 2 == 1
             ? ""
             : "an even number of forced edges (" + std::to_string(crossing.size()) + ") leave the node set";
}

std::string checkSeparatorLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  if (set.empty()) return "the separator must hold at least one node";
  std::vector<char> seen(static_cast<size_t>(state.nodes()), 0);
  std::vector<int32_t> stack;
  int64_t components = 0;
  for (int32_t start = 0; start < state.nodes(); ++start) {
    if (seen[static_cast<size_t>(start)] || inSet(state, start, stamp)) continue;
    ++components;
    seen[static_cast<size_t>(start)] = 1;
    stack.push_back(start);
    while (!stack.empty()) {
      const int32_t v = stack.back();
      stack.pop_back();
      for (const BranchState::Incidence& i : state.incident(v))
        if (state.status(i.edge) != kDeleted && !seen[static_cast<size_t>(i.node)] &&
            !inSet(state, i.node, stamp)) {
          seen[static_cast<size_t>(i.node)] = 1;
          stack.push_back(i.node);
        }
    }
  }
  if (components > static_cast<int64_t>(set.size())) return {};
  return "removing " + count(static_cast<int64_t>(set.size()), "node") + " leaves " +
         count(components, "component");
}

std::string checkIndependentLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  if (2 * static_cast<int64_t>(set.size()) <= state.nodes())
    return count(static_cast<int64_t>(set.size()), "node") + " are not more than half of " +
           std::to_string(state.nodes());
  return edgeWithin(state, set, stamp);
}

std::string applyAlternationStep(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  if (2 * static_cast<int64_t>(set.size()) != state.nodes())
    return count(static_cast<int64_t>(set.size()), "node") + " are not half of " +
           std::to_string(state.nodes());
  if (std::string problem = edgeWithin(state, set, stamp); !problem.empty()) return problem;
  // Deciding a forced edge deleted is the contradiction; propagation runs after each one.
  for (size_t e = 0; e < state.edges().size() && state.contradiction().empty(); ++e) {
    auto [u, v] = state.edges()[e];
    const auto edge = static_cast<int32_t>(e);
    if (state.status(edge) != kDeleted && !inSet(state, u, stamp) && !inSet(state, v, stamp))
      state.decide(edge, kDeleted);
  }
  return {};
}

std::string checkBipartiteLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp) {
  if (2 * static_cast<int64_t>(set.size()) == state.nodes()) return "the two sides have the same size";
  for (size_t e = 0; e < state.edges().size(); ++e) {
    auto [u, v] = state.edges()[e];
    if (state.status(static_cast<int32_t>(e)) != kDeleted && inSet(state, u, stamp) == inSet(state, v, stamp))
      return "edge " + std::to_string(u) + "-" + std::to_string(v) + " lies within one side";
  }
  return {};
}

std::string checkFragmentCut(BranchState& state, std::span<const int32_t> set, uint32_t stamp,
                             std::array<int32_t, 3>& inner) {
  if (set.size() < 2 || static_cast<int64_t>(set.size()) + 2 > state.nodes())
    return "a fragment holds at least 2 nodes and leaves at least 2 outside";
  std::vector<Crossing> crossing = crossingEdges(state, set, stamp);
  if (crossing.size() != 3)
    return count(static_cast<int64_t>(crossing.size()), "edge") + " leave the node set, not 3";
  // crossingEdges lists them by the inner end's position, then by the outer end.
  for (size_t k = 0; k < 3; ++k) inner[k] = crossing[k].inside;
  return {};
}

std::vector<Edge> fragmentGraph(const BranchState& state, std::span<const int32_t> set, int32_t a,
                                int32_t b) {
  std::vector<int32_t> local(static_cast<size_t>(state.nodes()), -1);
  for (size_t k = 0; k < set.size(); ++k) local[static_cast<size_t>(set[k])] = static_cast<int32_t>(k);
  std::vector<Edge> edges;
  for (int32_t v : set)
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.status(i.edge) != kDeleted && local[static_cast<size_t>(i.node)] >= 0)
        edges.emplace_back(local[static_cast<size_t>(v)], local[static_cast<size_t>(i.node)]);
  const auto closing = static_cast<int32_t>(set.size());
  edges.emplace_back(local[static_cast<size_t>(a)], closing);
  edges.emplace_back(local[static_cast<size_t>(b)], closing);
  return canonicalEdges(edges);
}

}  // namespace hc::certcheck
