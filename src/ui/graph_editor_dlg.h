// The "Graph Editor" page: the canvas a person draws on (mouse, keys, zoom, grid,
// rotation), the buttons of the drawing and of manual edit mode, the eight display boxes,
// the drawing's files, undo/redo, zoom to fit, export, and a read-only view of a graph that
// was generated or loaded rather than drawn. The drawing itself lives in the program model;
// the manual edit actions and the view geometry are the Qt-free classes in src/app.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "run/background_job.h"
#include "app/drawing_history.h"
#include "app/editor_view.h"
#include "app/manual_edit.h"
#include "app/program_model.h"
#include "app/program_page.h"
#include "editor/clipboard.h"
#include "ui/graph_canvas.h"
#include "ui/graph_view_layout.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QToolButton;

namespace hcui {
class PaintedLabel;
}

using hcui::CanvasScene;
using hcui::GraphCanvas;

class CGraphEditorDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CGraphEditorDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CGraphEditorDlg() override;

  void setPageState(int32_t state) override;
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
  GraphCanvas* canvas() const { return canvas_; }
  hc::EditorView& view() { return view_; }
  bool rotationMode() const { return rotationMode_; }
  const hc::Graph2D& shownGraph() const;
  bool hasGraphView() const { return graphView_ != nullptr; }
  QString boxText(const QString& name) const;
  bool controlShown(const QString& name) const;
  // Lays out the read-only view now, on this thread (screenshots and tests).
  void finishLayoutNow();
  // A force-directed layout runs on its worker (the view shows a circle meanwhile).
  bool layoutRunning() const { return layoutJob_.running(); }
  // The edges of the view drawn bowed (a toroidal grid's wrap-around edges).
  const hcui::EdgeBends& bentEdges() const { return bends_; }
  // The root pruning's graph whose forced edges the canvas shows in orange in states 1 and
  // 2 (null when none is shown).
  const hc::Graph* forcedEdgesGraph() const;

 private:
  hc::Graph2D& shown();
  hc::Graph* working() const { return model_.workingGraph().get(); }
  int16_t state() const { return static_cast<int16_t>(model_.programState()); }
  int16_t choice() const { return static_cast<int16_t>(model_.algorithmChoice()); }
  void message(const std::string& text);
  void refresh();
  void updateBoxes();
  void updateVisibility();
  void prepareScene(CanvasScene& scene);
  // Drawing edits in state 0: snapshot before, record after (undo, unsaved mark).
  hc::DrawingSnapshot before() const { return hc::takeSnapshot(model_.drawing()); }
  void recordEdit(hc::DrawingSnapshot snapshot);
  void applyManual(const hc::ManualOutcome& outcome);
  void leaveRotation();
  std::vector<hc::EdgeEnds> selectedEdgeEnds() const;
  void buildGraphView();
  void startLayout();
  void installLayout(const hcui::GraphPicture& picture, bool ok);
  void showGraphView(const hcui::GraphPicture& picture);
  QPointF worldAt(QPoint p) const { return {view_.worldX(p.x()), view_.worldY(p.y())}; }
  void moveCursorToMiddle();

  void mousePress(QMouseEvent* e, QPoint p);
  void mouseRelease(QMouseEvent* e, QPoint p);
  void mouseMove(QMouseEvent* e, QPoint p);
  void mouseDoubleClick(QMouseEvent* e, QPoint p);
  void wheel(QWheelEvent* e, QPoint p);

  hc::ProgramModel& model_;
  GraphCanvas* canvas_ = nullptr;
  hc::EditorView view_;
  hc::Clipboard clipboard_;
  hc::DrawingHistory history_;
  hc::ManualEditSession manual_;
  std::optional<hc::DrawingSnapshot> pending_;  // before a drag or a rotation
  hc::DrawingSnapshot userDrawing_;             // the user's drawing, kept across a view
  std::optional<hc::EditorView> drawingView_;   // how the user looked at it, kept likewise
  bool suppressEntryPruning_ = false;
  std::shared_ptr<const hc::Graph> pruned_;     // the root pruning of the submitted graph
  const hc::Graph* prunedOf_ = nullptr;

  // Mouse state in canvas pixels.
  QPoint lastMouse_, start_, end_;
  bool mouseOnCanvas_ = false;
  bool drawingEdge_ = false, selectingRect_ = false, dragging_ = false;
  bool rotationMode_ = false;
  QPoint rotCentre_, rotPrevious_, rotCurrent_;

  // The read-only view of a generated or loaded graph. One layout at a time runs on the
  // job's worker; a new graph, the page's end or a layout done here at once abandons it, so
  // a late result never lands in a newer view, and closing never waits for it.
  std::unique_ptr<hc::Graph2D> graphView_;
  hcui::EdgeBends bends_;
  const hc::Graph* viewOf_ = nullptr;
  QString viewNote_;
  std::shared_ptr<hcui::GraphPicture> pendingLayout_;
  struct Layout {
    hcui::GraphPicture picture;
    bool ok = false;
  };
  hc::BackgroundJob<Layout> layoutJob_;

  QCheckBox* showGrid_ = nullptr;
  QToolButton* gridUp_ = nullptr;
  QToolButton* gridDown_ = nullptr;
  hcui::PaintedLabel *gridBox_, *zoomBox_, *centreBox_, *mouseBox_, *nodeCountBox_, *edgeCountBox_,
      *selectedNodeBox_, *selectedEdgeBox_;
  QGroupBox *editGroup_, *manualGroup_, *manualEditFrame_, *outputGroup_;
  QPushButton *stateButton_, *submitButton_, *saveAsButton_, *loadButton_, *copyToEditorButton_;
  bool stateButtonAllowed_ = true;
};
