// The method runners: a decided run hands exactly one state-3 request to the UI thread;
// abort returns at once with the worker joined, and nothing of an aborted run (progress,
// ticks, its result) arrives afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/cohc_runner.h"
#include "app/program_model.h"
#include "app/schc_runner.h"
#include "scripted_view.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::ScriptedView;

// Waits (without asserting any duration) until `done` holds or a minute has passed.
template <typename F>
bool eventually(F done) {
  for (int i = 0; i < 60000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

std::shared_ptr<Graph> shared(Graph g) { return std::make_shared<Graph>(std::move(g)); }

// A Stone Carver page as the window has it: starts a run on state 2, aborts when told, and
// counts the iterations it hears (a violation: one heard while no run is current).
struct SchcPage : ProgramPage, SchcSink {
  ProgramModel& model;
  SchcRunner runner;
  std::atomic<int> calls{0}, violations{0};
  std::atomic<bool> forbidden{false};
  explicit SchcPage(ProgramModel& m) : model(m) {}
  void setPageState(int32_t state) override {
    if (state != 2) return;
    forbidden = false;
    runner.start(model.workingGraph(), {}, this, model.decisionHandler());
  }
  void abortRun() override {
    runner.abortRun();
    forbidden = true;
  }
  void postIteration(int32_t, int32_t, int32_t, int32_t, int32_t, double, double) override {
    ++calls;
    if (forbidden) ++violations;
  }
};

TEST(Runners, AbortAndRestartAThousandTimes) {
  ScriptedView view;
  ProgramModel model(view);
  SchcPage page(model);
  model.setPage(kStoneCarverPage, &page);
  model.installGeneratedGraph({8, 3, 0}, shared(testing::petersenGraph()));
  for (int i = 0; i < 1000; ++i) {
    model.pageButtonPressed(kStoneCarverPage);  // 1 -> 2: a run starts
    ASSERT_EQ(model.programState(), 2);
    model.pageButtonPressed(kStoneCarverPage);  // abort: back to 1 at once
    ASSERT_EQ(model.programState(), 1);
    ASSERT_FALSE(page.runner.runInProgress());
  }
  // Let a last run make progress and tick, then end it the same way: the ticks stop and no
  // result arrives.
  std::atomic<int> ticks{0};
  page.runner.setTickCallback([&](double) { ++ticks; });
  model.pageButtonPressed(kStoneCarverPage);
  EXPECT_TRUE(eventually([&] { return page.calls > 0 && ticks > 0; }));
  model.pageButtonPressed(kStoneCarverPage);
  const int seen = ticks;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(ticks, seen);
  EXPECT_EQ(view.drain(), 0);  // no late state request
  EXPECT_EQ(model.programState(), 1);
  EXPECT_EQ(page.violations, 0);
}

TEST(Runners, StoneCarverDecidesExactlyOnce) {
  ScriptedView view;
  ProgramModel model(view);
  model.installGeneratedGraph({8, 8, 0}, shared(testing::makeGraph(8, testing::completeEdges(0, 8))));
  model.pageButtonPressed(kStoneCarverPage);
  SchcRunner runner;
  std::atomic<int> decisions{0};
  std::atomic<double> lastTick{-1};
  runner.setTickCallback([&](double s) { lastTick = s; });
  auto decide = model.decisionHandler();
  runner.start(model.workingGraph(), {3, 1, 7u, 0}, nullptr, [&](int16_t result) {
    ++decisions;
    decide(result);
  });
  ASSERT_TRUE(eventually([&] { return !runner.runInProgress(); }));
  ASSERT_TRUE(eventually([&] { return view.drain() > 0; }));
  EXPECT_EQ(std::tuple(decisions.load(), model.programState(), model.programResult(), model.workingGraph()->isHamiltonian),
            std::tuple(1, 3, 1, kHamiltonian));
  EXPECT_EQ(runner.seedUsed(), std::optional<uint32_t>(7u));  // the first seed of a fixed stream
  const double frozen = runner.elapsedSeconds();
  EXPECT_GE(frozen, 0);
  EXPECT_LE(lastTick.load(), frozen);
  EXPECT_EQ(runner.elapsedSeconds(), frozen);
  EXPECT_EQ(view.drain(), 0);
}

TEST(Runners, CohcResults) {
  const std::tuple<Graph, int32_t, int32_t, int16_t> rows[] = {
      {testing::petersenGraph(), 999999999, 5, 0},
      {testing::petersenGraph(), 0, 0, 2},
      {testing::makeGraph(6, testing::completeEdges(0, 6)), 999999999, 5, 1},
  };
  for (const auto& [graph, depth, level, expected] : rows) {
    CohcRunner runner;
    std::atomic<int> decisions{0};
    std::atomic<int16_t> result{-1};
    const CohcRunSettings settings{.maxSearchDepth = depth, .pruningLevel = level, .writeCycleFile = false};
    runner.start(shared(graph), settings, nullptr, std::make_shared<SearchTreeStatistics>(), [&](int16_t r) {
      result = r;
      ++decisions;
    });
    ASSERT_TRUE(eventually([&] { return decisions > 0; }));
    EXPECT_EQ(std::tuple(runner.runInProgress(), decisions.load(), result.load()), std::tuple(false, 1, expected))
        << "depth " << depth;
  }
}

}  // namespace
}  // namespace hc
