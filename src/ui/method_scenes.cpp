// Screenshot scenes of the method pages: runs caught while they work and after they end.
#include "ui/method_scenes.h"

#include <QComboBox>
#include <QDir>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>
#include <optional>
#include <string>

#include "app/program_page.h"
#include "generators/generalized_petersen.h"
#include "io/adjacency_text_format.h"
#include "io/file_access.h"
#include "run/graph_description.h"
#include "ui/cohc_dlg.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/screenshot_scenes.h"
#include "ui/solver_dlg.h"
#include "ui/stone_carver_dlg.h"

namespace {

// Stops the running method (the state button of its page, state 2 to 1), if any.
void abortRunningMethod(CHamiltonianCyclesDlg& window) {
  hc::ProgramModel& model = window.model();
  if (model.programState() != hc::ProgramState::kRunning) return;
  switch (model.algorithmChoice()) {
    case hc::AlgorithmChoice::kCoHC: model.pageButtonPressed(hc::kCoHCPage); break;
    case hc::AlgorithmChoice::kSolver: model.pageButtonPressed(hc::kSolverPage); break;
    case hc::AlgorithmChoice::kManualEdit: model.pageButtonPressed(hc::kEditorPage); break;
    default: model.pageButtonPressed(hc::kStoneCarverPage); break;
  }
}

// Stops a running method, then loads the generalized Petersen graph GP(n, k) from a text
// file in the temporary folder (state 1).
void loadSceneGraph(CHamiltonianCyclesDlg& window, int n, int k) {
  hc::ProgramModel& model = window.model();
  abortRunningMethod(window);
  const std::string path =
      QDir::temp().filePath(QStringLiteral("generalized-petersen-%1-%2.txt").arg(n).arg(k)).toStdString();
  if (hc::FileStatus written = hc::writeAdjacencyText(*hc::generateGeneralizedPetersen(n, k), path);
      !written) {
    model.view().showMessage(written.error, "Hamiltonian Cycles");
    return;
  }
  model.startWithFile(path);
}

// A long run (GP(601,2) keeps the portfolio racing for many seconds on two cores), then
// decided runs: a 100 x 100 toroidal grid, GP(24,2) as the Graph Editor shows it (the cycle
// in green) and the 4 x 12 knight's graph (no closed tour: its certificate offered, and
// its forced edges in red).
void solveSceneGraph(CHamiltonianCyclesDlg& window, int n) {
  loadSceneGraph(window, n, 2);
  window.model().pageButtonPressed(hc::kSolverPage);
}
void solveGenerated(CHamiltonianCyclesDlg& window, const hc::GraphRequest& request) {
  abortRunningMethod(window);
  window.model().loadGraphRequest(request);
  window.model().pageButtonPressed(hc::kSolverPage);
}
// A pentagon read from a file: the root rules decide it at once (its cycle in green on the
// editor); and the state button as the keyboard reaches it (its focus frame).
void solvePentagon(CHamiltonianCyclesDlg& window) {
  abortRunningMethod(window);
  const std::string path = QDir::temp().filePath(QStringLiteral("pentagon.txt")).toStdString();
  if (const hc::FileStatus written = hc::writeFileAtomically(path, "0 1 4\n1 0 2\n2 1 3\n3 2 4\n4 3 0\n");
      !written) {
    window.model().view().showMessage(written.error, "Hamiltonian Cycles");
    return;
  }
  window.model().startWithFile(path);
  window.model().pageButtonPressed(hc::kSolverPage);
}
void focusRunButton(CHamiltonianCyclesDlg& window) {
  abortRunningMethod(window);
  window.model().setProgramState(hc::ProgramState::kEditing);
  window.model().loadGraphRequest({hc::GraphSource::kCompleteGraph, 5, 0});
  window.activateWindow();
  window.solverPage()->stateButton()->setFocus(Qt::TabFocusReason);
}

// The mill on GP(23,2), which has no Hamiltonian cycle and keeps it running; then a run
// that finds the cycle of GP(24,2).
void startStoneCarver(CHamiltonianCyclesDlg& window, int n) {
  loadSceneGraph(window, n, 2);
  window.stoneCarverPage()->iterationsEdit()->setValue(1000);
  window.model().pageButtonPressed(hc::kStoneCarverPage);
}

// A proof caught while it runs (GP(47,2) without pruning takes a while), then the proof
// of GP(23,2) with each of the four charts.
void startProof(CHamiltonianCyclesDlg& window, int n, int pruningLevel) {
  loadSceneGraph(window, n, 2);
  window.cohcPage()->pruningList()->setCurrentIndex(pruningLevel);
  window.cohcPage()->chartTabs()->setCurrentIndex(0);
  window.model().pageButtonPressed(hc::kCoHCPage);
}
void showChart(CHamiltonianCyclesDlg& window, int chart) {
  window.cohcPage()->chartTabs()->setCurrentIndex(chart);
}
// The finished proof's table exported: the status box notes where it went.
void exportTable(CHamiltonianCyclesDlg& window) {
  const std::string path = QDir::temp().filePath(QStringLiteral("cohc-statistics.csv")).toStdString();
  window.setFileHook([path](const std::string&) { return std::optional<std::string>(path); });
  window.cohcPage()->exportStatistics();
  window.setFileHook([](const std::string&) { return std::optional<std::string>(); });
}

}  // namespace

