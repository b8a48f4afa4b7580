// Trial deletion of one edge: cut it under a fresh undo log, let all automatic pruning run,
// optionally run the Disjunction Check and the biconnectivity test, note the verdict and roll
// the graph back exactly (neighbour order included). Trials nest: each installs its own
// empty log and puts the enclosing one back, so an outer log never sees inner records.
// The trial force is Graph::simulateForce (it needs nothing beyond the graph itself).
#pragma once

#include <cstdint>

#include "core/graph.h"

namespace hc {

// The verdict that deleting a-b reaches (0 a contradiction, 1 a Hamiltonian cycle, 2
// undecided). `withDC` 1 runs disjunctionScan after the cut, `withBiconnectivity` 1 then
// tests biconnectivity. The graph is left as it was, with isHamiltonian 2.
HamiltonicityState simulateCut(Graph& graph, int32_t a, int32_t b, int16_t withDC,
                               int16_t withBiconnectivity);

}  // namespace hc
