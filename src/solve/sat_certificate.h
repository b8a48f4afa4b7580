// The SAT part of a certificate. With a certificate asked for, the clause-learning worker
// solves the checker's formula itself (checkerProblemOf, SatWorkerOptions::traceProof) and
// its proof is the part (writeSatPart). Otherwise, or when its proof could not be had, the
// part is solved again, afresh: the checker's encoding of the branch's graph
// (certcheck/two_factor_cnf.h), a unit for every decision of the branch and the worker's
// subtour clauses by their node sets, in one CaDiCaL run that writes its proof as text
// DRAT. Should the branch know less than the worker's root did, a model may still fall
// into several cycles: their subtour clauses are added and the run is repeated from
// scratch. Every proof step follows by unit propagation from the checker's clauses with
// every subtour clause: all of them stand first in the part, and a clause the checker has
// early never hurts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/stop_token.h"
#include "solve/certificate_writer.h"
#include "solve/exact_search.h"
#include "solve/sat_formula.h"

namespace CaDiCaL {
class Solver;
}

namespace hc {

// The branch's graph as the checker's formula numbers it: every edge of the certificate's
// graph in its order, the branch's decisions as forced and deleted edges.
SatEdgeProblem checkerProblemOf(const certcheck::BranchState& branch);

// The checker's formula of `problem` (certcheck/two_factor_cnf.h: its counters count deleted
// edges too), then a unit for every forced and every deleted edge, into `solver`.
void addCheckerFormula(CaDiCaL::Solver& solver, const SatEdgeProblem& problem);

// Writes a `sat` ... `end` part: the subtour clauses of these node sets (all of them first:
// a clause the checker has early never hurts) and `proof`, a text DRAT proof of the
// checker's formula with them.
bool writeSatPart(CertificateWriter& writer, const std::vector<std::vector<int32_t>>& subtours,
                  const std::string& proof);

// Closes the writer's branch with a `sat` ... `end` part, starting from `subtours` (node
// sets). False, with nothing written, when the stop token ends it, a model is one cycle
// (the branch has a Hamiltonian cycle), the solver fails, or its proof is longer than
// `limitBytes` (it is not read into memory then).
bool writeSatProof(CertificateWriter& writer, std::vector<std::vector<int32_t>> subtours,
                   const StopToken& stop, int64_t limitBytes = kDefaultCertificateLimitBytes);

}  // namespace hc
