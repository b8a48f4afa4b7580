// The generation factory: node counts, fields, printLevel lines, seeding, files, and the
// requests it refuses (with their messages, before anything is generated).
#include "generators/graph_generation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "core/diagnostics.h"
#include "core/graph_invariants.h"
#include "core/random.h"
#include "generators/graph_families.h"

namespace hc {
namespace {

GenerationRequest request(int16_t type, int32_t n, double x = 0.0) {
  GenerationRequest r;
  r.graphType = type;
  r.n = n;
  r.x = x;
  return r;
}

std::unique_ptr<Graph> generated(const GenerationRequest& r) {
  GenerationResult result = generateGraph(r);
  EXPECT_TRUE(result) << result.error;
  EXPECT_EQ(result.error, "");
  return std::move(result.graph);
}

std::vector<std::vector<int32_t>> arrays(const Graph& graph) {
  std::vector<std::vector<int32_t>> lists;
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    const Node& node = graph.node(v);
    lists.emplace_back(node.neighborArray, node.neighborArray + node.degree);
  }
  return lists;
}

TEST(GraphGeneration, NodeCountsAndFields) {
  struct Case {
    int16_t type;
    int32_t n;
    double x;
    int32_t nodes;
    int32_t edges;  // -1: random
  };
  const Case cases[] = {
      {1, 12, 0.3, 12, -1}, {2, 10, 3.9, 10, 15},  {3, 9, 20.7, 9, 20}, {4, 3, 4.9, 12, 24},
      {5, 8, 8.0, 64, 168}, {6, 3, 0.0, 8, 12},    {6, 5, 0.0, 32, 80}, {7, 2, 0.0, 28, 88},
      {7, 3, 0.0, 42, 132}, {8, 7, 0.0, 7, 21},
  };
  for (const Case& c : cases) {
    GenerationRequest r = request(c.type, c.n, c.x);
    r.outputFileName = "out-HC.txt";
    r.version = 7;
    std::unique_ptr<Graph> graph = generated(r);
    ASSERT_NE(graph, nullptr);
    const Graph& g = *graph;
    const int32_t edges = c.edges >= 0 ? c.edges : g.howManyEdges;
    EXPECT_EQ(std::vector<int32_t>({g.howManyNodes, g.initialNodes, g.howManyEdges, g.initialEdges, g.edgesToRemove,
                                    g.graphType, g.initialGraphType, g.version, g.regularDegree, g.isHamiltonian,
                                    g.maxChains}),
              std::vector<int32_t>({c.nodes, c.nodes, edges, edges, edges - c.nodes, c.type, c.type, 7,
                                    c.type == 2 ? 3 : -1, kUndecided, c.nodes / 2}))
        << c.type;
    EXPECT_EQ(g.outputFileName, "out-HC.txt");
    EXPECT_EQ(checkInvariants(g), "");
  }
}

TEST(GraphGeneration, SameSeedSameGraph) {
  for (int16_t type : {int16_t{1}, int16_t{2}, int16_t{3}}) {
    GenerationRequest r = request(type, 40, type == 1 ? 0.2 : (type == 2 ? 4.0 : 70.0));
    enableFixedSeed(7);
    std::unique_ptr<Graph> first = generated(r);
    enableFixedSeed(7);
    std::unique_ptr<Graph> second = generated(r);
    enableFixedSeed(8);
    std::unique_ptr<Graph> other = generated(r);
    disableFixedSeed();
    EXPECT_EQ(arrays(*first), arrays(*second)) << type;
    EXPECT_NE(arrays(*first), arrays(*other)) << type;
  }
  // The generation is seeded once, then runs the family: the same as doing it by hand.
  enableFixedSeed(1234);
  std::unique_ptr<Graph> viaFactory = generated(request(2, 30, 5.0));
  disableFixedSeed();
  seedRandom(1234);
  Graph byHand(30, 2);
  generateRegularGraph(byHand, 5);
  byHand.finishConstruction();
  EXPECT_EQ(arrays(*viaFactory), arrays(byHand));
}

TEST(GraphGeneration, PrintLevelLines) {
  std::ostringstream captured;
  ScopedDiagnosticStream capture(captured);
  generated(request(5, 8, 8.0));
  generated(request(2, 12, 3.0));
  EXPECT_EQ(captured.str(), "") << "printLevel 0 prints nothing";

  GenerationRequest complete = request(8, 4);
  complete.printLevel = 1;
  generated(complete);
  // Exact text around the elapsed time, which must be a plain number.
  const std::string text = captured.str();
  const std::string head = "STARTING GRAPH GENERATION...\nGeneration of graph with 4 nodes successful.\tElapsed time: ";
  const std::string tail =
      "\nThe average node degree is 3\nIf a HC exists, then 2 edges need to be removed in order to find it.\n\n";
  ASSERT_GT(text.size(), head.size() + tail.size()) << text;
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  const std::string time = text.substr(head.size(), text.size() - head.size() - tail.size());
  EXPECT_EQ(time.find_first_not_of("0123456789.e-"), std::string::npos) << time;

  captured.str("");
  GenerationRequest fiveEdges = request(3, 4, 5.0);
  fiveEdges.printLevel = 1;
  generated(fiveEdges);
  EXPECT_NE(captured.str().find("Graph type: Random Graph on 4 Nodes and 5 Edges.\n"), std::string::npos);
  EXPECT_NE(captured.str().find("The average node degree is 2.5\n"), std::string::npos);
  EXPECT_NE(captured.str().find("If a HC exists, then 1 edge needs to be removed in order to find it.\n\n"),
            std::string::npos);

  // Fewer than three nodes: the warning prints whatever printLevel is, and generation goes on.
  captured.str("");
  std::unique_ptr<Graph> two = generated(request(8, 2));
  EXPECT_EQ(captured.str(), "Error: Attempt to generate a graph with fewer than 3 nodes.\n");
  EXPECT_EQ(two->howManyEdges, 1);
}

TEST(GraphGeneration, RefusedBeforeGenerating) {
  struct Case {
    GenerationRequest r;
    std::string error;
  };
  const Case cases[] = {
      {request(2, 5, 5.0), "ERROR: No 5-regular graph on 5 nodes exists: the degree must be smaller than the number of nodes."},
      {request(2, 5, 3.0), "ERROR: No 3-regular graph on 5 nodes exists: the number of nodes times the degree must be even."},
      {request(3, 5, 11.0), "ERROR: 5 nodes have only 10 node pairs; 11 random edges cannot be placed."},
      {request(6, 1), "ERROR: The n-Cube must have at least 2 dimensions."},
      {request(6, 23), "ERROR: The graph would have about 96468992 edges; at most 50000000 can be generated."},
      {request(6, 40), "ERROR: The graph would have 1099511627776 nodes; at most 10000000 can be generated."},
      {request(7, 0), "ERROR: The the graph must have at least 1 component."},
      {request(4, 2, 5.0), "ERROR: The height must be 3 or greater."},
      {request(4, 5, 1.0), "ERROR: The width must be 3 or greater."},
      {request(5, 8, 3.0), "ERROR: The board must have at least 4 columns."},
      {request(5, 100000, 100000.0), "ERROR: The graph would have 10000000000 nodes; at most 10000000 can be generated."},
      {request(8, 20000), "ERROR: The graph would have about 199990000 edges; at most 50000000 can be generated."},
      {request(1, 100000, 0.0), "ERROR: A random graph with edge probability can have at most 65536 nodes."},
      {request(2, 10, std::nan("")), "ERROR: The second parameter must be a finite number."},
      {request(11, 5), "ERROR: Unknown graph type code 11 (1..10 are known)."},
      {request(9, -1), "ERROR: No input file named."},
  };
  for (const Case& c : cases) {
    std::ostringstream captured;
    ScopedDiagnosticStream capture(captured);
    seedRandom(77);
    GenerationResult result = generateGraph(c.r);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.graph, nullptr);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(randomState(), 77u) << "nothing drawn, nothing reseeded: " << c.error;
    EXPECT_EQ(captured.str(), "");
    EXPECT_EQ(checkGenerationFeasibility(c.r), c.error);
  }
}

