// The colouring fills against the repeated index-order sweeps they replaced (kept here as
// the reference for connectivity and bipartiteness): the same verdicts, results, messages
// and cleared marks on random graphs, graphs of many components and long paths and cycles
// with shuffled labels.
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "checks/necessary_conditions.h"
#include "core/diagnostics.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

struct SweepCounts {
  int32_t colour1 = 0, colour2 = 0;
  bool sameColourEdge = false;
};

void sweepColouring(Graph& g, SweepCounts& c) {
  for (bool changed = true; changed;) {
    changed = false;
    for (Node& n : g.nodes) {
      if (n.mark == 0) continue;
      const int32_t other = n.mark == 1 ? 2 : 1;
      for (int32_t k = 0; k < n.degree; ++k) {
        Node& w = g.node(n.neighborArray[k]);
        if (w.mark == 0) {
          w.mark = other;
          ++(other == 1 ? c.colour1 : c.colour2);
          changed = true;
        } else if (w.mark == n.mark) {
          c.sameColourEdge = true;
        }
      }
    }
  }
}

// The three fills as they were, writing their verbose lines to `out`; returns each result.
std::string sweepReference(Graph& g, bool& connected, bool& bipartite) {
  std::ostringstream out;
  const int32_t n = g.howManyNodes;
  auto fromZero = [&] {
    SweepCounts c;
    g.nodes[0].mark = 1;
    c.colour1 = 1;
    sweepColouring(g, c);
    for (Node& v : g.nodes) v.mark = 0;
    return c;
  };
  out << "About to check if the graph is bipartite.\n";
  SweepCounts all;
  for (int32_t start = 0; all.colour1 + all.colour2 < n; ++start) {
    if (g.nodes[static_cast<size_t>(start)].mark != 0) continue;
    g.nodes[static_cast<size_t>(start)].mark = 1;
    ++all.colour1;
    sweepColouring(g, all);
  }
  bipartite = true;
  for (const Node& v : g.nodes)
    for (int32_t k = 0; k < v.degree; ++k) bipartite = bipartite && g.node(v.neighborArray[k]).mark != v.mark;
  for (Node& v : g.nodes) v.mark = 0;
  out << "About to check if the graph is connected and not unevenly bipartite.\n";
  SweepCounts c = fromZero();
  connected = c.colour1 + c.colour2 == n;
  out << (connected ? "The graph is connected and not unevenly bipartite.\n" : "The graph is not connected.\n");
  out << "About to check if the graph is connected and not unevenly bipartite.\n";
  if (!connected) {
    out << "The graph is not connected.\n";
  } else if (!c.sameColourEdge && c.colour1 != c.colour2) {
    out << "The graph is unevenly bipartite.\n";
  } else {
    out << "The graph is connected and not unevenly bipartite.\n";
  }
  return out.str();
}

// Random components (each a random graph, path or cycle), labels shuffled over the whole.
Graph randomCase(std::mt19937& rng, int trial) {
  const int32_t components = trial % 3 == 0 ? 1 : 1 + static_cast<int32_t>(rng() % 60);
  EdgeList edges;
  int32_t n = 0;
  for (int32_t c = 0; c < components; ++c) {
    const int32_t size = 1 + static_cast<int32_t>(rng() % (components == 1 ? 600 : 12));
    const auto kind = rng() % 3;  // a random graph, a cycle, a path
    EdgeList part = kind == 0 ? randomEdges(rng, size, 0.1 + 0.1 * static_cast<double>(rng() % 6))
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

TEST(FillReference, SameResultsAndMessagesAsTheSweeps) {
  std::mt19937 rng(2024);
  for (int trial = 0; trial < 150; ++trial) {
    Graph g = randomCase(rng, trial);
    Graph reference(g);
    bool connected = false, bipartite = false;
    const std::string expected = sweepReference(reference, connected, bipartite);
    std::ostringstream out;
    ScopedDiagnosticStream capture(out);
    EXPECT_EQ(isBipartite(g, 1), bipartite) << trial;
    EXPECT_EQ(isConnected(g, 1), connected) << trial;
    g.isHamiltonian = kUndecided;
    checkConnectedNotUnevenlyBipartite(g, 1);
    EXPECT_EQ(out.str(), expected) << trial;
    const bool passes = expected.ends_with("The graph is connected and not unevenly bipartite.\n");
    EXPECT_EQ(g.isHamiltonian, passes ? kUndecided : kNotHamiltonian) << trial;
    for (const Node& v : g.nodes) ASSERT_EQ(v.mark, 0) << trial;
  }
}

}  // namespace
}  // namespace hc
