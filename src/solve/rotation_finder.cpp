#include "solve/rotation_finder.h"

#include <algorithm>

#include "solve/path_treap.h"

namespace hc {

namespace {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int32_t below(int32_t n) { return static_cast<int32_t>(((next() >> 32) * static_cast<uint64_t>(n)) >> 32); }

 private:
  uint64_t state_;
};

}  // namespace

class RotationSearch {
 public:
  RotationSearch(const Graph& graph, uint64_t seed)
      : n_(graph.howManyNodes), rng_(seed), path_(graph.howManyNodes, seed) {
    offsets_.assign(static_cast<size_t>(n_) + 1, 0);
    for (int32_t v = 0; v < n_; ++v) {
      offsets_[static_cast<size_t>(v) + 1] = offsets_[static_cast<size_t>(v)] + graph.node(v).degree;
      anyForced_ = anyForced_ || graph.node(v).howManyUncuttable > 0;
    }
    // Written in full below: not zeroed first (a dense graph has millions of entries).
    targets_ = std::make_unique_for_overwrite<int32_t[]>(static_cast<size_t>(offsets_.back()));
    // The far end of an edge is read only when the near end has it forced: on a graph of
    // millions of nodes a read of every neighbour's record costs more than all the rest.
    if (anyForced_) forced_.resize(static_cast<size_t>(offsets_.back()));
    for (int32_t v = 0; v < n_; ++v) {
      const Node& nv = graph.node(v);
      const size_t first = static_cast<size_t>(offsets_[static_cast<size_t>(v)]);
      std::copy(nv.neighborArray, nv.neighborArray + nv.degree, targets_.get() + first);
      if (!anyForced_ || nv.howManyUncuttable == 0) continue;
      for (int32_t i = 0; i < nv.degree; ++i) {
        const int32_t w = nv.neighborArray[i];
        forced_[first + static_cast<size_t>(i)] =
            nv.isForcedNeighbor(w) && graph.node(w).isForcedNeighbor(v) ? 1 : 0;
      }
    }
    inSeedOrder_.assign(static_cast<size_t>(n_), 0);
    freeCount_.resize(static_cast<size_t>(n_));
    patience_ = 20LL * n_ + 2000;
  }

  // Goes on from where the last call stopped (the first one starts a run). With `workLimit`
  // > 0 it returns, not found, once about that many neighbour entries have been examined.
  RotationFinderResult run(const StopToken& stop, int64_t workLimit) {
    RotationFinderResult result;
    if (n_ < 3) return result;
    const int64_t workEnd = work_ + workLimit;
    if (!started_) {
      restart();
      started_ = true;
    }
    for (;;) {
      if (sinceBest_ >= patience_) {  // this run stopped improving: a new one
        patience_ += patience_ / 2;   // later runs get longer before they give up
        ++restarts_;
        restart();
      }
      if (stop.poll() || (workLimit > 0 && work_ >= workEnd)) break;
      if (extend()) {
        if (path_.length() > best_) {
          best_ = path_.length();
          sinceBest_ = 0;
        }
        continue;
      }
      if (path_.length() == n_ && adjacent(front_, back_)) {
        result.found = true;
        result.cycle.reserve(static_cast<size_t>(n_));
        path_.appendInOrder(result.cycle);
        break;
      }
      ++rotations_;
      ++sinceBest_;
      if (!rotate()) {
        sinceBest_ = patience_;
        continue;
      }
      if (!closed_.empty()) {
        result.found = true;
        result.cycle = std::move(closed_);
        closed_.clear();
        break;
      }
      if (path_.length() > best_) {  // a splice took a node in
        best_ = path_.length();
        sinceBest_ = 0;
      }
    }
    result.restarts = restarts_;
    result.rotations = rotations_;
    return result;
  }

