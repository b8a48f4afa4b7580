// The Graph Editor page (see graph_editor_dlg.h): layout, keys, buttons, visibility by
// state, display boxes, manual edit mode and undo/redo. Files and export, the mouse and the
// read-only view are in graph_editor_files.cpp, graph_editor_mouse.cpp, graph_editor_view.cpp.
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

QString hundredths(double v) {
  double t = std::trunc(v * 100.0) / 100.0;
  if (t == 0.0) t = 0.0;  // no "-0.00"
  return QString::fromStdString(hc::formatNumber(t, 2));
}

hc::BoxLook boxLook() { return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}}; }

hcui::PaintedLabel* makeBox(QWidget* parent, int minWidth) {
  auto* box = new hcui::PaintedLabel(parent);
  box->setMinimumSize(minWidth, 24);
  return box;
}

QPushButton* makeButton(const QString& text, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

CGraphEditorDlg::CGraphEditorDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  static const bool scenesRegistered = (hcui::registerEditorScenes(), true);
  (void)scenesRegistered;
  canvas_ = new GraphCanvas(this);
  canvas_->prepare = [this](CanvasScene& s) { prepareScene(s); };
  canvas_->onPress = [this](QMouseEvent* e, QPoint p) { mousePress(e, p); };
  canvas_->onRelease = [this](QMouseEvent* e, QPoint p) { mouseRelease(e, p); };
  canvas_->onMove = [this](QMouseEvent* e, QPoint p) { mouseMove(e, p); };
  canvas_->onDoubleClick = [this](QMouseEvent* e, QPoint p) { mouseDoubleClick(e, p); };
  canvas_->onWheel = [this](QWheelEvent* e, QPoint p) { wheel(e, p); };
  canvas_->onLeave = [this] {
    mouseOnCanvas_ = false;
    updateBoxes();
  };

  auto* side = new QVBoxLayout;
  // View controls and boxes.
  auto* viewBox = new QGridLayout;
  showGrid_ = new QCheckBox(QStringLiteral("Show Grid"), this);
  showGrid_->setChecked(true);
  showGrid_->setFocusPolicy(Qt::NoFocus);
  connect(showGrid_, &QCheckBox::toggled, this, [this] { refresh(); });
  gridUp_ = new QToolButton(this);
  gridUp_->setArrowType(Qt::UpArrow);
  gridDown_ = new QToolButton(this);
  gridDown_->setArrowType(Qt::DownArrow);
  connect(gridUp_, &QToolButton::clicked, this, [this] { spinGrid(true); });
  connect(gridDown_, &QToolButton::clicked, this, [this] { spinGrid(false); });
  gridBox_ = makeBox(this, 50);
  zoomBox_ = makeBox(this, 50);
  centreBox_ = makeBox(this, 120);
  mouseBox_ = makeBox(this, 120);
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(gridUp_);
  spin->addWidget(gridDown_);
  viewBox->addWidget(showGrid_, 0, 0);
  viewBox->addLayout(spin, 0, 1);
  viewBox->addWidget(gridBox_, 0, 2);
  viewBox->addWidget(zoomBox_, 0, 3);
  viewBox->addWidget(centreBox_, 1, 0, 1, 2);
  viewBox->addWidget(mouseBox_, 1, 2, 1, 2);
  side->addLayout(viewBox);

  // "Edit Graph" and "Manual Edit Mode" share one place.
  editGroup_ = new QGroupBox(QStringLiteral("Edit Graph"), this);
  auto* edit = new QGridLayout(editGroup_);
  nodeCountBox_ = makeBox(editGroup_, 60);
  edgeCountBox_ = makeBox(editGroup_, 60);
  edit->addWidget(new QLabel(QStringLiteral("Node Count:"), editGroup_), 0, 0);
  edit->addWidget(nodeCountBox_, 0, 1);
  edit->addWidget(new QLabel(QStringLiteral("Edge Count:"), editGroup_), 1, 0);
  edit->addWidget(edgeCountBox_, 1, 1);
  auto* cliquify = makeButton(QStringLiteral("Cliquify"), editGroup_);
  auto* clear = makeButton(QStringLiteral("Clear"), editGroup_);
  auto* del = makeButton(QStringLiteral("Delete"), editGroup_);
  edit->addWidget(cliquify, 2, 0);
  edit->addWidget(clear, 2, 1);
  edit->addWidget(del, 3, 0, 1, 2);
  connect(cliquify, &QPushButton::clicked, this, &CGraphEditorDlg::cliquifyAction);
  connect(clear, &QPushButton::clicked, this, &CGraphEditorDlg::clearAction);
  connect(del, &QPushButton::clicked, this, &CGraphEditorDlg::deleteAction);
  side->addWidget(editGroup_);

  manualGroup_ = new QGroupBox(QStringLiteral("Manual Edit Mode"), this);
  auto* manual = new QGridLayout(manualGroup_);
  selectedNodeBox_ = makeBox(manualGroup_, 120);
  selectedEdgeBox_ = makeBox(manualGroup_, 120);
  manual->addWidget(new QLabel(QStringLiteral("Selected Node:"), manualGroup_), 0, 0);
  manual->addWidget(selectedNodeBox_, 0, 1);
  manual->addWidget(new QLabel(QStringLiteral("Selected Edge:"), manualGroup_), 1, 0);
  manual->addWidget(selectedEdgeBox_, 1, 1);
  auto* delEdge = makeButton(QStringLiteral("Delete Edge"), manualGroup_);
  auto* forceEdge = makeButton(QStringLiteral("Force Edge"), manualGroup_);
  auto* las = makeButton(QStringLiteral("Run Look Ahead Sequencing"), manualGroup_);
  manual->addWidget(delEdge, 2, 0);
  manual->addWidget(forceEdge, 2, 1);
  manual->addWidget(las, 3, 0, 1, 2);
  connect(delEdge, &QPushButton::clicked, this, &CGraphEditorDlg::deleteAction);
  connect(forceEdge, &QPushButton::clicked, this, &CGraphEditorDlg::forceAction);
  connect(las, &QPushButton::clicked, this, &CGraphEditorDlg::runLookAheadAction);
  side->addWidget(manualGroup_);

  // Submit, the state button in its "Manually Edit Graph" frame, OUTPUT HC.
  auto* big = new QHBoxLayout;
  submitButton_ = makeButton(QString(), this);
  submitButton_->setIcon(QIcon(hcui::stateButtonPixmap(QStringLiteral("SUBMIT GRAPH"), hcui::toQColor(hc::stateLook(0).fill))));
  submitButton_->setIconSize(QSize(74, 74));
  connect(submitButton_, &QPushButton::clicked, this, &CGraphEditorDlg::submitAction);
  manualEditFrame_ = new QGroupBox(this);
  auto* frameLayout = new QVBoxLayout(manualEditFrame_);
  stateButton_ = makeButton(QString(), manualEditFrame_);
  stateButton_->setIconSize(QSize(74, 74));
  frameLayout->addWidget(stateButton_);
  connect(stateButton_, &QPushButton::clicked, this, [this] { model_.pageButtonPressed(hc::kEditorPage); });
  outputGroup_ = new QGroupBox(QStringLiteral("Output HC"), this);
  auto* outLayout = new QVBoxLayout(outputGroup_);
  auto* output = makeButton(QStringLiteral("OUTPUT HC"), outputGroup_);
  outLayout->addWidget(output);
  connect(output, &QPushButton::clicked, this, &CGraphEditorDlg::outputHcAction);
  big->addWidget(submitButton_);
  big->addWidget(manualEditFrame_);
  big->addWidget(outputGroup_);
  big->addStretch();
  side->addLayout(big);

  // View and file buttons, then the additions beyond the classic set.
  auto* buttons = new QGridLayout;
  auto add = [&](const QString& text, int row, int col, auto slot) {
    QPushButton* b = makeButton(text, this);
    buttons->addWidget(b, row, col);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
  };
  add(QStringLiteral("Center Graph"), 0, 0, &CGraphEditorDlg::centerGraphAction);
  add(QStringLiteral("Re-center Screen"), 0, 1, &CGraphEditorDlg::recenterScreenAction);
  add(QStringLiteral("Embed In Plane"), 1, 0, [this] { message("Not Implemented Yet"); });
  add(QStringLiteral("Zoom To Fit"), 1, 1, &CGraphEditorDlg::zoomToFitAction);
  saveAsButton_ = add(QStringLiteral("Save As..."), 2, 0, &CGraphEditorDlg::saveAsAction);
  loadButton_ = add(QStringLiteral("Load"), 2, 1, &CGraphEditorDlg::loadAction);
  add(QStringLiteral("Undo"), 3, 0, &CGraphEditorDlg::undoAction);
  add(QStringLiteral("Redo"), 3, 1, &CGraphEditorDlg::redoAction);
  add(QStringLiteral("Export Picture..."), 4, 0, &CGraphEditorDlg::exportAction);
  copyToEditorButton_ = add(QStringLiteral("Copy To Editor"), 4, 1, &CGraphEditorDlg::copyToEditorAction);
  side->addLayout(buttons);
  side->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(canvas_, 1);
  layout->addLayout(side);

  struct Key {
    QKeySequence keys;
    void (CGraphEditorDlg::*action)();
  };
  const Key keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_C), &CGraphEditorDlg::copyAction},
      {QKeySequence(Qt::CTRL | Qt::Key_X), &CGraphEditorDlg::cutAction},
      {QKeySequence(Qt::CTRL | Qt::Key_V), &CGraphEditorDlg::pasteAction},
      {QKeySequence(Qt::CTRL | Qt::Key_A), &CGraphEditorDlg::selectAllAction},
      {QKeySequence(Qt::CTRL | Qt::Key_N), &CGraphEditorDlg::newAction},
      {QKeySequence(Qt::Key_Delete), &CGraphEditorDlg::deleteAction},
      {QKeySequence(Qt::Key_Backspace), &CGraphEditorDlg::deleteAction},
      {QKeySequence(Qt::Key_Insert), &CGraphEditorDlg::forceAction},
      {QKeySequence(Qt::CTRL | Qt::Key_S), &CGraphEditorDlg::saveAction},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &CGraphEditorDlg::saveAsAction},
      {QKeySequence(Qt::CTRL | Qt::Key_L), &CGraphEditorDlg::loadAction},
      {QKeySequence(Qt::CTRL | Qt::Key_O), &CGraphEditorDlg::loadAction},
      {QKeySequence(Qt::CTRL | Qt::Key_Z), &CGraphEditorDlg::undoAction},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &CGraphEditorDlg::redoAction},
      {QKeySequence(Qt::CTRL | Qt::Key_Y), &CGraphEditorDlg::redoAction},
      {QKeySequence(Qt::CTRL | Qt::Key_0), &CGraphEditorDlg::zoomToFitAction},
  };
  for (const Key& k : keys) {
    auto* s = new QShortcut(k.keys, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, k.action);
  }
  for (auto [key, in] : {std::pair{Qt::Key_Z, true}, std::pair{Qt::Key_X, false}}) {
    auto* s = new QShortcut(QKeySequence(key), this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, [this, in = in] { zoomKey(in); });
  }
  setPageState(model_.programState());
}

