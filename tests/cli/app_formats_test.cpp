// The program-level pieces under the command line: TSPLIB files, cycle files, the
// independent verifier, the number rule and the display names.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/cycle_files.h"
#include "app/cycle_verifier.h"
#include "app/graph_source.h"
#include "app/number_format.h"
#include "app/tsplib_files.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::makeGraph;

TEST(NumberFormat, CutsAndPadsAsThePagesShowNumbers) {
  const std::tuple<double, int, const char*> rows[] = {
      {0.05, 4, "0.0500"}, {12, 0, "12"}, {3.14159, 2, "3.14"}, {2.0 * 8 / 3, 2, "5.33"},
      {2.0 / 3, 2, "0.66"},  // cut, not rounded
      {1.0 / 3, 4, "0.3333"}, {5, 2, "5.00"}, {-7.5, 0, "-7"},
      {1e12, 0, "1000000000000"},  // no exponent swallowed by the cut
  };
  for (const auto& [value, decimals, text] : rows) EXPECT_EQ(formatNumber(value, decimals), text) << value;
}

TEST(GraphDisplayName, FollowsTheSourceType) {
  const std::pair<GraphDescription, const char*> rows[] = {
      {{}, "NO GRAPH LOADED"},
      {{kThreeSatReduction, 5, 4.25, 0, {}, 0},
       "3-SAT Reduction Graph From Random Formula With 5 Variables & Clause Multiplier 4.250"},
      {{kTextFile, -1, -1, 4, "graphs/k4.txt", 0}, "k4.txt"},
      {{kUserDrawnGraph, 0, 0, 0, {}, 7}, "USER-DRAWN GRAPH WITH 7 NODES"},
      {{99, 0, 0, 0, {}, 0}, "ERROR!!! THIS SHOULD NEVER HAPPEN!!!"},
  };
  for (const auto& [description, name] : rows) EXPECT_EQ(graphDisplayName(description), name);
}

TEST(HcpFile, ReadsEdgeListsAndAdjacencyLists) {
  HcpContents edgeList;
  ASSERT_TRUE(parseHcp("NAME: sq\nCOMMENT : a square\nTYPE : HCP\nDIMENSION :4\nEDGE_DATA_FORMAT : EDGE_LIST\n"
                       "EDGE_DATA_SECTION\n  1   2\n2 3\n3 4 4 1\n2 1\n-1\nEOF\n",
                       "sq.hcp", edgeList));
  EXPECT_EQ(edgeList.name, "sq");
  EXPECT_EQ(edgeList.dimension, 4);
  // 0-based, each edge once (the repeated 2 1 is dropped), in file order.
  std::vector<std::pair<int32_t, int32_t>> expected = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};
  EXPECT_EQ(edgeList.edges, expected);

  HcpContents adjacency;
  ASSERT_TRUE(parseHcp("TYPE : HCP\r\nDIMENSION : 4\r\nEDGE_DATA_FORMAT : ADJ_LIST\r\nEDGE_DATA_SECTION\r\n"
                       "1 2 4 -1\r\n3 2 4 -1\r\n-1\r\n",
                       "sq.hcp", adjacency));
  std::vector<std::pair<int32_t, int32_t>> expectedAdj = {{0, 1}, {0, 3}, {2, 1}, {2, 3}};
  EXPECT_EQ(adjacency.edges, expectedAdj);
  EXPECT_FALSE(parseHcp("DIMENSION : 3\nFROB : 1\n", "x.hcp", edgeList));
  EXPECT_EQ(edgeList.name, "sq");  // a refused file leaves the output alone
}