 private:
  // Neighbour orders from the seed, not from the numbering: every walk below that takes the
  // first fitting neighbour then takes a random one. A node's neighbours are shuffled when
  // first walked in order, so that a dense graph the finder crosses by extensions alone
  // (which weigh every free neighbour, in any order) does not pay for shuffling them all.
  void shuffleOnce(int32_t v) {
    if (inSeedOrder_[static_cast<size_t>(v)] != 0) return;
    inSeedOrder_[static_cast<size_t>(v)] = 1;
    const size_t first = static_cast<size_t>(offsets_[static_cast<size_t>(v)]);
    const size_t degree = static_cast<size_t>(offsets_[static_cast<size_t>(v) + 1]) - first;
    for (size_t i = degree; i > 1; --i) {
      const size_t j = first + static_cast<size_t>(rng_.below(static_cast<int32_t>(i)));
      std::swap(targets_[first + i - 1], targets_[j]);
      if (anyForced_) std::swap(forced_[first + i - 1], forced_[j]);
    }
  }

  bool adjacent(int32_t a, int32_t b) const {
    for (int64_t k = offsets_[static_cast<size_t>(a)]; k < offsets_[static_cast<size_t>(a) + 1]; ++k)
      if (targets_[static_cast<size_t>(k)] == b) return true;
    return false;
  }
  bool forcedEdge(int32_t a, int32_t b) const {
    if (!anyForced_) return false;  // spares a scan of a's edges, two cache misses on a large graph
    for (int64_t k = offsets_[static_cast<size_t>(a)]; k < offsets_[static_cast<size_t>(a) + 1]; ++k)
      if (targets_[static_cast<size_t>(k)] == b) return forced_[static_cast<size_t>(k)] != 0;
    return false;
  }

  void restart() {
    path_.clear();
    for (int32_t v = 0; v < n_; ++v)
      freeCount_[static_cast<size_t>(v)] =
          static_cast<int32_t>(offsets_[static_cast<size_t>(v) + 1] - offsets_[static_cast<size_t>(v)]);
    const int32_t first = rng_.below(n_);
    path_.pushBack(first);
    joined(first);
    front_ = back_ = first;
    frontUndo_ = backUndo_ = -1;
    best_ = 1;
    sinceBest_ = 0;
  }
  void joined(int32_t v) {
    work_ += offsets_[static_cast<size_t>(v) + 1] - offsets_[static_cast<size_t>(v)];
    for (int64_t k = offsets_[static_cast<size_t>(v)]; k < offsets_[static_cast<size_t>(v) + 1]; ++k)
      --freeCount_[static_cast<size_t>(targets_[static_cast<size_t>(k)])];
  }

  // The free neighbour to grow towards from `end`: a forced edge first, else the fewest
  // free neighbours (random ties); -1 when there is none. A node of many neighbours first
  // weighs a few free ones met at random places in its list (all of them only when those
  // probes meet none): on a dense graph the fewest-free order gains nothing there, and
  // weighing every entry at every step made the extensions cost a pass over all the edges.
  int32_t nextFrom(int32_t end) {
    if (freeCount_[static_cast<size_t>(end)] == 0) return -1;  // the usual case late in a run
    const int64_t first = offsets_[static_cast<size_t>(end)];
    const int64_t degree = offsets_[static_cast<size_t>(end) + 1] - first;
    if (!anyForced_ && degree > kWeighAllUpTo) {
      if (const int32_t u = sampledNextFrom(first, degree); u != -1) return u;
    }
    if (anyForced_) shuffleOnce(end);  // which forced edge comes first
    work_ += degree;
    FewestFree choice;
    for (int64_t k = first; k < first + degree; ++k) {
      int32_t u = targets_[static_cast<size_t>(k)];
      if (path_.contains(u)) continue;
      if (anyForced_ && forced_[static_cast<size_t>(k)] != 0) return u;
      choice.weigh(u, freeCount_[static_cast<size_t>(u)], rng_);
    }
    return choice.best;
  }
  // Up to kProbes random entries of the list of `degree` entries at `first`, the first
  // kWeighed free ones among them weighed as above; -1 when no probe met a free neighbour.
  int32_t sampledNextFrom(int64_t first, int64_t degree) {
    FewestFree choice;
    int32_t weighed = 0;
    for (int32_t probe = 0; probe < kProbes && weighed < kWeighed; ++probe) {
      ++work_;
      const int32_t u = targets_[static_cast<size_t>(first + rng_.below(static_cast<int32_t>(degree)))];
      if (path_.contains(u)) continue;
      ++weighed;
      choice.weigh(u, freeCount_[static_cast<size_t>(u)], rng_);
    }
    return choice.best;
  }
  // The candidate with the fewest free neighbours so far, ties broken at random.
  struct FewestFree {
    int32_t best = -1;
    int32_t bestScore = 0;
    int32_t ties = 0;
    void weigh(int32_t u, int32_t score, Rng& rng) {
      if (best == -1 || score < bestScore) {
        best = u;
        bestScore = score;
        ties = 1;
      } else if (score == bestScore && rng.below(++ties) == 0) {
        best = u;
      }
    }
  };
  static constexpr int64_t kWeighAllUpTo = 32;
  static constexpr int32_t kWeighed = 4;
  static constexpr int32_t kProbes = 16;

