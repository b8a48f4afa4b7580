// `cohc GRAPH`: the Co-HC proof system, with its per-depth table in the human output.
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "app/cycle_files.h"
#include "app/number_format.h"
#include "cohc/search_tree.h"
#include "commands.h"
#include "run_control.h"
#include "solve_common.h"

namespace hc::cli {

namespace {

// The progress line: tree nodes so far and how they spread over the depths.
class ProgressListener : public SearchTreeListener {
 public:
  explicit ProgressListener(ProgressLine& line) : line_(line), start_(std::chrono::steady_clock::now()) {}

  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool) override {
    ++treeNodes_;
    draw(statistics, depth);
  }
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override { draw(statistics, depth); }

 private:
  void draw(const SearchTreeStatistics& statistics, int32_t depth) {
    if (!line_.due()) return;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::ostringstream text;
    text << "cohc: " << treeNodes_ << " tree nodes, depth " << depth << " (deepest " << statistics.deepestStartedDepth
         << "), per depth:";
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
  int64_t treeNodes_ = 0;
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

}  // namespace

int runCohc(const CohcCommandOptions& options, const CommonOptions& common) {
  if (std::string problem = checkCycleOutputPath(options.output, options.graph); !problem.empty()) return fail(problem);
  const uint32_t seed = startSeededRun(options.seed);
  SolveInput input;
  if (std::string problem = loadForSolving(options.graph, input); !problem.empty()) return fail(problem);
  Graph& graph = *input.loaded.graph;
  if (cycleOutputFormatOf(options.output) == CycleOutputFormat::Obj && !graph.hasCoordinates())
    return fail("--output " + options.output + ": an .obj cycle file needs node coordinates, which only graphs read from .obj files have");
  // The tree writes nothing itself: --output is ours, after the verification.
  graph.outputFileName.clear();

  const int32_t nodes = graph.howManyNodes;
  const int64_t edges = input.edges.edges();
  installInterruptHandler();
  runFlag().store(1);

  CohcOptions engineOptions;
  engineOptions.maxSearchDepth = options.maxDepth;
  engineOptions.pruningLevel = options.level;
  engineOptions.buildMinimalChildren = options.minimal;
  engineOptions.writeCycleFile = false;
  ProgressLine progress(common.progress);
  ProgressListener listener(progress);
  auto start = std::chrono::steady_clock::now();
  CohcResult result;
  bool timedOut = false;
  {
    DeadlineWatcher watcher(options.timeLimit);
    result = runCoHC(graph, engineOptions, &runFlag(), progress.enabled() ? &listener : nullptr);
    timedOut = watcher.timedOut();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  progress.finish();
  const bool stoppedFromOutside = result.aborted || runFlag().load() == 0;
  const bool interrupted = stoppedFromOutside && !timedOut;

  // A proof stopped from outside may have left branches unexplored: only a run that ended
  // by itself proves non-Hamiltonicity.
  RunEnd end = finishRun(input, graph, result.verdict, result.cycle, !stoppedFromOutside, options.output);
  std::string stopped = "decided";
  if (end.verdict == "undecided") stopped = interrupted ? "interrupted" : timedOut ? "time limit" : "search depth too shallow";

  if (common.json) {
    Json j;
    j["command"] = "cohc";
    j["graph"] = input.name;
    j["verdict"] = end.verdict;
    j["nodes"] = nodes;
    j["edges"] = edges;
    j["seconds"] = seconds;
    if (end.verdict == "hamiltonian") j["cycle"] = end.cycle;
    j["seed"] = seed;
    j["treeNodes"] = result.treeNodes;
    j["deepestDepth"] = result.deepestDepth;
    j["level"] = options.level;
    j["maxDepth"] = options.maxDepth;
    j["minimal"] = options.minimal;
    j["stopped"] = stopped;
    if (result.statistics) {
      Json depths = Json::array();
      const SearchTreeStatistics& s = *result.statistics;
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
    if (!options.output.empty()) j["output"] = end.verdict == "hamiltonian" && end.outputError.empty() ? Json(options.output) : Json();
    printJson(j);
  } else {
    std::cout << "Graph: " << input.name << " (" << nodes << " nodes, " << edges << " edges)\n";
    std::cout << "Method: Co-HC proof system, pruning level " << options.level << ", "
              << (options.minimal ? "minimal children" : "all children") << ", maximum depth "
              << (options.maxDepth == 999999999 ? std::string("unlimited") : std::to_string(options.maxDepth)) << ", seed "
              << seed << "\n";
    if (result.statistics) printDepthTable(*result.statistics);
    std::cout << "Tree nodes: " << result.treeNodes << ", deepest depth " << result.deepestDepth << ", "
              << formatNumber(seconds, 3) << " s\n";
    if (end.verdict == "hamiltonian") {
      std::cout << "Verdict: Hamiltonian (cycle verified)\n";
      std::cout << "Cycle: " << cycleSummary(end.cycle) << "\n";
      if (!options.output.empty() && end.outputError.empty()) std::cout << "Cycle written to " << options.output << "\n";
    } else if (end.verdict == "non-hamiltonian") {
      std::cout << "Verdict: non-Hamiltonian (proved)\n";
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
