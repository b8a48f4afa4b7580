// The one-graph decision of `solve`: a portfolio over the cores. The root pruning
// (necessary conditions, degree-2 forcing, the alternation rule) runs first on a copy of
// the graph, then the decomposition rules (a graph of at most 300,000 nodes that falls apart
// at a small separator or a small edge cut is decided part by part, each part by solve
// itself), then a short exact search on the calling thread (most graphs that are easy for
// the search are decided there, without starting a thread or copying the graph). On a graph
// of some size the rotation-extension finder runs beside these from the start, on its own
// thread (a dense graph gives it a first slice on the calling thread, before the pruning,
// which costs far more there than finding a cycle). Then, side by side on their own threads
// and each on its own copy,
//  - the exact search (complete; with the proof system and the sound root rules the only
//    sources of a non-Hamiltonian verdict),
//  - the rotation-extension finder,
//  - the Probability Mill (parallel with more threads),
//  - on small graphs, with four threads or more, the Co-HC proof system,
//  - on sparse graphs, the clause-learning worker (in place of a mill thread);
// on graphs of more than 100,000 nodes only the finder, a second finder with its own seed and,
// up to 300,000 nodes, one complete method (the clause learner, or the search on graphs too
// dense for it). This goes on until one decides, the caller's token
// says stop or the time limit passes; then every thread is told to stop (a child token of the
// run's) and joined before the call returns. A cycle counts only when it passes the
// independent check against the graph as given; one that fails is reported on the
// diagnostic stream and the others go on.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/decided_by.h"
#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "core/stop_token.h"
#include "solve/edge_branch.h"
#include "solve/exact_search.h"
#include "solve/frontier_search.h"

