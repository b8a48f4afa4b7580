// The legacy degree-two chain model of the old Probability Mill versions.
#include "checks/legacy_chains.h"

#include "checks/chain_walks.h"
#include "checks/lightning_sweep.h"
#include "core/diagnostics.h"

namespace hc {

namespace {

// A walk along degree-2 nodes whose end becomes a head.
int32_t walkDegreeTwo(Graph& graph, int32_t v, int32_t first, int32_t chain) {
  const int32_t end = walkChain(graph, v, first, chain);
  graph.node(end).isHead = 1;
  return end;
}

}  // namespace

void clearChains(Graph& graph) {
  for (Node& n : graph.nodes) {
    n.isHead = 0;
    n.whichChain = -1;
  }
  for (Chain& c : graph.chains) c.reset();
  graph.howManyRings = 0;
  graph.howManyChains = 0;
}

void buildDegreeTwoChains(Graph& graph) {
  for (Node& v : graph.nodes) {
    if (v.degree != 2 || v.whichChain != -1) continue;
    const int32_t c = graph.howManyChains;
    ensureChainSlot(graph, c);
    v.whichChain = c;
    graph.chains[static_cast<size_t>(c)].head1 = walkDegreeTwo(graph, v.id, v.neighborArray[0], c);
    graph.chains[static_cast<size_t>(c)].head2 = walkDegreeTwo(graph, v.id, v.neighborArray[1], c);
    ++graph.howManyChains;
  }
  for (const Node& n : graph.nodes) {
    if (n.whichChain >= 0 && n.whichChain < graph.howManyChains) {
      ++graph.chains[static_cast<size_t>(n.whichChain)].members;
    }
  }
  if (graph.howManyChains == 1 && graph.chains[0].members == graph.howManyNodes) {
    // Only a closed chain is a cycle; an open one through every node ends at nodes of
    // degree 1 and can never be closed.
    graph.isHamiltonian = graph.chains[0].head1 == graph.chains[0].head2 ? kHamiltonian : kNotHamiltonian;
    graph.howManyRings = 0;
    return;
  }
  for (int32_t k = 0; k < graph.howManyChains; ++k) {
    Chain& chain = graph.chains[static_cast<size_t>(k)];
    if (chain.head1 == chain.head2 && graph.node(chain.head1).degree == 2) {
      chain.isRing = 1;
      ++graph.howManyRings;
    }
  }
}

void probabilityMillOldCut(Graph& graph, int32_t a, int32_t b) {
  if (a < 0 || b < 0 || a >= graph.howManyNodes || b >= graph.howManyNodes || !graph.isAdjacent(a, b)) {
    // Cutting nothing must not lower the edge count either.
    diagnostic("Error.  Attempt to do a probabilityMillOldCut on two nodes which are not adjacent.\n");
    return;
  }
  --graph.howManyEdges;
  Node::cut(graph.node(a), graph.node(b), 0);
  for (int32_t end : {a, b}) {
    Node& n = graph.node(end);
    if (n.degree != 2) continue;
    Node& x = graph.node(n.neighborArray[0]);
    Node& y = graph.node(n.neighborArray[1]);
    Node::setUncut(n, x);
    Node::setUncut(n, y);
    graph.howManyUncuttable += n.isHead == 1 ? 1 : 2;
    if (x.isHub == 1) ++graph.howManyHubs;
    if (y.isHub == 1) ++graph.howManyHubs;
  }
}

void lightningOld(Graph& graph) {
  lightningSweep(graph, [&graph](int32_t v, int32_t r) { probabilityMillOldCut(graph, v, r); });
}

void headHunterOld(Graph& graph) {
  // Every round removes an edge, so the loop ends.
  for (;;) {
    int32_t v = -1;
    int32_t w = -1;
    if (!firstHeadWithAdjacentPartner(graph, v, w)) return;
    probabilityMillOldCut(graph, v, w);
    if (graph.node(v).degree == 2 || graph.node(w).degree == 2) {
      clearChains(graph);
      lightningOld(graph);
      buildDegreeTwoChains(graph);
    }
  }
}

}  // namespace hc
