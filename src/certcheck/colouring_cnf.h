// The CNF a certificate's colouring part is checked against: "the edges hold two disjoint
// perfect matchings". A Hamiltonian cycle on an even number of nodes gives them (its edges
// alternately in matching 1 and 2), so there a refutation proves that no Hamiltonian cycle
// exists; on a cubic graph the formula says "3-edge-colourable". The checker builds these
// clauses itself; a writer includes this header, or builds them from this description:
//
//  - Edges as in two_factor_cnf.h (canonical, the k-th edge k = 0, 1, ...); variable 2k + 1
//    is "edge k in matching 1", 2k + 2 "edge k in matching 2".
//  - Per edge k, in order: (-(2k+1) -(2k+2)).
//  - Per node v, in ascending order, with e_1 < ... < e_d its edges, for matching 1 and then
//    matching 2 (variable m_i of e_i): at least one (m_1 ... m_d); at most one: (-m_i -m_j)
//    for each i < j, in order.
//  - Node 0, with the same e_1 < ... < e_d: its matching-1 edge comes first (swapping the two
//    matchings keeps a model a model): (-(2e_i+2) -(2e_j+1)) for each i < j.
//  - The branch's decisions: (2k+1 2k+2) for each forced edge, (-(2k+1)) and (-(2k+2)) for
//    each deleted one.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "certcheck/two_factor_cnf.h"

namespace hc::certcheck {

// A formula beyond this many clauses is refused (the at-most-one clauses grow with the
// square of the degree; the part is meant for sparse graphs).
inline constexpr int64_t kMaxColouringClauses = int64_t{1} << 24;

// The number of clauses of the encoding above, before the branch's decisions.
inline int64_t colouringClauses(int32_t n, std::span<const Edge> canonical) {
  std::vector<int64_t> degree(static_cast<size_t>(n), 0);
  for (auto [u, v] : canonical) ++degree[static_cast<size_t>(u)], ++degree[static_cast<size_t>(v)];
  int64_t clauses = static_cast<int64_t>(canonical.size());
  for (int64_t d : degree) clauses += 2 + d * (d - 1);
  if (n > 0) clauses += degree[0] * (degree[0] - 1) / 2;
  return clauses;
}

// Calls addClause(std::span<const int32_t>) for every clause of the encoding above over the
// canonical edges of a graph on n nodes (without the branch's decisions).
template <class AddClause>
void colouringCnf(int32_t n, std::span<const Edge> canonical, AddClause&& addClause) {
  std::vector<std::vector<int32_t>> incident(static_cast<size_t>(n));
  std::vector<int32_t> clause;
  for (size_t k = 0; k < canonical.size(); ++k) {
    incident[static_cast<size_t>(canonical[k].first)].push_back(static_cast<int32_t>(k));
    incident[static_cast<size_t>(canonical[k].second)].push_back(static_cast<int32_t>(k));
    clause = {-static_cast<int32_t>(2 * k + 1), -static_cast<int32_t>(2 * k + 2)};
    addClause(std::span<const int32_t>(clause));
  }
  for (const std::vector<int32_t>& edges : incident)
    for (int32_t matching = 1; matching <= 2; ++matching) {
      clause.clear();
      for (int32_t e : edges) clause.push_back(2 * e + matching);
      addClause(std::span<const int32_t>(clause));
      for (size_t i = 0; i < edges.size(); ++i)
        for (size_t j = i + 1; j < edges.size(); ++j) {
          clause = {-(2 * edges[i] + matching), -(2 * edges[j] + matching)};
          addClause(std::span<const int32_t>(clause));
        }
    }
  if (n == 0) return;
  const std::vector<int32_t>& first = incident[0];
  for (size_t i = 0; i < first.size(); ++i)
    for (size_t j = i + 1; j < first.size(); ++j) {
      clause = {-(2 * first[i] + 2), -(2 * first[j] + 1)};
      addClause(std::span<const int32_t>(clause));
    }
}

}  // namespace hc::certcheck
