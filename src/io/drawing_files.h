// The file actions of the Graph Editor without their dialogs: the name "OUTPUT HC"
// proposes, Save / Save As / Load of the drawing, and writing a found Hamiltonian cycle
// ("OUTPUT HC"). The page runs the dialogs with the filters given here and calls these with
// the chosen path; every refusal comes back as the text the page shows. Extensions follow
// the editor's rule of path_names.h (the text after the last "." of the file name, compared
// exactly).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/graph.h"
#include "core/graph_source.h"
#include "core/program_state.h"
#include "editor/editor_status.h"
#include "editor/graph2d.h"
#include "io/cycle_files.h"
#include "io/path_names.h"  // the editor's extension rule, which the page's dialogs use too
#include "io/plain_graph.h"

namespace hc {

// The name "OUTPUT HC" proposes: displayName + "-HC.txt"; for text files the display name
// cut before its first "." + "-HC.txt", for OBJ files cut likewise + "-HC.obj" (a name
// without "." is cut to nothing).
std::string defaultCycleFileName(const std::string& displayName, GraphSource source);

struct FileDialogSetup {
  const char* filter;
  const char* defaultExtension;
};
FileDialogSetup saveDrawingDialog();                    // Save As
FileDialogSetup loadDrawingDialog();                    // Load
FileDialogSetup textGraphDialog();                      // a .txt graph to solve
FileDialogSetup objGraphDialog();                       // an .obj graph to solve
FileDialogSetup cycleOutputDialog(GraphSource source);  // OUTPUT HC

// --- the drawing's files ---

// The refusals of Save and Save As, in their order: rotation mode, no node, not editing.
EditorStatus checkDrawingSave(const Graph2D& drawing, ProgramState programState, bool rotationMode);

enum class DrawingFileKind { kNothing, kGFile, kAdjacencyText };
struct DrawingSaveResult {
  EditorStatus status;
  DrawingFileKind written = DrawingFileKind::kNothing;
  // True when the page must forget the current file path (after a text save, so the next
  // Save asks for a name again).
  bool forgetCurrentPath = false;
};
// Save As with the chosen path, after checkDrawingSave: "g" writes the drawing; "txt"
// converts it (unselecting and renumbering it) and writes the adjacency text; any other
// extension writes nothing.
DrawingSaveResult saveDrawingAs(Graph2D& drawing, const std::string& path);
// Save, after checkDrawingSave: with no current file path the page runs Save As instead
// (needsSaveAs); otherwise the drawing goes to that path in the .g format, whatever its
// extension.
struct DrawingQuickSave {
  bool needsSaveAs = false;
  DrawingSaveResult result;
};
DrawingQuickSave saveDrawing(const Graph2D& drawing, const std::string& currentFilePath);

// The refusal of Load.
EditorStatus checkDrawingLoad(ProgramState programState);
// Reads the .g file at `path` as a graph: the drawing into `drawing`, unselected and its
// nodes numbered by their place in the node list, as the editor converts a drawing it
// submits; the nodes in that order and each node's edges in the order of its own edge list,
// joined from the smaller end, into `out`. A file that cannot be read or holds no node
// leaves both as they were.
FileStatus readDrawingGraph(const std::string& path, Graph2D& drawing, PlainGraph& out);

// Load with the chosen path: on success the drawing is replaced by the file's and rotation
// mode is left; a file that cannot be read or is malformed leaves both as they were and
// the status says why (the page shows nothing for it).
EditorStatus loadDrawing(Graph2D& drawing, const std::string& path, bool& rotationMode);

// --- OUTPUT HC ---

struct CycleOutputResult {
  EditorStatus status;
  std::optional<CycleFileFormat> written;  // none: nothing was written
};
// Refused with "The graph is non-Hamiltonian!" unless the state is 3 and the working
// graph holds a Hamiltonian cycle.
EditorStatus checkCycleOutput(ProgramState programState, const Graph* workingGraph);
// Writes the cycle of the working graph to `path` by its extension: "txt" as adjacency
// text, "obj" as the OBJ polyline (only graphs read from OBJ files have the coordinates);
// anything else writes nothing. The status says why nothing was written.
CycleOutputResult outputHamiltonianCycle(ProgramState programState, const Graph* workingGraph,
                                         const std::string& path);

}  // namespace hc
