// The stop flag and progress hook of generation: an unstopped run is the plain run (same
// graph, progress rising to 1), a stop at any point gives no graph and one error.
#include "generators/generation_control.h"

#include <gtest/gtest.h>

#include "core/random.h"
#include "generators/graph_generation.h"

namespace hc {
namespace {

std::vector<std::vector<int32_t>> arrays(const Graph& graph) {
  std::vector<std::vector<int32_t>> lists;
  for (int32_t v = 0; v < graph.howManyNodes; ++v)
    lists.emplace_back(graph.node(v).neighborArray, graph.node(v).neighborArray + graph.node(v).degree);
  return lists;
}

TEST(GenerationControl, ProgressRisesAndAStopAnywhereCancels) {
  // complete, regular, random edges, knight, ncube.
  const std::vector<GenerationRequest> requests = {requestForFamily(8, 120, 0), requestForFamily(2, 300, 5),
                                                   requestForFamily(3, 200, 900), requestForFamily(5, 12, 12),
                                                   requestForFamily(6, 9, 0)};
  for (const GenerationRequest& request : requests) {
    enableFixedSeed(3);
    GenerationResult plain = generateGraph(request);
    std::vector<double> seen;
    std::atomic<uint8_t> keepRunning{1};
    GenerationControl control{&keepRunning, [&seen](double f) { seen.push_back(f); }};
    enableFixedSeed(3);
    GenerationResult watched = generateGraph(request, control);
    ASSERT_TRUE(plain && watched) << request.graphType;
    EXPECT_EQ(arrays(*plain.graph), arrays(*watched.graph));
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 1.0);
    for (double stopAt : {0.0, 0.2, 0.6}) {
      control.progress = [&](double f) {
        if (f >= stopAt) keepRunning = 0;
      };
      keepRunning = stopAt == 0.0 ? 0 : 1;
      GenerationResult stopped = generateGraph(request, control);
      EXPECT_FALSE(stopped) << request.graphType << " " << stopAt;
      EXPECT_EQ(stopped.error, "generation cancelled");
    }
  }
  std::atomic<uint8_t> stop{0};
  SatGenerationResult sat = generate3SatGraph(10, 4.0, GenerationControl{&stop, {}});
  EXPECT_TRUE(!sat && !sat.formula && sat.error == "generation cancelled");
  disableFixedSeed();
}

}  // namespace
}  // namespace hc
