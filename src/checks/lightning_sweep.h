// The Lightning sweep, shared by the scan model and the old Probability Mill versions: a
// node with two forced edges keeps only them, so its other edges go, one random cuttable
// neighbour at a time (the order the random sequence depends on), until a whole pass
// changes nothing. The models differ only in how an edge is cut.
#pragma once

#include <cstdint>

#include "core/graph.h"

namespace hc {

// `cut(v, r)` removes the edge v-r and runs whatever the model prunes after a cut.
template <class Cut>
void lightningSweep(Graph& graph, Cut cut) {
  bool worked = true;
  while (worked) {
    worked = false;
    for (int32_t v = 0; v < graph.howManyNodes; ++v) {
      Node& n = graph.node(v);
      if (n.degree < 3 || n.howManyUncuttable != 2) continue;
      while (n.degree > 2) {
        const int32_t r = n.findRandomCuttableNeighbor();
        if (r < 0) break;  // nothing cuttable is left: no progress possible here
        worked = true;
        cut(v, r);
      }
    }
  }
}

}  // namespace hc
