// The Graph Editor's mouse gestures (see editor_interaction.h).
#include "app/editor_interaction.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace hc {

namespace {

struct World {
  double x, y;
};
World worldAt(const EditorView& view, CanvasPoint p) {
  return {view.worldX(p.x), view.worldY(p.y)};
}

}  // namespace

void EditorInteraction::finishEdit(const Graph2D& drawing) {
  DrawingSnapshot before = pending_ ? std::move(*pending_) : takeSnapshot(drawing);
  pending_.reset();
  if (onEdit) onEdit(std::move(before));
}

void EditorInteraction::leaveRotation(Graph2D& drawing) {
  if (!rotationMode_) return;
  rotationMode_ = false;
  drawing.replaceSelected();
  if (pending_) finishEdit(drawing);
}

void EditorInteraction::press(Graph2D& g, bool editing, const EditorView& view, MouseButton button,
                              CanvasPoint p, bool inside, bool control) {
  const World w = worldAt(view, p);
  switch (button) {
    case MouseButton::kLeft: {
      if (!inside || rotationMode_ || !editing) break;
      pending_ = takeSnapshot(g);
      g.unselectAll();
      if (!g.isNodeAt(w.x, w.y))
        g.addNode(w.x, w.y);
      else
        g.toggleNodeAt(w.x, w.y);
      drawingEdge_ = true;
      const Graph2DNode& last = *g.selectedNodes.back();
      start_ = end_ = {view.pixelX(last.x), view.pixelY(last.y)};
      break;
    }
    case MouseButton::kRight: {
      if (rotationMode_) break;
      if (!g.isSelectedNodeAt(w.x, w.y) && !g.isSelectedEdgeAt(w.x, w.y) && !control) g.unselectAll();
      if (g.isNodeAt(w.x, w.y)) {
        dragging_ = true;
        if (editing) pending_ = takeSnapshot(g);
        if (!g.isSelectedNodeAt(w.x, w.y)) g.toggleNodeAt(w.x, w.y);
      } else if (g.isEdgeAt(w.x, w.y)) {
        if (!g.isSelectedEdgeAt(w.x, w.y)) g.toggleEdgeAt(w.x, w.y);
      } else {
        selectingRect_ = true;
      }
      start_ = end_ = p;
      break;
    }
    case MouseButton::kMiddle: {
      if (!inside || !editing || g.howManySelectedNodes == 0) break;
      if (!rotationMode_) {
        rotationMode_ = true;
        rotCentre_ = rotPrevious_ = rotCurrent_ = p;
        pending_ = takeSnapshot(g);
      } else {
        leaveRotation(g);
      }
      break;
    }
    case MouseButton::kOther: break;
  }
}

void EditorInteraction::release(Graph2D& g, bool editing, const EditorView& view, MouseButton button) {
  if (rotationMode_) return;
  if (button == MouseButton::kLeft) {
    const bool wasDrawing = drawingEdge_;
    drawingEdge_ = false;
    const World q = worldAt(view, end_);
    if (g.isNodeAt(q.x, q.y))
      g.toggleNodeAt(q.x, q.y);
    else if (editing)
      g.addNode(q.x, q.y);
    if (g.howManySelectedNodes == 2 && editing && onMessage) onMessage(g.join2SelectedNodes().message);
    if (editing && (wasDrawing || pending_)) finishEdit(g);
  } else if (button == MouseButton::kRight) {
    if (selectingRect_) {
      selectingRect_ = false;
      const World a = worldAt(view, {std::min(start_.x, end_.x), std::min(start_.y, end_.y)});
      const World b = worldAt(view, {std::max(start_.x, end_.x), std::max(start_.y, end_.y)});
      g.toggleNodesInRectangle(a.x, a.y, b.x, b.y);
    } else if (dragging_) {
      dragging_ = false;
      g.replaceSelected();
      if (editing && pending_) finishEdit(g);
      pending_.reset();
    }
  }
}

void EditorInteraction::move(Graph2D& g, const EditorView& view, CanvasPoint p, bool inside) {
  mouseOnCanvas_ = inside;
  if (rotationMode_) {
    rotPrevious_ = lastMouse_;
    rotCurrent_ = p;
    if (rotPrevious_ != rotCentre_ && rotCurrent_ != rotCentre_) {
      const CanvasPoint u{rotPrevious_.x - rotCentre_.x, rotPrevious_.y - rotCentre_.y};
      const CanvasPoint v{rotCurrent_.x - rotCentre_.x, rotCurrent_.y - rotCentre_.y};
      const double angle = std::atan2(-v.y, v.x) - std::atan2(-u.y, u.x);
      const World c = worldAt(view, rotCentre_);
      g.rotateSelected(c.x, c.y, angle);
    }
    // The next step turns from here, so the nodes follow the mouse instead of spinning on.
    lastMouse_ = p;
  } else {
    lastMouse_ = end_ = p;
    if (dragging_) {
      const World a = worldAt(view, start_), b = worldAt(view, p);
      g.moveSelected(b.x - a.x, b.y - a.y);
      start_ = p;
    }
  }
}

bool EditorInteraction::doubleClick(EditorView& view, MouseButton button, CanvasPoint p) const {
  if (button != MouseButton::kRight || rotationMode_) return false;
  const World w = worldAt(view, p);
  if (!EditorView::inDrawingField(w.x, w.y)) return false;
  view.centreX = w.x;
  view.centreY = w.y;
  return true;
}

bool EditorInteraction::wheel(EditorView& view, int32_t delta, CanvasPoint p) const {
  if (rotationMode_ || delta == 0) return false;
  if (delta < 0) {
    view.zoomOut();
    return false;
  }
  const World w = worldAt(view, p);
  view.centreX = w.x;
  view.centreY = w.y;
  view.zoomIn();
  return true;
}

}  // namespace hc
