// Drawing -> solver graph (numbering, rows, isolated nodes), the edge styles in every
// program state against a working graph driven through the incremental model, and the
// file actions: naming rules, Save / Save As / Load refusals and outcomes, OUTPUT HC.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <tuple>

#include "core/graph.h"
#include "editor/drawing_conversion.h"
#include "editor/drawing_files.h"
#include "editor/g_file.h"
#include "editor_test_util.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using editor_test::addUnselected;
using editor_test::TempFolder;

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Conversion, SelectedNodesAreNumberedAfterTheUnselected) {
  Graph2D drawing;
  Graph2DNode* a = addUnselected(drawing, 0, 0);
  Graph2DNode* b = addUnselected(drawing, 3, 0);
  Graph2DNode* c = addUnselected(drawing, 6, 0);
  Graph2DNode* d = addUnselected(drawing, 9, 0);
  drawing.joinNodes(a, b);
  drawing.joinNodes(b, c);
  drawing.joinNodes(c, d);
  drawing.toggleNodeAt(6, 0);
  drawing.toggleNodeAt(0, 0);  // unselected b, d; selected c, a
  drawing.toggleEdgeAt(1.5, 0);
  const Graph graph = convertDrawingToGraph(drawing, "drawn");
  EXPECT_EQ(std::vector<int32_t>({b->id, d->id, c->id, a->id, drawing.howManySelectedNodes + drawing.howManySelectedEdges,
                                  drawing.nextNodeId, graph.howManyNodes, graph.version}),
            std::vector<int32_t>({0, 1, 2, 3, 0, 4, 4, 5}));
  EXPECT_EQ(graph.outputFileName, "drawn");
  EXPECT_EQ(testing::currentEdges(graph), (testing::EdgeSet{{0, 3}, {0, 2}, {1, 2}}));
}

TEST(Conversion, IsolatedNodesBecomeDegreeZero) {
  Graph2D drawing;
  addUnselected(drawing, 0, 0, 7);
  addUnselected(drawing, 5, 0, 3);
  const Graph graph = convertDrawingToGraph(drawing, kUserDefinedGraphName);
  EXPECT_EQ(std::vector<int32_t>({graph.howManyNodes, graph.howManyEdges, graph.node(0).degree, graph.node(1).degree}),
            std::vector<int32_t>({2, 0, 0, 0}));
  EXPECT_EQ(drawing.nextNodeId, 4);  // kept
  Graph2D empty;
  EXPECT_EQ(convertDrawingToGraph(empty, "x").howManyNodes, 0);
}

// A pentagon 0-1-2-3-4 with the chord 0-2, drawn and converted.
struct Pentagon {
  Graph2D drawing;
  std::vector<Graph2DNode*> nodes;
  Graph2DEdge* chord = nullptr;
  Pentagon() {
    for (int i = 0; i < 5; ++i)
      nodes.push_back(addUnselected(drawing, 5 * std::cos(2 * std::numbers::pi * i / 5), 5 * std::sin(2 * std::numbers::pi * i / 5)));
    for (int i = 0; i < 5; ++i) drawing.joinNodes(nodes[i], nodes[(i + 1) % 5]);
    chord = drawing.joinNodes(nodes[0], nodes[2]);
  }
  // Cuts the chord and forces what the pruning left open, until the cycle closes.
  static void solve(Graph& working) {
    working.cut(0, 2);
    for (int i = 0; i < 5 && working.isHamiltonian == kUndecided; ++i)
      if (!working.isUncuttableEdge(i, (i + 1) % 5)) working.force(i, (i + 1) % 5);
  }
  EdgeStyle style(const Graph2DEdge* edge, const Graph& working, int16_t state, int16_t choice) const {
    return edgeStyle(*edge, false, &working, state, choice);
  }
};

