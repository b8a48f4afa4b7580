// The .g stream: golden bytes of small drawings (the two-node example item by item),
// class-tag and index long forms, round trips, and a reader that survives truncation,
// byte flips and hand-made hostile files while leaving the caller's drawing untouched.
#include "editor/g_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <set>

#include "editor_test_util.h"

namespace hc {
namespace {

using editor_test::addUnselected;
using editor_test::appendUnplaced;
using editor_test::Bytes;
using editor_test::TempFolder;

// The two-node example: id 0 at (0,0), id 1 at (2,0), one edge joined (0, 1).
Graph2D twoNodeExample() {
  Graph2D drawing;
  Graph2DNode* a = addUnselected(drawing, 0, 0);
  Graph2DNode* b = addUnselected(drawing, 2, 0);
  drawing.joinNodes(a, b);
  return drawing;
}

std::vector<uint8_t> twoNodeExampleBytes() {
  Bytes b;
  b.i32(2).i32(0).i32(1).i32(0);
  b.u16(2);
  b.newClass("Graph2DNode").i32(0).f64(0.0).f64(0.0);  // class 1, object 2
  b.newClass("CObList").u16(1);                          // class 3, object 4
  b.newClass("Graph2DEdge").f64(0.0);                    // class 5, object 6
  b.u16(2);                                              // node1: back to object 2
  b.u16(0x8001).i32(1).f64(2.0).f64(0.0);                // node2, new: object 7
  b.u16(0x8003).u16(1).u16(6);                           // its list: object 8, the edge
  b.f64(0.2);                                            // back in the edge
  b.u16(7);                                              // node 1 in the node list
  b.u16(0);
  b.u16(1).u16(6);
  b.u16(0);
  return b.bytes;
}

// Ids, positions, adjacency by id (with the order of each node's edges) and which list.
struct Shape {
  std::vector<std::tuple<int32_t, double, double, bool>> nodes;
  std::vector<std::vector<int32_t>> neighbours;
  std::vector<std::pair<int32_t, int32_t>> unselectedEdges, selectedEdges;
  bool operator==(const Shape&) const = default;
};
Shape shapeOf(const Graph2D& drawing) {
  Shape s;
  for (bool selected : {false, true}) {
    for (const auto& n : selected ? drawing.selectedNodes : drawing.unselectedNodes) {
      s.nodes.emplace_back(n->id, n->x, n->y, selected);
      std::vector<int32_t> ids;
      for (const Graph2DEdge* e : n->edges) ids.push_back(e->otherEnd(n.get())->id);
      s.neighbours.push_back(ids);
    }
  }
  for (const auto& e : drawing.unselectedEdges) s.unselectedEdges.emplace_back(e->node1->id, e->node2->id);
  for (const auto& e : drawing.selectedEdges) s.selectedEdges.emplace_back(e->node1->id, e->node2->id);
  return s;
}

// A drawing with both selections used, isolated nodes, and edges written from both sides.
Graph2D mixedDrawing(uint32_t seed, int nodes, int edges) {
  std::mt19937 rng(seed);
  Graph2D drawing;
  std::vector<Graph2DNode*> all;
  for (int i = 0; i < nodes; ++i) all.push_back(addUnselected(drawing, 3.0 * (i % 7), 3.0 * (i / 7) + 0.25 * (i % 3)));
  for (int k = 0; k < edges; ++k) {
    Graph2DNode* a = all[rng() % all.size()];
    Graph2DNode* b = all[rng() % all.size()];
    if (a != b && !a->isJoinedTo(*b)) drawing.joinNodes(a, b);
  }
  for (int k = 0; k < nodes / 3; ++k) {
    const Graph2DNode* n = all[rng() % all.size()];
    drawing.toggleNodeAt(n->x, n->y);
  }
  for (int k = 0; k < 3 && !drawing.unselectedEdges.empty(); ++k) {
    const Graph2DEdge* e = drawing.unselectedEdges[rng() % drawing.unselectedEdges.size()].get();
    drawing.toggleEdgeAt((e->node1->x + e->node2->x) / 2, (e->node1->y + e->node2->y) / 2);
  }
  return drawing;
}

TEST(GFile, EmptyDrawingIsTwentyFourBytes) {
  const std::vector<uint8_t> bytes = writeGBytes(Graph2D{});
  EXPECT_EQ(bytes, std::vector<uint8_t>(24, 0));
  Graph2D read;
  ASSERT_TRUE(readGBytes(bytes, read));
  EXPECT_EQ(read.nodeCount(), 0);
  EXPECT_EQ(read.nextNodeId, 0);
}

TEST(GFile, TwoNodeExampleMatchesItemByItemAndReadsBack) {
  EXPECT_EQ(writeGBytes(twoNodeExample()), twoNodeExampleBytes());
  Graph2D read;
  ASSERT_TRUE(readGBytes(twoNodeExampleBytes(), read));
  EXPECT_EQ(shapeOf(read), shapeOf(twoNodeExample()));
  EXPECT_EQ(read.checkInvariants(), "");
  EXPECT_EQ(read.nextNodeId, 2);
  EXPECT_TRUE(read.isEdgeAt(1.0, 0.1));  // rectangle rebuilt after reading
}

TEST(GFile, IsolatedNodesWriteEmptyListsAndReuseClassTags) {
  Graph2D drawing;
  addUnselected(drawing, 0, 0, 5);
  addUnselected(drawing, 3, 0, 9);
  Bytes b;
  b.i32(2).i32(0).i32(0).i32(0).u16(2);
  b.newClass("Graph2DNode").i32(5).f64(0).f64(0).newClass("CObList").u16(0);  // classes 1, 3
  b.u16(0x8001).i32(9).f64(3).f64(0).u16(0x8003).u16(0);
  b.u16(0).u16(0).u16(0);
  EXPECT_EQ(writeGBytes(drawing), b.bytes);
  Graph2D read;
  ASSERT_TRUE(readGBytes(b.bytes, read));
  EXPECT_EQ(read.nextNodeId, 10);
  EXPECT_EQ(read.unselectedNodes[1]->radius, 0.5);
}

TEST(GFile, RoundTripsKeepIdsPositionsAdjacencyAndSelection) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    const Graph2D drawing = mixedDrawing(seed, 5 + static_cast<int>(seed) * 3, 40);
    Graph2D read;
    ASSERT_TRUE(readGBytes(writeGBytes(drawing), read));
    EXPECT_EQ(shapeOf(read), shapeOf(drawing));
    EXPECT_EQ(read.checkInvariants(), "");
    EXPECT_EQ(read.nextNodeId, drawing.nextIdAfterLargest());
    EXPECT_EQ(writeGBytes(read), writeGBytes(drawing));
  }
}

