// The clause-learning worker beyond the zoo (where solve_test.cpp holds it against brute
// force): the census of connected cubic graphs on 16 nodes, whose 219 non-Hamiltonian ones
// are a known count, the kept formula of a refutation, a stop request or deadline ending it
// undecided, and the short cycles it starts with against every node subset.
#include "solve/sat_worker.h"

#include <gtest/gtest.h>

#include <bit>
#include <cadical.hpp>
#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "solve/short_cycles.h"
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
  // another thread end it inside a round, through the terminator. (On a loaded machine the
  // first turns may end while the short cycles are listed: the worker is taken up again.)
  for (bool byRequest : {false, true}) {
    SatWorker large(satEdgeProblemOf(flowerSnark(1001)));
    SatWorkerResult r;
    for (int32_t turn = 0; turn < 50 && r.rounds == 0; ++turn) {
      StopToken token;
      std::jthread stopper;
      if (byRequest)
        stopper = std::jthread([&token] {
          std::this_thread::sleep_for(std::chrono::milliseconds(200));
          token.requestStop();
        });
      else
        token.setTimeLimit(0.2);
      r = large.run(token);
      ASSERT_EQ(r.verdict, Verdict::kUndecided) << byRequest;
    }
    EXPECT_GE(r.rounds, 1) << byRequest;
  }
}

// Taken up in turns, the worker goes on where it was stopped. On the zoo, a turn stopped at
// once and then an open one decide as one run does (a kept refutation is refuted afresh, a
// cycle is checked). A snark that one run refutes in 8,192 rounds (0.4 s) falls to turns of
// 10 ms each, which a worker starting afresh every turn never finishes.
TEST(SatWorker, TakenUpInTurnsGoesOnWhereItStopped) {
  StopToken open, stopped;
  stopped.requestStop();
  SatWorkerOptions keep;
  keep.keepFormula = true;
  for (const auto& [n, edges] : zoo()) {
    const Graph g = makeGraph(n, edges);
    SatWorker worker(g, nullptr, keep);
    ASSERT_EQ(worker.run(stopped).verdict, Verdict::kUndecided);
    const SatWorkerResult r = worker.run(open);
    ASSERT_EQ(r.verdict, decideBySat(satEdgeProblemOf(g), open).verdict) << n;
    EXPECT_EQ(worker.run(open).verdict, Verdict::kUndecided);  // answered once
    if (r.verdict == Verdict::kHamiltonian) {
      EXPECT_TRUE(isHamiltonianCycleOf(r.cycle, n, currentEdges(g)));
      continue;
    }
    CaDiCaL::Solver fresh;
    for (int32_t literal : r.formula.clauses) fresh.add(literal);
    for (const SubtourClause& clause : r.formula.subtours) {
      for (int32_t literal : clause.literals) fresh.add(literal);
      fresh.add(0);
    }
    EXPECT_EQ(fresh.solve(), 20) << n;
  }
  SatWorker snark(satEdgeProblemOf(flowerSnark(13)));
  SatWorkerResult r;
  int32_t turns = 0;
  for (; turns < 2000 && r.verdict == Verdict::kUndecided; ++turns) {
    StopToken turn;
    turn.setTimeLimit(0.01);
    r = snark.run(turn);
  }
  EXPECT_EQ(r.verdict, Verdict::kNonHamiltonian);
  EXPECT_GT(turns, 5);
}

