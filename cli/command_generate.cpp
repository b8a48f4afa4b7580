// `generate FAMILY P1 [P2] --output FILE`: one of the eight families or the 3-SAT
// reduction, checked exactly as the Graph Generation page checks its parameters, written
// as adjacency text (.txt) or TSPLIB HCP (.hcp).
#include <array>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "app/cycle_files.h"
#include "app/graph_source.h"
#include "app/tsplib_files.h"
#include "commands.h"
#include "core/graph_files.h"
#include "generators/graph_generation.h"
#include "generators/logical_formula.h"
#include "run_control.h"
#include "solve_common.h"

namespace hc::cli {

namespace {

struct Family {
  std::string_view name;
  int32_t sourceType;
  int parameters;
  std::string_view usage;
};

constexpr std::array<Family, 9> kFamilies = {{
    {"edge-probability", kEdgeProbabilityGraph, 2, "edge-probability N P"},
    {"regular", kRegularGraph, 2, "regular N D"},
    {"random-edges", kRandomEdgesGraph, 2, "random-edges N M"},
    {"torus", kToroidalGrid, 2, "torus R C"},
    {"knight", kKnightsTourGraph, 2, "knight R C"},
    {"ncube", kNCubeGraph, 1, "ncube N"},
    {"iccs", kIccsGraph, 1, "iccs K"},
    {"complete", kCompleteGraph, 1, "complete N"},
    {"3sat", kThreeSatReduction, 2, "3sat N C"},
}};

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += (out.empty() ? "" : " ") + line;
  return out;
}

std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

const char* familyNamesForHelp() { return "edge-probability, regular, random-edges, torus, knight, ncube, iccs, complete, 3sat"; }

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

  std::string ext = fileExtension(options.output);
  if (ext != "txt" && ext != "hcp") return fail("--output " + options.output + ": unknown extension (use .txt or .hcp)");
  if (std::string problem = checkWritablePath("--output", options.output); !problem.empty())
    return fail(problem);
  if (!options.cnf.empty()) {
    if (fileExtension(options.cnf) != "cnf") return fail("--cnf " + options.cnf + ": the formula file must end in .cnf");
    if (options.cnf == options.output) return fail("--cnf and --output name the same file");
    if (std::string problem = checkWritablePath("--cnf", options.cnf); !problem.empty())
      return fail(problem);
  }

  const std::string text1 = options.parameters[0];
  const std::string text2 = options.parameters.size() > 1 ? options.parameters[1] : std::string();
  ParameterCheck parameters = checkGenerationParameters(family->sourceType, text1, text2);
  if (!parameters.ok()) return fail(joinLines(parameters.errors));

  const uint32_t seed = startSeededRun(options.seed);
  std::unique_ptr<Graph> graph;
  std::optional<LogicalFormula> formula;
  // Ctrl-C clears the run flag and the generation stops at its next step; nothing has been
  // written by then (the files are written only from a finished graph, through a rename).
  installInterruptHandler();
  runFlag().store(1);
  ProgressLine progress(common.progress);
  GenerationControl control;
  control.keepRunning = &runFlag();
  if (progress.enabled()) {
    control.progress = [&progress](double fraction) {
      if (!progress.due() && fraction < 1.0) return;
      char text[48];
      std::snprintf(text, sizeof text, "Generating: %.1f%%", 100.0 * fraction);
      progress.show(text);
    };
  }
  if (isSat) {
    if (std::string problem = validate3SatRequest(parameters.first, parameters.second); !problem.empty())
      return fail(oneLine(problem));
    SatGenerationResult built = generate3SatGraph(parameters.first, parameters.second, control);
    progress.finish();
    if (!built) return fail(oneLine(built.error));
    graph = std::move(built.graph);
    formula = std::move(built.formula);
  } else {
    GenerationRequest request = requestForFamily(family->sourceType, parameters.first, parameters.second);
    if (std::string problem = validateGenerationRequest(request); !problem.empty()) return fail(oneLine(problem));
    GenerationResult built = generateGraph(request, control);
    progress.finish();
    if (!built) return fail(oneLine(built.error));
    graph = std::move(built.graph);
  }

  GraphDescription description;
  description.sourceType = family->sourceType;
  description.parameter1 = parameters.first;
  description.parameter2 = parameters.second;
  description.nodes = graph->howManyNodes;
  const std::string name = graphDisplayName(description);

  if (runFlag().load() == 0) return fail(kGenerationCancelled);
  FileStatus written = ext == "txt" ? writeAdjacencyText(*graph, options.output)
                                    : writeFileAtomically(options.output, formatHcp(name, *graph));
  if (!written) return fail(written.error);
  if (!options.cnf.empty() && formula) {
    if (std::string problem = writeDimacsFile(*formula, options.cnf); !problem.empty()) return fail(oneLine(problem));
  }

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
