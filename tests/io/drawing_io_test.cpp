// The drawing going out and coming in. Drawing -> solver graph (numbering, rows, isolated
// nodes, compact rows against padded ones); the edge styles in every program state against
// a working graph driven through the incremental model, and OUTPUT HC of that graph; the
// file actions: naming rules, Save / Save As / Load refusals and outcomes; the .g stream:
// golden bytes of small drawings (the two-node example item by item), class-tag, index and
// count long forms, round trips, and a reader that refuses truncated, flipped and hand-made
// hostile files with its reason while leaving the drawing untouched. Drawings are compared
// by their exact listing: ids, positions, radii, the order of each node's edges, the edge
// rectangles and which list holds every object.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <tuple>

#include "checks/chain_building.h"
#include "core/graph.h"
#include "editor/drawing_conversion.h"
#include "editor/editor_test_util.h"
#include "io/drawing_files.h"
#include "io/g_file.h"
#include "io/path_names.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using editor_test::addUnselected;
using editor_test::appendUnplaced;
using editor_test::Bytes;
using editor_test::listing;
using editor_test::randomDrawing;
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
    Graph2D drawing = randomDrawing(seed, n - 1, 3 * n, seed % 2 == 0);
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

TEST(SolvedPentagon, EdgeStylesInEveryStateTheirLooksAndTheCycleOutput) {
  Pentagon p;
  const Graph &fresh = p.fresh, &solved = p.solved;
  ASSERT_EQ(solved.isHamiltonian, kHamiltonian);
  Graph failed(solved);
  failed.isHamiltonian = kNotHamiltonian;  // the same forced edges after a failed search
  Graph pruned(fresh);  // the root pruning forces the sides at the three nodes of two edges
  setUncuttabilities(pruned, 0);
  // The working graph, state and method choice, then the style of the sides and of the chord.
  using enum ProgramState;
  using enum AlgorithmChoice;
  const std::tuple<const Graph*, ProgramState, AlgorithmChoice, EdgeStyle, EdgeStyle> rows[] = {
      {nullptr, kEditing, kStoneCarver, kOrdinary, kOrdinary},
      {&pruned, kSubmitted, kStoneCarver, kForced,
       kOrdinary},  // automatic methods: the edges the pruning forced
      {&pruned, kRunning, kCoHC, kForced, kOrdinary},
      {&fresh, kSubmitted, kStoneCarver, kOrdinary, kOrdinary},
      {&fresh, kSubmitted, kManualEdit, kOrdinary, kOrdinary},  // manual: nothing forced yet
      {&fresh, kRunning, kManualEdit, kOrdinary, kOrdinary},
      {&solved, kSubmitted, kManualEdit, kForced, kDeleted},
      {&solved, kRunning, kManualEdit, kForced, kDeleted},
      {&solved, kDecided, kStoneCarver, kCycle, kDeleted},
      {&failed, kDecided, kCoHC, kForcedNoCycle, kDeleted},
  };
  for (const auto& [working, state, choice, sides, chord] : rows) {
    SCOPED_TRACE(::testing::Message() << "state " << codeOf(state) << " choice " << codeOf(choice));
    for (const auto& e : p.drawing.unselectedEdges)
      EXPECT_EQ(edgeStyle(*e, false, working, state, choice), e.get() == p.chord ? chord : sides);
    EXPECT_EQ(edgeStyle(*p.chord, true, working, state, choice), kSelected);
  }
  // OUTPUT HC of the same graphs.
  TempFolder folder;
  const std::pair<ProgramState, const Graph*> refused[] = {
      {kDecided, &fresh}, {kSubmitted, &solved}, {kDecided, nullptr}};
  for (auto [state, graph] : refused)
    EXPECT_EQ(outputHamiltonianCycle(state, graph, folder.file("c.txt")).status.message,
              "The graph is non-Hamiltonian!");

  const CycleOutputResult txt = outputHamiltonianCycle(kDecided, &solved, folder.file("c.txt"));
  EXPECT_EQ(std::tuple(bool(txt.status), txt.status.error, txt.written),
            std::tuple(true, "", std::optional(CycleFileFormat::kText)));
  EXPECT_EQ(readFile(folder.file("c.txt")), "0 1 4\n1 0 2\n2 3 1\n3 2 4\n4 0 3\n");  // the cycle 0-1-2-3-4

  const CycleOutputResult obj = outputHamiltonianCycle(kDecided, &solved, folder.file("c.obj"));
  const std::string why = ": only a graph read from an OBJ file has the coordinates an OBJ cycle file needs";
  EXPECT_EQ(std::tuple(bool(obj.status), obj.status.message, obj.status.error),
            std::tuple(false, "", folder.file("c.obj") + why));
  EXPECT_FALSE(std::filesystem::exists(folder.file("c.obj")));
  EXPECT_EQ(outputHamiltonianCycle(kDecided, &solved, folder.file("c.dat")).written, std::nullopt);
  p.drawing.toggleEdgeAt((p.nodes[0]->x + p.nodes[2]->x) / 2, (p.nodes[0]->y + p.nodes[2]->y) / 2);
  const std::vector<StyledEdge> painted = edgeStyles(p.drawing, &solved, kDecided, kStoneCarver);
  ASSERT_EQ(painted.size(), 6u);
  // Selected edges are painted last.
  EXPECT_EQ(std::tuple(painted.back().edge, painted.back().style), std::tuple(p.chord, kSelected));
  p.nodes[4]->id = 99;  // edges the working graph does not know draw as deleted
  EXPECT_EQ(edgeStyle(*p.nodes[4]->edges[0], false, &fresh, kSubmitted, kManualEdit), kDeleted);
  EXPECT_EQ(edgeStyle(*p.nodes[4]->edges[0], false, &fresh, kDecided, kStoneCarver), kDeleted);
  // What each style looks like.
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
  // The editor compares its extensions exactly ("TXT" is not "txt"); the format choice reads
  // them in lower case, and a name that starts with its only dot has none.
  const std::tuple<Rule, const char*, const char*> names[] = {
      {editorFileExtension, "graph.txt", "txt"},
      {editorFileExtension, "C:\\my.graphs\\k5.txt", "txt"},
      {editorFileExtension, "/home/u/my.graphs/k5", ""},
      {editorFileExtension, "k5.v2.txt", "txt"},
      {editorFileExtension, "K5.TXT", "TXT"},
      {fileExtension, "K5.TXT", "txt"},
      {fileExtension, "C:\\my.graphs\\k5", ""},
      {fileExtension, "/tmp/.g6", ""},
      {fileNameOf, "C:\\data/k5.txt", "k5.txt"},
      {hamiltonianCycleFileName, "C:\\data\\petersen.txt", "C:\\data\\petersen-HC.txt"},
      {hamiltonianCycleFileName, "/home/u/my.graphs/mesh.obj", "/home/u/my.graphs/mesh-HC.obj"},
      {hamiltonianCycleFileName, "k5.v2.txt", "k5.v2-HC.txt"},
      {hamiltonianCycleFileName, "/a.b/noext", "/a.b/noext-HC"},
      {hamiltonianCycleFileName, "/tmp/.txt", "/tmp/.txt-HC"}};
  for (const auto& [rule, name, expected] : names) EXPECT_EQ(rule(name), expected) << name;
  using enum GraphSource;
  const std::tuple<const char*, GraphSource, const char*> cycleNames[] = {
      {"Knight's Tour 8 x 8", kKnightsTourGraph, "Knight's Tour 8 x 8-HC.txt"},
      {"User-Defined Graph", kUserDrawnGraph, "User-Defined Graph-HC.txt"},
      {"petersen.txt", kTextFile, "petersen-HC.txt"},
      {"mesh.v1.obj", kObjFile, "mesh-HC.obj"},
      {"noext", kTextFile, "-HC.txt"}};
  for (const auto& [name, type, expected] : cycleNames)
    EXPECT_EQ(defaultCycleFileName(name, type), expected) << name;
  EXPECT_STREQ(cycleOutputDialog(kObjFile).defaultExtension, "obj");
  EXPECT_STREQ(cycleOutputDialog(kTextFile).filter,
               "Text Files (*.txt)|*.txt|Obj Files (*.obj)|*.obj|All Files (*.*)|*.*||");
}