TEST(TourFile, RoundTripAndFaults) {
  std::vector<int32_t> cycle = {0, 2, 1, 3};
  std::string text = formatTour("k4", cycle);
  EXPECT_EQ(text, "NAME : k4\nTYPE : TOUR\nDIMENSION : 4\nTOUR_SECTION\n1\n3\n2\n4\n-1\nEOF\n");
  std::vector<int32_t> back;
  ASSERT_TRUE(parseTour(text, "k4.tour", back));
  EXPECT_EQ(back, cycle);
  EXPECT_EQ(parseTour("DIMENSION : 3\nTOUR_SECTION\n1 2\n-1\n", "t.tour", back).error,
            "t.tour: line 4: the tour lists 2 nodes but DIMENSION is 3");
  EXPECT_FALSE(parseTour("TYPE : HCP\nTOUR_SECTION\n1\n-1\n", "t.tour", back));
  EXPECT_EQ(back, cycle);  // a refused file leaves the output alone
}

TEST(CycleFiles, TextShapesAreToldApart) {
  // A node list (the closing repeat dropped), a column, an OBJ line: the same cycle.
  for (auto [text, format] : {std::pair{"0 2 1 3 0\n", CycleFileFormat::Text}, {"0\n2\n\n1\n3\n", CycleFileFormat::Text},
                              {"v 0 0 0\n# Hamiltonian Cycle:\nl 1 3 2 4 1\n", CycleFileFormat::Obj}}) {
    CycleFileContents contents;
    ASSERT_TRUE(parseCycleText(text, "c", format, contents)) << text;
    EXPECT_FALSE(contents.isEdgeSet);
    EXPECT_EQ(contents.sequence, (std::vector<int32_t>{0, 2, 1, 3})) << text;
  }
  CycleFileContents adjacency;
  ASSERT_TRUE(parseCycleText("0 2 3\n1 2 3\n2 0 1\n3 0 1\n", "c", CycleFileFormat::Text, adjacency));
  EXPECT_TRUE(adjacency.isEdgeSet);
  std::vector<int32_t> order;
  ASSERT_TRUE(cycleFromEdges(4, adjacency.edges, order));
  EXPECT_EQ(order, (std::vector<int32_t>{0, 2, 1, 3}));
}

TEST(CycleVerifier, AcceptsOnlyHamiltonianCyclesOfTheGraphAsLoaded) {
  // The 3-prism: triangles 0-1-2 and 3-4-5 with spokes i - (i + 3).
  Graph prism = makeGraph(6, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}});
  LoadedEdges edges(prism);
  EXPECT_EQ(edges.edges(), 9);
  // Every rotation and reflection of a valid cycle passes, also after a later cut in the
  // solver graph (the reference is the graph as loaded; the faults are in the verify table).
  prism.cut(0, 1);
  EXPECT_TRUE(edges.contains(0, 1));
  std::vector<int32_t> cycle = {0, 1, 2, 5, 4, 3};
  for (int r = 0; r < 6; ++r) {
    std::rotate(cycle.begin(), cycle.begin() + 1, cycle.end());
    EXPECT_TRUE(verifyHamiltonianCycle(edges, cycle));
    std::vector<int32_t> reversed(cycle.rbegin(), cycle.rend());
    EXPECT_TRUE(verifyHamiltonianCycle(edges, reversed));
  }
}

TEST(CycleFiles, AdjacencyTextKeepsTheNeighbourOrderOfTheSolvedGraph) {
  // A solved triangle in which node 0 lists node 2 first is written "0 2 1".
  Graph triangle = makeGraph(3, {{0, 2}, {0, 1}, {1, 2}});
  std::vector<int32_t> cycle;
  ASSERT_TRUE(extractCycle(triangle, cycle));
  EXPECT_EQ(cycle, (std::vector<int32_t>{0, 2, 1}));
  EXPECT_EQ(formatCycleAdjacencyText(triangle, cycle), "0 2 1\n1 0 2\n2 0 1\n");
  triangle.coordinates = {{0, 0, 0}, {1, 0, 0}, {0.5, 1, 0}};
  EXPECT_EQ(formatCycleObj(triangle, cycle), "v 0 0 0\nv 1 0 0\nv 0.5 1 0\n# Hamiltonian Cycle:\nl 1 3 2 1\n");
}

}  // namespace
}  // namespace hc
