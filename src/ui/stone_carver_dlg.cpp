#include "ui/stone_carver_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <thread>

#include "core/number_format.h"
#include "app/run_inputs.h"
#include "ui/method_list_models.h"
#include "ui/method_page_parts.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/paint_helpers.h"
#include "ui/screenshot_scenes.h"

namespace {

constexpr std::array<const char*, 7> kVersionNames = {
    "03 - O(E) PM",
    "04 - O(E) PM, Single LAS",
    "05 - O(E) PM, Variable LAS",
    "06 - O(E) PM, Threshold LAS",
    "07 - O(E) PM, Full LAS",
    "12 - O(E) PM, Single LAS, Biconnectivity Check",
    "13 - O(E) PM, Variable LAS, Biconnectivity Check"};
constexpr std::array<const char*, 4> kStatisticCaptions = {"Least Deletions To Hub:", "Least Deletions To Ring:",
                                                           "Most Deletions:", "Max Forced Edges:"};

// The mill on GP(23,2), which has no Hamiltonian cycle and keeps it running; then a run
// that finds the cycle of GP(24,2).
void startStoneCarver(CHamiltonianCyclesDlg& window, int n) {
  hcui::loadSceneGraph(window, n, 2);
  window.stoneCarverPage()->iterationsEdit()->setValue(1000);
  window.model().pageButtonPressed(hc::kStoneCarverPage);
}
const hcui::ScreenshotSceneRegistration kRunningScene{
    "stone-carver-running", hc::kStoneCarverPage, [](CHamiltonianCyclesDlg& w) { startStoneCarver(w, 23); }, 800};
const hcui::ScreenshotSceneRegistration kSolvedScene{
    "stone-carver-solved", hc::kStoneCarverPage, [](CHamiltonianCyclesDlg& w) { startStoneCarver(w, 24); }, 1500};

}  // namespace

