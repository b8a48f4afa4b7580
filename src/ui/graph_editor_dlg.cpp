// The Graph Editor page (see graph_editor_dlg.h): the side panel's builders, keys,
// visibility by state, display boxes, manual edit mode and undo/redo. Files, export and
// Copy To Editor are in graph_editor_files.cpp.
#include "ui/graph_editor_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "app/program_states.h"
#include "core/number_format.h"
#include "editor/drawing_conversion.h"
#include "io/drawing_files.h"
#include "run/graph_information.h"
#include "schc/stone_carver.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace {

constexpr const char* kCaption = "Hamiltonian Cycles";

QString hundredths(double v) {
  double t = std::trunc(v * 100.0) / 100.0;
  if (t == 0.0) t = 0.0;  // no "-0.00"
  return QString::fromStdString(hc::formatNumber(t, 2));
}

hc::BoxLook boxLook() {
  return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}};
}

hcui::PaintedLabel* makeBox(QWidget* parent, int minWidth, const QString& tip) {
  auto* box = new hcui::PaintedLabel(parent);
  box->setMinimumSize(minWidth, 24);
  box->setToolTip(tip);
  return box;
}

QPushButton* makeButton(const QString& text, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

CGraphEditorDlg::CGraphEditorDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  pane_ = new hcui::GraphEditorPane(model_, this);
  pane_->onEdit = [this](hc::DrawingSnapshot snapshot) { recordEdit(std::move(snapshot)); };
  pane_->onMessage = [this](const std::string& text) { message(text); };
  pane_->onRefresh = [this] { refresh(); };
  pane_->onViewChanged = [this] { updateVisibility(); };
  pane_->forcedEdges = [this] { return forcedEdgesGraph(); };

  // The controls beside the canvas scroll when the window is too low for them all.
  auto* sideArea = new QScrollArea(this);
  sideArea->setFrameShape(QFrame::NoFrame);
  sideArea->setWidgetResizable(true);
  sideArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* sidePanel = new QWidget(sideArea);
  sideArea->setWidget(sidePanel);
  auto* side = new QVBoxLayout(sidePanel);
  side->setContentsMargins(0, 0, 4, 0);
  buildViewControls(sidePanel, side);
  buildEditGroups(sidePanel, side);
  buildStateButtons(sidePanel, side);
  buildFileButtons(sidePanel, side);
  side->addStretch();
  sideArea->setMinimumWidth(sidePanel->sizeHint().width() +
                            sideArea->verticalScrollBar()->sizeHint().width());

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(pane_, 1);
  layout->addWidget(sideArea);
  bindKeys();
  setPageState(model_.programState());
}

// Grid, zoom, centre and mouse boxes.
void CGraphEditorDlg::buildViewControls(QWidget* sidePanel, QVBoxLayout* side) {
  auto* viewBox = new QGridLayout;
  auto* showGrid = new QCheckBox(QStringLiteral("Show Grid"), sidePanel);
  showGrid->setChecked(true);
  showGrid->setFocusPolicy(Qt::NoFocus);
  showGrid->setToolTip(QStringLiteral("Shows the grid and the axes"));
  connect(showGrid, &QCheckBox::toggled, this, [this](bool on) {
    pane_->showGrid = on;
    refresh();
  });
  auto* gridUp = new QToolButton(sidePanel);
  gridUp->setArrowType(Qt::UpArrow);
  gridUp->setToolTip(QStringLiteral("Finer grid (spacing halved)"));
  auto* gridDown = new QToolButton(sidePanel);
  gridDown->setArrowType(Qt::DownArrow);
  gridDown->setToolTip(QStringLiteral("Coarser grid (spacing doubled)"));
  connect(gridUp, &QToolButton::clicked, this, [this] { spinGrid(true); });
  connect(gridDown, &QToolButton::clicked, this, [this] { spinGrid(false); });
  gridBox_ = makeBox(sidePanel, 50, QStringLiteral("Grid spacing"));
  zoomBox_ = makeBox(sidePanel, 50, QStringLiteral("Zoom (Z in, X out, Ctrl+0 to fit)"));
  centreBox_ = makeBox(sidePanel, 110, QStringLiteral("The world point in the middle of the canvas"));
  mouseBox_ = makeBox(sidePanel, 110, QStringLiteral("The world point under the mouse"));
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(gridUp);
  spin->addWidget(gridDown);
  viewBox->addWidget(showGrid, 0, 0);
  viewBox->addLayout(spin, 0, 1);
  viewBox->addWidget(gridBox_, 0, 2);
  viewBox->addWidget(zoomBox_, 0, 3);
  viewBox->addWidget(centreBox_, 1, 0, 1, 2);
  viewBox->addWidget(mouseBox_, 1, 2, 1, 2);
  side->addLayout(viewBox);
}

