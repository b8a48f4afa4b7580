// The undo log as a property: on random graphs, any random sequence of cut / force recorded
// in an ActionList and then undone gives back every neighbour array (order included), every
// counter and every chain; nested lists hold only their own records; simulateForce answers
// what force would do while leaving the graph as it was; and a copy equals its source and,
// given the same random numbers, makes the same choices under the straightforward
// re-entrant formulation of the pruning queue (each cut runs the whole queue before its
// item goes on) as the engine's queue processing makes on the source.
// Each sequence runs twice: in the second run, once the undo lists have warmed up, the
// engine's calls (cut, setUncut, force with its queue processing, simulateForce, undo) must
// not allocate, as counted by a replacement of the global operator new for this program.
// A failure prints the seed and the steps taken.
#include <gtest/gtest.h>

// The replacement below pairs malloc with free by design; GCC sees the inlined malloc at
// call sites in this file and wrongly calls the pair mismatched.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <tuple>

#include "core/random.h"
#include "core_test_support.h"

namespace {
std::atomic<bool> counting{false};  // allocations are counted while set
std::atomic<bool> countedRun{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace hc {
namespace {

// Counts the allocations inside one engine call of a counted run.
struct EngineCall {
  EngineCall() { counting = countedRun.load(); }
  ~EngineCall() { counting = false; }
};

using testing::snapshot;
using ::testing::Test;

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
  int checked[4] = {};  // nested trials, simulations, copies, copies after a cascade

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
      const EngineCall engine;
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
    trace += std::string(" ") +
             (what           ? what
              : step.doForce ? "force"
                             : "cut") +
             " " + std::to_string(step.a) + "-" + std::to_string(step.b);
    return step;
  }

  bool change() {
    const Step step = pick();
    if (step.a < 0) return false;
    step.on(g_);
    // The chain invariants hold while undecided.
    EXPECT_EQ(g_.isHamiltonian == kUndecided ? checkInvariants(g_) : "", "") << "after" << trace;
    return true;
  }

  void nested(int depth) {
    const std::string before = snapshot(g_);
    ActionList* outer = g_.actionList.get();
    const int32_t outerCount = outer ? outer->count() : 0;
    trace += " {";
    {
      counting = countedRun.load();  // a nested list comes from the pool
      ScopedActionList inner(g_);
      counting = false;
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
      const EngineCall engine;
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
    counting = countedRun.load();
    const HamiltonicityState predicted = g_.simulateForce(step.a, step.b);
    counting = false;
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
    EXPECT_EQ(g_.isHamiltonian == kUndecided ? checkInvariants(g_) : "", "") << "after" << trace;
    ++checked[2];
    checked[3] += edgesBefore - g_.howManyEdges > 2;  // more than two edges cut
  }

  std::mt19937 rng_;
  Graph& g_;
};

TEST(UndoPropertyTest, RandomSequencesUndoExactlyWithoutAllocating) {
  int checked[4] = {};
  int decided = 0;
  std::map<int, int> kinds;  // records undone, by kind
  for (uint32_t seed = 1; seed <= 600; ++seed) {
    std::mt19937 shape(seed);
    const int32_t n = 6 + static_cast<int32_t>(shape() % 35);
    Graph g = testing::makeRandomGraph(shape, n, 3.0 + (shape() % 25) / 10.0);
    const std::string initial = snapshot(g);
    for (int run = 0; run < 2; ++run) {
      enableFixedSeed(seed);  // graph copies reseed reproducibly
      seedRandom(seed);
      countedRun = run == 1;
      allocations = 0;
      SequenceRunner runner(seed * 7919u, g);
      {
        ScopedActionList outer(g);
        runner.run(3 * n);
        decided += g.isHamiltonian != kUndecided;
        for (int32_t i = 0; i < outer.list().count(); ++i) ++kinds[outer.list().at(i).kind];
        const EngineCall engine;
        g.undoActions();
        g.isHamiltonian = kUndecided;
      }
      countedRun = false;
      disableFixedSeed();
      EXPECT_EQ(snapshot(g), initial) << "undoing the whole sequence";
      EXPECT_EQ(checkInvariants(g), "");
#ifndef HC_HEAVY_CHECKS  // the heavy checks allocate by design
      EXPECT_EQ(allocations.load(), 0) << "the engine allocated after warming up";
#endif
      ASSERT_FALSE(Test::HasFailure())
          << "seed " << seed << ", run " << run << ", n " << n << ", steps:" << runner.trace;
      for (int k = 0; k < 4; ++k) checked[k] += runner.checked[k];
    }
  }
  for (int count : checked) EXPECT_GT(count, 100) << "nested trials, simulations, copies, cascades";
  EXPECT_GT(decided, 30) << "some sequences should reach a verdict";
  for (int kind = 1; kind <= 8; ++kind)
    EXPECT_GT(kinds[kind], 0) << "no record of kind " << kind << " was undone";
  EXPECT_GT(kinds[kActionMergeChains], 50);
  allocations = 0;
  counting = true;
  auto* p = new int(3);
  counting = false;
  delete p;
  EXPECT_EQ(allocations.load(), 1) << "the counter sees an allocation";
}

}  // namespace
}  // namespace hc
