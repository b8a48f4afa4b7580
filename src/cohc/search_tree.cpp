// The depth-first walk over the proof tree and the run entry point; see search_tree.h.
#include "cohc/search_tree.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>

#include "core/diagnostics.h"
#include "schc/hamiltonian_cycle.h"

namespace hc {

SearchTreeOutcome runSearchTree(Graph& graph, int32_t maxSearchDepth, const SearchTreeRun& run,
                                bool writeCycle) {
  SearchTreeOutcome outcome;
  AdjacencySnapshot snapshot = takeAdjacencySnapshot(graph);

  // path[k] is the resident node of depth k; builtFor[k - 1] the candidate index of its
  // parent that it was built for.
  std::vector<std::unique_ptr<SearchTreeNode>> path;
  std::vector<int32_t> builtFor;
  path.push_back(std::make_unique<SearchTreeNode>(graph, maxSearchDepth, run));
  path.back()->start();
  outcome.treeNodes = 1;

  for (;;) {
    SearchTreeNode& top = *path.back();
    int32_t index = top.nextChild();
    if (index >= 0) {
      path.push_back(std::make_unique<SearchTreeNode>(top, top.candidateU(index), top.candidateV(index)));
      builtFor.push_back(index);
      path.back()->start();
      ++outcome.treeNodes;
      continue;
    }
    if (path.size() == 1) break;
    // The node on top is fully evaluated: close it, hand its verdict up and drop it.
    top.finish(false);
    std::unique_ptr<SearchTreeNode> done = std::move(path.back());
    path.pop_back();
    int32_t forIndex = builtFor.back();
    builtFor.pop_back();
    path.back()->acceptChild(forIndex, *done);
  }

  SearchTreeNode& root = *path.front();
  bool cycleAccepted = false;
  if (root.verdict() == kHamiltonian) {
    std::vector<int32_t> cycle = hamiltonianCycleOrder(graph);
    std::string why;
    if (verifyHamiltonianCycle(snapshot, cycle, &why)) {
      outcome.cycle = std::move(cycle);
      cycleAccepted = true;
    } else {
      diagnostic("Error: the proof tree reported a Hamiltonian cycle that fails the check: ", why, "\n");
    }
  }
  root.finish(writeCycle && cycleAccepted);
  outcome.verdict = root.verdict();
  if (outcome.verdict == kHamiltonian && !cycleAccepted) outcome.verdict = kUndecided;
  return outcome;
}

namespace {

// Sets `stop` once the caller's keepRunning is cleared or the deadline (if any) passes.
// The expensive checks poll a stop byte of their own inside their loops; this keeps it in
// step with the front end's flag and the time limit.
class StopWatch {
 public:
  StopWatch(const std::atomic<uint8_t>* keepRunning, double seconds, std::atomic<uint8_t>& stop,
            std::atomic<bool>& timedOut)
      : thread_([this, keepRunning, seconds, &stop, &timedOut](std::stop_token token) {
          bool hasDeadline = seconds > 0.0;
          auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(hasDeadline ? seconds : 0.0));
          std::unique_lock lock(mutex_);
          while (!token.stop_requested()) {
            if (stopRequested(keepRunning)) {
              stop.store(1);
              return;
            }
            if (hasDeadline && std::chrono::steady_clock::now() >= deadline) {
              timedOut.store(true);
              stop.store(1);
              return;
            }
            // Short waits: the caller's flag is a plain byte with no way to wake us.
            wake_.wait_for(lock, token, std::chrono::milliseconds(2), [] { return false; });
          }
        }) {}
  ~StopWatch() { thread_.request_stop(); }

 private:
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::jthread thread_;  // last: joined before the members it uses go away
};

}  // namespace

CohcResult runCoHC(Graph& graph, const CohcOptions& options, const std::atomic<uint8_t>* keepRunning,
                   SearchTreeListener* listener, std::shared_ptr<SearchTreeStatistics> statistics) {
  CohcResult result;
  if (!statistics) statistics = std::make_shared<SearchTreeStatistics>();
  SearchTreeListener* savedListener = statistics->listener;
  if (listener) statistics->listener = listener;

  int32_t level = options.pruningLevel;
  if (level < 0 || level > kHighestPruningLevel) {
    diagnostic("Error: pruning level ", level, " is outside 0..", kHighestPruningLevel, "; using ",
               std::clamp(level, 0, kHighestPruningLevel), "\n");
    level = std::clamp(level, 0, kHighestPruningLevel);
  }

  SearchTreeRun run;
  run.pruningLevel = level;
  run.buildMinimalChildren = options.buildMinimalChildren;
  run.statistics = statistics.get();
  run.abort.keepRunning = keepRunning;
  run.writeCycle = &options.writeGraph;

  std::atomic<uint8_t> stop{0};
  std::atomic<bool> timedOut{false};
  std::unique_ptr<StopWatch> watch;
  if (keepRunning != nullptr || options.timeLimitSeconds > 0.0) {
    run.abort.stop = &stop;
    watch = std::make_unique<StopWatch>(keepRunning, options.timeLimitSeconds, stop, timedOut);
  }

  auto startClock = std::chrono::steady_clock::now();
  SearchTreeOutcome outcome =
      runSearchTree(graph, std::max(options.maxSearchDepth, 0), run, options.writeCycleFile);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - startClock).count();
  // Read as the walk returned: a deadline that passes while the watch winds down does not
  // turn a finished run into an aborted one.
  result.aborted = run.abort.requested();
  watch.reset();
  result.timedOut = result.aborted && timedOut.load();
  result.verdict = outcome.verdict;
  result.treeNodes = outcome.treeNodes;
  result.cycle = std::move(outcome.cycle);
  result.deepestDepth = std::max(statistics->deepestStartedDepth, 0);
  statistics->listener = savedListener;
  result.statistics = std::move(statistics);
  return result;
}

}  // namespace hc
