// runMethod, the one body behind schc, cohc and solve: known answers with checked cycles,
// what stopped an undecided run, the live figures agreeing with the outcome, and a cycle
// that fails the check against the graph as loaded never counting.
#include "run/run_method.h"

#include <gtest/gtest.h>

#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::makeGraph;

struct Row {
  const char* what;
  Graph graph;
  MethodOptions method;
  Verdict verdict;
  const char* stopped;
  const char* decidedBy;  // "" when undecided (or not pinned)
};

TEST(RunMethod, KnownAnswersAndWhatStoppedTheRun) {
  enableFixedSeed(11);
  const Graph petersen = testing::petersenGraph();
  const Graph knight = makeGraph(64, testing::knightEdges(8, 8));
  const Graph k6 = makeGraph(6, testing::completeEdges(0, 6));
  const Row rows[] = {
      {"schc limit", petersen, SchcOptions{.maxIterations = 25}, Verdict::kUndecided, "iteration limit", ""},
      {"schc knight", knight, SchcOptions{}, Verdict::kHamiltonian, "decided", "probability mill"},
      {"cohc proof", petersen, CohcOptions{.writeCycleFile = false}, Verdict::kNonHamiltonian, "decided",
       "proof system"},
      {"cohc shallow", petersen, CohcOptions{.maxSearchDepth = 0, .pruningLevel = 0, .writeCycleFile = false},
       Verdict::kUndecided, "search depth too shallow", ""},
      {"cohc k6", k6, CohcOptions{.writeCycleFile = false}, Verdict::kHamiltonian, "decided", "proof system"},
      {"solve proof", petersen, SolveOptions{.threads = 1}, Verdict::kNonHamiltonian, "decided", ""},
      {"solve knight", knight, SolveOptions{.threads = 2}, Verdict::kHamiltonian, "decided", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Graph graph = row.graph;
    LiveFigures live;
    const RunOutcome out = runMethod(graph, EdgeSnapshot(row.graph), row.method, {.seed = 5, .live = &live});
    EXPECT_EQ(std::tuple(out.verdict, out.stoppedText, out.seed), std::tuple(row.verdict, row.stopped, 5u));
    EXPECT_EQ(out.stopped == StoppedBy::kDecided, out.verdict != Verdict::kUndecided);
    if (*row.decidedBy) {
      EXPECT_EQ(decidedByName(out.decidedBy), row.decidedBy);
    }
    EXPECT_EQ(out.decidedBy == DecidedBy::kNone, out.verdict == Verdict::kUndecided);
    EXPECT_EQ(out.cycle.empty(), out.verdict != Verdict::kHamiltonian);
    if (!out.cycle.empty()) {
      EXPECT_EQ(out.cycle.front(), 0);
      EXPECT_TRUE(
          testing::isHamiltonianCycleOf(out.cycle, row.graph.howManyNodes, testing::currentEdges(row.graph)));
    }
    if (std::holds_alternative<SchcOptions>(row.method)) {
      EXPECT_EQ(out.iterations, live.iterations.load());
    }
    if (std::holds_alternative<CohcOptions>(row.method)) {
      EXPECT_EQ(out.treeNodes, live.tree.treeNodes.load());
      ASSERT_NE(out.statistics, nullptr);
    }
  }
  disableFixedSeed();
}

// GP(29, 2) is non-Hamiltonian and the mill's initial pruning does not see it: only a stop
// ends the run. A stop is never a proof, and its reason is the run's.
TEST(RunMethod, StopsFromOutsideAreNamedAndNeverProve) {
  const Graph hard = makeGraph(58, testing::generalizedPetersenEdges(29, 2));
  StopToken requested;
  requested.requestStop();
  StopToken deadline;
  deadline.setTimeLimit(0.05);
  const std::pair<const StopToken*, const char*> stops[] = {{&requested, "interrupted"},
                                                            {&deadline, "time limit"}};
  for (const MethodOptions& method :
       {MethodOptions(SchcOptions{}), MethodOptions(CohcOptions{.writeCycleFile = false})}) {
    for (const auto& [stop, text] : stops) {
      Graph graph = hard;
      const RunOutcome out = runMethod(graph, EdgeSnapshot(hard), method, {.stop = stop});
      EXPECT_EQ(std::tuple(out.verdict, out.stoppedText), std::tuple(Verdict::kUndecided, std::string(text)))
          << methodCommand(method);
    }
  }
}

// The check is against the graph as loaded, not the graph the method ran on.
TEST(RunMethod, ACycleThatFailsTheCheckDoesNotCount) {
  const Graph k6 = makeGraph(6, testing::completeEdges(0, 6));
  const Graph edgeless = makeGraph(6, {});
  for (const MethodOptions& method :
       {MethodOptions(SchcOptions{}), MethodOptions(CohcOptions{.writeCycleFile = false}),
        MethodOptions(SolveOptions{.threads = 1})}) {
    Graph graph = k6;
    testing::CapturedDiagnostics quiet;
    const RunOutcome out = runMethod(graph, EdgeSnapshot(edgeless), method);
    EXPECT_EQ(out.verdict, Verdict::kUndecided) << methodCommand(method);
    EXPECT_TRUE(out.cycle.empty());
    EXPECT_NE(out.cycleFault.find("is not an edge"), std::string::npos) << out.cycleFault;
  }
}

}  // namespace
}  // namespace hc
