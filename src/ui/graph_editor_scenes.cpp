// Screenshot scenes of the Graph Editor: a knight's 8 x 8 board solved (green cycle on the
// board grid), a generated 9 x 9 board proved non-Hamiltonian on entry to manual edit mode,
// and a drawn Petersen graph taken apart by hand until the verdict (red forced edges).
#include "ui/graph_editor_scenes.h"

#include <QTabWidget>
#include <cmath>
#include <numbers>

#include "run/graph_description.h"
#include "schc/stone_carver.h"
#include "ui/graph_editor_dlg.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/screenshot_scenes.h"

namespace {

// Enters manual edit mode on the graph in state 1.
void enterManualEdit(CHamiltonianCyclesDlg& window) {
  window.tabs()->setCurrentIndex(hc::kEditorPage);
  window.model().pageButtonPressed(hc::kEditorPage);
}

void knightSolved(CHamiltonianCyclesDlg& window) {
  hc::ProgramModel& model = window.model();
  model.loadGraphRequest({hc::GraphSource::kKnightsTourGraph, 8, 8});
  enterManualEdit(window);
  if (model.programState() != hc::ProgramState::kRunning) return;
  // Solved "by hand" with the Stone Carver's engine, so the picture shows a found cycle.
  hc::Graph& working = *model.workingGraph();
  hc::SchcOptions options;
  options.maxIterations = 1000000;
  hc::runStoneCarver(working, 1, nullptr, nullptr, options);
  if (working.isHamiltonian == hc::kUndecided) return;
  model.setProgramResult(hc::programResultOf(working.isHamiltonian));
  model.setProgramState(hc::ProgramState::kDecided);
}

void knightNonHamiltonian(CHamiltonianCyclesDlg& window) {
  window.model().loadGraphRequest({hc::GraphSource::kKnightsTourGraph, 9, 9});
  enterManualEdit(window);  // the entry pruning decides: an odd board is unbalanced
}

// State 0 with the drawing emptied, for a scene that draws its own graph.
hc::Graph2D& emptyDrawing(CHamiltonianCyclesDlg& window) {
  window.model().setProgramState(hc::ProgramState::kEditing);
  hc::Graph2D& d = window.model().drawing();
  d.selectAllNodes();
  d.deleteSelected();
  return d;
}

void petersenByHand(CHamiltonianCyclesDlg& window) {
  hc::ProgramModel& model = window.model();
  hc::Graph2D& d = emptyDrawing(window);
  std::vector<hc::Graph2DNode*> nodes;
  for (int ring = 0; ring < 2; ++ring)
    for (int i = 0; i < 5; ++i) {
      const double t = std::numbers::pi / 2 + 2 * std::numbers::pi * i / 5;
      const double r = ring == 0 ? 22.0 : 10.0;
      nodes.push_back(d.addNode(r * std::cos(t), r * std::sin(t)));
    }
  for (int i = 0; i < 5; ++i) {
    d.joinNodes(nodes[i], nodes[(i + 1) % 5]);
    d.joinNodes(nodes[i], nodes[5 + i]);
    d.joinNodes(nodes[5 + i], nodes[5 + (i + 2) % 5]);
  }
  d.unselectAll();
  CGraphEditorDlg& page = *window.editorPage();
  page.submitAction();
  page.zoomToFitAction();
  enterManualEdit(window);
  // Delete the first ordinary edge of the drawing, as a user would, until the verdict.
  for (int guard = 0; guard < 20 && model.programState() == hc::ProgramState::kRunning; ++guard) {
    const hc::Graph& g = *model.workingGraph();
    for (const auto& e : d.unselectedEdges) {
      const int32_t a = e->node1->id, b = e->node2->id;
      if (g.isAdjacent(a, b) && !g.isUncuttableEdge(a, b)) {
        d.unselectAll();
        d.toggleEdgeAt((e->node1->x + e->node2->x) / 2, (e->node1->y + e->node2->y) / 2);
        page.deleteAction();
        break;
      }
    }
  }
}

// A family without a natural picture: the 5-cube, laid out by sfdp.
void hypercubeView(CHamiltonianCyclesDlg& window) {
  window.model().loadGraphRequest({hc::GraphSource::kNCubeGraph, 5, 0});
  window.editorPage()->finishLayoutNow();
}

// A 5 x 6 torus: its eleven wrap-around edges bow beside their rows and columns.
void torusView(CHamiltonianCyclesDlg& window) {
  window.model().loadGraphRequest({hc::GraphSource::kToroidalGrid, 5, 6});
}

// An ICCS graph (dense components joined in a ring; 50 of them, 700 nodes, shown at a zoom
// where the nodes are seen) and a small knight's board: no node lies on another.
void iccsView(CHamiltonianCyclesDlg& window) {
  window.model().loadGraphRequest({hc::GraphSource::kIccsGraph, 50, 0});
  window.editorPage()->finishLayoutNow();
}
void smallBoardView(CHamiltonianCyclesDlg& window) {
  window.model().loadGraphRequest({hc::GraphSource::kKnightsTourGraph, 3, 4});
}

// The user's drawing (a triangle, zoomed in) comes back as it was seen after a generated
// graph is reset.
void drawingAfterReset(CHamiltonianCyclesDlg& window) {
  hc::ProgramModel& model = window.model();
  hc::Graph2D& d = emptyDrawing(window);
  hc::Graph2DNode* a = d.addNode(-3, -2);
  hc::Graph2DNode* b = d.addNode(3, -2);
  hc::Graph2DNode* c = d.addNode(0, 3);
  d.joinNodes(a, b), d.joinNodes(b, c), d.joinNodes(c, a);
  d.unselectAll();
  CGraphEditorDlg& page = *window.editorPage();
  page.view().zoom = 32;
  page.submitAction();
  model.setProgramState(hc::ProgramState::kEditing);
  model.loadGraphRequest({hc::GraphSource::kKnightsTourGraph, 8, 8});
  model.setProgramState(hc::ProgramState::kEditing);
}

}  // namespace

namespace hcui {

void registerEditorScenes() {
  static const ScreenshotSceneRegistration scenes[] = {
      {"editor-knight-8x8-solved", hc::kEditorPage, knightSolved, 500},
      {"editor-knight-9x9-no-cycle", hc::kEditorPage, knightNonHamiltonian, 500},
      {"editor-manual-petersen-no-cycle", hc::kEditorPage, petersenByHand, 500},
      {"editor-view-5-cube", hc::kEditorPage, hypercubeView, 500},
      {"editor-toroidal-grid-5x6", hc::kEditorPage, torusView, 300},
      {"editor-iccs-50", hc::kEditorPage, iccsView, 300},
      {"editor-knight-3x4", hc::kEditorPage, smallBoardView, 300},
      {"editor-drawing-after-reset", hc::kEditorPage, drawingAfterReset, 300},
  };
  (void)scenes;
}

}  // namespace hcui
