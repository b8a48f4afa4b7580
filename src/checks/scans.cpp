// Whole-graph Lightning and HeadHunter scans of the scan model.
#include "checks/scans.h"

#include "checks/chain_building.h"
#include "checks/chain_walks.h"
#include "checks/lightning_sweep.h"
#include "checks/necessary_conditions.h"
#include "core/diagnostics.h"

namespace hc {

namespace {

void say(int16_t verbose, const char* line) {
  if (verbose == 1) diagnostic(line);
}

}  // namespace

void lightning(Graph& graph, int16_t verbose) {
  say(verbose, "About to run lightning.\n");
  if (graph.isHamiltonian == kUndecided) {
    lightningSweep(graph, [&graph, verbose](int32_t v, int32_t r) {
      graph.cutAndForce(v, r);
      checkEnoughEdges(graph, 0);
      if (graph.isHamiltonian == kNotHamiltonian)
        say(verbose, "Lightning caused the graph to become non-Hamiltonian the graph.\n");
    });
  }
  if (graph.isHamiltonian == kUndecided) say(verbose, "IsHamiltonian still = 2 after running lightning.\n");
}

void HeadHunter(Graph& graph, int16_t verbose) {
  say(verbose, "About to run HeadHunter.\n");
  if (graph.isHamiltonian == kUndecided) {
    // Each round removes an edge, so the loop ends.
    for (;;) {
      int32_t v = -1;
      int32_t w = -1;
      if (!firstHeadWithAdjacentPartner(graph, v, w)) break;
      graph.cutAndForce(v, w);
      if (graph.node(v).degree != 2 && graph.node(w).degree != 2) continue;
      checkEnoughEdges(graph, 0);
      lightning(graph, 0);
      buildChains(graph, 0, nullptr);
      if (graph.isHamiltonian == kNotHamiltonian) {
        say(verbose, "HeadHunter caused the graph to become non-Hamiltonian.\n");
        return;
      }
      if (graph.isHamiltonian == kHamiltonian) {
        say(verbose, "HeadHunter found a HC.\n");
        return;
      }
    }
  }
  if (graph.isHamiltonian == kUndecided) say(verbose, "IsHamiltonian still = 2 after running HeadHunter.\n");
}

}  // namespace hc
