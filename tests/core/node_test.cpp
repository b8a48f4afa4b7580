// Node records: swap-with-last removal and its exact restore, forced-edge records, the
// random cuttable neighbour, and the precondition messages.
#include <gtest/gtest.h>

#include <vector>

#include "core/node.h"
#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::CapturedDiagnostics;
using testing::makeGraph;

std::vector<int32_t> neighbors(const Node& n) { return {n.neighborArray, n.neighborArray + n.degree}; }

TEST(NodeTest, FinalizeKeepsJoinOrderAndLeavesASpareSlot) {
  Graph g = makeGraph(5, {{0, 3}, {0, 1}, {2, 0}, {0, 4}});
  EXPECT_EQ(neighbors(g.node(0)), (std::vector<int32_t>{3, 1, 2, 4}));
  EXPECT_EQ(g.node(0).capacity, 5);
  EXPECT_TRUE(g.node(0).adjacencyList.empty());
  EXPECT_EQ(neighbors(g.node(2)), (std::vector<int32_t>{0}));
}

TEST(NodeTest, CutIsSwapWithLast) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {0, 3}, {0, 4}});
  Node::cut(g.node(0), g.node(4), 0);  // the last entry: the others stay where they are
  EXPECT_EQ(neighbors(g.node(0)), (std::vector<int32_t>{1, 2, 3}));
  Node::cut(g.node(0), g.node(1), 0);  // entry 0: the last entry moves there
  EXPECT_EQ(neighbors(g.node(0)), (std::vector<int32_t>{3, 2}));
  EXPECT_EQ(g.node(1).degree, 0);
}

TEST(NodeTest, RestoreInReverseOrderRebuildsTheExactArrays) {
  Graph g = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 1}});
  const std::string before = testing::snapshot(g);
  struct Removed {
    int32_t a, b, ia, ib;
  };
  std::vector<Removed> removed;
  for (auto [a, b] : std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {3, 0}, {1, 5}, {0, 5}, {4, 3}}) {
    removed.push_back({a, b, g.node(a).findNeighborIndex(b), g.node(b).findNeighborIndex(a)});
    Node::cut(g.node(a), g.node(b), 0);
  }
  for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
    Node::restoreNeighbor(g.node(it->a), g.node(it->b), it->ia, it->ib);
  }
  EXPECT_EQ(testing::snapshot(g), before);
}

TEST(NodeTest, SetUncutRecordsTwoPartnersAndCountsTheRest) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {0, 3}, {0, 4}});
  Node& n0 = g.node(0);
  Node::setUncut(n0, g.node(1));
  Node::setUncut(n0, g.node(1));  // again: harmless
  EXPECT_EQ(n0.howManyUncuttable, 1);
  EXPECT_EQ(g.node(1).howManyUncuttable, 1);
  Node::setUncut(n0, g.node(2));
  Node::setUncut(n0, g.node(3));
  EXPECT_EQ(n0.howManyUncuttable, 3);
  EXPECT_EQ(n0.isHub, 1);
  EXPECT_EQ(n0.uncuttable1, 1);
  EXPECT_EQ(n0.uncuttable2, 2);
  EXPECT_TRUE(Node::isUncuttableEdge(n0, g.node(2)));
  // Only one end records 0-3, so it does not count as an uncuttable edge.
  EXPECT_EQ(g.node(3).uncuttable1, 0);
  EXPECT_FALSE(Node::isUncuttableEdge(n0, g.node(3)));
  EXPECT_FALSE(Node::isUncuttableEdge(g.node(3), n0));
}

TEST(NodeTest, UnsetUncutIsTheExactInverse) {
  Graph g = makeGraph(4, {{0, 1}, {0, 2}, {0, 3}});
  Node& n0 = g.node(0);
  Node::setUncut(n0, g.node(1));
  Node::setUncut(n0, g.node(2));
  Node::unsetUncut(n0, g.node(1));
  EXPECT_EQ(n0.uncuttable1, 2);
  EXPECT_EQ(n0.uncuttable2, -1);
  EXPECT_EQ(n0.howManyUncuttable, 1);
  EXPECT_EQ(g.node(1).uncuttable1, -1);
  EXPECT_EQ(g.node(1).howManyUncuttable, 0);
  // A hub's unrecorded third edge: only the counts go down.
  Node::setUncut(n0, g.node(1));
  Node::setUncut(n0, g.node(3));
  ASSERT_EQ(n0.howManyUncuttable, 3);
  Node::unsetUncut(n0, g.node(3));
  EXPECT_EQ(n0.howManyUncuttable, 2);
  EXPECT_EQ(n0.uncuttable1, 2);
  EXPECT_EQ(n0.uncuttable2, 1);
  EXPECT_EQ(g.node(3).howManyUncuttable, 0);
}

