// Helpers for the Stone Carver tests: generated graphs, the non-Hamiltonian graph the cheap
// pruning cannot decide, and a sink that records every posted iteration.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "core/graph.h"
#include "generators/graph_generation.h"
#include "schc/stone_carver.h"
#include "support/test_graphs.h"

namespace hc::testing {

// Graph types of the generator: 5 is a knight's tour board, 7 an ICCS graph.
inline std::unique_ptr<Graph> generated(int16_t type, int32_t n, double x) {
  GenerationRequest request;
  request.graphType = type;
  request.n = n;
  request.x = x;
  GenerationResult result = generateGraph(request);
  EXPECT_TRUE(result) << result.error;
  return std::move(result.graph);
}

// GP(11, 2): no Hamiltonian cycle, and the cheap initial pruning cannot tell.
inline Graph nonHamiltonianSurvivor() { return makeGraph(22, generalizedPetersenEdges(11, 2)); }

struct PostedIteration {
  int32_t iteration, deletions, hubs, rings, forcedEdges;
  double percent;
};

// Records the posts; clears `flag` once `stopAfter` iterations came (0: never).
struct RecordingSink : SchcSink {
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double) override {
    posted.push_back({iteration, deletions, hubs, rings, forcedEdges, percentComplete});
    if (stopAfter > 0 && static_cast<int32_t>(posted.size()) >= stopAfter) flag.store(0);
  }
  std::vector<PostedIteration> posted;
  int32_t stopAfter = 0;
  std::atomic<uint8_t> flag{1};
};

}  // namespace hc::testing
