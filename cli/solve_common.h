// What schc and cohc share: the seed, the checks of --output before a run starts, loading
// the graph with the snapshot of its edges, and the end of a run (verify the cycle against
// the graph as loaded, write it, choose the exit status).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/cycle_verifier.h"
#include "app/graph_loading.h"
#include "core/graph.h"

namespace hc::cli {

using Json = nlohmann::ordered_json;

// The seed of the run: the given one, or a fresh one from the system's random device.
// Either way fixed-seed mode is enabled with it, so the reported seed replays the run.
uint32_t startSeededRun(const std::optional<uint32_t>& requested);

// Empty when a file can be written at `path` (its folder exists and is writable, and it is
// not a folder itself), else why not; `option` names the option in the message.
std::string checkWritablePath(const std::string& option, const std::string& path);

// Empty when `output` (possibly empty) can be written as a cycle file, else why not:
// unknown extension, missing folder, the input graph's own path.
std::string checkCycleOutputPath(const std::string& output, const std::string& graphPath);

// The graph and its edges as loaded (the verifier's reference).
struct SolveInput {
  LoadedGraph loaded;
  LoadedEdges edges;
  std::string name;  // display name
};
// Loads the graph; on failure returns the error line.
std::string loadForSolving(const std::string& path, SolveInput& input);

struct RunEnd {
  std::string verdict = "undecided";  // "hamiltonian", "non-hamiltonian", "undecided"
  int exitCode = 0;
  std::vector<int32_t> cycle;  // only when hamiltonian (verified)
  std::string outputError;     // the --output file could not be written
};

// From the engine's verdict and cycle: a Hamiltonian verdict counts only when the cycle
// (the given one, or read off the solved graph) passes the independent check; a failed
// check is reported on stderr and the run is undecided. `proofTrusted` false turns a
// non-Hamiltonian verdict into undecided (a run stopped from outside proves nothing).
RunEnd finishRun(const SolveInput& input, const Graph& solved, HamiltonicityState verdict,
                 const std::vector<int32_t>& engineCycle, bool proofTrusted, const std::string& output);

// "0 1 2 ... 63" for short cycles; a count for long ones.
std::string cycleSummary(const std::vector<int32_t>& cycle);

// Prints one JSON object on stdout.
void printJson(const Json& object);

}  // namespace hc::cli
