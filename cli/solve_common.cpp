#include "solve_common.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include <unistd.h>

#include "app/graph_source.h"
#include "commands.h"
#include "core/random.h"
#include "io/cycle_files.h"
#include "run_control.h"

namespace hc::cli {

uint32_t startSeededRun(const std::optional<uint32_t>& requested) {
  // The graph is loaded after this, so its construction takes the stream's first value.
  return startRunSeedStream(requested, SeedScope::Process, false);
}

std::string checkWritablePath(const std::string& option, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return option + " " + path + " is a folder";
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, ec)) return option + " " + path + ": folder " + folder.string() + " does not exist";
  if (access(folder.c_str(), W_OK) != 0) return option + " " + path + ": folder " + folder.string() + " is not writable";
  return {};
}

std::string checkCycleOutputPath(const std::string& output, const std::string& graphPath) {
  if (output.empty()) return {};
  if (cycleOutputFormatOf(output) == CycleOutputFormat::Unknown)
    return "--output " + output + ": unknown extension (use " + cycleOutputExtensions() + ")";
  std::error_code ec;
  if (!graphPath.empty() && std::filesystem::exists(output, ec) && std::filesystem::equivalent(output, graphPath, ec))
    return "--output " + output + " is the input graph itself; choose another file";
  return checkWritablePath("--output", output);
}

std::string loadForSolving(const std::string& path, SolveInput& input) {
  input.loaded = loadGraphFile(path, commandLineFormatOptions());
  if (!input.loaded) return input.loaded.error;
  input.edges = EdgeSnapshot(*input.loaded.graph);
  input.name = graphDisplayName(input.loaded.description);
  return {};
}

std::string prepareSolve(const std::string& graphPath, const std::string& output,
                         const std::optional<uint32_t>& requestedSeed, SolveInput& input, uint32_t& seed) {
  if (std::string problem = checkCycleOutputPath(output, graphPath); !problem.empty()) return problem;
  seed = startSeededRun(requestedSeed);
  // Ctrl-C during a long load must still end with the summary: the stop it requests is
  // carried into the run, which then stops at once.
  installInterruptHandler();
  if (std::string problem = loadForSolving(graphPath, input); !problem.empty()) return problem;
  if (cycleOutputFormatOf(output) == CycleOutputFormat::Obj && !input.loaded.graph->hasCoordinates())
    return "--output " + output + ": an .obj cycle file needs node coordinates, which only graphs read from .obj files have";
  return {};
}

bool runWatched(double timeLimit, const std::function<void(bool byDeadline)>& reportLate,
                const std::function<void()>& run) {
  installInterruptHandler();  // already in place since before the load (prepareSolve)
  processStop().setTimeLimit(timeLimit);
  // The overrun path is reached only when the method ignores the stop for too long.
  RunMonitor monitor(processStop(), [&](bool byDeadline) {
    reportLate(byDeadline);
    std::cerr << "hamcycles-cli: the run did not stop within " << kStopGraceSeconds
              << " s of the request; it was ended with the result so far\n";
    std::_Exit(kExitUndecided);
  });
  run();
  const bool timedOut = processStop().reason() == StopReason::kDeadline;
  if (!RunMonitor::claimReport()) {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));  // the monitor reports and ends the process
  }
  return timedOut;
}

SolveReport startReport(const SolveInput& input, uint32_t seed) {
  SolveReport r;
  r.name = input.name;
  r.nodes = input.loaded.graph->howManyNodes;
  r.edges = input.edges.edges();
  r.seed = seed;
  return r;
}

bool cycleWritten(const SolveReport& r, const std::string& output) {
  return !output.empty() && r.end.verdict == "hamiltonian" && r.end.outputError.empty();
}

Json jsonReportHead(const char* command, const SolveReport& r) {
  Json j;
  j["command"] = command;
  j["graph"] = r.name;
  j["verdict"] = r.end.verdict;
  j["nodes"] = r.nodes;
  j["edges"] = r.edges;
  j["seconds"] = r.seconds;
  if (r.end.verdict == "hamiltonian") j["cycle"] = r.end.cycle;
  j["seed"] = r.seed;
  return j;
}

void printJsonReport(Json& j, const SolveReport& r, const std::string& output) {
  if (!output.empty()) j["output"] = cycleWritten(r, output) ? Json(output) : Json();
  printJson(j);
}

void printGraphLine(const SolveReport& r) {
  std::cout << "Graph: " << r.name << " (" << r.nodes << " nodes, " << r.edges << " edges)\n";
}

void printVerdict(const SolveReport& r, const std::string& output, const char* proofText) {
  if (r.end.verdict == "hamiltonian") {
    std::cout << "Verdict: Hamiltonian (cycle verified)\n";
    std::cout << "Cycle: " << cycleSummary(r.end.cycle) << "\n";
    if (cycleWritten(r, output)) std::cout << "Cycle written to " << output << "\n";
  } else if (r.end.verdict == "non-hamiltonian") {
    std::cout << "Verdict: non-Hamiltonian (" << proofText << ")\n";
  } else {
    std::cout << "Verdict: undecided (" << r.stopped << ")\n";
  }
  std::cout << std::flush;
}

int exitStatusOf(const SolveReport& r, const std::string& output) {
  if (!r.end.outputError.empty()) return fail(r.end.outputError);
  if (!output.empty() && r.end.verdict != "hamiltonian")
    std::cerr << "hamcycles-cli: no cycle found, " << output << " not written\n";
  return r.end.exitCode;
}

RunEnd finishRun(const SolveInput& input, const Graph& solved, HamiltonicityState verdict,
                 const std::vector<int32_t>& engineCycle, bool proofTrusted, const std::string& output) {
  RunEnd end;
  if (verdict == kHamiltonian) {
    std::vector<int32_t> cycle = engineCycle;
    CycleCheck check;
    if (cycle.empty()) check = extractCycle(solved, cycle);
    if (check) check = isHamiltonianCycle(input.edges, cycle);
    if (!check) {
      std::cerr << "hamcycles-cli: the method reported a cycle that is not a Hamiltonian cycle of the graph ("
                << check.fault << "); the run counts as undecided\n";
      return end;
    }
    end.verdict = "hamiltonian";
    end.exitCode = kExitHamiltonian;
    end.cycle = std::move(cycle);
    if (!output.empty()) {
      if (FileStatus s = writeCycleFile(output, input.name, solved, end.cycle); !s) end.outputError = s.error;
    }
    return end;
  }
  if (verdict == kNotHamiltonian && proofTrusted) {
    end.verdict = "non-hamiltonian";
    end.exitCode = kExitNonHamiltonian;
  }
  return end;
}

std::string cycleSummary(const std::vector<int32_t>& cycle) {
  constexpr size_t kLongest = 100;
  if (cycle.size() > kLongest)
    return std::to_string(cycle.size()) + " nodes (use --output FILE or --json for the whole cycle)";
  std::string text;
  for (size_t i = 0; i < cycle.size(); ++i) {
    if (i) text += ' ';
    text += std::to_string(cycle[i]);
  }
  return text;
}

FormatOptions& commandLineFormatOptions() {
  static FormatOptions options;
  return options;
}

void printJson(const Json& object) { std::cout << object.dump() << '\n' << std::flush; }

}  // namespace hc::cli
