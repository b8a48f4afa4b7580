// The solve methods against a brute-force decider that shares no code with them, on every
// graph of a random zoo with up to 12 nodes (random, cubic, bipartite, with a cut vertex):
// the exact search alone, the alternation rule alone, the clause-learning worker alone and
// the whole portfolio. Known answers beyond brute force, the threads of a call, the finder's
// cycles on larger random graphs, and its path structure against a plain vector.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

#include "core/diagnostics.h"
#include "core/hamiltonian_cycle_check.h"
#include "core/trivial_verdict.h"
#include "solve/alternation_rule.h"
#include "solve/exact_search.h"
#include "solve/frontier_search.h"
#include "solve/linear_relaxation.h"
#include "solve/path_treap.h"
#include "solve/root_pruning.h"
#include "solve/rotation_finder.h"
#include "solve/sat_worker.h"
#include "solve/solve_graph.h"
#include "solve_zoo.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

// Beyond brute force: GP(n, 2) has no Hamiltonian cycle exactly when n is 5 modulo 6, and
// the alternation rule proves the knight's graphs on four rows non-Hamiltonian.
TEST(Solve, KnownAnswersOfTheFrontierSearchAndTheAlternationRule) {
  for (int32_t n = 5; n <= 40; ++n) {
    const StopToken never;
    const Graph g = makeGraph(2 * n, generalizedPetersenEdges(n, 2));
    EXPECT_EQ(frontierSearch(EdgeSnapshot(g), never, 1 << 24).verdict,
              n % 6 == 5 ? kNotHamiltonian : kHamiltonian)
        << "GP(" << n << ", 2)";
  }
  for (int32_t columns : {8, 9, 16, 41}) {
    Graph g = makeGraph(4 * columns, knightEdges(4, columns));
    RootPruningResult pruned = pruneRoot(g, 7);
    EXPECT_EQ(std::pair(pruned.verdict, pruned.byAlternation), std::pair(kNotHamiltonian, true)) << columns;
  }
}

// The flower snark J_n (n odd, 4n nodes): cubic and non-Hamiltonian; a ring of claws
// a_i (b_i, c_i, d_i), the b_i on one cycle and the c_i, d_i on one cycle of length 2n.
EdgeList flowerSnarkEdges(int32_t n) {
  EdgeList e;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t j = (i + 1) % n;
    e.insert(e.end(), {{i, n + i}, {i, 2 * n + i}, {i, 3 * n + i}, {n + i, n + j}});
    e.emplace_back(2 * n + i, j != 0 ? 2 * n + j : 3 * n);
    e.emplace_back(3 * n + i, j != 0 ? 3 * n + j : 2 * n);
  }
  return e;
}

// The same graph under a random numbering, its edges in a random order.
EdgeList relabelled(EdgeList edges, int32_t n, std::mt19937& rng) {
  std::vector<int32_t> label(static_cast<size_t>(n));
  for (int32_t v = 0; v < n; ++v) label[static_cast<size_t>(v)] = v;
  std::shuffle(label.begin(), label.end(), rng);
  for (auto& [a, b] : edges) {
    a = label[static_cast<size_t>(a)];
    b = label[static_cast<size_t>(b)];
    if (rng() % 2 == 0) std::swap(a, b);
  }
  std::shuffle(edges.begin(), edges.end(), rng);
  return edges;
}

