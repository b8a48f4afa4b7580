#include "schc/hamiltonian_cycle.h"

#include <algorithm>

namespace hc {

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

}  // namespace hc
