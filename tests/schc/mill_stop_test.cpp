// A cleared run flag ends a Probability Mill iteration at its next step (the plain and the
// look-ahead versions alike), and the stopped iteration is neither counted nor posted.
#include <gtest/gtest.h>

#include "core/random.h"
#include "schc/mill_hooks.h"
#include "schc/stone_carver.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

struct StopAtStep : MillStepObserver {
  std::atomic<uint8_t>* flag;
  int32_t stopAt;
  int32_t seen = 0;
  StopAtStep(std::atomic<uint8_t>* f, int32_t at) : flag(f), stopAt(at) {}
  void onStep(const Graph&, int32_t, int32_t, int32_t, MillStepAction) override {
    if (++seen == stopAt) flag->store(0);
  }
};

TEST(MillStop, AClearedFlagEndsTheIterationAtTheNextStep) {
  for (int32_t version : {3, 5}) {
    seedRandom(7);
    Graph g = testing::makeGraph(100, testing::knightEdges(10, 10));
    g.version = version;
    std::atomic<uint8_t> keepRunning{1};
    StopAtStep observer(&keepRunning, 4);
    ScopedMillStepObserver watch(observer);
    SchcOutcome outcome;
    EXPECT_EQ(runProbabilityMill(g, &keepRunning, nullptr, {}, &outcome), kUndecided);
    EXPECT_EQ(observer.seen, 4) << version;
    EXPECT_EQ(outcome.iterations, 0) << version;
    EXPECT_EQ(g.iterationCount, 0) << version;
  }
}

}  // namespace
}  // namespace hc
