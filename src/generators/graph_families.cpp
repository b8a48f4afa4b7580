// The eight generated families. Loops run in the documented order on purpose: the order of
// the joins is the order of every neighbour array, and the draws are the shared random
// sequence, so any reordering changes every graph a seed produces.
#include "generators/graph_families.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/diagnostics.h"
#include "core/random.h"
#include "generators/generation_control.h"

namespace hc {

namespace {

// Node pairs (i, j), i < j, with i below `row`: the progress of the pair loops.
int64_t pairsBefore(int64_t row, int64_t n) {
  return row * (2 * n - row - 1) / 2;
}

int32_t degreeOf(const Graph& graph, int32_t v) {
  return graph.nodes[static_cast<size_t>(v)].degree;
}

bool listsNeighbor(const Graph& graph, int32_t v, int32_t u) {
  const ConstructionList& list = graph.nodes[static_cast<size_t>(v)].adjacencyList;
  return std::find(list.begin(), list.end(), u) != list.end();
}

}  // namespace

int32_t nextWideRandom() {
  int32_t high = nextRandom();
  int32_t low = nextRandom();
  return high * 65536 + low;
}

void generateEdgeProbabilityGraph(Graph& graph, double p, GenerationTicker* ticker) {
  const int32_t n = graph.howManyNodes;
  if (graph.printLevel >= 1) {
    diagnostic("Graph type: Random ", n, "-Node Graph with edge probability ", p, ".\n");
  }
  const int32_t threshold = static_cast<int32_t>(p * 32767.0);
  for (int32_t i = 0; i < n - 1; ++i) {
    if (!generationTick(ticker, pairsBefore(i, n), pairsBefore(n, n))) return;
    for (int32_t j = i + 1; j < n; ++j) {
      if (nextRandom() < threshold) graph.addEdge(i, j);
    }
  }
}

int64_t generateRegularGraph(Graph& graph, int32_t d, int64_t maxDraws, GenerationTicker* ticker) {
  const int32_t n = graph.howManyNodes;
  graph.regularDegree = d;
  if (graph.printLevel >= 1) diagnostic("Graph type: Random ", d, "-Regular ", n, "-Node Graph.\n");
  if (n <= 0) return 1;
  const int64_t attemptLimit = 100 * static_cast<int64_t>(n);
  int64_t draws = 0;
  for (int64_t pass = 1;; ++pass) {
    for (int32_t i = 0; i < n; ++i) {
      if (!generationTick(ticker, i, n)) return 0;
      if (degreeOf(graph, i) >= d) continue;
      const int32_t need = d - degreeOf(graph, i);
      for (int32_t attempt = 0; attempt < need; ++attempt) {
        int32_t j = nextWideRandom() % n;
        int64_t counter = 1;
        ++draws;
        bool accepted = true;
        while (!(j > i && !graph.isAdjacentByList(i, j) && degreeOf(graph, j) != d)) {
          j = nextWideRandom() % n;
          ++counter;
          ++draws;
          if ((counter & 0xFFFF) == 0 && ticker != nullptr && ticker->stopRequested()) return 0;
          if (counter >= attemptLimit) {
            accepted = false;
            break;
          }
        }
        if (!accepted) continue;
        graph.addEdge(i, j);
        if (degreeOf(graph, i) > d || degreeOf(graph, j) > d) {
          diagnostic("###Their degrees are ", degreeOf(graph, i), " and ", degreeOf(graph, j), "\n");
        }
      }
    }
    bool complete = true;
    for (int32_t i = 0; i < n && complete; ++i) complete = degreeOf(graph, i) >= d;
    if (complete) return pass;
    // A node ran out of higher partners: start the whole graph again.
    for (Node& node : graph.nodes) {
      node.adjacencyList.clear();
      node.degree = 0;
    }
    graph.howManyEdges = 0;
    if (maxDraws > 0 && draws >= maxDraws) return 0;
  }
}

void generateRandomEdgesGraph(Graph& graph, int32_t m, GenerationTicker* ticker) {
  const int32_t n = graph.howManyNodes;
  if (graph.printLevel >= 1) diagnostic("Graph type: Random Graph on ", n, " Nodes and ", m, " Edges.\n");
  // One 15-bit draw cannot name a node above 32767; bigger graphs take the wide draw.
  const bool wide = n > 32768;
  // Dense requests draw most pairs many times over; a bit per node pair (up to 32 MB)
  // answers "already joined?" at once instead of scanning ever longer lists. The
  // decisions, and so the graph, are the same either way.
  const int64_t pairs = static_cast<int64_t>(n) * (n - 1) / 2;
  const bool usePairBits = m > 0 && pairs <= (int64_t{1} << 28);
  std::vector<bool> joinedPair(usePairBits ? static_cast<size_t>(pairs) : 0, false);
  auto pairIndex = [n](int64_t a, int64_t b) {
    if (a > b) std::swap(a, b);
    return static_cast<size_t>(a * (2 * static_cast<int64_t>(n) - a - 1) / 2 + (b - a - 1));
  };
  if (usePairBits) {
    for (int32_t a = 0; a < n; ++a) {
      for (int32_t b : graph.nodes[static_cast<size_t>(a)].adjacencyList) joinedPair[pairIndex(a, b)] = true;
    }
  }
  int32_t joined = 0;
  while (joined < m) {
    if (!generationTick(ticker, joined, m)) return;
    int32_t u = (wide ? nextWideRandom() : nextRandom()) % n;
    int32_t v = (wide ? nextWideRandom() : nextRandom()) % n;
    if (u == v) continue;
    if (usePairBits) {
      if (joinedPair[pairIndex(u, v)]) continue;
      joinedPair[pairIndex(u, v)] = true;
    } else if (graph.isAdjacentByList(u, v)) {
      continue;
    }
    graph.addEdge(u, v);
    ++joined;
  }
}

void generateToroidalGrid(Graph& graph, int32_t rows, int32_t columns, GenerationTicker* ticker) {
  if (graph.printLevel >= 1) {
    diagnostic("Graph type: Toroidal Grid with ", rows, " rows and ", columns, " columns.\n");
  }
  const int32_t total = rows * columns;
  for (int32_t k = 0; k < total; ++k) {
    if (!generationTick(ticker, k, total)) return;
    const int32_t row = k / columns;
    const int32_t col = k % columns;
    const int32_t right = col < columns - 1 ? k + 1 : k - columns + 1;
    const int32_t down = row < rows - 1 ? k + columns : col;
    graph.addEdge(k, right);
    graph.addEdge(k, down);
  }
}

void generateKnightsTourGraph(Graph& graph, int32_t rows, int32_t columns, GenerationTicker* ticker) {
  if (graph.printLevel >= 1) {
    diagnostic("Graph type: Knight's Tour Graph with ", rows, " rows and ", columns, " columns.\n");
  }
  const int32_t c = columns;
  for (int32_t row = 0; row < rows - 1; ++row) {  // the last row joins nothing new
    if (!generationTick(ticker, row, rows)) return;
    for (int32_t col = 0; col < c; ++col) {
      const int32_t k = row * c + col;
      const int32_t a = k + c + 2;      // (row+1, col+2)
      const int32_t b = k + 2 * c + 1;  // (row+2, col+1)
      const int32_t d = k + 2 * c - 1;  // (row+2, col-1)
      const int32_t e = k + c - 2;      // (row+1, col-2)
      const bool twoRowsBelow = row < rows - 2;
      if (col == 0) {
        graph.addEdge(k, a);
        if (twoRowsBelow) graph.addEdge(k, b);
      } else if (col == 1) {
        graph.addEdge(k, a);
        if (twoRowsBelow) {
          graph.addEdge(k, b);
          graph.addEdge(k, d);
        }
      } else if (col < c - 2) {
        graph.addEdge(k, a);
        if (twoRowsBelow) {
          graph.addEdge(k, b);
          graph.addEdge(k, d);
        }
        graph.addEdge(k, e);
      } else if (col == c - 2) {
        if (twoRowsBelow) {
          graph.addEdge(k, b);
          graph.addEdge(k, d);
        }
        graph.addEdge(k, e);
      } else {
        if (twoRowsBelow) graph.addEdge(k, d);
        graph.addEdge(k, e);
      }
    }
  }
}

void generateNCube(Graph& graph, int32_t dimension, GenerationTicker* ticker) {
  if (graph.printLevel >= 1) diagnostic("Graph type: N-Cube Graph with N = ", dimension, ".\n");
  graph.addEdge(0, 1);
  graph.addEdge(1, 2);
  graph.addEdge(2, 3);
  graph.addEdge(3, 0);
  for (int32_t t = 2; t < dimension; ++t) {
    const int32_t s = int32_t{1} << t;
    for (int32_t j = s; j < 2 * s; ++j) {
      if (!generationTick(ticker, j, graph.howManyNodes)) return;
      const int32_t i = j - s;
      // Node i's list does not change while j is joined (all new edges lie in the new half).
      for (int32_t position = 0; position < degreeOf(graph, i); ++position) {
        const int32_t u = graph.nodes[static_cast<size_t>(i)].findNthNeighbor(position);
        if (!listsNeighbor(graph, j, u + s)) graph.addEdge(j, u + s);
      }
      graph.addEdge(j, i);
    }
  }
}

void generateICCSGraph(Graph& graph, int32_t components, GenerationTicker* ticker) {
  if (graph.printLevel >= 1) diagnostic("Graph type: ICCS Graph with ", components, " components.\n");
  for (int32_t c = 0; c < components; ++c) {
    if (!generationTick(ticker, c, components)) return;
    const int32_t b = 14 * c;
    graph.addEdge(b, b + 1);
    graph.addEdge(b + 1, b + 2);
    for (int32_t a = b + 1; a <= b + 7; ++a) {
      for (int32_t w = b + 8; w <= b + 12; ++w) graph.addEdge(a, w);
    }
    for (int32_t w = b + 8; w <= b + 12; ++w) graph.addEdge(b + 13, w);
    graph.addEdge(b + 13, b + 7);
  }
  for (int32_t c = 0; c + 1 < components; ++c) graph.addEdge(14 * c + 13, 14 * c + 14);
  graph.addEdge(0, 14 * components - 1);
}

void generateCompleteGraph(Graph& graph, GenerationTicker* ticker) {
  const int32_t n = graph.howManyNodes;
  for (int32_t i = 0; i < n - 1; ++i) {
    if (!generationTick(ticker, pairsBefore(i, n), pairsBefore(n, n))) return;
    for (int32_t j = i + 1; j < n; ++j) graph.addEdge(i, j);
  }
}

}  // namespace hc
