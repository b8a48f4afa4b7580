// The Graph Editor page on the offscreen platform: drawing by mouse, the display boxes,
// manual edit mode and its state moves, refusals, view limits, undo/redo, bad files, exports.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <fstream>
#include <map>
#include <tuple>

#include "app/scripted_view.h"
#include "editor/drawing_conversion.h"
#include "io/g_file.h"
#include "run/graph_information.h"
#include "support/test_graphs.h"
#include "ui/graph_editor_dlg.h"

namespace {

// K4 on points 0..3 with point 4 joined to 0 and 1: the entry pruning forces 0-4-1 and
// removes 0-1; deleting 2-3 then makes 0 a hub.
const QPointF kKite[] = {{0, 0}, {20, 0}, {0, 20}, {20, 20}, {10, -10}};
const std::pair<int, int> kKiteEdges[] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {0, 4}, {1, 4}};

class EditorPage : public ::testing::Test {
 protected:
  EditorPage() {
    model.setPage(hc::kEditorPage, &page);
    page.resize(1100, 700);
    page.show();
    QApplication::processEvents();
  }
  QPoint widgetAt(QPointF p) {
    auto& v = page.view();
    v.setCanvasSize(page.canvas()->canvasWidth(), page.canvas()->canvasHeight());
    return QPoint(v.pixelX(p.x()), v.pixelY(p.y())) +
           QPoint(hcui::GraphCanvas::kInset, hcui::GraphCanvas::kInset);
  }
  // A mouse event at the world point p.
  void send(QEvent::Type type, Qt::MouseButton button, QPointF p, Qt::KeyboardModifiers mods = {}) {
    const QPointF at = widgetAt(p);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, at, page.canvas()->mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(page.canvas(), &e);
  }
  void drag(Qt::MouseButton b, QPointF from, QPointF to, Qt::KeyboardModifiers mods = {}) {
    send(QEvent::MouseMove, Qt::NoButton, from);
    send(QEvent::MouseButtonPress, b, from, mods);
    send(QEvent::MouseMove, b, to, mods);
    send(QEvent::MouseButtonRelease, b, to, mods);
  }
  void click(Qt::MouseButton b, QPointF p, Qt::KeyboardModifiers mods = {}) { drag(b, p, p, mods); }
  void key(int k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&page, static_cast<Qt::Key>(k), mods); }
  // The display boxes "nodes/edges | selected node | selected edge".
  std::string boxes() {
    return (page.boxText("Node Count") + "/" + page.boxText("Edge Count") + " | " +
            page.boxText("Selected Node") + " | " + page.boxText("Selected Edge"))
        .toStdString();
  }
  // Draws nodes at the first n kite points and joins the kite's edges among them by drags.
  void draw(int n) {
    for (int i = 0; i < n; ++i) click(Qt::LeftButton, kKite[i]);
    for (auto [a, b] : kKiteEdges)
      if (b < n) drag(Qt::LeftButton, kKite[a], kKite[b]);
  }
  // Selects the edge between kite points i and j by a Ctrl+right click on its middle.
  void selectEdge(int i, int j) { click(Qt::RightButton, (kKite[i] + kKite[j]) / 2, Qt::ControlModifier); }
  // The style of each shown edge of the kite, in the order of kKiteEdges (ids change on submit):
  // o ordinary, s selected, c on the cycle, n forced in a graph without one, d deleted, f forced.
  std::string styles() {
    auto at = [](const hc::Graph2DNode* n, int k) { return n->hitTest(kKite[k].x(), kKite[k].y()); };
    std::string out;
    for (auto [i, j] : kKiteEdges)
      for (const hc::StyledEdge& s : hc::edgeStyles(page.shownGraph(), model.workingGraph().get(),
                                                    model.programState(), model.algorithmChoice()))
        if ((at(s.edge->node1, i) && at(s.edge->node2, j)) || (at(s.edge->node1, j) && at(s.edge->node2, i)))
          out += "oscndf"[static_cast<int>(s.style)];
    return out;
  }

  hc::testing::ScriptedView view;
  hc::ProgramModel model{view};
  CGraphEditorDlg page{model};
};

