// The Graph Editor page's files: Save, Save As, Load, OUTPUT HC, the question before
// unsaved changes are lost (also before a picture is copied into the drawing), and export
// of the canvas as PNG or SVG.
#include <QEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QPainter>
#include <QStringList>
#include <QSvgGenerator>

#include "app/user_messages.h"
#include "io/drawing_files.h"
#include "ui/graph_editor_dlg.h"

namespace {

constexpr const char* kCaption = "Hamiltonian Cycles";
constexpr const char* kDiscardQuestion = "The drawing has changes that are not saved. Discard them?";

}  // namespace

// --- files ---

void CGraphEditorDlg::saveAction() {
  const hc::EditorStatus check = hc::checkDrawingSave(model_.drawing(), state(), rotating());
  if (!check) {
    message(check.message);
    return;
  }
  const hc::DrawingQuickSave quick = hc::saveDrawing(model_.drawing(), model_.currentFilePath());
  if (quick.needsSaveAs) {
    saveAsAction();
    return;
  }
  message(quick.result.status.message);
  // A file that could not be written is said so, never passed over as saved.
  message(quick.result.status.error);
  if (!quick.result.status) return;
  history_.markSaved(model_.drawing());
  model_.view().showNote(hc::savedNote("the drawing", model_.currentFilePath()));
}

void CGraphEditorDlg::saveAsAction() {
  const hc::EditorStatus check = hc::checkDrawingSave(model_.drawing(), state(), rotating());
  if (!check) {
    message(check.message);
    return;
  }
  const hc::FileDialogSetup setup = hc::saveDrawingDialog();
  std::optional<std::string> path =
      model_.view().chooseSaveFile("Save As", hc::viewFileFilter(setup.filter), model_.currentFilePath());
  if (!path) return;
  if (hc::editorFileExtension(*path).empty()) *path += std::string(".") + setup.defaultExtension;
  const hc::DrawingSaveResult result = hc::saveDrawingAs(model_.drawing(), *path);
  message(result.status.message);
  message(result.status.error);
  if (!result.status || result.written == hc::DrawingFileKind::kNothing) {
    if (result.status) model_.view().showNote("Nothing was written: a drawing is saved as .g or .txt");
    refresh();
    return;
  }
  model_.view().showNote(hc::savedNote("the drawing", *path));
  model_.setCurrentFilePath(result.forgetCurrentPath ? std::string() : *path);
  history_.markSaved(model_.drawing());
  userDrawing_ = hc::takeSnapshot(model_.drawing());
  refresh();
}

void CGraphEditorDlg::loadAction() {
  const hc::EditorStatus check = hc::checkDrawingLoad(state());
  if (!check) {
    message(check.message);
    return;
  }
  if (!confirmDiscard()) return;
  const std::optional<std::string> path =
      model_.view().chooseOpenFile("Open", hc::viewFileFilter(hc::loadDrawingDialog().filter));
  if (!path) return;
  auto snapshot = before();
  bool rotationMode = rotating();
  const hc::EditorStatus status = hc::loadDrawing(model_.drawing(), *path, rotationMode);
  if (!status) {
    message(status.message);
    message(status.error.empty() ? *path + ": cannot read the drawing" : status.error);
    return;
  }
  pane_->interaction().forget();
  recordEdit(std::move(snapshot));
  model_.setCurrentFilePath(*path);
  history_.markSaved(model_.drawing());
  zoomToFitAction();  // the drawing read is shown whole
}

void CGraphEditorDlg::outputHcAction() {
  const hc::EditorStatus check = hc::checkCycleOutput(state(), working());
  if (!check) {
    message(check.message);
    return;
  }
  const hc::GraphSource source = model_.graphSourceType();
  const std::optional<std::string> path = model_.view().chooseSaveFile(
      "Save As", hc::viewFileFilter(hc::cycleOutputDialog(source).filter), model_.cycleFileSuggestion());
  if (!path) return;
  const hc::CycleOutputResult result = hc::outputHamiltonianCycle(state(), working(), *path);
  message(result.status.message);
  message(result.status.error);
  if (!result.status) return;
  model_.view().showNote(!result.written ? "Nothing was written: a cycle is saved as .txt or .obj"
                                         : hc::savedNote("the Hamiltonian cycle", *path));
}