CStoneCarverDlg::CStoneCarverDlg(hc::ProgramModel& model, QWidget* parent)
    : QWidget(parent), model_(model), buffer_(std::make_unique<hc::SchcProgressBuffer>()) {
  auto* outer = new QVBoxLayout(this);
  auto* frame = new QGroupBox(QStringLiteral("Stone Carver's Hamiltonian Cycle Algorithm"), this);
  outer->addWidget(frame);
  auto* grid = new QGridLayout(frame);

  stateButton_ = hcui::makeStateButton(frame);
  connect(stateButton_, &QToolButton::clicked, this, &CStoneCarverDlg::stateButtonPressed);

  controls_ = new QGroupBox(QStringLiteral("Algorithm Controls"), frame);
  auto* form = new QGridLayout(controls_);
  iterations_ = new QSpinBox(controls_);
  iterations_->setRange(1, 1000000000);  // the list keeps at least one row
  iterations_->setValue(1000);
  versions_ = new QComboBox(controls_);
  for (const char* name : kVersionNames) versions_->addItem(QString::fromLatin1(name));
  versions_->setCurrentIndex(2);
  threads_ = new QSpinBox(controls_);
  threads_->setRange(1, static_cast<int>(std::max(64u, std::thread::hardware_concurrency())));
  threads_->setValue(1);
  threads_->setToolTip(QStringLiteral("1 runs the mill on one thread; more run iterations in parallel"));
  seed_ = new QLineEdit(controls_);
  seed_->setPlaceholderText(QStringLiteral("from the clock"));
  seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,10}\\s*")), seed_));
  seed_->setToolTip(QStringLiteral("Empty: drawn from the clock. A number replays a run (with 1 thread exactly)."));
  seedUsed_ = new QLabel(controls_);
  form->addWidget(new QLabel(QStringLiteral("PM Iterations To Display:"), controls_), 0, 0);
  form->addWidget(iterations_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("Algorithm Version:"), controls_), 1, 0);
  form->addWidget(versions_, 2, 0, 1, 2);
  form->addWidget(new QLabel(QStringLiteral("Threads:"), controls_), 3, 0);
  form->addWidget(threads_, 3, 1);
  form->addWidget(new QLabel(QStringLiteral("Seed:"), controls_), 4, 0);
  form->addWidget(seed_, 4, 1);
  form->addWidget(seedUsed_, 5, 0, 1, 2);
  connect(iterations_, &QSpinBox::valueChanged, this, [this](int value) {
    buffer_->setRowLimit(value);
    rows_->setRowLimit(value);
  });

  auto* elapsedGroup = new QGroupBox(QStringLiteral("Elapsed Time"), frame);
  auto* elapsedLayout = new QVBoxLayout(elapsedGroup);
  elapsed_ = new hcui::ElapsedTimeLabel(elapsedGroup);
  elapsed_->setMinimumHeight(34);
  elapsedLayout->addWidget(elapsed_);

  auto* statistics = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    captions_[i] = new hcui::PaintedLabel(frame);
    captions_[i]->setLook(QString::fromLatin1(kStatisticCaptions[static_cast<size_t>(i)]), hcui::statisticsLook(), 12,
                          false, 0);
    values_[i] = new hcui::PaintedLabel(frame);
    values_[i]->setLook(QString(), hcui::statisticsLook(), 10, false, 1);
    captions_[i]->setMinimumSize(210, 28);
    values_[i]->setMinimumSize(150, 28);
    statistics->addWidget(captions_[i], i, 0);
    statistics->addWidget(values_[i], i, 1);
  }

  header_ = new hcui::PaintedLabel(frame);
  header_->setMinimumHeight(30);
  rows_ = new hcui::IterationListModel(this);
  list_ = hcui::makeHistoryView(frame, rows_, hc::kIterationColumnWidths);

  auto* left = new QVBoxLayout;
  auto* top = new QHBoxLayout;
  top->addWidget(stateButton_, 0, Qt::AlignTop);
  top->addWidget(controls_, 1);
  left->addLayout(top);
  left->addWidget(elapsedGroup);
  left->addLayout(statistics);
  left->addStretch(1);
  grid->addLayout(left, 0, 0, 2, 1);
  grid->addWidget(header_, 0, 1);
  grid->addWidget(list_, 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);

  refreshTimer_ = new QTimer(this);
  refreshTimer_->setInterval(hcui::kRefreshIntervalMs);
  connect(refreshTimer_, &QTimer::timeout, this, &CStoneCarverDlg::refreshFromWorker);
  elapsedTimer_ = new QTimer(this);
  elapsedTimer_->setInterval(hcui::kElapsedIntervalMs);
  connect(elapsedTimer_, &QTimer::timeout, this, &CStoneCarverDlg::tickElapsed);

  setPageState(model_.programState());
}

CStoneCarverDlg::~CStoneCarverDlg() { runner_.abortRun(); }

const hc::IterationHistory& CStoneCarverDlg::history() const { return rows_->history(); }

int32_t CStoneCarverDlg::selectedVersion() const {
  return hc::leadingNumber(versions_->currentText().toStdString()).value_or(5);
}

void CStoneCarverDlg::setPageState(int32_t state) {
  switch (state) {
    case hc::program_states::kBlue:
      resetRun(false);
      seedUsed_->clear();  // kept through state 1 so the seed can be typed in for a replay
      stateButton_->hide();
      break;
    case hc::program_states::kGreen:
      resetRun(true);
      stateButton_->show();
      break;
    case hc::program_states::kRed:
      setAlgorithmControlsEnabled(false);
      list_->setEnabled(true);
      startRun();
      break;
    case hc::program_states::kYellow:
      // The worker has finished: everything it reported is in the buffer.
      refreshTimer_->stop();
      elapsedTimer_->stop();
      refreshFromWorker();
      // The other method may have decided: then this page still shows its empty run.
      if (ranOnThisGraph_) elapsed_->setSeconds(runner_.elapsedSeconds());
      if (std::optional<uint32_t> seed = runner_.seedUsed(); seed && ranOnThisGraph_)
        seedUsed_->setText(QStringLiteral("Seed used: %1").arg(*seed));
      setAlgorithmControlsEnabled(false);
      stateButton_->show();
      list_->setEnabled(true);
      break;
    default:
      break;
  }
  hcui::showStatePicture(*stateButton_, state);
  showHeader(state);
}

