#include "solve/rotation_finder.h"

#include <algorithm>

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
  int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t state_;
};

class RotationSearch {
 public:
  RotationSearch(const Graph& graph, uint64_t seed) : n_(graph.howManyNodes), rng_(seed) {
    offsets_.assign(static_cast<size_t>(n_) + 1, 0);
    for (int32_t v = 0; v < n_; ++v) offsets_[static_cast<size_t>(v) + 1] = offsets_[static_cast<size_t>(v)] + graph.node(v).degree;
    targets_.resize(static_cast<size_t>(offsets_.back()));
    forced_.resize(targets_.size());
    for (int32_t v = 0; v < n_; ++v) {
      const Node& nv = graph.node(v);
      for (int32_t i = 0; i < nv.degree; ++i) {
        size_t k = static_cast<size_t>(offsets_[static_cast<size_t>(v)] + i);
        targets_[k] = nv.neighborArray[i];
        forced_[k] = graph.isUncuttableEdge(v, nv.neighborArray[i]) ? 1 : 0;
      }
    }
    size_ = 2 * n_ + 2;
    buffer_.assign(static_cast<size_t>(size_), -1);
    position_.assign(static_cast<size_t>(n_), -1);
    freeCount_.resize(static_cast<size_t>(n_));
  }

  RotationFinderResult run(StopCondition& stop) {
    RotationFinderResult result;
    if (n_ < 3) return result;
    int64_t patience = 20LL * n_ + 2000;
    for (;; ++result.restarts) {
      restart();
      int32_t best = 0;
      int64_t sinceBest = 0;
      while (sinceBest < patience) {
        if (stop()) return result;
        if (extend()) {
          if (length_ > best) {
            best = length_;
            sinceBest = 0;
          }
          continue;
        }
        if (length_ == n_ && adjacent(at(0), at(n_ - 1))) {
          result.found = true;
          result.cycle.reserve(static_cast<size_t>(n_));
          for (int32_t i = 0; i < n_; ++i) result.cycle.push_back(at(i));
          return result;
        }
        ++result.rotations;
        ++sinceBest;
        if (!rotate()) break;
      }
      patience += patience / 2;  // later runs get longer before they give up
    }
  }

 private:
  int32_t at(int32_t i) const { return buffer_[static_cast<size_t>(wrap(start_ + i))]; }
  int32_t wrap(int64_t p) const {
    int64_t r = p % size_;
    return static_cast<int32_t>(r < 0 ? r + size_ : r);
  }
  int32_t indexOf(int32_t v) const { return wrap(static_cast<int64_t>(position_[static_cast<size_t>(v)]) - start_); }
  void place(int32_t physical, int32_t v) {
    buffer_[static_cast<size_t>(physical)] = v;
    position_[static_cast<size_t>(v)] = physical;
  }
  bool onPath(int32_t v) const { return position_[static_cast<size_t>(v)] != -1; }
  bool adjacent(int32_t a, int32_t b) const {
    for (int64_t k = offsets_[static_cast<size_t>(a)]; k < offsets_[static_cast<size_t>(a) + 1]; ++k)
      if (targets_[static_cast<size_t>(k)] == b) return true;
    return false;
  }
  bool forcedEdge(int32_t a, int32_t b) const {
    for (int64_t k = offsets_[static_cast<size_t>(a)]; k < offsets_[static_cast<size_t>(a) + 1]; ++k)
      if (targets_[static_cast<size_t>(k)] == b) return forced_[static_cast<size_t>(k)] != 0;
    return false;
  }

  void restart() {
    for (int32_t i = 0; i < length_; ++i) position_[static_cast<size_t>(at(i))] = -1;
    for (int32_t v = 0; v < n_; ++v)
      freeCount_[static_cast<size_t>(v)] = static_cast<int32_t>(offsets_[static_cast<size_t>(v) + 1] - offsets_[static_cast<size_t>(v)]);
    start_ = 0;
    length_ = 0;
    pushBack(rng_.below(n_));
  }
  void joined(int32_t v) {
    for (int64_t k = offsets_[static_cast<size_t>(v)]; k < offsets_[static_cast<size_t>(v) + 1]; ++k)
      --freeCount_[static_cast<size_t>(targets_[static_cast<size_t>(k)])];
  }
  void pushBack(int32_t v) {
    place(wrap(static_cast<int64_t>(start_) + length_), v);
    ++length_;
    joined(v);
  }
  void pushFront(int32_t v) {
    start_ = wrap(static_cast<int64_t>(start_) - 1);
    place(start_, v);
    ++length_;
    joined(v);
  }

