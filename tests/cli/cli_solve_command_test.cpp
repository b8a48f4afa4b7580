// `solve` end to end: the verdicts with their method and a verified cycle, and the two ways
// of stopping a run that cannot decide in time (exit 0, one JSON object, nothing left
// running long after the request).
#include <gtest/gtest.h>

#include "cli/cli_runner.h"

namespace hc::testing {
namespace {

TEST(CliSolveCommand, DecidesBothWaysAndNamesTheMethod) {
  CliRun found = runCli({"solve", example("knight8x8.txt"), "--json", "--threads", "2"});
  ASSERT_EQ(found.exitCode, 10) << found.err;
  auto j = found.json();
  EXPECT_EQ(j.at("verdict"), "hamiltonian");
  EXPECT_TRUE(isHamiltonianCycleOfFile(example("knight8x8.txt"), j.at("cycle").get<std::vector<int32_t>>()));
  EXPECT_FALSE(j.at("method").get<std::string>().empty());

  CliRun proved = runCli({"solve", example("petersen.txt"), "--json", "--threads", "1"});
  ASSERT_EQ(proved.exitCode, 20) << proved.err;
  EXPECT_EQ(proved.json().at("method"), "exact search");

  CliRun bad = runCli({"solve", example("petersen.txt"), "--threads", "0"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.errLines(), 1);
}

TEST(CliSolveCommand, TimeLimitAndCtrlCEndTheRunUndecided) {
  ScratchFolder scratch;
  // GP(599, 2): non-Hamiltonian, far beyond a one-second search.
  const std::string graph = scratch / "gp599.txt";
  ASSERT_EQ(runCli({"generate", "petersen", "599", "2", "--output", graph}).exitCode, 0);
  CliRun limited = runCli({"solve", graph, "--time-limit", "0.5", "--json"});
  ASSERT_EQ(limited.exitCode, 0) << limited.err;
  EXPECT_EQ(limited.json().at("verdict"), "undecided");
  EXPECT_EQ(limited.json().at("stopped"), "time limit");
  CliRun interrupted = runCli({"solve", graph, "--json"}, 1.0);
  ASSERT_EQ(interrupted.exitCode, 0) << interrupted.err;
  EXPECT_EQ(interrupted.json().at("stopped"), "interrupted");
  // The monitor's last resort (ending the process after the grace period) was not needed.
  for (const CliRun* run : {&limited, &interrupted}) EXPECT_EQ(run->err.find("did not stop"), std::string::npos);
}

}  // namespace
}  // namespace hc::testing
