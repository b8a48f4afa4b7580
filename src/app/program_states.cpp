#include "app/program_states.h"

#include <array>
#include <cstddef>

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

// The status text in state 2 by algorithm choice, and in state 3 by result.
constexpr std::array<const char*, 5> kRunningTexts{
    "",
    "Stone Carver Hamiltonian Cycle Algorithm Running",
    "Co-Hamiltonian Cycle Proof System Running",
    "Manual Edit Mode",
    "Solver Portfolio Running",
};
constexpr std::array<const char*, 4> kDecidedTexts{
    "The Graph Is Non-Hamiltonian",
    "The Graph Is Hamiltonian",
    "The Search Depth Was Too Shallow",
    "Undecided: The Time Limit Was Reached",
};

// The entry of `table` for `value`'s code; null for a code outside it.
template <typename Entry, size_t N, typename Enum>
const Entry* entryOf(const std::array<Entry, N>& table, Enum value) {
  const auto code = codeOf(value);
  return code >= 0 && static_cast<size_t>(code) < N ? &table[static_cast<size_t>(code)] : nullptr;
}

}  // namespace

BoxLook stateLook(ProgramState state) {
  const StateRow* row = entryOf(kStates, state);
  return (row ? *row : kStates[0]).look;
}

BoxLook statusLabelLook() {
  return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}};
}

std::string statusText(ProgramState state, AlgorithmChoice algorithmChoice, ProgramResult result) {
  const char* const* text = state == ProgramState::kRunning   ? entryOf(kRunningTexts, algorithmChoice)
                            : state == ProgramState::kDecided ? entryOf(kDecidedTexts, result)
                                                              : nullptr;
  if (text) return *text;
  const StateRow* row = entryOf(kStates, state);
  return row && row->text ? row->text : "";
}

std::string stateColourName(ProgramState state) {
  const StateRow* row = entryOf(kStates, state);
  return row ? row->colour : "";
}

std::string stateButtonCaption(ProgramState state) {
  const StateRow* row = entryOf(kStates, state);
  return row ? row->caption : "";
}

bool resetButtonShown(ProgramState state) {
  return state == ProgramState::kSubmitted || state == ProgramState::kDecided;
}

}  // namespace hc