// Kite points 0, 1, 2 are drawn, joined and cliquified; node 0 is rectangle-selected, then
// edge 0-1, then node 2, which is rotated and deleted.
TEST_F(EditorPage, DrawSelectRotateDelete) {
  struct Step {
    std::function<void()> act;
    const char* boxes;
  };
  const Step steps[] = {
      {[&] { click(Qt::LeftButton, kKite[0]); }, "1/0 | No Node Selected | No Edge Selected"},
      {[&] { drag(Qt::LeftButton, kKite[0], kKite[1]); }, "2/1 | Many Nodes Selected | No Edge Selected"},
      {[&] { drag(Qt::LeftButton, kKite[1], kKite[2]); }, "3/2 | Many Nodes Selected | No Edge Selected"},
      {[&] {
         key(Qt::Key_A, Qt::ControlModifier);
         page.cliquifyAction();
       },
       "3/3 | Many Nodes Selected | No Edge Selected"},
      {[&] {
         click(Qt::RightButton, {-20, 20});
       },
       "3/3 | No Node Selected | No Edge Selected"},
      {[&] {
         drag(Qt::RightButton, {-3, 3}, {7, -3});
       },
       "3/3 | 0 | No Edge Selected"},
      {[&] { selectEdge(0, 1); }, "3/3 | 0 | ( 0 , 1 )"},
      {[&] { click(Qt::RightButton, kKite[2]); }, "3/3 | 2 | No Edge Selected"},
      {[&] {
         send(QEvent::MouseButtonPress, Qt::MiddleButton, {0, 0});
         send(QEvent::MouseMove, Qt::NoButton, {0, 4});
         send(QEvent::MouseMove, Qt::NoButton, {-4, 0});
         send(QEvent::MouseButtonPress, Qt::MiddleButton, {-4, 0});
       },
       "3/3 | 2 | No Edge Selected"},
      {[&] { key(Qt::Key_Delete); }, "2/1 | No Node Selected | No Edge Selected"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(boxes(), steps[i].boxes) << "step " << i;
  }
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(page.rotationMode());
}

// Refusals on the way: nothing drawn to submit, a deletion in rotation mode, a deletion after
// submitting, two edges to force, Look Ahead once solved (every refusal by state and choice:
// the manual edit session's own test).
TEST_F(EditorPage, ManualEditModeRefusesDeletesAndDecides) {
  page.submitAction();
  draw(5);
  ASSERT_EQ(boxes(), "5/8 | Many Nodes Selected | No Edge Selected");
  send(QEvent::MouseButtonPress, Qt::MiddleButton, {20, 20});
  key(Qt::Key_Delete);
  send(QEvent::MouseButtonPress, Qt::MiddleButton, {20, 20});
  page.submitAction();
  key(Qt::Key_Delete);
  EXPECT_TRUE(page.controlShown("Manually Edit Graph"));
  model.pageButtonPressed(hc::kEditorPage);
  ASSERT_EQ(hc::codeOf(model.programState()), 2);
  EXPECT_EQ(styles(), "doooooff");
  // A forced and a removed edge are left alone; the selection goes all the same.
  for (auto [i, j] : {std::pair{0, 4}, std::pair{0, 1}}) {
    selectEdge(i, j);
    page.deleteAction();
    EXPECT_EQ(hc::codeOf(model.programState()), 2);
    EXPECT_EQ(page.boxText("Selected Edge"), "No Edge Selected");
  }
  selectEdge(2, 3);
  page.deleteAction();
  EXPECT_EQ(hc::codeOf(model.programState()), 3);
  EXPECT_EQ(hc::codeOf(model.programResult()), 0);
  EXPECT_EQ(styles(), "dnnnndnn");  // 0 is a hub
  // Undo leaves state 3 for state 2 with the graph as it was; redo decides again.
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(hc::codeOf(model.programState()), 2);
  EXPECT_EQ(styles(), "doooooff");
  selectEdge(0, 2);
  selectEdge(1, 2);
  key(Qt::Key_Insert);
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(hc::codeOf(model.programState()), 3);
  page.runLookAheadAction();
  EXPECT_EQ(view.messages,
            (std::vector<std::string>{"ERROR! The graph has no vertices!",
                                      "ERROR! Cannot delete while in rotation mode.",
                                      "The graph has been submitted. You may not delete.",
                                      "Error: You may only force one edge at a time.",
                                      "The graph has been solved. You may not run Look Ahead Sequencing."}));
}

TEST_F(EditorPage, EntryPruningDecidesAtOnce) {
  draw(3);
  page.submitAction();
  model.pageButtonPressed(hc::kEditorPage);
  EXPECT_EQ(hc::codeOf(model.programState()), 3);
  EXPECT_EQ(hc::codeOf(model.programResult()), 1);
  EXPECT_EQ(styles(), "ccc");
  // Visibility in state 3 with a cycle.
  for (auto [name, shown] : {std::pair{"Edit Graph", false},
                             {"Manual Edit Mode", true},
                             {"Output HC", true},
                             {"Submit Graph", false},
                             {"stateButton", true},
                             {"Manually Edit Graph", false},
                             {"Save As...", false},
                             {"Load", false}})
    EXPECT_EQ(page.controlShown(name), shown) << name;
}

TEST_F(EditorPage, ViewLimits) {
  auto wheel = [&](int delta) {
    const QPointF at = widgetAt({3, 3});
    QWheelEvent e(at, page.canvas()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(page.canvas(), &e);
  };
  struct Limit {
    std::function<void()> step;
    const char *box, *text;
  };
  const Limit limits[] = {{[&] { wheel(120); }, "Zoom", "64X"},
                          {[&] { wheel(-120); }, "Zoom", "1X"},
                          {[&] { key(Qt::Key_Z); }, "Zoom", "64X"},
                          {[&] { page.spinGrid(true); }, "Grid Spacing", "1"},
                          {[&] { page.spinGrid(false); }, "Grid Spacing", "512"}};
  for (const Limit& limit : limits) {
    for (int i = 0; i < 12; ++i) limit.step();
    EXPECT_EQ(page.boxText(limit.box), limit.text) << limit.box;
  }
  // A right double-click outside the drawing field leaves the view; inside it re-centres.
  page.view().zoom = 1;
  const QString before = page.boxText("Screen Center");
  send(QEvent::MouseButtonDblClick, Qt::RightButton, {600, 0});
  EXPECT_EQ(page.boxText("Screen Center"), before);
  send(QEvent::MouseButtonDblClick, Qt::RightButton, {-100, 50});
  EXPECT_NEAR(page.view().centreX, -100, 2);
  EXPECT_NEAR(page.view().centreY, 50, 2);
}

TEST_F(EditorPage, UndoRedoBadLoadAndExports) {
  auto bytes = [&] { return hc::writeGBytes(model.drawing()); };
  std::vector<std::vector<uint8_t>> seen{bytes()};
  drag(Qt::LeftButton, {0, 0}, {10, 0});
  seen.push_back(bytes());
  drag(Qt::LeftButton, {10, 0}, {5, 8});
  key(Qt::Key_A, Qt::ControlModifier);  // a selection alone is no step: it belongs to the next
  seen.push_back(bytes());
  key(Qt::Key_Delete);
  seen.push_back(bytes());
  for (size_t i = seen.size() - 1; i > 0; --i) {
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bytes(), seen[i - 1]) << i;
  }
  for (size_t i = 1; i < seen.size(); ++i) {
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(bytes(), seen[i]) << i;
  }
  key(Qt::Key_Z, Qt::ControlModifier);
  // Unsaved changes are asked about: "no" keeps the drawing.
  view.answer = false;
  for (auto action :
       {&CGraphEditorDlg::newAction, &CGraphEditorDlg::clearAction, &CGraphEditorDlg::loadAction})
    (page.*action)();
  EXPECT_EQ(bytes(), seen[2]);
  // A damaged file: one message, the drawing untouched.
  QTemporaryDir dir;
  const std::string bad = dir.filePath("bad.g").toStdString();
  std::ofstream(bad) << "not a drawing";
  view.fileAnswers.push_back(bad);
  view.answer = true;
  page.loadAction();
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(bytes(), seen[2]);
  const QString png = dir.filePath("g.png"), svg = dir.filePath("g.svg");
  ASSERT_TRUE(page.exportCanvas(png, QSize(300, 200)));
  ASSERT_TRUE(page.exportCanvas(svg));
  EXPECT_EQ(QImage(png).size(), QSize(300, 200));
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("<svg"));
}

