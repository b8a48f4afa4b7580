// Trial cuts and forces: exact roll-back, nesting of undo logs, and soundness of the
// verdicts against a brute-force enumeration of Hamiltonian cycles.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/disjunction_check.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "lookahead_test_support.h"
#include "schc/stone_carver.h"

namespace hc {
namespace {

using testing::allHamiltonianCycles;
using testing::makeGraph;
using testing::snapshot;

// 0-1 forced beforehand; cutting 2-5 leaves node 2 with degree 2, and forcing its two
// edges closes the ring 0-1-2 on 3 of 6 nodes.
Graph ringTrialGraph() {
  Graph g = makeGraph(6, {{0, 1}, {0, 3}, {1, 4}, {2, 0}, {2, 1}, {2, 5}, {3, 4}, {3, 5}, {4, 5}});
  g.force(0, 1);
  return g;
}

TEST(SimulateCut, KnownVerdictsLeaveTheGraphIdentical) {
  struct Case {
    const char* name;
    Graph graph;
    int32_t a, b;
    HamiltonicityState verdict;
  };
  Case cases[] = {
      // Cutting 2-5 leaves node 2 with degree 2, and forcing its edges closes a ring 0-1-2.
      {"ring", ringTrialGraph(), 2, 5, kNotHamiltonian},
      // Nothing forced: the cut leaves node 1 with degree 1, which the cut does not test.
      {"degree one", makeGraph(4, {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {2, 3}}), 0, 1, kUndecided},
      {"prism chord", makeGraph(6, testing::prismEdges()), 0, 1, kHamiltonian},
  };
  for (Case& c : cases) {
    const std::string before = snapshot(c.graph);
    EXPECT_EQ(simulateCut(c.graph, c.a, c.b, 0, 0), c.verdict) << c.name;
    EXPECT_EQ(snapshot(c.graph), before) << c.name;
    EXPECT_EQ(c.graph.actionList, nullptr);
  }
  // With the Disjunction Check and the biconnectivity test switched on.
  EXPECT_EQ(simulateCut(cases[0].graph, 2, 5, 1, 1), kNotHamiltonian);
  EXPECT_EQ(cases[0].graph.simulateForce(2, 5), cases[0].graph.simulateForce(2, 5));
  EXPECT_EQ(snapshot(cases[0].graph), snapshot(ringTrialGraph()));
  // A chord whose deletion closes the cycle is cut for real by Full LAS.
  Graph& prism = cases[2].graph;
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  prism.printLevel = 2;
  prism.indentDepth = 2;
  EXPECT_FALSE(lookAheadSequencing(prism, 0));
  EXPECT_EQ(prism.isHamiltonian, kHamiltonian);
  // A decided graph: the error line, and the trial ends undecided.
  cases[1].graph.isHamiltonian = kNotHamiltonian;
  simulateCut(cases[1].graph, 2, 3, 0, 0);
  EXPECT_EQ(cases[1].graph.isHamiltonian, kUndecided);
  EXPECT_EQ(log.str(),
            "  Lookahead Sequencing cut an edge. howManyUncuttable = 6\n"
            "Error: At top of simulate cut but isHamiltonian = 0\n");
}

TEST(SimulateCut, FullLasForcesAnEdgeWhoseTrialIsFatal) {
  enableFixedSeed(4);
  // Petersen has no Hamiltonian cycle, so no trial can give 1; with 0-1 forced the first
  // fatal trials come after some undecided ones.
  Graph g = makeGraph(10, testing::petersenEdges());
  g.force(0, 1);
  // The first edge in pass order whose trial gives 0 is the first one Full LAS forces.
  std::string expected;
  for (int32_t i = 0; i < g.howManyNodes && expected.empty(); ++i) {
    const Node& n = g.node(i);
    for (int32_t k = 0; k < n.degree && expected.empty(); ++k) {
      const int32_t j = n.neighborArray[k];
      if (j <= i || g.isUncuttableEdge(i, j)) continue;
      const HamiltonicityState r = simulateCut(g, i, j, 0, 0);
      ASSERT_NE(r, kHamiltonian);
      if (r == kNotHamiltonian) expected = std::to_string(i) + "," + std::to_string(j);
    }
  }
  ASSERT_FALSE(expected.empty());
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  g.printLevel = 2;
  EXPECT_TRUE(lookAheadSequencing(g, 0));
  const std::string text = log.str();
  const std::string line = "Lookahead Sequencing forced edge " + expected + " howManyUncuttable = ";
  EXPECT_EQ(text.find("Lookahead Sequencing forced edge "), text.find(line)) << text;
  EXPECT_NE(text.find(line), std::string::npos) << text;
  disableFixedSeed();
}

TEST(SimulateCut, NestedTrialsLeaveEachEnclosingListWithItsOwnRecords) {
  enableFixedSeed(11);
  Graph g = makeGraph(8, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 0}, {0, 4}, {1, 5}, {2, 6},
                          {3, 7}, {0, 2}, {5, 7}});
  const std::string original = snapshot(g);
  {
    ScopedActionList outer(g);
    g.cut(0, 4);
    ActionList& outerList = outer.list();
    const int32_t outerRecords = outerList.count();
    ASSERT_GT(outerRecords, 0);
    const std::string afterOuter = snapshot(g);
    {
      ScopedActionList middle(g);
      // Full LAS with the Disjunction Check: trials inside trials inside this list.
      lookAheadSequencing(g, 1);
      EXPECT_EQ(outerList.count(), outerRecords);
      EXPECT_GT(middle.list().count(), 0);
      g.undoActions();
      EXPECT_TRUE(middle.list().empty());
      g.isHamiltonian = kUndecided;
    }
    EXPECT_EQ(snapshot(g), afterOuter);
    EXPECT_EQ(&outer.list(), &outerList);
    EXPECT_EQ(outerList.count(), outerRecords);
    g.undoActions();
  }
  EXPECT_EQ(snapshot(g), original);
  EXPECT_EQ(g.actionList, nullptr);
  disableFixedSeed();
}