// Whether a method succeeds must not depend on the numbering: each graph under several
// random numberings gets the same verdict from the whole solve, and on the thin ones the
// frontier search over narrowFrontierOrder decides it with a frontier within 2 nodes of
// the narrowest any numbering gave (dense graphs with a bipartition or an independent set
// of more than half the nodes are refuted by the rules before their finder starts).
TEST(Solve, VerdictsAndFrontierWidthsDoNotDependOnTheNumbering) {
  struct Case {
    const char* name;
    int32_t n;
    EdgeList edges;
    HamiltonicityState verdict;
    bool thin;
    const char* decidedBy = nullptr;  // before the portfolio, when given
  };
  const Case cases[] = {
      {"GP(47, 2)", 94, generalizedPetersenEdges(47, 2), kNotHamiltonian, true},
      {"GP(48, 2)", 96, generalizedPetersenEdges(48, 2), kHamiltonian, true},
      {"J_51", 204, flowerSnarkEdges(51), kNotHamiltonian, true},
      {"knight 4 x 30", 120, knightEdges(4, 30), kNotHamiltonian, false},
      {"knight 8 x 8", 64, knightEdges(8, 8), kHamiltonian, false},
      {"K(50, 51)", 101, completeBipartiteEdges(50, 51), kNotHamiltonian, false, "root pruning"},
      {"K(50, 51) and an edge", 101, joined(completeBipartiteEdges(50, 51), {{0, 1}}), kNotHamiltonian, false,
       "alternation rule"},
  };
  std::mt19937 rng(32);
  const StopToken never;
  for (const Case& c : cases) {
    int32_t narrowest = kFrontierWidthLimit, widest = 0;
    for (uint32_t round = 0; round < 6; ++round) {
      SCOPED_TRACE(::testing::Message() << c.name << ", numbering " << round);
      const Graph g = makeGraph(c.n, relabelled(c.edges, c.n, rng));
      SolveOptions options;
      options.threads = 1 + static_cast<int32_t>(round % 2);
      options.seed = round;
      const SolveResult solved = solveGraph(g, options);
      EXPECT_EQ(solved.verdict, c.verdict) << std::string(decidedByName(solved.decidedBy));
      if (c.decidedBy != nullptr) {
        EXPECT_EQ(std::pair(std::string(decidedByName(solved.decidedBy)), solved.threads),
                  std::pair(std::string(c.decidedBy), 0));
      }
      if (!c.thin) continue;
      const EdgeSnapshot edges(g);
      const std::vector<int32_t> order = narrowFrontierOrder(edges, kFrontierWidthLimit, round);
      const FrontierSearchResult found = frontierSearch(edges, never, 1 << 24, order);
      EXPECT_EQ(found.verdict, c.verdict);
      narrowest = std::min(narrowest, found.width);
      widest = std::max(widest, found.width);
    }
    EXPECT_LE(widest, narrowest + 2) << c.name;
  }
}

// Whether removing any node set S (not empty) leaves at most |S| pieces, by brute force.
bool isOneTough(int32_t n, const EdgeSet& edges) {
  for (uint32_t removed = 1; removed + 1 < (1u << n); ++removed) {
    std::vector<int32_t> piece(static_cast<size_t>(n));
    for (int32_t v = 0; v < n; ++v) piece[static_cast<size_t>(v)] = v;
    auto find = [&](int32_t v) {
      while (piece[static_cast<size_t>(v)] != v) v = piece[static_cast<size_t>(v)];
      return v;
    };
    for (auto [a, b] : edges)
      if (!(removed >> a & 1) && !(removed >> b & 1)) piece[static_cast<size_t>(find(a))] = find(b);
    int32_t pieces = 0;
    for (int32_t v = 0; v < n; ++v) pieces += !(removed >> v & 1) && find(v) == v;
    if (pieces > std::popcount(removed)) return false;
  }
  return true;
}

// One zoo graph with its brute-force answer, and the seed of the row's random choices.
struct ZooCase {
  int32_t n;
  Graph original;
  EdgeSet loaded;
  EdgeSet onCycles;  // the edges of some Hamiltonian cycle
  bool expected;
  HamiltonicityState verdict;
  uint32_t seed;
};

// Each method alone on a zoo graph: a row of its own, so a failure names the method.
struct MethodRow {
  const char* name;
  void (*check)(const ZooCase& c);
};

