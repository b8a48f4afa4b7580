// The clause-learning worker beyond the zoo (where solve_test.cpp holds it against brute
// force): the census of connected cubic graphs on 16 nodes, whose 219 non-Hamiltonian ones
// are a known count, the kept formula of a refutation, and a stop request or deadline
// ending it undecided.
#include "solve/sat_worker.h"

#include <gtest/gtest.h>

#include <cadical.hpp>
#include <chrono>
#include <thread>

#include "solve_zoo.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

// Isaacs' flower snark J_k (k odd >= 5): cubic, not 3-edge-colourable, so without a
// Hamiltonian cycle; for a clause learner it is a hard instance of any size.
Graph flowerSnark(int32_t k) {
  EdgeList e;
  for (int32_t i = 0; i < k; ++i) {
    const int32_t a = 4 * i, b = a + 1, c = a + 2, d = a + 3;
    const int32_t next = 4 * ((i + 1) % k);
    e.insert(e.end(), {{a, b}, {a, c}, {a, d}, {b, next + 1}});
    // The c and d nodes form one cycle of length 2k: c_0 .. c_{k-1} d_0 .. d_{k-1}.
    e.emplace_back(c, i + 1 < k ? next + 2 : 3);
    e.emplace_back(d, i + 1 < k ? next + 3 : 2);
  }
  return makeGraph(4 * k, e);
}

TEST(SatWorker, EndsUndecidedWhenStoppedOrPastItsDeadline) {
  const Graph snark = flowerSnark(5);
  const SatEdgeProblem small = satEdgeProblemOf(snark);
  {
    // The kept formula is the whole refutation: base clauses and subtour clauses alone are
    // unsatisfiable for a fresh solver.
    StopToken open;
    SatWorkerOptions keep;
    keep.keepFormula = true;
    const SatWorkerResult r = decideBySat(small, open, keep);
    EXPECT_EQ(r.verdict, Verdict::kNonHamiltonian);
    ASSERT_EQ(static_cast<int64_t>(r.formula.subtours.size()), r.subtourClauses);
    CaDiCaL::Solver fresh;
    for (int32_t literal : r.formula.clauses) fresh.add(literal);
    for (const SubtourClause& clause : r.formula.subtours) {
      EXPECT_FALSE(clause.nodes.empty());
      for (int32_t literal : clause.literals) fresh.add(literal);
      fresh.add(0);
    }
    EXPECT_EQ(fresh.solve(), 20);
  }
  {
    StopToken stopped;
    stopped.requestStop();
    const SatWorkerResult r = decideBySat(small, stopped);
    EXPECT_TRUE(r.verdict == Verdict::kUndecided && r.rounds == 0) << r.rounds;
  }
  // A snark of 4,004 nodes holds the solver for minutes: the deadline and a request from
  // another thread end it inside a round, through the terminator.
  const SatEdgeProblem large = satEdgeProblemOf(flowerSnark(1001));
  for (bool byRequest : {false, true}) {
    StopToken token;
    std::jthread stopper;
    if (byRequest)
      stopper = std::jthread([&token] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        token.requestStop();
      });
    else
      token.setTimeLimit(0.2);
    const SatWorkerResult r = decideBySat(large, token);
    EXPECT_EQ(r.verdict, Verdict::kUndecided) << byRequest;
    EXPECT_GE(r.rounds, 1) << byRequest;
  }
}

TEST(SatWorker, FindsThe219NonHamiltonianCubicGraphsOn16Nodes) {
  int32_t graphs = 0, nonHamiltonian = 0;
  for (const auto& [n, edges] : cubicCensus()) {
    const Graph g = makeGraph(n, edges);
    StopToken open;
    const SatWorkerResult r = decideBySat(satEdgeProblemOf(g), open);
    ++graphs;
    nonHamiltonian += r.verdict == Verdict::kNonHamiltonian;
    if (r.verdict == Verdict::kHamiltonian)
      ASSERT_TRUE(isHamiltonianCycleOf(r.cycle, 16, currentEdges(g))) << graphs;
    else
      ASSERT_EQ(r.verdict, Verdict::kNonHamiltonian) << graphs;
  }
  if (graphs == 0) GTEST_SKIP() << "nauty-geng is not installed";
  EXPECT_EQ(std::pair(graphs, nonHamiltonian), std::pair(4060, 219));
}

}  // namespace
}  // namespace hc::testing
