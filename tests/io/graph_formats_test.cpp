// The file formats as the program loads them: the exchange formats and the choice by
// extension (known graph6 strings, round trips of every writable format, one table of bad
// inputs, a fuzz loop, and a check of the graph6/sparse6 codec against nauty's converters
// when they are installed); TSPLIB and cycle files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "cli/cli_runner.h"
#include "core/hamiltonian_cycle_check.h"
#include "io/cycle_files.h"
#include "io/graph6_format.h"
#include "io/graph_format_registry.h"
#include "io/obj_format.h"
#include "io/tsplib_format.h"
#include "run/graph_loading.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

EdgeSet edgesOf(const PlainGraph& plain) {
  EdgeSet s;
  for (auto [a, b] : plain.edges) s.emplace(std::min(a, b), std::max(a, b));
  return s;
}

TEST(Graph6, PetersenDecodesExactly) {
  PlainGraph plain;
  ASSERT_EQ(decodeGraph6Line("IheA@GUAo", plain), "");
  EXPECT_EQ(plain.nodes, 10);
  // Outer cycle 0-4, spokes i - i+5, inner pentagram: GP(5, 2) in its usual labels.
  EXPECT_EQ(edgesOf(plain), edgesOf(PlainGraph{10, generalizedPetersenEdges(5, 2), {}}));
  EXPECT_EQ(encodeGraph6(plain), "IheA@GUAo");
  // The padding case of sparse6: n a power of two, the last edge at node n - 2.
  PlainGraph path4{4, {{0, 1}, {1, 2}}, {}}, again;
  ASSERT_EQ(decodeGraph6Line(encodeSparse6(path4), again), "");
  EXPECT_EQ(edgesOf(again), edgesOf(path4));
}

// Every writable format round trips; every truncation of Petersen's file, and copies with
// random bytes flipped, are read or refused cleanly (with the path in the message).
TEST(GraphFormats, EveryWritableFormatRoundTripsAndDamagedFilesAreReadOrRefusedCleanly) {
  ScratchFolder scratch;
  std::mt19937 rng(16);
  std::vector<std::pair<int32_t, EdgeList>> graphs = {
      {10, generalizedPetersenEdges(5, 2)},
      {64, knightEdges(8, 8)},  // 64 nodes: the long node count of graph6
      {5, completeEdges(0, 5)},
      {40, randomEdges(rng, 40, 0.2)},
      {16, joined(cycleEdges(0, 15), {{14, 15}})}};
  for (const char* ext : {"txt", "hcp", "g6", "s6", "col", "dimacs", "edges", "el"}) {
    for (const auto& [n, edges] : graphs) {
      Graph graph = makeGraph(n, edges);
      if (std::string(ext) == "hcp") graph.setUncut(edges[0].first, edges[0].second);
      const std::string path = scratch / (std::string("g.") + ext);
      FormatOptions options{std::string(ext) == "el" ? 1 : 0};
      ASSERT_TRUE(writeGraphFile(path, graph, "round\ntrip", options)) << ext;
      LoadedGraph loaded = loadGraphFile(path, options);
      ASSERT_TRUE(loaded) << ext << ": " << loaded.error;
      PlainGraph back = plainGraphOf(*loaded.graph);
      EXPECT_EQ(back.nodes, n) << ext;
      EXPECT_EQ(edgesOf(back), currentEdges(graph)) << ext;
      EXPECT_EQ(back.forced, plainGraphOf(graph).forced) << ext;
      if (n != 10) continue;
      const std::string text = slurp(path);
      for (size_t i = 0; i < text.size() + 30; ++i) {
        std::string bad = text.substr(0, std::min(i, text.size()));
        if (i >= text.size())
          for (int k = 0; k < 3; ++k) bad[rng() % bad.size()] = static_cast<char>(rng() % 256);
        LoadedGraph damaged = loadGraphFile(writeFile(path, bad), options);
        if (damaged) {
          EXPECT_LE(damaged.graph->howManyNodes, 1 << 16) << ext;
        } else {
          EXPECT_EQ(damaged.error.rfind(path, 0), 0u) << damaged.error;
        }
      }
    }
  }
}

