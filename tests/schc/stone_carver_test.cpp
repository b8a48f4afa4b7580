// The Stone Carver driver end to end: verified cycles for every offered version, graphs the
// initial pruning decides, a non-Hamiltonian graph that keeps the run going, the stop flag,
// the statistics, and the parallel mill.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "core/diagnostics.h"
#include "core/random.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/probability_mill.h"
#include "schc/stone_carver.h"
#include "schc_test_support.h"

namespace hc {
namespace {

using testing::RecordingSink;

// Checks what a run that ended with a cycle must leave behind.
void expectVerifiedCycle(const Graph& solved, const AdjacencySnapshot& submitted, const SchcOutcome& outcome) {
  ASSERT_EQ(solved.isHamiltonian, kHamiltonian);
  EXPECT_EQ(outcome.verdict, kHamiltonian);
  std::string why;
  EXPECT_TRUE(verifyHamiltonianCycle(submitted, outcome.cycle, &why)) << why;
  EXPECT_EQ(hamiltonianCycleOrder(solved), outcome.cycle);
  ASSERT_FALSE(outcome.cycle.empty());
  EXPECT_EQ(outcome.cycle.front(), 0);
}

class OfferedVersions : public ::testing::TestWithParam<int32_t> {};

TEST_P(OfferedVersions, FindVerifiedCyclesOnKnightsTourAndIccs) {
  const int32_t version = GetParam();
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(1000 + static_cast<uint32_t>(version));
  for (int32_t which = 0; which < 2; ++which) {
    std::unique_ptr<Graph> g = which == 0 ? testing::knightsTour(8, 8) : testing::iccs(1);
    ASSERT_TRUE(g);
    const AdjacencySnapshot submitted = takeAdjacencySnapshot(*g);
    RecordingSink sink(g.get());
    SchcOptions options;
    options.maxIterations = 20000;
    SchcOutcome outcome;
    runStoneCarver(*g, version, nullptr, &sink, options, &outcome);
    expectVerifiedCycle(*g, submitted, outcome);
    ASSERT_FALSE(sink.posted.empty());
    const testing::PostedIteration& last = sink.posted.back();
    EXPECT_EQ(std::vector<int64_t>({g->version, static_cast<int64_t>(sink.posted.size()), g->iterationCount,
                                    g->solvedIterations, g->solvedCuts, g->solvedSimulationForces, last.iteration,
                                    last.forcedEdges}),
              std::vector<int64_t>({version, outcome.iterations, outcome.iterations, g->iterationCount, g->cutCount,
                                    g->simulationForceCount, g->iterationCount, g->howManyNodes}));
    EXPECT_DOUBLE_EQ(g->inverseIterations, 1.0 / g->iterationCount);
    EXPECT_EQ(g->startTime, g->elapsedSeconds);
    EXPECT_GE(g->elapsedSeconds, 0.0);
    EXPECT_DOUBLE_EQ(last.percent, 100.0);
  }
  disableFixedSeed();
}

INSTANTIATE_TEST_SUITE_P(StoneCarver, OfferedVersions, ::testing::ValuesIn(kOfferedVersions));

TEST(StoneCarver, InitialPruningDecidesTreesAndCycles) {
  // A run the initial pruning decides posts no iteration; returns what it wrote.
  auto decide = [](Graph& g, int32_t version, SchcOutcome& outcome) {
    g.printLevel = 1;
    RecordingSink sink;
    std::ostringstream log;
    ScopedDiagnosticStream capture(log);
    runStoneCarver(g, version, nullptr, &sink, {}, &outcome);
    EXPECT_TRUE(sink.posted.empty());
    return log.str();
  };
  Graph tree = testing::makeGraph(6, {{0, 1}, {1, 2}, {1, 3}, {3, 4}, {3, 5}});
  SchcOutcome treeOutcome;
  EXPECT_EQ(decide(tree, 5, treeOutcome), "Finished fast initial pruning. x = 0\n");
  EXPECT_EQ(tree.isHamiltonian, kNotHamiltonian);
  EXPECT_EQ(treeOutcome.verdict, kNotHamiltonian);
  EXPECT_EQ(tree.iterationCount, 0);

  Graph cycle = testing::makeGraph(7, testing::cycleEdges(7));
  const AdjacencySnapshot submitted = takeAdjacencySnapshot(cycle);
  SchcOutcome cycleOutcome;
  EXPECT_EQ(decide(cycle, 3, cycleOutcome), "Finished fast initial pruning. x = 1\n");
  expectVerifiedCycle(cycle, submitted, cycleOutcome);
  EXPECT_EQ(cycleOutcome.cycle, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
  // Silent: nothing is written and the start time is left as it was.
  Graph quiet = testing::makeGraph(5, testing::cycleEdges(5));
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  runStoneCarver(quiet, 5, nullptr, nullptr);
  EXPECT_EQ(quiet.isHamiltonian, kHamiltonian);
  EXPECT_EQ(log.str(), "");
  EXPECT_EQ(quiet.elapsedSeconds, 0.0);
}

TEST(StoneCarver, FastInitialPruningModes) {
  // The prism survives the cheap checks; only Full LAS (mode 2) finds its cycle.
  Graph manual = testing::makeGraph(6, testing::prismEdges());
  EXPECT_EQ(fastInitialPruning(manual, 65535, 0), kUndecided);
  EXPECT_EQ(manual.howManyEdges, 9);
  EXPECT_EQ(manual.howManyUncuttable, 0);
  Graph driver = testing::makeGraph(6, testing::prismEdges());
  EXPECT_EQ(fastInitialPruning(driver, 2, 0), kHamiltonian);
  // Too few edges, a cut vertex (two triangles sharing node 2), a path.
  Graph sparse = testing::makeGraph(4, {{0, 1}, {1, 2}, {2, 3}});
  EXPECT_EQ(fastInitialPruning(sparse, 2, 0), kNotHamiltonian);
  Graph bowtie = testing::makeGraph(5, {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 2}});
  EXPECT_EQ(fastInitialPruning(bowtie, 65535, 0), kNotHamiltonian);
}

// GP(11, 2): no Hamiltonian cycle, and the cheap initial pruning cannot tell.
Graph nonHamiltonianSurvivor() { return testing::makeGraph(22, testing::generalizedPetersenEdges(11, 2)); }

TEST(StoneCarver, NonHamiltonianGraphRunsToTheLimitWithMonotoneStatistics) {
  Graph g = nonHamiltonianSurvivor();
  ASSERT_TRUE(testing::allHamiltonianCycles(g).empty());
  enableFixedSeed(77);
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  RecordingSink sink(&g);
  SchcOptions options;
  options.maxIterations = testing::sanitized() ? 100 : 400;
  SchcOutcome outcome;
  runStoneCarver(g, 5, nullptr, &sink, options, &outcome);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(outcome.verdict, kUndecided);
  EXPECT_TRUE(outcome.cycle.empty());
  ASSERT_EQ(static_cast<int64_t>(sink.posted.size()), options.maxIterations);
  EXPECT_EQ(g.iterationCount, options.maxIterations);
  int32_t hubs = 0;
  for (size_t k = 0; k < sink.posted.size(); ++k) {
    const testing::PostedIteration& p = sink.posted[k];
    EXPECT_EQ(p.iteration, static_cast<int32_t>(k) + 1);
    EXPECT_LE(p.percent, 100.0);
    EXPECT_TRUE(p.hubs > 0 || p.rings > 0) << "an iteration of version 5 ends with an obstruction";
    if (p.hubs > 0) ++hubs;
    if (k == 0) continue;
    const testing::PostedIteration& q = sink.posted[k - 1];
    EXPECT_LE(p.leastHub, q.leastHub);
    EXPECT_LE(p.leastRing, q.leastRing);
    EXPECT_GE(p.mostHub, q.mostHub);
    EXPECT_GE(p.mostRing, q.mostRing);
  }
  EXPECT_EQ(g.hubIterations, hubs);
  EXPECT_EQ(g.solvedIterations, 0);
  if (hubs > 0) {
    EXPECT_NE(log.str().find("###Least cuts to hub = "), std::string::npos);
  }
  disableFixedSeed();
}

TEST(StoneCarver, StoppingEndsTheRunAndLeavesTheResultUntouched) {
  Graph g = nonHamiltonianSurvivor();
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  std::atomic<uint8_t> keepRunning{1};
  RecordingSink sink(&g);
  sink.stopAfter = 5;
  sink.flag = &keepRunning;
  runStoneCarver(g, 5, &keepRunning, &sink);
  EXPECT_EQ(sink.posted.size(), 5u);
  EXPECT_EQ(g.iterationCount, 5);
  EXPECT_EQ(g.isHamiltonian, kUndecided);
  EXPECT_EQ(g.solvedIterations, 0);
  EXPECT_EQ(g.elapsedSeconds, 0.0);

  // A flag cleared before the run: the mill makes no iteration at all.
  Graph h = nonHamiltonianSurvivor();
  std::atomic<uint8_t> stopped{0};
  runStoneCarver(h, 5, &stopped, nullptr);
  EXPECT_EQ(h.iterationCount, 0);
  EXPECT_EQ(h.isHamiltonian, kUndecided);
}

TEST(StoneCarver, PerIterationLineAtPrintLevelOne) {
  Graph g = nonHamiltonianSurvivor();
  g.printLevel = 1;
  enableFixedSeed(5);
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  SchcOptions options;
  options.maxIterations = 3;
  runStoneCarver(g, 3, nullptr, nullptr, options);
  const std::string text = log.str();
  EXPECT_EQ(text.find("PM 1 Cts: "), 0u) << text;
  EXPECT_NE(text.find("PM 3 Cts: "), std::string::npos);
  EXPECT_NE(text.find(" A%: "), std::string::npos);
  EXPECT_EQ(text.find("PM 4 "), std::string::npos);
  diag().precision(6);
  disableFixedSeed();
}

TEST(StoneCarver, UnknownVersionCodeSaysSoAndNeverDecides) {
  Graph g = nonHamiltonianSurvivor();
  g.version = 42;
  const std::string before = testing::snapshot(g);
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  SchcOptions options;
  options.maxIterations = 3;
  EXPECT_EQ(runProbabilityMill(g, nullptr, nullptr, options), kUndecided);
  EXPECT_EQ(g.iterationCount, 3);
  EXPECT_EQ(log.str(), "This should never happen.\nThis should never happen.\nThis should never happen.\n");
  EXPECT_EQ(testing::snapshot(g), before);
}

TEST(StoneCarver, ParallelMillFindsVerifiedCyclesAndMergesItsStatistics) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(2024);
  for (int32_t which = 0; which < 2; ++which) {
    std::unique_ptr<Graph> g = which == 0 ? testing::knightsTour(8, 8) : testing::iccs(2);
    const AdjacencySnapshot submitted = takeAdjacencySnapshot(*g);
    RecordingSink sink(g.get());
    SchcOptions options;
    options.threads = 2;
    options.maxIterations = 200000;
    SchcOutcome outcome;
    runStoneCarver(*g, which == 0 ? 5 : 3, nullptr, &sink, options, &outcome);
    expectVerifiedCycle(*g, submitted, outcome);
    ASSERT_EQ(static_cast<int64_t>(sink.posted.size()), outcome.iterations);
    EXPECT_EQ(g->iterationCount, outcome.iterations);
    EXPECT_EQ(g->solvedIterations, g->iterationCount);
    int32_t hubs = 0;
    for (size_t k = 0; k < sink.posted.size(); ++k) {
      EXPECT_EQ(sink.posted[k].iteration, static_cast<int32_t>(k) + 1);
      if (sink.posted[k].hubs > 0) ++hubs;
    }
    EXPECT_EQ(g->hubIterations, hubs);
  }
  disableFixedSeed();
}

TEST(StoneCarver, ParallelMillHonoursTheLimitAndTheFlag) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  {
    Graph g = nonHamiltonianSurvivor();
    RecordingSink sink(&g);
    SchcOptions options;
    options.threads = 2;
    options.maxIterations = 300;
    runStoneCarver(g, 3, nullptr, &sink, options);
    EXPECT_EQ(g.iterationCount, 300);
    EXPECT_EQ(sink.posted.size(), 300u);
    EXPECT_EQ(g.isHamiltonian, kUndecided);
    int32_t leastHub = 1000000000;
    int32_t mostHub = 0;
    for (const auto& p : sink.posted) {
      if (p.hubs > 0) {
        leastHub = std::min(leastHub, p.deletions);
        mostHub = std::max(mostHub, p.deletions);
      }
    }
    EXPECT_EQ(g.leastCutsToHub, leastHub);
    EXPECT_EQ(g.mostCutsToHub, mostHub);
  }
  {
    // A time limit is a second thread that clears the flag.
    Graph g = nonHamiltonianSurvivor();
    std::atomic<uint8_t> keepRunning{1};
    std::jthread timer([&keepRunning] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      keepRunning.store(0);
    });
    SchcOptions options;
    options.threads = 2;
    runStoneCarver(g, 3, &keepRunning, nullptr, options);
    EXPECT_EQ(keepRunning.load(), 0);
    EXPECT_EQ(g.isHamiltonian, kUndecided);
    EXPECT_GT(g.iterationCount, 0);
  }
}

