// An independent Hamiltonian cycle search for the tests of this folder: it shares nothing
// with the solvers. It branches on edges (force one, or delete it) and propagates the
// obvious consequences until nothing changes: a node left with two edges keeps both, a
// node with two forced edges loses the rest, an edge that would close a forced path into a
// cycle through fewer than all nodes is deleted, and the remaining graph must stay
// connected. Strong enough to settle reduction graphs of a few hundred nodes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/graph.h"

namespace hc::testing {

using AdjacencyLists = std::vector<std::vector<int32_t>>;

enum class SearchOutcome { kFound, kNone, kBudgetExceeded };

class HamiltonianSearch {
 public:
  explicit HamiltonianSearch(const Graph& graph, int64_t budget = 2'000'000) : budget_(budget) {
    const size_t n = static_cast<size_t>(graph.howManyNodes);
    for (const Node& node : graph.nodes) state_.adj.emplace_back(node.neighborArray, node.neighborArray + node.degree);
    state_.forced.assign(n, {-1, -1});
    state_.otherEnd.resize(n);
    for (size_t v = 0; v < n; ++v) state_.otherEnd[v] = static_cast<int32_t>(v);
  }

  SearchOutcome run() {
    const size_t n = state_.adj.size();
    if (n < 3) return SearchOutcome::kNone;
    State start = state_;
    std::vector<int32_t> all(n);
    for (size_t v = 0; v < n; ++v) all[v] = static_cast<int32_t>(v);
    bool found = propagate(start, all) && search(start);
    if (exhausted_) return SearchOutcome::kBudgetExceeded;
    return found ? SearchOutcome::kFound : SearchOutcome::kNone;
  }

  // The cycle found, in order (valid after kFound).
  const std::vector<int32_t>& cycle() const { return cycle_; }

 private:
  struct State {
    AdjacencyLists adj;
    std::vector<std::array<int32_t, 2>> forced;
    std::vector<int32_t> otherEnd;  // other end of v's forced path; v itself when v has none
    int32_t forcedTotal = 0;
  };

