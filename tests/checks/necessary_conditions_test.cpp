// The necessary conditions: each verdict with its exact verbose lines, and the graph predicates
// against references on small hand graphs and random ones: the same results, messages and
// cleared marks as a plain breadth-first colouring, on graphs of many components and long paths
// and cycles with shuffled labels too.
#include "checks/necessary_conditions.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "check_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

constexpr const char* kConnectedAbout =
    "About to check if the graph is connected and not unevenly bipartite.\n";
constexpr const char* kConnectedPass = "The graph is connected and not unevenly bipartite.\n";
// isConnected's own lines (its "not connected" line is the shared one).
constexpr const char* kOnlyConnectedAbout = "About to check if the graph is connected.\n";
constexpr const char* kOnlyConnectedPass = "The graph is connected.\n";

TEST(NecessaryConditions, EachVerdictWithItsLines) {
  using Check = void (*)(Graph&, int16_t);
  const Check all = [](Graph& g, int16_t verbose) {
    checkEnoughEdges(g, verbose);
    checkLowDegreeNodes(g, verbose);
    checkConnectedNotUnevenlyBipartite(g, verbose);
    isConnected(g, verbose);
    isBipartite(g, verbose);
    isBiconnected(g, verbose);
    checkConnectedNotUnevenlyBipartite(g, 2);  // only verbose 1 prints
  };
  const std::string allLines =
      std::string("About to check if the graph has enough edges.\nThe graph has enough edges.\n") +
      "About to check for low-degree nodes.\nIsHamiltonian still = 2 after checking for low-degree nodes.\n" +
      kConnectedAbout + kConnectedPass + kOnlyConnectedAbout + kOnlyConnectedPass +
      "About to check if the graph is bipartite.\n";
  const EdgeList tree{{0, 1}, {0, 2}, {1, 3}, {1, 4}};
  // Name, graph, its verdict before, the check, the verdict after, the lines.
  std::tuple<const char*, Graph, HamiltonicityState, Check, HamiltonicityState, std::string> cases[] = {
      {"6-cycle", makeGraph(6, cycleEdges(0, 6)), kUndecided, all, kUndecided, allLines},
      {"decided tree", makeGraph(5, tree), kNotHamiltonian, all, kNotHamiltonian, allLines},
      {"tree", makeGraph(5, tree), kUndecided, &checkEnoughEdges, kNotHamiltonian,
       "About to check if the graph has enough edges.\n"
       "Checking for enough edges found the graph to be non-Hamiltonian.\n"},
      {"pendant", makeGraph(6, joined(cycleEdges(0, 5), {{2, 5}})), kUndecided, &checkLowDegreeNodes,
       kNotHamiltonian,
       "About to check for low-degree nodes.\nChecking for low-degree nodes rejected the graph.\n"},
  };
  for (auto& [name, g, start, check, verdict, text] : cases) {
    g.isHamiltonian = start;
    const std::string before = snapshot(g);
    CapturedDiagnostics out;
    check(g, 1);
    EXPECT_EQ(std::tuple(g.isHamiltonian, out.text()), std::tuple(verdict, text)) << name;
    g.isHamiltonian = start;
    EXPECT_EQ(snapshot(g), before) << name << ": only the verdict may change";
  }
}

// The verbose lines of isBipartite, isConnected and checkConnectedNotUnevenlyBipartite, in
// this order, from a breadth-first 2-colouring of every component (node 0's sides counted).
std::string referenceLines(const Graph& g, bool& connected, bool& bipartite) {
  std::vector<int32_t> side(g.nodes.size(), -1);
  int32_t sides[2] = {0, 0};
  bool zeroBipartite = bipartite = true;
  for (int32_t start = 0; start < g.howManyNodes; ++start) {
    if (side[static_cast<size_t>(start)] >= 0) continue;
    std::vector<int32_t> queue{start};
    side[static_cast<size_t>(start)] = 0;
    for (size_t k = 0; k < queue.size(); ++k) {
      const int32_t v = queue[k], s = side[static_cast<size_t>(v)];
      sides[s] += start == 0;
      for (int32_t w : neighbourList(g, v)) {
        if (side[static_cast<size_t>(w)] < 0) {
          side[static_cast<size_t>(w)] = 1 - s;
          queue.push_back(w);
        } else if (side[static_cast<size_t>(w)] == s) {
          bipartite = false;
          zeroBipartite = zeroBipartite && start != 0;
        }
      }
    }
  }
  connected = sides[0] + sides[1] == g.howManyNodes;
  const std::string about = kConnectedAbout;
  const std::string notConnected = "The graph is not connected.\n";
  return "About to check if the graph is bipartite.\n" + std::string(kOnlyConnectedAbout) +
         (connected ? kOnlyConnectedPass : notConnected) + about +
         (!connected                              ? notConnected
          : zeroBipartite && sides[0] != sides[1] ? "The graph is unevenly bipartite.\n"
                                                  : kConnectedPass);
}

