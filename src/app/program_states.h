// The four program states as the frame shows them: status texts, box colours, the caption
// of the big state buttons and whether Reset is offered. Shared by the window, the help
// texts and the tests, so every colour and text is written once.
#pragma once

#include <cstdint>
#include <string>

#include "core/verdict.h"

namespace hc {

namespace program_states {
inline constexpr int32_t kBlue = 0;    // editing, no graph submitted
inline constexpr int32_t kGreen = 1;   // graph loaded, ready to run
inline constexpr int32_t kRed = 2;     // a method runs
inline constexpr int32_t kYellow = 3;  // decided
}  // namespace program_states

// ProgramResult values (meaningful in state 3).
namespace program_results {
inline constexpr int16_t kNonHamiltonian = 0;
inline constexpr int16_t kHamiltonian = 1;
inline constexpr int16_t kSearchTooShallow = 2;
inline constexpr int16_t kTimeLimitReached = 3;  // the Solver page's time limit ended its run undecided
}  // namespace program_results

// AlgorithmChoice values: which method state 2 runs.
namespace algorithm_choices {
inline constexpr int32_t kStoneCarver = 1;
inline constexpr int32_t kCoHC = 2;
inline constexpr int32_t kManualEdit = 3;
inline constexpr int32_t kSolver = 4;  // the solve portfolio (Solver page)
}  // namespace algorithm_choices

struct Rgb {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};
struct BoxLook {
  Rgb fill, text, frame;
};

// The status text box's colours in `state`; an unknown state looks like state 0.
BoxLook stateLook(int32_t state);
// The "STATUS:" label box: grey, black text, white frame.
BoxLook statusLabelLook();
inline constexpr const char* kStatusLabelText = "STATUS:";

// The status text box: "No Graph Loaded", "Graph Loaded & Ready To Run", the running
// method's name by algorithm choice, the verdict by result. Empty for unknown codes.
std::string statusText(int32_t state, int32_t algorithmChoice, int16_t result);

// "BLUE", "GREEN", "RED", "YELLOW" (empty for an unknown state).
std::string stateColourName(int32_t state);

// The picture caption of a page's big state button: "LOAD GRAPH", "SOLVE GRAPH",
// "ABORT", "RESET".
std::string stateButtonCaption(int32_t state);

// The ProgramResult of a Solver run's verdict: an undecided end is the time limit's.
constexpr int16_t solverProgramResult(Verdict verdict) {
  return verdict == Verdict::Hamiltonian      ? program_results::kHamiltonian
         : verdict == Verdict::NonHamiltonian ? program_results::kNonHamiltonian
                                              : program_results::kTimeLimitReached;
}

// Reset is offered in states 1 and 3 only.
bool resetButtonShown(int32_t state);

}  // namespace hc
