#include "solve/solve_graph.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

#include "cohc/search_tree.h"
#include "core/diagnostics.h"
#include "core/edge_snapshot.h"
#include "core/hamiltonian_cycle_check.h"
#include "core/random.h"
#include "core/trivial_verdict.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/stone_carver.h"
#include "solve/alternation_rule.h"
#include "solve/cohc_certificate.h"
#include "solve/colouring_worker.h"
#include "solve/decomposed_solve.h"
#include "solve/frontier_search.h"
#include "solve/linear_relaxation.h"
#include "solve/piece_contraction.h"
#include "solve/root_pruning.h"
#include "solve/rotation_finder.h"
#include "solve/sat_certificate.h"
#include "solve/sat_worker.h"
#include "solve/solve_certificate.h"

namespace hc {

namespace {

using Clock = std::chrono::steady_clock;

// Above this many nodes the portfolio is the finder twice (its own seeds) and one complete
// method (the search and the clause learner by turns): the mill and the proof system do not
// decide such graphs in time, and their graph copies and threads would only slow the finders
// down on a machine with few cores. The probe is skipped there too (its descent runs for its
// whole cap without deciding).
constexpr int32_t kLargeNodeLimit = 100000;
// The decomposition rules are skipped above this many nodes.
constexpr int32_t kDecompositionNodeLimit = 300000;
// Above this many nodes a large graph has no complete method beside the finders (the
// clause learner's clauses grow past memory, the search's copy and walk past any use).
constexpr int32_t kLargeSatNodeLimit = 300000;

// Marks parts as working (SolveActivity) while in scope; does nothing without an activity.
class Working {
 public:
  Working(SolveActivity* activity, uint32_t bits) : activity_(activity), bits_(bits) {
    if (activity_) activity_->runningParts.fetch_or(bits_, std::memory_order_relaxed);
  }
  ~Working() {
    if (activity_) activity_->runningParts.fetch_and(~bits_, std::memory_order_relaxed);
  }
  Working(const Working&) = delete;
  Working& operator=(const Working&) = delete;

 private:
  SolveActivity* activity_;
  uint32_t bits_;
};

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
                    DecidedBy method, SolveResult& out) {
  if (verdict == kHamiltonian) {
    if (const CycleCheck check = isHamiltonianCycle(snapshot, cycle); !check) {
      diagnostic("solve: the ", decidedByName(method), " reported a cycle that fails the check (",
                 check.fault, "); it is ignored.\n");
      return false;
    }
    std::rotate(cycle.begin(), std::find(cycle.begin(), cycle.end(), 0), cycle.end());
  }
  out.verdict = verdict;
  out.cycle = std::move(cycle);
  out.decidedBy = method;
  return true;
}

// What the workers share with the coordinating thread. `stop` is a child of the run's
// token: the coordinator stops it (and so every worker) once the race is over, without
// touching the caller's token.
class Race {
 public:
  Race(const EdgeSnapshot& snapshot, const StopToken& run, SolveActivity* activity)
      : stop(&run), activity(activity), snapshot_(snapshot) {}

  // A worker's decision (with what its certificate needs, when one is asked for); the first
  // one that holds (a cycle must pass the check) wins, and stops everything that runs under
  // `stop`.
  void report(HamiltonicityState verdict, std::vector<int32_t> cycle, DecidedBy method,
              ProofPiece piece = {}) {
    std::lock_guard<std::mutex> guard(lock_);
    if (decided_ || !acceptDecision(snapshot_, verdict, std::move(cycle), method, result_)) return;
    decided_ = true;
    piece_ = std::move(piece);
    stop.requestStop();
    changed_.notify_all();
  }
  bool decided() {
    std::lock_guard<std::mutex> guard(lock_);
    return decided_;
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
    while (!decided_ && running_ > 0 && !run.stopRequested())
      changed_.wait_for(guard, std::chrono::milliseconds(5));
    // Workers that gave up because the run was stopped leave it undecided by that stop.
    if (!decided_ && run.stopRequested()) noteStop(run, out);
    stop.requestStop();
    if (decided_) {
      out.verdict = result_.verdict;
      out.cycle = std::move(result_.cycle);
      out.decidedBy = result_.decidedBy;
      out.timedOut = out.interrupted = false;
      piece = std::move(piece_);
    }
  }

  // Waits as await does, but stops nothing, and gives up once the process has spent
  // `seconds` of CPU time from now (the workers' time, not the clock's: on a loaded machine
  // they get less of it). True when the race is over: decided, or the run stopped.
  bool awaitFor(const StopToken& run, double seconds) {
    const std::clock_t from = std::clock();
    auto spent = [from] { return static_cast<double>(std::clock() - from) / CLOCKS_PER_SEC; };
    std::unique_lock<std::mutex> guard(lock_);
    while (!decided_ && running_ > 0 && !run.stopRequested() && spent() < seconds)
      changed_.wait_for(guard, std::chrono::milliseconds(5));
    return decided_ || run.stopRequested();
  }

