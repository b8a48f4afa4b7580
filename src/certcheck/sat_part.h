// The SAT leaf: the lines after `sat` up to `end`. The checker builds the formula itself
// (two_factor_cnf.h, plus a unit clause per decision of the branch); the certificate adds
// subtour clauses by their node sets (`subtour S...`: some edge leaving S is chosen, true
// of every Hamiltonian cycle when S is neither empty nor all nodes) and the proof as a
// solver writes text DRAT ("l1 l2 ... 0" adds, "d l1 l2 ... 0" deletes). Subtour lines
// may come anywhere in the proof. The leaf holds when the empty clause is derived.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"
#include "certcheck/drup_checker.h"

namespace hc::certcheck {

// Reads the lines of the SAT part after the `sat` line; throws a Rejection at the first
// fault (a proof step that does not follow by unit propagation is one). `formula` holds the
// graph's formula from one SAT part of the graph to the next (null: not built yet), so that
// each part costs what its own branch and proof cost.
// A line of a part's own kind before the proof's clauses: given the line's tokens, it fills
// `clause` and returns true when the line is its own (the clause is then an input), false
// to read the line as a proof step.
using ProofLineHook =
    std::function<bool(std::span<const std::string_view> tokens, std::vector<int32_t>& clause)>;

// Replays a proof in text DRAT ("l1 l2 ... 0" adds, "d l1 l2 ... 0" deletes) up to the
// part's `end` line into `drup`, counting the propagation work past `counted` into the
// lines' work. `part` names the part in the message of a missing end line.
void replayProof(CertificateLines& lines, DrupChecker& drup, const char* part, int64_t partLine,
                 int64_t& counted, const ProofLineHook& hook = {});

void checkSatPart(BranchState& state, CertificateLines& lines, std::unique_ptr<DrupChecker>& formula);

}  // namespace hc::certcheck
