// The Stone Carver driver end to end: verified cycles for every offered version on one and
// two threads, graphs the initial pruning decides, a non-Hamiltonian graph run to the
// iteration limit or the stop flag with its statistics, the diagnostic lines of a run, and
// the cycle verifier.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "core/diagnostics.h"
#include "core/random.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/probability_mill.h"
#include "schc/stone_carver.h"
#include "schc_test_support.h"

namespace hc {
namespace {

using testing::makeGraph;
using testing::PostedIteration;
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

// Iterations are posted numbered 1, 2, ..., and the graph counts those that ended with a hub.
void expectPostedInOrder(const Graph& g, const RecordingSink& sink) {
  int32_t hubs = 0;
  for (size_t k = 0; k < sink.posted.size(); ++k) {
    EXPECT_EQ(sink.posted[k].iteration, static_cast<int32_t>(k) + 1);
    if (sink.posted[k].hubs > 0) ++hubs;
  }
  EXPECT_EQ(g.hubIterations, hubs);
}

class OfferedVersions : public ::testing::TestWithParam<int32_t> {};

// An ICCS graph on one thread, a knight's tour on two.
TEST_P(OfferedVersions, FindVerifiedCyclesOnOneAndTwoThreads) {
  const int32_t version = GetParam();
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(1000 + static_cast<uint32_t>(version));
  for (int32_t threads : {1, 2}) {
    std::unique_ptr<Graph> g = threads == 1 ? testing::generated(7, 1, 0.0) : testing::generated(5, 8, 8);
    ASSERT_TRUE(g);
    const AdjacencySnapshot submitted = takeAdjacencySnapshot(*g);
    RecordingSink sink;
    SchcOutcome outcome;
    runStoneCarver(*g, version, nullptr, &sink, {.maxIterations = 200000, .threads = threads}, &outcome);
    expectVerifiedCycle(*g, submitted, outcome);
    ASSERT_FALSE(sink.posted.empty());
    const PostedIteration& last = sink.posted.back();
    EXPECT_EQ(std::vector<int64_t>({g->version, static_cast<int64_t>(sink.posted.size()), g->iterationCount,
                                    g->solvedIterations, g->solvedCuts, g->solvedSimulationForces, last.iteration,
                                    last.forcedEdges}),
              std::vector<int64_t>({version, outcome.iterations, outcome.iterations, g->iterationCount, g->cutCount,
                                    g->simulationForceCount, g->iterationCount, g->howManyNodes}))
        << threads << " threads";
    EXPECT_DOUBLE_EQ(g->inverseIterations, 1.0 / g->iterationCount);
    EXPECT_EQ(g->startTime, g->elapsedSeconds);
    EXPECT_GE(g->elapsedSeconds, 0.0);
    EXPECT_DOUBLE_EQ(last.percent, 100.0);
    expectPostedInOrder(*g, sink);
  }
  disableFixedSeed();
}

INSTANTIATE_TEST_SUITE_P(StoneCarver, OfferedVersions, ::testing::ValuesIn(kOfferedVersions));

TEST(StoneCarver, InitialPruningDecidesTreesAndCycles) {
  // A run the initial pruning decides posts no iteration; at print level 1 it says so.
  struct Run {
    Graph graph;
    int32_t version;
    HamiltonicityState verdict;
    const char* line;
  };
  Run runs[] = {
      {makeGraph(6, {{0, 1}, {1, 2}, {1, 3}, {3, 4}, {3, 5}}), 5, kNotHamiltonian,
       "Finished fast initial pruning. x = 0\n"},
      {makeGraph(7, testing::cycleEdges(0, 7)), 3, kHamiltonian, "Finished fast initial pruning. x = 1\n"},
  };
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  for (Run& run : runs) {
    const AdjacencySnapshot submitted = takeAdjacencySnapshot(run.graph);
    run.graph.printLevel = 1;
    RecordingSink sink;
    SchcOutcome outcome;
    log.str("");
    runStoneCarver(run.graph, run.version, nullptr, &sink, {}, &outcome);
    EXPECT_EQ(log.str(), run.line);
    EXPECT_EQ(std::tuple(sink.posted.size(), run.graph.iterationCount, outcome.verdict),
              std::tuple(0u, 0, run.verdict));
    if (run.verdict == kHamiltonian) {
      expectVerifiedCycle(run.graph, submitted, outcome);
      EXPECT_EQ(outcome.cycle, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
    }
  }
  // Silent: nothing is written and the start time is left as it was.
  Graph quiet = makeGraph(5, testing::cycleEdges(0, 5));
  log.str("");
  runStoneCarver(quiet, 5, nullptr, nullptr);
  EXPECT_EQ(std::tuple(quiet.isHamiltonian, log.str(), quiet.elapsedSeconds),
            std::tuple(kHamiltonian, std::string(), 0.0));

  // The prism survives the cheap checks of mode 65535; only the driver's mode 2 (with Full
  // LAS) finds its cycle. Then too few edges, and a cut vertex (two triangles sharing 2).
  const std::tuple<int32_t, testing::EdgeList, uint16_t, HamiltonicityState> modes[] = {
      {6, testing::generalizedPetersenEdges(3, 1), 65535, kUndecided},
      {6, testing::generalizedPetersenEdges(3, 1), 2, kHamiltonian},
      {4, {{0, 1}, {1, 2}, {2, 3}}, 2, kNotHamiltonian},
      {5, {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 2}}, 65535, kNotHamiltonian},
  };
  for (const auto& [n, edges, mode, verdict] : modes) {
    Graph g = makeGraph(n, edges);
    EXPECT_EQ(fastInitialPruning(g, mode, 0), verdict) << n << " nodes, mode " << mode;
    if (verdict == kUndecided) {
      EXPECT_EQ(std::pair(g.howManyEdges, g.howManyUncuttable), std::pair(9, 0));
    }
  }
}

// GP(11, 2) on one thread (version 5) and two (version 3): a run ends exactly at its
// iteration limit or once its flag is cleared, stays undecided, and keeps the statistics
// of its iterations. The sink clears the flag one iteration past a limit, so a run that would
// overshoot the limit fails at once instead of running on.
TEST(StoneCarver, NonHamiltonianGraphRunsToTheLimitOrTheFlag) {
  struct Row {
    int32_t version, threads;
    int64_t limit;
    int32_t stopAfter;  // -1: the flag is cleared before the run
  };
  const Row rows[] = {{5, 1, 400, 401}, {3, 2, 300, 301}, {5, 1, 0, 5}, {3, 2, 0, 5}, {5, 1, 0, -1}};
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(77);
  int32_t hubIterations = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "version " << row.version << ", limit " << row.limit << ", stop after "
                                      << row.stopAfter);
    Graph g = testing::nonHamiltonianSurvivor();
    RecordingSink sink;
    sink.stopAfter = row.stopAfter;
    if (row.stopAfter < 0) sink.flag.store(0);
    SchcOutcome outcome;
    runStoneCarver(g, row.version, &sink.flag, &sink, {.maxIterations = row.limit, .threads = row.threads},
                   &outcome);
    const size_t expected = static_cast<size_t>(row.limit > 0 ? row.limit : std::max(row.stopAfter, 0));
    if (row.limit > 0 || row.threads == 1) {
      ASSERT_EQ(sink.posted.size(), expected);
    } else {
      ASSERT_GE(sink.posted.size(), expected);  // the other worker may finish its iteration
    }
    EXPECT_EQ(g.iterationCount, static_cast<int32_t>(sink.posted.size()));
    EXPECT_EQ(std::tuple(g.isHamiltonian, outcome.verdict, outcome.cycle.size(), g.solvedIterations,
                         g.elapsedSeconds),
              std::tuple(kUndecided, kUndecided, 0u, 0, 0.0));
    expectPostedInOrder(g, sink);
    // The least and most deletions to a hub or a ring are those of the posted iterations.
    int32_t least[2] = {1000000000, 1000000000};
    int32_t most[2] = {0, 0};
    for (const PostedIteration& p : sink.posted) {
      EXPECT_LE(p.percent, 100.0);
      EXPECT_TRUE(p.hubs > 0 || p.rings > 0) << "every iteration ends with an obstruction";
      for (int32_t r = 0; r < 2; ++r) {
        if ((r == 0 ? p.hubs : p.rings) == 0) continue;
        least[r] = std::min(least[r], p.deletions);
        most[r] = std::max(most[r], p.deletions);
      }
    }
    EXPECT_EQ(std::vector<int32_t>({g.leastCutsToHub, g.mostCutsToHub, g.leastCutsToRing, g.mostCutsToRing}),
              std::vector<int32_t>({least[0], most[0], least[1], most[1]}));
    hubIterations += g.hubIterations;
  }
  EXPECT_GT(hubIterations, 0);
  EXPECT_NE(log.str().find("###Least cuts to hub = "), std::string::npos);
  disableFixedSeed();
}

