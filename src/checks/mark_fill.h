// A depth-first fill of node marks: the nodes a start node reaches through the edges a rule
// lets it pass, in one pass (the same nodes as repeated sweeps would find).
#pragma once

#include <cstdint>
#include <vector>

#include "core/graph.h"

namespace hc {

// Marks `start` and every unmarked node it reaches with `mark`, never through an edge for
// which `blocked(from, w)` holds (`from` the node, `w` its neighbour's index); returns how
// many nodes it marked. `stack` is the caller's scratch (left empty).
template <typename Blocked>
int32_t fillMark(Graph& graph, int32_t start, int32_t mark, std::vector<int32_t>& stack, Blocked&& blocked) {
  graph.node(start).mark = mark;
  stack.push_back(start);
  int32_t count = 1;
  while (!stack.empty()) {
    const Node& nj = graph.node(stack.back());
    stack.pop_back();
    for (int32_t k = 0; k < nj.degree; ++k) {
      const int32_t w = nj.neighborArray[k];
      Node& nw = graph.node(w);
      if (nw.mark != 0 || blocked(nj, w)) continue;
      nw.mark = mark;
      ++count;
      stack.push_back(w);
    }
  }
  return count;
}

}  // namespace hc
