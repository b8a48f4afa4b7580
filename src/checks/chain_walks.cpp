// Chain-walking steps shared by both chain models (see chain_walks.h).
#include "checks/chain_walks.h"

namespace hc {

void ensureChainSlot(Graph& graph, int32_t index) {
  // The slots may be fewer than maxChains (a graph sizes them for its nodes with edges).
  if (static_cast<size_t>(index) >= graph.chains.size())
    graph.chains.resize(static_cast<size_t>(index) + 1, Chain{});
  if (index >= graph.maxChains) graph.maxChains = index + 1;
}

int32_t walkChain(Graph& graph, int32_t v, int32_t first, int32_t chain) {
  int32_t prev = v;
  int32_t cur = first;
  graph.node(cur).whichChain = chain;
  // A simple path or a cycle back to v: never more steps than nodes.
  for (int32_t steps = 0; steps < graph.howManyNodes; ++steps) {
    const Node& c = graph.node(cur);
    if (c.degree != 2 || cur == v) break;
    const int32_t next = c.neighborArray[0] == prev ? c.neighborArray[1] : c.neighborArray[0];
    graph.node(next).whichChain = chain;
    prev = cur;
    cur = next;
  }
  return cur;
}

int32_t adjacentPartnerHead(const Graph& graph, const Node& v) {
  const int32_t c = v.whichChain;
  if (c < 0 || c >= graph.howManyChains || static_cast<size_t>(c) >= graph.chains.size()) return -1;
  const Chain& chain = graph.chains[static_cast<size_t>(c)];
  const int32_t w = chain.head1 != v.id ? chain.head1 : chain.head2;
  if (w < 0 || w >= graph.howManyNodes || w == v.id) return -1;
  if (!graph.isAdjacent(v.id, w) || v.isForcedNeighbor(w)) return -1;
  return w;
}

bool firstHeadWithAdjacentPartner(const Graph& graph, int32_t& v, int32_t& w) {
  for (int32_t i = 0; i < graph.howManyNodes; ++i) {
    const Node& n = graph.node(i);
    if (n.degree < 3 || n.isHead != 1) continue;
    w = adjacentPartnerHead(graph, n);
    if (w >= 0) {
      v = i;
      return true;
    }
  }
  return false;
}

}  // namespace hc