// "Edit Graph" (state 0) and "Manual Edit Mode".
void CGraphEditorDlg::buildEditGroups(QWidget* sidePanel, QVBoxLayout* side) {
  // "Edit Graph" and "Manual Edit Mode" share one place and one shape: two display boxes,
  // two buttons side by side and a wide one below.
  struct Box {
    const char* caption;
    hcui::PaintedLabel** box;
    int width;
  };
  struct Action {
    const char* text;
    void (CGraphEditorDlg::*slot)();
    const char* tip;
  };
  auto group = [&](const char* title, Box first, Box second, Action left, Action right, Action wide) {
    auto* box = new QGroupBox(QString::fromLatin1(title), sidePanel);
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const Box& b : {first, second}) {
      *b.box = makeBox(box, b.width, QString());
      grid->addWidget(new QLabel(QString::fromLatin1(b.caption), box), row, 0);
      grid->addWidget(*b.box, row++, 1);
    }
    int column = 0;
    for (const Action& a : {left, right, wide}) {
      QPushButton* button = makeButton(QString::fromLatin1(a.text), box);
      button->setToolTip(QString::fromLatin1(a.tip));
      connect(button, &QPushButton::clicked, this, a.slot);
      if (column < 2)
        grid->addWidget(button, row, column++);
      else
        grid->addWidget(button, row + 1, 0, 1, 2);
    }
    side->addWidget(box);
    return box;
  };
  editGroup_ =
      group("Edit Graph", {"Node Count:", &nodeCountBox_, 60}, {"Edge Count:", &edgeCountBox_, 60},
            {"Cliquify", &CGraphEditorDlg::cliquifyAction, "Joins every two selected nodes"},
            {"Clear", &CGraphEditorDlg::clearAction, "Deletes the whole drawing"},
            {"Delete", &CGraphEditorDlg::deleteAction, "Deletes the selected nodes and edges (Delete)"});
  manualGroup_ = group("Manual Edit Mode", {"Selected Node:", &selectedNodeBox_, 110},
                       {"Selected Edge:", &selectedEdgeBox_, 110},
                       {"Delete Edge", &CGraphEditorDlg::deleteAction, "Deletes the selected edge (Delete)"},
                       {"Force Edge", &CGraphEditorDlg::forceAction, "Forces the selected edge (Insert)"},
                       {"Run Look Ahead Sequencing", &CGraphEditorDlg::runLookAheadAction,
                        "Runs Look Ahead Sequencing on the graph being edited"});
}

