// The Stone Carver. The mill versions step by step: where deletions start, what Single and
// Variable LAS do with a fatal trial, the Threshold LAS switch, the random draws of a step,
// a stop inside an iteration, termination, and the cut-sequence learning of version 10. The
// driver end to end: verified cycles for every offered version on one and two threads,
// graphs the initial pruning decides, and a non-Hamiltonian graph run to the iteration limit
// or a stop with its statistics and diagnostic lines.
#include "schc/stone_carver.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/diagnostics.h"
#include "core/edge_snapshot.h"
#include "core/hamiltonian_cycle_check.h"
#include "core/random.h"
#include "generators/graph_generation.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/mill_hooks.h"
#include "schc/probability_mill.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::makeGraph;

Graph generated(GraphSource type, int32_t n, double x) {
  GenerationResult result = generateGraph(requestForFamily(type, n, x));
  EXPECT_TRUE(result) << result.error;
  return result ? *result.graph : Graph();
}

// How often `needle` occurs in `text`.
size_t occurrences(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

struct PostedIteration {
  int32_t iteration, deletions, hubs, rings, forcedEdges;
  double percent;
};

// Records the posts, which come numbered 1, 2, ..., and counts those that ended with a hub;
// stops `flag` once `stopAfter` iterations came (0: never).
struct RecordingSink : SchcSink {
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double) override {
    EXPECT_EQ(iteration, static_cast<int32_t>(posted.size()) + 1);
    posted.push_back({iteration, deletions, hubs, rings, forcedEdges, percentComplete});
    hubPosts += hubs > 0 ? 1 : 0;
    if (stopAfter > 0 && static_cast<int32_t>(posted.size()) >= stopAfter) flag.requestStop();
  }
  std::vector<PostedIteration> posted;
  int32_t hubPosts = 0, stopAfter = 0;
  StopToken flag;
};

struct StepRecord {
  int32_t v, w, trial;
  MillStepAction action;
  bool atChainEndOrNoChains;
};

// Records every step; stops `flag` at the `stopAt`-th.
struct RecordingObserver : MillStepObserver {
  void onStep(const Graph& graph, int32_t v, int32_t w, int32_t trial, MillStepAction action) override {
    steps.push_back({v, w, trial, action, graph.howManyChains == 0 || graph.node(v).isHead == 1});
    if (static_cast<int32_t>(steps.size()) == stopAt) flag.requestStop();
  }
  std::vector<StepRecord> steps;
  StopToken flag;
  int32_t stopAt = 0;
};

// Checks what a run that ended with a cycle must leave behind.
void expectVerifiedCycle(const Graph& solved, const EdgeSnapshot& submitted, const SchcOutcome& outcome) {
  ASSERT_EQ(std::pair(solved.isHamiltonian, outcome.verdict), std::pair(kHamiltonian, kHamiltonian));
  EXPECT_EQ(isHamiltonianCycle(submitted, outcome.cycle).fault, "");
  EXPECT_EQ(std::pair(hamiltonianCycleOrder(solved), outcome.cycle.empty() ? -1 : outcome.cycle.front()),
            std::pair(outcome.cycle, 0));
}

// ---------------------------------------------------------------------------------------
// The mill

