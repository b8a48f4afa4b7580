// hamcycles-cli: the headless front end. Argument handling only; each subcommand's work is
// in its command_*.cpp, and the program logic shared with the window in src/app.
//
// Every problem with the arguments or the input is one line on stderr and exit status 1;
// stdout carries only the result (exactly one JSON object with --json).
#include <cmath>
#include <cstdint>
#include <iostream>
#include <new>
#include <string>

#include <CLI/CLI.hpp>

#include "batch.h"
#include "commands.h"
#include "core/diagnostic_filter.h"
#include "core/diagnostics.h"
#include "io/graph_format_registry.h"
#include "schc/probability_mill.h"

namespace hc::cli {

int fail(const std::string& message) {
  std::string line = message;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  std::cerr << "hamcycles-cli: " << line << "\n" << std::flush;
  return kExitError;
}

namespace {

// A finite number of seconds greater than 0 (CLI11's Range lets NaN through).
CLI::Validator positiveSeconds() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        double value = 0.0;
        try {
          size_t used = 0;
          value = std::stod(text, &used);
          if (used != text.size()) return "\"" + text + "\" is not a number of seconds";
        } catch (const std::exception&) {
          return "\"" + text + "\" is not a number of seconds";
        }
        if (!std::isfinite(value) || value <= 0.0 || value > 1e9) return "seconds must be greater than 0 (and at most 1e9)";
        return {};
      },
      "SECONDS>0");
}

void addProgressFlags(CLI::App* command, CommonOptions& common) {
  auto* on = command->add_flag_callback("--progress", [&common] { common.progress = ProgressMode::On; },
                                        "Show the progress line on stderr even when it is not a terminal");
  auto* off = command->add_flag_callback("--no-progress", [&common] { common.progress = ProgressMode::Off; },
                                         "Never show the progress line");
  on->excludes(off);
}

int64_t seedValue = 0;

CLI::Option* addSeed(CLI::App* command) {
  return command->add_option("--seed", seedValue, "Seed of the random source (the run replays exactly with one thread)")
      ->check(CLI::Range(static_cast<int64_t>(0), static_cast<int64_t>(UINT32_MAX)));
}

bool verboseDiagnostics = false;

void addVerbose(CLI::App* command) {
  command->add_flag("--verbose", verboseDiagnostics, "Show every diagnostic line of the engine on stderr");
}

CLI::Option* addBase(CLI::App* command, int32_t& base) {
  return command->add_option("--base", base, "First node number of .edges/.el edge lists (0 or 1)")
      ->check(CLI::IsMember({0, 1}));
}

// --each, --jobs, --part and --base of the batch commands (see batch.h).
void addBatchOptions(CLI::App* command, BatchOptions& batch) {
  command->add_option("--each", batch.each, "Decide every graph of the files this file lists, one path per line");
  auto* jobs = command->add_option("--jobs", batch.jobs, "Graphs decided at once in a batch")->check(CLI::Range(1, 256));
  auto* part = command->add_option("--part", batch.part, "I/K: only the graphs I, I+K, I+2K, ... of the batch (0-based)");
  jobs->each([&batch](const std::string&) { batch.jobsGiven = true; });
  part->each([&batch](const std::string&) { batch.jobsGiven = true; });
  addBase(command, batch.base);
}

}  // namespace

