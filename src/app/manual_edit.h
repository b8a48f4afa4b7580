// Manual edit mode without widgets: Delete Edge, Force Edge and Run Look Ahead Sequencing
// on the working graph, with the refusals the page shows, and the undo/redo of those
// actions. Each action runs with its own undo log installed, so one user action and its
// whole pruning cascade is one step; undoing it replays that log backwards, which restores
// the neighbour arrays, chains and counters exactly. Redo carries the action out again from
// the same graph and the same random state, so it repeats the same cascade.
//
// The page owns one ManualEditSession per entry into manual edit mode (kRunning with
// AlgorithmChoice::kManualEdit) and asks it what to show and whether to enter kDecided.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/action_list.h"
#include "core/graph.h"
#include "core/program_state.h"

namespace hc {

// What the page does after a manual action.
struct ManualOutcome {
  std::string message;   // a message box text; empty: none
  bool changed = false;  // the working graph changed (one undo step was recorded)
  bool decide = false;   // enter kDecided with `result`
  ProgramResult result = ProgramResult::kSearchTooShallow;
};

using EdgeEnds = std::pair<int32_t, int32_t>;

class ManualEditSession {
 public:
  ManualEditSession() = default;
  ManualEditSession(const ManualEditSession&) = delete;
  ManualEditSession& operator=(const ManualEditSession&) = delete;
  ~ManualEditSession() { clear(); }

  // Forgets every step (a new entry into manual edit mode, or leaving it).
  void clear();

  // Delete for states 1..3 (state 0 deletes from the drawing; rotation mode is refused by
  // the page first). `selected` are the ends of the selected drawn edges. In manual edit
  // mode one selected edge that is present and not forced is cut with its pruning; then,
  // cut or not, a decided verdict is reported.
  ManualOutcome deleteEdge(Graph* working, ProgramState programState, AlgorithmChoice algorithmChoice,
                           const std::vector<EdgeEnds>& selected);
  // Force alike (refusals only in states 2 and 3).
  ManualOutcome forceEdge(Graph* working, ProgramState programState, AlgorithmChoice algorithmChoice,
                          const std::vector<EdgeEnds>& selected);
  // Full LAS without the Disjunction Check, in manual edit mode only.
  ManualOutcome runLookAhead(Graph* working, ProgramState programState, AlgorithmChoice algorithmChoice);

  bool canUndo() const { return !done_.empty(); }
  bool canRedo() const { return !undone_.empty(); }
  // Takes back the newest step; the verdict returns to what it was before it (undecided).
  // False when there is nothing to undo.
  bool undo(Graph& working);
  // Carries out the newest undone step again; its outcome says whether it decides.
  bool redo(Graph& working, ManualOutcome* outcome = nullptr);

 private:
  enum class Kind { kDelete, kForce, kLookAhead };
  struct Step {
    Kind kind;
    EdgeEnds edge;
    std::unique_ptr<ActionList> log;
    HamiltonicityState verdictBefore;
    int32_t cutCountBefore;
    int32_t simulationForceCountBefore;
    uint32_t randomBefore;  // Lightning picks at random: redo replays the same picks
  };
  // Runs one action under a fresh log; keeps it as a step when it changed the graph.
  bool perform(Graph& working, Kind kind, EdgeEnds edge);
  // Delete or Force of the one selected edge, when it is present and not forced.
  ManualOutcome actOnOneEdge(Graph* working, Kind kind, const std::vector<EdgeEnds>& selected);
  static ManualOutcome verdictOutcome(const Graph& working, bool changed);

  std::vector<Step> done_;
  std::vector<Step> undone_;
};

}  // namespace hc
