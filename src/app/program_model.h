// The program as a Qt-free model: the program state and its moves, the graph each state
// refers to, the request that built it, the Graph Editor's drawing, and the order in which
// the pages hear of a new state. The window shows it; tests drive it through a scripted
// ProgramView. Everything here runs on the UI thread except decisionHandler()'s function.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/program_page.h"
#include "app/program_states.h"
#include "app/program_view.h"
#include "core/graph.h"
#include "core/graph_source.h"
#include "core/stop_token.h"
#include "editor/graph2d.h"
#include "run/background_job.h"

namespace hc {

// What the Graph Generation page and the editor's "Submit Graph" (kUserDrawnGraph) send.
struct GraphRequest {
  GraphSource sourceType = GraphSource::kNoGraph;
  double parameter1 = 0;
  double parameter2 = 0;
};

// Builds the graph of a generation request (the eight families, the 3-SAT reduction) or
// says why it cannot; touches no model, so it may run on any thread. Any other source gives
// an error. `stop` (may be null) stops the build: the generators look
// at it at every outer step, and a stopped build gives no graph and the error
// kGenerationCancelled ("generation cancelled"). `progress` (may be empty) is called on
// the building thread with 0..1.
struct BuiltGraph {
  std::unique_ptr<Graph> graph;  // null exactly when error is set
  std::string error;
};
BuiltGraph buildRequestedGraph(const GraphRequest& request, const StopToken* stop = nullptr,
                               std::function<void(double)> progress = {});

// "Graph Files (*.g)|*.g|All Files (*.*)|*.*||" (the editor's filters) as the view's
// "Graph Files (*.g);;All Files (*.*)".
std::string viewFileFilter(const std::string& barSeparated);

class ProgramModel {
 public:
  explicit ProgramModel(ProgramView& view);
  ProgramModel(const ProgramModel&) = delete;
  ProgramModel& operator=(const ProgramModel&) = delete;

  // Registers the page at `index` (null: none there). Pages are not owned.
  void setPage(PageIndex index, ProgramPage* page);
  ProgramPage* page(PageIndex index) const { return pages_[index]; }

  ProgramState programState() const { return programState_; }
  ProgramResult programResult() const { return programResult_; }
  void setProgramResult(ProgramResult result) { programResult_ = result; }
  AlgorithmChoice algorithmChoice() const { return algorithmChoice_; }
  GraphSource graphSourceType() const { return graphSourceType_; }
  double parameter1() const { return parameter1_; }
  double parameter2() const { return parameter2_; }
  // Null in state 0. The working graph is a fresh copy of the submitted one on every entry
  // into state 1; the methods and the canvas colouring work on it.
  std::shared_ptr<Graph> submittedGraph() const { return submittedGraph_; }
  std::shared_ptr<Graph> workingGraph() const { return workingGraph_; }
  // Replaces the working graph (a method that ends on another graph object).
  void setWorkingGraph(std::shared_ptr<Graph> graph) { workingGraph_ = std::move(graph); }
  const std::string& currentFilePath() const { return currentFilePath_; }
  void setCurrentFilePath(std::string path) { currentFilePath_ = std::move(path); }
  // The Graph Editor's drawing: owned here so the model can clear, load and convert it;
  // the editor page shows and edits it. It survives Reset.
  Graph2D& drawing() { return drawing_; }
  const Graph2D& drawing() const { return drawing_; }
  // The tab shown (help reads it); the window keeps it up to date.
  int32_t currentTab() const { return currentTab_; }
  void setCurrentTab(int32_t tab) { currentTab_ = tab; }

  // "Knight's Tour Graph With 64 Nodes (8 X 8)", the file name, "NO GRAPH LOADED", ...
  std::string graphDisplayName() const;
  // The file name OUTPUT HC offers: "User-Defined Graph -HC.txt" for a drawing (drawn or
  // read from a .g file), else the display name's own ("petersen-HC.txt",
  // "Complete Graph With 5 Nodes-HC.txt").
  std::string cycleFileSuggestion() const;
  // The file name "Save Certificate..." offers: the display name + ".proof", a file's
  // without its extension ("petersen.proof").
  std::string certificateFileSuggestion() const;
  // "Hamiltonian Cycles  [" + display name + "]", as fixed on the last entry into 0 or 1.
  const std::string& windowTitle() const { return windowTitle_; }
  std::string statusText() const;