CGraphEditorDlg::~CGraphEditorDlg() {
  // A layout still running only reads its own copy of the graph; wait for it so no thread
  // outlives the page (its answer finds the page gone and is dropped).
  for (std::thread& t : layoutThreads_)
    if (t.joinable()) t.join();
}

// --- state ---

const hc::Graph2D& CGraphEditorDlg::shownGraph() const { return graphView_ ? *graphView_ : model_.drawing(); }
hc::Graph2D& CGraphEditorDlg::shown() { return graphView_ ? *graphView_ : model_.drawing(); }

void CGraphEditorDlg::setPageState(int32_t s) {
  stateButtonAllowed_ = true;  // hidden again by the model while another page's method runs
  if (s == hc::program_states::kBlue) {
    graphView_.reset();
    viewOf_ = nullptr;
    viewNote_.clear();
    manual_.clear();
    // A generated or loaded graph cleared the drawing; the user's own comes back.
    if (model_.drawing().nodeCount() == 0 && !userDrawing_.bytes.empty()) hc::restoreSnapshot(userDrawing_, model_.drawing());
  } else if (s == hc::program_states::kGreen) {
    manual_.clear();
    const int32_t source = model_.graphSourceType();
    if (source == hc::graph_source::kUserDrawn || source == hc::graph_source::kDrawingFile)
      userDrawing_ = hc::takeSnapshot(model_.drawing());  // the drawing a later Reset brings back
    buildGraphView();
  }
  updateVisibility();
  if (s == hc::program_states::kRed && !suppressEntryPruning_ && choice() == hc::algorithm_choices::kManualEdit) {
    manual_.clear();
    if (hc::Graph* g = working()) {
      const hc::HamiltonicityState verdict = hc::fastInitialPruning(*g, 65535, 0);
      if (verdict != hc::kUndecided) {
        model_.setProgramResult(g->isHamiltonian);
        model_.setProgramState(hc::program_states::kYellow);
        return;  // the nested notification has set up state 3
      }
    }
  }
  refresh();
}

