// Batch runs: one method (or the information figures) over many graphs, every graph of a
// .g6/.s6 file or of the files a list names, each graph's entry handed back in input
// order, and the count of Hamiltonian, non-Hamiltonian, undecided and unreadable graphs.
// Nothing here prints: the command line prints each entry as it arrives.
//
// `jobs` graphs are decided at once on worker threads; a part I/K keeps only the graphs
// I, I + K, I + 2K, ... of the whole batch (0-based), so K runs on K machines decide each
// graph exactly once. Each graph runs under its own StopToken, a child of the batch's
// (Ctrl-C stops them all) with the time limit as its deadline, and with a seed of its own
// drawn from the batch's seed and its index. A stop of the batch's token starts no more
// graphs; those running stop and are delivered.
//
// With a folder for certificates (cohc, solve), each non-Hamiltonian graph whose certificate
// is complete gets one there, written by the worker that decided it: NAME-INDEX.proof, NAME
// the stem of the graph's file ("stdin" for standard input) and INDEX its place in the whole
// batch, so no two graphs of one batch share a file.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/stop_token.h"
#include "run/graph_information.h"
#include "run/graph_loading.h"
#include "run/run_method.h"

namespace hc {

struct BatchRequest {
  std::string graph;  // a file of graphs, or
  std::string each;   // a file naming graph files, one path per line ('#' starts a comment line)
  int32_t jobs = 1;
  int64_t partIndex = 0;
  int64_t partCount = 1;
  double timeLimit = 0.0;        // seconds per graph; 0: none
  std::optional<uint32_t> seed;  // none: drawn from the system's random device
  FormatOptions format;
  std::string proofDir;           // (may be empty) the folder of the certificates; it must exist
  std::function<void()> started;  // (may be empty) once the file or list is open, before any graph
};

// One graph of the batch.
struct BatchEntry {
  int64_t index = 0;  // position in the whole batch
  std::string where;  // "file.g6:12", or the file
  std::string error;  // unreadable: why (nothing below is set then)
  std::string name;
  int32_t nodes = 0;  // as loaded
  int64_t edges = 0;
  Verdict verdict = Verdict::kUndecided;
  RunOutcome outcome;                           // a method's run
  std::string proof;                            // the certificate file written, if any
  std::string proofError;                       // why a complete certificate could not be written
  std::optional<GraphInformation> information;  // the figures, when no method was given
};

struct BatchSummary {
  std::string error;  // the batch could not start (the file or the list cannot be opened)
  int64_t hamiltonian = 0;
  int64_t nonHamiltonian = 0;
  int64_t undecided = 0;
  int64_t unreadable = 0;
  int64_t certified = 0;  // certificate files written
  double seconds = 0.0;
  bool interrupted = false;  // `stop` ended the batch early
  std::string failure = {};  // an unexpected error ended the batch early (the counts say how far it got)
  int64_t graphs() const { return hamiltonian + nonHamiltonian + undecided + unreadable; }
};

// Runs the batch: `method` on each graph, or without one the information figures (a graph
// that is not biconnected then counts as non-Hamiltonian, any other as undecided).
// `deliver` is called on the calling thread, once per graph, in input order.
BatchSummary runBatch(const BatchRequest& request, const std::optional<MethodOptions>& method,
                      const StopToken& stop, const std::function<void(const BatchEntry&)>& deliver);

// Reads a part "I/K" (0 <= I < K, both whole numbers); false when `text` is not one.
bool parseBatchPart(std::string_view text, int64_t& index, int64_t& count);

// The name of the certificate file of the graph at `index` of the batch read from `path`.
std::string proofFileName(const std::string& path, int64_t index);

}  // namespace hc