// The refusals in their order, Save As by extension, Save always writing .g, and Load
// replacing the drawing, while a missing or malformed file changes nothing.
TEST(DrawingFiles, RefusalsSaveAsByExtensionAndLoad) {
  Graph2D empty;
  EXPECT_EQ(checkDrawingSave(empty, ProgramState::kSubmitted, true).message,
            "ERROR! Cannot save while in rotation mode.");
  EXPECT_EQ(checkDrawingSave(empty, ProgramState::kSubmitted, false).message,
            "ERROR! Cannot save a graph that has no nodes.");
  EXPECT_EQ(checkDrawingLoad(ProgramState::kDecided).message,
            "ERROR! A graph may only be loaded while in graph editing mode.");
  EXPECT_TRUE(checkDrawingLoad(ProgramState::kEditing));
  TempFolder folder;
  Graph2D drawing;
  Graph2DNode* a = addUnselected(drawing, 0, 0, 4);
  drawing.joinNodes(a, addUnselected(drawing, 3, 0, 8));
  drawing.joinNodes(a, addUnselected(drawing, 0, 3, 9));
  drawing.toggleNodeAt(0, 0);
  EXPECT_EQ(checkDrawingSave(drawing, ProgramState::kRunning, false).message,
            "ERROR! A graph may only be saved while in graph editing mode.");
  EXPECT_TRUE(checkDrawingSave(drawing, ProgramState::kEditing, false));
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
  Graph2D reread;
  EXPECT_TRUE(loadGFile(folder.file("plain.txt"), reread));
  EXPECT_EQ(listing(reread), "[0 1 2] [] [2-0 2-1] []");
  EXPECT_EQ(saveDrawingAs(drawing, folder.file("d.dat")).written, DrawingFileKind::kNothing);
  EXPECT_FALSE(std::filesystem::exists(folder.file("d.dat")));

  Graph2D loaded;
  loaded.addNode(50, 50);
  bool rotationMode = true;
  ASSERT_TRUE(loadDrawing(loaded, folder.file("d.g"), rotationMode));
  EXPECT_FALSE(rotationMode);
  const std::string expected = "[8 9] [4] [4-8 4-9] [] 10";
  EXPECT_EQ(listing(loaded) + " " + std::to_string(loaded.nextNodeId), expected);
  // A missing or malformed file changes nothing, rotation mode included, and the page shows
  // nothing for it.
  std::filesystem::copy_file(folder.file("d.g"), folder.file("bad.g"));
  std::filesystem::resize_file(folder.file("bad.g"), std::filesystem::file_size(folder.file("d.g")) - 3);
  const std::pair<const char*, std::string> failures[] = {
      {"none.g", ": no such file"},
      {"bad.g", ": malformed drawing at byte 189: list of 2 elements in too few bytes"}};
  for (const auto& [name, why] : failures) {
    const EditorStatus status = loadDrawing(loaded, folder.file(name), rotationMode = true);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "");
    EXPECT_EQ(status.error, folder.file(name) + why);
    EXPECT_FALSE(loadGFile(folder.file(name), loaded));
    EXPECT_TRUE(rotationMode);
    EXPECT_EQ(listing(loaded) + " " + std::to_string(loaded.nextNodeId), expected);
  }
}

