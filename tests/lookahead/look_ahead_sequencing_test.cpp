// Full LAS, its initial-pruning wrapper and the Disjunction Check: messages, what is forced
// and what is left alone.
#include <gtest/gtest.h>

#include <sstream>

#include "checks/chain_building.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/disjunction_check.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "lookahead_test_support.h"
#include "schc/stone_carver.h"

namespace hc {
namespace {

using testing::makeGraph;
using testing::snapshot;

TEST(LookAheadSequencing, DoesNothingOnADecidedOrFullyForcedGraph) {
  Graph g = makeGraph(5, testing::cycleEdges(5));
  g.isHamiltonian = kNotHamiltonian;
  const std::string before = snapshot(g);
  EXPECT_FALSE(lookAheadSequencing(g, 0));
  EXPECT_EQ(snapshot(g), before);

  // Every edge forced (node level, as the initial forcing leaves a cycle before chains).
  Graph c = makeGraph(5, testing::cycleEdges(5));
  setUncuttabilities(c, 0);
  ASSERT_EQ(c.isHamiltonian, kUndecided);
  const std::string forced = snapshot(c);
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  c.printLevel = 2;
  EXPECT_FALSE(lookAheadSequencing(c, 1));
  EXPECT_EQ(snapshot(c), forced);
  EXPECT_EQ(log.str(), "");
}

TEST(LookAheadSequencing, InitialPruningWrapperLinesAndModes) {
  struct Case {
    int16_t disjunction;
    int16_t printLevel;
    HamiltonicityState start;
    const char* lines;
  };
  const Case cases[] = {
      {2, 0, kUndecided,
       "About to run Look Ahead Sequencing without Disjunction Check.\n"
       "IsHamiltonian = 1 after initialPruningLookAheadSequencing.\n"},
      {1, 2, kUndecided,
       "About to run Look Ahead Sequencing with Disjunction Check.\n"
       "Disjunction Lookahead Sequencing cut an edge. howManyUncuttable = 6\n"
       "IsHamiltonian = 1 after initialPruningLookAheadSequencing.\n"},
      {0, 0, kNotHamiltonian, ""},  // a decided graph: silent, nothing forced
  };
  for (const Case& c : cases) {
    Graph g = makeGraph(6, testing::prismEdges());
    g.isHamiltonian = c.start;
    g.printLevel = c.printLevel;
    std::ostringstream log;
    ScopedDiagnosticStream capture(log);
    EXPECT_FALSE(initialPruningLookAheadSequencing(g, c.start == kUndecided ? 1 : 0, c.disjunction));
    EXPECT_EQ(log.str(), c.lines) << c.disjunction;
  }
}

// Finds an edge whose trial cut and trial force are both fatal, on small graphs where the
// forced edges already rule out every cycle.
TEST(DisjunctionCheck, NamesTheFatalEdgeAndForcesNothing) {
  enableFixedSeed(9);
  // Two triangles joined at node 2 by a bridge-like pair: 0-1-2 and 2-3-4 share node 2,
  // plus the edge 1-3 so no node has degree below 2 and every cycle must pass 2 twice.
  Graph g = makeGraph(5, {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 2}, {1, 3}});
  // Nothing is forced; find what the scan decides edge by edge and compare with the line.
  std::string expected;
  for (int32_t v = 0; v < g.howManyNodes && expected.empty(); ++v) {
    const Node& n = g.node(v);
    for (int32_t k = 0; k < n.degree && expected.empty(); ++k) {
      const int32_t w = n.neighborArray[k];
      if (w <= v || g.isUncuttableEdge(v, w)) continue;
      if (simulateCut(g, v, w, 0, 0) == kNotHamiltonian && g.simulateForce(v, w) == kNotHamiltonian) {
        expected = std::to_string(v) + "," + std::to_string(w);
      }
    }
  }
  const std::string before = snapshot(g);
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  disjunctionCheck(g, 1);
  if (expected.empty()) {
    EXPECT_EQ(g.isHamiltonian, kUndecided);
    EXPECT_EQ(snapshot(g), before);
    EXPECT_EQ(log.str(), "About to run a disjunction check.\nIsHamiltonian still = 2 after the Disjunction Check.\n");
  } else {
    EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
    EXPECT_EQ(log.str(), "About to run a disjunction check.\nDisjunction check on edge " + expected +
                             " showed the graph to be non-Hamiltonian.\nDisjunction Check rejected the graph.\n");
    g.isHamiltonian = kUndecided;
    EXPECT_EQ(snapshot(g), before);  // nothing was forced or cut
  }
  disableFixedSeed();
}

TEST(DisjunctionCheck, LeavesEdgesWhoseDeletionAloneIsFatal) {
  // Hamiltonian (0-1-4-3-5-2), and deleting 2-5 is fatal: no edge is both.
  Graph g = makeGraph(6, {{0, 1}, {0, 3}, {1, 4}, {2, 0}, {2, 1}, {2, 5}, {3, 4}, {3, 5}, {4, 5}});
  g.force(0, 1);
  ASSERT_EQ(simulateCut(g, 2, 5, 0, 0), kNotHamiltonian);
  const std::string before = snapshot(g);
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  disjunctionScan(g, 0);
  EXPECT_EQ(log.str(), "");
  EXPECT_EQ(snapshot(g), before) << "the scan neither decides nor forces";
}

}  // namespace
}  // namespace hc
