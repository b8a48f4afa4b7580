#include "checks/legacy_chains.h"

#include <gtest/gtest.h>

#include <tuple>

#include "check_graphs.h"
#include "core/random.h"

namespace hc {
namespace {

using namespace hc::testing;

TEST(LegacyChains, OneChainThroughEveryNodeDecidesByClosure) {
  // A closed chain is a Hamiltonian cycle, an open one through every node never closes.
  for (auto [edges, verdict] : {std::pair{cycleEdges(0, 5), kHamiltonian},
                                std::pair{EdgeList{{0, 1}, {1, 2}, {2, 3}, {3, 4}}, kNotHamiltonian}}) {
    Graph g = makeGraph(5, edges);
    clearChains(g);
    buildDegreeTwoChains(g);
    EXPECT_EQ(chainList(g), verdict == kHamiltonian ? "0-0:5" : "0-4:5");
    EXPECT_EQ(g.isHamiltonian, verdict);
    EXPECT_EQ(g.howManyRings, 0);
  }
}

TEST(LegacyChains, ClosedChainsAreRingsAndEveryMemberIsTagged) {
  Graph g = makeGraph(6, joined(cycleEdges(0, 3), cycleEdges(3, 3)));
  clearChains(g);
  buildDegreeTwoChains(g);
  EXPECT_EQ(g.howManyChains, 2);
  EXPECT_EQ(g.howManyRings, 2);  // every ring counts here
  for (int32_t v = 0; v < 6; ++v) EXPECT_EQ(g.node(v).whichChain, v / 3);
  EXPECT_EQ(g.isHamiltonian, kUndecided);  // the legacy model leaves the verdict to its caller

  clearChains(g);
  EXPECT_EQ(snapshot(g), snapshot(makeGraph(6, joined(cycleEdges(0, 3), cycleEdges(3, 3)))));
}

TEST(LegacyChains, OldCutForcesDegreeTwoEnds) {
  // Cutting 2-3 in K4 leaves both ends with degree 2.
  Graph g = makeGraph(4, completeEdges(0, 4));
  probabilityMillOldCut(g, 2, 3);
  EXPECT_EQ(currentEdges(g), (EdgeSet{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}}));
  EXPECT_EQ(g.howManyEdges, 5);
  EXPECT_TRUE(g.isUncuttableEdge(2, 0) && g.isUncuttableEdge(2, 1) && g.isUncuttableEdge(3, 0) &&
              g.isUncuttableEdge(3, 1));
  EXPECT_EQ(std::pair(g.howManyUncuttable, g.howManyHubs), std::pair(4, 0));  // +2 for each end that is no head
}

TEST(LegacyChains, OldCutOfANonEdgeChangesNothing) {
  Graph g = makeGraph(5, cycleEdges(0, 5));
  const std::string before = snapshot(g);
  CapturedDiagnostics out;
  probabilityMillOldCut(g, 0, 2);
  EXPECT_EQ(out.text(),
            "Error.  Attempt to do a probabilityMillOldCut on two nodes which are not adjacent.\n");
  EXPECT_EQ(snapshot(g), before);
}

TEST(LegacyChains, OldScansPruneLikeTheNewOnes) {
  seedRandom(3);
  // A 5-cycle plus the chord 0-2: the legacy chains have adjacent heads 0 and 2.
  Graph g = makeGraph(5, joined(cycleEdges(0, 5), {{0, 2}}));
  clearChains(g);
  lightningOld(g);
  buildDegreeTwoChains(g);
  headHunterOld(g);
  EXPECT_EQ(std::tuple(g.isAdjacent(0, 2), g.howManyEdges, g.isHamiltonian), std::tuple(false, 5, kHamiltonian));

  // lightningOld cuts a degree-4 node with two forced edges down to them.
  Graph h = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {3, 4}, {3, 5}, {4, 5}, {1, 5}, {2, 5}});
  Node::setUncut(h.node(0), h.node(1));
  Node::setUncut(h.node(0), h.node(2));
  lightningOld(h);
  // 3 and 4 drop to degree 2, which forces two edges at 5, which loses its other two.
  EXPECT_EQ(std::tuple(h.node(0).degree, h.node(5).degree, h.howManyEdges, currentEdges(h).size()),
            std::tuple(2, 2, 6, size_t{6}));
}

}  // namespace
}  // namespace hc
