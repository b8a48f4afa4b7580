// The subcommands of hamcycles-cli. main.cpp fills these option blocks with CLI11 (which
// checks every range) and calls one run function, whose result is the exit status. The run
// functions load, run and print; everything they run lives in src/run.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "run/graph_information.h"
#include "run/graph_loading.h"
#include "run/result_field_table.h"
#include "run/run_files.h"
#include "run/run_method.h"
#include "run_control.h"

namespace hc::cli {

using Json = nlohmann::ordered_json;

// Exit statuses (the same as SAT solvers use, so scripts can treat both alike).
inline constexpr int kExitUndecided = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitHamiltonian = 10;
inline constexpr int kExitNonHamiltonian = 20;

struct CommonOptions {
  bool json = false;
  ProgressMode progress = ProgressMode::kAuto;
};

// What schc, cohc and solve take besides their method's options (the engine's structs).
struct MethodArguments {
  std::string graph;
  double timeLimit = 0.0;  // seconds; 0: none
  std::optional<uint32_t> seed;
  std::string output;
  std::string proof;  // cohc, solve: where a non-Hamiltonian verdict's certificate goes
};

struct GenerateOptions {
  std::string family;
  std::vector<std::string> parameters;
  std::string output;
  std::optional<uint32_t> seed;
  std::string cnf;
};

// `verify GRAPH CYCLE` and `check GRAPH PROOF`.
struct GraphAndFile {
  std::string graph;
  std::string file;
  int64_t index = -1;  // check --index: the graph of a file of several graphs (from 0)
};

// `convert IN OUT`.
struct ConvertOptions {
  std::string input;
  std::string output;
  int32_t base = 0;     // first node number of .edges/.el files, read and written
  bool strict = false;  // refuse, rather than warn, when OUT's format drops part of the graph
};

// The batch options of info, schc, cohc and solve (run/batch.h).
struct BatchOptions {
  std::string each;        // a file naming one graph file per line
  int32_t jobs = 1;        // graphs decided at once
  std::string part;        // "I/K": the graphs I, I + K, ... of the batch
  int32_t base = 0;        // first node number of .edges/.el files
  bool jobsGiven = false;  // --jobs or --part on the command line
  std::string proofDir;    // cohc, solve: the folder of the certificates
};

// The reader options of the command line (--base), for every graph file it loads.
FormatOptions& commandLineFormatOptions();

int runConvert(const ConvertOptions& options, const CommonOptions& common);
int runInfo(const std::string& graph, const CommonOptions& common);
int runMethodCommand(const MethodArguments& arguments, const MethodOptions& method,
                     const CommonOptions& common);
int runGenerate(const GenerateOptions& options, const CommonOptions& common);
int runVerify(const GraphAndFile& options, const CommonOptions& common);
int runCheck(const GraphAndFile& options);

// Whether a command line asks for a batch: --each, --jobs, --part, --proof-dir, or a GRAPH
// file of several graphs.
bool isBatchRun(const std::string& graph, const BatchOptions& options);
// Runs a batch of `method` (none: info) and prints it; 0 once it has run, 1 on bad usage or
// when the batch file (or the --each list) cannot be opened.
int runBatchCommand(const std::string& graph, const BatchOptions& options, const MethodArguments& arguments,
                    const std::optional<MethodOptions>& method, const CommonOptions& common);

// The JSON object of `info`: the figures of the graph as loaded, the page's figures after the
// root pruning under "pruned", and the three structural flags.
Json infoJson(const GraphInformation& info);

// The fields every solving command's object begins with: command, graph, verdict, nodes,
// edges, seconds, cycle (when Hamiltonian), seed.
Json reportHead(const char* command, const std::string& name, int32_t nodes, int64_t edges,
                const RunOutcome& outcome);

// The outcome's figures and the method's options that the reports echo, in the order of their
// tables (run/result_field_table.h, run/method_option_table.h); `batch`: those of a batch line.
void addOutcomeFields(Json& j, const MethodOptions& method, const RunOutcome& outcome, bool batch);
// "output", "certified", "proof" and "certificateNote", for the files asked for.
void addFileFields(Json& j, const RunOutcome& outcome, const RunFilesWritten& written,
                   const std::string& output, const std::string& proof);
// The lines a solving report ends with: the verdict, the cycle or the certificate; `proved`
// says how a non-Hamiltonian verdict was proved, `undecided` why there is none.
void printVerdictLines(const RunOutcome& outcome, const RunFilesWritten& written, const std::string& output,
                       const std::string& proof, const std::string& proved, const std::string& undecided);
// A solving command's graph, loaded after the run's seed stream has started (its
// construction takes the stream's first value) and under the process's stop, with the Ctrl-C
// handler installed: Ctrl-C during a long load ends it.
struct LoadedRun {
  uint32_t seed = 0;
  RunInput input;
};
LoadedRun loadRunGraph(const std::string& graph, std::optional<uint32_t> seed);

// The part that decided, as the reports name it ("exact search"); `otherwise` when none did.
std::string decidedText(const RunOutcome& outcome, const std::string& otherwise = {});
// solve's "Method:" and "Exact search:" lines.
void printSolveLines(const SolveOptions& solve, const RunOutcome& outcome);
// On stderr: the method's cycle that failed the check, if any; the files asked for that the
// verdict gives nothing to write.
void noteCycleFault(const RunOutcome& outcome);
void noteFilesNotWritten(const std::string& output, const std::string& proof, Verdict verdict);
// 10 Hamiltonian, 20 non-Hamiltonian, 0 undecided.
int exitStatusOf(Verdict verdict);

// Prints one JSON object on stdout, every string in it made valid UTF-8 (validUtf8Text).
void printJson(Json object);

// One error line on stderr ("hamcycles-cli: " + message, newlines folded, then printableText); returns 1.
int fail(const std::string& message);

}  // namespace hc::cli
