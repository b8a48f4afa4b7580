// The "coHC Proof System" page: the algorithm controls (maximum search depth, pruning
// level, all or minimal children), the big state button, and the proof as it goes: the
// per-depth history list, the four characteristic-curve charts and the elapsed time.
// "Save Chart" writes the selected chart as PNG or SVG (titled with the graph's and the
// chart's names), "Export Statistics" the table as CSV. The frame and the state handling
// are MethodPage's.
//
// The proof belongs to a CohcRunner. The search tree reports into a CohcProgressBuffer
// on the worker thread; this page drains it on a timer, so the list and the chart are
// redrawn a few dozen times a second at most and no worker touches a widget.
#pragma once

#include <filesystem>
#include <memory>

#include "app/chart_scale.h"
#include "run/cohc_progress_buffer.h"
#include "run/method_runners.h"
#include "ui/method_page.h"

class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabBar;

namespace hcui {
class CharacteristicChart;
class DepthListModel;
}  // namespace hcui

class CCoHCDlg : public hcui::MethodPage {
  Q_OBJECT
 public:
  explicit CCoHCDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CCoHCDlg() override;

  void refreshFromWorker() override;
  // Asks for a file name and writes the selected chart (PNG or SVG by the name); a file
  // that cannot be written gets one message.
  void saveChart();

  // For tests and screenshots.
  QSpinBox* maximumDepthEdit() const { return maxDepth_; }
  QComboBox* pruningList() const { return pruning_; }
  QRadioButton* allChildrenButton() const { return allChildren_; }
  QRadioButton* minimalChildrenButton() const { return minimalChildren_; }
  const hc::DepthHistory& history() const;
  QTabBar* chartTabs() const { return chartTabs_; }
  QComboBox* chartChoice() const { return chartChoice_; }  // in the strip's place when narrow
  hcui::CharacteristicChart* chart() const { return chart_; }
  const hc::ChartAxisMaxima& axisMaxima() const { return axes_; }
  QPushButton* saveChartButton() const { return saveChart_; }
  // Full chart captions where the strip has room for them, else the short set, else a
  // drop-down list instead of the strip.
  void fitChartCaptions();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void clearRun() override;
  bool startRunner() override;
  void showRunExtras(bool shown) override;
  void showFinishedRun() override;
  std::string statisticsCsv() const override;
  void drawChart();

  hc::CohcRunner runner_;
  std::unique_ptr<hc::CohcProgressBuffer> buffer_ = std::make_unique<hc::CohcProgressBuffer>();
  std::shared_ptr<hc::SearchTreeStatistics> statistics_;
  hc::ChartAxisMaxima axes_;

  QSpinBox* maxDepth_ = nullptr;
  QComboBox* pruning_ = nullptr;
  QRadioButton* allChildren_ = nullptr;
  QRadioButton* minimalChildren_ = nullptr;
  hcui::DepthListModel* rows_ = nullptr;
  QWidget* charts_ = nullptr;
  QTabBar* chartTabs_ = nullptr;
  QComboBox* chartChoice_ = nullptr;
  hcui::CharacteristicChart* chart_ = nullptr;
  QPushButton* saveChart_ = nullptr;
};
