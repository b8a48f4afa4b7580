// Snapshot undo of the drawing (see drawing_history.h).
#include "app/drawing_history.h"

#include <utility>

#include "editor/g_file.h"

namespace hc {

DrawingSnapshot takeSnapshot(const Graph2D& drawing) { return {writeGBytes(drawing), drawing.nextNodeId}; }

bool restoreSnapshot(const DrawingSnapshot& snapshot, Graph2D& drawing) {
  Graph2D restored;
  if (!readGBytes(snapshot.bytes, restored)) return false;
  restored.nextNodeId = snapshot.nextNodeId;
  drawing = std::move(restored);
  return true;
}

bool DrawingHistory::record(DrawingSnapshot before, const Graph2D& after) {
  if (before == takeSnapshot(after)) return false;
  undo_.push_back(std::move(before));
  if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
  redo_.clear();
  return true;
}

bool DrawingHistory::undo(Graph2D& drawing) {
  if (undo_.empty()) return false;
  DrawingSnapshot now = takeSnapshot(drawing);
  if (!restoreSnapshot(undo_.back(), drawing)) return false;
  undo_.pop_back();
  redo_.push_back(std::move(now));
  return true;
}

bool DrawingHistory::redo(Graph2D& drawing) {
  if (redo_.empty()) return false;
  DrawingSnapshot now = takeSnapshot(drawing);
  if (!restoreSnapshot(redo_.back(), drawing)) return false;
  redo_.pop_back();
  undo_.push_back(std::move(now));
  return true;
}

void DrawingHistory::clear() {
  undo_.clear();
  redo_.clear();
}

bool DrawingHistory::isModified(const Graph2D& drawing) const { return takeSnapshot(drawing).bytes != saved_; }

}  // namespace hc
