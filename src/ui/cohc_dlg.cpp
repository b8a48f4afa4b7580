#include "ui/cohc_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "app/run_inputs.h"
#include "cohc/search_tree_node.h"
#include "ui/characteristic_chart.h"
#include "ui/method_list_models.h"
#include "ui/method_page_parts.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/paint_helpers.h"
#include "ui/screenshot_scenes.h"

namespace {

constexpr const char* kCaption = "coHC Proof System";
// Saved charts get at least this size, whatever the window's.
constexpr int kSavedChartWidth = 800;
constexpr int kSavedChartHeight = 450;

// A proof caught while it runs (GP(47,2) without pruning takes a while), then the proof
// of GP(23,2) with each of the four charts.
void startProof(CHamiltonianCyclesDlg& window, int n, int pruningLevel) {
  hcui::loadSceneGraph(window, n, 2);
  window.cohcPage()->pruningList()->setCurrentIndex(pruningLevel);
  window.cohcPage()->chartTabs()->setCurrentIndex(0);
  window.model().pageButtonPressed(hc::kCoHCPage);
}
void showChart(CHamiltonianCyclesDlg& window, int chart) { window.cohcPage()->chartTabs()->setCurrentIndex(chart); }
const hcui::ScreenshotSceneRegistration kProofScenes[] = {
    {"cohc-running", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { startProof(w, 47, 1); }, 400},
    {"cohc-solved-nodes", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { startProof(w, 23, 1); }, 1500},
    {"cohc-solved-average-time", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { showChart(w, 1); }, 150},
    {"cohc-solved-maximum-time", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { showChart(w, 2); }, 150},
    {"cohc-solved-forced-edges", hc::kCoHCPage, [](CHamiltonianCyclesDlg& w) { showChart(w, 3); }, 150},
};

}  // namespace

CCoHCDlg::CCoHCDlg(hc::ProgramModel& model, QWidget* parent)
    : QWidget(parent), model_(model), buffer_(std::make_unique<hc::CohcProgressBuffer>()) {
  auto* outer = new QVBoxLayout(this);
  auto* frame = new QGroupBox(QStringLiteral("Co-Hamiltonian Cycles Proof System"), this);
  outer->addWidget(frame);
  auto* grid = new QGridLayout(frame);

  stateButton_ = hcui::makeStateButton(frame);
  connect(stateButton_, &QToolButton::clicked, this, &CCoHCDlg::stateButtonPressed);

  controls_ = new QGroupBox(QStringLiteral("Algorithm Controls"), frame);
  auto* form = new QGridLayout(controls_);
  maxDepth_ = new QSpinBox(controls_);
  maxDepth_->setRange(0, 999999999);
  maxDepth_->setValue(999999999);
  pruning_ = new QComboBox(controls_);
  for (std::string_view name : hc::kPruningLevelNames) pruning_->addItem(QString::fromLatin1(name.data(), name.size()));
  pruning_->setCurrentIndex(5);
  allChildren_ = new QRadioButton(QStringLiteral("Build All Children"), controls_);
  minimalChildren_ = new QRadioButton(QStringLiteral("Build Minimal Children"), controls_);
  allChildren_->setChecked(true);
  form->addWidget(new QLabel(QStringLiteral("Maximum Search Depth:"), controls_), 0, 0);
  form->addWidget(maxDepth_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("Pruning Level:"), controls_), 1, 0);
  form->addWidget(pruning_, 1, 1);
  form->addWidget(allChildren_, 2, 0, 1, 2);
  form->addWidget(minimalChildren_, 3, 0, 1, 2);

  auto* elapsedGroup = new QGroupBox(QStringLiteral("Elapsed Time"), frame);
  auto* elapsedLayout = new QVBoxLayout(elapsedGroup);
  elapsed_ = new hcui::ElapsedTimeLabel(elapsedGroup);
  elapsed_->setMinimumHeight(34);
  elapsedLayout->addWidget(elapsed_);

  header_ = new hcui::PaintedLabel(frame);
  header_->setMinimumHeight(30);
  rows_ = new hcui::DepthListModel(this);
  list_ = hcui::makeHistoryView(frame, rows_, hc::kDepthColumnWidths);

  chartTabs_ = new QTabBar(frame);
  chartTabs_->setExpanding(false);
  chartTabs_->setUsesScrollButtons(false);
  for (const char* title : hc::kChartTabTitles) chartTabs_->addTab(QString::fromLatin1(title));
  chartTabs_->setCurrentIndex(0);
  connect(chartTabs_, &QTabBar::currentChanged, this, [this](int) { drawChart(); });
  chart_ = new hcui::CharacteristicChart(frame);
  saveChart_ = new QPushButton(QStringLiteral("Save Chart"), frame);
  export_ = new QPushButton(QStringLiteral("Export Statistics"), frame);
  connect(saveChart_, &QPushButton::clicked, this, &CCoHCDlg::saveChart);
  connect(export_, &QPushButton::clicked, this, &CCoHCDlg::exportStatistics);

  auto* left = new QVBoxLayout;
  auto* top = new QHBoxLayout;
  top->addWidget(stateButton_, 0, Qt::AlignTop);
  top->addWidget(controls_, 1);
  left->addLayout(top);
  left->addWidget(elapsedGroup);
  left->addWidget(header_);
  left->addWidget(list_, 1);
  auto* right = new QVBoxLayout;
  auto* exports = new QHBoxLayout;
  exports->addStretch(1);
  exports->addWidget(saveChart_);
  exports->addWidget(export_);
  right->addWidget(chartTabs_);
  right->addWidget(chart_, 1);
  right->addLayout(exports);
  grid->addLayout(left, 0, 0);
  grid->addLayout(right, 0, 1);
  grid->setColumnStretch(1, 1);

  refreshTimer_ = new QTimer(this);
  refreshTimer_->setInterval(hcui::kRefreshIntervalMs);
  connect(refreshTimer_, &QTimer::timeout, this, &CCoHCDlg::refreshFromWorker);
  elapsedTimer_ = new QTimer(this);
  elapsedTimer_->setInterval(hcui::kElapsedIntervalMs);
  connect(elapsedTimer_, &QTimer::timeout, this, &CCoHCDlg::tickElapsed);

  setPageState(model_.programState());
}

