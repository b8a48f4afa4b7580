// Finding sides to bypass (see cut_bypass.h).
#include "solve/cut_bypass.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "certcheck/reduction_steps.h"

namespace hc {

namespace {

// Sides of at most this many nodes (their paths are worked out over all subsets).
constexpr size_t kMaxSide = 12;
// The local cut is looked for in the ball of this radius around a node.
constexpr int32_t kRadius = 4;
// Balls with more nodes are skipped (a node of high degree nearby).
constexpr size_t kMaxBall = 400;

class BypassFinder {
 public:
  explicit BypassFinder(const BranchState& b)
      : b_(b), n_(static_cast<size_t>(b.nodes())), taken_(n_, 0), distance_(n_, -1), index_(n_, -1) {}

  std::string step(const StopToken& stop) {
    std::string line, leaves;
    int32_t sides = 0;
    // Graphs of higher degree are left alone: their balls grow fast, and a side that only
    // two plain edges can stand for is a cubic graph's trait (a snark's piece).
    for (int32_t v = 0; v < b_.nodes(); ++v)
      if (b_.remainingDegree(v) > 3) return "";
    for (int32_t v = 0; v < b_.nodes() && !stop.stopRequested(); ++v) {
      if (taken_[static_cast<size_t>(v)] != 0) continue;
      std::vector<int32_t> side;
      const int32_t cut = localSide(v, side);
      if (cut != 4 || !arrange(side)) {
        // A smaller cut near v: its side as a piece when it passes every way. From v's closed
        // neighbourhood the side of a triangle or a small part behind two edges is missed,
        // so from each of v's edges too.
        // (Only near a cut of at most 4: elsewhere, on most nodes, none is that small.)
        bool piece = cut >= 2 && cut <= 3 && passesEveryWay(side);
        if (cut == 0) continue;
        eachNeighbour(v, [&](int32_t w) {
          if (!piece && taken_[static_cast<size_t>(w)] == 0) {
            const int32_t small = localSide(v, side, w);
            piece = small >= 2 && small <= 3 && passesEveryWay(side);
          }
        });
        if (piece) {
          take(side);
          if (!pieces_.empty()) pieces_ += " /";
          for (int32_t s : side) pieces_ += " " + std::to_string(s);
        }
        continue;
      }
      take(side);
      line += sides++ == 0 ? "bypass" : " /";
      for (int32_t s : side) line += " " + std::to_string(s);
      std::string order = "frontier";
      for (size_t k = 0; k < side.size(); ++k) order += " " + std::to_string(k);
      leaves += order + " " + std::to_string(side.size()) + "\n";
      leaves += order + " " + std::to_string(side.size()) + "\n";
      leaves += order + " " + std::to_string(side.size()) + "\n";
      leaves += order + " " + std::to_string(side.size()) + "\n";
      leaves += order + " " + std::to_string(side.size()) + " " + std::to_string(side.size() + 1) + "\n";
    }
    return sides == 0 ? "" : line + "\n" + leaves;
  }

  // The sides of 2- and 3-edge cuts met on the way that have a Hamiltonian path between the inner
  // ends of any two cut edges, as the sets of a `piece` line (" S... / S..."): contracting one
  // keeps a graph with a cycle exactly when it had one.
  const std::string& pieces() const { return pieces_; }

 private:
  // The side and its neighbours are taken: later sides may neither overlap nor touch it.
  void take(const std::vector<int32_t>& side) {
    for (int32_t s : side) {
      taken_[static_cast<size_t>(s)] = 1;
      eachNeighbour(s, [&](int32_t w) { taken_[static_cast<size_t>(w)] = 1; });
    }
  }

  template <class Visit>
  void eachNeighbour(int32_t v, Visit&& visit) const {
    for (const BranchState::Incidence& i : b_.incident(v))
      if (b_.status(i.edge) != certcheck::kDeleted) visit(i.node);
  }

  // The smallest side of a cut of exactly 4 edges between v's closed neighbourhood and the
  // farthest nodes of its ball of radius kRadius, by unit-capacity augmenting paths.
  int32_t localSide(int32_t v, std::vector<int32_t>& side, int32_t edgeEnd = -1) {
    std::vector<int32_t> ball{v};
    distance_[static_cast<size_t>(v)] = 0;
    for (size_t k = 0; k < ball.size() && ball.size() <= kMaxBall; ++k) {
      const int32_t d = distance_[static_cast<size_t>(ball[k])];
      if (d == kRadius) continue;
      eachNeighbour(ball[k], [&](int32_t w) {
        if (distance_[static_cast<size_t>(w)] < 0) {
          distance_[static_cast<size_t>(w)] = d + 1;
          ball.push_back(w);
        }
      });
    }
    // The sink is the farthest layer (on a small graph nearer than kRadius), at least two
    // layers beyond the source.
    sinkDistance_ = distance_[static_cast<size_t>(ball.back())];
    int32_t found = 0;
    if (ball.size() <= kMaxBall && sinkDistance_ >= 3) {
      for (size_t k = 0; k < ball.size(); ++k) index_[static_cast<size_t>(ball[k])] = static_cast<int32_t>(k);
      found = minimumCut(ball, side, v, edgeEnd);
      for (int32_t w : ball) index_[static_cast<size_t>(w)] = -1;
    }
    for (int32_t w : ball) distance_[static_cast<size_t>(w)] = -1;
    return found;
  }

