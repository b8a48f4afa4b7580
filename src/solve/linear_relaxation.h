// The linear relaxation of a branch: the fractional 2-factor polytope (0 <= x_e <= 1, every
// node's edges sum to 2, forced edges at 1, deleted edges left out) cut down by subtour
// inequalities x(delta(S)) >= 2, found on the support of each solution (its pieces, then
// minimum cuts of the support once edges at 1 are shrunk). When no x is left, the branch has
// no Hamiltonian cycle: a graph that is not 1-tough never has one here (the pieces of G - S
// each need two units across their cut, and S supplies at most 2|S|), whatever |S|.
//
// The linear programs are solved in floating point (COIN-OR CLP) in their elastic form
// (slacks at cost 1 on every row), whose optimal row prices are multipliers that sum the
// rows to a contradiction whenever the optimum is above 0. Those are scaled and rounded to
// integers, and the verdict is given only when the integer sum is a contradiction in exact
// arithmetic (provesNoCycle), so a rounding error can cost a verdict, never make a wrong one.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"
#include "decompose/part_graph.h"  // PartEdge: an edge and whether it is forced

namespace hc {

// A blossom inequality: x(delta(H) - T) - x(T) >= 1 - |T| for a handle H and an odd set T
// of teeth, edges with one end in H. Every Hamiltonian cycle meets it: short of it, the
// cycle would take all of T and nothing else of delta(H), an odd number of edges across a
// cut that every cycle crosses an even number of times.
struct RelaxationBlossom {
  int64_t multiplier = 0;
  std::vector<int32_t> handle;                     // sorted
  std::vector<std::pair<int32_t, int32_t>> teeth;  // as node pairs
};

// Integer multipliers whose sum is a.x >= b with a.x < b everywhere on the box: `node`
// multipliers (any sign) of the degree equations, `cuts` (multiplier >= 1, node set) of the
// subtour inequalities, `blossoms` (multiplier >= 1) of blossom inequalities.
struct RelaxationProof {
  std::vector<std::pair<int32_t, int64_t>> nodes;
  std::vector<std::pair<int64_t, std::vector<int32_t>>> cuts;
  std::vector<RelaxationBlossom> blossoms;
};

enum class RelaxationOutcome : uint8_t {
  kNoCycle,   // infeasible, with an exactly checked proof
  kFeasible,  // a point meets every inequality the separation finds
  kGaveUp,    // stopped, out of rounds, or the solver failed
};

struct LinearRelaxationResult {
  RelaxationOutcome outcome = RelaxationOutcome::kGaveUp;
  RelaxationProof proof;  // with kNoCycle
  int32_t rounds = 0;     // linear programs solved
  int32_t cuts = 0;       // subtour inequalities added
  int32_t blossoms = 0;   // blossom inequalities added
};

struct LinearRelaxationOptions {
  int32_t maxRounds = 60;
  // The shrunk support gets its minimum cuts (a Gomory-Hu tree) up to this many nodes;
  // above it only its pieces are separated.
  int32_t minimumCutNodes = 3000;
  // Where no subtour inequality is violated, blossom inequalities whose handles are the
  // pieces of the fractional edges (0 < x < 1) and whose teeth are the heavy edges leaving them.
  bool blossoms = true;
};

// Decides the relaxation of the graph on n nodes with these edges (each once; forced ones at
// 1). `stop` is polled between and inside the solves.
LinearRelaxationResult solveLinearRelaxation(int32_t n, std::span<const PartEdge> edges,
                                             const StopToken& stop,
                                             const LinearRelaxationOptions& options = {});
// The same for the current edges of `graph`, its forced edges at 1.
LinearRelaxationResult solveLinearRelaxation(const Graph& graph, const StopToken& stop,
                                             const LinearRelaxationOptions& options = {});

// Whether `proof` sums to a contradiction on these edges, in exact integer arithmetic.
bool provesNoCycle(int32_t n, std::span<const PartEdge> edges, const RelaxationProof& proof);

}  // namespace hc
