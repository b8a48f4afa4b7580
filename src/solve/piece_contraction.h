// Pieces every Hamiltonian cycle passes whole (the certificate's `piece` step,
// certcheck/piece_step.h): an independent set I whose edges reach exactly |I| + 1 nodes N,
// so that every Hamiltonian cycle runs through I and N in one stretch. Contracting each such
// piece to one node keeps every Hamiltonian cycle one of the smaller graph, so a smaller graph
// without one refutes the graph. Such pieces hide the reason of graphs built from small
// bipartite blobs (K(4, 3) with its four nodes of degree 3 as the ends: each blob stands
// for one node of a graph whose own obstruction only shows once the blobs are contracted).
// Rounds of contraction alternate with rounds of bypassing sides of 4-edge cuts
// (solve/cut_bypass.h) while either finds something; the graph left is solved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/stop_token.h"
#include "solve/certificate_writer.h"
#include "solve/solve_graph.h"

namespace hc {

struct PieceContraction {
  std::vector<std::string> steps;      // `piece` lines, each for the graph the one before left
  int32_t nodes = 0;                   // the graph after the last step
  std::vector<certcheck::Edge> edges;  // (canonical)
};

// Finds disjoint pieces of at least two nodes of I greedily (I grown from one node by the
// node that adds fewest new neighbours, up to a few dozen nodes) and contracts them, or
// bypasses sides of 4-edge cuts when there are none, and looks again in the graph left while
// that finds more. No steps: none found.
PieceContraction contractPieces(const BranchState& branch, const StopToken& stop);

struct PieceOutcome {
  bool refuted = false;  // the contracted graph has no Hamiltonian cycle: neither has the graph
  bool certified = false;
  std::string body;  // with a certificate asked for and given: the steps and the contracted graph's proof
};

// The graph as given (`snapshot`) through its pieces: solve (with `options`, under `stop`)
// on the contracted graph when there are pieces. Nothing refuted when there are none, or when
// the contracted graph has a cycle or is not decided.
PieceOutcome refuteByPieces(const EdgeSnapshot& snapshot, const SolveOptions& options, const StopToken& stop,
                            bool certify);

}  // namespace hc
