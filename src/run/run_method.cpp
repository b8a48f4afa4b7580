#include "run/run_method.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "core/hamiltonian_cycle_check.h"
#include "solve/cohc_certificate.h"
#include "solve/solve_certificate.h"

namespace hc {

namespace {

// Counts the iterations and keeps the best percentage before the caller's sink hears of
// them. The driver serialises its calls.
class IterationCounter : public SchcSink {
 public:
  IterationCounter(LiveFigures& live, SchcSink* next) : live_(live), next_(next) {}
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double seconds) override {
    live_.iterations.fetch_add(1, std::memory_order_relaxed);
    if (percentComplete > live_.bestPercentComplete.load(std::memory_order_relaxed) &&
        percentComplete <= 100.0)
      live_.bestPercentComplete.store(percentComplete);
    if (next_ != nullptr)
      next_->postIteration(iteration, deletions, hubs, rings, forcedEdges, percentComplete, seconds);
  }

 private:
  LiveFigures& live_;
  SchcSink* next_;
};

// Counts the tree nodes and the deepest depth before the caller's listener hears of them.
class TreeCounter : public SearchTreeListener {
 public:
  TreeCounter(LiveFigures& live, SearchTreeListener* next) : live_(live), next_(next) {}
  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool newRow) override {
    live_.tree.treeNodes.fetch_add(1, std::memory_order_relaxed);
    if (depth > live_.tree.depth.load(std::memory_order_relaxed)) live_.tree.depth.store(depth);
    if (next_ != nullptr) next_->nodeStarted(statistics, depth, newRow);
  }
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override {
    if (next_ != nullptr) next_->nodeSolved(statistics, depth);
  }

 private:
  LiveFigures& live_;
  SearchTreeListener* next_;
};

// What the engine said, before it is settled.
struct EngineEnd {
  HamiltonicityState verdict = kUndecided;
  std::vector<int32_t> cycle = {};
  bool timedOut = false;                   // the engine saw a deadline end it
  bool stopped = false;                    // the engine saw a stop end it
  bool proofTrusted = true;                // a non-Hamiltonian verdict is a proof
  const char* ownLimit = "";               // the stopped text of the method's own limit
  DecidedBy decidedBy = DecidedBy::kNone;  // the part that decided, if it did
};

EngineEnd runSchc(Graph& graph, const SchcOptions& options, const RunRequest& request, LiveFigures& live,
                  RunOutcome& out) {
  IterationCounter counter(live, request.sink);
  SchcOutcome engine;
  runStoneCarver(graph, options.version, request.stop, &counter, options, &engine);
  out.iterations = engine.iterations > 0 ? engine.iterations : live.iterations.load();
  out.bestPercentComplete = live.bestPercentComplete.load();
  // Its non-Hamiltonian verdict comes only from the initial pruning, whose stopped
  // look-ahead keeps what it forced sound: a proof whenever it appears.
  const bool milled = graph.isHamiltonian == kHamiltonian && out.iterations > 0;
  return {.verdict = graph.isHamiltonian,
          .cycle = std::move(engine.cycle),
          .ownLimit = "iteration limit",
          .decidedBy = milled ? DecidedBy::kProbabilityMill : DecidedBy::kInitialPruning};
}

