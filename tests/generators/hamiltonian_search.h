// An independent Hamiltonian cycle search for the tests of this folder: it shares nothing
// with the solvers. Depth-first extension of one path from a node of least degree, pruned
// by the count of usable neighbours each unvisited node has left, by forced moves (an
// unvisited neighbour of the path end that has only two usable neighbours must come next)
// and by reachability of the unvisited nodes. Meant for the small reduction graphs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/graph.h"

namespace hc::testing {

using AdjacencyLists = std::vector<std::vector<int32_t>>;

inline AdjacencyLists adjacencyOf(const Graph& graph) {
  AdjacencyLists lists(static_cast<size_t>(graph.howManyNodes));
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    const Node& node = graph.node(v);
    lists[static_cast<size_t>(v)].assign(node.neighborArray, node.neighborArray + node.degree);
  }
  return lists;
}

enum class SearchOutcome { kFound, kNone, kBudgetExceeded };

class HamiltonianSearch {
 public:
  explicit HamiltonianSearch(AdjacencyLists lists, int64_t budget = 50'000'000)
      : adj_(std::move(lists)), budget_(budget) {}

  SearchOutcome run() {
    const auto n = static_cast<int32_t>(adj_.size());
    if (n < 3) return SearchOutcome::kNone;
    start_ = 0;
    for (int32_t v = 0; v < n; ++v) {
      if (adj_[static_cast<size_t>(v)].size() < adj_[static_cast<size_t>(start_)].size()) start_ = v;
    }
    visited_.assign(static_cast<size_t>(n), 0);
    unvisitedNeighbors_.assign(static_cast<size_t>(n), 0);
    isNeighborOfStart_.assign(static_cast<size_t>(n), 0);
    for (int32_t v = 0; v < n; ++v) {
      unvisitedNeighbors_[static_cast<size_t>(v)] = static_cast<int32_t>(adj_[static_cast<size_t>(v)].size());
    }
    for (int32_t u : adj_[static_cast<size_t>(start_)]) isNeighborOfStart_[static_cast<size_t>(u)] = 1;
    path_.clear();
    visit(start_);
    const bool found = extend(start_);
    if (exhausted_) return SearchOutcome::kBudgetExceeded;
    return found ? SearchOutcome::kFound : SearchOutcome::kNone;
  }

  // The cycle found, in order (valid after kFound).
  const std::vector<int32_t>& cycle() const { return path_; }

 private:
  bool adjacent(int32_t a, int32_t b) const {
    const auto& list = adj_[static_cast<size_t>(a)];
    return std::find(list.begin(), list.end(), b) != list.end();
  }
  void visit(int32_t v) {
    visited_[static_cast<size_t>(v)] = 1;
    path_.push_back(v);
    for (int32_t u : adj_[static_cast<size_t>(v)]) --unvisitedNeighbors_[static_cast<size_t>(u)];
  }
  void leave(int32_t v) {
    visited_[static_cast<size_t>(v)] = 0;
    path_.pop_back();
    for (int32_t u : adj_[static_cast<size_t>(v)]) ++unvisitedNeighbors_[static_cast<size_t>(u)];
  }
  // Usable neighbours of unvisited y while `end` ends the path.
  int32_t usable(int32_t y, int32_t end) const {
    return unvisitedNeighbors_[static_cast<size_t>(y)] + (adjacent(y, end) ? 1 : 0) +
           (end != start_ && isNeighborOfStart_[static_cast<size_t>(y)] ? 1 : 0);
  }
  bool unvisitedConnected(int32_t end) {
    const size_t n = adj_.size();
    const size_t remaining = n - path_.size();
    seen_.assign(n, 0);
    stack_.clear();
    size_t reached = 0;
    for (int32_t u : adj_[static_cast<size_t>(end)]) {
      if (!visited_[static_cast<size_t>(u)] && !seen_[static_cast<size_t>(u)]) {
        seen_[static_cast<size_t>(u)] = 1;
        stack_.push_back(u);
      }
    }
    while (!stack_.empty()) {
      int32_t v = stack_.back();
      stack_.pop_back();
      ++reached;
      for (int32_t u : adj_[static_cast<size_t>(v)]) {
        if (!visited_[static_cast<size_t>(u)] && !seen_[static_cast<size_t>(u)]) {
          seen_[static_cast<size_t>(u)] = 1;
          stack_.push_back(u);
        }
      }
    }
    return reached == remaining;
  }

  bool extend(int32_t end) {
    if (--budget_ < 0) {
      exhausted_ = true;
      return false;
    }
    if (path_.size() == adj_.size()) return adjacent(end, start_);
    if (!unvisitedConnected(end)) return false;
    // Every unvisited node needs two usable neighbours; one with exactly two that include
    // the end must come next.
    int32_t forced = -1;
    for (size_t y = 0; y < adj_.size(); ++y) {
      if (visited_[y]) continue;
      const int32_t count = usable(static_cast<int32_t>(y), end);
      if (count < 2) return false;
      // (The start's two cycle neighbours are still open, so nothing is forced there.)
      if (count == 2 && end != start_ && adjacent(static_cast<int32_t>(y), end)) {
        if (forced >= 0 && forced != static_cast<int32_t>(y)) return false;
        forced = static_cast<int32_t>(y);
      }
    }
    std::vector<int32_t> candidates;
    if (forced >= 0) {
      candidates.push_back(forced);
    } else {
      for (int32_t u : adj_[static_cast<size_t>(end)]) {
        if (!visited_[static_cast<size_t>(u)]) candidates.push_back(u);
      }
    }
    for (int32_t w : candidates) {
      visit(w);
      if (extend(w)) return true;
      leave(w);
      if (exhausted_) return false;
    }
    return false;
  }

  AdjacencyLists adj_;
  int64_t budget_;
  bool exhausted_ = false;
  int32_t start_ = 0;
  std::vector<char> visited_;
  std::vector<int32_t> unvisitedNeighbors_;
  std::vector<char> isNeighborOfStart_;
  std::vector<int32_t> path_;
  std::vector<char> seen_;
  std::vector<int32_t> stack_;
};

// True when `cycle` visits every node once and each consecutive pair (and last-first) is
// an edge of `lists`.
inline bool isHamiltonianCycle(const AdjacencyLists& lists, const std::vector<int32_t>& cycle) {
  if (cycle.size() != lists.size() || cycle.size() < 3) return false;
  std::vector<char> seen(lists.size(), 0);
  for (size_t i = 0; i < cycle.size(); ++i) {
    const int32_t a = cycle[i];
    const int32_t b = cycle[(i + 1) % cycle.size()];
    if (a < 0 || static_cast<size_t>(a) >= lists.size() || seen[static_cast<size_t>(a)]) return false;
    seen[static_cast<size_t>(a)] = 1;
    const auto& list = lists[static_cast<size_t>(a)];
    if (std::find(list.begin(), list.end(), b) == list.end()) return false;
  }
  return true;
}

}  // namespace hc::testing