  StopToken stop;
  SolveActivity* const activity;  // may be null
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

// What passes the certificate's bound, as its note names it.
constexpr const char* kSearchLog = "exact search's proof log";

// How long the exact search takes to a cycle varies by orders of magnitude with the seed
// that breaks its ties: a descent that needs no backtracking under one seed backtracks for
// thousands of tree nodes under another. So the first walks are cut short after a doubling
// budget (at least kFirstRestartBudget tree nodes, so that small graphs and the census never
// restart), each under a fresh seed, while `total` (0: no bound) leaves room; the last walk
// gets the rest. A refutation costs at most 2^kRestarts first budgets more. The root's
// look-ahead runs once, in the first walk: its facts stay in the graph. A walk that records
// its proof keeps them in its log only, which the next walk starts afresh; so where the
// look-ahead runs, a recorded walk is never cut short.
constexpr int64_t kFirstRestartBudget = 1000;
constexpr int kRestarts = 4;
ExactSearchResult searchWithRestarts(Graph& graph, const StopToken& stop, ExactSearchOptions options,
                                     ExactSearchProgress* progress, int64_t total) {
  const uint32_t seed = options.seed;
  const int restarts =
      options.proofLog != nullptr && graph.howManyEdges <= options.rootLookAheadEdgeLimit ? 0 : kRestarts;
  int64_t budget = std::max<int64_t>(kFirstRestartBudget, graph.howManyNodes / 4);
  int64_t walked = 0;
  for (int attempt = 0;; ++attempt, budget *= 2) {
    if (attempt > 0) options.rootLookAheadEdgeLimit = -1;
    const bool cutShort = attempt < restarts && (total == 0 || total - walked > 2 * budget);
    options.treeNodeLimit = cutShort ? budget : total == 0 ? 0 : total - walked;
    options.seed = seed + static_cast<uint32_t>(attempt) * 0x9E3779B9u;
    ExactSearchResult found = exactSearch(graph, stop, options, progress);
    walked += found.treeNodes;
    if (found.verdict != kUndecided || !cutShort || stop.stopRequested()) {
      found.treeNodes = walked;
      return found;
    }
  }
}

// `slice` > 0: the search gives up after that long (its own deadline, which does not end the
// race).
// `round` > 0: a later turn, drawn from a seed of its own (the search's time to a cycle is
// heavy-tailed in its seed: a fresh draw beats walking the same unlucky one further).
void runSearch(const Graph& root, Race& race, ExactSearchProgress* progress, const SolveOptions& given,
               bool certify, double slice = 0.0, uint32_t round = 0) {
  const Working working(race.activity, solvePartBit(kPartExactSearch));
  std::optional<Graph> copied = Graph::copyUnlessStopped(root, &race.stop);
  if (!copied) return;
  Graph& copy = *copied;
  StopToken stop(&race.stop);
  if (slice > 0.0) stop.setTimeLimit(slice);
  ProofPiece piece;
  ExactSearchOptions options;
  options.seed = given.seed + round;
  if (certify) options.proofLog = &piece.searchLog;
  options.proofLogLimitBytes = given.certificateLimitBytes;
  if (given.useRelaxation && given.searchRelaxationTreeNodes > 0) {
    options.relaxationLevels = kSearchRelaxationLevels;
    options.relaxationTreeNodes = given.searchRelaxationTreeNodes;
  }
  ExactSearchResult found = searchWithRestarts(copy, stop, options, progress, 0);
  if (found.proofLogDropped) piece.passedLimit = kSearchLog;
  race.treeNodes.store(found.treeNodes);
  race.deepestDepth.store(found.deepestDepth);
  if (found.verdict != kUndecided)
    race.report(found.verdict, std::move(found.cycle), DecidedBy::kExactSearch, std::move(piece));
}

// `slice` > 0: the finder gives up after that long (its own deadline, which does not end
// the race); `workLimit` > 0: after that much work (RotationFinder::run).
// The finder's first slice, before anything else, in its units of work (neighbour entries
// examined): a few passes over the edges and some per node. On most graphs it finds a cycle
// from the given edges alone in that much; on the others it costs a small part of what
// reading the graph took, which the root phases spend many times over.
constexpr int64_t kFirstSliceWorkPerEdge = 8;
// Smaller graphs go through the root rules and the probe first: they take microseconds
// there, and a verdict of the rules names them. (Above a thousand edges the phases after
// the probe cost tens of milliseconds, where the odd graph O_6, 1,386 edges, needs half a
// millisecond of the finder.)
constexpr int32_t kFirstSliceEdges = 1000;
constexpr int64_t kFirstSliceWorkPerNode = 30;

void runFinder(RotationFinder& finder, Race& race, double slice, int64_t workLimit = 0) {
  const Working working(race.activity, solvePartBit(kPartRotationExtension));
  StopToken stop(&race.stop);
  stop.setTimeLimit(slice);
  RotationFinderResult found = finder.run(stop, workLimit);
  if (found.found) race.report(kHamiltonian, std::move(found.cycle), DecidedBy::kRotationExtension);
}
void runFinder(const Graph& root, Race& race, uint32_t seed, double slice) {
  RotationFinder finder(root, seed);
  runFinder(finder, race, slice);
}

// The workers' threads; every one is told to stop and joined when the crew goes.
class Crew {
 public:
  explicit Crew(Race& race) : race_(race) {}
  ~Crew() { joinAll(); }
  template <class Body>
  void launch(Body body) {
    race_.workerStarted();
    threads_.emplace_back([this, body = std::move(body)]() mutable {
      body();
      race_.workerDone();
    });
  }
  void joinAll() {
    race_.stop.requestStop();
    threads_.clear();
  }

