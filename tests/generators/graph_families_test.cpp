// The eight families: exact counts, degree profiles, join orders and draws.
#include "generators/graph_families.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "core/graph_invariants.h"
#include "core/random.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::currentEdges;
using testing::EdgeSet;
using testing::neighbourList;
using Ids = std::vector<int32_t>;

// Builds a family into a fresh graph, finishes it and checks it is simple and consistent;
// the caller seeds beforehand.
template <typename Build>
Graph build(int32_t nodes, int16_t type, Build&& buildEdges) {
  Graph graph(nodes, type);
  buildEdges(graph);
  graph.finishConstruction();
  EXPECT_EQ(checkInvariants(graph), "");
  EXPECT_EQ(static_cast<int32_t>(currentEdges(graph).size()), graph.howManyEdges);
  return graph;
}

TEST(GraphFamilies, EdgeProbabilityDrawsOncePerPairAndUsesTheThreshold) {
  seedRandom(5);
  EXPECT_EQ(build(20, 1, [](Graph& g) { generateEdgeProbabilityGraph(g, 0.0); }).howManyEdges, 0);
  uint32_t afterNone = randomState();
  seedRandom(5);
  for (int i = 0; i < 190; ++i) nextRandom();
  EXPECT_EQ(randomState(), afterNone) << "one draw per pair, even when nothing can be joined";

  // The same draws decide: pair (i, j) is joined exactly when its draw is below trunc(p*32767).
  seedRandom(11);
  Graph half = build(30, 1, [](Graph& g) { generateEdgeProbabilityGraph(g, 0.5); });
  seedRandom(11);
  EdgeSet expected;
  for (int32_t i = 0; i < 29; ++i)
    for (int32_t j = i + 1; j < 30; ++j)
      if (nextRandom() < 16383) expected.insert({i, j});
  EXPECT_EQ(currentEdges(half), expected);
  // Join order: each node's neighbours ascend (lower partners first, then higher).
  for (int32_t v = 0; v < 30; ++v) EXPECT_TRUE(std::ranges::is_sorted(neighbourList(half, v)));
}

TEST(GraphFamilies, RegularGraphsAreRegularOrGiveUpWhenTheDrawBudgetRunsOut) {
  // K4 is the only 3-regular graph on 4 nodes: every seed must find it.
  std::vector<std::tuple<int32_t, int32_t, uint32_t>> cases = {
      {10, 3, 0}, {50, 4, 0}, {101, 6, 0}, {200, 3, 0}, {12, 11, 0}};
  for (uint32_t seed = 1; seed <= 40; ++seed) cases.emplace_back(4, 3, seed);
  for (auto [n, d, seed] : cases) {
    seedRandom(seed != 0 ? seed : static_cast<uint32_t>(n * 31 + d));
    Graph graph = build(n, 2, [d](Graph& g) { generateRegularGraph(g, d); });
    EXPECT_EQ(std::pair(graph.regularDegree, graph.howManyEdges), std::pair(d, n * d / 2)) << n << " " << d;
    for (int32_t v = 0; v < n; ++v) EXPECT_EQ(graph.node(v).degree, d);
  }
  seedRandom(1);
  Graph dense(100, 2);
  EXPECT_EQ(std::pair(generateRegularGraph(dense, 50, 1000), dense.howManyEdges), std::pair(int64_t{0}, 0));
  for (int32_t v = 0; v < 100; ++v) EXPECT_TRUE(dense.node(v).adjacencyList.empty());
  seedRandom(1);
  Graph sparse(10, 2);
  EXPECT_TRUE(generateRegularGraph(sparse, 3, 1000000) >= 1 && sparse.howManyEdges == 15);
}

TEST(GraphFamilies, RandomEdgesPlacesExactlyMDistinctEdges) {
  seedRandom(3);
  EXPECT_EQ(build(10, 3, [](Graph& g) { generateRandomEdgesGraph(g, 0); }).howManyEdges, 0);
  EXPECT_EQ(randomState(), 3u) << "m = 0 draws nothing";
  seedRandom(9);
  EXPECT_EQ(build(7, 3, [](Graph& g) { generateRandomEdgesGraph(g, 21); }).howManyEdges, 21)
      << "all pairs of 7 nodes can be reached";

  // The draws as described: u, then v; a pair is taken unless it is a loop or known.
  seedRandom(23);
  Graph drawn = build(50, 3, [](Graph& g) { generateRandomEdgesGraph(g, 600); });
  seedRandom(23);
  EdgeSet expected;
  std::vector<Ids> order(50);
  while (expected.size() < 600) {
    int32_t u = nextRandom() % 50;
    int32_t v = nextRandom() % 50;
    if (u != v && expected.insert({std::min(u, v), std::max(u, v)}).second) {
      order[static_cast<size_t>(u)].push_back(v);
      order[static_cast<size_t>(v)].push_back(u);
    }
  }
  for (int32_t v = 0; v < 50; ++v) EXPECT_EQ(neighbourList(drawn, v), order[static_cast<size_t>(v)]);
}

TEST(GraphFamilies, RandomEdgesOnLargeGraphsUseTheWideDraw) {
  seedRandom(42);
  const int32_t high = nextRandom();
  const int32_t low = nextRandom();
  seedRandom(42);
  EXPECT_EQ(nextWideRandom(), high * 65536 + low) << "the first draw is the high half";

  seedRandom(17);
  Graph graph = build(100000, 3, [](Graph& g) { generateRandomEdgesGraph(g, 50000); });
  EXPECT_EQ(graph.howManyEdges, 50000);
  int32_t touchedHigh = 0;
  for (int32_t v = 32768; v < 100000; ++v) touchedHigh += graph.node(v).degree > 0 ? 1 : 0;
  EXPECT_GT(touchedHigh, 30000);
}

