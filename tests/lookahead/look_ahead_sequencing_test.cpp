// Full LAS, its initial-pruning wrapper and the Disjunction Check: messages, what is forced
// and what is left alone, and the fixpoint Full LAS ends in on random graphs.
#include <gtest/gtest.h>

#include <tuple>

#include "checks/chain_building.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/disjunction_check.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "lookahead_test_support.h"

namespace hc {
namespace {

using namespace hc::testing;

constexpr const char* kWithout = "About to run Look Ahead Sequencing without Disjunction Check.\n";
constexpr const char* kSolved = "IsHamiltonian = 1 after initialPruningLookAheadSequencing.\n";

TEST(LookAheadSequencing, KnownAnswersWithTheirLines) {
  enableFixedSeed(4);
  // Every edge forced (node level, as the initial forcing leaves a cycle before chains).
  Graph forcedCycle = makeGraph(5, cycleEdges(5));
  setUncuttabilities(forcedCycle, 0);
  Graph decided = makeGraph(6, prismEdges());
  decided.isHamiltonian = kNotHamiltonian;
  Graph petersen = petersenGraph();
  petersen.force(0, 1);
  struct Case {
    Graph graph;
    int16_t mode, printLevel, indent;
    HamiltonicityState verdict;
    bool forced;
    std::string lines;
  };
  // On the prism every chord cut closes a cycle; the Petersen graph has none.
  Case cases[] = {
      {makeGraph(6, prismEdges()), 2, 0, 0, kHamiltonian, false, std::string(kWithout) + kSolved},
      {makeGraph(6, prismEdges()), 2, 2, 2, kHamiltonian, false,
       std::string(kWithout) + "  Lookahead Sequencing cut an edge. howManyUncuttable = 6\n" + kSolved},
      {makeGraph(6, prismEdges()), 1, 2, 0, kHamiltonian, false,
       "About to run Look Ahead Sequencing with Disjunction Check.\n"
       "Disjunction Lookahead Sequencing cut an edge. howManyUncuttable = 6\n" + std::string(kSolved)},
      {decided, 0, 2, 0, kNotHamiltonian, false, ""},
      {forcedCycle, 1, 2, 0, kUndecided, false,
       "About to run Look Ahead Sequencing with Disjunction Check.\n"
       "IsHamiltonian = 2 after initialPruningLookAheadSequencing.\n"},
      {petersen, 2, 2, 0, kNotHamiltonian, true,
       std::string(kWithout) +
           "Lookahead Sequencing forced edge 2,3 howManyUncuttable = 2\n"
           "Lookahead Sequencing forced edge 2,7 howManyUncuttable = 4\n"
           "Lookahead Sequencing forced edge 3,4 howManyUncuttable = 9\n"
           "Initial Pruning Look Ahead Sequencing solved the graph. isHamiltonian = 0\n"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.lines);
    const HamiltonicityState start = c.graph.isHamiltonian;
    const std::string before = snapshot(c.graph);
    c.graph.printLevel = c.printLevel;
    c.graph.indentDepth = c.indent;
    CapturedDiagnostics out;
    EXPECT_EQ(initialPruningLookAheadSequencing(c.graph, start == kUndecided ? 1 : 0, c.mode), c.forced);
    EXPECT_EQ(c.graph.isHamiltonian, c.verdict);
    EXPECT_EQ(out.text(), c.lines);
    if (c.verdict == start) {
      EXPECT_EQ(snapshot(c.graph), before);
    }
  }
  disableFixedSeed();
}

// Full LAS stops only when no trial of an edge left open decides anything (with its own
// Disjunction Check setting), and never loses a Hamiltonian cycle.
TEST(LookAheadSequencing, EndsWhereNoTrialDecidesAndKeepsEveryCycle) {
  enableFixedSeed(6);
  int32_t open = 0;
  for (const Graph& base : openRandomGraphs(99, 200)) {
    const bool hamiltonian = !cyclesKeepingForcedEdges(base).empty();
    for (int16_t dc : {0, 1}) {
      Graph g(base);
      lookAheadSequencing(g, dc);
      SCOPED_TRACE(snapshot(base) + "with DC " + std::to_string(dc));
      if (hamiltonian) {
        EXPECT_NE(g.isHamiltonian, kNotHamiltonian);
      }
      if (g.isHamiltonian != kUndecided) continue;
      ++open;
      EXPECT_EQ(cyclesKeepingForcedEdges(g).empty(), !hamiltonian);
      for (auto [v, w] : currentEdges(g)) {
        if (!g.isUncuttableEdge(v, w)) {
          EXPECT_EQ(simulateCut(g, v, w, dc, 0), kUndecided) << v << "," << w;
        }
      }
    }
  }
  EXPECT_GT(open, 10);
  disableFixedSeed();
}

TEST(DisjunctionCheck, RejectsOnlyOnAnEdgeWhoseCutAndForceAreBothFatal) {
  constexpr const char* kAbout = "About to run a disjunction check.\n";
  // Without a Hamiltonian cycle, and left open by the initial pruning.
  Graph none = makeGraph(8, {{0, 2}, {0, 3}, {0, 5}, {0, 6}, {1, 2}, {1, 4}, {1, 6}, {2, 7}, {3, 7}, {4, 5},
                             {5, 7}, {6, 7}});
  ASSERT_TRUE(allHamiltonianCycles(none).empty());
  ASSERT_EQ(fastInitialPruning(none, 65535, 0), kUndecided);
  // Hamiltonian (0-1-4-3-5-2), and deleting 2-5 is fatal: no edge is both.
  Graph one = makeGraph(6, {{0, 1}, {0, 3}, {1, 4}, {2, 0}, {2, 1}, {2, 5}, {3, 4}, {3, 5}, {4, 5}});
  one.force(0, 1);
  ASSERT_EQ(simulateCut(one, 2, 5, 0, 0), kNotHamiltonian);
  for (auto [g, verdict, lines] :
       {std::tuple{&none, kNotHamiltonian,
                   "Disjunction check on edge 0,2 showed the graph to be non-Hamiltonian.\n"
                   "Disjunction Check rejected the graph.\n"},
        std::tuple{&one, kUndecided, "IsHamiltonian still = 2 after the Disjunction Check.\n"}}) {
    const std::string before = snapshot(*g);
    CapturedDiagnostics out;
    disjunctionCheck(*g, 1);
    EXPECT_EQ(g->isHamiltonian, verdict);
    EXPECT_EQ(out.text(), std::string(kAbout) + lines);
    g->isHamiltonian = kUndecided;
    EXPECT_EQ(snapshot(*g), before) << "the check neither forces nor cuts";
  }
}

}  // namespace
}  // namespace hc
