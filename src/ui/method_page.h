// The frame the method pages (Stone Carver, Co-HC, Solver) are built in, and the part of
// their behaviour that is the same: the big state button, the "Algorithm Controls" group
// (with, where a page asks for them, the threads and seed rows), the elapsed-time box, the
// header over the page's body (a history list, or figure boxes), "Export Statistics", the
// refresh and elapsed timers, and what each program state does to them. A page adds its own
// controls to the group, its own boxes beside the list (statistics, charts), and runs its
// method on its runner.
//
// Layout: above, the state button, the controls group and the elapsed time with the page's
// own boxes under it (statistics); below, the header and the list, exactly as wide as its
// columns, with the page's own boxes beside it (charts); at the bottom the export buttons.
// Both rows stay narrower than 800 pixels, so the page fits a window of 800 x 600.
//
// The run itself belongs to the page's runner (worker threads). The engine reports into
// a hand-over buffer (or live figures) on the worker; the page reads it on a timer, so the
// page is redrawn a few dozen times a second at most and no worker touches a widget.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/program_model.h"
#include "app/program_page.h"

namespace hc {
struct MethodOptionRow;
}

class QAbstractItemModel;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;
class QToolButton;
class QTreeView;
class QVBoxLayout;

namespace hc {
class MethodRunner;
}  // namespace hc

namespace hcui {

class ElapsedTimeLabel;
class PaintedLabel;

// Caption boxes with their value boxes beside them, one pair a row: the Stone Carver's
// statistics, the Solver's figures. The captions are as wide as the longest of them in the
// font they are painted in.
struct FigureBoxes {
  QGridLayout* grid = nullptr;
  std::vector<PaintedLabel*> captions, values;
};
FigureBoxes makeFigureBoxes(QWidget* parent, std::span<const char* const> captions, int valueWidth);

class MethodPage : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  // --- hc::ProgramPage ---
  void setPageState(hc::ProgramState state) override;
  void setStateButtonVisible(bool visible) override;
  void setAlgorithmControlsEnabled(bool enabled) override;
  void abortRun() override;
  void announceAbort() override;

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
  QPushButton* exportButton() const { return export_; }  // null on a page with a body instead of a list
  // The threads and seed rows (null on a page without them).
  QSpinBox* threadsEdit() const { return threads_; }
  QLineEdit* seedEdit() const { return seed_; }
  QLabel* seedUsedLabel() const { return seedUsed_; }

 protected:
  // `caption`: the message boxes' caption, also the page's tab name in help. `runner` is
  // a member of the page: it is used from finishConstruction() on.
  MethodPage(hc::ProgramModel& model, hc::MethodRunner& runner, hc::PageIndex index,
             const QString& frameTitle, const char* caption, const QString& headerText, QWidget* parent);
  // The list over `rows` (owned by the page) with its columns after the hidden first one.
  // Call after the side boxes are added.
  void setHistoryList(QAbstractItemModel* rows, const int32_t* widths, int count);
  // Instead of a list: `body` under the header, as wide as the page; the page has no
  // statistics to export then.
  void setBody(QLayout* body);
  // The "Threads:" and "Seed:" rows of the controls from `row` on, and the seed used under
  // them. A seed that is not a whole number 0..4294967295 refuses the start with one
  // message; the seed used is shown after a run and kept through state 1, for a replay.
  void addThreadsAndSeedRows(int row, const hc::MethodOptionRow& threads, const QString& threadsTip,
                             const QString& seedTip);
  // The seed typed in (none: drawn afresh).
  std::optional<uint32_t> typedSeed() const;
  void showSeedUsed(uint32_t seed);
  // The figures are read this many milliseconds apart (default kRefreshIntervalMs).
  void setRefreshInterval(int milliseconds);
  // The run broke off: the timers stop, the elapsed time stays where it ended.
  void stopTicking();
  // Asks for a file name (`title`, `filter`, `suggestion`) and calls `write`, which returns
  // the error message of a file it could not write: one message box then, else a note
  // naming `what` and where it went.
  void saveFile(const std::string& title, const std::string& filter, const std::string& suggestion,
                const std::string& what,
                const std::function<std::optional<std::string>(const std::string&)>& write);
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

  // The page's method. clearRun empties the list and the page's boxes for a new graph;
  // startRunner starts the method on the working graph (false: nothing to run on).
  virtual void clearRun() = 0;
  virtual bool startRunner() = 0;
  // What the page shows beyond the frame: while a run exists (states 2 and 3) or not.
  virtual void showRunExtras(bool /*shown*/) {}
  // State 3 reached by this page's run: the page's own finishing touches.
  virtual void showFinishedRun() {}
  virtual std::string statisticsCsv() const { return {}; }

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
  bool seedAccepted();

  hc::MethodRunner& runner_;
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
  QSpinBox* threads_ = nullptr;
  QLineEdit* seed_ = nullptr;
  QLabel* seedUsed_ = nullptr;
  QTimer* refreshTimer_ = nullptr;
  QTimer* elapsedTimer_ = nullptr;
};

}  // namespace hcui
