// The "Stone Carver's HC Algorithm" page: the algorithm controls (version, how many
// Probability Mill iterations the history list keeps, worker threads, seed), the big
// state button that starts, aborts and resets a run, and the run as it goes: the history
// list, four statistics boxes and the elapsed time. "Export Statistics" writes a finished
// run's list and statistics as CSV. The frame and the state handling are MethodPage's.
//
// The run itself belongs to an SchcRunner (worker and ticker threads). The engine reports
// every iteration into an SchcProgressBuffer on the worker thread; this page drains it on
// a timer and never lets a worker touch a widget.
#pragma once

#include <array>
#include <memory>

#include "app/iteration_history.h"
#include "run/method_runners.h"
#include "run/schc_progress_buffer.h"
#include "ui/method_page.h"

class QComboBox;
class QSpinBox;

namespace hcui {
class IterationListModel;
}  // namespace hcui

class CStoneCarverDlg : public hcui::MethodPage {
  Q_OBJECT
 public:
  explicit CStoneCarverDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CStoneCarverDlg() override;

  // The version code of the selected list entry (one of the option table's choices).
  int32_t selectedVersion() const;
  void refreshFromWorker() override;

  // For tests and screenshots.
  QSpinBox* iterationsEdit() const { return iterations_; }
  QComboBox* versionList() const { return versions_; }
  const hc::IterationHistory& history() const;
  hcui::PaintedLabel* statisticCaption(int i) const { return captions_[static_cast<size_t>(i)]; }
  hcui::PaintedLabel* statisticValue(int i) const { return values_[static_cast<size_t>(i)]; }
  const hc::SchcRunner& runner() const { return runner_; }
  // Where the worker reports (tests post iterations here as the engine would).
  hc::SchcProgressBuffer& progressBuffer() { return *buffer_; }

 private:
  void clearRun() override;
  bool startRunner() override;
  void showFinishedRun() override;
  std::string statisticsCsv() const override;
  void showStatistics();

  hc::SchcRunner runner_;
  std::unique_ptr<hc::SchcProgressBuffer> buffer_ = std::make_unique<hc::SchcProgressBuffer>();
  int32_t howManyNodes_ = 0;  // of the graph the current run works on

  QSpinBox* iterations_ = nullptr;
  QComboBox* versions_ = nullptr;
  hcui::IterationListModel* rows_ = nullptr;
  std::array<hcui::PaintedLabel*, 4> captions_{};
  std::array<hcui::PaintedLabel*, 4> values_{};
};
