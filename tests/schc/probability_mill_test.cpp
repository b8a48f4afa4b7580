// The mill versions step by step: where deletions start, what Single and Variable LAS do
// with a fatal trial, the Threshold LAS switch, the random
// draws of a step, the stop flag inside an iteration, termination, and the cut-sequence
// learning of version 10.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include <unistd.h>

#include "core/diagnostics.h"
#include "core/random.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/mill_hooks.h"
#include "schc/probability_mill.h"
#include "schc/stone_carver.h"
#include "schc_test_support.h"

namespace hc {
namespace {

struct StepRecord {
  int32_t v, w, trial;
  MillStepAction action;
  bool chainEnd;
  int32_t chains;
};

// Records every step; clears `flag` at the `stopAt`-th.
class RecordingObserver : public MillStepObserver {
 public:
  void onStep(const Graph& graph, int32_t v, int32_t w, int32_t trial, MillStepAction action) override {
    bool chainEnd = false;
    for (int32_t c = 0; c < graph.howManyChains; ++c) {
      const Chain& chain = graph.chains[static_cast<size_t>(c)];
      chainEnd = chainEnd || chain.head1 == v || chain.head2 == v;
    }
    steps.push_back({v, w, trial, action, chainEnd, graph.howManyChains});
    if (flag != nullptr && static_cast<int32_t>(steps.size()) == stopAt) flag->store(0);
  }
  std::vector<StepRecord> steps;
  std::atomic<uint8_t>* flag = nullptr;
  int32_t stopAt = 0;
};

// Every version, three iterations each on a pruned knight's tour, a pruned ICCS graph and
// the Petersen graph.
TEST(ProbabilityMill, EveryVersionStepByStep) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(31);
  std::vector<Graph> sources = {*testing::generated(5, 8, 8), *testing::generated(7, 1, 0.0),
                                testing::petersenGraph()};
  for (size_t s = 0; s < 2; ++s) ASSERT_EQ(fastInitialPruning(sources[s], 2, 0), kUndecided);
  ASSERT_GT(sources[0].howManyChains, 0);
  int32_t fatalTrials = 0;
  int32_t sequencingLines = 0;
  const std::string sequencingLine = "Simulation forced an edge. Ran full sequencing. howManyUncuttable = ";
  for (size_t s = 0; s < sources.size(); ++s) {
    const AdjacencySnapshot submitted = takeAdjacencySnapshot(sources[s]);
    for (int32_t version = 0; version <= 13; ++version) {
      const bool legacy = version == 0 || version == 11;
      const bool singleLas = version == 4 || version == 12;
      const bool variableLas = version == 5 || version == 13;
      for (int32_t iteration = 0; iteration < 3; ++iteration) {
        SCOPED_TRACE(::testing::Message() << "graph " << s << ", version " << version);
        Graph copy(sources[s]);
        copy.printLevel = singleLas || variableLas ? 1 : 0;
        RecordingObserver observer;
        log.str("");
        {
          ScopedMillStepObserver watch(observer);
          runMillVersion(copy, version);
        }
        const std::string text = log.str();
        if (!legacy) {
          EXPECT_FALSE(observer.steps.empty());
          EXPECT_NE(copy.isHamiltonian, kUndecided);
        }
        if (copy.isHamiltonian == kHamiltonian && !legacy) {
          std::string why;
          EXPECT_TRUE(verifyHamiltonianCycle(submitted, hamiltonianCycleOrder(copy), &why)) << why;
        }
        int32_t forced = 0;
        for (const StepRecord& step : observer.steps) {
          // Once chains exist, every deletion starts at a chain end.
          if (!legacy && step.chains > 0) {
            EXPECT_TRUE(step.chainEnd) << "node " << step.v;
          }
          if (!singleLas) continue;
          // Single LAS forces exactly the edges whose trial is fatal; a forced edge stays,
          // forced unless the forcing itself ended the iteration with a hub.
          ASSERT_NE(step.trial, -1);
          EXPECT_EQ(step.action == MillStepAction::kForce, step.trial == kNotHamiltonian);
          if (step.trial != kNotHamiltonian) continue;
          ++forced;
          EXPECT_TRUE(copy.isAdjacent(step.v, step.w)) << step.v << "," << step.w;
          if (copy.howManyHubs == 0) {
            EXPECT_TRUE(copy.isUncuttableEdge(step.v, step.w)) << step.v << "," << step.w;
          }
        }
        if (singleLas) {
          EXPECT_EQ(copy.simulationForceCount, forced);
          EXPECT_EQ(copy.cutCount, static_cast<int32_t>(observer.steps.size()) - forced);
          EXPECT_EQ(text.find(sequencingLine), std::string::npos) << "Single LAS runs no sequencing after a force";
          fatalTrials += forced;
        }
        for (size_t at = text.find(sequencingLine); variableLas && at != std::string::npos;
             at = text.find(sequencingLine, at + 1)) {
          ++sequencingLines;
        }
        // Threshold LAS: the switch is written at most once, and nothing comes before it.
        const size_t first = text.find("ThreshHold reached. howManyUncuttable = ");
        if (version == 6 && first != std::string::npos) {
          EXPECT_EQ(first, 0u);
          EXPECT_EQ(text.find("ThreshHold reached.", first + 1), std::string::npos);
        }
      }
    }
  }
  EXPECT_EQ(std::pair(fatalTrials > 0, sequencingLines > 0), std::pair(true, true));
  disableFixedSeed();
}

TEST(ProbabilityMill, ThresholdSwitchNeedsAStrictlyGreaterRatio) {
  const std::tuple<int32_t, int16_t, int32_t, bool> cases[] = {
      {100, 0, 95, false}, {100, 0, 96, true}, {100000, 50, 98000, false}, {100000, 50, 98001, true},
      {100000, 5, 95001, true}, {99999, 50, 95000, true}};
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
  Graph g = testing::makeGraph(6, testing::generalizedPetersenEdges(3, 1));
  ASSERT_EQ(g.howManyChains, 0);
  seedRandom(4242);
  int32_t v = -1;
  int32_t w = -1;
  chooseMillEdge(g, v, w);
  EXPECT_EQ(randomState(), advance(4242, 2));
  seedRandom(4242);
  const int32_t expectedNode = nextRandom() % 6;
  EXPECT_EQ(v, expectedNode);
  EXPECT_TRUE(g.isAdjacent(v, w));

  g.force(0, 3);  // one chain, 0-3
  ASSERT_EQ(g.howManyChains, 1);
  seedRandom(99);
  chooseMillEdge(g, v, w);
  EXPECT_EQ(randomState(), advance(99, 3));
  seedRandom(99);
  nextRandom();
  const int32_t end = nextRandom() % 2 == 0 ? g.chains[0].head1 : g.chains[0].head2;
  EXPECT_EQ(v, end);
  EXPECT_FALSE(g.isUncuttableEdge(v, w));
}

TEST(ProbabilityMill, AClearedFlagEndsTheIterationAtTheNextStep) {
  // The plain and the look-ahead versions alike; the stopped iteration is not counted.
  for (int32_t version : {3, 5}) {
    seedRandom(7);
    Graph g = testing::makeGraph(100, testing::knightEdges(10, 10));
    g.version = version;
    std::atomic<uint8_t> keepRunning{1};
    RecordingObserver observer;
    observer.flag = &keepRunning;
    observer.stopAt = 4;
    ScopedMillStepObserver watch(observer);
    SchcOutcome outcome;
    EXPECT_EQ(runProbabilityMill(g, &keepRunning, nullptr, {}, &outcome), kUndecided);
    EXPECT_EQ(std::tuple(observer.steps.size(), outcome.iterations, g.iterationCount), std::tuple(4u, 0, 0))
        << version;
  }
}

TEST(ProbabilityMill, LegacyVariableLasEndsWhenNoNodeCanBeDrawn) {
  // Every node has two forced edges (node level), yet a chord is left: the draw of version
  // 11 can never succeed.
  Graph g = testing::makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
  for (auto [a, b] : testing::cycleEdges(0, 4)) Node::setUncut(g.node(a), g.node(b));
  g.howManyUncuttable = 4;
  ASSERT_GT(g.howManyEdges, g.howManyUncuttable);
  const std::string before = testing::snapshot(g);
  runMillVersion(g, 11);
  EXPECT_EQ(testing::snapshot(g), before);
}

// One version 10 iteration records its cut sequence; replaying it executes the first half.
// A learning run writes its best graph where it is told, never to the working folder.
TEST(CutSequence, ReplayAndTheLearningRun) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(17);
  Graph pruned = *testing::generated(5, 8, 8);
  ASSERT_EQ(fastInitialPruning(pruned, 2, 0), kUndecided);
  Graph copy(pruned);
  std::unique_ptr<CutSequence> sequence;
  runMillVersion(copy, 10, &sequence);
  ASSERT_TRUE(sequence);
  EXPECT_NE(log.str().find("The cut sequence has " + std::to_string(sequence->count) + " edges.\n"),
            std::string::npos);
  EXPECT_DOUBLE_EQ(sequence->percentage, copy.howManyUncuttable * 100.0 / copy.howManyNodes);
  const int32_t half = static_cast<int32_t>(sequence->count * 0.5);
  Graph replayed(pruned);
  log.str("");
  replayCutSequence(replayed, *sequence);
  EXPECT_EQ(log.str().rfind("### About to execute " + std::to_string(half) + " cuts.\n", 0), 0u) << log.str();
  EXPECT_TRUE(sequence->empty());
  EXPECT_LE(replayed.howManyEdges, pruned.howManyEdges);

