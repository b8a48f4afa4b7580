// Forcing at degree-two nodes and the scan-model chain builder: known answers with their
// exact verbose lines, and what the builder leaves on every chain member.
#include "checks/chain_building.h"

#include <gtest/gtest.h>

#include "check_graphs.h"
#include "core/graph_invariants.h"

namespace hc {
namespace {

using namespace hc::testing;

constexpr const char* kSet =
    "About to set uncuttabilities.\nIsHamiltonian still = 2 after setting uncuttabilities.\nAbout to build chains.\n";
constexpr const char* kNone = "IsHamiltonian still = 2 after building 0 chains.\n";

TEST(ChainBuilding, KnownAnswersAndTheirLines) {
  struct Case {
    const char* name;
    int32_t n;
    EdgeList edges;
    HamiltonicityState start;
    const char* chains;
    HamiltonicityState verdict;
    int32_t forced;
    int32_t hubs;
    std::string text;
  };
  const Case cases[] = {
      {"5-cycle", 5, cycleEdges(0, 5), kUndecided, "0-0:5", kHamiltonian, 5, 0,
       std::string(kSet) + "Building chains found a HC.\n"},
      {"path", 5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, kUndecided, "0-4:5", kNotHamiltonian, 4, 0,
       std::string(kSet) + "Building chains found a disjoint chain.\n"},
      {"two triangles", 6, joined(cycleEdges(0, 3), cycleEdges(3, 3)), kUndecided, "0-0:3R 3-3:3", kNotHamiltonian,
       6, 0, std::string(kSet) + "Building chains found the graph to be non-Hamiltonian.\n"},
      {"hub", 6, {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 4}, {3, 5}, {4, 5}}, kUndecided, "", kNotHamiltonian, 6, 1,
       std::string("About to set uncuttabilities.\nSetting uncuttabilities showed the graph to be non-Hamiltonian.\n"
                   "About to build chains.\n") + kNone},
      {"K4", 4, completeEdges(0, 4), kUndecided, "", kUndecided, 0, 0, std::string(kSet) + kNone},
      {"no edges", 3, {}, kUndecided, "", kUndecided, 0, 0, std::string(kSet) + kNone},
      {"no nodes", 0, {}, kUndecided, "", kUndecided, 0, 0, std::string(kSet) + kNone},
      {"decided", 5, cycleEdges(0, 5), kNotHamiltonian, "", kNotHamiltonian, 0, 0, std::string(kSet) + kNone},
  };
  for (const Case& c : cases) {
    Graph g = makeGraph(c.n, c.edges);
    g.isHamiltonian = c.start;
    ActionList list;
    CapturedDiagnostics out;
    setUncuttabilities(g, 1);
    buildChains(g, 1, &list);
    EXPECT_EQ(chainList(g), c.chains) << c.name;
    EXPECT_EQ(g.isHamiltonian, c.verdict) << c.name;
    EXPECT_EQ(g.howManyUncuttable, c.forced) << c.name;
    EXPECT_EQ(g.howManyHubs, c.hubs) << c.name;
    EXPECT_EQ(out.text(), c.text) << c.name;
    // Only the first ring is recorded, in the list it was given.
    EXPECT_EQ(list.count(), g.howManyRings) << c.name;
    if (list.count() == 1) {
      EXPECT_TRUE(list.at(0).kind == kActionRing && list.at(0).args[0] == 0) << c.name;
    }
    list.clear();
  }
}

TEST(ChainBuilding, ChainsBetweenBlocksAreTaggedOnEveryMemberAndRebuiltAlike) {
  // Two K4 blocks joined by two paths 0-8-4 and 1-9-10-5.
  Graph g = makeGraph(11, joined(joined(completeEdges(0, 4), completeEdges(4, 4)),
                                 {{0, 8}, {8, 4}, {1, 9}, {9, 10}, {10, 5}}));
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  EXPECT_EQ(chainList(g), "0-4:3 1-5:4");
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(g.node(9).whichChain, 1);
  EXPECT_EQ(checkInvariants(g, InvariantOptions{false}), "");
  const std::string once = snapshot(g);
  buildChains(g, 0, nullptr);
  EXPECT_EQ(snapshot(g), once);
}

TEST(ChainBuilding, UnprunedGraphWithManyChainsStaysInBounds) {
  // K(2,4): four chains on six nodes, more than the three slots a pruned graph needs. The two
  // hubs keep the index of the last chain built through them.
  Graph g = makeGraph(6, completeBipartiteEdges(2, 4));
  buildChains(g, 0, nullptr);
  EXPECT_EQ(chainList(g), "0-1:1 0-1:1 0-1:1 0-1:3");
  EXPECT_GE(g.maxChains, 4);
}

}  // namespace
}  // namespace hc
