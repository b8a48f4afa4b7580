// The four program states (core/program_state.h) as the frame shows them: status texts,
// box colours, the caption of the big state buttons and whether Reset is offered. Shared
// by the window, the help texts and the tests, so every colour and text is written once.
#pragma once

#include <cstdint>
#include <string>

#include "core/program_state.h"
#include "core/verdict.h"

namespace hc {

struct Rgb {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};
struct BoxLook {
  Rgb fill, text, frame;
};

// The status text box's colours in `state`; an unknown state looks like state 0.
BoxLook stateLook(ProgramState state);
// The "STATUS:" label box: grey, black text, white frame.
BoxLook statusLabelLook();
inline constexpr const char* kStatusLabelText = "STATUS:";

// The status text box: "No Graph Loaded", "Graph Loaded & Ready To Run", the running
// method's name by algorithm choice, the verdict by result. Empty for unknown codes.
std::string statusText(ProgramState state, AlgorithmChoice algorithmChoice, ProgramResult result);

// "BLUE", "GREEN", "RED", "YELLOW" (empty for an unknown state).
std::string stateColourName(ProgramState state);

// The picture caption of a page's big state button: "LOAD GRAPH", "SOLVE GRAPH",
// "ABORT", "RESET".
std::string stateButtonCaption(ProgramState state);

// The ProgramResult of a Solver run's verdict: an undecided end is the time limit's.
constexpr ProgramResult solverProgramResult(Verdict verdict) {
  return verdict == Verdict::kHamiltonian      ? ProgramResult::kHamiltonian
         : verdict == Verdict::kNonHamiltonian ? ProgramResult::kNonHamiltonian
                                               : ProgramResult::kTimeLimitReached;
}

// Reset is offered in states 1 and 3 only.
bool resetButtonShown(ProgramState state);

}  // namespace hc
