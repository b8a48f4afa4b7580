#include "lookahead/simulate_cut.h"

#include "checks/necessary_conditions.h"
#include "core/diagnostics.h"
#include "lookahead/disjunction_check.h"

namespace hc {

HamiltonicityState simulateCut(Graph& graph, int32_t a, int32_t b, int16_t withDC,
                               int16_t withBiconnectivity) {
  if (graph.isHamiltonian != kUndecided) {
    diagnostic("Error: At top of simulate cut but isHamiltonian = ", graph.isHamiltonian, "\n");
  }
  HamiltonicityState verdict;
  {
    // The trial records into a list of its own; leaving the scope reinstalls the enclosing
    // list and reports (then drops) anything the undo failed to take back.
    ScopedActionList trial(graph);
    graph.cut(a, b);
    if (withDC == 1 && graph.isHamiltonian == kUndecided) disjunctionScan(graph, 0);
    if (withBiconnectivity == 1 && graph.isHamiltonian == kUndecided && !isBiconnected(graph, 0)) {
      graph.isHamiltonian = kNotHamiltonian;
    }
    verdict = graph.isHamiltonian;
    graph.undoActions();
    graph.isHamiltonian = kUndecided;
  }
  return verdict;
}

}  // namespace hc