void hcui::registerSolverScenes() {
  static const hcui::ScreenshotSceneRegistration scenes[] = {
      {"solver-pentagon", hc::kSolverPage, solvePentagon, 600},
      {"solver-keyboard-focus", hc::kSolverPage, focusRunButton, 200},
      {"solver-running", hc::kSolverPage, [](CHamiltonianCyclesDlg& w) { solveSceneGraph(w, 601); }, 1200},
      {"solver-decided", hc::kSolverPage,
       [](CHamiltonianCyclesDlg& w) {
         solveGenerated(w, {hc::GraphSource::kToroidalGrid, 100, 100});
       },
       1500},
      {"solver-non-hamiltonian", hc::kSolverPage,
       [](CHamiltonianCyclesDlg& w) {
         solveGenerated(w, {hc::GraphSource::kKnightsTourGraph, 4, 12});
       },
       1500},
      {"solver-decided-editor", hc::kEditorPage, [](CHamiltonianCyclesDlg& w) { solveSceneGraph(w, 24); },
       1500},
      {"solver-non-hamiltonian-editor", hc::kEditorPage,
       [](CHamiltonianCyclesDlg& w) {
         solveGenerated(w, {hc::GraphSource::kKnightsTourGraph, 4, 12});
       },
       1500},
  };
  (void)scenes;
}

void hcui::registerStoneCarverScenes() {
  static const hcui::ScreenshotSceneRegistration scenes[] = {
      {"stone-carver-running", hc::kStoneCarverPage,
       [](CHamiltonianCyclesDlg& w) { startStoneCarver(w, 23); }, 800},
      {"stone-carver-solved", hc::kStoneCarverPage, [](CHamiltonianCyclesDlg& w) { startStoneCarver(w, 24); },
       1500},
  };
  (void)scenes;
}

void hcui::registerCoHCScenes() {
  static const hcui::ScreenshotSceneRegistration scenes[] = {
      {"cohc-running", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { startProof(w, 47, 1); }, 400},
      {"cohc-solved-nodes", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { startProof(w, 23, 1); }, 1500},
      {"cohc-solved-average-time", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { showChart(w, 1); }, 150},
      {"cohc-solved-maximum-time", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { showChart(w, 2); }, 150},
      {"cohc-solved-forced-edges", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { showChart(w, 3); }, 150},
      {"cohc-statistics-exported", hc::kCoHCPage, exportTable, 150},
  };
  (void)scenes;
}
