// A case-split certificate writer for the checker's tests, sharing nothing with the checker:
// its own naive propagation, frontier and cut leaves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "certcheck/certificate_checker.h"
#include "certcheck/two_factor_cnf.h"

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

// Writes a case-split certificate: split on open edges (in a random branch order) until
// the naive propagation contradicts; now and then closes a branch with a frontier leaf or,
// when the branch's edges fall apart, a cut leaf. A branch that ends in a Hamiltonian cycle
// gets a (wrong) contradiction leaf, so the text is a certificate exactly when the graph
// has no Hamiltonian cycle.
inline void writeCaseSplits(int32_t n, const std::vector<Edge>& edges, std::vector<int> status,
                            std::mt19937& rng, std::ostream& out, bool otherLeaves) {
  const std::vector<int> decided = status;
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
  if (otherLeaves && rng() % 3 == 0) {  // the component of node 0 under the split decisions alone
    std::vector<char> in(n, 0);
    in[0] = 1;
    for (bool grew = true; grew;) {
      grew = false;
      for (size_t e = 0; e < edges.size(); ++e)
        if (decided[e] != 2 && in[edges[e].first] != in[edges[e].second])
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