  bool extend() {
    if (int32_t u = nextFrom(back_); u != -1) {
      path_.pushBack(u);
      joined(u);
      back_ = u;
      backUndo_ = -1;
      return true;
    }
    if (int32_t u = nextFrom(front_); u != -1) {
      path_.pushFront(u);
      joined(u);
      front_ = u;
      frontUndo_ = -1;
      return true;
    }
    return false;
  }

  // A rotation: the end (back or front) joins path node `join` at position `index`, and
  // `newEnd` becomes the end.
  struct Rotation {
    int32_t index = -1;
    int32_t join = -1;
    int32_t newEnd = -1;
  };

  // The rotations at one end: the first good one (its new end has a free neighbour, or,
  // with every node on the path, closes the cycle; or a splice took a free node in, and
  // `good` is left empty), else the first legal one. The back end
  // joining path node at(i) breaks edge at(i)-at(i+1), so at(i+1) becomes the end (the
  // front end likewise with at(i-1)). The rotation that would undo this end's last one (it
  // rejoins the edge that one broke; its new end was weighed last time) is weighed only when
  // nothing else is legal: with three neighbours it would be every other rotation, and the
  // ends would mostly walk back and forth.
  bool weigh(bool back, Rotation& good, Rotation& legal) {
    const int32_t length = path_.length();
    const int32_t end = back ? back_ : front_;
    const int32_t other = back ? front_ : back_;
    const int32_t undo = back ? backUndo_ : frontUndo_;
    const int64_t first = offsets_[static_cast<size_t>(end)];
    const int64_t degree = offsets_[static_cast<size_t>(end) + 1] - first;
    if (degree == 0) return false;
    shuffleOnce(end);
    work_ += 4 * degree;  // a climb of the path's tree per entry on the path
    const int64_t shift = static_cast<int64_t>(rng_.next() % static_cast<uint64_t>(degree));
    for (int64_t t = 0; t <= degree; ++t) {
      if (t == degree && (legal.index != -1 || undo == -1)) break;
      const int32_t u = t == degree ? undo : targets_[static_cast<size_t>(first + (t + shift) % degree)];
      if (t < degree && u == undo) continue;
      if (!path_.contains(u)) continue;
      const int32_t i = path_.indexOf(u);
      if (back ? i > length - 3 : i < 2) continue;
      const int32_t newEnd = path_.neighbourAfterIndexOf(u, back);  // its edge to u goes
      if (forcedEdge(u, newEnd)) continue;
      const Rotation rotation{i, u, newEnd};
      if (length == n_ ? adjacent(newEnd, other) : freeCount_[static_cast<size_t>(newEnd)] > 0) {
        good = rotation;
        return true;
      }
      if (length < n_ ? splice(back, i, u, path_.neighbourAfterIndexOf(u, !back))
                      : close(back, i, u, newEnd, path_.neighbourAfterIndexOf(u, !back))) {
        good.index = -1;  // done: the free node is in, or the cycle is in closed_
        return true;
      }
      if (legal.index == -1) legal = rotation;
    }
    return false;
  }

