// The Solver page's run controller: runMethod (run/run_method.h) with the solve portfolio on
// the working graph in a worker of a BackgroundRun, its live figures (which parts are
// working, the exact search's tree nodes and depth) read by the window on a timer, and the
// end of the run handed to a callback that the window turns into "enter state 3".
//
// Threads and ids are BackgroundRun's: start(), abortRun() and the getters belong to the UI
// thread; abortRun() stops the run's token and returns at once; the worker holds the run's
// figures and the graph by shared_ptr, so an aborted worker can finish whatever the window
// does with its working graph meanwhile; once abortRun() or a newer start() has returned,
// nothing of the old run arrives any more.
//
// A run always records what a certificate needs, within the bound of
// SolveRunSettings::certificateLimitBytes: material that passes it is dropped while the
// run goes on, and the verdict then comes without a certificate, with a note saying why.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/decided_by.h"
#include "core/graph.h"
#include "core/verdict.h"
#include "run/method_runners.h"
#include "solve/exact_search.h"

namespace hc {

struct LiveFigures;

struct SolveRunSettings {
  double timeLimitSeconds = 0.0;  // <= 0: none
  int32_t threads = 0;            // <= 0: the machine's cores
  std::optional<uint32_t> seed;   // none: drawn afresh (startRunSeedStream's rule)
  int64_t certificateLimitBytes = kDefaultCertificateLimitBytes;  // SolveOptions::certificateLimitBytes
};

// How a run ended by itself.
struct SolveRunEnd {
  Verdict verdict = Verdict::kUndecided;
  DecidedBy decidedBy = DecidedBy::kNone;  // the part that decided; kNone when undecided
  bool timedOut = false;                   // the time limit ended it
  std::string error;     // the run broke off (out of memory, say); nothing is delivered then
  double seconds = 0.0;  // the portfolio's own time
  uint32_t seed = 0;     // typed in again, it gives the same seed to the run
  int32_t threads = 0;
  int64_t treeNodes = 0;
  int32_t deepestDepth = 0;
  std::vector<int32_t> cycle;  // verified, from node 0; only when Hamiltonian
  // The run's graph as the verdict leaves it, for the window to show and write: with a
  // cycle, a copy whose every other edge is deleted (its cycle edges forced, isHamiltonian
  // 1); when non-Hamiltonian, a copy pruned at the root as the portfolio began (its forced
  // edges set) with isHamiltonian 0; null when undecided.
  std::shared_ptr<Graph> solved;
  // Non-Hamiltonian: the complete certificate, or null and why there is none.
  std::shared_ptr<const std::string> certificate;
  std::string certificateNote;
};

// What the window shows while a run works.
struct SolveLiveFigures {
  bool inProgress = false;
  uint32_t runningParts = 0;  // bit i: SolvePart i is working
  int64_t treeNodes = 0;
  int32_t depth = 0;
};

// "exact search, rotation-extension, clause learning" for the bits of `runningParts`, in
// the order of SolvePart; empty when none is set.
std::string runningPartsText(uint32_t runningParts);

// A copy of `graph` holding `cycle` (a Hamiltonian cycle of it, node ids in order): every
// edge off the cycle deleted, so the cycle's edges are forced and the verdict is 1. Null
// when the cycle does not survive that (it was not a Hamiltonian cycle of this graph).
std::shared_ptr<Graph> graphHoldingCycle(const Graph& graph, const std::vector<int32_t>& cycle);

class SolveRunner : public MethodRunner {
 public:
  using EndHandler = std::function<void(const SolveRunEnd& end)>;

  SolveRunner() = default;

  // Starts a run on `graph` (solve works on copies: the graph is not changed; UI thread),
  // aborting the current one first. `onEnd` is called once, on the worker, when the run
  // ends by itself (decided, or undecided at the time limit), after runInProgress() has
  // become false and finished() holds the end; never for an aborted run or one that broke
  // off. Returns the run's id.
  uint64_t start(std::shared_ptr<Graph> graph, const SolveRunSettings& settings, EndHandler onEnd);
  SolveLiveFigures live() const;
  // The current run's end, once it has ended by itself or broken off (std::nullopt before,
  // and for an aborted run).
  std::optional<SolveRunEnd> finished() const;

 private:
  // Written by the worker, read by the UI thread; shared, so a late worker never writes
  // into a destroyed runner.
  struct Outcome {
    std::mutex mutex;
    uint64_t run = 0;  // the run `end` belongs to
    std::optional<SolveRunEnd> end;
  };
  std::shared_ptr<Outcome> outcome_ = std::make_shared<Outcome>();
  std::shared_ptr<LiveFigures> live_;  // the current run's (UI thread)
};

}  // namespace hc
