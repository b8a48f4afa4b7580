// The Graph Editor's mouse without widgets: the state machine that presses, drags and
// releases drive (draw a node or an edge, select by click or rectangle, drag the
// selection, rotate it about a point, re-centre and zoom at the cursor). It takes canvas
// pixels, buttons and the Ctrl key as plain values and changes the drawing shown; the page
// turns Qt's events into these calls and paints what the getters say.
//
// Edits of the drawing (only while `editing`, the program in ProgramState::kEditing) end
// in onEdit with the drawing's snapshot from before the gesture, so a whole drag or
// rotation is one undo step; texts for a message box go to onMessage.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/drawing_history.h"
#include "app/editor_view.h"
#include "editor/graph2d.h"

namespace hc {

struct CanvasPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const CanvasPoint&) const = default;
};

enum class MouseButton { kLeft, kRight, kMiddle, kOther };

class EditorInteraction {
 public:
  std::function<void(DrawingSnapshot before)> onEdit;
  std::function<void(const std::string& text)> onMessage;

  // Left: a node added (or the one under the cursor picked) and the rubber band started
  // from it, while editing and not rotating. Right: on a node, select it and start a drag;
  // on an edge, select it; elsewhere start a selection rectangle (without Ctrl an unselected
  // target first clears the selection). Middle while editing with nodes selected: enter
  // rotation mode about `p`, or leave it. `inside`: p lies on the canvas.
  void press(Graph2D& shown, bool editing, const EditorView& view, MouseButton button, CanvasPoint p,
             bool inside, bool control);
  // Left: the band ends on a node (toggled) or, while editing, on a new node; two selected
  // nodes are joined. Right: the rectangle toggles the nodes in it, or the drag is dropped.
  // Nothing happens in rotation mode.
  void release(Graph2D& shown, bool editing, const EditorView& view, MouseButton button);
  // In rotation mode the selection turns by the angle the cursor swept about the centre;
  // while dragging it follows the cursor.
  void move(Graph2D& shown, const EditorView& view, CanvasPoint p, bool inside);
  // A right double click in the drawing field centres the view there. True when the cursor
  // is to be put in the middle of the canvas (then cursorAt reports where it went).
  bool doubleClick(EditorView& view, MouseButton button, CanvasPoint p) const;
  // The wheel: back zooms out; forward centres the view at `p` and zooms in (true: move the
  // cursor to the middle). Ignored in rotation mode and for a zero step.
  bool wheel(EditorView& view, int32_t delta, CanvasPoint p) const;
  void cursorAt(CanvasPoint p) { lastMouse_ = end_ = p; }
  void leaveCanvas() { mouseOnCanvas_ = false; }

  // Ends rotation mode: the turned nodes are placed and the rotation is one edit.
  void leaveRotation(Graph2D& drawing);
  // The drawing was replaced (New, Load): no rotation, no gesture waiting to be recorded.
  void forget() {
    rotationMode_ = false;
    pending_.reset();
  }

  bool rotationMode() const { return rotationMode_; }
  bool drawingEdge() const { return drawingEdge_; }
  bool selectingRectangle() const { return selectingRect_; }
  CanvasPoint start() const { return start_; }
  CanvasPoint end() const { return end_; }
  CanvasPoint rotationCentre() const { return rotCentre_; }
  CanvasPoint rotationCurrent() const { return rotCurrent_; }
  CanvasPoint lastMouse() const { return lastMouse_; }
  bool mouseOnCanvas() const { return mouseOnCanvas_; }

 private:
  void finishEdit(const Graph2D& drawing);

  std::optional<DrawingSnapshot> pending_;  // the drawing before a drag or a rotation
  CanvasPoint lastMouse_, start_, end_;
  bool mouseOnCanvas_ = false;
  bool drawingEdge_ = false, selectingRect_ = false, dragging_ = false;
  bool rotationMode_ = false;
  CanvasPoint rotCentre_, rotPrevious_, rotCurrent_;
};

}  // namespace hc
