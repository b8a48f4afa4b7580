// The colouring leaf: the lines after `colouring` up to `end`. The checker builds the
// formula itself (colouring_cnf.h, plus the branch's decisions) on a graph of an even number
// of nodes, and the lines between are a text DRAT proof as for the SAT part ("l1 l2 ... 0"
// adds, "d l1 l2 ... 0" deletes); the leaf holds when the empty clause is derived.
#pragma once

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"

namespace hc::certcheck {

// Reads the lines of the part after the `colouring` line; throws a Rejection at the first
// fault (an odd node count, or a proof step that does not follow by unit propagation).
void checkColouringPart(BranchState& state, CertificateLines& lines);

}  // namespace hc::certcheck
