// The .g stream: golden bytes of small drawings (the two-node example item by item),
// class-tag, index and count long forms, round trips, and a reader that refuses truncated,
// flipped and hand-made hostile files with its reason while leaving the drawing untouched.
// Drawings are compared by their exact listing: ids, positions, radii, the order of each
// node's edges, the edge rectangles and which list holds every object.
#include "editor/g_file.h"

#include <gtest/gtest.h>

#include <random>

#include "editor_test_util.h"

namespace hc {
namespace {

using editor_test::addUnselected;
using editor_test::appendUnplaced;
using editor_test::Bytes;
using editor_test::listing;
using editor_test::randomDrawing;

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
    EXPECT_EQ(writeGBytes(read), writeGBytes(drawing));
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
  EXPECT_EQ(listing(read, true), listing(drawing, true));
  EXPECT_EQ(writeGBytes(read), bytes);
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
