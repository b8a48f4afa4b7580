// The "Graph Generation" page: twelve radio buttons in five class groups choose a graph
// family, a parameter area shows that family's two edits, and the area's "LOAD GRAPH"
// button checks them (generation_page_logic.h: the message boxes in order, or the request)
// and hands the request to the program model. Usable only in state 0.
//
// Requests that take long to build run on a worker thread, with a progress bar and a
// Cancel button on the page; the window stays responsive, and the finished graph is handed
// to the model on the UI thread. Cancel, or any state change meanwhile (a drawing
// submitted from the editor), drops the build: the program stays where it is.
#pragma once

#include <QWidget>
#include <array>
#include <atomic>
#include <memory>

#include "app/generation_page_logic.h"
#include "app/program_model.h"
#include "app/program_page.h"
#include "run/background_job.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

class CGraphGenerationDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CGraphGenerationDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CGraphGenerationDlg() override;

  void setPageState(hc::ProgramState state) override;

  // The source type of the radio button that is on, -1 when none is.
  int32_t selectedFamily() const { return selectedFamily_; }
  // A build runs on the worker thread (the busy bar and Cancel are shown).
  bool generationRunning() const { return job_.running(); }
  // The Cancel button: drops the running build; state 0 and no graph.
  void cancelGeneration();

  // The controls, for the window's tests: the radio button of a source type (1..12), the
  // edits (0, 1) and load button of that type's area.
  QRadioButton* radioButton(int32_t sourceType) const;
  QLineEdit* parameterEdit(int32_t sourceType, int index) const;
  QPushButton* loadButton(int32_t sourceType) const;
  QPushButton* cancelButton() const { return cancelButton_; }

 private:
  struct Generated {
    hc::BuiltGraph built;
    std::shared_ptr<hc::Graph> workingCopy;
  };
  struct Area {
    QGroupBox* box = nullptr;
    std::array<QLabel*, 2> labels{};
    std::array<QLineEdit*, 2> edits{};
    QPushButton* load = nullptr;
  };

  static int areaOf(int32_t sourceType);
  void radioClicked();
  void showParameterArea();
  // Scrolls the page (when it scrolls) to the chosen family's controls.
  void showChosenArea();
  void loadPressed(int area);
  void startGeneration(const hc::GraphRequest& request);
  void generationDone(const hc::GraphRequest& request, Generated done);
  void setBusy(bool busy);
  void showProgress();

  hc::ProgramModel& model_;
  std::array<QRadioButton*, 12> radios_{};
  std::array<QGroupBox*, 5> groups_{};
  std::array<Area, 5> areas_{};
  int32_t selectedFamily_ = -1;

  QWidget* busyPanel_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QTimer* progressTimer_ = nullptr;
  // Written by the worker (0..1, or -1 before the first report), read by the timer.
  std::shared_ptr<std::atomic<double>> progress_;
  hc::BackgroundJob<Generated> job_;
};
