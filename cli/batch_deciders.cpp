// The per-graph work of info, schc, cohc and solve in a batch: one graph decided into one JSON
// object and one summary line. Each mirrors its one-graph command without the progress
// line and the cycle file.
#include <chrono>
#include <iostream>
#include <mutex>

#include "app/graph_information.h"
#include "core/number_format.h"
#include "batch.h"
#include "cohc/search_tree.h"
#include "schc/stone_carver.h"
#include "solve/solve_graph.h"

namespace hc::cli {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What stopped an undecided run: the deadline, Ctrl-C, or the method's own limit.
std::string stoppedBy(const BatchGraph& g, const std::string& verdict, const char* ownLimit) {
  if (verdict != "undecided") return "decided";
  if (!g.stop.stopRequested()) return ownLimit;
  return g.stop.reason() == StopReason::kDeadline ? "time limit" : "interrupted";
}

std::string verdictText(const std::string& verdict) {
  if (verdict == "hamiltonian") return "Hamiltonian (cycle verified)";
  if (verdict == "non-hamiltonian") return "non-Hamiltonian";
  return "undecided";
}

// The fields every solving method's object begins with, and its summary line.
GraphOutcome solvedOutcome(const char* command, const BatchGraph& g, const RunEnd& end, double seconds,
                           const std::string& stopped) {
  GraphOutcome out;
  out.verdict = end.verdict;
  SolveReport report = startReport(g.input, g.seed);
  report.end = end;
  report.seconds = seconds;
  out.json = jsonReportHead(command, report);
  out.json["stopped"] = stopped;
  out.summary = verdictText(end.verdict) + (stopped == "decided" ? "" : " (" + stopped + ")") + ", " +
                std::to_string(report.nodes) + " nodes, " + std::to_string(report.edges) + " edges, " +
                formatNumber(seconds, 3) + " s";
  return out;
}

}  // namespace

GraphDecider infoDecider() {
  return [](BatchGraph& g) {
    GraphInformation info = computeGraphInformation(*g.input.loaded.graph, g.input.name);
    GraphOutcome out;
    // A Hamiltonian cycle needs a biconnected graph; info decides nothing else.
    out.verdict = info.biconnected ? "undecided" : "non-hamiltonian";
    out.json = infoJson(info, *g.input.loaded.graph);
    out.json["verdict"] = out.verdict;
    out.summary = std::to_string(info.nodes) + " nodes, " + std::to_string(info.edges) + " edges, degrees " +
                  std::to_string(info.minDegree) + ".." + std::to_string(info.maxDegree) +
                  (info.biconnected ? ", biconnected"
                   : info.connected ? ", not biconnected (non-Hamiltonian)"
                                    : ", not connected (non-Hamiltonian)");
    return out;
  };
}

GraphDecider schcDecider(const SchcCommandOptions& options) {
  return [options](BatchGraph& g) {
    static std::once_flag noted;
    if (options.timeLimit <= 0.0 && options.maxIterations <= 0)
      std::call_once(noted, [] {
        std::cerr << "hamcycles-cli: note: without --time-limit or --max-iterations, schc keeps iterating on a "
                     "non-Hamiltonian graph its initial pruning cannot prove\n";
      });
    Graph& graph = *g.input.loaded.graph;
    SchcOptions engineOptions;
    engineOptions.maxIterations = options.maxIterations;
    engineOptions.threads = options.threads;
    SchcOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    runStoneCarver(graph, options.version, &g.stop, nullptr, engineOptions, &outcome);
    const double seconds = secondsSince(start);
    // A non-Hamiltonian verdict of SCHC comes only from its initial pruning: always a proof.
    RunEnd end = finishRun(g.input, graph, graph.isHamiltonian, outcome.cycle, true, "");
    GraphOutcome out = solvedOutcome("schc", g, end, seconds, stoppedBy(g, end.verdict, "iteration limit"));
    out.json["iterations"] = outcome.iterations;
    out.json["version"] = options.version;
    return out;
  };
}

GraphDecider cohcDecider(const CohcCommandOptions& options) {
  return [options](BatchGraph& g) {
    Graph& graph = *g.input.loaded.graph;
    graph.outputFileName.clear();
    CohcOptions engineOptions;
    engineOptions.maxSearchDepth = options.maxDepth;
    engineOptions.pruningLevel = options.level;
    engineOptions.buildMinimalChildren = options.minimal;
    engineOptions.writeCycleFile = false;
    const auto start = std::chrono::steady_clock::now();
    CohcResult result = runCoHC(graph, engineOptions, &g.stop);
    const double seconds = secondsSince(start);
    // Only a run that ended by itself proves non-Hamiltonicity.
    const bool stoppedFromOutside = result.aborted || g.stop.reason() != StopReason::kNone;
    RunEnd end = finishRun(g.input, graph, result.verdict, result.cycle, !stoppedFromOutside, "");
    GraphOutcome out =
        solvedOutcome("cohc", g, end, seconds, stoppedBy(g, end.verdict, "search depth too shallow"));
    out.json["treeNodes"] = result.treeNodes;
    out.json["deepestDepth"] = result.deepestDepth;
    out.json["level"] = options.level;
    return out;
  };
}

GraphDecider solveDecider(const SolveCommandOptions& options) {
  return [options](BatchGraph& g) {
    Graph& graph = *g.input.loaded.graph;
    SolveOptions engineOptions;
    engineOptions.threads = options.threads;
    engineOptions.seed = g.seed;
    const auto start = std::chrono::steady_clock::now();
    SolveResult result = solveGraph(graph, engineOptions, &g.stop, nullptr);
    const double seconds = secondsSince(start);
    // The engine gives 0 only from the complete search or a sound root rule, never after a stop.
    RunEnd end = finishRun(g.input, graph, result.verdict, result.cycle, true, "");
    GraphOutcome out = solvedOutcome("solve", g, end, seconds, stoppedBy(g, end.verdict, "undecided"));
    out.json["method"] = end.verdict == "undecided" ? Json() : Json(result.method);
    out.json["treeNodes"] = result.treeNodes;
    out.json["deepestDepth"] = result.deepestDepth;
    return out;
  };
}

}  // namespace hc::cli
