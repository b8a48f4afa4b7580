// The Graph Editor's own clipboard (not the system's) and the page actions that use it:
// copy, cut, paste, new and clear, each with the refusals the page shows. The clipboard
// holds copies of the copied nodes, in increasing id order and keeping their ids, with
// copies of the edges among them, and the centroid of the copied nodes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/program_state.h"
#include "editor/editor_status.h"
#include "editor/graph2d.h"

namespace hc {

struct Clipboard {
  std::vector<std::unique_ptr<Graph2DNode>> nodes;  // increasing id order
  std::vector<std::unique_ptr<Graph2DEdge>> edges;  // among `nodes`; in no graph list
  double centroidX = 0.0;
  double centroidY = 0.0;

  bool empty() const { return nodes.empty(); }
  void clear();
  // Replaces the contents by copies of the selected nodes of `drawing` and of the edges
  // whose two ends are both selected. With nothing selected the clipboard is left empty
  // with its centroid at (0, 0).
  void copyFrom(const Graph2D& drawing);
};

// The page actions. `programState` is the main dialog's state (only kEditing edits the
// drawing); in rotation mode copy, cut and paste are refused silently.

// Copies the selection into the clipboard.
EditorStatus copySelection(Clipboard& clipboard, const Graph2D& drawing, ProgramState programState,
                           bool rotationMode);
// Copies, then deletes the selected edges and nodes.
EditorStatus cutSelection(Clipboard& clipboard, Graph2D& drawing, ProgramState programState,
                          bool rotationMode);
// Unselects everything and pastes the clipboard with its centroid at (x, y), the world
// point of the mouse; nothing happens when the mouse is off the canvas. The clipboard is
// kept for further pastes.
EditorStatus pasteClipboard(const Clipboard& clipboard, Graph2D& drawing, ProgramState programState,
                            bool rotationMode, bool mouseOnCanvas, double x, double y);
// Leaves rotation mode and replaces the drawing by an empty one.
void newDrawing(Graph2D& drawing, bool& rotationMode);
// Deletes every node and edge and restarts ids at 0. Refused in rotation mode (with the
// Delete refusal text) and, silently, once the graph has been submitted.
EditorStatus clearDrawing(Graph2D& drawing, ProgramState programState, bool rotationMode);

}  // namespace hc
