// Snapshot undo of the drawing (see drawing_history.h).
#include "app/drawing_history.h"

#include <algorithm>
#include <array>
#include <utility>

#include "io/g_file.h"

namespace hc {

DrawingSnapshot takeSnapshot(const Graph2D& drawing) {
  return {writeGBytes(drawing), drawing.nextNodeId};
}

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

// Undo and redo alike: the newest snapshot of `from` replaces the drawing, whose own
// snapshot goes onto `to`.
bool DrawingHistory::step(std::vector<DrawingSnapshot>& from, std::vector<DrawingSnapshot>& to,
                          Graph2D& drawing) {
  if (from.empty()) return false;
  DrawingSnapshot now = takeSnapshot(drawing);
  if (!restoreSnapshot(from.back(), drawing)) return false;
  from.pop_back();
  to.push_back(std::move(now));
  return true;
}

void DrawingHistory::clear() {
  undo_.clear();
  redo_.clear();
}

bool DrawingHistory::isModified(const Graph2D& drawing) const {
  return drawingStructure(drawing) != saved_;
}

std::vector<double> drawingStructure(const Graph2D& drawing) {
  std::vector<std::array<double, 3>> nodes;
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (const auto* list : {&drawing.unselectedNodes, &drawing.selectedNodes})
    for (const auto& n : *list) nodes.push_back({static_cast<double>(n->id), n->x, n->y});
  for (const auto* list : {&drawing.unselectedEdges, &drawing.selectedEdges})
    for (const auto& e : *list) edges.emplace_back(std::minmax(e->node1->id, e->node2->id));
  std::sort(nodes.begin(), nodes.end());
  std::sort(edges.begin(), edges.end());
  std::vector<double> out;
  out.reserve(3 * nodes.size() + 2 * edges.size() + 1);
  for (const auto& n : nodes) out.insert(out.end(), n.begin(), n.end());
  out.push_back(-1.0);
  for (auto [a, b] : edges) out.insert(out.end(), {static_cast<double>(a), static_cast<double>(b)});
  return out;
}

bool sameStructure(const DrawingSnapshot& snapshot, const Graph2D& drawing) {
  Graph2D old;
  if (!restoreSnapshot(snapshot, old)) return false;
  return drawingStructure(old) == drawingStructure(drawing);
}

}  // namespace hc
