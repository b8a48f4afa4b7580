// A finder for Hamiltonian cycles where random deletion rarely closes one (toroidal grids,
// ICCS graphs): rotation-extension of a long path. The path grows at either end towards
// the free neighbour with the fewest free neighbours of its own (forced edges first);
// when both ends are stuck, a rotation turns an end's edge to an inner path node into the
// new path edge and breaks the path edge after it, so that another node becomes the end
// (a rotation that gives an end with free neighbours, or one that closes the cycle, is
// preferred; the one that would undo an end's last rotation comes last, so that on sparse
// graphs the ends keep moving on). Two three-edge exchanges help where single rotations
// are slowest, on large sparse graphs: a free node spliced in through an end's neighbour,
// and a path through every node closed by exchanging two of its edges. Forced edges are
// never broken and deleted edges are not in the graph, so the finder respects what the
// pruning knows. A run that stops improving restarts from a new node.
//
// The path lives in a balanced tree with reversal flags (path_treap.h), so a rotation
// costs O(log n) however long the path is.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

struct RotationFinderResult {
  bool found = false;
  std::vector<int32_t> cycle;  // node ids in cycle order when found
  int64_t restarts = 0;
  int64_t rotations = 0;
};

// Searches the current edges of `graph` (read only) until a cycle through every node is
// found or `stop` says so (polled at every step). Deterministic for a given seed.
RotationFinderResult findCycleByRotation(const Graph& graph, uint64_t seed, const StopToken& stop);

class RotationSearch;

// The same in two steps, so that the caller may change the graph while the search runs on
// another thread: the constructor copies what the search needs (O(V + E); each node's
// neighbours are shuffled by the seed when first walked in order). run() goes on from
// where the last call stopped; with `workLimit` > 0 it returns, not found, once it has
// examined about that many neighbour entries (a slice bounded by work rather than time, so
// that it does not shrink on a busy machine and replays exactly).
class RotationFinder {
 public:
  RotationFinder(const Graph& graph, uint64_t seed);
  ~RotationFinder();
  RotationFinder(const RotationFinder&) = delete;
  RotationFinder& operator=(const RotationFinder&) = delete;
  RotationFinderResult run(const StopToken& stop, int64_t workLimit = 0);

 private:
  std::unique_ptr<RotationSearch> search_;
};

}  // namespace hc
