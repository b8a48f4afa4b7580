// hamcycles-cli: the headless front end. Argument handling only; each subcommand's work is
// in its command_*.cpp, and what they run in src/run.
//
// Every problem with the arguments or the input is one line on stderr and exit status 1;
// stdout carries only the result (exactly one JSON object with --json).
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <memory>
#include <new>
#include <string>

#include "commands.h"
#include "core/diagnostic_filter.h"
#include "core/diagnostics.h"
#include "core/message_text.h"
#include "cube_commands.h"
#include "hamcycles_version.h"
#include "io/graph_format_registry.h"
#include "run/method_option_table.h"

namespace hc::cli {

int fail(const std::string& message) {
  std::string line = message;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  // Whatever input the message quotes (a path, an argument), it is one printable line.
  std::cerr << "hamcycles-cli: " << hc::printableText(line) << "\n" << std::flush;
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
        if (!std::isfinite(value) || value <= 0.0 || value > 1e9)
          return "seconds must be greater than 0 (and at most 1e9)";
        return {};
      },
      "SECONDS>0");
}

// The parts of the command line that several subcommands share.
struct Shared {
  CommonOptions common;
  MethodArguments method;
  BatchOptions batch;
  int64_t seed = 0;
  bool verbose = false;
};

// CLI11 keeps an option's empty value as if it were not given; an empty argument is a mistake
// all the same (`--output ""` would write nothing and say nothing).
CLI::Validator notEmpty() {
  return CLI::Validator(
      [](const std::string& value) {
        return value.empty() ? std::string("an empty value is not allowed") : std::string();
      },
      "", "not empty");
}

std::string graphHelp() {
  return "Graph file (" + readableExtensions() + "), or - for standard input with --format";
}

// The checks of "-" (standard input or output) and --format once the command line is
// parsed: "-" needs --format, --format needs a "-", and a "-" on standard output must not
// mix with the report printed there. `reads` and `writes` are the arguments naming a graph
// to read and one to write. Empty when fine, else the error line.
std::string checkStandardStreams(const std::string& format, const std::vector<std::string>& reads,
                                 const std::vector<std::string>& writes, bool reportOnStdout) {
  const auto isStream = [](const std::string& path) { return path == kStandardStreamPath; };
  const bool reading = std::any_of(reads.begin(), reads.end(), isStream);
  const bool writing = std::any_of(writes.begin(), writes.end(), isStream);
  if (reading && writing)
    return "- may stand for standard input or standard output, not both; name a file for one";
  if ((reading || writing) && format.empty())
    return std::string(reading ? "- (standard input)" : "- (standard output)") +
           " needs --format to tell its format (" + formatNameList() + ")";
  if (!reading && !writing && !format.empty())
    return "--format " + format +
           " names the format of - (standard input or output); a file's format is its extension";
  if (writing && reportOnStdout)
    return "--json prints on standard output; write the graph to a file instead of -";
  if (writing && graphFormatOfName(format)->write == nullptr)
    return "--format " + format + ": this format is read only (write " + writableExtensions() + ")";
  return {};
}

void addJson(CLI::App* command, Shared& shared) {
  command->add_flag("--json", shared.common.json, "Print one JSON object");
}

void addProgressFlags(CLI::App* command, Shared& shared) {
  CommonOptions& common = shared.common;
  auto* on = command->add_flag_callback(
      "--progress", [&common] { common.progress = ProgressMode::kOn; },
      "Show the progress line on stderr even when it is not a terminal");
  auto* off = command->add_flag_callback(
      "--no-progress", [&common] { common.progress = ProgressMode::kOff; }, "Never show the progress line");
  on->excludes(off);
}

CLI::Option* addSeed(CLI::App* command, Shared& shared) {
  return command
      ->add_option("--seed", shared.seed,
                   "Seed of the random source (the run replays exactly with one thread)")
      ->check(CLI::Range(static_cast<int64_t>(0), static_cast<int64_t>(UINT32_MAX)));
}

void addBase(CLI::App* command, int32_t& base) {
  command->add_option("--base", base, "First node number of .edges/.el edge lists (0 or 1)")
      ->check(notEmpty())
      ->check(CLI::IsMember({0, 1}));
}

