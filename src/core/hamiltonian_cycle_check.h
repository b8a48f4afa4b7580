// The independent check of every Hamiltonian cycle the program reports, shows, writes or
// counts as found. It shares no code with the solvers: it reads only an EdgeSnapshot
// taken before any method cut or forced anything, and accepts a cycle (a node sequence)
// only when it visits every node exactly once along edges of that snapshot, so a solver
// fault that produced a false cycle cannot also hide it.
//
// Also here, for cycles that come as edges (a cycle file of adjacency text, a solved
// graph): turning them into one node sequence, which fails unless they form one cycle.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"

namespace hc {

// A check's answer: the first thing wrong, for the messages that print it.
struct CycleCheck {
  bool ok = true;
  std::string fault;  // when !ok, e.g. "4-5 is not an edge of the graph"
  explicit operator bool() const { return ok; }
  static CycleCheck failure(std::string what) { return CycleCheck{false, std::move(what)}; }
};

// `cycle` lists node ids in cycle order (the closing edge back to cycle[0] is implied).
CycleCheck isHamiltonianCycle(const EdgeSnapshot& graph, std::span<const int32_t> cycle);

// Turns a set of undirected cycle edges on nodes 0..nodes-1 (each edge may be listed from
// one or both ends) into a node sequence starting at node 0; fails when the edges are not
// one cycle through all nodes (a node without exactly two cycle neighbours, or a shorter
// cycle).
CycleCheck cycleFromEdges(int32_t nodes, std::span<const std::pair<int32_t, int32_t>> edges,
                          std::vector<int32_t>& cycle);

// The cycle a decided Hamiltonian graph holds: at each node its two forced neighbours, or
// its two neighbours when only two are left. The walk leaves node 0 towards the first of
// its neighbour entries that is a cycle neighbour, as the cycle file writers do.
CycleCheck extractCycle(const Graph& solved, std::vector<int32_t>& cycle);

}  // namespace hc
