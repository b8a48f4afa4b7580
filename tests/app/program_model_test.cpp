// The program model: the state table, the notification order, graph requests and their
// names, start-up with a file; and the method runners (Stone Carver, Co-HC, Solver): a
// decided run hands exactly one state-3 request to the UI thread; abort returns at once, and
// nothing of an aborted run (progress, ticks, its result) arrives afterwards.
#include "app/program_model.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/elapsed_time.h"
#include "app/user_messages.h"
#include "io/graph_format_registry.h"
#include "run/method_runners.h"
#include "run/solve_runner.h"
#include "schc/hamiltonian_cycle.h"
#include "scripted_view.h"
#include "solve/solve_graph.h"
#include "support/eventually.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::eventually;
using testing::RecordingPage;
using testing::ScriptedView;
using testing::shared;

class ProgramModelTest : public ::testing::Test {
 protected:
  ProgramModelTest() {
    const char* names[] = {"E", "G", "I", "S", "C", "V"};
    for (int i = 0; i < kPageCount; ++i) {
      pages.emplace_back(std::make_unique<RecordingPage>(names[i], log));
      model.setPage(static_cast<PageIndex>(i), pages.back().get());
    }
  }
  void loadComplete() { model.loadGraphRequest({GraphSource::kCompleteGraph, 5, 0}); }
  std::string takeLog() {
    std::string text;
    for (auto& entry : log) text += (text.empty() ? "" : " ") + entry;
    log.clear();
    return text;
  }
  ScriptedView view;
  std::vector<std::string> log;
  std::vector<std::unique_ptr<RecordingPage>> pages;
  ProgramModel model{view};
};

