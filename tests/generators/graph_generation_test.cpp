// The generation factory: node counts, fields, printLevel lines, seeding, files, the
// requests it refuses (with their messages, before anything is generated), and its stop
// flag and progress hook.
#include "generators/graph_generation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/graph_invariants.h"
#include "core/random.h"
#include "generators/graph_families.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::snapshot;

// A request by its source's code: a family's code is also the graph type it stores.
GenerationRequest request(int16_t code, int32_t n, double x = 0.0) {
  return requestForFamily(static_cast<GraphSource>(code), n, x);
}

std::unique_ptr<Graph> generated(const GenerationRequest& r) {
  GenerationResult result = generateGraph(r);
  EXPECT_TRUE(result && result.error.empty()) << result.error;
  return std::move(result.graph);
}

TEST(GraphGeneration, NodeCountsAndFields) {
  // Type, n, x, nodes, edges (-1: random).
  const std::tuple<int16_t, int32_t, double, int32_t, int32_t> cases[] = {
      {1, 12, 0.3, 12, -1}, {2, 10, 3.9, 10, 15}, {3, 9, 20.7, 9, 20}, {4, 3, 4.9, 12, 24},
      {5, 8, 8.0, 64, 168}, {6, 3, 0.0, 8, 12},   {6, 5, 0.0, 32, 80}, {7, 2, 0.0, 28, 88},
      {7, 3, 0.0, 42, 132}, {8, 7, 0.0, 7, 21},
  };
  for (auto [type, n, x, nodes, expectedEdges] : cases) {
    GenerationRequest r = request(type, n, x);
    r.outputFileName = "out-HC.txt";
    r.version = 7;
    std::unique_ptr<Graph> graph = generated(r);
    ASSERT_NE(graph, nullptr);
    const Graph& g = *graph;
    const int32_t edges = expectedEdges >= 0 ? expectedEdges : g.howManyEdges;
    EXPECT_EQ(std::vector<int32_t>({g.howManyNodes, g.initialNodes, g.howManyEdges, g.initialEdges,
                                    g.edgesToRemove, g.graphType, g.initialGraphType, g.version,
                                    g.regularDegree, g.isHamiltonian, g.maxChains}),
              std::vector<int32_t>({nodes, nodes, edges, edges, edges - nodes, type, type, 7,
                                    type == 2 ? 3 : -1, kUndecided, nodes / 2}))
        << type;
    EXPECT_EQ(std::pair(g.outputFileName, checkInvariants(g)),
              std::pair(std::string("out-HC.txt"), std::string()));
  }
}

TEST(GraphGeneration, SeededOnceThenTheFamilyRuns) {
  // The generation is seeded once, then runs the family: the same as doing it by hand.
  enableFixedSeed(1234);
  std::unique_ptr<Graph> viaFactory = generated(request(2, 30, 5.0));
  disableFixedSeed();
  seedRandom(1234);
  Graph byHand(30, 2);
  generateRegularGraph(byHand, 5);
  byHand.finishConstruction();
  EXPECT_EQ(snapshot(*viaFactory), snapshot(byHand));
}

TEST(GraphGeneration, PrintLevelLines) {
  testing::CapturedDiagnostics captured;
  generated(request(5, 8, 8.0));
  generated(request(2, 12, 3.0));
  EXPECT_EQ(captured.text(), "") << "printLevel 0 prints nothing";

  GenerationRequest complete = request(8, 4);
  complete.printLevel = 1;
  generated(complete);
  // Exact text around the elapsed time, which must be a plain number.
  const std::string text = captured.text();
  const std::string head =
      "STARTING GRAPH GENERATION...\nGeneration of graph with 4 nodes successful.\tElapsed time: ";
  const std::string tail =
      "\nThe average node degree is 3\nIf a HC exists, then 2 edges need to be removed in order to find "
      "it.\n\n";
  ASSERT_GT(text.size(), head.size() + tail.size()) << text;
  EXPECT_TRUE(text.starts_with(head) && text.ends_with(tail)) << text;
  const std::string time = text.substr(head.size(), text.size() - head.size() - tail.size());
  EXPECT_EQ(time.find_first_not_of("0123456789.e-"), std::string::npos) << time;

  captured.clear();
  GenerationRequest fiveEdges = request(3, 4, 5.0);
  fiveEdges.printLevel = 1;
  generated(fiveEdges);
  for (const char* line :
       {"Graph type: Random Graph on 4 Nodes and 5 Edges.\n", "The average node degree is 2.5\n",
        "If a HC exists, then 1 edge needs to be removed in order to find it.\n\n"})
    EXPECT_NE(captured.text().find(line), std::string::npos) << line;

  // Fewer than three nodes: the warning prints whatever printLevel is, and generation goes on.
  captured.clear();
  EXPECT_EQ(generated(request(8, 2))->howManyEdges, 1);
  EXPECT_EQ(captured.text(), "Error: Attempt to generate a graph with fewer than 3 nodes.\n");
}

