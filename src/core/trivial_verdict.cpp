#include "core/trivial_verdict.h"

#include <vector>

namespace hc {

Verdict trivialVerdict(int32_t nodes, std::span<const std::pair<int32_t, int32_t>> edges) {
  if (nodes < 3 || edges.size() < static_cast<size_t>(nodes)) return Verdict::kNonHamiltonian;
  // Degrees counted up to two: a byte per node.
  std::vector<uint8_t> degree(static_cast<size_t>(nodes), 0);
  auto count = [&](int32_t v) {
    if (v < 0 || v >= nodes) return;
    uint8_t& d = degree[static_cast<size_t>(v)];
    if (d < 2) ++d;
  };
  for (const auto& [a, b] : edges) {
    count(a);
    count(b);
  }
  for (uint8_t d : degree) {
    if (d < 2) return Verdict::kNonHamiltonian;
  }
  return Verdict::kUndecided;
}

Verdict trivialVerdict(const Graph& graph) {
  if (graph.howManyNodes < 3 || graph.howManyEdges < graph.howManyNodes) return Verdict::kNonHamiltonian;
  for (const Node& node : graph.nodes) {
    if (node.degree < 2) return Verdict::kNonHamiltonian;
  }
  return Verdict::kUndecided;
}

}  // namespace hc
