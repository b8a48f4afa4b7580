// `schc GRAPH`, `cohc GRAPH` and `solve GRAPH`: one graph, one method (run/run_method.h),
// stopped by --time-limit or Ctrl-C (and by the method's own limits), with its progress
// line on stderr, its report on stdout, the verified cycle in --output and the certificate of
// a non-Hamiltonian verdict in --proof.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <thread>

#include "commands.h"
#include "core/number_format.h"
#include "core/random.h"
#include "io/output_paths.h"
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

  // Draws solve's line until `stop`.
  void drawSearch(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
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

// "0 1 2 ... 63" for short cycles; a count for long ones.
std::string cycleSummary(const std::vector<int32_t>& cycle) {
  constexpr size_t kLongest = 100;
  if (cycle.size() > kLongest)
    return std::to_string(cycle.size()) + " nodes (use --output FILE or --json for the whole cycle)";
  std::string text;
  for (size_t i = 0; i < cycle.size(); ++i) text += (i ? " " : "") + std::to_string(cycle[i]);
  return text;
}

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
  if (const auto* schc = std::get_if<SchcOptions>(&r.method)) {
    j["iterations"] = o.iterations;
    j["version"] = schc->version;
    j["threads"] = schc->threads;
    j["bestPercentComplete"] = o.bestPercentComplete;
    j["stopped"] = o.stoppedText;
  } else if (const auto* cohc = std::get_if<CohcOptions>(&r.method)) {
    j["treeNodes"] = o.treeNodes;
    j["deepestDepth"] = o.deepestDepth;
    j["level"] = cohc->pruningLevel;
    j["maxDepth"] = cohc->maxSearchDepth;
    j["minimal"] = cohc->buildMinimalChildren;
    j["stopped"] = o.stoppedText;
    if (o.statistics) j["depths"] = depthsJson(*o.statistics);
  } else {
    j["method"] = o.method.empty() ? Json() : Json(o.method);
    j["treeNodes"] = o.treeNodes;
    j["deepestDepth"] = o.deepestDepth;
    j["threads"] = std::get<SolveOptions>(r.method).threads;
    j["stopped"] = o.stoppedText;
  }
  if (!r.arguments.output.empty()) j["output"] = r.written.cycle ? Json(r.arguments.output) : Json();
  if (!r.arguments.proof.empty()) {
    j["certified"] = r.written.proof;
    j["proof"] = r.written.proof ? Json(r.arguments.proof) : Json();
    if (o.verdict == Verdict::NonHamiltonian && !o.certified) j["certificateNote"] = certificateNoteOf(o);
  }
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
              << (cohc->maxSearchDepth == 999999999 ? std::string("unlimited")
                                                    : std::to_string(cohc->maxSearchDepth))
              << ", seed " << o.seed << "\n";
    if (o.statistics) printDepthTable(*o.statistics);
    std::cout << "Tree nodes: " << o.treeNodes << ", deepest depth " << o.deepestDepth << ", "
              << formatNumber(o.seconds, 3) << " s\n";
    proof = "proved";
  } else {
    std::cout << "Method: portfolio on " << threadsText(std::get<SolveOptions>(r.method).threads) << ", seed "
              << o.seed << (o.method.empty() ? std::string() : ", decided by the " + o.method) << "\n";
    std::cout << "Exact search: " << o.treeNodes << " tree nodes, deepest depth " << o.deepestDepth << ", "
              << formatNumber(o.seconds, 3) << " s\n";
    proof = "proved by the " + (o.method.empty() ? std::string("search") : o.method);
  }
  if (o.verdict == Verdict::Hamiltonian) {
    std::cout << "Verdict: Hamiltonian (cycle verified)\n";
    std::cout << "Cycle: " << cycleSummary(o.cycle) << "\n";
    if (r.written.cycle) std::cout << "Cycle written to " << r.arguments.output << "\n";
  } else if (o.verdict == Verdict::NonHamiltonian) {
    std::cout << "Verdict: non-Hamiltonian (" << proof << ")\n";
    if (r.written.proof)
      std::cout << "Certificate: written to " << r.arguments.proof << "\n";
    else if (!r.arguments.proof.empty() && !o.certified)
      std::cout << "Certificate: none (" << certificateNoteOf(o) << ")\n";
  } else {
    std::cout << "Verdict: undecided (" << o.stoppedText << ")\n";
  }
  std::cout << std::flush;
}

void printReport(const Report& r, bool json) {
  json ? printJsonReport(r) : printTextReport(r);
}

// The files asked for that the verdict gives nothing to write.
void noteFilesNotWritten(const MethodArguments& arguments, Verdict verdict) {
  if (!arguments.output.empty() && verdict != Verdict::Hamiltonian)
    std::cerr << "hamcycles-cli: no cycle found, " << arguments.output << " not written\n";
  if (!arguments.proof.empty() && verdict != Verdict::NonHamiltonian)
    std::cerr << "hamcycles-cli: no proof that the graph has no Hamiltonian cycle, " << arguments.proof
              << " not written\n";
}

}  // namespace

int runMethodCommand(const MethodArguments& arguments, const MethodOptions& method,
                     const CommonOptions& common) {
  const std::string& output = arguments.output;
  if (std::string problem = checkCycleOutputPath("--output", output, arguments.graph); !problem.empty())
    return fail(problem);
  if (std::string problem = checkOutputPath("--proof", arguments.proof, arguments.graph); !problem.empty())
    return fail(problem);
  // The graph is loaded after this, so its construction takes the stream's first value.
  const uint32_t seed = startRunSeedStream(arguments.seed, SeedScope::Process, false);
  // Ctrl-C during a long load ends it with the report of a stopped run: the reader hears the
  // process's stop (the time limit counts from the run's start, after the load).
  installInterruptHandler();
  StopToken& stop = processStop();
  FormatOptions formatOptions = commandLineFormatOptions();
  formatOptions.stop = &stop;
  const RunInput input = loadRunInput(arguments.graph, formatOptions);
  if (input.loaded.stopped) {
    const bool byDeadline = stop.reason() == StopReason::kDeadline;
    const Report report{input, method, arguments, stoppedRunOutcome(byDeadline, seed, method), {}};
    printReport(report, common.json);
    noteFilesNotWritten(arguments, report.outcome.verdict);
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
  if (std::holds_alternative<SolveOptions>(method))
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
    report.outcome =
        runMethod(graph, input.asLoaded, method,
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
  if (!outcome.cycleFault.empty())
    std::cerr << "hamcycles-cli: the method reported a cycle that is not a Hamiltonian cycle of the graph ("
              << outcome.cycleFault << "); the run counts as undecided\n";
  report.written = writeRunFiles({output, arguments.proof}, outcome, input.name, graph, certificate);
  printReport(report, common.json);
  if (!report.written.error.empty()) return fail(report.written.error);
  noteFilesNotWritten(arguments, outcome.verdict);
  return outcome.verdict == Verdict::Hamiltonian      ? kExitHamiltonian
         : outcome.verdict == Verdict::NonHamiltonian ? kExitNonHamiltonian
                                                      : kExitUndecided;
}

}  // namespace hc::cli
