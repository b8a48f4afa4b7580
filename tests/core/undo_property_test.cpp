// The undo log as a property: on random graphs, any random sequence of cut / force recorded
// in an ActionList and then undone gives back every neighbour array (order included), every
// counter and every chain; nested lists hold only their own records; simulateForce answers
// what force would do while leaving the graph as it was; and a copy equals its source and,
// given the same random numbers, makes the same choices under the straightforward
// re-entrant formulation of the pruning queue (each cut runs the whole queue before its
// item goes on) as the engine's queue processing makes on the source.
// A failure prints the seed and the steps taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>

#include "core/random.h"
#include "core_test_support.h"

namespace hc {
namespace {

using ::testing::Test;
using testing::snapshot;

// --- the re-entrant formulation, built from the graph's public steps ---

void referenceProcess(Graph& g);

void referenceCut(Graph& g, int32_t a, int32_t b) {
  if (!g.isAdjacent(a, b)) return;
  Node::cut(g.node(a), g.node(b), 0);
  --g.howManyEdges;
  g.forceDegreeTwo(a);
  g.forceDegreeTwo(b);
  referenceProcess(g);
}

void referenceProcess(Graph& g) {
  while (!g.pruningQueue.empty() && g.isHamiltonian != kNotHamiltonian) {
    PruningItem item = g.pruningQueue.pop();
    Node& v = g.node(item.id);
    if (item.Type == PruningQueue::kLightning) {
      v.inLightningQueue = 0;
      const auto cuttable = [&](int32_t u) { return !v.isForcedNeighbor(u) && g.node(u).degree > 2; };
      // A random pick first; when it cannot be cut, the loop ends only if no neighbour can.
      while (v.howManyUncuttable == 2 && v.degree > 2 && g.isHamiltonian != kNotHamiltonian) {
        const int32_t r = v.findRandomCuttableNeighbor();
        if (r != -1 && g.node(r).degree > 2)
          referenceCut(g, v.id, r);
        else if (!std::any_of(v.neighborArray, v.neighborArray + v.degree, cuttable))
          break;
      }
    } else {
      v.inHeadHunterQueue = 0;
      if (v.whichChain == -1) continue;
      const Chain& chain = g.chains[static_cast<size_t>(v.whichChain)];
      if (chain.members >= 3 && chain.members < g.howManyNodes && g.isAdjacent(chain.head1, chain.head2))
        referenceCut(g, chain.head1, chain.head2);
    }
  }
  testing::drainQueue(g);
}


// Random steps on one graph; every check is an expectation, and a failure stops the run.
class SequenceRunner {
 public:
  SequenceRunner(uint32_t seed, Graph& graph) : rng_(seed), g_(graph) {}

  std::string trace;
  int checked[3] = {};  // nested trials, simulations and copies checked
  int cascades = 0;      // copies compared after a change that cut more than two edges

  void run(int steps) {
    for (int i = 0; i < steps && g_.isHamiltonian == kUndecided && !Test::HasFailure(); ++i) {
      switch (rng_() % 8) {
        case 0: nested(0); break;
        case 1: simulate(); break;
        case 2:
        case 3: copyAndCompare(); break;
        default:
          if (!change()) return;
      }
    }
  }

 private:
  struct Step {
    int32_t a = -1;  // -1 when no unforced edge is left
    int32_t b = -1;
    bool doForce = false;
    uint32_t draws = 0;
    void on(Graph& g) const {
      seedRandom(draws);
      doForce ? g.force(a, b) : g.cut(a, b);
    }
  };

  // A random unforced edge, a cut or a force of it, and the random numbers to use.
  Step pick(const char* what = nullptr) {
    Step step;
    testing::EdgeList edges = testing::unforcedEdges(g_);
    if (edges.empty()) return step;
    std::tie(step.a, step.b) = edges[rng_() % edges.size()];
    step.doForce = rng_() % 2 == 0;
    step.draws = static_cast<uint32_t>(rng_());
    trace += std::string(" ") + (what ? what : step.doForce ? "force" : "cut") + " " + std::to_string(step.a) + "-" +
             std::to_string(step.b);
    return step;
  }

  void expectSound() {
    // The chain invariants hold while undecided.
    EXPECT_EQ(g_.isHamiltonian == kUndecided ? checkInvariants(g_) : "", "") << "after" << trace;
  }

  bool change() {
    const Step step = pick();
    if (step.a < 0) return false;
    step.on(g_);
    expectSound();
    return true;
  }