// Submit Graph and the big state button, which take turns in one place, and OUTPUT HC.
void CGraphEditorDlg::buildStateButtons(QWidget* sidePanel, QVBoxLayout* side) {
  // Submit, the state button in its "Manually Edit Graph" frame, OUTPUT HC.
  auto* big = new QHBoxLayout;
  submitButton_ = makeButton(QString(), sidePanel);
  submitButton_->setIcon(QIcon(hcui::stateButtonPixmap(
      QStringLiteral("SUBMIT GRAPH"), hcui::toQColor(hc::stateLook(hc::ProgramState::kEditing).fill))));
  submitButton_->setIconSize(QSize(74, 74));
  submitButton_->setToolTip(QStringLiteral("Submits the drawing as the graph to solve"));
  hcui::actOncePerDoubleClick(*submitButton_);
  connect(submitButton_, &QPushButton::clicked, this, &CGraphEditorDlg::submitAction);
  manualEditFrame_ = new QGroupBox(sidePanel);
  auto* frameLayout = new QVBoxLayout(manualEditFrame_);
  stateButton_ = makeButton(QString(), manualEditFrame_);
  stateButton_->setIconSize(QSize(74, 74));
  stateButton_->setToolTip(
      QStringLiteral("Edit the graph by hand (SOLVE GRAPH), leave (ABORT) or start over (RESET): %1")
          .arg(hcui::kStateButtonKey.toString(QKeySequence::NativeText)));
  hcui::actOncePerDoubleClick(*stateButton_);
  hcui::pressOnKey(*stateButton_, hcui::kStateButtonKey);
  frameLayout->addWidget(stateButton_);
  connect(stateButton_, &QPushButton::clicked, this, [this] { model_.pageButtonPressed(hc::kEditorPage); });
  outputGroup_ = new QGroupBox(QStringLiteral("Output HC"), sidePanel);
  auto* outLayout = new QVBoxLayout(outputGroup_);
  auto* output = makeButton(QStringLiteral("OUTPUT HC"), outputGroup_);
  output->setToolTip(QStringLiteral("Writes the Hamiltonian cycle found to a file"));
  outLayout->addWidget(output);
  connect(output, &QPushButton::clicked, this, &CGraphEditorDlg::outputHcAction);
  // "Submit Graph" (state 0) and the state button (states 1 to 3) take turns in one place.
  auto* turns = new QGridLayout;
  turns->addWidget(submitButton_, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  turns->addWidget(manualEditFrame_, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  big->addLayout(turns);
  big->addWidget(outputGroup_);
  big->addStretch();
  side->addLayout(big);
}

void CGraphEditorDlg::buildFileButtons(QWidget* sidePanel, QVBoxLayout* side) {
  // View and file buttons, then the additions beyond the classic set; each with its keys.
  auto* buttons = new QGridLayout;
  auto add = [&](const QString& text, int row, int col, auto slot, const char* tip) {
    QPushButton* b = makeButton(text, sidePanel);
    b->setToolTip(QString::fromLatin1(tip));
    buttons->addWidget(b, row, col);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
  };
  add(QStringLiteral("Center Graph"), 0, 0, &CGraphEditorDlg::centerGraphAction,
      "Moves the drawing so its centre is at the origin");
  add(QStringLiteral("Re-center Screen"), 0, 1, &CGraphEditorDlg::recenterScreenAction,
      "Puts the origin in the middle of the canvas");
  add(
      QStringLiteral("Embed In Plane"), 1, 0, [this] { message("Not Implemented Yet"); },
      "Not implemented yet");
  add(QStringLiteral("Zoom To Fit"), 1, 1, &CGraphEditorDlg::zoomToFitAction,
      "Shows the whole graph (Ctrl+0)");
  saveAsButton_ = add(QStringLiteral("Save As..."), 2, 0, &CGraphEditorDlg::saveAsAction,
                      "Saves the drawing under a new name, as .g or .txt (Ctrl+Shift+S; Ctrl+S saves again)");
  loadButton_ = add(QStringLiteral("Load"), 2, 1, &CGraphEditorDlg::loadAction,
                    "Opens a drawing (.g) (Ctrl+L, Ctrl+O)");
  add(QStringLiteral("Undo"), 3, 0, &CGraphEditorDlg::undoAction, "Undoes the last change (Ctrl+Z)");
  add(QStringLiteral("Redo"), 3, 1, &CGraphEditorDlg::redoAction,
      "Redoes what was undone (Ctrl+Y, Ctrl+Shift+Z)");
  add(QStringLiteral("Export Picture..."), 4, 0, &CGraphEditorDlg::exportAction,
      "Writes the canvas as a PNG or SVG picture");
  copyToEditorButton_ = add(QStringLiteral("Copy To Editor"), 4, 1, &CGraphEditorDlg::copyToEditorAction,
                            "Makes this picture the drawing, to edit it");
  for (QWidget* w : {static_cast<QWidget*>(saveAsButton_), static_cast<QWidget*>(loadButton_),
                     static_cast<QWidget*>(copyToEditorButton_)})
    hcui::keepPlaceWhenHidden(*w);
  side->addLayout(buttons);
}

void CGraphEditorDlg::bindKeys() {
  // The page's keys act wherever the focus is in the window while the page is shown (after
  // a message box, say, the focus may be on the tab bar).
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
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, k.action);
  }
  for (auto [key, in] : {std::pair{Qt::Key_Z, true}, std::pair{Qt::Key_X, false}}) {
    auto* s = new QShortcut(QKeySequence(key), this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, [this, in = in] { zoomKey(in); });
  }
}

