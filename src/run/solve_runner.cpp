#include "run/solve_runner.h"

#include <algorithm>
#include <array>
#include <exception>
#include <thread>

#include "core/diagnostics.h"
#include "core/random.h"
#include "core/stop_token.h"
#include "run/run_method.h"
#include "solve/root_pruning.h"

namespace hc {

std::string runningPartsText(uint32_t runningParts) {
  std::string text;
  for (uint32_t part = 0; part < kSolvePartCount; ++part) {
    if ((runningParts & solvePartBit(static_cast<SolvePart>(part))) == 0) continue;
    if (!text.empty()) text += ", ";
    text += decidedByName(decidedByOf(static_cast<SolvePart>(part)));
  }
  return text;
}

std::shared_ptr<Graph> graphHoldingCycle(const Graph& graph, const std::vector<int32_t>& cycle) {
  const int32_t n = graph.howManyNodes;
  if (n < 3 || static_cast<int32_t>(cycle.size()) != n) return nullptr;
  // Each node's two cycle neighbours.
  std::vector<std::array<int32_t, 2>> along(static_cast<size_t>(n), {-1, -1});
  for (int32_t i = 0; i < n; ++i) {
    const int32_t v = cycle[static_cast<size_t>(i)];
    const int32_t next = cycle[static_cast<size_t>((i + 1) % n)];
    if (v < 0 || v >= n || next < 0 || next >= n) return nullptr;
    auto& a = along[static_cast<size_t>(v)];
    auto& b = along[static_cast<size_t>(next)];
    if (a[1] >= 0 || b[1] >= 0) return nullptr;  // a node met twice
    a[a[0] < 0 ? 0 : 1] = next;
    b[b[0] < 0 ? 0 : 1] = v;
  }
  auto solved = std::make_shared<Graph>(graph);
  solved->actionList.reset();
  std::vector<int32_t> off;
  for (int32_t v = 0; v < n && solved->isHamiltonian == kUndecided; ++v) {
    const auto& keep = along[static_cast<size_t>(v)];
    // The pruning after each deletion may delete further edges of v: read its list afresh.
    off.clear();
    const Node& node = solved->node(v);
    for (int32_t i = 0; i < node.degree; ++i) {
      const int32_t w = node.neighborArray[i];
      if (w != keep[0] && w != keep[1]) off.push_back(w);
    }
    for (int32_t w : off) {
      if (solved->isHamiltonian != kUndecided) break;
      if (solved->isAdjacent(v, w)) solved->cut(v, w);
    }
  }
  // Where no deletion was needed (a plain cycle), or the deletions forced only part of the
  // cycle, nothing has closed it yet: its edges are forced one by one, and the last closes
  // the ring through every node.
  for (int32_t i = 0; i < n && solved->isHamiltonian == kUndecided; ++i) {
    const int32_t v = cycle[static_cast<size_t>(i)];
    const int32_t next = cycle[static_cast<size_t>((i + 1) % n)];
    if (!solved->isAdjacent(v, next)) return nullptr;
    if (!solved->isUncuttableEdge(v, next)) solved->force(v, next);
  }
  if (solved->isHamiltonian != kHamiltonian) return nullptr;
  // The pruning could have settled on another cycle had `cycle` named a non-edge.
  for (int32_t v = 0; v < n; ++v) {
    const auto& keep = along[static_cast<size_t>(v)];
    if (solved->node(v).degree != 2 || !solved->isAdjacent(v, keep[0]) || !solved->isAdjacent(v, keep[1]))
      return nullptr;
  }
  return solved;
}

namespace {

// The run's work on its worker: the portfolio, then the graph that shows its verdict.
SolveRunEnd solveOnWorker(Graph& graph, const SolveRunSettings& settings, int32_t threads,
                          const StopToken& stop, LiveFigures& live) {
  SolveRunEnd end;
  end.threads = threads;
  // The command line's seeding rule, so a seed typed in gives the run `solve --seed` makes.
  end.seed = startRunSeedStream(settings.seed, SeedScope::kThread, true);
  StopToken limited(&stop);
  limited.setTimeLimit(settings.timeLimitSeconds);
  SolveOptions options;
  options.threads = threads;
  options.certificateLimitBytes = settings.certificateLimitBytes;
  auto certificate = std::make_shared<std::string>();
  const EdgeSnapshot asLoaded(graph);
  RunOutcome ran =
      runMethod(graph, asLoaded, options,
                {.stop = &limited, .seed = end.seed, .live = &live, .certificate = certificate.get()});
  end.seconds = ran.seconds;
  end.timedOut = ran.stopped == StoppedBy::kTimeLimit;
  end.treeNodes = ran.treeNodes;
  end.deepestDepth = ran.deepestDepth;
  if (ran.verdict == Verdict::kHamiltonian) {
    end.solved = graphHoldingCycle(graph, ran.cycle);
    if (!end.solved) diagnostic("the solver's cycle could not be shown on the working graph; undecided\n");
  } else if (ran.verdict == Verdict::kNonHamiltonian) {
    // The root as the portfolio pruned it: the window draws its forced edges in red.
    end.solved = std::make_shared<Graph>(graph);
    end.solved->actionList.reset();
    pruneRoot(*end.solved, end.seed);
    end.solved->isHamiltonian = kNotHamiltonian;
    if (ran.certified)
      end.certificate = std::move(certificate);
    else
      end.certificateNote = ran.certificateNote.empty() ? "no certificate was written" : ran.certificateNote;
  }
  if (end.solved) {
    end.verdict = ran.verdict;
    end.decidedBy = ran.decidedBy;
    end.cycle = std::move(ran.cycle);
  }
  return end;
}

}  // namespace

uint64_t SolveRunner::start(std::shared_ptr<Graph> graph, const SolveRunSettings& settings,
                            EndHandler onEnd) {
  run_.abortRun();
  const uint64_t id = run_.nextRunId();
  live_ = std::make_shared<LiveFigures>();
  const int32_t threads = settings.threads > 0
                              ? settings.threads
                              : std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
  BackgroundRun::Work work = [outcome = outcome_, id, graph = std::move(graph), settings, threads,
                              live = live_](const StopToken& stop) -> std::optional<int16_t> {
    SolveRunEnd end;
    try {
      if (graph)
        end = solveOnWorker(*graph, settings, threads, stop, *live);
      else
        end.error = "no graph to solve";
    } catch (const std::exception& e) {
      // Out of memory on a huge graph, say: the run breaks off instead of ending the program.
      end = SolveRunEnd{};
      end.error = e.what();
      diagnostic("the run stopped: ", e.what(), "\n");
    }
    clearThreadSeedStream();
    const bool broke = !end.error.empty();
    const int16_t result = stateOf(end.verdict);
    std::lock_guard lock(outcome->mutex);
    outcome->end = std::move(end);
    outcome->run = id;
    if (broke) return std::nullopt;
    return result;
  };
  run_.start(std::move(work), [outcome = outcome_, onEnd = std::move(onEnd)](int16_t) {
    // The worker stored the end before it returned.
    std::lock_guard lock(outcome->mutex);
    if (onEnd) onEnd(*outcome->end);
  });
  return id;
}

SolveLiveFigures SolveRunner::live() const {
  SolveLiveFigures figures;
  if (!live_) return figures;
  figures.inProgress = runInProgress();
  figures.runningParts =
      figures.inProgress ? live_->solveParts.runningParts.load(std::memory_order_relaxed) : 0;
  figures.treeNodes = live_->tree.treeNodes.load(std::memory_order_relaxed);
  figures.depth = live_->tree.depth.load(std::memory_order_relaxed);
  return figures;
}

std::optional<SolveRunEnd> SolveRunner::finished() const {
  if (run_.runInProgress() || run_.runAborted() || run_.runId() == 0) return std::nullopt;
  std::lock_guard lock(outcome_->mutex);
  if (outcome_->run != run_.runId()) return std::nullopt;
  return outcome_->end;
}

}  // namespace hc
