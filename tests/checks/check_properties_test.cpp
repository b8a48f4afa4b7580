// Properties every check shares, over random graphs (empty and edgeless ones included):
// marks are 0 afterwards, and a graph already found non-Hamiltonian is never changed.
#include <gtest/gtest.h>

#include <functional>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "checks/cut_checks.h"
#include "checks/necessary_conditions.h"
#include "checks/odd_forced_cut.h"
#include "checks/scans.h"
#include "core/random.h"

namespace hc {
namespace {

using namespace hc::testing;

struct NamedCheck {
  const char* name;
  std::function<void(Graph&)> run;
};

std::vector<NamedCheck> everyCheck() {
  return {
      {"checkEnoughEdges", [](Graph& g) { checkEnoughEdges(g, 0); }},
      {"checkLowDegreeNodes", [](Graph& g) { checkLowDegreeNodes(g, 0); }},
      {"checkConnectedNotUnevenlyBipartite", [](Graph& g) { checkConnectedNotUnevenlyBipartite(g, 0); }},
      {"isConnected", [](Graph& g) { isConnected(g, 0); }},
      {"isBipartite", [](Graph& g) { isBipartite(g, 0); }},
      {"isBiconnected", [](Graph& g) { isBiconnected(g, 0); }},
      {"setUncuttabilities", [](Graph& g) { setUncuttabilities(g, 0); }},
      {"buildChains", [](Graph& g) { buildChains(g, 0, nullptr); }},
      {"lightning", [](Graph& g) { lightning(g, 0); }},
      {"HeadHunter", [](Graph& g) { HeadHunter(g, 0); }},
      {"cutBalanceRatio", [](Graph& g) { cutBalanceRatio(g, -1, -1, -1); }},
      {"checkTwoEdgeCuts", [](Graph& g) { checkTwoEdgeCuts(g, 0); }},
      {"initialPruningCheckForOddForcedCut", [](Graph& g) { initialPruningCheckForOddForcedCut(g, 0); }},
  };
}

Graph randomCase(std::mt19937& rng, int trial) {
  if (trial == 0) return Graph();
  if (trial == 1) return makeGraph(1, {});
  if (trial == 2) return makeGraph(5, {});
  const int32_t n = 2 + static_cast<int32_t>(rng() % 11);
  Graph g = makeGraph(n, randomEdges(rng, n, 0.15 + 0.6 * (rng() % 10) / 10.0));
  // Half the cases come pruned, with forced edges and chains.
  if (trial % 2 == 0) {
    setUncuttabilities(g, 0);
    lightning(g, 0);
    buildChains(g, 0, nullptr);
  }
  return g;
}

TEST(CheckProperties, MarksAreZeroAndDecidedGraphsUnchanged) {
  std::mt19937 rng(31337);
  seedRandom(17);
  const auto checks = everyCheck();
  CapturedDiagnostics quiet;  // unpruned or decided bases may hold stale chains
  for (int trial = 0; trial < 120; ++trial) {
    Graph base = randomCase(rng, trial);
    for (HamiltonicityState state : {kUndecided, kNotHamiltonian}) {
      base.isHamiltonian = state;
      for (const NamedCheck& check : checks) {
        Graph g(base);
        const std::string before = snapshot(g);
        check.run(g);
        EXPECT_TRUE(allMarksZero(g)) << check.name << " trial " << trial;
        EXPECT_EQ(currentEdges(g).size(), static_cast<size_t>(g.howManyEdges)) << check.name << " trial " << trial;
        if (state == kNotHamiltonian) {
          EXPECT_EQ(snapshot(g), before) << check.name << " trial " << trial;
        }
      }
    }
  }
}

}  // namespace
}  // namespace hc
