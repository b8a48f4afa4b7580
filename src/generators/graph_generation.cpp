// The generation factory and the checks in front of it.
//
// Everything that can go wrong with a request is found before a node is allocated: the
// families trust their parameters, and some of them would never return (a regular degree
// that no graph on n nodes can have, more edges than node pairs) or would index outside
// the node array (a knight's board narrower than four columns, an ICCS graph without
// components). File requests are the exception: a file is only known to be bad once it has
// been read, so its graph is built only from what its reader accepted.
#include "generators/graph_generation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>

#include "core/clock.h"
#include "core/diagnostics.h"
#include "core/number_format.h"
#include "core/random.h"
#include "generators/generation_limits.h"
#include "generators/graph_families.h"

namespace hc {

namespace {

const char* const kNotNumeric = "ERROR: Graph parameters must be numeric.";

// Drops the fraction; values outside int32 (and NaN) are clamped so they fail the range
// checks instead of overflowing.
int32_t truncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int64_t pairCount(int64_t n) {
  return n < 2 ? 0 : n * (n - 1) / 2;
}

std::string tooManyNodes(int64_t nodes) {
  return "ERROR: The graph would have " + std::to_string(nodes) + " nodes; at most " +
         std::to_string(kMaxGeneratedNodes) + " can be generated.";
}

std::string tooManyEdges(int64_t edges) {
  return "ERROR: The graph would have about " + std::to_string(edges) + " edges; at most " +
         std::to_string(kMaxGeneratedEdges) + " can be generated.";
}

// The size limits on a family's nodes, then its (about) edges.
std::string beyondLimits(int64_t nodes, int64_t edges) {
  if (nodes > kMaxGeneratedNodes) return tooManyNodes(nodes);
  if (edges > kMaxGeneratedEdges) return tooManyEdges(edges);
  return {};
}

std::string joinMessages(const std::vector<std::string>& messages) {
  std::string text;
  for (const std::string& message : messages) {
    if (!text.empty()) text += '\n';
    text += message;
  }
  return text;
}

using enum GraphSource;

// Node count of a family request, as int64 so products cannot overflow.
int64_t familyNodeCount(const GenerationRequest& request) {
  const int64_t n = request.n;
  switch (request.source) {
    case kToroidalGrid:
    case kKnightsTourGraph: return n * truncateToInt32(request.x);
    case kNCubeGraph: return n <= 0 ? 1 : (n >= 62 ? std::numeric_limits<int64_t>::max() : int64_t{1} << n);
    case kIccsGraph: return 14 * n;
    default: return n;
  }
}

std::string feasibilityOfFamily(const GenerationRequest& request) {
  const int32_t n = request.n;
  const double x = request.x;
  const GraphSource source = request.source;
  if (source <= kKnightsTourGraph && !std::isfinite(x))
    return "ERROR: The second parameter must be a finite number.";
  const int32_t whole = truncateToInt32(x);
  switch (source) {
    case kEdgeProbabilityGraph: {
      if (n < 1) return "ERROR: The graph must have at least 1 node.";
      // One draw per node pair: beyond 65536 nodes that is more than 2^31 draws.
      if (n > 65536) return "ERROR: A random graph with edge probability can have at most 65536 nodes.";
      const double expected = std::min(std::max(x, 0.0), 1.0) * static_cast<double>(pairCount(n));
      if (expected > static_cast<double>(kMaxGeneratedEdges))
        return tooManyEdges(static_cast<int64_t>(expected));
      return {};
    }
    case kRegularGraph: {
      if (n < 1) return "ERROR: The graph must have at least 1 node.";
      if (n > kMaxGeneratedNodes) return tooManyNodes(n);
      if (whole < 0) return "ERROR: The degree of each node must be 0 or greater.";
      if (whole >= n) {
        return "ERROR: No " + std::to_string(whole) + "-regular graph on " + std::to_string(n) +
               " nodes exists: the degree must be smaller than the number of nodes.";
      }
      if ((static_cast<int64_t>(n) * whole) % 2 != 0) {
        return "ERROR: No " + std::to_string(whole) + "-regular graph on " + std::to_string(n) +
               " nodes exists: the number of nodes times the degree must be even.";
      }
      const int64_t edges = static_cast<int64_t>(n) * whole / 2;
      if (edges > kMaxGeneratedEdges) return tooManyEdges(edges);
      return {};
    }
    case kRandomEdgesGraph: {
      if (n < 1) return "ERROR: The graph must have at least 1 node.";
      if (n > kMaxGeneratedNodes) return tooManyNodes(n);
      if (whole < 0) return "ERROR: The number of edges must be 0 or greater.";
      if (whole > pairCount(n)) {
        return "ERROR: " + std::to_string(n) + " nodes have only " + std::to_string(pairCount(n)) +
               " node pairs; " + std::to_string(whole) + " random edges cannot be placed.";
      }
      if (whole > kMaxGeneratedEdges) return tooManyEdges(whole);
      return {};
    }
    case kToroidalGrid: {
      // Narrower tori would join nodes to themselves or twice.
      if (n < 3) return "ERROR: The height must be 3 or greater.";
      if (whole < 3) return "ERROR: The width must be 3 or greater.";
      const int64_t nodes = familyNodeCount(request);
      return beyondLimits(nodes, 2 * nodes);
    }
    case kKnightsTourGraph: {
      // The move table reaches two columns to each side; fewer than four columns would
      // name squares that are not on the board.
      if (n < 1) return "ERROR: The board must have at least 1 row.";
      if (whole < 4) return "ERROR: The board must have at least 4 columns.";
      const int64_t nodes = familyNodeCount(request);
      return beyondLimits(nodes, 4 * nodes);
    }
    case kNCubeGraph: {
      if (n < 2) return "ERROR: The n-Cube must have at least 2 dimensions.";
      if (n > 30) return tooManyNodes(familyNodeCount(request));
      const int64_t nodes = familyNodeCount(request);
      return beyondLimits(nodes, static_cast<int64_t>(n) * (nodes / 2));
    }
    case kIccsGraph: {
      if (n < 1) return "ERROR: The the graph must have at least 1 component.";
      const int64_t nodes = familyNodeCount(request);
      if (nodes > kMaxGeneratedNodes) return tooManyNodes(nodes);
      return {};
    }
    case kCompleteGraph: {
      if (n < 1) return "ERROR: The graph must have at least 1 node.";
      if (pairCount(n) > kMaxGeneratedEdges) return tooManyEdges(pairCount(n));
      return {};
    }
    default: return {};
  }
}

// The page's range rules for the families, on the request's values.
std::vector<std::string> pageRules(const GenerationRequest& request) {
  std::vector<std::string> errors;
  const int32_t n = request.n;
  const double x = request.x;
  const int32_t whole = truncateToInt32(x);
  const GraphSource source = request.source;
  switch (source) {
    case kEdgeProbabilityGraph:
    case kRegularGraph:
    case kRandomEdgesGraph: {
      const bool ok2 = source == kEdgeProbabilityGraph ? (x >= 0.0 && x <= 1.0)
                       : source == kRegularGraph       ? x >= 3.0
                                                       : x >= 0.0;
      if (n < 3) errors.emplace_back("ERROR: The number of nodes must be 3 or greater.");
      if (!ok2) {
        errors.emplace_back(source == kEdgeProbabilityGraph
                                ? "ERROR: The edge percentage must be between 0.0 and 1.0, inclusive."
                            : source == kRegularGraph ? "ERROR: The degree of each node must be 3 or greater."
                                                      : "ERROR: The number of edges must be 0 or greater.");
      }
      break;
    }
    case kToroidalGrid:
      if (n < 3) errors.emplace_back("ERROR: The height must be 3 or greater.");
      if (whole < 3) errors.emplace_back("ERROR: The width must be 3 or greater.");
      break;
    case kKnightsTourGraph:
      if (n < 8) errors.emplace_back("ERROR: The number of rows must be 8 or greater.");
      if (whole < 8) errors.emplace_back("ERROR: The number of columns must be 8 or greater.");
      break;
    case kNCubeGraph:
      if (n < 2) errors.emplace_back("ERROR: The n-Cube must have at least 2 dimensions.");
      break;
    case kIccsGraph:
      if (n < 1) errors.emplace_back("ERROR: The the graph must have at least 1 component.");
      break;
    case kCompleteGraph:
      if (n < 3) errors.emplace_back("ERROR: The graph must have at least 3 nodes.");
      break;
    default: break;
  }
  return errors;
}

// Reads the file of a file request; on failure the error and no graph.
std::string readFileGraph(const GenerationRequest& request, PlainGraph& plain) {
  std::string error = request.readFile(plain);
  if (!error.empty()) {
    if (request.source == kTextFile) {
      diagnostic("Error: Make sure you have properly formatted file named ", request.inputFileName,
                 " in the current directory.\n\n");
    }
    return error;
  }
  if (plain.nodes <= 0) return request.inputFileName + ": the file holds no nodes";
  if (plain.nodes > kMaxGeneratedNodes)
    return request.inputFileName + ": " + tooManyNodes(plain.nodes).substr(7);
  if (request.printLevel >= 1 && request.source == kTextFile)
    diagnostic("Graph type: File-Read Graph from ", request.inputFileName, ".\n");
  return {};
}

// Empty, or why the family gave up.
std::string addFamilyEdges(Graph& graph, const GenerationRequest& request, GenerationTicker& ticker) {
  const int32_t whole = truncateToInt32(request.x);
  switch (request.source) {
    case kEdgeProbabilityGraph: generateEdgeProbabilityGraph(graph, request.x, &ticker); break;
    case kRegularGraph:
      if (generateRegularGraph(graph, whole, kMaxRegularGraphDraws, &ticker) == 0) {
        return "ERROR: No random " + std::to_string(whole) + "-regular graph on " +
               std::to_string(request.n) + " nodes was found within " +
               std::to_string(kMaxRegularGraphDraws) + " draws; lower degrees are found much faster.";
      }
      break;
    case kRandomEdgesGraph: generateRandomEdgesGraph(graph, whole, &ticker); break;
    case kToroidalGrid: generateToroidalGrid(graph, request.n, whole, &ticker); break;
    case kKnightsTourGraph: generateKnightsTourGraph(graph, request.n, whole, &ticker); break;
    case kNCubeGraph: generateNCube(graph, request.n, &ticker); break;
    case kIccsGraph: generateICCSGraph(graph, request.n, &ticker); break;
    case kCompleteGraph: generateCompleteGraph(graph, &ticker); break;
    default: break;
  }
  return {};
}

}  // namespace

int16_t generatedGraphType(GraphSource source) {
  if (isGeneratorFamily(source)) return static_cast<int16_t>(graphSourceCode(source));
  switch (source) {
    case kTextFile:
    case kHcpFile: return 9;
    case kObjFile: return 10;
    case kDrawingFile: return 0;
    default: return -1;
  }
}

std::string checkGenerationFeasibility(const GenerationRequest& request) {
  if (generatedGraphType(request.source) < 0) {
    return "ERROR: Graph source " + std::to_string(graphSourceCode(request.source)) +
           " is neither a family nor a file; the 3-SAT reduction has its own entry.";
  }
  if (isGraphFile(request.source)) {
    if (request.inputFileName.empty()) return "ERROR: No input file named.";
    if (!request.readFile)
      return "ERROR: No reader for the file of graph type " +
             std::to_string(generatedGraphType(request.source)) + ".";
    return {};
  }
  return feasibilityOfFamily(request);
}

std::string validateGenerationRequest(const GenerationRequest& request) {
  std::vector<std::string> errors = pageRules(request);
  if (!errors.empty()) return joinMessages(errors);
  return checkGenerationFeasibility(request);
}

GenerationResult generateGraph(const GenerationRequest& request, const StopToken* stop,
                               std::function<void(double)> progress) {
  GenerationResult result;
  result.error = checkGenerationFeasibility(request);
  if (!result.error.empty()) return result;
  GenerationTicker ticker(stop, std::move(progress));
  auto cancelled = [&result]() {
    result.graph.reset();
    result.error = kGenerationCancelled;
    return std::move(result);
  };
  if (ticker.stopRequested()) return cancelled();

  const GraphSource source = request.source;
  const int16_t type = generatedGraphType(source);
  if (request.printLevel >= 1) diagnostic("STARTING GRAPH GENERATION...\n");
  const int64_t t0 = millisecondsSinceStart();
  reseedFromClock(graphClockSeed());
  if ((source <= kRandomEdgesGraph || source == kCompleteGraph) && request.n < 3) {
    diagnostic("Error: Attempt to generate a graph with fewer than 3 nodes.\n");
  }

  int32_t nodeCount = isGraphFile(source) ? 0 : static_cast<int32_t>(familyNodeCount(request));
  try {
    // A file's graph is built in one pass from the edges its reader accepted; a family joins
    // its own.
    std::unique_ptr<Graph> graph;
    if (isGraphFile(source)) {
      PlainGraph plain;
      result.error = readFileGraph(request, plain);
      if (!result.error.empty()) return result;
      if (ticker.stopRequested()) return cancelled();
      nodeCount = plain.nodes;
      graph = graphOfPlain(plain, type);
    } else {
      graph = std::make_unique<Graph>(nodeCount, type);
    }
    graph->version = request.version;
    graph->initialVersion = request.version;
    graph->inputFileName = request.inputFileName;
    graph->outputFileName = request.outputFileName;
    graph->printLevel = request.printLevel;
    graph->regularDegree = -1;
    graph->initialRegularDegree = -1;

    if (!isGraphFile(source)) {
      // A stopped family leaves a partial graph (and the regular family a "gave up").
      std::string problem = addFamilyEdges(*graph, request, ticker);
      if (ticker.stopped() || ticker.stopRequested()) return cancelled();
      result.error = std::move(problem);
      if (!result.error.empty()) return result;
      if (ticker.stopRequested()) return cancelled();
      graph->finishConstruction();
    }
    if (ticker.stopRequested()) return cancelled();
    graph->initialRegularDegree = graph->regularDegree;
    result.graph = std::move(graph);
    ticker.finished();
  } catch (const std::bad_alloc&) {
    diagnostic("New failed.\n");
    result.error =
        "ERROR: Not enough memory to generate a graph with " + std::to_string(nodeCount) + " nodes.";
    return result;
  }

  const Graph& graph = *result.graph;
  if (graph.printLevel >= 1) {
    const double seconds =
        static_cast<double>(millisecondsSinceStart()) * 0.001 - static_cast<double>(t0) * 0.001;
    diagnostic("Generation of graph with ", graph.howManyNodes, " nodes successful.\tElapsed time: ", seconds,
               "\n");
    diagnostic("The average node degree is ",
               2.0 * static_cast<double>(graph.howManyEdges) / static_cast<double>(graph.howManyNodes), "\n");
    if (graph.edgesToRemove == 1) {
      diagnostic("If a HC exists, then 1 edge needs to be removed in order to find it.\n\n");
    } else {
      diagnostic("If a HC exists, then ", graph.edgesToRemove,
                 " edges need to be removed in order to find it.\n\n");
    }
  }
  return result;
}

bool isNumericText(std::string_view text) {
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-')) return false;
  }
  return true;
}

