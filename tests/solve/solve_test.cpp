// The solve methods against a brute-force decider that shares no code with them, on every
// graph of a random zoo with up to 12 nodes (random, cubic, bipartite, with a cut vertex):
// the exact search alone, the alternation rule alone and the whole portfolio.
#include <dirent.h>
#include <gtest/gtest.h>

#include <random>

#include <sstream>

#include "core/diagnostics.h"
#include "solve/alternation_rule.h"
#include "solve/exact_search.h"
#include "solve/frontier_search.h"
#include "solve/root_pruning.h"
#include "solve/solve_graph.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

// For each edge (a, b): is it on some Hamiltonian cycle? (paths from a through all nodes
// ending next to a, by subset dynamic programming). Empty result: no cycle at all.
EdgeSet edgesOnSomeCycle(int32_t n, const EdgeSet& edges) {
  std::vector<uint32_t> adjacent(static_cast<size_t>(n), 0);
  for (auto [a, b] : edges) {
    adjacent[static_cast<size_t>(a)] |= 1u << b;
    adjacent[static_cast<size_t>(b)] |= 1u << a;
  }
  EdgeSet used;
  const uint32_t all = (1u << n) - 1;
  for (int32_t a = 0; a < n && n >= 3; ++a) {
    std::vector<uint32_t> ends(static_cast<size_t>(all) + 1, 0);  // ends[mask]: where a path from a over mask can end
    ends[1u << a] = 1u << a;
    for (uint32_t mask = 1; mask <= all; ++mask) {
      if (!(mask >> a & 1u) || !ends[mask]) continue;
      for (int32_t v = 0; v < n; ++v)
        if (ends[mask] >> v & 1u)
          for (uint32_t next = adjacent[static_cast<size_t>(v)] & ~mask; next; next &= next - 1)
            ends[mask | (next & -next)] |= next & -next;
    }
    for (int32_t b = 0; b < n; ++b)
      if ((ends[all] >> b & 1u) && (adjacent[static_cast<size_t>(a)] >> b & 1u)) used.emplace(std::min(a, b), std::max(a, b));
  }
  return used;
}

// The zoo: a few hundred graphs of every kind, 3 to 12 nodes.
std::vector<std::pair<int32_t, EdgeList>> zoo() {
  std::mt19937 rng(20261206);
  std::vector<std::pair<int32_t, EdgeList>> graphs;
  for (int32_t round = 0; round < 60; ++round) {
    int32_t n = 3 + round % 10;
    graphs.emplace_back(n, randomEdges(rng, n, 0.3 + 0.05 * (round % 9)));
    int32_t even = 4 + 2 * (round % 5);  // cubic: random pairing, redrawn until simple
    for (;;) {
      std::vector<int32_t> points;
      for (int32_t v = 0; v < even; ++v) points.insert(points.end(), 3, v);
      std::shuffle(points.begin(), points.end(), rng);
      EdgeSet simple;
      bool ok = true;
      for (size_t i = 0; i < points.size() && ok; i += 2) {
        auto [a, b] = std::minmax(points[i], points[i + 1]);
        ok = a != b && simple.emplace(a, b).second;
      }
      if (ok) {
        graphs.emplace_back(even, EdgeList(simple.begin(), simple.end()));
        break;
      }
    }
    int32_t p = 2 + round % 5;  // bipartite, sides p and p or p + 1
    int32_t q = p + round % 2;
    EdgeList bipartite;
    for (auto [a, b] : completeBipartiteEdges(p, q))
      if (std::bernoulli_distribution(0.7)(rng)) bipartite.emplace_back(a, b);
    graphs.emplace_back(p + q, bipartite);
    int32_t k = 3 + round % 4;  // two random blocks sharing node k - 1
    EdgeList blocks = randomEdges(rng, k, 0.8);
    for (auto [a, b] : randomEdges(rng, k, 0.8)) blocks.emplace_back(a + k - 1, b + k - 1);
    graphs.emplace_back(2 * k - 1, blocks);
  }
  return graphs;
}

// Beyond brute force: GP(n, 2) has no Hamiltonian cycle exactly when n is 5 modulo 6.
TEST(Solve, FrontierSearchKnowsTheGeneralizedPetersenGraphs) {
  for (int32_t n = 5; n <= 40; ++n) {
    StopCondition never;
    const Graph g = makeGraph(2 * n, generalizedPetersenEdges(n, 2));
    EXPECT_EQ(frontierSearch(takeAdjacencySnapshot(g), never, 1 << 24).verdict, n % 6 == 5 ? kNotHamiltonian : kHamiltonian)
        << "GP(" << n << ", 2)";
  }
}

