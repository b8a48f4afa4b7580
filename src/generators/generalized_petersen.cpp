#include "generators/generalized_petersen.h"

#include "core/random.h"
#include "generators/generation_limits.h"

namespace hc {

std::string checkGeneralizedPetersen(int64_t n, int64_t k) {
  if (n < 3) return "GP(N, K) needs N >= 3";
  if (k < 1 || 2 * k >= n)
    return "GP(N, K) needs 1 <= K < N/2 (here K must be 1.." + std::to_string((n - 1) / 2) + ")";
  if (2 * n > kMaxGeneratedNodes)
    return "GP(" + std::to_string(n) + ", " + std::to_string(k) + ") would have " + std::to_string(2 * n) +
           " nodes; at most " + std::to_string(kMaxGeneratedNodes) + " can be generated";
  return {};
}

std::unique_ptr<Graph> generateGeneralizedPetersen(int32_t n, int32_t k) {
  reseedFromClock(graphClockSeed());
  constexpr int16_t kFileReadGraph = 9;  // no page family: built like a graph read from a file
  auto graph = std::make_unique<Graph>(2 * n, kFileReadGraph);
  for (int32_t i = 0; i < n; ++i) graph->addEdge(i, (i + 1) % n);
  for (int32_t i = 0; i < n; ++i) graph->addEdge(i, n + i);
  for (int32_t i = 0; i < n; ++i) graph->addEdge(n + i, n + (i + k) % n);
  graph->finishConstruction();
  return graph;
}

}  // namespace hc
