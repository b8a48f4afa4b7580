// The colouring leaf (see colouring_cnf.h): the formula from the graph and the branch, and
// the proof replayed by the DRUP checker.
#include <limits>
#include <vector>

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"
#include "certcheck/colouring_cnf.h"
#include "certcheck/drup_checker.h"
#include "certcheck/sat_part.h"

namespace hc::certcheck {

void checkColouringPart(BranchState& state, CertificateLines& lines) {
  const int64_t partLine = lines.number();
  // An odd cycle cannot be split into two matchings: there the formula proves nothing.
  if (state.nodes() % 2 != 0)
    throw Rejection{"the graph has an odd number of nodes (" + std::to_string(state.nodes()) + ")"};
  const int64_t variables = 2 * static_cast<int64_t>(state.edges().size());
  if (variables > std::numeric_limits<int32_t>::max() / 2 ||
      colouringClauses(state.nodes(), state.edges()) > kMaxColouringClauses)
    throw Rejection{"the graph is too large for a colouring part"};
  DrupChecker drup(static_cast<int32_t>(variables));
  colouringCnf(state.nodes(), state.edges(),
               [&drup](std::span<const int32_t> clause) { drup.addInput(clause); });
  for (size_t e = 0; e < state.edges().size(); ++e) {
    const auto one = static_cast<int32_t>(2 * e + 1), two = one + 1;
    if (state.status(static_cast<int32_t>(e)) == kForced) {
      const int32_t clause[] = {one, two};
      drup.addInput(clause);
    } else if (state.status(static_cast<int32_t>(e)) == kDeleted) {
      for (const int32_t unit : {-one, -two}) drup.addInput(std::span<const int32_t>(&unit, 1));
    }
  }

  int64_t counted = 0;
  replayProof(lines, drup, "colouring", partLine, counted);
  if (!drup.refuted()) throw Rejection{"the colouring part does not derive the empty clause", partLine};
}

}  // namespace hc::certcheck
