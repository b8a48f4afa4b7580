// The frontier leaf (see frontier_check.h). A state is one byte per frontier slot (slots in
// the order the nodes joined): 0 no chosen edge, 1 two chosen edges, 2 + j one chosen edge
// with the other end of its path in slot j. A path may close into a cycle only when that
// cycle is Hamiltonian, and then the leaf fails.
#include "certcheck/frontier_check.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace hc::certcheck {

namespace {

int degreeOf(unsigned char slot) {
  return slot == 0 ? 0 : slot == 1 ? 2 : 1;
}

}  // namespace

std::string checkFrontierLeaf(const BranchState& state, std::span<const int32_t> order) {
  const int32_t n = state.nodes();
  if (static_cast<int64_t>(order.size()) != n)
    return "the order lists " + std::to_string(order.size()) + " nodes, not all " + std::to_string(n);
  std::vector<int32_t> position(static_cast<size_t>(n)), leaves(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) position[static_cast<size_t>(order[static_cast<size_t>(i)])] = i;
  int64_t forcedLeft = 0;
  for (int32_t v = 0; v < n; ++v) {
    int32_t last = position[static_cast<size_t>(v)];
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.status(i.edge) != kDeleted) last = std::max(last, position[static_cast<size_t>(i.node)]);
    leaves[static_cast<size_t>(v)] = last;
  }
  for (size_t e = 0; e < state.edges().size(); ++e)
    forcedLeft += state.status(static_cast<int32_t>(e)) == kForced;

  std::vector<int32_t> slotNode, slotOf(static_cast<size_t>(n), -1);
  std::unordered_set<std::string> states{std::string()}, next;
  std::vector<std::pair<int32_t, int32_t>> earlier;  // (position, edge) of the new node's edges back
  for (int32_t i = 0; i < n; ++i) {
    const int32_t v = order[static_cast<size_t>(i)];
    slotOf[static_cast<size_t>(v)] = static_cast<int32_t>(slotNode.size());
    slotNode.push_back(v);
    if (slotNode.size() > kMaxFrontierWidth)
      return "the frontier grows beyond " + std::to_string(kMaxFrontierWidth) + " nodes";
    next.clear();
    for (const std::string& s : states) next.insert(s + '\0');
    states.swap(next);

    earlier.clear();
    for (const BranchState::Incidence& inc : state.incident(v))
      if (state.status(inc.edge) != kDeleted && position[static_cast<size_t>(inc.node)] < i)
        earlier.emplace_back(position[static_cast<size_t>(inc.node)], inc.edge);
    std::sort(earlier.begin(), earlier.end());
    for (auto [where, edge] : earlier) {
      const bool forced = state.status(edge) == kForced;
      forcedLeft -= forced;
      const auto su = static_cast<size_t>(slotOf[static_cast<size_t>(order[static_cast<size_t>(where)])]);
      const auto sv = static_cast<size_t>(slotOf[static_cast<size_t>(v)]);
      next.clear();
      for (const std::string& s : states) {
        if (!forced) next.insert(s);
        const auto cu = static_cast<unsigned char>(s[su]), cv = static_cast<unsigned char>(s[sv]);
        const int du = degreeOf(cu), dv = degreeOf(cv);
        if (du == 2 || dv == 2) continue;
        if (du == 1 && dv == 1 && static_cast<size_t>(cu - 2) == sv) {
          // Closing a path: a Hamiltonian cycle when every node is in and nothing is left.
          bool whole = i == n - 1 && forcedLeft == 0;
          for (size_t k = 0; k < s.size() && whole; ++k) whole = k == su || k == sv || s[k] == 1;
          if (whole) return "the frontier finds a Hamiltonian cycle of the branch";
          continue;
        }
        std::string t = s;
        const size_t a = du == 0 ? su : cu - 2u, b = dv == 0 ? sv : cv - 2u;
        if (du == 1) t[su] = 1;
        if (dv == 1) t[sv] = 1;
        t[a] = static_cast<char>(2 + b);
        t[b] = static_cast<char>(2 + a);
        next.insert(std::move(t));
      }
      states.swap(next);
      if (states.size() > kMaxFrontierStates)
        return "more than " + std::to_string(kMaxFrontierStates) + " frontier states";
    }

    // Nodes whose last edge has been seen leave the frontier, with two chosen edges.
    for (size_t k = slotNode.size(); k-- > 0;) {
      if (leaves[static_cast<size_t>(slotNode[k])] != i) continue;
      next.clear();
      for (const std::string& s : states) {
        if (s[k] != 1) continue;
        std::string t = s.substr(0, k) + s.substr(k + 1);
        for (char& c : t)
          if (static_cast<unsigned char>(c) > 2 + k) --c;
        next.insert(std::move(t));
      }
      states.swap(next);
      slotOf[static_cast<size_t>(slotNode[k])] = -1;
      slotNode.erase(slotNode.begin() + static_cast<std::ptrdiff_t>(k));
      for (size_t j = k; j < slotNode.size(); ++j)
        slotOf[static_cast<size_t>(slotNode[j])] = static_cast<int32_t>(j);
    }
    if (states.empty()) return {};
  }
  return states.empty() ? "" : "a frontier state survives the last node";
}

}  // namespace hc::certcheck
