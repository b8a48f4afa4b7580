// Properties every check shares, over random graphs (empty, edgeless and block-and-chain
// ones included): marks are 0 afterwards, a graph already decided is never changed, and the
// checks run in the order of the initial pruning are sound.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>

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

void prune(Graph& g) {
  setUncuttabilities(g, 0);
  lightning(g, 0);
  buildChains(g, 0, nullptr);
  HeadHunter(g, 0);
}

// Two or three dense blocks of four nodes joined by up to four paths with one or two inner
// nodes, each path end its own block node: graphs where chains between regions are common.
Graph randomBlocksAndChains(std::mt19937& rng) {
  const int32_t blocks = 2 + static_cast<int32_t>(rng() % 2);
  EdgeList e;
  for (int32_t b = 0; b < blocks; ++b)
    for (auto [x, y] : randomEdges(rng, 4, 0.8)) e.emplace_back(4 * b + x, 4 * b + y);
  std::vector<int32_t> ends(static_cast<size_t>(4 * blocks));
  std::iota(ends.begin(), ends.end(), 0);
  std::shuffle(ends.begin(), ends.end(), rng);
  int32_t next = 4 * blocks;
  for (size_t k = 0, paths = 1 + rng() % 4; k < paths && next + 2 <= 15; ++k) {
    int32_t prev = ends[2 * k];
    if (prev / 4 == ends[2 * k + 1] / 4) continue;
    for (uint32_t inner = 1 + rng() % 2; inner > 0; --inner) {
      e.emplace_back(prev, next);
      prev = next++;
    }
    e.emplace_back(prev, ends[2 * k + 1]);
  }
  return makeGraph(next, e);
}

// Every check leaves all marks 0 and the edge count true, and changes nothing on a graph
// already decided either way (on raw and pruned graphs). The checks in the order of the
// initial pruning only remove edges no Hamiltonian cycle uses, a verdict of 0 is never given
// to a Hamiltonian graph and one of 1 is a true cycle; the odd-cut check only decides, and
// every cut the 2-edge-cut check leaves listed is forced.
TEST(CheckProperties, MarksClearedDecidedGraphsUnchangedAndInitialPruningSound) {
  std::mt19937 rng(777);
  seedRandom(13);
  const std::vector<std::pair<const char*, std::function<void(Graph&)>>> checks = {
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
  int32_t oddCuts = 0;
  for (int trial = 0; trial < 600; ++trial) {
    SCOPED_TRACE(trial);
    const int32_t n = 5 + static_cast<int32_t>(rng() % 8);
    Graph g = trial < 3        ? makeGraph(trial * 2, {})
              : trial % 2 == 0 ? randomBlocksAndChains(rng)
                               : makeGraph(n, randomEdges(rng, n, 0.25 + 0.35 * (rng() % 10) / 10.0));
    {
      CapturedDiagnostics quiet;  // unpruned or decided bases may hold stale chains
      Graph base(g);
      if (trial % 4 < 2) prune(base);
      for (HamiltonicityState state : {kUndecided, kNotHamiltonian, kHamiltonian}) {
        base.isHamiltonian = state;
        for (const auto& [name, run] : checks) {
          Graph copy(base);
          const std::string before = snapshot(copy);
          run(copy);
          EXPECT_TRUE(allMarksZero(copy)) << name;
          EXPECT_EQ(currentEdges(copy).size(), static_cast<size_t>(copy.howManyEdges)) << name;
          EXPECT_TRUE(state == kUndecided || snapshot(copy) == before) << name;
        }
      }
    }
    const bool hamiltonian = referenceHamiltonian(g);
    auto expectSound = [&](const char* stage) {
      EXPECT_TRUE(allMarksZero(g)) << stage;
      EXPECT_EQ(currentEdges(g).size(), static_cast<size_t>(g.howManyEdges)) << stage;
      EXPECT_TRUE(!hamiltonian || (g.isHamiltonian != kNotHamiltonian && referenceHamiltonian(g))) << stage;
      EXPECT_TRUE(g.isHamiltonian != kHamiltonian || hamiltonian) << stage;
      for (const Node& v : g.nodes) EXPECT_TRUE(g.isHamiltonian != kHamiltonian || v.degree == 2) << stage;
    };
    checkEnoughEdges(g, 0);
    checkLowDegreeNodes(g, 0);
    checkConnectedNotUnevenlyBipartite(g, 0);
    expectSound("necessary conditions");
    EXPECT_TRUE(!hamiltonian || isBiconnected(g, 0));
    prune(g);
    expectSound("scans");
    if (g.isHamiltonian != kUndecided) continue;
    const std::string before = snapshot(g);
    CapturedDiagnostics out;
    initialPruningCheckForOddForcedCut(g, 0);
    EXPECT_EQ(out.text().find("MASSIVE"), std::string::npos);
    expectSound("odd cut");
    if (g.isHamiltonian == kNotHamiltonian) ++oddCuts;
    g.isHamiltonian = kUndecided;
    EXPECT_EQ(snapshot(g), before);
    checkConnectedNotUnevenlyBipartite(g, 0);
    g.twoEdgeCuts = std::make_unique<CutList>();
    checkTwoEdgeCuts(g, 0);
    expectSound("2-edge cuts");
    if (g.isHamiltonian != kUndecided) continue;
    for (const CutRecord& r : g.twoEdgeCuts->records)
      EXPECT_TRUE(g.node(r.edges[0][0]).isForcedNeighbor(r.edges[0][1]) &&
                  g.node(r.edges[1][0]).isForcedNeighbor(r.edges[1][1]));
  }
  EXPECT_GT(oddCuts, 0);  // the odd-cut part is not vacuous
}

}  // namespace
}  // namespace hc
