// File actions of the Graph Editor: naming rules, saving and loading the drawing, and the
// cycle output. See drawing_files.h for the extension rule.
#include "io/drawing_files.h"

#include "editor/drawing_conversion.h"
#include "io/adjacency_text_format.h"
#include "io/g_file.h"
#include "io/obj_format.h"
#include "io/path_names.h"

namespace hc {

std::string defaultCycleFileName(const std::string& displayName, GraphSource source) {
  if (source != GraphSource::kTextFile && source != GraphSource::kObjFile) return displayName + "-HC.txt";
  const size_t dot = displayName.find('.');
  const std::string stem = dot == std::string::npos ? std::string() : displayName.substr(0, dot);
  return stem + (source == GraphSource::kObjFile ? "-HC.obj" : "-HC.txt");
}

FileDialogSetup saveDrawingDialog() {
  return {"Graph Files (*.g)|*.g|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", "txt"};
}
FileDialogSetup loadDrawingDialog() {
  return {"Graph Files (*.g)|*.g|All Files (*.*)|*.*||", "g"};
}
FileDialogSetup textGraphDialog() {
  return {"Graph Files (*.txt)|*.txt|All Files (*.*)|*.*||", "txt"};
}
FileDialogSetup objGraphDialog() {
  return {"Object Files (*.obj)|*.obj|All Files (*.*)|*.*||", "obj"};
}
FileDialogSetup cycleOutputDialog(GraphSource source) {
  if (source == GraphSource::kObjFile)
    return {"Obj Files (*.obj)|*.obj|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", "obj"};
  return {"Text Files (*.txt)|*.txt|Obj Files (*.obj)|*.obj|All Files (*.*)|*.*||", "txt"};
}

EditorStatus checkDrawingSave(const Graph2D& drawing, ProgramState programState, bool rotationMode) {
  if (rotationMode) return EditorStatus::refused(editor_messages::kCannotSaveRotating);
  if (drawing.nodeCount() == 0) return EditorStatus::refused(editor_messages::kCannotSaveEmpty);
  if (programState != ProgramState::kEditing)
    return EditorStatus::refused(editor_messages::kSaveOnlyWhenEditing);
  return EditorStatus::done();
}

DrawingSaveResult saveDrawingAs(Graph2D& drawing, const std::string& path) {
  DrawingSaveResult result;
  const std::string extension = editorFileExtension(path);
  if (extension == "g") {
    result.status = saveGFile(drawing, path);
    if (result.status) result.written = DrawingFileKind::kGFile;
  } else if (extension == "txt") {
    const Graph graph = convertDrawingToGraph(drawing, path);
    const FileStatus written = writeAdjacencyText(graph, path);
    result.status = written ? EditorStatus::done() : EditorStatus::fileError(written.error);
    if (written) result.written = DrawingFileKind::kAdjacencyText;
    result.forgetCurrentPath = true;
  } else {
    result.status = EditorStatus::fileError(path + ": extension \"" + extension + "\" is neither g nor txt");
  }
  return result;
}

DrawingQuickSave saveDrawing(const Graph2D& drawing, const std::string& currentFilePath) {
  DrawingQuickSave save;
  if (currentFilePath.empty()) {
    save.needsSaveAs = true;
    return save;
  }
  save.result.status = saveGFile(drawing, currentFilePath);
  if (save.result.status) save.result.written = DrawingFileKind::kGFile;
  return save;
}

EditorStatus checkDrawingLoad(ProgramState programState) {
  if (programState != ProgramState::kEditing)
    return EditorStatus::refused(editor_messages::kLoadOnlyWhenEditing);
  return EditorStatus::done();
}

FileStatus readDrawingGraph(const std::string& path, Graph2D& drawing, PlainGraph& out) {
  Graph2D read;
  if (EditorStatus status = loadGFile(path, read); !status)
    return FileStatus::failure(!status.error.empty() ? status.error : path + ": cannot read the drawing");
  if (read.nodeCount() == 0) return FileStatus::failure(path + ": the drawing has no nodes");
  read.unselectAll();
  PlainGraph plain;
  plain.nodes = read.howManyUnselectedNodes;
  for (int32_t i = 0; i < plain.nodes; ++i) read.unselectedNodes[static_cast<size_t>(i)]->id = i;
  for (int32_t i = 0; i < plain.nodes; ++i) {
    const Graph2DNode& node = *read.unselectedNodes[static_cast<size_t>(i)];
    for (const auto& edge : node.edges)
      if (const int32_t v = edge->otherEnd(&node)->id; v > i) plain.edges.emplace_back(i, v);
  }
  drawing = std::move(read);
  out = std::move(plain);
  return {};
}

EditorStatus loadDrawing(Graph2D& drawing, const std::string& path, bool& rotationMode) {
  Graph2D fresh;
  EditorStatus status = loadGFile(path, fresh);
  if (!status) return status;
  drawing = std::move(fresh);
  rotationMode = false;
  return status;
}

EditorStatus checkCycleOutput(ProgramState programState, const Graph* workingGraph) {
  if (programState != ProgramState::kDecided || !workingGraph || workingGraph->isHamiltonian != kHamiltonian)
    return EditorStatus::refused(editor_messages::kNonHamiltonian);
  return EditorStatus::done();
}

CycleOutputResult outputHamiltonianCycle(ProgramState programState, const Graph* workingGraph,
                                         const std::string& path) {
  CycleOutputResult result;
  result.status = checkCycleOutput(programState, workingGraph);
  if (!result.status) return result;
  const std::string extension = editorFileExtension(path);
  if (extension == "txt") {
    const FileStatus written = writeAdjacencyText(*workingGraph, path);
    if (!written)
      result.status = EditorStatus::fileError(written.error);
    else
      result.written = CycleFileFormat::kText;
  } else if (extension == "obj") {
    if (!workingGraph->hasCoordinates()) {
      result.status = EditorStatus::fileError(
          path + ": only a graph read from an OBJ file has the coordinates an OBJ cycle file needs");
    } else {
      const FileStatus written = writeHamiltonianCycleObj(*workingGraph, path);
      if (!written)
        result.status = EditorStatus::fileError(written.error);
      else
        result.written = CycleFileFormat::kObj;
    }
  } else {
    result.status =
        EditorStatus::fileError(path + ": extension \"" + extension + "\" is neither txt nor obj");
  }
  return result;
}

}  // namespace hc
