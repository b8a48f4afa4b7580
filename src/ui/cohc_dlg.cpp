#include "ui/cohc_dlg.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>

#include "app/run_inputs.h"
#include "app/user_messages.h"
#include "cohc/search_tree_node.h"
#include "io/adjacency_text_format.h"
#include "run/method_option_table.h"
#include "ui/characteristic_chart.h"
#include "ui/method_list_models.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace {

constexpr const char* kCaption = "coHC Proof System";
// Saved charts get at least this size, whatever the window's.
constexpr int kSavedChartWidth = 800;
constexpr int kSavedChartHeight = 450;

}  // namespace

CCoHCDlg::CCoHCDlg(hc::ProgramModel& model, QWidget* parent)
    : MethodPage(model, runner_, hc::kCoHCPage, QStringLiteral("Co-Hamiltonian Cycles Proof System"),
                 kCaption, QStringLiteral("Search Tree Execution History:"), parent) {
  // Beside the list: the chart strip and the chart.
  charts_ = new QWidget(frame());
  auto* chartColumn = new QVBoxLayout(charts_);
  chartColumn->setContentsMargins(0, 0, 0, 0);
  chartColumn->setSpacing(0);
  chartTabs_ = new QTabBar(charts_);
  chartTabs_->setExpanding(false);
  // A narrow window shortens the captions (each tab names its chart in full in its
  // tooltip) rather than hiding a tab behind scroll arrows or cutting it off.
  chartTabs_->setUsesScrollButtons(false);
  chartTabs_->setElideMode(Qt::ElideNone);
  for (const char* title : hc::kChartTabTitles) {
    const int tab = chartTabs_->addTab(QString::fromLatin1(title));
    chartTabs_->setTabToolTip(tab, QStringLiteral("Shows the chart of ") + QString::fromLatin1(title));
  }
  chartTabs_->setMinimumWidth(0);
  chartTabs_->setCurrentIndex(0);
  connect(chartTabs_, &QTabBar::currentChanged, this, [this](int k) {
    chartChoice_->setCurrentIndex(k);
    drawChart();
  });
  chartChoice_ = new QComboBox(charts_);
  for (const char* title : hc::kChartTabTitles) chartChoice_->addItem(QString::fromLatin1(title));
  chartChoice_->setToolTip(QStringLiteral("The chart shown (a narrow window lists the charts here)"));
  chartChoice_->hide();
  connect(chartChoice_, &QComboBox::currentIndexChanged, chartTabs_, &QTabBar::setCurrentIndex);
  charts_->installEventFilter(this);
  chart_ = new hcui::CharacteristicChart(charts_);
  chartColumn->addWidget(chartTabs_);
  chartColumn->addWidget(chartChoice_);
  chartColumn->addWidget(chart_, 1);
  sideExtras()->addWidget(charts_, 1);
  rows_ = new hcui::DepthListModel(this);
  setHistoryList(rows_, hc::kDepthColumnWidths.data(), static_cast<int>(hc::kDepthColumnWidths.size()));
  saveChart_ = new QPushButton(QStringLiteral("Save Chart"), frame());
  saveChart_->setToolTip(QStringLiteral("Writes the chart shown as a PNG or SVG picture"));
  connect(saveChart_, &QPushButton::clicked, this, &CCoHCDlg::saveChart);
  hcui::keepPlaceWhenHidden(*saveChart_);
  addExportButton(saveChart_);

  // The algorithm controls.
  QGroupBox* group = controlsGroup();
  QGridLayout* form = controlsForm();
  maxDepth_ = new QSpinBox(group);
  const hc::MethodOptionRow& maxDepth = *hc::findMethodOption(hc::MethodChoice::kCohc, "maxDepth");
  maxDepth_->setRange(static_cast<int>(maxDepth.low), static_cast<int>(maxDepth.high));
  maxDepth_->setValue(static_cast<int>(hc::defaultValueOf(maxDepth)));
  maxDepth_->setToolTip(QStringLiteral("The proof stops below this depth of its search tree"));
  pruning_ = new QComboBox(group);
  for (std::string_view name : hc::kPruningLevelNames)
    pruning_->addItem(QString::fromLatin1(name.data(), name.size()));
  pruning_->setCurrentIndex(
      static_cast<int>(hc::defaultValueOf(*hc::findMethodOption(hc::MethodChoice::kCohc, "level"))));
  pruning_->setToolTip(
      QStringLiteral("Which checks prune each node of the search tree (each level adds to the ones "
                     "before)"));
  allChildren_ = new QRadioButton(QStringLiteral("Build All Children"), group);
  allChildren_->setToolTip(QStringLiteral("Every child of a tree node is built"));
  minimalChildren_ = new QRadioButton(QStringLiteral("Build Minimal Children"), group);
  minimalChildren_->setToolTip(QStringLiteral("Only the children the proof needs are built"));
  allChildren_->setChecked(true);
  form->addWidget(new QLabel(QStringLiteral("Maximum Search Depth:"), group), 0, 0);
  form->addWidget(maxDepth_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("Pruning Level:"), group), 1, 0);
  form->addWidget(pruning_, 1, 1);
  form->addWidget(allChildren_, 2, 0, 1, 2);
  form->addWidget(minimalChildren_, 3, 0, 1, 2);

  finishConstruction();
}

