// Copy, cut and paste through the editor's clipboard, and the page's new and clear.
//
// Nodes are matched by identity, not looked up in a table indexed by id: ids come from
// files too, and a table sized by nextNodeId would trust them. With the unique ids that
// editing keeps, "the other end comes later in id order" is exactly the rule "the larger
// end id is greater than this node's id" that visits each edge once.
#include "editor/clipboard.h"

#include <algorithm>
#include <unordered_map>

namespace hc {

void Clipboard::clear() {
  nodes.clear();
  edges.clear();
  centroidX = 0.0;
  centroidY = 0.0;
}

void Clipboard::copyFrom(const Graph2D& drawing) {
  clear();
  std::vector<const Graph2DNode*> originals;
  originals.reserve(drawing.selectedNodes.size());
  for (const auto& node : drawing.selectedNodes) originals.push_back(node.get());
  if (originals.empty()) return;
  std::stable_sort(originals.begin(), originals.end(),
                   [](const Graph2DNode* a, const Graph2DNode* b) { return a->id < b->id; });

  std::unordered_map<const Graph2DNode*, size_t> position;
  double sumX = 0.0, sumY = 0.0;
  for (const Graph2DNode* original : originals) {
    position.emplace(original, nodes.size());
    nodes.push_back(std::make_unique<Graph2DNode>(original->id, original->x, original->y));
    sumX += original->x;
    sumY += original->y;
  }
  for (size_t i = 0; i < originals.size(); ++i) {
    for (const Graph2DEdge* edge : originals[i]->edges) {
      const auto other = position.find(edge->otherEnd(originals[i]));
      if (other == position.end() || other->second <= i) continue;
      Graph2DNode* copy1 = nodes[position.at(edge->node1)].get();
      Graph2DNode* copy2 = nodes[position.at(edge->node2)].get();
      auto copy = std::make_unique<Graph2DEdge>(copy1, copy2);
      copy1->edges.push_back(copy.get());
      copy2->edges.push_back(copy.get());
      edges.push_back(std::move(copy));
    }
  }
  centroidX = sumX / static_cast<double>(nodes.size());
  centroidY = sumY / static_cast<double>(nodes.size());
}

void Graph2D::paste(const Clipboard& clipboard, double x, double y) {
  std::unordered_map<const Graph2DNode*, size_t> position;
  std::vector<std::unique_ptr<Graph2DNode>> copies;
  copies.reserve(clipboard.nodes.size());
  for (const auto& source : clipboard.nodes) {
    position.emplace(source.get(), copies.size());
    auto copy = std::make_unique<Graph2DNode>(source->id, source->x, source->y);
    copy->move(x - clipboard.centroidX, y - clipboard.centroidY);
    placeWithoutOverlap(*copy);  // against the drawing as it was before this paste
    copies.push_back(std::move(copy));
  }
  for (size_t i = 0; i < clipboard.nodes.size(); ++i) {
    const Graph2DNode* source = clipboard.nodes[i].get();
    for (const Graph2DEdge* edge : source->edges) {
      const auto other = position.find(edge->otherEnd(source));
      if (other == position.end() || other->second <= i) continue;
      joinNodes(copies[position.at(edge->node1)].get(), copies[position.at(edge->node2)].get());
    }
  }
  for (auto& copy : copies) {
    copy->id = nextNodeId;
    if (nextNodeId < INT32_MAX) ++nextNodeId;
    appendSelectedNode(std::move(copy));
  }
}

EditorStatus copySelection(Clipboard& clipboard, const Graph2D& drawing, ProgramState programState,
                           bool rotationMode) {
  if (rotationMode) return EditorStatus::refused();
  if (programState != ProgramState::kEditing) return EditorStatus::refused(editor_messages::kCannotCopy);
  clipboard.copyFrom(drawing);
  return EditorStatus::done();
}

EditorStatus cutSelection(Clipboard& clipboard, Graph2D& drawing, ProgramState programState,
                          bool rotationMode) {
  if (rotationMode) return EditorStatus::refused();
  if (programState != ProgramState::kEditing) return EditorStatus::refused(editor_messages::kCannotCut);
  clipboard.copyFrom(drawing);
  return drawing.deleteSelected();
}

EditorStatus pasteClipboard(const Clipboard& clipboard, Graph2D& drawing, ProgramState programState,
                            bool rotationMode, bool mouseOnCanvas, double x, double y) {
  if (rotationMode) return EditorStatus::refused();
  if (programState != ProgramState::kEditing) return EditorStatus::refused(editor_messages::kCannotPaste);
  if (!mouseOnCanvas) return EditorStatus::refused();
  drawing.unselectAll();
  drawing.paste(clipboard, x, y);
  return EditorStatus::done();
}

void newDrawing(Graph2D& drawing, bool& rotationMode) {
  rotationMode = false;
  drawing = Graph2D{};
}

EditorStatus clearDrawing(Graph2D& drawing, ProgramState programState, bool rotationMode) {
  // Restarting ids while nodes remain would hand out ids already in use, so a refused
  // delete leaves nextNodeId alone too.
  if (rotationMode) return EditorStatus::refused(editor_messages::kCannotDeleteRotating);
  if (programState != ProgramState::kEditing) return EditorStatus::refused();
  drawing.selectAllNodes();
  EditorStatus status = drawing.deleteSelected();
  drawing.unselectAll();
  drawing.nextNodeId = 0;
  return status;
}

}  // namespace hc
