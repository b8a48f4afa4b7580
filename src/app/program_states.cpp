#include "app/program_states.h"

namespace hc {

BoxLook stateLook(int32_t state) {
  switch (state) {
    case program_states::kGreen:
      return {{0, 212, 0}, {255, 255, 255}, {0, 255, 0}};
    case program_states::kRed:
      return {{212, 0, 0}, {255, 255, 255}, {255, 0, 0}};
    case program_states::kYellow:
      return {{212, 212, 0}, {0, 0, 0}, {255, 255, 0}};
    default:
      return {{0, 0, 212}, {255, 255, 255}, {0, 0, 255}};
  }
}

BoxLook statusLabelLook() { return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}}; }

std::string statusText(int32_t state, int32_t algorithmChoice, int16_t result) {
  switch (state) {
    case program_states::kBlue:
      return "No Graph Loaded";
    case program_states::kGreen:
      return "Graph Loaded & Ready To Run";
    case program_states::kRed:
      switch (algorithmChoice) {
        case algorithm_choices::kStoneCarver:
          return "Stone Carver Hamiltonian Cycle Algorithm Running";
        case algorithm_choices::kCoHC:
          return "Co-Hamiltonian Cycle Proof System Running";
        case algorithm_choices::kManualEdit:
          return "Manual Edit Mode";
        case algorithm_choices::kSolver:
          return "Solver Portfolio Running";
        default:
          return {};
      }
    case program_states::kYellow:
      switch (result) {
        case program_results::kNonHamiltonian:
          return "The Graph Is Non-Hamiltonian";
        case program_results::kHamiltonian:
          return "The Graph Is Hamiltonian";
        case program_results::kSearchTooShallow:
          return "The Search Depth Was Too Shallow";
        case program_results::kTimeLimitReached:
          return "Undecided: The Time Limit Was Reached";
        default:
          return {};
      }
    default:
      return {};
  }
}

std::string stateColourName(int32_t state) {
  static const char* const names[] = {"BLUE", "GREEN", "RED", "YELLOW"};
  return state >= 0 && state <= 3 ? names[state] : "";
}

std::string stateButtonCaption(int32_t state) {
  static const char* const captions[] = {"LOAD GRAPH", "SOLVE GRAPH", "ABORT", "RESET"};
  return state >= 0 && state <= 3 ? captions[state] : "";
}

bool resetButtonShown(int32_t state) {
  return state == program_states::kGreen || state == program_states::kYellow;
}

}  // namespace hc
