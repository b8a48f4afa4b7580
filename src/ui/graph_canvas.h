// The Graph Editor's canvas: the painter of one frame (also used for PNG/SVG export and the
// repaint benchmark) and the widget that shows it and hands its mouse events to the page.
// The painter works in canvas pixels (origin top-left, y down) with the view geometry of
// EditorView, in a fixed order: white, grid and axes, field border, rubber band, edges by
// style, unselected then selected nodes, the selection rectangle, the rotation indicator.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>

#include "app/editor_view.h"
#include "core/graph.h"
#include "core/program_state.h"
#include "editor/graph2d.h"
#include "ui/graph_view_layout.h"

namespace hcui {

// Everything one frame shows.
struct CanvasScene {
  const hc::Graph2D* drawing = nullptr;
  const hc::Graph* working = nullptr;  // colours the edges after a submit (may be null)
  // Before a method decides (states 1 and 2 but manual edit mode): the root pruning's
  // graph, whose forced edges show in orange, as the Information page counts them.
  const hc::Graph* forcedBy = nullptr;
  const EdgeBends* bends = nullptr;  // edges drawn bowed (a toroidal grid's wrap-around)
  hc::ProgramState programState = hc::ProgramState::kEditing;
  hc::AlgorithmChoice algorithmChoice = hc::AlgorithmChoice::kNone;
  hc::EditorView view;
  bool showGrid = true;
  bool drawingEdge = false;  // the blue rubber band from start to end
  bool selectingRectangle = false;
  QPoint start, end;
  bool rotationMode = false;
  QPoint rotationCentre, rotationCurrent;
  QString note;  // shown in the middle instead of, or over, the picture
};

// Paints the scene into the W x H canvas area of `painter` (already translated so that
// canvas pixel (0, 0) is its origin).
void paintCanvas(QPainter& painter, const CanvasScene& scene);

// The canvas widget: W x H = its size less 6; the frame is painted on an off-screen image
// of (W+2) x (H+2) and copied to (2, 2), so canvas pixel (0, 0) is widget pixel (3, 3).
class GraphCanvas : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kInset = 3;

  explicit GraphCanvas(QWidget* parent = nullptr);
  // The page fills the scene before every repaint (size, drawing, mouse state).
  std::function<void(CanvasScene&)> prepare;
  std::function<void(QMouseEvent*, QPoint canvasPoint)> onPress, onRelease, onMove, onDoubleClick;
  std::function<void(QWheelEvent*, QPoint canvasPoint)> onWheel;
  std::function<void()> onLeave;

  int canvasWidth() const { return std::max(1, width() - 2 * kInset); }
  int canvasHeight() const { return std::max(1, height() - 2 * kInset); }
  static QPoint toCanvas(QPointF widgetPoint) {
    return QPoint(static_cast<int>(widgetPoint.x()) - kInset, static_cast<int>(widgetPoint.y()) - kInset);
  }
  bool insideCanvas(QPoint p) const {
    return p.x() >= 0 && p.y() >= 0 && p.x() <= canvasWidth() && p.y() <= canvasHeight();
  }
  // The frame as painted last (for tests and export at canvas size).
  QImage renderFrame();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
};

}  // namespace hcui