TEST(StoneCarver, DiagnosticLinesOfARun) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  // At print level 1 every iteration writes one line. (The sinks stop a run that overshoots.)
  Graph g = testing::nonHamiltonianSurvivor();
  g.printLevel = 1;
  RecordingSink sink;
  sink.stopAfter = 4;
  enableFixedSeed(5);
  runStoneCarver(g, 3, &sink.flag, &sink, {.maxIterations = 3});
  disableFixedSeed();
  diag().precision(6);
  const std::string text = log.str();
  EXPECT_EQ(text.find("PM 1 Cts: "), 0u) << text;
  EXPECT_NE(text.find("PM 3 Cts: "), std::string::npos);
  EXPECT_NE(text.find(" A%: "), std::string::npos);
  EXPECT_EQ(text.find("PM 4 "), std::string::npos);

  // An unknown version code says so in every iteration and never decides or changes the graph.
  Graph unknown = testing::nonHamiltonianSurvivor();
  unknown.version = 42;
  RecordingSink unknownSink;
  unknownSink.stopAfter = 4;
  const std::string before = testing::snapshot(unknown);
  log.str("");
  EXPECT_EQ(runProbabilityMill(unknown, &unknownSink.flag, &unknownSink, {.maxIterations = 3}), kUndecided);
  EXPECT_EQ(unknown.iterationCount, 3);
  EXPECT_EQ(log.str(), "This should never happen.\nThis should never happen.\nThis should never happen.\n");
  EXPECT_EQ(testing::snapshot(unknown), before);
}

TEST(HamiltonianCycle, VerifierChecksEveryConditionOnItsOwn) {
  Graph g = makeGraph(6, testing::generalizedPetersenEdges(3, 1));  // the prism
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
  EXPECT_TRUE(hamiltonianCycleOrder(g).empty()) << "an unsolved graph has no cycle order";
}

}  // namespace
}  // namespace hc
