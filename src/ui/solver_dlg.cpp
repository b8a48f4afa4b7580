#include "ui/solver_dlg.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "app/run_inputs.h"
#include "core/number_format.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"
#include "ui/screenshot_scenes.h"

namespace {

constexpr const char* kCaption = "Solver";
// The figures are read a few times a second: a run's figures change far faster than anyone
// can read them.
constexpr int kFiguresIntervalMs = 100;
constexpr const char* kNothing = "---";
constexpr std::array<const char*, CSolverDlg::kFigureCount> kFigureCaptions = {
    "Parts Working:", "Tree Nodes:", "Search Depth:", "Verdict:", "Decided By:", "Time:"};
constexpr std::array<const char*, CSolverDlg::kFigureCount> kFigureTips = {
    "The parts of the Solver working at this moment",
    "Tree nodes the exact search has opened so far",
    "The depth of the exact search's branch now; after the run, the deepest it reached",
    "Hamiltonian, non-Hamiltonian, or undecided when the time limit passed first",
    "The part of the Solver that decided the graph",
    "How long the Solver took to decide"};

int machineCores() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

QString number(double value) {
  return QString::fromStdString(hc::formatNumber(value, 0));
}

// A long run (GP(601,2) keeps the portfolio racing for many seconds on two cores), then
// decided runs: a 100 x 100 toroidal grid, GP(24,2) as the Graph Editor shows it (the cycle
// in green) and the 4 x 12 knight's graph (its forced edges in red: no closed tour).
void solveSceneGraph(CHamiltonianCyclesDlg& window, int n) {
  hcui::loadSceneGraph(window, n, 2);
  window.model().pageButtonPressed(hc::kSolverPage);
}
void solveGenerated(CHamiltonianCyclesDlg& window, const hc::GraphRequest& request) {
  hcui::abortRunningMethod(window);
  window.model().loadGraphRequest(request);
  window.model().pageButtonPressed(hc::kSolverPage);
}
const hcui::ScreenshotSceneRegistration kScenes[] = {
    {"solver-running", hc::kSolverPage, [](CHamiltonianCyclesDlg& w) { solveSceneGraph(w, 601); }, 1200},
    {"solver-decided", hc::kSolverPage,
     [](CHamiltonianCyclesDlg& w) {
       solveGenerated(w, {4, 100, 100});
     },
     1500},
    {"solver-decided-editor", hc::kEditorPage, [](CHamiltonianCyclesDlg& w) { solveSceneGraph(w, 24); },
     1500},
    {"solver-non-hamiltonian-editor", hc::kEditorPage,
     [](CHamiltonianCyclesDlg& w) {
       solveGenerated(w, {5, 4, 12});
     },
     1500},
};

}  // namespace

