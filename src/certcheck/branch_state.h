// One graph of a certificate (the whole graph, or a sub-proof's) with the decisions of the
// branch being checked: each edge is open, forced (in every Hamiltonian cycle of the branch)
// or deleted (in none). After each decision the checker propagates: a node with two forced
// edges loses its other edges, a node with two edges left has them forced, and an open edge
// joining the ends of a forced path of fewer than all nodes is deleted; it stops at the
// first contradiction (a node with fewer than two edges left or three forced ones, or a
// forced cycle shorter than all nodes). The order of the rules does not matter: each only
// draws consequences that every later state draws too. A trail takes the branch back.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "certcheck/two_factor_cnf.h"

namespace hc::certcheck {

enum EdgeStatus : uint8_t { kOpen = 0, kForced = 1, kDeleted = 2 };

class BranchState {
 public:
  // `canonical` as canonicalEdges gives it, ends in 0..n-1. Propagates once.
  BranchState(int32_t n, std::vector<Edge> canonical);

  int32_t nodes() const { return n_; }
  const std::vector<Edge>& edges() const { return edges_; }
  EdgeStatus status(int32_t edge) const {
    return static_cast<EdgeStatus>(status_[static_cast<size_t>(edge)]);
  }
  // The index of edge {u, v}, or -1.
  int32_t findEdge(int32_t u, int32_t v) const;
  // v's incident edges as (neighbour, edge index), by neighbour.
  struct Incidence {
    int32_t node;
    int32_t edge;
  };
  std::span<const Incidence> incident(int32_t v) const;
  int32_t remainingDegree(int32_t v) const { return remaining_[static_cast<size_t>(v)]; }
  int32_t forcedDegree(int32_t v) const { return forced_[static_cast<size_t>(v)]; }
  // Why the branch is contradictory (empty: no contradiction found).
  const std::string& contradiction() const { return contradiction_; }

  size_t mark() const { return trail_.size(); }
  // Undoes every change made after `mark`.
  void restore(size_t mark);
  // Forces or deletes an edge and propagates. Deciding an edge the other way than it is
  // already decided is a contradiction.
  void decide(int32_t edge, EdgeStatus status);

  // Calls f(edge) for every edge decided in the branch (some more than once), in time
  // proportional to the branch's decisions rather than to the graph.
  template <class F>
  void forEachDecided(F&& f) const {
    for (const Change& c : trail_)
      if (c.what >= 0 && status_[static_cast<size_t>(c.what)] != kOpen) f(c.what);
  }

  // Scratch marks for node sets: after stamp(), no mark equals the stamp it returns.
  uint32_t stamp();
  std::vector<uint32_t>& marks() { return marks_; }

 private:
  struct Change {
    int32_t what;  // an edge (>= 0) whose status changed, or ~node whose path entry changed
    int32_t old1;  // old status, or old path end
    int32_t old2;  // old path size
  };
  void setStatus(int32_t edge, EdgeStatus status);
  // Counts the edge in (sign 1) or out (-1) of the node counters its status `status` moves.
  void count(int32_t edge, uint8_t status, int32_t sign);
  void force(int32_t edge);
  void remove(int32_t edge);
  void examine(int32_t v);
  void propagate();
  void contradict(std::string why);
  void setPath(int32_t end, int32_t otherEnd, int32_t size);

  int32_t n_;
  std::vector<Edge> edges_;
  std::vector<int64_t> first_;  // CSR offsets into incidence_
  std::vector<Incidence> incidence_;
  std::vector<uint8_t> status_;
  std::vector<int32_t> remaining_, forced_;
  std::vector<int32_t> pathEnd_, pathSize_;  // valid at nodes with at most one forced edge
  std::vector<Change> trail_;
  std::vector<int32_t> queue_;
  std::string contradiction_;
  size_t contradictionAt_ = 0;
  std::vector<uint32_t> marks_;
  uint32_t stamp_ = 0;
};

}  // namespace hc::certcheck