double numericTextValue(std::string_view text) {
  std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

ParameterCheck checkGenerationParameters(GraphSource source, std::string_view text1, std::string_view text2) {
  ParameterCheck check;
  const bool usesSecond = source <= kKnightsTourGraph || source == kThreeSatReduction;
  if (!isNumericText(text1) || (usesSecond && !isNumericText(text2))) {
    check.errors.emplace_back(kNotNumeric);
    return check;
  }
  check.first = numericTextValue(text1);
  check.second = usesSecond ? numericTextValue(text2) : 0.0;
  const double p1 = check.first;
  const double p2 = check.second;
  if (isGeneratorFamily(source)) {
    // Comparing the truncated node count with 3 is the same as comparing the value.
    check.errors = pageRules(requestForFamily(source, p1, p2));
  } else if (source == kThreeSatReduction) {
    if (p1 < 3.0) {
      check.errors.emplace_back("ERROR: The number of variables must be 3 or greater.");
    } else if (!(p2 >= 1.0 / p1)) {
      check.errors.emplace_back("ERROR: The clause multiplier must be at least " + formatNumber(1.0 / p1, 4) +
                                ".");
    }
  }
  return check;
}

GenerationRequest requestForFamily(GraphSource source, double first, double second) {
  GenerationRequest request;
  request.source = source;
  request.n = truncateToInt32(first);
  request.x = second;
  return request;
}

std::string validate3SatRequest(double variables, double clauseMultiplier) {
  if (!std::isfinite(variables) || !std::isfinite(clauseMultiplier)) return kNotNumeric;
  if (variables < 3.0) return "ERROR: The number of variables must be 3 or greater.";
  if (!(clauseMultiplier >= 1.0 / variables)) {
    return "ERROR: The clause multiplier must be at least " + formatNumber(1.0 / variables, 4) + ".";
  }
  const int64_t n = truncateToInt32(variables);
  const double clauses = static_cast<double>(n) * clauseMultiplier;
  if (clauses < 1.0) {
    return "ERROR: " + std::to_string(n) + " variables with clause multiplier " +
           formatNumber(clauseMultiplier, 4) + " give no clause; a formula needs at least one.";
  }
  if (49.0 * clauses + 2.0 * static_cast<double>(n) > static_cast<double>(kMaxGeneratedNodes)) {
    return tooManyNodes(static_cast<int64_t>(std::min(49.0 * clauses + 2.0 * static_cast<double>(n), 9e18)));
  }
  return {};
}

SatGenerationResult generate3SatGraph(double variables, double clauseMultiplier, const StopToken* stop,
                                      std::function<void(double)> progress) {
  SatGenerationResult result;
  result.error = validate3SatRequest(variables, clauseMultiplier);
  if (!result.error.empty()) return result;
  GenerationTicker ticker(stop, std::move(progress));
  auto cancelled = []() {
    SatGenerationResult stopped;
    stopped.error = kGenerationCancelled;
    return stopped;
  };
  if (!ticker.tick(0, 2)) return cancelled();
  FormulaResult formula = randomFormula(truncateToInt32(variables), 3, clauseMultiplier);
  if (!formula) {
    result.error = formula.error;
    return result;
  }
  if (!ticker.tick(1, 2)) return cancelled();
  result = generate3SatGraph(std::move(*formula.formula));
  if (ticker.stopRequested()) return cancelled();
  if (result) ticker.finished();
  return result;
}

SatGenerationResult generate3SatGraph(LogicalFormula formula) {
  SatGenerationResult result;
  if (formula.howManyClauses <= 0) {
    result.error = "ERROR: The formula has no clause; a formula needs at least one to be reduced.";
    return result;
  }
  if (formula.howManyGraphNodes > kMaxGeneratedNodes) {
    result.error = tooManyNodes(formula.howManyGraphNodes);
    return result;
  }
  result.graph = graphFromFormula(formula);
  if (!result.graph) {
    result.error = "ERROR: Not enough memory to reduce the formula.";
    return result;
  }
  result.formula = std::move(formula);
  return result;
}

}  // namespace hc
