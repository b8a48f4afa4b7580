// Look-ahead benchmarks: one trial cut with its exact undo (simulateCut) on the pruned
// knight's tour graph 8 x 8 and a pruned random 3-regular graph of 10,000 nodes, walking
// the unforced edges in turn; and one Full LAS on a fresh copy of the knight's tour.
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

#include "bench_graphs.h"
#include "core/graph.h"
#include "core/random.h"
#include "generators/graph_generation.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "schc/stone_carver.h"

namespace {

std::unique_ptr<hc::Graph> prunedGraph(hc::GraphSource type, int32_t n, double x) {
  return hc::bench::generatedGraph(type, n, x, true);
}

std::vector<std::pair<int32_t, int32_t>> unforcedEdges(const hc::Graph& g) {
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (int32_t v = 0; v < g.howManyNodes; ++v) {
    const hc::Node& n = g.node(v);
    for (int32_t k = 0; k < n.degree; ++k) {
      const int32_t w = n.neighborArray[k];
      if (v < w && !g.isUncuttableEdge(v, w)) edges.emplace_back(v, w);
    }
  }
  return edges;
}

// Argument: 0 knight 8x8, 1 random 3-regular 10,000.
void BM_SimulateCut(benchmark::State& state) {
  std::unique_ptr<hc::Graph> g = state.range(0) == 0 ? prunedGraph(hc::GraphSource::kKnightsTourGraph, 8, 8)
                                                     : prunedGraph(hc::GraphSource::kRegularGraph, 10000, 3);
  if (!g || g->isHamiltonian != hc::kUndecided) {
    state.SkipWithError("graph not available or decided by the initial pruning");
    return;
  }
  const auto edges = unforcedEdges(*g);
  size_t next = 0;
  int64_t fatal = 0;
  for (auto _ : state) {
    const auto [v, w] = edges[next];
    next = next + 1 == edges.size() ? 0 : next + 1;
    fatal += hc::simulateCut(*g, v, w, 0, 0) == hc::kNotHamiltonian ? 1 : 0;
  }
  state.counters["fatal%"] = 100.0 * static_cast<double>(fatal) / static_cast<double>(state.iterations());
  state.SetLabel(state.range(0) == 0 ? "knight 8x8" : "3-regular 10000");
}
BENCHMARK(BM_SimulateCut)->Arg(0)->Arg(1);

void BM_FullLasKnight(benchmark::State& state) {
  std::unique_ptr<hc::Graph> g = prunedGraph(hc::GraphSource::kKnightsTourGraph, 8, 8);
  for (auto _ : state) {
    hc::Graph copy(*g);
    copy.cut(unforcedEdges(copy).front().first, unforcedEdges(copy).front().second);
    benchmark::DoNotOptimize(hc::lookAheadSequencing(copy, 0));
  }
  state.SetLabel("knight 8x8, one cut then Full LAS");
}
BENCHMARK(BM_FullLasKnight)->Unit(benchmark::kMicrosecond);

}  // namespace
