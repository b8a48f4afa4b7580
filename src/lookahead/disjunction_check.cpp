#include "lookahead/disjunction_check.h"

#include "core/diagnostics.h"
#include "lookahead/simulate_cut.h"

namespace hc {

void disjunctionScan(Graph& graph, int16_t verbose, const StopToken* stop) {
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    // Trials restore neighbour order exactly, so positions stay valid through the loop.
    const int32_t degree = graph.node(v).degree;
    for (int32_t j = 0; j < degree; ++j) {
      const int32_t w = graph.node(v).neighborArray[j];
      if (v >= w || graph.isUncuttableEdge(v, w)) continue;
      if (pollStop(stop)) return;
      if (simulateCut(graph, v, w, 0, 0) != kNotHamiltonian) continue;
      if (graph.simulateForce(v, w) != kNotHamiltonian) continue;
      if (verbose == 1) {
        diagnostic("Disjunction check on edge ", v, ",", w, " showed the graph to be non-Hamiltonian.\n");
      }
      graph.isHamiltonian = kNotHamiltonian;
      return;
    }
  }
}

void disjunctionCheck(Graph& graph, int16_t verbose, const StopToken* stop) {
  if (verbose == 1) diagnostic("About to run a disjunction check.\n");
  if (graph.isHamiltonian == kUndecided) {
    disjunctionScan(graph, verbose, stop);
    if (graph.isHamiltonian == kNotHamiltonian) {
      if (verbose == 1) diagnostic("Disjunction Check rejected the graph.\n");
      return;
    }
  }
  if (verbose == 1) diagnostic("IsHamiltonian still = 2 after the Disjunction Check.\n");
}

}  // namespace hc
