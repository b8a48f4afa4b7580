// The frontier states are packed into 64 bits: four bits per frontier slot, 0 for a node
// without chosen edges (and for a free slot), 15 for a node with two, and s + 1 for a path
// end whose other end sits in slot s.
#include "solve/frontier_search.h"

#include <algorithm>
#include <vector>

namespace hc {
namespace {

constexpr uint64_t kFull = 15;

uint64_t code(uint64_t state, int32_t slot) { return (state >> (4 * slot)) & 15u; }
void setCode(uint64_t& state, int32_t slot, uint64_t value) {
  state = (state & ~(uint64_t{15} << (4 * slot))) | (value << (4 * slot));
}
void mergeEqual(std::vector<uint64_t>& states) {
  std::sort(states.begin(), states.end());
  states.erase(std::unique(states.begin(), states.end()), states.end());
}

}  // namespace

FrontierSearchResult frontierSearch(const EdgeSnapshot& graph, const StopToken& stop, int64_t workLimit,
                                    std::span<const int32_t> given) {
  FrontierSearchResult result;
  const int32_t n = graph.nodes();
  if (n < 3) return result;
  auto neighbours = [&](int32_t v) {
    const std::span<const int32_t> list = graph.neighborsOf(v);
    return std::pair(list.begin(), list.end());
  };

  // The order (breadth first from node 0 unless given), and the step after which each node
  // leaves the frontier.
  std::vector<int32_t> order, position(static_cast<size_t>(n), -1), leaves(static_cast<size_t>(n), 0);
  if (!given.empty()) {
    if (static_cast<int32_t>(given.size()) != n) return result;
    order.assign(given.begin(), given.end());
    for (int32_t k = 0; k < n; ++k) {
      const int32_t v = order[static_cast<size_t>(k)];
      if (v < 0 || v >= n || position[static_cast<size_t>(v)] >= 0) return result;
      position[static_cast<size_t>(v)] = k;
    }
  } else {
    order.reserve(static_cast<size_t>(n));
    order.push_back(0);
    position[0] = 0;
    for (size_t head = 0; head < order.size(); ++head) {
      auto [first, last] = neighbours(order[head]);
      for (auto it = first; it != last; ++it)
        if (position[static_cast<size_t>(*it)] < 0) {
          position[static_cast<size_t>(*it)] = static_cast<int32_t>(order.size());
          order.push_back(*it);
        }
    }
    if (static_cast<int32_t>(order.size()) < n) {
      result.verdict = kNotHamiltonian;  // not connected
      return result;
    }
  }
  // The nodes leaving after step k, in node order: leaving[leaveStart[k] .. leaveStart[k + 1]).
  // One block rather than a list per step: a graph of a million nodes is given up on after
  // this pass, which must not cost a million allocations.
  std::vector<int32_t> leaving(static_cast<size_t>(n)), leaveStart(static_cast<size_t>(n) + 1, 0);
  {
    for (int32_t v = 0; v < n; ++v) {
      int32_t lastStep = position[static_cast<size_t>(v)];
      auto [first, last] = neighbours(v);
      for (auto it = first; it != last; ++it) lastStep = std::max(lastStep, position[static_cast<size_t>(*it)]);
      leaving[static_cast<size_t>(v)] = lastStep;
      ++leaveStart[static_cast<size_t>(lastStep) + 1];
    }
    int32_t active = 0;
    for (int32_t k = 0; k < n; ++k) {
      result.width = std::max(result.width, ++active);
      active -= leaveStart[static_cast<size_t>(k) + 1];
    }
    if (result.width > kFrontierWidthLimit) return result;
    for (int32_t k = 0; k < n; ++k) leaveStart[static_cast<size_t>(k) + 1] += leaveStart[static_cast<size_t>(k)];
    std::vector<int32_t> fill(leaveStart.begin(), leaveStart.end() - 1);
    std::vector<int32_t> lastStepOf = std::move(leaving);
    leaving.assign(static_cast<size_t>(n), 0);
    for (int32_t v = 0; v < n; ++v) leaving[static_cast<size_t>(fill[static_cast<size_t>(lastStepOf[static_cast<size_t>(v)])]++)] = v;
  }

  std::vector<int32_t> slotOf(static_cast<size_t>(n), -1), freeSlots;
  for (int32_t s = kFrontierWidthLimit - 1; s >= 0; --s) freeSlots.push_back(s);
  uint32_t activeSlots = 0;
  std::vector<uint64_t> states{0}, next;
  auto allFull = [&](uint64_t state) {
    for (int32_t s = 0; s < kFrontierWidthLimit; ++s)
      if ((activeSlots >> s & 1u) && code(state, s) != kFull) return false;
    return true;
  };
  for (int32_t k = 0; k < n; ++k) {
    const int32_t x = order[static_cast<size_t>(k)];
    const int32_t sx = freeSlots.back();
    freeSlots.pop_back();
    slotOf[static_cast<size_t>(x)] = sx;
    activeSlots |= 1u << sx;
    auto [first, last] = neighbours(x);
    for (auto it = first; it != last; ++it) {
      if (position[static_cast<size_t>(*it)] >= k) continue;
      const int32_t sy = slotOf[static_cast<size_t>(*it)];
      next.clear();
      for (uint64_t state : states) {
        if (stop.poll()) return result;
        next.push_back(state);  // the edge left out
        const uint64_t cx = code(state, sx), cy = code(state, sy);
        if (cx == kFull || cy == kFull) continue;
        uint64_t taken = state;
        if (cx == 0 && cy == 0) {
          setCode(taken, sx, static_cast<uint64_t>(sy) + 1);
          setCode(taken, sy, static_cast<uint64_t>(sx) + 1);
        } else if (cx == 0 || cy == 0) {
          const int32_t end = cx == 0 ? sy : sx, fresh = cx == 0 ? sx : sy;
          const int32_t other = static_cast<int32_t>(code(state, end)) - 1;
          setCode(taken, fresh, static_cast<uint64_t>(other) + 1);
          setCode(taken, other, static_cast<uint64_t>(fresh) + 1);
          setCode(taken, end, kFull);
        } else if (static_cast<int32_t>(cx) - 1 == sy) {
          // x and y end the same path: the edge closes it, which only the last node may do.
          setCode(taken, sx, kFull);
          setCode(taken, sy, kFull);
          if (k == n - 1 && allFull(taken)) {
            result.verdict = kHamiltonian;
            return result;
          }
          continue;
        } else {
          const int32_t px = static_cast<int32_t>(cx) - 1, py = static_cast<int32_t>(cy) - 1;
          setCode(taken, px, static_cast<uint64_t>(py) + 1);
          setCode(taken, py, static_cast<uint64_t>(px) + 1);
          setCode(taken, sx, kFull);
          setCode(taken, sy, kFull);
        }
        next.push_back(taken);
      }
      mergeEqual(next);
      states.swap(next);
      result.work += static_cast<int64_t>(states.size());
      result.peak = std::max(result.peak, static_cast<int64_t>(states.size()));
      if (result.work > workLimit) return result;
    }
    for (int32_t at = leaveStart[static_cast<size_t>(k)]; at < leaveStart[static_cast<size_t>(k) + 1]; ++at) {
      const int32_t v = leaving[static_cast<size_t>(at)];
      const int32_t s = slotOf[static_cast<size_t>(v)];
      size_t kept = 0;
      for (uint64_t state : states)
        if (code(state, s) == kFull) {
          setCode(state, s, 0);
          states[kept++] = state;
        }
      states.resize(kept);
      activeSlots &= ~(1u << s);
      freeSlots.push_back(s);
    }
    mergeEqual(states);
    if (states.empty()) break;
  }
  result.verdict = kNotHamiltonian;  // no way of choosing the edges closed the cycle
  return result;
}

std::vector<int32_t> narrowFrontierOrder(const EdgeSnapshot& graph, int32_t widthLimit) {
  const int32_t n = graph.nodes();
  std::vector<int32_t> order;
  if (n == 0) return order;
  order.reserve(static_cast<size_t>(n));
  // An end: the node a breadth-first search from node 0 reaches last.
  std::vector<int32_t> queue{0};
  std::vector<uint8_t> seen(static_cast<size_t>(n), 0);
  seen[0] = 1;
  for (size_t head = 0; head < queue.size(); ++head)
    for (int32_t w : graph.neighborsOf(queue[head]))
      if (seen[static_cast<size_t>(w)] == 0) {
        seen[static_cast<size_t>(w)] = 1;
        queue.push_back(w);
      }
  // untaken[v]: v's neighbours not yet taken; candidates: untaken nodes next to taken ones,
  // with the step at which they became candidates (older first among equals).
  std::vector<int32_t> untaken(static_cast<size_t>(n)), since(static_cast<size_t>(n), -1);
  for (int32_t v = 0; v < n; ++v)
    untaken[static_cast<size_t>(v)] = static_cast<int32_t>(graph.neighborsOf(v).size());
  std::vector<uint8_t> taken(static_cast<size_t>(n), 0);
  std::vector<int32_t> candidates;
  int32_t width = 0;  // taken nodes with untaken neighbours
  auto take = [&](int32_t v) {
    taken[static_cast<size_t>(v)] = 1;
    order.push_back(v);
    width += untaken[static_cast<size_t>(v)] > 0;
    for (int32_t w : graph.neighborsOf(v)) {
      if (--untaken[static_cast<size_t>(w)] == 0 && taken[static_cast<size_t>(w)] != 0) --width;
      if (taken[static_cast<size_t>(w)] == 0 && since[static_cast<size_t>(w)] < 0) {
        since[static_cast<size_t>(w)] = static_cast<int32_t>(order.size());
        candidates.push_back(w);
      }
    }
  };
  int32_t start = queue.back();
  for (int32_t next = 0; static_cast<int32_t>(order.size()) < n;) {
    if (width > widthLimit) return {};
    if (candidates.empty()) {
      while (taken[static_cast<size_t>(next)] != 0) ++next;  // another piece, or the first node
      take(static_cast<int32_t>(order.empty() ? start : next));
      continue;
    }
    // Score: frontier nodes that leave when v comes, less one when v itself stays.
    size_t best = 0;
    int32_t bestScore = 0;
    for (size_t k = 0; k < candidates.size(); ++k) {
      const int32_t v = candidates[k];
      int32_t score = untaken[static_cast<size_t>(v)] > 0 ? -1 : 0;
      for (int32_t w : graph.neighborsOf(v))
        if (taken[static_cast<size_t>(w)] != 0 && untaken[static_cast<size_t>(w)] == 1) ++score;
      if (k == 0 || score > bestScore ||
          (score == bestScore &&
           since[static_cast<size_t>(v)] < since[static_cast<size_t>(candidates[best])])) {
        best = k;
        bestScore = score;
      }
    }
    const int32_t v = candidates[best];
    candidates[best] = candidates.back();
    candidates.pop_back();
    take(v);
  }
  return order;
}

}  // namespace hc
