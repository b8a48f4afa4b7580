// The pages' logic without Qt. The Graph Generation page's load buttons: every message box
// they show, in order, and the request they send, for the examples the page is known by and
// for the size limits. The method pages' records: the Stone Carver list keeps exactly the
// last L iterations whatever the hand-over skipped, the statistics see every iteration, the
// Co-HC table mirrors the engine's statistics; the chart arithmetic, the run inputs, and the
// help texts (the heading of every contextual row and the body the row selects). Manual edit
// mode: refusals by state and undo/redo restoring the working graph exactly (what a deletion
// decides is seen through the editor page); the editor view's formulas and the drawing
// history's steps.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <tuple>

#include "app/chart_scale.h"
#include "app/depth_history.h"
#include "app/drawing_history.h"
#include "app/editor_view.h"
#include "app/generation_page_logic.h"
#include "app/help_texts.h"
#include "app/iteration_history.h"
#include "app/manual_edit.h"
#include "app/run_inputs.h"
#include "app/user_messages.h"
#include "cohc/search_tree.h"
#include "core/graph_invariants.h"
#include "core/number_format.h"
#include "generators/graph_generation.h"
#include "io/g_file.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

const std::string kNodes = "ERROR: The number of nodes must be 3 or greater.";
const std::string kNumeric = "ERROR: Graph parameters must be numeric.";

// No messages: accepted with the two parameters; only large or dense requests leave the UI
// thread (`background`).
struct LoadCase {
  int32_t family;
  const char *text1, *text2;
  std::vector<std::string> messages;
  double p1 = 0, p2 = 0;
  bool background = false;
};

TEST(GenerationValidation, LoadButtonsShowTheirMessagesInOrderOrSendTheRequest) {
  const std::vector<LoadCase> cases = {
      {1, "2", "1.5", {kNodes, "ERROR: The edge percentage must be between 0.0 and 1.0, inclusive."}},
      {2, "10", "2.9", {"ERROR: The degree of each node must be 3 or greater."}},
      {2, "10", "3.9", {}, 10, 3.9},
      {2, "2", "2", {kNodes, "ERROR: The degree of each node must be 3 or greater."}},
      {3, "5", "-1", {"ERROR: The number of edges must be 0 or greater."}},
      {1, "1e3", "0.5", {kNumeric}},
      {1, "", "0.5", {kNodes}},
      {4, "2.7", "5", {"ERROR: The height must be 3 or greater."}},
      {4, "3.9", "4.2", {}, 3, 4},
      {5, "8", "7", {"ERROR: The number of columns must be 8 or greater."}},
      {5,
       "7",
       "7",
       {"ERROR: The number of rows must be 8 or greater.",
        "ERROR: The number of columns must be 8 or greater."}},
      {6, ".", "x", {"ERROR: The n-Cube must have at least 2 dimensions."}},
      {7, "0", "", {"ERROR: The the graph must have at least 1 component."}},
      {8, "-", "", {"ERROR: The graph must have at least 3 nodes."}},
      {8, "5.5", "7", {}, 5, 0},
      {9, "4", "0.2", {"ERROR: The clause multiplier must be at least 0.2500."}},
      {9, "3", "0", {"ERROR: The clause multiplier must be at least 0.3333."}},
      {9, "2", "0", {"ERROR: The number of variables must be 3 or greater."}},
      {9, "100000", "0", {"ERROR: The clause multiplier must be at least 0.0000."}},
      {9, "3", "a", {kNumeric}},
      {10, "", "", {}, 0, 0},
      {8, "5", "", {}, 5, 0},
      {5, "8", "8", {}, 8, 8},
      {2, "1000000", "3", {}, 1000000, 3, true},
      {2, "100", "50", {}, 100, 50, true},
      // Over the limits: one message each, from the factory's own checks.
      {8,
       "20000",
       "",
       {"ERROR: The graph would have about 199990000 edges; at most 50000000 can be generated."}},
      {2,
       "20000000",
       "3",
       {"ERROR: The graph would have 20000000 nodes; at most 10000000 can be generated."}},
      {2,
       "11",
       "3",
       {"ERROR: No 3-regular graph on 11 nodes exists: the number of nodes times the degree must be even."}},
      {9,
       "1000000",
       "1000",
       {"ERROR: The graph would have 49002000000 nodes; at most 10000000 can be generated."}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + " '" + c.text1 + "' '" + c.text2 + "'");
    const LoadButtonOutcome outcome = evaluateLoadButton(c.family, c.text1, c.text2);
    EXPECT_EQ(outcome.messages, c.messages);
    const GraphRequest sent =
        outcome.accepted ? outcome.request : GraphRequest{static_cast<GraphSource>(c.family), c.p1, c.p2};
    EXPECT_EQ(std::tuple(outcome.accepted, shouldGenerateInBackground(outcome),
                         graphSourceCode(sent.sourceType), sent.parameter1, sent.parameter2),
              std::tuple(c.messages.empty(), c.background, c.family, c.p1, c.p2));
  }
}

