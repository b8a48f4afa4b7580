// The "coHC Proof System" page: the algorithm controls (maximum search depth, pruning
// level, all or minimal children), the big state button, and the proof as it goes: the
// per-depth history list, the four characteristic-curve charts and the elapsed time.
// "Save Chart" writes the selected chart as PNG or SVG, "Export Statistics" the table as
// CSV.
//
// The proof belongs to a CohcRunner. The search tree reports into a CohcProgressBuffer
// on the worker thread; this page drains it on a timer, so the list and the chart are
// redrawn a few dozen times a second at most and no worker touches a widget.
#pragma once

#include <QWidget>
#include <memory>

#include "app/chart_scale.h"
#include "app/cohc_progress_buffer.h"
#include "app/cohc_runner.h"
#include "app/program_model.h"
#include "app/program_page.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabBar;
class QTimer;
class QToolButton;
class QTreeView;

namespace hcui {
class CharacteristicChart;
class DepthListModel;
class ElapsedTimeLabel;
class PaintedLabel;
}  // namespace hcui

class CCoHCDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CCoHCDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CCoHCDlg() override;

  // --- hc::ProgramPage ---
  void setPageState(int32_t state) override;
  void setStateButtonVisible(bool visible) override;
  void setAlgorithmControlsEnabled(bool enabled) override;
  void abortRun() override;

  // Takes what the worker reported since the last refresh into the list and the chart
  // (the page's timer calls it; tests call it to see a state at once).
  void refreshFromWorker();
  // Asks for a file name and writes the selected chart (PNG or SVG by the name) / the
  // per-depth table as CSV. A file that cannot be written gets one message.
  void saveChart();
  void exportStatistics();

  // For tests and screenshots.
  QToolButton* stateButton() const { return stateButton_; }
  QSpinBox* maximumDepthEdit() const { return maxDepth_; }
  QComboBox* pruningList() const { return pruning_; }
  QRadioButton* allChildrenButton() const { return allChildren_; }
  QRadioButton* minimalChildrenButton() const { return minimalChildren_; }
  QTreeView* historyList() const { return list_; }
  const hc::DepthHistory& history() const;
  QTabBar* chartTabs() const { return chartTabs_; }
  hcui::CharacteristicChart* chart() const { return chart_; }
  const hc::ChartAxisMaxima& axisMaxima() const { return axes_; }
  hcui::ElapsedTimeLabel* elapsedBox() const { return elapsed_; }
  QPushButton* saveChartButton() const { return saveChart_; }
  QPushButton* exportButton() const { return export_; }

 private:
  void stateButtonPressed();
  void resetRun(bool controlsEnabled);
  void startRun();
  void showCharts(bool shown);
  void drawChart();
  void tickElapsed();

  hc::ProgramModel& model_;
  hc::CohcRunner runner_;
  std::unique_ptr<hc::CohcProgressBuffer> buffer_;
  std::shared_ptr<hc::SearchTreeStatistics> statistics_;
  hc::ChartAxisMaxima axes_;

  QToolButton* stateButton_ = nullptr;
  QGroupBox* controls_ = nullptr;
  QSpinBox* maxDepth_ = nullptr;
  QComboBox* pruning_ = nullptr;
  QRadioButton* allChildren_ = nullptr;
  QRadioButton* minimalChildren_ = nullptr;
  hcui::ElapsedTimeLabel* elapsed_ = nullptr;
  hcui::PaintedLabel* header_ = nullptr;
  hcui::DepthListModel* rows_ = nullptr;
  QTreeView* list_ = nullptr;
  QTabBar* chartTabs_ = nullptr;
  hcui::CharacteristicChart* chart_ = nullptr;
  QPushButton* saveChart_ = nullptr;
  QPushButton* export_ = nullptr;
  bool ranOnThisGraph_ = false;  // this page's run led to the current state 3
  QTimer* refreshTimer_ = nullptr;
  QTimer* elapsedTimer_ = nullptr;
};
