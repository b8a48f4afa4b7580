#include "run/solve_runner.h"

#include <algorithm>
#include <array>
#include <exception>

#include "core/clock.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "core/stop_token.h"
#include "solve/root_pruning.h"
#include "solve/solve_graph.h"

namespace hc {

// What a run's worker shares with the runner: the run outlives an abort for as long as its
// worker still needs it.
struct SolveRunner::Run {
  uint64_t id = 0;
  StopToken stop;
  ExactSearchProgress progress;
  SolveActivity activity;
  std::atomic<bool> working{true};
  double startSeconds = 0.0;
  std::atomic<double> endSeconds{-1.0};
  std::optional<SolveRunEnd> end;  // under the runner's mutex
};

std::string runningPartsText(uint32_t runningParts) {
  std::string text;
  for (uint32_t part = 0; part < kSolvePartCount; ++part) {
    if ((runningParts & solvePartBit(static_cast<SolvePart>(part))) == 0) continue;
    if (!text.empty()) text += ", ";
    text += kSolveMethods[part];
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
SolveRunEnd solveOnWorker(const Graph& graph, const SolveRunSettings& settings, int32_t threads,
                          const StopToken& stop, ExactSearchProgress& progress, SolveActivity& activity) {
  SolveRunEnd end;
  end.threads = threads;
  // The command line's seeding rule, so a seed typed in gives the run `solve --seed` makes.
  end.seed = startRunSeedStream(settings.seed, SeedScope::Thread, true);
  SolveOptions options;
  options.threads = threads;
  options.seed = end.seed;
  options.timeLimitSeconds = std::max(0.0, settings.timeLimitSeconds);
  SolveResult result = solveGraph(graph, options, &stop, &progress, &activity);
  end.seconds = result.seconds;
  end.timedOut = result.timedOut;
  end.treeNodes = result.treeNodes;
  end.deepestDepth = result.deepestDepth;
  if (result.verdict == kHamiltonian) {
    end.solved = graphHoldingCycle(graph, result.cycle);
    if (!end.solved) diagnostic("the solver's cycle could not be shown on the working graph; undecided\n");
  } else if (result.verdict == kNotHamiltonian) {
    // The root as the portfolio pruned it: the window draws its forced edges in red.
    end.solved = std::make_shared<Graph>(graph);
    end.solved->actionList.reset();
    pruneRoot(*end.solved, end.seed);
    end.solved->isHamiltonian = kNotHamiltonian;
  }
  if (end.solved) {
    end.verdict = verdictOf(result.verdict);
    end.method = std::move(result.method);
    end.cycle = std::move(result.cycle);
  }
  return end;
}

}  // namespace

SolveRunner::~SolveRunner() {
  abortRun();
  for (Worker& w : workers_)
    if (w.thread.joinable()) w.thread.join();
}

void SolveRunner::reapFinished() {
  // A finished worker has left its work: joining it here does not wait.
  std::erase_if(workers_, [](const Worker& w) { return !w.run->working.load(); });
}

uint64_t SolveRunner::start(std::shared_ptr<const Graph> graph, const SolveRunSettings& settings,
                            EndHandler onEnd) {
  abortRun();
  reapFinished();
  auto run = std::make_shared<Run>();
  run->id = ++nextId_;
  run->startSeconds = secondsSinceStart();
  {
    std::lock_guard lock(mutex_);
    liveId_ = run->id;
  }
  current_ = run;
  currentId_ = run->id;
  const int32_t threads = settings.threads > 0
                              ? settings.threads
                              : std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
  Worker worker;
  worker.run = run;
  worker.thread =
      std::jthread([this, run, graph = std::move(graph), settings, threads, onEnd = std::move(onEnd)] {
        SolveRunEnd end;
        try {
          if (graph)
            end = solveOnWorker(*graph, settings, threads, run->stop, run->progress, run->activity);
          else
            end.error = "no graph to solve";
        } catch (const std::exception& e) {
          // Out of memory on a huge graph, say: the run breaks off instead of ending the program.
          end = SolveRunEnd{};
          end.error = e.what();
          diagnostic("the run stopped: ", e.what(), "\n");
        }
        clearThreadSeedStream();
        std::lock_guard lock(mutex_);
        double unset = -1.0;  // an abort froze the time already
        run->endSeconds.compare_exchange_strong(unset, secondsSinceStart());
        const bool deliver =
            end.error.empty() && run->stop.reason() == StopReason::kNone && liveId_ == run->id;
        run->end = std::move(end);
        run->working = false;
        if (deliver) {
          liveId_ = 0;  // delivered: nothing more of this run
          if (onEnd) onEnd(*run->end);
        }
      });
  workers_.push_back(std::move(worker));
  return run->id;
}

void SolveRunner::abortRun() {
  if (!current_) return;
  std::lock_guard lock(mutex_);
  current_->stop.requestStop();
  double unset = -1.0;
  current_->endSeconds.compare_exchange_strong(unset, secondsSinceStart());
  if (liveId_ == current_->id) liveId_ = 0;
}

bool SolveRunner::runInProgress() const {
  return current_ && current_->working.load() && current_->stop.reason() == StopReason::kNone;
}

double SolveRunner::elapsedSeconds() const {
  if (!current_) return 0.0;
  const double end = current_->endSeconds.load();
  return (end >= 0 ? end : secondsSinceStart()) - current_->startSeconds;
}

SolveLiveFigures SolveRunner::live() const {
  SolveLiveFigures figures;
  if (!current_) return figures;
  figures.inProgress = runInProgress();
  figures.runningParts =
      figures.inProgress ? current_->activity.runningParts.load(std::memory_order_relaxed) : 0;
  figures.treeNodes = current_->progress.treeNodes.load(std::memory_order_relaxed);
  figures.depth = current_->progress.depth.load(std::memory_order_relaxed);
  return figures;
}

std::optional<SolveRunEnd> SolveRunner::finished() const {
  if (!current_ || current_->stop.reason() != StopReason::kNone) return std::nullopt;
  std::lock_guard lock(mutex_);
  return current_->end;
}

}  // namespace hc