// Every event of the state table from every state it applies to, with the pages'
// notifications in order. `from` is reached by a load (1), a method's button (2) or a
// decision (3, after an edit of the working graph); `button` -1 is Reset; `algorithm` is the
// choice afterwards (0: unchanged); `via` the button that entered 2 when not the obvious one.
// Every entry into 1 brings a fresh copy of the graph.
TEST_F(ProgramModelTest, StateTable) {
  struct Row {
    int32_t from, button, to, algorithm;
    const char* log;
    int32_t via = -1;
  };
  const char* toOne = "E1 G1 I1 S1 C1 V1";
  const Row rows[] = {
      {1, kStoneCarverPage, 2, 1, "E2 G2 I2 S2 E-button C-button C-controls V-button V-controls"},
      {1, kCoHCPage, 2, 2, "E2 G2 I2 C2 E-button S-button S-controls V-button V-controls"},
      {1, kEditorPage, 2, 3, "E2 G2 I2 C-button C-controls S-button S-controls V-button V-controls"},
      {1, kSolverPage, 2, 4, "E2 G2 I2 V2 E-button S-button S-controls C-button C-controls"},
      {1, kGenerationPage, 1, 0, ""},
      {2, kStoneCarverPage, 1, 0, "S-abort E1 G1 I1 S1 C1 V1"},
      {2, kCoHCPage, 1, 0, "C-abort E1 G1 I1 S1 C1 V1"},
      {2, kSolverPage, 1, 0, "V-abort E1 G1 I1 S1 C1 V1"},
      {2, kEditorPage, 1, 0, toOne, kEditorPage},
      // Another page's button during a run changes nothing (the run goes on).
      {2, kEditorPage, 2, 0, "", kStoneCarverPage},
      {2, kCoHCPage, 2, 0, "", kStoneCarverPage},
      {2, kStoneCarverPage, 2, 0, "", kCoHCPage},
      {3, kStoneCarverPage, 1, 0, toOne},
      {3, kCoHCPage, 1, 0, toOne},
      {3, kEditorPage, 1, 0, toOne},
      {3, kSolverPage, 1, 0, toOne},
      {1, -1, 0, 0, "E0 G0 I0 S0 C0 V0"},
      {3, -1, 0, 0, "E0 G0 I0 S0 C0 V0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.from) + " button " + std::to_string(row.button));
    loadComplete();
    if (row.from >= 2) {
      const bool ownButton = row.button == kCoHCPage || row.button == kSolverPage;
      model.pageButtonPressed(row.via >= 0 ? static_cast<PageIndex>(row.via)
                              : ownButton  ? static_cast<PageIndex>(row.button)
                                           : kStoneCarverPage);
    }
    if (row.from == 3) {
      model.workingGraph()->cut(0, 1);
      model.setProgramResult(ProgramResult::kHamiltonian);
      model.setProgramState(ProgramState::kDecided);
    }
    ASSERT_EQ(codeOf(model.programState()), row.from);
    const int32_t before = codeOf(model.algorithmChoice());
    takeLog();
    if (row.button < 0) {
      ASSERT_TRUE(resetButtonShown(model.programState()));
      model.setProgramState(ProgramState::kEditing);
    } else {
      model.pageButtonPressed(static_cast<PageIndex>(row.button));
    }
    EXPECT_EQ(
        std::tuple(codeOf(model.programState()), codeOf(model.algorithmChoice()), takeLog(),
                   model.submittedGraph() != nullptr,
                   model.workingGraph() ? model.workingGraph()->howManyEdges : 0),
        std::tuple(row.to, row.algorithm ? row.algorithm : before, row.log, row.to != 0, row.to ? 10 : 0));
  }
}

TEST(ProgramStates, StatusTexts) {
  using enum ProgramResult;
  struct Row {
    int32_t state, algorithm;
    ProgramResult result;
    const char* text;
  };
  const Row rows[] = {
      {0, 0, kNonHamiltonian, "No Graph Loaded"},
      {1, 2, kHamiltonian, "Graph Loaded & Ready To Run"},
      {2, 1, kNonHamiltonian, "Stone Carver Hamiltonian Cycle Algorithm Running"},
      {2, 2, kNonHamiltonian, "Co-Hamiltonian Cycle Proof System Running"},
      {2, 3, kNonHamiltonian, "Manual Edit Mode"},
      {3, 1, kNonHamiltonian, "The Graph Is Non-Hamiltonian"},
      {3, 2, kHamiltonian, "The Graph Is Hamiltonian"},
      {3, 2, kSearchTooShallow, "The Search Depth Was Too Shallow"},
      {2, 4, kNonHamiltonian, "Solver Portfolio Running"},
      {3, 4, solverProgramResult(Verdict::kUndecided), "Undecided: The Time Limit Was Reached"},
      {3, 4, solverProgramResult(Verdict::kNonHamiltonian), "The Graph Is Non-Hamiltonian"},
      {3, 4, solverProgramResult(Verdict::kHamiltonian), "The Graph Is Hamiltonian"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(
        statusText(static_cast<ProgramState>(r.state), static_cast<AlgorithmChoice>(r.algorithm), r.result),
        r.text);
  // Message boxes: only these tell; refusals and faults warn.
  const std::pair<const char*, MessageKind> kinds[] = {
      {"Algorithm Aborted", MessageKind::kInformation},
      {"Not Implemented Yet", MessageKind::kInformation},
      {"ERROR! The graph has no vertices!", MessageKind::kWarning},
      {"The graph has been submitted. You may not delete.", MessageKind::kWarning},
      {"/tmp/x.txt: no such file", MessageKind::kWarning}};
  for (const auto& [text, kind] : kinds) EXPECT_EQ(messageKind(text), kind) << text;
}

TEST_F(ProgramModelTest, NotificationOrder) {
  loadComplete();
  EXPECT_EQ(takeLog(), "E0 G0 I0 S0 C0 V0 E1 G1 I1 S1 C1 V1");
  // Manual edit mode deciding inside its own notification: every page hears 3 at once,
  // the rest of the outer round passes the state as it now is and hides nothing.
  pages[kEditorPage]->onState = [&](int32_t s) {
    if (s == 2) {
      model.setProgramResult(ProgramResult::kNonHamiltonian);
      model.setProgramState(ProgramState::kDecided);
    }
  };
  model.pageButtonPressed(kEditorPage);
  EXPECT_EQ(takeLog(), "E2 E3 G3 I3 S3 C3 V3 G3 I3");
  EXPECT_EQ(model.statusText(), "The Graph Is Non-Hamiltonian");
}

TEST_F(ProgramModelTest, ResetKeepsTheDrawing) {
  Graph2D& d = model.drawing();
  Graph2DNode* n[] = {d.addNode(0, 0), d.addNode(100, 0), d.addNode(0, 100)};
  for (int i = 0; i < 3; ++i) d.joinNodes(n[i], n[(i + 1) % 3]);
  model.loadGraphRequest({GraphSource::kUserDrawnGraph, 0, 0});
  EXPECT_EQ(model.windowTitle(), "Hamiltonian Cycles  [USER-DRAWN GRAPH WITH 3 NODES]");
  EXPECT_EQ(model.cycleFileSuggestion(), "User-Defined Graph -HC.txt");  // OUTPUT HC's name for a drawing
  EXPECT_EQ(model.submittedGraph()->howManyNodes, 3);
  model.setProgramState(ProgramState::kEditing);
  EXPECT_EQ(model.windowTitle(), "Hamiltonian Cycles  [NO GRAPH LOADED]");
  EXPECT_EQ(model.drawing().edgeCount(), 3);  // a generated graph clears it: the requests' test
}

// Every request from state 1: generated graphs (sources 1 to 9) by their display names,
// files chosen in a dialog (sources 10 to 12) and from the command line (`via` 0). A refused
// file gives exactly one message and a cancel none; a read .g file is the drawing too.
TEST_F(ProgramModelTest, RequestsAndTheirNames) {
  const std::string ex = std::string(HC_EXAMPLES_DIR) + "/";
  const std::string unknown = (std::filesystem::temp_directory_path() / "hc_model_start.graph").string();
  std::ofstream(unknown) << "3\n1 2\n0 2\n0 1\n";
  const std::string graph6 = (std::filesystem::temp_directory_path() / "hc_model_petersen.g6").string();
  std::ofstream(graph6) << "IheA@GUAo\n";
  const std::string three = (std::filesystem::temp_directory_path() / "hc_model_three.g6").string();
  std::ofstream(three) << "IheA@GUAo\nBw\nC~\n";
  // `target`: the display name of a generated graph, else the file (empty: the dialog is
  // cancelled); `source` -1: refused; `nodes` 0: not checked.
  struct Row {
    double via, p1, p2;
    std::string target;
    int32_t source, nodes;
  };
  const Row rows[] = {
      {1, 100, 0.05, "Random 100-Node Graph With Edge Probability 0.0500", 1, 100},
      {2, 10, 3, "Random 3-Regular Graph With 10 Nodes", 2, 10},
      {3, 10, 20, "Random 10-Node Graph With 20 Random Edges", 3, 10},
      {4, 3, 4, "Toroidal Grid With 12 Nodes (3 X 4)", 4, 12},
      {5, 6, 6, "Knight's Tour Graph With 36 Nodes (6 X 6)", 5, 36},
      {6, 3, 0, "N-Cube Graph With Dimension 3 (8 Nodes)", 6, 8},
      {7, 2, 0, "ICCS Graph With 2 Components (28 Nodes)", 7, 28},
      {8, 7, 0, "Complete Graph With 7 Nodes", 8, 7},
      {9, 4, 2.5, "3-SAT Reduction Graph From Random Formula With 4 Variables & Clause Multiplier 2.500", 9,
       0},
      {10, 0, 0, ex + "petersen.txt", 10, 10},
      {10, 0, 0, ex + "petersen.hcp", 10, 10},
      {10, 0, 0, graph6, 10, 10},
      {11, 0, 0, ex + "knight8x8.g", 11, 64},
      {12, 0, 0, ex + "petersen.obj", 12, 10},
      {10, 0, 0, "", -1, 0},
      {12, 0, 0, ex + "missing.obj", -1, 0},
      {11, 0, 0, ex + "petersen.txt", -1, 0},
      {0, 0, 0, ex + "knight8x8.txt", 10, 64},
      {0, 0, 0, ex + "petersen.g", 11, 10},
      {0, 0, 0, ex + "knight8x8.obj", 12, 64},
      {0, 0, 0, ex + "knight8x8.hcp", 10, 64},
      {0, 0, 0, unknown, -1, 0},
      {0, 0, 0, ex + "none.txt", -1, 0},
      {0, 0, 0, three, 10, 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.target);
    loadComplete();
    view.messages.clear();
    view.fileAnswers = {row.target.empty() ? std::nullopt : std::optional(row.target)};
    if (row.via) model.loadGraphRequest({static_cast<GraphSource>(row.via), row.p1, row.p2});
    if (!row.via) model.startWithFile(row.target);
    const bool read = row.source > 0, file = row.via == 0 || row.via >= 10;
    const std::string name = !read  ? "NO GRAPH LOADED"
                             : file ? std::filesystem::path(row.target).filename().string()
                                    : row.target;
    EXPECT_EQ(
        std::tuple(model.windowTitle(), codeOf(model.programState()),
                   graphSourceCode(model.graphSourceType()), view.messages.size(),
                   row.nodes && model.submittedGraph() ? model.submittedGraph()->howManyNodes : 0,
                   model.drawing().nodeCount()),
        std::tuple("Hamiltonian Cycles  [" + name + "]", read ? 1 : 0, row.source,
                   !read && !row.target.empty() ? 1u : 0u, row.nodes, row.source == 11 ? row.nodes : 0));
    // "Save Certificate..." offers the display name, a file's without its extension.
    const std::string proof = (file ? std::filesystem::path(name).stem().string() : name) + ".proof";
    if (read) {
      EXPECT_EQ(model.certificateFileSuggestion(), proof);
    }
  }
  // A file of several graphs: the first is read only when the user agrees, and the note
  // says which; refused, nothing is read and nothing is said.
  EXPECT_EQ(
      std::pair(view.questions.size(), view.notes.back()),
      std::pair(size_t{1},
                std::string("Loaded the first graph (line 1) of hc_model_three.g6; the file holds more")));
  view.answer = false;
  view.messages.clear();
  model.setProgramState(ProgramState::kEditing);
  model.startWithFile(three);
  EXPECT_EQ(std::tuple(codeOf(model.programState()), view.questions.size(), view.messages.size()),
            std::tuple(0, size_t{2}, size_t{0}));
  view.answer = true;
  std::filesystem::remove(unknown);
  std::filesystem::remove(graph6);
  std::filesystem::remove(three);
  // The text file button offers every format the program reads.
  EXPECT_EQ(view.openFilters.front(), graphOpenDialogFilter());
  model.loadGraphRequest({static_cast<GraphSource>(42), 0, 0});  // unknown: stays in 0
  EXPECT_EQ(codeOf(model.programState()), 0);
  EXPECT_EQ(model.graphDisplayName(), "ERROR!!! THIS SHOULD NEVER HAPPEN!!!");
}

// A decision reaches state 3 only for its own run; one that brings its graph (the Solver's)
// makes it the working graph that the pages are told of 3 with.
TEST_F(ProgramModelTest, DecisionCountsOnlyForItsOwnRun) {
  loadComplete();
  model.pageButtonPressed(kSolverPage);
  auto stale = model.decisionWithGraphHandler();
  model.pageButtonPressed(kSolverPage);  // abort
  model.pageButtonPressed(kSolverPage);  // a new run
  auto current = model.decisionWithGraphHandler();
  const auto staleGraph = std::make_shared<Graph>(*model.workingGraph());
  const auto solved = std::make_shared<Graph>(*model.workingGraph());
  stale(ProgramResult::kNonHamiltonian, staleGraph);
  EXPECT_EQ(codeOf(model.programState()), 2);  // nothing happens before the UI thread runs it
  view.drain();
  EXPECT_EQ(codeOf(model.programState()), 2);
  std::shared_ptr<Graph> toldWith;
  pages[kEditorPage]->onState = [&](int32_t s) {
    if (s == 3) toldWith = model.workingGraph();
  };
  current(ProgramResult::kHamiltonian, solved);
  view.drain();
  EXPECT_EQ(
      std::tuple(codeOf(model.programState()), codeOf(model.programResult()), toldWith, model.workingGraph()),
      std::tuple(3, int16_t{1}, solved, solved));
}

TEST(ElapsedTime, Fields) {
  const std::pair<double, const char*> rows[] = {
      {62.04, "0 : 00 : 01 : 02 . 04"},   {0, "0 : 00 : 00 : 00 . 00"},  {3599.999, "0 : 00 : 59 : 59 . 99"},
      {90061.5, "1 : 01 : 01 : 01 . 50"}, {-3, "0 : 00 : 00 : 00 . 00"},
  };
  for (auto [seconds, text] : rows) EXPECT_EQ(elapsedTimeText(seconds), text) << seconds;
}

// A Stone Carver page as the window has it: starts a run on state 2, aborts when told, and
// counts the iterations it hears (a violation: one heard while no run is current).
struct SchcPage : ProgramPage, SchcSink {
  ProgramModel& model;
  SchcRunner runner;
  std::atomic<int> calls{0}, violations{0};
  std::atomic<bool> forbidden{false};
  explicit SchcPage(ProgramModel& m) : model(m) {}
  void setPageState(ProgramState state) override {
    if (state != ProgramState::kRunning) return;
    forbidden = false;
    runner.start(model.workingGraph(), {}, std::nullopt, this, model.decisionHandler());
  }
  void abortRun() override {
    runner.abortRun();
    forbidden = true;
  }
  void postIteration(int32_t, int32_t, int32_t, int32_t, int32_t, double, double) override {
    ++calls;
    if (forbidden) ++violations;
  }
};

TEST(Runners, AbortAndRestartAThousandTimes) {
  ScriptedView view;
  ProgramModel model(view);
  SchcPage page(model);
  model.setPage(kStoneCarverPage, &page);
  model.installGeneratedGraph({GraphSource::kCompleteGraph, 3, 0}, shared(testing::petersenGraph()));
  for (int i = 0; i < 1000; ++i) {
    model.pageButtonPressed(kStoneCarverPage);  // 1 -> 2: a run starts
    ASSERT_EQ(codeOf(model.programState()), 2);
    model.pageButtonPressed(kStoneCarverPage);  // abort: back to 1 at once, the worker joined
    ASSERT_EQ(std::pair(codeOf(model.programState()), page.runner.runInProgress()), std::pair(1, false));
  }
  // Let a last run make progress and tick, then end it the same way: the ticks stop and no
  // result arrives.
  std::atomic<int> ticks{0};
  page.runner.setTickCallback([&](double) { ++ticks; });
  model.pageButtonPressed(kStoneCarverPage);
  EXPECT_TRUE(eventually([&] { return page.calls > 0 && ticks > 0; }));
  model.pageButtonPressed(kStoneCarverPage);
  const int seen = ticks;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(ticks, seen);
  // No late state request, no iteration heard while no run was current.
  EXPECT_EQ((std::tuple{view.drain(), codeOf(model.programState()), page.violations.load()}),
            std::tuple(0, 1, 0));
}

TEST(Runners, StoneCarverDecidesExactlyOnce) {
  ScriptedView view;
  ProgramModel model(view);
  model.installGeneratedGraph({GraphSource::kCompleteGraph, 8, 0},
                              shared(testing::makeGraph(8, testing::completeEdges(0, 8))));
  model.pageButtonPressed(kStoneCarverPage);
  SchcRunner runner;
  std::atomic<int> decisions{0};
  std::atomic<double> lastTick{-1};
  runner.setTickCallback([&](double s) { lastTick = s; });
  auto decide = model.decisionHandler();
  runner.start(model.workingGraph(), {.threads = 1, .version = 3}, 7u, nullptr, [&](int16_t result) {
    ++decisions;
    decide(result);
  });
  ASSERT_TRUE(eventually([&] { return !runner.runInProgress(); }));
  ASSERT_TRUE(eventually([&] { return view.drain() > 0; }));
  EXPECT_EQ(std::tuple(decisions.load(), codeOf(model.programState()), codeOf(model.programResult()),
                       model.workingGraph()->isHamiltonian),
            std::tuple(1, 3, 1, kHamiltonian));
  EXPECT_EQ(runner.seedUsed(), std::optional<uint32_t>(7u));  // the run's seed, as typed in
  const double frozen = runner.elapsedSeconds();
  EXPECT_GE(frozen, 0);
  EXPECT_LE(lastTick.load(), frozen);
  EXPECT_EQ(runner.elapsedSeconds(), frozen);
  EXPECT_EQ(view.drain(), 0);
}

// The Solver's runner: a decided run hands one state-3 request to the UI thread with the
// graph that shows the verdict (the cycle alone left and forced, or the pruned root marked
// non-Hamiltonian) and the seed typed in, whichever part decided: the root rules either way
// (a plain cycle has nothing to delete, so its edges must still end up forced), the
// alternation rule, the decomposition rules, the searches, the finder. An aborted run never
// delivers, however early or late the abort comes.
TEST(Runners, SolverDecidesOnceAndNeverAfterAnAbort) {
  using testing::EdgeList;
  EdgeList chorded = testing::cycleEdges(0, 6);
  chorded.emplace_back(0, 3);
  struct Row {
    const char* what;
    int32_t n;
    EdgeList edges;
    ProgramResult expected;
    const char* method;  // when only one part can decide it
  };
  const Row rows[] = {
      {"pentagon", 5, testing::cycleEdges(0, 5), ProgramResult::kHamiltonian, "root pruning"},
      {"100-cycle", 100, testing::cycleEdges(0, 100), ProgramResult::kHamiltonian, "root pruning"},
      {"C6 with a chord", 6, chorded, ProgramResult::kHamiltonian, "root pruning"},
      {"K3", 3, testing::completeEdges(0, 3), ProgramResult::kHamiltonian, "root pruning"},
      {"2-cube", 4, testing::cycleEdges(0, 4), ProgramResult::kHamiltonian, "root pruning"},
      {"a cut node", 7, testing::joined(testing::completeEdges(0, 4), testing::completeEdges(3, 4)),
       ProgramResult::kNonHamiltonian, "root pruning"},
      {"K(2,3)", 5, testing::completeBipartiteEdges(2, 3), ProgramResult::kNonHamiltonian, "root pruning"},
      {"a crowded side", 9, testing::joined(testing::completeBipartiteEdges(3, 6), {{3, 4}}),
       ProgramResult::kNonHamiltonian, nullptr},
      {"three blobs between two nodes", 14, testing::blobsBetweenTwoNodes(3), ProgramResult::kNonHamiltonian,
       nullptr},
      {"prism and Petersen fragment", 20,
       testing::joinedWithoutNodeZero(testing::generalizedPetersenEdges(6, 1), 12,
                                      testing::generalizedPetersenEdges(5, 2)),
       ProgramResult::kNonHamiltonian, nullptr},
      {"Petersen", 10, testing::generalizedPetersenEdges(5, 2), ProgramResult::kNonHamiltonian, nullptr},
      {"GP(11,2)", 22, testing::generalizedPetersenEdges(11, 2), ProgramResult::kNonHamiltonian, nullptr},
      {"knight 6 x 6", 36, testing::knightEdges(6, 6), ProgramResult::kHamiltonian, nullptr},
      {"K8", 8, testing::completeEdges(0, 8), ProgramResult::kHamiltonian, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ScriptedView view;
    ProgramModel model(view);
    model.installGeneratedGraph({GraphSource::kCompleteGraph, 8, 0},
                                shared(testing::makeGraph(row.n, row.edges)));
    model.pageButtonPressed(kSolverPage);
    SolveRunner runner;
    std::atomic<int> ends{0};
    auto decide = model.decisionWithGraphHandler();
    runner.start(model.workingGraph(), {.threads = 2, .seed = 9u}, [&](const SolveRunEnd& end) {
      ++ends;
      decide(solverProgramResult(end.verdict), end.solved);
    });
    ASSERT_TRUE(eventually([&] { return view.drain() > 0; }));
    const Graph& shown = *model.workingGraph();
    const size_t n = static_cast<size_t>(row.n);
    const std::string method(decidedByName(runner.finished()->decidedBy));
    EXPECT_EQ(
        std::tuple(ends.load(), codeOf(model.programState()), model.programResult(), shown.isHamiltonian,
                   runner.finished()->seed, runner.runInProgress(), method.empty()),
        std::tuple(1, 3, row.expected, codeOf(row.expected), 9u, false, false));
    if (row.method) {
      EXPECT_EQ(method, row.method);
    }
    if (row.expected == ProgramResult::kHamiltonian) {
      EXPECT_EQ(std::pair(hamiltonianCycleOrder(shown).size(), static_cast<size_t>(shown.howManyEdges)),
                std::pair(n, n));
    }
  }

  SolveRunner runner;
  const auto graph = shared(testing::makeGraph(2 * 59, testing::generalizedPetersenEdges(59, 2)));
  std::atomic<bool> aborted{false};
  std::atomic<int> late{0};
  for (int i = 0; i < 200; ++i) {
    aborted = false;
    runner.start(graph, {.threads = 2, .seed = std::nullopt},
                 [&](const SolveRunEnd&) { late += aborted ? 1 : 0; });
    if (i % 2) std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 7)));
    runner.abortRun();
    aborted = true;
    ASSERT_FALSE(runner.runInProgress());
    ASSERT_FALSE(runner.finished().has_value());
  }
  const double frozen = runner.elapsedSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(std::pair(runner.elapsedSeconds(), late.load()), std::pair(frozen, 0));
}

TEST(Runners, SolverViewHelpers) {
  EXPECT_EQ(runningPartsText(0), "");
  EXPECT_EQ(runningPartsText(solvePartBit(kPartRotationExtension) | solvePartBit(kPartExactSearch) |
                             solvePartBit(kPartEdgeCut)),
            "exact search, rotation-extension, edge cut");
  // A cycle of the graph leaves exactly its edges; a node met twice or a missing edge, nothing.
  const Graph wheel = testing::makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}, {0, 2}, {1, 3}});
  const std::shared_ptr<Graph> held = graphHoldingCycle(wheel, {0, 1, 2, 3, 4});
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(std::tuple(held->isHamiltonian, held->howManyEdges, hamiltonianCycleOrder(*held).size()),
            std::tuple(kHamiltonian, 5, size_t{5}));
  EXPECT_EQ(graphHoldingCycle(wheel, {0, 1, 1, 3, 4}), nullptr);
  EXPECT_EQ(graphHoldingCycle(wheel, {0, 3, 2, 1, 4}), nullptr);  // 0-3 is no edge
  EXPECT_EQ(graphHoldingCycle(wheel, {0, 1, 2}), nullptr);
}

}  // namespace
}  // namespace hc