CCoHCDlg::~CCoHCDlg() {
  runner_.abortRun();
}

bool CCoHCDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == charts_ && event->type() == QEvent::Resize) fitChartCaptions();
  return MethodPage::eventFilter(watched, event);
}

void CCoHCDlg::fitChartCaptions() {
  // The full captions, else the short ones, each tab whole; where not even those fit, a
  // drop-down list takes the strip's place.
  auto fits = [this](const std::array<const char*, hc::kChartCount>& titles) {
    for (int k = 0; k < hc::kChartCount; ++k)
      chartTabs_->setTabText(k, QString::fromLatin1(titles[static_cast<size_t>(k)]));
    return chartTabs_->sizeHint().width() <= charts_->width();
  };
  const bool strip = fits(hc::kChartTabTitles) || fits(hc::kChartTabShortTitles);
  chartTabs_->setVisible(strip);
  chartChoice_->setVisible(!strip);
}

const hc::DepthHistory& CCoHCDlg::history() const {
  return rows_->history();
}

void CCoHCDlg::clearRun() {
  buffer_ = std::make_unique<hc::CohcProgressBuffer>();
  rows_->clear();
  axes_.reset();
  // State 1 prepares a record for the next proof; state 0 has none.
  statistics_ = model_.programState() == hc::ProgramState::kSubmitted
                    ? std::make_shared<hc::SearchTreeStatistics>()
                    : nullptr;
  drawChart();
}

bool CCoHCDlg::startRunner() {
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph) return false;
  if (!statistics_) statistics_ = std::make_shared<hc::SearchTreeStatistics>();
  hc::CohcOptions options;
  options.maxSearchDepth = maxDepth_->value();
  options.pruningLevel = hc::leadingNumber(pruning_->currentText().toStdString()).value_or(5);
  options.buildMinimalChildren = minimalChildren_->isChecked();
  // A cycle found at the root is written by the page once the run has ended, so an earlier
  // file of that name is not replaced without a question.
  options.writeCycleFile = false;
  runner_.start(graph, options, buffer_.get(), statistics_, model_.decisionHandler());
  return true;
}

void CCoHCDlg::showRunExtras(bool shown) {
  charts_->setVisible(shown);
  saveChart_->setVisible(shown);
  saveChart_->setEnabled(ranOnThisGraph_);  // another page's verdict leaves the chart empty
}

void CCoHCDlg::showFinishedRun() {
  // A proof that finds a cycle writes it to the graph's output file ("-HC.txt" beside the
  // file read): say where, and ask before an earlier file of that name is replaced.
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph || model_.programResult() != hc::ProgramResult::kHamiltonian || graph->outputFileName.empty() ||
      graph->isHamiltonian != hc::kHamiltonian)
    return;
  const std::string& path = graph->outputFileName;
  std::error_code error;
  if (std::filesystem::exists(path, error) &&
      !model_.view().askYesNo(path + " already exists. Replace it with the Hamiltonian cycle found?",
                              kCaption))
    return;
  if (const std::string failed = hc::adjacencyTextFileWriter(*graph, path); !failed.empty()) {
    model_.view().showMessage("ERROR! The Hamiltonian cycle could not be written: " + failed, kCaption);
    return;
  }
  model_.view().showNote(hc::savedNote("the Hamiltonian cycle", path));
}

std::string CCoHCDlg::statisticsCsv() const {
  return rows_->history().csv();
}

void CCoHCDlg::refreshFromWorker() {
  if (takeNews(*buffer_, *rows_)) drawChart();
}

void CCoHCDlg::drawChart() {
  const hc::DepthHistory& table = rows_->history();
  axes_.grow(table.summary());
  const int k = std::clamp(chartTabs_->currentIndex(), 0, hc::kChartCount - 1);
  const auto kind = static_cast<hc::ChartKind>(k);
  chart_->setPicture({table.series(kind), axes_.maximum(kind), QString::fromLatin1(hc::kChartXAxisLabel),
                      QString::fromLatin1(hc::kChartYAxisLabels[static_cast<size_t>(k)]),
                      hc::chartCountsWholeNumbers(kind)});
}

void CCoHCDlg::saveChart() {
  saveFile("Save Chart", "PNG Images (*.png);;SVG Images (*.svg)", "chart.png", "the chart",
           [this](const std::string& path) -> std::optional<std::string> {
             const QSize size(std::max(kSavedChartWidth, chart_->width()),
                              std::max(kSavedChartHeight, chart_->height()));
             const int k = std::clamp(chartTabs_->currentIndex(), 0, hc::kChartCount - 1);
             const QString title = QString::fromStdString(model_.graphDisplayName()) + QStringLiteral(": ") +
                                   QString::fromLatin1(hc::kChartTabTitles[static_cast<size_t>(k)]);
             if (hcui::saveChart(chart_->picture(), size, QString::fromStdString(path), title))
               return std::nullopt;
             return "ERROR! Could not write the file \"" + path + "\".";
           });
}
