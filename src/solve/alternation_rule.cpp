#include "solve/alternation_rule.h"

#include <algorithm>
#include <queue>
#include <random>
#include <tuple>
#include <utility>

namespace hc {

namespace {

// The swaps' work, in neighbour entries read, per neighbour entry of the graph: the pair
// tests cost up to the square of a member's degree, which on a dense graph would be far
// more than the greedy pass (a node of degree 1,000 alone could cost a billion).
constexpr int64_t kSwapWorkPerEntry = 8;

// (1,2)-swaps until none is left or their work is spent: a member v with two non-adjacent
// outside neighbours whose only member neighbour is v is swapped for them; outside nodes
// with no member neighbour join at once.
void improveBySwaps(const Graph& graph, std::vector<uint8_t>& inSet, std::mt19937& rng) {
  const int32_t n = graph.howManyNodes;
  int64_t work = kSwapWorkPerEntry * (n + 2 * static_cast<int64_t>(graph.howManyEdges));
  std::vector<int32_t> tight(static_cast<size_t>(n), 0);  // member neighbours of each node
  for (int32_t v = 0; v < n; ++v) {
    if (!inSet[static_cast<size_t>(v)]) continue;
    const Node& nv = graph.node(v);
    for (int32_t i = 0; i < nv.degree; ++i) ++tight[static_cast<size_t>(nv.neighborArray[i])];
  }
  auto add = [&](int32_t v) {
    inSet[static_cast<size_t>(v)] = 1;
    const Node& nv = graph.node(v);
    for (int32_t i = 0; i < nv.degree; ++i) ++tight[static_cast<size_t>(nv.neighborArray[i])];
  };
  auto remove = [&](int32_t v) {
    inSet[static_cast<size_t>(v)] = 0;
    const Node& nv = graph.node(v);
    for (int32_t i = 0; i < nv.degree; ++i) --tight[static_cast<size_t>(nv.neighborArray[i])];
  };
  std::vector<int32_t> order(static_cast<size_t>(n));
  for (int32_t v = 0; v < n; ++v) order[static_cast<size_t>(v)] = v;
  std::vector<int32_t> candidates;
  for (bool improved = true; improved;) {
    improved = false;
    std::shuffle(order.begin(), order.end(), rng);
    for (int32_t v : order) {
      if (!inSet[static_cast<size_t>(v)]) {
        if (tight[static_cast<size_t>(v)] == 0) {
          add(v);
          improved = true;
        }
        continue;
      }
      const Node& nv = graph.node(v);
      work -= nv.degree;
      candidates.clear();
      for (int32_t i = 0; i < nv.degree; ++i) {
        int32_t u = nv.neighborArray[i];
        if (tight[static_cast<size_t>(u)] == 1) candidates.push_back(u);
      }
      bool swapped = false;
      for (size_t i = 0; i < candidates.size() && !swapped; ++i)
        for (size_t j = i + 1; j < candidates.size() && !swapped; ++j) {
          work -= graph.node(candidates[i]).degree;
          if (work < 0) return;
          if (graph.isAdjacent(candidates[i], candidates[j])) continue;
          remove(v);
          add(candidates[i]);
          add(candidates[j]);
          swapped = true;
        }
      improved = improved || swapped;
    }
  }
}

// Whether an independent set could make the rule act at all. A set S is met by
// sum of deg(v) over S distinct edges, at most all of them; so when every choice of n/2
// nodes already has degrees summing to the edge count or more, a set of half the nodes
// leaves no edge outside it and a larger one cannot exist, and the search can be skipped.
bool ruleCanAct(const Graph& graph) {
  const int32_t n = graph.howManyNodes;
  if (n < 2) return false;
  std::vector<int32_t> degrees(static_cast<size_t>(n));
  for (int32_t v = 0; v < n; ++v) degrees[static_cast<size_t>(v)] = graph.node(v).degree;
  const size_t half = static_cast<size_t>(n / 2);
  std::nth_element(degrees.begin(), degrees.begin() + static_cast<std::ptrdiff_t>(half), degrees.end());
  int64_t smallest = 0;  // the least degree sum of n / 2 nodes
  for (size_t i = 0; i < half; ++i) smallest += degrees[i];
  const int64_t edges = graph.howManyEdges;
  const bool canDelete = n % 2 == 0 && smallest < edges;
  const bool canRefute = smallest + degrees[half] <= edges;  // a set of n / 2 + 1 nodes
  return canDelete || canRefute;
}

// The greedy pass: smallest remaining degree first, ties by `rng`.
std::vector<uint8_t> greedyIndependentSet(const Graph& graph, std::mt19937& rng) {
  const int32_t n = graph.howManyNodes;
  std::vector<uint8_t> inSet(static_cast<size_t>(n), 0);
  std::vector<uint8_t> blocked(static_cast<size_t>(n), 0);
  std::vector<int32_t> remaining(static_cast<size_t>(n));
  using Entry = std::tuple<int32_t, uint32_t, int32_t>;  // remaining degree, tie-break, node
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  for (int32_t v = 0; v < n; ++v) {
    remaining[static_cast<size_t>(v)] = graph.node(v).degree;
    queue.emplace(graph.node(v).degree, static_cast<uint32_t>(rng()), v);
  }
  while (!queue.empty()) {
    auto [degree, tie, v] = queue.top();
    queue.pop();
    if (blocked[static_cast<size_t>(v)] || inSet[static_cast<size_t>(v)] ||
        degree != remaining[static_cast<size_t>(v)])
      continue;
    inSet[static_cast<size_t>(v)] = 1;
    const Node& nv = graph.node(v);
    for (int32_t i = 0; i < nv.degree; ++i) {
      int32_t u = nv.neighborArray[i];
      if (blocked[static_cast<size_t>(u)]) continue;
      blocked[static_cast<size_t>(u)] = 1;
      const Node& nu = graph.node(u);
      for (int32_t k = 0; k < nu.degree; ++k) {
        int32_t w = nu.neighborArray[k];
        if (blocked[static_cast<size_t>(w)] || inSet[static_cast<size_t>(w)]) continue;
        int32_t d = --remaining[static_cast<size_t>(w)];
        queue.emplace(d, static_cast<uint32_t>(rng()), w);
      }
    }
  }
  return inSet;
}

// Far below half: other tie-breaks and the swaps will not close the gap, so the rule is not
// for this graph (random cubic graphs, say).
bool farBelowHalf(int64_t size, int32_t n) {
  return 10 * size < 9 * (n / 2);
}

int64_t sizeOf(const std::vector<uint8_t>& inSet) {
  int64_t size = 0;
  for (uint8_t member : inSet) size += member;
  return size;
}

}  // namespace

std::vector<uint8_t> largeIndependentSet(const Graph& graph, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> inSet = greedyIndependentSet(graph, rng);
  improveBySwaps(graph, inSet, rng);
  return inSet;
}

// Whether the nodes fall into at most n / 2 cliques: the pairs of a greedy matching, a node
// it leaves over joining a pair whose ends are both its neighbours, or the pair's partner
// rematched to another left-over node. An independent set holds at most one node of each,
// so then none has more than half the nodes. On a dense graph this takes far less than the
// greedy pass (a few neighbours per node); its work is bounded by the neighbour entries.
bool fewCliquesCoverTheNodes(const Graph& graph) {
  const int32_t n = graph.howManyNodes;
  std::vector<int32_t> mate(static_cast<size_t>(n), -1);
  std::vector<uint8_t> inTriangle(static_cast<size_t>(n), 0);
  auto mateOf = [&](int32_t v) -> int32_t& { return mate[static_cast<size_t>(v)]; };
  int64_t work = n + 2 * static_cast<int64_t>(graph.howManyEdges);
  int64_t cliques = 0;
  for (int32_t v = 0; v < n; ++v) {
    if (mateOf(v) >= 0) continue;
    const Node& nv = graph.node(v);
    for (int32_t i = 0; i < nv.degree && mateOf(v) < 0; ++i) {
      const int32_t w = nv.neighborArray[i];
      if (w != v && mateOf(w) < 0) {
        mateOf(v) = w;
        mateOf(w) = v;
        ++cliques;
      }
    }
    work -= nv.degree;
  }
  for (int32_t u = 0; u < n && work > 0; ++u) {
    if (mateOf(u) >= 0) continue;
    const Node& nu = graph.node(u);
    bool placed = false;
    for (int32_t i = 0; i < nu.degree && !placed && work > 0; ++i) {
      const int32_t w = nu.neighborArray[i];
      const int32_t partner = mateOf(w);
      if (partner < 0 || inTriangle[static_cast<size_t>(w)] != 0) continue;
      const Node& np = graph.node(partner);
      work -= np.degree;
      for (int32_t k = 0; k < np.degree && !placed; ++k) {
        const int32_t x = np.neighborArray[k];
        if (x == u) {  // u, w and the partner: a triangle
          inTriangle[static_cast<size_t>(u)] = inTriangle[static_cast<size_t>(w)] = 1;
          inTriangle[static_cast<size_t>(partner)] = 1;
          mateOf(u) = w;  // placed, outside the matching
          placed = true;
        } else if (mateOf(x) < 0 && x != w) {  // u-w and partner-x instead of w-partner
          mateOf(u) = w;
          mateOf(w) = u;
          mateOf(partner) = x;
          mateOf(x) = partner;
          ++cliques;
          placed = true;
        }
      }
    }
  }
  for (int32_t v = 0; v < n; ++v) cliques += mateOf(v) < 0;
  return 2 * cliques <= n;
}

std::vector<int32_t> refutingIndependentSet(const Graph& graph, uint32_t seed) {
  std::vector<int32_t> members;
  if (!ruleCanAct(graph) || fewCliquesCoverTheNodes(graph)) return members;
  std::mt19937 rng(seed);
  std::vector<uint8_t> inSet = greedyIndependentSet(graph, rng);
  const int64_t size = sizeOf(inSet);
  if (farBelowHalf(size, graph.howManyNodes)) return members;
  if (2 * size <= graph.howManyNodes) improveBySwaps(graph, inSet, rng);
  for (int32_t v = 0; v < graph.howManyNodes; ++v)
    if (inSet[static_cast<size_t>(v)]) members.push_back(v);
  if (2 * static_cast<int64_t>(members.size()) <= graph.howManyNodes) members.clear();
  return members;
}

AlternationOutcome applyAlternationRule(Graph& graph, uint32_t seed, int32_t attempts,
                                        const StopToken* stop) {
  AlternationOutcome outcome;
  const int32_t n = graph.howManyNodes;
  const int32_t edgesBefore = graph.howManyEdges;
  if (graph.isHamiltonian != kUndecided || !ruleCanAct(graph)) return outcome;
  std::vector<std::pair<int32_t, int32_t>> outside;
  for (int32_t attempt = 0; attempt < attempts && graph.isHamiltonian == kUndecided && !stopRequested(stop);
       ++attempt) {
    std::vector<uint8_t> inSet = largeIndependentSet(graph, seed + static_cast<uint32_t>(attempt));
    const int64_t size = sizeOf(inSet);
    if (2 * size > n) {
      graph.isHamiltonian = kNotHamiltonian;
      for (int32_t v = 0; v < n; ++v)
        if (inSet[static_cast<size_t>(v)]) outcome.refutingSet.push_back(v);
      break;
    }
    if (farBelowHalf(size, n)) break;
    if (2 * size < n) continue;
    outside.clear();
    for (int32_t v = 0; v < n; ++v) {
      if (inSet[static_cast<size_t>(v)]) continue;
      const Node& nv = graph.node(v);
      for (int32_t i = 0; i < nv.degree; ++i) {
        int32_t u = nv.neighborArray[i];
        if (u > v && !inSet[static_cast<size_t>(u)]) outside.emplace_back(v, u);
      }
    }
    if (outside.empty()) continue;
    ++outcome.usefulSets;
    std::vector<int32_t>& members = outcome.halfSets.emplace_back();
    for (int32_t v = 0; v < n; ++v)
      if (inSet[static_cast<size_t>(v)]) members.push_back(v);
    for (auto [a, b] : outside) {
      if (graph.isHamiltonian != kUndecided) break;
      if (!graph.isAdjacent(a, b)) continue;  // the pruning took it already
      if (graph.isUncuttableEdge(a, b)) {
        graph.isHamiltonian = kNotHamiltonian;
        break;
      }
      graph.cut(a, b);
    }
  }
  outcome.deletedEdges = edgesBefore - graph.howManyEdges;
  return outcome;
}

}  // namespace hc
