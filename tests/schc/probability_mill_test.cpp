// The mill versions: where deletions start, what Single LAS does with a fatal trial, the
// Threshold LAS switch, the random draws of a step, termination of the legacy and
// Disjunction versions, and the cut-sequence learning of version 10.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include <unistd.h>

#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/simulate_cut.h"
#include "schc/hamiltonian_cycle.h"
#include "schc/mill_hooks.h"
#include "schc/probability_mill.h"
#include "schc/stone_carver.h"
#include "schc_test_support.h"

namespace hc {
namespace {

// A knight's tour graph after the driver's initial pruning, ready for iterations.
std::unique_ptr<Graph> prunedKnightsTour(int32_t size) {
  std::unique_ptr<Graph> g = testing::knightsTour(size, size);
  EXPECT_EQ(fastInitialPruning(*g, 2, 0), kUndecided);
  return g;
}

struct StepRecord {
  int32_t v, w, trial;
  MillStepAction action;
  bool chainEnd;
  int32_t chains;
};

class RecordingObserver : public MillStepObserver {
 public:
  void onStep(const Graph& graph, int32_t v, int32_t w, int32_t trial, MillStepAction action) override {
    bool chainEnd = false;
    for (int32_t c = 0; c < graph.howManyChains; ++c) {
      const Chain& chain = graph.chains[static_cast<size_t>(c)];
      chainEnd = chainEnd || chain.head1 == v || chain.head2 == v;
    }
    steps.push_back({v, w, trial, action, chainEnd, graph.howManyChains});
  }
  std::vector<StepRecord> steps;
};

// The steps of one iteration of `version` on `graph`.
std::vector<StepRecord> observedRun(Graph& graph, int32_t version) {
  RecordingObserver observer;
  ScopedMillStepObserver watch(observer);
  runMillVersion(graph, version);
  return observer.steps;
}

TEST(ProbabilityMill, OnceChainsExistEveryDeletionStartsAtAChainEnd) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(31);
  std::unique_ptr<Graph> pruned = prunedKnightsTour(8);
  ASSERT_GT(pruned->howManyChains, 0);
  for (int32_t version : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}) {
    for (int32_t iteration = 0; iteration < 3; ++iteration) {
      Graph copy(*pruned);
      const std::vector<StepRecord> steps = observedRun(copy, version);
      ASSERT_FALSE(steps.empty()) << "version " << version;
      for (const StepRecord& step : steps) {
        if (step.chains > 0) {
          EXPECT_TRUE(step.chainEnd) << "version " << version << " node " << step.v;
        }
      }
      EXPECT_NE(copy.isHamiltonian, kUndecided) << "version " << version;
    }
  }
  disableFixedSeed();
}

TEST(ProbabilityMill, SingleLasForcesEveryEdgeWhoseTrialIsFatal) {
  enableFixedSeed(8);
  std::unique_ptr<Graph> pruned = prunedKnightsTour(8);
  int32_t fatalTrials = 0;
  for (int32_t version : {4, 12}) {
    for (int32_t iteration = 0; iteration < 40; ++iteration) {
      Graph copy(*pruned);
      const std::vector<StepRecord> steps = observedRun(copy, version);
      int32_t forced = 0;
      for (const StepRecord& step : steps) {
        ASSERT_NE(step.trial, -1);
        EXPECT_EQ(step.action == MillStepAction::kForce, step.trial == kNotHamiltonian);
        if (step.trial != kNotHamiltonian) continue;
        ++forced;
        // The edge was never deleted: it is still there, and forced unless the forcing
        // itself ended the iteration with a hub.
        EXPECT_TRUE(copy.isAdjacent(step.v, step.w)) << step.v << "," << step.w;
        if (copy.howManyHubs == 0) {
          EXPECT_TRUE(copy.isUncuttableEdge(step.v, step.w)) << step.v << "," << step.w;
        }
      }
      EXPECT_EQ(copy.simulationForceCount, forced);
      EXPECT_EQ(copy.cutCount, static_cast<int32_t>(steps.size()) - forced);
      fatalTrials += forced;
    }
  }
  EXPECT_GT(fatalTrials, 0);
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

  // In a run: the line comes at most once per iteration, and Full LAS after it.
  enableFixedSeed(12);
  std::unique_ptr<Graph> pruned = prunedKnightsTour(8);
  for (int32_t iteration = 0; iteration < 10; ++iteration) {
    Graph copy(*pruned);
    std::ostringstream log;
    ScopedDiagnosticStream capture(log);
    runMillVersion(copy, 6);
    const std::string text = log.str();
    const size_t first = text.find("ThreshHold reached. howManyUncuttable = ");
    if (first != std::string::npos) {
      EXPECT_EQ(text.find("ThreshHold reached.", first + 1), std::string::npos);
      EXPECT_EQ(first, 0u);
    }
  }
  disableFixedSeed();
}

