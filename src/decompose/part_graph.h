// The plain graph the decomposition rules work on: nodes 0..nodeCount-1 and an edge list in
// which some edges are forced (every Hamiltonian cycle must use them). The rules cut a graph
// into smaller parts of this same shape and hand each part to a caller's decider, so a part
// is a self-contained question: "is there a Hamiltonian cycle through every node that uses
// every forced edge?". Forced edges come from the caller (its own pruning) and from the
// rules themselves (the virtual edge that stands for the rest of the graph beyond a split).
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/stop_token.h"
#include "core/verdict.h"

namespace hc {

struct PartEdge {
  int32_t a = 0;
  int32_t b = 0;
  bool forced = false;
};

struct PartGraph {
  int32_t nodeCount = 0;
  std::vector<PartEdge> edges;  // simple: no loops, no two edges between the same nodes
};

// A decider's answer about one part: a verdict and, with Verdict::kHamiltonian, the cycle as
// node ids in order (each node once, every forced edge used). The rules check every cycle
// they are given before they build on it.
struct PartAnswer {
  Verdict verdict = Verdict::kUndecided;
  std::vector<int32_t> cycle;
};

// Decides one part. It should give up (Undecided) soon after `stop` says so.
using PartDecider = std::function<PartAnswer(const PartGraph&, const StopToken&)>;

// The edges at every node: the ids of node v's edges are edge[start[v] .. start[v + 1] - 1].
struct Incidence {
  std::vector<int32_t> start;
  std::vector<int32_t> edge;
  int32_t degree(int32_t v) const {
    return start[static_cast<size_t>(v) + 1] - start[static_cast<size_t>(v)];
  }
};

template <typename EdgeList>
Incidence buildIncidence(int32_t nodeCount, const EdgeList& edges) {
  Incidence inc;
  inc.start.assign(static_cast<size_t>(nodeCount) + 1, 0);
  for (const auto& e : edges) {
    ++inc.start[static_cast<size_t>(e.a) + 1];
    ++inc.start[static_cast<size_t>(e.b) + 1];
  }
  for (size_t v = 0; v < static_cast<size_t>(nodeCount); ++v) inc.start[v + 1] += inc.start[v];
  inc.edge.resize(static_cast<size_t>(inc.start.back()));
  std::vector<int32_t> fill(inc.start.begin(), inc.start.end() - 1);
  for (size_t i = 0; i < edges.size(); ++i) {
    inc.edge[static_cast<size_t>(fill[static_cast<size_t>(edges[i].a)]++)] = static_cast<int32_t>(i);
    inc.edge[static_cast<size_t>(fill[static_cast<size_t>(edges[i].b)]++)] = static_cast<int32_t>(i);
  }
  return inc;
}

// True when `cycle` visits every node of `part` once, each step is an edge of it and every
// forced edge is one of the steps.
bool isHamiltonianCycleOfPart(const PartGraph& part, const std::vector<int32_t>& cycle);

// The part as a plain graph: each forced edge a-b becomes a-x-b through a new node x
// (numbered from part.nodeCount on), which every Hamiltonian cycle must pass through. Its
// cycles, less the new nodes, are the part's.
struct SubdividedPart {
  int32_t nodeCount = 0;
  std::vector<std::pair<int32_t, int32_t>> edges;
};
SubdividedPart subdivideForcedEdges(const PartGraph& part);

}  // namespace hc