TEST(GraphGeneration, RefusedBeforeGenerating) {
  const std::pair<GenerationRequest, std::string> cases[] = {
      {request(2, 5, 5.0),
       "ERROR: No 5-regular graph on 5 nodes exists: the degree must be smaller than the number of nodes."},
      {request(2, 5, 3.0),
       "ERROR: No 3-regular graph on 5 nodes exists: the number of nodes times the degree must be even."},
      {request(3, 5, 11.0), "ERROR: 5 nodes have only 10 node pairs; 11 random edges cannot be placed."},
      {request(6, 1), "ERROR: The n-Cube must have at least 2 dimensions."},
      {request(6, 23),
       "ERROR: The graph would have about 96468992 edges; at most 50000000 can be generated."},
      {request(6, 40), "ERROR: The graph would have 1099511627776 nodes; at most 10000000 can be generated."},
      {request(7, 0), "ERROR: The the graph must have at least 1 component."},
      {request(4, 2, 5.0), "ERROR: The height must be 3 or greater."},
      {request(4, 5, 1.0), "ERROR: The width must be 3 or greater."},
      {request(5, 8, 3.0), "ERROR: The board must have at least 4 columns."},
      {request(5, 100000, 100000.0),
       "ERROR: The graph would have 10000000000 nodes; at most 10000000 can be generated."},
      {request(8, 20000),
       "ERROR: The graph would have about 199990000 edges; at most 50000000 can be generated."},
      {request(1, 100000, 0.0), "ERROR: A random graph with edge probability can have at most 65536 nodes."},
      {request(2, 10, std::nan("")), "ERROR: The second parameter must be a finite number."},
      {request(13, 5),
       "ERROR: Graph source 13 is neither a family nor a file; the 3-SAT reduction has its own entry."},
      {request(10, -1), "ERROR: No input file named."},
  };
  for (const auto& [r, error] : cases) {
    testing::CapturedDiagnostics captured;
    seedRandom(77);
    GenerationResult result = generateGraph(r);
    // Nothing drawn, nothing reseeded, nothing written; the same message from the feasibility check.
    EXPECT_EQ(std::tuple(bool(result), result.graph == nullptr, result.error, randomState(), captured.text(),
                         checkGenerationFeasibility(r)),
              std::tuple(false, true, error, 77u, "", error));
  }
}

// A file request is built from what its readFile gives (the formats themselves are io's,
// tested there): graph type 9, 10 for OBJ meshes, 0 for a drawing; forced edges set and
// coordinates kept. The read's error is the request's (with the hint line of a text file),
// and so are files of no nodes or more than the generators build.
TEST(GraphGeneration, FilesAreBuiltFromTheirReadOrRefused) {
  PlainGraph k4{4, testing::completeEdges(0, 4), {{0, 1}}, std::vector<Point3>(4, Point3{1, 2, 3})};
  auto reading = [](PlainGraph plain) {
    return [plain](PlainGraph& out) {
      out = plain;
      return std::string();
    };
  };
  auto fileRequest = [](GraphSource source, PlainGraphRead read) {
    GenerationRequest r;
    r.source = source;
    r.inputFileName = "g";
    r.readFile = std::move(read);
    return r;
  };
  using enum GraphSource;
  const std::pair<GraphSource, int16_t> types[] = {
      {kTextFile, 9}, {kHcpFile, 9}, {kObjFile, 10}, {kDrawingFile, 0}};
  for (auto [source, type] : types) {
    GenerationRequest r = fileRequest(source, reading(k4));
    r.printLevel = 1;
    testing::CapturedDiagnostics captured;
    std::unique_ptr<Graph> graph = generated(r);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(
        std::tuple(graph->howManyNodes, graph->howManyEdges, graph->graphType, graph->coordinates.size(),
                   graph->isUncuttableEdge(0, 1), graph->inputFileName, checkInvariants(*graph)),
        std::tuple(4, 6, type, size_t{4}, true, std::string("g"), std::string()));
    EXPECT_EQ(captured.text().find("Graph type: File-Read Graph from g.\n") != std::string::npos,
              source == kTextFile);
  }

  auto failing = [](PlainGraph&) { return std::string("g: cannot open the file"); };
  const std::string hint =
      "Error: Make sure you have properly formatted file named g in the current directory.\n\n";
  const std::tuple<GenerationRequest, std::string, std::string> refusals[] = {
      {fileRequest(kTextFile, failing), "g: cannot open the file", hint},
      {fileRequest(kObjFile, failing), "g: cannot open the file", ""},
      {fileRequest(kTextFile, reading(PlainGraph{})), "g: the file holds no nodes", ""},
      {fileRequest(kObjFile, reading(PlainGraph{10000001, {}, {}})),
       "g: The graph would have 10000001 nodes; at most 10000000 can be generated.", ""},
      {fileRequest(kTextFile, {}), "ERROR: No reader for the file of graph type 9.", ""},
  };
  for (const auto& [r, error, printed] : refusals) {
    testing::CapturedDiagnostics captured;
    GenerationResult refused = generateGraph(r);
    EXPECT_EQ(std::tuple(bool(refused), refused.error, captured.text()), std::tuple(false, error, printed));
  }
}

