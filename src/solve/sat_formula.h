// The clause form of "choose a 2-factor": one Boolean per edge, and at every node exactly
// two chosen edges. A 2-factor that is one cycle is a Hamiltonian cycle; one that falls into
// several cycles is excluded by a subtour clause per cycle ("some edge leaving these nodes is
// chosen"), which every Hamiltonian cycle satisfies. The clause-learning worker feeds this
// formula to the SAT solver and adds the subtour clauses round by round; the formula is
// kept here as plain data (edge list, clauses, each subtour clause with its node set) so
// that a proof of non-Hamiltonicity can later be written from it.
//
// Variables are numbered from 1 as in DIMACS: variable e + 1 is edges[e]; the counter
// variables of nodes of high degree follow.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"

namespace hc {

// What the root rules already know about an edge.
enum class EdgeFix : uint8_t { kFree, kForced, kDeleted };

// The edges to decide on, with what the root rules fixed.
struct SatEdgeProblem {
  int32_t nodeCount = 0;
  std::vector<std::pair<int32_t, int32_t>> edges;  // (smaller id, larger id), no repeats
  std::vector<EdgeFix> fix;                        // one per edge
};

// The edges of `pruned` (a graph after the root rules: its forced edges are marked forced);
// with `original` (the same nodes before the rules), its edges the rules deleted are added
// as deleted ones, so the formula speaks of the graph as given. Parallel entries and loops
// are dropped.
SatEdgeProblem satEdgeProblemOf(const Graph& pruned, const EdgeSnapshot* original = nullptr);

// A subtour clause and the node set whose leaving edges it lists.
struct SubtourClause {
  std::vector<int32_t> nodes;
  std::vector<int32_t> literals;
};

struct TwoFactorFormula {
  int32_t variables = 0;                // edge variables and counter variables
  std::vector<int32_t> clauses;         // literals, each clause closed by a 0 (an empty clause is a lone 0)
  std::vector<SubtourClause> subtours;  // in the order they were added
};

// The base formula: a unit per forced edge, a negated unit per deleted edge, and at every
// node "exactly two of its edges that are not deleted" (all subsets for degree up to 5, a
// sequential counter with both directions defined above that, linear in the degree). A node
// with fewer than two such edges gets the empty clause.
TwoFactorFormula encodeTwoFactors(const SatEdgeProblem& problem);

// Every node's incident edges (deleted ones included): those of v are
// edges[start[v] .. start[v + 1] - 1].
struct EdgeIncidence {
  std::vector<int64_t> start;
  std::vector<int32_t> edges;
};
EdgeIncidence edgeIncidenceOf(const SatEdgeProblem& problem);

// The subtour clause of `nodes`: every edge that is not deleted and has exactly one end
// among them. `inSet` is scratch of nodeCount entries, all 0, and is left so.
SubtourClause subtourClauseOf(const SatEdgeProblem& problem, const EdgeIncidence& incidence,
                              std::vector<int32_t> nodes, std::vector<uint8_t>& inSet);

}  // namespace hc
