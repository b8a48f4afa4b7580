// Trial cuts and forces: exact roll-back, nesting of undo logs, and soundness of the
// verdicts against a brute-force enumeration of Hamiltonian cycles.
#include <gtest/gtest.h>

#include <sstream>

#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/disjunction_check.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "lookahead_test_support.h"

namespace hc {
namespace {

using namespace hc::testing;

TEST(SimulateCut, KnownVerdictsLeaveTheGraphIdentical) {
  // 0-1 forced; cutting 2-5 leaves node 2 with degree 2, and forcing its edges closes the
  // ring 0-1-2 on 3 of 6 nodes.
  Graph ring = makeGraph(6, {{0, 1}, {0, 3}, {1, 4}, {2, 0}, {2, 1}, {2, 5}, {3, 4}, {3, 5}, {4, 5}});
  ring.force(0, 1);
  // Nothing forced: the cut leaves node 1 with degree 1, which the cut does not test.
  Graph pendant = makeGraph(4, {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {2, 3}});
  Graph prism = makeGraph(6, prismEdges());
  struct Case {
    Graph* graph;
    int32_t a, b;
    int16_t options;
    HamiltonicityState verdict;
  };
  const Case cases[] = {{&ring, 2, 5, 0, kNotHamiltonian}, {&ring, 2, 5, 1, kNotHamiltonian},
                        {&pendant, 0, 1, 0, kUndecided}, {&prism, 0, 1, 0, kHamiltonian}};
  for (const Case& c : cases) {
    const std::string before = snapshot(*c.graph);
    EXPECT_EQ(simulateCut(*c.graph, c.a, c.b, c.options, c.options), c.verdict) << c.a << "," << c.b;
    EXPECT_EQ(snapshot(*c.graph), before);
    EXPECT_EQ(c.graph->actionList, nullptr);
  }
  // A decided graph: the error line, and the trial ends undecided.
  CapturedDiagnostics out;
  pendant.isHamiltonian = kNotHamiltonian;
  simulateCut(pendant, 2, 3, 0, 0);
  EXPECT_EQ(pendant.isHamiltonian, kUndecided);
  EXPECT_EQ(out.text(), "Error: At top of simulate cut but isHamiltonian = 0\n");
}

TEST(SimulateCut, NestedTrialsLeaveEachEnclosingListWithItsOwnRecords) {
  enableFixedSeed(11);
  Graph g = makeGraph(8, joined(cycleEdges(8), {{0, 4}, {1, 5}, {2, 6}, {3, 7}, {0, 2}, {5, 7}}));
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
// and its verdict agrees with brute force: 0 only when no remaining cycle avoids the edge
// (or, for a force, uses it), 1 only when one does; the Disjunction Check rejects only
// graphs without a cycle.
TEST(SimulateCut, VerdictsAreSoundAndTrialsLeaveNoTrace) {
  enableFixedSeed(5);
  int32_t zeros = 0, ones = 0;
  for (Graph& g : openRandomGraphs(12345, 120)) {
    const auto valid = cyclesKeepingForcedEdges(g);
    const std::string before = snapshot(g);
    for (auto [v, w] : currentEdges(g)) {
      if (g.isUncuttableEdge(v, w)) continue;
      SCOPED_TRACE(before + "edge " + std::to_string(v) + "," + std::to_string(w));
      bool avoidable = false, usable = false;
      for (const EdgeSet& cycle : valid) {
        usable = usable || cycle.count({v, w}) > 0;
        avoidable = avoidable || cycle.count({v, w}) == 0;
      }
      for (int16_t dc : {0, 1}) {
        const HamiltonicityState r = simulateCut(g, v, w, dc, dc);
        ASSERT_EQ(snapshot(g), before);
        if (r != kUndecided) {
          EXPECT_EQ(avoidable, r == kHamiltonian);
        }
        zeros += r == kNotHamiltonian ? 1 : 0;
        ones += r == kHamiltonian ? 1 : 0;
      }
      const HamiltonicityState f = g.simulateForce(v, w);
      ASSERT_EQ(snapshot(g), before);
      if (f == kNotHamiltonian) {
        EXPECT_FALSE(usable);
      }
    }
    disjunctionScan(g, 0);
    if (g.isHamiltonian == kNotHamiltonian) {
      EXPECT_TRUE(valid.empty());
    }
  }
  EXPECT_GT(zeros, 10);
  EXPECT_GT(ones, 10);
  disableFixedSeed();
}

}  // namespace
}  // namespace hc
