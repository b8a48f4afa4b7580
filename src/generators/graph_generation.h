// The road by which every generated or loaded graph enters the system: a generation request
// (a graph source and its parameters) becomes a finished solver Graph, or a clear error
// and no graph.
//
// The request names its graph source (core/graph_source.h): one of the eight families
// (random graph with edge probability x, random regular graph of degree trunc(x), random
// graph with trunc(x) edges, toroidal grid n x trunc(x), knight's tour graph n x trunc(x),
// n-cube, ICCS graph with n components, complete graph) or a file, whose graph the request's
// readFile gives as the file's row of io's format table reads it. The 3-SAT reduction has
// its own entry. A built graph keeps a graph type code of its own (generatedGraphType).
//
// Two levels of checking:
//  - feasibility (checkGenerationFeasibility, always applied by generateGraph): requests
//    that could never finish, would crash a family or would not fit in memory;
//  - the Graph Generation page's rules with their message texts (validateGenerationRequest,
//    checkGenerationParameters), for the page and the command line; they include feasibility.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/graph.h"
#include "core/graph_source.h"
#include "core/plain_graph.h"
#include "core/stop_token.h"
#include "generators/generation_control.h"
#include "generators/logical_formula.h"

namespace hc {

// The read of a file request: the whole file as a plain graph, "" or the error line. The
// engine reads no files: the loading code hands in the read of the file's format row.
using PlainGraphRead = std::function<std::string(PlainGraph& out)>;

struct GenerationRequest {
  GraphSource source = GraphSource::kNoGraph;
  int32_t n = 0;
  double x = 0.0;
  std::string inputFileName;     // files
  PlainGraphRead readFile = {};  // files
  std::string outputFileName;    // stored for the writers
  int32_t version = 5;
  int16_t printLevel = 0;
};

// The graph type code a built graph stores (Graph::graphType): the family's own code 1..8,
// 9 for adjacency text and every other file read as it stands, 10 for OBJ meshes, 0 for a
// drawing (as the editor's conversion stores it); -1 for a source generateGraph refuses.
int16_t generatedGraphType(GraphSource source);

struct GenerationResult {
  std::unique_ptr<Graph> graph;  // null exactly when error is set
  std::string error;
  explicit operator bool() const { return graph != nullptr; }
};

// Empty when the request can be built; otherwise why not. Reads no file.
std::string checkGenerationFeasibility(const GenerationRequest& request);

// The page's rules for the families (messages as the page shows them, two joined by '\n'
// when both parameters are wrong), then feasibility. Files need an input file name and a
// readFile.
std::string validateGenerationRequest(const GenerationRequest& request);

// Builds the graph: printLevel lines, reseed from the graph clock (a reseed point), nodes,
// the family's edges or the file's (forced edges set, coordinates kept), finished. Refuses
// infeasible requests, unreadable files and files of more nodes than the generators build
// before anything is kept; never ends the process.
//
// `stop` (may be null) and `progress` (may be empty, see GenerationTicker): a generation
// stopped before its graph is finished returns no graph and the error
// kGenerationCancelled ("generation cancelled"); an unstopped one is exactly the same
// whatever they are. File requests are only stopped before and after the file is read.
GenerationResult generateGraph(const GenerationRequest& request, const StopToken* stop = nullptr,
                               std::function<void(double)> progress = {});

// --- the page's parameter texts ---

// Every character a digit, '.' or '-' (an empty text is numeric and reads as 0).
bool isNumericText(std::string_view text);
// The text as the page reads it (the standard text-to-double conversion; 0 when nothing
// can be read).
double numericTextValue(std::string_view text);

struct ParameterCheck {
  std::vector<std::string> errors;  // the page's message boxes, in order
  double first = 0.0;               // the two values read
  double second = 0.0;
  bool ok() const { return errors.empty(); }
};

// The page's checks of its two parameter texts for the eight families and the 3-SAT
// reduction (parameter 2 is ignored for the n-cube, ICCS and complete graphs). Ranges only:
// combine with validateGenerationRequest / validate3SatRequest for what can be built.
ParameterCheck checkGenerationParameters(GraphSource source, std::string_view text1, std::string_view text2);

// The request the page sends for a family with its two values.
GenerationRequest requestForFamily(GraphSource source, double first, double second);

// --- the 3-SAT reduction ---

// Page rules ("ERROR: The number of variables must be 3 or greater.", the clause multiplier
// message) and feasibility: at least one clause, within the size limits.
std::string validate3SatRequest(double variables, double clauseMultiplier);

struct SatGenerationResult {
  std::unique_ptr<Graph> graph;
  std::optional<LogicalFormula> formula;
  std::string error;
  explicit operator bool() const { return graph != nullptr; }
};

// A random formula with trunc(variables) variables, 3 literals per clause and the clause
// multiplier, and its reduction graph. Refused (no formula drawn) when
// validate3SatRequest fails. `stop` and `progress` as for generateGraph (stopped between
// the formula and the reduction, or after it: no graph, no formula, the error
// kGenerationCancelled).
SatGenerationResult generate3SatGraph(double variables, double clauseMultiplier,
                                      const StopToken* stop = nullptr,
                                      std::function<void(double)> progress = {});

// The reduction graph of a given formula (at least one clause).
SatGenerationResult generate3SatGraph(LogicalFormula formula);

}  // namespace hc