IterationRow rowNumber(int32_t i) {
  return {i, i % 7, i % 3 == 0, i % 5 == 0, i % 11, i * 0.5, 0.01 * i};
}

TEST(IterationHistory, Texts) {
  EXPECT_EQ(std::tuple(maxForcedEdgesText(12, 20), leastDeletionsText(kNotMetYet), leastDeletionsText(7)),
            std::tuple("12 (60.00% Done)", "---", "7"));
  IterationRow row{17, 9, 1, 0, 12, 66.666, 0.127};
  const char* expected[] = {"17", "9", "1", "0", "12", "66.66", "0.12"};
  for (int32_t c = 0; c < kIterationColumns; ++c) EXPECT_EQ(iterationCellText(row, c), expected[c]);
  // The Stone Carver page's export: the rows kept, then every statistic (a record not met
  // yet is empty).
  IterationHistory history(2);
  for (const IterationRow& r :
       {row, IterationRow{18, 4, 0, 1, 15, 75.0, 0.2}, IterationRow{19, 11, 0, 0, 14, 70.0, 0.1}})
    history.add(r);
  EXPECT_EQ(iterationHistoryCsv(history, 20),
            "Iteration,Deletions,Hubs,Rings,Forced Edges,% Complete,Time\n"
            "18,4,0,1,15,75.00,0.20\n"
            "19,11,0,0,14,70.00,0.10\n"
            "\nStatistic,Value\nIterations,3\nLeast Deletions To Hub,9\nLeast Deletions To Ring,4\n"
            "Most Deletions,11\nMax Forced Edges,15\nMax Forced Edges % Done,75.00\n");
  EXPECT_NE(iterationHistoryCsv(IterationHistory(5), 20).find("Least Deletions To Hub,\n"),
            std::string::npos);
}

