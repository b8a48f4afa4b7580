// Forcing at degree-two nodes and the wholesale chain builder of the scan model.
#include "checks/chain_building.h"

#include "checks/chain_walks.h"
#include "core/diagnostics.h"

namespace hc {

namespace {

void say(int16_t verbose, const char* line) {
  if (verbose == 1) diagnostic(line);
}

}  // namespace

void setUncuttabilities(Graph& graph, int16_t verbose) {
  say(verbose, "About to set uncuttabilities.\n");
  if (graph.isHamiltonian == kUndecided) {
    for (Node& v : graph.nodes) {
      if (v.degree != 2) continue;
      Node& a = graph.node(v.neighborArray[0]);
      Node& b = graph.node(v.neighborArray[1]);
      if (!Node::isUncuttableEdge(v, a)) {
        Node::setUncut(v, a);
        ++graph.howManyUncuttable;
      }
      if (!Node::isUncuttableEdge(v, b)) {
        Node::setUncut(v, b);
        ++graph.howManyUncuttable;
      }
      if (a.isHub == 1 || b.isHub == 1) {
        ++graph.howManyHubs;
        graph.isHamiltonian = kNotHamiltonian;
        say(verbose, "Setting uncuttabilities showed the graph to be non-Hamiltonian.\n");
        return;
      }
    }
  }
  say(verbose, "IsHamiltonian still = 2 after setting uncuttabilities.\n");
}

void buildChains(Graph& graph, int16_t verbose, ActionList* list) {
  say(verbose, "About to build chains.\n");
  if (graph.isHamiltonian == kUndecided) {
    if (graph.howManyChains > 0) {
      for (Node& n : graph.nodes) {
        n.isHead = 0;
        n.whichChain = -1;
      }
      for (Chain& c : graph.chains) c.reset();
      graph.howManyChains = 0;
    }
    for (Node& v : graph.nodes) {
      if (v.degree != 2 || v.whichChain != -1) continue;
      const int32_t c = graph.howManyChains;
      ensureChainSlot(graph, c);
      v.whichChain = c;
      const int32_t head1 = walkChain(graph, v.id, v.neighborArray[0], c);
      graph.node(head1).isHead = 1;
      graph.chains[static_cast<size_t>(c)].head1 = head1;
      const int32_t head2 = walkChain(graph, v.id, v.neighborArray[1], c);
      graph.node(head2).isHead = 1;
      graph.chains[static_cast<size_t>(c)].head2 = head2;
      ++graph.howManyChains;
    }
    for (const Node& n : graph.nodes) {
      if (n.whichChain != -1) ++graph.chains[static_cast<size_t>(n.whichChain)].members;
    }
    if (graph.howManyChains == 1 && graph.chains[0].members == graph.howManyNodes) {
      if (graph.chains[0].head1 != graph.chains[0].head2) {
        graph.isHamiltonian = kNotHamiltonian;
        say(verbose, "Building chains found a disjoint chain.\n");
      } else {
        graph.isHamiltonian = kHamiltonian;
        say(verbose, "Building chains found a HC.\n");
      }
      return;
    }
    for (int32_t k = 0; k < graph.howManyChains; ++k) {
      Chain& chain = graph.chains[static_cast<size_t>(k)];
      if (chain.head1 != chain.head2 || graph.node(chain.head1).degree != 2) continue;
      chain.isRing = 1;
      if (list != nullptr) list->append(kActionRing, k);
      ++graph.howManyRings;
      graph.isHamiltonian = kNotHamiltonian;
      say(verbose, "Building chains found the graph to be non-Hamiltonian.\n");
      return;
    }
  }
  if (verbose == 1) {
    diagnostic("IsHamiltonian still = 2 after building ", graph.howManyChains, " chains.\n");
  }
}

}  // namespace hc