// --- state ---

void CGraphEditorDlg::setPageState(hc::ProgramState s) {
  stateButtonAllowed_ = true;  // hidden again by the model while another page's method runs
  if (s == hc::ProgramState::kEditing) {
    pane_->dropGraphView();
    manual_.clear();
    pruned_.reset();
    prunedOf_ = nullptr;
    // A generated or loaded graph cleared the drawing; the user's own comes back, as the
    // user last saw it.
    if (model_.drawing().nodeCount() == 0 && !userDrawing_.bytes.empty())
      hc::restoreSnapshot(userDrawing_, model_.drawing());
  } else if (s == hc::ProgramState::kSubmitted) {
    enterSubmitted();
  }
  updateVisibility();
  if (s == hc::ProgramState::kRunning && !suppressEntryPruning_ &&
      choice() == hc::AlgorithmChoice::kManualEdit) {
    manual_.clear();
    if (hc::Graph* g = working()) {
      const hc::HamiltonicityState verdict = hc::fastInitialPruning(*g, 65535, 0);
      if (verdict != hc::kUndecided) {
        model_.setProgramResult(hc::programResultOf(g->isHamiltonian));
        model_.setProgramState(hc::ProgramState::kDecided);
        return;  // the nested notification has set up state 3
      }
    }
  }
  refresh();
}

void CGraphEditorDlg::enterSubmitted() {
  manual_.clear();
  const hc::GraphSource source = model_.graphSourceType();
  if (source == hc::GraphSource::kUserDrawnGraph || source == hc::GraphSource::kDrawingFile) {
    // A drawing read from a file is shown whole; the drawing a later Reset brings back.
    const bool fromFile =
        source == hc::GraphSource::kDrawingFile && !hc::sameStructure(userDrawing_, model_.drawing());
    userDrawing_ = hc::takeSnapshot(model_.drawing());
    if (fromFile) {
      history_.markSaved(model_.drawing());  // as the file holds it: nothing of it is unsaved
      zoomToFitAction();
    }
  }
  pane_->showSubmittedGraph();
  // The forced edges the canvas shows in orange are those of the Information page.
  const std::shared_ptr<hc::Graph> submitted = model_.submittedGraph();
  if (submitted && prunedOf_ != submitted.get() && submitted->howManyNodes <= hcui::kMaxViewNodes &&
      !hc::graphInformationTakesLong(*submitted)) {
    pruned_ = hc::pruneAtRoot(*submitted).graph;
    prunedOf_ = submitted.get();
  }
}

const hc::Graph* CGraphEditorDlg::forcedEdgesGraph() const {
  const hc::ProgramState s = state();
  if ((s != hc::ProgramState::kSubmitted && s != hc::ProgramState::kRunning) ||
      choice() == hc::AlgorithmChoice::kManualEdit)
    return nullptr;
  return pruned_ && prunedOf_ == model_.submittedGraph().get() ? pruned_.get() : nullptr;
}

void CGraphEditorDlg::setStateButtonVisible(bool visible) {
  stateButtonAllowed_ = visible;
  updateVisibility();
}

void CGraphEditorDlg::updateVisibility() {
  using enum hc::ProgramState;
  const hc::ProgramState s = state();
  const bool manual = choice() == hc::AlgorithmChoice::kManualEdit;
  const bool hasNode = shownGraph().nodeCount() > 0;
  editGroup_->setVisible(s == kEditing);
  manualGroup_->setVisible((s == kRunning || s == kDecided) && manual);
  outputGroup_->setVisible(s == kDecided && model_.programResult() == hc::ProgramResult::kHamiltonian);
  submitButton_->setVisible(s == kEditing);
  const bool buttonShown = ((s == kSubmitted || s == kRunning) && hasNode) || s == kDecided;
  const bool buttonVisible = buttonShown && stateButtonAllowed_;
  stateButton_->setVisible(buttonVisible);
  stateButton_->setIcon(QIcon(hcui::stateButtonPixmap(s)));
  // The frame around the state button is shown in state 1 only; the button may stand alone.
  // (Not the button's isVisibleTo: inside a hidden frame it is never visible, so a frame hidden
  // while another method ran would keep the lower RESET hidden in state 3.)
  const bool frameShown = s == kSubmitted && hasNode;
  manualEditFrame_->setTitle(frameShown ? QStringLiteral("Manually Edit Graph") : QString());
  manualEditFrame_->setFlat(!frameShown);
  manualEditFrame_->setVisible(buttonVisible || frameShown);
  saveAsButton_->setVisible(s == kEditing);
  loadButton_->setVisible(s == kEditing);
  copyToEditorButton_->setVisible(hasGraphView());
}

