// The format table: the lists drawn from it (exact), the README's table held to its rows,
// the choice by extension, and every row's reader and writer: each writable format round
// trips through its own row (isolated nodes and an edgeless graph too), and each reader
// gives up at a stop request.
#include "io/graph_format_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_runner.h"
#include "io/adjacency_text_format.h"
#include "io/dimacs_graph_format.h"
#include "io/edge_list_format.h"
#include "io/graph6_format.h"
#include "io/obj_format.h"
#include "io/plain_graph.h"
#include "io/tsplib_format.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

EdgeSet edgeSetOf(const std::vector<NodePair>& edges) {
  EdgeSet s;
  for (auto [a, b] : edges) s.emplace(std::min(a, b), std::max(a, b));
  return s;
}

TEST(GraphFormatRegistry, ListsAndTheChoiceByExtensionComeFromTheRows) {
  EXPECT_EQ(readableExtensions(), ".txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el");
  EXPECT_EQ(writableExtensions(), ".txt, .hcp, .g6, .s6, .col, .dimacs, .edges, .el");
  EXPECT_EQ(graphOpenDialogFilter(),
            "All Graph Files (*.txt *.obj *.g *.hcp *.g6 *.s6 *.col *.dimacs *.edges *.el);;"
            "Adjacency Text Files (*.txt);;OBJ Mesh Files (*.obj);;Graph Editor Drawing Files (*.g);;"
            "TSPLIB HCP Files (*.hcp);;graph6 Files (*.g6);;sparse6 Files (*.s6);;"
            "DIMACS Graph Files (*.col *.dimacs);;Edge List Files (*.edges *.el);;All Files (*)");
  EXPECT_EQ(unknownGraphExtensionError("dir.g6/x"),
            "dir.g6/x: unknown graph file extension (none) (use " + readableExtensions() + ")");
  const std::pair<const char*, const GraphFormatInfo*> paths[] = {
      {"A/B.G6", &graphFormatInfo(GraphFormat::kGraph6)},
      {"x.Dimacs", &graphFormatInfo(GraphFormat::kDimacs)},
      {"c:\\k5.el", &graphFormatInfo(GraphFormat::kEdgeList)},
      {"x.tour", nullptr},
      {".txt", nullptr}};
  for (const auto& [path, format] : paths) EXPECT_EQ(graphFormatOfPath(path), format) << path;
  for (const GraphFormatInfo& format : graphFormats()) {
    EXPECT_EQ(&graphFormatInfo(format.format), &format);
    EXPECT_EQ(!format.fileHeader.empty(), format.severalGraphs) << format.name;
  }
}

// The README's format table lists exactly the rows: extensions, name, written, graphs per
// file and forced edges, in order (the notes are free text).
TEST(GraphFormatRegistry, TheReadmeTableListsExactlyTheRows) {
  std::ifstream in(std::filesystem::path(HC_EXAMPLES_DIR) / ".." / "README.md");
  ASSERT_TRUE(in);
  std::vector<std::string> rows;
  bool inTable = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("| extensions | format | written |")) {
      inTable = true;
    } else if (inTable && !line.starts_with("|")) {
      break;
    } else if (inTable && !line.starts_with("|---")) {
      // The first five cells, without the backticks.
      std::istringstream cells(line.substr(1));
      std::string row;
      std::string cell;
      for (int i = 0; i < 5 && std::getline(cells, cell, '|'); ++i) {
        std::erase(cell, '`');
        row += (i > 0 ? "|" : "") + cell.substr(1, cell.size() - 2);
      }
      rows.push_back(row);
    }
  }
  std::vector<std::string> expected;
  for (const GraphFormatInfo& format : graphFormats()) {
    std::string extensions;
    for (const std::string& ext : format.extensions) extensions += (extensions.empty() ? "." : ", .") + ext;
    expected.push_back(extensions + "|" + format.name + "|" + (format.write ? "yes" : "no") + "|" +
                       (format.severalGraphs ? "several" : "one") + "|" +
                       (format.keepsForcedEdges ? "yes" : "no"));
  }
  EXPECT_EQ(rows, expected);
}

