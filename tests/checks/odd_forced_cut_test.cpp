// The odd forced-cut check: known answers with their exact lines, inconsistent chain records
// reported rather than fatal, and the stop flag. Its soundness on random graphs is checked
// with the other checks' properties.
#include "checks/odd_forced_cut.h"

#include <gtest/gtest.h>

#include "check_graphs.h"
#include "checks/chain_building.h"

namespace hc {
namespace {

using namespace hc::testing;

// K5 blocks on 0..4, 5..9, 10..14, ...; `links` lists (from, to) chain ends; every link gets
// its own inner degree-2 node after the blocks. Chains are built unless `chains` is false.
Graph blocksJoinedByChains(int32_t blocks, const EdgeList& links, bool chains = true) {
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
  if (chains) buildChains(g, 0, nullptr);
  return g;
}

constexpr const char* kOpening = "About to run initialPruningCheckForOddForcedCut.\n";
constexpr const char* kStill = "IsHamiltonian still = 2 after running initialPruningCheckForOddForcedCut.\n";
constexpr const char* kOdd = "The graph contains a cut with 3 forced edges.\n";
constexpr const char* kWrong = "MASSIVE ERROR: CHAIN HEAD IS WRONG.\n";

TEST(OddForcedCut, KnownAnswersWithTheirLines) {
  const EdgeList three{{0, 5}, {1, 6}, {2, 7}};
  Graph forcedCycle = makeGraph(6, cycleEdges(0, 6));  // no node of degree 3
  setUncuttabilities(forcedCycle, 0);
  Graph decided = blocksJoinedByChains(2, three);
  decided.isHamiltonian = kNotHamiltonian;
  Graph wrongIndex = blocksJoinedByChains(2, three);  // a chain index whose heads are other nodes
  wrongIndex.node(0).whichChain = 2;
  const std::string pass = std::string(kOpening) + kStill;
  struct Case {
    const char* name;
    Graph graph;
    HamiltonicityState verdict;
    std::string lines;
    uint8_t stop = 0;
  };
  Case cases[] = {
      // The pair pass finds the cut, and the single-region pass (which always runs) again.
      {"three chains", blocksJoinedByChains(2, three), kNotHamiltonian, std::string(kOpening) + kOdd + kOdd},
      {"three chains, stopped", blocksJoinedByChains(2, three), kUndecided, pass, 1},
      {"two chains", blocksJoinedByChains(2, {{0, 5}, {1, 6}}), kUndecided, pass},
      {"four chains", blocksJoinedByChains(2, {{0, 5}, {1, 6}, {2, 7}, {3, 8}}), kUndecided, pass},
      // One chain between each pair: every pair count is odd, but no single chain is a cut,
      // and every region total is even.
      {"three regions in a ring", blocksJoinedByChains(3, {{0, 5}, {1, 10}, {6, 11}}), kUndecided, pass},
      // Region 1 has three chains out: only the single-region pass sees the odd cut.
      {"three out of one region", blocksJoinedByChains(3, {{0, 5}, {1, 10}, {2, 11}, {6, 12}, {7, 13}}),
       kNotHamiltonian, std::string(kOpening) + kOdd},
      {"K5", makeGraph(5, completeEdges(0, 5)), kUndecided, pass},
      {"two K4", makeGraph(8, joined(completeEdges(0, 4), completeEdges(4, 4))), kUndecided, pass},
      {"forced cycle", forcedCycle, kUndecided, pass},
      {"no nodes", Graph(), kUndecided, pass},
      {"no edges", makeGraph(3, {}), kUndecided, pass},
      {"decided", decided, kNotHamiltonian, kOpening},
      // Inconsistent chain records: forced edges without chains, or a wrong chain index.
      {"forced edges, no chains", blocksJoinedByChains(2, three, false), kUndecided,
       std::string(kOpening) + kWrong},
      {"wrong chain index", wrongIndex, kUndecided, std::string(kOpening) + kWrong},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HamiltonicityState start = c.graph.isHamiltonian;
    const std::string before = snapshot(c.graph);
    const std::atomic<uint8_t> stop{c.stop};
    CapturedDiagnostics out;
    initialPruningCheckForOddForcedCut(c.graph, 1, &stop);
    EXPECT_EQ(c.graph.isHamiltonian, c.verdict);
    EXPECT_EQ(out.text(), c.lines);
    c.graph.isHamiltonian = start;
    EXPECT_EQ(snapshot(c.graph), before) << "only the verdict may change";  // marks cleared too
  }
}

}  // namespace
}  // namespace hc