void CGraphEditorDlg::setStateButtonVisible(bool visible) {
  stateButtonAllowed_ = visible;
  updateVisibility();
}

void CGraphEditorDlg::updateVisibility() {
  const int s = state();
  const bool manual = choice() == hc::algorithm_choices::kManualEdit;
  const bool hasNode = shownGraph().nodeCount() > 0;
  editGroup_->setVisible(s == 0);
  manualGroup_->setVisible((s == 2 || s == 3) && manual);
  outputGroup_->setVisible(s == 3 && model_.programResult() == hc::program_results::kHamiltonian);
  submitButton_->setVisible(s == 0);
  const bool buttonShown = ((s == 1 || s == 2) && hasNode) || s == 3;
  stateButton_->setVisible(buttonShown && stateButtonAllowed_);
  stateButton_->setIcon(QIcon(hcui::stateButtonPixmap(s)));
  // The frame around the state button is shown in state 1 only; the button may stand alone.
  const bool frameShown = s == 1 && hasNode;
  manualEditFrame_->setTitle(frameShown ? QStringLiteral("Manually Edit Graph") : QString());
  manualEditFrame_->setFlat(!frameShown);
  manualEditFrame_->setVisible(stateButton_->isVisibleTo(this) || frameShown);
  saveAsButton_->setVisible(s == 0);
  loadButton_->setVisible(s == 0);
  copyToEditorButton_->setVisible(graphView_ != nullptr);
}

