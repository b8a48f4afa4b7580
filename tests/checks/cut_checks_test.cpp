#include "checks/cut_checks.h"

#include <gtest/gtest.h>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "checks/necessary_conditions.h"

namespace hc {
namespace {

using namespace hc::testing;

TEST(CutBalanceRatio, KnownAnswers) {
  // Two 5-cycles sharing node 4: without it, 4 : 4.
  Graph shared = makeGraph(9, joined(cycleEdges(0, 5), {{4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 4}}));
  struct Case {
    Graph graph;
    int32_t x, y, z;
    double ratio;
  };
  Case cases[] = {
      {makeGraph(6, cycleEdges(0, 6)), -1, -1, -1, -1.0},
      // A triangle beside a 7-cycle, either way round: 3 : 7.
      {makeGraph(10, joined(cycleEdges(0, 3), cycleEdges(3, 7))), -1, -1, -1, 3.0 / 7.0},
      {makeGraph(10, joined(cycleEdges(0, 7), cycleEdges(7, 3))), -1, -1, -1, 3.0 / 7.0},
      {shared, -1, -1, -1, -1.0},
      {shared, 4, -1, -1, 1.0},
      {shared, -1, 4, 4, 1.0},  // a repeated id counts once
      {shared, 0, -1, -1, -1.0},
      // Everything excluded, or no nodes at all: nothing can be disconnected.
      {makeGraph(2, {{0, 1}}), 0, 1, -1, -1.0},
      {Graph(), -1, -1, -1, -1.0},
  };
  for (Case& c : cases) {
    EXPECT_DOUBLE_EQ(cutBalanceRatio(c.graph, c.x, c.y, c.z), c.ratio) << c.graph.howManyNodes << " " << c.x;
    EXPECT_TRUE(allMarksZero(c.graph));
  }
  cases[1].graph.isHamiltonian = kNotHamiltonian;
  EXPECT_EQ(cutBalanceRatio(cases[1].graph, -1, -1, -1), -500.0);
}

// Two 5-cycles 0..4 and 5..9 joined by 0-5 and `other`.
Graph joinedCycles(std::pair<int32_t, int32_t> other) {
  return makeGraph(10, joined(joined(cycleEdges(0, 5), cycleEdges(5, 5)), {{0, 5}, other}));
}

// Two K4 blocks 0..3 and 4..7 joined by 0-4 and 1-5: the only 2-edge cut.
Graph joinedBlocks() {
  return makeGraph(8, joined(joined(completeEdges(0, 4), completeEdges(4, 4)), {{0, 4}, {1, 5}}));
}

TEST(TwoEdgeCuts, JoiningEdgesOfTwoBlocksAreForced) {
  Graph g = joinedBlocks();
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  ASSERT_EQ(g.isHamiltonian, kUndecided);
  g.twoEdgeCuts = std::make_unique<CutList>();
  CapturedDiagnostics out;
  EXPECT_TRUE(checkTwoEdgeCuts(g, 1));
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_TRUE(g.isUncuttableEdge(0, 4) && g.isUncuttableEdge(1, 5));
  EXPECT_EQ(std::pair(g.howManyUncuttable, g.howManyEdges), std::pair(2, 14));
  EXPECT_EQ(out.text(), "About to check 2-Edge-Cuts.\nIsHamiltonian still = 2 after finding 2-Edge-Cuts.\n");
  // The second scan lists the cut again, now forced.
  ASSERT_EQ(g.twoEdgeCuts->count(), 1);
  const CutRecord& r = g.twoEdgeCuts->records[0];
  EXPECT_EQ(std::vector<int32_t>({r.edges[0][0], r.edges[0][1], r.edges[1][0], r.edges[1][1]}),
            std::vector<int32_t>({0, 4, 1, 5}));
  EXPECT_DOUBLE_EQ(r.balanceRatio, 1.0);
  EXPECT_TRUE(allMarksZero(g));
  // Nothing new the second time.
  EXPECT_FALSE(checkTwoEdgeCuts(g, 0));
}

TEST(TwoEdgeCuts, TwoCyclesJoinedByTwoEdges) {
  // Joined at adjacent nodes the graph is Hamiltonian (0-4-3-2-1-6-7-8-9-5-0): the forcing and
  // re-pruning close the cycle.
  Graph g = joinedCycles({1, 6});
  g.twoEdgeCuts = std::make_unique<CutList>();
  CapturedDiagnostics out;
  EXPECT_TRUE(checkTwoEdgeCuts(g, 1));
  EXPECT_EQ(g.isHamiltonian, kHamiltonian);
  EXPECT_TRUE(g.isUncuttableEdge(0, 5) && g.isUncuttableEdge(1, 6) && !g.isAdjacent(0, 1));
  EXPECT_EQ(out.text(), "About to check 2-Edge-Cuts.\nChecking 2-Edge-Cuts found a Hamiltonian Cycle.\n");
  EXPECT_EQ(g.twoEdgeCuts->count(), 0);

  // Joined at four distinct nodes two apart it is not.
  Graph h = joinedCycles({2, 7});
  ASSERT_FALSE(referenceHamiltonian(h));
  h.twoEdgeCuts = std::make_unique<CutList>();
  EXPECT_TRUE(checkTwoEdgeCuts(h, 0));
  EXPECT_EQ(h.isHamiltonian, kNotHamiltonian);
}

TEST(TwoEdgeCuts, AllForcedCutsAreListedAndNothingForced) {
  // A forced 6-cycle (not yet read off as chains): every pair of edges not sharing a node is a
  // 2-edge cut, already forced; pairs sharing a degree-2 node are never reported.
  Graph g = makeGraph(6, cycleEdges(0, 6));
  setUncuttabilities(g, 0);
  const std::string before = snapshot(g);
  g.twoEdgeCuts = std::make_unique<CutList>();
  CapturedDiagnostics out;
  EXPECT_FALSE(checkTwoEdgeCuts(g, 1));
  EXPECT_EQ(out.text(), "About to check 2-Edge-Cuts.\nIsHamiltonian still = 2 after finding 2-Edge-Cuts.\n");
  EXPECT_EQ(g.twoEdgeCuts->count(), 9);
  for (const CutRecord& r : g.twoEdgeCuts->records) {
    EXPECT_EQ(std::vector<int32_t>({r.kind, r.size, r.itemsAdded}), std::vector<int32_t>({1, 2, 2}));
    EXPECT_GT(r.balanceRatio, 0.0);
    std::set<int32_t> ends{r.edges[0][0], r.edges[0][1], r.edges[1][0], r.edges[1][1]};
    EXPECT_EQ(ends.size(), 4u);
  }
  // Only the order of neighbour arrays may differ.
  EXPECT_EQ(currentEdges(g), currentEdges(makeGraph(6, cycleEdges(0, 6))));
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(before.size(), snapshot(g).size());
}

TEST(TwoEdgeCuts, WorksWithoutAListAndHonoursStop) {
  Graph g = joinedBlocks();
  EXPECT_TRUE(checkTwoEdgeCuts(g, 0));  // no list installed: nothing recorded, same result
  EXPECT_TRUE(g.isUncuttableEdge(0, 4) && g.isUncuttableEdge(1, 5));

  Graph s = joinedBlocks();
  const std::string before = snapshot(s);
  std::atomic<uint8_t> stop{1};
  EXPECT_FALSE(checkTwoEdgeCuts(s, 0, &stop));
  EXPECT_EQ(snapshot(s), before);

  // A decided graph still gets both lines (that nothing changes is a property of every check).
  s.isHamiltonian = kNotHamiltonian;
  CapturedDiagnostics out;
  EXPECT_FALSE(checkTwoEdgeCuts(s, 1));
  EXPECT_EQ(out.text(), "About to check 2-Edge-Cuts.\nIsHamiltonian still = 2 after finding 2-Edge-Cuts.\n");
}

}  // namespace
}  // namespace hc
