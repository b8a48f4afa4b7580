// Which part of a method decided a run: the parts of solve's portfolio (in the order of
// SolvePart, solve/solve_graph.h), then the Stone Carver's initial pruning and a cube's split.
// The words ("exact search", ...) are made only where a run is shown or read back.
#pragma once

#include <cstdint>
#include <string_view>

namespace hc {

enum class DecidedBy : uint8_t {
  kNone,  // undecided
  kRootPruning,
  kAlternationRule,
  kFrontierSearch,
  kExactSearch,
  kRotationExtension,
  kProbabilityMill,
  kProofSystem,
  kClauseLearning,
  kSeparator,
  kEdgeCut,
  kLinearRelaxation,
  kInitialPruning,
  kCubeSplit,
};

// "root pruning", "exact search", ..., "cube split"; empty for kNone.
std::string_view decidedByName(DecidedBy part);
// The part named `name`; kNone for the empty name and for a name of no part.
DecidedBy decidedByOfName(std::string_view name);

}  // namespace hc