TEST(GraphGeneration, FilesAreReadOrRefusedWithoutEndingTheProgram) {
  GenerationRequest text = request(9, -1, -1.0);
  text.inputFileName = std::string(HC_TEST_DATA_DIR) + "/txt/valid/k4.txt";
  text.outputFileName = "k4-HC.txt";
  std::unique_ptr<Graph> k4 = generated(text);
  EXPECT_EQ(std::vector<int32_t>({k4->howManyNodes, k4->howManyEdges, k4->graphType}), std::vector<int32_t>({4, 6, 9}));
  EXPECT_EQ(k4->inputFileName, text.inputFileName);

  GenerationRequest obj = request(10, -1, -1.0);
  obj.inputFileName = std::string(HC_TEST_DATA_DIR) + "/obj/valid/two_faces_sharing_an_edge.obj";
  std::unique_ptr<Graph> square = generated(obj);
  EXPECT_EQ(std::vector<size_t>({size_t(square->howManyNodes), size_t(square->howManyEdges), square->coordinates.size()}),
            std::vector<size_t>({4, 5, 4}));

  std::ostringstream captured;
  ScopedDiagnosticStream capture(captured);
  GenerationRequest missing = request(9, -1, -1.0);
  missing.inputFileName = "/nonexistent/graph.txt";
  GenerationResult refused = generateGraph(missing);
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.error.find("/nonexistent/graph.txt"), std::string::npos) << refused.error;
  EXPECT_EQ(captured.str(),
            "Error: Make sure you have properly formatted file named /nonexistent/graph.txt in the current "
            "directory.\n\n");

  for (auto [type, name] : {std::pair<int16_t, std::string>{10, "/nonexistent/mesh.obj"},
                             {9, std::string(HC_TEST_DATA_DIR) + "/txt/invalid/neighbour_out_of_range.txt"}}) {
    GenerationRequest bad = request(type, -1, -1.0);
    bad.inputFileName = name;
    GenerationResult refusedToo = generateGraph(bad);
    EXPECT_FALSE(refusedToo);
    EXPECT_NE(refusedToo.error.find(name), std::string::npos) << refusedToo.error;
  }
}

