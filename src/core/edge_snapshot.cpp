#include "core/edge_snapshot.h"

#include <algorithm>

namespace hc {

EdgeSnapshot::EdgeSnapshot(const Graph& graph) {
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  offsets_.assign(static_cast<size_t>(n) + 1, 0);
  for (int32_t v = 0; v < n; ++v)
    offsets_[static_cast<size_t>(v) + 1] =
        offsets_[static_cast<size_t>(v)] + static_cast<uint32_t>(graph.node(v).degree);
  // Appended rather than zeroed and overwritten: a dense graph has millions of entries.
  neighbors_.reserve(offsets_.back());
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = graph.node(v);
    neighbors_.insert(neighbors_.end(), node.neighborArray, node.neighborArray + node.degree);
    // Graphs read from a file mostly list each node's neighbours in order already.
    int32_t* out = neighbors_.data() + offsets_[static_cast<size_t>(v)];
    if (!std::is_sorted(out, out + node.degree)) std::sort(out, out + node.degree);
  }
}

bool EdgeSnapshot::holdsEdgesOf(const Graph& graph) const {
  if (static_cast<size_t>(nodes()) != graph.nodes.size() || edges() != graph.howManyEdges) return false;
  for (int32_t v = 0; v < nodes(); ++v) {
    const Node& node = graph.node(v);
    const std::span<const int32_t> held = neighborsOf(v);
    if (held.size() != static_cast<size_t>(node.degree) ||
        !std::equal(held.begin(), held.end(), node.neighborArray))
      return false;
  }
  return true;
}

EdgeSnapshot::EdgeSnapshot(int32_t n, std::span<const std::pair<int32_t, int32_t>> edges) {
  n = n > 0 ? n : 0;
  auto valid = [n](const std::pair<int32_t, int32_t>& e) {
    return e.first >= 0 && e.first < n && e.second >= 0 && e.second < n;
  };
  offsets_.assign(static_cast<size_t>(n) + 1, 0);
  for (const auto& e : edges) {
    if (!valid(e)) continue;
    ++offsets_[static_cast<size_t>(e.first) + 1];
    ++offsets_[static_cast<size_t>(e.second) + 1];
  }
  for (size_t v = 1; v < offsets_.size(); ++v) offsets_[v] += offsets_[v - 1];
  neighbors_.resize(offsets_.back());
  std::vector<uint32_t> fill(offsets_.begin(), offsets_.end() - 1);
  for (const auto& e : edges) {
    if (!valid(e)) continue;
    neighbors_[fill[static_cast<size_t>(e.first)]++] = e.second;
    neighbors_[fill[static_cast<size_t>(e.second)]++] = e.first;
  }
  for (int32_t v = 0; v < n; ++v) {
    const auto from = neighbors_.begin() + offsets_[static_cast<size_t>(v)];
    const auto to = neighbors_.begin() + offsets_[static_cast<size_t>(v) + 1];
    if (!std::is_sorted(from, to)) std::sort(from, to);
  }
}

std::vector<std::pair<int32_t, int32_t>> EdgeSnapshot::edgeList() const {
  std::vector<std::pair<int32_t, int32_t>> edges;
  edges.reserve(static_cast<size_t>(this->edges()));
  for (int32_t v = 0; v < nodes(); ++v)
    for (int32_t w : neighborsOf(v))
      if (v < w) edges.emplace_back(v, w);
  return edges;
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
