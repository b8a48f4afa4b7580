// The frame both method pages (Stone Carver, Co-HC) are built in, and the part of their
// behaviour that is the same: the big state button, the "Algorithm Controls" group, the
// elapsed-time box, the history header and list, "Export Statistics", the refresh and
// elapsed timers, and what each program state does to them. A page adds its own controls
// to the group, its own boxes beside the list (statistics, charts), and runs its method.
//
// Layout: above, the state button, the controls group and the elapsed time with the page's
// own boxes under it (statistics); below, the header and the list, exactly as wide as its
// columns, with the page's own boxes beside it (charts); at the bottom the export buttons.
// Both rows stay narrower than 800 pixels, so the page fits a window of 800 x 600.
//
// The run itself belongs to the page's runner (worker threads). The engine reports into
// a hand-over buffer on the worker; the page drains it on a timer, so the list is redrawn
// a few dozen times a second at most and no worker touches a widget.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

#include "app/program_model.h"
#include "app/program_page.h"

class QAbstractItemModel;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QTimer;
class QToolButton;
class QTreeView;
class QVBoxLayout;

namespace hcui {

class ElapsedTimeLabel;
class PaintedLabel;

class MethodPage : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  // --- hc::ProgramPage ---
  void setPageState(int32_t state) override;
  void setStateButtonVisible(bool visible) override;
  void setAlgorithmControlsEnabled(bool enabled) override;
  void abortRun() override;

  // Takes what the worker reported since the last refresh into the list and the page's
  // boxes (the page's timer calls it; tests call it to see a state at once).
  virtual void refreshFromWorker() = 0;
  // Asks for a file name and writes the run's statistics as CSV; a file that cannot be
  // written gets one message, a written one a note naming where it went.
  void exportStatistics();

  // For tests and screenshots.
  QToolButton* stateButton() const { return stateButton_; }
  QTreeView* historyList() const { return list_; }
  ElapsedTimeLabel* elapsedBox() const { return elapsed_; }
  QPushButton* exportButton() const { return export_; }

 protected:
  // `caption`: the message boxes' caption, also the page's tab name in help.
  MethodPage(hc::ProgramModel& model, hc::PageIndex index, const QString& frameTitle, const char* caption,
             const QString& headerText, QWidget* parent);
  // The list over `rows` (owned by the page) with its columns after the hidden first one.
  // Call after the side boxes are added.
  void setHistoryList(QAbstractItemModel* rows, const int32_t* widths, int count);
  // Ends the constructor of a page: shows the current program state.
  void finishConstruction() { setPageState(model_.programState()); }

  // Where a page puts its own widgets.
  QGridLayout* controlsForm() const { return form_; }
  QGroupBox* controlsGroup() const { return controls_; }
  QWidget* frame() const { return frame_; }
  QVBoxLayout* topExtras() const { return topExtras_; }
  QVBoxLayout* sideExtras() const { return sideExtras_; }
  // Adds a button to the export row, left of "Export Statistics".
  void addExportButton(QPushButton* button);
  // Moves what the worker left in `buffer` into the list's `rows`, keeping the newest row
  // in sight when the list showed the end; false when there was nothing new.
  template <typename Buffer, typename Rows>
  bool takeNews(Buffer& buffer, Rows& rows) {
    if (!buffer.hasNews()) return false;
    const bool atEnd = listShowsEnd();
    rows.apply(buffer.drain());
    followList(atEnd);
    return true;
  }

  // The page's method. stopRunner aborts without waiting; runnerSeconds is the run's
  // elapsed time; clearRun empties the list and the page's boxes for a new graph;
  // startRunner starts the method on the working graph (false: nothing to run on).
  virtual void stopRunner() = 0;
  virtual double runnerSeconds() const = 0;
  virtual void clearRun() = 0;
  virtual bool startRunner() = 0;
  // A press of the state button in state 1 may be refused (a bad seed): false.
  virtual bool readyToStart() { return true; }
  // What the page shows beyond the frame: while a run exists (states 2 and 3) or not.
  virtual void showRunExtras(bool /*shown*/) {}
  // State 3 reached by this page's run: the page's own finishing touches.
  virtual void showFinishedRun() {}
  virtual std::string statisticsCsv() const = 0;

  hc::ProgramModel& model_;
  const char* caption_;
  bool ranOnThisGraph_ = false;  // this page's run led to the current state 3

 private:
  bool listShowsEnd() const;
  void followList(bool wasAtEnd);
  void stateButtonPressed();
  void resetRun(bool controlsEnabled);
  void startRun();
  void tickElapsed();

  hc::PageIndex index_;
  QString headerText_;
  QWidget* frame_ = nullptr;
  QToolButton* stateButton_ = nullptr;
  QGroupBox* controls_ = nullptr;
  QGridLayout* form_ = nullptr;
  ElapsedTimeLabel* elapsed_ = nullptr;
  PaintedLabel* header_ = nullptr;
  QTreeView* list_ = nullptr;
  QHBoxLayout* bottom_ = nullptr;
  QVBoxLayout* listColumn_ = nullptr;
  QVBoxLayout* topExtras_ = nullptr;
  QVBoxLayout* sideExtras_ = nullptr;
  QHBoxLayout* exportRow_ = nullptr;
  QPushButton* export_ = nullptr;
  QTimer* refreshTimer_ = nullptr;
  QTimer* elapsedTimer_ = nullptr;
};

}  // namespace hcui
