// Proof-tree benchmarks: proofs of non-Hamiltonicity of the Petersen graph and of the
// generalized Petersen graphs GP(n, 2) with n = 5 mod 6 (the non-Hamiltonian ones), at
// pruning levels 3, 4 and 5, building all or minimal children. Each case reports the
// tree nodes built and the deepest depth as counters; seeds are fixed so the minimal-
// children trees are the same on every repetition.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "cohc/search_tree.h"
#include "core/graph.h"
#include "core/random.h"
#include "generators/generalized_petersen.h"

namespace {

hc::Graph generalizedPetersen(int32_t n, int32_t k) {
  return std::move(*hc::generateGeneralizedPetersen(n, k));
}

// Arguments: n of GP(n, 2) (5 is the Petersen graph), pruning level, minimal children.
void BM_CohcGeneralizedPetersen(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  hc::CohcOptions options;
  options.pruningLevel = static_cast<int32_t>(state.range(1));
  options.buildMinimalChildren = state.range(2) != 0;
  options.writeCycleFile = false;
  const hc::Graph source = generalizedPetersen(n, 2);
  hc::CohcResult result;
  for (auto _ : state) {
    state.PauseTiming();
    hc::enableFixedSeed(2026);
    hc::Graph graph(source);
    state.ResumeTiming();
    result = hc::runCoHC(graph, options);
    benchmark::DoNotOptimize(result.verdict);
  }
  hc::disableFixedSeed();
  if (result.verdict != hc::kNotHamiltonian) state.SkipWithError("the proof did not conclude");
  state.counters["treeNodes"] = static_cast<double>(result.treeNodes);
  state.counters["deepestDepth"] = result.deepestDepth;
  state.SetLabel(std::string(n == 5 ? "Petersen" : "GP(" + std::to_string(n) + ",2)") + " level " +
                 std::to_string(options.pruningLevel) + (options.buildMinimalChildren ? " minimal" : " all"));
}

void generalizedPetersenCases(benchmark::internal::Benchmark* b) {
  for (int64_t n : {5, 11, 17, 23, 29})
    for (int64_t level : {3, 4, 5})
      for (int64_t minimal : {0, 1}) b->Args({n, level, minimal});
}

BENCHMARK(BM_CohcGeneralizedPetersen)->Apply(generalizedPetersenCases)->Unit(benchmark::kMillisecond);

}  // namespace