TEST(GFile, SavedFileLoadsIntoTheDrawingAndAMissingFileChangesNothing) {
  TempFolder folder;
  const Graph2D drawing = mixedDrawing(7, 20, 30);
  ASSERT_TRUE(drawing.save(folder.file("d.g")));
  Graph2D loaded;
  ASSERT_TRUE(loaded.load(folder.file("d.g")));
  EXPECT_EQ(shapeOf(loaded), shapeOf(drawing));
  const EditorStatus missing = loaded.load(folder.file("none.g"));
  EXPECT_FALSE(missing);
  EXPECT_NE(missing.error, "");
  EXPECT_EQ(missing.message, "");  // the page shows nothing for it
  EXPECT_EQ(shapeOf(loaded), shapeOf(drawing));

  // A malformed file on disk: the error names the file and the drawing stays as it was.
  std::vector<uint8_t> bytes = twoNodeExampleBytes();
  bytes.erase(bytes.end() - 3, bytes.end());
  std::ofstream(folder.file("bad.g"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const EditorStatus bad = loaded.load(folder.file("bad.g"));
  EXPECT_FALSE(bad);
  EXPECT_NE(bad.error.find("bad.g: malformed drawing at byte"), std::string::npos) << bad.error;
  EXPECT_EQ(writeGBytes(loaded), writeGBytes(drawing));
}

// Enough objects to push indices (and, for a class first seen late, class tags) past 0x7FFF.
TEST(GFile, LongFormsPastTheShortIndexRange) {
  Graph2D drawing;
  const int isolated = 17000;  // two indices each (node and list)
  for (int i = 0; i < isolated; ++i) appendUnplaced(drawing, i, 2.0 * (i % 200), 2.0 * (i / 200));
  std::vector<Graph2DNode*> tail;
  for (int i = 0; i < 4; ++i) tail.push_back(appendUnplaced(drawing, isolated + i, 1000.0 + 3 * i, -50));
  drawing.joinNodes(tail[0], tail[1]);
  drawing.joinNodes(tail[2], tail[3]);
  const std::vector<uint8_t> bytes = writeGBytes(drawing);

  // The edge class is first seen after 34000 indices: the second edge uses 0x7FFF and
  // 0x80000000 | class; the unselected edge list refers back to both edges in long form.
  const uint32_t edgeClass = 2 * isolated + 2 + 2 + 1;  // after two classes, the nodes and lists, tail[0] and its list
  Bytes longTag;
  longTag.u16(0x7FFF).u32(0x80000000u | edgeClass);
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), longTag.bytes.begin(), longTag.bytes.end()), bytes.end());
  Bytes tailOfFile;
  tailOfFile.u16(0).u16(2).u16(0x7FFF).u32(edgeClass + 1).u16(0x7FFF);
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), tailOfFile.bytes.begin(), tailOfFile.bytes.end()), bytes.end());

  Graph2D read;
  ASSERT_TRUE(readGBytes(bytes, read)) << readGBytes(bytes, read).error;
  EXPECT_EQ(shapeOf(read), shapeOf(drawing));
  EXPECT_EQ(writeGBytes(read), bytes);
}