  // A free node taken in through the end's neighbour u at position i, when the node on u's
  // other side, w, has a free neighbour x whose other neighbour y lies beyond u (seen from
  // the end). For the back end, with w = at(i-1) and y = at(j), j > i:
  //   front .. w  u .. at(j-1)  y .. back   becomes   front .. w x y .. back u .. at(j-1)
  // (the end joins u, w joins x, x joins y; the edges w-u and at(j-1)-y go), and at(j-1) is
  // the new end; the front end mirrors it. This finds a use for a free node about as often
  // again as the rotations that end next to one.
  bool splice(bool back, int32_t i, int32_t u, int32_t w) {
    if (w == -1 || freeCount_[static_cast<size_t>(w)] == 0 || forcedEdge(w, u)) return false;
    work_ += offsets_[static_cast<size_t>(w) + 1] - offsets_[static_cast<size_t>(w)];
    shuffleOnce(w);
    for (int64_t k = offsets_[static_cast<size_t>(w)]; k < offsets_[static_cast<size_t>(w) + 1]; ++k) {
      const int32_t x = targets_[static_cast<size_t>(k)];
      if (path_.contains(x)) continue;
      work_ += offsets_[static_cast<size_t>(x) + 1] - offsets_[static_cast<size_t>(x)];
      shuffleOnce(x);
      for (int64_t h = offsets_[static_cast<size_t>(x)]; h < offsets_[static_cast<size_t>(x) + 1]; ++h) {
        const int32_t y = targets_[static_cast<size_t>(h)];
        if (y == w || !path_.contains(y)) continue;
        const int32_t j = path_.indexOf(y);
        if (back ? j <= i : j >= i) continue;
        const int32_t newEnd = path_.neighbourAfterIndexOf(y, !back);  // at(j-1) for the back end
        if (forcedEdge(newEnd, y)) continue;
        if (back) {
          path_.splice(i, j, x, true);
          back_ = newEnd;
          backUndo_ = -1;
        } else {
          path_.splice(j + 1, i + 1, x, false);
          front_ = newEnd;
          frontUndo_ = -1;
        }
        joined(x);
        return true;
      }
    }
    return false;
  }

  // With every node on the path: a cycle through an exchange of three edges. Seen from the
  // end that is weighed (positions counted from the other end, p(0) = the other end, which
  // is joined to y = p(j); the end is joined to u = p(i), after = p(i+1), before = p(i-1)),
  // the path edges p(i)-p(i+1) and p(j)-p(j+1) go for after-p(j+1) (i < j), p(i-1)-p(i)
  // and p(j-1)-p(j) for before-p(j-1) (i < j), or p(j-1)-p(j) and p(i)-p(i+1) for
  // p(j-1)-after (j <= i). Each is as likely as the rotation closing the path, so the last
  // step of a run takes a fraction of the rotations. The cycle goes to closed_.
  bool close(bool back, int32_t index, int32_t u, int32_t after, int32_t before) {
    const int32_t length = path_.length();
    const int32_t other = back ? front_ : back_;
    const int32_t i = back ? index : length - 1 - index;
    work_ += offsets_[static_cast<size_t>(other) + 1] - offsets_[static_cast<size_t>(other)];
    shuffleOnce(other);
    for (int64_t k = offsets_[static_cast<size_t>(other)]; k < offsets_[static_cast<size_t>(other) + 1];
         ++k) {
      const int32_t y = targets_[static_cast<size_t>(k)];
      const int32_t position = path_.indexOf(y);
      const int32_t j = back ? position : length - 1 - position;
      if (j < 2) continue;
      const int32_t yNext = path_.neighbourAfterIndexOf(y, back);
      const int32_t yBefore = path_.neighbourAfterIndexOf(y, !back);
      int pattern = 0;
      if (i < j && yNext != -1 && !forcedEdge(u, after) && !forcedEdge(y, yNext) && adjacent(after, yNext)) {
        pattern = 1;
      } else if (i < j && before != -1 && !forcedEdge(before, u) && !forcedEdge(yBefore, y) &&
                 adjacent(before, yBefore)) {
        pattern = 2;
      } else if (j <= i && !forcedEdge(yBefore, y) && !forcedEdge(u, after) && adjacent(yBefore, after)) {
        pattern = 3;
      }
      if (pattern == 0) continue;
      std::vector<int32_t> p;
      p.reserve(static_cast<size_t>(length));
      path_.appendInOrder(p);
      if (!back) std::reverse(p.begin(), p.end());
      auto take = [&](int32_t from, int32_t to) {  // p(from) .. p(to), either way
        for (int32_t x = from;; x += from <= to ? 1 : -1) {
          closed_.push_back(p[static_cast<size_t>(x)]);
          if (x == to) break;
        }
      };
      closed_.reserve(static_cast<size_t>(length));
      if (pattern == 1) {
        take(0, i);
        take(length - 1, j + 1);
        take(i + 1, j);
      } else if (pattern == 2) {
        take(0, i - 1);
        take(j - 1, i);
        take(length - 1, j);
      } else {
        take(0, j - 1);
        take(i + 1, length - 1);
        take(i, j);
      }
      return true;
    }
    return false;
  }

