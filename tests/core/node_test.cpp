// Node records: the random cuttable neighbour and the precondition messages (joins while a
// graph is built, chain states that cannot arise, and a list dropped with records left in
// it included). Removal order and
// its exact restore, and the forced-edge records, are covered by the chain table and the
// undo property.
#include "core/node.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using testing::makeGraph;

TEST(NodeTest, FindRandomCuttableNeighborProbesOnFromARandomStart) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {0, 3}, {0, 4}});
  for (int32_t w : {2, 4}) Node::setUncut(g.node(0), g.node(w));
  seedRandom(1);
  std::vector<int32_t> expected;
  for (int i = 0; i < 50; ++i) {
    int32_t r = nextRandom() % 4;
    if (r == 1 || r == 3) r = (r + 1) % 4;  // forced entries: the probe moves on (and wraps)
    expected.push_back(g.node(0).neighborArray[r]);
  }
  seedRandom(1);
  std::vector<int32_t> actual;
  for (int i = 0; i < 50; ++i) actual.push_back(g.node(0).findRandomCuttableNeighbor());
  EXPECT_EQ(actual, expected);
}

// Every misuse prints its one message and gives a sound answer, in this order.
TEST(NodeTest, PreconditionMessages) {
  Graph g = makeGraph(4, {{0, 1}, {0, 2}, {1, 2}});
  testing::CapturedDiagnostics out;
  EXPECT_EQ(g.node(0).findNeighborIndex(3), 2);
  const std::string before = testing::snapshot(g);
  Node::cut(g.node(0), g.node(3), 0);
  EXPECT_EQ(testing::snapshot(g), before) << "a cut of a non-edge changes nothing";
  Node::setUncut(g.node(0), g.node(1));
  Node::cut(g.node(1), g.node(0), 0);
  EXPECT_FALSE(Node::isAdjacent(g.node(0), g.node(1))) << "the forced edge is removed all the same";
  Node::setUncut(g.node(0), g.node(2));
  Node::cut(g.node(0), g.node(2), 1);  // allowForced: no message
  EXPECT_EQ(g.node(0).degree, 0);

  // Degree below 3: the message, then a neighbour or -1, never a hang.
  Graph path = makeGraph(3, {{0, 1}, {1, 2}});
  int32_t r = path.node(1).findRandomCuttableNeighbor();
  EXPECT_TRUE(r == 0 || r == 2);
  for (int32_t w : {0, 2}) Node::setUncut(path.node(1), path.node(w));
  EXPECT_EQ(path.node(1).findRandomCuttableNeighbor(), -1) << "every neighbour forced";
  Node::cut(path.node(0), path.node(1), 1);
  EXPECT_EQ(path.node(0).findRandomCuttableNeighbor(), -1);

  std::vector<Node> nodes{Node(0), Node(1), Node(2)};
  Node::join(nodes[0], nodes[1]);
  Node::join(nodes[1], nodes[0]);
  EXPECT_EQ(nodes[0].degree, 2) << "the parallel entry is added all the same";
  nodes[2].adjacencyList.push_back(0);  // one-sided entry
  EXPECT_EQ((std::vector<int32_t>{Node::isAdjacentByList(nodes[0], nodes[2]),
                                  Node::isAdjacentByList(nodes[0], nodes[1]), nodes[0].findNthNeighbor(-2),
                                  nodes[0].findNthNeighbor(5)}),
            (std::vector<int32_t>{false, true, 1, -1}));

  // A graph's joins are appended without searching; each extra join is reported (smaller id
  // first) and kept when construction ends.
  Graph parallel(3, 0);
  for (auto [a, b] : testing::EdgeList{{2, 1}, {0, 1}, {1, 2}}) parallel.addEdge(a, b);
  const std::string beforeFinishing = out.text();
  parallel.finishConstruction();
  EXPECT_EQ(testing::neighbourList(parallel, 1), (std::vector<int32_t>{2, 0, 2}));
  // States that cannot arise are reported and repaired.
  Graph broken = testing::completeGraph(6);
  broken.setUncut(0, 1);
  broken.node(2).whichChain = 0;  // 2 claims chain 0 but is no end of it
  broken.extendChain(2, 3);
  EXPECT_EQ(testing::chainList(broken), "0-1:3");
  Graph decided = testing::completeGraph(6);
  decided.force(0, 1);
  decided.isHamiltonian = kNotHamiltonian;
  decided.simulateForce(2, 3);
  EXPECT_EQ(std::pair(decided.isHamiltonian, checkInvariants(decided)), std::pair(kUndecided, std::string()));
  {
    ActionList leftover;
    leftover.append(kActionCut, 0, 1, 0, 0);
    leftover.append(kActionSetUncut, 0, 1);
  }
  EXPECT_EQ(out.text().substr(beforeFinishing.size()),
            "Error. Attempt to join nodes 1 and 2, which are already adjacent.\n"
            "In extendChain. This should never happen.\n"
            "Error: At top of simulate force but isHamiltonian = 0\n"
            "ActionListSize = 2\n");
  EXPECT_EQ(beforeFinishing,
            "Error: attempt to findNeighborIndex for 3 in 0. They are not adjacent.\n"
            "Error: Attempt to cut an edge between non-adjacent nodes 0 and 3.\n"
            "Error: Attempt to cut an uncuttable edge between nodes 1 and 0.\n"
            "Error: Attempt to findRandomCuttableNeighbor on degree 2 node 1\n"
            "Error: Attempt to findRandomCuttableNeighbor on degree 2 node 1\n"
            "Error: Attempt to findRandomCuttableNeighbor on degree 0 node 0\n"
            "Error. Attempt to join nodes 1 and 0, which are already adjacent.\n"
            "The nodes are only joined in one direction!\n"
            "Error. Attempt to call findNthNeighbor to find the -2th neighbor.\n");
}

}  // namespace
}  // namespace hc