const MethodRow kMethods[] = {
    // The exact search from the incremental root, which keeps every edge some cycle needs,
    // alone and with the relaxation at every tree node of its first levels. A refutation
    // leaves the graph as the walk found it.
    {"ExactSearch",
     [](const ZooCase& c) {
       Graph g(c.original);
       pruneRootIncrementally(g);
       const EdgeSet rootEdges = currentEdges(g);
       EXPECT_TRUE(std::includes(rootEdges.begin(), rootEdges.end(), c.onCycles.begin(), c.onCycles.end()));
       if (g.isHamiltonian != kUndecided) {
         EXPECT_EQ(g.isHamiltonian, c.verdict);
         return;
       }
       for (const int32_t levels : {0, 1000}) {
         ExactSearchOptions options;
         options.relaxationLevels = levels;
         options.relaxationTreeNodes = 1;
         ExactSearchResult found = exactSearch(g, StopToken(), options);
         EXPECT_EQ(found.verdict, c.verdict) << levels;
         EXPECT_TRUE(c.expected ? isHamiltonianCycleOf(found.cycle, c.n, c.loaded)
                                : currentEdges(g) == rootEdges)
             << levels;
       }
     }},
    // Every zoo graph fits the frontier search's width: the exact answer.
    {"FrontierSearch",
     [](const ZooCase& c) {
       EXPECT_EQ(frontierSearch(EdgeSnapshot(c.original), StopToken(), 1 << 24).verdict, c.verdict);
     }},
    // The alternation rule never refutes wrongly nor takes an edge some cycle needs.
    {"AlternationRule",
     [](const ZooCase& c) {
       Graph r(c.original);
       if (pruneRootIncrementally(r) != kUndecided) return;
       applyAlternationRule(r, c.seed);
       const EdgeSet left = currentEdges(r);
       const bool keepsCycleEdges =
           std::includes(left.begin(), left.end(), c.onCycles.begin(), c.onCycles.end());
       EXPECT_TRUE(r.isHamiltonian == kNotHamiltonian ? !c.expected : keepsCycleEdges);
     }},
    // The clause-learning worker on the graph as given and after the root rules (their
    // forced edges as units, the edges they deleted as negated units).
    {"ClauseLearner",
     [](const ZooCase& c) {
       const EdgeSnapshot given(c.original);
       Graph p(c.original);
       for (bool pruned : {false, true}) {
         if (pruned && pruneRootIncrementally(p) != kUndecided) continue;
         const SatWorkerResult sat = decideBySat(satEdgeProblemOf(p, &given), StopToken());
         EXPECT_EQ(sat.verdict, c.expected ? Verdict::kHamiltonian : Verdict::kNonHamiltonian) << pruned;
         EXPECT_TRUE(!c.expected || isHamiltonianCycleOf(sat.cycle, c.n, c.loaded)) << pruned;
       }
     }},
    // The linear relaxation never refutes a Hamiltonian graph and refutes every graph that
    // is not 1-tough.
    {"LinearRelaxation",
     [](const ZooCase& c) {
       const LinearRelaxationResult relaxation = solveLinearRelaxation(c.original, StopToken());
       EXPECT_TRUE(relaxation.outcome == RelaxationOutcome::kNoCycle ? !c.expected
                                                                     : isOneTough(c.n, c.loaded));
     }},
    // The linear checks (connected, no cut vertex, even sides when bipartite) refute only
    // graphs without a cycle, the same from the graph and from its edges.
    {"CheapChecks",
     [](const ZooCase& c) {
       const bool fails = failsCheapChecks(c.original);
       EXPECT_EQ(failsCheapChecks(EdgeSnapshot(c.original)), fails);
       EXPECT_TRUE(!fails || !c.expected);
     }},
    // The portfolio, with 1 to 4 threads; on every other graph without the probe, so the
    // workers decide, and on every third with the finder beside the root phases. The
    // degrees' verdict, from the graph or from its edge list alone, holds, and a graph it
    // rejects is decided at once by the root rules, before any copy or thread.
    {"Portfolio",
     [](const ZooCase& c) {
       SolveOptions options;
       options.threads = 1 + static_cast<int32_t>(c.seed % 4);
       if (c.seed % 2 == 0) options.probeNodesPerNode = options.probeNodes = 0;
       if (c.seed % 3 == 0) options.earlyFinderEdges = 0;
       options.seed = c.seed;
       SolveResult result = solveGraph(c.original, options);
       EXPECT_EQ(result.verdict, c.verdict) << decidedByName(result.decidedBy);
       EXPECT_TRUE(!c.expected ||
                   (isHamiltonianCycleOf(result.cycle, c.n, c.loaded) && result.cycle.front() == 0));
       const std::vector<std::pair<int32_t, int32_t>> edgeList(c.loaded.begin(), c.loaded.end());
       const Verdict trivial = trivialVerdict(c.original);
       EXPECT_EQ(trivialVerdict(c.n, edgeList), trivial);
       EXPECT_TRUE(trivial == Verdict::kUndecided || !c.expected);
       EXPECT_TRUE(trivial != Verdict::kNonHamiltonian ||
                   (result.decidedBy == DecidedBy::kRootPruning && result.threads == 0));
     }},
};