TEST(GFile, ListsOfAtLeast0xFFFFElementsUseTheLongCount) {
  Graph2D drawing;
  for (int i = 0; i < 0xFFFF; ++i) appendUnplaced(drawing, i, 2.0 * i, 0);
  const std::vector<uint8_t> bytes = writeGBytes(drawing);
  Bytes head;
  head.i32(0xFFFF).i32(0).i32(0).i32(0).u16(0xFFFF).u32(0xFFFF);
  EXPECT_TRUE(std::equal(head.bytes.begin(), head.bytes.end(), bytes.begin()));
  Graph2D read;
  ASSERT_TRUE(readGBytes(bytes, read));
  EXPECT_EQ(read.howManyUnselectedNodes, 0xFFFF);
  EXPECT_EQ(read.nextNodeId, 0xFFFF);
}

// A long path is written and read depth first without deep recursion.
TEST(GFile, LongPathNeedsNoDeepRecursion) {
  Graph2D drawing;
  Graph2DNode* previous = appendUnplaced(drawing, 0, 0, 0);
  for (int i = 1; i < 100000; ++i) {
    Graph2DNode* next = appendUnplaced(drawing, i, 2.0 * i, 0);
    drawing.joinNodes(previous, next);
    previous = next;
  }
  Graph2D read;
  ASSERT_TRUE(readGBytes(writeGBytes(drawing), read));
  EXPECT_EQ(read.edgeCount(), 99999);
}

void expectCleanReadOrValid(const std::vector<uint8_t>& bytes) {
  Graph2D target;
  addUnselected(target, 42, 42, 77);
  const std::vector<uint8_t> before = writeGBytes(target);
  const EditorStatus status = readGBytes(bytes, target);
  if (status) {
    EXPECT_EQ(target.checkInvariants(), "");
  } else {
    EXPECT_NE(status.error, "");
    EXPECT_EQ(writeGBytes(target), before);  // untouched
  }
}

TEST(GFileReader, EveryTruncationFailsCleanly) {
  const std::vector<uint8_t> bytes = writeGBytes(mixedDrawing(3, 15, 25));
  for (size_t length = 0; length < bytes.size(); ++length) {
    Graph2D target;
    const EditorStatus status = readGBytes(std::span(bytes.data(), length), target);
    EXPECT_FALSE(status) << length;
  }
}

TEST(GFileReader, RandomByteFlipsGiveAnErrorOrAValidDrawing) {
  std::mt19937 rng(12345);
  const std::vector<uint8_t> original = writeGBytes(mixedDrawing(5, 12, 20));
  for (int trial = 0; trial < 3000; ++trial) {
    std::vector<uint8_t> bytes = original;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f) bytes[rng() % bytes.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
    expectCleanReadOrValid(bytes);
  }
  for (int trial = 0; trial < 500; ++trial) {
    std::vector<uint8_t> noise(rng() % 200);
    for (auto& byte : noise) byte = static_cast<uint8_t>(rng());
    if (noise.size() >= 16) std::fill(noise.begin(), noise.begin() + 16, 0);  // plausible counts
    expectCleanReadOrValid(noise);
  }
}