TEST(GraphGeneration, PageRulesOnRequests) {
  const std::pair<GenerationRequest, const char*> cases[] = {
      {request(1, 2, 1.5),
       "ERROR: The number of nodes must be 3 or greater.\n"
       "ERROR: The edge percentage must be between 0.0 and 1.0, inclusive."},
      {request(2, 10, 2.9), "ERROR: The degree of each node must be 3 or greater."},
      {request(2, 10, 3.9), ""},
      {request(3, 10, -1.0), "ERROR: The number of edges must be 0 or greater."},
      {request(4, 2, 5.0), "ERROR: The height must be 3 or greater."},
      {request(5, 8, 7.0), "ERROR: The number of columns must be 8 or greater."},
      {request(5, 7, 7.0), "ERROR: The number of rows must be 8 or greater.\nERROR: The number of columns must be 8 or greater."},
      {request(8, 2), "ERROR: The graph must have at least 3 nodes."},
      {request(7, 0), "ERROR: The the graph must have at least 1 component."},
      // Past the page's rules, feasibility still holds the line.
      {request(2, 7, 3.0), "ERROR: No 3-regular graph on 7 nodes exists: the number of nodes times the degree must be even."},
  };
  for (const auto& [r, expected] : cases) EXPECT_EQ(validateGenerationRequest(r), expected);
}