// Write with a row's writer, read back with its reader: the same nodes, edges and (where the
// format keeps them) forced edges. (What loading builds from a row's read: tests/run.)
TEST(GraphFormatRegistry, EveryRowReadsWhatItWrites) {
  ScratchFolder scratch;
  // GP(5, 2) with a forced edge; with two isolated nodes after the last edge; no edges at all.
  EdgeList withIsolated = generalizedPetersenEdges(5, 2);
  const std::tuple<int32_t, EdgeList> graphs[] = {{10, withIsolated}, {12, withIsolated}, {3, {}}};
  for (const auto& [nodes, edges] : graphs) {
    Graph graph = makeGraph(nodes, edges);
    if (!edges.empty()) graph.setUncut(0, 1);
    for (const GraphFormatInfo& format : graphFormats()) {
      if (format.write == nullptr) continue;
      const std::string path = scratch / ("p." + format.extensions.back());
      const FormatOptions options{1};
      ASSERT_TRUE(writeGraphFile(path, graph, "gp", options)) << format.name << " " << nodes;
      PlainGraph back;
      ASSERT_TRUE(format.read(GraphRecord{path, 0, {}}, options, back)) << format.name << " " << nodes;
      EXPECT_EQ(std::tuple(back.nodes, edgeSetOf(back.edges), back.forced.size()),
                std::tuple(nodes, edgeSetOf(edges), format.keepsForcedEdges && !edges.empty() ? 1u : 0u))
          << format.name << " " << nodes;
    }
  }
}

// A read that hears a stop gives up with its own line, "FILE: reading stopped", and no graph:
// each format's parser a few thousand lines or edges into a large file (the output left as
// it was).
TEST(GraphFormatRegistry, AStoppedReadGivesUpWithItsOwnLine) {
  StopToken stopped;
  stopped.requestStop();
  constexpr int32_t n = 10000;
  const Graph ring = makeGraph(n, cycleEdges(0, n));
  auto textOf = [&](GraphFormat format) {
    std::string text;
    EXPECT_EQ(graphFormatInfo(format).write(ring, "ring", {}, text), "");
    return text.substr(0, text.find_last_not_of('\n') + 1);
  };
  std::string obj;
  for (int32_t v = 0; v < n; ++v)
    obj += "v 0 0 0\nf " + std::to_string(v + 1) + " " + std::to_string((v + 1) % n + 1) + "\n";
  PlainGraph out{3, {{0, 1}}, {}};
  HcpContents contents;
  auto line = [&](const std::string& problem) {
    return problem == FileStatus::kReadingStopped ? FileStatus::stoppedReading("ring")
                                                  : FileStatus::failure(problem);
  };
  const std::pair<const char*, FileStatus> reads[] = {
      {"txt", parseAdjacencyText(textOf(GraphFormat::kAdjacencyText), "ring", out, &stopped)},
      {"obj", parseObj(obj, "ring", out, &stopped)},
      {"hcp", parseHcp(textOf(GraphFormat::kHcp), "ring", contents, &stopped)},
      {"g6", line(decodeGraph6Line(textOf(GraphFormat::kGraph6), out, &stopped))},
      {"s6", line(decodeGraph6Line(textOf(GraphFormat::kSparse6), out, &stopped))},
      {"col", parseDimacsGraph(textOf(GraphFormat::kDimacs), "ring", out, &stopped)},
      {"edges", parseEdgeList(textOf(GraphFormat::kEdgeList), "ring", 0, out, &stopped)}};
  for (const auto& [format, status] : reads)
    EXPECT_EQ(std::tuple(status.stopped, status.error),
              std::tuple(true, std::string("ring: reading stopped")))
        << format;
  EXPECT_EQ(std::tuple(out.nodes, out.edges.size(), contents.dimension), std::tuple(3, 1u, 0));
}

}  // namespace
}  // namespace hc::testing
