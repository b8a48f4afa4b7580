#include "schc/hamiltonian_cycle.h"

#include <algorithm>

namespace hc {

AdjacencySnapshot takeAdjacencySnapshot(const Graph& graph) {
  AdjacencySnapshot snapshot;
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  snapshot.offsets.resize(static_cast<size_t>(n) + 1, 0);
  for (int32_t v = 0; v < n; ++v) {
    snapshot.offsets[static_cast<size_t>(v) + 1] = snapshot.offsets[static_cast<size_t>(v)] + graph.node(v).degree;
  }
  snapshot.targets.resize(static_cast<size_t>(snapshot.offsets.back()));
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = graph.node(v);
    auto begin = snapshot.targets.begin() + snapshot.offsets[static_cast<size_t>(v)];
    std::copy(node.neighborArray, node.neighborArray + node.degree, begin);
    std::sort(begin, begin + node.degree);
  }
  return snapshot;
}

std::vector<int32_t> hamiltonianCycleOrder(const Graph& graph) {
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  std::vector<int32_t> cycle;
  if (n < 3) return cycle;
  const Node& start = graph.node(0);
  if (start.uncuttable1 < 0 || start.uncuttable2 < 0) return cycle;
  cycle.reserve(static_cast<size_t>(n));
  int32_t previous = 0;
  int32_t current = std::min(start.uncuttable1, start.uncuttable2);
  cycle.push_back(0);
  while (current != 0) {
    if (current < 0 || current >= n || static_cast<int32_t>(cycle.size()) >= n) return {};
    cycle.push_back(current);
    const Node& here = graph.node(current);
    int32_t next = here.uncuttable1 == previous ? here.uncuttable2 : here.uncuttable1;
    previous = current;
    current = next;
  }
  if (static_cast<int32_t>(cycle.size()) != n) return {};
  return cycle;
}

bool verifyHamiltonianCycle(const AdjacencySnapshot& snapshot, const std::vector<int32_t>& cycle,
                            std::string* why) {
  auto fail = [why](std::string reason) {
    if (why != nullptr) *why = std::move(reason);
    return false;
  };
  const int32_t n = snapshot.nodeCount();
  if (n < 3) return fail("a graph of fewer than 3 nodes has no cycle");
  if (static_cast<int32_t>(cycle.size()) != n) {
    return fail("the cycle has " + std::to_string(cycle.size()) + " nodes, the graph " + std::to_string(n));
  }
  std::vector<char> seen(static_cast<size_t>(n), 0);
  for (int32_t v : cycle) {
    if (v < 0 || v >= n) return fail("node id " + std::to_string(v) + " out of range");
    if (seen[static_cast<size_t>(v)] != 0) return fail("node " + std::to_string(v) + " visited twice");
    seen[static_cast<size_t>(v)] = 1;
  }
  for (size_t k = 0; k < cycle.size(); ++k) {
    const int32_t a = cycle[k];
    const int32_t b = cycle[(k + 1) % cycle.size()];
    auto begin = snapshot.targets.begin() + snapshot.offsets[static_cast<size_t>(a)];
    auto end = snapshot.targets.begin() + snapshot.offsets[static_cast<size_t>(a) + 1];
    if (!std::binary_search(begin, end, b)) {
      return fail("no edge " + std::to_string(a) + "-" + std::to_string(b) + " in the graph");
    }
  }
  return true;
}

}  // namespace hc
