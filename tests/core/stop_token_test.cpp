// The one stop request: what stops a token (a request, its deadline, its parent), what it
// reports as the reason, and that a parent never hears of its child. A request from another
// thread reaching a polling loop is seen in the runs that are stopped from outside (the
// library's, the proof tree's and the clause learner's).
#include "core/stop_token.h"

#include <gtest/gtest.h>

#include <chrono>
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

}  // namespace
}  // namespace hc
