// The method pages' shared frame and state handling (see method_page.h).
#include "ui/method_page.h"

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
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/depth_history.h"
#include "app/run_inputs.h"
#include "app/user_messages.h"
#include "run/method_option_table.h"
#include "run/method_runners.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace hcui {

FigureBoxes makeFigureBoxes(QWidget* parent, std::span<const char* const> captions, int valueWidth) {
  FigureBoxes boxes;
  boxes.grid = new QGridLayout;
  boxes.grid->setHorizontalSpacing(4);
  boxes.grid->setVerticalSpacing(4);
  int captionWidth = 0;
  for (const char* text : captions) {
    const int row = static_cast<int>(boxes.captions.size());
    auto* caption = new PaintedLabel(parent);
    caption->setLook(QString::fromLatin1(text), statisticsLook(), 12, false, 0);
    captionWidth = std::max(captionWidth, caption->sizeHint().width());
    auto* value = new PaintedLabel(parent);
    value->setLook(QString(), statisticsLook(), 10, false, 1);
    value->setMinimumSize(valueWidth, 28);
    boxes.grid->addWidget(caption, row, 0);
    boxes.grid->addWidget(value, row, 1);
    boxes.captions.push_back(caption);
    boxes.values.push_back(value);
  }
  for (PaintedLabel* caption : boxes.captions) caption->setMinimumSize(captionWidth, 28);
  boxes.grid->setColumnStretch(1, 1);
  return boxes;
}

MethodPage::MethodPage(hc::ProgramModel& model, hc::MethodRunner& runner, hc::PageIndex index,
                       const QString& frameTitle, const char* caption, const QString& headerText,
                       QWidget* parent)
    : QWidget(parent),
      model_(model),
      caption_(caption),
      runner_(runner),
      index_(index),
      headerText_(headerText) {
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

void MethodPage::setBody(QLayout* body) {
  listColumn_->addLayout(body);
  listColumn_->addStretch(1);
  bottom_->setStretchFactor(listColumn_, 1);
  bottom_->setStretchFactor(sideExtras_, 0);
  delete export_;
  export_ = nullptr;
}

void MethodPage::addThreadsAndSeedRows(int row, const hc::MethodOptionRow& threads, const QString& threadsTip,
                                       const QString& seedTip) {
  // The range and the default of the method's threads (its row of the option table).
  threads_ = new QSpinBox(controls_);
  threads_->setRange(static_cast<int>(threads.low), static_cast<int>(threads.high));
  threads_->setValue(static_cast<int>(hc::defaultValueOf(threads)));
  threads_->setToolTip(threadsTip);
  seed_ = new QLineEdit(controls_);
  seed_->setPlaceholderText(QStringLiteral("drawn afresh"));
  seed_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,10}\\s*")), seed_));
  seed_->setToolTip(seedTip);
  seedUsed_ = new QLabel(controls_);
  seedUsed_->setToolTip(QStringLiteral("Type this seed in to replay the run"));
  seedUsed_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form_->addWidget(new QLabel(QStringLiteral("Threads:"), controls_), row, 0);
  form_->addWidget(threads_, row, 1);
  form_->addWidget(new QLabel(QStringLiteral("Seed:"), controls_), row + 1, 0);
  form_->addWidget(seed_, row + 1, 1);
  form_->addWidget(seedUsed_, row + 2, 0, 1, 2);
}

std::optional<uint32_t> MethodPage::typedSeed() const {
  return seed_ ? hc::parseSeedInput(seed_->text().toStdString()).seed : std::nullopt;
}

void MethodPage::showSeedUsed(uint32_t seed) {
  if (seedUsed_) seedUsed_->setText(QStringLiteral("Seed used: %1").arg(seed));
}

bool MethodPage::seedAccepted() {
  if (!seed_ || hc::parseSeedInput(seed_->text().toStdString()).valid) return true;
  model_.view().showMessage(hc::kBadSeedMessage, caption_);
  return false;
}

void MethodPage::setRefreshInterval(int milliseconds) {
  refreshTimer_->setInterval(milliseconds);
}

