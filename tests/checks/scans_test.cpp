// Lightning and HeadHunter: what each cuts and forces, the verdicts they reach with their
// exact lines, what they leave alone, and silence at verbose 0.
#include "checks/scans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "core/random.h"

namespace hc {
namespace {

using namespace hc::testing;

// Node 0 of degree 4 whose edges to 1 and 2 are forced; 3 has degree 3.
Graph lightningGraph() {
  Graph g = makeGraph(8, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 5}, {1, 7}, {2, 6}, {2, 7},
                          {3, 5}, {3, 6}, {4, 5}, {4, 6}, {4, 7}, {5, 6}, {6, 7}});
  Node::setUncut(g.node(0), g.node(1));
  Node::setUncut(g.node(0), g.node(2));
  g.howManyUncuttable = 2;
  return g;
}

Graph withChains(Graph g) {
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  return g;
}

TEST(Scans, KnownAnswersWithTheirLines) {
  using Scan = void (*)(Graph&, int16_t);
  const Scan both = [](Graph& g, int16_t verbose) {
    lightning(g, verbose);
    HeadHunter(g, verbose);
  };
  // Heads 0 and 1 of the chain 0-2-1 are adjacent.
  const Graph headHunter = withChains(
      makeGraph(6, {{0, 2}, {2, 1}, {0, 1}, {0, 3}, {0, 4}, {1, 3}, {1, 5}, {3, 4}, {4, 5}, {3, 5}}));
  // Two K4 blocks joined by the chains 0-8-4 and 1-9-10-5: no heads adjacent.
  const EdgeList blocks =
      joined(joined(completeEdges(0, 4), completeEdges(4, 4)), {{0, 8}, {8, 4}, {1, 9}, {9, 10}, {10, 5}});
  Graph forcedPartner = headHunter;
  Node::setUncut(forcedPartner.node(0), forcedPartner.node(1));  // as a 2-edge-cut forcing would
  // Node 0 (degree 3) is forced to 1 and 2; cutting 0-3 leaves node 3 with degree 1 and too
  // few edges: edges 5 < nodes 6 after the cut.
  Graph pendant = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {3, 4}, {4, 5}});
  Node::setUncut(pendant.node(0), pendant.node(1));
  Node::setUncut(pendant.node(0), pendant.node(2));
  Graph decided = lightningGraph(), decidedYes = lightningGraph();
  decided.isHamiltonian = kNotHamiltonian;
  decidedYes.isHamiltonian = kHamiltonian;
  const std::string runL = "About to run lightning.\n", runH = "About to run HeadHunter.\n";
  const std::string stillL = runL + "IsHamiltonian still = 2 after running lightning.\n";
  const char* kLightningRejects = "Lightning caused the graph to become non-Hamiltonian the graph.\n";
  const char* kHeadHunterSolves = "HeadHunter found a HC.\n";
  const EdgeList chord = joined(cycleEdges(0, 5), {{0, 2}});
  const std::string stillH = runH + "IsHamiltonian still = 2 after running HeadHunter.\n";
  struct Case {
    const char* name;
    Graph graph;
    Scan scan;
    HamiltonicityState verdict;
    EdgeSet removed;  // not checked on a rejection
    int32_t forced;
    std::string lines;
  };
  Case cases[] = {
      // Node 0 loses its unforced edges; node 3 is left with degree 2, both edges forced.
      {"lightning", lightningGraph(), &lightning, kUndecided, {{0, 3}, {0, 4}}, 4, stillL},
      {"adjacent heads", headHunter, &HeadHunter, kUndecided, {{0, 1}}, 2, stillH},
      // In particular no complaint about cutting a forced edge.
      {"forced partner edge", forcedPartner, &HeadHunter, kUndecided, {}, 2, stillH},
      {"heads apart", withChains(makeGraph(11, blocks)), &HeadHunter, kUndecided, {}, 5, stillH},
      {"pendant", pendant, &lightning, kNotHamiltonian, {}, 0, runL + kLightningRejects},
      // A 5-cycle plus the chord 0-2; the chain 2-3-4-0 has adjacent heads 0 and 2 and so does
      // the chain 0-1-2. Cutting the chord leaves the cycle.
      {"chord", withChains(makeGraph(5, chord)), &HeadHunter, kHamiltonian, {{0, 2}}, 5,
       runH + kHeadHunterSolves},
      {"decided", decided, both, kNotHamiltonian, {}, 2, runL + runH},
      {"decided Hamiltonian", decidedYes, both, kHamiltonian, {}, 2, runL + runH},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    Graph quiet(c.graph);
    const std::string before = snapshot(c.graph);
    const HamiltonicityState start = c.graph.isHamiltonian;
    CapturedDiagnostics out;
    seedRandom(7);
    c.scan(c.graph, 1);
    EXPECT_EQ(std::tuple(c.graph.isHamiltonian, out.text()), std::tuple(c.verdict, c.lines));
    EdgeSet removed;
    std::ranges::set_difference(currentEdges(quiet), currentEdges(c.graph),
                                std::inserter(removed, removed.end()));
    if (c.verdict != kNotHamiltonian || start == kNotHamiltonian) {
      EXPECT_EQ(std::tuple(removed, c.graph.howManyUncuttable), std::tuple(c.removed, c.forced));
    }
    if (c.verdict == start && removed.empty()) EXPECT_EQ(snapshot(c.graph), before);
    out.clear();
    seedRandom(7);
    c.scan(quiet, 0);
    EXPECT_EQ(std::tuple(out.text(), snapshot(quiet)), std::tuple("", snapshot(c.graph)));
  }
}

}  // namespace
}  // namespace hc
