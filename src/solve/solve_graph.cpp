#include "solve/solve_graph.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "cohc/search_tree.h"
#include "core/diagnostics.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/mill_hooks.h"
#include "schc/stone_carver.h"
#include "lookahead/look_ahead_sequencing.h"
#include "solve/decomposed_solve.h"
#include "solve/frontier_search.h"
#include "solve/root_pruning.h"
#include "solve/rotation_finder.h"

namespace hc {

namespace {

using Clock = std::chrono::steady_clock;

// Above this many nodes only the rotation finder runs beside the coordinating thread.
constexpr int32_t kFinderOnlyNodeLimit = 300000;

// Takes a decision into `out`: a cycle must pass the check against the graph as given (one
// that fails is dropped with a diagnostic line, and false is returned) and is reported from
// node 0, as every front end shows cycles.
bool acceptDecision(const AdjacencySnapshot& snapshot, HamiltonicityState verdict, std::vector<int32_t> cycle,
                    const char* method, SolveResult& out) {
  if (verdict == kHamiltonian) {
    std::string why;
    if (!verifyHamiltonianCycle(snapshot, cycle, &why)) {
      diagnostic("solve: the ", method, " reported a cycle that fails the check (", why, "); it is ignored.\n");
      return false;
    }
    std::rotate(cycle.begin(), std::find(cycle.begin(), cycle.end(), 0), cycle.end());
  }
  out.verdict = verdict;
  out.cycle = std::move(cycle);
  out.method = method;
  return true;
}

// What the workers share with the coordinating thread.
class Race {
 public:
  explicit Race(const AdjacencySnapshot& snapshot) : snapshot_(snapshot) {}

  // A worker's decision; the first one that holds (a cycle must pass the check) wins.
  void report(HamiltonicityState verdict, std::vector<int32_t> cycle, const char* method) {
    std::lock_guard<std::mutex> guard(lock_);
    if (decided_ || !acceptDecision(snapshot_, verdict, std::move(cycle), method, result_)) return;
    decided_ = true;
    changed_.notify_all();
  }
  void workerDone() {
    std::lock_guard<std::mutex> guard(lock_);
    --running_;
    changed_.notify_all();
  }
  void workerStarted() {
    std::lock_guard<std::mutex> guard(lock_);
    ++running_;
  }

  // Waits until a decision, until every worker gave up, or until the flag or the deadline
  // says stop; then tells every worker to stop.
  void await(const std::atomic<uint8_t>* keepRunning, bool hasDeadline, Clock::time_point deadline, SolveResult& out) {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
      if (decided_ || running_ == 0) break;
      if (keepRunning != nullptr && keepRunning->load() == 0) {
        out.interrupted = true;
        break;
      }
      if (hasDeadline && Clock::now() >= deadline) {
        out.timedOut = true;
        break;
      }
      changed_.wait_for(guard, std::chrono::milliseconds(5));
    }
    stop.store(1);
    millCancel.store(true);
    millKeepRunning.store(0);
    if (decided_) {
      out.verdict = result_.verdict;
      out.cycle = std::move(result_.cycle);
      out.method = result_.method;
      out.timedOut = out.interrupted = false;
    }
  }

  std::atomic<uint8_t> stop{0};
  std::atomic<bool> millCancel{false};
  std::atomic<uint8_t> millKeepRunning{1};
  std::atomic<int64_t> treeNodes{0};
  std::atomic<int32_t> deepestDepth{0};

 private:
  const AdjacencySnapshot& snapshot_;
  std::mutex lock_;
  std::condition_variable changed_;
  bool decided_ = false;
  int32_t running_ = 0;
  SolveResult result_;
};

void runSearch(const Graph& root, Race& race, ExactSearchProgress* progress) {
  Graph copy(root);
  StopCondition stop(&race.stop, nullptr);
  ExactSearchResult found = exactSearch(copy, stop, &race.stop, {}, progress);
  race.treeNodes.store(found.treeNodes);
  race.deepestDepth.store(found.deepestDepth);
  if (found.verdict != kUndecided) race.report(found.verdict, std::move(found.cycle), "exact search");
}

void runFinder(const Graph& root, Race& race, uint32_t seed, double slice) {
  StopCondition stop(&race.stop, nullptr, slice);
  RotationFinderResult found = findCycleByRotation(root, seed, stop);
  if (found.found) race.report(kHamiltonian, std::move(found.cycle), "rotation-extension");
}

void runMill(const Graph& root, Race& race, int32_t threads) {
  Graph copy(root);
  copy.version = 5;
  millCancelFlag = &race.millCancel;  // ends a long iteration of the one-thread mill early
  SchcOptions options;
  options.threads = threads;
  SchcOutcome outcome;
  HamiltonicityState verdict = runProbabilityMill(copy, &race.millKeepRunning, nullptr, options, &outcome);
  millCancelFlag = nullptr;
  if (verdict == kHamiltonian && !outcome.cycle.empty())
    race.report(kHamiltonian, std::move(outcome.cycle), "probability mill");
}

// The proof system at level 5: far fewer tree nodes than the exact search on small
// cubic graphs (its nodes run look-ahead and the cut checks), at a graph copy per depth.
void runProofSystem(const Graph& graph, Race& race) {
  Graph copy(graph);
  copy.outputFileName.clear();
  CohcOptions options;
  options.writeCycleFile = false;
  CohcResult result = runCoHC(copy, options, &race.millKeepRunning);
  if (result.aborted || result.verdict == kUndecided) return;
  race.report(result.verdict, std::move(result.cycle), "proof system");
}

}  // namespace

