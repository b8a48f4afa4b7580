// The subcommands of hamcycles-cli. main.cpp fills these option blocks with CLI11
// (which checks every range) and calls one run function, whose result is the exit status.
// The run functions load, run and print; the logic they share with the window lives in
// src/app.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/graph_loading.h"
#include "run_control.h"

namespace hc::cli {

// Exit statuses (the same as SAT solvers use, so scripts can treat both alike).
inline constexpr int kExitUndecided = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitHamiltonian = 10;
inline constexpr int kExitNonHamiltonian = 20;

struct CommonOptions {
  bool json = false;
  ProgressMode progress = ProgressMode::Auto;
};

struct InfoOptions {
  std::string graph;
};

struct SchcCommandOptions {
  std::string graph;
  int32_t version = 5;
  int64_t maxIterations = 0;  // 0: no limit of our own
  double timeLimit = 0.0;     // seconds; 0: none
  std::optional<uint32_t> seed;
  int32_t threads = 1;
  std::string output;
};

struct CohcCommandOptions {
  std::string graph;
  int32_t level = 5;
  int32_t maxDepth = 999999999;
  bool minimal = false;
  double timeLimit = 0.0;
  std::optional<uint32_t> seed;
  std::string output;
};

struct SolveCommandOptions {
  std::string graph;
  double timeLimit = 0.0;
  std::optional<uint32_t> seed;
  int32_t threads = 4;
  std::string output;
};

struct GenerateOptions {
  std::string family;
  std::vector<std::string> parameters;
  std::string output;
  std::optional<uint32_t> seed;
  std::string cnf;
};

struct VerifyOptions {
  std::string graph;
  std::string cycle;
};

// `check GRAPH PROOF`.
struct CheckOptions {
  std::string graph;
  std::string proof;
};

// `convert IN OUT`.
struct ConvertOptions {
  std::string input;
  std::string output;
  int32_t base = 0;  // first node number of .edges/.el files, read and written
};

// The batch options of info, schc and cohc (see batch.h).
struct BatchOptions {
  std::string each;        // a file naming one graph file per line
  int32_t jobs = 1;        // graphs decided at once
  std::string part;        // "I/K": the graphs I, I + K, ... of the batch
  int32_t base = 0;        // first node number of .edges/.el files
  bool jobsGiven = false;  // --jobs or --part on the command line
};

// The reader options of the command line (--base), for every graph file it loads.
FormatOptions& commandLineFormatOptions();

int runConvert(const ConvertOptions& options, const CommonOptions& common);
int runInfo(const InfoOptions& options, const CommonOptions& common);
int runSchc(const SchcCommandOptions& options, const CommonOptions& common);
int runCohc(const CohcCommandOptions& options, const CommonOptions& common);
int runSolve(const SolveCommandOptions& options, const CommonOptions& common);
int runGenerate(const GenerateOptions& options, const CommonOptions& common);
int runVerify(const VerifyOptions& options, const CommonOptions& common);
int runCheck(const CheckOptions& options);

// One error line on stderr ("hamcycles-cli: " + message, newlines folded); returns 1.
int fail(const std::string& message);

}  // namespace hc::cli
