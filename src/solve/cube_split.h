// Splitting one hard graph into K parts that separate processes (a job array, GNU parallel
// over ssh) solve on their own: cube and conquer. A part is a branch of the graph (a cube:
// some edges forced, some deleted, solve/edge_branch.h); the parts' branches cover every
// Hamiltonian cycle, so the graph is Hamiltonian when one part is, and non-Hamiltonian when
// every part is refuted.
//
// The split is computed from the graph and K alone, with no clock, no thread and no random
// choice, so every worker computes the same split for itself and no file needs sharing:
//  - the root is pruned (the necessary conditions, degree-2 forcing and the incremental
//    model's propagation, the cheap whole-graph checks);
//  - the open leaf with the most work left (by its estimate, below) is split on the edge
//    whose two branches prune most (look-ahead: each candidate edge is forced, then deleted,
//    on the leaf's graph, and the product of the open edges each branch removes ranks it;
//    an edge with a refuted branch is taken at once, since its split costs no new part);
//  - a branch the pruning refutes becomes a closed leaf (the join proves it), one whose
//    estimate is small is not split further, and splitting stops once there are K open
//    leaves (fewer when the graph runs out of work to split: the parts above are empty).
// A leaf's estimate is the number of its edges that are neither forced nor deleted: its
// search tree grows with it, so equal counts give parts of similar difficulty.
// The open leaves are numbered 0.. in the tree's preorder (forced branch first).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"
#include "solve/edge_branch.h"

namespace hc {

// Parts a split may have: `--cube I/K` takes K up to this.
inline constexpr int32_t kMaxCubeParts = 65536;

struct CubeNode {
  // An inner node splits on edge u-v: its forced child, then its deleted child.
  int32_t u = -1;
  int32_t v = -1;
  int32_t forcedChild = -1;
  int32_t deletedChild = -1;
  int32_t parent = -1;
  bool forced = false;  // the decision that led here from the parent
  // A leaf: the part that solves it, or -1 when the split's pruning refuted it.
  int32_t part = -1;
  bool refuted = false;   // a leaf the split's pruning refuted
  int64_t openEdges = 0;  // the estimate: edges neither forced nor deleted after the pruning
  bool isLeaf() const { return forcedChild < 0; }
};

struct CubeSplit {
  int32_t parts = 0;              // K as asked
  std::vector<CubeNode> nodes;    // nodes[0] is the root (empty when the split was stopped)
  std::vector<int32_t> partLeaf;  // part i's leaf, for the open parts (at most K)
  // A Hamiltonian cycle the split's pruning met (node ids in cycle order): then the graph is
  // Hamiltonian, and there are no parts.
  std::vector<int32_t> cycle;
  bool stopped = false;  // `stop` ended it: nothing above holds
  int64_t trials = 0;    // look-ahead trials made
};

// The split of `graph` (not changed) into at most `parts` open leaves (1 <= parts <=
// kMaxCubeParts). `stop` (may be null) ends it early (stopped).
CubeSplit splitIntoCubes(const Graph& graph, int32_t parts, const StopToken* stop = nullptr);

// The decisions from the root to `node`, in order.
std::vector<BranchEdge> branchOf(const CubeSplit& split, int32_t node);

// "forced 3-7, deleted 2-5" (or "the whole graph" for the root).
std::string branchText(const std::vector<BranchEdge>& branch);

}  // namespace hc
