// Helpers for the Stone Carver tests: generated graphs and a recording sink.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../lookahead/lookahead_test_support.h"
#include "core/graph.h"
#include "generators/graph_generation.h"
#include "schc/stone_carver.h"

namespace hc::testing {

inline std::unique_ptr<Graph> generated(int16_t type, int32_t n, double x) {
  GenerationRequest request;
  request.graphType = type;
  request.n = n;
  request.x = x;
  GenerationResult result = generateGraph(request);
  EXPECT_TRUE(result) << result.error;
  return std::move(result.graph);
}
inline std::unique_ptr<Graph> knightsTour(int32_t rows, int32_t columns) { return generated(5, rows, columns); }
inline std::unique_ptr<Graph> iccs(int32_t components) { return generated(7, components, 0.0); }

// The sanitizer build runs the same tests about ten times slower.
inline bool sanitized() {
  const char* flag = std::getenv("HC_SANITIZED");
  return flag != nullptr && std::string(flag) == "1";
}

struct PostedIteration {
  int32_t iteration, deletions, hubs, rings, forcedEdges;
  double percent, seconds;
  // The graph's statistics as they stood when the call came.
  int32_t leastHub, leastRing, mostHub, mostRing;
};

class RecordingSink : public SchcSink {
 public:
  explicit RecordingSink(const Graph* watched = nullptr) : watched_(watched) {}
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double seconds) override {
    PostedIteration p{iteration, deletions, hubs, rings, forcedEdges, percentComplete, seconds, 0, 0, 0, 0};
    if (watched_ != nullptr) {
      p.leastHub = watched_->leastCutsToHub;
      p.leastRing = watched_->leastCutsToRing;
      p.mostHub = watched_->mostCutsToHub;
      p.mostRing = watched_->mostCutsToRing;
    }
    posted.push_back(p);
    if (stopAfter > 0 && static_cast<int32_t>(posted.size()) >= stopAfter && flag != nullptr) flag->store(0);
  }
  std::vector<PostedIteration> posted;
  int32_t stopAfter = 0;
  std::atomic<uint8_t>* flag = nullptr;

 private:
  const Graph* watched_;
};

}  // namespace hc::testing