void PrintTo(const MethodRow& row, std::ostream* out) {
  *out << row.name;
}

class EveryMethod : public ::testing::TestWithParam<MethodRow> {};

TEST_P(EveryMethod, AgreesWithBruteForceOnTheZoo) {
  int32_t hamiltonian = 0;
  uint32_t seed = 1;
  for (const auto& [n, edges] : zoo()) {
    ZooCase c{n, makeGraph(n, edges), {}, {}, false, kUndecided, seed++};
    c.loaded = currentEdges(c.original);
    c.onCycles = edgesOnHamiltonianCycles(n, c.loaded);
    c.expected = !c.onCycles.empty();
    c.verdict = c.expected ? kHamiltonian : kNotHamiltonian;
    hamiltonian += c.expected;
    SCOPED_TRACE(::testing::Message()
                 << n << " nodes, " << c.loaded.size() << " edges, Hamiltonian " << c.expected);
    GetParam().check(c);
  }
  EXPECT_GT(hamiltonian, 40);  // the zoo holds both kinds in numbers
}

INSTANTIATE_TEST_SUITE_P(Solve, EveryMethod, ::testing::ValuesIn(kMethods),
                         [](const ::testing::TestParamInfo<MethodRow>& row) {
                           return std::string(row.param.name);
                         });

