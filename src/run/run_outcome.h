// What one run of a method on one graph came to, as every front end reports it: the
// verdict, the verified cycle, what stopped the run, its time and seed, and the method's
// own figures. runMethod (run/run_method.h) fills it; the command line prints it, the
// window and the public library translate it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cohc/search_tree_statistics.h"
#include "core/decided_by.h"
#include "core/verdict.h"

namespace hc {

// What ended a run. MethodLimit is the method's own: the iteration limit of the Stone
// Carver's driver, the maximum depth of the proof tree, a portfolio that gave up.
enum class StoppedBy : uint8_t { kDecided, kTimeLimit, kInterrupted, kMethodLimit };

struct RunOutcome {
  Verdict verdict = Verdict::kUndecided;
  // With Hamiltonian: the cycle from node 0, checked against the graph as loaded.
  std::vector<int32_t> cycle;
  StoppedBy stopped = StoppedBy::kDecided;
  // "decided", "time limit", "interrupted", or the method's limit: "iteration limit"
  // (schc), "search depth too shallow" (cohc), "undecided" (solve).
  std::string stoppedText = "decided";
  // The method reported a cycle that failed the check (the verdict is then Undecided):
  // the check's fault, for the front end to say so.
  std::string cycleFault;
  double seconds = 0.0;
  uint32_t seed = 0;
  // The part that decided (kProbabilityMill, kProofSystem, kExactSearch, ...); kNone when
  // undecided.
  DecidedBy decidedBy = DecidedBy::kNone;
  int64_t iterations = 0;                            // schc: Probability Mill iterations
  double bestPercentComplete = 0.0;                  // schc: the furthest an iteration got, in %
  int64_t treeNodes = 0;                             // cohc: proof tree nodes; solve: exact search nodes
  int32_t deepestDepth = 0;                          // cohc, solve
  std::shared_ptr<SearchTreeStatistics> statistics;  // cohc: the per-depth record
  // With RunRequest::certificate and a non-Hamiltonian verdict: whether the certificate is
  // complete, why not when it is not, and the seconds spent writing it (after `seconds`).
  bool certified = false;
  std::string certificateNote;
  double certificateSeconds = 0.0;
};

// Why a non-Hamiltonian verdict has no certificate: the method's reason, or "not certified".
inline std::string certificateNoteOf(const RunOutcome& outcome) {
  return outcome.certificateNote.empty() ? std::string("not certified") : outcome.certificateNote;
}

// The engine's numbers of a verdict (0 non-Hamiltonian, 1 Hamiltonian, 2 undecided), which
// the window's program results share.
constexpr HamiltonicityState stateOf(Verdict verdict) {
  return verdict == Verdict::kHamiltonian      ? kHamiltonian
         : verdict == Verdict::kNonHamiltonian ? kNotHamiltonian
                                               : kUndecided;
}

}  // namespace hc
