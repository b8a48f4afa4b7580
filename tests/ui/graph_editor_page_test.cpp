// The Graph Editor page on the offscreen platform: drawing by mouse, the display boxes,
// manual edit mode and its state moves, refusals, view limits, undo/redo, bad files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <fstream>
#include <map>

#include "app/scripted_view.h"
#include "editor/drawing_conversion.h"
#include "editor/g_file.h"
#include "ui/graph_editor_dlg.h"

namespace {

// K4 on points 0..3 with point 4 joined to 0 and 1: the entry pruning forces 0-4-1 and
// removes 0-1; deleting 2-3 then makes 0 a hub.
const QPointF kKite[] = {{0, 0}, {20, 0}, {0, 20}, {20, 20}, {10, -10}};

class EditorPage : public ::testing::Test {
 protected:
  EditorPage() {
    model.setPage(hc::kEditorPage, &page);
    page.resize(1100, 700);
    page.show();
    QApplication::processEvents();
  }
  QPoint widgetAt(double x, double y) {
    auto& v = page.view();
    v.setCanvasSize(page.canvas()->canvasWidth(), page.canvas()->canvasHeight());
    return QPoint(v.pixelX(x), v.pixelY(y)) + QPoint(hcui::GraphCanvas::kInset, hcui::GraphCanvas::kInset);
  }
  void send(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods = {}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(at), page.canvas()->mapToGlobal(QPointF(at)), button, held, mods);
    QApplication::sendEvent(page.canvas(), &e);
  }
  void drag(Qt::MouseButton b, QPointF from, QPointF to, Qt::KeyboardModifiers mods = {}) {
    send(QEvent::MouseMove, Qt::NoButton, widgetAt(from.x(), from.y()));
    send(QEvent::MouseButtonPress, b, widgetAt(from.x(), from.y()), mods);
    send(QEvent::MouseMove, b, widgetAt(to.x(), to.y()), mods);
    send(QEvent::MouseButtonRelease, b, widgetAt(to.x(), to.y()), mods);
  }
  void key(int k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&page, static_cast<Qt::Key>(k), mods); }
  std::string counts() {
    return (page.boxText("Node Count") + "/" + page.boxText("Edge Count")).toStdString();
  }
  // Draws nodes at the points and joins the listed pairs by drags.
  void drawGraph(const std::vector<QPointF>& at, const std::vector<std::pair<int, int>>& joins) {
    for (QPointF p : at) drag(Qt::LeftButton, p, p);
    for (auto [a, b] : joins) drag(Qt::LeftButton, at[a], at[b]);
  }
  void drawKite() {
    drawGraph(std::vector<QPointF>(std::begin(kKite), std::end(kKite)),
              {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {4, 0}, {4, 1}});
  }
  // The shown edge between the nodes at the points p and q (ids change on submit).
  const hc::Graph2DEdge* edgeAt(QPointF p, QPointF q) {
    const hc::Graph2D& d = page.shownGraph();
    for (const auto* list : {&d.unselectedEdges, &d.selectedEdges})
      for (const auto& e : *list)
        if ((e->node1->hitTest(p.x(), p.y()) && e->node2->hitTest(q.x(), q.y())) ||
            (e->node1->hitTest(q.x(), q.y()) && e->node2->hitTest(p.x(), p.y())))
          return e.get();
    ADD_FAILURE() << "no edge";
    return nullptr;
  }
  // Selects an edge by a Ctrl+right click on its middle; kite points by index.
  void selectEdge(QPointF p, QPointF q) {
    const QPoint mid = widgetAt((p.x() + q.x()) / 2, (p.y() + q.y()) / 2);
    send(QEvent::MouseButtonPress, Qt::RightButton, mid, Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, Qt::RightButton, mid);
  }
  void selectKiteEdge(int i, int j) { selectEdge(kKite[i], kKite[j]); }
  hc::EdgeStyle styleOf(QPointF p, QPointF q) {
    const hc::Graph2DEdge* edge = edgeAt(p, q);
    for (const hc::StyledEdge& s :
         hc::edgeStyles(page.shownGraph(), model.workingGraph().get(), model.programState(), model.algorithmChoice()))
      if (s.edge == edge) return s.style;
    return hc::EdgeStyle::kOrdinary;
  }
  hc::EdgeStyle kiteStyle(int i, int j) { return styleOf(kKite[i], kKite[j]); }

  hc::testing::ScriptedView view;
  hc::ProgramModel model{view};
  CGraphEditorDlg page{model};
};

