#include "ui/graph_generation_dlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "generators/generation_control.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace {

constexpr const char* kMessageCaption = "Hamiltonian Cycles";

struct Family {
  const char* caption;
  int group;
  const char* label1;  // null: the edit is not shown
  const char* label2;
  const char* tip;
};

// By source type 1..12.
constexpr std::array<Family, 12> kFamilies = {{
    {"Random Graph With Edge Probability", 0,
     "Number Of Nodes:", "Edge Probability:", "Each pair of nodes is joined with the probability given"},
    {"Random Regular Graph", 0, "Number Of Nodes:", "Degree:", "Every node gets the degree given, at random"},
    {"n-Node Graph With m Random Edges", 0,
     "Number Of Nodes:", "Number Of Edges:", "The number of edges given, between random pairs of nodes"},
    {"Toroidal Grid Graph", 1, "Torus Height:", "Torus Width:",
     "A grid whose rows and columns wrap around (drawn with their wrap-around edges bowed)"},
    {"Knight's Tour Graph", 1,
     "Chess Board Rows:", "Chess Board Columns:", "The squares of a chess board joined by knight moves"},
    {"n-Cube Graph", 2, "n-Cube Dimension:", nullptr, "The hypercube of the dimension given"},
    {"ICCS Graph With No Middle Edges", 2, "Number Of Components:", nullptr,
     "Components joined in a ring (a graph that takes the methods long)"},
    {"Complete Graph", 2, "Number Of Nodes:", nullptr, "Every two nodes joined"},
    {"Random 3-SAT To Hamiltonian Cycle Reduction", 3, "Number Of Variables:", "Clause Multiplier (c):",
     "A random 3-SAT formula turned into a graph that has a Hamiltonian cycle exactly when the formula is "
     "satisfiable"},
    {"Graph File (.txt, .hcp, graph6, DIMACS, ...)", 4, nullptr, nullptr,
     "Reads a graph in any format the program knows (an open dialog follows): adjacency text (.txt), "
     "TSPLIB HCP (.hcp), graph6 (.g6), sparse6 (.s6), DIMACS (.col, .dimacs), edge lists (.edges, .el), "
     "drawings (.g) and meshes (.obj)"},
    {"Drawing File (.g)", 4, nullptr, nullptr,
     "Reads a Graph Editor drawing (.g) into the editor and submits it"},
    {"Mesh File (.obj)", 4, nullptr, nullptr, "Reads the vertices and edges of a mesh (.obj)"},
}};

constexpr std::array<const char*, 5> kGroupCaptions = {"Random Graphs", "Square Grid Graphs", "Other Graphs",
                                                       "Reductions", "Disk-Read Graphs"};
constexpr std::array<const char*, 5> kAreaCaptions = {
    "Random Graph Parameters", "Square Grid Graph Parameters", "Other Graph Parameters",
    "Reduction Parameters", "Disk-Read Graph Parameters"};

}  // namespace

