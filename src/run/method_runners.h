// The window's run controllers of the Stone Carver and Co-HC pages: runMethod
// (run/run_method.h) on the working graph in a worker thread of a BackgroundRun, its
// progress forwarded to the page's sink or listener while the run is current, the
// elapsed-time ticks, and the end-of-run result handed to the program model (which enters
// state 3 on the UI thread).
//
// A page calls start() from setPageState(2) and abortRun() from ProgramPage::abortRun; both
// return at once. The graph is shared: an aborted worker keeps its graph alive until it
// ends, whatever the model has done with its working graph since. The method works on the
// working graph itself, so when a run ends that graph holds the final state (pruned,
// forced, or the solved copy of the proof's child that found a cycle) for the editor.
//
// `onDecided` (e.g. the model's decisionHandler()) is called once, on the worker, when the
// run ends by itself, with its verdict as the engine numbers it: 1 a Hamiltonian cycle was
// found (and verified against the working graph as the run began), 0 the graph was proved
// non-Hamiltonian, 2 the method's own limit ended it undecided. An aborted run delivers
// nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "cohc/search_tree.h"
#include "cohc/search_tree_statistics.h"
#include "core/graph.h"
#include "run/background_run.h"
#include "schc/stone_carver.h"

namespace hc {

// What every runner (these two and the Solver's) offers its page besides start().
class MethodRunner {
 public:
  MethodRunner(const MethodRunner&) = delete;
  MethodRunner& operator=(const MethodRunner&) = delete;

  // Stops the run's token and returns at once; nothing of this run is delivered afterwards.
  void abortRun() { run_.abortRun(); }
  bool runInProgress() const { return run_.runInProgress(); }
  double elapsedSeconds() const { return run_.elapsedSeconds(); }
  void setTickCallback(std::function<void(double seconds)> tick) { run_.setTickCallback(std::move(tick)); }
  uint64_t runId() const { return run_.runId(); }

 protected:
  MethodRunner() = default;
  ~MethodRunner() = default;
  // Forwards the progress of one run while that run is current.
  class CurrentRunOnly;

  BackgroundRun run_;
};

class SchcRunner : public MethodRunner {
 public:
  SchcRunner() = default;

  // Starts a run on `working` (UI thread) with the version, threads and iteration limit of
  // `options` and the seed `seed` (none: drawn afresh; see startRunSeedStream). `sink`
  // (may be null) hears every iteration on the worker thread.
  void start(std::shared_ptr<Graph> working, const SchcOptions& options, std::optional<uint32_t> seed,
             SchcSink* sink, std::function<void(int16_t result)> onDecided);
  // What the last run left, once it has ended by itself (std::nullopt before, and for an
  // aborted run): the run's seed (typed in or drawn; typed in again, it replays the run
  // with one thread, exactly as `hamcycles-cli schc --seed` does), the Probability Mill
  // iterations and the verified cycle (empty unless one was found).
  struct Finished {
    uint32_t seed = 0;
    int64_t iterations = 0;
    std::vector<int32_t> cycle;
  };
  std::optional<Finished> finished() const;
  std::optional<uint32_t> seedUsed() const;

 private:
  // Written by the worker, read by the UI thread; shared, so a late worker never writes
  // into a destroyed runner.
  struct Outcome {
    std::mutex mutex;
    uint64_t run = 0;  // the run the fields belong to
    Finished finished;
  };
  std::shared_ptr<Outcome> outcome_ = std::make_shared<Outcome>();
};

class CohcRunner : public MethodRunner {
 public:
  CohcRunner() = default;

  // Starts a proof on `working` (UI thread) with `options` (a found cycle is written to the
  // graph's output file when options.writeCycleFile is set), recording into `statistics`
  // (null: a fresh record). `listener` (may be null) hears every update on the worker
  // thread with the run's statistics: copy what is needed there (the worker keeps writing
  // them, so the UI thread must not read them while the run is in progress).
  void start(std::shared_ptr<Graph> working, const CohcOptions& options, SearchTreeListener* listener,
             std::shared_ptr<SearchTreeStatistics> statistics, std::function<void(int16_t result)> onDecided);
};

}  // namespace hc
