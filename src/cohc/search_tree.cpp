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

SearchTreeOutcome runSearchTree(Graph& graph, int32_t maxSearchDepth, const SearchTreeRun& run, bool writeCycle) {
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

// Clears `flag` once the caller's flag is cleared or the deadline passes, so that every
// abort point of the run (the checks' loops included) sees one flag for both.
class StopWatch {
 public:
  StopWatch(const std::atomic<uint8_t>* external, double seconds, std::atomic<uint8_t>& flag)
      : thread_([this, external, seconds, &flag](std::stop_token token) {
          auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
          std::unique_lock lock(mutex_);
          while (!token.stop_requested()) {
            if (stopRequested(external)) break;
            if (std::chrono::steady_clock::now() >= deadline) {
              timedOut_.store(true);
              break;
            }
            // Short waits: the caller's flag is a plain byte with no way to wake us.
            wake_.wait_for(lock, token, std::chrono::milliseconds(2), [] { return false; });
          }
          if (!token.stop_requested()) flag.store(0);
        }) {}
  ~StopWatch() { thread_.request_stop(); }
  bool timedOut() const { return timedOut_.load(); }

 private:
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::atomic<bool> timedOut_{false};
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

  std::atomic<uint8_t> ownFlag{1};
  std::unique_ptr<StopWatch> watch;
  const std::atomic<uint8_t>* flag = keepRunning;
  if (options.timeLimitSeconds > 0.0) {
    if (stopRequested(keepRunning)) ownFlag.store(0);
    watch = std::make_unique<StopWatch>(keepRunning, options.timeLimitSeconds, ownFlag);
    flag = &ownFlag;
  }

  SearchTreeRun run;
  run.pruningLevel = level;
  run.buildMinimalChildren = options.buildMinimalChildren;
  run.statistics = statistics.get();
  run.keepRunning = flag;

  auto startClock = std::chrono::steady_clock::now();
  SearchTreeOutcome outcome =
      runSearchTree(graph, std::max(options.maxSearchDepth, 0), run, options.writeCycleFile);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - startClock).count();

  result.aborted = stopRequested(flag);
  if (watch) {
    result.timedOut = watch->timedOut();
    watch.reset();
  }
  result.verdict = outcome.verdict;
  result.treeNodes = outcome.treeNodes;
  result.cycle = std::move(outcome.cycle);
  result.deepestDepth = std::max(statistics->deepestStartedDepth, 0);
  statistics->listener = savedListener;
  result.statistics = std::move(statistics);
  return result;
}

}  // namespace hc
