#include "ui/solver_dlg.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>
#include <thread>

#include "core/number_format.h"
#include "io/file_access.h"
#include "run/method_option_table.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"

namespace {

constexpr const char* kCaption = "Solver";
// The figures are read a few times a second: a run's figures change far faster than anyone
// can read them.
constexpr int kFiguresIntervalMs = 100;
constexpr const char* kNothing = "---";
constexpr const char* kNoCertificateYet =
    "Writes the proof of a non-Hamiltonian verdict of the Solver, for "
    "hamcycles-cli check; available once the Solver has given one";
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

}  // namespace

CSolverDlg::CSolverDlg(hc::ProgramModel& model, QWidget* parent)
    : MethodPage(model, runner_, hc::kSolverPage, QStringLiteral("Solver: Every Method At Once"), kCaption,
                 QStringLiteral("Solver Progress:"), parent) {
  QGroupBox* controls = controlsGroup();
  timeLimit_ = new QDoubleSpinBox(controls);
  timeLimit_->setRange(0.0, 1e7);
  timeLimit_->setDecimals(1);
  timeLimit_->setSuffix(QStringLiteral(" s"));
  timeLimit_->setSpecialValueText(QStringLiteral("none"));
  timeLimit_->setValue(0.0);
  timeLimit_->setToolTip(
      QStringLiteral("Seconds after which the run ends undecided; none: it runs until it "
                     "decides or is aborted"));
  controlsForm()->addWidget(new QLabel(QStringLiteral("Time Limit:"), controls), 0, 0);
  controlsForm()->addWidget(timeLimit_, 0, 1);
  addThreadsAndSeedRows(
      1, *hc::findMethodOption(hc::MethodChoice::kSolve, "threads"),
      QStringLiteral("Threads the parts of the Solver share (the machine has %1 cores)").arg(machineCores()),
      QStringLiteral("Empty: a seed is drawn and shown after the run. A number gives the run the "
                     "random choices hamcycles-cli solve --seed makes (exactly with 1 thread)."));

  hcui::FigureBoxes figures = hcui::makeFigureBoxes(frame(), kFigureCaptions, 160);
  for (size_t i = 0; i < figures.values.size(); ++i) {
    figures.captions[i]->setToolTip(QString::fromLatin1(kFigureTips[i]));
    figures.values[i]->setToolTip(QString::fromLatin1(kFigureTips[i]));
    figures.values[i]->setShrinkToFit(true);
  }
  values_ = std::move(figures.values);
  setBody(figures.grid);

  certificate_ = new QPushButton(QStringLiteral("Save Certificate..."), frame());
  connect(certificate_, &QPushButton::clicked, this, &CSolverDlg::saveCertificate);
  addExportButton(certificate_);
  setRefreshInterval(kFiguresIntervalMs);
  finishConstruction();
}

QString CSolverDlg::figureText(Figure figure) const {
  return values_[static_cast<size_t>(figure)]->text();
}

void CSolverDlg::setFigure(Figure figure, const QString& text) {
  values_[static_cast<size_t>(figure)]->setText(text);
}

void CSolverDlg::offerCertificate(std::shared_ptr<const std::string> text, const QString& toolTip) {
  certificateText_ = std::move(text);
  certificate_->setEnabled(certificateText_ != nullptr);
  certificate_->setToolTip(toolTip);
}

void CSolverDlg::clearRun() {
  for (int i = 0; i < kFigureCount; ++i) setFigure(static_cast<Figure>(i), QString::fromLatin1(kNothing));
  offerCertificate(nullptr, QString::fromLatin1(kNoCertificateYet));
}

bool CSolverDlg::startRunner() {
  std::shared_ptr<hc::Graph> graph = model_.workingGraph();
  if (!graph) return false;
  hc::SolveRunSettings settings;
  settings.timeLimitSeconds = timeLimit_->value();
  settings.threads = threadsEdit()->value();
  settings.seed = typedSeed();
  settings.certificateLimitBytes = certificateLimitBytes_;
  clearRun();
  auto decide = model_.decisionWithGraphHandler();
  runner_.start(graph, settings, [decide](const hc::SolveRunEnd& end) {
    decide(hc::solverProgramResult(end.verdict), end.solved);
  });
  return true;
}

void CSolverDlg::refreshFromWorker() {
  if (!ranOnThisGraph_ || model_.programState() != hc::ProgramState::kRunning) return;
  const hc::SolveLiveFigures live = runner_.live();
  if (live.inProgress) {
    const std::string parts = hc::runningPartsText(live.runningParts);
    setFigure(kPartsWorking,
              parts.empty() ? QStringLiteral("reading the graph") : QString::fromStdString(parts));
    setFigure(kTreeNodes, number(static_cast<double>(live.treeNodes)));
    setFigure(kSearchDepth, number(live.depth));
    return;
  }
  // A run that broke off (out of memory, say) delivers no verdict: say so and stop ticking.
  if (std::optional<hc::SolveRunEnd> end = runner_.finished(); end && !end->error.empty()) {
    stopTicking();
    setFigure(kPartsWorking, QStringLiteral("none"));
    setFigure(kVerdict, QStringLiteral("the run stopped: %1").arg(QString::fromStdString(end->error)));
  }
}

void CSolverDlg::showFinishedRun() {
  const std::optional<hc::SolveRunEnd> end = runner_.finished();
  if (!end) return;
  setFigure(kPartsWorking, QStringLiteral("none"));
  setFigure(kTreeNodes, number(static_cast<double>(end->treeNodes)));
  setFigure(kSearchDepth, QStringLiteral("%1 (deepest)").arg(number(end->deepestDepth)));
  setFigure(kVerdict, end->verdict == hc::Verdict::kHamiltonian      ? QStringLiteral("Hamiltonian")
                      : end->verdict == hc::Verdict::kNonHamiltonian ? QStringLiteral("Non-Hamiltonian")
                      : end->timedOut ? QStringLiteral("Undecided (time limit)")
                                      : QStringLiteral("Undecided"));
  setFigure(kDecidedBy, end->decidedBy == hc::DecidedBy::kNone
                            ? QString::fromLatin1(kNothing)
                            : QString::fromStdString(std::string(hc::decidedByName(end->decidedBy))));
  setFigure(kTime, QString::fromStdString(hc::formatNumber(end->seconds, 3) + " s"));
  showSeedUsed(end->seed);
  if (end->verdict != hc::Verdict::kNonHamiltonian) return;
  offerCertificate(
      end->certificate,
      end->certificate
          ? QStringLiteral("Writes the proof that this graph has no Hamiltonian cycle, "
                           "for hamcycles-cli check")
          : QStringLiteral("No certificate: %1").arg(QString::fromStdString(end->certificateNote)));
}

void CSolverDlg::saveCertificate() {
  if (!certificateText_) return;
  saveFile("Save Certificate", "Certificates (*.proof);;All Files (*)", model_.certificateFileSuggestion(),
           "the certificate",
           [text = certificateText_](const std::string& path) -> std::optional<std::string> {
             const hc::FileStatus written = hc::writeFileAtomically(path, *text);
             if (written) return std::nullopt;
             return written.error;
           });
}
