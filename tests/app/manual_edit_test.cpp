// Manual edit mode without widgets: refusals by state, what a deletion decides, edges left
// alone, undo/redo restoring the working graph exactly; the view formulas and the drawing
// snapshots.
#include "app/manual_edit.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "app/drawing_history.h"
#include "app/editor_view.h"
#include "core/graph_invariants.h"
#include "editor/g_file.h"
#include "schc/stone_carver.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;
namespace msg = manual_messages;

// Everything of the graph that a step may change.
std::string fingerprint(const Graph& g) {
  std::ostringstream out;
  out << g.isHamiltonian << ' ' << g.howManyEdges << ' ' << g.howManyUncuttable << ' ' << g.howManyChains << ' '
      << g.howManyHubs << ' ' << g.howManyRings << '|';
  for (const Node& n : g.nodes) {
    for (int32_t i = 0; i < n.degree; ++i) out << n.neighborArray[i] << ',';
    out << n.howManyUncuttable << n.uncuttable1 << n.uncuttable2 << n.isHead << n.isHub << n.whichChain << ';';
  }
  for (int32_t c = 0; c < g.howManyChains; ++c) {
    const Chain& ch = g.chains[static_cast<size_t>(c)];
    out << ch.head1 << ch.head2 << ch.members << ch.isRing << '/';
  }
  return out.str();
}

TEST(ManualEdit, RefusalsByState) {
  Graph g = petersenGraph();
  const std::vector<EdgeEnds> one{{0, 1}}, two{{0, 1}, {1, 2}};
  struct Row { int16_t state, choice; const std::vector<EdgeEnds>* sel; std::string del, force, las; };
  const Row rows[] = {
      {0, 3, &one, "", "", ""},
      {1, 3, &one, msg::kSubmittedNoDelete, "", ""},
      {2, 1, &one, msg::kRunningNoDelete, "", ""},
      {2, 2, &one, msg::kRunningNoDelete, "", ""},
      {2, 3, &two, msg::kOneEdgeDelete, msg::kOneEdgeForce, ""},
      {3, 3, &one, msg::kSolvedNoDelete, msg::kSolvedNoForce, msg::kSolvedNoLookAhead},
  };
  for (const Row& r : rows) {
    ManualEditSession s;
    const std::string before = fingerprint(g);
    EXPECT_EQ(s.deleteEdge(&g, r.state, r.choice, *r.sel).message, r.del) << r.state << r.choice;
    EXPECT_EQ(s.forceEdge(&g, r.state, r.choice, *r.sel).message, r.force) << r.state << r.choice;
    EXPECT_EQ(s.runLookAhead(&g, r.state, r.choice).message, r.las) << r.state << r.choice;
    EXPECT_EQ(fingerprint(g), before);
    EXPECT_FALSE(s.canUndo());
  }
}

TEST(ManualEdit, DecidingDeletionAndEdgesLeftAlone) {
  // K4 on 0..3 with node 4 on 0 and 1: the entry pruning forces 0-4-1 and removes 0-1.
  Graph g = makeGraph(5, joined(completeEdges(0, 4), {{4, 0}, {4, 1}}));
  ASSERT_EQ(fastInitialPruning(g, 65535, 0), kUndecided);
  const std::string pruned = fingerprint(g);
  ManualEditSession s;
  for (EdgeEnds e : {EdgeEnds{0, 4}, EdgeEnds{0, 1}, EdgeEnds{0, 99}}) {  // forced, removed, foreign
    const ManualOutcome o = s.deleteEdge(&g, 2, 3, {e});
    EXPECT_FALSE(o.changed || o.decide || s.canUndo());
    EXPECT_EQ(fingerprint(g), pruned);
  }
  // Deleting 2-3 makes 0 a hub; deleting 0-2 closes the cycle 4-0-3-2-1.
  for (auto [e, verdict] : {std::pair{EdgeEnds{2, 3}, kNotHamiltonian}, std::pair{EdgeEnds{0, 2}, kHamiltonian}}) {
    const ManualOutcome o = s.deleteEdge(&g, 2, 3, {e});
    EXPECT_TRUE(o.changed && o.decide);
    EXPECT_EQ(o.result, verdict);
    ASSERT_TRUE(s.undo(g));
    EXPECT_EQ(fingerprint(g), pruned);
  }
}

