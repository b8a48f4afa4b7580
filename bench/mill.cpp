// Probability Mill benchmarks: one iteration (copy of the pruned graph + the version's
// deletions) of the plain mill (version 3) and of Variable LAS (version 5), on the
// knight's tour graph 8 x 8 and on a random 3-regular graph of 10,000 nodes, and the
// parallel mill's iteration rate with 1 and 2 threads on the knight's tour.
// Counters: deletions per iteration and per second. The diagnostic stream is discarded,
// so the per-iteration statistic lines cost their formatting only.
#include <benchmark/benchmark.h>

#include <memory>
#include <ostream>
#include <streambuf>

#include "bench_graphs.h"
#include "core/diagnostics.h"
#include "core/graph.h"
#include "core/random.h"
#include "generators/graph_generation.h"
#include "schc/probability_mill.h"
#include "schc/stone_carver.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::ostream& nullStream() {
  static NullBuffer buffer;
  static std::ostream stream(&buffer);
  return stream;
}

// The knight.s tour or regular family, pruned as the driver prunes it.
std::unique_ptr<hc::Graph> prunedGraph(hc::GraphSource type, int32_t n, double x) {
  return hc::bench::generatedGraph(type, n, x, true);
}

const hc::Graph* cachedGraph(int which) {
  static std::unique_ptr<hc::Graph> knight = prunedGraph(hc::GraphSource::kKnightsTourGraph, 8, 8);
  static std::unique_ptr<hc::Graph> cubic;
  if (which == 0) return knight.get();
  if (!cubic) cubic = prunedGraph(hc::GraphSource::kRegularGraph, 10000, 3);
  return cubic.get();
}

// Arguments: graph (0 knight 8x8, 1 random 3-regular 10,000), version.
void BM_MillIteration(benchmark::State& state) {
  hc::ScopedDiagnosticStream quiet(nullStream());
  const hc::Graph* source = cachedGraph(static_cast<int>(state.range(0)));
  const auto version = static_cast<int32_t>(state.range(1));
  if (source == nullptr || source->isHamiltonian != hc::kUndecided) {
    state.SkipWithError("graph not available or decided by the initial pruning");
    return;
  }
  int64_t deletions = 0;
  int64_t solved = 0;
  hc::seedRandom(1);
  for (auto _ : state) {
    hc::Graph copy(*source);
    hc::runMillVersion(copy, version);
    deletions += copy.cutCount;
    solved += copy.isHamiltonian == hc::kHamiltonian ? 1 : 0;
    benchmark::DoNotOptimize(copy.isHamiltonian);
  }
  state.counters["deletionsPerIteration"] =
      benchmark::Counter(static_cast<double>(deletions) / static_cast<double>(state.iterations()));
  state.counters["deletions/s"] =
      benchmark::Counter(static_cast<double>(deletions), benchmark::Counter::kIsRate);
  state.counters["solved%"] = 100.0 * static_cast<double>(solved) / static_cast<double>(state.iterations());
  state.SetLabel(std::string(state.range(0) == 0 ? "knight 8x8" : "3-regular 10000") + " v" +
                 std::to_string(version));
}
BENCHMARK(BM_MillIteration)
    ->Args({0, 3})
    ->Args({0, 5})
    ->Args({1, 3})
    ->Args({1, 5})
    ->Unit(benchmark::kMicrosecond);

// Iterations per second of the whole driver loop (copy, iteration, statistics) on a graph
// with no cycle to find quickly: GP(23, 2) is non-Hamiltonian, so every iteration fails.
void BM_DriverIterationRate(benchmark::State& state) {
  hc::ScopedDiagnosticStream quiet(nullStream());
  const auto threads = static_cast<int32_t>(state.range(0));
  const int32_t n = 23;
  hc::Graph source(2 * n, 0);
  for (int32_t i = 0; i < n; ++i) {
    source.addEdge(i, (i + 1) % n);
    source.addEdge(i, n + i);
    source.addEdge(n + i, n + (i + 2) % n);
  }
  source.finishConstruction();
  hc::fastInitialPruning(source, 2, 0);
  const int64_t perRun = 20000;
  int64_t total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    hc::Graph graph(source);
    hc::SchcOptions options;
    options.threads = threads;
    options.maxIterations = perRun;
    graph.version = 3;
    state.ResumeTiming();
    hc::runProbabilityMill(graph, nullptr, nullptr, options);
    total += graph.iterationCount;
  }
  state.counters["iterations/s"] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  state.SetLabel("GP(23,2) v3, " + std::to_string(threads) + " thread(s)");
}
BENCHMARK(BM_DriverIterationRate)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