TEST_F(EditorPage, DrawSelectRotateDelete) {
  struct Step { std::function<void()> act; std::string counts, node, edge; };
  const QPointF a(0, 0), b(10, 0), c(5, 8);
  const Step steps[] = {
      {[&] { drag(Qt::LeftButton, a, a); }, "1/0", "No Node Selected", "No Edge Selected"},
      {[&] { drag(Qt::LeftButton, a, b); }, "2/1", "Many Nodes Selected", "No Edge Selected"},
      {[&] { drag(Qt::LeftButton, b, c); }, "3/2", "Many Nodes Selected", "No Edge Selected"},
      {[&] { key(Qt::Key_A, Qt::ControlModifier); page.cliquifyAction(); }, "3/3", "Many Nodes Selected", "No Edge Selected"},
      {[&] { drag(Qt::RightButton, QPointF(-20, 20), QPointF(-20, 20)); }, "3/3", "No Node Selected", "No Edge Selected"},
      {[&] { drag(Qt::RightButton, QPointF(-3, 3), QPointF(7, -3)); }, "3/3", "0", "No Edge Selected"},
      {[&] { selectEdge(a, b); }, "3/3", "0", "( 0 , 1 )"},
      {[&] { drag(Qt::RightButton, c, c); }, "3/3", "2", "No Edge Selected"},
      {[&] {
         send(QEvent::MouseButtonPress, Qt::MiddleButton, widgetAt(0, 0));
         send(QEvent::MouseMove, Qt::NoButton, widgetAt(0, 4));
         send(QEvent::MouseMove, Qt::NoButton, widgetAt(-4, 0));
         send(QEvent::MouseButtonPress, Qt::MiddleButton, widgetAt(-4, 0));
       }, "3/3", "2", "No Edge Selected"},
      {[&] { key(Qt::Key_Delete); }, "2/1", "No Node Selected", "No Edge Selected"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(counts(), steps[i].counts) << "step " << i;
    EXPECT_EQ(page.boxText("Selected Node").toStdString(), steps[i].node) << "step " << i;
    EXPECT_EQ(page.boxText("Selected Edge").toStdString(), steps[i].edge) << "step " << i;
  }
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(page.rotationMode());
}

TEST_F(EditorPage, ManualEditModeDeletesAndDecides) {
  drawKite();
  ASSERT_EQ(counts(), "5/8");
  page.submitAction();
  ASSERT_EQ(model.programState(), 1);
  EXPECT_TRUE(page.controlShown("Manually Edit Graph"));
  model.pageButtonPressed(hc::kEditorPage);
  ASSERT_EQ(model.programState(), 2);
  EXPECT_EQ(kiteStyle(0, 4), hc::EdgeStyle::kForced);
  EXPECT_EQ(kiteStyle(0, 1), hc::EdgeStyle::kDeleted);
  // A forced and a removed edge are left alone; the selection goes all the same.
  for (auto [i, j] : {std::pair{0, 4}, std::pair{0, 1}}) {
    selectKiteEdge(i, j);
    page.deleteAction();
    EXPECT_EQ(model.programState(), 2);
    EXPECT_EQ(page.boxText("Selected Edge"), "No Edge Selected");
  }
  selectKiteEdge(2, 3);
  page.deleteAction();
  EXPECT_EQ(model.programState(), 3);
  EXPECT_EQ(model.programResult(), 0);
  EXPECT_EQ(kiteStyle(0, 4), hc::EdgeStyle::kForcedNoCycle);
  EXPECT_EQ(kiteStyle(0, 2), hc::EdgeStyle::kForcedNoCycle);
  EXPECT_EQ(kiteStyle(2, 3), hc::EdgeStyle::kDeleted);
  // Undo leaves state 3 for state 2 with the graph as it was; redo decides again.
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(model.programState(), 2);
  EXPECT_EQ(kiteStyle(2, 3), hc::EdgeStyle::kOrdinary);
  EXPECT_EQ(kiteStyle(0, 4), hc::EdgeStyle::kForced);
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(model.programState(), 3);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(EditorPage, EntryPruningDecidesAtOnce) {
  drawGraph({{0, 0}, {10, 0}, {5, 8}}, {{0, 1}, {1, 2}, {2, 0}});
  page.submitAction();
  model.pageButtonPressed(hc::kEditorPage);
  EXPECT_EQ(model.programState(), 3);
  EXPECT_EQ(model.programResult(), 1);
  EXPECT_EQ(styleOf({0, 0}, {10, 0}), hc::EdgeStyle::kCycle);
  // Visibility in state 3 with a cycle.
  for (auto [name, shown] : {std::pair{"Edit Graph", false}, {"Manual Edit Mode", true}, {"Output HC", true},
                             {"Submit Graph", false}, {"stateButton", true}, {"Manually Edit Graph", false},
                             {"Save As...", false}, {"Load", false}})
    EXPECT_EQ(page.controlShown(name), shown) << name;
}

TEST_F(EditorPage, RefusalsByState) {
  page.submitAction();
  drawKite();
  send(QEvent::MouseButtonPress, Qt::MiddleButton, widgetAt(20, 20));
  key(Qt::Key_Delete);
  send(QEvent::MouseButtonPress, Qt::MiddleButton, widgetAt(20, 20));
  page.submitAction();
  key(Qt::Key_Delete);
  model.pageButtonPressed(hc::kEditorPage);
  ASSERT_EQ(model.programState(), 2);
  selectKiteEdge(0, 2);
  selectKiteEdge(1, 2);
  key(Qt::Key_Insert);
  model.setProgramResult(0);
  model.setProgramState(3);
  page.runLookAheadAction();  // every refusal by state and choice: the manual edit session's own test
  EXPECT_EQ(view.messages, (std::vector<std::string>{
                               "ERROR! The graph has no vertices!", "ERROR! Cannot delete while in rotation mode.",
                               "The graph has been submitted. You may not delete.",
                               "Error: You may only force one edge at a time.",
                               "The graph has been solved. You may not run Look Ahead Sequencing."}));
}

TEST_F(EditorPage, ViewLimits) {
  auto wheel = [&](int delta) {
    const QPoint at = widgetAt(3, 3);
    QWheelEvent e(QPointF(at), page.canvas()->mapToGlobal(QPointF(at)), {}, QPoint(0, delta), Qt::NoButton, {},
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(page.canvas(), &e);
  };
  for (int i = 0; i < 8; ++i) wheel(120);
  EXPECT_EQ(page.boxText("Zoom"), "64X");
  for (int i = 0; i < 8; ++i) wheel(-120);
  EXPECT_EQ(page.boxText("Zoom"), "1X");
  for (int i = 0; i < 8; ++i) key(Qt::Key_Z);
  EXPECT_EQ(page.boxText("Zoom"), "64X");
  for (int i = 0; i < 12; ++i) page.spinGrid(false);
  EXPECT_EQ(page.boxText("Grid Spacing"), "512");
  for (int i = 0; i < 12; ++i) page.spinGrid(true);
  EXPECT_EQ(page.boxText("Grid Spacing"), "1");
  // A right double-click outside the drawing field leaves the view; inside it re-centres.
  page.view().zoom = 1;
  const QString before = page.boxText("Screen Center");
  send(QEvent::MouseButtonDblClick, Qt::RightButton, widgetAt(600, 0));
  EXPECT_EQ(page.boxText("Screen Center"), before);
  send(QEvent::MouseButtonDblClick, Qt::RightButton, widgetAt(-100, 50));
  EXPECT_NEAR(page.view().centreX, -100, 2);
  EXPECT_NEAR(page.view().centreY, 50, 2);
}

TEST_F(EditorPage, UndoRedoAndBadLoad) {
  std::vector<std::vector<uint8_t>> seen{hc::writeGBytes(model.drawing())};
  drag(Qt::LeftButton, {0, 0}, {10, 0});
  seen.push_back(hc::writeGBytes(model.drawing()));
  drag(Qt::LeftButton, {10, 0}, {5, 8});
  key(Qt::Key_A, Qt::ControlModifier);  // a selection alone is no step: it belongs to the next
  seen.push_back(hc::writeGBytes(model.drawing()));
  key(Qt::Key_Delete);
  seen.push_back(hc::writeGBytes(model.drawing()));
  for (size_t i = seen.size() - 1; i > 0; --i) {
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(hc::writeGBytes(model.drawing()), seen[i - 1]) << i;
  }
  for (size_t i = 1; i < seen.size(); ++i) {
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(hc::writeGBytes(model.drawing()), seen[i]) << i;
  }
  key(Qt::Key_Z, Qt::ControlModifier);
  // Unsaved changes are asked about: "no" keeps the drawing.
  view.answer = false;
  for (auto action : {&CGraphEditorDlg::newAction, &CGraphEditorDlg::clearAction, &CGraphEditorDlg::loadAction})
    (page.*action)();
  EXPECT_EQ(hc::writeGBytes(model.drawing()), seen[2]);
  // A damaged file: one message, the drawing untouched.
  QTemporaryDir dir;
  const std::string bad = dir.filePath("bad.g").toStdString();
  std::ofstream(bad) << "not a drawing";
  view.fileAnswers.push_back(bad);
  view.answer = true;
  page.loadAction();
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(hc::writeGBytes(model.drawing()), seen[2]);
}

TEST_F(EditorPage, GraphViewComesAndGoes) {
  drag(Qt::LeftButton, {0, 0}, {10, 0});
  const auto mine = hc::writeGBytes(model.drawing());
  struct Row { double source, p1, p2; int nodes; };
  for (Row r : {Row{5, 3, 4, 12}, Row{6, 3, 0, 8}}) {  // a knight's board on its grid; a cube by sfdp
    model.loadGraphRequest({r.source, r.p1, r.p2});
    ASSERT_EQ(model.programState(), 1);
    page.finishLayoutNow();
    ASSERT_TRUE(page.hasGraphView());
    EXPECT_EQ(page.shownGraph().nodeCount(), r.nodes);
    EXPECT_TRUE(page.controlShown("stateButton"));
    model.setProgramState(0);  // Reset: the user's drawing is back, untouched
    EXPECT_FALSE(page.hasGraphView());
    EXPECT_EQ(hc::writeGBytes(model.drawing()), mine);
  }
  // An odd board: decided on entry to manual edit mode, shown row by row from the top left.
  model.loadGraphRequest({5, 9, 9});
  model.pageButtonPressed(hc::kEditorPage);
  EXPECT_EQ(model.programState(), 3);
  EXPECT_EQ(model.programResult(), 0);
  std::map<int, std::pair<double, double>> at;
  for (const auto& n : page.shownGraph().unselectedNodes) at[n->id] = {n->x, n->y};
  EXPECT_TRUE(at[0].first < at[8].first && at[0].second > at[72].second);
  page.copyToEditorAction();
  EXPECT_EQ(model.programState(), 0);
  EXPECT_EQ(model.drawing().nodeCount(), 81);
}

TEST_F(EditorPage, ExportsPngAndSvg) {
  drag(Qt::LeftButton, {0, 0}, {10, 0});
  QTemporaryDir dir;
  const QString png = dir.filePath("g.png"), svg = dir.filePath("g.svg");
  ASSERT_TRUE(page.exportCanvas(png, QSize(300, 200)));
  ASSERT_TRUE(page.exportCanvas(svg));
  EXPECT_EQ(QImage(png).size(), QSize(300, 200));
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("<svg"));
}

}  // namespace
