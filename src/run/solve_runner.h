// The Solver page's run controller: the solve portfolio on the working graph in a worker
// thread, its live figures (which parts are working, the exact search's tree nodes and
// depth, the elapsed time) read by the window on a timer, and the end of the run handed to
// a callback that the window turns into "enter state 3".
//
// Threads: start(), abortRun() and the getters belong to the UI thread. abortRun() stops the
// run's token and returns at once; it never joins. The worker holds the run's shared state
// and the graph by shared_ptr, so an aborted worker can finish whatever the window does with
// its working graph meanwhile; it is joined later, by the next start() once it has ended or
// by the destructor. The end of a run is delivered under the same lock abortRun() takes and
// only while that run is the current, unaborted one: once abortRun() or a newer start() has
// returned, nothing of the old run arrives any more.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/graph.h"
#include "core/verdict.h"

namespace hc {

struct SolveRunSettings {
  double timeLimitSeconds = 0.0;  // <= 0: none
  int32_t threads = 0;            // <= 0: the machine's cores
  std::optional<uint32_t> seed;   // none: drawn afresh (startRunSeedStream's rule)
};

// How a run ended by itself.
struct SolveRunEnd {
  Verdict verdict = Verdict::Undecided;
  std::string method;     // the part that decided ("frontier search", ...); empty when undecided
  bool timedOut = false;  // the time limit ended it
  std::string error;      // the run broke off (out of memory, say); nothing is delivered then
  double seconds = 0.0;   // the portfolio's own time
  uint32_t seed = 0;      // typed in again, it gives the same seed to the run
  int32_t threads = 0;
  int64_t treeNodes = 0;
  int32_t deepestDepth = 0;
  std::vector<int32_t> cycle;  // verified, from node 0; only when Hamiltonian
  // The run's graph as the verdict leaves it, for the window to show and write: with a
  // cycle, a copy whose every other edge is deleted (its cycle edges forced, isHamiltonian
  // 1); when non-Hamiltonian, a copy pruned at the root as the portfolio began (its forced
  // edges set) with isHamiltonian 0; null when undecided.
  std::shared_ptr<Graph> solved;
};

// What the window shows while a run works.
struct SolveLiveFigures {
  bool inProgress = false;
  uint32_t runningParts = 0;  // bit i: kSolveMethods[i] is working
  int64_t treeNodes = 0;
  int32_t depth = 0;
};

// "exact search, rotation-extension, clause learning" for the bits of `runningParts`, in
// the order of kSolveMethods; empty when none is set.
std::string runningPartsText(uint32_t runningParts);

// A copy of `graph` holding `cycle` (a Hamiltonian cycle of it, node ids in order): every
// edge off the cycle deleted, so the cycle's edges are forced and the verdict is 1. Null
// when the cycle does not survive that (it was not a Hamiltonian cycle of this graph).
std::shared_ptr<Graph> graphHoldingCycle(const Graph& graph, const std::vector<int32_t>& cycle);

class SolveRunner {
 public:
  using EndHandler = std::function<void(const SolveRunEnd& end)>;

  SolveRunner() = default;
  SolveRunner(const SolveRunner&) = delete;
  SolveRunner& operator=(const SolveRunner&) = delete;
  // Stops every run still going and waits for its worker.
  ~SolveRunner();

  // Starts a run on `graph` (not changed; UI thread), aborting the current one first.
  // `onEnd` is called once, on the worker, when the run ends by itself (decided, or
  // undecided at the time limit), after runInProgress() has become false and finished()
  // holds the end; never for an aborted run or one that broke off. Returns the run's id.
  uint64_t start(std::shared_ptr<const Graph> graph, const SolveRunSettings& settings, EndHandler onEnd);
  // Stops the current run's token; returns at once.
  void abortRun();
  // The current run's worker is still working (false once aborted).
  bool runInProgress() const;
  // Seconds since the current (or last) run started; frozen when it ended or was aborted.
  double elapsedSeconds() const;
  SolveLiveFigures live() const;
  // The current run's end, once it has ended by itself or broken off (std::nullopt before,
  // and for an aborted run).
  std::optional<SolveRunEnd> finished() const;
  uint64_t runId() const { return current_ ? currentId_ : 0; }

 private:
  struct Run;
  void reapFinished();

  mutable std::mutex mutex_;  // the delivery lock: liveId_ and every Run's end
  uint64_t liveId_ = 0;       // the run allowed to deliver (0: none)
  uint64_t nextId_ = 0;
  uint64_t currentId_ = 0;
  std::shared_ptr<Run> current_;
  struct Worker {
    std::shared_ptr<Run> run;
    std::jthread thread;
  };
  std::vector<Worker> workers_;  // the current run's and old runs' not yet joined
};

}  // namespace hc