// Random limits (below 1 keeps one), posts and drain points: the window's list is always
// consecutive iterations ending with the newest, as many as the limit allows, and the
// statistics equal those over every iteration.
TEST(SchcProgressBuffer, HandOverNeverShowsAGapOrLosesStatistics) {
  std::mt19937 random(14);
  for (int trial = 0; trial < 50; ++trial) {
    const int32_t limit = static_cast<int32_t>(random() % 8) - 1;
    SchcProgressBuffer buffer(limit);
    IterationHistory shown(limit), reference(limit);
    int32_t posted = 0;
    for (int step = 0; step < 60; ++step) {
      int32_t burst = static_cast<int32_t>(random() % 9);
      for (int32_t k = 0; k < burst; ++k) {
        IterationRow r = rowNumber(++posted);
        buffer.postIteration(r.iteration, r.deletions, r.hubs, r.rings, r.forcedEdges, r.percentComplete,
                             r.seconds);
        reference.add(r);
      }
      applyBatch(shown, buffer.drain());
      ASSERT_FALSE(buffer.hasNews());
      const auto& rows = shown.rows();
      ASSERT_EQ(rows.size(), static_cast<size_t>(std::min(posted, std::max(limit, 1))));
      for (size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(rows[i].iteration, posted - int32_t(rows.size() - 1 - i));
      const IterationStatistics &a = shown.statistics(), &b = reference.statistics();
      ASSERT_EQ(std::tie(a.rowsAdded, a.leastDeletionsToHub, a.leastDeletionsToRing, a.mostDeletions,
                         a.maxForcedEdges),
                std::tie(b.rowsAdded, b.leastDeletionsToHub, b.leastDeletionsToRing, b.mostDeletions,
                         b.maxForcedEdges));
    }
  }
}

// A real proof (GP(11,2) needs a tree) drained after every update into the window's
// table: each row and the CSV agree with the engine's statistics.
TEST(CohcProgressBuffer, TableAndCsvMirrorTheProof) {
  struct DrainEveryUpdate : CohcProgressBuffer {
    DepthHistory table;
    void nodeStarted(const SearchTreeStatistics& s, int32_t d, bool n) override {
      CohcProgressBuffer::nodeStarted(s, d, n);
      applyBatch(table, drain());
    }
    void nodeSolved(const SearchTreeStatistics& s, int32_t d) override {
      CohcProgressBuffer::nodeSolved(s, d);
      if (d % 2) applyBatch(table, drain());  // some updates wait for the next drain
    }
  } listener;
  Graph graph = testing::makeGraph(22, testing::generalizedPetersenEdges(11, 2));
  CohcOptions options;
  options.pruningLevel = 1;
  options.writeCycleFile = false;
  CohcResult result = runCoHC(graph, options, nullptr, &listener);
  applyBatch(listener.table, listener.drain());
  const SearchTreeStatistics& s = *result.statistics;
  const DepthHistory& table = listener.table;
  ASSERT_EQ(table.rowCount(), s.deepestStartedDepth + 1);
  ASSERT_GT(table.rowCount(), 2);
  std::string expected = "Depth,Started,Solved,Forced Edges,Longest Time,Average Time\n";
  for (int32_t d = 0; d < table.rowCount(); ++d) {
    for (int32_t c = 0; c < kDepthColumns; ++c) {
      const std::string cell = depthCellText(depthRowOf(s, d), d, c);
      EXPECT_EQ(depthCellText(table.row(d), d, c), cell) << d << "," << c;
      expected += (c ? "," : "") + (cell == "-" ? std::string() : cell);
    }
    expected += "\n";
  }
  EXPECT_EQ(table.csv(), expected);
  EXPECT_EQ(std::pair(table.series(ChartKind::kForcedEdges).size(), table.series(ChartKind::kSolved).size()),
            std::pair(size_t(s.deepestStartedDepth + 1), size_t(s.deepestSolvedDepth + 1)));
  EXPECT_EQ(depthCellText(DepthRow{1, 0, 5, 0, 0}, 3, 4), "-");
}

// An axis takes a larger statistic with 20 % headroom and otherwise stays: a value between
// the statistic and the axis moves nothing, nor does a smaller one. Tick labels switch to
// an exponent from 1000 on; millisecond times stay readable; nothing measured gives 0 .. 1.
TEST(ChartScale, AxesTicksAndLabels) {
  ChartAxisMaxima axes;
  axes.grow({0, 3, 10, 4, 2, 5});  // solved, longest, average, forced edges
  axes.grow({0, 3, 11, 8, 1, 5});
  std::vector<double> maxima;
  for (int32_t k = 0; k < kChartCount; ++k) maxima.push_back(axes.maximum(static_cast<ChartKind>(k)));
  EXPECT_EQ(maxima, (std::vector<double>{1.2 * 10, 1.2 * 2, 1.2 * 8, 1.2 * 5}));
  struct Label {
    double value;
    int32_t decimals;
    const char* text;
  };
  for (Label l : {Label{0.5, 2, "0.50"}, Label{999.999, 2, "999.99"}, Label{1000, 1, "1.00E+3"},
                  Label{12345, 2, "1.23E+4"}, Label{7, 0, "7"}, Label{2.5e9, 2, "2.50E+9"}})
    EXPECT_EQ(chartTickLabel(l.value, l.decimals), l.text) << l.value;
  struct Tick {
    std::vector<ChartTick> ticks;
    size_t count, index;
    const char* label;
  };
  const Tick ticks[] = {{chartYTicks(0.0), 11, 10, "1.00"},      {chartYTicks(12000), 11, 5, "6.00E+3"},
                        {chartYTicks(0.0028), 11, 1, "0.00028"}, {chartYTicks(144), 11, 1, "14.40"},
                        {chartXTicks(21), 11, 1, "2"},           {chartXTicks(21), 11, 10, "20"},
                        {chartXTicks(40), 8, 7, "35"},           {chartYTicks(12, true), 7, 6, "12"},
                        {chartYTicks(4.8, true), 5, 4, "4"},     {chartYTicks(1.2, true), 2, 1, "1"},
                        {chartYTicks(1200, true), 7, 1, "200"}};
  for (const Tick& t : ticks) {
    ASSERT_EQ(t.ticks.size(), t.count) << t.label;
    EXPECT_EQ(t.ticks[t.index].label, t.label);
  }
  EXPECT_EQ(chartXTicks(1).size(), 1u);
  EXPECT_EQ(chartXGridFractions(1), (std::vector<double>{0.0, 1.0}));
  EXPECT_EQ(chartXGridFractions(3), (std::vector<double>{0.0, 0.5, 1.0}));
  EXPECT_EQ(chartXGridFractions(21).size(), 11u);
  EXPECT_EQ(std::pair(chartCountsWholeNumbers(ChartKind::kSolved),
                      chartCountsWholeNumbers(ChartKind::kAverageTime)),
            std::pair(true, false));
}

// Save and open dialogs start in the loaded graph's folder, else where the last went.
TEST(FileDialogs, StartWhereTheGraphCameFrom) {
  struct Row {
    const char* current;
    const char* last;
    const char* suggested;
    const char* start;
  };
  for (Row r : {Row{"/data/graphs/k8.g", "/tmp", "chart.png", "/data/graphs/chart.png"},
                Row{"", "/tmp", "chart.png", "/tmp/chart.png"}, Row{"", "", "chart.png", "chart.png"},
                Row{"/data/k8.g", "", "/home/me/k8-HC.txt", "/home/me/k8-HC.txt"},
                Row{"/data/k8.g", "", "", "/data"}})
    EXPECT_EQ(dialogStartPath(r.current, r.last, r.suggested), r.start) << r.suggested;
}

TEST(RunInputs, ListNumbersAndSeeds) {
  EXPECT_EQ(std::vector({leadingNumber("05 - O(E) PM, Variable LAS"), leadingNumber("6 - 2-Edge Cuts"),
                         leadingNumber("x5 - y")}),
            std::vector<std::optional<int32_t>>({5, 6, std::nullopt}));
  struct Seed {
    const char* text;
    bool valid;
    std::optional<uint32_t> seed;
  };
  for (Seed s : {Seed{"", true, std::nullopt}, Seed{"  ", true, std::nullopt}, Seed{" 42 ", true, 42u},
                 Seed{"4294967295", true, 4294967295u}, Seed{"4294967296", false, std::nullopt},
                 Seed{"-1", false, std::nullopt}, Seed{"1e3", false, std::nullopt}}) {
    const SeedInput input = parseSeedInput(s.text);
    EXPECT_EQ(std::pair(input.valid, input.seed), std::pair(s.valid, s.seed)) << s.text;
  }
}

// A text without its heading.
HelpLines bodyOf(const HelpLines& lines) {
  return HelpLines(lines.begin() + 4, lines.end());
}

bool contains(const HelpLines& lines, const std::string& phrase) {
  return joinHelpLines(lines).find(phrase) != std::string::npos;
}

TEST(HelpTexts, ContextualRowsAndGeneralHeadings) {
  auto help = [](int32_t page, int32_t state, int32_t algorithm) -> const HelpLines& {
    return contextualHelpLines(page, static_cast<ProgramState>(state),
                               static_cast<AlgorithmChoice>(algorithm));
  };
  struct Row {
    int32_t page, state, algorithm;
    const char* phrase;  // found in this row's text and in no other row's
  };
  const Row rows[] = {
      {0, 0, 0, "MOUSE CONTROLS:"},
      {0, 1, 2, "four ways to solve"},
      {0, 2, 3, "COMMANDS:"},
      {0, 2, 1, "abort the algorithm"},
      {0, 3, 3, "necessarily mean"},
      {0, 3, 2, "solved by an automated"},
      {1, 0, 0, "Disk-Read Graphs"},
      {1, 2, 1, "only enabled in state 0"},
      {2, 3, 1, "bipartite"},
      {3, 0, 0, "Stone Carver's Hamiltonian Cycle algorithm (SCHC) runs"},
      {3, 1, 0, "Algorithm Version:"},
      {3, 2, 1, "Least Deletions To Hub / Ring: the fewest"},
      {3, 2, 2, "A different algorithm"},
      {3, 3, 1, "SCHC has solved"},
      {3, 3, 3, "solved by another method"},
      {4, 0, 0, "proof system runs on a submitted"},
      {4, 1, 0, "Maximum Search Depth:"},
      {4, 2, 2, "lower display areas"},
      {4, 2, 1, "A different algorithm"},
      {4, 3, 2, "proof system"},
      {5, 0, 0, "Solver runs on a submitted"},
      {5, 1, 0, "Time Limit:"},
      {5, 2, 4, "Parts Working:"},
      {5, 2, 1, "A different algorithm"},
      {5, 3, 4, "The Solver has finished"},
      {5, 3, 2, "solved by another method"},
      {0, 2, 4, "abort the algorithm"},
      {3, 3, 4, "solved by another method"},
      {5, 3, 4, "Save Certificate...: after a non-Hamiltonian verdict"},
  };
  const char* pages[] = {"GRAPH EDITOR", "GRAPH GENERATION", "GRAPH INFORMATION", "STONE CARVER", "CO-HC",
                         "SOLVER"};
  const char* colours[] = {"BLUE", "GREEN", "RED", "YELLOW"};
  for (const Row& row : rows) {
    const HelpLines& lines = help(row.page, row.state, row.algorithm);
    const std::string heading = std::string("CONTEXT SPECIFIC HELP FOR ") + pages[row.page] +
                                " DIALOG BOX -STATE " + std::to_string(row.state) + " (" +
                                colours[row.state] + "):";
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0] + lines[1], "");
    EXPECT_EQ(lines[2], heading);
    EXPECT_EQ(lines[3], std::string(heading.size(), '='));
    EXPECT_TRUE((row.page == 4 && row.state == 3) || contains(lines, row.phrase))
        << heading << " / " << row.phrase;
  }
  // Rows that differ only in the condition show different bodies; rows the table merges
  // show the same one.
  EXPECT_NE(help(0, 2, 3), help(0, 2, 1));
  EXPECT_EQ(help(0, 2, 1), help(0, 2, 2));
  EXPECT_EQ(bodyOf(help(1, 1, 0)), bodyOf(help(1, 3, 2)));
  EXPECT_EQ(bodyOf(help(2, 0, 0)), bodyOf(help(2, 2, 1)));
  EXPECT_EQ(help(4, 3, 1), help(4, 3, 2));
  // Any other page has the general help, with a heading per tab.
  const HelpLines& text = help(7, 0, 0);
  EXPECT_EQ(&text, &generalHelpLines());
  EXPECT_EQ(text[2], "GENERAL HELP:");
  for (const char* heading :
       {"1. The Graph Editor Tab:", "2. The Graph Generation Tab:", "3. The Graph Information Tab:",
        "4. The Stone Carver's HC Algorithm Tab:", "5. The coHC Proof System Tab:", "6. The Solver Tab:"})
    EXPECT_TRUE(contains(text, heading)) << heading;
  EXPECT_EQ(joinHelpLines({"a", "b"}), "a\r\nb\r\n");
}

