// One depth-first pass that answers the structural questions the checks ask of a whole
// graph: which nodes the root reaches, whether a cut vertex exists (low points), and the
// two-colouring by tree depth (bipartite when no edge joins equal colours, with the size
// of each side). It works on any neighbour view, so the solver graph and an edge snapshot
// share it.
//
// The pass is linear and built for graphs of millions of nodes, where every random memory
// access counts: a node's figures (number, low point, colour) sit together in one small
// record, the frame on the explicit stack keeps the node's neighbour span (so its record
// in the graph is read once, not once per returning child), and a child's low point goes
// to its parent when it finishes instead of in a second scan of the neighbours. The
// scratch arrays are the thread's own and are reused, so a search that asks at every tree
// node pays no allocation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "core/stop_token.h"

namespace hc {

// Below this many nodes the pass's records (8 bytes a node) stay in the caches, and
// fetching them ahead is only extra work.
inline constexpr int32_t kPrefetchNodes = 1 << 16;

struct DepthFirstScan {
  bool stopped = false;    // the stop token ended the pass: nothing below holds
  int32_t reached = 0;     // nodes numbered from the root
  bool cutVertex = false;  // found (only looked for when asked; the pass ends there)
  bool sameColourEdge = false;
  int64_t sides[2] = {0, 0};  // nodes of each colour among those reached
};

// The pass from `root` over nodes 0..n-1, where `neighboursOf(v)` gives v's neighbours as a
// std::span<const int32_t>. With `findCutVertex` it ends at the first cut vertex it proves
// (an edge to the parent is not a back edge, however often it is listed). `stop` (may be
// null) is polled every 1024 nodes.
template <typename NeighboursOf>
DepthFirstScan depthFirstScan(int32_t n, int32_t root, NeighboursOf&& neighboursOf, bool findCutVertex,
                              const StopToken* stop) {
  // Per node only what other nodes ask about it; the running figures of the nodes on the
  // current path live in their frames, at the hot end of the stack.
  struct Visit {
    int32_t number;  // -1 while unvisited
    int32_t colour;
  };
  struct Frame {
    std::span<const int32_t> neighbours;
    int32_t v;
    int32_t next;
    int32_t number;
    int32_t low;
    int32_t colour;
  };
  thread_local std::vector<Visit> visit;
  thread_local std::vector<Frame> stack;
  DepthFirstScan scan;
  if (n <= 0 || root < 0 || root >= n) return scan;
  visit.assign(static_cast<size_t>(n), Visit{-1, 0});
  stack.clear();
  int32_t rootChildren = 0;
  const bool prefetch = n > kPrefetchNodes;
  auto enter = [&](int32_t w, int32_t colour) {
    visit[static_cast<size_t>(w)] = Visit{scan.reached, colour};
    const std::span<const int32_t> neighbours = neighboursOf(w);
    // The records of w's neighbours are asked for next: fetching them all at once
    // overlaps what would otherwise be one memory wait after another (where the records do
    // not fit the caches anyway).
    if (prefetch)
      for (int32_t x : neighbours) __builtin_prefetch(&visit[static_cast<size_t>(x)]);
    stack.push_back(Frame{neighbours, w, 0, scan.reached, scan.reached, colour});
    ++scan.reached;
    ++scan.sides[colour];
  };
  enter(root, 0);
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (static_cast<size_t>(top.next) < top.neighbours.size()) {
      const int32_t w = top.neighbours[static_cast<size_t>(top.next++)];
      const Visit vw = visit[static_cast<size_t>(w)];
      if (vw.number < 0) {
        if (top.v == root && ++rootChildren > 1 && findCutVertex) {
          scan.cutVertex = true;
          return scan;
        }
        if ((scan.reached & 1023) == 0 && pollStop(stop)) {
          scan.stopped = true;
          return scan;
        }
        enter(w, 1 - top.colour);  // `top` is not used after this
        continue;
      }
      if (vw.colour == top.colour) scan.sameColourEdge = true;
      const bool toParent = stack.size() >= 2 && w == stack[stack.size() - 2].v;
      if (!toParent) top.low = std::min(top.low, vw.number);
      continue;
    }
    const int32_t low = top.low;
    stack.pop_back();
    if (stack.empty()) break;
    Frame& parent = stack.back();
    parent.low = std::min(parent.low, low);
    if (findCutVertex && parent.v != root && low >= parent.number) {
      scan.cutVertex = true;
      return scan;
    }
  }
  return scan;
}

// True when every component can be two-coloured: no edge joins two nodes of one colour. A
// byte per node and one stack, whatever the number of components.
template <typename NeighboursOf>
bool isTwoColourable(int32_t n, NeighboursOf&& neighboursOf) {
  std::vector<int8_t> colour(static_cast<size_t>(n > 0 ? n : 0), 0);
  std::vector<int32_t> stack;
  for (int32_t start = 0; start < n; ++start) {
    if (colour[static_cast<size_t>(start)] != 0) continue;
    colour[static_cast<size_t>(start)] = 1;
    stack.push_back(start);
    while (!stack.empty()) {
      const int32_t v = stack.back();
      stack.pop_back();
      const int8_t other = colour[static_cast<size_t>(v)] == 1 ? 2 : 1;
      for (int32_t w : neighboursOf(v)) {
        int8_t& cw = colour[static_cast<size_t>(w)];
        if (cw == 0) {
          cw = other;
          stack.push_back(w);
        } else if (cw != other) {
          return false;
        }
      }
    }
  }
  return true;
}

}  // namespace hc
