// `generate FAMILY P1 [P2] --output FILE`: one of the eight families or the 3-SAT
// reduction, checked exactly as the Graph Generation page checks its parameters (knight
// boards only as the family needs: any board of 4 columns and up), or a generalized
// Petersen graph, written in any writable graph format (by the extension of --output).
#include <array>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string_view>

#include "commands.h"
#include "core/random.h"
#include "generators/generalized_petersen.h"
#include "generators/graph_generation.h"
#include "generators/logical_formula.h"
#include "io/dimacs_cnf_format.h"
#include "io/graph_format_registry.h"
#include "io/output_paths.h"
#include "io/path_names.h"
#include "run_control.h"

namespace hc::cli {

namespace {

struct Family {
  std::string_view name;
  int32_t sourceType;
  int parameters;
  std::string_view usage;
};

// Families of the command line only, beside the page's source types.
constexpr int32_t kGeneralizedPetersen = 1000;

constexpr std::array<Family, 10> kFamilies = {{
    {"edge-probability", kEdgeProbabilityGraph, 2, "edge-probability N P"},
    {"regular", kRegularGraph, 2, "regular N D"},
    {"random-edges", kRandomEdgesGraph, 2, "random-edges N M"},
    {"torus", kToroidalGrid, 2, "torus R C"},
    {"knight", kKnightsTourGraph, 2, "knight R C"},
    {"ncube", kNCubeGraph, 1, "ncube N"},
    {"iccs", kIccsGraph, 1, "iccs K"},
    {"complete", kCompleteGraph, 1, "complete N"},
    {"3sat", kThreeSatReduction, 2, "3sat N C"},
    {"petersen", kGeneralizedPetersen, 2, "petersen N K"},
}};

// A whole number of at most 18 digits, or -1.
int64_t wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoll(text);
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += (out.empty() ? "" : " ") + line;
  return out;
}

const char* familyNamesForHelp() {
  return "edge-probability, regular, random-edges, torus, knight, ncube, iccs, complete, 3sat, petersen";
}

}  // namespace

