// What src/run gives the window without the window: the Information page's figures (from the
// pruned copy, or from the edges alone when a node has degree below two) and the Co-HC
// runner's one decision per run, by depth limit and pruning level.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <random>
#include <thread>
#include <tuple>

#include "run/graph_information.h"
#include "run/method_runners.h"
#include "support/eventually.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

auto figuresOf(const GraphInformation& i) {
  const DegreeFigures& d = i.pruned;
  return std::tuple(i.name, d.nodes, d.edges, i.forcedEdges, d.averageDegree, d.minDegree, d.maxDegree,
                    i.bipartite, i.connected, i.biconnected);
}

TEST(GraphInformation, ALowDegreeGraphGetsThePruningsFiguresFromItsEdgesAlone) {
  // Random graphs, many with isolated or pendant nodes, some with a forced edge or decided
  // already: the page's figures equal those of the copy the root pruning leaves, and for a
  // node of degree below two they are read off an edge snapshot just as well.
  std::mt19937 rng(26);
  int32_t lowDegree = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const int32_t n = 1 + static_cast<int32_t>(rng() % 14);
    const double p = 0.05 + 0.1 * static_cast<double>(rng() % 8);
    EdgeList edges;
    for (int32_t a = 0; a < n; ++a)
      for (int32_t b = a + 1; b < n; ++b)
        if (std::uniform_real_distribution<double>(0, 1)(rng) < p) edges.emplace_back(a, b);
    Graph g = makeGraph(n, edges);
    if (trial % 4 == 0 && !edges.empty()) g.force(edges.front().first, edges.front().second);
    if (trial % 7 == 0) g.isHamiltonian = kNotHamiltonian;
    SCOPED_TRACE(snapshot(g));
    const RootPruning pruning = pruneAtRoot(g);
    const DegreeFigures pruned = degreeFigures(*pruning.graph);
    const GraphInformation expected{"g",
                                    pruned,
                                    pruning.graph->howManyUncuttable,
                                    pruning.bipartite,
                                    pruning.connected,
                                    pruning.biconnected,
                                    degreeFigures(g)};
    EXPECT_EQ(figuresOf(computeGraphInformation(g, "g")), figuresOf(expected));
    const std::optional<GraphInformation> fromEdges =
        lowDegreeGraphInformation(EdgeSnapshot(g), g.howManyUncuttable, "g");
    const bool low = degreeFigures(g).minDegree < 2;
    lowDegree += low;
    EXPECT_EQ(fromEdges.has_value(), low);
    if (fromEdges && g.isHamiltonian == kUndecided) {
      EXPECT_EQ(figuresOf(*fromEdges), figuresOf(expected));
    }
  }
  EXPECT_GT(lowDegree, 100);
  // Five million isolated nodes and one edge: figures without a solver graph.
  const std::vector<std::pair<int32_t, int32_t>> one{{0, 1}};
  const std::optional<GraphInformation> sparse =
      lowDegreeGraphInformation(EdgeSnapshot(5000000, one), 0, "s");
  ASSERT_TRUE(sparse.has_value());
  EXPECT_EQ(figuresOf(*sparse), std::tuple(std::string("s"), 5000000, 1, 0, 4e-7, 0, 1, true, false, false));
}

TEST(Runners, CohcResults) {
  const std::tuple<Graph, int32_t, int32_t, int16_t> rows[] = {
      {testing::petersenGraph(), 999999999, 5, 0},
      {testing::petersenGraph(), 0, 0, 2},
      {testing::makeGraph(6, testing::completeEdges(0, 6)), 999999999, 5, 1},
  };
  for (const auto& [graph, depth, level, expected] : rows) {
    CohcRunner runner;
    std::atomic<int> decisions{0};
    std::atomic<int16_t> result{-1};
    const CohcOptions settings{.maxSearchDepth = depth, .pruningLevel = level, .writeCycleFile = false};
    runner.start(shared(graph), settings, nullptr, std::make_shared<SearchTreeStatistics>(), [&](int16_t r) {
      result = r;
      ++decisions;
    });
    ASSERT_TRUE(eventually([&] { return decisions > 0; }));
    EXPECT_EQ(std::tuple(runner.runInProgress(), decisions.load(), result.load()),
              std::tuple(false, 1, expected))
        << "depth " << depth;
  }
}

}  // namespace
}  // namespace hc
