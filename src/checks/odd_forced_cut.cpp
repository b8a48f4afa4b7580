// The odd forced cut check: regions by unforced edges, chain ends counted per pair of
// regions, and each odd candidate cut tested on a trial copy.
#include "checks/odd_forced_cut.h"

#include <algorithm>
#include <vector>

#include "checks/cut_checks.h"
#include "checks/mark_fill.h"
#include "core/diagnostics.h"

namespace hc {

namespace {

// A chain end inside a region: the node, its region and the region of its chain's other
// end (0 when that end lies in no region).
struct ChainEnd {
  int32_t node;
  int32_t region;
  int32_t otherRegion;
};

// Grows regions 1..R through unforced edges from every node of degree 3 or more; returns R.
int32_t markRegions(Graph& graph) {
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  int32_t regions = 0;
  // A region is everything reachable from its seed through unforced edges; a depth-first
  // fill finds the same nodes as repeated sweeps in one pass.
  std::vector<int32_t> stack;
  for (int32_t seed = 0; seed < n; ++seed) {
    Node& s = graph.node(seed);
    if (s.mark != 0 || s.degree < 3) continue;
    fillMark(graph, seed, ++regions, stack,
             [](const Node& from, int32_t w) { return from.isForcedNeighbor(w); });
  }
  return regions;
}

// The chain ends of every region node with a forced edge; false on a chain record that
// does not name the node as one of its heads.
bool collectChainEnds(const Graph& graph, std::vector<ChainEnd>& ends) {
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  for (int32_t i = 0; i < n; ++i) {
    const Node& ni = graph.node(i);
    if (ni.howManyUncuttable <= 0 || ni.mark == 0) continue;
    const int32_t c = ni.whichChain;
    if (c < 0 || static_cast<size_t>(c) >= graph.chains.size()) return false;
    const Chain& chain = graph.chains[static_cast<size_t>(c)];
    int32_t other = -1;
    if (chain.head1 == i) {
      other = chain.head2;
    } else if (chain.head2 == i) {
      other = chain.head1;
    } else {
      return false;
    }
    if (other < 0 || other >= n) return false;
    ends.push_back(ChainEnd{i, ni.mark, graph.node(other).mark});
  }
  return true;
}

// On a trial copy, removes the forced edge at every chain end that `take` selects (the
// forcing with its uncuttable1 is cleared, then the edge is deleted); true when the copy
// falls apart.
template <typename Take>
bool removalDisconnects(const Graph& graph, const std::vector<ChainEnd>& ends, Take take) {
  Graph copy(graph);
  const int32_t n = copy.howManyNodes;
  for (const ChainEnd& end : ends) {
    if (!take(end)) continue;
    Node& ni = copy.node(end.node);
    const int32_t u = ni.uncuttable1;
    if (u < 0 || u >= n) continue;
    Node& nu = copy.node(u);
    Node::unsetUncut(ni, nu);
    Node::cut(ni, nu, 0);
  }
  for (Node& node : copy.nodes) node.mark = 0;
  copy.isHamiltonian = kUndecided;
  return cutBalanceRatio(copy, -1, -1, -1) >= 0.0;
}

}  // namespace

void initialPruningCheckForOddForcedCut(Graph& graph, int16_t verbose, const StopToken* stop) {
  if (verbose == 1) diagnostic("About to run initialPruningCheckForOddForcedCut.\n");
  if (graph.isHamiltonian == kUndecided) {
    const int32_t regions = markRegions(graph);
    std::vector<ChainEnd> ends;
    if (!collectChainEnds(graph, ends)) {
      // An internal inconsistency: say so and leave the verdict as it was.
      diagnostic("MASSIVE ERROR: CHAIN HEAD IS WRONG.\n");
      for (Node& node : graph.nodes) node.mark = 0;
      return;
    }
    // The (R + 1) x (R + 1) counter matrix, kept sparse: sorted (r, s) keys, one per end.
    std::vector<std::pair<int32_t, int32_t>> keys;
    keys.reserve(ends.size());
    std::vector<int32_t> rowTotal(static_cast<size_t>(regions) + 1, 0);
    for (const ChainEnd& end : ends) {
      keys.emplace_back(end.region, end.otherRegion);
      if (end.otherRegion != 0) ++rowTotal[static_cast<size_t>(end.region)];
    }
    std::sort(keys.begin(), keys.end());

    bool stopped = false;
    // Pairs of regions r < s, in row-major order.
    for (size_t k = 0; k < keys.size() && !stopped;) {
      size_t next = k;
      while (next < keys.size() && keys[next] == keys[k]) ++next;
      const int32_t count = static_cast<int32_t>(next - k);
      const int32_t r = keys[k].first;
      const int32_t s = keys[k].second;
      k = next;
      if (s <= r || count % 2 == 0) continue;
      if (stopRequested(stop)) {
        stopped = true;
        break;
      }
      if (removalDisconnects(graph, ends,
                             [r, s](const ChainEnd& e) { return e.region == r && e.otherRegion == s; })) {
        if (verbose == 1) diagnostic("The graph contains a cut with ", count, " forced edges.\n");
        graph.isHamiltonian = kNotHamiltonian;
        break;
      }
    }
    // Single regions against everything else.
    for (int32_t r = 1; r <= regions && !stopped; ++r) {
      const int32_t total = rowTotal[static_cast<size_t>(r)];
      if (total % 2 == 0) continue;
      if (stopRequested(stop)) break;
      if (removalDisconnects(graph, ends,
                             [r](const ChainEnd& e) { return e.region == r && e.otherRegion != r; })) {
        if (verbose == 1) diagnostic("The graph contains a cut with ", total, " forced edges.\n");
        graph.isHamiltonian = kNotHamiltonian;
        break;
      }
    }
  }
  for (Node& node : graph.nodes) node.mark = 0;
  if (verbose == 1 && graph.isHamiltonian == kUndecided) {
    diagnostic("IsHamiltonian still = 2 after running initialPruningCheckForOddForcedCut.\n");
  }
}

}  // namespace hc
