#include "checks/necessary_conditions.h"

#include <gtest/gtest.h>

#include <functional>

#include "check_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

// Two 5-cycles sharing node `shared`: nodes 0..8.
Graph twoFiveCyclesSharing(int32_t shared) {
  // Cycle A uses shared plus four others, cycle B shared plus the remaining four.
  std::vector<int32_t> others;
  for (int32_t i = 0; i < 9; ++i)
    if (i != shared) others.push_back(i);
  EdgeList e;
  std::vector<int32_t> a{shared, others[0], others[1], others[2], others[3]};
  std::vector<int32_t> b{shared, others[4], others[5], others[6], others[7]};
  for (int i = 0; i < 5; ++i) e.emplace_back(a[i], a[(i + 1) % 5]);
  for (int i = 0; i < 5; ++i) e.emplace_back(b[i], b[(i + 1) % 5]);
  return makeGraph(9, e);
}

// The lines of checkEnoughEdges, checkLowDegreeNodes, checkConnectedNotUnevenlyBipartite and
// isConnected at verbose 1 when none of them rejects the graph.
constexpr const char* kPassLines =
    "About to check if the graph has enough edges.\n"
    "The graph has enough edges.\n"
    "About to check for low-degree nodes.\n"
    "IsHamiltonian still = 2 after checking for low-degree nodes.\n"
    "About to check if the graph is connected and not unevenly bipartite.\n"
    "The graph is connected and not unevenly bipartite.\n"
    "About to check if the graph is connected and not unevenly bipartite.\n"
    "The graph is connected and not unevenly bipartite.\n";

TEST(NecessaryConditions, CyclePassesEveryCheck) {
  for (int32_t n = 3; n <= 9; ++n) {
    Graph g = makeGraph(n, cycleEdges(0, n));
    checkEnoughEdges(g, 0);
    checkLowDegreeNodes(g, 0);
    checkConnectedNotUnevenlyBipartite(g, 0);
    EXPECT_TRUE(isConnected(g, 0));
    EXPECT_EQ(g.isHamiltonian, kUndecided) << n;
    EXPECT_EQ(isBipartite(g, 0), n % 2 == 0) << n;
    // Biconnected from five nodes on by the rooted search, and below five by the fallback root.
    EXPECT_TRUE(isBiconnected(g, 0)) << n;
    EXPECT_TRUE(allMarksZero(g));
  }
}

TEST(NecessaryConditions, CycleVerboseLinesAreExact) {
  Graph g = makeGraph(6, cycleEdges(0, 6));
  CapturedDiagnostics out;
  checkEnoughEdges(g, 1);
  checkLowDegreeNodes(g, 1);
  checkConnectedNotUnevenlyBipartite(g, 1);
  isConnected(g, 1);
  isBipartite(g, 1);
  isBiconnected(g, 1);
  EXPECT_EQ(out.text(), std::string(kPassLines) + "About to check if the graph is bipartite.\n");
  out.clear();
  checkEnoughEdges(g, 0);
  checkConnectedNotUnevenlyBipartite(g, 2);  // only 1 prints
  EXPECT_EQ(out.text(), "");
}

TEST(NecessaryConditions, TreeFailsTheEdgeCount) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {1, 3}, {1, 4}});
  CapturedDiagnostics out;
  checkEnoughEdges(g, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(out.text(),
            "About to check if the graph has enough edges.\n"
            "Checking for enough edges found the graph to be non-Hamiltonian.\n");
}

TEST(NecessaryConditions, LowDegreeNodeIsRejected) {
  // A 5-cycle with a pendant node 5 on node 2.
  Graph g = makeGraph(6, joined(cycleEdges(0, 5), {{2, 5}}));
  CapturedDiagnostics out;
  checkLowDegreeNodes(g, 1);
  EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(out.text(),
            "About to check for low-degree nodes.\nChecking for low-degree nodes rejected the graph.\n");
}

