// `schc GRAPH`, `cohc GRAPH` and `solve GRAPH`: one graph, one method (run/run_method.h),
// stopped by --time-limit or Ctrl-C (and by the method's own limits), with its progress
// line on stderr, its report on stdout, the verified cycle in --output and the certificate of
// a non-Hamiltonian verdict in --proof.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#include "commands.h"
#include "core/number_format.h"
#include "core/random.h"
#include "io/output_paths.h"
#include "run/method_option_table.h"
#include "run/run_files.h"

namespace hc::cli {

namespace {

// The progress line, drawn where each method's figures are at hand: on the run's thread for
// schc (every iteration) and cohc (every tree update: the per-depth counts may be read only
// there), from a thread of its own for solve.
class ProgressDrawer : public SchcSink, public SearchTreeListener {
 public:
  ProgressDrawer(ProgressLine& line, const LiveFigures& live) : line_(line), live_(live) {}

  void postIteration(int32_t iteration, int32_t, int32_t, int32_t, int32_t, double, double) override {
    if (!line_.due()) return;
    const double seconds = elapsed();
    char text[160];
    std::snprintf(text, sizeof text, "schc: %d iterations, %.0f/s, best %.2f%% complete, %.1f s", iteration,
                  seconds > 0 ? static_cast<double>(live_.iterations.load()) / seconds : 0.0,
                  live_.bestPercentComplete.load(), seconds);
    line_.show(text);
  }
  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool) override {
    draw(statistics, depth);
  }
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override { draw(statistics, depth); }

  // Draws solve's line until `stop`, which ends the wait between two draws at once (the run
  // does not wait for the drawer's tick to end).
  void drawSearch(const std::stop_token& stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    while (!wake.wait_for(lock, stop, std::chrono::milliseconds(10),
                          [&stop] { return stop.stop_requested(); })) {
      if (!line_.due()) continue;
      char text[160];
      std::snprintf(text, sizeof text, "solve: %lld tree nodes, depth %d, %.1f s",
                    static_cast<long long>(live_.tree.treeNodes.load()), live_.tree.depth.load(), elapsed());
      line_.show(text);
    }
  }

 private:
  double elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  void draw(const SearchTreeStatistics& statistics, int32_t depth) {
    if (!line_.due()) return;
    std::ostringstream text;
    text << "cohc: " << live_.tree.treeNodes.load() << " tree nodes, depth " << depth << " (deepest "
         << statistics.deepestStartedDepth << "), per depth:";
    constexpr int32_t kShown = 10;
    int32_t last = statistics.deepestStartedDepth;
    for (int32_t d = 0; d <= last; ++d) {
      if (last >= kShown && d == kShown / 2) {
        text << " ...";
        d = last - kShown / 2 + 1;
      }
      text << ' ' << static_cast<int64_t>(statistics.started[static_cast<size_t>(d)]);
    }
    text << ", " << std::fixed << std::setprecision(1) << elapsed() << " s";
    line_.show(text.str());
  }

  ProgressLine& line_;
  const LiveFigures& live_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// One run as its report shows it.
struct Report {
  const RunInput& input;
  const MethodOptions& method;
  const MethodArguments& arguments;
  RunOutcome outcome;
  RunFilesWritten written;

