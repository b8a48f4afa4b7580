#include "decompose/part_graph.h"

#include <algorithm>
#include <tuple>

namespace hc {

bool isHamiltonianCycleOfPart(const PartGraph& part, const std::vector<int32_t>& cycle) {
  const int32_t n = part.nodeCount;
  if (n < 3 || cycle.size() != static_cast<size_t>(n)) return false;
  std::vector<uint8_t> seen(static_cast<size_t>(n), 0);
  for (int32_t v : cycle) {
    if (v < 0 || v >= n || seen[static_cast<size_t>(v)]) return false;
    seen[static_cast<size_t>(v)] = 1;
  }
  std::vector<std::tuple<int32_t, int32_t, int32_t>> sorted;
  sorted.reserve(part.edges.size());
  for (size_t i = 0; i < part.edges.size(); ++i) {
    const PartEdge& e = part.edges[i];
    sorted.emplace_back(std::min(e.a, e.b), std::max(e.a, e.b), static_cast<int32_t>(i));
  }
  std::sort(sorted.begin(), sorted.end());
  std::vector<uint8_t> used(part.edges.size(), 0);
  for (size_t i = 0; i < cycle.size(); ++i) {
    const int32_t a = cycle[i];
    const int32_t b = cycle[(i + 1) % cycle.size()];
    auto it =
        std::lower_bound(sorted.begin(), sorted.end(), std::make_tuple(std::min(a, b), std::max(a, b), -1));
    if (it == sorted.end() || std::get<0>(*it) != std::min(a, b) || std::get<1>(*it) != std::max(a, b))
      return false;
    used[static_cast<size_t>(std::get<2>(*it))] = 1;
  }
  for (size_t i = 0; i < part.edges.size(); ++i)
    if (part.edges[i].forced && !used[i]) return false;
  return true;
}

SubdividedPart subdivideForcedEdges(const PartGraph& part) {
  SubdividedPart plain;
  plain.nodeCount = part.nodeCount;
  for (const PartEdge& e : part.edges) {
    if (e.forced) {
      plain.edges.emplace_back(e.a, plain.nodeCount);
      plain.edges.emplace_back(plain.nodeCount, e.b);
      ++plain.nodeCount;
    } else {
      plain.edges.emplace_back(e.a, e.b);
    }
  }
  return plain;
}

}  // namespace hc