TEST(HamiltonianCycle, VerifierChecksEveryConditionOnItsOwn) {
  Graph g = testing::makeGraph(6, testing::prismEdges());
  const AdjacencySnapshot submitted = takeAdjacencySnapshot(g);
  const std::pair<std::vector<int32_t>, const char*> cases[] = {
      {{0, 1, 2, 5, 4, 3}, ""},
      {{0, 1, 2, 5, 4}, "the cycle has 5 nodes, the graph 6"},
      {{0, 1, 2, 5, 4, 4}, "node 4 visited twice"},
      {{0, 1, 2, 5, 4, 9}, "node id 9 out of range"},
      {{0, 1, 4, 5, 2, 3}, "no edge 2-3 in the graph"},
      {{0, 1, 2, 3, 4, 5}, "no edge 2-3 in the graph"},
      {{0, 1, 2, 5, 3, 4}, "no edge 4-0 in the graph"},  // the closing step counts too
  };
  for (const auto& [cycle, expected] : cases) {
    std::string why;
    EXPECT_EQ(verifyHamiltonianCycle(submitted, cycle, &why), std::string(expected).empty()) << expected;
    EXPECT_EQ(why, expected);
  }
  // The order of a solved graph walks its forced edges; anything but one cycle gives none.
  EXPECT_TRUE(hamiltonianCycleOrder(g).empty());
  g.cut(0, 1);
  ASSERT_EQ(g.isHamiltonian, kHamiltonian);
  std::string why;
  EXPECT_TRUE(verifyHamiltonianCycle(submitted, hamiltonianCycleOrder(g), &why)) << why;
}

}  // namespace
}  // namespace hc
