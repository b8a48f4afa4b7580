// The frontier states are packed into 64 bits: four bits per frontier slot, 0 for a node
// without chosen edges (and for a free slot), 15 for a node with two, and s + 1 for a path
// end whose other end sits in slot s.
#include "solve/frontier_search.h"

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace hc {
namespace {

constexpr uint64_t kFull = 15;

uint64_t code(uint64_t state, int32_t slot) {
  return (state >> (4 * slot)) & 15u;
}
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
      for (auto it = first; it != last; ++it)
        lastStep = std::max(lastStep, position[static_cast<size_t>(*it)]);
      leaving[static_cast<size_t>(v)] = lastStep;
      ++leaveStart[static_cast<size_t>(lastStep) + 1];
    }
    int32_t active = 0;
    for (int32_t k = 0; k < n; ++k) {
      result.width = std::max(result.width, ++active);
      active -= leaveStart[static_cast<size_t>(k) + 1];
    }
    if (result.width > kFrontierWidthLimit) return result;
    for (int32_t k = 0; k < n; ++k)
      leaveStart[static_cast<size_t>(k) + 1] += leaveStart[static_cast<size_t>(k)];
    std::vector<int32_t> fill(leaveStart.begin(), leaveStart.end() - 1);
    std::vector<int32_t> lastStepOf = std::move(leaving);
    leaving.assign(static_cast<size_t>(n), 0);
    for (int32_t v = 0; v < n; ++v)
      leaving[static_cast<size_t>(fill[static_cast<size_t>(lastStepOf[static_cast<size_t>(v)])]++)] = v;
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

namespace {

// Breadth-first passes from a node to the farthest one, at most, in the search for an end.
constexpr int32_t kPeripheralRounds = 4;

// Breadth-first passes and greedy layouts over one graph, their arrays made once.
class OrderFinder {
 public:
  OrderFinder(const EdgeSnapshot& graph, uint32_t seed)
      : graph_(graph),
        n_(graph.nodes()),
        rank_(static_cast<size_t>(n_)),
        distance_(static_cast<size_t>(n_)),
        untaken_(static_cast<size_t>(n_)),
        since_(static_cast<size_t>(n_)),
        taken_(static_cast<size_t>(n_)) {
    // Exact ties go by a random rank: which node wins one depends on the seed, never on
    // the numbering.
    std::mt19937 rng(seed);
    for (uint32_t& r : rank_) r = static_cast<uint32_t>(rng());
    queue_.reserve(static_cast<size_t>(n_));
  }

  int32_t lowestRank() const {
    return static_cast<int32_t>(std::min_element(rank_.begin(), rank_.end()) - rank_.begin());
  }

  // The node farthest from `from` (the highest rank among the farthest) and its distance.
  std::pair<int32_t, int32_t> farthest(int32_t from) {
    std::fill(distance_.begin(), distance_.end(), -1);
    queue_.assign(1, from);
    distance_[static_cast<size_t>(from)] = 0;
    int32_t far = from;
    for (size_t head = 0; head < queue_.size(); ++head) {
      const int32_t v = queue_[head];
      const int32_t dv = distance_[static_cast<size_t>(v)], df = distance_[static_cast<size_t>(far)];
      if (dv > df || (dv == df && rank_[static_cast<size_t>(v)] > rank_[static_cast<size_t>(far)])) far = v;
      for (int32_t w : graph_.neighborsOf(v))
        if (distance_[static_cast<size_t>(w)] < 0) {
          distance_[static_cast<size_t>(w)] = dv + 1;
          queue_.push_back(w);
        }
    }
    return {far, distance_[static_cast<size_t>(far)]};
  }

  // A pseudo-peripheral node reached from `from`: farthest nodes in turn while the distance
  // grows; `other` gets the last node left behind (the other end).
  int32_t peripheral(int32_t from, int32_t& other) {
    auto [far, depth] = farthest(from);
    other = from;
    for (int32_t round = 0; round < kPeripheralRounds; ++round) {
      auto [next, nextDepth] = farthest(far);
      if (nextDepth <= depth) {
        other = next;
        break;
      }
      other = far;
      far = next;
      depth = nextDepth;
    }
    return far;
  }

  // The greedy layout from `start`: the next node is always one that lets the most frontier
  // nodes leave and brings the fewest in, the longest waiting first among equals. Gives up
  // (false) once the frontier search would meet more than `limit` nodes at once; else
  // `order` holds it, with its widest frontier in `width` and the frontier sizes summed in
  // `total` (a measure of the states met on the way).
  bool layout(int32_t start, int32_t limit, std::vector<int32_t>& order, int32_t& width, int64_t& total) {
    order.clear();
    candidates_.clear();
    std::fill(since_.begin(), since_.end(), -1);
    std::fill(taken_.begin(), taken_.end(), 0);
    for (int32_t v = 0; v < n_; ++v) untaken_[static_cast<size_t>(v)] = graph_.degree(v);
    int32_t frontier = 0;  // taken nodes with untaken neighbours
    width = 0;
    total = 0;
    auto take = [&](int32_t v) {
      // The frontier search counts the node it takes before any node leaves.
      width = std::max(width, frontier + 1);
      total += frontier + 1;
      taken_[static_cast<size_t>(v)] = 1;
      order.push_back(v);
      frontier += untaken_[static_cast<size_t>(v)] > 0;
      for (int32_t w : graph_.neighborsOf(v)) {
        if (--untaken_[static_cast<size_t>(w)] == 0 && taken_[static_cast<size_t>(w)] != 0) --frontier;
        if (taken_[static_cast<size_t>(w)] == 0 && since_[static_cast<size_t>(w)] < 0) {
          since_[static_cast<size_t>(w)] = static_cast<int32_t>(order.size());
          candidates_.push_back(w);
        }
      }
    };
    int32_t next = 0;  // the lowest node that may be untaken, for another piece
    while (static_cast<int32_t>(order.size()) < n_) {
      if (width > limit) return false;
      if (candidates_.empty()) {
        if (order.empty()) {
          take(start);
          continue;
        }
        while (taken_[static_cast<size_t>(next)] != 0) ++next;
        take(next);
        continue;
      }
      size_t best = 0;
      int32_t bestScore = 0;
      for (size_t k = 0; k < candidates_.size(); ++k) {
        const int32_t v = candidates_[k];
        // Frontier nodes that leave when v comes, less one when v itself stays.
        int32_t score = untaken_[static_cast<size_t>(v)] > 0 ? -1 : 0;
        for (int32_t w : graph_.neighborsOf(v))
          if (taken_[static_cast<size_t>(w)] != 0 && untaken_[static_cast<size_t>(w)] == 1) ++score;
        const int32_t b = candidates_[best];
        if (k == 0 || score > bestScore ||
            (score == bestScore && (since_[static_cast<size_t>(v)] < since_[static_cast<size_t>(b)] ||
                                    (since_[static_cast<size_t>(v)] == since_[static_cast<size_t>(b)] &&
                                     rank_[static_cast<size_t>(v)] < rank_[static_cast<size_t>(b)])))) {
          best = k;
          bestScore = score;
        }
      }
      const int32_t v = candidates_[best];
      candidates_[best] = candidates_.back();
      candidates_.pop_back();
      take(v);
    }
    return width <= limit;
  }

 private:
  const EdgeSnapshot& graph_;
  int32_t n_;
  std::vector<uint32_t> rank_;
  std::vector<int32_t> distance_, queue_, untaken_, since_, candidates_;
  std::vector<uint8_t> taken_;
};

// Starts of the layouts: both ends of a pseudo-diameter from a random node, and from two more.
constexpr int32_t kLayoutSweeps = 3;

}  // namespace

std::vector<int32_t> narrowFrontierOrder(const EdgeSnapshot& graph, int32_t widthLimit, uint32_t seed) {
  const int32_t n = graph.nodes();
  std::vector<int32_t> best, order, tried;
  if (n == 0) return best;
  OrderFinder finder(graph, seed);
  std::mt19937 rng(seed ^ 0x9e3779b9u);
  int32_t bestWidth = widthLimit;
  int64_t bestTotal = 0;
  int32_t from = finder.lowestRank();
  for (int32_t sweep = 0; sweep < kLayoutSweeps; ++sweep) {
    int32_t other = -1;
    const int32_t end = finder.peripheral(from, other);
    for (int32_t start : {end, other}) {
      if (std::find(tried.begin(), tried.end(), start) != tried.end()) continue;
      tried.push_back(start);
      int32_t width = 0;
      int64_t total = 0;
      if (!finder.layout(start, bestWidth, order, width, total)) continue;
      if (best.empty() || width < bestWidth || total < bestTotal) {
        best.swap(order);
        bestWidth = width;
        bestTotal = total;
      }
    }
    // A graph that is not thin from either end of its first pseudo-diameter is not thin:
    // the further sweeps only narrow a thin graph's layout.
    if (best.empty()) break;
    from = static_cast<int32_t>(rng() % static_cast<uint32_t>(n));
  }
  return best;
}

}  // namespace hc
