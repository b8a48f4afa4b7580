// Splitting one hard graph into K parts that separate processes (a job array, GNU parallel
// over ssh) solve on their own: cube and conquer. A part is a branch of the graph (a cube:
// some edges forced, some deleted, solve/edge_branch.h); the parts' branches and the
// branches the split refuted hold every Hamiltonian cycle exactly once, so the graph is
// Hamiltonian when one part is, and non-Hamiltonian when every part is refuted.
//
// The split is computed from the graph and K alone, with no clock, no thread and no random
// choice, so every worker computes the same split for itself and no file needs sharing. It
// runs top down, and each branch's share of the K parts depends on that branch alone, so a
// worker follows only the path to its own part (a few dozen look-aheads), while the join
// expands the whole tree once:
//  - the root is pruned (the necessary conditions, degree-2 forcing and the incremental
//    model's propagation, the cheap whole-graph checks) and gets parts 0..K-1;
//  - a branch with more than one part is split on the edge whose two branches prune most
//    (look-ahead: each candidate edge is forced, then deleted, on the branch's graph, and
//    the product of the open edges each branch removes ranks it; an edge with a refuted
//    branch is taken at once, its other branch keeping every part);
//  - the two branches share the parts by their estimated work: a branch's search grows
//    about twofold with every few edges it has open (neither forced nor deleted), so the
//    one with more open edges gets the larger share (at most four fifths), each at least one;
//  - a branch the pruning refutes is a closed leaf (the join proves it; it has no part);
//    a branch with one part, or with so few open edges that its search is over in a
//    moment, is a leaf solved by its first part, and the rest of its parts are empty.
// A part can be split again the same way (a nested split): the split of a branch starts
// from the pruned graph with the branch's decisions applied, and its parts' branches begin
// with them.
#pragma once

#include <cstdint>
#include <span>
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
  // The parts first .. first + count - 1 are this branch's.
  int32_t first = 0;
  int32_t count = 0;
  // A leaf: the part that solves it (its first), or -1 when the split's pruning refuted it
  // or the split went down another path (a worker expands only its own).
  int32_t part = -1;
  bool refuted = false;   // a leaf the split's pruning refuted
  int64_t openEdges = 0;  // edges neither forced nor deleted after the pruning
  bool isLeaf() const { return forcedChild < 0; }
};

struct CubeSplit {
  int32_t parts = 0;              // K as asked
  std::vector<BranchEdge> base;   // the branch split (empty: the whole graph)
  std::vector<CubeNode> nodes;    // nodes[0] is the root (empty when the split was stopped)
  std::vector<int32_t> partLeaf;  // K entries: part i's leaf, or -1 (an empty part, or not expanded)
  // A Hamiltonian cycle the split's pruning met (node ids in cycle order): the graph is
  // Hamiltonian, and nothing else here holds.
  std::vector<int32_t> cycle;
  bool stopped = false;  // `stop` ended it: nothing above holds
  int64_t trials = 0;    // look-ahead trials made
};

// The split of `graph` (not changed), or of its branch `base`, into `parts` parts (1 <= parts
// <= kMaxCubeParts): the whole tree, or with `onlyPart` >= 0 the path to that part only (the
// very nodes the whole tree has on that path). `stop` (may be null) ends it early (stopped).
CubeSplit splitIntoCubes(const Graph& graph, int32_t parts, const StopToken* stop = nullptr,
                         int32_t onlyPart = -1, std::span<const BranchEdge> base = {});

// The parts of a whole split that are not empty.
int32_t openParts(const CubeSplit& split);

// The decisions from the whole graph to `node` (the split's base first), in order.
std::vector<BranchEdge> branchOf(const CubeSplit& split, int32_t node);

// "forced 3-7, deleted 2-5" (or "the whole graph" for the root).
std::string branchText(const std::vector<BranchEdge>& branch);

}  // namespace hc
