#include "core/edge_snapshot.h"

#include <algorithm>

namespace hc {

EdgeSnapshot::EdgeSnapshot(const Graph& graph) {
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  offsets_.assign(static_cast<size_t>(n) + 1, 0);
  for (int32_t v = 0; v < n; ++v)
    offsets_[static_cast<size_t>(v) + 1] = offsets_[static_cast<size_t>(v)] + graph.node(v).degree;
  neighbors_.resize(static_cast<size_t>(offsets_.back()));
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = graph.node(v);
    int32_t* out = neighbors_.data() + offsets_[static_cast<size_t>(v)];
    std::copy(node.neighborArray, node.neighborArray + node.degree, out);
    std::sort(out, out + node.degree);
  }
}

std::span<const int32_t> EdgeSnapshot::neighborsOf(int32_t v) const {
  if (v < 0 || v >= nodes()) return {};
  const auto begin = static_cast<size_t>(offsets_[static_cast<size_t>(v)]);
  const auto end = static_cast<size_t>(offsets_[static_cast<size_t>(v) + 1]);
  return std::span<const int32_t>(neighbors_.data() + begin, end - begin);
}

bool EdgeSnapshot::contains(int32_t a, int32_t b) const {
  const std::span<const int32_t> list = neighborsOf(a);
  return std::binary_search(list.begin(), list.end(), b);
}

}  // namespace hc