  const std::string bestFile =
      (std::filesystem::temp_directory_path() / ("hc_schc_best_" + std::to_string(::getpid()) + ".txt")).string();
  std::filesystem::remove(bestFile);
  // ICCS with three components: iterations fail often, so sequences get recorded.
  std::unique_ptr<Graph> g = testing::generated(7, 3, 0.0);
  testing::RecordingSink sink;
  sink.stopAfter = 31;
  // Version 10 runs on one thread whatever is asked.
  SchcOptions options{.maxIterations = 30, .threads = 2, .bestFileName = bestFile};
  SchcOutcome outcome;
  log.str("");
  runStoneCarver(*g, 10, &sink.flag, &sink, options, &outcome);
  EXPECT_LE(sink.posted.size(), 30u);
  const std::string text = log.str();
  EXPECT_NE(text.find("That sequence got to "), std::string::npos);
  if (text.find("###Found a new best cut sequence.") != std::string::npos) {
    EXPECT_TRUE(std::filesystem::exists(bestFile));
    EXPECT_NE(text.find("###The best cut sequence so far has percentage "), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists("best.txt"));
  std::filesystem::remove(bestFile);
  if (outcome.verdict == kHamiltonian) {
    EXPECT_FALSE(outcome.cycle.empty());
  }
  disableFixedSeed();
}

}  // namespace
}  // namespace hc