// The least distance between two node centres of the view.
double closestPair(const hc::Graph2D& g) {
  double best = 1e300;
  for (const auto& a : g.unselectedNodes)
    for (const auto& b : g.unselectedNodes)
      if (a != b) best = std::min(best, std::hypot(a->x - b->x, a->y - b->y));
  return best;
}

// Views of generated graphs come and go; the user's drawing returns as it was seen. Boards
// sit on their grid, a torus bows its wrap-around edges, laid-out graphs keep their nodes
// apart; a layout still running when another graph arrives never lands.
TEST_F(EditorPage, GraphViewComesAndGoes) {
  drag(Qt::LeftButton, {0, 0}, {10, 0});
  const auto mine = hc::writeGBytes(model.drawing());
  page.view().zoom = 4;
  page.view().centreX = 30;
  using enum hc::GraphSource;
  struct Row {
    hc::GraphSource source;
    double p1, p2;
    int nodes;
    size_t bent;
  };
  for (Row r : {Row{kKnightsTourGraph, 3, 4, 12, 0}, Row{kNCubeGraph, 3, 0, 8, 0},
                Row{kToroidalGrid, 5, 6, 30, 11}, Row{kIccsGraph, 2, 0, 28, 0}}) {
    SCOPED_TRACE(hc::graphSourceCode(r.source));
    model.loadGraphRequest({r.source, r.p1, r.p2});
    page.finishLayoutNow();
    ASSERT_TRUE(page.hasGraphView());
    EXPECT_EQ(page.shownGraph().nodeCount(), r.nodes);
    EXPECT_EQ(page.bentEdges().size(), r.bent);  // a 5 x 6 torus: 5 + 6 wrap-around edges
    EXPECT_GE(closestPair(page.shownGraph()), 1.99);
    EXPECT_TRUE(page.controlShown("stateButton"));
    model.setProgramState(
        hc::ProgramState::kEditing);  // Reset: the user's drawing is back, untouched, as it was seen
    EXPECT_FALSE(page.hasGraphView());
    EXPECT_EQ(hc::writeGBytes(model.drawing()), mine);
    EXPECT_EQ(std::tuple(page.view().zoom, page.view().centreX), std::tuple(4, 30.0));
  }
  // A cube waiting for its layout, then a board: the board stays, the cube's answer is dropped.
  model.loadGraphRequest({kNCubeGraph, 4, 0});
  EXPECT_TRUE(page.layoutRunning());
  model.setProgramState(hc::ProgramState::kEditing);
  model.loadGraphRequest({kKnightsTourGraph, 3, 4});
  EXPECT_FALSE(page.layoutRunning());
  QTest::qWait(300);
  EXPECT_EQ(page.shownGraph().nodeCount(), 12);
  model.setProgramState(hc::ProgramState::kEditing);

  // An odd board: decided on entry to manual edit mode, shown row by row from the top left.
  model.loadGraphRequest({kKnightsTourGraph, 9, 9});
  model.pageButtonPressed(hc::kEditorPage);
  EXPECT_EQ(hc::codeOf(model.programState()), 3);
  EXPECT_EQ(hc::codeOf(model.programResult()), 0);
  std::map<int, std::pair<double, double>> at;
  for (const auto& n : page.shownGraph().unselectedNodes) at[n->id] = {n->x, n->y};
  EXPECT_TRUE(at[0].first < at[8].first && at[0].second > at[72].second);
  page.copyToEditorAction();
  EXPECT_EQ(hc::codeOf(model.programState()), 0);
  EXPECT_EQ(model.drawing().nodeCount(), 81);
}