namespace hc {

// The machine's cores (at least 1): the default number of threads of a solve run, since more
// threads than cores only slow the finder and the search down.
inline int32_t machineThreads() {
  return static_cast<int32_t>(std::clamp(std::thread::hardware_concurrency(), 1u, 256u));
}

inline constexpr int32_t kSearchRelaxationLevels = 6;

struct SolveOptions {
  double timeLimitSeconds = 0.0;  // > 0: undecided after this long
  // Threads in all: 1 runs the finder for a short slice and then the exact search on one
  // worker; 2 runs the search and the finder side by side; a third thread runs the mill,
  // a fourth the proof system (on graphs of at most proofSystemEdgeLimit edges, since it
  // keeps a graph copy per depth), and each further thread joins the mill.
  int32_t threads = machineThreads();
  uint32_t seed = 1;  // the finder's and the alternation rule's random choices
  bool useFinder = true;
  bool useMill = true;
  bool useProofSystem = true;
  // The clause-learning worker (sparse graphs only, see suitsSatWorker): on its own thread,
  // in place of a mill thread when there are three threads or more; with one thread it runs
  // after the finder's slice for 0.3 of the time limit (2 s without one).
  bool useSat = true;
  // The colouring race (solve/colouring_worker.h) on sparse graphs of an even number of nodes
  // and degrees up to 3: beside the others (in place of a mill thread when there is one),
  // with one thread before the clause learner for as long a slice.
  bool useColouring = true;
  int32_t proofSystemEdgeLimit = 5000;
  // The calling thread's exact search before the portfolio starts gives up after
  // probeNodesPerNode * nodes + probeNodes tree nodes (a few milliseconds); 0 and 0: none.
  int64_t probeNodesPerNode = 2;
  int64_t probeNodes = 10000;
  // Graphs of at least this many edges get the finder on its own thread from the start,
  // beside the root pruning, the decomposition rules and the probe (threads > 1), on the
  // graph as given when it has no node of degree 2 (smaller graphs are mostly decided by
  // the root phases in less than the finder takes, and a thread beside them only slows
  // them down on a busy machine).
  int32_t earlyFinderEdges = 200000;
  // Frontier states the frontier search may handle before it gives up (0: not tried).
  int64_t frontierWork = kFrontierWorkLimit;
  // The widest frontier (in nodes) the frontier search takes on; a wider graph is left to the others.
  int32_t frontierWidth = kFrontierWidthLimit;
  // Split the pruned root at small separators and small edge cuts and decide the parts
  // (solve/decomposed_solve.h); the parts themselves are solved with this off.
  bool useDecomposition = true;
  // The linear relaxation with subtour inequalities (graphs of at most 100,000 nodes and
  // fewer than 8 edges per node): a worker of the portfolio (in place of a mill thread from
  // three threads on); with one thread, a slice of 0.2 of the time limit (relaxationSeconds
  // without one) after the probe, and when that cut it short, turns between the others'.
  bool useRelaxation = true;
  double relaxationSeconds = 2.0;
  // With it, the portfolio's exact search also solves the relaxation at the tree nodes of its
  // first kSearchRelaxationLevels levels (graphs of at most 3,000 edges), once per this many
  // tree nodes walked at most (0: never): a branch it refutes is closed whole.
  int64_t searchRelaxationTreeNodes = 2000;
  // When given, a non-Hamiltonian verdict comes with its certificate here (the text of the
  // README, section "Certificates"; solve/solve_certificate.h says how each method's proof
  // is written) and SolveResult::certified says whether it is complete; otherwise, and for
  // other verdicts, it is left empty. Without it nothing is recorded.
  std::string* certificate = nullptr;
  // What a run may record for its certificate, in bytes (see kDefaultCertificateLimitBytes):
  // material that passes it is dropped as it grows, the run goes on, and a verdict that
  // needed it is reported without a certificate, saying so.
  int64_t certificateLimitBytes = kDefaultCertificateLimitBytes;
  // A branch of the graph (a part of a split): these edges are forced or deleted, in order,
  // after the root pruning, so only the cycles of the branch are looked for (a cycle found
  // is still one of the whole graph), and a certificate proves the branch (its body is the
  // sub-proof for the place a split's `split` steps reach it). The proof system is not run.
  std::vector<BranchEdge> branch = {};
  // The caller's snapshot of the graph's edges, when it holds one: the run checks cycles
  // against it instead of taking its own copy (a copy less on a dense graph), provided it
  // still holds exactly the graph's edges (EdgeSnapshot::holdsEdgesOf); else it is ignored.
  const EdgeSnapshot* givenEdges = nullptr;
};

struct SolveResult {
  HamiltonicityState verdict = kUndecided;  // 0 proved non-Hamiltonian, 1 cycle (verified), 2 undecided
  std::vector<int32_t> cycle;               // node ids in cycle order, only with verdict 1
  DecidedBy decidedBy = DecidedBy::kNone;   // which part decided
  bool timedOut = false;                    // a deadline ended the run (the time limit, or the caller's)
  bool interrupted = false;                 // a stop request on the caller's token ended the run
  int64_t treeNodes = 0;                    // exact search
  int32_t deepestDepth = 0;
  int32_t alternationDeletions = 0;  // edges the alternation rule removed at the root
  int32_t threads = 0;               // workers the portfolio ran (0: decided before it)
  double seconds = 0.0;              // to the verdict
  // With SolveOptions::certificate and verdict 0: whether it holds a complete certificate,
  // why not (when not), and the seconds spent writing it (after `seconds`).
  bool certified = false;
  std::string certificateNote;
  double certificateSeconds = 0.0;
};

// The parts of the portfolio, for a live view of which ones are working (bit i of
// SolveActivity::runningParts stands for part i); DecidedBy names them in the same order.
enum SolvePart : uint32_t {
  kPartRootPruning,
  kPartAlternationRule,
  kPartFrontierSearch,
  kPartExactSearch,
  kPartRotationExtension,
  kPartProbabilityMill,
  kPartProofSystem,
  kPartClauseLearning,
  kPartSeparator,
  kPartEdgeCut,
  kPartLinearRelaxation,
  kSolvePartCount
};
constexpr uint32_t solvePartBit(SolvePart part) {
  return 1u << part;
}
constexpr DecidedBy decidedByOf(SolvePart part) {
  return static_cast<DecidedBy>(part + 1);
}
static_assert(decidedByOf(kPartLinearRelaxation) == DecidedBy::kLinearRelaxation &&
              decidedByOf(kPartRootPruning) == DecidedBy::kRootPruning);

// Which parts work at this moment: the phases before the portfolio (root pruning, the
// decomposition rules as "separator" and "edge cut", the probe as "exact search", the frontier
// search) and then its workers, each bit set while that part runs.
struct SolveActivity {
  std::atomic<uint32_t> runningParts{0};
};

// Decides `graph` (not changed). `stop` (may be null) stops it. `progress`, when given,
// carries the exact search's live figures; `activity`, when given, which parts are working.
SolveResult solveGraph(const Graph& graph, const SolveOptions& options, const StopToken* stop = nullptr,
                       ExactSearchProgress* progress = nullptr, SolveActivity* activity = nullptr);

}  // namespace hc