CGraphGenerationDlg::CGraphGenerationDlg(hc::ProgramModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      progress_(std::make_shared<std::atomic<double>>(-1.0)),
      job_([](std::function<void()> task) {
        // qApp lives longer than any page; the job drops the task if the page has gone.
        QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
      }) {
  auto* columns = new QHBoxLayout(this);
  auto* classes = new QVBoxLayout;
  columns->addLayout(classes);
  for (int g = 0; g < 5; ++g) {
    groups_[g] = new QGroupBox(kGroupCaptions[g], this);
    new QVBoxLayout(groups_[g]);
    classes->addWidget(groups_[g]);
  }
  classes->addStretch(1);
  for (int i = 0; i < 12; ++i) {
    radios_[i] = new QRadioButton(kFamilies[i].caption, groups_[kFamilies[i].group]);
    radios_[i]->setToolTip(kFamilies[i].tip);
    groups_[kFamilies[i].group]->layout()->addWidget(radios_[i]);
    // The twelve buttons sit in five boxes and must all be turned off by a state change,
    // so one-of-twelve is kept by hand (an auto-exclusive button refuses to be unchecked).
    radios_[i]->setAutoExclusive(false);
    connect(radios_[i], &QRadioButton::clicked, this, [this, i] {
      for (int j = 0; j < 12; ++j) radios_[j]->setChecked(j == i);
      radioClicked();
    });
  }

  auto* right = new QVBoxLayout;
  columns->addLayout(right, 1);
  auto* stack = new QGridLayout;
  right->addLayout(stack);
  const QPixmap loadPicture = hcui::stateButtonPixmap(hc::ProgramState::kEditing);
  for (int a = 0; a < 5; ++a) {
    Area& area = areas_[a];
    area.box = new QGroupBox(kAreaCaptions[a], this);
    auto* grid = new QGridLayout(area.box);
    for (int k = 0; k < 2; ++k) {
      area.labels[k] = new QLabel(k == 0 ? "Parameter 1:" : "Parameter 2:", area.box);
      area.edits[k] = new QLineEdit(area.box);
      area.edits[k]->setToolTip("A parameter of the graph family (Enter loads the graph)");
      grid->addWidget(area.labels[k], k, 0);
      grid->addWidget(area.edits[k], k, 1);
      connect(area.edits[k], &QLineEdit::returnPressed, this, [this, a] { loadPressed(a); });
    }
    // The disk-read area shows its load button without the box around it.
    area.load = new QPushButton(a == 4 ? static_cast<QWidget*>(this) : area.box);
    area.load->setIcon(QIcon(loadPicture));
    area.load->setIconSize(loadPicture.size());
    area.load->setFixedSize(loadPicture.size() + QSize(6, 6));
    area.load->setToolTip(
        "LOAD GRAPH: builds the graph and makes it the graph to solve (Enter in a parameter box)");
    hcui::actOncePerDoubleClick(*area.load);
    connect(area.load, &QPushButton::clicked, this, [this, a] { loadPressed(a); });
    if (a == 4) {
      stack->addWidget(area.box, 0, 0, Qt::AlignTop);
      stack->addWidget(area.load, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    } else {
      grid->addWidget(area.load, 2, 0, 1, 2, Qt::AlignLeft);
      stack->addWidget(area.box, 0, 0, Qt::AlignTop);
    }
  }

  busyPanel_ = new QWidget(this);
  auto* busy = new QHBoxLayout(busyPanel_);
  busy->addWidget(new QLabel("Generating the graph...", busyPanel_));
  progressBar_ = new QProgressBar(busyPanel_);
  progressBar_->setRange(0, 0);
  busy->addWidget(progressBar_, 1);
  cancelButton_ = new QPushButton("Cancel", busyPanel_);
  cancelButton_->setToolTip("Stops building the graph; the program stays without a graph");
  connect(cancelButton_, &QPushButton::clicked, this, &CGraphGenerationDlg::cancelGeneration);
  busy->addWidget(cancelButton_);
  right->addWidget(busyPanel_);
  right->addStretch(1);
  busyPanel_->hide();

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(33);
  connect(progressTimer_, &QTimer::timeout, this, &CGraphGenerationDlg::showProgress);

  showParameterArea();
}

CGraphGenerationDlg::~CGraphGenerationDlg() = default;

int CGraphGenerationDlg::areaOf(int32_t sourceType) {
  return sourceType >= 1 && sourceType <= 12 ? kFamilies[sourceType - 1].group : -1;
}

QRadioButton* CGraphGenerationDlg::radioButton(int32_t sourceType) const {
  return areaOf(sourceType) < 0 ? nullptr : radios_[sourceType - 1];
}

QLineEdit* CGraphGenerationDlg::parameterEdit(int32_t sourceType, int index) const {
  const int a = areaOf(sourceType);
  return a < 0 || index < 0 || index > 1 ? nullptr : areas_[a].edits[index];
}

QPushButton* CGraphGenerationDlg::loadButton(int32_t sourceType) const {
  const int a = areaOf(sourceType);
  return a < 0 ? nullptr : areas_[a].load;
}

void CGraphGenerationDlg::setPageState(hc::ProgramState state) {
  // Whatever moved the program on has taken over from a build still running.
  if (job_.running()) cancelGeneration();
  for (QRadioButton* radio : radios_) radio->setChecked(false);
  selectedFamily_ = -1;
  showParameterArea();
  for (QRadioButton* radio : radios_) radio->setEnabled(state == hc::ProgramState::kEditing);
  for (QGroupBox* group : groups_) group->setEnabled(state == hc::ProgramState::kEditing);
}

void CGraphGenerationDlg::radioClicked() {
  if (model_.programState() != hc::ProgramState::kEditing || job_.running()) return;
  int32_t family = -1;
  for (int i = 0; i < 12; ++i)
    if (radios_[i]->isChecked()) family = i + 1;
  if (family == selectedFamily_) return;
  selectedFamily_ = family;
  showParameterArea();
  showChosenArea();
}

void CGraphGenerationDlg::showParameterArea() {
  for (Area& area : areas_) {
    area.box->hide();
    area.load->hide();
    for (int k = 0; k < 2; ++k) {
      area.labels[k]->hide();
      area.edits[k]->hide();
    }
  }
  const int a = areaOf(selectedFamily_);
  if (a < 0) return;
  Area& area = areas_[a];
  area.load->show();
  if (a == 4) return;  // disk-read: the load button alone
  area.box->show();
  const Family& family = kFamilies[selectedFamily_ - 1];
  const char* labels[2] = {family.label1, family.label2};
  for (int k = 0; k < 2; ++k) {
    if (!labels[k]) continue;
    area.labels[k]->setText(labels[k]);
    area.edits[k]->setToolTip(QString(labels[k]).chopped(1) + " (Enter loads the graph)");
    area.labels[k]->show();
    area.edits[k]->show();
  }
  area.edits[0]->setFocus();
}

void CGraphGenerationDlg::showChosenArea() {
  // In a small window the page scrolls: the area just chosen (or the disk-read load
  // button) is brought into sight, once the layout has placed it.
  const int a = areaOf(selectedFamily_);
  if (a < 0) return;
  QScrollArea* scroller = nullptr;
  for (QWidget* w = parentWidget(); w && !scroller; w = w->parentWidget())
    scroller = qobject_cast<QScrollArea*>(w);
  if (!scroller) return;
  if (layout()) layout()->activate();
  QWidget* shown = a == 4 ? static_cast<QWidget*>(areas_[a].load) : areas_[a].box;
  scroller->ensureWidgetVisible(shown, 10, 10);
}

void CGraphGenerationDlg::loadPressed(int a) {
  if (model_.programState() != hc::ProgramState::kEditing || job_.running()) return;
  if (areaOf(selectedFamily_) != a) return;
  const Area& area = areas_[a];
  const hc::LoadButtonOutcome outcome = hc::evaluateLoadButton(
      selectedFamily_, area.edits[0]->text().toStdString(), area.edits[1]->text().toStdString());
  for (const std::string& message : outcome.messages) model_.view().showMessage(message, kMessageCaption);
  if (!outcome.accepted) return;
  if (hc::shouldGenerateInBackground(outcome)) {
    startGeneration(outcome.request);
    return;
  }
  model_.loadGraphRequest(outcome.request);
}

void CGraphGenerationDlg::startGeneration(const hc::GraphRequest& request) {
  progress_->store(-1.0);
  auto progress = progress_;
  job_.start(
      [request, progress](const hc::StopToken& stop) {
        Generated done;
        done.built = hc::buildRequestedGraph(request, &stop, [progress](double f) { progress->store(f); });
        // The working copy of state 1 is made here too: copying a million nodes is felt.
        if (done.built.graph && !stop.stopRequested())
          done.workingCopy = std::make_shared<hc::Graph>(*done.built.graph);
        return done;
      },
      [this, request](Generated done) { generationDone(request, std::move(done)); });
  setBusy(true);
}

void CGraphGenerationDlg::generationDone(const hc::GraphRequest& request, Generated done) {
  setBusy(false);
  if (!done.built.graph) {
    if (done.built.error != hc::kGenerationCancelled)
      model_.view().showMessage(done.built.error, kMessageCaption);
    return;
  }
  model_.installGeneratedGraph(request, std::move(done.built.graph), std::move(done.workingCopy));
}

void CGraphGenerationDlg::cancelGeneration() {
  job_.abandon();
  setBusy(false);
}

void CGraphGenerationDlg::setBusy(bool busy) {
  for (QGroupBox* group : groups_)
    group->setEnabled(!busy && model_.programState() == hc::ProgramState::kEditing);
  for (Area& area : areas_) {
    area.box->setEnabled(!busy);
    area.load->setEnabled(!busy);
  }
  progressBar_->setRange(0, 0);
  busyPanel_->setVisible(busy);
  if (busy) {
    progressTimer_->start();
    cancelButton_->setFocus();
  } else {
    progressTimer_->stop();
  }
}

void CGraphGenerationDlg::showProgress() {
  const double fraction = progress_->load();
  if (fraction < 0) return;  // busy bar until the first report
  if (progressBar_->maximum() == 0) progressBar_->setRange(0, 1000);
  progressBar_->setValue(static_cast<int>(fraction * 1000.0));
}