// The orange edges of states 1 and 2 are the Information page's "Forced Edges": on a square
// with a chord and a node of two edges the pruning forces a whole cycle; a node of one edge
// more ends the pruning at once and nothing is forced (though a node of two edges remains).
TEST_F(EditorPage, ForcedEdgesAreThoseOfTheInformationPage) {
  const hc::testing::EdgeList square = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {4, 2}, {4, 3}};
  for (bool pendant : {false, true}) {
    hc::testing::EdgeList edges = square;
    if (pendant) edges.push_back({5, 1});
    auto graph = std::make_shared<hc::Graph>(hc::testing::makeGraph(pendant ? 6 : 5, edges));
    model.installGeneratedGraph(
        {hc::GraphSource::kRandomEdgesGraph, double(graph->howManyNodes), double(edges.size())}, graph);
    page.finishLayoutNow();
    int orange = 0;
    for (const hc::StyledEdge& e : hc::edgeStyles(page.shownGraph(), page.forcedEdgesGraph(),
                                                  model.programState(), model.algorithmChoice()))
      orange += e.style == hc::EdgeStyle::kForced;
    EXPECT_EQ(orange, hc::computeGraphInformation(*graph, "").forcedEdges) << pendant;
    EXPECT_EQ(orange, pendant ? 0 : 5);
    model.setProgramState(hc::ProgramState::kEditing);
  }
}

}  // namespace
