// `solve GRAPH --cube I/K` and `join GRAPH RESULT...` (cube_commands.h). A part's record is
// solve's JSON object with a "cube" object added: the part, the number of parts, the graph's
// fingerprint, the part's branch and whether it is empty, and for a part of a nested split
// (`--cube 5/16 --cube 3/8`) the levels below the first as "nested": [[3, 8]]; the join reads
// exactly these fields back and refuses a record that does not fit the graph and its split.
#include <chrono>
#include <filesystem>
#include <iostream>

#include "core/number_format.h"
#include "core/random.h"
#include "cube_commands.h"
#include "io/file_access.h"
#include "io/output_paths.h"
#include "run/cube_parts.h"
#include "run/run_files.h"

namespace hc::cli {

namespace {

Json branchJson(const std::vector<BranchEdge>& branch) {
  Json list = Json::array();
  for (const BranchEdge& e : branch) list.push_back(Json::array({e.u, e.v, e.forced ? "forced" : "deleted"}));
  return list;
}

// Why a part's or a join's graph cannot be run on: reading stopped, the reader's error, or an
// --output that cannot hold its cycle; empty when it can.
std::string loadProblem(const LoadedRun& loaded, const std::string& output) {
  if (loaded.input.loaded.stopped) return loaded.input.name + ": reading stopped";
  if (!loaded.input) return loaded.input.loaded.error;
  return checkCycleOutputFor("--output", output, *loaded.input.loaded.graph);
}

// --- reading a part's record ---

struct BadRecord {
  std::string why;
};

const Json& field(const Json& object, const char* key) {
  if (!object.is_object() || !object.contains(key)) throw BadRecord{std::string("no \"") + key + "\" field"};
  return object.at(key);
}

PartRecord parseRecord(const std::string& file, const std::string& text) {
  Json j;
  try {
    j = Json::parse(text);
  } catch (const Json::parse_error&) {
    throw BadRecord{"not a JSON object (a part's result is what solve --cube --json prints)"};
  }
  if (!j.is_object())
    throw BadRecord{"not a JSON object (a part's result is what solve --cube --json prints)"};
  if (!j.contains("cube"))
    throw BadRecord{"not the result of a part (no \"cube\" object: run solve with --cube I/K)"};
  PartRecord r;
  r.file = file;
  try {
    const Json& cube = field(j, "cube");
    r.index = field(cube, "part").get<int32_t>();
    r.parts = field(cube, "parts").get<int32_t>();
    r.fingerprint = field(cube, "graph").get<std::string>();
    r.empty = field(cube, "empty").get<bool>();
    if (cube.contains("nested")) {
      const Json& nested = cube.at("nested");
      if (!nested.is_array()) throw BadRecord{"\"nested\" is not a list of [part, parts]"};
      for (const Json& level : nested) {
        if (!level.is_array() || level.size() != 2)
          throw BadRecord{"\"nested\" is not a list of [part, parts]"};
        r.nested.push_back({level[0].get<int32_t>(), level[1].get<int32_t>()});
      }
    }
    for (const Json& e : field(cube, "branch")) {
      if (!e.is_array() || e.size() != 3)
        throw BadRecord{"a branch edge is not [u, v, \"forced\"|\"deleted\"]"};
      const std::string decision = e[2].get<std::string>();
      if (decision != "forced" && decision != "deleted")
        throw BadRecord{"a branch edge is neither forced nor deleted"};
      r.branch.push_back({e[0].get<int32_t>(), e[1].get<int32_t>(), decision == "forced"});
    }
    const std::string verdict = field(j, "verdict").get<std::string>();
    if (verdict == "hamiltonian") {
      r.verdict = Verdict::kHamiltonian;
      r.cycle = field(j, "cycle").get<std::vector<int32_t>>();
    } else if (verdict == "non-hamiltonian") {
      r.verdict = Verdict::kNonHamiltonian;
    } else if (verdict != "undecided") {
      throw BadRecord{"unknown verdict \"" + verdict + "\""};
    }
    if (j.contains("method") && j["method"].is_string())
      r.decidedBy = decidedByOfName(j["method"].get<std::string>());
    if (j.contains("stopped") && j["stopped"].is_string()) r.stoppedText = j["stopped"].get<std::string>();
    r.seconds = field(j, "seconds").get<double>();
    if (j.contains("certified")) r.certified = j["certified"].get<bool>();
    if (j.contains("proof") && j["proof"].is_string()) r.proof = j["proof"].get<std::string>();
  } catch (const Json::exception&) {
    throw BadRecord{"a field of the wrong type"};
  }
  return r;
}

// The files named: each file as it stands, each folder's *.json files in name order.
bool resultFiles(const std::vector<std::string>& named, std::vector<std::string>& files, std::string& error) {
  namespace fs = std::filesystem;
  for (const std::string& name : named) {
    std::error_code ec;
    if (!fs::is_directory(name, ec)) {
      files.push_back(name);
      continue;
    }
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(name, ec))
      if (entry.path().extension() == ".json") found.push_back(entry.path().string());
    if (ec) {
      error = name + ": the folder cannot be read (" + ec.message() + ")";
      return false;
    }
    if (found.empty()) {
      error = name + ": no part's result (*.json) in this folder";
      return false;
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return true;
}

// "3, 7, 5/16 2/8": a part of the whole graph's split by its number, a nested one by its path.
std::string partList(const std::vector<CubePath>& parts) {
  std::string text;
  constexpr size_t kShown = 40;
  for (size_t k = 0; k < parts.size() && k < kShown; ++k)
    text +=
        (k ? ", " : "") + (parts[k].size() == 1 ? std::to_string(parts[k][0].part) : cubePathText(parts[k]));
  if (parts.size() > kShown) text += ", ... (" + std::to_string(parts.size()) + " in all)";
  return text;
}

}  // namespace

void addCubeOptions(CLI::App* solve, CubeArguments& cube) {
  solve
      ->add_option("--cube", cube.cube,
                   "I/K: solve only part I (0-based) of the graph's split into K parts; join the parts' "
                   "results with `join`. Again (--cube 5/16 --cube 3/8): part 3 of part 5's split into 8")
      ->allow_extra_args(false);
  solve->add_option("--result", cube.result, "With --cube: also write the part's JSON record to this file");
}

CLI::App* addJoinCommand(CLI::App& app, JoinArguments& join, bool& json) {
  CLI::App* command =
      app.add_subcommand("join", "The verdict of a graph from its parts' results (solve GRAPH --cube I/K)");
  command->add_option("GRAPH", join.graph, "The graph the parts were solved on")->required();
  command
      ->add_option("RESULT", join.results,
                   "The parts' results (--json or --result files), or folders of them")
      ->required();
  command->add_option("--output", join.output, "Write the cycle found: .txt adjacency text, .obj, .tour");
  command->add_option("--proof", join.proof,
                      "Write the certificate of a non-Hamiltonian verdict, the parts' sub-proofs joined");
  command->add_flag("--json", json, "Print one JSON object");
  return command;
}

int runCubePartCommand(const MethodArguments& arguments, const SolveOptions& solve, const CubeArguments& cube,
                       const CommonOptions& common) {
  CubePath path;
  if (std::string problem = parseCubePath(cube.cube, path); !problem.empty()) return fail(problem);
  const int32_t index = path.front().part, parts = path.front().parts;
  if (std::string problem = checkCycleOutputPath("--output", arguments.output, arguments.graph);
      !problem.empty())
    return fail(problem);
  for (const auto& [option, path] :
       {std::pair{"--proof", arguments.proof}, std::pair{"--result", cube.result}})
    if (std::string problem = checkOutputPath(option, path, arguments.graph); !problem.empty())
      return fail(problem);
  if (!cube.result.empty() &&
      (isSameFile(cube.result, arguments.proof) || isSameFile(cube.result, arguments.output)))
    return fail("--result " + cube.result + ": the part's record needs a file of its own");
  const LoadedRun loaded = loadRunGraph(arguments.graph, arguments.seed);
  if (std::string problem = loadProblem(loaded, arguments.output); !problem.empty()) return fail(problem);
  const RunInput& input = loaded.input;
  Graph& graph = *input.loaded.graph;
  StopToken& stop = processStop();
  const uint32_t seed = loaded.seed;

  stop.setTimeLimit(arguments.timeLimit);
  const auto start = std::chrono::steady_clock::now();
  const CubePart part = cubePartAlong(graph, path, &stop);
  const double splitSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::string certificate;
  RunOutcome outcome;
  if (part.stopped) {
    outcome = stoppedRunOutcome(stop.reason() == StopReason::kDeadline, seed, solve, nullptr, splitSeconds);
  } else {
    outcome = runCubePart(
        graph, input.asLoaded, solve, part,
        {.stop = &stop, .seed = seed, .certificate = arguments.proof.empty() ? nullptr : &certificate});
  }
  noteCycleFault(outcome);
  const RunFilesWritten written =
      writeRunFiles({arguments.output, arguments.proof}, outcome, input.name, graph, certificate);

  Json j = reportHead("solve", input.name, input.asLoaded.nodes(), input.asLoaded.edges(), outcome);
  addOutcomeFields(j, solve, outcome, false);
  addFileFields(j, outcome, written, arguments.output, arguments.proof);
  j["cube"] = {{"part", index},
               {"parts", parts},
               {"graph", graphFingerprint(input.asLoaded)},
               {"branch", branchJson(part.branch)},
               {"empty", part.empty},
               {"splitSeconds", splitSeconds}};
  if (path.size() > 1) {
    Json nested = Json::array();
    for (size_t level = 1; level < path.size(); ++level)
      nested.push_back(Json::array({path[level].part, path[level].parts}));
    j["cube"]["nested"] = nested;
  }
  std::string resultError;
  if (!cube.result.empty() && !part.stopped) {
    const FileStatus status = writeFileAtomically(
        cube.result, j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
    if (!status.ok) resultError = status.error;
  } else if (!cube.result.empty()) {
    std::cerr << "hamcycles-cli: the split was stopped, " << cube.result << " not written\n";
  }
  if (common.json) {
    printJson(j);
  } else {
    std::cout << "Graph: " << input.name << " (" << input.asLoaded.nodes() << " nodes, "
              << input.asLoaded.edges() << " edges)\n";
    std::cout << "Part: "
              << (path.size() == 1 ? std::to_string(index) + " of " + std::to_string(parts)
                                   : cubePathText(path))
              << ", "
              << (part.stopped ? std::string("the split was stopped")
                  : part.empty ? std::string("empty (its share of the split went to an earlier part)")
                  : !part.cycle.empty() ? std::string("the split itself met a Hamiltonian cycle")
                                        : branchText(part.branch))
              << " (split in " << formatNumber(splitSeconds, 3) << " s)\n";
    printSolveLines(solve, outcome);
    printVerdictLines(outcome, written, arguments.output, arguments.proof,
                      "in this part, proved by the " + decidedText(outcome, "search"), outcome.stoppedText);
    if (!cube.result.empty() && resultError.empty() && !part.stopped)
      std::cout << "Result: written to " << cube.result << "\n";
    std::cout << std::flush;
  }
  if (!written.error.empty()) return fail(written.error);
  if (!resultError.empty()) return fail(resultError);
  noteFilesNotWritten(arguments.output, arguments.proof, outcome.verdict);
  return exitStatusOf(outcome.verdict);
}

int runJoinCommand(const JoinArguments& join, const CommonOptions& common) {
  if (std::string problem = checkCycleOutputPath("--output", join.output, join.graph); !problem.empty())
    return fail(problem);
  if (std::string problem = checkOutputPath("--proof", join.proof, join.graph); !problem.empty())
    return fail(problem);
  const LoadedRun loaded = loadRunGraph(join.graph, 1u);
  if (std::string problem = loadProblem(loaded, join.output); !problem.empty()) return fail(problem);
  const RunInput& input = loaded.input;
  Graph& graph = *input.loaded.graph;

  std::vector<std::string> files;
  std::string error;
  if (!resultFiles(join.results, files, error)) return fail(error);
  std::vector<PartRecord> records;
  StopToken& stop = processStop();
  for (const std::string& file : files) {
    std::string text;
    if (const FileStatus read = readInputFile(file, text, &stop); !read.ok) return fail(read.error);
    try {
      records.push_back(parseRecord(file, text));
    } catch (const BadRecord& bad) {
      return fail(file + ": " + bad.why);
    }
  }
  JoinOutcome joined = joinParts(graph, input.asLoaded, records, {.proof = join.proof, .stop = &stop});
  if (!joined.error.empty()) return fail(joined.error);
  RunOutcome& o = joined.outcome;
  o.seed = loaded.seed;
  // The join wrote its certificate itself, as it put it together.
  RunFilesWritten written = writeRunFiles({join.output, ""}, o, input.name, graph, {});
  written.proof = joined.proofWritten;
  if (written.error.empty()) written.error = joined.proofError;
  std::string undecidedText;
  if (!joined.missingPaths.empty()) undecidedText = "missing parts: " + partList(joined.missingPaths);
  if (!joined.undecidedPaths.empty())
    undecidedText += (undecidedText.empty() ? "" : "; ") + std::string("undecided parts: ") +
                     partList(joined.undecidedPaths);
  auto nestedTexts = [](const std::vector<CubePath>& paths) {
    Json texts = Json::array();
    for (const CubePath& path : paths)
      if (path.size() > 1) texts.push_back(cubePathText(path));
    return texts;
  };
  if (common.json) {
    Json j = reportHead("join", input.name, input.asLoaded.nodes(), input.asLoaded.edges(), o);
    j["method"] = o.decidedBy == DecidedBy::kNone ? Json() : Json(decidedText(o));
    j["stopped"] = o.stoppedText;
    j["parts"] = joined.parts;
    j["openParts"] = joined.openParts;
    j["results"] = records.size();
    j["foundBy"] = joined.foundBy >= 0 ? Json(joined.foundBy) : Json();
    j["missing"] = joined.missing;
    j["undecided"] = joined.undecided;
    j["missingNested"] = nestedTexts(joined.missingPaths);
    j["undecidedNested"] = nestedTexts(joined.undecidedPaths);
    if (joined.foundByPath.size() > 1) j["foundByPath"] = cubePathText(joined.foundByPath);
    j["partSeconds"] = joined.partSeconds;
    j["largestPartSeconds"] = joined.largestPartSeconds;
    addFileFields(j, o, written, join.output, join.proof);
    printJson(j);
  } else {
    std::cout << "Graph: " << input.name << " (" << input.asLoaded.nodes() << " nodes, "
              << input.asLoaded.edges() << " edges)\n";
    std::cout << "Join: " << records.size() << (records.size() == 1 ? " result" : " results")
              << " of a split into " << joined.parts << " parts (" << joined.openParts
              << " to solve); the parts took " << formatNumber(joined.partSeconds, 3)
              << " s in all, the largest " << formatNumber(joined.largestPartSeconds, 3) << " s\n";
    printVerdictLines(
        o, written, join.output, join.proof,
        joined.openParts == 0 ? "the split's pruning refuted every branch" : "every part refuted",
        undecidedText);
    if (joined.foundBy >= 0)
      std::cout << "Found by: part "
                << (joined.foundByPath.size() > 1 ? cubePathText(joined.foundByPath)
                                                  : std::to_string(joined.foundBy))
                << (o.decidedBy == DecidedBy::kNone ? "" : ", the " + decidedText(o)) << "\n";
    std::cout << std::flush;
  }
  if (!written.error.empty()) return fail(written.error);
  if (o.verdict == Verdict::kUndecided) std::cerr << "hamcycles-cli: " << undecidedText << "\n";
  noteFilesNotWritten(join.output, join.proof, o.verdict);
  return exitStatusOf(o.verdict);
}

}  // namespace hc::cli