// Every version, three iterations each on a pruned knight's tour, a pruned ICCS graph and
// the Petersen graph.
TEST(ProbabilityMill, EveryVersionStepByStep) {
  testing::CapturedDiagnostics log;
  enableFixedSeed(31);
  std::vector<Graph> sources = {generated(GraphSource::kKnightsTourGraph, 8, 8),
                                generated(GraphSource::kIccsGraph, 1, 0.0), testing::petersenGraph()};
  for (size_t s = 0; s < 2; ++s) ASSERT_EQ(fastInitialPruning(sources[s], 2, 0), kUndecided);
  ASSERT_GT(sources[0].howManyChains, 0);
  int32_t fatalTrials = 0;
  size_t sequencingLines = 0;
  const std::string sequencingLine = "Simulation forced an edge. Ran full sequencing. howManyUncuttable = ";
  for (size_t s = 0; s < sources.size(); ++s) {
    const EdgeSnapshot submitted(sources[s]);
    for (int32_t version = 0; version <= 13; ++version) {
      const bool legacy = version == 0 || version == 11;
      const bool singleLas = version == 4 || version == 12;
      const bool variableLas = version == 5 || version == 13;
      for (int32_t iteration = 0; iteration < 3; ++iteration) {
        SCOPED_TRACE(::testing::Message() << "graph " << s << ", version " << version);
        Graph copy(sources[s]);
        copy.printLevel = singleLas || variableLas ? 1 : 0;
        RecordingObserver observer;
        ScopedMillStepObserver watch(observer);
        log.clear();
        runMillVersion(copy, version);
        const std::string text = log.text();
        // The newer versions always decide, and a cycle they report is one.
        EXPECT_TRUE(legacy || (!observer.steps.empty() && copy.isHamiltonian != kUndecided));
        EXPECT_TRUE(legacy || copy.isHamiltonian != kHamiltonian ||
                    isHamiltonianCycle(submitted, hamiltonianCycleOrder(copy)))
            << "a reported cycle fails the check";
        int32_t forced = 0;
        for (const StepRecord& step : observer.steps) {
          // Once chains exist, every deletion starts at a chain end.
          EXPECT_TRUE(legacy || step.atChainEndOrNoChains) << "node " << step.v;
          if (!singleLas) continue;
          // Single LAS forces exactly the edges whose trial is fatal; a forced edge stays,
          // forced unless the forcing itself ended the iteration with a hub.
          ASSERT_NE(step.trial, -1);
          EXPECT_EQ(step.action == MillStepAction::kForce, step.trial == kNotHamiltonian);
          if (step.trial != kNotHamiltonian) continue;
          ++forced;
          const bool stays = copy.howManyHubs > 0 || copy.isUncuttableEdge(step.v, step.w);
          EXPECT_TRUE(copy.isAdjacent(step.v, step.w) && stays) << step.v << "," << step.w;
        }
        if (singleLas) {
          EXPECT_EQ(std::pair(copy.simulationForceCount, copy.cutCount),
                    std::pair(forced, static_cast<int32_t>(observer.steps.size()) - forced));
          EXPECT_EQ(occurrences(text, sequencingLine), 0u) << "Single LAS runs no sequencing after a force";
          fatalTrials += forced;
        }
        if (variableLas) sequencingLines += occurrences(text, sequencingLine);
        // Threshold LAS: the switch is written at most once, and nothing comes before it.
        const size_t switches = occurrences(text, "ThreshHold reached.");
        EXPECT_TRUE(version != 6 || switches == 0 ||
                    (switches == 1 && text.find("ThreshHold reached. howManyUncuttable = ") == 0))
            << text;
      }
    }
  }
  EXPECT_EQ(std::pair(fatalTrials > 0, sequencingLines > 0), std::pair(true, true));
  disableFixedSeed();
}

TEST(ProbabilityMill, ThresholdSwitchNeedsAStrictlyGreaterRatio) {
  const std::tuple<int32_t, int16_t, int32_t, bool> cases[] = {
      {100, 0, 95, false},       {100, 0, 96, true},       {100000, 50, 98000, false},
      {100000, 50, 98001, true}, {100000, 5, 95001, true}, {99999, 50, 95000, true}};
  for (auto [n, type, forced, reached] : cases) {
    Graph g(n, type);
    g.howManyUncuttable = forced;
    EXPECT_EQ(thresholdReached(g), reached) << n << " " << type << " " << forced;
  }
}

// The LCG, written out independently of the generator.
uint32_t advance(uint32_t state, int32_t draws) {
  for (int32_t k = 0; k < draws; ++k) state = state * 214013u + 2531011u;
  return state;
}

TEST(ProbabilityMill, AStepDrawsOneNumberWithoutChainsAndTwoWithThem) {
  // Without chains the first draw picks the node (and the second its neighbour); with the
  // chain 0-3 the first draw is spent and the second picks the chain's end.
  Graph g = makeGraph(6, testing::generalizedPetersenEdges(3, 1));
  for (int32_t chains : {0, 1}) {
    if (chains == 1) g.force(0, 3);
    ASSERT_EQ(g.howManyChains, chains);
    const uint32_t seed = chains == 0 ? 4242 : 99;
    seedRandom(seed);
    int32_t v = -1, w = -1;
    chooseMillEdge(g, v, w);
    EXPECT_EQ(randomState(), advance(seed, 2 + chains));
    seedRandom(seed);
    const int32_t node = nextRandom() % 6;
    const int32_t end = nextRandom() % 2 == 0 ? g.chains[0].head1 : g.chains[0].head2;
    EXPECT_EQ(v, chains == 0 ? node : end);
    EXPECT_TRUE(g.isAdjacent(v, w) && !g.isUncuttableEdge(v, w)) << v << "-" << w;
  }
}

