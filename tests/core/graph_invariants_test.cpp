// The consistency check itself: each kind of damage it exists to catch is caught.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "core_test_support.h"

namespace hc {
namespace {

using testing::makeGraph;

// A small undecided graph with one chain 0-1-2.
Graph healthy() {
  Graph g = makeGraph(6, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}, {0, 3}, {1, 4}, {2, 5}});
  g.force(0, 1);
  g.force(1, 2);
  return g;
}

TEST(GraphInvariantsTest, EveryKindOfDamageIsReported) {
  // Each damage with a piece of its report.
  const std::vector<std::tuple<const char*, std::function<void(Graph&)>, const char*>> damages{
      {"one-sided edge", [](Graph& g) { g.node(3).neighborArray[0] = 1; }, "not symmetric"},
      {"self-loop", [](Graph& g) { g.node(0).neighborArray[0] = 0; }, "lists itself"},
      {"duplicate", [](Graph& g) { g.node(0).neighborArray[1] = g.node(0).neighborArray[0]; }, "twice"},
      {"edge count", [](Graph& g) { ++g.howManyEdges; }, "howManyEdges"},
      {"forced one end", [](Graph& g) { g.node(0).uncuttable1 = 5; }, "recorded on one end only"},
      {"forced non-edge", [](Graph& g) { g.node(0).uncuttable1 = 4; }, "is not an edge"},
      {"forced count", [](Graph& g) { g.node(2).howManyUncuttable = 2; }, "howManyUncuttable"},
      {"queue flag", [](Graph& g) { g.node(3).inLightningQueue = 1; }, "queued"},
      {"queue item", [](Graph& g) { g.pruningQueue.push(3, PruningQueue::kHeadHunter); }, "queue"},
      {"head flag", [](Graph& g) { g.node(1).whichChain = 0; }, "isHead"},
      {"chain members", [](Graph& g) { g.chains[0].members = 4; }, "members"},
      {"chain head", [](Graph& g) { g.chains[0].head2 = 1; }, "head"},
      {"hub while undecided", [](Graph& g) { g.howManyHubs = 1; }, "hubs"},
      {"graph forced count", [](Graph& g) { ++g.howManyUncuttable; }, "forced edge ends"},
      {"neighbour out of range", [](Graph& g) { g.node(0).neighborArray[0] = 17; }, "out of range"},
  };
  Graph undamaged = healthy();
  ASSERT_EQ(undamaged.isHamiltonian, kUndecided);
  EXPECT_EQ(checkInvariants(undamaged), "");
  for (const auto& [name, apply, expected] : damages) {
    Graph g = healthy();
    apply(g);
    const std::string report = checkInvariants(g);
    EXPECT_NE(report.find(expected), std::string::npos) << name << ": \"" << report << "\"";
  }
  // A chain index on an inner node is damage to the incremental model only.
  EXPECT_FALSE(hasScanModelChains(undamaged));
  undamaged.node(1).whichChain = 0;  // as the scan-model chain builder leaves inner nodes
  EXPECT_TRUE(hasScanModelChains(undamaged));
  EXPECT_EQ(checkInvariants(undamaged, InvariantOptions{false}), "");
}

#ifdef HC_HEAVY_CHECKS
TEST(GraphInvariantsTest, TheHeavyBuildChecksAfterEveryCutAndForce) {
  Graph g = healthy();
  ++g.howManyEdges;  // damage that the next top-level change must report
  testing::EdgeList edges = testing::unforcedEdges(g);
  ASSERT_FALSE(edges.empty());
  testing::CapturedDiagnostics out;
  g.cut(edges[0].first, edges[0].second);
  EXPECT_EQ(out.text().rfind("Invariant broken after cut: howManyEdges", 0), 0u) << out.text();
}
#endif

}  // namespace
}  // namespace hc
