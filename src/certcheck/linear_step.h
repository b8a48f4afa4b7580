// The linear-relaxation leaf: the lines after `relaxation` up to `end`. Every Hamiltonian
// cycle of the branch, as a 0/1 vector x over the edges, satisfies
//   x(delta(v)) = 2 at every node v,  x(delta(S)) >= 2 for every node set S that is neither
//   empty nor all nodes,  x_e = 1 on forced edges, x_e = 0 on deleted ones, 0 <= x_e <= 1.
// The certificate names multipliers: `node V Y` (any sign) for V's degree equation and
// `cut Y S...` (Y >= 1) for S's cut inequality. Their sum is one inequality a.x >= b that
// every such cycle satisfies; the checker takes the largest a.x can be over the box
// (open edges at 1 where a_e > 0, forced edges at 1, deleted at 0), and the leaf holds when
// that is below b. All sums are exact 64-bit integers, checked for overflow (an overflow
// rejects the leaf, so a certificate can never pass by wrapping around).
#pragma once

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"

namespace hc::certcheck {

// The largest multiplier a line may give (in magnitude).
inline constexpr int64_t kMaxRelaxationMultiplier = int64_t{1} << 40;

// Reads the lines of the relaxation leaf after the `relaxation` line; throws a Rejection at
// the first fault, or when the sum is no contradiction.
void checkRelaxationPart(BranchState& state, CertificateLines& lines);

}  // namespace hc::certcheck
