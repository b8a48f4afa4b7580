// The Co-HC page's run controller: the proof (runCoHC) on the working graph in a worker
// thread, its statistics updates forwarded to the page's listener, the elapsed-time
// ticks, and the end-of-run result handed to the program model. The root works on the
// working graph itself, so when the run ends that graph holds the final state (pruned,
// forced, or the solved copy of the child that found a cycle) for the editor to show.
//
// The page calls start() from setPageState(2) and abortRun() from ProgramPage::abortRun;
// both return at once. The listener is called on the worker thread with the run's
// statistics: copy what is needed there (the worker keeps writing the statistics, so
// the UI thread must not read them while the run is in progress).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/background_run.h"
#include "cohc/search_tree.h"
#include "cohc/search_tree_statistics.h"
#include "core/graph.h"

namespace hc {

struct CohcRunSettings {
  int32_t maxSearchDepth = 999999999;
  int32_t pruningLevel = 5;  // 0..6
  bool buildMinimalChildren = false;
  bool writeCycleFile = true;  // the root writes a found cycle to the graph's output file
};

class CohcRunner {
 public:
  CohcRunner() = default;
  CohcRunner(const CohcRunner&) = delete;
  CohcRunner& operator=(const CohcRunner&) = delete;

  // Starts a proof on `working` (UI thread), recording into `statistics` (null: a fresh
  // record). `listener` (may be null) hears every update on the worker thread while this
  // run is current. `onDecided` is called once, on the worker, with 0 (non-Hamiltonian),
  // 1 (a cycle was found) or 2 (the search depth was too shallow); an aborted run
  // delivers nothing.
  void start(std::shared_ptr<Graph> working, const CohcRunSettings& settings, SearchTreeListener* listener,
             std::shared_ptr<SearchTreeStatistics> statistics, std::function<void(int16_t result)> onDecided);
  void abortRun() { run_.abortRun(); }
  bool runInProgress() const { return run_.runInProgress(); }
  double elapsedSeconds() const { return run_.elapsedSeconds(); }
  void setTickCallback(std::function<void(double seconds)> tick) { run_.setTickCallback(std::move(tick)); }
  uint64_t runId() const { return run_.runId(); }

 private:
  class ListenerAdapter;
  BackgroundRun run_;
};

}  // namespace hc
