// `solve` end to end: the verdicts with their method and a verified cycle, and the two ways
// of stopping a run that cannot decide in time (exit 0, one JSON object, nothing left
// running long after the request).
#include <gtest/gtest.h>

#include <random>

#include "cli/cli_runner.h"
#include "support/test_graphs.h"

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

// A cubic graph without a Hamiltonian cycle that no quick method decides: GP(599, 2) less
// node 0, joined by three edges to a random cubic graph on 3,000 nodes less its node 0. A
// cycle through every node crosses those three edges exactly twice, so it would give
// GP(599, 2) one; and the random side makes the graph too wide for the frontier search.
std::string wideNonHamiltonianText() {
  std::mt19937 rng(599);
  const int32_t half = 2 * 599, side = 3000;
  EdgeList edges = generalizedPetersenEdges(599, 2);
  for (;;) {  // a random pairing, redrawn until simple
    std::vector<int32_t> points;
    for (int32_t v = 0; v < side; ++v) points.insert(points.end(), 3, half + v);
    std::shuffle(points.begin(), points.end(), rng);
    EdgeSet simple;
    for (size_t i = 0; i < points.size() && points[i] != points[i + 1]; i += 2)
      if (!simple.emplace(std::min(points[i], points[i + 1]), std::max(points[i], points[i + 1])).second) break;
    if (simple.size() * 2 != points.size()) continue;
    edges.insert(edges.end(), simple.begin(), simple.end());
    break;
  }
  std::vector<std::vector<int32_t>> adjacent(static_cast<size_t>(half + side));
  std::vector<int32_t> ends[2];
  for (auto [a, b] : edges) {
    if (a == 0 || a == half || b == 0 || b == half) {
      ends[a == half || b == half].push_back(a == 0 || a == half ? b : a);
      continue;
    }
    adjacent[static_cast<size_t>(a)].push_back(b);
    adjacent[static_cast<size_t>(b)].push_back(a);
  }
  for (size_t i = 0; i < 3; ++i) {
    adjacent[static_cast<size_t>(ends[0][i])].push_back(ends[1][i]);
    adjacent[static_cast<size_t>(ends[1][i])].push_back(ends[0][i]);
  }
  auto id = [&](int32_t v) { return v - 1 - (v > half); };  // nodes 0 and half are gone
  std::string text;
  for (int32_t v = 1; v < half + side; ++v) {
    if (v == half) continue;
    text += std::to_string(id(v));
    for (int32_t w : adjacent[static_cast<size_t>(v)]) text += " " + std::to_string(id(w));
    text += "\n";
  }
  return text;
}

TEST(CliSolveCommand, TimeLimitAndCtrlCEndTheRunUndecided) {
  ScratchFolder scratch;
  const std::string graph = writeFile(scratch / "wide.txt", wideNonHamiltonianText());
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
