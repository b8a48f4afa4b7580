// The cut checks: balance ratios, 2-edge cuts and odd forced cuts, known answers with their
// exact lines, the listed cuts, inconsistent chain records reported rather than fatal, and the
// stop token. Their soundness on random graphs is checked with the other checks' properties.
#include "checks/cut_checks.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "checks/odd_forced_cut.h"

namespace hc {
namespace {

using namespace hc::testing;

TEST(CutBalanceRatio, KnownAnswers) {
  // Two 5-cycles sharing node 4: without it, 4 : 4.
  const Graph shared = makeGraph(9, joined(cycleEdges(0, 5), {{4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 4}}));
  // A triangle beside a 7-cycle, either way round: 3 : 7.
  Graph apart = makeGraph(10, joined(cycleEdges(0, 3), cycleEdges(3, 7))), decided(apart);
  decided.isHamiltonian = kNotHamiltonian;
  for (auto [g, x, y, z, ratio] : {
           std::tuple{makeGraph(6, cycleEdges(0, 6)), -1, -1, -1, -1.0},
           {apart, -1, -1, -1, 3.0 / 7.0},
           {makeGraph(10, joined(cycleEdges(0, 7), cycleEdges(7, 3))), -1, -1, -1, 3.0 / 7.0},
           {decided, -1, -1, -1, -500.0},
           {shared, -1, -1, -1, -1.0},
           {shared, 4, -1, -1, 1.0},
           {shared, -1, 4, 4, 1.0},  // a repeated id counts once
           {shared, 0, -1, -1, -1.0},
           // Everything excluded, or no nodes at all: nothing can be disconnected.
           {makeGraph(2, {{0, 1}}), 0, 1, -1, -1.0},
           {Graph(), -1, -1, -1, -1.0},
       }) {
    EXPECT_DOUBLE_EQ(cutBalanceRatio(g, x, y, z), ratio) << g.howManyNodes << " " << x;
  }
}

// The cuts listed, as "a-b c-d ratio" each.
std::string listed(const CutList& cuts) {
  std::ostringstream out;
  for (const CutRecord& r : cuts.records) {
    out << r.edges[0][0] << "-" << r.edges[0][1] << " " << r.edges[1][0] << "-" << r.edges[1][1] << " "
        << r.balanceRatio << ";";
    EXPECT_EQ(std::vector<int32_t>({r.kind, r.size, r.itemsAdded}), std::vector<int32_t>({1, 2, 2}));
  }
  return out.str();
}

TEST(TwoEdgeCuts, KnownAnswersWithTheirLines) {
  // Two K4 blocks 0..3 and 4..7 joined by 0-4 and 1-5: the only 2-edge cut.
  const Graph blocks =
      makeGraph(8, joined(joined(completeEdges(0, 4), completeEdges(4, 4)), {{0, 4}, {1, 5}}));
  Graph pruned(blocks), decided(blocks);
  setUncuttabilities(pruned, 0);
  buildChains(pruned, 0, nullptr);
  decided.isHamiltonian = kNotHamiltonian;
  // A forced 6-cycle (not yet read off as chains): every pair of edges not sharing a node is a
  // 2-edge cut, already forced; pairs sharing a degree-2 node are never reported.
  Graph forcedCycle = makeGraph(6, cycleEdges(0, 6));
  setUncuttabilities(forcedCycle, 0);
  // Two 5-cycles 0..4 and 5..9, to be joined by 0-5 and one more edge.
  const EdgeList cycles = joined(cycleEdges(0, 5), cycleEdges(5, 5));
  const std::string about = "About to check 2-Edge-Cuts.\n";
  const std::string still = about + "IsHamiltonian still = 2 after finding 2-Edge-Cuts.\n";
  const std::string sixCycleCuts =
      "0-1 2-3 0.5;0-1 3-4 1;0-1 4-5 0.5;0-5 1-2 0.5;0-5 2-3 1;0-5 3-4 0.5;1-2 3-4 0.5;1-2 4-5 1;"
      "2-3 4-5 0.5;";
  // Name, graph, result, verdict, edges forced, lines, cuts listed ("none": no list installed),
  // whether the run is stopped first.
  std::tuple<const char*, Graph, bool, HamiltonicityState, EdgeSet, std::string, const char*, bool> cases[] =
      {
          // The second scan lists the cut again, now forced.
          {"joined blocks", pruned, true, kUndecided, {{0, 4}, {1, 5}}, still, "0-4 1-5 1;", false},
          {"no list", blocks, true, kUndecided, {{0, 4}, {1, 5}}, still, "none", false},
          {"stopped", blocks, false, kUndecided, {}, about, "", true},
          // A decided graph still gets both lines (that nothing changes is a property of every check).
          {"decided", decided, false, kNotHamiltonian, {}, still, "", false},
          // Joined at adjacent nodes the cycles are Hamiltonian (0-4-3-2-1-6-7-8-9-5-0): the forcing
          // and re-pruning close the cycle.
          {"adjacent",
           makeGraph(10, joined(cycles, {{0, 5}, {1, 6}})),
           true,
           kHamiltonian,
           {{0, 5}, {1, 6}},
           about + "Checking 2-Edge-Cuts found a Hamiltonian Cycle.\n",
           "",
           false},
          // Joined at four distinct nodes two apart they are not.
          {"distant",
           makeGraph(10, joined(cycles, {{0, 5}, {2, 7}})),
           true,
           kNotHamiltonian,
           {},
           about + "Checking 2-Edge-Cuts caused the graph to become non-Hamiltonian.\n",
           "",
           false},
          {"forced cycle", forcedCycle, false, kUndecided, {}, still, sixCycleCuts.c_str(), false},
      };
  for (auto& [name, g, expected, verdict, forced, lines, cuts, stopped] : cases) {
    SCOPED_TRACE(name);
    const EdgeSet edges = currentEdges(g);
    const std::string before = snapshot(g);
    if (cuts != std::string("none")) g.twoEdgeCuts = std::make_unique<CutList>();
    StopToken stop;
    if (stopped) stop.requestStop();
    CapturedDiagnostics out;
    const bool result = checkTwoEdgeCuts(g, 1, &stop);
    EXPECT_EQ(
        std::tuple(result, g.isHamiltonian, out.text(), g.twoEdgeCuts ? listed(*g.twoEdgeCuts) : "none"),
        std::tuple(expected, verdict, lines, cuts));
    for (auto [v, w] : forced) EXPECT_TRUE(g.isUncuttableEdge(v, w)) << v << "," << w;
    EXPECT_TRUE(!result || verdict != kUndecided || !checkTwoEdgeCuts(g, 0))
        << "a second scan finds nothing new";
    if (result) continue;
    // Only the order of neighbour arrays may differ.
    EXPECT_EQ(std::tuple(currentEdges(g), snapshot(g).size()), std::tuple(edges, before.size()));
    EXPECT_TRUE(!stopped || snapshot(g) == before);
  }
}

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
  // Name, graph, verdict, lines, whether the run is stopped first.
  std::tuple<const char*, Graph, HamiltonicityState, std::string, bool> cases[] = {
      // The pair pass finds the cut, and the single-region pass (which always runs) again.
      {"three chains", blocksJoinedByChains(2, three), kNotHamiltonian, std::string(kOpening) + kOdd + kOdd,
       false},
      {"three chains, stopped", blocksJoinedByChains(2, three), kUndecided, pass, true},
      {"two chains", blocksJoinedByChains(2, {{0, 5}, {1, 6}}), kUndecided, pass, false},
      {"four chains", blocksJoinedByChains(2, {{0, 5}, {1, 6}, {2, 7}, {3, 8}}), kUndecided, pass, false},
      // One chain between each pair: every pair count is odd, but no single chain is a cut,
      // and every region total is even.
      {"three regions in a ring", blocksJoinedByChains(3, {{0, 5}, {1, 10}, {6, 11}}), kUndecided, pass,
       false},
      // Region 1 has three chains out: only the single-region pass sees the odd cut.
      {"three out of one region", blocksJoinedByChains(3, {{0, 5}, {1, 10}, {2, 11}, {6, 12}, {7, 13}}),
       kNotHamiltonian, std::string(kOpening) + kOdd, false},
      {"two K4", makeGraph(8, joined(completeEdges(0, 4), completeEdges(4, 4))), kUndecided, pass, false},
      {"forced cycle", forcedCycle, kUndecided, pass, false},
      {"no nodes", Graph(), kUndecided, pass, false},
      {"decided", decided, kNotHamiltonian, kOpening, false},
      // Inconsistent chain records: forced edges without chains, or a wrong chain index.
      {"forced edges, no chains", blocksJoinedByChains(2, three, false), kUndecided,
       std::string(kOpening) + kWrong, false},
      {"wrong chain index", wrongIndex, kUndecided, std::string(kOpening) + kWrong, false},
  };
  for (auto& [name, g, verdict, lines, stopped] : cases) {
    const HamiltonicityState start = g.isHamiltonian;
    const std::string before = snapshot(g);
    StopToken stop;
    if (stopped) stop.requestStop();
    CapturedDiagnostics out;
    initialPruningCheckForOddForcedCut(g, 1, &stop);
    EXPECT_EQ(std::tuple(g.isHamiltonian, out.text()), std::tuple(verdict, lines)) << name;
    g.isHamiltonian = start;
    EXPECT_EQ(snapshot(g), before) << name << ": only the verdict may change";  // marks cleared too
  }
}

}  // namespace
}  // namespace hc