// --each, --jobs, --part and --base of the batch commands (run/batch.h).
void addBatchOptions(CLI::App* command, BatchOptions& batch) {
  command
      ->add_option("--each", batch.each, "Decide every graph of the files this file lists, one path per line")
      ->check(notEmpty());
  auto* jobs = command->add_option("--jobs", batch.jobs, "Graphs decided at once in a batch")
                   ->check(CLI::Range(1, 256));
  auto* part =
      command
          ->add_option("--part", batch.part, "I/K: only the graphs I, I+K, I+2K, ... of the batch (0-based)")
          ->check(notEmpty());
  jobs->each([&batch](const std::string&) { batch.jobsGiven = true; });
  part->each([&batch](const std::string&) { batch.jobsGiven = true; });
  addBase(command, batch.base);
}

// What every solving subcommand takes after its method's first options: --time-limit,
// --seed, `afterSeed` (the threads, where the method has them), --output, --json, the
// progress flags and the batch options.
void addRunOptions(CLI::App* command, Shared& shared, const std::function<void()>& afterSeed = {}) {
  command->add_option("--time-limit", shared.method.timeLimit, "Stop after this many seconds")
      ->check(positiveSeconds());
  addSeed(command, shared);
  if (afterSeed) afterSeed();
  command
      ->add_option("--output", shared.method.output,
                   "Write the cycle found: .txt adjacency text, .obj, .tour")
      ->check(notEmpty());
  addJson(command, shared);
  addProgressFlags(command, shared);
  addBatchOptions(command, shared.batch);
}

// --proof and --proof-dir of cohc and solve: the certificate of a non-Hamiltonian verdict.
void addProofOptions(CLI::App* command, Shared& shared) {
  command
      ->add_option("--proof", shared.method.proof,
                   "Write the certificate of a non-Hamiltonian verdict to this file (check it with "
                   "`check GRAPH FILE`)")
      ->check(notEmpty());
  command
      ->add_option("--proof-dir", shared.batch.proofDir,
                   "Batch: write each certified non-Hamiltonian graph's certificate into this folder, "
                   "as NAME-INDEX.proof")
      ->check(notEmpty());
}

// The options of one method, one per row of the table (run/method_option_table.h): those
// listed after --seed among the run options, the others before them.
class MethodFlags {
 public:
  explicit MethodFlags(MethodChoice method) : method_(method) {
    for (const MethodOptionRow& row : methodOptionRows())
      if (row.method == method) rows_.push_back(&row);
    numbers_ = std::make_unique<int64_t[]>(rows_.size());
    switches_ = std::make_unique<bool[]>(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
      numbers_[i] = defaultValueOf(*rows_[i]);
      switches_[i] = numbers_[i] != 0;
    }
  }

  // The method's options and the run options of `command`.
  void add(CLI::App* command, Shared& shared) {
    addRows(command, false);
    addRunOptions(command, shared, [&] { addRows(command, true); });
  }

  // The engine's options as the command line set them.
  MethodOptions options() const {
    MethodOptions options = defaultMethodOptions(method_);
    for (size_t i = 0; i < rows_.size(); ++i)
      rows_[i]->field.set(options, rows_[i]->isSwitch() ? int64_t{switches_[i]} : numbers_[i]);
    return options;
  }

 private:
  void addRows(CLI::App* command, bool afterSeed) {
    for (size_t i = 0; i < rows_.size(); ++i) {
      const MethodOptionRow& row = *rows_[i];
      if (row.has(kAfterSeed) != afterSeed) continue;
      if (row.isSwitch()) {
        command->add_flag(row.flag, switches_[i], helpLine(row));
        continue;
      }
      CLI::Option* option = command->add_option(row.flag, numbers_[i], helpLine(row));
      if (row.has(kShowDefault)) option->capture_default_str();
      if (row.choices.empty())
        option->check(CLI::Range(row.low, row.high));
      else
        option->check(CLI::IsMember(std::vector<int32_t>(row.choices.begin(), row.choices.end())));
    }
  }