bool CGraphEditorDlg::controlShown(const QString& name) const {
  if (name == "Edit Graph") return editGroup_->isVisibleTo(this);
  if (name == "Manual Edit Mode") return manualGroup_->isVisibleTo(this);
  if (name == "Output HC") return outputGroup_->isVisibleTo(this);
  if (name == "Submit Graph") return submitButton_->isVisibleTo(this);
  if (name == "stateButton") return stateButton_->isVisibleTo(this);
  if (name == "Manually Edit Graph") return !manualEditFrame_->title().isEmpty() && manualEditFrame_->isVisibleTo(this);
  if (name == "Save As...") return saveAsButton_->isVisibleTo(this);
  if (name == "Load") return loadButton_->isVisibleTo(this);
  return false;
}

void CGraphEditorDlg::message(const std::string& text) {
  if (!text.empty()) model_.view().showMessage(text, kCaption);
}

void CGraphEditorDlg::refresh() {
  updateBoxes();
  canvas_->update();
}

void CGraphEditorDlg::prepareScene(CanvasScene& s) {
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  s.view = view_;
  s.drawing = &shownGraph();
  s.working = working();
  s.programState = state();
  s.algorithmChoice = choice();
  s.showGrid = showGrid_->isChecked();
  s.drawingEdge = drawingEdge_;
  s.selectingRectangle = selectingRect_;
  s.start = start_;
  s.end = end_;
  s.rotationMode = rotationMode_;
  s.rotationCentre = rotCentre_;
  s.rotationCurrent = rotCurrent_;
  s.note = viewNote_;
}

