// What schc and cohc share: the seed, the checks of --output before a run starts, loading
// the graph with the snapshot of its edges, the watched run, and the end of a run (verify
// the cycle against the graph as loaded, write it, report it, choose the exit status).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/graph_information.h"
#include "core/edge_snapshot.h"
#include "run/graph_loading.h"
#include "core/graph.h"
#include "core/hamiltonian_cycle_check.h"

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
  EdgeSnapshot edges;
  std::string name;  // display name
};
// Loads the graph; on failure returns the error line.
std::string loadForSolving(const std::string& path, SolveInput& input);

// Everything a solving command checks before it runs, in order: --output, the seed (into
// `seed`), the graph, and an .obj --output against the graph's coordinates. Empty when
// the run may start, else the error line.
std::string prepareSolve(const std::string& graphPath, const std::string& output,
                         const std::optional<uint32_t>& requestedSeed, SolveInput& input, uint32_t& seed);

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

// Arms Ctrl-C, gives the process's StopToken the deadline `timeLimit` seconds from now
// (none when <= 0), then calls `run` under a RunMonitor. Should the method ignore the stop
// for too long, `reportLate(byDeadline)` prints the report so far and the process ends
// undecided. Returns whether the deadline stopped the run.
bool runWatched(double timeLimit, const std::function<void(bool byDeadline)>& reportLate,
                const std::function<void()>& run);

// The part of a solving command's report that schc and cohc share.
struct SolveReport {
  std::string name;
  int32_t nodes = 0;
  int64_t edges = 0;
  double seconds = 0.0;
  uint32_t seed = 0;
  std::string stopped;
  RunEnd end;
};
SolveReport startReport(const SolveInput& input, uint32_t seed);

// True when the verified cycle went to --output.
bool cycleWritten(const SolveReport& r, const std::string& output);
// The JSON fields every solving command begins with: command, graph, verdict, nodes, edges,
// seconds, cycle (when Hamiltonian), seed.
Json jsonReportHead(const char* command, const SolveReport& r);
// Adds "output" (when asked for) and prints the object.
void printJsonReport(Json& j, const SolveReport& r, const std::string& output);
// "Graph: NAME (N nodes, M edges)".
void printGraphLine(const SolveReport& r);
// The verdict lines; `proofText` says how a non-Hamiltonian verdict was proved.
void printVerdict(const SolveReport& r, const std::string& output, const char* proofText);
// The exit status after the report: an unwritable --output is an error; a requested cycle
// that was not found is said on stderr.
int exitStatusOf(const SolveReport& r, const std::string& output);

// "0 1 2 ... 63" for short cycles; a count for long ones.
std::string cycleSummary(const std::vector<int32_t>& cycle);

// Prints one JSON object on stdout.
void printJson(const Json& object);

// The JSON object of `info`: the figures of the graph as loaded, the page's figures after the
// root pruning under "pruned", and the three structural flags.
Json infoJson(const GraphInformation& info, const Graph& loaded);

}  // namespace hc::cli