// Whether the edges `alive` among `nodes` (a bit mask of n nodes) hold a cycle through
// exactly those nodes: a Hamiltonian path from the smallest node back to it, by subsets.
bool hasCycleThrough(uint32_t nodes, int32_t n, const std::vector<std::vector<bool>>& alive) {
  const int32_t start = std::countr_zero(nodes);
  // reach[mask][v]: a path from start through exactly `mask` ending at v.
  std::vector<std::vector<bool>> reach(size_t{1} << n, std::vector<bool>(static_cast<size_t>(n), false));
  reach[size_t{1} << start][static_cast<size_t>(start)] = true;
  for (uint32_t mask = 0; mask < (1u << n); ++mask) {
    if ((mask & ~nodes) != 0 || (mask >> start & 1u) == 0) continue;
    for (int32_t v = 0; v < n; ++v) {
      if (!reach[mask][static_cast<size_t>(v)]) continue;
      for (int32_t w = 0; w < n; ++w)
        if ((nodes >> w & 1u) != 0 && (mask >> w & 1u) == 0 &&
            alive[static_cast<size_t>(v)][static_cast<size_t>(w)])
          reach[mask | 1u << w][static_cast<size_t>(w)] = true;
    }
  }
  for (int32_t v = 0; v < n; ++v)
    if (v != start && reach[nodes][static_cast<size_t>(v)] &&
        alive[static_cast<size_t>(v)][static_cast<size_t>(start)])
      return true;
  return false;
}

// On random graphs of up to 9 nodes (some edges deleted, some forced), the short cycles are
// exactly the node sets of 3 to `longest` nodes, fewer than all, that a cycle passes
// through; with a tight budget they are still every such set up to some size.
TEST(SatWorker, ShortCyclesAreEveryCycleUpToALengthAgainstAllSubsets) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 60; ++trial) {
    const int32_t n = 3 + trial % 7;
    SatEdgeProblem problem;
    problem.nodeCount = n;
    std::vector<std::vector<bool>> alive(static_cast<size_t>(n),
                                         std::vector<bool>(static_cast<size_t>(n), false));
    for (int32_t a = 0; a < n; ++a)
      for (int32_t b = a + 1; b < n; ++b) {
        if (rng() % 100 >= 55) continue;
        const auto fix = static_cast<EdgeFix>(rng() % 5 == 0 ? 2 : rng() % 7 == 0 ? 1 : 0);
        problem.edges.emplace_back(a, b);
        problem.fix.push_back(fix);
        alive[static_cast<size_t>(a)][static_cast<size_t>(b)] =
            alive[static_cast<size_t>(b)][static_cast<size_t>(a)] = fix != EdgeFix::kDeleted;
      }
    const EdgeIncidence incidence = edgeIncidenceOf(problem);
    std::vector<std::set<std::vector<int32_t>>> expected(static_cast<size_t>(n) + 1);  // by size
    for (uint32_t mask = 1; mask + 1 < (1u << n); ++mask) {
      if (std::popcount(mask) < 3 || !hasCycleThrough(mask, n, alive)) continue;
      std::vector<int32_t> set;
      for (int32_t v = 0; v < n; ++v)
        if ((mask >> v & 1u) != 0) set.push_back(v);
      expected[set.size()].insert(set);
    }
    StopToken open;
    for (const int32_t longest : {12, 5}) {
      ShortCycleLimits limits;
      limits.longest = longest;
      limits.steps = limits.sets = 1000000;
      const auto sets = shortCycleNodeSets(problem, incidence, limits, open);
      std::set<std::vector<int32_t>> want;
      for (int32_t k = 3; k <= std::min(longest, n - 1); ++k)
        want.insert(expected[static_cast<size_t>(k)].begin(), expected[static_cast<size_t>(k)].end());
      EXPECT_EQ(std::set(sets.begin(), sets.end()), want) << trial << " " << longest;
      EXPECT_EQ(sets.size(), want.size()) << trial;  // each once
    }
    ShortCycleLimits tight;
    tight.steps = 1 + static_cast<int64_t>(rng() % 60);
    tight.sets = 1 + static_cast<int64_t>(rng() % 8);
    const auto cut = shortCycleNodeSets(problem, incidence, tight, open);
    size_t upTo = 0, size = 2;
    while (size + 1 < static_cast<size_t>(n) && upTo + expected[size + 1].size() <= cut.size())
      upTo += expected[++size].size();
    std::set<std::vector<int32_t>> prefix;
    for (size_t k = 3; k <= size; ++k) prefix.insert(expected[k].begin(), expected[k].end());
    EXPECT_EQ(std::set(cut.begin(), cut.end()), prefix) << trial;
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