TEST(GraphGeneration, PageParameterTexts) {
  for (const char* text : {"", "-", "."}) EXPECT_TRUE(isNumericText(text)) << text;
  EXPECT_FALSE(isNumericText("1e3"));
  EXPECT_EQ(std::vector<double>({numericTextValue("-"), numericTextValue("."), numericTextValue("2.5.1")}),
            std::vector<double>({0.0, 0.0, 2.5}));

  struct Check {
    int32_t type;
    const char* first;
    const char* second;
    std::vector<std::string> errors;
  };
  const Check checks[] = {
      {1, "1e3", "0.5", {"ERROR: Graph parameters must be numeric."}},
      {1, "2", "1.5",
       {"ERROR: The number of nodes must be 3 or greater.",
        "ERROR: The edge percentage must be between 0.0 and 1.0, inclusive."}},
      {3, "", "4", {"ERROR: The number of nodes must be 3 or greater."}},
      {4, "2.7", "5", {"ERROR: The height must be 3 or greater."}},
      {5, "8", "7", {"ERROR: The number of columns must be 8 or greater."}},
      {6, "1.9", "anything", {"ERROR: The n-Cube must have at least 2 dimensions."}},
      {9, "4", "0.2", {"ERROR: The clause multiplier must be at least 0.2500."}},
      {9, "3", "0.3", {"ERROR: The clause multiplier must be at least 0.3333."}},
      {9, "2", "9", {"ERROR: The number of variables must be 3 or greater."}},
  };
  for (const Check& c : checks) {
    EXPECT_EQ(checkGenerationParameters(c.type, c.first, c.second).errors, c.errors) << c.type << " " << c.first;
  }
  ParameterCheck fine = checkGenerationParameters(2, "10", "3.9");
  EXPECT_TRUE(fine.ok());
  GenerationRequest r = requestForFamily(2, fine.first, fine.second);
  EXPECT_EQ(r.n, 10);
  EXPECT_EQ(generated(r)->regularDegree, 3);

  EXPECT_EQ(formatNumberForMessage(0.05, 4) + " " + formatNumberForMessage(12.0, 0) + " " +
                formatNumberForMessage(3.14159, 2) + " " + formatNumberForMessage(1.0 / 7.0, 4),
            "0.0500 12 3.14 0.1428");
}

TEST(GraphGeneration, ThreeSatEntry) {
  enableFixedSeed(5);
  SatGenerationResult result = generate3SatGraph(3.0, 1.0);
  disableFixedSeed();
  ASSERT_TRUE(result) << result.error;
  ASSERT_TRUE(result.formula.has_value());
  EXPECT_EQ(result.formula->howManyClauses, 3);
  EXPECT_EQ(result.graph->howManyNodes, 153);
  EXPECT_EQ(result.graph->howManyEdges, 219);

  EXPECT_EQ(validate3SatRequest(2.0, 5.0), "ERROR: The number of variables must be 3 or greater.");
  EXPECT_EQ(validate3SatRequest(4.0, 0.2), "ERROR: The clause multiplier must be at least 0.2500.");
  // 3.5 variables pass the page's 1/n test with 0.2858, but trunc(3 * 0.2858) is no clause.
  SatGenerationResult none = generate3SatGraph(3.5, 0.2858);
  EXPECT_FALSE(none);
  EXPECT_FALSE(none.formula.has_value());
  EXPECT_EQ(none.error, "ERROR: 3 variables with clause multiplier 0.2858 give no clause; a formula needs at least one.");
  EXPECT_EQ(validate3SatRequest(1000000.0, 100.0),
            "ERROR: The graph would have 4902000000 nodes; at most 10000000 can be generated.");

  FormulaResult empty = formulaFromClauses(3, {});
  ASSERT_TRUE(empty);
  EXPECT_EQ(generate3SatGraph(*empty.formula).error,
            "ERROR: The formula has no clause; a formula needs at least one to be reduced.");
}

}  // namespace
}  // namespace hc
