// `generate FAMILY P1 [P2] --output FILE`: a graph of one of the families of
// run/graph_families.h, written in any writable graph format (by the extension of --output),
// and with --cnf the 3-SAT formula it reduces.
#include <cstdio>
#include <functional>
#include <iostream>

#include "commands.h"
#include "core/random.h"
#include "io/dimacs_cnf_format.h"
#include "io/graph_format_registry.h"
#include "io/output_paths.h"
#include "io/path_names.h"
#include "run/graph_families.h"
#include "run_control.h"

namespace hc::cli {

int runGenerate(const GenerateOptions& options, const CommonOptions& common) {
  const GraphFamily* family = graphFamilyNamed(options.family);
  if (!family) return fail("unknown family \"" + options.family + "\" (one of: " + graphFamilyNames() + ")");
  if (static_cast<int>(options.parameters.size()) != family->parameters)
    return fail("generate " + std::string(family->name) + " takes " + std::to_string(family->parameters) +
                " parameter" + (family->parameters == 1 ? "" : "s") + ": generate " +
                std::string(family->usage) + " --output FILE");
  const bool isSat = family->sourceType == GraphSource::kThreeSatReduction;
  if (!options.cnf.empty() && !isSat) return fail("--cnf is only for the 3sat family");

  if (const GraphFormatInfo* format = graphFormatOfPath(options.output);
      format == nullptr || format->write == nullptr)
    return fail("--output " + options.output + ": unknown extension (use " + writableExtensions() + ")");
  if (std::string problem = options.output == kStandardStreamPath
                                ? std::string()
                                : checkWritablePath("--output", options.output);
      !problem.empty())
    return fail(problem);
  if (!options.cnf.empty()) {
    if (fileExtension(options.cnf) != "cnf")
      return fail("--cnf " + options.cnf + ": the formula file must end in .cnf");
    if (options.cnf == options.output) return fail("--cnf and --output name the same file");
    if (std::string problem = checkWritablePath("--cnf", options.cnf); !problem.empty()) return fail(problem);
  }

  ParameterCheck parameters;
  if (std::string problem = readFamilyParameters(*family, options.parameters, parameters); !problem.empty())
    return fail(problem);

  const uint32_t seed = startRunSeedStream(options.seed, SeedScope::kProcess, false);
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
  FamilyGraph made =
      generateFamilyGraph(*family, parameters, options.parameters, &processStop(), showProgress);
  progress.finish();
  if (!made.graph) return fail(made.error);
  const Graph& graph = *made.graph;
  const std::string& name = made.name;

  if (processStop().stopRequested()) return fail(kGenerationCancelled);
  FileStatus written = writeGraphFile(options.output, graph, name, commandLineFormatOptions());
  if (!written) return fail(written.error);
  if (!options.cnf.empty() && made.formula) {
    if (FileStatus cnf =
            writeDimacsCnfFile(options.cnf, made.formula->howManyVariables, made.formula->clauses);
        !cnf)
      return fail(cnf.error);
  }

  if (options.output == kStandardStreamPath) return 0;  // standard output holds the graph alone
  if (common.json) {
    Json j;
    j["command"] = "generate";
    j["name"] = name;
    j["nodes"] = graph.howManyNodes;
    j["edges"] = graph.howManyEdges;
    j["seed"] = seed;
    j["output"] = options.output;
    if (!options.cnf.empty()) j["cnf"] = options.cnf;
    printJson(j);
  } else {
    std::cout << "Generated " << name << ": " << graph.howManyNodes << " nodes, " << graph.howManyEdges
              << " edges, seed " << seed << "\n";
    std::cout << "Written to " << options.output << "\n";
    if (!options.cnf.empty()) std::cout << "Formula written to " << options.cnf << "\n";
  }
  return 0;
}

}  // namespace hc::cli
