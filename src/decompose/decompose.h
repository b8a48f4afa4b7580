// The decomposition rules at the root of `solve`: a graph that falls apart at a small
// separator or a small edge cut is decided piece by piece, each piece by the caller's own
// decider, and a cycle of the whole is put together from the pieces' cycles.
//
// The driver works on a part (a PartGraph with forced edges) as follows, recursively:
//  1. forced edges settle nodes: a node with three forced edges, or with fewer than two
//     edges, refutes the part; a node of degree 2 has both edges forced; a node with two
//     forced edges loses its other edges;
//  2. a part that is not biconnected has no Hamiltonian cycle (a cut node is a 1-node
//     separator);
//  3. its SPQR tree: when it has more than one node the separator rule decides
//     (separator_rule.h), each rigid node being a smaller part;
//  4. a triconnected part: its 3-edge cuts with a small side (three_edge_cuts.h), the
//     disjoint ones smallest first, are reduced by the edge cut rule (edge_cut_rule.h); the
//     path questions and the reduced graph are smaller parts;
//  5. otherwise the part goes to the caller's decider as it is.
// At the top a rule counts only when it decides or really splits: a tree whose one rigid
// node holds all the work, or edge cuts that would only shrink fragments to nodes, leave the
// graph to the caller ("nothing to do"), so a graph the rules cannot help costs the caller
// only the near-linear passes.
// Every rule is sound on its own and every cycle is checked against its part before it is
// built on, so a verdict is as good as the decider's. Deciding the parts is the costly step;
// the rules themselves are near-linear: the SPQR tree in O(V + E), the cut search in
// O(E log V) plus a scan of each cut's small side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/decided_by.h"
#include "core/stop_token.h"
#include "core/verdict.h"
#include "decompose/part_graph.h"

namespace hc {

struct DecomposeOptions {
  int32_t maxFragmentNodes = 5000;  // a 3-edge cut's small side is decided alone up to this size
  int64_t maxEdges = 4000000;       // a larger part skips the rules
  int32_t maxDepth = 40;            // parts nested deeper go to the decider whole
};

struct DecomposeResult {
  bool applied = false;  // false: no rule applies to the graph as given, nothing was decided
  Verdict verdict = Verdict::kUndecided;
  std::vector<int32_t> cycle;              // with Hamiltonian: a cycle of the graph (checked)
  DecidedBy decidedBy = DecidedBy::kNone;  // the rule that decided: kSeparator or kEdgeCut
};

// Decides `graph` by the rules when one applies at the top; `decide` answers the parts that
// no rule splits further (and may be called many times, with parts far smaller than the
// graph). Undecided (with applied true) when a part stayed undecided and no other refuted
// the graph, or when `stop` ended the work.
DecomposeResult decomposeAndDecide(const PartGraph& graph, const PartDecider& decide, const StopToken& stop,
                                   const DecomposeOptions& options = {});

}  // namespace hc