  // The stop came while the graph was still being read: no counts to show.
  bool readStopped() const { return !input.loaded; }
};

std::string threadsText(int32_t threads) {
  return std::to_string(threads) + (threads == 1 ? " thread" : " threads");
}

void printDepthTable(const SearchTreeStatistics& statistics) {
  std::cout << std::right << std::setw(7) << "Depth" << std::setw(12) << "Started" << std::setw(12)
            << "Solved" << std::setw(14) << "Forced Edges" << std::setw(14) << "Longest Time" << std::setw(14)
            << "Average Time"
            << "\n";
  for (int32_t d = 0; d <= statistics.deepestStartedDepth; ++d) {
    auto at = static_cast<size_t>(d);
    bool anySolved = statistics.solved[at] > 0;
    std::cout << std::setw(7) << d << std::setw(12) << formatNumber(statistics.started[at], 0)
              << std::setw(12) << formatNumber(statistics.solved[at], 0) << std::setw(14)
              << formatNumber(statistics.forcedEdges[at], 0) << std::setw(14)
              << (anySolved ? formatNumber(statistics.longestTime[at], 3) : std::string("-")) << std::setw(14)
              << (anySolved ? formatNumber(statistics.displayedAverageTime(d), 3) : std::string("-")) << "\n";
  }
}

Json depthsJson(const SearchTreeStatistics& s) {
  Json depths = Json::array();
  for (int32_t d = 0; d <= s.deepestStartedDepth; ++d) {
    auto at = static_cast<size_t>(d);
    depths.push_back({{"depth", d},
                      {"started", static_cast<int64_t>(s.started[at])},
                      {"solved", static_cast<int64_t>(s.solved[at])},
                      {"forcedEdges", static_cast<int64_t>(s.forcedEdges[at])},
                      {"longestTime", s.longestTime[at]},
                      {"averageTime", s.averageTime[at]}});
  }
  return depths;
}

void printJsonReport(const Report& r) {
  const RunOutcome& o = r.outcome;
  Json j = reportHead(methodCommand(r.method), r.input.name, r.input.asLoaded.nodes(),
                      r.input.asLoaded.edges(), o);
  if (r.readStopped()) j["nodes"] = j["edges"] = Json();
  addOutcomeFields(j, r.method, o, false);
  if (std::holds_alternative<CohcOptions>(r.method) && o.statistics) j["depths"] = depthsJson(*o.statistics);
  addFileFields(j, o, r.written, r.arguments.output, r.arguments.proof);
  printJson(j);
}

void printTextReport(const Report& r) {
  const RunOutcome& o = r.outcome;
  if (r.readStopped()) {
    std::cout << "Graph: " << r.input.name << " (reading stopped)\n";
  } else {
    std::cout << "Graph: " << r.input.name << " (" << r.input.asLoaded.nodes() << " nodes, "
              << r.input.asLoaded.edges() << " edges)\n";
  }
  std::string proof;
  if (const auto* schc = std::get_if<SchcOptions>(&r.method)) {
    std::cout << "Method: Stone Carver's HC algorithm, version " << schc->version << ", "
              << threadsText(schc->threads) << ", seed " << o.seed << "\n";
    std::cout << "Iterations: " << o.iterations << " in " << formatNumber(o.seconds, 3) << " s (best "
              << formatNumber(o.bestPercentComplete, 2) << "% complete)\n";
    proof = "proved by the initial pruning";
  } else if (const auto* cohc = std::get_if<CohcOptions>(&r.method)) {
    std::cout << "Method: Co-HC proof system, pruning level " << cohc->pruningLevel << ", "
              << (cohc->buildMinimalChildren ? "minimal children" : "all children") << ", maximum depth "
              << (cohc->maxSearchDepth == findMethodOption(MethodChoice::kCohc, "maxDepth")->high
                      ? std::string("unlimited")
                      : std::to_string(cohc->maxSearchDepth))
              << ", seed " << o.seed << "\n";
    if (o.statistics) printDepthTable(*o.statistics);
    std::cout << "Tree nodes: " << o.treeNodes << ", deepest depth " << o.deepestDepth << ", "
              << formatNumber(o.seconds, 3) << " s\n";
    proof = "proved";
  } else {
    printSolveLines(std::get<SolveOptions>(r.method), o);
    proof = "proved by the " + decidedText(o, "search");
  }
  printVerdictLines(o, r.written, r.arguments.output, r.arguments.proof, proof, o.stoppedText);
  std::cout << std::flush;
}

void printReport(const Report& r, bool json) {
  json ? printJsonReport(r) : printTextReport(r);
}

}  // namespace

int runMethodCommand(const MethodArguments& arguments, const MethodOptions& method,
                     const CommonOptions& common) {
  const std::string& output = arguments.output;
  if (std::string problem = checkCycleOutputPath("--output", output, arguments.graph); !problem.empty())
    return fail(problem);
  if (std::string problem = checkOutputPath("--proof", arguments.proof, arguments.graph); !problem.empty())
    return fail(problem);
  // Ctrl-C during a long load ends it with the report of a stopped run (the time limit
  // counts from the run's start, after the load).
  const LoadedRun loaded = loadRunGraph(arguments.graph, arguments.seed);
  const uint32_t seed = loaded.seed;
  const RunInput& input = loaded.input;
  StopToken& stop = processStop();
  if (input.loaded.stopped) {
    const bool byDeadline = stop.reason() == StopReason::kDeadline;
    const Report report{input, method, arguments, stoppedRunOutcome(byDeadline, seed, method), {}};
    printReport(report, common.json);
    noteFilesNotWritten(arguments.output, arguments.proof, report.outcome.verdict);
    return kExitUndecided;
  }
  if (!input) return fail(input.loaded.error);
  Graph& graph = *input.loaded.graph;
  if (std::string problem = checkCycleOutputFor("--output", output, graph); !problem.empty())
    return fail(problem);

  ProgressLine progress(common.progress);
  LiveFigures live;
  ProgressDrawer drawer(progress, live);
  std::jthread searchDrawer;
  if (std::holds_alternative<SolveOptions>(method) && progress.enabled())
    searchDrawer = std::jthread([&drawer](std::stop_token stop) { drawer.drawSearch(stop); });
  stop.setTimeLimit(arguments.timeLimit);
  const auto start = std::chrono::steady_clock::now();
  Report report{input, method, arguments, {}, {}};
  std::string certificate;  // asked for only with --proof
  {
    // The overrun path is reached only when the method ignores the stop for too long: it
    // prints the report so far, and output files are only ever written after a run.
    RunMonitor monitor(stop, [&](bool byDeadline) {
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      printReport({input, method, arguments, stoppedRunOutcome(byDeadline, seed, method, &live, seconds), {}},
                  common.json);
      std::cerr << "hamcycles-cli: the run did not stop within " << kStopGraceSeconds
                << " s of the request; it was ended with the result so far\n";
      std::_Exit(kExitUndecided);
    });
    report.outcome = runMethod(graph, input.asLoaded, method,
                               {.stop = &stop,
                                .seed = seed,
                                .sink = &drawer,
                                .listener = &drawer,
                                .live = &live,
                                .certificate = arguments.proof.empty() ? nullptr : &certificate});
    if (!RunMonitor::claimReport()) {
      for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));  // the monitor reports and ends the process
    }
  }
  searchDrawer = {};
  progress.finish();

  const RunOutcome& outcome = report.outcome;
  noteCycleFault(outcome);
  report.written = writeRunFiles({output, arguments.proof}, outcome, input.name, graph, certificate);
  printReport(report, common.json);
  if (!report.written.error.empty()) return fail(report.written.error);
  noteFilesNotWritten(arguments.output, arguments.proof, outcome.verdict);
  return exitStatusOf(outcome.verdict);
}

}  // namespace hc::cli
