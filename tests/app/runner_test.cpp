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

struct CountingSink : SchcSink {
  std::atomic<int> calls{0};
  std::atomic<bool> forbidden{false};  // set while no run is current
  std::atomic<int> violations{0};
  void postIteration(int32_t, int32_t, int32_t, int32_t, int32_t, double, double) override {
    ++calls;
    if (forbidden) ++violations;
  }
};

// A Stone Carver page as the window has it: starts on state 2, aborts when told.
struct SchcPage : ProgramPage {
  ProgramModel& model;
  CountingSink& sink;
  SchcRunner runner;
  SchcPage(ProgramModel& m, CountingSink& s) : model(m), sink(s) {}
  void setPageState(int32_t state) override {
    if (state == 2) {
      sink.forbidden = false;
      runner.start(model.workingGraph(), {}, &sink, model.decisionHandler());
    }
  }
  void abortRun() override {
    runner.abortRun();
    sink.forbidden = true;
  }
};

TEST(Runners, AbortAndRestartAThousandTimes) {
  ScriptedView view;
  ProgramModel model(view);
  CountingSink sink;
  SchcPage page(model, sink);
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
  EXPECT_TRUE(eventually([&] { return sink.calls > 0 && ticks > 0; }));
  model.pageButtonPressed(kStoneCarverPage);
  const int seen = ticks;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(ticks, seen);
  EXPECT_EQ(view.drain(), 0);  // no late state request
  EXPECT_EQ(model.programState(), 1);
  EXPECT_EQ(sink.violations, 0);
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
  EXPECT_EQ(decisions, 1);
  EXPECT_EQ(model.programState(), 3);
  EXPECT_EQ(model.programResult(), 1);
  EXPECT_EQ(model.workingGraph()->isHamiltonian, kHamiltonian);
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
    CohcRunSettings settings;
    settings.maxSearchDepth = depth;
    settings.pruningLevel = level;
    settings.writeCycleFile = false;
    runner.start(shared(graph), settings, nullptr, std::make_shared<SearchTreeStatistics>(), [&](int16_t r) {
      result = r;
      ++decisions;
    });
    ASSERT_TRUE(eventually([&] { return decisions > 0; }));
    EXPECT_FALSE(runner.runInProgress());
    EXPECT_EQ(decisions, 1);
    EXPECT_EQ(result, expected) << "depth " << depth;
  }
}

}  // namespace
}  // namespace hc
