// Drawing -> solver graph (numbering, rows, isolated nodes, compact rows against padded
// ones), the edge styles in every program state against a working graph driven through
// the incremental model, and the file actions: naming rules, Save / Save As / Load
// refusals and outcomes, OUTPUT HC.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
using enum EdgeStyle;

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

// On random drawings (every other one leaning on a star centre) plus an isolated node of a
// high id: the unselected nodes are numbered first, then the selected, each in list order,
// and the drawing is left unselected with nextNodeId as it was; rows of each node's own
// length build the same solver graph as rows padded to the highest degree.
TEST(Conversion, NumberingAndCompactRowsAgainstPaddedRows) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const int n = 2 + static_cast<int>(seed * 7 % 30);
    Graph2D drawing = editor_test::randomDrawing(seed, n - 1, 3 * n, seed % 2 == 0);
    addUnselected(drawing, -9, -9, n + 4);
    std::vector<const Graph2DNode*> order;
    for (const auto* list : {&drawing.unselectedNodes, &drawing.selectedNodes})
      for (const auto& node : *list) order.push_back(node.get());
    const Graph compact = convertDrawingToGraph(drawing, "drawn");
    for (int32_t v = 0; v < n; ++v) EXPECT_EQ(order[v]->id, v);
    EXPECT_EQ(std::tuple(drawing.howManySelectedNodes + drawing.howManySelectedEdges, drawing.nextNodeId,
                         compact.version, compact.outputFileName),
              std::tuple(0, n + 5, 5, "drawn"));
    size_t maxDegree = 0;
    for (const auto& node : drawing.unselectedNodes) maxDegree = std::max(maxDegree, node->edges.size());
    std::vector<int32_t> rows(n * maxDegree, -1);
    for (const auto& node : drawing.unselectedNodes)
      for (size_t k = 0; k < node->edges.size(); ++k)
        rows[node->id * maxDegree + k] = node->edges[k]->otherEnd(node.get())->id;
    EXPECT_EQ(testing::snapshot(compact),
              testing::snapshot(Graph(rows, n, static_cast<int32_t>(maxDegree), 5, "x")));
  }
  Graph2D empty;
  EXPECT_EQ(convertDrawingToGraph(empty, "x").howManyNodes, 0);
}

// A pentagon 0-1-2-3-4 with the chord 0-2, drawn and converted (`fresh`), and a copy with
// the chord cut and what the pruning left open forced until the cycle closed (`solved`:
// every side forced, a Hamiltonian cycle).
struct Pentagon {
  Graph2D drawing;
  std::vector<Graph2DNode*> nodes;
  Graph2DEdge* chord = nullptr;
  Graph fresh, solved;
  Pentagon() : fresh(build(*this)), solved(fresh) {
    solved.cut(0, 2);
    for (int i = 0; i < 5 && solved.isHamiltonian == kUndecided; ++i)
      if (!solved.isUncuttableEdge(i, (i + 1) % 5)) solved.force(i, (i + 1) % 5);
  }
  static Graph build(Pentagon& p) {
    for (auto [x, y] : {std::pair(5.0, 0.0), {1.5, 4.8}, {-4.0, 2.9}, {-4.0, -2.9}, {1.5, -4.8}})
      p.nodes.push_back(addUnselected(p.drawing, x, y));
    for (int i = 0; i < 5; ++i) p.drawing.joinNodes(p.nodes[i], p.nodes[(i + 1) % 5]);
    p.chord = p.drawing.joinNodes(p.nodes[0], p.nodes[2]);
    return convertDrawingToGraph(p.drawing, kUserDefinedGraphName);
  }
};

TEST(EdgeStyles, EveryStateBeforeAndAfterTheSearch) {
  Pentagon p;
  const Graph &fresh = p.fresh, &solved = p.solved;
  ASSERT_EQ(solved.isHamiltonian, kHamiltonian);
  Graph failed(solved);
  failed.isHamiltonian = kNotHamiltonian;  // the same forced edges after a failed search
  struct Row {
    const Graph* working;
    int16_t state, choice;
    EdgeStyle sides, chord;
  } rows[] = {
      {nullptr, 0, 1, kOrdinary, kOrdinary},
      {&fresh, 1, 1, kForced, kOrdinary},  // automatic methods: edges at a node of two edges look forced
      {&fresh, 2, 2, kForced, kOrdinary},
      {&fresh, 1, 3, kOrdinary, kOrdinary},  // manual: nothing forced yet
      {&fresh, 2, 3, kOrdinary, kOrdinary},
      {&solved, 1, 3, kForced, kDeleted},
      {&solved, 2, 3, kForced, kDeleted},
      {&solved, 3, 1, kCycle, kDeleted},
      {&failed, 3, 2, kForcedNoCycle, kDeleted},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "state " << row.state << " choice " << row.choice);
    for (const auto& e : p.drawing.unselectedEdges)
      EXPECT_EQ(edgeStyle(*e, false, row.working, row.state, row.choice),
                e.get() == p.chord ? row.chord : row.sides);
    EXPECT_EQ(edgeStyle(*p.chord, true, row.working, row.state, row.choice), kSelected);
  }
  p.drawing.toggleEdgeAt((p.nodes[0]->x + p.nodes[2]->x) / 2, (p.nodes[0]->y + p.nodes[2]->y) / 2);
  const std::vector<StyledEdge> painted = edgeStyles(p.drawing, &solved, 3, 1);
  ASSERT_EQ(painted.size(), 6u);
  EXPECT_EQ(painted.back().edge, p.chord);  // selected edges are painted last
  EXPECT_EQ(painted.back().style, kSelected);
  p.nodes[4]->id = 99;  // edges the working graph does not know draw as deleted
  EXPECT_EQ(edgeStyle(*p.nodes[4]->edges[0], false, &fresh, 1, 3), kDeleted);
  EXPECT_EQ(edgeStyle(*p.nodes[4]->edges[0], false, &fresh, 3, 1), kDeleted);
}