// On small random graphs after the initial pruning, every trial restores the graph exactly
// and its verdict agrees with brute force: 0 only when no remaining cycle avoids the edge,
// 1 only when one does.
TEST(SimulateCut, VerdictsAreSoundAndTrialsLeaveNoTrace) {
  enableFixedSeed(5);
  std::mt19937 rng(12345);
  int32_t checkedZero = 0;
  int32_t checkedOne = 0;
  for (int32_t round = 0; round < 120; ++round) {
    const int32_t n = 6 + static_cast<int32_t>(rng() % 5);
    Graph g = makeGraph(n, testing::randomEdges(rng, n, 0.45));
    if (fastInitialPruning(g, 65535, 0) != kUndecided) continue;
    const auto cycles = allHamiltonianCycles(g);
    // Only cycles that keep every forced edge count.
    std::vector<const testing::EdgeSet*> valid;
    for (const auto& cycle : cycles) {
      bool keepsForced = true;
      for (int32_t v = 0; v < n; ++v) {
        for (int32_t u : {g.node(v).uncuttable1, g.node(v).uncuttable2}) {
          if (u >= 0 && !cycle.count(v < u ? std::make_pair(v, u) : std::make_pair(u, v))) keepsForced = false;
        }
      }
      if (keepsForced) valid.push_back(&cycle);
    }
    const std::string before = snapshot(g);
    for (int32_t v = 0; v < n; ++v) {
      for (int32_t k = 0; k < g.node(v).degree; ++k) {
        const int32_t w = g.node(v).neighborArray[k];
        if (w <= v || g.isUncuttableEdge(v, w)) continue;
        bool avoidable = false;
        for (const auto* cycle : valid) avoidable = avoidable || !cycle->count({v, w});
        for (int16_t dc : {0, 1}) {
          const HamiltonicityState r = simulateCut(g, v, w, dc, dc);
          ASSERT_EQ(snapshot(g), before) << "round " << round << " edge " << v << "," << w;
          if (r == kNotHamiltonian) {
            EXPECT_FALSE(avoidable) << "round " << round << " edge " << v << "," << w;
            ++checkedZero;
          }
          if (r == kHamiltonian) {
            EXPECT_TRUE(avoidable) << "round " << round << " edge " << v << "," << w;
            ++checkedOne;
          }
        }
        const HamiltonicityState f = g.simulateForce(v, w);
        ASSERT_EQ(snapshot(g), before);
        if (f == kNotHamiltonian) {
          bool usable = false;
          for (const auto* cycle : valid) usable = usable || cycle->count({v, w}) > 0;
          EXPECT_FALSE(usable) << "round " << round << " edge " << v << "," << w;
        }
      }
    }
  }
  EXPECT_GT(checkedZero, 10);
  EXPECT_GT(checkedOne, 10);
  disableFixedSeed();
}

}  // namespace
}  // namespace hc