TEST(ProbabilityMill, AStopEndsTheIterationAtTheNextStep) {
  // The plain and the look-ahead versions alike; the stopped iteration is not counted.
  for (int32_t version : {3, 5}) {
    seedRandom(7);
    Graph g = makeGraph(100, testing::knightEdges(10, 10));
    g.version = version;
    RecordingObserver observer;
    observer.stopAt = 4;
    ScopedMillStepObserver watch(observer);
    SchcOutcome outcome;
    EXPECT_EQ(runProbabilityMill(g, &observer.flag, nullptr, {}, &outcome), kUndecided);
    EXPECT_EQ(std::tuple(observer.steps.size(), outcome.iterations, g.iterationCount), std::tuple(4u, 0, 0))
        << version;
  }
}

TEST(ProbabilityMill, AStuckOrUnknownVersionEndsAndChangesNothing) {
  // Every node has two forced edges (node level), yet a chord is left: the draw of version
  // 11 can never succeed, and its iteration ends.
  Graph stuck = makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
  for (auto [a, b] : testing::cycleEdges(0, 4)) Node::setUncut(stuck.node(a), stuck.node(b));
  stuck.howManyUncuttable = 4;
  const std::string stuckBefore = testing::snapshot(stuck);
  runMillVersion(stuck, 11);
  EXPECT_EQ(testing::snapshot(stuck), stuckBefore);
  // An unknown version code says so in every iteration and never decides.
  testing::CapturedDiagnostics log;
  Graph unknown = makeGraph(22, testing::generalizedPetersenEdges(11, 2));
  unknown.version = 42;
  RecordingSink sink;
  sink.stopAfter = 4;
  const std::string before = testing::snapshot(unknown);
  EXPECT_EQ(runProbabilityMill(unknown, &sink.flag, &sink, {.maxIterations = 3}), kUndecided);
  EXPECT_EQ(std::tuple(unknown.iterationCount, log.text(), testing::snapshot(unknown)),
            std::tuple(3, "This should never happen.\nThis should never happen.\nThis should never happen.\n",
                       before));
}

// One version 10 iteration records its cut sequence; replaying it executes the first half.
// A learning run writes its best graph where it is told, never to the working folder.
TEST(CutSequence, ReplayAndTheLearningRun) {
  testing::CapturedDiagnostics log;
  enableFixedSeed(17);
  Graph pruned = generated(GraphSource::kKnightsTourGraph, 8, 8);
  ASSERT_EQ(fastInitialPruning(pruned, 2, 0), kUndecided);
  Graph copy(pruned);
  std::unique_ptr<CutSequence> sequence;
  runMillVersion(copy, 10, &sequence);
  ASSERT_TRUE(sequence);
  const std::string recorded = "The cut sequence has " + std::to_string(sequence->count) + " edges.\n";
  EXPECT_EQ(occurrences(log.text(), recorded), 1u);
  EXPECT_DOUBLE_EQ(sequence->percentage, copy.howManyUncuttable * 100.0 / copy.howManyNodes);
  const std::string replaying = "### About to execute " + std::to_string(sequence->count / 2) + " cuts.\n";
  log.clear();
  replayCutSequence(pruned, *sequence);
  EXPECT_EQ(std::pair(log.text().rfind(replaying, 0), sequence->empty()), std::pair(size_t{0}, true))
      << log.text();

  // The engine writes no file: each new best goes to the writer it is given, by name.
  std::vector<std::string> written;
  auto writer = [&written](const Graph& graph, const std::string& path) {
    written.push_back(path + " " + std::to_string(graph.howManyNodes));
    return std::string(written.size() == 1 ? "" : "disk full");
  };
  // ICCS with three components: iterations fail often, so sequences get recorded.
  Graph g = generated(GraphSource::kIccsGraph, 3, 0.0);
  RecordingSink sink;
  sink.stopAfter = 31;
  // Version 10 runs on one thread whatever is asked.
  log.clear();
  runStoneCarver(g, 10, &sink.flag, &sink,
                 {.maxIterations = 30, .threads = 2, .bestFileName = "mine.txt", .writeGraph = writer});
  const std::string text = log.text();
  EXPECT_TRUE(sink.posted.size() <= 30u && text.find("That sequence got to ") != std::string::npos) << text;
  const size_t newBests = occurrences(text, "###Found a new best cut sequence.");
  EXPECT_EQ(written, std::vector<std::string>(newBests, "mine.txt 42"));
  EXPECT_EQ(std::pair(text.find("###The best cut sequence so far has percentage ") != std::string::npos,
                      occurrences(text, "Could not write mine.txt: disk full\n")),
            std::pair(newBests > 0, newBests > 1 ? newBests - 1 : 0));
  disableFixedSeed();
}

