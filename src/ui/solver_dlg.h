// The "Solver" page: the solve portfolio (every method of the program at once, as
// `hamcycles-cli solve` runs it) on the working graph. The algorithm controls (time limit,
// threads, seed), the big state button that starts, aborts and resets a run, the elapsed
// time, and the run as it goes: which parts are working, the exact search's tree nodes and
// depth; when it ends, the verdict, the part that decided and the time. After a
// non-Hamiltonian verdict "Save Certificate..." writes its proof. The frame and the state
// handling are MethodPage's.
//
// The run belongs to a SolveRunner (a worker thread). The page reads the runner's live
// figures on a timer a few times a second, so however fast the engine works the page
// repaints at that pace, and no worker touches a widget.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "run/solve_runner.h"
#include "ui/method_page.h"

class QDoubleSpinBox;

class CSolverDlg : public hcui::MethodPage {
  Q_OBJECT
 public:
  // The figure boxes, in their order on the page.
  enum Figure { kPartsWorking, kTreeNodes, kSearchDepth, kVerdict, kDecidedBy, kTime, kFigureCount };

  // The runner, a member, ends its run when the page goes.
  explicit CSolverDlg(hc::ProgramModel& model, QWidget* parent = nullptr);

  void refreshFromWorker() override;
  // Asks for a file name and writes the certificate of the non-Hamiltonian verdict shown
  // (its file name: the graph's, ".proof"); a file that cannot be written gets one message.
  void saveCertificate();

  // For tests and screenshots.
  QDoubleSpinBox* timeLimitEdit() const { return timeLimit_; }
  QPushButton* certificateButton() const { return certificate_; }
  QString figureText(Figure figure) const;
  const hc::SolveRunner& runner() const { return runner_; }
  void setCertificateLimitBytes(int64_t bytes) { certificateLimitBytes_ = bytes; }

 private:
  void clearRun() override;
  bool startRunner() override;
  void showFinishedRun() override;
  void setFigure(Figure figure, const QString& text);
  void offerCertificate(std::shared_ptr<const std::string> text, const QString& toolTip);

  hc::SolveRunner runner_;
  std::shared_ptr<const std::string> certificateText_;  // of the verdict shown
  int64_t certificateLimitBytes_ = hc::kDefaultCertificateLimitBytes;

  QDoubleSpinBox* timeLimit_ = nullptr;
  std::vector<hcui::PaintedLabel*> values_;
  QPushButton* certificate_ = nullptr;
};