CCoHCDlg::~CCoHCDlg() { runner_.abortRun(); }

const hc::DepthHistory& CCoHCDlg::history() const { return rows_->history(); }

void CCoHCDlg::setPageState(int32_t state) {
  switch (state) {
    case hc::program_states::kBlue:
      resetRun(false);
      statistics_.reset();
      stateButton_->hide();
      break;
    case hc::program_states::kGreen:
      resetRun(true);
      statistics_ = std::make_shared<hc::SearchTreeStatistics>();
      stateButton_->show();
      break;
    case hc::program_states::kRed:
      setAlgorithmControlsEnabled(false);
      showCharts(true);
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
      setAlgorithmControlsEnabled(false);
      showCharts(true);
      stateButton_->show();
      list_->setEnabled(true);
      break;
    default:
      break;
  }
  hcui::showStatePicture(*stateButton_, state);
  header_->setLook(QStringLiteral("Search Tree Execution History:"), hc::stateLook(state), 12, true, 1);
}

void CCoHCDlg::resetRun(bool controlsEnabled) {
  runner_.abortRun();  // entering state 0 or 1 ends a run of this page, however it got there
  ranOnThisGraph_ = false;
  refreshTimer_->stop();
  elapsedTimer_->stop();
  buffer_ = std::make_unique<hc::CohcProgressBuffer>();
  rows_->clear();
  axes_.reset();
  setAlgorithmControlsEnabled(controlsEnabled);
  showCharts(false);
  list_->setEnabled(false);
  elapsed_->setSeconds(0.0);
  drawChart();
}

void CCoHCDlg::startRun() {
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph) return;
  if (!statistics_) statistics_ = std::make_shared<hc::SearchTreeStatistics>();
  hc::CohcRunSettings settings;
  settings.maxSearchDepth = maxDepth_->value();
  settings.pruningLevel = hc::leadingNumber(pruning_->currentText().toStdString()).value_or(5);
  settings.buildMinimalChildren = minimalChildren_->isChecked();
  ranOnThisGraph_ = true;
  runner_.start(graph, settings, buffer_.get(), statistics_, model_.decisionHandler());
  refreshTimer_->start();
  elapsedTimer_->start();
}

void CCoHCDlg::abortRun() {
  runner_.abortRun();
  refreshTimer_->stop();
  elapsedTimer_->stop();
  elapsed_->setSeconds(0.0);
  model_.view().showMessage("Algorithm Aborted", kCaption);
}

void CCoHCDlg::stateButtonPressed() { model_.pageButtonPressed(hc::kCoHCPage); }

void CCoHCDlg::setStateButtonVisible(bool visible) { stateButton_->setVisible(visible); }

void CCoHCDlg::setAlgorithmControlsEnabled(bool enabled) { controls_->setEnabled(enabled); }

void CCoHCDlg::showCharts(bool shown) {
  chartTabs_->setVisible(shown);
  chart_->setVisible(shown);
  saveChart_->setVisible(shown);
  export_->setVisible(shown);
}

void CCoHCDlg::refreshFromWorker() {
  if (!buffer_->hasNews()) return;
  const bool atEnd = hcui::showsLastRow(*list_);
  rows_->apply(buffer_->drain());
  hcui::followNewestRow(*list_, atEnd);
  drawChart();
}

void CCoHCDlg::drawChart() {
  const hc::DepthHistory& table = rows_->history();
  axes_.grow(table.summary());
  const int k = std::clamp(chartTabs_->currentIndex(), 0, hc::kChartCount - 1);
  const auto kind = static_cast<hc::ChartKind>(k);
  chart_->setPicture({table.series(kind), axes_.maximum(kind), QString::fromLatin1(hc::kChartXAxisLabel),
                      QString::fromLatin1(hc::kChartYAxisLabels[static_cast<size_t>(k)])});
}

void CCoHCDlg::saveChart() {
  std::optional<std::string> path =
      model_.view().chooseSaveFile("Save Chart", "PNG Images (*.png);;SVG Images (*.svg)", "chart.png");
  if (!path) return;
  const QSize size(std::max(kSavedChartWidth, chart_->width()), std::max(kSavedChartHeight, chart_->height()));
  if (!hcui::saveChart(chart_->picture(), size, QString::fromStdString(*path)))
    model_.view().showMessage("ERROR! Could not write the file \"" + *path + "\".", kCaption);
}

void CCoHCDlg::exportStatistics() {
  std::optional<std::string> path =
      model_.view().chooseSaveFile("Export Statistics", "CSV Files (*.csv)", "statistics.csv");
  if (!path) return;
  if (std::optional<std::string> error = hc::writeTextFile(*path, rows_->history().csv()))
    model_.view().showMessage(*error, kCaption);
}

void CCoHCDlg::tickElapsed() { elapsed_->setSeconds(runner_.elapsedSeconds()); }
