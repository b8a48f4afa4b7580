// Manual edit mode actions and their undo steps (see manual_edit.h).
#include "app/manual_edit.h"

#include "core/random.h"
#include "lookahead/look_ahead_sequencing.h"

namespace hc {

namespace {

// The refusals the page shows in manual edit mode.
constexpr const char* kSubmittedNoDelete = "The graph has been submitted. You may not delete.";
constexpr const char* kRunningNoDelete = "An algorithm is running. You may not delete.";
constexpr const char* kSolvedNoDelete = "The graph has been solved. You may not delete.";
constexpr const char* kSolvedNoForce = "The graph has been solved. You may not force any edges.";
constexpr const char* kSolvedNoLookAhead =
    "The graph has been solved. You may not run Look Ahead Sequencing.";

bool inRange(const Graph& g, EdgeEnds e) {
  return e.first >= 0 && e.second >= 0 && e.first < g.howManyNodes && e.second < g.howManyNodes &&
         e.first != e.second;
}

bool isManualRun(ProgramState state, AlgorithmChoice choice) {
  return state == ProgramState::kRunning && choice == AlgorithmChoice::kManualEdit;
}

// Puts `log` in as the graph's undo log for one step, and the graph's own back after it.
class StepLog {
 public:
  StepLog(Graph& working, std::unique_ptr<ActionList>& log)
      : working_(working), log_(log), outer_(std::move(working.actionList)) {
    working_.actionList = std::move(log_);
  }
  ~StepLog() {
    log_ = std::move(working_.actionList);
    working_.actionList = std::move(outer_);
  }
  StepLog(const StepLog&) = delete;
  StepLog& operator=(const StepLog&) = delete;

 private:
  Graph& working_;
  std::unique_ptr<ActionList>& log_;
  std::unique_ptr<ActionList> outer_;
};

}  // namespace

void ManualEditSession::clear() {
  // Kept steps still hold their records; they are dropped on purpose, not undone.
  for (Step& step : done_) step.log->clear();
  done_.clear();
  undone_.clear();
}

ManualOutcome ManualEditSession::verdictOutcome(const Graph& working, bool changed) {
  ManualOutcome out;
  out.changed = changed;
  if (working.isHamiltonian != kUndecided) {
    out.decide = true;
    out.result = programResultOf(working.isHamiltonian);
  }
  return out;
}

bool ManualEditSession::perform(Graph& working, Kind kind, EdgeEnds edge) {
  Step step{kind,
            edge,
            std::make_unique<ActionList>(),
            working.isHamiltonian,
            working.cutCount,
            working.simulationForceCount,
            randomState()};
  {
    const StepLog installed(working, step.log);
    switch (kind) {
      case Kind::kDelete: working.cut(edge.first, edge.second); break;
      case Kind::kForce: working.force(edge.first, edge.second); break;
      case Kind::kLookAhead: lookAheadSequencing(working, 0); break;
    }
  }
  if (step.log->empty() && working.isHamiltonian == step.verdictBefore) return false;
  done_.push_back(std::move(step));
  return true;
}

ManualOutcome ManualEditSession::actOnOneEdge(Graph* working, Kind kind,
                                              const std::vector<EdgeEnds>& selected) {
  if (selected.size() > 1) {
    return {kind == Kind::kDelete ? "Error: You may only delete one edge at a time."
                                  : "Error: You may only force one edge at a time."};
  }
  if (selected.empty() || !working) return {};
  bool changed = false;
  const EdgeEnds e = selected.front();
  if (inRange(*working, e) && working->isHamiltonian == kUndecided &&
      working->isAdjacent(e.first, e.second) && !working->isUncuttableEdge(e.first, e.second)) {
    changed = perform(*working, kind, e);
    if (changed) undone_.clear();
  }
  return verdictOutcome(*working, changed);
}

ManualOutcome ManualEditSession::deleteEdge(Graph* working, ProgramState state, AlgorithmChoice choice,
                                            const std::vector<EdgeEnds>& selected) {
  switch (state) {
    case ProgramState::kSubmitted: return {kSubmittedNoDelete};
    case ProgramState::kDecided: return {kSolvedNoDelete};
    case ProgramState::kRunning:
      if (choice != AlgorithmChoice::kManualEdit) return {kRunningNoDelete};
      break;
    default: return {};
  }
  return actOnOneEdge(working, Kind::kDelete, selected);
}

ManualOutcome ManualEditSession::forceEdge(Graph* working, ProgramState state, AlgorithmChoice choice,
                                           const std::vector<EdgeEnds>& selected) {
  if (state == ProgramState::kDecided) return {kSolvedNoForce};
  if (!isManualRun(state, choice)) return {};
  return actOnOneEdge(working, Kind::kForce, selected);
}

ManualOutcome ManualEditSession::runLookAhead(Graph* working, ProgramState state, AlgorithmChoice choice) {
  if (state == ProgramState::kDecided) return {kSolvedNoLookAhead};
  // Only reachable from the manual edit group; anywhere else (no graph, or a worker thread
  // owning the working graph) it must not touch the graph.
  if (!isManualRun(state, choice) || !working) return {};
  const bool changed = working->isHamiltonian == kUndecided && perform(*working, Kind::kLookAhead, {-1, -1});
  if (changed) undone_.clear();
  return verdictOutcome(*working, changed);
}

bool ManualEditSession::undo(Graph& working) {
  if (done_.empty()) return false;
  Step step = std::move(done_.back());
  done_.pop_back();
  {
    const StepLog installed(working, step.log);
    working.undoActions();
  }
  working.isHamiltonian = step.verdictBefore;
  working.cutCount = step.cutCountBefore;
  working.simulationForceCount = step.simulationForceCountBefore;
  undone_.push_back(std::move(step));
  return true;
}

bool ManualEditSession::redo(Graph& working, ManualOutcome* outcome) {
  if (undone_.empty()) return false;
  const Step step = std::move(undone_.back());
  undone_.pop_back();
  seedRandom(step.randomBefore);
  // The graph is exactly as it was before the step, so the same action records the same log.
  const bool changed = perform(working, step.kind, step.edge);
  if (outcome) *outcome = verdictOutcome(working, changed);
  return true;
}

}  // namespace hc
