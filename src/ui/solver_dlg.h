// The "Solver" page: the solve portfolio (every method of the program at once, as
// `hamcycles-cli solve` runs it) on the working graph. The algorithm controls (time limit,
// threads, seed), the big state button that starts, aborts and resets a run, the elapsed
// time, and the run as it goes: which parts are working, the exact search's tree nodes and
// depth; when it ends, the verdict, the part that decided and the time.
//
// The run belongs to a SolveRunner (a worker thread). The page reads the runner's live
// figures on a timer a few times a second, so however fast the engine works the page
// repaints at that pace, and no worker touches a widget.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "app/program_model.h"
#include "app/program_page.h"
#include "run/solve_runner.h"

class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;
class QToolButton;

namespace hcui {
class ElapsedTimeLabel;
class PaintedLabel;
}  // namespace hcui

class CSolverDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  // The figure boxes, in their order on the page.
  enum Figure { kPartsWorking, kTreeNodes, kSearchDepth, kVerdict, kDecidedBy, kTime, kFigureCount };

  explicit CSolverDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CSolverDlg() override;

  // --- hc::ProgramPage ---
  void setPageState(int32_t state) override;
  void setStateButtonVisible(bool visible) override;
  void setAlgorithmControlsEnabled(bool enabled) override;
  void abortRun() override;

  // Shows the runner's live figures (the page's timer calls it; tests call it to see a
  // state at once).
  void refreshFromWorker();

  // For tests and screenshots.
  QToolButton* stateButton() const { return stateButton_; }
  QDoubleSpinBox* timeLimitEdit() const { return timeLimit_; }
  QSpinBox* threadsEdit() const { return threads_; }
  QLineEdit* seedEdit() const { return seed_; }
  QLabel* seedUsedLabel() const { return seedUsed_; }
  QPushButton* certificateButton() const { return certificate_; }
  hcui::ElapsedTimeLabel* elapsedBox() const { return elapsed_; }
  QString figureText(Figure figure) const;
  const hc::SolveRunner& runner() const { return runner_; }

 private:
  void stateButtonPressed();
  void startRun();
  void resetRun(bool controlsEnabled);
  void showFinishedRun();
  void clearFigures();
  void setFigure(Figure figure, const QString& text);

  hc::ProgramModel& model_;
  hc::SolveRunner runner_;
  bool ranOnThisGraph_ = false;  // this page's run led to the current state 3

  QToolButton* stateButton_ = nullptr;
  QGroupBox* controls_ = nullptr;
  QDoubleSpinBox* timeLimit_ = nullptr;
  QSpinBox* threads_ = nullptr;
  QLineEdit* seed_ = nullptr;
  QLabel* seedUsed_ = nullptr;
  hcui::ElapsedTimeLabel* elapsed_ = nullptr;
  hcui::PaintedLabel* header_ = nullptr;
  std::array<hcui::PaintedLabel*, kFigureCount> values_{};
  QPushButton* certificate_ = nullptr;
  QTimer* figuresTimer_ = nullptr;
  QTimer* elapsedTimer_ = nullptr;
};