// On dense graphs the cheap checks ask a sparse spanning subgraph first: their answer is
// still the whole graph's. Random dense graphs, some made disconnected, separable by one
// node, or bipartite (sides equal or not), against the answer by brute force.
TEST(Solve, CheapChecksOnDenseGraphsAnswerForTheWholeGraph) {
  std::mt19937 rng(7);
  auto fails = [](int32_t n, const EdgeSet& edges, int32_t without) {  // connected, no cut node, sides
    std::vector<std::vector<int32_t>> adjacent(static_cast<size_t>(n));
    for (auto [a, b] : edges)
      if (a != without && b != without)
        adjacent[static_cast<size_t>(a)].push_back(b), adjacent[static_cast<size_t>(b)].push_back(a);
    std::vector<int32_t> colour(static_cast<size_t>(n), -1), stack{without == 0 ? 1 : 0};
    colour[static_cast<size_t>(stack[0])] = 0;
    bool odd = false;
    int32_t reached = 1, black = 0;
    while (!stack.empty()) {
      const int32_t v = stack.back();
      stack.pop_back();
      black += colour[static_cast<size_t>(v)];
      for (int32_t w : adjacent[static_cast<size_t>(v)]) {
        if (colour[static_cast<size_t>(w)] < 0)
          colour[static_cast<size_t>(w)] = 1 - colour[static_cast<size_t>(v)], ++reached, stack.push_back(w);
        odd |= colour[static_cast<size_t>(w)] == colour[static_cast<size_t>(v)];
      }
    }
    const int32_t count = n - (without >= 0);
    return reached < count || (without < 0 && !odd && 2 * black != n);
  };
  for (int32_t round = 0; round < 40; ++round) {
    // 0: G(n, 0.8); 1: two dense halves apart; 2: the halves joined only through node 0;
    // 3: bipartite by parity, equal sides; 4: bipartite, sides n/3 and 2n/3.
    const int32_t kind = round % 5, n = 2 * (50 + static_cast<int32_t>(rng() % 30));
    EdgeSet edges;
    for (int32_t a = 0; a < n; ++a)
      for (int32_t b = a + 1; b < n; ++b) {
        const bool across = (a < n / 2) != (b < n / 2);
        if (rng() % 100 >= 80 || (kind == 1 && across) || (kind == 2 && across && a != 0) ||
            (kind == 3 && a % 2 == b % 2) || (kind == 4 && (a < n / 3) == (b < n / 3)))
          continue;
        edges.insert({a, b});
      }
    bool expected = fails(n, edges, -1);
    for (int32_t v = 0; v < n && !expected; ++v) expected = fails(n, edges, v);
    SCOPED_TRACE(::testing::Message() << "kind " << kind << ", " << n << " nodes");
    const Graph g = makeGraph(n, EdgeList(edges.begin(), edges.end()));
    EXPECT_EQ(failsCheapChecks(g), expected);
    EXPECT_EQ(failsCheapChecks(EdgeSnapshot(g)), expected);
    EXPECT_EQ(expected, kind == 1 || kind == 2 || kind == 4) << "the families are what they claim";
  }
}

// Threads of this process, read from /proc.
int32_t threadCount() {
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  return static_cast<int32_t>(std::distance(begin(tasks), end(tasks)));
}

TEST(Solve, EveryThreadIsJoinedWhenTheCallReturns) {
  CapturedDiagnostics mill;  // the mill's iteration lines
  const int32_t before = threadCount();
  SolveOptions options;
  options.threads = 4;
  options.probeNodesPerNode = options.probeNodes = 0;
  // Decided by the finder or the mill (knight 8 x 8).
  EXPECT_EQ(solveGraph(makeGraph(64, knightEdges(8, 8)), options).verdict, kHamiltonian);
  EXPECT_EQ(threadCount(), before);
  // Stopped by the time limit or by a stop request (GP(59, 2), non-Hamiltonian and beyond the
  // search in that time).
  StopToken cleared;
  cleared.requestStop();
  for (bool byFlag : {false, true}) {
    options.timeLimitSeconds = byFlag ? 0.0 : 0.3;
    const Graph g = makeGraph(118, generalizedPetersenEdges(59, 2));
    SolveResult r = solveGraph(g, options, byFlag ? &cleared : nullptr);
    const bool stopped = r.verdict == kUndecided && (byFlag ? r.interrupted : r.timedOut);
    EXPECT_TRUE(r.verdict == kNotHamiltonian || stopped) << byFlag;
    EXPECT_EQ(threadCount(), before);
  }
}

// With one thread the relaxation has a slice after the root phases; one that the slice cut
// short gets turns between the others'. The graph is not 1-tough (S, four nodes on a cycle,
// leaves five copies of K4, each node of a copy joined to a node of S of its own), which the
// relaxation refutes; the clause learner and the finder are off, so the search decides it in
// its turn unless the relaxation has one first.
TEST(Solve, OneThreadGivesTheRelaxationTurnsWhenItsSliceCutItShort) {
  EdgeList edges = cycleEdges(0, 4);
  for (int32_t copy = 0; copy < 5; ++copy) {
    const int32_t first = 4 + 4 * copy;
    edges = joined(edges, completeEdges(first, 4));
    for (int32_t i = 0; i < 4; ++i) edges.emplace_back((copy + i) % 4, first + i);
  }
  SolveOptions options;
  options.threads = 1;
  options.useFinder = options.useSat = options.useDecomposition = false;
  options.probeNodesPerNode = options.probeNodes = options.frontierWork = 0;
  for (const double slice : {2.0, 1e-9}) {
    options.relaxationSeconds = slice;
    const SolveResult r = solveGraph(makeGraph(24, edges), options);
    EXPECT_EQ(std::pair(r.verdict, decidedByName(r.decidedBy)),
              std::pair(kNotHamiltonian, decidedByName(DecidedBy::kLinearRelaxation)))
        << slice;
  }
}