bool CGraphEditorDlg::hasUnsavedDrawing() const {
  // In state 0 the drawing on the canvas is the user's; in the other states the canvas may
  // show a generated or loaded graph, and the user's drawing waits for state 0.
  if (editing()) {
    return model_.drawing().nodeCount() > 0 && history_.isModified(model_.drawing());
  }
  if (userDrawing_.bytes.empty()) return false;
  hc::Graph2D waiting;
  return hc::restoreSnapshot(userDrawing_, waiting) && waiting.nodeCount() > 0 &&
         history_.isModified(waiting);
}

bool CGraphEditorDlg::confirmDiscard() {
  if (!hasUnsavedDrawing()) return true;
  return model_.view().askYesNo(kDiscardQuestion, kCaption);
}

// The read-only view's picture becomes the drawing, seen as the view showed it.
void CGraphEditorDlg::copyToEditorAction() {
  if (!hasGraphView() || shownGraph().nodeCount() == 0) return;
  if (model_.drawing().nodeCount() > 0 && history_.isModified(model_.drawing()) &&
      !model_.view().askYesNo(kDiscardQuestion, kCaption))
    return;
  const hc::DrawingSnapshot picture = hc::takeSnapshot(shownGraph());
  const hc::EditorView looking = view();
  model_.setProgramState(hc::ProgramState::kEditing);
  auto snapshot = before();
  hc::restoreSnapshot(picture, model_.drawing());
  model_.drawing().unselectAll();
  recordEdit(std::move(snapshot));
  view() = looking;
  refresh();
}

// --- export ---

void CGraphEditorDlg::exportAction() {
  const std::optional<std::string> path = model_.view().chooseSaveFile(
      "Export Picture", "PNG Pictures (*.png);;SVG Pictures (*.svg)", "graph.png");
  if (!path) return;
  // The canvas size is offered; another "W x H" shows the same view with more or fewer pixels.
  const QString canvasSize =
      QStringLiteral("%1 x %2").arg(canvas()->canvasWidth()).arg(canvas()->canvasHeight());
  bool accepted = false;
  const QString answer = QInputDialog::getText(this, QStringLiteral("Export Picture"),
                                               QStringLiteral("Picture size in pixels (width x height):"),
                                               QLineEdit::Normal, canvasSize, &accepted);
  if (!accepted) return;
  const QStringList parts = answer.split(QLatin1Char('x'), Qt::SkipEmptyParts, Qt::CaseInsensitive);
  bool okW = false, okH = false;
  const int w = parts.size() == 2 ? parts[0].trimmed().toInt(&okW) : 0;
  const int h = parts.size() == 2 ? parts[1].trimmed().toInt(&okH) : 0;
  constexpr int kLargest = 10000;
  if (!okW || !okH || w < 1 || h < 1 || w > kLargest || h > kLargest) {
    message("\"" + answer.toStdString() +
            "\" is not a picture size such as 1600 x 1200 (at most 10000 x 10000).");
    return;
  }
  if (!exportCanvas(QString::fromStdString(*path), QSize(w, h))) {
    message(*path + ": the picture could not be written");
    return;
  }
  model_.view().showNote(hc::savedNote("the picture", *path));
}

bool CGraphEditorDlg::exportCanvas(const QString& path, QSize size) {
  hcui::CanvasScene scene;
  pane_->prepareScene(scene);
  if (size.isValid() && !size.isEmpty()) {
    // The same world region, more or fewer pixels: the zoom stays, the width scales.
    scene.view.setCanvasSize(size.width(), size.height());
  }
  scene.drawingEdge = scene.selectingRectangle = scene.rotationMode = false;
  const QSize out(scene.view.width, scene.view.height);
  if (path.endsWith(".svg", Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(out);
    svg.setViewBox(QRect(QPoint(0, 0), out));
    svg.setTitle(QStringLiteral("Graph"));
    QPainter p;
    if (!p.begin(&svg)) return false;
    hcui::paintCanvas(p, scene);
    return p.end();
  }
  QImage image(out, QImage::Format_RGB32);
  {
    QPainter p(&image);
    hcui::paintCanvas(p, scene);
  }
  return image.save(path, "PNG");
}