int runGenerate(const GenerateOptions& options, const CommonOptions& common) {
  const Family* family = nullptr;
  for (const Family& f : kFamilies)
    if (f.name == options.family) family = &f;
  if (!family) return fail("unknown family \"" + options.family + "\" (one of: " + familyNamesForHelp() + ")");
  if (static_cast<int>(options.parameters.size()) != family->parameters)
    return fail("generate " + std::string(family->name) + " takes " + std::to_string(family->parameters) + " parameter" +
                (family->parameters == 1 ? "" : "s") + ": generate " + std::string(family->usage) + " --output FILE");
  const bool isSat = family->sourceType == kThreeSatReduction;
  if (!options.cnf.empty() && !isSat) return fail("--cnf is only for the 3sat family");

  if (const GraphFormatInfo* format = graphFormatOfPath(options.output); format == nullptr || format->write == nullptr)
    return fail("--output " + options.output + ": unknown extension (use " + writableExtensions() + ")");
  if (std::string problem =
          options.output == kStandardStreamPath ? std::string() : checkWritablePath("--output", options.output);
      !problem.empty())
    return fail(problem);
  if (!options.cnf.empty()) {
    if (fileExtension(options.cnf) != "cnf") return fail("--cnf " + options.cnf + ": the formula file must end in .cnf");
    if (options.cnf == options.output) return fail("--cnf and --output name the same file");
    if (std::string problem = checkWritablePath("--cnf", options.cnf); !problem.empty())
      return fail(problem);
  }

  const std::string text1 = options.parameters[0];
  const std::string text2 = options.parameters.size() > 1 ? options.parameters[1] : std::string();
  const bool isPetersen = family->sourceType == kGeneralizedPetersen;
  // On the command line a knight's board only has to be one the family can build; the page's
  // rule of 8 x 8 and up is the page's own.
  const bool isKnight = family->sourceType == kKnightsTourGraph;
  ParameterCheck parameters;
  if (isPetersen) {
    parameters.first = static_cast<double>(wholeNumber(text1));
    parameters.second = static_cast<double>(wholeNumber(text2));
    if (parameters.first < 0 || parameters.second < 0) return fail("petersen N K: N and K must be whole numbers");
    if (std::string problem = checkGeneralizedPetersen(wholeNumber(text1), wholeNumber(text2)); !problem.empty())
      return fail(problem);
  } else if (isKnight) {
    if (!isNumericText(text1) || !isNumericText(text2)) return fail("knight R C: R and C must be numbers");
    parameters.first = numericTextValue(text1);
    parameters.second = numericTextValue(text2);
  } else {
    parameters = checkGenerationParameters(family->sourceType, text1, text2);
  }
  if (!parameters.ok()) return fail(joinLines(parameters.errors));

  const uint32_t seed = startRunSeedStream(options.seed, SeedScope::Process, false);
  std::unique_ptr<Graph> graph;
  std::optional<LogicalFormula> formula;
  // Ctrl-C stops the process's token and the generation stops at its next step; nothing has
  // been written by then (the files are written only from a finished graph, through a rename).
  installInterruptHandler();
  ProgressLine progress(common.progress);
  std::function<void(double)> showProgress;
  if (progress.enabled()) {
    showProgress = [&progress](double fraction) {
      if (!progress.due() && fraction < 1.0) return;
      char text[48];
      std::snprintf(text, sizeof text, "Generating: %.1f%%", 100.0 * fraction);
      progress.show(text);
    };
  }
  if (isSat) {
    if (std::string problem = validate3SatRequest(parameters.first, parameters.second); !problem.empty())
      return fail(problem);
    SatGenerationResult built = generate3SatGraph(parameters.first, parameters.second, &processStop(), showProgress);
    progress.finish();
    if (!built) return fail(built.error);
    graph = std::move(built.graph);
    formula = std::move(built.formula);
  } else if (isPetersen) {
    graph = generateGeneralizedPetersen(static_cast<int32_t>(parameters.first), static_cast<int32_t>(parameters.second));
  } else {
    GenerationRequest request = requestForFamily(family->sourceType, parameters.first, parameters.second);
    std::string problem = isKnight ? checkGenerationFeasibility(request) : validateGenerationRequest(request);
    if (!problem.empty()) return fail(problem);
    GenerationResult built = generateGraph(request, &processStop(), showProgress);
    progress.finish();
    if (!built) return fail(built.error);
    graph = std::move(built.graph);
  }

  GraphDescription description;
  description.sourceType = family->sourceType;
  description.parameter1 = parameters.first;
  description.parameter2 = parameters.second;
  description.nodes = graph->howManyNodes;
  const std::string name = isPetersen ? "Generalized Petersen Graph GP(" + text1 + ", " + text2 + ")"
                                      : graphDisplayName(description);

  if (processStop().stopRequested()) return fail(kGenerationCancelled);
  FileStatus written = writeGraphFile(options.output, *graph, name, commandLineFormatOptions());
  if (!written) return fail(written.error);
  if (!options.cnf.empty() && formula) {
    if (FileStatus cnf = writeDimacsCnfFile(options.cnf, formula->howManyVariables, formula->clauses); !cnf)
      return fail(cnf.error);
  }

  if (options.output == kStandardStreamPath) return 0;  // standard output holds the graph alone
  if (common.json) {
    Json j;
    j["command"] = "generate";
    j["name"] = name;
    j["nodes"] = graph->howManyNodes;
    j["edges"] = graph->howManyEdges;
    j["seed"] = seed;
    j["output"] = options.output;
    if (!options.cnf.empty()) j["cnf"] = options.cnf;
    printJson(j);
  } else {
    std::cout << "Generated " << name << ": " << graph->howManyNodes << " nodes, " << graph->howManyEdges << " edges, seed "
              << seed << "\n";
    std::cout << "Written to " << options.output << "\n";
    if (!options.cnf.empty()) std::cout << "Formula written to " << options.cnf << "\n";
  }
  return 0;
}

}  // namespace hc::cli