  void nested(int depth) {
    const std::string before = snapshot(g_);
    ActionList* outer = g_.actionList.get();
    const int32_t outerCount = outer ? outer->count() : 0;
    trace += " {";
    {
      ScopedActionList inner(g_);
      const int steps = 1 + static_cast<int>(rng_() % 5);
      for (int i = 0; i < steps && g_.isHamiltonian == kUndecided && !Test::HasFailure(); ++i) {
        if (depth < 2 && rng_() % 4 == 0) {
          nested(depth + 1);
          EXPECT_EQ(g_.actionList.get(), &inner.list()) << "the inner list is back after a nested trial";
        } else if (!change()) {
          break;
        }
      }
      EXPECT_EQ(outer ? outer->count() : 0, outerCount) << "a nested trial wrote into the enclosing list";
      g_.undoActions();
      g_.isHamiltonian = kUndecided;
      EXPECT_TRUE(inner.list().empty());
    }
    trace += " }";
    EXPECT_EQ(g_.actionList.get(), outer) << "the enclosing list is back";
    EXPECT_EQ(snapshot(g_), before) << "undoing a nested trial";
    ++checked[0];
  }

  void simulate() {
    const Step step = pick("simulateForce");
    if (step.a < 0) return;
    const std::string before = snapshot(g_);
    const int32_t recorded = g_.actionList ? g_.actionList->count() : 0;
    Graph copy(g_);
    seedRandom(step.draws);
    const HamiltonicityState predicted = g_.simulateForce(step.a, step.b);
    EXPECT_EQ(snapshot(g_), before) << "simulateForce leaves the graph as it was";
    EXPECT_EQ(g_.actionList ? g_.actionList->count() : 0, recorded) << "and leaves no records";
    seedRandom(step.draws);
    copy.force(step.a, step.b);
    EXPECT_EQ(copy.isHamiltonian, predicted) << "simulateForce answers what force does";
    ++checked[1];
  }

  // Same random numbers, same choices: one change by the engine on the source and by the
  // re-entrant formulation on a copy.
  void copyAndCompare() {
    trace += " copy";
    Graph copy(g_);
    EXPECT_EQ(snapshot(copy), snapshot(g_)) << "a fresh copy";
    const Step step = pick();
    if (step.a < 0) return;
    const int32_t edgesBefore = g_.howManyEdges;
    step.on(g_);
    const std::string source = snapshot(g_) + std::to_string(randomState());
    seedRandom(step.draws);
    if (step.doForce) {
      copy.setUncut(step.a, step.b);
      referenceProcess(copy);
    } else {
      referenceCut(copy, step.a, step.b);
    }
    EXPECT_EQ(snapshot(copy) + std::to_string(randomState()), source) << "the copy after the same change";
    expectSound();
    ++checked[2];
    cascades += edgesBefore - g_.howManyEdges > 2;
  }

  std::mt19937 rng_;
  Graph& g_;
};

TEST(UndoPropertyTest, RandomSequencesUndoExactly) {
  int checked[3] = {};
  int cascades = 0;
  int decided = 0;
  int kinds[9] = {};
  for (uint32_t seed = 1; seed <= 600; ++seed) {
    enableFixedSeed(seed);  // graph copies reseed reproducibly
    std::mt19937 shape(seed);
    const int32_t n = 6 + static_cast<int32_t>(shape() % 35);
    Graph g = testing::makeRandomGraph(shape, n, 3.0 + (shape() % 25) / 10.0);
    seedRandom(seed);
    const std::string initial = snapshot(g);
    SequenceRunner runner(seed * 7919u, g);
    {
      ScopedActionList outer(g);
      runner.run(3 * n);
      decided += g.isHamiltonian != kUndecided;
      for (int32_t i = 0; i < outer.list().count(); ++i) {
        const int kind = outer.list().at(i).kind;
        if (kind >= 1 && kind <= 8) ++kinds[kind];
      }
      g.undoActions();
      g.isHamiltonian = kUndecided;
    }
    disableFixedSeed();
    EXPECT_EQ(snapshot(g), initial) << "undoing the whole sequence";
    EXPECT_EQ(checkInvariants(g), "");
    ASSERT_FALSE(Test::HasFailure()) << "seed " << seed << ", n " << n << ", steps:" << runner.trace;
    for (int k = 0; k < 3; ++k) checked[k] += runner.checked[k];
    cascades += runner.cascades;
  }
  for (int count : checked) EXPECT_GT(count, 100) << "nested trials, simulations, copies";
  EXPECT_GT(cascades, 100) << "the copies should see real cascades";
  EXPECT_GT(decided, 30) << "some sequences should reach a verdict";
  for (int kind = 1; kind <= 8; ++kind) EXPECT_GT(kinds[kind], 0) << "no record of kind " << kind << " was undone";
  EXPECT_GT(kinds[kActionMergeChains], 50);
}

}  // namespace
}  // namespace hc