// The finder's cycles on random 3- and 4-regular graphs of a few thousand nodes (Hamiltonian
// but for a vanishing few), large enough that its splices and three-edge closings occur, and
// on structured graphs each under four random relabelings (a knight's board, a hypercube less
// an even and an odd node, the odd graph O_4, GP(11, 2) less a node, a dense random graph):
// every one is found within a bound of work that does not depend on the numbering, in slices
// of run() that go on from where the last one stopped, and passes the check.
TEST(RotationFinder, FindsCyclesWhateverTheNumberingInResumedSlices) {
  std::mt19937 rng(11);
  std::vector<std::pair<int32_t, EdgeList>> graphs;
  for (int32_t round = 0; round < 8; ++round) {
    const int32_t n = 500 + 700 * round;
    graphs.emplace_back(n, randomRegularEdges(rng, n, 3 + round % 2));
  }
  EdgeList cube;  // Q_6 less nodes 0 (even) and 1 (odd)
  for (int32_t v = 2; v < 64; ++v)
    for (int32_t bit = 1; bit < 64; bit <<= 1)
      if ((v ^ bit) > v) cube.emplace_back(v - 2, (v ^ bit) - 2);
  std::vector<uint32_t> triples;  // O_4: the 3-subsets of 7 things, joined when disjoint
  for (uint32_t mask = 0; mask < 128; ++mask)
    if (std::popcount(mask) == 3) triples.push_back(mask);
  EdgeList odd;
  for (size_t a = 0; a < triples.size(); ++a)
    for (size_t b = a + 1; b < triples.size(); ++b)
      if ((triples[a] & triples[b]) == 0) odd.emplace_back(static_cast<int32_t>(a), static_cast<int32_t>(b));
  EdgeList gp;  // GP(11, 2) less node 21 (hypohamiltonian)
  for (auto [a, b] : generalizedPetersenEdges(11, 2))
    if (a != 21 && b != 21) gp.emplace_back(a, b);
  for (const auto& [n, edges] : std::vector<std::pair<int32_t, EdgeList>>{
           {144, knightEdges(12, 12)}, {62, cube}, {35, odd}, {21, gp}, {300, randomEdges(rng, 300, 0.2)}}) {
    for (int32_t relabelling = 0; relabelling < 4; ++relabelling) {
      std::vector<int32_t> label(static_cast<size_t>(n));
      std::iota(label.begin(), label.end(), 0);
      std::shuffle(label.begin(), label.end(), rng);
      EdgeList moved;
      for (auto [a, b] : edges)
        moved.emplace_back(label[static_cast<size_t>(a)], label[static_cast<size_t>(b)]);
      std::shuffle(moved.begin(), moved.end(), rng);
      graphs.emplace_back(n, moved);
    }
  }
  uint64_t seed = 0;
  for (const auto& [n, edges] : graphs) {
    const Graph g = makeGraph(n, edges);
    SCOPED_TRACE(::testing::Message() << "seed " << seed << ", " << n << " nodes");
    RotationFinder finder(g, seed++);
    const StopToken never;
    RotationFinderResult found;
    const int64_t slice = 50 + 7 * static_cast<int64_t>(g.howManyEdges);
    for (int64_t spent = 0; !found.found && spent < 2000 * static_cast<int64_t>(g.howManyEdges);
         spent += slice)
      found = finder.run(never, slice);
    ASSERT_TRUE(found.found);
    EXPECT_TRUE(isHamiltonianCycle(EdgeSnapshot(g), found.cycle));
  }
}

