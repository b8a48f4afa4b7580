// Manual edit mode actions and their undo steps (see manual_edit.h).
#include "app/manual_edit.h"

#include "core/random.h"
#include "editor/drawing_conversion.h"
#include "lookahead/look_ahead_sequencing.h"

namespace hc {

namespace {

bool inRange(const Graph& g, EdgeEnds e) {
  return e.first >= 0 && e.second >= 0 && e.first < g.howManyNodes && e.second < g.howManyNodes &&
         e.first != e.second;
}

bool isManualRun(int16_t state, int16_t choice) {
  return state == program_state::kRunning && choice == algorithm_choice::kManualEdit;
}

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
    out.result = working.isHamiltonian;
  }
  return out;
}

bool ManualEditSession::perform(Graph& working, Kind kind, EdgeEnds edge) {
  Step step{kind, edge, std::make_unique<ActionList>(), working.isHamiltonian, working.cutCount,
            working.simulationForceCount, randomState()};
  std::unique_ptr<ActionList> outer = std::move(working.actionList);
  working.actionList = std::move(step.log);
  switch (kind) {
    case Kind::kDelete: working.cut(edge.first, edge.second); break;
    case Kind::kForce: working.force(edge.first, edge.second); break;
    case Kind::kLookAhead: lookAheadSequencing(working, 0); break;
  }
  step.log = std::move(working.actionList);
  working.actionList = std::move(outer);
  if (step.log->empty() && working.isHamiltonian == step.verdictBefore) return false;
  done_.push_back(std::move(step));
  return true;
}

ManualOutcome ManualEditSession::deleteEdge(Graph* working, int16_t state, int16_t choice,
                                            const std::vector<EdgeEnds>& selected) {
  switch (state) {
    case program_state::kSubmitted: return {manual_messages::kSubmittedNoDelete};
    case program_state::kDecided: return {manual_messages::kSolvedNoDelete};
    case program_state::kRunning:
      if (choice != algorithm_choice::kManualEdit) return {manual_messages::kRunningNoDelete};
      break;
    default: return {};
  }
  if (selected.size() > 1) return {manual_messages::kOneEdgeDelete};
  if (selected.empty() || !working) return {};
  bool changed = false;
  const EdgeEnds e = selected.front();
  if (inRange(*working, e) && working->isHamiltonian == kUndecided && working->isAdjacent(e.first, e.second) &&
      !working->isUncuttableEdge(e.first, e.second)) {
    changed = perform(*working, Kind::kDelete, e);
    if (changed) undone_.clear();
  }
  return verdictOutcome(*working, changed);
}

ManualOutcome ManualEditSession::forceEdge(Graph* working, int16_t state, int16_t choice,
                                           const std::vector<EdgeEnds>& selected) {
  if (state == program_state::kDecided) return {manual_messages::kSolvedNoForce};
  if (!isManualRun(state, choice)) return {};
  if (selected.size() > 1) return {manual_messages::kOneEdgeForce};
  if (selected.empty() || !working) return {};
  bool changed = false;
  const EdgeEnds e = selected.front();
  if (inRange(*working, e) && working->isHamiltonian == kUndecided && working->isAdjacent(e.first, e.second) &&
      !working->isUncuttableEdge(e.first, e.second)) {
    changed = perform(*working, Kind::kForce, e);
    if (changed) undone_.clear();
  }
  return verdictOutcome(*working, changed);
}

ManualOutcome ManualEditSession::runLookAhead(Graph* working, int16_t state, int16_t choice) {
  if (state == program_state::kDecided) return {manual_messages::kSolvedNoLookAhead};
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
  std::unique_ptr<ActionList> outer = std::move(working.actionList);
  working.actionList = std::move(step.log);
  working.undoActions();
  step.log = std::move(working.actionList);
  working.actionList = std::move(outer);
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
