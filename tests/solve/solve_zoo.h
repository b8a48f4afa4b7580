// The solve zoo: a few hundred small graphs of every kind (random, cubic, bipartite, two
// blocks sharing a cut node), 3 to 12 nodes, the same every time; the solve tests and the
// certificate tests run their properties over it.
#pragma once

#include <cstdio>
#include <random>
#include <utility>
#include <vector>

#include "support/test_graphs.h"

namespace hc::testing {

inline std::vector<std::pair<int32_t, EdgeList>> zoo() {
  std::mt19937 rng(20261206);
  std::vector<std::pair<int32_t, EdgeList>> graphs;
  for (int32_t round = 0; round < 60; ++round) {
    int32_t n = 3 + round % 10;
    graphs.emplace_back(n, randomEdges(rng, n, 0.3 + 0.05 * (round % 9)));
    const int32_t even = 4 + 2 * (round % 5);
    graphs.emplace_back(even, randomRegularEdges(rng, even, 3));
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

// The connected cubic graphs on 16 nodes from nauty-geng (graph6 lines of one byte per
// six bits), or none when it is not installed.
inline std::vector<std::pair<int32_t, EdgeList>> cubicCensus() {
  std::vector<std::pair<int32_t, EdgeList>> graphs;
  FILE* in = popen("nauty-geng -q -c -d3 -D3 16 2>/dev/null", "r");
  if (in == nullptr) return graphs;
  for (char buffer[64]; std::fgets(buffer, sizeof buffer, in) != nullptr;) {
    const int32_t n = buffer[0] - 63;
    EdgeList edges;
    int32_t bit = 0;
    for (int32_t v = 1; v < n; ++v)
      for (int32_t u = 0; u < v; ++u, ++bit)
        if ((buffer[1 + bit / 6] - 63) >> (5 - bit % 6) & 1) edges.emplace_back(u, v);
    graphs.emplace_back(n, std::move(edges));
  }
  pclose(in);
  return graphs;
}

}  // namespace hc::testing