TEST(GraphFormats, BadInputIsOneErrorNamingFileAndLine) {
  ScratchFolder scratch;
  const std::tuple<const char*, const char*, const char*> cases[] = {  // file, text, error
      {"a.g6", "IheA@GUA\n", "a.g6: line 1: a graph6 line for 10 nodes needs 8 bytes"},
      {"b.g6", ">>graph6<<\n\nIh\001A@GUAo\nIheA@GUAo\n", "b.g6: line 3: byte 3 (code 1)"},  // \001: byte 1
      {"c.s6", ":~~~~~~~~\n", "c.s6: line 1: node count 68719476735 out of range"},
      {"d.g6", "&Bw\n", "d.g6: line 1: digraph6"},
      {"e.s6", ":~?\n", "e.s6: line 1: the line ends inside the node count"},
      {"f.g6", "", "f.g6: no graph in the file"},
      {"a.col", "e 1 2\n", "a.col: line 1: edge before the \"p edge"},
      {"b.col", "p edge 3 1\ne 1 4\n", "b.col: line 2: node 4 out of range 1..3"},
      {"c.col", "p edge 3 1\ne 2 2\n", "c.col: line 2: node 2 is joined to itself"},
      {"d.col", "p edge 99999999999 1\n", "d.col: line 1: node count 99999999999 out of range"},
      {"e.col", "c only\n", "e.col: no \"p edge"},
      {"f.col", "p edge 3 1\nx 1 2\n", "f.col: line 2: unknown line type \"x\""},
      {"a.edges", "0 1\n1 x\n", "a.edges: line 2: \"x\" is not a node number"},
      {"b.edges", "0 1 2\n", "b.edges: line 1: expected two node numbers"},
      {"c.edges", "0 -1\n", "c.edges: line 1: node -1 out of range 0..4999999"},
      {"d.edges", "# none\n", "d.edges: no edges"},
      {"e.edges", "3 3\n", "e.edges: line 1: node 3 is joined to itself"},
      {"a.hcp", "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n-1\nFIXED_EDGES_SECTION\n2 3\n-1\n",
       "a.hcp: fixed edge 2 3 is not an edge of the graph"},
      {"b.hcp", "DIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n-1\nFIXED_EDGES_SECTION\n2\n",
       "b.hcp: the file ends inside the fixed edges"},
      {"c.hcp", "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n2 2\n-1\n", "c.hcp: line 5: node 2 is joined to itself"},
      {"d.hcp", "DIMENSION : 3\nFROB : 1\n", "d.hcp: line 2: unknown header \"FROB\""},
      {"e.hcp", "DIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n-1\n3 1\n",
       "e.hcp: line 5: unexpected text after the edge data: \"3 1\""},
      {"f.hcp", "DIMENSION : 3\nEDGE_DATA_SECTION\n1 b\n-1\n", "f.hcp: line 3: \"b\" is not a node number"},
      {"a.xyz", "", "a.xyz: unknown graph file extension \".xyz\""},
  };
  for (const auto& [name, text, error] : cases) {
    LoadedGraph loaded = loadGraphFile(writeFile(scratch / name, text));
    EXPECT_FALSE(loaded) << name;
    EXPECT_NE(loaded.error.find(error), std::string::npos) << name << ": " << loaded.error;
    EXPECT_EQ(loaded.error.find('\n'), std::string::npos) << name;
  }
}

