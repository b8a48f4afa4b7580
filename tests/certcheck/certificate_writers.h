// A case-split certificate writer for the checker's tests, sharing nothing with the checker
// but the documented CNF: its own naive propagation, and now and then each other step kind
// (frontier, cut, alternation, fragment with sub-proofs, a SAT part from its own DPLL).
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "certcheck/certificate_checker.h"
#include "certcheck/two_factor_cnf.h"
#include "support/test_graphs.h"

namespace hc::testing {

using certcheck::Edge;

inline certcheck::CheckResult check(int32_t n, const std::vector<Edge>& edges, const std::string& text) {
  std::istringstream in(text);
  return certcheck::checkCertificate(n, edges, in);
}

inline std::string header(int32_t n, const std::vector<Edge>& edges) {
  return "hamcycles-certificate 1\ngraph " + std::to_string(n) + " " +
         std::to_string(certcheck::canonicalEdges(edges).size()) + "\n";
}

// The checker's propagation rules, run naively to a fixpoint over the canonical edges;
// status 0 open, 1 forced, 2 deleted. True when the branch is contradictory.
inline bool naivePropagate(int32_t n, const std::vector<Edge>& edges, std::vector<int>& status) {
  if (n < 3) return true;
  for (bool changed = true; changed;) {
    changed = false;
    std::vector<int32_t> left(n, 0), forced(n, 0), root(n), size(n, 1);
    std::iota(root.begin(), root.end(), 0);
    auto find = [&](int32_t v) {
      while (root[v] != v) v = root[v];
      return v;
    };
    for (size_t e = 0; e < edges.size(); ++e) {
      auto [u, v] = edges[e];
      if (status[e] != 2) ++left[u], ++left[v];
      if (status[e] != 1) continue;
      ++forced[u], ++forced[v];
      const int32_t a = find(u), b = find(v);
      if (a == b) {
        if (size[a] < n) return true;
        continue;
      }
      root[a] = b;
      size[b] += size[a];
    }
    for (int32_t v = 0; v < n; ++v)
      if (left[v] < 2 || forced[v] > 2) return true;
    for (size_t e = 0; e < edges.size(); ++e) {
      auto [u, v] = edges[e];
      if (status[e] != 0) continue;
      const bool closes = find(u) == find(v) && size[find(u)] < n;
      if (closes || (forced[u] == 2 && left[u] > 2) || (forced[v] == 2 && left[v] > 2)) {
        status[e] = 2;
        changed = true;
      } else if ((left[u] == 2 && forced[u] < 2) || (left[v] == 2 && forced[v] < 2)) {
        status[e] = 1;
        changed = true;
      }
      if (changed) break;  // one decision at a time: the counts are stale after it
    }
  }
  return false;
}

// Unit propagation to a fixpoint over `clauses` (values by variable: 1, -1, 0 open); false
// on a conflict.
inline bool naiveUnits(const std::vector<std::vector<int32_t>>& clauses, std::vector<int>& value) {
  for (bool changed = true; changed;) {
    changed = false;
    for (const std::vector<int32_t>& c : clauses) {
      int open = 0, last = 0;
      bool satisfied = false;
      for (int32_t l : c) {
        const int v = l > 0 ? value[l] : -value[-l];
        satisfied = satisfied || v == 1;
        if (v == 0) ++open, last = l;
      }
      if (satisfied) continue;
      if (open == 0) return false;
      if (open == 1) value[std::abs(last)] = last > 0 ? 1 : -1, changed = true;
    }
  }
  return true;
}

// A DPLL search over the edge variables whose refutation is written as RUP lemmas in
// post-order (each closed decision path negated); a 2-factor of several cycles gets the
// subtour clause of node 0's cycle. False when it meets a Hamiltonian cycle.
inline bool writeDpll(int32_t n, const std::vector<Edge>& edges, std::vector<std::vector<int32_t>>& clauses,
                      std::vector<int> value, std::vector<int32_t>& path, std::ostream& out) {
  if (!naiveUnits(clauses, value)) return true;
  size_t e = 0;
  while (e < edges.size() && value[e + 1] != 0) ++e;
  if (e == edges.size()) {  // a 2-factor: node 0's cycle
    std::vector<char> in(n, 0);
    in[0] = 1;
    for (bool grew = true; grew;) {
      grew = false;
      for (size_t k = 0; k < edges.size(); ++k)
        if (value[k + 1] == 1 && in[edges[k].first] != in[edges[k].second])
          in[edges[k].first] = in[edges[k].second] = 1, grew = true;
    }
    if (std::count(in.begin(), in.end(), 1) == n) return false;
    std::vector<int32_t> leaving;
    out << "subtour";
    for (int32_t v = 0; v < n; ++v)
      if (in[v]) out << " " << v;
    out << "\n";
    for (size_t k = 0; k < edges.size(); ++k)
      if (in[edges[k].first] != in[edges[k].second]) leaving.push_back(static_cast<int32_t>(k + 1));
    clauses.push_back(leaving);
    return true;
  }
  for (const int32_t literal : {static_cast<int32_t>(e + 1), -static_cast<int32_t>(e + 1)}) {
    std::vector<int> child = value;
    child[e + 1] = literal > 0 ? 1 : -1;
    path.push_back(literal);
    if (!writeDpll(n, edges, clauses, child, path, out)) return false;
    for (int32_t l : path) out << -l << " ";
    out << "0\n";
    path.pop_back();
  }
  return true;
}

inline void writeCaseSplits(int32_t n, const std::vector<Edge>& edges, std::vector<int> status,
                            std::mt19937& rng, std::ostream& out, bool otherLeaves);

inline std::string caseSplitBody(int32_t n, const std::vector<Edge>& edges, std::mt19937& rng) {
  std::ostringstream out;
  writeCaseSplits(n, edges, std::vector<int>(edges.size(), 0), rng, out, true);
  return out.str();
}

// A fragment step when some set S has exactly three edges left to the rest and none of its
// three graphs is Hamiltonian (the step's sub-proofs could not hold otherwise).
inline bool writeFragment(int32_t n, const std::vector<Edge>& edges, const std::vector<int>& status,
                          std::mt19937& rng, std::ostream& out) {
  const uint32_t offset = rng();
  for (uint32_t k = 0; k < (1u << n); ++k) {
    const uint32_t mask = (k + offset) & ((1u << n) - 1);
    const int size = std::popcount(mask);
    if (size < 2 || size > n - 2) continue;
    std::vector<int32_t> set;
    for (int32_t v = 0; v < n; ++v)
      if (mask >> v & 1u) set.push_back(v);
    std::shuffle(set.begin(), set.end(), rng);
    std::vector<int32_t> local(n, -1);
    for (size_t i = 0; i < set.size(); ++i) local[set[i]] = static_cast<int32_t>(i);
    std::vector<std::pair<int32_t, int32_t>> crossing;  // (inner end's place, outer end)
    std::vector<Edge> inside;
    for (size_t e = 0; e < edges.size(); ++e) {
      auto [u, v] = edges[e];
      if (status[e] == 2) continue;
      if ((local[u] >= 0) != (local[v] >= 0))
        crossing.emplace_back(local[u] >= 0 ? local[u] : local[v], local[u] >= 0 ? v : u);
      else if (local[u] >= 0)
        inside.emplace_back(local[u], local[v]);
    }
    if (crossing.size() != 3) continue;
    std::sort(crossing.begin(), crossing.end());
    std::vector<std::vector<Edge>> parts;
    for (auto [i, j] : {std::pair(0, 1), std::pair(0, 2), std::pair(1, 2)}) {
      std::vector<Edge> part = inside;
      part.emplace_back(crossing[i].first, size);
      part.emplace_back(crossing[j].first, size);
      part = certcheck::canonicalEdges(part);
      if (hasHamiltonianCycle(size + 1, EdgeSet(part.begin(), part.end()))) return false;
      parts.push_back(part);
    }
    out << "fragment";
    for (int32_t v : set) out << " " << v;
    out << "\n";
    for (const std::vector<Edge>& part : parts) out << caseSplitBody(size + 1, part, rng);
    return true;
  }
  return false;
}

// An alternation step when some set of half the nodes is independent in the edges left and
// the step deletes an edge; the branch goes on after it.
inline bool writeAlternation(int32_t n, const std::vector<Edge>& edges, std::vector<int>& status,
                             std::mt19937& rng, std::ostream& out) {
  if (n % 2 != 0) return false;
  const uint32_t offset = rng();
  for (uint32_t k = 0; k < (1u << n); ++k) {
    const uint32_t mask = (k + offset) & ((1u << n) - 1);
    if (std::popcount(mask) != n / 2) continue;
    bool independent = true, deletes = false;
    for (size_t e = 0; e < edges.size(); ++e) {
      const bool uIn = mask >> edges[e].first & 1u, vIn = mask >> edges[e].second & 1u;
      if (status[e] == 2) continue;
      independent = independent && !(uIn && vIn);
      deletes = deletes || (!uIn && !vIn);
    }
    if (!independent || !deletes) continue;
    out << "alternation";
    for (int32_t v = 0; v < n; ++v)
      if (mask >> v & 1u) out << " " << v;
    out << "\n";
    for (size_t e = 0; e < edges.size(); ++e)
      if (!(mask >> edges[e].first & 1u) && !(mask >> edges[e].second & 1u)) {
        if (status[e] == 1) return out << "contradiction\n", true;  // a forced edge deleted
        status[e] = 2;
      }
    writeCaseSplits(n, edges, status, rng, out, true);
    return true;
  }
  return false;
}

// A SAT part for a branch of few open edges: the documented CNF with the branch's decisions
// as units, refuted by the writer's DPLL (a Hamiltonian branch gets a false "0").
inline bool writeSatPart(int32_t n, const std::vector<Edge>& edges, const std::vector<int>& status,
                         std::ostream& out) {
  if (std::count(status.begin(), status.end(), 0) > 12) return false;
  std::vector<std::vector<int32_t>> clauses;
  const int32_t variables = certcheck::twoFactorCnf(
      n, edges, [&clauses](std::span<const int32_t> c) { clauses.emplace_back(c.begin(), c.end()); });
  std::vector<int> value(static_cast<size_t>(variables) + 1, 0);
  for (size_t e = 0; e < edges.size(); ++e)
    if (status[e] != 0)
      clauses.push_back({status[e] == 1 ? static_cast<int32_t>(e + 1) : -static_cast<int32_t>(e + 1)});
  std::vector<int32_t> path;
  out << "sat\n";
  writeDpll(n, edges, clauses, value, path, out);
  out << "0\nend\n";
  return true;
}

// Writes a case-split certificate: split on open edges (in a random branch order) until
// the naive propagation contradicts; now and then closes a branch with a frontier leaf or,
// when the branch's edges fall apart, a cut leaf. A branch that ends in a Hamiltonian cycle
// gets a (wrong) contradiction leaf, so the text is a certificate exactly when the graph
// has no Hamiltonian cycle.
inline void writeCaseSplits(int32_t n, const std::vector<Edge>& edges, std::vector<int> status,
                            std::mt19937& rng, std::ostream& out, bool otherLeaves) {
  if (naivePropagate(n, edges, status)) {
    out << "contradiction\n";
    return;
  }
  if (otherLeaves && rng() % 6 == 0) {
    std::vector<int32_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    out << "frontier";
    for (int32_t v : order) out << " " << v;
    out << "\n";
    return;
  }
  if (otherLeaves && rng() % 8 == 0 && writeSatPart(n, edges, status, out)) return;
  if (otherLeaves && rng() % 4 == 0 && writeFragment(n, edges, status, rng, out)) return;
  if (otherLeaves && rng() % 4 == 0 && writeAlternation(n, edges, status, rng, out)) return;
  // Node 0's component in the edges left, less one of them (a bridge, or none).
  const bool tryCut = otherLeaves && rng() % 3 == 0;
  for (size_t bridge = 0; tryCut && bridge <= edges.size(); ++bridge) {
    std::vector<char> in(n, 0);
    in[0] = 1;
    for (bool grew = true; grew;) {
      grew = false;
      for (size_t e = 0; e < edges.size(); ++e)
        if (e != bridge && status[e] != 2 && in[edges[e].first] != in[edges[e].second])
          in[edges[e].first] = in[edges[e].second] = 1, grew = true;
    }
    if (std::count(in.begin(), in.end(), 1) < n) {
      out << "cut";
      for (int32_t v = 0; v < n; ++v)
        if (in[v]) out << " " << v;
      out << "\n";
      return;
    }
  }
  size_t e = 0;
  while (e < edges.size() && status[e] != 0) ++e;
  if (e == edges.size()) {
    out << "contradiction\n";  // the forced edges are a Hamiltonian cycle
    return;
  }
  const bool forcedFirst = rng() % 2 == 0;
  out << "split " << edges[e].first << " " << edges[e].second << (forcedFirst ? "\n" : " deleted\n");
  for (int first : {0, 1}) {
    std::vector<int> branch = status;
    branch[e] = (first == 0) == forcedFirst ? 1 : 2;
    writeCaseSplits(n, edges, branch, rng, out, otherLeaves);
  }
}

inline std::string caseSplitCertificate(int32_t n, const std::vector<Edge>& anyEdges, std::mt19937& rng,
                                        bool otherLeaves = true) {
  const std::vector<Edge> edges = certcheck::canonicalEdges(anyEdges);
  std::ostringstream out;
  out << header(n, edges);
  writeCaseSplits(n, edges, std::vector<int>(edges.size(), 0), rng, out, otherLeaves);
  return out.str();
}

}  // namespace hc::testing
