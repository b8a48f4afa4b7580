// `schc GRAPH`: the Stone Carver's algorithm on a loaded graph, with the parallel mill
// for --threads > 1, stopped by --max-iterations, --time-limit or Ctrl-C.
#include <chrono>
#include <cstdio>
#include <iostream>

#include "app/cycle_files.h"
#include "app/number_format.h"
#include "commands.h"
#include "run_control.h"
#include "schc/stone_carver.h"
#include "solve_common.h"

namespace hc::cli {

namespace {

// Counts iterations, keeps the best percentage and draws the progress line. The driver
// serialises its calls, so no lock is needed here.
class ProgressSink : public SchcSink {
 public:
  explicit ProgressSink(ProgressLine& line) : line_(line), start_(std::chrono::steady_clock::now()) {}

  void postIteration(int32_t iteration, int32_t, int32_t, int32_t, int32_t, double percentComplete, double) override {
    ++iterations_;
    if (percentComplete > best_ && percentComplete <= 100.0) best_ = percentComplete;
    if (!line_.due()) return;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char text[160];
    std::snprintf(text, sizeof text, "schc: %d iterations, %.0f/s, best %.2f%% complete, %.1f s", iteration,
                  seconds > 0 ? iterations_ / seconds : 0.0, best_, seconds);
    line_.show(text);
  }

  int64_t iterations() const { return iterations_; }
  double best() const { return best_; }

 private:
  ProgressLine& line_;
  std::chrono::steady_clock::time_point start_;
  int64_t iterations_ = 0;
  double best_ = 0.0;
};

}  // namespace

int runSchc(const SchcCommandOptions& options, const CommonOptions& common) {
  if (std::string problem = checkCycleOutputPath(options.output, options.graph); !problem.empty()) return fail(problem);
  const uint32_t seed = startSeededRun(options.seed);
  SolveInput input;
  if (std::string problem = loadForSolving(options.graph, input); !problem.empty()) return fail(problem);
  Graph& graph = *input.loaded.graph;
  if (cycleOutputFormatOf(options.output) == CycleOutputFormat::Obj && !graph.hasCoordinates())
    return fail("--output " + options.output + ": an .obj cycle file needs node coordinates, which only graphs read from .obj files have");

  const int32_t nodes = graph.howManyNodes;
  const int64_t edges = input.edges.edges();
  installInterruptHandler();
  runFlag().store(1);

  SchcOptions engineOptions;
  engineOptions.maxIterations = options.maxIterations;
  engineOptions.threads = options.threads;
  SchcOutcome outcome;
  ProgressLine progress(common.progress);
  ProgressSink sink(progress);
  auto start = std::chrono::steady_clock::now();
  bool timedOut = false;
  {
    DeadlineWatcher watcher(options.timeLimit);
    runStoneCarver(graph, options.version, &runFlag(), &sink, engineOptions, &outcome);
    timedOut = watcher.timedOut();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  progress.finish();
  const bool interrupted = runFlag().load() == 0 && !timedOut;
  const int64_t iterations = outcome.iterations > 0 ? outcome.iterations : sink.iterations();

  // A non-Hamiltonian verdict of SCHC comes only from its initial pruning, which no flag
  // interrupts: it is a proof whenever it appears.
  RunEnd end = finishRun(input, graph, graph.isHamiltonian, outcome.cycle, true, options.output);
  std::string stopped = "decided";
  if (end.verdict == "undecided") {
    if (interrupted) stopped = "interrupted";
    else if (timedOut) stopped = "time limit";
    else if (options.maxIterations > 0 && iterations >= options.maxIterations) stopped = "iteration limit";
    else stopped = "iteration limit";
  }

  if (common.json) {
    Json j;
    j["command"] = "schc";
    j["graph"] = input.name;
    j["verdict"] = end.verdict;
    j["nodes"] = nodes;
    j["edges"] = edges;
    j["seconds"] = seconds;
    if (end.verdict == "hamiltonian") j["cycle"] = end.cycle;
    j["seed"] = seed;
    j["iterations"] = iterations;
    j["version"] = options.version;
    j["threads"] = options.threads;
    j["bestPercentComplete"] = sink.best();
    j["stopped"] = stopped;
    if (!options.output.empty()) j["output"] = end.verdict == "hamiltonian" && end.outputError.empty() ? Json(options.output) : Json();
    printJson(j);
  } else {
    std::cout << "Graph: " << input.name << " (" << nodes << " nodes, " << edges << " edges)\n";
    std::cout << "Method: Stone Carver's HC algorithm, version " << options.version << ", " << options.threads
              << (options.threads == 1 ? " thread" : " threads") << ", seed " << seed << "\n";
    std::cout << "Iterations: " << iterations << " in " << formatNumber(seconds, 3) << " s (best "
              << formatNumber(sink.best(), 2) << "% complete)\n";
    if (end.verdict == "hamiltonian") {
      std::cout << "Verdict: Hamiltonian (cycle verified)\n";
      std::cout << "Cycle: " << cycleSummary(end.cycle) << "\n";
      if (!options.output.empty() && end.outputError.empty()) std::cout << "Cycle written to " << options.output << "\n";
    } else if (end.verdict == "non-hamiltonian") {
      std::cout << "Verdict: non-Hamiltonian (proved by the initial pruning)\n";
    } else {
      std::cout << "Verdict: undecided (" << stopped << ")\n";
    }
  }
  if (!end.outputError.empty()) return fail(end.outputError);
  if (!options.output.empty() && end.verdict != "hamiltonian")
    std::cerr << "hamcycles-cli: no cycle found, " << options.output << " not written\n";
  return end.exitCode;
}

}  // namespace hc::cli
