// The Graph Editor page's read-only view of a generated or loaded graph: built on entry
// into state 1, laid out on a worker thread when it needs Graphviz, copied into the drawing
// on request.
#include "ui/graph_editor_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSvgGenerator>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <thread>

#include "core/number_format.h"
#include "app/program_states.h"
#include "editor/drawing_conversion.h"
#include "io/drawing_files.h"
#include "schc/stone_carver.h"
#include "ui/graph_editor_scenes.h"
#include "ui/graph_view_layout.h"
#include "ui/paint_helpers.h"

namespace {

constexpr const char* kCaption = "Hamiltonian Cycles";
constexpr const char* kDiscardQuestion = "The drawing has changes that are not saved. Discard them?";

}  // namespace

// --- the read-only view of a generated or loaded graph ---

void CGraphEditorDlg::buildGraphView() {
  const int32_t source = model_.graphSourceType();
  const std::shared_ptr<hc::Graph> submitted = model_.submittedGraph();
  if (!submitted || source < 1 || source == hc::graph_source::kDrawingFile || source == hc::graph_source::kUserDrawn) {
    graphView_.reset();
    viewOf_ = nullptr;
    viewNote_.clear();
    return;
  }
  if (graphView_ && viewOf_ == submitted.get()) return;  // back from state 3: same graph, same picture
  viewOf_ = submitted.get();
  ++layoutTicket_;
  pendingLayout_.reset();
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
  graphView_ = hcui::makeDrawing(picture);
  zoomToFitAction();
}

void CGraphEditorDlg::startLayout() {
  const uint64_t ticket = layoutTicket_;
  std::shared_ptr<hcui::GraphPicture> picture = pendingLayout_;
  QPointer<CGraphEditorDlg> self(this);
  layoutThreads_.emplace_back([picture, ticket, self] {
    auto result = std::make_shared<hcui::GraphPicture>(*picture);
    const bool ok = hcui::placeForceDirected(*result);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app, [self, ticket, result, ok] {
          if (!self || self->layoutTicket_ != ticket) return;
          self->installLayout(*result, ok);
        },
        Qt::QueuedConnection);
  });
}

void CGraphEditorDlg::installLayout(const hcui::GraphPicture& picture, bool ok) {
  pendingLayout_.reset();
  viewNote_.clear();
  if (ok) {
    graphView_ = hcui::makeDrawing(picture);
    zoomToFitAction();
  }
  updateVisibility();
  refresh();
}

void CGraphEditorDlg::finishLayoutNow() {
  if (!pendingLayout_) return;
  ++layoutTicket_;  // an answer still on its way is dropped
  hcui::GraphPicture picture = *pendingLayout_;
  const bool ok = hcui::placeForceDirected(picture);
  installLayout(picture, ok);
}

void CGraphEditorDlg::copyToEditorAction() {
  if (!graphView_ || graphView_->nodeCount() == 0) return;
  if (model_.drawing().nodeCount() > 0 && history_.isModified(model_.drawing()) &&
      !model_.view().askYesNo(kDiscardQuestion, kCaption))
    return;
  const hc::DrawingSnapshot picture = hc::takeSnapshot(*graphView_);
  model_.setProgramState(hc::program_states::kBlue);
  auto snapshot = before();
  hc::restoreSnapshot(picture, model_.drawing());
  model_.drawing().unselectAll();
  recordEdit(std::move(snapshot));
  refresh();
}