TEST(EdgeStyles, EveryStateOfASolvedDrawing) {
  Pentagon p;
  Graph working = convertDrawingToGraph(p.drawing, kUserDefinedGraphName);
  const Graph2DEdge* side = p.drawing.unselectedEdges[0].get();      // 0-1: node 1 has two edges
  const Graph2DEdge* farSide = p.drawing.unselectedEdges[2].get();   // 2-3
  for (const auto& e : p.drawing.unselectedEdges) {
    EXPECT_EQ(edgeStyle(*e, false, nullptr, 0, 1), EdgeStyle::kOrdinary);
    EXPECT_EQ(edgeStyle(*e, true, &working, 3, 1), EdgeStyle::kSelected);
  }
  for (int16_t state : {1, 2}) {
    for (int16_t choice : {1, 2}) {  // automatic methods: edges at a node of two edges look forced
      EXPECT_EQ(p.style(side, working, state, choice), EdgeStyle::kForced);
      EXPECT_EQ(p.style(farSide, working, state, choice), EdgeStyle::kForced);
      EXPECT_EQ(p.style(p.chord, working, state, choice), EdgeStyle::kOrdinary);
    }
    EXPECT_EQ(p.style(side, working, state, 3), EdgeStyle::kOrdinary);  // manual: nothing forced yet
  }

  Pentagon::solve(working);  // leaves the pentagon: every edge forced, a Hamiltonian cycle
  ASSERT_EQ(working.isHamiltonian, kHamiltonian);
  for (int16_t state : {1, 2}) {
    EXPECT_EQ(p.style(side, working, state, 3), EdgeStyle::kForced);
    EXPECT_EQ(p.style(p.chord, working, state, 3), EdgeStyle::kDeleted);
  }
  for (const auto& e : p.drawing.unselectedEdges)
    EXPECT_EQ(p.style(e.get(), working, 3, 1), e.get() == p.chord ? EdgeStyle::kDeleted : EdgeStyle::kCycle);

  working.isHamiltonian = kNotHamiltonian;  // the same forced edges after a failed search
  EXPECT_EQ(p.style(side, working, 3, 2), EdgeStyle::kForcedNoCycle);
  EXPECT_EQ(p.style(p.chord, working, 3, 2), EdgeStyle::kDeleted);

  p.drawing.toggleEdgeAt((p.nodes[0]->x + p.nodes[2]->x) / 2, (p.nodes[0]->y + p.nodes[2]->y) / 2);
  const std::vector<StyledEdge> painted = edgeStyles(p.drawing, &working, 3, 1);
  ASSERT_EQ(painted.size(), 6u);
  EXPECT_EQ(painted.back().edge, p.chord);  // selected edges are painted last
  EXPECT_EQ(painted.back().style, EdgeStyle::kSelected);
}

TEST(EdgeStyles, EdgesTheWorkingGraphDoesNotKnowDrawAsDeleted) {
  Pentagon p;
  Graph working = convertDrawingToGraph(p.drawing, kUserDefinedGraphName);
  p.nodes[4]->id = 99;
  EXPECT_EQ(p.style(p.nodes[4]->edges[0], working, 1, 3), EdgeStyle::kDeleted);
  EXPECT_EQ(p.style(p.nodes[4]->edges[0], working, 3, 1), EdgeStyle::kDeleted);
}

TEST(EdgeStyles, LooksOfTheTable) {
  const EdgeStyleLook cycle = edgeStyleLook(EdgeStyle::kCycle);
  EXPECT_EQ(cycle.green, 255);
  EXPECT_EQ(cycle.widthFactor, 2.5);
  const EdgeStyleLook forced = edgeStyleLook(EdgeStyle::kForced);
  EXPECT_EQ(std::make_tuple(forced.red, forced.green, forced.blue), std::make_tuple(255, 171, 42));
  const EdgeStyleLook deleted = edgeStyleLook(EdgeStyle::kDeleted);
  EXPECT_TRUE(deleted.dotted);
  EXPECT_EQ(deleted.red, 190);
  EXPECT_EQ(edgeStyleLook(EdgeStyle::kSelected).widthFactor, 1.5);
  EXPECT_EQ(edgeStyleLook(EdgeStyle::kOrdinary).blue, 255);
}

