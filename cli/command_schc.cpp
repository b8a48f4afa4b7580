// `schc GRAPH`: the Stone Carver's algorithm on a loaded graph, with the parallel mill
// for --threads > 1, stopped by --max-iterations, --time-limit or Ctrl-C.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "app/cycle_files.h"
#include "app/number_format.h"
#include "commands.h"
#include "run_control.h"
#include "schc/stone_carver.h"
#include "solve_common.h"

namespace hc::cli {

namespace {

// Counts iterations, keeps the best percentage and draws the progress line. The driver
// serialises its calls; the counters are atomic because the run monitor may read them.
class ProgressSink : public SchcSink {
 public:
  explicit ProgressSink(ProgressLine& line) : line_(line), start_(std::chrono::steady_clock::now()) {}

  void postIteration(int32_t iteration, int32_t, int32_t, int32_t, int32_t, double percentComplete, double) override {
    int64_t count = iterations_.fetch_add(1) + 1;
    if (percentComplete > best_.load() && percentComplete <= 100.0) best_.store(percentComplete);
    if (!line_.due()) return;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char text[160];
    std::snprintf(text, sizeof text, "schc: %d iterations, %.0f/s, best %.2f%% complete, %.1f s", iteration,
                  seconds > 0 ? static_cast<double>(count) / seconds : 0.0, best_.load(), seconds);
    line_.show(text);
  }

  int64_t iterations() const { return iterations_.load(); }
  double best() const { return best_.load(); }

 private:
  ProgressLine& line_;
  std::chrono::steady_clock::time_point start_;
  std::atomic<int64_t> iterations_{0};
  std::atomic<double> best_{0.0};
};

struct SchcReport {
  std::string name;
  int32_t nodes = 0;
  int64_t edges = 0;
  double seconds = 0.0;
  uint32_t seed = 0;
  int64_t iterations = 0;
  double best = 0.0;
  std::string stopped;
  RunEnd end;
};

void printReport(const SchcReport& r, const SchcCommandOptions& options, bool json) {
  const bool written = !options.output.empty() && r.end.verdict == "hamiltonian" && r.end.outputError.empty();
  if (json) {
    Json j;
    j["command"] = "schc";
    j["graph"] = r.name;
    j["verdict"] = r.end.verdict;
    j["nodes"] = r.nodes;
    j["edges"] = r.edges;
    j["seconds"] = r.seconds;
    if (r.end.verdict == "hamiltonian") j["cycle"] = r.end.cycle;
    j["seed"] = r.seed;
    j["iterations"] = r.iterations;
    j["version"] = options.version;
    j["threads"] = options.threads;
    j["bestPercentComplete"] = r.best;
    j["stopped"] = r.stopped;
    if (!options.output.empty()) j["output"] = written ? Json(options.output) : Json();
    printJson(j);
    return;
  }
  std::cout << "Graph: " << r.name << " (" << r.nodes << " nodes, " << r.edges << " edges)\n";
  std::cout << "Method: Stone Carver's HC algorithm, version " << options.version << ", " << options.threads
            << (options.threads == 1 ? " thread" : " threads") << ", seed " << r.seed << "\n";
  std::cout << "Iterations: " << r.iterations << " in " << formatNumber(r.seconds, 3) << " s (best "
            << formatNumber(r.best, 2) << "% complete)\n";
  if (r.end.verdict == "hamiltonian") {
    std::cout << "Verdict: Hamiltonian (cycle verified)\n";
    std::cout << "Cycle: " << cycleSummary(r.end.cycle) << "\n";
    if (written) std::cout << "Cycle written to " << options.output << "\n";
  } else if (r.end.verdict == "non-hamiltonian") {
    std::cout << "Verdict: non-Hamiltonian (proved by the initial pruning)\n";
  } else {
    std::cout << "Verdict: undecided (" << r.stopped << ")\n";
  }
  std::cout << std::flush;
}

}  // namespace

int runSchc(const SchcCommandOptions& options, const CommonOptions& common) {
  if (std::string problem = checkCycleOutputPath(options.output, options.graph); !problem.empty()) return fail(problem);
  const uint32_t seed = startSeededRun(options.seed);
  SolveInput input;
  if (std::string problem = loadForSolving(options.graph, input); !problem.empty()) return fail(problem);
  Graph& graph = *input.loaded.graph;
  if (cycleOutputFormatOf(options.output) == CycleOutputFormat::Obj && !graph.hasCoordinates())
    return fail("--output " + options.output + ": an .obj cycle file needs node coordinates, which only graphs read from .obj files have");

  SchcReport report;
  report.name = input.name;
  report.nodes = graph.howManyNodes;
  report.edges = input.edges.edges();
  report.seed = seed;
  installInterruptHandler();
  runFlag().store(1);

  SchcOptions engineOptions;
  engineOptions.maxIterations = options.maxIterations;
  engineOptions.threads = options.threads;
  SchcOutcome outcome;
  ProgressLine progress(common.progress);
  ProgressSink sink(progress);
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  bool timedOut = false;
  {
    // Reached only when an iteration ignores the cleared flag for too long.
    RunMonitor monitor(options.timeLimit, [&](bool byDeadline) {
      SchcReport late = report;
      late.seconds = elapsed();
      late.iterations = sink.iterations();
      late.best = sink.best();
      late.stopped = byDeadline ? "time limit" : "interrupted";
      printReport(late, options, common.json);
      std::cerr << "hamcycles-cli: the run did not stop within " << kStopGraceSeconds
                << " s of the request; it was ended with the result so far\n";
      std::_Exit(kExitUndecided);
    });
    runStoneCarver(graph, options.version, &runFlag(), &sink, engineOptions, &outcome);
    timedOut = monitor.timedOut();
    if (!RunMonitor::claimReport()) {
      for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));  // the monitor reports and ends the process
    }
  }
  report.seconds = elapsed();
  progress.finish();
  const bool interrupted = runFlag().load() == 0 && !timedOut;
  report.iterations = outcome.iterations > 0 ? outcome.iterations : sink.iterations();
  report.best = sink.best();

  // A non-Hamiltonian verdict of SCHC comes only from its initial pruning, which no flag
  // interrupts: it is a proof whenever it appears.
  report.end = finishRun(input, graph, graph.isHamiltonian, outcome.cycle, true, options.output);
  report.stopped = "decided";
  if (report.end.verdict == "undecided") report.stopped = interrupted ? "interrupted" : timedOut ? "time limit" : "iteration limit";
  printReport(report, options, common.json);
  if (!report.end.outputError.empty()) return fail(report.end.outputError);
  if (!options.output.empty() && report.end.verdict != "hamiltonian")
    std::cerr << "hamcycles-cli: no cycle found, " << options.output << " not written\n";
  return report.end.exitCode;
}

}  // namespace hc::cli
