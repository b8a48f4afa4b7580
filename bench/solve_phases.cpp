// Where `solve` spends its time on one graph, phase by phase, on the adjacency text files
// named in PHASE_GRAPHS: reading, the snapshot and root copy, the root pruning, the
// decomposition rules, the probe, then each worker alone on the probed root (the finder,
// the exact search, the clause learner) with a cap of PHASE_CAP seconds (default 10):
//
//   PHASE_GRAPHS="/tmp/cubic500000.txt /tmp/gnp2000.txt" build/bench/bench_solve_phases
//
// PHASE_SEED sets the finder's seed. PHASE_WORKERS="finder sat" runs only those workers ("given": the finder
// on the graph as read, before the pruning). Each file is one benchmark named after it; the counters are
// seconds per phase, and for the workers their verdict (0 none, 1 cycle, 2 undecided; -1 not run).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>

#include "core/edge_snapshot.h"
#include "core/hamiltonian_cycle_check.h"
#include "file_benchmarks.h"
#include "run/graph_loading.h"
#include "solve/decomposed_solve.h"
#include "solve/exact_search.h"
#include "solve/root_pruning.h"
#include "solve/rotation_finder.h"
#include "solve/sat_worker.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

// This thread's processor seconds (the machine may be shared: wall time then says little).
double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// PHASE_WORKERS (default "finder search sat") names the workers to run.
bool wanted(const char* worker) {
  const char* list = std::getenv("PHASE_WORKERS");
  return list == nullptr || std::string(list).find(worker) != std::string::npos;
}

uint32_t seed() {
  const char* text = std::getenv("PHASE_SEED");
  return text != nullptr ? static_cast<uint32_t>(std::atol(text)) : 1;
}

double cap() {
  const char* text = std::getenv("PHASE_CAP");
  return text != nullptr ? std::atof(text) : 10.0;
}

void phases(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    Clock::time_point t = Clock::now();
    hc::LoadedGraph loaded = hc::loadGraphFile(path);
    if (!loaded) {
      state.SkipWithError(loaded.error.c_str());
      return;
    }
    const hc::Graph& graph = *loaded.graph;
    state.counters["read"] = since(t);
    if (wanted("given")) {
      t = Clock::now();
      hc::StopToken stop;
      stop.setTimeLimit(cap());
      const hc::RotationFinderResult found = hc::findCycleByRotation(graph, 1, stop);
      state.counters["finderOnGiven"] = since(t);
    }
    t = Clock::now();
    const hc::EdgeSnapshot snapshot(graph);
    state.counters["snapshot"] = since(t);
    t = Clock::now();
    hc::Graph root(graph);
    root.actionList.reset();
    state.counters["copy"] = since(t);
    t = Clock::now();
    const hc::RootPruningResult pruned = hc::pruneRoot(root, 1);
    state.counters["prune"] = since(t);
    state.counters["pruneVerdict"] = pruned.verdict;
    if (pruned.verdict != hc::kUndecided) continue;
    t = Clock::now();
    {
      hc::StopToken run;
      run.setTimeLimit(cap());
      hc::SolveOptions options;
      hc::SolveResult parts;
      const bool applied = hc::solveByDecomposition(root, options, run, parts);
      state.counters["decompose"] = since(t);
      state.counters["decomposeVerdict"] = applied ? parts.verdict : -1;
    }
    t = Clock::now();
    {
      hc::StopToken probeStop;
      probeStop.setTimeLimit(0.5);
      hc::ExactSearchOptions probe;
      probe.treeNodeLimit = 2 * graph.howManyNodes + 10000;
      probe.rootLookAheadEdgeLimit = probe.levelLookAheadEdgeLimit = -1;
      const hc::ExactSearchResult found = hc::exactSearch(root, probeStop, probe);
      root.isHamiltonian = hc::kUndecided;
      state.counters["probe"] = since(t);
      state.counters["probeVerdict"] = found.verdict;
    }
    t = Clock::now();
    if (wanted("finder")) {
      hc::StopToken stop;
      stop.setTimeLimit(cap());
      const double cpu = threadSeconds();
      const hc::RotationFinderResult found = hc::findCycleByRotation(root, seed(), stop);
      state.counters["finder"] = since(t);
      state.counters["finderCpu"] = threadSeconds() - cpu;
      state.counters["rotations"] = static_cast<double>(found.rotations);
      if (found.found)
        state.counters["finderCycleChecks"] = hc::isHamiltonianCycle(snapshot, found.cycle) ? 1 : 0;
      state.counters["finderVerdict"] = found.found ? 1 : 2;
    }
    t = Clock::now();
    if (wanted("search")) {
      hc::Graph copy(root);
      hc::StopToken stop;
      stop.setTimeLimit(cap());
      const hc::ExactSearchResult found = hc::exactSearch(copy, stop);
      state.counters["search"] = since(t);
      state.counters["searchVerdict"] = found.verdict;
    }
    t = Clock::now();
    if (wanted("sat") && hc::suitsSatWorker(graph.howManyNodes, graph.howManyEdges)) {
      hc::StopToken stop;
      stop.setTimeLimit(cap());
      const hc::SatWorkerResult found = hc::decideBySat(root, &snapshot, stop);
      state.counters["sat"] = since(t);
      state.counters["satVerdict"] = static_cast<double>(found.verdict);
    }
  }
}

const bool registered = hc::bench::registerPerFile("PHASE_GRAPHS", "SolvePhases", phases);

}  // namespace