TEST(ManualEdit, RefusalsByState) {
  Graph g = petersenGraph();
  const std::vector<EdgeEnds> one{{0, 1}}, two{{0, 1}, {1, 2}};
  struct Row {
    int16_t state, choice;
    const std::vector<EdgeEnds>* sel;
    std::string del, force, las;
  };
  const Row rows[] = {
      {0, 3, &one, "", "", ""},
      {1, 3, &one, "The graph has been submitted. You may not delete.", "", ""},
      {2, 1, &one, "An algorithm is running. You may not delete.", "", ""},
      {2, 2, &one, "An algorithm is running. You may not delete.", "", ""},
      {2, 3, &two, "Error: You may only delete one edge at a time.",
       "Error: You may only force one edge at a time.", ""},
      {3, 3, &one, "The graph has been solved. You may not delete.",
       "The graph has been solved. You may not force any edges.",
       "The graph has been solved. You may not run Look Ahead Sequencing."},
  };
  for (const Row& r : rows) {
    ManualEditSession s;
    const std::string before = snapshot(g);
    // In order (a braced list is evaluated left to right): delete, force, look ahead.
    const auto state = static_cast<ProgramState>(r.state);
    const auto choice = static_cast<AlgorithmChoice>(r.choice);
    EXPECT_EQ((std::tuple{s.deleteEdge(&g, state, choice, *r.sel).message,
                          s.forceEdge(&g, state, choice, *r.sel).message,
                          s.runLookAhead(&g, state, choice).message}),
              std::tuple(r.del, r.force, r.las))
        << r.state << r.choice;
    EXPECT_EQ(snapshot(g), before);
    EXPECT_FALSE(s.canUndo());
  }
}