// The page's rules, message by message, are covered through its load buttons; here only
// what the buttons cannot show: two messages joined, and how a text is read.
TEST(GraphGeneration, PageRules) {
  EXPECT_EQ(validateGenerationRequest(request(1, 2, 1.5)),
            "ERROR: The number of nodes must be 3 or greater.\n"
            "ERROR: The edge percentage must be between 0.0 and 1.0, inclusive.");
  EXPECT_EQ(
      validateGenerationRequest(request(2, 7, 3.0)),
      "ERROR: No 3-regular graph on 7 nodes exists: the number of nodes times the degree must be even.");
  EXPECT_EQ(std::vector<double>({numericTextValue("-"), numericTextValue("."), numericTextValue("2.5.1")}),
            std::vector<double>({0.0, 0.0, 2.5}));
  ParameterCheck fine = checkGenerationParameters(GraphSource::kRegularGraph, "10", "3.9");
  ASSERT_TRUE(fine.ok());
  EXPECT_EQ(generated(request(2, static_cast<int32_t>(fine.first), fine.second))->regularDegree, 3);
}

TEST(GraphGeneration, ThreeSatEntry) {
  enableFixedSeed(5);
  SatGenerationResult result = generate3SatGraph(3.0, 1.0);
  disableFixedSeed();
  ASSERT_TRUE(result && result.formula) << result.error;
  const Graph& g = *result.graph;
  EXPECT_EQ(std::vector<int32_t>({result.formula->howManyClauses, result.formula->howManyUsedVariables,
                                  result.formula->howManyGraphNodes, g.howManyNodes, g.howManyEdges,
                                  g.graphType, g.version, g.regularDegree}),
            std::vector<int32_t>({3, 3, 153, 153, 219, 0, 5, -1}));
  EXPECT_EQ(g.outputFileName, "");

  EXPECT_EQ(validate3SatRequest(1000000.0, 100.0),
            "ERROR: The graph would have 4902000000 nodes; at most 10000000 can be generated.");
  // 3.5 variables pass the page's 1/n test with 0.2858, but trunc(3 * 0.2858) is no clause.
  SatGenerationResult none = generate3SatGraph(3.5, 0.2858);
  EXPECT_FALSE(none || none.formula);
  EXPECT_EQ(none.error,
            "ERROR: 3 variables with clause multiplier 0.2858 give no clause; a formula needs at least one.");
  FormulaResult empty = formulaFromClauses(3, {});
  ASSERT_TRUE(empty);
  EXPECT_EQ(generate3SatGraph(*empty.formula).error,
            "ERROR: The formula has no clause; a formula needs at least one to be reduced.");
}

TEST(GenerationStop, ProgressRisesAndAStopAnywhereCancels) {
  // Complete, regular, random edges, knight, n-cube, edge probability. With the same seed the
  // watched run builds the same graph as the plain one.
  const std::vector<GenerationRequest> requests = {request(8, 120, 0),   request(2, 300, 5),
                                                   request(3, 200, 900), request(5, 12, 12),
                                                   request(6, 9, 0),     request(1, 300, 0.3)};
  for (const GenerationRequest& r : requests) {
    enableFixedSeed(3);
    GenerationResult plain = generateGraph(r);
    std::vector<double> seen;
    StopToken never;
    enableFixedSeed(3);
    GenerationResult watched = generateGraph(r, &never, [&seen](double f) { seen.push_back(f); });
    ASSERT_TRUE(plain && watched) << graphSourceCode(r.source);
    EXPECT_EQ(snapshot(*plain.graph), snapshot(*watched.graph));
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::ranges::is_sorted(seen) && seen.back() == 1.0);
    for (double stopAt : {0.0, 0.2, 0.6}) {
      StopToken stop;
      if (stopAt == 0.0) stop.requestStop();
      GenerationResult stopped = generateGraph(r, &stop, [&](double f) {
        if (f >= stopAt) stop.requestStop();
      });
      EXPECT_FALSE(stopped) << graphSourceCode(r.source) << " " << stopAt;
      EXPECT_EQ(stopped.error, "generation cancelled");
    }
  }
  StopToken stopped;
  stopped.requestStop();
  SatGenerationResult sat = generate3SatGraph(10, 4.0, &stopped);
  EXPECT_TRUE(!sat && !sat.formula && sat.error == "generation cancelled");
  disableFixedSeed();
}

}  // namespace
}  // namespace hc
