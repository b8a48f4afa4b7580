// The Graph Editor's view pane: the canvas with its view (zoom, centre, grid), the mouse
// turned into EditorInteraction's calls, and the read-only view of a graph that was
// generated or loaded rather than drawn, laid out on a background job when it needs
// Graphviz. The page around it owns the buttons, the boxes and the undo history; the pane
// tells it of edits, messages and changes through the callbacks below.
#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/drawing_history.h"
#include "app/editor_interaction.h"
#include "app/editor_view.h"
#include "app/program_model.h"
#include "run/background_job.h"
#include "ui/graph_canvas.h"
#include "ui/graph_view_layout.h"

namespace hcui {

class GraphEditorPane : public QWidget {
  Q_OBJECT
 public:
  explicit GraphEditorPane(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~GraphEditorPane() override;

  // A drawing edit by the mouse ended (its snapshot from before), a message box text, a
  // change to show (the page refreshes its boxes and the canvas), and the read-only view
  // coming or going (the page's buttons follow it).
  std::function<void(hc::DrawingSnapshot before)> onEdit;
  std::function<void(const std::string& text)> onMessage;
  std::function<void()> onRefresh;
  std::function<void()> onViewChanged;
  // The graph whose forced edges the canvas shows in orange (may return null).
  std::function<const hc::Graph*()> forcedEdges;
  bool showGrid = true;

  GraphCanvas* canvas() const { return canvas_; }
  // The view with the canvas's present size.
  hc::EditorView& view();
  hc::EditorInteraction& interaction() { return interaction_; }
  QPointF worldAt(QPoint p) const { return {view_.worldX(p.x()), view_.worldY(p.y())}; }
  // The read-only view while there is one, else the drawing.
  const hc::Graph2D& shownGraph() const { return graphView_ ? *graphView_ : model_.drawing(); }
  hc::Graph2D& shown() { return graphView_ ? *graphView_ : model_.drawing(); }
  bool hasGraphView() const { return graphView_ != nullptr; }

  // Shows the whole of what is shown.
  void zoomToFit();
  // On entry into state 1: the submitted graph in the read-only view, unless it is the
  // drawing (drawn or read from a .g file) or already shown.
  void showSubmittedGraph();
  // On entry into state 0: no read-only view; the user's view of the drawing comes back.
  void dropGraphView();
  // Lays out the read-only view now, on this thread (screenshots and tests).
  void finishLayoutNow();
  bool layoutRunning() const { return layoutJob_.running(); }
  const EdgeBends& bentEdges() const { return bends_; }

  // Everything the next frame shows.
  void prepareScene(CanvasScene& scene);

 private:
  void refresh();
  void moveCursorToMiddle();
  void press(QMouseEvent* e, QPoint p);
  void release(QMouseEvent* e);
  void move(QPoint p);
  void doubleClick(QMouseEvent* e, QPoint p);
  void wheel(QWheelEvent* e, QPoint p);
  void dropPicture();
  void startLayout();
  void installLayout(const GraphPicture& picture, bool ok);
  void showPicture(const GraphPicture& picture);

  hc::ProgramModel& model_;
  GraphCanvas* canvas_ = nullptr;
  hc::EditorView view_;
  hc::EditorInteraction interaction_;
  std::optional<hc::EditorView> drawingView_;  // how the user looked at the drawing, kept across a view

  // The read-only view. One layout at a time runs on the job's worker; a new graph, the
  // pane's end or a layout done here at once abandons it, so a late result never lands in a
  // newer view, and closing never waits for it.
  std::unique_ptr<hc::Graph2D> graphView_;
  EdgeBends bends_;
  const hc::Graph* viewOf_ = nullptr;
  QString viewNote_;
  std::shared_ptr<GraphPicture> pendingLayout_;
  struct Layout {
    GraphPicture picture;
    bool ok = false;
  };
  hc::BackgroundJob<Layout> layoutJob_;
};

}  // namespace hcui
