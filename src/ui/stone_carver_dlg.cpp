#include "ui/stone_carver_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "app/run_inputs.h"
#include "core/number_format.h"
#include "run/method_option_table.h"
#include "schc/probability_mill.h"
#include "ui/method_list_models.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace {

constexpr const char* kCaption = "Stone Carver's HC Algorithm";
constexpr std::array<const char*, 7> kVersionNames = {"03 - O(E) PM",
                                                      "04 - O(E) PM, Single LAS",
                                                      "05 - O(E) PM, Variable LAS",
                                                      "06 - O(E) PM, Threshold LAS",
                                                      "07 - O(E) PM, Full LAS",
                                                      "12 - O(E) PM, Single LAS, Biconnectivity Check",
                                                      "13 - O(E) PM, Variable LAS, Biconnectivity Check"};
static_assert(kVersionNames.size() == std::size(hc::kOfferedVersions));
constexpr std::array<const char*, 4> kStatisticCaptions = {
    "Least Deletions To Hub:", "Least Deletions To Ring:", "Most Deletions:", "Max Forced Edges:"};

}  // namespace

CStoneCarverDlg::CStoneCarverDlg(hc::ProgramModel& model, QWidget* parent)
    : MethodPage(model, runner_, hc::kStoneCarverPage,
                 QStringLiteral("Stone Carver's Hamiltonian Cycle Algorithm"), kCaption,
                 QStringLiteral("Probability Mill Execution History:"), parent) {
  QGroupBox* controls = controlsGroup();
  QGridLayout* rows = controlsForm();
  iterations_ = new QSpinBox(controls);
  iterations_->setRange(1, 1000000000);  // the list keeps at least one row
  iterations_->setValue(1000);
  iterations_->setToolTip(
      QStringLiteral("How many of the latest Probability Mill iterations the list keeps"));
  versions_ = new QComboBox(controls);
  for (const char* name : kVersionNames) versions_->addItem(QString::fromLatin1(name));
  // The versions are the option table's choices, in its order; its default is chosen first.
  const hc::MethodOptionRow& version = *hc::findMethodOption(hc::MethodChoice::kSchc, "version");
  versions_->setCurrentIndex(static_cast<int>(
      std::find(version.choices.begin(), version.choices.end(), hc::defaultValueOf(version)) -
      version.choices.begin()));
  // The longest names would make the page wider than a small screen: the closed list
  // shrinks, the open one shows them whole.
  versions_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  versions_->setMinimumContentsLength(16);
  versions_->setToolTip(QStringLiteral("The algorithm version the run uses"));
  rows->addWidget(new QLabel(QStringLiteral("PM Iterations To Display:"), controls), 0, 0);
  rows->addWidget(iterations_, 0, 1);
  rows->addWidget(new QLabel(QStringLiteral("Algorithm Version:"), controls), 1, 0);
  rows->addWidget(versions_, 2, 0, 1, 2);
  addThreadsAndSeedRows(
      3, *hc::findMethodOption(hc::MethodChoice::kSchc, "threads"),
      QStringLiteral("1 runs the mill on one thread; more run iterations in parallel"),
      QStringLiteral("Empty: a seed is drawn and shown after the run. A number replays a run "
                     "(with 1 thread exactly, as hamcycles-cli schc --seed does)."));
  connect(iterations_, &QSpinBox::valueChanged, this, [this](int value) {
    buffer_->setRowLimit(value);
    rows_->setRowLimit(value);
  });

  hcui::FigureBoxes statistics = hcui::makeFigureBoxes(frame(), kStatisticCaptions, 140);
  std::copy(statistics.captions.begin(), statistics.captions.end(), captions_.begin());
  std::copy(statistics.values.begin(), statistics.values.end(), values_.begin());
  topExtras()->addLayout(statistics.grid);

  rows_ = new hcui::IterationListModel(this);
  setHistoryList(rows_, hc::kIterationColumnWidths.data(),
                 static_cast<int>(hc::kIterationColumnWidths.size()));
  finishConstruction();
}

CStoneCarverDlg::~CStoneCarverDlg() {
  runner_.abortRun();
}

const hc::IterationHistory& CStoneCarverDlg::history() const {
  return rows_->history();
}

int32_t CStoneCarverDlg::selectedVersion() const {
  return hc::leadingNumber(versions_->currentText().toStdString()).value_or(5);
}

void CStoneCarverDlg::clearRun() {
  // A new buffer per graph: a finished or aborted run can no longer reach it (the runner
  // stops delivering once aborted).
  buffer_ = std::make_unique<hc::SchcProgressBuffer>(iterations_->value());
  rows_->clear();
  rows_->setRowLimit(iterations_->value());
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  howManyNodes_ = graph ? graph->howManyNodes : 0;
  showStatistics();
}

bool CStoneCarverDlg::startRunner() {
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph) return false;
  howManyNodes_ = graph->howManyNodes;
  hc::SchcOptions options;
  options.version = selectedVersion();
  options.threads = threadsEdit()->value();
  runner_.start(graph, options, typedSeed(), buffer_.get(), model_.decisionHandler());
  return true;
}

void CStoneCarverDlg::showFinishedRun() {
  if (std::optional<uint32_t> seed = runner_.seedUsed()) showSeedUsed(*seed);
}

std::string CStoneCarverDlg::statisticsCsv() const {
  return hc::iterationHistoryCsv(rows_->history(), howManyNodes_);
}

void CStoneCarverDlg::refreshFromWorker() {
  if (takeNews(*buffer_, *rows_)) showStatistics();
}

void CStoneCarverDlg::showStatistics() {
  const hc::IterationStatistics& s = rows_->history().statistics();
  const bool shown = s.rowsAdded > 0;
  for (int i = 0; i < 4; ++i) {
    captions_[static_cast<size_t>(i)]->setVisible(shown);
    values_[static_cast<size_t>(i)]->setVisible(shown);
  }
  if (!shown) return;
  values_[0]->setText(QString::fromStdString(hc::leastDeletionsText(s.leastDeletionsToHub)));
  values_[1]->setText(QString::fromStdString(hc::leastDeletionsText(s.leastDeletionsToRing)));
  values_[2]->setText(QString::fromStdString(hc::formatNumber(s.mostDeletions, 0)));
  values_[3]->setText(QString::fromStdString(hc::maxForcedEdgesText(s.maxForcedEdges, howManyNodes_)));
}
