// One graph across many machines from the command line: `solve GRAPH --cube I/K` solves part
// I of the graph's split into K parts (run/cube_parts.h) and records it (--json, --result
// FILE); `join GRAPH RESULT...` reads the records and reports the whole graph's verdict, as
// solve reports it.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "commands.h"

namespace hc::cli {

struct CubeArguments {
  std::vector<std::string> cube;  // "I/K", then "J/L" for part J of part I's split again, ...
  std::string result;             // where the part's JSON record goes (besides --json on stdout)
};

struct JoinArguments {
  std::string graph;
  std::vector<std::string> results;  // result files, or folders of them (*.json)
  std::string output;
  std::string proof;
};

// --cube and --result of solve.
void addCubeOptions(CLI::App* solve, CubeArguments& cube);
// The `join` subcommand (with --json; --verbose is added with every other subcommand's).
CLI::App* addJoinCommand(CLI::App& app, JoinArguments& join, bool& json);

int runCubePartCommand(const MethodArguments& arguments, const SolveOptions& solve, const CubeArguments& cube,
                       const CommonOptions& common);
int runJoinCommand(const JoinArguments& join, const CommonOptions& common);

}  // namespace hc::cli
