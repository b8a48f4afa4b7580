// The "Graph Editor" page: the view pane (canvas, mouse, read-only view of a generated or
// loaded graph; graph_editor_pane.h) beside the buttons of the drawing and of manual edit
// mode, the eight display boxes, the drawing's files, undo/redo, zoom to fit and export.
// The drawing itself lives in the program model; the manual edit actions, the mouse
// gestures and the view geometry are the Qt-free classes in src/app.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "app/drawing_history.h"
#include "app/editor_view.h"
#include "app/manual_edit.h"
#include "app/program_model.h"
#include "app/program_page.h"
#include "editor/clipboard.h"
#include "ui/graph_editor_pane.h"

class QGroupBox;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace hcui {
class PaintedLabel;
}

class CGraphEditorDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CGraphEditorDlg(hc::ProgramModel& model, QWidget* parent = nullptr);

  // The program model's notifications.
  void setPageState(hc::ProgramState state) override;
  void setStateButtonVisible(bool visible) override;

  // --- actions (buttons, keys and tests call these) ---
  void deleteAction();
  void forceAction();
  void runLookAheadAction();
  void cliquifyAction();
  void clearAction();
  void newAction();
  void copyAction();
  void cutAction();
  void pasteAction();
  void selectAllAction();
  void zoomKey(bool in);
  void spinGrid(bool up);
  void centerGraphAction();
  void recenterScreenAction();
  void submitAction();
  void saveAction();
  void saveAsAction();
  void loadAction();
  void outputHcAction();
  void undoAction();
  void redoAction();
  void zoomToFitAction();
  void exportAction();
  void copyToEditorAction();
  // Writes the canvas as PNG or SVG (by extension) at `size` (empty: the canvas size).
  bool exportCanvas(const QString& path, QSize size = {});
  // True when nothing unsaved would be lost, or the user agreed to lose it (one question).
  bool confirmDiscard();
  // The user's drawing (on the canvas in state 0, kept aside in the others) differs from
  // what was last saved or read from a file.
  bool hasUnsavedDrawing() const;

  // --- what tests and screenshots look at ---
  hcui::GraphCanvas* canvas() const { return pane_->canvas(); }
  hc::EditorView& view() { return pane_->view(); }
  bool rotationMode() const { return pane_->interaction().rotationMode(); }
  const hc::Graph2D& shownGraph() const { return pane_->shownGraph(); }
  bool hasGraphView() const { return pane_->hasGraphView(); }
  QString boxText(const QString& name) const;
  bool controlShown(const QString& name) const;
  // Lays out the read-only view now, on this thread (screenshots and tests).
  void finishLayoutNow() { pane_->finishLayoutNow(); }
  // A force-directed layout runs on its worker (the view shows a circle meanwhile).
  bool layoutRunning() const { return pane_->layoutRunning(); }
  // The edges of the view drawn bowed (a toroidal grid's wrap-around edges).
  const hcui::EdgeBends& bentEdges() const { return pane_->bentEdges(); }
  // The root pruning's graph whose forced edges the canvas shows in orange in states 1 and
  // 2 (null when none is shown).
  const hc::Graph* forcedEdgesGraph() const;

 private:
  // The constructor's parts, top to bottom of the side panel.
  void buildViewControls(QWidget* panel, QVBoxLayout* side);
  void buildEditGroups(QWidget* panel, QVBoxLayout* side);
  void buildStateButtons(QWidget* panel, QVBoxLayout* side);
  void buildFileButtons(QWidget* panel, QVBoxLayout* side);
  void bindKeys();

  hc::Graph2D& shown() { return pane_->shown(); }
  hc::Graph* working() const { return model_.workingGraph().get(); }
  hc::ProgramState state() const { return model_.programState(); }
  bool editing() const { return state() == hc::ProgramState::kEditing; }
  hc::AlgorithmChoice choice() const { return model_.algorithmChoice(); }
  bool rotating() const { return pane_->interaction().rotationMode(); }
  void message(const std::string& text);
  void refresh();
  void updateBoxes();
  void updateVisibility();
  void enterSubmitted();
  // Drawing edits in state 0: snapshot before, record after (undo, unsaved mark).
  hc::DrawingSnapshot before() const { return hc::takeSnapshot(model_.drawing()); }
  void recordEdit(hc::DrawingSnapshot snapshot);
  // Shows the outcome's message, unselects (unless not `unselect`) and enters state 3 when
  // it decides.
  void applyManual(const hc::ManualOutcome& outcome, bool unselect = true);
  std::vector<hc::EdgeEnds> selectedEdgeEnds() const;

  hc::ProgramModel& model_;
  hcui::GraphEditorPane* pane_ = nullptr;
  hc::Clipboard clipboard_;
  hc::DrawingHistory history_;
  hc::ManualEditSession manual_;
  hc::DrawingSnapshot userDrawing_;  // the user's drawing, kept across a view
  bool suppressEntryPruning_ = false;
  std::shared_ptr<const hc::Graph> pruned_;  // the root pruning of the submitted graph
  const hc::Graph* prunedOf_ = nullptr;

  hcui::PaintedLabel *gridBox_, *zoomBox_, *centreBox_, *mouseBox_, *nodeCountBox_, *edgeCountBox_,
      *selectedNodeBox_, *selectedEdgeBox_;
  QGroupBox *editGroup_, *manualGroup_, *manualEditFrame_, *outputGroup_;
  QPushButton *stateButton_, *submitButton_, *saveAsButton_, *loadButton_, *copyToEditorButton_;
  bool stateButtonAllowed_ = true;
};
