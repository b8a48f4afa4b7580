// Graph copy benchmarks: the copy every Probability Mill iteration starts from, on the
// knight's tour graph 8 x 8 and random 3-regular graphs of 10,000 and 100,000 nodes.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_graphs.h"
#include "core/graph.h"
#include "core/random.h"
#include "generators/graph_generation.h"

namespace {

std::unique_ptr<hc::Graph> generated(hc::GraphSource type, int32_t n, double x) {
  return hc::bench::generatedGraph(type, n, x, false);
}

// Argument: 0 knight 8x8, else the node count of a random 3-regular graph.
void BM_GraphCopy(benchmark::State& state) {
  std::unique_ptr<hc::Graph> g = state.range(0) == 0 ? generated(hc::GraphSource::kKnightsTourGraph, 8, 8)
                                                     : generated(hc::GraphSource::kRegularGraph,
                                                                 static_cast<int32_t>(state.range(0)), 3);
  if (!g) {
    state.SkipWithError("graph not available");
    return;
  }
  for (auto _ : state) {
    hc::Graph copy(*g);
    benchmark::DoNotOptimize(copy.howManyEdges);
  }
  state.counters["nodes"] = g->howManyNodes;
  state.SetLabel(state.range(0) == 0 ? "knight 8x8" : "3-regular");
}
BENCHMARK(BM_GraphCopy)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
