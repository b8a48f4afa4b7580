// The "Stone Carver's HC Algorithm" page: the algorithm controls (version, how many
// Probability Mill iterations the history list keeps, worker threads, seed), the big
// state button that starts, aborts and resets a run, and the run as it goes: the history
// list, four statistics boxes and the elapsed time.
//
// The run itself belongs to an SchcRunner (worker and ticker threads). The engine reports
// every iteration into an SchcProgressBuffer on the worker thread; this page drains it on
// a timer and never lets a worker touch a widget.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "app/program_model.h"
#include "app/program_page.h"
#include "app/schc_progress_buffer.h"
#include "app/schc_runner.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;
class QToolButton;
class QTreeView;

namespace hcui {
class ElapsedTimeLabel;
class IterationListModel;
class PaintedLabel;
}  // namespace hcui

class CStoneCarverDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CStoneCarverDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CStoneCarverDlg() override;

  // --- hc::ProgramPage ---
  void setPageState(int32_t state) override;
  void setStateButtonVisible(bool visible) override;
  void setAlgorithmControlsEnabled(bool enabled) override;
  void abortRun() override;

  // The version code of the selected list entry (3, 4, 5, 6, 7, 12 or 13).
  int32_t selectedVersion() const;
  // Takes what the worker reported since the last refresh into the list and the boxes
  // (the page's timer calls it; tests call it to see a state at once).
  void refreshFromWorker();

  // For tests and screenshots.
  QToolButton* stateButton() const { return stateButton_; }
  QSpinBox* iterationsEdit() const { return iterations_; }
  QComboBox* versionList() const { return versions_; }
  QSpinBox* threadsEdit() const { return threads_; }
  QLineEdit* seedEdit() const { return seed_; }
  QLabel* seedUsedLabel() const { return seedUsed_; }
  QTreeView* historyList() const { return list_; }
  const hc::IterationHistory& history() const;
  hcui::PaintedLabel* statisticCaption(int i) const { return captions_[static_cast<size_t>(i)]; }
  hcui::PaintedLabel* statisticValue(int i) const { return values_[static_cast<size_t>(i)]; }
  hcui::ElapsedTimeLabel* elapsedBox() const { return elapsed_; }
  const hc::SchcRunner& runner() const { return runner_; }
  // Where the worker reports (tests post iterations here as the engine would).
  hc::SchcProgressBuffer& progressBuffer() { return *buffer_; }

 private:
  void stateButtonPressed();
  void resetRun(bool controlsEnabled);
  void startRun();
  void showStatistics();
  void showHeader(int32_t state);
  void tickElapsed();

  hc::ProgramModel& model_;
  hc::SchcRunner runner_;
  std::unique_ptr<hc::SchcProgressBuffer> buffer_;
  int32_t howManyNodes_ = 0;  // of the graph the current run works on

  QToolButton* stateButton_ = nullptr;
  QGroupBox* controls_ = nullptr;
  QSpinBox* iterations_ = nullptr;
  QComboBox* versions_ = nullptr;
  QSpinBox* threads_ = nullptr;
  QLineEdit* seed_ = nullptr;
  QLabel* seedUsed_ = nullptr;
  hcui::ElapsedTimeLabel* elapsed_ = nullptr;
  hcui::PaintedLabel* header_ = nullptr;
  hcui::IterationListModel* rows_ = nullptr;
  QTreeView* list_ = nullptr;
  std::array<hcui::PaintedLabel*, 4> captions_{};
  std::array<hcui::PaintedLabel*, 4> values_{};
  bool ranOnThisGraph_ = false;  // this page's run led to the current state 3
  QTimer* refreshTimer_ = nullptr;
  QTimer* elapsedTimer_ = nullptr;
};
