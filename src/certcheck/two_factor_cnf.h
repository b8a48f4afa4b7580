// The CNF a certificate's SAT part is checked against: "the chosen edges give every node
// exactly two". The checker builds it itself, so a writer must have solved exactly these
// clauses (in any order; unit clauses aside): it includes this header, or builds them from
// this description:
//
//  - Edges: each edge {u, v} once, u < v, sorted by (u, v) (canonicalEdges); the k-th edge
//    (k = 0, 1, ...) is variable k + 1, true when the edge is chosen.
//  - Per node v, in ascending order, with x_1 < ... < x_d the variables of v's d edges:
//    d < 2:      the empty clause;
//    2 <= d <= 5 (direct): at least two: for each i, the clause of all x_j with j != i;
//                 at most two: for each i < j < k, the clause (-x_i -x_j -x_k);
//    d >= 6 (a sequential counter): new variables a_i ("one of x_1..x_i chosen") and b_i
//       ("two of x_1..x_i chosen") for i = 2..d-1, numbered after every edge variable and
//       after the counters of the nodes before v, in the order a_2, b_2, a_3, b_3, ...;
//       a_1 stands for x_1 and b_1 for false (a literal -b_1 makes a clause true and is
//       dropped with it; a literal b_1 is left out). For i = 2..d-1:
//         (-a_{i-1} a_i) (-x_i a_i) (-a_i a_{i-1} x_i)
//         (-b_{i-1} b_i) (-a_{i-1} -x_i b_i) (-b_i b_{i-1} a_{i-1}) (-b_i b_{i-1} x_i)
//       at most two: (-b_{i-1} -x_i) for i = 3..d; at least two: (b_{d-1} a_{d-1}) (b_{d-1} x_d).
//  - A subtour clause of a node set S: every edge variable with exactly one end in S.
//  - The branch's decisions: the unit (x_e) for each forced edge, (-x_e) for each deleted one.
// Every Hamiltonian cycle gives a model (each a_i and b_i as named), so a refutation of these
// clauses proves that no Hamiltonian cycle exists.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

namespace hc::certcheck {

using Edge = std::pair<int32_t, int32_t>;

// The edges as (smaller, larger), sorted, each once, loops dropped. Every end must lie in
// 0..n-1 (the caller checks).
inline std::vector<Edge> canonicalEdges(std::span<const Edge> edges) {
  std::vector<Edge> out;
  out.reserve(edges.size());
  for (auto [u, v] : edges)
    if (u != v) out.emplace_back(std::min(u, v), std::max(u, v));
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

// The number of variables of the encoding below (edge variables and counters).
inline int64_t twoFactorVariables(int32_t n, std::span<const Edge> canonical) {
  std::vector<int64_t> degree(static_cast<size_t>(n), 0);
  for (auto [u, v] : canonical) {
    ++degree[static_cast<size_t>(u)];
    ++degree[static_cast<size_t>(v)];
  }
  int64_t variables = static_cast<int64_t>(canonical.size());
  for (int64_t d : degree)
    if (d >= 6) variables += 2 * (d - 2);
  return variables;
}

// Calls addClause(std::span<const int32_t>) for every clause of the encoding above over the
// canonical edges of a graph on n nodes; returns the number of variables.
template <class AddClause>
int32_t twoFactorCnf(int32_t n, std::span<const Edge> canonical, AddClause&& addClause) {
  std::vector<std::vector<int32_t>> incident(static_cast<size_t>(n));
  for (size_t k = 0; k < canonical.size(); ++k) {
    incident[static_cast<size_t>(canonical[k].first)].push_back(static_cast<int32_t>(k + 1));
    incident[static_cast<size_t>(canonical[k].second)].push_back(static_cast<int32_t>(k + 1));
  }
  int32_t next = static_cast<int32_t>(canonical.size()) + 1;
  std::vector<int32_t> clause;
  // kFalse stands for b_1: left out of a clause (the clauses with -b_1 are not made).
  constexpr int32_t kFalse = 0;
  auto emit = [&](std::initializer_list<int32_t> literals) {
    clause.clear();
    for (int32_t l : literals)
      if (l != kFalse) clause.push_back(l);
    addClause(std::span<const int32_t>(clause));
  };
  for (const std::vector<int32_t>& x : incident) {
    const size_t d = x.size();
    if (d < 2) {
      clause.clear();
      addClause(std::span<const int32_t>(clause));
    } else if (d <= 5) {
      for (size_t i = 0; i < d; ++i) {
        clause.clear();
        for (size_t j = 0; j < d; ++j)
          if (j != i) clause.push_back(x[j]);
        addClause(std::span<const int32_t>(clause));
      }
      for (size_t i = 0; i < d; ++i)
        for (size_t j = i + 1; j < d; ++j)
          for (size_t k = j + 1; k < d; ++k) emit({-x[i], -x[j], -x[k]});
    } else {
      int32_t a = x[0], b = kFalse;  // a_{i-1}, b_{i-1} (b_1 is false)
      for (size_t i = 1; i + 1 < d; ++i) {
        const int32_t xi = x[i], ai = next++, bi = next++;
        emit({-a, ai});
        emit({-xi, ai});
        emit({-ai, a, xi});
        if (b != kFalse) emit({-b, bi});
        emit({-a, -xi, bi});
        emit({-bi, b, a});
        emit({-bi, b, xi});
        if (b != kFalse) emit({-b, -xi});
        a = ai;
        b = bi;
      }
      emit({-b, -x[d - 1]});
      emit({b, a});
      emit({b, x[d - 1]});
    }
  }
  return next - 1;
}

}  // namespace hc::certcheck
