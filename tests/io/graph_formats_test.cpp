// The file formats as the program loads them: the exchange formats and the choice by
// extension (known graph6 strings, round trips of every writable format, one table of bad
// inputs, the fuzz pass over every reader, and a check of the graph6/sparse6 codec against
// nauty's converters when they are installed); TSPLIB and cycle files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numeric>
#include <random>
#include <utility>

#include "cli/cli_runner.h"
#include "core/graph_invariants.h"
#include "core/hamiltonian_cycle_check.h"
#include "core/message_text.h"
#include "io/cycle_files.h"
#include "io/graph6_format.h"
#include "io/graph_file_reader.h"
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

// Whether a file holds several graphs is told from its first two graph lines, the first
// read through without being kept; a graph line longer than the reader's chunk is read
// whole all the same (headers, blank lines and CRLF endings around it).
TEST(GraphFormats, SeveralGraphsAreToldFromTheFirstTwoGraphLines) {
  ScratchFolder scratch;
  std::mt19937 rng(7);
  const PlainGraph big{1000, randomEdges(rng, 1000, 0.5), {}};  // an 83 KB graph6 line
  const std::string line = encodeGraph6(big), k4 = encodeGraph6(PlainGraph{4, completeEdges(0, 4), {}});
  const struct {
    std::string text;
    bool several;
  } files[] = {
      {line + "\n", false},
      {">>graph6<<" + line + "\r\n\n", false},
      {">>graph6<<\n\n" + line, false},
      {line + "\n>>graph6<<\n", false},
      {line + "\r\n" + k4 + "\r\n", true},
      {">>graph6<<" + k4 + "\n\n>>graph6<<" + line + "\n", true},
  };
  for (const auto& file : files) {
    const std::string path = writeFile(scratch / "g.g6", file.text);
    const std::string shape =
        file.text.substr(0, 12) + "... (" + std::to_string(file.text.size()) + " bytes)";
    EXPECT_EQ(fileHoldsSeveralGraphs(path), file.several) << shape;
    GraphFileReader reader;
    ASSERT_EQ(reader.open(path), "");
    GraphRecord record;
    bool tooLong = true;
    ASSERT_TRUE(reader.next(record, tooLong)) << shape;
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(record.text, file.several && file.text.find(k4) < file.text.find(line) ? k4 : line) << shape;
  }
}

// Every writable format round trips.
TEST(GraphFormats, EveryWritableFormatRoundTrips) {
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
    }
  }
}