// ---------------------------------------------------------------------------------------
// The driver

class OfferedVersions : public ::testing::TestWithParam<int32_t> {};

// An ICCS graph on one thread, a knight's tour on two.
TEST_P(OfferedVersions, FindVerifiedCyclesOnOneAndTwoThreads) {
  const int32_t version = GetParam();
  testing::CapturedDiagnostics log;
  enableFixedSeed(1000 + static_cast<uint32_t>(version));
  for (int32_t threads : {1, 2}) {
    Graph g = threads == 1 ? generated(GraphSource::kIccsGraph, 1, 0.0)
                           : generated(GraphSource::kKnightsTourGraph, 8, 8);
    const EdgeSnapshot submitted(g);
    RecordingSink sink;
    SchcOutcome outcome;
    runStoneCarver(g, version, nullptr, &sink, {.maxIterations = 200000, .threads = threads}, &outcome);
    expectVerifiedCycle(g, submitted, outcome);
    ASSERT_FALSE(sink.posted.empty());
    const PostedIteration& last = sink.posted.back();
    const StoneCarverStatistics& s = outcome.statistics;
    EXPECT_EQ(
        std::vector<int64_t>({g.version, static_cast<int64_t>(sink.posted.size()), g.iterationCount,
                              s.solvedIterations, s.solvedCuts, s.solvedSimulationForces, last.iteration,
                              last.forcedEdges, s.hubIterations}),
        std::vector<int64_t>({version, outcome.iterations, outcome.iterations, g.iterationCount, g.cutCount,
                              g.simulationForceCount, g.iterationCount, g.howManyNodes, sink.hubPosts}))
        << threads << " threads";
    EXPECT_DOUBLE_EQ(s.inverseIterations, 1.0 / g.iterationCount);
    EXPECT_TRUE(s.startTime == s.elapsedSeconds && s.elapsedSeconds >= 0.0 && last.percent == 100.0)
        << last.percent;
  }
  disableFixedSeed();
}

INSTANTIATE_TEST_SUITE_P(StoneCarver, OfferedVersions, ::testing::ValuesIn(kOfferedVersions));

TEST(StoneCarver, InitialPruningDecidesTreesAndCycles) {
  // A run the initial pruning decides posts no iteration; at print level 1 it says so, and
  // silent (without a sink) it writes nothing and leaves the start time as it was.
  const std::tuple<Graph, int32_t, int16_t, HamiltonicityState, std::string> runs[] = {
      {makeGraph(6, {{0, 1}, {1, 2}, {1, 3}, {3, 4}, {3, 5}}), 5, 1, kNotHamiltonian,
       "Finished fast initial pruning. x = 0\n"},
      {makeGraph(7, testing::cycleEdges(0, 7)), 3, 1, kHamiltonian, "Finished fast initial pruning. x = 1\n"},
      {makeGraph(5, testing::cycleEdges(0, 5)), 5, 0, kHamiltonian, ""},
  };
  testing::CapturedDiagnostics log;
  for (auto [graph, version, printLevel, verdict, line] : runs) {
    const EdgeSnapshot submitted(graph);
    graph.printLevel = printLevel;
    RecordingSink sink;
    SchcOutcome outcome;
    log.clear();
    runStoneCarver(graph, version, nullptr, printLevel > 0 ? &sink : nullptr, {}, &outcome);
    EXPECT_EQ(std::tuple(log.text(), sink.posted.size(), graph.iterationCount, outcome.verdict),
              std::tuple(line, 0u, 0, verdict));
    EXPECT_TRUE(printLevel > 0 || outcome.statistics.elapsedSeconds == 0.0);
    if (verdict == kHamiltonian) {
      expectVerifiedCycle(graph, submitted, outcome);
      EXPECT_EQ(outcome.cycle[1], 1) << "a cycle graph is listed in its own order";
    }
  }

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
    // An undecided graph has no cycle order.
    EXPECT_TRUE(verdict != kUndecided ||
                (g.howManyEdges == 9 && g.howManyUncuttable == 0 && hamiltonianCycleOrder(g).empty()));
  }
}

