// Tait's route to non-Hamiltonicity: a Hamiltonian cycle on an even number of nodes splits
// into two disjoint perfect matchings (its edges taken alternately), so a graph whose edges
// hold no two such matchings has no Hamiltonian cycle. On a cubic graph that is "not
// 3-edge-colourable", a question a clause learner often settles in seconds where the
// 2-factor formula with its subtour clauses runs for minutes: the colouring's contradiction
// is local (an odd count across a small cut), while the 2-factor formula has models
// everywhere that only fall into several cycles. The formula is the certificate checker's
// own (certcheck/colouring_cnf.h), so a refutation's proof is the certificate's
// `colouring` part as it stands.
#pragma once

#include <cstdint>
#include <string>

#include "core/edge_snapshot.h"
#include "core/stop_token.h"
#include "solve/certificate_writer.h"

namespace hc {

struct ColouringRefutation {
  bool refuted = false;       // no two disjoint perfect matchings: no Hamiltonian cycle
  std::string proof;          // with a proof asked for: the refutation in text DRAT
  bool proofDropped = false;  // the proof passed its bound (refuted all the same)
};

// Graphs the colouring race is run on: an even number of nodes, none of degree above 3
// (cubic graphs and their subgraphs, where the formula is 3-edge-colourability).
bool suitsColouring(const EdgeSnapshot& graph);

// Solves the colouring formula of `branch` (the graph's edges with the branch's decisions);
// the stop token ends it unrefuted. With proofLimitBytes >= 0 the proof is kept, unless it
// grows past that many bytes. Out of memory, it ends unrefuted with one diagnostic line.
ColouringRefutation refuteColouring(const BranchState& branch, const StopToken& stop, uint32_t seed,
                                    int64_t proofLimitBytes = -1);

// Closes the writer's branch with a `colouring` part holding `proof`.
void writeColouringPart(CertificateWriter& writer, const std::string& proof);

}  // namespace hc
