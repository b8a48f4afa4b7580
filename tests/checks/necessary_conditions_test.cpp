// The necessary conditions: each verdict with its exact verbose lines, known answers of the
// graph predicates on small graphs, and biconnectivity against a reference on random graphs.
#include "checks/necessary_conditions.h"

#include <gtest/gtest.h>

#include <functional>

#include "check_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

constexpr const char* kConnectedAbout = "About to check if the graph is connected and not unevenly bipartite.\n";
constexpr const char* kConnectedPass = "The graph is connected and not unevenly bipartite.\n";

TEST(NecessaryConditions, EachVerdictWithItsLines) {
  using Check = std::function<void(Graph&)>;
  const Check enough = [](Graph& g) { checkEnoughEdges(g, 1); };
  const Check lowDegree = [](Graph& g) { checkLowDegreeNodes(g, 1); };
  const Check connected = [](Graph& g) { checkConnectedNotUnevenlyBipartite(g, 1); };
  const Check isConnectedCheck = [](Graph& g) { isConnected(g, 1); };
  const Check all = [&](Graph& g) {
    enough(g);
    lowDegree(g);
    connected(g);
    isConnectedCheck(g);
    isBipartite(g, 1);
    isBiconnected(g, 1);
    checkConnectedNotUnevenlyBipartite(g, 2);  // only verbose 1 prints
  };
  const std::string allLines = std::string("About to check if the graph has enough edges.\nThe graph has enough edges.\n") +
                               "About to check for low-degree nodes.\n"
                               "IsHamiltonian still = 2 after checking for low-degree nodes.\n" +
                               kConnectedAbout + kConnectedPass + kConnectedAbout + kConnectedPass +
                               "About to check if the graph is bipartite.\n";
  const EdgeList tree{{0, 1}, {0, 2}, {1, 3}, {1, 4}};
  struct Case {
    const char* name;
    Graph graph;
    HamiltonicityState start;
    Check check;
    HamiltonicityState verdict;
    std::string text;
  };
  Case cases[] = {
      {"6-cycle", makeGraph(6, cycleEdges(0, 6)), kUndecided, all, kUndecided, allLines},
      {"decided tree", makeGraph(5, tree), kNotHamiltonian, all, kNotHamiltonian, allLines},
      {"tree", makeGraph(5, tree), kUndecided, enough, kNotHamiltonian,
       "About to check if the graph has enough edges.\n"
       "Checking for enough edges found the graph to be non-Hamiltonian.\n"},
      {"pendant", makeGraph(6, joined(cycleEdges(0, 5), {{2, 5}})), kUndecided, lowDegree, kNotHamiltonian,
       "About to check for low-degree nodes.\nChecking for low-degree nodes rejected the graph.\n"},
      {"K(2,3)", makeGraph(5, completeBipartiteEdges(2, 3)), kUndecided, connected, kNotHamiltonian,
       std::string(kConnectedAbout) + "The graph is unevenly bipartite.\n"},
      {"K(3,3)", makeGraph(6, completeBipartiteEdges(3, 3)), kUndecided, connected, kUndecided,
       std::string(kConnectedAbout) + kConnectedPass},
      {"two 5-cycles", makeGraph(10, joined(cycleEdges(0, 5), cycleEdges(5, 5))), kUndecided, connected,
       kNotHamiltonian, std::string(kConnectedAbout) + "The graph is not connected.\n"},
      {"two 5-cycles, isConnected", makeGraph(10, joined(cycleEdges(0, 5), cycleEdges(5, 5))), kUndecided,
       isConnectedCheck, kNotHamiltonian, std::string(kConnectedAbout) + "The graph is not connected.\n"},
      {"no edges", makeGraph(6, {}), kUndecided, connected, kNotHamiltonian,
       std::string(kConnectedAbout) + "The graph is not connected.\n"},
  };
  for (Case& c : cases) {
    c.graph.isHamiltonian = c.start;
    const std::string before = snapshot(c.graph);
    CapturedDiagnostics out;
    c.check(c.graph);
    EXPECT_EQ(c.graph.isHamiltonian, c.verdict) << c.name;
    EXPECT_EQ(out.text(), c.text) << c.name;
    c.graph.isHamiltonian = c.start;
    EXPECT_EQ(snapshot(c.graph), before) << c.name << ": only the verdict may change";
  }
}

TEST(NecessaryConditions, KnownAnswersOnSmallGraphs) {
  // Node 4 without neighbours beside a K5 on the other nodes: the root has no neighbour.
  EdgeList lonelyRoot;
  for (auto [a, b] : completeEdges(0, 5)) lonelyRoot.emplace_back(a < 4 ? a : a + 1, b < 4 ? b : b + 1);
  struct Case {
    std::string name;
    Graph graph;
    bool connected, bipartite, biconnected;
  };
  std::vector<Case> cases = {
      {"no nodes", Graph(), true, true, false},
      {"one node", makeGraph(1, {}), true, true, true},
      {"one edge", makeGraph(2, {{0, 1}}), true, true, true},
      {"two apart", makeGraph(2, {}), false, true, false},
      {"path 0-1-2", makeGraph(3, {{0, 1}, {1, 2}}), true, true, false},
      {"path 1-0-2", makeGraph(3, {{1, 0}, {0, 2}}), true, true, false},  // the root is the cut
      {"K4", makeGraph(4, completeEdges(0, 4)), true, false, true},
      {"K(3,3)", makeGraph(6, completeBipartiteEdges(3, 3)), true, true, true},
      {"lonely root", makeGraph(6, lonelyRoot), false, false, false},
      {"7 apart", makeGraph(7, {}), false, true, false},
      {"two 5-cycles", makeGraph(10, joined(cycleEdges(0, 5), cycleEdges(5, 5))), false, false, false},
      // Two triangles sharing the root, or another node.
      {"bowtie at 0", makeGraph(5, joined(cycleEdges(0, 3), {{0, 3}, {3, 4}, {4, 0}})), true, false, false},
      {"bowtie at 2", makeGraph(5, joined(cycleEdges(0, 3), {{2, 3}, {3, 4}, {4, 2}})), true, false, false},
  };
  for (int32_t n = 3; n <= 9; ++n) cases.push_back({"cycle " + std::to_string(n), makeGraph(n, cycleEdges(0, n)), true, n % 2 == 0, true});
  for (const Case& c : cases) {
    Graph a(c.graph), b(c.graph), d(c.graph);
    EXPECT_EQ(isConnected(a, 0), c.connected) << c.name;
    EXPECT_EQ(isBipartite(b, 0), c.bipartite) << c.name;
    EXPECT_EQ(isBiconnected(d, 0), c.biconnected) << c.name;
    EXPECT_TRUE(allMarksZero(a) && allMarksZero(b) && allMarksZero(d)) << c.name;
  }
}

// Connectivity and bipartiteness meet their reference in the fill test.
TEST(NecessaryConditions, BiconnectivityAgreesWithTheReference) {
  std::mt19937 rng(12345);
  for (int trial = 0; trial < 400; ++trial) {
    const int32_t n = 1 + static_cast<int32_t>(rng() % 12);
    Graph g = makeGraph(n, randomEdges(rng, n, 0.1 + 0.6 * (rng() % 100) / 100.0));
    EXPECT_EQ(isBiconnected(g, 0), referenceBiconnected(g)) << trial;
    EXPECT_TRUE(allMarksZero(g));
  }
}

}  // namespace
}  // namespace hc