TEST(Solve, EveryMethodAgreesWithBruteForceOnTheZoo) {
  int32_t hamiltonian = 0;
  uint32_t seed = 1;
  for (const auto& [n, edges] : zoo()) {
    Graph original = makeGraph(n, edges);
    const EdgeSet loaded = currentEdges(original);
    const EdgeSet onCycles = edgesOnSomeCycle(n, loaded);
    const bool expected = !onCycles.empty();
    hamiltonian += expected;
    SCOPED_TRACE(::testing::Message() << n << " nodes, " << loaded.size() << " edges, Hamiltonian " << expected);

    // The exact search alone, from the incremental root.
    Graph g(original);
    pruneRootIncrementally(g);
    EXPECT_LE(onCycles.size(), currentEdges(g).size());
    for (const auto& e : onCycles) EXPECT_TRUE(currentEdges(g).count(e)) << "root pruning removed a cycle edge";
    if (g.isHamiltonian == kUndecided) {
      const EdgeSet rootEdges = currentEdges(g);
      StopCondition never;
      ExactSearchResult found = exactSearch(g, never, nullptr);
      EXPECT_EQ(found.verdict, expected ? kHamiltonian : kNotHamiltonian);
      if (expected) {
        EXPECT_TRUE(isHamiltonianCycleOf(found.cycle, n, loaded));
      } else {
        EXPECT_EQ(currentEdges(g), rootEdges) << "the walk left changes behind";
      }
    } else {
      EXPECT_EQ(g.isHamiltonian == kHamiltonian, expected);
    }

    // The frontier search alone (every zoo graph fits its width): the exact answer.
    StopCondition never;
    EXPECT_EQ(frontierSearch(takeAdjacencySnapshot(original), never, 1 << 24).verdict,
              expected ? kHamiltonian : kNotHamiltonian);

    // The alternation rule alone never takes an edge some cycle needs, nor refutes wrongly.
    Graph r(original);
    if (pruneRootIncrementally(r) == kUndecided) {
      applyAlternationRule(r, seed);
      if (r.isHamiltonian == kNotHamiltonian) {
        EXPECT_FALSE(expected) << "the alternation rule refuted a Hamiltonian graph";
      } else {
        for (const auto& e : onCycles) EXPECT_TRUE(currentEdges(r).count(e)) << "the alternation rule removed a cycle edge";
      }
    }

    // The portfolio, with 1 to 4 threads; on every other graph without the probe, so the
    // workers decide.
    SolveOptions options;
    options.threads = 1 + static_cast<int32_t>(seed % 4);
    if (seed % 2 == 0) options.probeNodesPerNode = options.probeNodes = 0;
    options.seed = seed++;
    SolveResult result = solveGraph(original, options);
    EXPECT_EQ(result.verdict, expected ? kHamiltonian : kNotHamiltonian) << result.method;
    if (expected) {
      EXPECT_TRUE(isHamiltonianCycleOf(result.cycle, n, loaded));
      EXPECT_EQ(result.cycle.front(), 0);
    }
  }
  EXPECT_GT(hamiltonian, 40);  // the zoo holds both kinds in numbers
}

TEST(Solve, TheAlternationRuleProvesKnightsGraphsOnFourRows) {
  for (int32_t columns : {8, 9, 16, 41}) {
    Graph g = makeGraph(4 * columns, knightEdges(4, columns));
    RootPruningResult pruned = pruneRoot(g, 7);
    EXPECT_EQ(pruned.verdict, kNotHamiltonian) << columns;
    EXPECT_TRUE(pruned.byAlternation) << columns;
  }
}

// Threads of this process, read from /proc.
int32_t threadCount() {
  int32_t count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
    closedir(dir);
  }
  return count;
}

TEST(Solve, EveryThreadIsJoinedWhenTheCallReturns) {
  std::ostringstream mill;  // the mill's iteration lines
  ScopedDiagnosticStream quiet(mill);
  const int32_t before = threadCount();
  // Decided by the finder or the mill (knight 8 x 8), and stopped by the time limit
  // (GP(59, 2), non-Hamiltonian and beyond the search in that time).
  SolveOptions options;
  options.threads = 4;
  options.probeNodesPerNode = options.probeNodes = 0;
  SolveResult found = solveGraph(makeGraph(64, knightEdges(8, 8)), options);
  EXPECT_EQ(found.verdict, kHamiltonian);
  EXPECT_EQ(threadCount(), before);
  options.timeLimitSeconds = 0.3;
  SolveResult stopped = solveGraph(makeGraph(118, generalizedPetersenEdges(59, 2)), options);
  EXPECT_NE(stopped.verdict, kHamiltonian);
  if (stopped.verdict == kUndecided) {
    EXPECT_TRUE(stopped.timedOut);
  }
  EXPECT_EQ(threadCount(), before);
  std::atomic<uint8_t> cleared{0};
  options.timeLimitSeconds = 0.0;
  SolveResult interrupted = solveGraph(makeGraph(118, generalizedPetersenEdges(59, 2)), options, &cleared);
  EXPECT_TRUE(interrupted.interrupted || interrupted.verdict == kNotHamiltonian);
  EXPECT_EQ(threadCount(), before);
}

}  // namespace
}  // namespace hc::testing