TEST(GFileReader, HostileFilesAreRefusedWithAReason) {
  auto header = [](int32_t nodes, int32_t edges) {
    Bytes b;
    b.i32(nodes).i32(0).i32(edges).i32(0);
    return b;
  };
  std::map<std::string, std::vector<uint8_t>> cases;
  cases["huge count"] = header(1, 0).u16(0xFFFF).u32(0x7FFFFFFF).bytes;
  cases["unknown class"] = header(1, 0).u16(1).newClass("CFoo").bytes;
  cases["schema 1"] = header(1, 0).u16(1).u16(0xFFFF).u16(1).u16(11).text("Graph2DNode").bytes;
  cases["long class name"] = header(1, 0).u16(1).u16(0xFFFF).u16(0).u16(64).text(std::string(64, 'a')).bytes;
  cases["null element"] = header(1, 0).u16(1).u16(0).bytes;
  cases["reference ahead"] = header(1, 0).u16(1).u16(5).bytes;
  cases["class tag naming nothing"] = header(1, 0).u16(1).u16(0x8004).bytes;
  cases["edge in node list"] =
      header(1, 0).u16(1).newClass("Graph2DEdge").f64(0).bytes;
  Bytes listAsNode = header(2, 0).u16(2).newClass("Graph2DNode").i32(0).f64(0).f64(0).newClass("CObList").u16(0);
  cases["list where a node belongs"] = listAsNode.u16(4).bytes;
  Bytes counts = header(2, 0).u16(1).newClass("Graph2DNode").i32(0).f64(0).f64(0).newClass("CObList").u16(0);
  cases["count disagrees with list"] = counts.u16(0).u16(0).u16(0).bytes;
  Bytes twice = header(2, 0).u16(2).newClass("Graph2DNode").i32(0).f64(0).f64(0).newClass("CObList").u16(0);
  cases["node listed twice"] = twice.u16(2).u16(0).u16(0).u16(0).bytes;
  Bytes negative = header(1, 0).u16(1).newClass("Graph2DNode").i32(-4).f64(0).f64(0).newClass("CObList").u16(0);
  cases["negative id"] = negative.u16(0).u16(0).u16(0).bytes;
  Bytes nan = header(1, 0).u16(1).newClass("Graph2DNode").i32(0).f64(std::nan("")).f64(0).newClass("CObList").u16(0);
  cases["position not a number"] = nan.u16(0).u16(0).u16(0).bytes;
  // A loop: the edge joins node 0 to itself and sits twice in its list.
  Bytes loop = header(1, 1).u16(1).newClass("Graph2DNode").i32(0).f64(0).f64(0).newClass("CObList").u16(2);
  cases["loop"] = loop.newClass("Graph2DEdge").f64(0).u16(2).u16(2).f64(0.2).u16(6).u16(0).u16(1).u16(6).u16(0).bytes;
  // An edge reachable from a node but in neither edge list.
  Bytes orphan = header(2, 0).u16(2).newClass("Graph2DNode").i32(0).f64(0).f64(0).newClass("CObList").u16(1);
  orphan.newClass("Graph2DEdge").f64(0).u16(2).u16(0x8001).i32(1).f64(2).f64(0).u16(0x8003).u16(1).u16(6).f64(0.2);
  cases["edge in no list"] = orphan.u16(7).u16(0).u16(0).u16(0).bytes;
  cases["trailing data"] = header(0, 0).u16(0).u16(0).u16(0).u16(0).u16(0).bytes;

  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    Graph2D target;
    addUnselected(target, 1, 1, 3);
    const EditorStatus status = readGBytes(bytes, target);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error.find("malformed drawing at byte"), std::string::npos) << status.error;
    EXPECT_EQ(target.nodeCount(), 1);
  }
  // The orphan case is sound once the edge is listed.
  Bytes fixed = header(2, 1).u16(2).newClass("Graph2DNode").i32(0).f64(0).f64(0).newClass("CObList").u16(1);
  fixed.newClass("Graph2DEdge").f64(0).u16(2).u16(0x8001).i32(1).f64(2).f64(0).u16(0x8003).u16(1).u16(6).f64(0.2);
  fixed.u16(7).u16(0).u16(1).u16(6).u16(0);
  Graph2D target;
  EXPECT_TRUE(readGBytes(fixed.bytes, target));
  // Short indices may also be written in long form.
  Bytes longForms;
  longForms.i32(2).i32(0).i32(1).i32(0).u16(2);
  longForms.newClass("Graph2DNode").i32(0).f64(0.0).f64(0.0).newClass("CObList").u16(1);
  longForms.newClass("Graph2DEdge").f64(0.0).u16(0x7FFF).u32(2);
  longForms.u16(0x7FFF).u32(0x80000001u).i32(1).f64(2.0).f64(0.0).u16(0x8003).u16(1).u16(6).f64(0.2);
  longForms.u16(0x7FFF).u32(7).u16(0).u16(1).u16(0x7FFF).u32(6).u16(0);
  Graph2D again;
  ASSERT_TRUE(readGBytes(longForms.bytes, again)) << readGBytes(longForms.bytes, again).error;
  EXPECT_EQ(writeGBytes(again), twoNodeExampleBytes());
}

}  // namespace
}  // namespace hc
