// `cohc GRAPH`: the Co-HC proof system, with its per-depth table in the human output.
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "core/number_format.h"
#include "cohc/search_tree.h"
#include "commands.h"
#include "run_control.h"
#include "solve_common.h"

namespace hc::cli {

namespace {

// Counts tree nodes and draws the progress line: how many nodes so far and how they spread
// over the depths. Counters are atomic because the run monitor may read them.
class ProgressListener : public SearchTreeListener {
 public:
  explicit ProgressListener(ProgressLine& line) : line_(line), start_(std::chrono::steady_clock::now()) {}

  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool) override {
    treeNodes_.fetch_add(1);
    if (depth > deepest_.load()) deepest_.store(depth);
    draw(statistics, depth);
  }
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override { draw(statistics, depth); }

  int64_t treeNodes() const { return treeNodes_.load(); }
  int32_t deepest() const { return deepest_.load(); }

 private:
  void draw(const SearchTreeStatistics& statistics, int32_t depth) {
    if (!line_.due()) return;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::ostringstream text;
    text << "cohc: " << treeNodes_.load() << " tree nodes, depth " << depth << " (deepest "
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
    text << ", " << std::fixed << std::setprecision(1) << seconds << " s";
    line_.show(text.str());
  }

  ProgressLine& line_;
  std::chrono::steady_clock::time_point start_;
  std::atomic<int64_t> treeNodes_{0};
  std::atomic<int32_t> deepest_{0};
};

struct CohcReport : SolveReport {
  int64_t treeNodes = 0;
  int32_t deepestDepth = 0;
  const SearchTreeStatistics* statistics = nullptr;  // none when reported before the run ended
};

void printDepthTable(const SearchTreeStatistics& statistics) {
  std::cout << std::right << std::setw(7) << "Depth" << std::setw(12) << "Started" << std::setw(12) << "Solved"
            << std::setw(14) << "Forced Edges" << std::setw(14) << "Longest Time" << std::setw(14) << "Average Time"
            << "\n";
  for (int32_t d = 0; d <= statistics.deepestStartedDepth; ++d) {
    auto at = static_cast<size_t>(d);
    bool anySolved = statistics.solved[at] > 0;
    std::cout << std::setw(7) << d << std::setw(12) << formatNumber(statistics.started[at], 0) << std::setw(12)
              << formatNumber(statistics.solved[at], 0) << std::setw(14) << formatNumber(statistics.forcedEdges[at], 0)
              << std::setw(14) << (anySolved ? formatNumber(statistics.longestTime[at], 3) : std::string("-"))
              << std::setw(14) << (anySolved ? formatNumber(statistics.displayedAverageTime(d), 3) : std::string("-"))
              << "\n";
  }
}

void printReport(const CohcReport& r, const CohcCommandOptions& options, bool json) {
  if (json) {
    Json j = jsonReportHead("cohc", r);
    j["treeNodes"] = r.treeNodes;
    j["deepestDepth"] = r.deepestDepth;
    j["level"] = options.level;
    j["maxDepth"] = options.maxDepth;
    j["minimal"] = options.minimal;
    j["stopped"] = r.stopped;
    if (r.statistics) {
      Json depths = Json::array();
      const SearchTreeStatistics& s = *r.statistics;
      for (int32_t d = 0; d <= s.deepestStartedDepth; ++d) {
        auto at = static_cast<size_t>(d);
        depths.push_back({{"depth", d},
                          {"started", static_cast<int64_t>(s.started[at])},
                          {"solved", static_cast<int64_t>(s.solved[at])},
                          {"forcedEdges", static_cast<int64_t>(s.forcedEdges[at])},
                          {"longestTime", s.longestTime[at]},
                          {"averageTime", s.averageTime[at]}});
      }
      j["depths"] = depths;
    }
    printJsonReport(j, r, options.output);
    return;
  }
  printGraphLine(r);
  std::cout << "Method: Co-HC proof system, pruning level " << options.level << ", "
            << (options.minimal ? "minimal children" : "all children") << ", maximum depth "
            << (options.maxDepth == 999999999 ? std::string("unlimited") : std::to_string(options.maxDepth)) << ", seed "
            << r.seed << "\n";
  if (r.statistics) printDepthTable(*r.statistics);
  std::cout << "Tree nodes: " << r.treeNodes << ", deepest depth " << r.deepestDepth << ", " << formatNumber(r.seconds, 3)
            << " s\n";
  printVerdict(r, options.output, "proved");
}

}  // namespace

int runCohc(const CohcCommandOptions& options, const CommonOptions& common) {
  SolveInput input;
  uint32_t seed = 0;
  if (std::string problem = prepareSolve(options.graph, options.output, options.seed, input, seed); !problem.empty())
    return fail(problem);
  Graph& graph = *input.loaded.graph;
  // The tree writes nothing itself: --output is ours, after the verification.
  graph.outputFileName.clear();
  CohcReport report;
  static_cast<SolveReport&>(report) = startReport(input, seed);

  CohcOptions engineOptions;
  engineOptions.maxSearchDepth = options.maxDepth;
  engineOptions.pruningLevel = options.level;
  engineOptions.buildMinimalChildren = options.minimal;
  engineOptions.writeCycleFile = false;
  ProgressLine progress(common.progress);
  ProgressListener listener(progress);
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  CohcResult result;
  const bool timedOut = runWatched(
      options.timeLimit,
      [&](bool byDeadline) {
        CohcReport late = report;
        late.seconds = elapsed();
        late.treeNodes = listener.treeNodes();
        late.deepestDepth = listener.deepest();
        late.stopped = byDeadline ? "time limit" : "interrupted";
        printReport(late, options, common.json);
      },
      [&] { result = runCoHC(graph, engineOptions, &processStop(), &listener); });
  report.seconds = elapsed();
  progress.finish();
  const bool stoppedFromOutside = result.aborted || processStop().reason() != StopReason::kNone;
  const bool interrupted = stoppedFromOutside && !timedOut;

  // A proof stopped from outside may have left branches unexplored: only a run that ended
  // by itself proves non-Hamiltonicity.
  report.end = finishRun(input, graph, result.verdict, result.cycle, !stoppedFromOutside, options.output);
  report.treeNodes = result.treeNodes;
  report.deepestDepth = result.deepestDepth;
  report.statistics = result.statistics.get();
  report.stopped = "decided";
  if (report.end.verdict == "undecided")
    report.stopped = interrupted ? "interrupted" : timedOut ? "time limit" : "search depth too shallow";
  printReport(report, options, common.json);
  return exitStatusOf(report, options.output);
}

}  // namespace hc::cli
