// The bypass step (see bypass_step.h).
#include "certcheck/bypass_step.h"

#include <array>

#include "certcheck/certificate_text.h"

namespace hc::certcheck {

std::string checkBypassStep(const BranchState& state, std::span<const std::string_view> tokens,
                            std::vector<SubGraph>& graphs) {
  const auto n = static_cast<size_t>(state.nodes());
  std::vector<int32_t> side(n, 0), local(n, -1);  // side k + 1, and the place in its list
  std::vector<std::vector<int32_t>> sides;
  for (size_t from = 0; from <= tokens.size(); ++from) {
    std::vector<int32_t>& nodes = sides.emplace_back();
    for (; from < tokens.size() && tokens[from] != "/"; ++from) {
      const auto v = static_cast<int32_t>(parseNumber(tokens[from], 0, state.nodes() - 1, "node"));
      if (side[static_cast<size_t>(v)] != 0)
        return "node " + std::to_string(v) + " is listed twice or in another side";
      side[static_cast<size_t>(v)] = static_cast<int32_t>(sides.size());
      local[static_cast<size_t>(v)] = static_cast<int32_t>(nodes.size());
      nodes.push_back(v);
    }
  }
  graphs.clear();
  std::vector<Edge> replaced;
  for (size_t k = 0; k < sides.size(); ++k) {
    const std::string which = "side " + std::to_string(k + 1);
    const std::vector<int32_t>& nodes = sides[k];
    if (nodes.size() < 2) return which + " holds fewer than 2 nodes";
    std::vector<Edge> inside;
    std::vector<std::array<int32_t, 2>> crossing;  // (inner end's place, outer end)
    for (int32_t v : nodes)
      for (const BranchState::Incidence& i : state.incident(v)) {
        if (state.status(i.edge) == kDeleted) continue;
        const int32_t s = side[static_cast<size_t>(i.node)];
        if (s == static_cast<int32_t>(k + 1)) {
          inside.emplace_back(local[static_cast<size_t>(v)], local[static_cast<size_t>(i.node)]);
        } else if (s != 0) {
          return which + " is joined to side " + std::to_string(s) + " by edge " + std::to_string(v) + "-" +
                 std::to_string(i.node);
        } else {
          crossing.push_back({local[static_cast<size_t>(v)], i.node});
        }
      }
    if (crossing.size() != 4)
      return which + ": " + std::to_string(crossing.size()) + " edges leave it, not 4";
    const auto extra = static_cast<int32_t>(nodes.size());
    static constexpr std::array<std::array<size_t, 2>, 5> kPairs{{{0, 2}, {0, 3}, {1, 2}, {1, 3}, {0, 1}}};
    for (const auto& [p, q] : kPairs) {
      std::vector<Edge> edges = inside;
      edges.emplace_back(crossing[p][0], extra);
      edges.emplace_back(crossing[q][0], extra);
      if (p == 0 && q == 1) {  // the two pairings that keep 1 and 2 apart
        edges.emplace_back(crossing[2][0], extra + 1);
        edges.emplace_back(crossing[3][0], extra + 1);
      }
      graphs.push_back(SubGraph{extra + 1 + (p == 0 && q == 1), canonicalEdges(edges)});
    }
    replaced.emplace_back(crossing[0][1], crossing[1][1]);
    replaced.emplace_back(crossing[2][1], crossing[3][1]);
  }
  int32_t next = 0;
  for (size_t v = 0; v < n; ++v) local[v] = side[v] == 0 ? next++ : -1;
  if (next < 3) return "the replaced graph would have fewer than 3 nodes (" + std::to_string(next) + ")";
  for (auto& [u, v] : replaced) u = local[static_cast<size_t>(u)], v = local[static_cast<size_t>(v)];
  for (size_t e = 0; e < state.edges().size(); ++e) {
    const auto [u, v] = state.edges()[e];
    if (state.status(static_cast<int32_t>(e)) != kDeleted && side[static_cast<size_t>(u)] == 0 &&
        side[static_cast<size_t>(v)] == 0)
      replaced.emplace_back(local[static_cast<size_t>(u)], local[static_cast<size_t>(v)]);
  }
  graphs.push_back(SubGraph{next, canonicalEdges(replaced)});
  return {};
}

}  // namespace hc::certcheck