EngineEnd runCohc(Graph& graph, const CohcOptions& options, const RunRequest& request, LiveFigures& live,
                  RunOutcome& out) {
  TreeCounter counter(live, request.listener);
  std::optional<CohcCertificate> certificate;
  CohcOptions observed = options;
  if (request.certificate != nullptr) observed.observer = &certificate.emplace(graph);
  CohcResult engine = runCoHC(graph, observed, request.stop, &counter, request.statistics);
  out.treeNodes = engine.treeNodes;
  out.deepestDepth = engine.deepestDepth;
  out.statistics = std::move(engine.statistics);
  // A proof stopped from outside may have left branches unexplored.
  const bool stopped =
      engine.aborted || (request.stop != nullptr && request.stop->reason() != StopReason::kNone);
  if (certificate && !stopped && engine.verdict == kNotHamiltonian) {
    const auto start = std::chrono::steady_clock::now();
    out.certified = certificate->finish(engine.verdict, *request.certificate);
    if (!out.certified) {
      request.certificate->clear();
      out.certificateNote = certificate->passedLimit()
                                ? passedLimitNote("proof tree's certificate", kDefaultCertificateLimitBytes)
                                : "a branch of the proof tree could not be stated";
    }
    out.certificateSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  return {.verdict = engine.verdict,
          .cycle = std::move(engine.cycle),
          .timedOut = engine.timedOut,
          .stopped = engine.aborted,
          .proofTrusted = !stopped,
          .ownLimit = "search depth too shallow",
          .decidedBy = DecidedBy::kProofSystem};
}

EngineEnd runSolve(const Graph& graph, const EdgeSnapshot& asLoaded, const SolveOptions& options,
                   const RunRequest& request, LiveFigures& live, RunOutcome& out) {
  SolveOptions seeded = options;
  seeded.seed = request.seed;
  seeded.givenEdges = &asLoaded;
  if (request.certificate != nullptr) seeded.certificate = request.certificate;
  SolveResult engine = solveGraph(graph, seeded, request.stop, &live.tree, &live.solveParts);
  out.treeNodes = engine.treeNodes;
  out.certified = engine.certified;
  out.certificateNote = std::move(engine.certificateNote);
  out.certificateSeconds = engine.certificateSeconds;
  out.deepestDepth = engine.deepestDepth;
  // Only the complete search and the sound root rules give 0, never after a stop.
  return {.verdict = engine.verdict,
          .cycle = std::move(engine.cycle),
          .timedOut = engine.timedOut,
          .stopped = engine.interrupted,
          .ownLimit = "undecided",
          .decidedBy = engine.decidedBy};
}

// Settles the verdict (see run_method.h) and what stopped the run.
void settle(RunOutcome& out, EngineEnd end, const Graph& solved, const EdgeSnapshot& asLoaded,
            StopReason outside) {
  if (end.verdict == kHamiltonian) {
    CycleCheck check;
    if (end.cycle.empty()) check = extractCycle(solved, end.cycle);
    if (check) check = isHamiltonianCycle(asLoaded, end.cycle);
    if (check) {
      std::rotate(end.cycle.begin(), std::find(end.cycle.begin(), end.cycle.end(), 0), end.cycle.end());
      out.verdict = Verdict::kHamiltonian;
      out.cycle = std::move(end.cycle);
    } else {
      out.cycleFault = check.fault;
    }
  } else if (end.verdict == kNotHamiltonian && end.proofTrusted) {
    out.verdict = Verdict::kNonHamiltonian;
  }
  if (out.verdict != Verdict::kUndecided) {
    out.decidedBy = end.decidedBy;
    return;
  }
  if (end.timedOut || outside == StopReason::kDeadline) {
    out.stopped = StoppedBy::kTimeLimit;
    out.stoppedText = "time limit";
  } else if (end.stopped || outside != StopReason::kNone) {
    out.stopped = StoppedBy::kInterrupted;
    out.stoppedText = "interrupted";
  } else {
    out.stopped = StoppedBy::kMethodLimit;
    out.stoppedText = end.ownLimit;
  }
}

}  // namespace

const char* methodCommand(MethodChoice method) {
  static constexpr const char* kCommands[] = {"schc", "cohc", "solve"};
  return kCommands[static_cast<size_t>(method)];
}

RunOutcome runMethod(Graph& graph, const EdgeSnapshot& asLoaded, const MethodOptions& method,
                     const RunRequest& request) {
  LiveFigures ownFigures;
  LiveFigures& live = request.live != nullptr ? *request.live : ownFigures;
  RunOutcome out;
  out.seed = request.seed;
  const auto start = std::chrono::steady_clock::now();
  EngineEnd end;
  if (const auto* schc = std::get_if<SchcOptions>(&method)) {
    end = runSchc(graph, *schc, request, live, out);
  } else if (const auto* cohc = std::get_if<CohcOptions>(&method)) {
    end = runCohc(graph, *cohc, request, live, out);
  } else {
    end = runSolve(graph, asLoaded, std::get<SolveOptions>(method), request, live, out);
  }
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Only a stop already recorded counts: a deadline that passed after the method ended by
  // itself takes nothing from its verdict.
  const StopReason outside = request.stop != nullptr ? request.stop->reason() : StopReason::kNone;
  settle(out, std::move(end), graph, asLoaded, outside);
  return out;
}

}  // namespace hc
