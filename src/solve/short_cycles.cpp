#include "solve/short_cycles.h"

#include <algorithm>

namespace hc {

namespace {

// Path extensions and sets allowed per edge of the problem.
constexpr int64_t kStepsPerEdge = 160;
constexpr int64_t kSetsPerEdge = 1;
// The stop token and the budget are read every this many steps.
constexpr int64_t kCheckEvery = 4096;

}  // namespace

ShortCycleLimits shortCycleLimitsFor(const SatEdgeProblem& problem) {
  ShortCycleLimits limits;
  const auto edges = static_cast<int64_t>(problem.edges.size());
  limits.steps = kStepsPerEdge * edges + kCheckEvery;
  limits.sets = kSetsPerEdge * edges;
  return limits;
}

std::vector<std::vector<int32_t>> shortCycleNodeSets(const SatEdgeProblem& problem,
                                                     const EdgeIncidence& incidence,
                                                     const ShortCycleLimits& limits, const StopToken& stop) {
  const int32_t n = problem.nodeCount;
  int32_t cap = std::min(limits.longest, n - 1);  // the longest length still listed
  if (cap < 3) return {};
  const auto size = static_cast<size_t>(cap) + 1;
  // Per number of path nodes k: the neighbour scans made at paths of k nodes (listing the
  // cycles of length L takes those of k <= L), and the cycles of length k met, their nodes
  // one after another.
  std::vector<int64_t> scans(size, 0);
  std::vector<int64_t> cycles(size, 0);
  std::vector<std::vector<int32_t>> byLength(size);
  // Drops the longest lengths while the lengths up to `cap` have cost more than the budget
  // (counts still growing: they only pass it more later).
  auto withinBudget = [&] {
    for (;;) {
      int64_t spent = 0, kept = 0;
      for (int32_t k = 1; k <= cap; ++k) {
        spent += scans[static_cast<size_t>(k)];
        kept += cycles[static_cast<size_t>(k)];
      }
      if (spent <= limits.steps && kept <= limits.sets) return true;
      std::vector<int32_t>().swap(byLength[static_cast<size_t>(cap)]);
      if (--cap < 3) return false;
    }
  };

  // The neighbours along edges that are not deleted, one list after another.
  std::vector<int64_t> first(static_cast<size_t>(n) + 1, 0);
  std::vector<int32_t> neighbours;
  neighbours.reserve(incidence.edges.size());
  for (int32_t v = 0; v < n; ++v) {
    for (int64_t k = incidence.start[static_cast<size_t>(v)]; k < incidence.start[static_cast<size_t>(v) + 1];
         ++k) {
      const int32_t e = incidence.edges[static_cast<size_t>(k)];
      if (problem.fix[static_cast<size_t>(e)] == EdgeFix::kDeleted) continue;
      const auto [a, b] = problem.edges[static_cast<size_t>(e)];
      neighbours.push_back(a == v ? b : a);
    }
    first[static_cast<size_t>(v) + 1] = static_cast<int64_t>(neighbours.size());
  }

  std::vector<uint8_t> onPath(static_cast<size_t>(n), 0);
  std::vector<int32_t> path(size);
  std::vector<int64_t> at(size);  // the next neighbour to scan at each path node
  int64_t sinceCheck = 0;
  for (int32_t s = 0; s < n; ++s) {
    // Each cycle once: from its smallest node, in the direction of its smaller neighbour there.
    path[0] = s;
    at[0] = first[static_cast<size_t>(s)];
    onPath[static_cast<size_t>(s)] = 1;
    int32_t depth = 1;
    while (depth > 0) {
      const int32_t v = path[static_cast<size_t>(depth) - 1];
      int64_t& next = at[static_cast<size_t>(depth) - 1];
      if (next == first[static_cast<size_t>(v) + 1]) {
        onPath[static_cast<size_t>(v)] = 0;
        --depth;
        continue;
      }
      const int32_t w = neighbours[static_cast<size_t>(next++)];
      if (depth <= cap) ++scans[static_cast<size_t>(depth)];
      if (++sinceCheck == kCheckEvery) {
        sinceCheck = 0;
        if (stop.stopRequested() || !withinBudget()) return {};
      }
      if (w == s) {
        if (depth >= 3 && depth <= cap && path[1] < v) {
          ++cycles[static_cast<size_t>(depth)];
          std::vector<int32_t>& nodes = byLength[static_cast<size_t>(depth)];
          nodes.insert(nodes.end(), path.begin(), path.begin() + depth);
        }
        continue;
      }
      if (w < s || onPath[static_cast<size_t>(w)] != 0 || depth >= cap) continue;
      path[static_cast<size_t>(depth)] = w;
      at[static_cast<size_t>(depth)] = first[static_cast<size_t>(w)];
      onPath[static_cast<size_t>(w)] = 1;
      ++depth;
    }
  }
  if (!withinBudget()) return {};

  std::vector<std::vector<int32_t>> sets;
  for (int32_t k = 3; k <= cap; ++k) {
    const std::vector<int32_t>& nodes = byLength[static_cast<size_t>(k)];
    for (size_t i = 0; i < nodes.size(); i += static_cast<size_t>(k)) {
      std::vector<int32_t> set(nodes.begin() + static_cast<std::ptrdiff_t>(i),
                               nodes.begin() + static_cast<std::ptrdiff_t>(i) + k);
      std::sort(set.begin(), set.end());
      sets.push_back(std::move(set));
    }
  }
  // Cycles on the same nodes (a 4-clique's three 4-cycles) make one clause.
  std::sort(sets.begin(), sets.end());
  sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
  return sets;
}

}  // namespace hc