int runMain(int argc, char** argv) {
  // The engine's diagnostic lines never mix with the result on stdout; which of them reach
  // stderr is decided once the arguments are known.
  DiagnosticFilter quietFilter(std::cerr, false);
  DiagnosticFilter verboseFilter(std::cerr, true);
  std::ostream quietStream(&quietFilter);
  std::ostream verboseStream(&verboseFilter);
  setDiagnosticStream(quietStream);
  struct RestoreStream {
    ~RestoreStream() { setDiagnosticStream(std::cerr); }
  } restore;

  CLI::App app{"hamcycles-cli: decide whether graphs have a Hamiltonian cycle, from the command line."};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Help for every subcommand");
  CommonOptions common;

  InfoOptions info;
  auto* infoCommand = app.add_subcommand("info", "The Graph Information figures of a graph file");
  infoCommand->add_option("GRAPH", info.graph, "Graph file (" + readableExtensions() + ")");
  infoCommand->add_flag("--json", common.json, "Print one JSON object");

  SchcCommandOptions schc;
  auto* schcCommand = app.add_subcommand("schc", "Run the Stone Carver's HC algorithm");
  schcCommand->add_option("GRAPH", schc.graph, "Graph file (" + readableExtensions() + ")");
  schcCommand->add_option("--version", schc.version, "Algorithm version: 3, 4, 5, 6, 7, 12 or 13")
      ->check(CLI::IsMember({3, 4, 5, 6, 7, 12, 13}));
  schcCommand->add_option("--max-iterations", schc.maxIterations, "Stop after this many iterations")
      ->check(CLI::Range(static_cast<int64_t>(1), static_cast<int64_t>(100000000)));
  schcCommand->add_option("--time-limit", schc.timeLimit, "Stop after this many seconds")->check(positiveSeconds());
  auto* schcSeed = addSeed(schcCommand);
  schcCommand->add_option("--threads", schc.threads, "Worker threads of the parallel mill")->capture_default_str()->check(CLI::Range(1, 256));
  schcCommand->add_option("--output", schc.output, "Write the cycle found: .txt adjacency text, .obj, .tour");
  schcCommand->add_flag("--json", common.json, "Print one JSON object");
  addProgressFlags(schcCommand, common);

  CohcCommandOptions cohc;
  auto* cohcCommand = app.add_subcommand("cohc", "Run the Co-HC proof system");
  cohcCommand->add_option("GRAPH", cohc.graph, "Graph file (" + readableExtensions() + ")");
  cohcCommand->add_option("--level", cohc.level, "Pruning level 0..6")->capture_default_str()->check(CLI::Range(0, 6));
  cohcCommand->add_option("--max-depth", cohc.maxDepth, "Maximum search depth (default unlimited)")
      ->check(CLI::Range(0, 999999999));
  cohcCommand->add_flag("--minimal", cohc.minimal, "Build minimal children");
  cohcCommand->add_option("--time-limit", cohc.timeLimit, "Stop after this many seconds")->check(positiveSeconds());
  auto* cohcSeed = addSeed(cohcCommand);
  cohcCommand->add_option("--output", cohc.output, "Write the cycle found: .txt adjacency text, .obj, .tour");
  cohcCommand->add_flag("--json", common.json, "Print one JSON object");
  addProgressFlags(cohcCommand, common);

  SolveCommandOptions solve;
  auto* solveCommand = app.add_subcommand("solve", "Decide a graph with the portfolio (exact search, finder, mill)");
  solveCommand->add_option("GRAPH", solve.graph, "Graph file (" + readableExtensions() + ")");
  solveCommand->add_option("--time-limit", solve.timeLimit, "Stop after this many seconds")->check(positiveSeconds());
  auto* solveSeed = addSeed(solveCommand);
  solveCommand->add_option("--threads", solve.threads, "Threads in all (search, finder, clause learner, proof system, mill)")
      ->capture_default_str()
      ->check(CLI::Range(1, 256));
  solveCommand->add_option("--output", solve.output, "Write the cycle found: .txt adjacency text, .obj, .tour");
  solveCommand->add_flag("--json", common.json, "Print one JSON object");
  addProgressFlags(solveCommand, common);

  GenerateOptions generate;
  auto* generateCommand = app.add_subcommand(
      "generate",
      "Generate a graph: edge-probability N P | regular N D | random-edges N M | torus R C | knight R C | ncube N | "
      "iccs K | complete N | 3sat N C | petersen N K");
  generateCommand->add_option("FAMILY", generate.family, "Graph family")->required();
  generateCommand->add_option("PARAMETERS", generate.parameters, "The family's parameters")->required();
  generateCommand->add_option("--output", generate.output,
                              "Where to write the graph (" + writableExtensions() + ")")
      ->required();
  auto* generateSeed = addSeed(generateCommand);
  generateCommand->add_option("--cnf", generate.cnf, "3sat only: also write the formula as DIMACS CNF");
  generateCommand->add_flag("--json", common.json, "Print one JSON object");
  addProgressFlags(generateCommand, common);

  VerifyOptions verify;
  auto* verifyCommand = app.add_subcommand("verify", "Check a cycle file against a graph (exit 0 yes, 1 no)");
  verifyCommand->add_option("GRAPH", verify.graph, "Graph file (" + readableExtensions() + ")")->required();
  verifyCommand->add_option("CYCLE", verify.cycle, "Cycle: adjacency text (.txt), TSPLIB .tour, or a list of node ids")
      ->required();
  verifyCommand->add_flag("--json", common.json, "Print one JSON object");

  CheckOptions check;
  auto* checkCommand = app.add_subcommand(
      "check", "Check a certificate that the graph has no Hamiltonian cycle (exit 0 accepted, 1 rejected)");
  checkCommand->add_option("GRAPH", check.graph, "Graph file (.txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el)")
      ->required();
  checkCommand->add_option("PROOF", check.proof, "Certificate file (see the README, \"Certificates\")")->required();

  BatchOptions batch;
  for (CLI::App* command : {infoCommand, schcCommand, cohcCommand, solveCommand}) addBatchOptions(command, batch);
  addBase(generateCommand, batch.base);
  addBase(checkCommand, batch.base);

  ConvertOptions convert;
  auto* convertCommand = app.add_subcommand("convert", "Convert a graph file into another format (by extension)");
  convertCommand->add_option("IN", convert.input, "Graph file to read")->required();
  convertCommand->add_option("OUT", convert.output, "Graph file to write (" + writableExtensions() + ")")
      ->required();
  addBase(convertCommand, convert.base);
  convertCommand->add_flag("--json", common.json, "Print one JSON object");

  for (CLI::App* command :
       {infoCommand, schcCommand, cohcCommand, solveCommand, generateCommand, verifyCommand, convertCommand, checkCommand})
    addVerbose(command);

  if (argc >= 2 && argv[1][0] != '-') {
    std::string command = argv[1];
    if (command != "info" && command != "schc" && command != "cohc" && command != "solve" && command != "generate" && command != "verify" &&
        command != "convert" && command != "check")
      return fail("unknown command \"" + command + "\" (use info, schc, cohc, solve, generate, verify, convert or check; see --help)");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::string what = e.what();
    if (what.empty()) what = "bad arguments";
    return fail(what + " (see --help)");
  }

  if (verboseDiagnostics) setDiagnosticStream(verboseStream);

  auto seedOf = [](CLI::Option* option) -> std::optional<uint32_t> {
    if (option->count() == 0) return std::nullopt;
    return static_cast<uint32_t>(seedValue);
  };
  commandLineFormatOptions().edgeListBase = batch.base;
  // A command on one graph needs the graph; a batch takes GRAPH or --each.
  auto graphProblem = [&](const std::string& graph, const std::string& output) -> std::string {
    if (isBatchRun(graph, batch)) return output.empty() ? "" : "--output writes one graph's cycle; it is not for a batch";
    return graph.empty() ? "GRAPH is required (or --each FILE for a batch)" : "";
  };
  if (*infoCommand) {
    if (std::string problem = graphProblem(info.graph, ""); !problem.empty()) return fail(problem);
    if (isBatchRun(info.graph, batch)) return runBatch("info", info.graph, 0.0, 1u, batch, common, infoDecider());
    return runInfo(info, common);
  }
  if (*schcCommand) {
    schc.seed = seedOf(schcSeed);
    if (!isOfferedVersion(schc.version)) return fail("--version must be one of 3, 4, 5, 6, 7, 12, 13");
    if (std::string problem = graphProblem(schc.graph, schc.output); !problem.empty()) return fail(problem);
    if (isBatchRun(schc.graph, batch))
      return runBatch("schc", schc.graph, schc.timeLimit, schc.seed, batch, common, schcDecider(schc));
    return runSchc(schc, common);
  }
  if (*cohcCommand) {
    cohc.seed = seedOf(cohcSeed);
    if (std::string problem = graphProblem(cohc.graph, cohc.output); !problem.empty()) return fail(problem);
    if (isBatchRun(cohc.graph, batch))
      return runBatch("cohc", cohc.graph, cohc.timeLimit, cohc.seed, batch, common, cohcDecider(cohc));
    return runCohc(cohc, common);
  }
  if (*solveCommand) {
    solve.seed = seedOf(solveSeed);
    if (std::string problem = graphProblem(solve.graph, solve.output); !problem.empty()) return fail(problem);
    if (isBatchRun(solve.graph, batch))
      return runBatch("solve", solve.graph, solve.timeLimit, solve.seed, batch, common, solveDecider(solve));
    return runSolve(solve, common);
  }
  if (*convertCommand) return runConvert(convert, common);
  if (*generateCommand) {
    generate.seed = seedOf(generateSeed);
    return runGenerate(generate, common);
  }
  if (*verifyCommand) return runVerify(verify, common);
  if (*checkCommand) return runCheck(check);
  return fail("a subcommand is required: info, schc, cohc, solve, generate, verify, convert or check (see --help)");
}

}  // namespace hc::cli

int main(int argc, char** argv) {
  try {
    return hc::cli::runMain(argc, argv);
  } catch (const std::bad_alloc&) {
    return hc::cli::fail("out of memory (the graph is too large for this machine)");
  } catch (const std::exception& e) {
    return hc::cli::fail(std::string("unexpected error: ") + e.what());
  }
}