 private:
  Race& race_;
  std::vector<std::jthread> threads_;
};

// A graph with this many edges per node on average, or with no node of degree 2, gives
// the finder the graph as given, before the root pruning: there the pruning forces nothing
// from degree-2 nodes and costs far more than the finder takes (it cuts hundreds of
// thousands of edges on a dense graph).
constexpr int32_t kDenseEdgesPerNode = 8;
// Dense graphs of at least this many edges keep the finder going beside the root phases.
constexpr int32_t kDenseFinderEdges = 2000;

bool isDense(const Graph& graph) {
  return graph.howManyEdges >= kDenseEdgesPerNode * static_cast<int64_t>(graph.howManyNodes);
}

// Whether the finder may start on the graph as given rather than the pruned root.
bool finderSkipsPruning(const Graph& graph) {
  if (isDense(graph)) return true;
  for (int32_t v = 0; v < graph.howManyNodes; ++v)
    if (graph.node(v).degree <= 2) return false;
  return true;
}

void runMill(const Graph& root, Race& race, int32_t threads) {
  const Working working(race.activity, solvePartBit(kPartProbabilityMill));
  std::optional<Graph> copied = Graph::copyUnlessStopped(root, &race.stop);
  if (!copied) return;
  Graph& copy = *copied;
  copy.version = 5;
  SchcOptions options;
  options.threads = threads;
  SchcOutcome outcome;
  // The race's stop also ends a long iteration part-way.
  HamiltonicityState verdict = runProbabilityMill(copy, &race.stop, nullptr, options, &outcome);
  if (verdict == kHamiltonian && !outcome.cycle.empty())
    race.report(kHamiltonian, std::move(outcome.cycle), DecidedBy::kProbabilityMill);
}

// The clause-learning worker on the root as the probe left it, its deleted edges as negated
// units. With a certificate asked for it solves the checker's formula of the branch instead
// (the root rules' deletions, which the checker does not know, left out), keeping its subtour
// clauses' node sets and its proof, so the certificate needs no second solve. It builds its
// formula at its first turn; one worker taken up in turns goes on where its last turn stopped.
std::unique_ptr<SatWorker> satWorkerFor(const Graph& graph, const Graph& root, const EdgeSnapshot& snapshot,
                                        const SolveOptions& given, bool certify) {
  SatWorkerOptions options;
  options.seed = given.seed;
  if (!certify) return std::make_unique<SatWorker>(root, &snapshot, options);
  options.keepFormula = true;
  try {
    CertificateWriter writer(graph);
    applyBranch(writer.branch(), given.branch);
    SatWorkerOptions traced = options;
    traced.traceProof = true;
    traced.proofLimitBytes = given.certificateLimitBytes;
    return std::make_unique<SatWorker>(checkerProblemOf(writer.branch()), traced);
  } catch (const std::bad_alloc&) {
    // No memory for the checker's formula beside the graph: the worker's own, built inside
    // its memory guard (the certificate then solves again).
    return std::make_unique<SatWorker>(root, &snapshot, options);
  }
}

// A turn of the clause-learning worker; `slice` > 0 gives it that many seconds only.
void runSat(SatWorker& worker, Race& race, double slice) {
  const Working working(race.activity, solvePartBit(kPartClauseLearning));
  StopToken stop(&race.stop);
  if (slice > 0.0) stop.setTimeLimit(slice);
  SatWorkerResult found = worker.run(stop);
  if (found.verdict == Verdict::kUndecided) return;
  ProofPiece piece;
  for (SubtourClause& clause : found.formula.subtours) piece.subtours.push_back(std::move(clause.nodes));
  piece.satProof = std::move(found.proof);
  if (found.proofDropped) piece.passedLimit = "clause learner's proof";
  race.report(found.verdict == Verdict::kHamiltonian ? kHamiltonian : kNotHamiltonian, std::move(found.cycle),
              DecidedBy::kClauseLearning, std::move(piece));
}

// Whether the relaxation gave up because its own slice ran out (not the race's stop): a
// longer slice may still decide.
bool cutShortBySlice(const LinearRelaxationResult& found, const StopToken& slice, const Race& race) {
  return found.outcome == RelaxationOutcome::kGaveUp && slice.stopRequested() && !race.stop.stopRequested();
}

// The linear relaxation beside the other workers, until it decides or the race ends.
// `slice` > 0: it gives up after that long. True when that slice (not the race) cut it
// short, so that a longer one may still decide.
bool runRelaxation(const Graph& root, Race& race, double slice = 0.0) {
  const Working working(race.activity, solvePartBit(kPartLinearRelaxation));
  StopToken stop(&race.stop);
  if (slice > 0.0) stop.setTimeLimit(slice);
  LinearRelaxationResult found = solveLinearRelaxation(root, stop);
  if (found.outcome != RelaxationOutcome::kNoCycle) return cutShortBySlice(found, stop, race);
  ProofPiece piece;
  piece.relaxation = std::move(found.proof);
  race.report(kNotHamiltonian, {}, DecidedBy::kLinearRelaxation, std::move(piece));
  return false;
}

// The colouring race on the graph as given (the checker's own formula, so that its proof is
// the certificate's part as it stands); it only ever refutes. `slice` as for runSat.
void runColouring(const EdgeSnapshot& snapshot, Race& race, uint32_t seed, double slice, bool certify,
                  int64_t limitBytes) {
  const Working working(race.activity, solvePartBit(kPartClauseLearning));
  StopToken stop(&race.stop);
  if (slice > 0.0) stop.setTimeLimit(slice);
  const BranchState branch(snapshot.nodes(), snapshot.edgeList());
  ColouringRefutation found = refuteColouring(branch, stop, seed, certify ? limitBytes : -1);
  if (!found.refuted) return;
  ProofPiece piece;
  piece.colouringProof = std::move(found.proof);
  if (found.proofDropped) piece.passedLimit = "colouring proof";
  race.report(kNotHamiltonian, {}, DecidedBy::kClauseLearning, std::move(piece));
}

// The proof system at level 5: far fewer tree nodes than the exact search on small
// cubic graphs (its nodes run look-ahead and the cut checks), at a graph copy per depth.
void runProofSystem(const Graph& graph, Race& race, bool certify, int64_t limitBytes) {
  const Working working(race.activity, solvePartBit(kPartProofSystem));
  std::optional<Graph> copied = Graph::copyUnlessStopped(graph, &race.stop);
  if (!copied) return;
  Graph& copy = *copied;
  copy.outputFileName.clear();
  CohcOptions options;
  options.writeCycleFile = false;
  std::unique_ptr<CohcCertificate> recorder;
  if (certify) {
    recorder = std::make_unique<CohcCertificate>(graph, limitBytes);
    options.observer = recorder.get();
  }
  CohcResult result = runCoHC(copy, options, &race.stop);
  if (result.aborted || result.verdict == kUndecided) return;
  ProofPiece piece;
  if (recorder) {
    piece.bodyComplete = recorder->finishBody(result.verdict, piece.body);
    if (recorder->passedLimit()) piece.passedLimit = "proof system's certificate";
  }
  race.report(result.verdict, std::move(result.cycle), DecidedBy::kProofSystem, std::move(piece));
}

}  // namespace

// The probe gives up after this long (its tree nodes slow down on large graphs, where the
// portfolio's members would otherwise wait for it).
constexpr double kProbeSeconds = 0.5;
// The probe's share before the decomposition rules.
constexpr double kQuickProbeSeconds = 0.05;
// The linear relaxation's share of the time limit (SolveOptions::relaxationSeconds without one).
constexpr double kRelaxationShare = 0.2;
// The clause learner's share of a one-thread run without a time limit.
constexpr double kSatSliceSeconds = 2.0;
// How long a part of a split gives its clause learners alone (solveGraph), in CPU seconds,
// and the share of its time limit when that is shorter.
constexpr double kCubeSatSeconds = 20.0;
constexpr double kCubeSatShare = 0.5;
// On a large graph the search's and the clause learner's first turns (a share of the time
// limit when that is shorter).
constexpr double kLargeSearchSeconds = 2.0;
constexpr double kLargeSearchShare = 0.1;

SolveResult solveGraph(const Graph& graph, const SolveOptions& options, const StopToken* stop,
                       ExactSearchProgress* progress, SolveActivity* activity) {
  const Clock::time_point start = Clock::now();
  // The caller's stop and this run's time limit in one token.
  StopToken run(stop);
  run.setTimeLimit(options.timeLimitSeconds);
  SolveResult result;
  // What the deciding method leaves for the certificate, when one is asked for.
  const bool certify = options.certificate != nullptr;
  const int64_t limitBytes = options.certificateLimitBytes;
  ProofPiece piece;
  auto finish = [&] {
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (certify) {
      options.certificate->clear();
      if (result.verdict == kNotHamiltonian) {
        // Bounded by the caller's stop only: the time limit was for the decision.
        StopToken writing(stop);
        const CertificateOutcome written = writeSolveCertificate(
            graph, result.decidedBy, piece, options, writing, result.seconds, *options.certificate);
        result.certified = written.certified;
        result.certificateNote = written.note;
        result.certificateSeconds =
            std::chrono::duration<double>(Clock::now() - start).count() - result.seconds;
      }
    }
    return result;
  };
  // A graph the first root rules reject (fewer than three nodes, fewer edges than nodes, a
  // node of degree below two) is answered from its degrees, as the root pruning would
  // answer it, without the snapshot or the copy: a file of millions of isolated nodes
  // must not cost their solver records twice over. The copy's reseed is kept, so the
  // random sequence after the call is the one the full road leaves.
  if (trivialVerdict(graph) == Verdict::kNonHamiltonian) {
    reseedFromClock(graphClockSeed());
    result.verdict = kNotHamiltonian;
    result.decidedBy = DecidedBy::kRootPruning;
    return finish();
  }
  const int32_t threads = std::max(1, options.threads);
  // A dense graph, or a large one with nothing for the pruning to force, has the finder
  // before or beside the root phases.
  const bool dense = isDense(graph) && graph.howManyEdges >= kDenseFinderEdges;
  // The finder's first slice runs before the pruning, so the linear rules come first, on the
  // graph as given: a disconnected, unevenly bipartite or separable graph, or (dense) one with
  // an independent set of more than half its nodes, must not wait for the finder.
  const bool firstSlice = options.useFinder && graph.howManyEdges >= kFirstSliceEdges;
  const bool given = options.givenEdges != nullptr && options.givenEdges->holdsEdgesOf(graph);
  const EdgeSnapshot ownSnapshot = given ? EdgeSnapshot() : EdgeSnapshot(graph);
  const EdgeSnapshot& snapshot = given ? *options.givenEdges : ownSnapshot;
  if (firstSlice) {
    const Working working(activity, solvePartBit(kPartRootPruning) | solvePartBit(kPartAlternationRule));
    if (failsCheapChecks(snapshot, &run)) {
      result.verdict = kNotHamiltonian;
      result.decidedBy = DecidedBy::kRootPruning;
      return finish();
    }
    if (dense) piece.independentSet = refutingIndependentSet(graph, options.seed);
    if (!piece.independentSet.empty()) {
      result.verdict = kNotHamiltonian;
      result.decidedBy = DecidedBy::kAlternationRule;
      return finish();
    }
    // A stopped check passes: the run ends here, not after the snapshot and the finder's
    // records, which cost a second on a graph of millions of nodes.
    if (run.stopRequested()) {
      noteStop(run, result);
      return finish();
    }
  }
  const bool large = graph.howManyNodes > kLargeNodeLimit;
  const bool limited = options.timeLimitSeconds > 0.0;
  // The finder's share of a one-thread run.
  const double finderSlice = limited ? std::max(0.05, 0.1 * options.timeLimitSeconds) : 0.25;
  // The race and its workers exist from the start: the finder may run beside the root
  // phases below, and its cycle ends them (they run under the race's stop).
  std::optional<Graph> pruned;  // the root; made below, outlives the workers that read it
  Race race(snapshot, run, activity);
  Crew crew(race);
  bool finderStarted = false;
  bool finderSliceDone = false;
  auto startFinder = [&](const Graph& from) {
    auto finder = std::make_shared<RotationFinder>(from, options.seed);  // copied before `from` changes
    crew.launch([finder, &race] { runFinder(*finder, race, 0.0); });
    finderStarted = true;
  };
  // A decision of the race (the finder beside the root phases) ends the run.
  auto raceDecided = [&] {
    if (!race.decided()) return false;
    race.await(run, result, piece);
    return true;
  };
  if (firstSlice) {
    // The finder first, on this thread, for a slice bounded by work; then, where the root
    // phases would keep it waiting long (a dense graph, or a large one without a node of
    // degree 2), on with it beside the rest.
    if (run.stopRequested()) {
      noteStop(run, result);
      return finish();
    }
    auto finder = std::make_shared<RotationFinder>(graph, options.seed);
    runFinder(*finder, race, 0.0,
              kFirstSliceWorkPerEdge * graph.howManyEdges + kFirstSliceWorkPerNode * graph.howManyNodes);
    if (raceDecided()) return finish();
    if (threads == 1 && dense) {
      // One thread: the pruning costs far more than the finder takes here, so the finder
      // has its whole share now.
      runFinder(*finder, race, finderSlice);
      finderSliceDone = true;
      if (raceDecided()) return finish();
    }
    if (threads > 1 &&
        (dense || (graph.howManyEdges >= options.earlyFinderEdges && finderSkipsPruning(graph)))) {
      crew.launch([finder, &race] { runFinder(*finder, race, 0.0); });
      finderStarted = true;
    }
  }

  std::optional<Graph> copied = Graph::copyUnlessStopped(graph, &race.stop);
  if (!copied) {
    if (raceDecided()) return finish();
    noteStop(run, result);
    return finish();
  }
  Graph& root = pruned.emplace(std::move(*copied));
  root.actionList.reset();
  RootPruningResult pruning;
  {
    const Working working(activity, solvePartBit(kPartRootPruning) | solvePartBit(kPartAlternationRule));
    pruning = pruneRoot(root, options.seed, &race.stop);
    if (pruning.verdict == kUndecided && !options.branch.empty())
      pruning.verdict = applyBranch(root, options.branch);
  }
  result.alternationDeletions = pruning.alternationDeletions;
  if (pruning.verdict == kNotHamiltonian) {
    result.verdict = kNotHamiltonian;
    result.decidedBy = pruning.byAlternation ? DecidedBy::kAlternationRule : DecidedBy::kRootPruning;
    piece.independentSet = std::move(pruning.independentSet);
    piece.alternationSets = std::move(pruning.alternationSets);
    return finish();
  }
  if (pruning.verdict == kHamiltonian) {
    acceptDecision(snapshot, kHamiltonian, hamiltonianCycleOrder(root), DecidedBy::kRootPruning, result);
    return finish();
  }
  if (raceDecided()) return finish();
  if (run.stopRequested()) {
    noteStop(run, result);
    return finish();
  }
  if (threads > 1 && options.useFinder && !finderStarted && graph.howManyEdges >= options.earlyFinderEdges)
    startFinder(root);

  // The probe: a short exact search here. It leaves the root as it found it, so the
  // portfolio starts from it. On a large graph it would only keep the portfolio waiting:
  // its descent runs for minutes there without deciding. True when it decided or the run
  // was stopped (the result is filled in).
  const int64_t probeLimit = options.probeNodesPerNode * graph.howManyNodes + options.probeNodes;
  const bool probing = probeLimit > 0 && !(large && threads > 1 && options.useFinder);
  const bool useSat = options.useSat && suitsSatWorker(graph.howManyNodes, graph.howManyEdges) &&
                      (!large || graph.howManyNodes <= kLargeSatNodeLimit);
  // A part of a split starts with the clause learners (see below); with one worker the
  // relaxation's slice comes after their first turn. Its probe is the short one: every part
  // repeats it, and the whole probe's half second was a seventh of a part's time on a 3-SAT
  // reduction of 46,000 nodes split in 256, where it decided none.
  const bool satFirst = !options.branch.empty() && useSat;
  const double probeSeconds = satFirst ? kQuickProbeSeconds : kProbeSeconds;
  int64_t probed = 0;  // tree nodes the probe has walked
  auto probeRoot = [&](int64_t treeNodeLimit, double seconds, uint32_t round = 0) {
    // The probe's own time cap: its tree nodes slow down on large graphs.
    StopToken probeStop(&race.stop);
    probeStop.setTimeLimit(seconds);
    ExactSearchOptions probe;
    probe.seed = options.seed + round * 0x7F4A7C15u;
    probe.rootLookAheadEdgeLimit = probe.levelLookAheadEdgeLimit = -1;  // look-ahead can take seconds
    if (options.useRelaxation && options.searchRelaxationTreeNodes > 0) {
      probe.relaxationLevels = kSearchRelaxationLevels;
      probe.relaxationTreeNodes = options.searchRelaxationTreeNodes;
    }
    if (certify) probe.proofLog = &piece.searchLog;
    probe.proofLogLimitBytes = options.certificateLimitBytes;
    ExactSearchResult found = searchWithRestarts(root, probeStop, probe, progress, treeNodeLimit);
    // Only a refutation of its own needs the log (a later part's decision must not read this).
    piece.passedLimit = found.proofLogDropped && found.verdict == kNotHamiltonian ? kSearchLog : "";
    probed += found.treeNodes;
    result.treeNodes = found.treeNodes;
    result.deepestDepth = found.deepestDepth;
    if (raceDecided()) return true;
    if (found.verdict != kUndecided &&
        acceptDecision(snapshot, found.verdict, std::move(found.cycle), DecidedBy::kExactSearch, result))
      return true;
    root.isHamiltonian = kUndecided;
    if (run.stopRequested()) {
      noteStop(run, result);
      return true;
    }
    return false;
  };

  // Graphs that fall apart at a small separator or a small edge cut, part by part; the
  // probe first, for a short while, since the rules cost more than the search takes on most
  // graphs it finds a cycle in. (Its tree nodes count against the whole probe's: a second
  // probe would walk another tree, the undo log having reordered the neighbours.)
  if (options.useDecomposition && graph.howManyNodes <= kDecompositionNodeLimit) {
    if (probing && probeRoot(probeLimit, kQuickProbeSeconds)) return finish();
    SolveResult parts;
    bool applied = false;
    {
      const Working working(activity, solvePartBit(kPartSeparator) | solvePartBit(kPartEdgeCut));
      applied = solveByDecomposition(root, options, race.stop, parts);
    }
    if (raceDecided()) return finish();
    if (applied) {
      result.treeNodes = parts.treeNodes;
      if (parts.verdict != kUndecided &&
          acceptDecision(snapshot, parts.verdict, std::move(parts.cycle), parts.decidedBy, result))
        return finish();
      if (parts.timedOut || parts.interrupted) {
        result.timedOut = parts.timedOut;
        result.interrupted = parts.interrupted;
        return finish();
      }
    }
    // Then pieces every cycle passes whole, contracted, and sides of 4-edge cuts bypassed:
    // the smaller graph decided by solve.
    PieceOutcome pieces;
    {
      const Working working(activity, solvePartBit(kPartEdgeCut));
      pieces = refuteByPieces(snapshot, options, race.stop, certify);
    }
    if (raceDecided()) return finish();
    if (pieces.refuted) {
      result.verdict = kNotHamiltonian;
      result.decidedBy = DecidedBy::kEdgeCut;
      piece.body = std::move(pieces.body);
      piece.bodyComplete = pieces.certified;
      return finish();
    }
  }
  // (A fresh seed: the first probe's walks are not walked again.)
  if (probing && probed < probeLimit && probeRoot(probeLimit - probed, probeSeconds, 1)) return finish();

  // The linear relaxation refutes what no search reaches in time: a graph that is not
  // 1-tough, whatever the size of its separating set. With one worker it has a slice here;
  // otherwise it runs in the portfolio.
  const bool relaxing = options.useRelaxation && graph.howManyNodes <= kLargeNodeLimit && !isDense(graph);
  const double cubeSatSeconds =
      limited ? std::min(kCubeSatSeconds, kCubeSatShare * options.timeLimitSeconds) : kCubeSatSeconds;
  const double relaxationSlice =
      limited ? kRelaxationShare * options.timeLimitSeconds : options.relaxationSeconds;
  bool relaxationCutShort = false;  // by its slice here: the one worker's turns give it more
  if (relaxing && (threads == 1 || !options.useFinder) && !satFirst) {
    const Working working(activity, solvePartBit(kPartLinearRelaxation));
    StopToken within(&race.stop);
    within.setTimeLimit(relaxationSlice);
    LinearRelaxationResult relaxation = solveLinearRelaxation(root, within);
    if (raceDecided()) return finish();
    if (relaxation.outcome == RelaxationOutcome::kNoCycle) {
      result.verdict = kNotHamiltonian;
      result.decidedBy = DecidedBy::kLinearRelaxation;
      piece.relaxation = std::move(relaxation.proof);
      return finish();
    }
    relaxationCutShort = cutShortBySlice(relaxation, within, race);
  }

  // Long, thin graphs the probe left open are decided by their frontier states, in an order
  // drawn from their shape; on any other graph this gives up after a few linear passes.
  if (options.frontierWork > 0) {
    const Working working(activity, solvePartBit(kPartFrontierSearch));
    const EdgeSnapshot left(root);
    std::vector<int32_t> order = narrowFrontierOrder(left, options.frontierWidth, options.seed);
    const FrontierSearchResult frontier =
        order.empty() ? FrontierSearchResult{} : frontierSearch(left, race.stop, options.frontierWork, order);
    if (raceDecided()) return finish();
    if (frontier.verdict == kNotHamiltonian) {
      result.verdict = kNotHamiltonian;
      result.decidedBy = DecidedBy::kFrontierSearch;
      piece.searchedEdges = root.howManyEdges;
      piece.frontierOrder = std::move(order);
      return finish();
    }
  }
  if (run.stopRequested()) {
    noteStop(run, result);
    return finish();
  }

  const bool colouring = options.useColouring && !large &&
                         suitsSatWorker(graph.howManyNodes, graph.howManyEdges) && suitsColouring(snapshot);
  result.threads = threads;
  // The race to its end: a decision, every worker given up, or the run's stop.
  auto endRace = [&] {
    race.await(run, result, piece);
    crew.joinAll();
    result.treeNodes = race.treeNodes.load();
    result.deepestDepth = race.deepestDepth.load();
    return finish();
  };
  if (threads == 1 || !options.useFinder) {
    // One worker: a short slice for the finder (unless it had it), then the clause learner
    // and the complete search by turns, each turn twice as long as the one before: on some
    // graphs only the one decides, on others only the other, and neither may starve. A search
    // turn starts afresh, so the search costs at most about twice its own time; the clause
    // learner goes on where its last turn stopped, so it costs its own time. A part of a
    // split gives the clause learners a first turn as long as the portfolio gives them alone
    // (below), then the relaxation its slice. A relaxation that its slice cut short gets
    // another turn after each of the clause learner's, as long as that or twice its last,
    // whichever is longer, so that a graph only the relaxation decides is decided here too.
    const double satSlice = limited ? std::max(0.05, 0.3 * options.timeLimitSeconds) : kSatSliceSeconds;
    const double firstTurn = satFirst ? cubeSatSeconds : satSlice;
    const bool finder = options.useFinder && !finderSliceDone;
    const bool sat = useSat;
    const bool laterRelaxation = (relaxing && satFirst) || relaxationCutShort;
    crew.launch([&graph, &root, &snapshot, &race, &options, progress, finderSlice, satSlice, firstTurn,
                 finder, sat, colouring, laterRelaxation, relaxationCutShort, relaxationSlice, certify,
                 limitBytes] {
      if (finder) runFinder(root, race, options.seed, finderSlice);
      if (colouring && !race.stop.stopRequested())
        runColouring(snapshot, race, options.seed, satSlice, certify, limitBytes);
      const std::unique_ptr<SatWorker> worker =
          sat ? satWorkerFor(graph, root, snapshot, options, certify) : nullptr;
      bool relaxationOpen = laterRelaxation;
      double relaxationTurn = relaxationCutShort ? relaxationSlice : 0.0;  // its last one
      for (double turn = firstTurn; !race.stop.stopRequested(); turn *= 2) {
        if (worker) runSat(*worker, race, turn);
        if (relaxationOpen && !race.stop.stopRequested()) {
          relaxationTurn = relaxationTurn > 0.0 ? std::max(turn, 2 * relaxationTurn) : relaxationSlice;
          relaxationOpen = runRelaxation(root, race, relaxationTurn);
        }
        if (race.stop.stopRequested()) break;
        // Alone, the search runs to its end.
        const bool alone = !worker && !relaxationOpen;
        runSearch(root, race, progress, options, certify, alone ? 0.0 : turn);
        if (alone) break;
      }
    });
  } else if (large) {
    // The finder, a complete method while the graph is not too large for it (the clause
    // learner where it suits, else the search), and with a third thread a second finder.
    if (!finderStarted) startFinder(root);
    if (useSat) {
      // The search and the clause learner by turns, each twice as long as the one before (as
      // one worker takes them, the clause learner going on where it stopped, but each search
      // turn with a seed of its own): on a large, thin Hamiltonian graph the search's pruned
      // descent meets a cycle the finder's walks miss for minutes (GP(50005, 2): in a second),
      // where the clause learner decides nothing; on others only the clause learner decides.
      const double firstTurn =
          limited ? std::min(kLargeSearchSeconds, kLargeSearchShare * options.timeLimitSeconds)
                  : kLargeSearchSeconds;
      crew.launch([&graph, &root, &snapshot, &race, &options, progress, certify, firstTurn] {
        const std::unique_ptr<SatWorker> worker = satWorkerFor(graph, root, snapshot, options, certify);
        uint32_t round = 0;
        for (double turn = firstTurn; !race.stop.stopRequested(); turn *= 2, ++round) {
          runSearch(root, race, progress, options, certify, turn, round);
          if (!race.stop.stopRequested()) runSat(*worker, race, turn);
        }
      });
    } else if (graph.howManyNodes <= kLargeSatNodeLimit) {
      crew.launch([&root, &race, &options, progress, certify, limitBytes] {
        runSearch(root, race, progress, options, certify);
      });
    }
    if (threads >= 3 || graph.howManyNodes > kLargeSatNodeLimit)
      crew.launch([&root, &race, &options] { runFinder(root, race, options.seed + 1, 0.0); });
  } else {
    // A part of a split (a cube) where the clause learner suits the graph: the clause learners
    // alone first (with the colouring race where it suits), for up to kCubeSatSeconds. Each
    // part repeats the others' work from scratch (the search's descent, the finder's walks,
    // the relaxation's cuts), and beside the clause learner they took most of a part's cores:
    // on a 3-SAT reduction of 42,000 nodes a part cost 29 CPU seconds, its clause learner
    // alone 5. A part they leave open by then gets the rest of the portfolio beside them,
    // each going on where it was.
    if (satFirst) {
      crew.launch([&graph, &root, &snapshot, &race, &options, certify] {
        runSat(*satWorkerFor(graph, root, snapshot, options, certify), race, 0.0);
      });
      if (colouring)
        crew.launch([&snapshot, &race, &options, certify, limitBytes] {
          runColouring(snapshot, race, options.seed, 0.0, certify, limitBytes);
        });
      if (race.awaitFor(run, cubeSatSeconds)) return endRace();
    }
    crew.launch([&root, &race, &options, progress, certify, limitBytes] {
      runSearch(root, race, progress, options, certify);
    });
    if (!finderStarted) startFinder(root);
    const bool proofSystem = threads >= 4 && options.useProofSystem && options.branch.empty() &&
                             graph.howManyEdges <= options.proofSystemEdgeLimit;
    // The clause learner and the relaxation take a mill thread each when there is one, and
    // are one more otherwise.
    const int32_t millThreads = threads - 2 - (proofSystem ? 1 : 0) - (useSat && threads >= 3 ? 1 : 0) -
                                (relaxing && threads >= 3 ? 1 : 0) - (colouring && threads >= 3 ? 1 : 0);
    if (relaxing) crew.launch([&root, &race] { runRelaxation(root, race); });
    if (colouring && !satFirst)
      crew.launch([&snapshot, &race, &options, certify, limitBytes] {
        runColouring(snapshot, race, options.seed, 0.0, certify, limitBytes);
      });
    if (useSat && !satFirst)
      crew.launch([&graph, &root, &snapshot, &race, &options, certify] {
        runSat(*satWorkerFor(graph, root, snapshot, options, certify), race, 0.0);
      });
    if (millThreads >= 1 && options.useMill)
      crew.launch([&root, &race, millThreads] { runMill(root, race, millThreads); });
    if (proofSystem)
      crew.launch([&graph, &race, certify, limitBytes] { runProofSystem(graph, race, certify, limitBytes); });
  }
  return endRace();
}

}  // namespace hc