TEST(NodeTest, FindRandomCuttableNeighborSkipsForcedNeighbors) {
  Graph g = makeGraph(10, {{0, 5}, {0, 7}, {0, 9}});
  Node::setUncut(g.node(0), g.node(5));
  Node::setUncut(g.node(0), g.node(7));
  seedRandom(12345);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(g.node(0).findRandomCuttableNeighbor(), 9);
}

TEST(NodeTest, FindRandomCuttableNeighborProbesFromARandomStart) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {0, 3}, {0, 4}});
  Node::setUncut(g.node(0), g.node(2));
  seedRandom(1);
  std::vector<int32_t> expected;
  uint32_t state = 1;
  for (int i = 0; i < 50; ++i) {
    state = state * 214013u + 2531011u;
    int32_t r = static_cast<int32_t>((state >> 16) & 0x7FFF) % 4;
    if (r == 1) r = 2;  // entry 1 is forced neighbour 2: the probe moves on to entry 2
    expected.push_back(g.node(0).neighborArray[r]);
  }
  std::vector<int32_t> actual;
  for (int i = 0; i < 50; ++i) actual.push_back(g.node(0).findRandomCuttableNeighbor());
  EXPECT_EQ(actual, expected);
}

TEST(NodeTest, PreconditionMessages) {
  Graph g = makeGraph(4, {{0, 1}, {0, 2}, {1, 2}});
  CapturedDiagnostics out;

  EXPECT_EQ(g.node(0).findNeighborIndex(3), 2);
  EXPECT_EQ(out.text(), "Error: attempt to findNeighborIndex for 3 in 0. They are not adjacent.\n");
  out.clear();

  const std::string before = testing::snapshot(g);
  Node::cut(g.node(0), g.node(3), 0);
  EXPECT_EQ(out.text(), "Error: Attempt to cut an edge between non-adjacent nodes 0 and 3.\n");
  EXPECT_EQ(testing::snapshot(g), before) << "a cut of a non-edge changes nothing";
  out.clear();

  Node::setUncut(g.node(0), g.node(1));
  Node::cut(g.node(1), g.node(0), 0);
  EXPECT_EQ(out.text(), "Error: Attempt to cut an uncuttable edge between nodes 1 and 0.\n");
  EXPECT_FALSE(Node::isAdjacent(g.node(0), g.node(1))) << "the edge is removed all the same";
  out.clear();
  Node::cut(g.node(0), g.node(2), 1);  // allowForced: no message even for forced edges
  EXPECT_EQ(out.text(), "");

  // Degree below 3: the message, then an answer that is a neighbour or -1, never a hang.
  Graph path = makeGraph(3, {{0, 1}, {1, 2}});
  out.clear();
  int32_t r = path.node(1).findRandomCuttableNeighbor();
  EXPECT_EQ(out.text(), "Error: Attempt to findRandomCuttableNeighbor on degree 2 node 1\n");
  EXPECT_TRUE(r == 0 || r == 2);
  Node::setUncut(path.node(1), path.node(0));
  Node::setUncut(path.node(1), path.node(2));
  EXPECT_EQ(path.node(1).findRandomCuttableNeighbor(), -1) << "every neighbour forced";
  EXPECT_EQ(path.node(0).degree, 1);
  Node::cut(path.node(0), path.node(1), 1);
  out.clear();
  EXPECT_EQ(path.node(0).findRandomCuttableNeighbor(), -1);
  EXPECT_EQ(out.text(), "Error: Attempt to findRandomCuttableNeighbor on degree 0 node 0\n");
}

TEST(NodeTest, ConstructionPhaseMessages) {
  std::vector<Node> nodes;
  for (int32_t i = 0; i < 3; ++i) nodes.emplace_back(i, 1);
  CapturedDiagnostics out;
  Node::join(nodes[0], nodes[1]);
  EXPECT_EQ(out.text(), "");
  Node::join(nodes[1], nodes[0]);
  EXPECT_EQ(out.text(), "Error. Attempt to join nodes 1 and 0, which are already adjacent.\n");
  EXPECT_EQ(nodes[0].degree, 2) << "the parallel entry is added all the same";
  out.clear();

  nodes[2].adjacencyList.push_back(0);  // one-sided entry
  EXPECT_FALSE(Node::isAdjacentByList(nodes[0], nodes[2]));
  EXPECT_EQ(out.text(), "The nodes are only joined in one direction!\n");
  out.clear();
  EXPECT_TRUE(Node::isAdjacentByList(nodes[0], nodes[1]));
  EXPECT_EQ(out.text(), "");

  EXPECT_EQ(nodes[0].findNthNeighbor(-2), 1);
  EXPECT_EQ(out.text(), "Error. Attempt to call findNthNeighbor to find the -2th neighbor.\n");
  EXPECT_EQ(nodes[0].findNthNeighbor(5), -1);
}

}  // namespace
}  // namespace hc