void CGraphEditorDlg::updateBoxes() {
  const hc::BoxLook look = boxLook();
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  gridBox_->setLook(QString::number(view_.gridSpacing), look, 16, false);
  zoomBox_->setLook(QString::number(view_.zoom) + "X", look, 16, false);
  centreBox_->setLook(hundredths(view_.centreX) + ", " + hundredths(view_.centreY), look, 10, false);
  const QPointF m = worldAt(lastMouse_);
  const bool off = !mouseOnCanvas_ || !hc::EditorView::inDrawingField(m.x(), m.y());
  mouseBox_->setLook(off ? QStringLiteral("Off Canvas") : hundredths(m.x()) + ", " + hundredths(m.y()), look, 10, off);
  const hc::Graph2D& g = shownGraph();
  nodeCountBox_->setLook(QString::number(g.nodeCount()), look, 10, false);
  edgeCountBox_->setLook(QString::number(g.edgeCount()), look, 10, false);
  const QString node = g.howManySelectedNodes == 0   ? QStringLiteral("No Node Selected")
                       : g.howManySelectedNodes == 1 ? QString::number(g.selectedNodes.front()->id)
                                                     : QStringLiteral("Many Nodes Selected");
  QString edge = QStringLiteral("No Edge Selected");
  if (g.howManySelectedEdges == 1) {
    const hc::Graph2DEdge& e = *g.selectedEdges.front();
    edge = QStringLiteral("( %1 , %2 )").arg(e.node1->id).arg(e.node2->id);
  } else if (g.howManySelectedEdges > 1) {
    edge = QStringLiteral("Many Edges Selected");
  }
  selectedNodeBox_->setLook(node, look, 8, false);
  selectedEdgeBox_->setLook(edge, look, 8, false);
}

QString CGraphEditorDlg::boxText(const QString& name) const {
  const std::pair<const char*, hcui::PaintedLabel*> boxes[] = {
      {"Grid Spacing", gridBox_},    {"Zoom", zoomBox_},           {"Screen Center", centreBox_},
      {"Mouse Position", mouseBox_}, {"Node Count", nodeCountBox_}, {"Edge Count", edgeCountBox_},
      {"Selected Node", selectedNodeBox_}, {"Selected Edge", selectedEdgeBox_}};
  for (auto [n, box] : boxes)
    if (name == n) return box->text();
  return {};
}

void CGraphEditorDlg::recordEdit(hc::DrawingSnapshot snapshot) {
  if (!hc::sameStructure(snapshot, model_.drawing())) {
    history_.record(std::move(snapshot), model_.drawing());
  }
  userDrawing_ = hc::takeSnapshot(model_.drawing());
}

std::vector<hc::EdgeEnds> CGraphEditorDlg::selectedEdgeEnds() const {
  std::vector<hc::EdgeEnds> ends;
  for (const auto& e : shownGraph().selectedEdges) ends.emplace_back(e->node1->id, e->node2->id);
  return ends;
}

void CGraphEditorDlg::applyManual(const hc::ManualOutcome& outcome) {
  message(outcome.message);
  shown().unselectAll();
  if (outcome.decide && state() == hc::program_states::kRed) {
    model_.setProgramResult(outcome.result);
    model_.setProgramState(hc::program_states::kYellow);
  }
  refresh();
}

// --- buttons and keys ---

void CGraphEditorDlg::deleteAction() {
  if (rotationMode_) {
    message(hc::editor_messages::kCannotDeleteRotating);
    return;
  }
  if (state() == hc::program_states::kBlue) {
    auto snapshot = before();
    message(model_.drawing().deleteSelected().message);
    model_.drawing().unselectAll();
    recordEdit(std::move(snapshot));
    refresh();
    return;
  }
  applyManual(manual_.deleteEdge(working(), state(), choice(), selectedEdgeEnds()));
}

void CGraphEditorDlg::forceAction() { applyManual(manual_.forceEdge(working(), state(), choice(), selectedEdgeEnds())); }

void CGraphEditorDlg::runLookAheadAction() {
  const hc::ManualOutcome outcome = manual_.runLookAhead(working(), state(), choice());
  message(outcome.message);
  if (outcome.decide && state() == hc::program_states::kRed) {
    model_.setProgramResult(outcome.result);
    model_.setProgramState(hc::program_states::kYellow);
  }
  refresh();
}