TEST(ManualEdit, UndoRedoRestoreExactly) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 20; ++trial) {
    Graph g = trial % 2 ? makeGraph(16, knightEdges(4, 4)) : makeGraph(12, randomEdges(rng, 12, 0.45));
    ManualEditSession s;
    std::vector<std::string> states{fingerprint(g)};
    for (int step = 0; step < 8 && g.isHamiltonian == kUndecided; ++step) {
      const EdgeSet now = currentEdges(g);
      const std::vector<EdgeEnds> present(now.begin(), now.end());
      if (present.empty()) break;
      const EdgeEnds e = present[rng() % present.size()];
      const ManualOutcome o = rng() % 3 ? s.deleteEdge(&g, 2, 3, {e}) : s.forceEdge(&g, 2, 3, {e});
      if (o.changed) states.push_back(fingerprint(g));
      if (g.isHamiltonian == kUndecided) {
        EXPECT_EQ(checkInvariants(g), "");
      }
    }
    for (size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_TRUE(s.undo(g));
      EXPECT_EQ(fingerprint(g), states[i - 1]);
    }
    EXPECT_FALSE(s.undo(g));
    for (size_t i = 1; i < states.size(); ++i) {
      ASSERT_TRUE(s.redo(g));
      EXPECT_EQ(fingerprint(g), states[i]);
    }
    EXPECT_FALSE(s.canRedo());
  }
}

TEST(EditorView, FormulasAndLimits) {
  EditorView v;
  v.setCanvasSize(640, 480);
  // Default view: 64 world units across, node radius 5 px, edges 1 px.
  EXPECT_DOUBLE_EQ(v.viewWidth(), 64.0);
  EXPECT_EQ(EditorView::pen(v.nodeSize() / 2), 5);
  EXPECT_EQ(EditorView::pen(v.edgeWidth()), 1);
  EXPECT_EQ(EditorView::pen(2.5 * v.edgeWidth()), 3);
  EXPECT_EQ(v.pixelX(0), 320);
  EXPECT_EQ(v.pixelY(0), 240);
  EXPECT_EQ(v.pixelX(-32), 0);
  EXPECT_DOUBLE_EQ(v.worldX(v.pixelX(16)), 16.0);
  EXPECT_DOUBLE_EQ(v.worldY(v.pixelY(-12)), -12.0);
  EXPECT_EQ(v.pixelX(1e300), 1000000000);
  for (int i = 0; i < 10; ++i) v.zoomIn();
  EXPECT_EQ(v.zoom, 64);
  for (int i = 0; i < 10; ++i) v.zoomOut();
  EXPECT_EQ(v.zoom, 1);
  for (int i = 0; i < 12; ++i) v.spinGrid(false);
  EXPECT_EQ(v.gridSpacing, 512);
  for (int i = 0; i < 12; ++i) v.spinGrid(true);
  EXPECT_EQ(v.gridSpacing, 1);
  // Zoom to fit: the tightest power of two that keeps every node on the canvas.
  Graph2D d;
  d.addNode(-100, 0);
  d.addNode(100, 50);
  v.zoomToFit(d);
  EXPECT_EQ(v.zoom, 4);
  EXPECT_DOUBLE_EQ(v.centreX, 0.0);
  for (const auto& n : d.selectedNodes) EXPECT_TRUE(v.pixelX(n->x) > 0 && v.pixelX(n->x) < 640);
}

TEST(DrawingHistory, UndoRedoByteForByte) {
  Graph2D d;
  DrawingHistory h;
  std::vector<std::vector<uint8_t>> seen{writeGBytes(d)};
  auto edit = [&](auto&& change) {
    DrawingSnapshot before = takeSnapshot(d);
    change();
    if (h.record(std::move(before), d)) seen.push_back(writeGBytes(d));
  };
  edit([&] { d.addNode(0, 0); d.addNode(10, 0); d.addNode(5, 8); });
  edit([&] { d.selectAllNodes(); d.cliquify(); });
  edit([&] { d.rotateSelected(0, 0, 1.0); });
  edit([] {});  // no change, no step
  edit([&] { d.unselectAll(); d.toggleNodeAt(0, 0); d.deleteSelected(); });
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_TRUE(h.isModified(d));
  for (size_t i = seen.size() - 1; i > 0; --i) {
    ASSERT_TRUE(h.undo(d));
    EXPECT_EQ(writeGBytes(d), seen[i - 1]);
  }
  EXPECT_FALSE(h.isModified(d));
  for (size_t i = 1; i < seen.size(); ++i) {
    ASSERT_TRUE(h.redo(d));
    EXPECT_EQ(writeGBytes(d), seen[i]);
  }
}

}  // namespace
}  // namespace hc