  static int32_t forcedCount(const State& s, int32_t v) {
    const auto& f = s.forced[static_cast<size_t>(v)];
    return (f[0] >= 0 ? 1 : 0) + (f[1] >= 0 ? 1 : 0);
  }
  static bool isForced(const State& s, int32_t a, int32_t b) {
    const auto& f = s.forced[static_cast<size_t>(a)];
    return f[0] == b || f[1] == b;
  }
  static bool hasEdge(const State& s, int32_t a, int32_t b) {
    const auto& list = s.adj[static_cast<size_t>(a)];
    return std::find(list.begin(), list.end(), b) != list.end();
  }
  static void removeEdge(State& s, int32_t a, int32_t b, std::vector<int32_t>& work) {
    auto& la = s.adj[static_cast<size_t>(a)];
    auto& lb = s.adj[static_cast<size_t>(b)];
    la.erase(std::find(la.begin(), la.end(), b));
    lb.erase(std::find(lb.begin(), lb.end(), a));
    work.push_back(a);
    work.push_back(b);
  }
  // False on a contradiction.
  static bool forceEdge(State& s, int32_t a, int32_t b, std::vector<int32_t>& work) {
    if (isForced(s, a, b)) return true;
    if (!hasEdge(s, a, b)) return false;
    if (forcedCount(s, a) == 2 || forcedCount(s, b) == 2) return false;
    const int32_t n = static_cast<int32_t>(s.adj.size());
    const int32_t endA = s.otherEnd[static_cast<size_t>(a)];
    const int32_t endB = s.otherEnd[static_cast<size_t>(b)];
    if (endA == b) {  // closes a cycle
      if (s.forcedTotal != n - 1) return false;
    }
    auto& fa = s.forced[static_cast<size_t>(a)];
    auto& fb = s.forced[static_cast<size_t>(b)];
    (fa[0] < 0 ? fa[0] : fa[1]) = b;
    (fb[0] < 0 ? fb[0] : fb[1]) = a;
    ++s.forcedTotal;
    if (endA != b) {
      s.otherEnd[static_cast<size_t>(endA)] = endB;
      s.otherEnd[static_cast<size_t>(endB)] = endA;
      if (forcedCount(s, a) == 2) s.otherEnd[static_cast<size_t>(a)] = -1;
      if (forcedCount(s, b) == 2) s.otherEnd[static_cast<size_t>(b)] = -1;
      if (s.forcedTotal < n - 1 && hasEdge(s, endA, endB) && !isForced(s, endA, endB)) {
        removeEdge(s, endA, endB, work);
      }
    }
    work.push_back(a);
    work.push_back(b);
    return true;
  }
  static bool propagate(State& s, std::vector<int32_t> work) {
    while (!work.empty()) {
      const int32_t v = work.back();
      work.pop_back();
      auto& list = s.adj[static_cast<size_t>(v)];
      if (list.size() < 2) return false;
      if (forcedCount(s, v) == 2 && list.size() > 2) {
        std::vector<int32_t> drop;
        for (int32_t u : list) {
          if (!isForced(s, v, u)) drop.push_back(u);
        }
        for (int32_t u : drop) removeEdge(s, v, u, work);
      } else if (list.size() == 2 && forcedCount(s, v) < 2) {
        const int32_t u0 = list[0];
        const int32_t u1 = list[1];
        if (!forceEdge(s, v, u0, work) || !forceEdge(s, v, u1, work)) return false;
      }
    }
    return true;
  }
  static bool connected(const State& s) {
    std::vector<char> seen(s.adj.size(), 0);
    std::vector<int32_t> stack{0};
    size_t reached = seen[0] = 1;
    while (!stack.empty()) {
      const int32_t v = stack.back();
      stack.pop_back();
      for (int32_t u : s.adj[static_cast<size_t>(v)]) {
        if (!seen[static_cast<size_t>(u)]) {
          seen[static_cast<size_t>(u)] = 1;
          ++reached;
          stack.push_back(u);
        }
      }
    }
    return reached == s.adj.size();
  }

  bool search(State& s) {
    if (--budget_ < 0) {
      exhausted_ = true;
      return false;
    }
    if (!connected(s)) return false;
    int32_t pick = -1;
    for (size_t v = 0; v < s.adj.size(); ++v) {
      if (forcedCount(s, static_cast<int32_t>(v)) == 2) continue;
      if (pick < 0 || s.adj[v].size() < s.adj[static_cast<size_t>(pick)].size()) pick = static_cast<int32_t>(v);
    }
    if (pick < 0) {  // every node has two forced edges and no short cycle: a Hamiltonian cycle
      cycle_.clear();
      int32_t previous = -1;
      int32_t at = 0;
      do {
        cycle_.push_back(at);
        const auto& f = s.forced[static_cast<size_t>(at)];
        const int32_t next = f[0] != previous ? f[0] : f[1];
        previous = at;
        at = next;
      } while (at != 0 && cycle_.size() <= s.adj.size());
      return true;
    }
    int32_t edgeTo = -1;
    for (int32_t u : s.adj[static_cast<size_t>(pick)]) {
      if (!isForced(s, pick, u)) {
        edgeTo = u;
        break;
      }
    }
    {
      State forcedBranch = s;
      std::vector<int32_t> work;
      if (forceEdge(forcedBranch, pick, edgeTo, work) && propagate(forcedBranch, work) && search(forcedBranch)) {
        return true;
      }
      if (exhausted_) return false;
    }
    std::vector<int32_t> work;
    removeEdge(s, pick, edgeTo, work);
    return propagate(s, work) && search(s);
  }

  State state_;
  int64_t budget_;
  bool exhausted_ = false;
  std::vector<int32_t> cycle_;
};

}  // namespace hc::testing
