// The piece and bypass steps (see reduction_steps.h).
#include "certcheck/reduction_steps.h"

#include <array>

#include "certcheck/certificate_text.h"

namespace hc::certcheck {

namespace {

// The nodes of tokens[from..] up to the next "/" (`from` moves onto it) into `group`, each
// marked `mark` in `owner`, where it must have been 0; "" or why not.
std::string parseGroup(const BranchState& state, std::span<const std::string_view> tokens, size_t& from,
                       std::vector<int32_t>& owner, int32_t mark, std::vector<int32_t>& group,
                       const char* noun) {
  for (; from < tokens.size() && tokens[from] != "/"; ++from) {
    const auto v = static_cast<int32_t>(parseNumber(tokens[from], 0, state.nodes() - 1, "node"));
    if (owner[static_cast<size_t>(v)] != 0)
      return "node " + std::to_string(v) + " is listed twice or in another " + noun;
    owner[static_cast<size_t>(v)] = mark;
    group.push_back(v);
  }
  return {};
}

}  // namespace

std::string checkPieceStep(const BranchState& state, std::span<const std::string_view> tokens,
                           int32_t& contractedNodes, std::vector<Edge>& contractedEdges) {
  const auto n = static_cast<size_t>(state.nodes());
  // owner[v]: 0 outside every piece; 2k + 1 in piece k's I, 2k + 2 in its N.
  std::vector<int32_t> owner(n, 0);
  int32_t pieces = 0;
  int64_t inPieces = 0;
  std::vector<int32_t> set;
  for (size_t from = 0; from <= tokens.size(); ++from) {
    const std::string which = "piece " + std::to_string(pieces + 1);
    if (from == tokens.size() || tokens[from] == "/") return which + " names no node";
    set.clear();
    if (std::string problem = parseGroup(state, tokens, from, owner, 2 * pieces + 1, set, "piece");
        !problem.empty())
      return which + ": " + problem;
    const auto independent = static_cast<int64_t>(set.size());
    int64_t reached = 0, leaving = 0;
    for (int32_t v : set)
      for (const BranchState::Incidence& i : state.incident(v))
        leaving += state.status(i.edge) != kDeleted && owner[static_cast<size_t>(i.node)] != 2 * pieces + 1;
    if (leaving <= 3) {  // the set itself is the piece: a cycle crosses its cut just twice
      for (int32_t v : set) owner[static_cast<size_t>(v)] = 2 * pieces + 2;
      inPieces += independent;
      ++pieces;
      continue;
    }
    for (int32_t v : set) {
      for (const BranchState::Incidence& i : state.incident(v)) {
        if (state.status(i.edge) == kDeleted) continue;
        int32_t& o = owner[static_cast<size_t>(i.node)];
        if (o == 2 * pieces + 1)
          return which + ": edge " + std::to_string(v) + "-" + std::to_string(i.node) +
                 " joins two nodes of I";
        if (o == 2 * pieces + 2) continue;
        if (o != 0) return which + ": node " + std::to_string(i.node) + " belongs to another piece";
        o = 2 * pieces + 2;
        ++reached;
      }
    }
    if (reached != independent + 1)
      return which + ": its " + std::to_string(independent) + " nodes reach " + std::to_string(reached) +
             ", not " + std::to_string(independent + 1);
    inPieces += independent + reached;
    ++pieces;
  }
  const int64_t left = static_cast<int64_t>(n) - inPieces + pieces;
  if (left < 3) return "the contracted graph would have fewer than 3 nodes (" + std::to_string(left) + ")";
  std::vector<int32_t> local(n);
  int32_t next = 0;
  for (size_t v = 0; v < n; ++v)
    if (owner[v] == 0) local[v] = next++;
  for (size_t v = 0; v < n; ++v)
    if (owner[v] != 0) local[v] = next + (owner[v] - 1) / 2;
  contractedNodes = static_cast<int32_t>(left);
  contractedEdges.clear();
  // The edges of a piece (every edge at an I node is one) become loops, which are dropped.
  for (size_t e = 0; e < state.edges().size(); ++e)
    if (state.status(static_cast<int32_t>(e)) != kDeleted)
      contractedEdges.emplace_back(local[static_cast<size_t>(state.edges()[e].first)],
                                   local[static_cast<size_t>(state.edges()[e].second)]);
  contractedEdges = canonicalEdges(contractedEdges);
  return {};
}

std::string checkBypassStep(const BranchState& state, std::span<const std::string_view> tokens,
                            std::vector<SubGraph>& graphs) {
  const auto n = static_cast<size_t>(state.nodes());
  std::vector<int32_t> side(n, 0), local(n, -1);  // side k + 1, and the place in its list
  std::vector<std::vector<int32_t>> sides;
  for (size_t from = 0; from <= tokens.size(); ++from) {
    std::vector<int32_t>& nodes = sides.emplace_back();
    if (std::string problem =
            parseGroup(state, tokens, from, side, static_cast<int32_t>(sides.size()), nodes, "side");
        !problem.empty())
      return problem;
    for (size_t k = 0; k < nodes.size(); ++k) local[static_cast<size_t>(nodes[k])] = static_cast<int32_t>(k);
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
