// One graph, one method, one outcome: the one body behind `schc`, `cohc` and `solve` for a
// single graph and for each graph of a batch, behind the window's runners and behind the
// public library. The settings of a method are the engine's own option structs; what the
// run needs besides (its stop, its seed, who watches it) is the RunRequest.
//
// A run's outcome is settled here for everyone: a Hamiltonian verdict counts only with a
// cycle (the method's, or read off the graph it solved) that passes the independent check
// against the graph as loaded; a non-Hamiltonian verdict only when the method's proof can
// be trusted (a proof tree stopped from outside may have left branches unexplored).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "cohc/search_tree.h"
#include "core/edge_snapshot.h"
#include "core/stop_token.h"
#include "run/method_choice.h"
#include "run/run_outcome.h"
#include "schc/stone_carver.h"
#include "solve/solve_graph.h"

namespace hc {

constexpr MethodChoice methodChoiceOf(const MethodOptions& method) {
  return static_cast<MethodChoice>(method.index());
}

inline const char* methodCommand(const MethodOptions& method) {
  return methodCommand(methodChoiceOf(method));
}

// What a run has done so far, for whoever watches it from another thread (a progress
// line, a progress callback, the report of a run that ignored its stop).
struct LiveFigures {
  std::atomic<int64_t> iterations{0};            // schc: iterations reported
  std::atomic<double> bestPercentComplete{0.0};  // schc
  // cohc: tree nodes started and the deepest depth started; solve: the exact search's
  // tree nodes and its depth now.
  ExactSearchProgress tree;
  SolveActivity solveParts;  // solve: which parts of the portfolio work now
};

struct RunRequest {
  // Stops the run (may be null); its deadline, if any, is the run's time limit.
  const StopToken* stop = nullptr;
  // The run's seed: reported, and the seed of solve's own random choices. The thread's
  // seed stream is the caller's (core/random.h: startRunSeedStream).
  uint32_t seed = 0;
  SchcSink* sink = nullptr;                                    // schc: every iteration, on the run's threads
  SearchTreeListener* listener = nullptr;                      // cohc: every statistics update
  std::shared_ptr<SearchTreeStatistics> statistics = nullptr;  // cohc: the record to fill (null: a fresh one)
  LiveFigures* live = nullptr;                                 // kept up to date while the run goes
  // cohc and solve: when given, a non-Hamiltonian verdict's certificate is written here
  // (empty when the verdict has none; RunOutcome::certified and certificateNote say why).
  std::string* certificate = nullptr;
};

// Runs `method` on `graph` and settles its outcome against `asLoaded` (the edges of the
// graph before any method touched it). schc and cohc work on `graph` itself and leave it
// as they ended; solve works on copies.
RunOutcome runMethod(Graph& graph, const EdgeSnapshot& asLoaded, const MethodOptions& method,
                     const RunRequest& request = {});

}  // namespace hc