TEST(Names, ExtensionsAndHcOutputNames) {
  using Rule = std::string (*)(const std::string&);
  const std::tuple<Rule, const char*, const char*> names[] = {
      {editorFileExtension, "graph.txt", "txt"},
      {editorFileExtension, "C:\\my.graphs\\k5.txt", "txt"},
      {editorFileExtension, "/home/u/my.graphs/k5", ""},
      {editorFileExtension, "k5.v2.txt", "txt"},
      {editorFileExtension, "K5.TXT", "TXT"},  // compared exactly by the callers
      {hcOutputFileName, "C:\\data\\petersen.txt", "C:\\data\\petersen-HC.txt"},
      {hcOutputFileName, "/home/u/my.graphs/mesh.obj", "/home/u/my.graphs/mesh-HC.obj"},
      {hcOutputFileName, "k5.v2.txt", "k5.v2-HC.txt"},
      {hcOutputFileName, "/a.b/noext", "/a.b/noext-HC"},
  };
  for (const auto& [rule, name, expected] : names) EXPECT_EQ(rule(name), expected) << name;
  const std::tuple<const char*, int16_t, const char*> cycleNames[] = {
      {"Knight's Tour 8 x 8", 5, "Knight's Tour 8 x 8-HC.txt"}, {"User-Defined Graph", 13, "User-Defined Graph-HC.txt"},
      {"petersen.txt", 10, "petersen-HC.txt"},                  {"mesh.v1.obj", 12, "mesh-HC.obj"},
      {"noext", 10, "-HC.txt"}};
  for (const auto& [name, type, expected] : cycleNames) EXPECT_EQ(defaultCycleFileName(name, type), expected) << name;
  EXPECT_STREQ(cycleOutputDialog(12).defaultExtension, "obj");
  EXPECT_STREQ(cycleOutputDialog(10).filter, "Text Files (*.txt)|*.txt|Obj Files (*.obj)|*.obj|All Files (*.*)|*.*||");
}

TEST(DrawingFiles, SaveAndLoadRefusalsInTheirOrder) {
  Graph2D empty;
  EXPECT_EQ(checkDrawingSave(empty, 1, true).message, "ERROR! Cannot save while in rotation mode.");
  EXPECT_EQ(checkDrawingSave(empty, 1, false).message, "ERROR! Cannot save a graph that has no nodes.");
  Graph2D drawing;
  drawing.addNode(0, 0);
  EXPECT_EQ(checkDrawingSave(drawing, 2, false).message,
            "ERROR! A graph may only be saved while in graph editing mode.");
  EXPECT_TRUE(checkDrawingSave(drawing, 0, false));
  EXPECT_EQ(checkDrawingLoad(3).message, "ERROR! A graph may only be loaded while in graph editing mode.");
  EXPECT_TRUE(checkDrawingLoad(0));
}

