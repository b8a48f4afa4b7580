// A tab page as the program model sees it: an observer of the program state, and the few
// controls the model switches on other pages while a method runs.
#pragma once

#include <cstdint>

#include "core/program_state.h"

namespace hc {

class ProgramPage {
 public:
  virtual ~ProgramPage() = default;
  // The program entered `state`. Called on the UI thread; the page may call
  // ProgramModel::setProgramState from inside (manual edit mode deciding at once).
  virtual void setPageState(ProgramState state) = 0;
  // While another page's method runs, its big state button is hidden...
  virtual void setStateButtonVisible(bool /*visible*/) {}
  // ...and its algorithm controls are disabled (re-enabled by the next setPageState).
  virtual void setAlgorithmControlsEnabled(bool /*enabled*/) {}
  // Stops the page's running method at once (Stone Carver and Co-HC pages); must not wait.
  virtual void abortRun() {}
  // After an abort, once every page shows state 1: the page says the run was aborted (a
  // modal message, so the window behind it already shows the state the user returns to).
  virtual void announceAbort() {}
};

// The tabs in their order (the index is the tab's); the Solver (the solve portfolio) last.
enum PageIndex : int32_t {
  kEditorPage,
  kGenerationPage,
  kInformationPage,
  kStoneCarverPage,
  kCoHCPage,
  kSolverPage
};
inline constexpr int32_t kPageCount = kSolverPage + 1;

}  // namespace hc
