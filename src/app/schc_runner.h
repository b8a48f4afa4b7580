// The Stone Carver page's run controller: runStoneCarver on the working graph in a worker
// thread, its iterations forwarded to the page's sink, the elapsed-time ticks, and the
// end-of-run result handed to the program model (which enters state 3 on the UI thread).
//
// The page calls start() from setPageState(2) and abortRun() from ProgramPage::abortRun;
// both return at once. The graph is shared: an aborted worker keeps its graph alive until
// it ends, whatever the model has done with its working graph since.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "app/background_run.h"
#include "core/graph.h"
#include "schc/stone_carver.h"

namespace hc {

struct SchcRunSettings {
  int32_t version = 5;                 // the Probability Mill version (the page offers 5 first)
  int32_t threads = 1;                 // worker threads of the mill
  std::optional<uint32_t> seed;        // the run's seed (none: drawn afresh); see startRunSeedStream
  int64_t maxIterations = 0;           // <= 0: no limit of its own
};

class SchcRunner {
 public:
  SchcRunner() = default;
  SchcRunner(const SchcRunner&) = delete;
  SchcRunner& operator=(const SchcRunner&) = delete;

  // Starts a run on `working` (UI thread). `sink` (may be null) hears every iteration on
  // the worker thread, only while this run is current. `onDecided` (e.g. the model's
  // decisionHandler()) is called once, on the worker, when the run ends by itself, with
  // the graph's verdict: 1 a Hamiltonian cycle was found, 0 the graph was proved
  // non-Hamiltonian, 2 an iteration limit ended it undecided. An aborted run delivers
  // nothing.
  void start(std::shared_ptr<Graph> working, const SchcRunSettings& settings, SchcSink* sink,
             std::function<void(int16_t result)> onDecided);
  // Stops the run's token and returns at once; nothing of this run is delivered afterwards.
  void abortRun() { run_.abortRun(); }
  bool runInProgress() const { return run_.runInProgress(); }
  double elapsedSeconds() const { return run_.elapsedSeconds(); }
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
  void setTickCallback(std::function<void(double seconds)> tick) { run_.setTickCallback(std::move(tick)); }
  uint64_t runId() const { return run_.runId(); }

 private:
  class SinkAdapter;
  mutable std::mutex outcomeMutex_;  // the worker writes the fields below, the UI thread reads them
  uint64_t outcomeRun_ = 0;          // the run they belong to
  uint32_t seed_ = 0;
  int64_t iterations_ = 0;
  std::vector<int32_t> cycle_;
  BackgroundRun run_;  // last: its destructor joins the workers before the rest goes
};

}  // namespace hc
