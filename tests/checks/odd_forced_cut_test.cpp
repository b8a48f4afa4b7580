#include "checks/odd_forced_cut.h"

#include <gtest/gtest.h>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "checks/necessary_conditions.h"
#include "checks/scans.h"
#include "core/random.h"

namespace hc {
namespace {

using namespace hc::testing;

// K5 blocks on 0..4, 5..9, 10..14, ...; `links` lists (from, to) chain ends; every link gets
// its own inner degree-2 node after the blocks.
Graph blocksJoinedByChains(int32_t blocks, const EdgeList& links) {
  EdgeList e;
  for (int32_t b = 0; b < blocks; ++b) e = joined(e, completeEdges(5 * b, 5));
  int32_t inner = 5 * blocks;
  for (auto [from, to] : links) {
    e.emplace_back(from, inner);
    e.emplace_back(inner, to);
    ++inner;
  }
  Graph g = makeGraph(inner, e);
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  return g;
}

EdgeList parallelLinks(int32_t k) {
  EdgeList links;
  for (int32_t j = 0; j < k; ++j) links.emplace_back(j, 5 + j);
  return links;
}

constexpr const char* kOpening = "About to run initialPruningCheckForOddForcedCut.\n";
constexpr const char* kStill = "IsHamiltonian still = 2 after running initialPruningCheckForOddForcedCut.\n";

TEST(OddForcedCut, ThreeChainsBetweenTwoBlocksAreAnOddCut) {
  Graph g = blocksJoinedByChains(2, parallelLinks(3));
  ASSERT_EQ(g.isHamiltonian, kUndecided);
  ASSERT_EQ(g.howManyChains, 3);
  std::string before = snapshot(g);
  CapturedDiagnostics out;
  initialPruningCheckForOddForcedCut(g, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  // The pair pass finds the cut, and the single-region pass (which always runs) again.
  EXPECT_EQ(out.text(), std::string(kOpening) +
                            "The graph contains a cut with 3 forced edges.\n"
                            "The graph contains a cut with 3 forced edges.\n");
  g.isHamiltonian = kUndecided;
  EXPECT_EQ(snapshot(g), before);  // only the verdict changed
}

TEST(OddForcedCut, EvenChainCountsPass) {
  for (int32_t k : {2, 4}) {
    Graph g = blocksJoinedByChains(2, parallelLinks(k));
    const std::string before = snapshot(g);
    CapturedDiagnostics out;
    initialPruningCheckForOddForcedCut(g, 1);
    EXPECT_EQ(g.isHamiltonian, kUndecided) << k;
    EXPECT_EQ(out.text(), std::string(kOpening) + kStill) << k;
    EXPECT_EQ(snapshot(g), before) << k;
  }
}

TEST(OddForcedCut, ThreeRegions) {
  // One chain between each pair: every pair count is odd, but no single chain is a cut, and
  // every region total is even.
  Graph ring = blocksJoinedByChains(3, {{0, 5}, {1, 10}, {6, 11}});
  CapturedDiagnostics out;
  initialPruningCheckForOddForcedCut(ring, 1);
  EXPECT_EQ(ring.isHamiltonian, kUndecided);
  EXPECT_EQ(out.text(), std::string(kOpening) + kStill);

  // Region 1 has three chains out (one to region 2, two to region 3): only the single-region
  // pass sees the odd cut.
  Graph g = blocksJoinedByChains(3, {{0, 5}, {1, 10}, {2, 11}, {6, 12}, {7, 13}});
  out.clear();
  initialPruningCheckForOddForcedCut(g, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(out.text(), std::string(kOpening) + "The graph contains a cut with 3 forced edges.\n");
  EXPECT_TRUE(allMarksZero(g));
}

TEST(OddForcedCut, NoForcedEdgesOrNoRegionsPass) {
  Graph cycle = makeGraph(6, cycleEdges(0, 6));  // no node of degree 3
  setUncuttabilities(cycle, 0);
  std::vector<Graph> graphs;
  graphs.push_back(makeGraph(5, completeEdges(0, 5)));
  graphs.push_back(makeGraph(8, joined(completeEdges(0, 4), completeEdges(4, 4))));  // one region each
  graphs.push_back(cycle);
  graphs.push_back(Graph());
  graphs.push_back(makeGraph(3, {}));
  for (Graph& g : graphs) {
    initialPruningCheckForOddForcedCut(g, 0);
    EXPECT_EQ(g.isHamiltonian, kUndecided) << g.howManyNodes;
  }
}

TEST(OddForcedCut, InconsistentChainRecordIsReportedNotFatal) {
  // Forced edges without chains: region nodes name no chain.
  EdgeList e = joined(completeEdges(0, 5), completeEdges(5, 5));
  for (auto link : {std::pair{0, 10}, {10, 5}, {1, 11}, {11, 6}, {2, 12}, {12, 7}}) e.push_back(link);
  Graph g = makeGraph(13, e);
  setUncuttabilities(g, 0);
  const std::string before = snapshot(g);
  CapturedDiagnostics out;
  initialPruningCheckForOddForcedCut(g, 0);
  EXPECT_EQ(out.text(), "MASSIVE ERROR: CHAIN HEAD IS WRONG.\n");
  EXPECT_EQ(snapshot(g), before);

  // A chain index whose heads are other nodes.
  Graph h = blocksJoinedByChains(2, parallelLinks(3));
  h.node(0).whichChain = 2;
  out.clear();
  initialPruningCheckForOddForcedCut(h, 1);
  EXPECT_EQ(out.text(), std::string(kOpening) + "MASSIVE ERROR: CHAIN HEAD IS WRONG.\n");
  EXPECT_EQ(h.isHamiltonian, kUndecided);
  EXPECT_TRUE(allMarksZero(h));
}

TEST(OddForcedCut, StopAndDecidedGraphs) {
  Graph g = blocksJoinedByChains(2, parallelLinks(3));
  std::atomic<uint8_t> stop{1};
  initialPruningCheckForOddForcedCut(g, 0, &stop);
  EXPECT_EQ(g.isHamiltonian, kUndecided);  // stopped before any trial: nothing found
  EXPECT_TRUE(allMarksZero(g));

  Graph d = blocksJoinedByChains(2, parallelLinks(3));
  d.isHamiltonian = kNotHamiltonian;
  const std::string before = snapshot(d);
  CapturedDiagnostics out;
  initialPruningCheckForOddForcedCut(d, 1);
  EXPECT_EQ(snapshot(d), before);
  EXPECT_EQ(out.text(), kOpening);
}

// Two or three dense blocks of four nodes joined by one to four paths with one or two
// inner nodes: graphs where chains between regions are common.
Graph randomBlocksAndChains(std::mt19937& rng) {
  const int32_t blocks = 2 + static_cast<int32_t>(rng() % 2);
  EdgeList e;
  for (int32_t b = 0; b < blocks; ++b) {
    EdgeList inside = randomEdges(rng, 4, 0.8);
    for (auto [x, y] : inside) e.emplace_back(4 * b + x, 4 * b + y);
  }
  int32_t next = 4 * blocks;
  std::vector<char> used(static_cast<size_t>(4 * blocks), 0);  // one path end per block node
  auto freeNode = [&](int32_t block) {
    for (int32_t tries = 0; tries < 8; ++tries) {
      int32_t v = 4 * block + static_cast<int32_t>(rng() % 4);
      if (!used[static_cast<size_t>(v)]) {
        used[static_cast<size_t>(v)] = 1;
        return v;
      }
    }
    return -1;
  };
  const int32_t paths = 1 + static_cast<int32_t>(rng() % 4);
  for (int32_t k = 0; k < paths; ++k) {
    const int32_t inner = 1 + static_cast<int32_t>(rng() % 2);
    if (next + inner > 15) break;
    const int32_t blockA = static_cast<int32_t>(rng() % static_cast<uint32_t>(blocks));
    const int32_t blockB =
        (blockA + 1 + static_cast<int32_t>(rng() % static_cast<uint32_t>(blocks - 1))) % blocks;
    const int32_t from = freeNode(blockA);
    const int32_t to = freeNode(blockB);
    if (from < 0 || to < 0) continue;
    int32_t prev = from;
    for (int32_t i = 0; i < inner; ++i) {
      e.emplace_back(prev, next);
      prev = next++;
    }
    e.emplace_back(prev, to);
  }
  return makeGraph(next, e);
}

TEST(OddForcedCut, RandomPrunedGraphsStaySound) {
  std::mt19937 rng(777);
  seedRandom(13);
  int decided = 0;
  int reached = 0;
  for (int trial = 0; trial < 400; ++trial) {
    Graph g = trial % 2 == 0 ? randomBlocksAndChains(rng) : [&rng] {
      const int32_t n = 6 + static_cast<int32_t>(rng() % 7);
      return makeGraph(n, randomEdges(rng, n, 0.25 + 0.25 * (rng() % 10) / 10.0));
    }();
    const bool hamiltonian = referenceHamiltonian(g);
    checkEnoughEdges(g, 0);
    checkLowDegreeNodes(g, 0);
    checkConnectedNotUnevenlyBipartite(g, 0);
    setUncuttabilities(g, 0);
    lightning(g, 0);
    buildChains(g, 0, nullptr);
    HeadHunter(g, 0);
    if (g.isHamiltonian != kUndecided) continue;
    ++reached;
    const std::string before = snapshot(g);
    CapturedDiagnostics out;
    initialPruningCheckForOddForcedCut(g, 0);
    EXPECT_EQ(out.text().find("MASSIVE"), std::string::npos) << trial;
    if (g.isHamiltonian == kNotHamiltonian) {
      ++decided;
      EXPECT_FALSE(hamiltonian) << trial;
      g.isHamiltonian = kUndecided;
    }
    EXPECT_EQ(snapshot(g), before) << trial;
  }
  EXPECT_GT(decided, 0) << reached;  // the property is not vacuous
}

}  // namespace
}  // namespace hc