TEST(DrawingFiles, SaveAsChoosesByExtension) {
  TempFolder folder;
  Graph2D drawing;
  Graph2DNode* a = addUnselected(drawing, 0, 0, 4);
  Graph2DNode* b = addUnselected(drawing, 3, 0, 8);
  Graph2DNode* c = addUnselected(drawing, 0, 3, 9);
  drawing.joinNodes(a, b);
  drawing.joinNodes(a, c);
  drawing.toggleNodeAt(0, 0);

  const DrawingSaveResult g = saveDrawingAs(drawing, folder.file("d.g"));
  EXPECT_TRUE(g.status);
  EXPECT_EQ(g.written, DrawingFileKind::kGFile);
  EXPECT_FALSE(g.forgetCurrentPath);
  EXPECT_EQ(a->id, 4);  // a .g save leaves the drawing alone

  const DrawingSaveResult txt = saveDrawingAs(drawing, folder.file("d.txt"));
  EXPECT_TRUE(txt.status) << txt.status.error;
  EXPECT_EQ(txt.written, DrawingFileKind::kAdjacencyText);
  EXPECT_TRUE(txt.forgetCurrentPath);
  EXPECT_EQ(readFile(folder.file("d.txt")), "0 2\n1 2\n2 0 1\n");  // b, c, then the once-selected a
  EXPECT_EQ(drawing.howManySelectedNodes, 0);

  EXPECT_TRUE(saveDrawing(drawing, "").needsSaveAs);
  const DrawingQuickSave quick = saveDrawing(drawing, folder.file("plain.txt"));  // .g whatever the name
  EXPECT_EQ(quick.result.written, DrawingFileKind::kGFile);
  Graph2D reread;
  EXPECT_TRUE(loadGFile(folder.file("plain.txt"), reread));
  EXPECT_EQ(reread.nodeCount(), 3);

  const DrawingSaveResult other = saveDrawingAs(drawing, folder.file("d.dat"));
  EXPECT_EQ(other.written, DrawingFileKind::kNothing);
  EXPECT_FALSE(std::filesystem::exists(folder.file("d.dat")));

  Graph2D loaded;
  loaded.addNode(50, 50);
  bool rotationMode = true;
  ASSERT_TRUE(loadDrawing(loaded, folder.file("d.g"), rotationMode));
  EXPECT_FALSE(rotationMode);
  EXPECT_EQ(loaded.nodeCount(), 3);
  EXPECT_EQ(loaded.howManySelectedNodes, 1);
  EXPECT_EQ(loaded.nextNodeId, 10);

  std::ofstream(folder.file("bad.g")) << "not a drawing at all, really";
  rotationMode = true;
  const EditorStatus bad = loadDrawing(loaded, folder.file("bad.g"), rotationMode);
  EXPECT_FALSE(bad);
  EXPECT_EQ(bad.message, "");
  EXPECT_NE(bad.error, "");
  EXPECT_TRUE(rotationMode);
  EXPECT_EQ(loaded.nodeCount(), 3);
}

TEST(OutputHc, WritesTheCycleByExtensionOrSaysWhyNot) {
  TempFolder folder;
  Pentagon p;
  Graph working = convertDrawingToGraph(p.drawing, kUserDefinedGraphName);
  EXPECT_EQ(outputHamiltonianCycle(3, &working, folder.file("c.txt")).status.message,
            "The graph is non-Hamiltonian!");  // not solved yet
  Pentagon::solve(working);
  ASSERT_EQ(working.isHamiltonian, kHamiltonian);
  EXPECT_EQ(outputHamiltonianCycle(1, &working, folder.file("c.txt")).status.message,
            "The graph is non-Hamiltonian!");
  EXPECT_EQ(outputHamiltonianCycle(3, nullptr, folder.file("c.txt")).status.message,
            "The graph is non-Hamiltonian!");

  const CycleOutputResult txt = outputHamiltonianCycle(3, &working, folder.file("c.txt"));
  EXPECT_TRUE(txt.status) << txt.status.error;
  EXPECT_EQ(txt.written, CycleFileKind::kAdjacencyText);
  std::istringstream lines(readFile(folder.file("c.txt")));
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    int id, first, second, extra;
    ASSERT_TRUE(fields >> id >> first >> second) << line;
    EXPECT_FALSE(fields >> extra) << line;
    ++count;
  }
  EXPECT_EQ(count, 5);

  const CycleOutputResult obj = outputHamiltonianCycle(3, &working, folder.file("c.obj"));
  EXPECT_FALSE(obj.status);
  EXPECT_EQ(obj.status.message, "");
  EXPECT_NE(obj.status.error.find("coordinates"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.file("c.obj")));
  EXPECT_EQ(outputHamiltonianCycle(3, &working, folder.file("c.dat")).written, CycleFileKind::kNothing);
}

}  // namespace
}  // namespace hc
