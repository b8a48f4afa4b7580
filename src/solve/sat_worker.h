// The clause-learning worker of the portfolio: the 2-factor formula (sat_formula.h) in one
// incremental SAT solver (CaDiCaL, linked as a library). Each round solves; a model whose
// 2-factor is one cycle is a Hamiltonian cycle, and one that falls into several cycles gets
// a subtour clause per cycle, after which the same solver, with everything it has learnt,
// solves again. The clauses of the graph's short cycles are there from the start
// (short_cycles.h): most rounds would only learn those. Unsatisfiable means no Hamiltonian
// cycle (the subtour clauses only exclude 2-factors that are not one cycle). It shines
// where the reason for having no cycle is local and hidden in a large graph, which a
// depth-first search without learning cannot see.
//
// The stop token reaches the solver through its terminator, which reads it exactly (the
// solver asks only every few conflicts), so a stop or a deadline ends a round promptly.
// Running out of memory ends the worker undecided with one diagnostic line; nothing escapes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/stop_token.h"
#include "core/verdict.h"
#include "solve/sat_formula.h"

namespace hc {

struct SatWorkerOptions {
  uint32_t seed = 0;         // the solver's random choices
  bool keepFormula = false;  // fill SatWorkerResult::formula (the base clauses and every subtour clause)
  // Solve the certificate checker's formula instead of the worker's own (its counters count
  // deleted edges too: certcheck/two_factor_cnf.h), the problem's fixed edges as units, and
  // keep the solver's text proof of a refutation in SatWorkerResult::proof, so that the
  // certificate's SAT part is this run's and needs no second solve. The problem must then
  // be the certificate's branch (checkerProblemOf). A proof longer than proofLimitBytes is
  // dropped (SatWorkerResult::proofDropped).
  bool traceProof = false;
  int64_t proofLimitBytes = 0;
};

struct SatWorkerResult {
  Verdict verdict = Verdict::kUndecided;
  std::vector<int32_t> cycle;  // node ids in cycle order from node 0, with Hamiltonian (not yet checked)
  int32_t rounds = 0;          // solver calls
  int64_t subtourClauses = 0;
  bool outOfMemory = false;
  TwoFactorFormula formula;   // only with keepFormula (with traceProof, its subtour clauses only)
  std::string proof;          // with traceProof and a refutation: the solver's text DRAT proof
  bool proofDropped = false;  // ... which passed proofLimitBytes (left out then)
};

// Graphs the worker is given a thread for: sparse ones (at most 6 edges per node on average,
// 2 million in all). On dense graphs the counters and the subtour clauses grow with the
// degree and cost seconds and gigabytes where a cycle is easy to find by other means.
inline bool suitsSatWorker(int64_t nodes, int64_t edges) {
  return edges <= 6 * nodes && edges <= 2000000;
}

// The worker taken up in turns: each run goes on where the last one was stopped, with the
// same solver and everything it has learnt, so turns of growing length cost about the last
// turn rather than the sum of every fresh start. A turn stopped while the short cycles are
// listed lists them again in the next (longer) turn. One thread runs it at a time.
class SatWorker {
 public:
  // The problem is built at the first run, inside the memory guard: `pruned` and `original`
  // must outlive the worker.
  SatWorker(const Graph& pruned, const EdgeSnapshot* original, const SatWorkerOptions& options = {});
  explicit SatWorker(SatEdgeProblem problem, const SatWorkerOptions& options = {});
  ~SatWorker();
  SatWorker(const SatWorker&) = delete;
  SatWorker& operator=(const SatWorker&) = delete;

  // Until decided or `stop` ends the turn (undecided: run again to go on). The rounds and
  // subtour clauses count every turn's. Once decided or failed it returns undecided with no
  // rounds: the first decided result was the answer.
  SatWorkerResult run(const StopToken& stop);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Decides `problem`. Thread-safe for distinct problems; the token is polled between
// rounds and by the solver's terminator.
SatWorkerResult decideBySat(const SatEdgeProblem& problem, const StopToken& stop,
                            const SatWorkerOptions& options = {});

// The same for the edges of `pruned` (see satEdgeProblemOf), built inside the worker's
// memory guard: one turn of a fresh SatWorker.
SatWorkerResult decideBySat(const Graph& pruned, const EdgeSnapshot* original, const StopToken& stop,
                            const SatWorkerOptions& options = {});

}  // namespace hc
