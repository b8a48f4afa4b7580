// What deciding one part gives back to the rule that made it: the verdict, the cycle (in the
// part's own node ids) and which rule decided, so a refutation deep inside is reported by the
// rule that found it. The rules reach the driver's recursion through SolvePart.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/decided_by.h"
#include "core/verdict.h"
#include "decompose/part_graph.h"

namespace hc {

enum class DecomposeRule : uint8_t { kNone, kSeparator, kEdgeCut };

// The part of solve a rule's decision is credited to (kNone for None).
DecidedBy decidedByOf(DecomposeRule rule);

struct PartOutcome {
  Verdict verdict = Verdict::kUndecided;
  std::vector<int32_t> cycle;  // with Hamiltonian: every node once, every forced edge used
  DecomposeRule rule = DecomposeRule::kNone;
  bool applied = true;  // false: the rule found nothing it could use (no verdict)
};

// Decides a smaller part with every rule and, where none applies, the caller's decider; with
// onlyIfARuleApplies, a part no rule simplifies comes back with applied false instead (the
// top of the recursion asks so, to leave a graph it cannot simplify to the caller). A part
// known to be triconnected (a rigid skeleton) is not split again.
using SolvePart = std::function<PartOutcome(const PartGraph&, bool onlyIfARuleApplies, bool triconnected)>;

// The rule a refutation is credited to: the inner one when it named itself, else `outer`.
inline DecomposeRule creditedRule(const PartOutcome& inner, DecomposeRule outer) {
  return inner.rule != DecomposeRule::kNone ? inner.rule : outer;
}

}  // namespace hc
