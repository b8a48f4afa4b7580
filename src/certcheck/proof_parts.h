// The parts of a certificate read up to their `end` line (their syntax is in the README,
// section "Certificates"). `sat` and `colouring` are text DRAT proofs against a formula the
// checker builds itself, with a unit clause per decision of the branch (two_factor_cnf.h,
// colouring_cnf.h); each holds when the empty clause is derived. A SAT part's subtour
// clause (some edge leaving S is chosen) holds in every Hamiltonian cycle as long as S is
// neither empty nor all nodes. `relaxation` sums integer multipliers of degree equations,
// cut and blossom inequalities (each met by every Hamiltonian cycle of the branch as a 0/1
// vector x) into a.x >= b, and holds when the largest a.x over the branch's box is below b,
// in exact 64-bit sums whose overflow rejects the part.
#pragma once

#include <memory>

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"
#include "certcheck/drup_checker.h"

namespace hc::certcheck {

// Each reads its part after the keyword's line and throws a Rejection at the first fault
// (a proof step that does not follow by unit propagation, a colouring part on an odd number
// of nodes, a sum that is no contradiction). `formula` keeps the graph's formula from one
// SAT part of the graph to the next (null: not built yet), so that each part costs what its
// own branch and proof cost.
void checkSatPart(BranchState& state, CertificateLines& lines, std::unique_ptr<DrupChecker>& formula);
void checkColouringPart(BranchState& state, CertificateLines& lines);
void checkRelaxationPart(BranchState& state, CertificateLines& lines);

// The largest multiplier a relaxation line may give (in magnitude).
inline constexpr int64_t kMaxRelaxationMultiplier = int64_t{1} << 40;

}  // namespace hc::certcheck
