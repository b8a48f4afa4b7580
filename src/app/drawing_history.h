// Undo/redo of drawing edits and the "unsaved changes" mark, by snapshots of the drawing
// in its .g bytes (plus nextNodeId, which the file does not carry). A snapshot restores
// the drawing byte for byte, selection included, whatever the edit was.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/graph2d.h"

namespace hc {

struct DrawingSnapshot {
  std::vector<uint8_t> bytes;
  int32_t nextNodeId = 0;
  bool operator==(const DrawingSnapshot&) const = default;
};

DrawingSnapshot takeSnapshot(const Graph2D& drawing);
// Replaces `drawing` by the snapshot's drawing (false, drawing untouched, if unreadable).
bool restoreSnapshot(const DrawingSnapshot& snapshot, Graph2D& drawing);

// True when the drawing has the same nodes (ids, positions) and edges as the snapshot's,
// whatever is selected: a change of selection alone is no edit.
bool sameStructure(const DrawingSnapshot& snapshot, const Graph2D& drawing);
std::vector<double> drawingStructure(const Graph2D& drawing);

class DrawingHistory {
 public:
  static constexpr size_t kMaxSteps = 200;

  // After an edit: `before` is the drawing's snapshot taken before it. An edit that left
  // the drawing as it was records nothing; any other drops the redo steps. True if recorded.
  bool record(DrawingSnapshot before, const Graph2D& after);
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  bool undo(Graph2D& drawing) { return step(undo_, redo_, drawing); }
  bool redo(Graph2D& drawing) { return step(redo_, undo_, drawing); }
  void clear();

  // The drawing as last saved or loaded (an empty drawing counts as saved).
  void markSaved(const Graph2D& drawing) { saved_ = drawingStructure(drawing); }
  bool isModified(const Graph2D& drawing) const;

 private:
  static bool step(std::vector<DrawingSnapshot>& from, std::vector<DrawingSnapshot>& to, Graph2D& drawing);

  std::vector<DrawingSnapshot> undo_;
  std::vector<DrawingSnapshot> redo_;
  std::vector<double> saved_ = drawingStructure(Graph2D{});
};

}  // namespace hc
