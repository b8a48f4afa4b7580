// `solve GRAPH`: the portfolio decision (root pruning with the alternation rule, exact
// search, rotation-extension finder, Probability Mill), stopped by --time-limit or Ctrl-C.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "core/number_format.h"
#include "commands.h"
#include "run_control.h"
#include "solve/solve_graph.h"
#include "solve_common.h"

namespace hc::cli {

namespace {

struct SolveCommandReport : SolveReport {
  std::string method;
  int64_t treeNodes = 0;
  int32_t deepestDepth = 0;
};

void printReport(const SolveCommandReport& r, const SolveCommandOptions& options, bool json) {
  if (json) {
    Json j = jsonReportHead("solve", r);
    j["method"] = r.method.empty() ? Json() : Json(r.method);
    j["treeNodes"] = r.treeNodes;
    j["deepestDepth"] = r.deepestDepth;
    j["threads"] = options.threads;
    j["stopped"] = r.stopped;
    printJsonReport(j, r, options.output);
    return;
  }
  printGraphLine(r);
  std::cout << "Method: portfolio on " << options.threads << (options.threads == 1 ? " thread" : " threads")
            << ", seed " << r.seed << (r.method.empty() ? std::string() : ", decided by the " + r.method) << "\n";
  std::cout << "Exact search: " << r.treeNodes << " tree nodes, deepest depth " << r.deepestDepth << ", "
            << formatNumber(r.seconds, 3) << " s\n";
  printVerdict(r, options.output, ("proved by the " + (r.method.empty() ? std::string("search") : r.method)).c_str());
}

}  // namespace

int runSolve(const SolveCommandOptions& options, const CommonOptions& common) {
  SolveInput input;
  uint32_t seed = 0;
  if (std::string problem = prepareSolve(options.graph, options.output, options.seed, input, seed); !problem.empty())
    return fail(problem);
  Graph& graph = *input.loaded.graph;
  SolveCommandReport report;
  static_cast<SolveReport&>(report) = startReport(input, seed);

  SolveOptions engineOptions;
  engineOptions.threads = options.threads;
  engineOptions.seed = seed;
  ExactSearchProgress live;
  ProgressLine progress(common.progress);
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  SolveResult result;
  std::atomic<bool> running{true};
  // The progress line is drawn from here, not from the workers.
  std::jthread drawer([&](std::stop_token token) {
    while (!token.stop_requested() && running.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (!progress.due()) continue;
      char text[160];
      std::snprintf(text, sizeof text, "solve: %lld tree nodes, depth %d, %.1f s",
                    static_cast<long long>(live.treeNodes.load()), live.depth.load(), elapsed());
      progress.show(text);
    }
  });
  const bool timedOut = runWatched(
      options.timeLimit,
      [&](bool byDeadline) {
        SolveCommandReport late = report;
        late.seconds = elapsed();
        late.treeNodes = live.treeNodes.load();
        late.stopped = byDeadline ? "time limit" : "interrupted";
        printReport(late, options, common.json);
      },
      [&] { result = solveGraph(graph, engineOptions, &processStop(), &live); });
  report.seconds = elapsed();  // before the drawer's last nap
  running.store(false);
  drawer.request_stop();
  drawer.join();
  progress.finish();

  // Only the complete search and the sound root rules give the verdict 0, and never after
  // a stop: the engine reports undecided then.
  report.end = finishRun(input, graph, result.verdict, result.cycle, true, options.output);
  report.method = report.end.verdict == "undecided" ? std::string() : result.method;
  report.treeNodes = result.treeNodes;
  report.deepestDepth = result.deepestDepth;
  report.stopped = "decided";
  if (report.end.verdict == "undecided") report.stopped = timedOut || result.timedOut ? "time limit" : "interrupted";
  printReport(report, options, common.json);
  return exitStatusOf(report, options.output);
}

}  // namespace hc::cli