TEST(GraphFamilies, GridsBoardsAndCubesHoldTheirKnownEdges) {
  // Node 0 of the torus joins right (1) and down (3) first, then receives the wraps from 2
  // and 6; the last column wraps to the row's first node, the last row to row 0.
  Graph torus = build(9, 4, [](Graph& g) { generateToroidalGrid(g, 3, 3); });
  for (int32_t v = 0; v < 9; ++v) EXPECT_EQ(torus.node(v).degree, 4);
  EXPECT_EQ(std::pair(neighbourList(torus, 0), neighbourList(torus, 8)),
            std::pair(Ids{1, 3, 2, 6}, Ids{5, 7, 6, 2}));
  Graph wide = build(12, 4, [](Graph& g) { generateToroidalGrid(g, 3, 4); });
  EXPECT_EQ(std::pair(wide.howManyEdges, neighbourList(wide, 3)), std::pair(24, Ids{2, 0, 7, 11}));

  for (auto [rows, columns] : {std::pair{8, 8}, {8, 10}, {10, 8}, {5, 4}, {12, 9}}) {
    Graph graph = build(rows * columns, 5, [&](Graph& g) { generateKnightsTourGraph(g, rows, columns); });
    const testing::EdgeList moves = testing::knightEdges(rows, columns);
    EXPECT_EQ(currentEdges(graph), EdgeSet(moves.begin(), moves.end())) << rows << "x" << columns;
  }
  // Join order of a corner and an interior square: A, B from node 0; node 18 (row 2, col 2)
  // first receives from earlier rows, then joins A, B, D, E.
  Graph knight = build(64, 5, [](Graph& g) { generateKnightsTourGraph(g, 8, 8); });
  EXPECT_EQ(std::pair(neighbourList(knight, 0), neighbourList(knight, 18)),
            std::pair(Ids{10, 17}, Ids{1, 3, 8, 12, 28, 35, 33, 24}));

  EXPECT_EQ(currentEdges(build(4, 6, [](Graph& g) { generateNCube(g, 2); })),
            (EdgeSet{{0, 1}, {1, 2}, {2, 3}, {0, 3}}));
  Graph cube = build(32, 6, [](Graph& g) { generateNCube(g, 5); });
  for (int32_t v = 0; v < 32; ++v) EXPECT_EQ(cube.node(v).degree, 5);
  // Every edge joins i with i + 2^t in the grown dimensions; the first two are the 4-cycle.
  for (auto [a, b] : currentEdges(cube)) {
    const int32_t high = a ^ b;
    EXPECT_TRUE(((high & (high - 1)) == 0 && high >= 4) || (a & ~3) == (b & ~3)) << a << "-" << b;
  }
  // Node 4 = copy of node 0: its list follows node 0's (1, 3, then the new edge 4-0).
  EXPECT_EQ(neighbourList(cube, 4).front(), 5);
}

TEST(GraphFamilies, ICCSComponentsAndRing) {
  const int32_t degrees[14] = {2, 7, 6, 5, 5, 5, 5, 6, 8, 8, 8, 8, 8, 7};
  Graph one = build(14, 7, [](Graph& g) { generateICCSGraph(g, 1); });
  EXPECT_EQ(std::pair(one.howManyEdges, neighbourList(one, 0)), std::pair(44, Ids{1, 13}));
  Graph three = build(42, 7, [](Graph& g) { generateICCSGraph(g, 3); });
  for (int32_t v = 0; v < 42; ++v) EXPECT_EQ(three.node(v).degree, degrees[v % 14]) << v;
  EXPECT_TRUE(three.isAdjacent(13, 14) && three.isAdjacent(27, 28) && three.isAdjacent(0, 41)) << "the ring";
}

TEST(GraphFamilies, CompleteGraphAndHeaderLines) {
  testing::CapturedDiagnostics captured;
  auto loud = [](int32_t nodes, int16_t type, auto generate) {
    Graph graph(nodes, type);
    graph.printLevel = 1;
    generate(graph);
    return graph.howManyEdges;
  };
  EXPECT_EQ(loud(6, 8, [](Graph& g) { generateCompleteGraph(g); }), 15);
  EXPECT_EQ(captured.text(), "") << "the complete graph writes no header";
  loud(64, 5, [](Graph& g) { generateKnightsTourGraph(g, 8, 8); });
  loud(4, 1, [](Graph& g) { generateEdgeProbabilityGraph(g, 0.25); });
  loud(4, 2, [](Graph& g) { generateRegularGraph(g, 3); });
  loud(5, 3, [](Graph& g) { generateRandomEdgesGraph(g, 2); });
  loud(9, 4, [](Graph& g) { generateToroidalGrid(g, 3, 3); });
  loud(8, 6, [](Graph& g) { generateNCube(g, 3); });
  loud(28, 7, [](Graph& g) { generateICCSGraph(g, 2); });
  EXPECT_EQ(captured.text(),
            "Graph type: Knight's Tour Graph with 8 rows and 8 columns.\n"
            "Graph type: Random 4-Node Graph with edge probability 0.25.\n"
            "Graph type: Random 3-Regular 4-Node Graph.\n"
            "Graph type: Random Graph on 5 Nodes and 2 Edges.\n"
            "Graph type: Toroidal Grid with 3 rows and 3 columns.\n"
            "Graph type: N-Cube Graph with N = 3.\n"
            "Graph type: ICCS Graph with 2 components.\n");
}

}  // namespace
}  // namespace hc