// The fuzz pass over every reader: each format of the table (the drawing included, a file of
// several graphs walked graph by graph as a batch walks it) and each cycle file, on every
// truncation of a good file, on copies with random bytes replaced, and with bytes that are
// not UTF-8 in the places a format keeps free text (names, comments, headers), under file
// names that are not UTF-8 either. Each copy is read, or refused with one line of printable
// text that names the file and renders as JSON, and a refusal leaves the output as it was.
// A fixed seed and a bounded number of copies keep it well within a minute under the
// sanitizers, where this test is the fuzz pass. Exact messages are the tables' business.
TEST(GraphFormats, DamagedFilesAreReadOrRefusedWithOnePrintableLine) {
  ScratchFolder scratch;
  std::mt19937 rng(26);
  const std::string bad[] = {"\xff", "\xe9", "caf\xe9", "\xc3\x28", "\xed\xa0\x80", "\xf4\x90\x80\x80"};
  // Free-text lines per extension ('@' stands for the bad bytes), put in front of the file
  // and before its last line.
  const std::map<std::string, std::vector<std::string>> freeText = {
      {"hcp", {"NAME : @", "COMMENT : @", "FIX@ED_EDGES_SECTION", "@ : 1"}},
      {"col", {"c @", "@ 1 2"}},
      {"edges", {"# @", "1 2 % @", "@ 1"}},
      {"txt", {"0 @"}},
      {"obj", {"# @", "o @", "v 1 @ 0", "f 1 @"}},
      {"g6", {">>graph6<<@", "@"}},
      {"s6", {">>sparse6<<@", ":@"}},
      {"tour", {"NAME : @", "TOUR_SECTION @"}},
      {"list", {"@", "0 @"}}};
  const Graph ring = [] {
    Graph g = makeGraph(10, cycleEdges(0, 10));
    for (int32_t v = 0; v < 10; ++v) g.coordinates.push_back({double(v), double(v * v % 7), 0.5});
    return g;
  }();
  std::vector<int32_t> order(10);
  std::iota(order.begin(), order.end(), 0);
  // (extension, a cycle file?, good text)
  std::vector<std::tuple<std::string, bool, std::string>> seeds = {
      {"obj", false, slurp(std::string(HC_EXAMPLES_DIR) + "/petersen.obj")},
      {"g", false, slurp(std::string(HC_EXAMPLES_DIR) + "/petersen.g")},
      {"txt", true, formatCycleAdjacencyText(ring, order)},
      {"obj", true, formatCycleObj(ring, order)},
      {"tour", true, formatTour("ring", order)},
      {"list", true, "0 1 2 3 4 5 6 7 8 9 0\n"}};
  for (const char* folder : {"txt/valid", "obj/valid"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(HC_TEST_DATA_DIR) + "/" + folder))
      if (entry.path().filename() != "EXPECTED")
        seeds.emplace_back(entry.path().extension().string().substr(1), false, slurp(entry.path()));
  Graph forced = petersenGraph();
  forced.setUncut(0, 1);
  for (const GraphFormatInfo& format : graphFormats()) {
    if (format.write == nullptr) continue;
    std::string text = format.fileHeader, line;
    for (const Graph* graph : {&std::as_const(forced), &ring}) {
      ASSERT_EQ(format.write(*graph, "gp", {}, line), "");
      text += line;
      if (!format.severalGraphs) break;
    }
    seeds.emplace_back(format.extensions.front(), false, text);
  }
  // One copy read by its reader: a graph file through loading (and, of several graphs, each
  // graph as a batch reads it), a cycle file through the verifier's reader.
  const std::string names[] = {"plain", "r1-\xff", "r8-\xe9"};
  size_t copies = 0;
  auto check = [&](const std::string& ext, bool cycle, const std::string& text) {
    // A new file each time: truncating one that exists makes the file system flush it.
    std::filesystem::remove(scratch / (names[copies % 3] + "." + ext));
    const std::string path = writeFile(scratch / (names[copies++ % 3] + "." + ext), text);
    std::vector<std::string> errors;
    if (cycle) {
      CycleFileContents contents;
      contents.sequence = {7};
      if (FileStatus s = readCycleFile(path, contents); !s) {
        errors.push_back(s.error);
        EXPECT_EQ(contents.sequence, std::vector<int32_t>{7}) << s.error;
      }
    } else {
      LoadedGraph loaded = loadGraphFile(path);
      if (!loaded) errors.push_back(loaded.error);
      EXPECT_TRUE(!loaded ||
                  (loaded.graph->howManyNodes <= (1 << 16) && checkInvariants(*loaded.graph).empty()))
          << ext;
      const GraphFormatInfo& format = *graphFormatOfPath(path);
      PlainGraph out{3, {{0, 1}}, {}};
      if (FileStatus s = format.read(GraphRecord{path, 0, {}}, {}, out); !s) {
        EXPECT_EQ(std::tuple(out.nodes, out.edges.size()), std::tuple(3, 1u)) << s.error;
      }
      GraphFileReader reader;
      GraphRecord record;
      bool tooLong = false;
      if (format.severalGraphs && reader.open(path).empty())
        while (reader.next(record, tooLong))
          if (LoadedGraph one = loadGraphRecord(record); !one) errors.push_back(one.error);
    }
    for (const std::string& error : errors) {
      EXPECT_EQ(error.rfind(printableText(path), 0), 0u) << error;
      EXPECT_TRUE(std::ranges::all_of(error, [](char c) { return c >= 0x20 && c < 0x7f; })) << error;
      EXPECT_NO_THROW(EXPECT_EQ(nlohmann::json::parse(nlohmann::json(error).dump()), error));
    }
  };
  for (const auto& [ext, cycle, text] : seeds) {
    for (size_t i = 0; i < text.size(); i += 1 + text.size() / 400) check(ext, cycle, text.substr(0, i));
    for (int k = 0; k < 800 && !text.empty(); ++k) {
      std::string flipped = text;
      for (int f = 0; f < 1 + k % 3; ++f) {
        const std::string pick = std::string("\xff\xe9\n\r\t -+/.09efvx:") + '\0' + static_cast<char>(rng());
        flipped[rng() % flipped.size()] = pick[rng() % pick.size()];
      }
      check(ext, cycle, flipped);
    }
    const auto lines = freeText.find(ext);
    if (lines == freeText.end()) continue;
    const size_t last = text.rfind('\n', text.size() - 2) + 1;
    for (const std::string& free : lines->second)
      for (const std::string& bytes : bad) {
        std::string line = free;
        line.replace(line.find('@'), 1, bytes);
        check(ext, cycle, line + "\n" + text);
        check(ext, cycle, text.substr(0, last) + line + "\n" + text.substr(last));
      }
  }
  EXPECT_GT(copies, 25000u);
}

