// The Graph Editor page's mouse: drawing, selecting, dragging, rotating, re-centring and
// zooming at the cursor, all in canvas pixels.
#include "ui/graph_editor_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSvgGenerator>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <thread>

#include "core/number_format.h"
#include "app/program_states.h"
#include "editor/drawing_conversion.h"
#include "io/drawing_files.h"
#include "schc/stone_carver.h"
#include "ui/graph_editor_scenes.h"
#include "ui/graph_view_layout.h"
#include "ui/paint_helpers.h"

// --- mouse ---

void CGraphEditorDlg::moveCursorToMiddle() {
  const QPoint middle(GraphCanvas::kInset + canvas_->canvasWidth() / 2, GraphCanvas::kInset + canvas_->canvasHeight() / 2);
  QCursor::setPos(canvas_->mapToGlobal(middle));
  lastMouse_ = end_ = middle - QPoint(GraphCanvas::kInset, GraphCanvas::kInset);
}

void CGraphEditorDlg::leaveRotation() {
  if (!rotationMode_) return;
  rotationMode_ = false;
  model_.drawing().replaceSelected();
  if (pending_) recordEdit(std::move(*pending_));
  pending_.reset();
}

void CGraphEditorDlg::mousePress(QMouseEvent* e, QPoint p) {
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  const QPointF w = worldAt(p);
  const bool inside = canvas_->insideCanvas(p);
  hc::Graph2D& g = shown();
  switch (e->button()) {
    case Qt::LeftButton: {
      if (!inside || rotationMode_ || state() != hc::program_states::kBlue) break;
      pending_ = before();
      g.unselectAll();
      if (!g.isNodeAt(w.x(), w.y())) g.addNode(w.x(), w.y());
      else g.toggleNodeAt(w.x(), w.y());
      drawingEdge_ = true;
      const hc::Graph2DNode& last = *g.selectedNodes.back();
      start_ = end_ = QPoint(view_.pixelX(last.x), view_.pixelY(last.y));
      break;
    }
    case Qt::RightButton: {
      if (rotationMode_) break;
      if (!g.isSelectedNodeAt(w.x(), w.y()) && !g.isSelectedEdgeAt(w.x(), w.y()) &&
          !(e->modifiers() & Qt::ControlModifier))
        g.unselectAll();
      if (g.isNodeAt(w.x(), w.y())) {
        dragging_ = true;
        if (state() == hc::program_states::kBlue) pending_ = before();
        if (!g.isSelectedNodeAt(w.x(), w.y())) g.toggleNodeAt(w.x(), w.y());
      } else if (g.isEdgeAt(w.x(), w.y())) {
        if (!g.isSelectedEdgeAt(w.x(), w.y())) g.toggleEdgeAt(w.x(), w.y());
      } else {
        selectingRect_ = true;
      }
      start_ = end_ = p;
      break;
    }
    case Qt::MiddleButton: {
      if (!inside || state() != hc::program_states::kBlue || g.howManySelectedNodes == 0) break;
      if (!rotationMode_) {
        rotationMode_ = true;
        rotCentre_ = rotPrevious_ = rotCurrent_ = p;
        pending_ = before();
      } else {
        leaveRotation();
      }
      break;
    }
    default:
      break;
  }
  refresh();
}

void CGraphEditorDlg::mouseRelease(QMouseEvent* e, QPoint p) {
  (void)p;
  hc::Graph2D& g = shown();
  if (rotationMode_) return;
  if (e->button() == Qt::LeftButton) {
    const bool wasDrawing = drawingEdge_;
    drawingEdge_ = false;
    const QPointF q = worldAt(end_);
    if (g.isNodeAt(q.x(), q.y())) g.toggleNodeAt(q.x(), q.y());
    else if (state() == hc::program_states::kBlue) g.addNode(q.x(), q.y());
    if (g.howManySelectedNodes == 2 && state() == hc::program_states::kBlue) message(g.join2SelectedNodes().message);
    if (state() == hc::program_states::kBlue && (wasDrawing || pending_)) {
      recordEdit(pending_ ? std::move(*pending_) : before());
      pending_.reset();
    }
  } else if (e->button() == Qt::RightButton) {
    if (selectingRect_) {
      selectingRect_ = false;
      const QPointF a = worldAt(QPoint(std::min(start_.x(), end_.x()), std::min(start_.y(), end_.y())));
      const QPointF b = worldAt(QPoint(std::max(start_.x(), end_.x()), std::max(start_.y(), end_.y())));
      g.toggleNodesInRectangle(a.x(), a.y(), b.x(), b.y());
    } else if (dragging_) {
      dragging_ = false;
      g.replaceSelected();
      if (state() == hc::program_states::kBlue && pending_) recordEdit(std::move(*pending_));
      pending_.reset();
    }
  }
  refresh();
}

void CGraphEditorDlg::mouseMove(QMouseEvent*, QPoint p) {
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  mouseOnCanvas_ = canvas_->insideCanvas(p);
  hc::Graph2D& g = shown();
  if (rotationMode_) {
    rotPrevious_ = lastMouse_;
    rotCurrent_ = p;
    if (rotPrevious_ != rotCentre_ && rotCurrent_ != rotCentre_) {
      const QPoint u = rotPrevious_ - rotCentre_, v = rotCurrent_ - rotCentre_;
      const double angle = std::atan2(-v.y(), v.x()) - std::atan2(-u.y(), u.x());
      const QPointF c = worldAt(rotCentre_);
      g.rotateSelected(c.x(), c.y(), angle);
    }
    // The next step turns from here, so the nodes follow the mouse instead of spinning on.
    lastMouse_ = p;
  } else {
    lastMouse_ = end_ = p;
    if (dragging_) {
      const QPointF a = worldAt(start_), b = worldAt(p);
      g.moveSelected(b.x() - a.x(), b.y() - a.y());
      start_ = p;
    }
  }
  refresh();
}

void CGraphEditorDlg::mouseDoubleClick(QMouseEvent* e, QPoint p) {
  if (e->button() != Qt::RightButton || rotationMode_) return;
  const QPointF w = worldAt(p);
  if (!hc::EditorView::inDrawingField(w.x(), w.y())) return;
  view_.centreX = w.x();
  view_.centreY = w.y();
  moveCursorToMiddle();
  refresh();
}

void CGraphEditorDlg::wheel(QWheelEvent* e, QPoint p) {
  if (rotationMode_ || e->angleDelta().y() == 0) return;
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  if (e->angleDelta().y() < 0) {
    view_.zoomOut();
  } else {
    const QPointF w = worldAt(p);
    view_.centreX = w.x();
    view_.centreY = w.y();
    moveCursorToMiddle();
    view_.zoomIn();
  }
  refresh();
}

