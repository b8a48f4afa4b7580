// The one stop request: what stops a token (a request, its deadline, its parent), what it
// reports as the reason, that a parent never hears of its child, and a request from another
// thread reaching a polling loop.
#include "core/stop_token.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <tuple>

namespace hc {
namespace {

TEST(StopToken, RequestsDeadlinesAndParentsStopWithTheirReason) {
  using Clock = StopToken::Clock;
  const Clock::time_point past = Clock::now() - std::chrono::seconds(1);
  const Clock::time_point future = Clock::now() + std::chrono::hours(1);
  struct Row {
    const char* what;
    bool requestParent, requestChild;
    bool parentDeadlinePassed, childDeadlinePassed;
    StopReason child, parent;  // the reasons after the child was asked
  };
  const Row rows[] = {
      {"nothing", false, false, false, false, StopReason::kNone, StopReason::kNone},
      {"request", false, true, false, false, StopReason::kRequest, StopReason::kNone},
      {"own deadline", false, false, false, true, StopReason::kDeadline, StopReason::kNone},
      {"parent's request", true, false, false, false, StopReason::kRequest, StopReason::kRequest},
      {"parent's deadline", false, false, true, false, StopReason::kDeadline, StopReason::kDeadline},
      {"first reason wins", false, true, false, true, StopReason::kRequest, StopReason::kNone},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    for (bool byPoll : {false, true}) {
      StopToken parent;
      StopToken child(&parent);
      parent.setDeadline(r.parentDeadlinePassed ? past : future);
      if (r.childDeadlinePassed) child.setDeadline(past);
      if (r.requestParent) parent.requestStop();
      if (r.requestChild) child.requestStop();
      const bool stops = r.child != StopReason::kNone;
      bool seen = false;
      // A poll may take up to 256 calls to look at the clock; it must not take more.
      for (int k = 0; k < 257 && !seen; ++k) seen = byPoll ? child.poll() : child.stopRequested();
      EXPECT_EQ(std::tuple(seen, child.reason(), parent.reason()), std::tuple(stops, r.child, r.parent));
      EXPECT_EQ(child.stopRequested(), stops) << "a stopped token stays stopped";
    }
  }
  StopToken limited;
  limited.setTimeLimit(0.0);
  EXPECT_FALSE(limited.hasDeadline() || limited.stopRequested()) << "no time limit, no deadline";
}

TEST(StopToken, ARequestFromAnotherThreadEndsAPollingLoop) {
  StopToken run;
  StopToken worker(&run);
  std::thread stopper([&run] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    run.requestStop();
  });
  int64_t polls = 0;
  while (!worker.poll()) ++polls;
  stopper.join();
  EXPECT_EQ(worker.reason(), StopReason::kRequest);
  EXPECT_GT(polls, 0);
}

}  // namespace
}  // namespace hc
