// The Stone Carver driver: fast initial pruning of the graph itself, then Probability Mill
// iterations, each on a fresh copy of the pruned graph, until one closes a Hamiltonian cycle,
// the run's StopToken says stop or the iteration limit is reached. Keeps the run's
// statistics in its outcome and reports every iteration to a sink.
//
// Every cycle the driver takes as its result is first checked against the graph as it was
// when the run began (core/hamiltonian_cycle_check.h); a failed check is reported loudly on
// the diagnostic stream and never becomes a verdict of 1.
//
// The parallel mill runs the same iterations on T worker threads, each with a private copy
// and a private random stream; the first cycle found stops them all (a child token of the
// run's) and is adopted exactly as the single-thread driver adopts it. With T = 1 it is the
// single-thread driver.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/graph.h"
#include "core/graph_file_writer.h"
#include "core/stop_token.h"
#include "schc/cut_sequence.h"
#include "schc/stone_carver_statistics.h"

namespace hc {

inline constexpr int32_t kMillIterationLimit = 100000000;

// Receives one call per Probability Mill iteration. With several worker threads the
// driver serialises the calls, so an implementation needs no lock of its own.
class SchcSink {
 public:
  virtual ~SchcSink() = default;
  virtual void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings,
                             int32_t forcedEdges, double percentComplete, double seconds) = 0;
};

struct SchcOptions {
  // Iterations this run may make (besides the overall 100,000,000 of the graph's
  // iterationCount); the CLI's --max-iterations. <= 0 means no extra limit.
  int64_t maxIterations = 0;
  // Worker threads of the mill; 1 is the single-thread driver, exactly.
  int32_t threads = 1;
  // Where version 10 keeps its best partially cut graph, and the writer that puts a graph
  // there (the engine writes no files itself; front ends hand in the adjacency text writer,
  // and without one the best graph is kept nowhere). The writer returns "" or the error.
  std::string bestFileName = "best.txt";
  GraphFileWriter writeGraph = {};
  // The Probability Mill version a front end chose (run/run_method.h passes it on as
  // runStoneCarver's `version`; the page offers 5 first).
  int32_t version = 5;
};

// What the last run on a graph found, for front ends that print the cycle.
struct SchcOutcome {
  HamiltonicityState verdict = kUndecided;
  std::vector<int32_t> cycle;        // node ids in cycle order from 0; empty unless verdict 1
  uint32_t seed = 0;                 // the driver's seed (replay with the same fixed seed)
  int64_t iterations = 0;            // iterations made by this run
  StoneCarverStatistics statistics;  // the run's timing and hub / ring figures
};

// The whole run. `stop` may be null (run until decided or a limit); it is asked between
// iterations, at every step inside one (a stopped iteration is not counted) and inside the
// initial look-ahead. `sink` may be null (nothing is posted). `outcome` may be null.
void runStoneCarver(Graph& graph, int32_t version, const StopToken* stop, SchcSink* sink,
                    const SchcOptions& options = {}, SchcOutcome* outcome = nullptr);

// The fixed sequence of cheap checks and prunings applied to the graph itself. Mode 2 is the
// driver's; mode 65535 (manual edit mode) stops after the biconnectivity test and skips the
// low-degree check. Returns the verdict (2 when undecided). `stop` (may be null) ends the
// look-ahead passes early (what they forced stays sound).
HamiltonicityState fastInitialPruning(Graph& graph, uint16_t mode, int16_t verbose,
                                      const StopToken* stop = nullptr);

// Mill iterations on copies of `graph` until a cycle, `stop` or a limit. Returns 1 when
// an iteration found a (verified) cycle, which the graph then holds; 2 otherwise. The
// outcome's statistics start afresh.
HamiltonicityState runProbabilityMill(Graph& graph, const StopToken* stop, SchcSink* sink,
                                      const SchcOptions& options = {}, SchcOutcome* outcome = nullptr);

// Version 10 bookkeeping after an iteration that ended with 0: `current` becomes the best
// when it beats it and replaying half of it does no obvious damage; the graph then takes
// over the partially cut copy and is written to options.bestFileName by options.writeGraph.
// `stop` (may be null) ends the look-ahead of the replay early.
void recordBestCutSequence(Graph& graph, std::unique_ptr<CutSequence>& current,
                           std::unique_ptr<CutSequence>& best, const SchcOptions& options = {},
                           const StopToken* stop = nullptr);

// Replays the first half of `sequence` on the graph (trial cut each pair; cut it, or force it
// when the trial is fatal). The sequence is emptied.
void replayCutSequence(Graph& graph, CutSequence& sequence, const StopToken* stop = nullptr);

}  // namespace hc