  // Max flow (at most 5) from distance <= 1 to the farthest layer over the ball's edges, each
  // of capacity 1 both ways; the side is what the source reaches when the flow is 4.
  // The cut's size, 2 to 4, with its side in `side` (0: none of these, or a side too large or
  // taken). The source is v's closed neighbourhood, or v and edgeEnd when that is a node.
  int32_t minimumCut(const std::vector<int32_t>& ball, std::vector<int32_t>& side, int32_t v,
                     int32_t edgeEnd) {
    const size_t m = ball.size();
    std::vector<std::vector<std::pair<int32_t, int32_t>>> arcs(m);  // (to, flow from here)
    for (size_t k = 0; k < m; ++k)
      eachNeighbour(ball[k], [&](int32_t w) {
        const int32_t j = index_[static_cast<size_t>(w)];
        if (j >= 0) arcs[k].emplace_back(j, 0);
      });
    auto flowOf = [&](size_t a, int32_t c) -> int32_t& {
      for (auto& [to, f] : arcs[a])
        if (to == c) return f;
      return arcs[a].front().second;  // not reached: arcs come in pairs
    };
    auto isSource = [&](size_t k) {
      return edgeEnd < 0 ? distance_[static_cast<size_t>(ball[k])] <= 1 : ball[k] == v || ball[k] == edgeEnd;
    };
    auto isSink = [&](size_t k) { return distance_[static_cast<size_t>(ball[k])] == sinkDistance_; };
    std::vector<int32_t> parent(m);
    std::vector<size_t> queue;
    int32_t flow = 0;
    for (;; ++flow) {
      std::fill(parent.begin(), parent.end(), -2);
      queue.clear();
      for (size_t k = 0; k < m; ++k)
        if (isSource(k)) parent[k] = -1, queue.push_back(k);
      int32_t reached = -1;
      for (size_t q = 0; q < queue.size() && reached < 0; ++q)
        for (const auto& [to, f] : arcs[queue[q]])
          if (f < 1 && parent[static_cast<size_t>(to)] == -2) {
            parent[static_cast<size_t>(to)] = static_cast<int32_t>(queue[q]);
            queue.push_back(static_cast<size_t>(to));
            if (isSink(static_cast<size_t>(to))) {
              reached = to;
              break;
            }
          }
      if (reached < 0) break;
      if (flow == 4) return 0;  // five or more
      for (int32_t c = reached; parent[static_cast<size_t>(c)] >= 0; c = parent[static_cast<size_t>(c)]) {
        const auto p = static_cast<size_t>(parent[static_cast<size_t>(c)]);
        ++flowOf(p, c);
        --flowOf(static_cast<size_t>(c), static_cast<int32_t>(p));
      }
    }
    if (flow < 2) return 0;
    side.clear();
    for (size_t k : queue) side.push_back(ball[k]);
    if (side.size() < 2 || side.size() > kMaxSide) return 0;
    for (int32_t s : side)
      if (taken_[static_cast<size_t>(s)] != 0) return 0;
    return flow;
  }

  // The side's adjacency (bits by place in `side`) and its cut edges (inner end's place, outer
  // end).
  void sideOf(const std::vector<int32_t>& side, std::vector<uint32_t>& adjacent,
              std::vector<std::pair<int32_t, int32_t>>& cut) {
    const size_t s = side.size();
    adjacent.assign(s, 0);
    cut.clear();
    for (size_t k = 0; k < s; ++k) index_[static_cast<size_t>(side[k])] = static_cast<int32_t>(k);
    for (size_t k = 0; k < s; ++k)
      eachNeighbour(side[k], [&](int32_t w) {
        const int32_t j = index_[static_cast<size_t>(w)];
        if (j >= 0)
          adjacent[k] |= 1u << j;
        else
          cut.emplace_back(static_cast<int32_t>(k), w);
      });
    for (int32_t v : side) index_[static_cast<size_t>(v)] = -1;
  }

  // ends[mask]: the places where a path from place `start` through exactly mask ends.
  static std::vector<uint32_t> pathEnds(const std::vector<uint32_t>& adjacent, int32_t start) {
    std::vector<uint32_t> e(size_t{1} << adjacent.size(), 0);
    e[size_t{1} << start] = 1u << start;
    for (uint32_t mask = 1; mask < e.size(); ++mask)
      for (uint32_t last = e[mask]; last != 0; last &= last - 1)
        for (uint32_t next = adjacent[static_cast<size_t>(__builtin_ctz(last))] & ~mask; next != 0;
             next &= next - 1)
          e[mask | (next & -next)] |= next & -next;
    return e;
  }

