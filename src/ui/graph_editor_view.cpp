// The Graph Editor page's read-only view of a generated or loaded graph: built on entry
// into state 1, laid out on a background job when it needs Graphviz, copied into the
// drawing on request.
#include <QPushButton>

#include "run/graph_information.h"
#include "io/drawing_files.h"
#include "ui/graph_editor_dlg.h"
#include "ui/graph_view_layout.h"

namespace {

constexpr const char* kCaption = "Hamiltonian Cycles";
constexpr const char* kDiscardQuestion = "The drawing has changes that are not saved. Discard them?";

}  // namespace

// --- the read-only view of a generated or loaded graph ---

void CGraphEditorDlg::buildGraphView() {
  const hc::GraphSource source = model_.graphSourceType();
  const std::shared_ptr<hc::Graph> submitted = model_.submittedGraph();
  if (!submitted || source < hc::GraphSource::kEdgeProbabilityGraph || source == hc::GraphSource::kDrawingFile ||
      source == hc::GraphSource::kUserDrawnGraph) {
    layoutJob_.abandon();
    graphView_.reset();
    bends_.clear();
    viewOf_ = nullptr;
    viewNote_.clear();
    pendingLayout_.reset();
    return;
  }
  if (graphView_ && viewOf_ == submitted.get()) return;  // back from state 3: same graph, same picture
  // The user's own view of the drawing comes back with the drawing on Reset.
  if (!graphView_) drawingView_ = view_;
  layoutJob_.abandon();  // a layout of an older graph never lands here
  viewOf_ = submitted.get();
  pendingLayout_.reset();
  bends_.clear();
  if (submitted->howManyNodes > hcui::kMaxViewNodes) {
    graphView_ = std::make_unique<hc::Graph2D>();
    viewNote_ = QStringLiteral("This graph has %1 nodes: too many to draw (at most %2).")
                    .arg(submitted->howManyNodes)
                    .arg(hcui::kMaxViewNodes);
    return;
  }
  hcui::GraphPicture picture = hcui::pictureOf(*submitted);
  viewNote_.clear();
  if (!hcui::placeStructured(picture, *submitted, source, model_.parameter1(), model_.parameter2())) {
    pendingLayout_ = std::make_shared<hcui::GraphPicture>(picture);
    hcui::placeOnCircle(picture);
    viewNote_ = QStringLiteral("Laying out the graph...");
    startLayout();
  }
  showGraphView(picture);
}

void CGraphEditorDlg::showGraphView(const hcui::GraphPicture& picture) {
  graphView_ = hcui::makeDrawing(picture, &bends_);
  zoomToFitAction();
  if (view_.zoomInToSeeNodes(*graphView_)) refresh();
}

void CGraphEditorDlg::startLayout() {
  std::shared_ptr<const hcui::GraphPicture> picture = pendingLayout_;
  layoutJob_.start(
      [picture](const auto&) {
        Layout layout{*picture, false};
        layout.ok = hcui::placeForceDirected(layout.picture);
        return layout;
      },
      [this](Layout layout) { installLayout(layout.picture, layout.ok); });
}

void CGraphEditorDlg::installLayout(const hcui::GraphPicture& picture, bool ok) {
  pendingLayout_.reset();
  viewNote_.clear();
  if (ok) showGraphView(picture);
  updateVisibility();
  refresh();
}

void CGraphEditorDlg::finishLayoutNow() {
  if (!pendingLayout_) return;
  layoutJob_.abandon();  // an answer still on its way is dropped
  hcui::GraphPicture picture = *pendingLayout_;
  const bool ok = hcui::placeForceDirected(picture);
  installLayout(picture, ok);
}

const hc::Graph* CGraphEditorDlg::forcedEdgesGraph() const {
  const int s = state();
  if ((s != hc::program_states::kGreen && s != hc::program_states::kRed) ||
      choice() == hc::algorithm_choices::kManualEdit)
    return nullptr;
  return pruned_ && prunedOf_ == model_.submittedGraph().get() ? pruned_.get() : nullptr;
}

void CGraphEditorDlg::copyToEditorAction() {
  if (!graphView_ || graphView_->nodeCount() == 0) return;
  if (model_.drawing().nodeCount() > 0 && history_.isModified(model_.drawing()) &&
      !model_.view().askYesNo(kDiscardQuestion, kCaption))
    return;
  const hc::DrawingSnapshot picture = hc::takeSnapshot(*graphView_);
  const hc::EditorView looking = view_;
  model_.setProgramState(hc::program_states::kBlue);
  auto snapshot = before();
  hc::restoreSnapshot(picture, model_.drawing());
  model_.drawing().unselectAll();
  recordEdit(std::move(snapshot));
  view_ = looking;  // the copy is seen as the view showed it
  refresh();
}
