// The Graph Editor's view pane (see graph_editor_pane.h).
#include "ui/graph_editor_pane.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <utility>

#include "io/drawing_files.h"

namespace hcui {

namespace {

hc::CanvasPoint plain(QPoint p) {
  return {p.x(), p.y()};
}
QPoint toQt(hc::CanvasPoint p) {
  return {p.x, p.y};
}

hc::MouseButton buttonOf(const QMouseEvent& e) {
  switch (e.button()) {
    case Qt::LeftButton: return hc::MouseButton::kLeft;
    case Qt::RightButton: return hc::MouseButton::kRight;
    case Qt::MiddleButton: return hc::MouseButton::kMiddle;
    default: return hc::MouseButton::kOther;
  }
}

bool editingState(const hc::ProgramModel& model) {
  return model.programState() == hc::ProgramState::kEditing;
}

}  // namespace

GraphEditorPane::GraphEditorPane(hc::ProgramModel& model, QWidget* parent)
    : QWidget(parent), model_(model), layoutJob_([](std::function<void()> task) {
        // qApp lives longer than any pane; the job drops the task if the pane has gone.
        QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
      }) {
  canvas_ = new GraphCanvas(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(canvas_);
  canvas_->prepare = [this](CanvasScene& s) { prepareScene(s); };
  canvas_->onPress = [this](QMouseEvent* e, QPoint p) { press(e, p); };
  canvas_->onRelease = [this](QMouseEvent* e, QPoint) { release(e); };
  canvas_->onMove = [this](QMouseEvent*, QPoint p) { move(p); };
  canvas_->onDoubleClick = [this](QMouseEvent* e, QPoint p) { doubleClick(e, p); };
  canvas_->onWheel = [this](QWheelEvent* e, QPoint p) { wheel(e, p); };
  canvas_->onLeave = [this] {
    interaction_.leaveCanvas();
    refresh();
  };
  interaction_.onEdit = [this](hc::DrawingSnapshot before) {
    if (onEdit) onEdit(std::move(before));
  };
  interaction_.onMessage = [this](const std::string& text) {
    if (onMessage) onMessage(text);
  };
}

// A layout still running only reads its own copy of the graph: the job is abandoned (its
// result dropped), and closing the window does not wait for it.
GraphEditorPane::~GraphEditorPane() = default;

hc::EditorView& GraphEditorPane::view() {
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  return view_;
}

void GraphEditorPane::refresh() {
  if (onRefresh) onRefresh();
}

void GraphEditorPane::prepareScene(CanvasScene& s) {
  s.view = view();
  s.drawing = &shownGraph();
  s.working = model_.workingGraph().get();
  s.forcedBy = forcedEdges ? forcedEdges() : nullptr;
  s.bends = graphView_ ? &bends_ : nullptr;
  s.programState = model_.programState();
  s.algorithmChoice = model_.algorithmChoice();
  s.showGrid = showGrid;
  s.drawingEdge = interaction_.drawingEdge();
  s.selectingRectangle = interaction_.selectingRectangle();
  s.start = toQt(interaction_.start());
  s.end = toQt(interaction_.end());
  s.rotationMode = interaction_.rotationMode();
  s.rotationCentre = toQt(interaction_.rotationCentre());
  s.rotationCurrent = toQt(interaction_.rotationCurrent());
  s.note = viewNote_;
}

// --- the mouse, in canvas pixels ---

void GraphEditorPane::moveCursorToMiddle() {
  const QPoint middle(GraphCanvas::kInset + canvas_->canvasWidth() / 2,
                      GraphCanvas::kInset + canvas_->canvasHeight() / 2);
  QCursor::setPos(canvas_->mapToGlobal(middle));
  interaction_.cursorAt(plain(middle - QPoint(GraphCanvas::kInset, GraphCanvas::kInset)));
}

void GraphEditorPane::press(QMouseEvent* e, QPoint p) {
  interaction_.press(shown(), editingState(model_), view(), buttonOf(*e), plain(p), canvas_->insideCanvas(p),
                     e->modifiers() & Qt::ControlModifier);
  refresh();
}

void GraphEditorPane::release(QMouseEvent* e) {
  if (interaction_.rotationMode()) return;
  interaction_.release(shown(), editingState(model_), view_, buttonOf(*e));
  refresh();
}

void GraphEditorPane::move(QPoint p) {
  interaction_.move(shown(), view(), plain(p), canvas_->insideCanvas(p));
  refresh();
}

void GraphEditorPane::doubleClick(QMouseEvent* e, QPoint p) {
  if (!interaction_.doubleClick(view_, buttonOf(*e), plain(p))) return;
  moveCursorToMiddle();
  refresh();
}

void GraphEditorPane::wheel(QWheelEvent* e, QPoint p) {
  if (interaction_.rotationMode() || e->angleDelta().y() == 0) return;
  if (interaction_.wheel(view(), e->angleDelta().y(), plain(p))) moveCursorToMiddle();
  refresh();
}

// --- the read-only view of a generated or loaded graph ---

void GraphEditorPane::zoomToFit() {
  view().zoomToFit(shownGraph());
  refresh();
}

void GraphEditorPane::dropPicture() {
  layoutJob_.abandon();
  graphView_.reset();
  bends_.clear();
  viewOf_ = nullptr;
  viewNote_.clear();
  pendingLayout_.reset();
}

void GraphEditorPane::dropGraphView() {
  dropPicture();
  if (drawingView_) {
    view_ = *std::exchange(drawingView_, std::nullopt);
    view();  // at the canvas's present size
  }
}

void GraphEditorPane::showSubmittedGraph() {
  const hc::GraphSource source = model_.graphSourceType();
  const std::shared_ptr<hc::Graph> submitted = model_.submittedGraph();
  if (!submitted || source < hc::GraphSource::kEdgeProbabilityGraph ||
      source == hc::GraphSource::kDrawingFile || source == hc::GraphSource::kUserDrawnGraph) {
    dropPicture();
    return;
  }
  if (graphView_ && viewOf_ == submitted.get()) return;  // back from state 3: same graph, same picture
  // The user's own view of the drawing comes back with the drawing on Reset.
  if (!graphView_) drawingView_ = view_;
  layoutJob_.abandon();  // a layout of an older graph never lands here
  viewOf_ = submitted.get();
  pendingLayout_.reset();
  bends_.clear();
  if (submitted->howManyNodes > kMaxViewNodes) {
    graphView_ = std::make_unique<hc::Graph2D>();
    viewNote_ = QStringLiteral("This graph has %1 nodes: too many to draw (at most %2).")
                    .arg(submitted->howManyNodes)
                    .arg(kMaxViewNodes);
    return;
  }
  GraphPicture picture = pictureOf(*submitted);
  viewNote_.clear();
  if (!placeStructured(picture, *submitted, source, model_.parameter1(), model_.parameter2())) {
    pendingLayout_ = std::make_shared<GraphPicture>(picture);
    placeOnCircle(picture);
    viewNote_ = QStringLiteral("Laying out the graph...");
    startLayout();
  }
  showPicture(picture);
}

void GraphEditorPane::showPicture(const GraphPicture& picture) {
  graphView_ = makeDrawing(picture, &bends_);
  zoomToFit();
  if (view_.zoomInToSeeNodes(*graphView_)) refresh();
}

void GraphEditorPane::startLayout() {
  std::shared_ptr<const GraphPicture> picture = pendingLayout_;
  layoutJob_.start(
      [picture](const auto&) {
        Layout layout{*picture, false};
        layout.ok = placeForceDirected(layout.picture);
        return layout;
      },
      [this](Layout layout) { installLayout(layout.picture, layout.ok); });
}

void GraphEditorPane::installLayout(const GraphPicture& picture, bool ok) {
  pendingLayout_.reset();
  viewNote_.clear();
  if (ok) showPicture(picture);
  if (onViewChanged) onViewChanged();
  refresh();
}

void GraphEditorPane::finishLayoutNow() {
  if (!pendingLayout_) return;
  layoutJob_.abandon();  // an answer still on its way is dropped
  GraphPicture picture = *pendingLayout_;
  const bool ok = placeForceDirected(picture);
  installLayout(picture, ok);
}

}  // namespace hcui