// Random components (each a random graph, path or cycle), labels shuffled over the whole.
Graph randomComponents(std::mt19937& rng, int trial) {
  const int32_t components = trial % 3 == 0 ? 1 : 1 + static_cast<int32_t>(rng() % 60);
  EdgeList edges;
  int32_t n = 0;
  for (int32_t c = 0; c < components; ++c) {
    const int32_t size = 1 + static_cast<int32_t>(rng() % (components == 1 ? 600 : 12));
    const auto kind = rng() % 3;  // a random graph, a cycle, a path
    EdgeList part = kind == 0   ? randomEdges(rng, size, 0.1 + 0.1 * static_cast<double>(rng() % 6))
                    : size >= 3 ? cycleEdges(0, size)
                                : EdgeList{};
    if (kind == 2 && !part.empty()) part.pop_back();
    for (auto [a, b] : part) edges.emplace_back(n + a, n + b);
    n += size;
  }
  std::vector<int32_t> label(static_cast<size_t>(n));
  std::iota(label.begin(), label.end(), 0);
  std::shuffle(label.begin(), label.end(), rng);
  for (auto& [a, b] : edges) a = label[static_cast<size_t>(a)], b = label[static_cast<size_t>(b)];
  std::shuffle(edges.begin(), edges.end(), rng);
  return makeGraph(n, edges);
}

TEST(NecessaryConditions, PredicatesAgreeWithTheReferences) {
  // Node 4 without neighbours beside a K5 on the other nodes: the root has no neighbour.
  EdgeList lonelyRoot;
  for (auto [a, b] : completeEdges(0, 5)) lonelyRoot.emplace_back(a < 4 ? a : a + 1, b < 4 ? b : b + 1);
  // Two triangles sharing the root or another node, a path whose middle is the root.
  std::vector<Graph> graphs = {Graph(),
                               makeGraph(1, {}),
                               makeGraph(2, {}),
                               makeGraph(2, {{0, 1}}),
                               makeGraph(3, {{1, 0}, {0, 2}}),
                               makeGraph(6, lonelyRoot),
                               makeGraph(5, joined(cycleEdges(0, 3), {{0, 3}, {3, 4}, {4, 0}})),
                               makeGraph(5, joined(cycleEdges(0, 3), {{2, 3}, {3, 4}, {4, 2}})),
                               makeGraph(4, completeEdges(0, 4)),
                               makeGraph(6, completeBipartiteEdges(3, 3)),
                               makeGraph(5, completeBipartiteEdges(2, 3))};
  std::mt19937 rng(2024);
  for (int trial = 0; trial < 550; ++trial) {
    const int32_t n = 1 + static_cast<int32_t>(rng() % 12);
    graphs.push_back(trial < 400 ? makeGraph(n, randomEdges(rng, n, 0.1 + 0.6 * (rng() % 100) / 100.0))
                                 : randomComponents(rng, trial));
  }
  for (Graph& g : graphs) {
    SCOPED_TRACE(snapshot(g).substr(0, 2000));
    const std::string before = snapshot(g);
    bool connected = false, bipartite = false;
    const std::string expected = referenceLines(g, connected, bipartite);
    EXPECT_TRUE(g.howManyNodes > 40 || isBiconnected(g, 0) == referenceBiconnected(g));
    CapturedDiagnostics out;
    // In order (a braced list is evaluated left to right).
    EXPECT_EQ((std::vector<int32_t>{isBipartite(g, 1), isConnected(g, 1), g.isHamiltonian}),
              (std::vector<int32_t>{bipartite, connected, connected ? kUndecided : kNotHamiltonian}));
    g.isHamiltonian = kUndecided;
    checkConnectedNotUnevenlyBipartite(g, 1);
    EXPECT_EQ(out.text(), expected);
    EXPECT_EQ(g.isHamiltonian, expected.ends_with(kConnectedPass) ? kUndecided : kNotHamiltonian);
    g.isHamiltonian = kUndecided;
    EXPECT_EQ(snapshot(g), before);  // marks cleared, nothing else changed
  }
}

TEST(NecessaryConditions, AStoppedSearchProvesNothing) {
  // Two cycles of 1,500 edges through node 4, the search's root: the cut vertex shows only
  // when the search is back from the first cycle, long after its first poll.
  Graph path = makeGraph(2999, [] {
    EdgeList e = cycleEdges(0, 1500);
    EdgeList second = cycleEdges(1499, 1500);
    for (auto [a, b] : second) e.emplace_back(a == 1499 ? 4 : a, b == 1499 ? 4 : b);
    return e;
  }());
  const std::string before = snapshot(path);
  StopToken stop;
  stop.requestStop();
  EXPECT_EQ(std::tuple(isBiconnected(path, 0), isBiconnected(path, 0, &stop)), std::tuple(false, true));
  checkConnectedNotUnevenlyBipartite(path, 0, &stop);
  EXPECT_EQ(snapshot(path), before);  // undecided, marks cleared
}

}  // namespace
}  // namespace hc
