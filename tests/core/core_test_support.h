// Helpers shared by the solver-graph tests: building small graphs from edge lists and
// random graphs, a full snapshot of everything the solvers read (so "identical" means
// identical, neighbour order included), and capturing the diagnostic stream.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/diagnostics.h"
#include "core/graph.h"
#include "core/graph_invariants.h"
#include "core/random.h"
#include "support/test_graphs.h"

namespace hc::testing {

// K(n): every degree stays high, so forcing a few edges starts no degree-2 cascade.
inline Graph completeGraph(int32_t n) { return makeGraph(n, completeEdges(0, n)); }

// A random graph on n nodes whose average degree is about `degree`, with every node
// joined to at least two others (so cuts soon bring nodes to degree 2 and start cascades).
inline Graph makeRandomGraph(std::mt19937& rng, int32_t n, double degree) {
  Graph graph(n, 1);
  std::vector<std::vector<char>> joined(static_cast<size_t>(n), std::vector<char>(static_cast<size_t>(n), 0));
  auto add = [&](int32_t a, int32_t b) {
    if (a == b || joined[static_cast<size_t>(a)][static_cast<size_t>(b)]) return;
    joined[static_cast<size_t>(a)][static_cast<size_t>(b)] = joined[static_cast<size_t>(b)][static_cast<size_t>(a)] = 1;
    graph.addEdge(a, b);
  };
  for (int32_t v = 0; v < n; ++v) add(v, (v + 1) % n);  // a ring keeps every degree at 2 or more
  std::bernoulli_distribution coin(std::max(0.0, (degree - 2.0) / std::max(1, n - 1)));
  for (int32_t a = 0; a < n; ++a) {
    for (int32_t b = a + 1; b < n; ++b) {
      if (coin(rng)) add(a, b);
    }
  }
  graph.finishConstruction();
  return graph;
}

// Everything a solver reads from a graph, as text: equal snapshots mean equal graphs.
inline std::string snapshot(const Graph& g, bool withRandomState = false) {
  std::ostringstream out;
  out << "isHamiltonian " << g.isHamiltonian << " nodes " << g.howManyNodes << " edges " << g.howManyEdges
      << " uncuttable " << g.howManyUncuttable << " chains " << g.howManyChains << "/" << g.maxChains << " hubs "
      << g.howManyHubs << " rings " << g.howManyRings << " queue " << g.pruningQueue.count() << "\n";
  for (const Node& n : g.nodes) {
    out << n.id << ": deg " << n.degree << " [";
    for (int32_t i = 0; i < n.degree; ++i) out << (i ? " " : "") << n.neighborArray[i];
    out << "] forced " << n.howManyUncuttable << " (" << n.uncuttable1 << "," << n.uncuttable2 << ") head "
        << n.isHead << " chain " << n.whichChain << " hub " << n.isHub << " queued " << n.inLightningQueue
        << n.inHeadHunterQueue << " mark " << n.mark << "\n";
  }
  for (int32_t c = 0; c < g.howManyChains; ++c) {
    const Chain& chain = g.chains[static_cast<size_t>(c)];
    out << "chain " << c << ": " << chain.head1 << "-" << chain.head2 << " members " << chain.members << " ring "
        << chain.isRing << "\n";
  }
  if (withRandomState) out << "random " << randomState() << "\n";
  return out.str();
}

// The first line where two snapshots differ, for readable failures.
inline std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream e(expected);
  std::istringstream a(actual);
  std::string le;
  std::string la;
  int line = 1;
  while (true) {
    bool moreE = static_cast<bool>(std::getline(e, le));
    bool moreA = static_cast<bool>(std::getline(a, la));
    if (!moreE && !moreA) return "";
    if (!moreE || !moreA || le != la) {
      return "line " + std::to_string(line) + ": expected \"" + (moreE ? le : "<end>") + "\" got \"" +
             (moreA ? la : "<end>") + "\"";
    }
    ++line;
  }
}

// The unforced edges a-b (a < b) of a graph, in node and array order.
inline EdgeList unforcedEdges(const Graph& g) {
  EdgeList edges;
  for (const Node& n : g.nodes) {
    for (int32_t i = 0; i < n.degree; ++i) {
      int32_t u = n.neighborArray[i];
      if (n.id < u && !n.isForcedNeighbor(u) && !g.node(u).isForcedNeighbor(n.id)) edges.emplace_back(n.id, u);
    }
  }
  return edges;
}

// Empties the pruning queue without processing it, clearing the queued flags; returns the
// (node, type) items in queue order.
inline std::vector<std::pair<int32_t, int16_t>> drainQueue(Graph& g) {
  std::vector<std::pair<int32_t, int16_t>> items;
  while (!g.pruningQueue.empty()) {
    PruningItem item = g.pruningQueue.pop();
    items.emplace_back(item.id, item.Type);
    g.node(item.id).inLightningQueue = 0;
    g.node(item.id).inHeadHunterQueue = 0;
  }
  return items;
}

// Captures the diagnostic stream for the lifetime of the object.
class CapturedDiagnostics {
 public:
  CapturedDiagnostics() : scope_(stream_) {}
  std::string text() const { return stream_.str(); }
  void clear() { stream_.str(""); }

 private:
  std::ostringstream stream_;
  ScopedDiagnosticStream scope_;
};

#define EXPECT_INVARIANTS(graph)                                  \
  do {                                                            \
    std::string problem_ = ::hc::checkInvariants(graph);          \
    EXPECT_EQ(problem_, "") << "graph invariants are broken";     \
  } while (0)

}  // namespace hc::testing