// The LCG, written out independently of the generator.
uint32_t advance(uint32_t state, int32_t draws) {
  for (int32_t k = 0; k < draws; ++k) state = state * 214013u + 2531011u;
  return state;
}

TEST(ProbabilityMill, AStepDrawsOneNumberWithoutChainsAndTwoWithThem) {
  Graph g = testing::makeGraph(6, testing::prismEdges());
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

TEST(ProbabilityMill, LegacyAndDisjunctionVersionsTerminate) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(55);
  std::unique_ptr<Graph> knight = prunedKnightsTour(6);
  std::unique_ptr<Graph> iccs = testing::iccs(1);
  ASSERT_EQ(fastInitialPruning(*iccs, 2, 0), kUndecided);
  Graph survivor = testing::petersenGraph();
  for (const Graph* source : {knight.get(), iccs.get(), &survivor}) {
    const AdjacencySnapshot submitted = takeAdjacencySnapshot(*source);
    for (int32_t version : {0, 1, 2, 8, 9, 10, 11}) {
      for (int32_t iteration = 0; iteration < 5; ++iteration) {
        Graph copy(*source);
        runMillVersion(copy, version);
        if (version != 0 && version != 11) {
          EXPECT_NE(copy.isHamiltonian, kUndecided) << "version " << version;
        }
        if (copy.isHamiltonian == kHamiltonian && version != 0 && version != 11) {
          std::string why;
          EXPECT_TRUE(verifyHamiltonianCycle(submitted, hamiltonianCycleOrder(copy), &why))
              << "version " << version << ": " << why;
        }
      }
    }
  }
  disableFixedSeed();
}

TEST(ProbabilityMill, LegacyVariableLasEndsWhenNoNodeCanBeDrawn) {
  // Every node has two forced edges (node level), yet a chord is left: the draw of version
  // 11 can never succeed.
  Graph g = testing::makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
  for (auto [a, b] : testing::cycleEdges(4)) Node::setUncut(g.node(a), g.node(b));
  g.howManyUncuttable = 4;
  ASSERT_GT(g.howManyEdges, g.howManyUncuttable);
  const std::string before = testing::snapshot(g);
  runMillVersion(g, 11);
  EXPECT_EQ(testing::snapshot(g), before);
}

TEST(CutSequence, ReplayExecutesTheFirstHalf) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  enableFixedSeed(17);
  std::unique_ptr<Graph> pruned = prunedKnightsTour(8);
  Graph copy(*pruned);
  std::unique_ptr<CutSequence> sequence;
  runMillVersion(copy, 10, &sequence);
  ASSERT_TRUE(sequence);
  EXPECT_NE(log.str().find("The cut sequence has " + std::to_string(sequence->count) + " edges.\n"),
            std::string::npos);
  EXPECT_DOUBLE_EQ(sequence->percentage, copy.howManyUncuttable * 100.0 / copy.howManyNodes);
  const int32_t half = static_cast<int32_t>(sequence->count * 0.5);
  Graph replayed(*pruned);
  log.str("");
  replayCutSequence(replayed, *sequence);
  EXPECT_EQ(log.str().rfind("### About to execute " + std::to_string(half) + " cuts.\n", 0), 0u) << log.str();
  EXPECT_TRUE(sequence->empty());
  EXPECT_LE(replayed.howManyEdges, pruned->howManyEdges);
  disableFixedSeed();
}

TEST(CutSequence, LearningRunWritesItsBestGraphWhereItIsTold) {
  std::ostringstream log;
  ScopedDiagnosticStream capture(log);
  const std::string bestFile =
      (std::filesystem::temp_directory_path() / ("hc_schc_best_" + std::to_string(::getpid()) + ".txt")).string();
  std::filesystem::remove(bestFile);
  enableFixedSeed(3);
  // ICCS with three components: iterations fail often, so sequences get recorded.
  std::unique_ptr<Graph> g = testing::iccs(3);
  SchcOptions options;
  options.maxIterations = testing::sanitized() ? 5 : 30;
  options.bestFileName = bestFile;
  options.threads = 2;  // version 10 runs on one thread whatever is asked
  SchcOutcome outcome;
  runStoneCarver(*g, 10, nullptr, nullptr, options, &outcome);
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