SolveResult solveGraph(const Graph& graph, const SolveOptions& options, const std::atomic<uint8_t>* keepRunning,
                       ExactSearchProgress* progress) {
  const Clock::time_point start = Clock::now();
  const bool hasDeadline = options.timeLimitSeconds > 0.0;
  const Clock::time_point deadline =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.timeLimitSeconds));
  SolveResult result;
  auto finish = [&] {
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
  };
  const AdjacencySnapshot snapshot = takeAdjacencySnapshot(graph);

  Graph root(graph);
  root.actionList.reset();
  RootPruningResult pruned = pruneRoot(root, options.seed);
  result.alternationDeletions = pruned.alternationDeletions;
  if (pruned.verdict == kNotHamiltonian) {
    result.verdict = kNotHamiltonian;
    result.method = pruned.byAlternation ? "alternation rule" : "root pruning";
    return finish();
  }
  if (pruned.verdict == kHamiltonian) {
    acceptDecision(snapshot, kHamiltonian, hamiltonianCycleOrder(root), "root pruning", result);
    return finish();
  }

  // Graphs that fall apart at a small separator or a small edge cut, part by part.
  if (options.useDecomposition && graph.howManyNodes <= kFinderOnlyNodeLimit) {
    SolveResult parts;
    if (solveByDecomposition(root, options, keepRunning, hasDeadline, deadline, parts)) {
      result.treeNodes = parts.treeNodes;
      if (parts.verdict != kUndecided &&
          acceptDecision(snapshot, parts.verdict, std::move(parts.cycle), parts.method.c_str(), result))
        return finish();
      if (parts.timedOut || parts.interrupted) {
        result.timedOut = parts.timedOut;
        result.interrupted = parts.interrupted;
        return finish();
      }
    }
  }

  // The probe: a short exact search here. It leaves the root as it found it (plus what the
  // root look-ahead forced, which holds for every cycle), so the portfolio starts from it.
  // On a graph left to the finder alone the probe would only keep it waiting: its descent
  // runs for minutes there without deciding.
  const bool finderOnly = options.threads > 1 && options.useFinder && graph.howManyNodes > kFinderOnlyNodeLimit;
  const int64_t probeLimit = options.probeNodesPerNode * graph.howManyNodes + options.probeNodes;
  if (probeLimit > 0 && !finderOnly) {
    StopCondition stop(nullptr, keepRunning);
    if (hasDeadline) stop.setDeadline(deadline);
    ExactSearchOptions probe;
    probe.treeNodeLimit = probeLimit;
    probe.rootLookAheadEdgeLimit = probe.levelLookAheadEdgeLimit = -1;  // look-ahead can take seconds
    const std::atomic<uint8_t>* savedRunFlag = lookAheadRunFlag;
    lookAheadRunFlag = keepRunning;
    ExactSearchResult found = exactSearch(root, stop, nullptr, probe, progress);
    lookAheadRunFlag = savedRunFlag;
    result.treeNodes = found.treeNodes;
    result.deepestDepth = found.deepestDepth;
    if (found.verdict != kUndecided &&
        acceptDecision(snapshot, found.verdict, std::move(found.cycle), "exact search", result))
      return finish();
    root.isHamiltonian = kUndecided;
    if (stop.stopped()) {
      result.interrupted = keepRunning != nullptr && keepRunning->load() == 0;
      result.timedOut = !result.interrupted;
      return finish();
    }
  }

  // Long, thin graphs the probe left open are decided by their frontier states; on any other
  // graph this gives up after one breadth-first pass.
  if (options.frontierWork > 0) {
    StopCondition stop(nullptr, keepRunning);
    if (hasDeadline) stop.setDeadline(deadline);
    const FrontierSearchResult frontier = frontierSearch(takeAdjacencySnapshot(root), stop, options.frontierWork);
    if (frontier.verdict == kNotHamiltonian) {
      result.verdict = kNotHamiltonian;
      result.method = "frontier search";
      return finish();
    }
  }

  Race race(snapshot);
  const int32_t threads = std::max(1, options.threads);
  result.threads = threads;
  {
    std::vector<std::jthread> workers;
    auto launch = [&](auto&& body) {
      race.workerStarted();
      workers.emplace_back([&race, body] {
        body();
        race.workerDone();
      });
    };
    if (threads == 1 || !options.useFinder) {
      // One worker: a short slice for the finder, then the complete search.
      const double slice = hasDeadline ? std::max(0.05, 0.1 * options.timeLimitSeconds) : 0.25;
      const bool finder = options.useFinder;
      launch([&root, &race, &options, progress, slice, finder] {
        if (finder) runFinder(root, race, options.seed, slice);
        if (race.stop.load() == 0) runSearch(root, race, progress);
      });
    } else if (finderOnly) {
      // Too large for the search tree or the mill to decide in time; their graph copies and
      // threads would only slow the finder down on a machine with few cores.
      launch([&root, &race, &options] { runFinder(root, race, options.seed, 0.0); });
    } else {
      launch([&root, &race, progress] { runSearch(root, race, progress); });
      launch([&root, &race, &options] { runFinder(root, race, options.seed, 0.0); });
      const bool proofSystem = threads >= 4 && options.useProofSystem && graph.howManyEdges <= options.proofSystemEdgeLimit;
      const int32_t millThreads = threads - 2 - (proofSystem ? 1 : 0);
      if (millThreads >= 1 && options.useMill) launch([&root, &race, millThreads] { runMill(root, race, millThreads); });
      if (proofSystem) launch([&graph, &race] { runProofSystem(graph, race); });
    }
    race.await(keepRunning, hasDeadline, deadline, result);
  }  // every worker is joined here
  result.treeNodes = race.treeNodes.load();
  result.deepestDepth = race.deepestDepth.load();
  return finish();
}

}  // namespace hc
