#include "core/graph_invariants.h"

#include <sstream>
#include <unordered_set>
#include <vector>

namespace hc {

namespace {

template <typename... Pieces>
std::string describe(const Pieces&... pieces) {
  std::ostringstream out;
  (out << ... << pieces);
  return out.str();
}

bool contains(const Node& n, int32_t id) {
  for (int32_t i = 0; i < n.degree; ++i) {
    if (n.neighborArray[i] == id) return true;
  }
  return false;
}

}  // namespace

bool hasScanModelChains(const Graph& graph) {
  for (const Node& node : graph.nodes) {
    if (node.isHead == 0 && node.whichChain != -1) return true;
  }
  return false;
}

std::string checkInvariants(const Graph& graph, InvariantOptions options) {
  const int32_t n = graph.howManyNodes;
  if (static_cast<int32_t>(graph.nodes.size()) != n) return "nodes array size differs from howManyNodes";
  int64_t degreeSum = 0;
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = graph.node(v);
    if (node.id != v) return describe("node ", v, " has id ", node.id);
    if (node.degree < 0 || (node.degree > 0 && node.degree >= node.capacity))
      return describe("node ", v, " degree ", node.degree, " outside its capacity ", node.capacity);
    degreeSum += node.degree;
    std::unordered_set<int32_t> seen;
    for (int32_t i = 0; i < node.degree; ++i) {
      int32_t u = node.neighborArray[i];
      if (u < 0 || u >= n) return describe("node ", v, " lists neighbour ", u, " out of range");
      if (u == v) return describe("node ", v, " lists itself");
      if (!seen.insert(u).second) return describe("node ", v, " lists ", u, " twice");
      if (!contains(graph.node(u), v)) return describe("edge ", v, "-", u, " is not symmetric");
    }
    if (node.uncuttable1 == -1 && node.uncuttable2 != -1)
      return describe("node ", v, " has uncuttable2 without uncuttable1");
    int32_t stored = (node.uncuttable1 != -1) + (node.uncuttable2 != -1);
    int32_t expected = node.howManyUncuttable >= 2 ? 2 : node.howManyUncuttable;
    if (node.howManyUncuttable < 0 || stored != expected)
      return describe("node ", v, " howManyUncuttable ", node.howManyUncuttable, " but ", stored, " stored");
    for (int32_t partner : {node.uncuttable1, node.uncuttable2}) {
      if (partner == -1) continue;
      if (partner < 0 || partner >= n)
        return describe("node ", v, " forced partner ", partner, " out of range");
      if (!contains(node, partner)) return describe("forced edge ", v, "-", partner, " is not an edge");
      if (graph.isHamiltonian == kUndecided && !graph.node(partner).isForcedNeighbor(v))
        return describe("forced edge ", v, "-", partner, " recorded on one end only");
    }
    if (node.inLightningQueue != 0 || node.inHeadHunterQueue != 0)
      return describe("node ", v, " still flagged as queued");
  }
  if (degreeSum != 2 * static_cast<int64_t>(graph.howManyEdges))
    return describe("howManyEdges ", graph.howManyEdges, " but degree sum ", degreeSum);
  if (!graph.pruningQueue.empty()) return "pruning queue not empty between operations";

  if (graph.isHamiltonian != kUndecided || !options.incrementalChains) return {};
  // Undecided means no hub and no ring so far, so every forced edge is recorded at both
  // ends exactly once and the graph's count of forcing operations matches them.
  if (graph.howManyHubs != 0 || graph.howManyRings != 0)
    return describe("undecided with ", graph.howManyHubs, " hubs and ", graph.howManyRings, " rings counted");
  int64_t forcedEnds = 0;
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = graph.node(v);
    if (node.isHub != 0 || node.howManyUncuttable > 2)
      return describe("undecided but node ", v, " has ", node.howManyUncuttable, " forced edges (isHub ",
                      node.isHub, ")");
    forcedEnds += node.howManyUncuttable;
  }
  if (forcedEnds != 2 * static_cast<int64_t>(graph.howManyUncuttable))
    return describe("howManyUncuttable ", graph.howManyUncuttable, " but ", forcedEnds, " forced edge ends");
  if (graph.howManyChains < 0 || graph.howManyChains > graph.maxChains)
    return describe("howManyChains ", graph.howManyChains, " outside 0..", graph.maxChains);
  std::vector<int32_t> chainOfHead(static_cast<size_t>(n), -1);
  for (int32_t c = 0; c < graph.howManyChains; ++c) {
    const Chain& chain = graph.chains[static_cast<size_t>(c)];
    for (int32_t head : {chain.head1, chain.head2}) {
      if (head < 0 || head >= n) return describe("chain ", c, " head ", head, " out of range");
      const Node& h = graph.node(head);
      if (h.isHead != 1 || h.whichChain != c)
        return describe("chain ", c, " head ", head, " does not point back");
      if (h.howManyUncuttable != 1)
        return describe("chain ", c, " head ", head, " has ", h.howManyUncuttable, " forced edges");
      chainOfHead[static_cast<size_t>(head)] = c;
    }
    // Walk the forced edges from head1; the path must end at head2 after `members` nodes.
    int32_t previous = -1;
    int32_t current = chain.head1;
    int32_t count = 1;
    while (current != chain.head2 && count <= n) {
      const Node& cur = graph.node(current);
      int32_t next = cur.uncuttable1 != previous ? cur.uncuttable1 : cur.uncuttable2;
      if (next == -1) return describe("chain ", c, " breaks at node ", current);
      previous = current;
      current = next;
      ++count;
    }
    if (count != chain.members)
      return describe("chain ", c, " has ", count, " nodes but members ", chain.members);
  }
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = graph.node(v);
    bool shouldBeHead = node.howManyUncuttable == 1;
    if (shouldBeHead != (chainOfHead[static_cast<size_t>(v)] != -1))
      return describe("node ", v, " with ", node.howManyUncuttable, " forced edges is ",
                      shouldBeHead ? "not " : "", "a chain head");
    if ((node.isHead == 1) != (node.whichChain != -1))
      return describe("node ", v, " isHead ", node.isHead, " but whichChain ", node.whichChain);
    if (node.isHead == 1 && chainOfHead[static_cast<size_t>(v)] == -1)
      return describe("node ", v, " claims to head chain ", node.whichChain);
  }
  return {};
}

}  // namespace hc