  // A side of a 2- or 3-edge cut with a Hamiltonian path between the inner ends of any two
  // cut edges.
  bool passesEveryWay(const std::vector<int32_t>& side) {
    std::vector<uint32_t> adjacent;
    std::vector<std::pair<int32_t, int32_t>> cut;
    sideOf(side, adjacent, cut);
    if (cut.size() < 2 || cut.size() > 3) return false;
    const uint32_t all = (1u << side.size()) - 1;
    for (size_t a = 0; a < cut.size(); ++a) {
      const std::vector<uint32_t> ends = pathEnds(adjacent, cut[a].first);
      for (size_t b = a + 1; b < cut.size(); ++b)
        if (cut[a].first == cut[b].first || (ends[all] >> cut[b].first & 1u) == 0) return false;
    }
    return true;
  }

  // Orders the side so that the cut edges come out paired 1-2 and 3-4 as its behaviour
  // allows (true), checking that behaviour over all subsets of the side.
  bool arrange(std::vector<int32_t>& side) {
    const size_t s = side.size();
    std::vector<uint32_t> adjacent;
    std::vector<std::pair<int32_t, int32_t>> cut;  // (inner end's place in side, outer end)
    sideOf(side, adjacent, cut);
    if (cut.size() != 4) return false;
    std::array<std::vector<uint32_t>, 4> ends;  // from the inner end of each cut edge
    for (size_t a = 0; a < 4; ++a) ends[a] = pathEnds(adjacent, cut[a].first);
    const uint32_t all = (1u << s) - 1;
    auto path = [&](size_t a, size_t b, uint32_t mask) {
      return (mask >> cut[a].first & 1u) != 0 && (ends[a][mask] >> cut[b].first & 1u) != 0;
    };
    auto covers = [&](size_t a, size_t b, size_t c, size_t d) {  // paths a-b and c-d cover the side
      for (uint32_t mask = 1; mask < all; ++mask)
        if (path(a, b, mask) && path(c, d, all & ~mask)) return true;
      return false;
    };
    // Pairing {a b | c d} is kept when no other pair has a Hamiltonian path of the side and
    // neither of the other two pairings covers it.
    static constexpr std::array<std::array<size_t, 4>, 3> kPairings{
        {{0, 1, 2, 3}, {0, 2, 1, 3}, {0, 3, 1, 2}}};
    for (const auto& [a, b, c, d] : kPairings) {
      bool fits = true;
      for (const auto& [p, q] : {std::pair(a, c), std::pair(a, d), std::pair(b, c), std::pair(b, d)})
        fits = fits && !path(p, q, all) && !path(q, p, all);
      fits = fits && !covers(a, c, b, d) && !covers(a, d, b, c);
      if (fits && order(side, cut, {a, b, c, d})) return true;
    }
    return false;
  }

  // Puts the inner ends of cut edges a, b, c, d first so that the checker's order (inner end's
  // place, then outer end) lists them as a, b, c, d (or b, a, d, c and the like).
  static bool order(std::vector<int32_t>& side, const std::vector<std::pair<int32_t, int32_t>>& cut,
                    std::array<size_t, 4> wanted) {
    std::vector<int32_t> inner;
    for (size_t k : wanted)
      if (std::find(inner.begin(), inner.end(), cut[k].first) == inner.end()) inner.push_back(cut[k].first);
    std::sort(inner.begin(), inner.end());
    do {
      std::vector<size_t> listed(4);
      std::iota(listed.begin(), listed.end(), 0);
      auto place = [&](size_t k) {
        return std::find(inner.begin(), inner.end(), cut[k].first) - inner.begin();
      };
      std::sort(listed.begin(), listed.end(), [&](size_t x, size_t y) {
        return std::pair(place(x), cut[x].second) < std::pair(place(y), cut[y].second);
      });
      auto pairOf = [&](size_t x) {
        return std::find(wanted.begin(), wanted.end(), listed[x]) - wanted.begin() < 2 ? 0 : 1;
      };
      if (pairOf(0) == pairOf(1) && pairOf(2) == pairOf(3)) {
        std::vector<int32_t> ordered;
        for (int32_t k : inner) ordered.push_back(side[static_cast<size_t>(k)]);
        for (size_t k = 0; k < side.size(); ++k)
          if (std::find(inner.begin(), inner.end(), static_cast<int32_t>(k)) == inner.end())
            ordered.push_back(side[k]);
        side = std::move(ordered);
        return true;
      }
    } while (std::next_permutation(inner.begin(), inner.end()));
    return false;
  }

  const BranchState& b_;
  size_t n_;
  std::vector<uint8_t> taken_;
  std::vector<int32_t> distance_, index_;
  int32_t sinkDistance_ = 0;
  std::string pieces_;
};

}  // namespace

std::string findBypassStep(const BranchState& branch, const StopToken& stop, std::string& pieces) {
  BypassFinder finder(branch);
  std::string step = finder.step(stop);
  pieces = finder.pieces().empty() ? "" : "piece" + finder.pieces();
  return step;
}

}  // namespace hc
