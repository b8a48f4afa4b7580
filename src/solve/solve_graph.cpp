#include "solve/solve_graph.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "cohc/search_tree.h"
#include "core/diagnostics.h"
#include "core/edge_snapshot.h"
#include "core/hamiltonian_cycle_check.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/stone_carver.h"
#include "solve/cohc_certificate.h"
#include "solve/decomposed_solve.h"
#include "solve/frontier_search.h"
#include "solve/root_pruning.h"
#include "solve/rotation_finder.h"
#include "solve/sat_worker.h"
#include "solve/solve_certificate.h"

namespace hc {

namespace {

using Clock = std::chrono::steady_clock;

// Above this many nodes only the rotation finder runs beside the coordinating thread.
constexpr int32_t kFinderOnlyNodeLimit = 300000;
// The probe gives up after this long (its tree nodes slow down on large graphs, where the
// portfolio's members would otherwise wait for it).
constexpr double kProbeSeconds = 0.5;
// The clause learner's share of a one-thread run without a time limit.
constexpr double kSatSliceSeconds = 2.0;

// What stopped a run that `run` stopped: a deadline (this run's time limit or the caller's)
// or a request.
void noteStop(const StopToken& run, SolveResult& out) {
  out.timedOut = run.reason() == StopReason::kDeadline;
  out.interrupted = !out.timedOut;
}

// Takes a decision into `out`: a cycle must pass the check against the graph as given (one
// that fails is dropped with a diagnostic line, and false is returned) and is reported from
// node 0, as every front end shows cycles.
bool acceptDecision(const EdgeSnapshot& snapshot, HamiltonicityState verdict, std::vector<int32_t> cycle,
                    const char* method, SolveResult& out) {
  if (verdict == kHamiltonian) {
    if (const CycleCheck check = isHamiltonianCycle(snapshot, cycle); !check) {
      diagnostic("solve: the ", method, " reported a cycle that fails the check (", check.fault, "); it is ignored.\n");
      return false;
    }
    std::rotate(cycle.begin(), std::find(cycle.begin(), cycle.end(), 0), cycle.end());
  }
  out.verdict = verdict;
  out.cycle = std::move(cycle);
  out.method = method;
  return true;
}

// What the workers share with the coordinating thread. `stop` is a child of the run's
// token: the coordinator stops it (and so every worker) once the race is over, without
// touching the caller's token.
class Race {
 public:
  Race(const EdgeSnapshot& snapshot, const StopToken& run) : stop(&run), snapshot_(snapshot) {}

  // A worker's decision (with what its certificate needs, when one is asked for); the first
  // one that holds (a cycle must pass the check) wins.
  void report(HamiltonicityState verdict, std::vector<int32_t> cycle, const char* method,
              ProofPiece piece = {}) {
    std::lock_guard<std::mutex> guard(lock_);
    if (decided_ || !acceptDecision(snapshot_, verdict, std::move(cycle), method, result_)) return;
    decided_ = true;
    piece_ = std::move(piece);
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

  // Waits until a decision, until every worker gave up, or until the run's token (the
  // caller's request or a deadline) says stop; then tells every worker to stop.
  void await(const StopToken& run, SolveResult& out, ProofPiece& piece) {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
      if (decided_ || running_ == 0) break;
      if (run.stopRequested()) {
        noteStop(run, out);
        break;
      }
      changed_.wait_for(guard, std::chrono::milliseconds(5));
    }
    stop.requestStop();
    if (decided_) {
      out.verdict = result_.verdict;
      out.cycle = std::move(result_.cycle);
      out.method = result_.method;
      out.timedOut = out.interrupted = false;
      piece = std::move(piece_);
    }
  }

  StopToken stop;
  std::atomic<int64_t> treeNodes{0};
  std::atomic<int32_t> deepestDepth{0};