TEST(PathTreap, MatchesAVectorOverRandomOperations) {
  constexpr int32_t kNodes = 60;
  std::mt19937 rng(7);
  PathTreap path(kNodes, 3);
  std::vector<int32_t> model;
  for (int step = 0; step < 20000; ++step) {
    const int32_t length = static_cast<int32_t>(model.size());
    const int op = static_cast<int>(rng() % 7);
    if (op == 0 || length == 0) {
      if (length == kNodes || rng() % 50 == 0) {
        path.clear();
        model.clear();
        continue;
      }
      int32_t v = static_cast<int32_t>(rng() % kNodes);
      while (std::find(model.begin(), model.end(), v) != model.end()) v = (v + 1) % kNodes;
      const bool atBack = rng() % 2 == 0;
      atBack ? path.pushBack(v) : path.pushFront(v);
      model.insert(atBack ? model.end() : model.begin(), v);
    } else if (op <= 2) {
      // Reverses the suffix from i (op 1) or the prefix before i (op 2).
      const int32_t i = static_cast<int32_t>(rng() % static_cast<uint32_t>(length + 1));
      op == 1 ? path.reverseSuffix(i) : path.reversePrefix(i);
      std::reverse(op == 1 ? model.begin() + i : model.begin(), op == 1 ? model.end() : model.begin() + i);
    } else if (op == 6) {
      // Splices a new node in: [0, i) v [j, length) [i, j), or [i, j) [0, i) v [j, length).
      if (length < 2 || length == kNodes) continue;
      int32_t v = static_cast<int32_t>(rng() % kNodes);
      while (std::find(model.begin(), model.end(), v) != model.end()) v = (v + 1) % kNodes;
      const bool atBack = rng() % 2 == 0;
      const int32_t i = 1 + static_cast<int32_t>(rng() % static_cast<uint32_t>(length - 1));
      const int32_t j = i + 1 + static_cast<int32_t>(rng() % static_cast<uint32_t>(length - i));
      if (atBack && j == length) continue;
      path.splice(i, j, v, atBack);
      std::vector<int32_t> head(model.begin(), model.begin() + i),
          middle(model.begin() + i, model.begin() + j);
      std::vector<int32_t> spliced = atBack ? head : middle;
      if (!atBack) spliced.insert(spliced.end(), head.begin(), head.end());
      spliced.push_back(v);
      spliced.insert(spliced.end(), model.begin() + j, model.end());
      if (atBack) spliced.insert(spliced.end(), middle.begin(), middle.end());
      model = spliced;
    } else {
      const int32_t i = static_cast<int32_t>(rng() % static_cast<uint32_t>(length));
      const int32_t v = model[static_cast<size_t>(i)];
      ASSERT_EQ(path.at(i), v);
      ASSERT_EQ(path.indexOf(v), i);              // the neighbour query needs indexOf as the last call
      const int32_t j = op == 3 ? i + 1 : i - 1;  // op 3 looks forward, op 4 and 5 backward
      ASSERT_EQ(path.neighbourAfterIndexOf(v, op == 3),
                j < 0 || j >= length ? -1 : model[static_cast<size_t>(j)]);
    }
    ASSERT_EQ(path.length(), static_cast<int32_t>(model.size()));
    if (step % 97 == 0) {
      std::vector<int32_t> whole;
      path.appendInOrder(whole);
      ASSERT_EQ(whole, model);
    }
    for (int32_t v = 0; v < kNodes; ++v)
      ASSERT_EQ(path.contains(v), std::find(model.begin(), model.end(), v) != model.end());
  }
}

}  // namespace
}  // namespace hc::testing