bool CGraphEditorDlg::controlShown(const QString& name) const {
  if (name == "Edit Graph") return editGroup_->isVisibleTo(this);
  if (name == "Manual Edit Mode") return manualGroup_->isVisibleTo(this);
  if (name == "Output HC") return outputGroup_->isVisibleTo(this);
  if (name == "Submit Graph") return submitButton_->isVisibleTo(this);
  if (name == "stateButton") return stateButton_->isVisibleTo(this);
  if (name == "Manually Edit Graph")
    return !manualEditFrame_->title().isEmpty() && manualEditFrame_->isVisibleTo(this);
  if (name == "Save As...") return saveAsButton_->isVisibleTo(this);
  if (name == "Load") return loadButton_->isVisibleTo(this);
  return false;
}

void CGraphEditorDlg::message(const std::string& text) {
  if (!text.empty()) model_.view().showMessage(text, kCaption);
}

void CGraphEditorDlg::refresh() {
  updateBoxes();
  canvas()->update();
}

void CGraphEditorDlg::updateBoxes() {
  const hc::BoxLook look = boxLook();
  const hc::EditorView& v = view();
  gridBox_->setLook(QString::number(v.gridSpacing), look, 16, false);
  zoomBox_->setLook(QString::number(v.zoom) + "X", look, 16, false);
  centreBox_->setLook(hundredths(v.centreX) + ", " + hundredths(v.centreY), look, 10, false);
  const hc::CanvasPoint mouse = pane_->interaction().lastMouse();
  const QPointF m = pane_->worldAt(QPoint(mouse.x, mouse.y));
  const bool off = !pane_->interaction().mouseOnCanvas() || !hc::EditorView::inDrawingField(m.x(), m.y());
  mouseBox_->setLook(off ? QStringLiteral("Off Canvas") : hundredths(m.x()) + ", " + hundredths(m.y()), look,
                     10, off);
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
      {"Grid Spacing", gridBox_},          {"Zoom", zoomBox_},
      {"Screen Center", centreBox_},       {"Mouse Position", mouseBox_},
      {"Node Count", nodeCountBox_},       {"Edge Count", edgeCountBox_},
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

void CGraphEditorDlg::applyManual(const hc::ManualOutcome& outcome, bool unselect) {
  message(outcome.message);
  if (unselect) shown().unselectAll();
  if (outcome.decide && state() == hc::ProgramState::kRunning) {
    model_.setProgramResult(outcome.result);
    model_.setProgramState(hc::ProgramState::kDecided);
  }
  refresh();
}

// --- buttons and keys ---

void CGraphEditorDlg::deleteAction() {
  if (rotating()) {
    message(hc::editor_messages::kCannotDeleteRotating);
    return;
  }
  if (editing()) {
    auto snapshot = before();
    message(model_.drawing().deleteSelected().message);
    model_.drawing().unselectAll();
    recordEdit(std::move(snapshot));
    refresh();
    return;
  }
  applyManual(manual_.deleteEdge(working(), state(), choice(), selectedEdgeEnds()));
}

void CGraphEditorDlg::forceAction() {
  applyManual(manual_.forceEdge(working(), state(), choice(), selectedEdgeEnds()));
}

void CGraphEditorDlg::runLookAheadAction() {
  applyManual(manual_.runLookAhead(working(), state(), choice()), false);
}

void CGraphEditorDlg::cliquifyAction() {
  if (!editing()) return;
  auto snapshot = before();
  model_.drawing().cliquify();
  recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::clearAction() {
  if (editing() && !rotating() && !confirmDiscard()) return;
  auto snapshot = before();
  const hc::EditorStatus status = hc::clearDrawing(model_.drawing(), state(), rotating());
  message(status.message);
  if (status) recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::newAction() {
  if (editing() && !confirmDiscard()) return;
  if (!editing()) return;  // the drawing belongs to the submitted graph
  auto snapshot = before();
  bool rotationMode = rotating();
  hc::newDrawing(model_.drawing(), rotationMode);
  pane_->interaction().forget();
  recordEdit(std::move(snapshot));
  model_.setCurrentFilePath({});
  history_.markSaved(model_.drawing());
  refresh();
}

void CGraphEditorDlg::copyAction() {
  message(hc::copySelection(clipboard_, model_.drawing(), state(), rotating()).message);
}

void CGraphEditorDlg::cutAction() {
  auto snapshot = before();
  const hc::EditorStatus status = hc::cutSelection(clipboard_, model_.drawing(), state(), rotating());
  message(status.message);
  if (status) recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::pasteAction() {
  auto snapshot = before();
  const hc::CanvasPoint mouse = pane_->interaction().lastMouse();
  const QPointF at = pane_->worldAt(QPoint(mouse.x, mouse.y));
  const hc::EditorStatus status = hc::pasteClipboard(clipboard_, model_.drawing(), state(), rotating(),
                                                     pane_->interaction().mouseOnCanvas(), at.x(), at.y());
  message(status.message);
  if (status) recordEdit(std::move(snapshot));
  refresh();
}

void CGraphEditorDlg::selectAllAction() {
  if (rotating()) return;
  shown().selectAllNodes();
  refresh();
}

void CGraphEditorDlg::zoomKey(bool in) {
  if (rotating()) return;
  in ? view().zoomIn() : view().zoomOut();
  refresh();
}

void CGraphEditorDlg::spinGrid(bool up) {
  view().spinGrid(up);
  refresh();
}

void CGraphEditorDlg::centerGraphAction() {
  if (editing()) {
    auto snapshot = before();
    model_.drawing().centerGraph();
    recordEdit(std::move(snapshot));
  } else {
    shown().centerGraph();
  }
  refresh();
}

void CGraphEditorDlg::recenterScreenAction() {
  view().centreX = view().centreY = 0.0;
  refresh();
}

void CGraphEditorDlg::submitAction() {
  if (model_.drawing().nodeCount() == 0) {
    message(hc::editor_messages::kNoVertices);
    return;
  }
  pane_->interaction().leaveRotation(model_.drawing());
  userDrawing_ = hc::takeSnapshot(model_.drawing());
  model_.loadGraphRequest({hc::GraphSource::kUserDrawnGraph, 0, 0});
}

void CGraphEditorDlg::zoomToFitAction() {
  pane_->zoomToFit();
}

void CGraphEditorDlg::undoAction() {
  const hc::ProgramState s = state();
  const bool manual = choice() == hc::AlgorithmChoice::kManualEdit;
  if ((s == hc::ProgramState::kRunning || s == hc::ProgramState::kDecided) && manual) {
    hc::Graph* g = working();
    if (!g || !manual_.undo(*g)) return;
    if (s == hc::ProgramState::kDecided) {
      suppressEntryPruning_ = true;
      model_.setProgramState(hc::ProgramState::kRunning);
      suppressEntryPruning_ = false;
    }
    refresh();
    return;
  }
  if (!editing() || rotating()) return;
  if (history_.undo(model_.drawing())) userDrawing_ = hc::takeSnapshot(model_.drawing());
  refresh();
}

void CGraphEditorDlg::redoAction() {
  if (state() == hc::ProgramState::kRunning && choice() == hc::AlgorithmChoice::kManualEdit) {
    hc::Graph* g = working();
    hc::ManualOutcome outcome;
    if (!g || !manual_.redo(*g, &outcome)) return;
    applyManual(outcome);
    return;
  }
  if (!editing() || rotating()) return;
  if (history_.redo(model_.drawing())) userDrawing_ = hc::takeSnapshot(model_.drawing());
  refresh();
}