TEST(ManualEdit, UndoRedoRestoreExactly) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 20; ++trial) {
    Graph g = trial % 2 ? makeGraph(16, knightEdges(4, 4)) : makeGraph(12, randomEdges(rng, 12, 0.45));
    ManualEditSession s;
    std::vector<std::string> states{snapshot(g)};
    for (int step = 0; step < 8 && g.isHamiltonian == kUndecided; ++step) {
      const EdgeSet now = currentEdges(g);
      const std::vector<EdgeEnds> present(now.begin(), now.end());
      if (present.empty()) break;
      const EdgeEnds e = present[rng() % present.size()];
      const ManualOutcome o =
          rng() % 3 ? s.deleteEdge(&g, ProgramState::kRunning, AlgorithmChoice::kManualEdit, {e})
                    : s.forceEdge(&g, ProgramState::kRunning, AlgorithmChoice::kManualEdit, {e});
      if (o.changed) states.push_back(snapshot(g));
      EXPECT_EQ(g.isHamiltonian == kUndecided ? checkInvariants(g) : "", "");
    }
    for (size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_TRUE(s.undo(g));
      EXPECT_EQ(snapshot(g), states[i - 1]);
    }
    EXPECT_FALSE(s.undo(g));
    for (size_t i = 1; i < states.size(); ++i) {
      ASSERT_TRUE(s.redo(g));
      EXPECT_EQ(snapshot(g), states[i]);
    }
    EXPECT_FALSE(s.canRedo());
  }
}