TEST(GraphFormats, BadInputIsOneErrorNamingFileAndLine) {
  ScratchFolder scratch;
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // file, text, error
      {"a.g6", "IheA@GUA\n", "a.g6: line 1: a graph6 line for 10 nodes needs 8 bytes"},
      {"b.g6", ">>graph6<<\n\nIh\001A@GUAo\nIheA@GUAo\n", "b.g6: line 3: byte 3 (code 1)"},  // \001: byte 1
      {"b2.s6", ":Fa@x^?????\177\n", "b2.s6: line 1: byte 12 (code 127)"},  // past the first eight bytes
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
      {"c.hcp", "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n2 2\n-1\n",
       "c.hcp: line 5: node 2 is joined to itself"},
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
  ASSERT_TRUE(
      parseHcp("NAME: sq\nCOMMENT : a square\nTYPE : HCP\nDIMENSION :4\nEDGE_DATA_FORMAT : EDGE_LIST\n"
               "EDGE_DATA_SECTION\n  1   2\n2 3\n3 4 4 1\n2 1\n-1\nEOF\n",
               "sq.hcp", edgeList));
  EXPECT_EQ(edgeList.name, "sq");
  EXPECT_EQ(edgeList.dimension, 4);
  // 0-based, each edge once (the repeated 2 1 is dropped), in file order.
  EXPECT_EQ(edgeList.edges, (EdgeList{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));

  HcpContents adjacency;
  ASSERT_TRUE(
      parseHcp("TYPE : HCP\r\nDIMENSION : 4\r\nEDGE_DATA_FORMAT : ADJ_LIST\r\nEDGE_DATA_SECTION\r\n"
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
      {"0 2 1 3 0\n", CycleFileFormat::kText, false},
      {"0\n2\n\n1\n3\n", CycleFileFormat::kText, false},
      {"v 0 0 0\n# Hamiltonian Cycle:\nl 1 3 2 4 1\n", CycleFileFormat::kObj, false},
      {"0 2 3\n1 2 3\n2 0 1\n3 0 1\n", CycleFileFormat::kText, true}};
  for (const auto& [text, format, isEdgeSet] : rows) {
    CycleFileContents contents;
    ASSERT_TRUE(cycleFileFormatInfo(format).parse(text, "c", contents)) << text;
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
  EXPECT_EQ(formatCycleObj(triangle, cycle),
            "v 0 0 0\nv 1 0 0\nv 0.5 1 0\n# Hamiltonian Cycle:\nl 1 3 2 1\n");
}

}  // namespace
}  // namespace hc::testing