// Our graph6 and sparse6 lines must convert into each other exactly as nauty converts them.
TEST(GraphFormats, CodecAgreesWithNauty) {
  if (access("/usr/bin/nauty-copyg", X_OK) != 0) GTEST_SKIP() << "nauty-copyg is not installed";
  ScratchFolder scratch;
  std::mt19937 rng(7);
  std::string g6, s6;
  for (int32_t n : {1, 2, 4, 8, 16, 17, 62, 63, 64, 100}) {
    for (double p : {0.0, 0.1, 0.5}) {
      PlainGraph plain{n, randomEdges(rng, n, p), {}};
      g6 += encodeGraph6(plain) + "\n";
      s6 += encodeSparse6(plain) + "\n";
    }
  }
  auto convert = [&](const std::string& flag, const std::string& in) {
    const std::string out = scratch / "out";
    EXPECT_EQ(std::system(("/usr/bin/nauty-copyg -q " + flag + " " + in + " " + out).c_str()), 0);
    return slurp(out);
  };
  EXPECT_EQ(convert("-s", writeFile(scratch / "ours.g6", g6)), s6);
  EXPECT_EQ(convert("-g", writeFile(scratch / "ours.s6", s6)), g6);
}

// TSPLIB: graphs as edge or adjacency lists; tours written and read back.
TEST(TsplibFiles, HcpEdgeAndAdjacencyListsAndTourRoundTripAndFaults) {
  HcpContents edgeList;
  ASSERT_TRUE(parseHcp("NAME: sq\nCOMMENT : a square\nTYPE : HCP\nDIMENSION :4\nEDGE_DATA_FORMAT : EDGE_LIST\n"
                       "EDGE_DATA_SECTION\n  1   2\n2 3\n3 4 4 1\n2 1\n-1\nEOF\n",
                       "sq.hcp", edgeList));
  EXPECT_EQ(edgeList.name, "sq");
  EXPECT_EQ(edgeList.dimension, 4);
  // 0-based, each edge once (the repeated 2 1 is dropped), in file order.
  EXPECT_EQ(edgeList.edges, (EdgeList{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));

  HcpContents adjacency;
  ASSERT_TRUE(parseHcp("TYPE : HCP\r\nDIMENSION : 4\r\nEDGE_DATA_FORMAT : ADJ_LIST\r\nEDGE_DATA_SECTION\r\n"
                       "1 2 4 -1\r\n3 2 4 -1\r\n-1\r\n",
                       "sq.hcp", adjacency));
  EXPECT_EQ(adjacency.edges, (EdgeList{{0, 1}, {0, 3}, {2, 1}, {2, 3}}));
  EXPECT_FALSE(parseHcp("DIMENSION : 3\nFROB : 1\n", "x.hcp", edgeList));
  EXPECT_EQ(edgeList.name, "sq");  // a refused file leaves the output alone

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

TEST(CycleFiles, TextShapesAreToldApartAndWrittenInTheSolvedGraphsNeighbourOrder) {
  // A node list (the closing repeat dropped), a column, an OBJ line, and adjacency text (an
  // edge set, walked from node 0): the same cycle.
  const std::tuple<const char*, CycleFileFormat, bool> rows[] = {
      {"0 2 1 3 0\n", CycleFileFormat::Text, false},
      {"0\n2\n\n1\n3\n", CycleFileFormat::Text, false},
      {"v 0 0 0\n# Hamiltonian Cycle:\nl 1 3 2 4 1\n", CycleFileFormat::Obj, false},
      {"0 2 3\n1 2 3\n2 0 1\n3 0 1\n", CycleFileFormat::Text, true}};
  for (const auto& [text, format, isEdgeSet] : rows) {
    CycleFileContents contents;
    ASSERT_TRUE(parseCycleText(text, "c", format, contents)) << text;
    EXPECT_EQ(contents.isEdgeSet, isEdgeSet) << text;
    std::vector<int32_t> order = contents.sequence;
    EXPECT_TRUE(!isEdgeSet || cycleFromEdges(4, contents.edges, order)) << text;
    EXPECT_EQ(order, (std::vector<int32_t>{0, 2, 1, 3})) << text;
  }
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
}  // namespace hc::testing