 private:
  const EdgeSnapshot& snapshot_;
  std::mutex lock_;
  std::condition_variable changed_;
  bool decided_ = false;
  int32_t running_ = 0;
  SolveResult result_;
  ProofPiece piece_;
};

void runSearch(const Graph& root, Race& race, ExactSearchProgress* progress, bool certify) {
  Graph copy(root);
  StopToken stop(&race.stop);
  ProofPiece piece;
  ExactSearchOptions options;
  if (certify) options.proofLog = &piece.searchLog;
  ExactSearchResult found = exactSearch(copy, stop, options, progress);
  race.treeNodes.store(found.treeNodes);
  race.deepestDepth.store(found.deepestDepth);
  if (found.verdict != kUndecided)
    race.report(found.verdict, std::move(found.cycle), "exact search", std::move(piece));
}

// `slice` > 0: the finder gives up after that long (its own deadline, which does not end
// the race).
void runFinder(const Graph& root, Race& race, uint32_t seed, double slice) {
  StopToken stop(&race.stop);
  stop.setTimeLimit(slice);
  RotationFinderResult found = findCycleByRotation(root, seed, stop);
  if (found.found) race.report(kHamiltonian, std::move(found.cycle), "rotation-extension");
}

void runMill(const Graph& root, Race& race, int32_t threads) {
  Graph copy(root);
  copy.version = 5;
  SchcOptions options;
  options.threads = threads;
  SchcOutcome outcome;
  // The race's stop also ends a long iteration part-way.
  HamiltonicityState verdict = runProbabilityMill(copy, &race.stop, nullptr, options, &outcome);
  if (verdict == kHamiltonian && !outcome.cycle.empty())
    race.report(kHamiltonian, std::move(outcome.cycle), "probability mill");
}

// The clause-learning worker on the root as the probe left it, its deleted edges as negated
// units; `slice` > 0 gives it that many seconds only.
void runSat(const Graph& root, const EdgeSnapshot& snapshot, Race& race, uint32_t seed, double slice,
            bool certify) {
  StopToken stop(&race.stop);
  if (slice > 0.0) stop.setTimeLimit(slice);
  SatWorkerOptions options;
  options.seed = seed;
  options.keepFormula = certify;  // the subtour clauses' node sets
  SatWorkerResult found = decideBySat(root, &snapshot, stop, options);
  if (found.verdict == Verdict::Undecided) return;
  ProofPiece piece;
  for (SubtourClause& clause : found.formula.subtours) piece.subtours.push_back(std::move(clause.nodes));
  race.report(found.verdict == Verdict::Hamiltonian ? kHamiltonian : kNotHamiltonian, std::move(found.cycle),
              "clause learning", std::move(piece));
}

// The proof system at level 5: far fewer tree nodes than the exact search on small
// cubic graphs (its nodes run look-ahead and the cut checks), at a graph copy per depth.
void runProofSystem(const Graph& graph, Race& race, bool certify) {
  Graph copy(graph);
  copy.outputFileName.clear();
  CohcOptions options;
  options.writeCycleFile = false;
  std::unique_ptr<CohcCertificate> recorder;
  if (certify) {
    recorder = std::make_unique<CohcCertificate>(graph);
    options.observer = recorder.get();
  }
  CohcResult result = runCoHC(copy, options, &race.stop);
  if (result.aborted || result.verdict == kUndecided) return;
  ProofPiece piece;
  if (recorder) piece.bodyComplete = recorder->finishBody(result.verdict, piece.body);
  race.report(result.verdict, std::move(result.cycle), "proof system", std::move(piece));
}

}  // namespace

SolveResult solveGraph(const Graph& graph, const SolveOptions& options, const StopToken* stop,
                       ExactSearchProgress* progress) {
  const Clock::time_point start = Clock::now();
  // The caller's stop and this run's time limit in one token.
  StopToken run(stop);
  run.setTimeLimit(options.timeLimitSeconds);
  SolveResult result;
  // What the deciding method leaves for the certificate, when one is asked for.
  const bool certify = options.certificate != nullptr;
  ProofPiece piece;
  auto finish = [&] {
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (certify) {
      options.certificate->clear();
      if (result.verdict == kNotHamiltonian) {
        // Bounded by the caller's stop only: the time limit was for the decision.
        StopToken writing(stop);
        const CertificateOutcome written = writeSolveCertificate(
            graph, result.method, piece, options, writing, result.seconds, *options.certificate);
        result.certified = written.certified;
        result.certificateNote = written.note;
        result.certificateSeconds =
            std::chrono::duration<double>(Clock::now() - start).count() - result.seconds;
      }
    }
    return result;
  };
  const EdgeSnapshot snapshot(graph);

  Graph root(graph);
  root.actionList.reset();
  RootPruningResult pruned = pruneRoot(root, options.seed);
  result.alternationDeletions = pruned.alternationDeletions;
  if (pruned.verdict == kNotHamiltonian) {
    result.verdict = kNotHamiltonian;
    result.method = pruned.byAlternation ? "alternation rule" : "root pruning";
    piece.independentSet = std::move(pruned.independentSet);
    return finish();
  }
  if (pruned.verdict == kHamiltonian) {
    acceptDecision(snapshot, kHamiltonian, hamiltonianCycleOrder(root), "root pruning", result);
    return finish();
  }

  // Graphs that fall apart at a small separator or a small edge cut, part by part.
  if (options.useDecomposition && graph.howManyNodes <= kFinderOnlyNodeLimit) {
    SolveResult parts;
    if (solveByDecomposition(root, options, run, parts)) {
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
    // The probe's own time cap: its tree nodes slow down on large graphs.
    StopToken probeStop(&run);
    probeStop.setTimeLimit(kProbeSeconds);
    ExactSearchOptions probe;
    probe.treeNodeLimit = probeLimit;
    if (certify) probe.proofLog = &piece.searchLog;
    probe.rootLookAheadEdgeLimit = probe.levelLookAheadEdgeLimit = -1;  // look-ahead can take seconds
    ExactSearchResult found = exactSearch(root, probeStop, probe, progress);
    result.treeNodes = found.treeNodes;
    result.deepestDepth = found.deepestDepth;
    if (found.verdict != kUndecided &&
        acceptDecision(snapshot, found.verdict, std::move(found.cycle), "exact search", result))
      return finish();
    root.isHamiltonian = kUndecided;
    if (run.stopRequested()) {
      noteStop(run, result);
      return finish();
    }
  }

  // Long, thin graphs the probe left open are decided by their frontier states; on any other
  // graph this gives up after one breadth-first pass.
  if (options.frontierWork > 0) {
    const FrontierSearchResult frontier = frontierSearch(EdgeSnapshot(root), run, options.frontierWork);
    if (frontier.verdict == kNotHamiltonian) {
      result.verdict = kNotHamiltonian;
      result.method = "frontier search";
      piece.searchedEdges = root.howManyEdges;
      return finish();
    }
  }

  Race race(snapshot, run);
  const int32_t threads = std::max(1, options.threads);
  const bool useSat = options.useSat && suitsSatWorker(graph.howManyNodes, graph.howManyEdges);
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
      // One worker: a short slice for the finder, a longer one for the clause learner, then
      // the complete search.
      const bool limited = options.timeLimitSeconds > 0.0;
      const double slice = limited ? std::max(0.05, 0.1 * options.timeLimitSeconds) : 0.25;
      const double satSlice = limited ? std::max(0.05, 0.3 * options.timeLimitSeconds) : kSatSliceSeconds;
      const bool finder = options.useFinder;
      const bool sat = useSat;
      launch([&root, &snapshot, &race, &options, progress, slice, satSlice, finder, sat, certify] {
        if (finder) runFinder(root, race, options.seed, slice);
        if (sat && !race.stop.stopRequested()) runSat(root, snapshot, race, options.seed, satSlice, certify);
        if (!race.stop.stopRequested()) runSearch(root, race, progress, certify);
      });
    } else if (finderOnly) {
      // Too large for the search tree or the mill to decide in time; their graph copies and
      // threads would only slow the finder down on a machine with few cores.
      launch([&root, &race, &options] { runFinder(root, race, options.seed, 0.0); });
    } else {
      launch([&root, &race, progress, certify] { runSearch(root, race, progress, certify); });
      launch([&root, &race, &options] { runFinder(root, race, options.seed, 0.0); });
      const bool proofSystem = threads >= 4 && options.useProofSystem && graph.howManyEdges <= options.proofSystemEdgeLimit;
      // The clause learner takes a mill thread when there is one, and is one more otherwise.
      const int32_t millThreads = threads - 2 - (proofSystem ? 1 : 0) - (useSat && threads >= 3 ? 1 : 0);
      if (useSat)
        launch([&root, &snapshot, &race, &options, certify] {
          runSat(root, snapshot, race, options.seed, 0.0, certify);
        });
      if (millThreads >= 1 && options.useMill) launch([&root, &race, millThreads] { runMill(root, race, millThreads); });
      if (proofSystem) launch([&graph, &race, certify] { runProofSystem(graph, race, certify); });
    }
    race.await(run, result, piece);
  }  // every worker is joined here
  result.treeNodes = race.treeNodes.load();
  result.deepestDepth = race.deepestDepth.load();
  return finish();
}

}  // namespace hc
