// The graphs the benchmarks run on: generated with a fixed seed (so every run measures the
// same graph) and, where the measured code expects it, pruned as the Stone Carver driver
// prunes a graph before its first iteration.
#pragma once

#include <memory>
#include <utility>

#include "core/graph.h"
#include "core/random.h"
#include "generators/graph_generation.h"
#include "schc/stone_carver.h"

namespace hc::bench {

// Family `family` (knight's tour, regular, ...) with parameters n and x; null when the
// request is refused.
inline std::unique_ptr<Graph> generatedGraph(GraphSource family, int32_t n, double x, bool pruned) {
  enableFixedSeed(7);
  GenerationResult result = generateGraph(requestForFamily(family, n, x));
  if (result && pruned) fastInitialPruning(*result.graph, 2, 0);
  disableFixedSeed();
  return std::move(result.graph);
}

}  // namespace hc::bench