TEST(EdgeStyles, LooksOfTheTable) {
  const std::tuple<EdgeStyle, int, int, int, double, bool> looks[] = {
      {kOrdinary, 0, 0, 255, 1.0, false},   {kSelected, 255, 0, 0, 1.5, false},
      {kCycle, 0, 255, 0, 2.5, false},      {kForcedNoCycle, 255, 0, 0, 2.5, false},
      {kDeleted, 190, 190, 190, 1.0, true}, {kForced, 255, 171, 42, 2.5, false}};
  for (const auto& [style, red, green, blue, width, dotted] : looks) {
    const EdgeStyleLook look = edgeStyleLook(style);
    EXPECT_EQ(std::tuple(int{look.red}, int{look.green}, int{look.blue}, look.widthFactor, look.dotted),
              std::tuple(red, green, blue, width, dotted));
  }
}

TEST(Names, ExtensionsAndHcOutputNames) {
  using Rule = std::string (*)(const std::string&);
  // Extensions are compared exactly by the callers ("TXT" is not "txt").
  const std::tuple<Rule, const char*, const char*> names[] = {
      {editorFileExtension, "graph.txt", "txt"},
      {editorFileExtension, "C:\\my.graphs\\k5.txt", "txt"},
      {editorFileExtension, "/home/u/my.graphs/k5", ""},
      {editorFileExtension, "k5.v2.txt", "txt"},
      {editorFileExtension, "K5.TXT", "TXT"},
      {hcOutputFileName, "C:\\data\\petersen.txt", "C:\\data\\petersen-HC.txt"},
      {hcOutputFileName, "/home/u/my.graphs/mesh.obj", "/home/u/my.graphs/mesh-HC.obj"},
      {hcOutputFileName, "k5.v2.txt", "k5.v2-HC.txt"},
      {hcOutputFileName, "/a.b/noext", "/a.b/noext-HC"}};
  for (const auto& [rule, name, expected] : names) EXPECT_EQ(rule(name), expected) << name;
  const std::tuple<const char*, int16_t, const char*> cycleNames[] = {
      {"Knight's Tour 8 x 8", 5, "Knight's Tour 8 x 8-HC.txt"},
      {"User-Defined Graph", 13, "User-Defined Graph-HC.txt"},
      {"petersen.txt", 10, "petersen-HC.txt"},
      {"mesh.v1.obj", 12, "mesh-HC.obj"},
      {"noext", 10, "-HC.txt"}};
  for (const auto& [name, type, expected] : cycleNames)
    EXPECT_EQ(defaultCycleFileName(name, type), expected) << name;
  EXPECT_STREQ(cycleOutputDialog(12).defaultExtension, "obj");
  EXPECT_STREQ(cycleOutputDialog(10).filter,
               "Text Files (*.txt)|*.txt|Obj Files (*.obj)|*.obj|All Files (*.*)|*.*||");
}