// The two-node example: id 0 at (0,0), id 1 at (2,0), one edge joined (0, 1).
std::vector<uint8_t> twoNodeExampleBytes() {
  Bytes b;
  b.header(2, 1).u16(2);
  b.newClass("Graph2DNode").i32(0).f64(0.0).f64(0.0);  // class 1, object 2
  b.newClass("CObList").u16(1);                        // class 3, object 4
  b.newClass("Graph2DEdge").f64(0.0);                  // class 5, object 6
  b.u16(2);                                            // node1: back to object 2
  b.u16(0x8001).i32(1).f64(2.0).f64(0.0);              // node2, new: object 7
  b.u16(0x8003).u16(1).u16(6);                         // its list: object 8, the edge
  b.f64(0.2);                                          // back in the edge
  b.u16(7);                                            // node 1 in the node list
  b.u16(0);
  b.u16(1).u16(6);
  b.u16(0);
  return b.bytes;
}

TEST(GFile, GoldenBytesWriteAndReadBack) {
  Graph2D two, isolated;  // isolated: empty edge lists, the node and list classes named once
  Graph2DNode* a = addUnselected(two, 0, 0);
  two.joinNodes(a, addUnselected(two, 2, 0));
  addUnselected(isolated, 0, 0, 5);
  addUnselected(isolated, 3, 0, 9);
  Bytes b;
  b.header(2, 0).u16(2);
  b.newClass("Graph2DNode").i32(5).f64(0).f64(0).newClass("CObList").u16(0);  // classes 1, 3
  b.u16(0x8001).i32(9).f64(3).f64(0).u16(0x8003).u16(0);
  b.u16(0).u16(0).u16(0);
  const std::tuple<const char*, Graph2D, std::vector<uint8_t>, int32_t> rows[] = {
      {"empty", Graph2D{}, std::vector<uint8_t>(24, 0), 0},
      {"two nodes", std::move(two), twoNodeExampleBytes(), 2},
      {"isolated", std::move(isolated), b.bytes, 10}};
  for (const auto& [name, drawing, bytes, nextNodeId] : rows) {
    SCOPED_TRACE(name);
    EXPECT_EQ(writeGBytes(drawing), bytes);
    Graph2D read;
    ASSERT_TRUE(readGBytes(bytes, read));
    EXPECT_EQ(listing(read, true), listing(drawing, true));
    EXPECT_EQ(read.nextNodeId, nextNodeId);
  }
  // Short indices may also be written in long form.
  Bytes longForms;
  longForms.header(2, 1).u16(2);
  longForms.newClass("Graph2DNode").i32(0).f64(0.0).f64(0.0).newClass("CObList").u16(1);
  longForms.newClass("Graph2DEdge").f64(0.0).u16(0x7FFF).u32(2);
  longForms.u16(0x7FFF).u32(0x80000001u).i32(1).f64(2.0).f64(0.0).u16(0x8003).u16(1).u16(6).f64(0.2);
  longForms.u16(0x7FFF).u32(7).u16(0).u16(1).u16(0x7FFF).u32(6).u16(0);
  Graph2D read;
  ASSERT_TRUE(readGBytes(longForms.bytes, read)) << readGBytes(longForms.bytes, read).error;
  EXPECT_EQ(writeGBytes(read), twoNodeExampleBytes());
}