TEST(NecessaryConditions, BipartiteBalance) {
  Graph k23 = makeGraph(5, completeBipartiteEdges(2, 3));
  CapturedDiagnostics out;
  checkConnectedNotUnevenlyBipartite(k23, 1);
  EXPECT_EQ(k23.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(out.text(),
            "About to check if the graph is connected and not unevenly bipartite.\n"
            "The graph is unevenly bipartite.\n");
  EXPECT_TRUE(allMarksZero(k23));

  Graph k33 = makeGraph(6, completeBipartiteEdges(3, 3));
  checkConnectedNotUnevenlyBipartite(k33, 0);
  EXPECT_EQ(k33.isHamiltonian, kUndecided);
  EXPECT_TRUE(isBipartite(k33, 0));
  EXPECT_TRUE(isBiconnected(k33, 0));
}

TEST(NecessaryConditions, TwoDisjointCyclesAreNotConnected) {
  const std::function<void(Graph&)> checks[] = {[](Graph& g) { checkConnectedNotUnevenlyBipartite(g, 1); },
                                                [](Graph& g) { EXPECT_FALSE(isConnected(g, 1)); }};
  for (const auto& check : checks) {
    Graph g = makeGraph(10, joined(cycleEdges(0, 5), cycleEdges(5, 5)));
    EXPECT_FALSE(isBiconnected(g, 0));
    CapturedDiagnostics out;
    check(g);
    EXPECT_EQ(g.isHamiltonian, kNotHamiltonian);
    EXPECT_EQ(out.text(),
              "About to check if the graph is connected and not unevenly bipartite.\n"
              "The graph is not connected.\n");
    EXPECT_TRUE(allMarksZero(g));
  }
}

TEST(NecessaryConditions, SharedNodeIsACutVertex) {
  for (int32_t shared : {0, 2, 4, 5, 8}) {
    Graph g = twoFiveCyclesSharing(shared);
    EXPECT_TRUE(isConnected(g, 0)) << shared;
    EXPECT_FALSE(isBiconnected(g, 0)) << shared;
    EXPECT_TRUE(allMarksZero(g));
  }
}

TEST(NecessaryConditions, BiconnectedOnSmallAndOddGraphs) {
  EXPECT_FALSE(isBiconnected(*std::make_unique<Graph>(), 0));  // no nodes
  Graph one = makeGraph(1, {});
  EXPECT_TRUE(isBiconnected(one, 0));
  Graph two = makeGraph(2, {{0, 1}});
  EXPECT_TRUE(isBiconnected(two, 0));
  Graph twoApart = makeGraph(2, {});
  EXPECT_FALSE(isBiconnected(twoApart, 0));
  Graph path3 = makeGraph(3, {{0, 1}, {1, 2}});
  EXPECT_FALSE(isBiconnected(path3, 0));
  Graph path3b = makeGraph(3, {{1, 0}, {0, 2}});  // cut vertex is the fallback root
  EXPECT_FALSE(isBiconnected(path3b, 0));
  Graph triangle = makeGraph(3, cycleEdges(0, 3));
  EXPECT_TRUE(isBiconnected(triangle, 0));
  Graph k4 = makeGraph(4, completeEdges(0, 4));
  EXPECT_TRUE(isBiconnected(k4, 0));
  // Node 4 without neighbours beside a biconnected K5 on the other nodes.
  EdgeList e;
  for (auto [a, b] : completeEdges(0, 5)) e.emplace_back(a < 4 ? a : a + 1, b < 4 ? b : b + 1);
  Graph lonelyRoot = makeGraph(6, e);
  EXPECT_FALSE(isBiconnected(lonelyRoot, 0));
  Graph noEdges = makeGraph(7, {});
  EXPECT_FALSE(isBiconnected(noEdges, 0));
}

TEST(NecessaryConditions, NoNodesOrNoEdgesStayInBounds) {
  Graph empty;
  checkEnoughEdges(empty, 0);
  checkLowDegreeNodes(empty, 0);
  checkConnectedNotUnevenlyBipartite(empty, 0);
  EXPECT_TRUE(isConnected(empty, 0));
  EXPECT_TRUE(isBipartite(empty, 0));
  EXPECT_EQ(empty.isHamiltonian, kUndecided);

  Graph bare = makeGraph(6, {});
  checkConnectedNotUnevenlyBipartite(bare, 0);
  EXPECT_EQ(bare.isHamiltonian, kNotHamiltonian);
  EXPECT_TRUE(isBipartite(bare, 0));
  EXPECT_TRUE(allMarksZero(bare));
}

TEST(NecessaryConditions, DecidedGraphIsLeftAlone) {
  Graph g = makeGraph(5, {{0, 1}, {0, 2}, {1, 3}, {1, 4}});  // a tree: every check would fail it
  g.isHamiltonian = kNotHamiltonian;
  const std::string before = snapshot(g);
  CapturedDiagnostics out;
  checkEnoughEdges(g, 1);
  checkLowDegreeNodes(g, 1);
  checkConnectedNotUnevenlyBipartite(g, 1);
  EXPECT_TRUE(isConnected(g, 1));
  EXPECT_EQ(snapshot(g), before);
  EXPECT_EQ(out.text(), kPassLines);
}

TEST(NecessaryConditions, RandomGraphsAgreeWithReferences) {
  std::mt19937 rng(12345);
  for (int trial = 0; trial < 400; ++trial) {
    const int32_t n = 1 + static_cast<int32_t>(rng() % 12);
    const double p = 0.1 + 0.6 * (rng() % 100) / 100.0;
    const EdgeList edges = randomEdges(rng, n, p);
    Graph g = makeGraph(n, edges);
    const bool connected = referenceConnected(g);
    EXPECT_EQ(isBipartite(g, 0), referenceBipartite(g)) << trial;
    EXPECT_EQ(isBiconnected(g, 0), referenceBiconnected(g)) << trial;
    EXPECT_EQ(isConnected(g, 0), connected) << trial;
    EXPECT_TRUE(allMarksZero(g));

    Graph h = makeGraph(n, edges);
    checkConnectedNotUnevenlyBipartite(h, 0);
    EXPECT_TRUE(allMarksZero(h));
    if (!connected) {
      EXPECT_EQ(h.isHamiltonian, kNotHamiltonian) << trial;
    }
    // Sound: a Hamiltonian graph passes every check.
    if (referenceHamiltonian(h)) {
      checkEnoughEdges(h, 0);
      checkLowDegreeNodes(h, 0);
      EXPECT_EQ(h.isHamiltonian, kUndecided) << trial;
      EXPECT_TRUE(isBiconnected(h, 0)) << trial;
    }
  }
}

}  // namespace
}  // namespace hc
