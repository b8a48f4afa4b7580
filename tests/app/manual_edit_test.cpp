// Manual edit mode without widgets: refusals by state and undo/redo restoring the working
// graph exactly (what a deletion decides is seen through the editor page); the view
// formulas and the drawing history's steps.
#include "app/manual_edit.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "app/drawing_history.h"
#include "app/editor_view.h"
#include "core/graph_invariants.h"
#include "editor/g_file.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;
namespace msg = manual_messages;

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
    const std::string before = snapshot(g);
    EXPECT_EQ(s.deleteEdge(&g, r.state, r.choice, *r.sel).message, r.del) << r.state << r.choice;
    EXPECT_EQ(s.forceEdge(&g, r.state, r.choice, *r.sel).message, r.force) << r.state << r.choice;
    EXPECT_EQ(s.runLookAhead(&g, r.state, r.choice).message, r.las) << r.state << r.choice;
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
      const ManualOutcome o = rng() % 3 ? s.deleteEdge(&g, 2, 3, {e}) : s.forceEdge(&g, 2, 3, {e});
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
  EXPECT_EQ(EditorView::pen(v.nodeSize() / 2), 5);
  EXPECT_EQ(EditorView::pen(2.5 * v.edgeWidth()), 3);
  EXPECT_EQ(std::vector<int32_t>({v.pixelX(0), v.pixelY(0), v.pixelX(-32), v.pixelX(1e300)}),
            std::vector<int32_t>({320, 240, 0, 1000000000}));
  EXPECT_DOUBLE_EQ(v.worldY(v.pixelY(-12)), -12.0);
  Graph2D d;
  d.addNode(-100, 0);
  d.addNode(100, 50);
  v.zoomToFit(d);
  EXPECT_EQ(v.zoom, 4);
  EXPECT_DOUBLE_EQ(v.centreX, 0.0);
}

// A change is one step and no change none; undoing every step gives the unmodified drawing
// back byte for byte (the page's undo keys: editor page).
TEST(DrawingHistory, StepsAndModified) {
  Graph2D d;
  DrawingHistory h;
  std::vector<std::vector<uint8_t>> seen{writeGBytes(d)};
  const std::function<void()> edits[] = {[&] { d.addNode(0, 0); }, [&] { d.addNode(10, 0); }, [&] { d.cliquify(); },
                                         [&] { d.rotateSelected(0, 0, 1.0); }, [] {}};
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
