#include "solve_common.h"

#include <filesystem>
#include <iostream>
#include <random>

#include <unistd.h>

#include "app/cycle_files.h"
#include "commands.h"
#include "core/random.h"

namespace hc::cli {

uint32_t startSeededRun(const std::optional<uint32_t>& requested) {
  uint32_t seed = 0;
  if (requested) {
    seed = *requested;
  } else {
    std::random_device device;
    seed = static_cast<uint32_t>(device());
  }
  enableFixedSeed(seed);
  return seed;
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
    return "--output " + output + ": unknown extension (use .txt, .obj or .tour)";
  std::error_code ec;
  if (!graphPath.empty() && std::filesystem::exists(output, ec) && std::filesystem::equivalent(output, graphPath, ec))
    return "--output " + output + " is the input graph itself; choose another file";
  return checkWritablePath("--output", output);
}

std::string loadForSolving(const std::string& path, SolveInput& input) {
  input.loaded = loadGraphFile(path);
  if (!input.loaded) return input.loaded.error;
  input.edges = LoadedEdges(*input.loaded.graph);
  input.name = graphDisplayName(input.loaded.description);
  return {};
}

RunEnd finishRun(const SolveInput& input, const Graph& solved, HamiltonicityState verdict,
                 const std::vector<int32_t>& engineCycle, bool proofTrusted, const std::string& output) {
  RunEnd end;
  if (verdict == kHamiltonian) {
    std::vector<int32_t> cycle = engineCycle;
    CycleCheck check;
    if (cycle.empty()) check = extractCycle(solved, cycle);
    if (check) check = verifyHamiltonianCycle(input.edges, cycle);
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

void printJson(const Json& object) { std::cout << object.dump() << '\n' << std::flush; }

}  // namespace hc::cli