TEST(GFile, RoundTripsKeepIdsPositionsAdjacencyAndSelection) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    const Graph2D drawing = randomDrawing(seed, 5 + static_cast<int>(seed) * 3, 40);
    Graph2D read;
    ASSERT_TRUE(readGBytes(writeGBytes(drawing), read));
    EXPECT_EQ(listing(read, true), listing(drawing, true));  // the listing includes the invariant check
    EXPECT_EQ(read.nextNodeId, drawing.nextIdAfterLargest());
  }
}

// 17000 isolated nodes push indices (and the tags of the edge class, first seen after them)
// past 0x7FFF; a path of 0xFFFF nodes behind them takes the long node count, and its
// depth-first chain is written and read without deep recursion.
TEST(GFile, LongFormsPastTheShortRanges) {
  Graph2D drawing;
  const int isolated = 17000, path = 0xFFFF;  // two indices per isolated node (node and list)
  for (int i = 0; i < isolated; ++i) appendUnplaced(drawing, i, 2.0 * (i % 200), 2.0 * (i / 200));
  Graph2DNode* previous = appendUnplaced(drawing, isolated, 0, -50);
  for (int i = 1; i < path; ++i) {
    Graph2DNode* next = appendUnplaced(drawing, isolated + i, 2.0 * i, -50);
    drawing.joinNodes(previous, next);
    previous = next;
  }
  const std::vector<uint8_t> bytes = writeGBytes(drawing);
  // After two classes, the isolated nodes and lists, the path's first node and its list.
  const uint32_t edgeClass = 2 * isolated + 2 + 2 + 1;
  Bytes head, longTag, edgeList;
  head.header(isolated + path, path - 1).u16(0xFFFF).u32(isolated + path);
  EXPECT_TRUE(std::equal(head.bytes.begin(), head.bytes.end(), bytes.begin()));
  longTag.u16(0x7FFF).u32(0x80000000u | edgeClass);  // the second edge: a new object of that class
  edgeList.u16(0).u16(path - 1).u16(0x7FFF).u32(edgeClass + 1).u16(0x7FFF);  // long references back
  for (const Bytes* part : {&longTag, &edgeList})
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), part->bytes.begin(), part->bytes.end()), bytes.end());
  Graph2D read;
  ASSERT_TRUE(readGBytes(bytes, read)) << readGBytes(bytes, read).error;
  EXPECT_EQ(listing(read, true), listing(drawing, true));  // so a rewrite gives the same bytes
}

