#include "app/program_states.h"

#include <array>

namespace hc {

namespace {

// One row per state, in state order: the status box's look, the colour's name, the caption
// of the big state button, and the status text where it does not depend on the run.
struct StateRow {
  BoxLook look;
  const char* colour;
  const char* caption;
  const char* text;
};
constexpr std::array<StateRow, 4> kStates{{
    {{{0, 0, 212}, {255, 255, 255}, {0, 0, 255}}, "BLUE", "LOAD GRAPH", "No Graph Loaded"},
    {{{0, 212, 0}, {255, 255, 255}, {0, 255, 0}}, "GREEN", "SOLVE GRAPH", "Graph Loaded & Ready To Run"},
    {{{212, 0, 0}, {255, 255, 255}, {255, 0, 0}}, "RED", "ABORT", nullptr},
    {{{212, 212, 0}, {0, 0, 0}, {255, 255, 0}}, "YELLOW", "RESET", nullptr},
}};

const StateRow* rowOf(ProgramState state) {
  const int32_t code = codeOf(state);
  return code >= 0 && code < static_cast<int32_t>(kStates.size()) ? &kStates[code] : nullptr;
}

const char* runningText(AlgorithmChoice choice) {
  switch (choice) {
    case AlgorithmChoice::kStoneCarver: return "Stone Carver Hamiltonian Cycle Algorithm Running";
    case AlgorithmChoice::kCoHC: return "Co-Hamiltonian Cycle Proof System Running";
    case AlgorithmChoice::kManualEdit: return "Manual Edit Mode";
    case AlgorithmChoice::kSolver: return "Solver Portfolio Running";
    default: return "";
  }
}

const char* decidedText(ProgramResult result) {
  switch (result) {
    case ProgramResult::kNonHamiltonian: return "The Graph Is Non-Hamiltonian";
    case ProgramResult::kHamiltonian: return "The Graph Is Hamiltonian";
    case ProgramResult::kSearchTooShallow: return "The Search Depth Was Too Shallow";
    case ProgramResult::kTimeLimitReached: return "Undecided: The Time Limit Was Reached";
    default: return "";
  }
}

}  // namespace

BoxLook stateLook(ProgramState state) {
  const StateRow* row = rowOf(state);
  return (row ? *row : kStates[0]).look;
}

BoxLook statusLabelLook() { return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}}; }

std::string statusText(ProgramState state, AlgorithmChoice algorithmChoice, ProgramResult result) {
  if (state == ProgramState::kRunning) return runningText(algorithmChoice);
  if (state == ProgramState::kDecided) return decidedText(result);
  const StateRow* row = rowOf(state);
  return row ? row->text : "";
}

std::string stateColourName(ProgramState state) {
  const StateRow* row = rowOf(state);
  return row ? row->colour : "";
}

std::string stateButtonCaption(ProgramState state) {
  const StateRow* row = rowOf(state);
  return row ? row->caption : "";
}

bool resetButtonShown(ProgramState state) {
  return state == ProgramState::kSubmitted || state == ProgramState::kDecided;
}

}  // namespace hc
