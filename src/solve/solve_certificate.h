// The certificate of a non-Hamiltonian verdict of `solve`: from the method that decided and
// what it left behind, the proof in the checker's terms (README, section "Certificates").
//
//  - root pruning: the checker's propagation, or a witness leaf (pieces, a cut node, an
//    uneven bipartition, odd forced edges across a cut);
//  - alternation rule: an `alternation` step for each set of exactly half the nodes that
//    deleted edges, then an `independent` leaf for a set of more than half, or whatever
//    closes the branch then (the pieces the deletions leave, say);
//  - exact search: its tree replayed as splits (search_certificate.h);
//  - frontier search: a `frontier` leaf with its breadth-first order;
//  - clause learning: a SAT part solved again on the checker's encoding (sat_certificate.h);
//  - proof system: the tree as the run's observer wrote it (cohc_certificate.h);
//  - separator, edge cut: a separator leaf or a fragment step (decomposition_certificate.h);
//  - linear relaxation: a separator leaf or a relaxation part (relaxation_certificate.h).
// When the method's own proof cannot be written, a second one is tried within a time budget:
// a frontier leaf over a narrow order (long, thin graphs), the exact search from the root
// the checker propagates, then the SAT part from scratch.
// Only a complete certificate counts; otherwise the verdict is reported as not certified.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"
#include "solve/linear_relaxation.h"
#include "solve/solve_graph.h"

namespace hc {

// What the deciding method leaves for its certificate (only the part it fills).
struct ProofPiece {
  std::vector<int32_t> searchLog;              // exact search: its proof log
  std::vector<std::vector<int32_t>> subtours;  // clause learning: the node sets of its subtour clauses
  std::string satProof;                        //   ... and its text DRAT proof of the checker's formula
  std::string colouringProof;                  //   ... or the colouring race's refutation (text DRAT)
  std::string body;                            // proof system, pieces: the certificate body
  bool bodyComplete = false;                   //   ... and whether every branch closed
  std::vector<int32_t> independentSet;         // alternation rule: its set of more than half the nodes
  int64_t searchedEdges = -1;                  // frontier search: the edges it searched
  std::vector<int32_t> frontierOrder;          //   ... and its order of the nodes
  // Alternation rule: its sets of exactly half the nodes that deleted edges, in order.
  std::vector<std::vector<int32_t>> alternationSets;
  RelaxationProof relaxation;  // linear relaxation: its integer proof
  // What passed SolveOptions::certificateLimitBytes and was dropped ("exact search's proof
  // log"), when anything did: then the verdict has no certificate.
  std::string passedLimit;
};

struct CertificateOutcome {
  bool certified = false;
  std::string note;  // without a certificate: why not
};

// "the exact search's proof log passed 256 MiB": why a verdict whose certificate material
// (`what`) passed the bound of `limitBytes` has no certificate.
std::string passedLimitNote(const std::string& what, int64_t limitBytes);

// Writes into `text` the certificate of `graph` (as given to solve) for the verdict 0 that
// `method` reached `decisionSeconds` after the solve began. `stop`
// ends the writing (no certificate then); the time budgets of second proofs are fractions
// of decisionSeconds, so that writing stays near the cost of deciding. The nested proofs
// of fragments are solved with `options` (their threads, seed).
CertificateOutcome writeSolveCertificate(const Graph& graph, DecidedBy method, const ProofPiece& piece,
                                         const SolveOptions& options, const StopToken& stop,
                                         double decisionSeconds, std::string& text);

}  // namespace hc
