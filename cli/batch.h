// Batch runs: one command over many graphs (every graph of a .g6/.s6 file, or of the files
// a list names with --each), one JSON object (JSON Lines) or one summary line per graph in
// input order, and a final count of Hamiltonian, non-Hamiltonian, undecided and
// unreadable graphs.
//
// The loop knows nothing of the methods: each command hands it a GraphDecider that decides
// one loaded graph and returns its JSON object and summary line. --jobs J decides J graphs
// at once on worker threads; --part I/K keeps only the graphs I, I + K, I + 2K, ... of the
// whole batch (0-based), so K runs on K machines decide each graph exactly once. Ctrl-C
// stops the graphs being decided, starts no others, prints what is done and the count.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "run/graph_loading.h"
#include "commands.h"
#include "core/stop_token.h"
#include "solve_common.h"

namespace hc::cli {

// One graph as a decider gets it: loaded (with the verifier's snapshot of its edges), its
// seed, and its own stop: a child of the process's token (Ctrl-C) with the graph's
// --time-limit deadline (reason kDeadline once that stopped it).
struct BatchGraph {
  SolveInput& input;
  uint32_t seed;
  const StopToken& stop;
};

// What a decider reports: the verdict ("hamiltonian", "non-hamiltonian", "undecided"), the
// graph's JSON object (the loop adds "index" and "where" in front) and its summary line
// (the loop puts the index and the record in front).
struct GraphOutcome {
  std::string verdict = "undecided";
  Json json;
  std::string summary;
};

using GraphDecider = std::function<GraphOutcome(BatchGraph& graph)>;

// "I/K" into the part; empty when fine, else why not.
std::string parsePart(const std::string& text, int64_t& index, int64_t& count);

// Whether a command line asks for a batch: --each, --jobs, --part, or a GRAPH file of
// several graphs.
bool isBatchRun(const std::string& graph, const BatchOptions& options);

// Runs the batch; the exit status is 0 once it has run, 1 on bad usage or when the batch
// file (or the --each list) cannot be opened.
int runBatch(const char* command, const std::string& graph, double timeLimit,
             const std::optional<uint32_t>& seed, const BatchOptions& options, const CommonOptions& common,
             const GraphDecider& decide);

// The deciders of the batch commands.
GraphDecider infoDecider();
GraphDecider schcDecider(const SchcCommandOptions& options);
GraphDecider cohcDecider(const CohcCommandOptions& options);
GraphDecider solveDecider(const SolveCommandOptions& options);

}  // namespace hc::cli
