// A listener to the proof tree as it is built, so that a certificate can be written
// alongside it: the tree only reports what it does, the listener (the caller's) keeps its
// own account. Every call comes from the run's thread, in the order of the walk; a node's
// depth is 0 at the root.
#pragma once

#include <cstdint>

#include "core/graph.h"

namespace hc {

class SearchTreeObserver {
 public:
  virtual ~SearchTreeObserver() = default;
  // The node at `depth` has pruned `graph` (its own graph): when it starts (the root after
  // its initial pruning, a child after deleting its edge) and again after each child that
  // made it force an edge.
  virtual void pruned(int32_t depth, const Graph& graph) = 0;
  // A child at `depth` that deletes u-v from its parent's graph is about to start.
  virtual void childStarting(int32_t depth, int32_t u, int32_t v) = 0;
  // That child is done with `verdict`; with 0 its parent forces u-v next.
  virtual void childEnded(int32_t depth, HamiltonicityState verdict) = 0;
};

}  // namespace hc
