// The inner operations must not allocate once a graph is built and the undo lists have
// warmed up: cut, setUncut, force (queue processing), isUncuttableEdge, undo and nested
// trials. Counted with a replacement of the global operator new for this test program.
#include <gtest/gtest.h>

// The replacement below pairs malloc with free by design; GCC sees the inlined malloc at
// call sites in this file and wrongly calls the pair mismatched.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "core/random.h"
#include "core_test_support.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace hc {
namespace {

// Runs a scripted sequence of trials on g: the same script twice (warm-up, then counted).
void runTrials(Graph& g, uint32_t seed) {
  std::mt19937 rng(seed);
  seedRandom(seed);
  ScopedActionList outer(g);
  for (int round = 0; round < 20 && g.isHamiltonian == kUndecided; ++round) {
    {
      ScopedActionList trial(g);
      for (int step = 0; step < 6 && g.isHamiltonian == kUndecided; ++step) {
        // Pick an unforced edge without building a list: scan from a random node.
        int32_t a = static_cast<int32_t>(rng() % static_cast<uint32_t>(g.howManyNodes));
        const Node& na = g.node(a);
        int32_t b = -1;
        for (int32_t i = 0; i < na.degree; ++i) {
          int32_t u = na.neighborArray[i];
          if (!g.isUncuttableEdge(a, u) && !na.isForcedNeighbor(u) && !g.node(u).isForcedNeighbor(a)) b = u;
        }
        if (b == -1) continue;
        switch (rng() % 3) {
          case 0: g.cut(a, b); break;
          case 1: g.force(a, b); break;
          default: g.simulateForce(a, b); break;
        }
      }
      g.undoActions();
      g.isHamiltonian = kUndecided;
    }
    int32_t a = static_cast<int32_t>(rng() % static_cast<uint32_t>(g.howManyNodes));
    if (g.node(a).degree > 3) g.cut(a, g.node(a).neighborArray[0]);
  }
  g.undoActions();
  g.isHamiltonian = kUndecided;
}

TEST(AllocationTest, InnerOperationsDoNotAllocateAfterWarmUp) {
#ifdef HC_HEAVY_CHECKS
  GTEST_SKIP() << "the heavy checks allocate by design";
#endif
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    std::mt19937 shape(seed);
    Graph g = testing::makeRandomGraph(shape, 60, 4.5);
    runTrials(g, seed);  // warm-up: undo lists grow to their working size
    allocations = 0;
    counting = true;
    runTrials(g, seed);
    counting = false;
    EXPECT_EQ(allocations.load(), 0) << "seed " << seed;
  }
  counting = true;
  auto* p = new int(3);
  counting = false;
  delete p;
  EXPECT_EQ(allocations.load(), 1) << "the counter sees an allocation";
}

}  // namespace
}  // namespace hc
