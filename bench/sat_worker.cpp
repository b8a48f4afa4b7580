// The clause-learning worker alone (encoding, every round, the subtour clauses), without
// the root rules or the rest of the portfolio, on the adjacency text files named in
// SAT_GRAPHS, for instance the structured graphs:
//
//   python3 bench/structured_graphs.py fragment 10008 /tmp/petersen10008.txt
//   SAT_GRAPHS=/tmp/petersen10008.txt build/bench/bench_sat_worker
//
// Each file is one benchmark named after it; the counters give the rounds and subtour
// clauses of the last run, and the verdict (0 none, 1 cycle, 2 undecided).
#include "solve/sat_worker.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "core/diagnostics.h"
#include "file_benchmarks.h"
#include "run/graph_loading.h"

namespace {

void decideFile(benchmark::State& state, const std::string& path) {
  hc::LoadedGraph loaded = hc::loadGraphFile(path);
  if (!loaded) {
    state.SkipWithError(loaded.error.c_str());
    return;
  }
  const hc::SatEdgeProblem problem = hc::satEdgeProblemOf(*loaded.graph);
  hc::SatWorkerResult result;
  for (auto _ : state) {
    hc::StopToken open;
    result = hc::decideBySat(problem, open);
  }
  state.counters["rounds"] = result.rounds;
  state.counters["subtours"] = static_cast<double>(result.subtourClauses);
  state.counters["verdict"] = static_cast<double>(result.verdict);
}

const bool registered = hc::bench::registerPerFile("SAT_GRAPHS", "SatWorker", decideFile);

}  // namespace