void CGraphEditorDlg::cliquifyAction() {
  if (state() != hc::program_states::kBlue) return;
  auto snapshot = before();
  model_.drawing().cliquify();
  recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::clearAction() {
  if (state() == hc::program_states::kBlue && !rotationMode_ && !confirmDiscard()) return;
  auto snapshot = before();
  const hc::EditorStatus status = hc::clearDrawing(model_.drawing(), state(), rotationMode_);
  message(status.message);
  if (status) recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::newAction() {
  if (state() == hc::program_states::kBlue && !confirmDiscard()) return;
  if (state() != hc::program_states::kBlue) return;  // the drawing belongs to the submitted graph
  auto snapshot = before();
  hc::newDrawing(model_.drawing(), rotationMode_);
  pending_.reset();
  recordEdit(std::move(snapshot));
  model_.setCurrentFilePath({});
  history_.markSaved(model_.drawing());
  refresh();
}

void CGraphEditorDlg::copyAction() {
  message(hc::copySelection(clipboard_, model_.drawing(), state(), rotationMode_).message);
}

void CGraphEditorDlg::cutAction() {
  auto snapshot = before();
  const hc::EditorStatus status = hc::cutSelection(clipboard_, model_.drawing(), state(), rotationMode_);
  message(status.message);
  if (status) recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::pasteAction() {
  auto snapshot = before();
  const QPointF at = worldAt(lastMouse_);
  const hc::EditorStatus status =
      hc::pasteClipboard(clipboard_, model_.drawing(), state(), rotationMode_, mouseOnCanvas_, at.x(), at.y());
  message(status.message);
  if (status) recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::selectAllAction() {
  if (rotationMode_) return;
  shown().selectAllNodes();
  refresh();
}

void CGraphEditorDlg::zoomKey(bool in) {
  if (rotationMode_) return;
  in ? view_.zoomIn() : view_.zoomOut();
  refresh();
}

void CGraphEditorDlg::spinGrid(bool up) {
  view_.spinGrid(up);
  refresh();
}

void CGraphEditorDlg::centerGraphAction() {
  if (state() == hc::program_states::kBlue) {
    auto snapshot = before();
    model_.drawing().centerGraph();
    recordEdit(std::move(snapshot));
  } else {
    shown().centerGraph();
  }
  refresh();
}

void CGraphEditorDlg::recenterScreenAction() {
  view_.centreX = view_.centreY = 0.0;
  refresh();
}

void CGraphEditorDlg::submitAction() {
  if (model_.drawing().nodeCount() == 0) {
    message(hc::editor_messages::kNoVertices);
    return;
  }
  leaveRotation();
  userDrawing_ = hc::takeSnapshot(model_.drawing());
  model_.loadGraphRequest({static_cast<double>(hc::graph_source::kUserDrawn), 0, 0});
}

void CGraphEditorDlg::zoomToFitAction() {
  view_.setCanvasSize(canvas_->canvasWidth(), canvas_->canvasHeight());
  view_.zoomToFit(shownGraph());
  refresh();
}

void CGraphEditorDlg::undoAction() {
  const int s = state();
  if ((s == 2 || s == 3) && choice() == hc::algorithm_choices::kManualEdit) {
    hc::Graph* g = working();
    if (!g || !manual_.undo(*g)) return;
    if (s == 3) {
      suppressEntryPruning_ = true;
      model_.setProgramState(hc::program_states::kRed);
      suppressEntryPruning_ = false;
    }
    refresh();
    return;
  }
  if (s != 0 || rotationMode_) return;
  if (history_.undo(model_.drawing())) userDrawing_ = hc::takeSnapshot(model_.drawing());
  refresh();
}

void CGraphEditorDlg::redoAction() {
  const int s = state();
  if (s == 2 && choice() == hc::algorithm_choices::kManualEdit) {
    hc::Graph* g = working();
    hc::ManualOutcome outcome;
    if (!g || !manual_.redo(*g, &outcome)) return;
    applyManual(outcome);
    return;
  }
  if (s != 0 || rotationMode_) return;
  if (history_.redo(model_.drawing())) userDrawing_ = hc::takeSnapshot(model_.drawing());
  refresh();
}

