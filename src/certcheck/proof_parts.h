// The parts of a certificate read up to their `end` line. `sat` and `colouring` hold a
// proof as a solver writes text DRAT ("l1 l2 ... 0" adds, "d l1 l2 ... 0" deletes) against a
// formula the checker builds itself with a unit clause per decision of the branch
// (two_factor_cnf.h, colouring_cnf.h); such a part holds when the empty clause is derived. A
// SAT part may add subtour clauses by their node sets anywhere in its proof (`subtour
// S...`: some edge leaving S is chosen, true of every Hamiltonian cycle when S is neither
// empty nor all nodes).
//
// `relaxation` holds multipliers. Every Hamiltonian cycle of the branch, as a 0/1 vector x
// over the edges, satisfies x(delta(v)) = 2 at every node v, x(delta(S)) >= 2 for every node
// set S neither empty nor all nodes, x_e = 1 on forced edges and 0 on deleted ones. The
// lines `node V Y` (any sign) for V's degree equation and `cut Y S...` (Y >= 1) for S's cut
// inequality sum to a.x >= b, which every such cycle satisfies; the part holds when the
// largest a.x over the box (open edges at 1 where a_e > 0, forced at 1, deleted at 0) is
// below b. The sums are exact 64-bit integers: an overflow rejects the part, so nothing
// passes by wrapping around.
#pragma once

#include <memory>

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"
#include "certcheck/drup_checker.h"

namespace hc::certcheck {

// Each reads the lines of its part after the keyword's line and throws a Rejection at the
// first fault (a proof step that does not follow by unit propagation is one). `formula`
// keeps the graph's formula from one SAT part of the graph to the next (null: not built
// yet), so that each part costs what its own branch and proof cost. A colouring part on an
// odd number of nodes is a fault.
void checkSatPart(BranchState& state, CertificateLines& lines, std::unique_ptr<DrupChecker>& formula);
void checkColouringPart(BranchState& state, CertificateLines& lines);

// The largest multiplier a relaxation line may give (in magnitude).
inline constexpr int64_t kMaxRelaxationMultiplier = int64_t{1} << 40;

// Reads the lines of a relaxation part; throws a Rejection at the first fault, or when the
// sum is no contradiction.
void checkRelaxationPart(BranchState& state, CertificateLines& lines);

}  // namespace hc::certcheck