void CStoneCarverDlg::resetRun(bool controlsEnabled) {
  runner_.abortRun();  // entering state 0 or 1 ends a run of this page, however it got there
  ranOnThisGraph_ = false;
  refreshTimer_->stop();
  elapsedTimer_->stop();
  // A new buffer per graph: a finished or aborted run can no longer reach it (the runner
  // stops delivering once aborted).
  buffer_ = std::make_unique<hc::SchcProgressBuffer>(iterations_->value());
  rows_->clear();
  rows_->setRowLimit(iterations_->value());
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  howManyNodes_ = graph ? graph->howManyNodes : 0;
  setAlgorithmControlsEnabled(controlsEnabled);
  list_->setEnabled(false);
  elapsed_->setSeconds(0.0);
  showStatistics();
}

void CStoneCarverDlg::startRun() {
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph) return;
  howManyNodes_ = graph->howManyNodes;
  hc::SchcRunSettings settings;
  settings.version = selectedVersion();
  settings.threads = threads_->value();
  settings.seed = hc::parseSeedInput(seed_->text().toStdString()).seed;
  seedUsed_->clear();
  ranOnThisGraph_ = true;
  runner_.start(graph, settings, buffer_.get(), model_.decisionHandler());
  refreshTimer_->start();
  elapsedTimer_->start();
}

void CStoneCarverDlg::abortRun() {
  runner_.abortRun();
  refreshTimer_->stop();
  elapsedTimer_->stop();
  elapsed_->setSeconds(0.0);
  model_.view().showMessage("Algorithm Aborted", "Stone Carver's HC Algorithm");
}

void CStoneCarverDlg::stateButtonPressed() {
  if (model_.programState() == hc::program_states::kGreen &&
      !hc::parseSeedInput(seed_->text().toStdString()).valid) {
    model_.view().showMessage(hc::kBadSeedMessage, "Stone Carver's HC Algorithm");
    return;
  }
  model_.pageButtonPressed(hc::kStoneCarverPage);
}

void CStoneCarverDlg::setStateButtonVisible(bool visible) { stateButton_->setVisible(visible); }

void CStoneCarverDlg::setAlgorithmControlsEnabled(bool enabled) { controls_->setEnabled(enabled); }

void CStoneCarverDlg::refreshFromWorker() {
  if (!buffer_->hasNews()) return;
  const bool atEnd = hcui::showsLastRow(*list_);
  rows_->apply(buffer_->drain());
  hcui::followNewestRow(*list_, atEnd);
  showStatistics();
}

void CStoneCarverDlg::showStatistics() {
  const hc::IterationStatistics& s = rows_->history().statistics();
  const bool shown = s.rowsAdded > 0;
  for (int i = 0; i < 4; ++i) {
    captions_[static_cast<size_t>(i)]->setVisible(shown);
    values_[static_cast<size_t>(i)]->setVisible(shown);
  }
  if (!shown) return;
  values_[0]->setText(QString::fromStdString(hc::formatNumber(s.leastDeletionsToHub, 0)));
  values_[1]->setText(QString::fromStdString(hc::formatNumber(s.leastDeletionsToRing, 0)));
  values_[2]->setText(QString::fromStdString(hc::formatNumber(s.mostDeletions, 0)));
  values_[3]->setText(QString::fromStdString(hc::maxForcedEdgesText(s.maxForcedEdges, howManyNodes_)));
}

void CStoneCarverDlg::showHeader(int32_t state) {
  header_->setLook(QStringLiteral("Probability Mill Execution History:"), hc::stateLook(state), 12, true, 1);
}

void CStoneCarverDlg::tickElapsed() { elapsed_->setSeconds(runner_.elapsedSeconds()); }
