#include "checks/chain_building.h"

#include <gtest/gtest.h>

#include "check_graphs.h"
#include "core/graph_invariants.h"

namespace hc {
namespace {

using namespace hc::testing;

TEST(ChainBuilding, FiveCycleIsOneChainAndAHamiltonianCycle) {
  Graph g = makeGraph(5, cycleEdges(0, 5));
  CapturedDiagnostics out;
  setUncuttabilities(g, 1);
  EXPECT_EQ(g.howManyUncuttable, 5);
  EXPECT_EQ(g.howManyHubs, 0);
  for (const Node& n : g.nodes) EXPECT_EQ(n.howManyUncuttable, 2);
  buildChains(g, 1, nullptr);
  EXPECT_EQ(g.howManyChains, 1);
  EXPECT_EQ(g.chains[0].head1, 0);
  EXPECT_EQ(g.chains[0].head2, 0);
  EXPECT_EQ(g.chains[0].members, 5);
  EXPECT_EQ(g.isHamiltonian, kHamiltonian);
  EXPECT_EQ(out.text(),
            "About to set uncuttabilities.\n"
            "IsHamiltonian still = 2 after setting uncuttabilities.\n"
            "About to build chains.\n"
            "Building chains found a HC.\n");
}

TEST(ChainBuilding, PathIsADisjointChain) {
  Graph g = makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
  setUncuttabilities(g, 0);
  CapturedDiagnostics out;
  buildChains(g, 1, nullptr);
  EXPECT_EQ(g.howManyChains, 1);
  EXPECT_EQ(g.chains[0].head1, 0);
  EXPECT_EQ(g.chains[0].head2, 4);
  EXPECT_EQ(g.chains[0].members, 5);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(out.text(), "About to build chains.\nBuilding chains found a disjoint chain.\n");
}

TEST(ChainBuilding, TwoTrianglesGiveARingRecord) {
  Graph g = makeGraph(6, joined(cycleEdges(0, 3), cycleEdges(3, 3)));
  setUncuttabilities(g, 0);
  ActionList list;
  CapturedDiagnostics out;
  buildChains(g, 1, &list);
  EXPECT_EQ(g.howManyChains, 2);
  EXPECT_EQ(g.chains[0].isRing, 1);
  EXPECT_EQ(g.chains[1].isRing, 0);  // only the first ring is recorded
  EXPECT_EQ(g.howManyRings, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.at(0).kind, kActionRing);
  EXPECT_EQ(list.at(0).args[0], 0);
  for (int k = 1; k < 8; ++k) EXPECT_EQ(list.at(0).args[k], -1);
  list.clear();
  EXPECT_EQ(out.text(), "About to build chains.\nBuilding chains found the graph to be non-Hamiltonian.\n");
}

TEST(ChainBuilding, DegreeThreeNodeBesideThreeDegreeTwoNodesIsAHub) {
  // Node 0 has the degree-2 neighbours 1, 2, 3.
  Graph g = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 4}, {3, 5}, {4, 5}});
  CapturedDiagnostics out;
  setUncuttabilities(g, 1);
  EXPECT_EQ(g.howManyHubs, 1);
  EXPECT_EQ(g.node(0).isHub, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(out.text(),
            "About to set uncuttabilities.\n"
            "Setting uncuttabilities showed the graph to be non-Hamiltonian.\n");
}

TEST(ChainBuilding, CompleteGraphBuildsNoChain) {
  Graph g = makeGraph(4, completeEdges(0, 4));
  CapturedDiagnostics out;
  setUncuttabilities(g, 0);
  buildChains(g, 1, nullptr);
  EXPECT_EQ(g.howManyUncuttable, 0);
  EXPECT_EQ(g.howManyChains, 0);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(out.text(), "About to build chains.\nIsHamiltonian still = 2 after building 0 chains.\n");
}

TEST(ChainBuilding, ChainsBetweenBlocksAreTaggedOnEveryMember) {
  // Two K4 blocks joined by two paths 0-8-4 and 1-9-10-5.
  Graph g = makeGraph(11, joined(joined(completeEdges(0, 4), completeEdges(4, 4)),
                                 {{0, 8}, {8, 4}, {1, 9}, {9, 10}, {10, 5}}));
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  ASSERT_EQ(g.howManyChains, 2);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(g.chains[0].members, 3);
  EXPECT_EQ(g.chains[1].members, 4);
  EXPECT_EQ(g.node(9).whichChain, 1);
  EXPECT_EQ(g.node(5).isHead, 1);
  EXPECT_EQ(checkInvariants(g, InvariantOptions{false}), "");
  // Rebuilding gives the same chains.
  const std::string once = snapshot(g);
  buildChains(g, 0, nullptr);
  EXPECT_EQ(snapshot(g), once);
}

TEST(ChainBuilding, UnprunedGraphWithManyChainsStaysInBounds) {
  // K(2,4): four chains on six nodes, more than the three slots a pruned graph needs.
  Graph g = makeGraph(6, completeBipartiteEdges(2, 4));
  buildChains(g, 0, nullptr);
  EXPECT_EQ(g.howManyChains, 4);
  EXPECT_GE(g.maxChains, 4);
  // The two hubs keep the index of the last chain built through them.
  EXPECT_EQ(g.chains[0].members, 1);
  EXPECT_EQ(g.chains[3].members, 3);
}

TEST(ChainBuilding, NothingHappensOnDecidedOrEmptyGraphs) {
  Graph g = makeGraph(5, cycleEdges(0, 5));
  g.isHamiltonian = kNotHamiltonian;
  const std::string before = snapshot(g);
  CapturedDiagnostics out;
  setUncuttabilities(g, 1);
  buildChains(g, 1, nullptr);
  EXPECT_EQ(snapshot(g), before);
  EXPECT_EQ(out.text(),
            "About to set uncuttabilities.\n"
            "IsHamiltonian still = 2 after setting uncuttabilities.\n"
            "About to build chains.\n"
            "IsHamiltonian still = 2 after building 0 chains.\n");
  Graph empty;
  setUncuttabilities(empty, 0);
  buildChains(empty, 0, nullptr);
  EXPECT_EQ(empty.isHamiltonian, kUndecided);
  Graph bare = makeGraph(3, {});
  setUncuttabilities(bare, 0);
  buildChains(bare, 0, nullptr);
  EXPECT_EQ(bare.howManyChains, 0);
}

}  // namespace
}  // namespace hc
