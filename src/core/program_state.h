// The window's vocabulary, declared once: the four program states, what a decided run
// found, and which method a run is. The numbers are those the window has always shown
// ("state 2 (RED)") and the tests and help texts name, so they are fixed here; text and
// colours for them live with the window's model (app/program_states.h).
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/graph.h"

namespace hc {

enum class ProgramState : int32_t {
  kEditing = 0,    // blue: no graph submitted
  kSubmitted = 1,  // green: a graph is loaded, ready to run
  kRunning = 2,    // red: a method runs (or manual edit mode is on)
  kDecided = 3,    // yellow
};

// Meaningful in kDecided. The first three agree with HamiltonicityState (an undecided
// end of a depth-limited search is "too shallow").
enum class ProgramResult : int16_t {
  kNonHamiltonian = 0,
  kHamiltonian = 1,
  kSearchTooShallow = 2,
  kTimeLimitReached = 3,  // the Solver page's time limit ended its run undecided
};

// Which method state kRunning runs; kNone before the first run.
enum class AlgorithmChoice : int32_t {
  kNone = 0,
  kStoneCarver = 1,
  kCoHC = 2,
  kManualEdit = 3,
  kSolver = 4,  // the solve portfolio (Solver page)
};

// The number of a state, result or choice (as shown and stored).
template <typename Enum>
constexpr std::underlying_type_t<Enum> codeOf(Enum value) {
  return static_cast<std::underlying_type_t<Enum>>(value);
}

// The result of a graph an engine left in `state` (undecided: the search was too shallow).
constexpr ProgramResult programResultOf(HamiltonicityState state) {
  return state == kHamiltonian      ? ProgramResult::kHamiltonian
         : state == kNotHamiltonian ? ProgramResult::kNonHamiltonian
                                    : ProgramResult::kSearchTooShallow;
}

}  // namespace hc