// The default view: 64 world units across, node radius 5 px; zoom to fit takes the tightest
// power of two that keeps every node on the canvas (the zoom and grid limits: editor page).
TEST(EditorView, FormulasAndZoomToFit) {
  EditorView v;
  v.setCanvasSize(640, 480);
  EXPECT_EQ(std::vector<int32_t>({EditorView::pen(v.nodeSize() / 2), EditorView::pen(2.5 * v.edgeWidth()),
                                  v.pixelX(0), v.pixelY(0), v.pixelX(-32), v.pixelX(1e300)}),
            std::vector<int32_t>({5, 3, 320, 240, 0, 1000000000}));
  EXPECT_DOUBLE_EQ(v.worldY(v.pixelY(-12)), -12.0);
  Graph2D d;
  d.addNode(-100, 0);
  d.addNode(100, 50);
  v.zoomToFit(d);
  EXPECT_EQ(std::pair(v.zoom, v.centreX), std::pair(4, 0.0));
  // A picture that fits only with dots for nodes is first shown where its nodes are seen:
  // zoomed in on the node nearest the middle.
  d.addNode(10, 20);
  const bool zoomed = v.zoomInToSeeNodes(d);
  EXPECT_EQ(std::tuple(zoomed, v.zoom, v.centreX), std::tuple(true, 8, 10.0));
  EXPECT_FALSE(v.zoomInToSeeNodes(d));  // nodes already seen
}

// A change is one step and no change none; undoing every step gives the unmodified drawing
// back byte for byte (the page's undo keys: editor page).
TEST(DrawingHistory, StepsAndModified) {
  Graph2D d;
  DrawingHistory h;
  std::vector<std::vector<uint8_t>> seen{writeGBytes(d)};
  const std::function<void()> edits[] = {[&] { d.addNode(0, 0); }, [&] { d.addNode(10, 0); },
                                         [&] { d.cliquify(); }, [&] { d.rotateSelected(0, 0, 1.0); }, [] {}};
  for (const auto& edit : edits) {
    DrawingSnapshot before = takeSnapshot(d);
    edit();
    EXPECT_EQ(h.record(std::move(before), d), &edit != &edits[4]);
    if (&edit != &edits[4]) seen.push_back(writeGBytes(d));
  }
  EXPECT_TRUE(h.isModified(d));
  for (size_t i = seen.size() - 1; i > 0; --i) {
    ASSERT_TRUE(h.undo(d));
    EXPECT_EQ(writeGBytes(d), seen[i - 1]);
  }
  EXPECT_FALSE(h.isModified(d));
  EXPECT_FALSE(h.undo(d));
}

}  // namespace
}  // namespace hc