// GP(11, 2) on one thread (versions 3 and 5) and two (version 3): a run ends exactly at its
// iteration limit or once it is stopped, stays undecided, and keeps the statistics of its
// iterations. The sink stops the run one iteration past a limit, so a run that would
// overshoot the limit fails at once instead of running on. Every iteration that ends with a
// hub writes the least and most cuts to a hub; at print level 1 every iteration writes a line.
TEST(StoneCarver, NonHamiltonianGraphRunsToTheLimitOrTheStop) {
  // Version, threads, iteration limit, iterations before the sink stops the run (-1: it is
  // stopped before the run), print level.
  const std::tuple<int32_t, int32_t, int64_t, int32_t, int16_t> rows[] = {
      {5, 1, 400, 401, 0}, {3, 2, 300, 301, 0}, {5, 1, 0, 5, 0},
      {3, 2, 0, 5, 0},     {5, 1, 0, -1, 0},    {3, 1, 3, 4, 1}};
  testing::CapturedDiagnostics log;
  enableFixedSeed(77);
  int32_t hubIterations = 0;
  for (const auto& [version, threads, limit, stopAfter, printLevel] : rows) {
    SCOPED_TRACE(::testing::Message()
                 << "version " << version << ", limit " << limit << ", stop after " << stopAfter);
    Graph g = makeGraph(22, testing::generalizedPetersenEdges(11, 2));  // the cheap pruning cannot tell
    g.printLevel = printLevel;
    RecordingSink sink;
    sink.stopAfter = stopAfter;
    if (stopAfter < 0) sink.flag.requestStop();
    SchcOutcome outcome;
    log.clear();
    runStoneCarver(g, version, &sink.flag, &sink, {.maxIterations = limit, .threads = threads}, &outcome);
    // Exactly, except that with two threads and no limit the other worker may finish its
    // iteration.
    const size_t expected = static_cast<size_t>(limit > 0 ? limit : std::max(stopAfter, 0));
    const size_t posted = sink.posted.size();
    ASSERT_TRUE(posted == expected || (limit == 0 && threads > 1 && posted > expected)) << posted;
    const StoneCarverStatistics& s = outcome.statistics;
    EXPECT_EQ(std::tuple(g.isHamiltonian, outcome.verdict, outcome.cycle.size(), s.solvedIterations,
                         s.elapsedSeconds, g.iterationCount, s.hubIterations),
              std::tuple(kUndecided, kUndecided, 0u, 0, 0.0, static_cast<int32_t>(posted), sink.hubPosts));
    // The least and most deletions to a hub or a ring are those of the posted iterations.
    int32_t least[2] = {1000000000, 1000000000}, most[2] = {0, 0};
    for (const PostedIteration& p : sink.posted) {
      EXPECT_TRUE(p.percent <= 100.0 && (p.hubs > 0 || p.rings > 0)) << "an obstruction ends every iteration";
      for (int32_t r = 0; r < 2; ++r) {
        if ((r == 0 ? p.hubs : p.rings) == 0) continue;
        least[r] = std::min(least[r], p.deletions);
        most[r] = std::max(most[r], p.deletions);
      }
    }
    EXPECT_EQ(std::vector<int32_t>({s.leastCutsToHub, s.mostCutsToHub, s.leastCutsToRing, s.mostCutsToRing}),
              std::vector<int32_t>({least[0], most[0], least[1], most[1]}));
    hubIterations += s.hubIterations;
    const std::string text = log.text();
    EXPECT_EQ(std::pair(occurrences(text, "###Least cuts to hub = "), occurrences(text, " Cts: ")),
              std::pair(static_cast<size_t>(s.hubIterations), printLevel > 0 ? posted : 0u));
    EXPECT_TRUE(printLevel == 0 || text.rfind("PM 1 Cts: ", 0) == 0) << text;
  }
  EXPECT_GT(hubIterations, 0);
  diag().precision(6);
  disableFixedSeed();
}

}  // namespace
}  // namespace hc