  // The free neighbour to grow towards from `end`: a forced edge first, else the fewest
  // free neighbours (random ties); -1 when there is none.
  int32_t nextFrom(int32_t end) {
    int32_t best = -1;
    int32_t bestScore = 0;
    int32_t ties = 0;
    for (int64_t k = offsets_[static_cast<size_t>(end)]; k < offsets_[static_cast<size_t>(end) + 1]; ++k) {
      int32_t u = targets_[static_cast<size_t>(k)];
      if (onPath(u)) continue;
      if (forced_[static_cast<size_t>(k)]) return u;
      int32_t score = freeCount_[static_cast<size_t>(u)];
      if (best == -1 || score < bestScore) {
        best = u;
        bestScore = score;
        ties = 1;
      } else if (score == bestScore && rng_.below(++ties) == 0) {
        best = u;
      }
    }
    return best;
  }
  bool extend() {
    if (int32_t u = nextFrom(at(length_ - 1)); u != -1) {
      pushBack(u);
      return true;
    }
    if (int32_t u = nextFrom(at(0)); u != -1) {
      pushFront(u);
      return true;
    }
    return false;
  }

  void reverse(int32_t i, int32_t j) {
    while (i < j) {
      int32_t a = at(i);
      int32_t b = at(j);
      place(wrap(static_cast<int64_t>(start_) + i), b);
      place(wrap(static_cast<int64_t>(start_) + j), a);
      ++i;
      --j;
    }
  }

  // The end at the back joins path node at(i) (0 <= i <= length - 3); edge at(i)-at(i+1) goes.
  void rotateAtBack(int32_t i) {
    const int32_t tail = length_ - 1 - i;  // nodes after the pivot
    if (tail <= i + 1) {
      reverse(i + 1, length_ - 1);
      return;
    }
    // Shorter the other way: the nodes up to the pivot move, reversed, behind the end.
    for (int32_t k = 0; k <= i; ++k) place(wrap(static_cast<int64_t>(start_) + length_ + k), at(i - k));
    start_ = wrap(static_cast<int64_t>(start_) + i + 1);
  }
  // The end at the front joins at(i) (2 <= i <= length - 1); edge at(i-1)-at(i) goes.
  void rotateAtFront(int32_t i) {
    if (i <= length_ - i) {
      reverse(0, i - 1);
      return;
    }
    const int32_t moved = length_ - i;
    for (int32_t k = 0; k < moved; ++k) place(wrap(static_cast<int64_t>(start_) - 1 - k), at(i + k));
    start_ = wrap(static_cast<int64_t>(start_) - moved);
  }

  // One rotation at a random end; false when neither end has a legal one.
  bool rotate() {
    bool back = (rng_.next() & 1) != 0;
    for (int attempt = 0; attempt < 2; ++attempt, back = !back) {
      const int32_t end = back ? at(length_ - 1) : at(0);
      const int32_t other = back ? at(0) : at(length_ - 1);
      const int64_t first = offsets_[static_cast<size_t>(end)];
      const int64_t degree = offsets_[static_cast<size_t>(end) + 1] - first;
      if (degree == 0) continue;
      const int64_t shift = static_cast<int64_t>(rng_.next() % static_cast<uint64_t>(degree));
      int32_t chosen = -1;
      int32_t fallback = -1;
      for (int64_t t = 0; t < degree; ++t) {
        int32_t u = targets_[static_cast<size_t>(first + (t + shift) % degree)];
        if (!onPath(u)) continue;
        int32_t i = indexOf(u);
        int32_t broken = back ? i + 1 : i - 1;  // the node whose edge to u goes; it becomes the end
        if (back ? i > length_ - 3 : i < 2) continue;
        if (forcedEdge(u, at(broken))) continue;
        int32_t newEnd = at(broken);
        bool good = length_ == n_ ? adjacent(newEnd, other) : freeCount_[static_cast<size_t>(newEnd)] > 0;
        if (good) {
          chosen = i;
          break;
        }
        if (fallback == -1) fallback = i;
      }
      if (chosen == -1) chosen = fallback;
      if (chosen == -1) continue;
      if (back) {
        rotateAtBack(chosen);
      } else {
        rotateAtFront(chosen);
      }
      return true;
    }
    return false;
  }

  int32_t n_;
  Rng rng_;
  std::vector<int64_t> offsets_;
  std::vector<int32_t> targets_;
  std::vector<uint8_t> forced_;
  int32_t size_ = 0;
  std::vector<int32_t> buffer_;
  std::vector<int32_t> position_;
  std::vector<int32_t> freeCount_;
  int32_t start_ = 0;
  int32_t length_ = 0;
};

}  // namespace

RotationFinderResult findCycleByRotation(const Graph& graph, uint64_t seed, StopCondition& stop) {
  RotationSearch search(graph, seed);
  return search.run(stop);
}

}  // namespace hc
