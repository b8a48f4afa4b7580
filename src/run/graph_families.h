// The graph families of `generate`, by name: the eight families of the Graph Generation page,
// the 3-SAT reduction and the generalized Petersen graphs, with their parameters read from
// text, checked as the page checks them (knight boards only as the family needs: any board
// it can build), built, and named as the window names them.
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
#include "core/stop_token.h"
#include "generators/graph_generation.h"
#include "generators/logical_formula.h"

namespace hc {

struct GraphFamily {
  std::string_view name;   // "torus"
  GraphSource sourceType;  // a page's family, the 3-SAT reduction or kGeneralizedPetersen
  int parameters;          // how many the family takes
  std::string_view usage;  // "torus R C"
};

// The family called `name`, or null.
const GraphFamily* graphFamilyNamed(std::string_view name);
// "edge-probability, regular, ..., petersen".
std::string graphFamilyNames();

// Reads the family's parameters from `texts` (as many as it takes) into `out`; empty when
// they are fine, else the one error line.
std::string readFamilyParameters(const GraphFamily& family, const std::vector<std::string>& texts,
                                 ParameterCheck& out);

struct FamilyGraph {
  std::unique_ptr<Graph> graph;
  std::optional<LogicalFormula> formula;  // 3sat: the formula it reduces
  std::string name;
  std::string error;  // no graph: why (kGenerationCancelled when stopped)
};

// Builds the family's graph from parameters readFamilyParameters accepted (`texts` are
// those parameters as given, for the name). `stop` and `progress` as for generateGraph.
FamilyGraph generateFamilyGraph(const GraphFamily& family, const ParameterCheck& parameters,
                                const std::vector<std::string>& texts, const StopToken* stop,
                                const std::function<void(double)>& progress);

}  // namespace hc