// The refusals in their order, Save As by extension, Save always writing .g, and Load
// replacing the drawing (a bad file: see the .g reader's tests).
TEST(DrawingFiles, RefusalsSaveAsByExtensionAndLoad) {
  Graph2D empty;
  EXPECT_EQ(checkDrawingSave(empty, 1, true).message, "ERROR! Cannot save while in rotation mode.");
  EXPECT_EQ(checkDrawingSave(empty, 1, false).message, "ERROR! Cannot save a graph that has no nodes.");
  EXPECT_EQ(checkDrawingLoad(3).message, "ERROR! A graph may only be loaded while in graph editing mode.");
  EXPECT_TRUE(checkDrawingLoad(0));
  TempFolder folder;
  Graph2D drawing;
  Graph2DNode* a = addUnselected(drawing, 0, 0, 4);
  drawing.joinNodes(a, addUnselected(drawing, 3, 0, 8));
  drawing.joinNodes(a, addUnselected(drawing, 0, 3, 9));
  drawing.toggleNodeAt(0, 0);
  EXPECT_EQ(checkDrawingSave(drawing, 2, false).message,
            "ERROR! A graph may only be saved while in graph editing mode.");
  EXPECT_TRUE(checkDrawingSave(drawing, 0, false));
  const DrawingSaveResult g = saveDrawingAs(drawing, folder.file("d.g"));
  EXPECT_EQ(std::tuple(bool(g.status), g.written, g.forgetCurrentPath),
            std::tuple(true, DrawingFileKind::kGFile, false));
  EXPECT_EQ(a->id, 4);  // a .g save leaves the drawing alone

  const DrawingSaveResult txt = saveDrawingAs(drawing, folder.file("d.txt"));
  EXPECT_EQ(std::tuple(txt.status.error, txt.written, txt.forgetCurrentPath),
            std::tuple("", DrawingFileKind::kAdjacencyText, true));
  EXPECT_EQ(readFile(folder.file("d.txt")), "0 2\n1 2\n2 0 1\n");  // b, c, then the once-selected a
  EXPECT_EQ(drawing.howManySelectedNodes, 0);

  EXPECT_TRUE(saveDrawing(drawing, "").needsSaveAs);
  const DrawingQuickSave quick = saveDrawing(drawing, folder.file("plain.txt"));  // .g whatever the name
  EXPECT_EQ(quick.result.written, DrawingFileKind::kGFile);
  Graph2D reread;  // Load adds the file's objects to the drawing (here: to none)
  EXPECT_TRUE(reread.load(folder.file("plain.txt")));
  EXPECT_EQ(editor_test::listing(reread), "[0 1 2] [] [2-0 2-1] []");
  EXPECT_EQ(saveDrawingAs(drawing, folder.file("d.dat")).written, DrawingFileKind::kNothing);
  EXPECT_FALSE(std::filesystem::exists(folder.file("d.dat")));

  Graph2D loaded;
  loaded.addNode(50, 50);
  bool rotationMode = true;
  ASSERT_TRUE(loadDrawing(loaded, folder.file("d.g"), rotationMode));
  EXPECT_FALSE(rotationMode);
  const std::string expected = "[8 9] [4] [4-8 4-9] [] 10";
  EXPECT_EQ(editor_test::listing(loaded) + " " + std::to_string(loaded.nextNodeId), expected);
  // A missing or malformed file changes nothing, rotation mode included, and the page shows
  // nothing for it.
  std::filesystem::copy_file(folder.file("d.g"), folder.file("bad.g"));
  std::filesystem::resize_file(folder.file("bad.g"), std::filesystem::file_size(folder.file("d.g")) - 3);
  const std::pair<const char*, std::string> failures[] = {
      {"none.g", ": cannot open the file"},
      {"bad.g", ": malformed drawing at byte 189: list of 2 elements in too few bytes"}};
  for (const auto& [name, why] : failures) {
    const EditorStatus status = loadDrawing(loaded, folder.file(name), rotationMode = true);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "");
    EXPECT_EQ(status.error, folder.file(name) + why);
    EXPECT_FALSE(loaded.load(folder.file(name)));
    EXPECT_TRUE(rotationMode);
    EXPECT_EQ(editor_test::listing(loaded) + " " + std::to_string(loaded.nextNodeId), expected);
  }
}

TEST(OutputHc, WritesTheCycleByExtensionOrSaysWhyNot) {
  TempFolder folder;
  const Pentagon p;
  const Graph &unsolved = p.fresh, &working = p.solved;
  const std::pair<int16_t, const Graph*> refused[] = {{3, &unsolved}, {1, &working}, {3, nullptr}};
  for (auto [state, graph] : refused)
    EXPECT_EQ(outputHamiltonianCycle(state, graph, folder.file("c.txt")).status.message,
              "The graph is non-Hamiltonian!");

  const CycleOutputResult txt = outputHamiltonianCycle(3, &working, folder.file("c.txt"));
  EXPECT_EQ(std::tuple(bool(txt.status), txt.status.error, txt.written),
            std::tuple(true, "", CycleFileKind::kAdjacencyText));
  EXPECT_EQ(readFile(folder.file("c.txt")), "0 1 4\n1 0 2\n2 3 1\n3 2 4\n4 0 3\n");  // the cycle 0-1-2-3-4

  const CycleOutputResult obj = outputHamiltonianCycle(3, &working, folder.file("c.obj"));
  EXPECT_EQ(
      std::tuple(bool(obj.status), obj.status.message, obj.status.error),
      std::tuple(false, "",
                 folder.file("c.obj") + ": only a graph read from an OBJ file has the coordinates an OBJ "
                                        "cycle file needs"));
  EXPECT_FALSE(std::filesystem::exists(folder.file("c.obj")));
  EXPECT_EQ(outputHamiltonianCycle(3, &working, folder.file("c.dat")).written, CycleFileKind::kNothing);
}

}  // namespace
}  // namespace hc