  void apply(bool back, const Rotation& rotation) {
    if (back) {
      path_.reverseSuffix(rotation.index + 1);
      back_ = rotation.newEnd;
      backUndo_ = rotation.join;
    } else {
      path_.reversePrefix(rotation.index);
      front_ = rotation.newEnd;
      frontUndo_ = rotation.join;
    }
  }

  // One rotation at a random end (at the other when that one has no legal rotation);
  // false when neither end has one.
  bool rotate() {
    bool back = (rng_.next() & 1) != 0;
    for (int attempt = 0; attempt < 2; ++attempt, back = !back) {
      Rotation good;
      Rotation legal;
      if (weigh(back, good, legal)) {
        if (good.index != -1) apply(back, good);
        return true;
      }
      if (legal.index != -1) {
        apply(back, legal);
        return true;
      }
    }
    return false;
  }

  int32_t n_;
  Rng rng_;
  std::vector<int64_t> offsets_;
  std::unique_ptr<int32_t[]> targets_;
  std::vector<uint8_t> forced_;  // empty when no edge is forced
  bool anyForced_ = false;
  std::vector<uint8_t> inSeedOrder_;  // 1 once a node's neighbours are shuffled
  PathTreap path_;
  std::vector<int32_t> freeCount_;
  int32_t front_ = -1;
  int32_t back_ = -1;
  std::vector<int32_t> closed_;  // a cycle found by close()
  int32_t frontUndo_ = -1;       // the node an end's last rotation broke its new end away from
  int32_t backUndo_ = -1;
  // Where the search stands between calls of run().
  bool started_ = false;
  int32_t best_ = 0;       // the longest path of this run
  int64_t sinceBest_ = 0;  // rotations since it grew
  int64_t patience_ = 0;   // rotations without growth before a restart
  int64_t work_ = 0;       // neighbour entries examined, for run's work limit
  int64_t restarts_ = 0;
  int64_t rotations_ = 0;
};

RotationFinderResult findCycleByRotation(const Graph& graph, uint64_t seed, const StopToken& stop) {
  RotationSearch search(graph, seed);
  return search.run(stop, 0);
}

RotationFinder::RotationFinder(const Graph& graph, uint64_t seed)
    : search_(std::make_unique<RotationSearch>(graph, seed)) {}
RotationFinder::~RotationFinder() = default;
RotationFinderResult RotationFinder::run(const StopToken& stop, int64_t workLimit) {
  return search_->run(stop, workLimit);
}

}  // namespace hc