CSolverDlg::CSolverDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* frame = new QGroupBox(QStringLiteral("Solver: Every Method At Once"), this);
  outer->addWidget(frame);
  auto* rows = new QVBoxLayout(frame);
  rows->setContentsMargins(6, 6, 6, 6);

  // Above: the state button, the controls and the elapsed time, as on the method pages.
  auto* top = new QHBoxLayout;
  stateButton_ = hcui::makeStateButton(frame);
  connect(stateButton_, &QToolButton::clicked, this, &CSolverDlg::stateButtonPressed);
  controls_ = new QGroupBox(QStringLiteral("Algorithm Controls"), frame);
  auto* form = new QGridLayout(controls_);
  timeLimit_ = new QDoubleSpinBox(controls_);
  timeLimit_->setRange(0.0, 1e7);
  timeLimit_->setDecimals(1);
  timeLimit_->setSuffix(QStringLiteral(" s"));
  timeLimit_->setSpecialValueText(QStringLiteral("none"));
  timeLimit_->setValue(0.0);
  timeLimit_->setToolTip(
      QStringLiteral("Seconds after which the run ends undecided; none: it runs until it "
                     "decides or is aborted"));
  threads_ = new QSpinBox(controls_);
  threads_->setRange(1, std::max(64, machineCores()));
  threads_->setValue(machineCores());
  threads_->setToolTip(
      QStringLiteral("Threads the parts of the Solver share (the machine has %1 cores)").arg(machineCores()));
  seed_ = new QLineEdit(controls_);
  seed_->setPlaceholderText(QStringLiteral("drawn afresh"));
  seed_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,10}\\s*")), seed_));
  seed_->setToolTip(
      QStringLiteral("Empty: a seed is drawn and shown after the run. A number gives the run the "
                     "random choices hamcycles-cli solve --seed makes (exactly with 1 thread)."));
  seedUsed_ = new QLabel(controls_);
  seedUsed_->setToolTip(QStringLiteral("Type this seed in to replay the run"));
  seedUsed_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addWidget(new QLabel(QStringLiteral("Time Limit:"), controls_), 0, 0);
  form->addWidget(timeLimit_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("Threads:"), controls_), 1, 0);
  form->addWidget(threads_, 1, 1);
  form->addWidget(new QLabel(QStringLiteral("Seed:"), controls_), 2, 0);
  form->addWidget(seed_, 2, 1);
  form->addWidget(seedUsed_, 3, 0, 1, 2);
  auto* elapsedGroup = new QGroupBox(QStringLiteral("Elapsed Time"), frame);
  auto* elapsedLayout = new QVBoxLayout(elapsedGroup);
  elapsed_ = new hcui::ElapsedTimeLabel(elapsedGroup);
  elapsed_->setMinimumHeight(34);
  elapsed_->setToolTip(
      QStringLiteral("How long the run has taken (days : hours : minutes : seconds . hundredths)"));
  elapsedLayout->addWidget(elapsed_);
  auto* timeColumn = new QVBoxLayout;
  timeColumn->addWidget(elapsedGroup);
  timeColumn->addStretch(1);
  top->addWidget(stateButton_, 0, Qt::AlignTop);
  top->addWidget(controls_, 0, Qt::AlignTop);
  top->addLayout(timeColumn);
  top->addStretch(1);
  rows->addLayout(top);

  // Below: the header in the state's colours and the figure boxes.
  header_ = new hcui::PaintedLabel(frame);
  header_->setMinimumHeight(30);
  header_->setShrinkToFit(true);
  rows->addWidget(header_);
  auto* figures = new QGridLayout;
  figures->setHorizontalSpacing(4);
  figures->setVerticalSpacing(4);
  int captionWidth = 0;
  std::array<hcui::PaintedLabel*, kFigureCount> captions{};
  for (int i = 0; i < kFigureCount; ++i) {
    const size_t at = static_cast<size_t>(i);
    captions[at] = new hcui::PaintedLabel(frame);
    captions[at]->setLook(QString::fromLatin1(kFigureCaptions[at]), hcui::statisticsLook(), 12, false, 0);
    captions[at]->setToolTip(QString::fromLatin1(kFigureTips[at]));
    captionWidth = std::max(captionWidth, captions[at]->sizeHint().width());
    values_[at] = new hcui::PaintedLabel(frame);
    values_[at]->setLook(QString::fromLatin1(kNothing), hcui::statisticsLook(), 10, false, 1);
    values_[at]->setShrinkToFit(true);
    values_[at]->setMinimumSize(160, 28);
    values_[at]->setToolTip(QString::fromLatin1(kFigureTips[at]));
    figures->addWidget(captions[at], i, 0);
    figures->addWidget(values_[at], i, 1);
  }
  for (hcui::PaintedLabel* caption : captions) caption->setMinimumSize(captionWidth, 28);
  figures->setColumnStretch(1, 1);
  rows->addLayout(figures);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  certificate_ = new QPushButton(QStringLiteral("Save Certificate..."), frame);
  certificate_->setEnabled(false);
  certificate_->setToolTip(
      QStringLiteral("Not available yet: the program does not write certificates of "
                     "non-Hamiltonian verdicts yet"));
  bottom->addWidget(certificate_);
  rows->addLayout(bottom);
  rows->addStretch(1);

  figuresTimer_ = new QTimer(this);
  figuresTimer_->setInterval(kFiguresIntervalMs);
  connect(figuresTimer_, &QTimer::timeout, this, &CSolverDlg::refreshFromWorker);
  elapsedTimer_ = new QTimer(this);
  elapsedTimer_->setInterval(hcui::kElapsedIntervalMs);
  connect(elapsedTimer_, &QTimer::timeout, this, [this] { elapsed_->setSeconds(runner_.elapsedSeconds()); });
  setPageState(model_.programState());
}

CSolverDlg::~CSolverDlg() {
  runner_.abortRun();
}

QString CSolverDlg::figureText(Figure figure) const {
  return values_[static_cast<size_t>(figure)]->text();
}

void CSolverDlg::setFigure(Figure figure, const QString& text) {
  values_[static_cast<size_t>(figure)]->setText(text);
}

void CSolverDlg::clearFigures() {
  for (int i = 0; i < kFigureCount; ++i) setFigure(static_cast<Figure>(i), QString::fromLatin1(kNothing));
}

