// cutBalanceRatio and the 2-edge-cut check.
#include "checks/cut_checks.h"

#include <utility>
#include <vector>

#include "checks/chain_building.h"
#include "checks/mark_fill.h"
#include "checks/necessary_conditions.h"
#include "checks/scans.h"
#include "core/diagnostics.h"

namespace hc {

namespace {

void say(int16_t verbose, const char* line) {
  if (verbose == 1) diagnostic(line);
}

// Puts b back at the end of a's array and a at the end of b's (after a node-level cut
// freed the room).
void appendEdge(Node& a, Node& b) {
  if (a.degree < a.capacity) a.neighborArray[a.degree++] = b.id;
  if (b.degree < b.capacity) b.neighborArray[b.degree++] = a.id;
}

// Forces a-b on the node level; true when an end became a hub (the graph is then decided).
bool forceEdge(Graph& graph, int32_t a, int32_t b) {
  Node& na = graph.node(a);
  Node& nb = graph.node(b);
  Node::setUncut(na, nb);
  ++graph.howManyUncuttable;
  if (na.isHub == 1 || nb.isHub == 1) {
    ++graph.howManyHubs;
    graph.isHamiltonian = kNotHamiltonian;
    return true;
  }
  return false;
}

}  // namespace

double cutBalanceRatio(Graph& graph, int32_t x, int32_t y, int32_t z) {
  if (graph.isHamiltonian != kUndecided) return -500.0;
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  auto valid = [n](int32_t id) { return id >= 0 && id < n; };
  auto excluded = [x, y, z](int32_t id) { return id == x || id == y || id == z; };
  // Excluded nodes counted once each, so a repeated id cannot unbalance the sides.
  int32_t removed = 0;
  if (valid(x)) ++removed;
  if (valid(y) && y != x) ++removed;
  if (valid(z) && z != x && z != y) ++removed;

  int32_t start = 0;
  while (start < n && excluded(start)) ++start;
  if (start == n) return -1.0;  // nothing left to be disconnected
  // The size of the start node's component is all that matters, so a depth-first fill
  // stands in for repeated sweeps (same count, one pass). The 2-edge-cut scan calls this
  // once per pair of edges, hence the reused stack.
  thread_local std::vector<int32_t> stack;
  stack.clear();
  const int32_t count =
      fillMark(graph, start, 1, stack, [&excluded](const Node&, int32_t w) { return excluded(w); });
  for (Node& node : graph.nodes) node.mark = 0;
  const int32_t total = count + removed;
  const int32_t other = n - total;
  if (total >= n) return -1.0;
  return count > other ? static_cast<double>(other) / count : static_cast<double>(count) / other;
}

bool checkTwoEdgeCuts(Graph& graph, int16_t verbose, const StopToken* stop) {
  say(verbose, "About to check 2-Edge-Cuts.\n");
  bool forcedAny = false;
  if (graph.isHamiltonian == kUndecided) {
    CutList* cuts = graph.twoEdgeCuts.get();  // none installed: nothing is recorded
    std::vector<std::pair<int32_t, int32_t>> edges;
    for (;;) {
      if (cuts != nullptr) cuts->clear();
      edges.clear();
      for (int32_t i = 0; i + 1 < graph.howManyNodes; ++i) {
        const Node& n = graph.node(i);
        for (int32_t k = 0; k < n.degree; ++k) {
          if (n.neighborArray[k] > i) edges.emplace_back(i, n.neighborArray[k]);
        }
      }
      const size_t edgeCount = edges.size();
      bool found = false;
      int32_t a = -1, b = -1, c = -1, d = -1;
      bool abForced = false, cdForced = false;
      for (size_t p = 0; p + 1 < edgeCount && !found; ++p) {
        for (size_t q = p + 1; q < edgeCount; ++q) {
          if (stopRequested(stop)) return forcedAny;
          a = edges[p].first;
          b = edges[p].second;
          c = edges[q].first;
          d = edges[q].second;
          const bool shareDegreeTwo = ((a == c || a == d) && graph.node(a).degree == 2) ||
                                      ((b == c || b == d) && graph.node(b).degree == 2);
          if (shareDegreeTwo) continue;
          Node& na = graph.node(a);
          Node& nb = graph.node(b);
          Node& nc = graph.node(c);
          Node& nd = graph.node(d);
          abForced = na.isForcedNeighbor(b);
          cdForced = nc.isForcedNeighbor(d);
          Node::cut(na, nb, 1);
          Node::cut(nc, nd, 1);
          const double r = cutBalanceRatio(graph, -1, -1, -1);
          appendEdge(na, nb);
          appendEdge(nc, nd);
          if (r <= 0.0) continue;
          if (cuts != nullptr) {
            CutRecord record;
            record.kind = 1;
            record.size = 2;
            record.balanceRatio = r;
            record.addEdge(a, b);
            record.addEdge(c, d);
            cuts->add(record);
          }
          if (!abForced || !cdForced) {
            found = true;
            break;
          }
        }
      }
      if (!found) break;

      if (cuts != nullptr) cuts->clear();
      if (!abForced) {
        forcedAny = true;
        if (forceEdge(graph, a, b)) return true;
      }
      if (!cdForced) {
        forcedAny = true;
        if (forceEdge(graph, c, d)) return true;
      }
      checkEnoughEdges(graph, 0);
      lightning(graph, 0);
      buildChains(graph, 0, nullptr);
      HeadHunter(graph, 0);
      checkConnectedNotUnevenlyBipartite(graph, 0);
      if (graph.isHamiltonian == kUndecided && !isBiconnected(graph, 0))
        graph.isHamiltonian = kNotHamiltonian;
      if (graph.isHamiltonian == kHamiltonian) {
        say(verbose, "Checking 2-Edge-Cuts found a Hamiltonian Cycle.\n");
        return true;
      }
      if (graph.isHamiltonian == kNotHamiltonian) {
        say(verbose, "Checking 2-Edge-Cuts caused the graph to become non-Hamiltonian.\n");
        return true;
      }
    }
  }
  say(verbose, "IsHamiltonian still = 2 after finding 2-Edge-Cuts.\n");
  return forcedAny;
}

}  // namespace hc
