// `schc GRAPH`: the Stone Carver's algorithm on a loaded graph, with the parallel mill
// for --threads > 1, stopped by --max-iterations, --time-limit or Ctrl-C.
#include <chrono>
#include <cstdio>
#include <iostream>

#include "core/number_format.h"
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

struct SchcReport : SolveReport {
  int64_t iterations = 0;
  double best = 0.0;
};

void printReport(const SchcReport& r, const SchcCommandOptions& options, bool json) {
  if (json) {
    Json j = jsonReportHead("schc", r);
    j["iterations"] = r.iterations;
    j["version"] = options.version;
    j["threads"] = options.threads;
    j["bestPercentComplete"] = r.best;
    j["stopped"] = r.stopped;
    printJsonReport(j, r, options.output);
    return;
  }
  printGraphLine(r);
  std::cout << "Method: Stone Carver's HC algorithm, version " << options.version << ", " << options.threads
            << (options.threads == 1 ? " thread" : " threads") << ", seed " << r.seed << "\n";
  std::cout << "Iterations: " << r.iterations << " in " << formatNumber(r.seconds, 3) << " s (best "
            << formatNumber(r.best, 2) << "% complete)\n";
  printVerdict(r, options.output, "proved by the initial pruning");
}

}  // namespace

int runSchc(const SchcCommandOptions& options, const CommonOptions& common) {
  SolveInput input;
  uint32_t seed = 0;
  if (std::string problem = prepareSolve(options.graph, options.output, options.seed, input, seed); !problem.empty())
    return fail(problem);
  Graph& graph = *input.loaded.graph;
  SchcReport report;
  static_cast<SolveReport&>(report) = startReport(input, seed);

  SchcOptions engineOptions;
  engineOptions.maxIterations = options.maxIterations;
  engineOptions.threads = options.threads;
  SchcOutcome outcome;
  ProgressLine progress(common.progress);
  ProgressSink sink(progress);
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  const bool timedOut = runWatched(
      options.timeLimit,
      [&](bool byDeadline) {
        SchcReport late = report;
        late.seconds = elapsed();
        late.iterations = sink.iterations();
        late.best = sink.best();
        late.stopped = byDeadline ? "time limit" : "interrupted";
        printReport(late, options, common.json);
      },
      [&] { runStoneCarver(graph, options.version, &processStop(), &sink, engineOptions, &outcome); });
  report.seconds = elapsed();
  progress.finish();
  const bool interrupted = processStop().reason() != StopReason::kNone && !timedOut;
  report.iterations = outcome.iterations > 0 ? outcome.iterations : sink.iterations();
  report.best = sink.best();

  // A non-Hamiltonian verdict of SCHC comes only from its initial pruning, whose stopped
  // look-ahead keeps what it forced sound: it is a proof whenever it appears.
  report.end = finishRun(input, graph, graph.isHamiltonian, outcome.cycle, true, options.output);
  report.stopped = "decided";
  if (report.end.verdict == "undecided") report.stopped = interrupted ? "interrupted" : timedOut ? "time limit" : "iteration limit";
  printReport(report, options, common.json);
  return exitStatusOf(report, options.output);
}

}  // namespace hc::cli
