#include "schc/stone_carver.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

#include "checks/chain_building.h"
#include "checks/necessary_conditions.h"
#include "checks/scans.h"
#include "core/clock.h"
#include "core/diagnostics.h"
#include "core/hamiltonian_cycle_check.h"
#include "core/random.h"
#include "lookahead/disjunction_check.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/mill_hooks.h"
#include "schc/probability_mill.h"

namespace hc {

thread_local MillStepObserver* millStepObserver = nullptr;

namespace {

double clockSeconds() {
  return secondsSinceStart();
}

// A cycle is only ever taken as the result after this independent check against the graph
// as the run received it. A failure is a solver fault: it is reported loudly and the
// verdict is not taken.
bool confirmCycle(const Graph& solved, const EdgeSnapshot& snapshot, std::vector<int32_t>& cycleOut,
                  const char* where) {
  std::vector<int32_t> cycle = hamiltonianCycleOrder(solved);
  CycleCheck check = CycleCheck::failure("its forced edges do not form one cycle through every node");
  if (!cycle.empty()) check = isHamiltonianCycle(snapshot, cycle);
  if (check) {
    cycleOut = std::move(cycle);
    return true;
  }
  diagnostic("INTERNAL ERROR: ", where,
             " reported a Hamiltonian cycle that fails verification against the submitted graph (",
             check.fault, "). The cycle is rejected and the result is not taken.\n");
  return false;
}

// The per-run figures of the mill loop that are not part of the run's statistics.
struct MillLoopFigures {
  double uncuttableSum = 0.0;
  double bestPercent = 0.0;
};

// Statistics and the per-iteration line of an iteration that has just been counted.
// Returns the copy's percentage of forced edges.
double describeIteration(const Graph& graph, const Graph& copy, int32_t iteration, MillLoopFigures& figures) {
  figures.uncuttableSum += copy.howManyUncuttable;
  const double percent = copy.howManyNodes > 0 ? copy.howManyUncuttable * 100.0 / copy.howManyNodes : 0.0;
  if (percent > figures.bestPercent && percent <= 100.0) figures.bestPercent = percent;
  const double average = graph.howManyNodes > 0 ? figures.uncuttableSum * 100.0 /
                                                      (static_cast<double>(graph.howManyNodes) * iteration)
                                                : 0.0;
  if (graph.printLevel >= 1) {
    graph.printIndent();
    diag().precision(4);
    diagnostic("PM ", iteration, " Cts: ", copy.cutCount, " Chs: ", copy.howManyChains,
               " R: ", copy.howManyRings, " H: ", copy.howManyHubs,
               " E: ", copy.howManyEdges - copy.howManyNodes, " Uncts: ", copy.howManyUncuttable,
               " A%: ", average, " B%: ", figures.bestPercent, "\n");
  }
  if (copy.howManyChains == copy.howManyRings && copy.howManyEdges == copy.howManyNodes &&
      graph.printLevel >= 1) {
    graph.printIndent();
    diagnostic("Run ring recovery.\n");
  }
  return percent;
}

void postAndTally(StoneCarverStatistics& statistics, const Graph& copy, int32_t iteration, double percent,
                  double t0, SchcSink* sink) {
  if (sink != nullptr) {
    sink->postIteration(iteration, copy.cutCount, copy.howManyHubs, copy.howManyRings, copy.howManyUncuttable,
                        percent, clockSeconds() - t0);
  }
  if (copy.isHamiltonian != kNotHamiltonian) return;
  if (copy.howManyHubs > 0) {
    ++statistics.hubIterations;
    statistics.cutsToHubTotal += copy.cutCount;
    statistics.mostCutsToHub = std::max(statistics.mostCutsToHub, copy.cutCount);
    statistics.leastCutsToHub = std::min(statistics.leastCutsToHub, copy.cutCount);
    diagnostic("###Least cuts to hub = ", statistics.leastCutsToHub,
               " and Most cuts to hub = ", statistics.mostCutsToHub, "\n");
  }
  if (copy.howManyRings > 0) {
    ++statistics.ringIterations;
    statistics.cutsToRingTotal += copy.cutCount;
    statistics.mostCutsToRing = std::max(statistics.mostCutsToRing, copy.cutCount);
    statistics.leastCutsToRing = std::min(statistics.leastCutsToRing, copy.cutCount);
  }
}

// The graph takes over a solved (and verified) copy, and the run's statistics are closed.
void adoptSolvedCopy(Graph& graph, const Graph& copy, StoneCarverStatistics& s) {
  graph.assignFrom(copy);
  s.solvedIterations = graph.iterationCount;
  s.solvedCuts = graph.cutCount;
  s.solvedSimulationForces = graph.simulationForceCount;
  const double elapsed = clockSeconds() - s.startTime;
  s.startTime = elapsed;
  s.elapsedSeconds = elapsed;
  s.secondsPerIteration = s.solvedIterations > 0 ? elapsed / s.solvedIterations : 0.0;
  s.inverseIterations = graph.iterationCount > 0 ? 1.0 / graph.iterationCount : 1.0;
  s.cutRatio = graph.edgesToRemove > 0 ? static_cast<double>(s.solvedCuts) / graph.edgesToRemove : 0.0;
  s.averageCutsToHub = s.hubIterations < 1 || s.cutsToHubTotal < 1
                           ? -1.0
                           : static_cast<double>(s.cutsToHubTotal) / s.hubIterations;
  s.averageCutsToRing = s.ringIterations < 1 || s.cutsToRingTotal < 1
                            ? -1.0
                            : static_cast<double>(s.cutsToRingTotal) / s.ringIterations;
}

void prepareCopy(Graph& copy, int32_t version) {
  copy.cutCount = 0;
  copy.simulationForceCount = 0;
  if (copy.printLevel != 0 && (version == 2 || version == 7 || version == 8 || version == 9))
    copy.printLevel = 2;
}

// How many more iterations this run may make.
int64_t iterationAllowance(const Graph& graph, const SchcOptions& options) {
  int64_t allowed = static_cast<int64_t>(kMillIterationLimit) - graph.iterationCount;
  if (options.maxIterations > 0) allowed = std::min(allowed, options.maxIterations);
  return std::max<int64_t>(allowed, 0);
}

// The run's stop reaches every step of an iteration and the look-ahead inside it, so a time
// limit or Stop ends a long iteration at its next step instead of at its end.
HamiltonicityState singleThreadMill(Graph& graph, const StopToken* stop, SchcSink* sink,
                                    const SchcOptions& options, SchcOutcome& outcome,
                                    const EdgeSnapshot& snapshot) {
  MillLoopFigures figures;
  std::unique_ptr<CutSequence> current;
  std::unique_ptr<CutSequence> best;
  const int64_t allowed = iterationAllowance(graph, options);
  int64_t made = 0;
  while (graph.isHamiltonian == kUndecided && graph.iterationCount < kMillIterationLimit && made < allowed &&
         !stopRequested(stop)) {
    const double t0 = clockSeconds();
    std::optional<Graph> copied = Graph::copyUnlessStopped(graph, stop);
    if (!copied) break;
    Graph& copy = *copied;
    prepareCopy(copy, graph.version);
    runMillVersion(copy, graph.version, &current, stop);
    // Stopped part-way: the iteration is not finished, so it is neither counted nor shown.
    if (stopRequested(stop) && copy.isHamiltonian != kHamiltonian) break;
    if (graph.version == 10) {
      diagnostic("That sequence got to ", current ? current->percentage : -1.0, " percent.\n");
      if (best) diagnostic("The best sequence got to ", best->percentage, " percent.\n");
    }
    ++graph.iterationCount;
    ++made;
    outcome.iterations = made;
    const double percent = describeIteration(graph, copy, graph.iterationCount, figures);
    if (graph.version == 10 && copy.isHamiltonian == kNotHamiltonian && current) {
      recordBestCutSequence(graph, current, best, options, stop);
    }
    current.reset();
    postAndTally(outcome.statistics, copy, graph.iterationCount, percent, t0, sink);
    if (copy.isHamiltonian == kHamiltonian) {
      std::vector<int32_t> cycle;
      if (!confirmCycle(copy, snapshot, cycle, "a Probability Mill iteration")) continue;
      adoptSolvedCopy(graph, copy, outcome.statistics);
      outcome.cycle = std::move(cycle);
      return kHamiltonian;
    }
  }
  return kUndecided;
}

// Distinct, reproducible seed streams for the worker threads, derived from the state of the
// calling thread's generator (itself seeded by the driver).
uint32_t workerSeedBase(uint32_t material, int32_t worker) {
  uint32_t x = material + 0x9E3779B9u * static_cast<uint32_t>(worker + 1);
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

HamiltonicityState parallelMill(Graph& graph, const StopToken* stop, SchcSink* sink,
                                const SchcOptions& options, SchcOutcome& outcome,
                                const EdgeSnapshot& snapshot, int32_t threads) {
  // While the workers run, `graph` is only read (every worker copies it); the counters
  // below and the run's statistics are written under `lock`.
  std::mutex lock;
  // Stops with the run, or when a worker found a cycle: that ends the iterations still
  // running on the other workers at their next step.
  StopToken cancel(stop);
  std::atomic<int64_t> tickets{0};
  const int64_t allowed = iterationAllowance(graph, options);
  const int32_t firstIteration = graph.iterationCount;
  const int32_t version = graph.version;
  int32_t iteration = firstIteration;
  MillLoopFigures figures;
  std::unique_ptr<Graph> solved;
  std::vector<int32_t> solvedCycle;
  const uint32_t material = randomState();

  auto worker = [&](int32_t index) {
    setThreadSeedStream(workerSeedBase(material, index));
    while (!cancel.stopRequested()) {
      const int64_t ticket = tickets.fetch_add(1);
      if (ticket >= allowed) break;
      const double t0 = clockSeconds();
      std::optional<Graph> copied = Graph::copyUnlessStopped(graph, &cancel);
      if (!copied) break;
      Graph& copy = *copied;
      copy.iterationCount = static_cast<int32_t>(firstIteration + ticket);
      prepareCopy(copy, version);
      runMillVersion(copy, version, nullptr, &cancel);
      // Stopped part-way (by the run, or by another worker's success): not counted.
      if (cancel.stopRequested() && copy.isHamiltonian != kHamiltonian) break;
      std::lock_guard<std::mutex> guard(lock);
      // An iteration that ends after another worker's success is not counted.
      if (solved) break;
      ++iteration;
      const double percent = describeIteration(graph, copy, iteration, figures);
      postAndTally(outcome.statistics, copy, iteration, percent, t0, sink);
      if (copy.isHamiltonian == kHamiltonian &&
          confirmCycle(copy, snapshot, solvedCycle, "a Probability Mill iteration")) {
        solved = std::make_unique<Graph>(std::move(copy));
        cancel.requestStop();
      }
    }
    clearThreadSeedStream();
  };

  {
    std::vector<std::jthread> pool;
    pool.reserve(static_cast<size_t>(threads));
    for (int32_t k = 0; k < threads; ++k) pool.emplace_back(worker, k);
  }
  graph.iterationCount = iteration;
  outcome.iterations = iteration - firstIteration;
  if (!solved) return kUndecided;
  adoptSolvedCopy(graph, *solved, outcome.statistics);
  outcome.cycle = std::move(solvedCycle);
  return kHamiltonian;
}

HamiltonicityState millWithSnapshot(Graph& graph, const StopToken* stop, SchcSink* sink,
                                    const SchcOptions& options, SchcOutcome& outcome,
                                    const EdgeSnapshot& snapshot) {
  if (graph.isHamiltonian != kUndecided) {
    // Already decided: no iteration runs, so none found a cycle.
    outcome.verdict = graph.isHamiltonian;
    return kUndecided;
  }
  // Version 10 rewrites the graph between iterations, so it always runs on one thread.
  const int32_t threads = graph.version == 10 ? 1 : std::max(1, options.threads);
  HamiltonicityState result = threads == 1
                                  ? singleThreadMill(graph, stop, sink, options, outcome, snapshot)
                                  : parallelMill(graph, stop, sink, options, outcome, snapshot, threads);
  outcome.verdict = graph.isHamiltonian;
  return result;
}

}  // namespace

HamiltonicityState fastInitialPruning(Graph& graph, uint16_t mode, int16_t verbose, const StopToken* stop) {
  checkEnoughEdges(graph, verbose);
  if (graph.isHamiltonian != kUndecided) return kNotHamiltonian;
  setUncuttabilities(graph, verbose);
  if (graph.isHamiltonian != kUndecided) return kNotHamiltonian;
  lightning(graph, verbose);
  if (graph.isHamiltonian != kUndecided) return kNotHamiltonian;
  buildChains(graph, verbose, nullptr);
  if (graph.isHamiltonian != kUndecided) return graph.isHamiltonian;
  HeadHunter(graph, verbose);
  if (graph.isHamiltonian != kUndecided) return graph.isHamiltonian;
  if (mode == 2) {
    checkLowDegreeNodes(graph, verbose);
    if (graph.isHamiltonian != kUndecided) return kNotHamiltonian;
  }
  // From here on each step is a whole-graph pass that takes a noticeable time on a graph of
  // a million nodes: a stop ends the pruning between steps and inside each, undecided.
  if (stopRequested(stop)) return kUndecided;
  checkConnectedNotUnevenlyBipartite(graph, verbose, stop);
  if (graph.isHamiltonian != kUndecided) return kNotHamiltonian;
  if (stopRequested(stop)) return kUndecided;
  if (!isBiconnected(graph, verbose, stop)) {
    graph.isHamiltonian = kNotHamiltonian;
    return kNotHamiltonian;
  }
  if (mode == 65535) return kUndecided;
  if (stopRequested(stop)) return kUndecided;
  disjunctionCheck(graph, verbose, stop);
  if (graph.isHamiltonian != kUndecided) return kNotHamiltonian;
  initialPruningLookAheadSequencing(graph, verbose, static_cast<int16_t>(mode), stop);
  return graph.isHamiltonian;
}

HamiltonicityState runProbabilityMill(Graph& graph, const StopToken* stop, SchcSink* sink,
                                      const SchcOptions& options, SchcOutcome* outcome) {
  SchcOutcome local;
  SchcOutcome& out = outcome != nullptr ? *outcome : local;
  out.statistics = StoneCarverStatistics{};
  const EdgeSnapshot snapshot(graph);
  return millWithSnapshot(graph, stop, sink, options, out, snapshot);
}

void runStoneCarver(Graph& graph, int32_t version, const StopToken* stop, SchcSink* sink,
                    const SchcOptions& options, SchcOutcome* outcome) {
  SchcOutcome local;
  SchcOutcome& out = outcome != nullptr ? *outcome : local;
  out = SchcOutcome{};
  StoneCarverStatistics& statistics = out.statistics;
  graph.version = version;
  statistics.startTime = clockSeconds();
  out.seed = reseedFromClock(static_cast<uint32_t>(static_cast<int64_t>(statistics.startTime * 10000.0)));
  const EdgeSnapshot snapshot(graph);
  // The initial sequencing of a large graph takes seconds: a stop request ends its passes
  // early (what it forced stays sound) and the mill below then makes no iteration.
  const HamiltonicityState x = fastInitialPruning(graph, 2, 0, stop);
  if (x == kHamiltonian && !confirmCycle(graph, snapshot, out.cycle, "the initial pruning")) {
    graph.isHamiltonian = kUndecided;
    out.verdict = kUndecided;
    return;
  }
  if (x != kUndecided) {
    if (graph.printLevel >= 1) {
      const double elapsed = clockSeconds() - statistics.startTime;
      statistics.startTime = elapsed;
      statistics.elapsedSeconds = elapsed;
      diagnostic("Finished fast initial pruning. x = ", x, "\n");
    }
    out.verdict = graph.isHamiltonian;
    return;
  }
  millWithSnapshot(graph, stop, sink, options, out, snapshot);
}

void replayCutSequence(Graph& graph, CutSequence& sequence, const StopToken* stop) {
  const int32_t n = static_cast<int32_t>(sequence.count * 0.5);
  diagnostic("### About to execute ", n, " cuts.\n");
  for (int32_t k = 0; k < n && !sequence.empty(); ++k) {
    const CutPair pair = sequence.takeFront();
    // A replayed pair may no longer be an edge (the graph was pruned differently this time).
    if (graph.isHamiltonian != kUndecided || !graph.isAdjacent(pair.first, pair.second) ||
        graph.isUncuttableEdge(pair.first, pair.second)) {
      continue;
    }
    if (simulateCut(graph, pair.first, pair.second, 1, 0) != kNotHamiltonian) {
      graph.cut(pair.first, pair.second);
      ++graph.cutCount;
      continue;
    }
    graph.force(pair.first, pair.second);
    if (graph.isHamiltonian != kUndecided) continue;
    lookAheadSequencing(graph, 0, stop);
    diagnostic("Simulation forced an edge. Ran full sequencing. howManyUncuttable = ",
               graph.howManyUncuttable, "\n");
    if (graph.isHamiltonian == kNotHamiltonian) {
      diagnostic("Look Ahead Sequencing caused the graph to become non-Hamiltonian.\n");
    }
  }
  sequence.clear();
}

void recordBestCutSequence(Graph& graph, std::unique_ptr<CutSequence>& current,
                           std::unique_ptr<CutSequence>& best, const SchcOptions& options,
                           const StopToken* stop) {
  if (!current) return;
  const bool candidate = best ? current->percentage > best->percentage : current->percentage > 50.0;
  if (!candidate) {
    current.reset();
    return;
  }
  Graph copy(graph);
  copy.printLevel = 2;
  CutSequence replay = *current;
  replayCutSequence(copy, replay, stop);
  diagnostic("### About to check if the cut sequence did obvious damage.\n");
  checkConnectedNotUnevenlyBipartite(copy, 0);
  initialPruningLookAheadSequencing(copy, 0, 2, stop);
  if (copy.isHamiltonian == kUndecided) {
    disjunctionScan(copy, 0);
    if (copy.isHamiltonian == kNotHamiltonian) {
      diagnostic("The graph did not survive the disjunction check.\n");
    } else {
      diagnostic("The graph survived the disjunction check.\n");
    }
  }
  if (copy.isHamiltonian == kUndecided && !isBiconnected(copy, 0)) copy.isHamiltonian = kNotHamiltonian;
  diagnostic("### Finished checking if the cut sequence did obvious damage.\n");
  if (copy.isHamiltonian != kUndecided) {
    diagnostic("### The cut sequence did obvious damage.\n");
    current.reset();
    return;
  }
  diagnostic("### About to overwrite graph.\n");
  diagnostic("### copy->howManyEdges = ", copy.howManyEdges, "\n");
  diagnostic("### copy->howManyUncuttables = ", copy.howManyUncuttable, "\n");
  graph.assignFrom(copy);
  const bool first = !best;
  best = std::move(current);
  diagnostic("\n###Found a new best cut sequence.\n");
  if (first) {
    diagnostic("###The best cut sequence so far has percentage ", best->percentage, "\n\n");
  } else {
    diagnostic("\n###The best cut sequence so far has percentage ", best->percentage, "\n\n");
    diagnostic("###Printing to best.txt.\n");
  }
  if (!options.writeGraph) return;
  const std::string error = options.writeGraph(graph, options.bestFileName);
  if (!error.empty()) diagnostic("Could not write ", options.bestFileName, ": ", error, "\n");
}

}  // namespace hc
