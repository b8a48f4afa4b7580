// The Co-HC proof run: the depth-first walk over the proof tree and the one entry point
// that front ends (the window's worker, the command line, benchmarks) call.
//
// The walk keeps the resident tree nodes (the root and the chain of children under
// evaluation, one per depth) on an explicit stack, so a proof as deep as the graph has
// edges needs memory for one graph copy per depth and nothing from the thread's stack.
// A cycle that reaches the root is checked against the graph as it was when the run began
// before it is reported or written.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cohc/search_tree_node.h"
#include "cohc/search_tree_statistics.h"
#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// What the walk itself found.
struct SearchTreeOutcome {
  HamiltonicityState verdict = kUndecided;  // the root's verdict (2 when a cycle failed its check)
  int64_t treeNodes = 0;                    // tree nodes built, the root included
  std::vector<int32_t> cycle;               // node ids in cycle order from 0; only with verdict 1
};

// Runs the whole proof on `graph` (the root works on it directly; afterwards it holds the
// final state: pruned, forced, or the solved copy of a child that found a cycle). When the
// root ends with a cycle that passes the check and `writeCycle` is set, the root writes the
// graph to its outputFileName with run.writeCycle (skipped when the graph has no such name
// or the run no writer). A cycle that fails the check is reported on the diagnostic stream
// and the outcome is undecided.
SearchTreeOutcome runSearchTree(Graph& graph, int32_t maxSearchDepth, const SearchTreeRun& run,
                                bool writeCycle);

struct CohcOptions {
  int32_t maxSearchDepth = 999999999;  // levels below the root; 0 builds the root only
  int32_t pruningLevel = 5;            // 0..6, see kPruningLevelNames
  bool buildMinimalChildren = false;
  double timeLimitSeconds = 0.0;    // > 0: the run stops as if aborted after this long
  bool writeCycleFile = true;       // the root's write of a found cycle to outputFileName
  GraphFileWriter writeGraph = {};  // the writer of that file (the engine has none of its own)
  // Hears the walk, to write a certificate alongside it (solve/cohc_certificate.h); the
  // run costs nothing more without one.
  SearchTreeObserver* observer = nullptr;
};

struct CohcResult {
  HamiltonicityState verdict = kUndecided;  // 0 non-Hamiltonian, 1 cycle found, 2 undecided
  bool aborted = false;                     // stopped: by the caller's token or a time limit
  bool timedOut = false;                    // stopped by a time limit (the run's or the caller's)
  int64_t treeNodes = 0;                    // tree nodes built, the root included
  int32_t deepestDepth = 0;                 // deepest depth at which a tree node started
  double seconds = 0.0;
  std::vector<int32_t> cycle;                        // node ids in cycle order from 0; only with verdict 1
  std::shared_ptr<SearchTreeStatistics> statistics;  // the per-depth record of this run
};

// One proof run on `graph`. `stop` (may be null) stops it; the run's own time limit is a
// child of it, so it never stops the caller's other work. `listener`, when
// given, hears every statistics update on the calling thread. `statistics` is recorded
// into when given (a page keeps one per submitted graph), else a fresh one is made; either
// way the result holds it. Invalid options (a pruning level outside 0..6) print a message
// and are clamped; a negative depth builds the root only.
CohcResult runCoHC(Graph& graph, const CohcOptions& options, const StopToken* stop = nullptr,
                   SearchTreeListener* listener = nullptr,
                   std::shared_ptr<SearchTreeStatistics> statistics = nullptr);

}  // namespace hc