  // The only way the state changes. kEditing forgets both graphs, the source and the file
  // path; kSubmitted makes a fresh working copy; kRunning and kDecided only move the state;
  // a value outside the four changes nothing. Then the pages are told, in their fixed order (see the .cpp),
  // each with the state as it is at that moment, and the frame is refreshed.
  void setProgramState(ProgramState state);
  // Builds the graph of `request` (sources 1..13) and enters state 1. Any earlier graph is
  // dropped first (state 0); a cancelled file dialog or a graph that cannot be built stays
  // in state 0 (the latter with one message box). A source-13 request with an empty
  // drawing is refused with a message and changes nothing.
  void loadGraphRequest(const GraphRequest& request);
  // loadGraphRequest's steps for sources 1..9 with a graph already built (e.g. by
  // buildRequestedGraph on a worker): clears the drawing, enters 0, stores the request's
  // source and parameters and `graph`, enters 1. A null graph stays in state 0.
  // `workingCopy`, when given, must be a fresh copy of `graph` (made on the worker too):
  // that entry into state 1 takes it instead of copying on the UI thread.
  void installGeneratedGraph(const GraphRequest& request, std::shared_ptr<Graph> graph,
                             std::shared_ptr<Graph> workingCopy = nullptr);
  // The big state button of the editor, Stone Carver, Co-HC or Solver page was pressed.
  void pageButtonPressed(PageIndex button);
  // Start-up with a command-line file, chosen by its extension ("txt", "g", "obj", also
  // "hcp"): state 1 with that graph, or state 0 and one message box when it cannot be read.
  void startWithFile(const std::string& path);

  // For a runner started on the UI thread in state 2: a function that may be called once
  // from any thread when the run decides; it posts "store the result, enter state 3" to
  // the UI thread, where it is dropped unless the state is still 2 of that same run. The
  // runners report the graph's HamiltonicityState (undecided: the search was too shallow).
  std::function<void(HamiltonicityState result)> decisionHandler();
  // The same for a run that decides on a graph of its own (the Solver's copy holding the
  // cycle): on the UI thread, and only for that run, `graph` (when not null) becomes the
  // working graph before state 3 is entered, so every page is told of 3 with it.
  std::function<void(ProgramResult result, std::shared_ptr<Graph> graph)> decisionWithGraphHandler();
  // Increases on every entry into state 2 (a run's identity).
  uint64_t runGeneration() const { return runGeneration_; }

  ProgramView& view() { return view_; }

 private:
  // A run is starting (state 2): on a big graph the working copy the next state 1 needs is
  // made meanwhile on a worker, so an abort or a reset returns to state 1 at once.
  void prepareWorkingCopy();
  static void releaseInBackground(std::shared_ptr<Graph> graph);
  void notifyPagesOfState();
  void notify(PageIndex index);
  bool installFile(const std::string& path, GraphSource sourceType);
  // The note a file load leaves for state 1 (which graph of a file of several was read).
  void showLoadNote();
  void refreshTitle();

  ProgramView& view_;
  std::array<ProgramPage*, kPageCount> pages_{};
  ProgramState programState_ = ProgramState::kEditing;
  ProgramResult programResult_ = ProgramResult::kNonHamiltonian;
  AlgorithmChoice algorithmChoice_ = AlgorithmChoice::kNone;
  GraphSource graphSourceType_ = GraphSource::kNoGraph;
  double parameter1_ = 0;
  double parameter2_ = 0;
  std::shared_ptr<Graph> submittedGraph_;
  std::shared_ptr<Graph> workingGraph_;
  std::shared_ptr<Graph> preparedWorkingCopy_;  // used by the next entry into state 1
  std::string currentFilePath_;
  std::string loadNote_;
  Graph2D drawing_;
  int32_t currentTab_ = 0;
  std::string windowTitle_;
  uint64_t runGeneration_ = 0;
  // Last: its destructor drops a copy still being made before the fields above go.
  std::unique_ptr<BackgroundJob<std::shared_ptr<Graph>>> copyJob_;
};

// From this many nodes on, the working copy for the next state 1 is made during the run.
inline constexpr int32_t kBackgroundCopyNodes = 100000;

}  // namespace hc