void CSolverDlg::setPageState(int32_t state) {
  switch (state) {
    case hc::program_states::kBlue:
      seedUsed_->clear();  // kept through state 1, so it can be typed in for a replay
      resetRun(false);
      stateButton_->hide();
      break;
    case hc::program_states::kGreen:
      resetRun(true);
      stateButton_->show();
      break;
    case hc::program_states::kRed:
      setAlgorithmControlsEnabled(false);
      if (model_.algorithmChoice() == hc::algorithm_choices::kSolver) startRun();
      break;
    case hc::program_states::kYellow:
      figuresTimer_->stop();
      elapsedTimer_->stop();
      // Another method may have decided: then this page still shows no run.
      if (ranOnThisGraph_) showFinishedRun();
      setAlgorithmControlsEnabled(false);
      stateButton_->show();
      break;
    default:
      break;
  }
  hcui::showStatePicture(*stateButton_, state);
  header_->setLook(QStringLiteral("Solver Progress:"), hc::stateLook(state), 12, true, 1);
}

void CSolverDlg::resetRun(bool controlsEnabled) {
  runner_.abortRun();  // entering state 0 or 1 ends a run of this page, however it got there
  ranOnThisGraph_ = false;
  figuresTimer_->stop();
  elapsedTimer_->stop();
  clearFigures();
  elapsed_->setSeconds(0.0);
  setAlgorithmControlsEnabled(controlsEnabled);
}

void CSolverDlg::startRun() {
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph) return;
  hc::SolveRunSettings settings;
  settings.timeLimitSeconds = timeLimit_->value();
  settings.threads = threads_->value();
  settings.seed = hc::parseSeedInput(seed_->text().toStdString()).seed;
  seedUsed_->clear();
  clearFigures();
  auto decide = model_.decisionWithGraphHandler();
  runner_.start(graph, settings, [decide](const hc::SolveRunEnd& end) {
    decide(hc::solverProgramResult(end.verdict), end.solved);
  });
  ranOnThisGraph_ = true;
  refreshFromWorker();
  figuresTimer_->start();
  elapsedTimer_->start();
}

void CSolverDlg::refreshFromWorker() {
  if (!ranOnThisGraph_ || model_.programState() != hc::program_states::kRed) return;
  const hc::SolveLiveFigures live = runner_.live();
  if (live.inProgress) {
    const std::string parts = hc::runningPartsText(live.runningParts);
    setFigure(kPartsWorking, parts.empty() ? QStringLiteral("starting") : QString::fromStdString(parts));
    setFigure(kTreeNodes, number(static_cast<double>(live.treeNodes)));
    setFigure(kSearchDepth, number(live.depth));
    return;
  }
  // A run that broke off (out of memory, say) delivers no verdict: say so and stop ticking.
  if (std::optional<hc::SolveRunEnd> end = runner_.finished(); end && !end->error.empty()) {
    figuresTimer_->stop();
    elapsedTimer_->stop();
    elapsed_->setSeconds(runner_.elapsedSeconds());
    setFigure(kPartsWorking, QStringLiteral("none"));
    setFigure(kVerdict, QStringLiteral("the run stopped: %1").arg(QString::fromStdString(end->error)));
  }
}

void CSolverDlg::showFinishedRun() {
  elapsed_->setSeconds(runner_.elapsedSeconds());
  const std::optional<hc::SolveRunEnd> end = runner_.finished();
  if (!end) return;
  setFigure(kPartsWorking, QStringLiteral("none"));
  setFigure(kTreeNodes, number(static_cast<double>(end->treeNodes)));
  setFigure(kSearchDepth, QStringLiteral("%1 (deepest)").arg(number(end->deepestDepth)));
  setFigure(kVerdict, end->verdict == hc::Verdict::Hamiltonian      ? QStringLiteral("Hamiltonian")
                      : end->verdict == hc::Verdict::NonHamiltonian ? QStringLiteral("Non-Hamiltonian")
                      : end->timedOut                               ? QStringLiteral("Undecided (time limit)")
                                                                    : QStringLiteral("Undecided"));
  setFigure(kDecidedBy,
            end->method.empty() ? QString::fromLatin1(kNothing) : QString::fromStdString(end->method));
  setFigure(kTime, QString::fromStdString(hc::formatNumber(end->seconds, 3) + " s"));
  seedUsed_->setText(QStringLiteral("Seed used: %1").arg(end->seed));
}

void CSolverDlg::stateButtonPressed() {
  if (model_.programState() == hc::program_states::kGreen &&
      !hc::parseSeedInput(seed_->text().toStdString()).valid) {
    model_.view().showMessage(hc::kBadSeedMessage, kCaption);
    return;
  }
  model_.pageButtonPressed(hc::kSolverPage);
}

void CSolverDlg::abortRun() {
  runner_.abortRun();
  figuresTimer_->stop();
  elapsedTimer_->stop();
  elapsed_->setSeconds(0.0);
  model_.view().showMessage("Algorithm Aborted", kCaption);
}

void CSolverDlg::setStateButtonVisible(bool visible) {
  stateButton_->setVisible(visible);
}

void CSolverDlg::setAlgorithmControlsEnabled(bool enabled) {
  controls_->setEnabled(enabled);
}
