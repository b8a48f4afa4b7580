#include "checks/scans.h"

#include <gtest/gtest.h>

#include <tuple>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "checks/necessary_conditions.h"
#include "core/random.h"

namespace hc {
namespace {

using namespace hc::testing;

// Node 0 of degree 4 whose edges to 1 and 2 are forced; 3 has degree 3.
Graph lightningGraph() {
  Graph g = makeGraph(8, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 5}, {1, 7}, {2, 6}, {2, 7},
                          {3, 5}, {3, 6}, {4, 5}, {4, 6}, {4, 7}, {5, 6}, {6, 7}});
  Node::setUncut(g.node(0), g.node(1));
  Node::setUncut(g.node(0), g.node(2));
  g.howManyUncuttable = 2;
  return g;
}

TEST(Scans, LightningCutsTheOtherEdgesOfANodeWithTwoForcedEdges) {
  seedRandom(7);
  Graph g = lightningGraph();
  const int32_t edgesBefore = g.howManyEdges;
  CapturedDiagnostics out;
  lightning(g, 1);
  EXPECT_EQ(out.text(), "About to run lightning.\nIsHamiltonian still = 2 after running lightning.\n");
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(g.node(0).degree, 2);
  EXPECT_FALSE(g.isAdjacent(0, 3) || g.isAdjacent(0, 4));
  EXPECT_EQ(g.howManyEdges, edgesBefore - 2);
  // Node 3 was left with degree 2: both its edges are forced on the node level.
  EXPECT_TRUE(g.isUncuttableEdge(3, 5) && g.isUncuttableEdge(3, 6));
  EXPECT_EQ(currentEdges(g).size(), static_cast<size_t>(g.howManyEdges));
  out.clear();
  Graph quiet = lightningGraph();
  lightning(quiet, 0);
  HeadHunter(quiet, 0);
  EXPECT_EQ(out.text(), "");
}

// Heads 0 and 1 of the chain 0-2-1 are adjacent.
Graph headHunterGraph() {
  Graph g = makeGraph(6, {{0, 2}, {2, 1}, {0, 1}, {0, 3}, {0, 4}, {1, 3}, {1, 5}, {3, 4}, {4, 5}, {3, 5}});
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  return g;
}

TEST(Scans, HeadHunterCutsTheEdgeBetweenAdjacentHeads) {
  Graph g = headHunterGraph();
  ASSERT_EQ(g.howManyChains, 1);
  CapturedDiagnostics out;
  HeadHunter(g, 1);
  EXPECT_FALSE(g.isAdjacent(0, 1));
  EXPECT_EQ(g.howManyEdges, 9);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(out.text(), "About to run HeadHunter.\nIsHamiltonian still = 2 after running HeadHunter.\n");
}

TEST(Scans, HeadHunterLeavesForcedPartnerEdgesAndHeadsThatAreNotAdjacent) {
  Graph g = headHunterGraph();
  Node::setUncut(g.node(0), g.node(1));  // as a 2-edge-cut forcing would
  Graph blocks = makeGraph(11, joined(joined(completeEdges(0, 4), completeEdges(4, 4)),
                                      {{0, 8}, {8, 4}, {1, 9}, {9, 10}, {10, 5}}));
  setUncuttabilities(blocks, 0);
  buildChains(blocks, 0, nullptr);
  for (Graph* graph : {&g, &blocks}) {
    const std::string before = snapshot(*graph);
    CapturedDiagnostics out;
    HeadHunter(*graph, 0);
    EXPECT_EQ(snapshot(*graph), before);
    EXPECT_EQ(out.text(), "");  // in particular no complaint about cutting a forced edge
  }
}

TEST(Scans, VerdictsWithTheirLines) {
  // Node 0 (degree 3) is forced to 1 and 2; cutting 0-3 leaves node 3 with degree 1 and too
  // few edges: edges 5 < nodes 6 after the cut.
  Graph pendant = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {3, 4}, {4, 5}});
  Node::setUncut(pendant.node(0), pendant.node(1));
  Node::setUncut(pendant.node(0), pendant.node(2));
  // A 5-cycle plus the chord 0-2; the chain 2-3-4-0 has adjacent heads 0 and 2 and so does
  // the chain 0-1-2. Cutting the chord leaves the cycle.
  Graph chord = makeGraph(5, joined(cycleEdges(0, 5), {{0, 2}}));
  setUncuttabilities(chord, 0);
  buildChains(chord, 0, nullptr);
  for (auto [g, scan, verdict, lines] :
       {std::tuple{&pendant, &lightning, kNotHamiltonian,
                   "About to run lightning.\nLightning caused the graph to become non-Hamiltonian the graph.\n"},
        std::tuple{&chord, &HeadHunter, kHamiltonian, "About to run HeadHunter.\nHeadHunter found a HC.\n"}}) {
    CapturedDiagnostics out;
    scan(*g, 1);
    EXPECT_EQ(g->isHamiltonian, verdict);
    EXPECT_EQ(out.text(), lines);
  }
}

TEST(Scans, DecidedGraphIsLeftAlone) {
  for (HamiltonicityState state : {kNotHamiltonian, kHamiltonian}) {
    Graph g = lightningGraph();
    g.isHamiltonian = state;
    const std::string before = snapshot(g);
    CapturedDiagnostics out;
    lightning(g, 1);
    HeadHunter(g, 1);
    EXPECT_EQ(snapshot(g), before);
    EXPECT_EQ(out.text(), "About to run lightning.\nAbout to run HeadHunter.\n");
  }
}

}  // namespace
}  // namespace hc
