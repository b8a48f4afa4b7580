// The decisions of a branch and the checker's own propagation (see branch_state.h).
#include "certcheck/branch_state.h"

#include <algorithm>

namespace hc::certcheck {

BranchState::BranchState(int32_t n, std::vector<Edge> canonical)
    : n_(n),
      edges_(std::move(canonical)),
      first_(static_cast<size_t>(n) + 1, 0),
      incidence_(2 * edges_.size()),
      status_(edges_.size(), kOpen),
      remaining_(static_cast<size_t>(n), 0),
      forced_(static_cast<size_t>(n), 0),
      pathEnd_(static_cast<size_t>(n)),
      pathSize_(static_cast<size_t>(n), 1) {
  for (auto [u, v] : edges_) ++remaining_[static_cast<size_t>(u)], ++remaining_[static_cast<size_t>(v)];
  for (int32_t v = 0; v < n; ++v)
    first_[static_cast<size_t>(v) + 1] = first_[static_cast<size_t>(v)] + remaining_[static_cast<size_t>(v)];
  // Edges sorted by (u, v) fill every node's list in ascending neighbour order.
  std::vector<int64_t> fill(first_.begin(), first_.end() - 1);
  for (size_t e = 0; e < edges_.size(); ++e) {
    auto [u, v] = edges_[e];
    incidence_[static_cast<size_t>(fill[static_cast<size_t>(u)]++)] = {v, static_cast<int32_t>(e)};
    incidence_[static_cast<size_t>(fill[static_cast<size_t>(v)]++)] = {u, static_cast<int32_t>(e)};
  }
  for (int32_t v = 0; v < n; ++v) pathEnd_[static_cast<size_t>(v)] = v;
  if (n < 3) {
    contradict("a graph of fewer than 3 nodes has no Hamiltonian cycle");
    return;
  }
  for (int32_t v = 0; v < n; ++v) queue_.push_back(v);
  propagate();
}

std::span<const BranchState::Incidence> BranchState::incident(int32_t v) const {
  const auto from = static_cast<size_t>(first_[static_cast<size_t>(v)]);
  const auto to = static_cast<size_t>(first_[static_cast<size_t>(v) + 1]);
  return std::span<const Incidence>(incidence_).subspan(from, to - from);
}

int32_t BranchState::findEdge(int32_t u, int32_t v) const {
  if (u < 0 || u >= n_ || v < 0 || v >= n_) return -1;
  std::span<const Incidence> list = incident(u);
  auto it =
      std::lower_bound(list.begin(), list.end(), v, [](const Incidence& a, int32_t b) { return a.node < b; });
  return it != list.end() && it->node == v ? it->edge : -1;
}

uint32_t BranchState::stamp() {
  if (marks_.size() != static_cast<size_t>(n_)) marks_.assign(static_cast<size_t>(n_), 0);
  if (++stamp_ == 0) {
    std::fill(marks_.begin(), marks_.end(), 0);
    stamp_ = 1;
  }
  return stamp_;
}

void BranchState::contradict(std::string why) {
  if (!contradiction_.empty()) return;
  contradiction_ = std::move(why);
  contradictionAt_ = trail_.size();
  queue_.clear();
}

void BranchState::setStatus(int32_t edge, EdgeStatus status) {
  trail_.push_back({edge, status_[static_cast<size_t>(edge)], 0});
  status_[static_cast<size_t>(edge)] = status;
  count(edge, status, 1);
}

void BranchState::count(int32_t edge, uint8_t status, int32_t sign) {
  auto [u, v] = edges_[static_cast<size_t>(edge)];
  std::vector<int32_t>& counter = status == kForced ? forced_ : remaining_;
  const int32_t delta = status == kForced ? sign : -sign;
  counter[static_cast<size_t>(u)] += delta;
  counter[static_cast<size_t>(v)] += delta;
}

void BranchState::setPath(int32_t end, int32_t otherEnd, int32_t size) {
  trail_.push_back({~end, pathEnd_[static_cast<size_t>(end)], pathSize_[static_cast<size_t>(end)]});
  pathEnd_[static_cast<size_t>(end)] = otherEnd;
  pathSize_[static_cast<size_t>(end)] = size;
}

void BranchState::restore(size_t mark) {
  while (trail_.size() > mark) {
    const Change c = trail_.back();
    trail_.pop_back();
    if (c.what < 0) {
      pathEnd_[static_cast<size_t>(~c.what)] = c.old1;
      pathSize_[static_cast<size_t>(~c.what)] = c.old2;
      continue;
    }
    const uint8_t now = status_[static_cast<size_t>(c.what)];
    if (now == c.old1) continue;  // the marker of a contradictory decision
    count(c.what, now, -1);
    status_[static_cast<size_t>(c.what)] = static_cast<uint8_t>(c.old1);
  }
  queue_.clear();
  // A contradiction met after `mark` belongs to the branch being left.
  if (!contradiction_.empty() && contradictionAt_ > mark) contradiction_.clear();
}

void BranchState::decide(int32_t edge, EdgeStatus status) {
  if (!contradiction_.empty()) return;  // every branch of a contradiction is one
  const uint8_t now = status_[static_cast<size_t>(edge)];
  if (now == status) return;
  if (now != kOpen) {
    trail_.push_back({edge, now, 0});  // so that leaving the branch clears what follows
    auto [u, v] = edges_[static_cast<size_t>(edge)];
    contradict("edge " + std::to_string(u) + "-" + std::to_string(v) + " is already " +
               (now == kForced ? "forced" : "deleted"));
    return;
  }
  if (status == kForced)
    force(edge);
  else
    remove(edge);
  propagate();
}

void BranchState::remove(int32_t edge) {
  setStatus(edge, kDeleted);
  queue_.push_back(edges_[static_cast<size_t>(edge)].first);
  queue_.push_back(edges_[static_cast<size_t>(edge)].second);
}

void BranchState::force(int32_t edge) {
  setStatus(edge, kForced);
  auto [u, v] = edges_[static_cast<size_t>(edge)];
  for (int32_t x : {u, v})
    if (forced_[static_cast<size_t>(x)] > 2)
      return contradict("node " + std::to_string(x) + " has three forced edges");
  // u and v had at most one forced edge, so their path entries hold.
  const int32_t a = pathEnd_[static_cast<size_t>(u)], b = pathEnd_[static_cast<size_t>(v)];
  if (a == v) {
    const int32_t size = pathSize_[static_cast<size_t>(u)];
    if (size < n_) return contradict("forced edges close a cycle of " + std::to_string(size) + " nodes");
  } else {
    const int32_t size = pathSize_[static_cast<size_t>(u)] + pathSize_[static_cast<size_t>(v)];
    setPath(a, b, size);
    setPath(b, a, size);
    if (size < n_)
      if (int32_t closing = findEdge(a, b); closing >= 0 && status_[static_cast<size_t>(closing)] == kOpen)
        remove(closing);
  }
  queue_.push_back(u);
  queue_.push_back(v);
}

void BranchState::examine(int32_t v) {
  const int32_t left = remaining_[static_cast<size_t>(v)], forced = forced_[static_cast<size_t>(v)];
  if (left < 2) return contradict("node " + std::to_string(v) + " has fewer than two edges left");
  const bool dropRest = forced == 2 && left > 2, forceBoth = left == 2 && forced < 2;
  if (!dropRest && !forceBoth) return;
  for (const Incidence& i : incident(v)) {
    if (!contradiction_.empty()) return;
    if (status_[static_cast<size_t>(i.edge)] != kOpen) continue;
    if (dropRest)
      remove(i.edge);
    else
      force(i.edge);
  }
}

void BranchState::propagate() {
  while (!queue_.empty() && contradiction_.empty()) {
    const int32_t v = queue_.back();
    queue_.pop_back();
    examine(v);
  }
  queue_.clear();
}

}  // namespace hc::certcheck