// Every truncation fails; flipped bits in a valid file and noise behind plausible counts
// give an error or a valid drawing. A failure leaves the target drawing as it was.
TEST(GFileReader, TruncatedAndDamagedBytes) {
  std::mt19937 rng(12345);
  const std::vector<uint8_t> original = writeGBytes(randomDrawing(5, 12, 20));
  Graph2D untouched;
  addUnselected(untouched, 42, 42, 77);
  for (size_t trial = 0; trial < original.size() + 3500; ++trial) {
    std::vector<uint8_t> bytes = original;
    if (trial < original.size()) {
      bytes.resize(trial);
    } else if (trial < original.size() + 3000) {
      for (int f = 0, flips = 1 + static_cast<int>(rng() % 4); f < flips; ++f)
        bytes[rng() % bytes.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
    } else {
      bytes.assign(rng() % 200, 0);
      for (size_t i = 16; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(rng());
    }
    Graph2D target;
    addUnselected(target, 42, 42, 77);
    const EditorStatus status = readGBytes(bytes, target);
    if (status) {
      EXPECT_GE(trial, original.size()) << "a truncation to " << trial << " bytes was read";
      EXPECT_EQ(target.checkInvariants(), "");
    } else {
      EXPECT_NE(status.error, "");
      EXPECT_EQ(listing(target, true), listing(untouched, true));
    }
  }
}

TEST(GFileReader, HostileFilesAreRefusedWithTheirReason) {
  auto node0 = [](int32_t nodes, int32_t edges, uint16_t listed, int32_t id, double x, uint16_t degree) {
    Bytes b;
    b.header(nodes, edges).u16(listed).newClass("Graph2DNode").i32(id).f64(x).f64(0);
    return b.newClass("CObList").u16(degree);
  };
  // Node 0, its edge to node 1 and node 1's list, up to the edge's width.
  auto twoNodes = [&](int32_t listed, int32_t edges, double width) {
    Bytes b = node0(2, edges, listed, 0, 0, 1);
    b.newClass("Graph2DEdge").f64(0).u16(2).u16(0x8001).i32(1).f64(2).f64(0);
    return b.u16(0x8003).u16(1).u16(6).f64(width);
  };
  // A loop: the edge joins node 0 to itself and sits twice in its list.
  Bytes loop = node0(1, 1, 1, 0, 0, 2);
  loop.newClass("Graph2DEdge").f64(0).u16(2).u16(2).f64(0.2).u16(6).u16(0).u16(1).u16(6).u16(0);
  const std::pair<std::vector<uint8_t>, std::string> rows[] = {
      {Bytes().header(1, 0).u16(0xFFFF).u32(0x7FFFFFFF).bytes,
       "22: list of 2147483647 elements in too few bytes"},
      {Bytes().header(1, 0).u16(1).newClass("CFoo").bytes, "24: unknown class \"CFoo\""},
      {Bytes().header(1, 0).u16(1).u16(0xFFFF).u16(1).u16(11).text("Graph2DNode").bytes,
       "22: schema 1 (only 0 is known)"},
      {Bytes().header(1, 0).u16(1).u16(0xFFFF).u16(0).u16(64).text(std::string(64, 'a')).bytes,
       "24: class name of 64 bytes"},
      {Bytes().header(1, 0).u16(1).u16(0).bytes, "20: null reference where an object is required"},
      {Bytes().header(1, 0).u16(1).u16(5).bytes, "18: reference 5 names no object read so far"},
      {Bytes().header(1, 0).u16(1).u16(0x8004).bytes, "18: class tag 4 names no class read so far"},
      {Bytes().header(1, 0).u16(1).newClass("Graph2DEdge").f64(0).bytes,
       "18: a Graph2DEdge where a Graph2DNode is required"},
      {node0(2, 0, 2, 0, 0, 0).u16(4).bytes, "70: reference to a CObList where a Graph2DNode is required"},
      {node0(2, 0, 1, 0, 0, 0).u16(0).u16(0).u16(0).bytes, "76: a count differs from the size of its list"},
      {node0(2, 0, 2, 0, 0, 0).u16(2).u16(0).u16(0).u16(0).bytes, "78: a node is listed twice"},
      {node0(1, 0, 1, -4, 0, 0).u16(0).u16(0).u16(0).bytes, "39: node id -4 out of range"},
      {node0(1, 0, 1, 0, std::nan(""), 0).u16(0).u16(0).u16(0).bytes, "55: node position is not finite"},
      {loop.bytes, "117: an edge is a loop"},
      {twoNodes(2, 0, 0.2).u16(7).u16(0).u16(0).u16(0).bytes, "141: an edge is in neither edge list"},
      {twoNodes(1, 1, 0.2).u16(0).u16(1).u16(6).u16(0).bytes, "141: a node is in neither node list"},
      {twoNodes(2, 1, INFINITY).bytes, "133: edge width is not a finite number"},
      {node0(2, 0, 2, 0, 0, 0).u16(0x8001).i32(1).f64(3).f64(0).u16(4).bytes,
       "94: an edge list shared by two nodes"},
      {Bytes().i32(0).bytes, "4: unexpected end of data"},
      {Bytes().header(0, 0).u16(0).u16(0).u16(0).u16(0).u16(0).bytes,
       "24: unexpected data after the drawing"},
  };
  for (const auto& [bytes, error] : rows) {
    SCOPED_TRACE(error);
    Graph2D target;
    addUnselected(target, 1, 1, 3);
    const EditorStatus status = readGBytes(bytes, target);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "malformed drawing at byte " + error);
    EXPECT_EQ(listing(target), "[3] [] [] []");
  }
}

}  // namespace
}  // namespace hc