void MethodPage::stopTicking() {
  refreshTimer_->stop();
  elapsedTimer_->stop();
  elapsed_->setSeconds(runner_.elapsedSeconds());
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

void MethodPage::setPageState(hc::ProgramState state) {
  switch (state) {
    case hc::ProgramState::kEditing:
      if (seedUsed_) seedUsed_->clear();  // kept through state 1, so it can be typed in for a replay
      resetRun(false);
      stateButton_->hide();
      break;
    case hc::ProgramState::kSubmitted:
      resetRun(true);
      stateButton_->show();
      break;
    case hc::ProgramState::kRunning:
      setAlgorithmControlsEnabled(false);
      if (list_) list_->setEnabled(true);
      startRun();
      showRunExtras(true);
      break;
    case hc::ProgramState::kDecided:
      // The worker has finished: everything it reported is in the buffer.
      refreshTimer_->stop();
      elapsedTimer_->stop();
      refreshFromWorker();
      // The other method may have decided: then this page still shows its empty run.
      if (ranOnThisGraph_) {
        elapsed_->setSeconds(runner_.elapsedSeconds());
        showFinishedRun();
      }
      setAlgorithmControlsEnabled(false);
      showRunExtras(true);
      stateButton_->show();
      if (list_) list_->setEnabled(true);
      break;
    default: break;
  }
  if (export_) {
    export_->setVisible(state == hc::ProgramState::kRunning || state == hc::ProgramState::kDecided);
    // Another page's verdict leaves this page's list empty: nothing to export.
    export_->setEnabled(ranOnThisGraph_);
  }
  showStatePicture(*stateButton_, state);
  header_->setLook(headerText_, hc::stateLook(state), 12, true, 1);
}

void MethodPage::resetRun(bool controlsEnabled) {
  runner_.abortRun();  // entering state 0 or 1 ends a run of this page, however it got there
  ranOnThisGraph_ = false;
  refreshTimer_->stop();
  elapsedTimer_->stop();
  clearRun();
  setAlgorithmControlsEnabled(controlsEnabled);
  showRunExtras(false);
  if (list_) list_->setEnabled(false);
  elapsed_->setSeconds(0.0);
}

void MethodPage::startRun() {
  if (seedUsed_) seedUsed_->clear();
  if (!startRunner()) return;
  ranOnThisGraph_ = true;
  refreshTimer_->start();
  elapsedTimer_->start();
}

void MethodPage::abortRun() {
  runner_.abortRun();
  refreshTimer_->stop();
  elapsedTimer_->stop();
  elapsed_->setSeconds(0.0);
}

void MethodPage::announceAbort() {
  model_.view().showMessage("Algorithm Aborted", caption_);
}

void MethodPage::stateButtonPressed() {
  if (model_.programState() == hc::ProgramState::kSubmitted && !seedAccepted()) return;
  model_.pageButtonPressed(index_);
}

void MethodPage::setStateButtonVisible(bool visible) {
  stateButton_->setVisible(visible);
}

void MethodPage::setAlgorithmControlsEnabled(bool enabled) {
  controls_->setEnabled(enabled);
}

void MethodPage::exportStatistics() {
  saveFile("Export Statistics", "CSV Files (*.csv)", "statistics.csv", "the statistics",
           [this](const std::string& path) { return hc::writeTextFile(path, statisticsCsv()); });
}

void MethodPage::saveFile(const std::string& title, const std::string& filter, const std::string& suggestion,
                          const std::string& what,
                          const std::function<std::optional<std::string>(const std::string&)>& write) {
  std::optional<std::string> path = model_.view().chooseSaveFile(title, filter, suggestion);
  if (!path) return;
  if (std::optional<std::string> error = write(*path)) {
    model_.view().showMessage(*error, caption_);
    return;
  }
  model_.view().showNote(hc::savedNote(what, *path));
}

void MethodPage::tickElapsed() {
  elapsed_->setSeconds(runner_.elapsedSeconds());
}

}  // namespace hcui
