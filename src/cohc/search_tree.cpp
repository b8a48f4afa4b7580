// The depth-first walk over the proof tree and the run entry point; see search_tree.h.
#include "cohc/search_tree.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>

#include "core/diagnostics.h"
#include "core/hamiltonian_cycle_check.h"
#include "schc/hamiltonian_cycle.h"

namespace hc {

SearchTreeOutcome runSearchTree(Graph& graph, int32_t maxSearchDepth, const SearchTreeRun& run,
                                bool writeCycle) {
  SearchTreeOutcome outcome;
  const EdgeSnapshot snapshot(graph);

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
      if (run.observer != nullptr)
        run.observer->childStarting(top.depth() + 1, top.candidateU(index), top.candidateV(index));
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
    if (run.observer != nullptr) run.observer->childEnded(done->depth(), done->verdict());
    path.back()->acceptChild(forIndex, *done);
  }

  SearchTreeNode& root = *path.front();
  bool cycleAccepted = false;
  if (root.verdict() == kHamiltonian) {
    std::vector<int32_t> cycle = hamiltonianCycleOrder(graph);
    if (const CycleCheck check = isHamiltonianCycle(snapshot, cycle)) {
      outcome.cycle = std::move(cycle);
      cycleAccepted = true;
    } else {
      diagnostic("Error: the proof tree reported a Hamiltonian cycle that fails the check: ", check.fault,
                 "\n");
    }
  }
  root.finish(writeCycle && cycleAccepted);
  outcome.verdict = root.verdict();
  if (outcome.verdict == kHamiltonian && !cycleAccepted) outcome.verdict = kUndecided;
  return outcome;
}

CohcResult runCoHC(Graph& graph, const CohcOptions& options, const StopToken* stop,
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
  // The caller's stop and the run's own time limit in one token.
  StopToken runStop(stop);
  runStop.setTimeLimit(options.timeLimitSeconds);
  run.stop = &runStop;
  run.writeCycle = &options.writeGraph;
  run.observer = options.observer;

  auto startClock = std::chrono::steady_clock::now();
  SearchTreeOutcome outcome =
      runSearchTree(graph, std::max(options.maxSearchDepth, 0), run, options.writeCycleFile);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - startClock).count();
  // A stop the walk saw (or the caller's request): a deadline that passes after the walk
  // ended does not turn a finished run into an aborted one.
  result.aborted = runStop.reason() != StopReason::kNone;
  result.timedOut = runStop.reason() == StopReason::kDeadline;
  result.verdict = outcome.verdict;
  result.treeNodes = outcome.treeNodes;
  result.cycle = std::move(outcome.cycle);
  result.deepestDepth = std::max(statistics->deepestStartedDepth, 0);
  statistics->listener = savedListener;
  result.statistics = std::move(statistics);
  return result;
}

}  // namespace hc