  MethodChoice method_;
  std::vector<const MethodOptionRow*> rows_;
  std::unique_ptr<int64_t[]> numbers_;
  std::unique_ptr<bool[]> switches_;
};

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
  Shared shared;

  std::string& graph = shared.method.graph;  // of info, schc, cohc and solve
  // info, schc, cohc and solve: a subcommand on GRAPH (or on a batch).
  const auto addGraphCommand = [&](const char* name, const char* description) {
    CLI::App* command = app.add_subcommand(name, description);
    command->add_option("GRAPH", graph, graphHelp());
    return command;
  };
  auto* infoCommand = addGraphCommand("info", "The Graph Information figures of a graph file");
  addJson(infoCommand, shared);
  addBatchOptions(infoCommand, shared.batch);

  MethodFlags schc(MethodChoice::kSchc);
  auto* schcCommand = addGraphCommand("schc", "Run the Stone Carver's HC algorithm");
  schc.add(schcCommand, shared);

  MethodFlags cohc(MethodChoice::kCohc);
  auto* cohcCommand = addGraphCommand("cohc", "Run the Co-HC proof system");
  cohc.add(cohcCommand, shared);
  addProofOptions(cohcCommand, shared);

  MethodFlags solve(MethodChoice::kSolve);
  auto* solveCommand =
      addGraphCommand("solve", "Decide a graph with the portfolio (exact search, finder, mill)");
  solve.add(solveCommand, shared);
  addProofOptions(solveCommand, shared);
  CubeArguments cube;
  addCubeOptions(solveCommand, cube);
  JoinArguments join;
  CLI::App* joinCommand = addJoinCommand(app, join, shared.common.json);

  GenerateOptions generate;
  auto* generateCommand = app.add_subcommand("generate",
                                             "Generate a graph: edge-probability N P | regular N D | "
                                             "random-edges N M | torus R C | knight R C | ncube N | "
                                             "iccs K | complete N | 3sat N C | petersen N K");
  generateCommand->add_option("FAMILY", generate.family, "Graph family")->required();
  generateCommand->add_option("PARAMETERS", generate.parameters, "The family's parameters")->required();
  generateCommand
      ->add_option("--output", generate.output, "Where to write the graph (" + writableExtensions() + ")")
      ->required();
  addSeed(generateCommand, shared);
  generateCommand->add_option("--cnf", generate.cnf, "3sat only: also write the formula as DIMACS CNF");
  addJson(generateCommand, shared);
  addProgressFlags(generateCommand, shared);
  addBase(generateCommand, shared.batch.base);

  GraphAndFile verify;
  auto* verifyCommand = app.add_subcommand("verify", "Check a cycle file against a graph (exit 0 yes, 1 no)");
  verifyCommand->add_option("GRAPH", verify.graph, graphHelp())->required();
  verifyCommand
      ->add_option("CYCLE", verify.file, "Cycle: adjacency text (.txt), TSPLIB .tour, or a list of node ids")
      ->required();
  addJson(verifyCommand, shared);

  GraphAndFile check;
  auto* checkCommand = app.add_subcommand(
      "check", "Check a certificate that the graph has no Hamiltonian cycle (exit 0 accepted, 1 rejected)");
  checkCommand
      ->add_option("GRAPH", check.graph,
                   "Graph file (.txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el)")
      ->required();
  checkCommand->add_option("PROOF", check.file, "Certificate file (see the README, \"Certificates\")")
      ->required();
  checkCommand
      ->add_option("--index", check.index,
                   "Of a file of several graphs (.g6, .s6), the graph checked: 0 for the first, as "
                   "--proof-dir numbers their certificates")
      ->check(CLI::NonNegativeNumber);
  addBase(checkCommand, shared.batch.base);

  ConvertOptions convert;
  auto* convertCommand =
      app.add_subcommand("convert", "Convert a graph file into another format (by extension)");
  convertCommand->add_option("IN", convert.input, "Graph file to read")->required();
  convertCommand->add_option("OUT", convert.output, "Graph file to write (" + writableExtensions() + ")")
      ->required();
  addBase(convertCommand, convert.base);
  convertCommand->add_flag(
      "--strict", convert.strict,
      "Refuse when OUT's format cannot hold part of the graph (forced edges) instead of warning");
  addJson(convertCommand, shared);

  std::string streamFormat;
  for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    command->add_flag("--verbose", shared.verbose, "Show every diagnostic line of the engine on stderr");
    if (command != checkCommand && command != joinCommand)
      command
          ->add_option("--format", streamFormat,
                       "The format of - (standard input, or standard output where a graph is written)")
          ->check(CLI::IsMember(graphFormatNames()));
  }
  app.set_version_flag("--version", std::string("hamcycles-cli ") + HAMCYCLES_VERSION,
                       "Print the version and exit");

  if (argc >= 2 && argv[1][0] != '-') {
    std::string command = argv[1];
    if (app.get_subcommands([&](CLI::App* known) { return known->get_name() == command; }).empty())
      return fail("unknown command \"" + command +
                  "\" (use info, schc, cohc, solve, join, generate, verify, convert or check; see --help)");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help, --help-all, --version
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::string what = e.what();
    if (what.empty()) what = "bad arguments";
    return fail(what + " (see --help)");
  }

  if (shared.verbose) setDiagnosticStream(verboseStream);
  {
    std::vector<std::string> reads, writes;
    if (*convertCommand) {
      reads = {convert.input};
      writes = {convert.output};
    } else if (*generateCommand) {
      writes = {generate.output};
    } else {
      reads = {graph, verify.graph};
    }
    if (std::string problem = checkStandardStreams(streamFormat, reads, writes, shared.common.json);
        !problem.empty())
      return fail(problem);
    if (!streamFormat.empty()) setStandardStreamFormat(graphFormatOfName(streamFormat));
  }
  commandLineFormatOptions().edgeListBase = shared.batch.base;
  const CommonOptions& common = shared.common;
  MethodArguments& arguments = shared.method;
  const CLI::Option* seedOption = app.get_subcommands().front()->get_option_no_throw("--seed");
  const std::optional<uint32_t> seed = seedOption != nullptr && seedOption->count() > 0
                                           ? std::optional<uint32_t>(static_cast<uint32_t>(shared.seed))
                                           : std::nullopt;
  if (*infoCommand || *schcCommand || *cohcCommand || *solveCommand) {
    std::optional<MethodOptions> method;
    if (*schcCommand) method = schc.options();
    if (*cohcCommand) method = cohc.options();
    if (*solveCommand) method = solve.options();
    arguments.seed = seed;
    if (!cube.result.empty() && cube.cube.empty())
      return fail("--result records a part's result; it goes with --cube I/K");
    if (!cube.cube.empty()) {
      if (isBatchRun(graph, shared.batch)) return fail("--cube splits one graph; it is not for a batch");
      if (graph.empty() || graph == kStandardStreamPath) return fail("--cube needs GRAPH as a file");
      return runCubePartCommand(arguments, std::get<SolveOptions>(solve.options()), cube, common);
    }
    // A command on one graph needs the graph; a batch takes GRAPH or --each.
    if (isBatchRun(graph, shared.batch)) {
      if (!arguments.output.empty()) return fail("--output writes one graph's cycle; it is not for a batch");
      if (!arguments.proof.empty())
        return fail("--proof writes one graph's certificate; use --proof-dir DIR for a batch");
      return runBatchCommand(graph, shared.batch, arguments, method, common);
    }
    if (graph.empty()) return fail("GRAPH is required (or --each FILE for a batch)");
    if (arguments.output == kStandardStreamPath)
      return fail("--output -: the cycle is written to a file (standard output carries the report)");
    if (arguments.proof == kStandardStreamPath)
      return fail("--proof -: the certificate is written to a file (standard output carries the report)");
    return method ? runMethodCommand(arguments, *method, common) : runInfo(graph, common);
  }
  if (*convertCommand) return runConvert(convert, common);
  if (*generateCommand) {
    generate.seed = seed;
    return runGenerate(generate, common);
  }
  if (*verifyCommand) return runVerify(verify, common);
  if (*checkCommand) return runCheck(check);
  if (*joinCommand) return runJoinCommand(join, common);
  return fail(
      "a subcommand is required: info, schc, cohc, solve, join, generate, verify, convert or check (see "
      "--help)");
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
