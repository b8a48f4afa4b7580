// The method pages' shared frame and state handling (see method_page.h).
#include "ui/method_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/depth_history.h"
#include "app/user_messages.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace hcui {

MethodPage::MethodPage(hc::ProgramModel& model, hc::PageIndex index, const QString& frameTitle,
                       const char* caption, const QString& headerText, QWidget* parent)
    : QWidget(parent), model_(model), caption_(caption), index_(index), headerText_(headerText) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* box = new QGroupBox(frameTitle, this);
  frame_ = box;
  outer->addWidget(box);
  auto* rows = new QVBoxLayout(box);
  rows->setContentsMargins(6, 6, 6, 6);

  // Above: the state button, the controls, the elapsed time and the page's boxes.
  auto* top = new QHBoxLayout;
  stateButton_ = makeStateButton(box);
  connect(stateButton_, &QToolButton::clicked, this, &MethodPage::stateButtonPressed);
  controls_ = new QGroupBox(QStringLiteral("Algorithm Controls"), box);
  form_ = new QGridLayout(controls_);
  auto* elapsedGroup = new QGroupBox(QStringLiteral("Elapsed Time"), box);
  auto* elapsedLayout = new QVBoxLayout(elapsedGroup);
  elapsed_ = new ElapsedTimeLabel(elapsedGroup);
  elapsed_->setMinimumHeight(34);
  elapsed_->setToolTip(
      QStringLiteral("How long the run has taken (days : hours : minutes : seconds . hundredths)"));
  elapsedLayout->addWidget(elapsed_);
  auto* timeColumn = new QVBoxLayout;
  timeColumn->addWidget(elapsedGroup);
  topExtras_ = new QVBoxLayout;
  timeColumn->addLayout(topExtras_);
  timeColumn->addStretch(1);
  top->addWidget(stateButton_, 0, Qt::AlignTop);
  top->addWidget(controls_, 0, Qt::AlignTop);
  top->addLayout(timeColumn);
  top->addStretch(1);
  rows->addLayout(top);

  // Below: the header and the list (exactly as wide as its columns), the page's boxes
  // beside it, and the export buttons.
  bottom_ = new QHBoxLayout;
  QHBoxLayout* bottom = bottom_;
  listColumn_ = new QVBoxLayout;
  header_ = new PaintedLabel(box);
  header_->setMinimumHeight(30);
  header_->setShrinkToFit(true);
  listColumn_->addWidget(header_);
  sideExtras_ = new QVBoxLayout;
  bottom->addLayout(listColumn_, 0);
  bottom->addLayout(sideExtras_, 1);
  rows->addLayout(bottom, 1);
  exportRow_ = new QHBoxLayout;
  exportRow_->addStretch(1);
  export_ = new QPushButton(QStringLiteral("Export Statistics"), box);
  export_->setToolTip(QStringLiteral("Writes the run's statistics to a CSV file"));
  connect(export_, &QPushButton::clicked, this, &MethodPage::exportStatistics);
  exportRow_->addWidget(export_);
  keepPlaceWhenHidden(*export_);
  rows->addLayout(exportRow_);

  refreshTimer_ = new QTimer(this);
  refreshTimer_->setInterval(kRefreshIntervalMs);
  connect(refreshTimer_, &QTimer::timeout, this, [this] { refreshFromWorker(); });
  elapsedTimer_ = new QTimer(this);
  elapsedTimer_->setInterval(kElapsedIntervalMs);
  connect(elapsedTimer_, &QTimer::timeout, this, &MethodPage::tickElapsed);
}

void MethodPage::setHistoryList(QAbstractItemModel* rows, const int32_t* widths, int count) {
  list_ = makeHistoryViewOf(frame_, rows, widths, count);
  list_->setMaximumWidth(list_->minimumWidth());
  listColumn_->addWidget(list_, 1);
  // With nothing beside it, the list takes the page's width (its columns keep theirs).
  if (sideExtras_->count() == 0) {
    list_->setMaximumWidth(QWIDGETSIZE_MAX);
    bottom_->setStretchFactor(listColumn_, 1);
    bottom_->setStretchFactor(sideExtras_, 0);
  }
}

void MethodPage::addExportButton(QPushButton* button) {
  exportRow_->insertWidget(1, button);
}

bool MethodPage::listShowsEnd() const {
  return showsLastRow(*list_);
}

void MethodPage::followList(bool wasAtEnd) {
  followNewestRow(*list_, wasAtEnd);
}

void MethodPage::setPageState(int32_t state) {
  switch (state) {
    case hc::program_states::kBlue:
      resetRun(false);
      stateButton_->hide();
      break;
    case hc::program_states::kGreen:
      resetRun(true);
      stateButton_->show();
      break;
    case hc::program_states::kRed:
      setAlgorithmControlsEnabled(false);
      showRunExtras(true);
      list_->setEnabled(true);
      startRun();
      break;
    case hc::program_states::kYellow:
      // The worker has finished: everything it reported is in the buffer.
      refreshTimer_->stop();
      elapsedTimer_->stop();
      refreshFromWorker();
      // The other method may have decided: then this page still shows its empty run.
      if (ranOnThisGraph_) {
        elapsed_->setSeconds(runnerSeconds());
        showFinishedRun();
      }
      setAlgorithmControlsEnabled(false);
      showRunExtras(true);
      stateButton_->show();
      list_->setEnabled(true);
      break;
    default:
      break;
  }
  export_->setVisible(state == hc::program_states::kRed || state == hc::program_states::kYellow);
  showStatePicture(*stateButton_, state);
  header_->setLook(headerText_, hc::stateLook(state), 12, true, 1);
}

void MethodPage::resetRun(bool controlsEnabled) {
  stopRunner();  // entering state 0 or 1 ends a run of this page, however it got there
  ranOnThisGraph_ = false;
  refreshTimer_->stop();
  elapsedTimer_->stop();
  clearRun();
  setAlgorithmControlsEnabled(controlsEnabled);
  showRunExtras(false);
  list_->setEnabled(false);
  elapsed_->setSeconds(0.0);
}

void MethodPage::startRun() {
  if (!startRunner()) return;
  ranOnThisGraph_ = true;
  refreshTimer_->start();
  elapsedTimer_->start();
}

void MethodPage::abortRun() {
  stopRunner();
  refreshTimer_->stop();
  elapsedTimer_->stop();
  elapsed_->setSeconds(0.0);
  model_.view().showMessage("Algorithm Aborted", caption_);
}

void MethodPage::stateButtonPressed() {
  if (model_.programState() == hc::program_states::kGreen && !readyToStart()) return;
  model_.pageButtonPressed(index_);
}

void MethodPage::setStateButtonVisible(bool visible) {
  stateButton_->setVisible(visible);
}

void MethodPage::setAlgorithmControlsEnabled(bool enabled) {
  controls_->setEnabled(enabled);
}

void MethodPage::exportStatistics() {
  std::optional<std::string> path =
      model_.view().chooseSaveFile("Export Statistics", "CSV Files (*.csv)", "statistics.csv");
  if (!path) return;
  if (std::optional<std::string> error = hc::writeTextFile(*path, statisticsCsv())) {
    model_.view().showMessage(*error, caption_);
    return;
  }
  model_.view().showNote(hc::savedNote("the statistics", *path));
}

void MethodPage::tickElapsed() {
  elapsed_->setSeconds(runnerSeconds());
}

}  // namespace hcui
