// Deliberately plain code: sorted neighbour lists and a visited array, nothing from the
// solvers, so a fault in the engine cannot hide itself here.
#include "core/hamiltonian_cycle_check.h"

#include <algorithm>
#include <array>

namespace hc {

CycleCheck isHamiltonianCycle(const EdgeSnapshot& graph, std::span<const int32_t> cycle) {
  const int32_t n = graph.nodes();
  if (n < 3)
    return CycleCheck::failure("a Hamiltonian cycle needs at least 3 nodes; the graph has " +
                               std::to_string(n));
  if (static_cast<int64_t>(cycle.size()) != n)
    return CycleCheck::failure("the cycle has " + std::to_string(cycle.size()) + " nodes, the graph " +
                               std::to_string(n));
  std::vector<char> seen(static_cast<size_t>(n), 0);
  for (const int32_t v : cycle) {
    if (v < 0 || v >= n)
      return CycleCheck::failure("node " + std::to_string(v) + " is out of range 0.." +
                                 std::to_string(n - 1));
    if (seen[static_cast<size_t>(v)])
      return CycleCheck::failure("node " + std::to_string(v) + " is visited twice");
    seen[static_cast<size_t>(v)] = 1;
  }
  for (size_t k = 0; k < cycle.size(); ++k) {
    const int32_t a = cycle[k];
    const int32_t b = cycle[(k + 1) % cycle.size()];
    if (!graph.contains(a, b))
      return CycleCheck::failure(std::to_string(a) + "-" + std::to_string(b) +
                                 " is not an edge of the graph");
  }
  return {};
}

CycleCheck cycleFromEdges(int32_t nodes, std::span<const std::pair<int32_t, int32_t>> edges,
                          std::vector<int32_t>& cycle) {
  if (nodes < 3)
    return CycleCheck::failure("a Hamiltonian cycle needs at least 3 nodes; the graph has " +
                               std::to_string(nodes));
  std::vector<std::array<int32_t, 2>> partner(static_cast<size_t>(nodes), {-1, -1});
  auto addPartner = [&](int32_t v, int32_t w) -> CycleCheck {
    auto& slots = partner[static_cast<size_t>(v)];
    if (slots[0] == w || slots[1] == w) return {};
    if (slots[0] == -1) {
      slots[0] = w;
    } else if (slots[1] == -1) {
      slots[1] = w;
    } else {
      return CycleCheck::failure("node " + std::to_string(v) + " has more than two cycle neighbours (" +
                                 std::to_string(slots[0]) + ", " + std::to_string(slots[1]) + ", " +
                                 std::to_string(w) + ")");
    }
    return {};
  };
  for (const auto& [a, b] : edges) {
    for (int32_t v : {a, b})
      if (v < 0 || v >= nodes)
        return CycleCheck::failure("node " + std::to_string(v) + " is out of range 0.." +
                                   std::to_string(nodes - 1));
    if (a == b) return CycleCheck::failure("node " + std::to_string(a) + " is joined to itself");
    if (CycleCheck c = addPartner(a, b); !c) return c;
    if (CycleCheck c = addPartner(b, a); !c) return c;
  }
  for (int32_t v = 0; v < nodes; ++v) {
    const auto& slots = partner[static_cast<size_t>(v)];
    int count = (slots[0] != -1) + (slots[1] != -1);
    if (count != 2)
      return CycleCheck::failure("node " + std::to_string(v) + " has " + std::to_string(count) +
                                 " cycle neighbour" + (count == 1 ? "" : "s") + ", not 2");
  }
  std::vector<int32_t> order;
  order.reserve(static_cast<size_t>(nodes));
  int32_t previous = -1;
  int32_t current = 0;
  do {
    order.push_back(current);
    const auto& slots = partner[static_cast<size_t>(current)];
    int32_t next = slots[0] != previous ? slots[0] : slots[1];
    previous = current;
    current = next;
  } while (current != 0 && static_cast<int32_t>(order.size()) < nodes);
  if (current != 0 || static_cast<int32_t>(order.size()) != nodes)
    return CycleCheck::failure("the cycle through node 0 closes after " + std::to_string(order.size()) +
                               " of " + std::to_string(nodes) + " nodes");
  cycle = std::move(order);
  return {};
}

CycleCheck extractCycle(const Graph& solved, std::vector<int32_t>& cycle) {
  const int32_t n = solved.howManyNodes;
  std::vector<std::pair<int32_t, int32_t>> edges;
  edges.reserve(static_cast<size_t>(n) * 2);
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = solved.node(v);
    if (node.uncuttable1 >= 0 && node.uncuttable2 >= 0) {
      edges.emplace_back(v, node.uncuttable1);
      edges.emplace_back(v, node.uncuttable2);
    } else if (node.degree == 2) {
      edges.emplace_back(v, node.neighborArray[0]);
      edges.emplace_back(v, node.neighborArray[1]);
    } else {
      return CycleCheck::failure("node " + std::to_string(v) + " has no two cycle edges in the solved graph");
    }
  }
  std::vector<int32_t> order;
  if (CycleCheck c = cycleFromEdges(n, edges, order); !c) return c;
  // Leave node 0 towards its first neighbour entry on the cycle (the cycle writers' rule).
  const Node& start = solved.node(0);
  int32_t other = order.back();
  for (int32_t k = 0; k < start.degree; ++k) {
    int32_t w = start.neighborArray[k];
    if (w == order[1]) break;
    if (w == other) {
      std::reverse(order.begin() + 1, order.end());
      break;
    }
  }
  cycle = std::move(order);
  return {};
}

}  // namespace hc
