// The batch engine without a printer: entries in input order whatever the jobs, a part that
// keeps every K-th graph, unreadable records counted, the figures when no method is given,
// a batch that cannot start delivering nothing, one whose delivery fails ending cleanly, and
// a load that the batch's stop ends counting as a graph never started.
#include "run/batch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace hc {
namespace {

// Petersen (not Hamiltonian), K4, a faulty line, C5 as sparse6, GP(11, 2) (not Hamiltonian).
const char* kMixed = ">>graph6<<IheA@GUAo\nC~\nIheA@GUA\n:DaHg~\nUhCGGC@?K?o?O?G@A?OOA@?GA?OA?O@?G?SA?A_O\n";

TEST(Batch, DeliversInInputOrderWithCounts) {
  const std::string folder =
      mkdtemp((std::filesystem::temp_directory_path() / "hc-run-test-XXXXXX").string().data());
  const std::string path = folder + "/mixed.g6";
  std::ofstream(path) << kMixed << kMixed;
  const Verdict verdicts[] = {Verdict::kNonHamiltonian, Verdict::kHamiltonian, Verdict::kUndecided,
                              Verdict::kHamiltonian, Verdict::kNonHamiltonian};
  StopToken stop;
  for (const std::optional<MethodOptions>& method :
       {std::optional<MethodOptions>(CohcOptions{.writeCycleFile = false}), std::optional<MethodOptions>()}) {
    BatchRequest request;
    request.graph = path;
    request.jobs = 3;
    request.partIndex = 1;
    request.partCount = 2;
    int started = 0;
    request.started = [&] { ++started; };
    std::vector<int64_t> indices;
    const BatchSummary summary = runBatch(request, method, stop, [&](const BatchEntry& e) {
      EXPECT_EQ(started, 1);
      indices.push_back(e.index);
      EXPECT_EQ(e.error.empty(), e.index % 5 != 2) << e.index;
      EXPECT_EQ(e.information.has_value(), !method && e.error.empty());
      // The figures decide only graphs that are not biconnected.
      if (e.error.empty()) {
        EXPECT_EQ(e.verdict, method ? verdicts[e.index % 5] : Verdict::kUndecided) << e.index;
      }
    });
    EXPECT_EQ(indices, (std::vector<int64_t>{1, 3, 5, 7, 9}));
    EXPECT_EQ(std::tuple(summary.graphs(), summary.unreadable, summary.interrupted), std::tuple(5, 1, false));
    EXPECT_EQ(summary.hamiltonian, method ? 2 : 0);
  }
  // A delivery that throws ends the batch with the count so far, every worker joined.
  BatchRequest failing;
  failing.graph = path;
  failing.jobs = 3;
  const BatchSummary failed =
      runBatch(failing, CohcOptions{.writeCycleFile = false}, stop, [](const BatchEntry& e) {
        if (e.index == 1) throw std::runtime_error("the printer broke");
      });
  EXPECT_EQ(std::tuple(failed.failure, failed.graphs(), failed.interrupted),
            std::tuple(std::string("the printer broke"), 1, false));
  // A deadline already past is noticed by the first load's look at the token: that load gives
  // up, and neither it nor any later graph is delivered or counted (no "reading stopped" error).
  for (const std::optional<MethodOptions>& method :
       {std::optional<MethodOptions>(CohcOptions{}), std::optional<MethodOptions>()}) {
    StopToken expired;
    expired.setDeadline(StopToken::Clock::now() - std::chrono::seconds(1));
    const BatchSummary ended = runBatch(
        failing, method, expired, [](const BatchEntry& e) { ADD_FAILURE() << e.index << ": " << e.error; });
    EXPECT_EQ(std::tuple(ended.graphs(), ended.interrupted, ended.failure),
              std::tuple(0, true, std::string()));
  }
  BatchRequest missing;
  missing.each = folder + "/no-list";
  missing.started = [] { ADD_FAILURE() << "started"; };
  const BatchSummary none = runBatch(missing, std::nullopt, stop, [](const BatchEntry&) { ADD_FAILURE(); });
  EXPECT_NE(none.error.find("cannot open the list of graph files"), std::string::npos);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace hc
