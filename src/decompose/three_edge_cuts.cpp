#include "decompose/three_edge_cuts.h"

#include <algorithm>
#include <limits>

namespace hc {

namespace {

constexpr int32_t kNone = std::numeric_limits<int32_t>::max();

// How far the label search looks along a root path for the third tree edge: fragments joined
// by three tree edges are rare (the search usually finishes a small side before it leaves
// it), and their paths inside the small side are short.
constexpr int32_t kLabelWindow = 16;

uint64_t mixBits(uint64_t x) {
  x += 0x9e3779b97f4a7c15ull;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}

// A set of preorder positions as disjoint ranges [from, to), ascending (a side of a cut and
// its complement need at most four).
struct Ranges {
  std::array<std::array<int32_t, 2>, 4> range{};
  int32_t count = 0;
  void add(int32_t from, int32_t to) {
    if (from < to) range[static_cast<size_t>(count++)] = {from, to};
  }
  int64_t size() const {
    int64_t total = 0;
    for (int32_t i = 0; i < count; ++i)
      total += range[static_cast<size_t>(i)][1] - range[static_cast<size_t>(i)][0];
    return total;
  }
};

class CutFinder {
 public:
  CutFinder(const PartGraph& graph, int32_t maxSide, const StopToken& stop)
      : g_(graph),
        n_(graph.nodeCount),
        maxSide_(maxSide),
        stop_(stop),
        inc_(buildIncidence(graph.nodeCount, graph.edges)) {}

  bool run(std::vector<ThreeEdgeCut>& cuts) {
    if (!search() || !measure() || !computeHigh() || !computeMeet()) return false;
    buildLabels();
    if (!sweep() || !labelSearch()) return false;
    std::sort(found_.begin(), found_.end(),
              [](const ThreeEdgeCut& x, const ThreeEdgeCut& y) { return x.edges < y.edges; });
    found_.erase(std::unique(found_.begin(), found_.end(),
                             [](const ThreeEdgeCut& x, const ThreeEdgeCut& y) { return x.edges == y.edges; }),
                 found_.end());
    cuts = std::move(found_);
    return true;
  }

 private:
  size_t at(int32_t v) const { return static_cast<size_t>(v); }
  bool inSubtree(int32_t root, int32_t v) const {
    return pre_[at(v)] >= pre_[at(root)] && pre_[at(v)] < pre_[at(root)] + size_[at(root)];
  }

  // Depth-first tree from node 0: preorder, parents, depths, back edges (tail below head).
  bool search() {
    pre_.assign(at(n_), -1);
    order_.resize(at(n_));
    parent_.assign(at(n_), -1);
    parentEdge_.assign(at(n_), -1);
    depth_.assign(at(n_), 0);
    std::vector<int32_t> next(inc_.start.begin(), inc_.start.end() - 1);
    std::vector<int32_t> stack{0};
    int32_t counter = 0;
    pre_[0] = counter;
    order_[at(counter++)] = 0;
    while (!stack.empty()) {
      if (stop_.poll()) return false;
      const int32_t v = stack.back();
      if (next[at(v)] == inc_.start[at(v) + 1]) {
        stack.pop_back();
        continue;
      }
      const int32_t e = inc_.edge[at(next[at(v)]++)];
      const PartEdge& edge = g_.edges[at(e)];
      const int32_t w = edge.a == v ? edge.b : edge.a;
      if (pre_[at(w)] < 0) {
        pre_[at(w)] = counter;
        order_[at(counter++)] = w;
        parent_[at(w)] = v;
        parentEdge_[at(w)] = e;
        depth_[at(w)] = depth_[at(v)] + 1;
        stack.push_back(w);
      } else if (pre_[at(w)] < pre_[at(v)] && e != parentEdge_[at(v)]) {
        backTail_.push_back(v);
        backHead_.push_back(w);
      }
    }
    return counter == n_;
  }

  // Subtree sizes, c, the lowest landing depth, own lowest landing, heavy paths.
  bool measure() {
    size_.assign(at(n_), 1);
    count_.assign(at(n_), 0);
    low_.assign(at(n_), kNone);
    ownLow_.assign(at(n_), kNone);
    for (size_t k = 0; k < backTail_.size(); ++k) {
      const int32_t t = backTail_[k];
      const int32_t h = backHead_[k];
      ++count_[at(t)];
      --count_[at(h)];
      ownLow_[at(t)] = std::min(ownLow_[at(t)], depth_[at(h)]);
    }
    for (int32_t v = 0; v < n_; ++v) low_[at(v)] = ownLow_[at(v)];
    heavy_.assign(at(n_), -1);
    for (int32_t p = n_ - 1; p > 0; --p) {
      const int32_t v = order_[at(p)];
      const int32_t u = parent_[at(v)];
      size_[at(u)] += size_[at(v)];
      count_[at(u)] += count_[at(v)];
      low_[at(u)] = std::min(low_[at(u)], low_[at(v)]);
    }
    for (int32_t p = n_ - 1; p > 0; --p) {
      const int32_t v = order_[at(p)];
      const int32_t u = parent_[at(v)];
      if (heavy_[at(u)] < 0 || size_[at(heavy_[at(u)])] < size_[at(v)]) heavy_[at(u)] = v;
    }
    count_[0] = -1;  // no tree edge above the root
    head_.assign(at(n_), 0);
    chainPos_.assign(at(n_), 0);
    chainOrder_.resize(at(n_));
    int32_t next = 0;
    for (int32_t p = 0; p < n_; ++p) {
      const int32_t v = order_[at(p)];
      if (v != 0 && heavy_[at(parent_[at(v)])] == v) continue;  // inside a chain started above
      for (int32_t x = v; x >= 0; x = heavy_[at(x)]) {
        head_[at(x)] = v;
        chainPos_[at(x)] = next;
        chainOrder_[at(next++)] = x;
      }
    }
    return !stop_.stopRequested();
  }

  int32_t lca(int32_t x, int32_t y) const {
    while (head_[at(x)] != head_[at(y)]) {
      if (depth_[at(head_[at(x)])] < depth_[at(head_[at(y)])]) std::swap(x, y);
      x = parent_[at(head_[at(x)])];
    }
    return depth_[at(x)] < depth_[at(y)] ? x : y;
  }
  int32_t ancestorAtDepth(int32_t x, int32_t d) const {
    while (depth_[at(head_[at(x)])] > d) x = parent_[at(head_[at(x)])];
    return chainOrder_[at(chainPos_[at(x)] - (depth_[at(x)] - d))];
  }

  // hi(v): the deepest landing of cover(v), by taking back edges deepest head first and
  // giving each node on the way up from the tail the first value that reaches it.
  bool computeHigh() {
    high_.assign(at(n_), -1);
    std::vector<int32_t> byDepth(at(n_) + 1, 0);
    for (int32_t h : backHead_) ++byDepth[at(depth_[at(h)]) + 1];
    for (size_t d = 0; d < at(n_); ++d) byDepth[d + 1] += byDepth[d];
    std::vector<int32_t> sorted(backHead_.size());
    for (size_t k = 0; k < backHead_.size(); ++k)
      sorted[at(byDepth[at(depth_[at(backHead_[k])])]++)] = static_cast<int32_t>(k);
    std::vector<int32_t> up(at(n_));  // union-find towards the nearest node without a value
    for (int32_t v = 0; v < n_; ++v) up[at(v)] = v;
    auto find = [&](int32_t v) {
      int32_t r = v;
      while (up[at(r)] != r) r = up[at(r)];
      while (up[at(v)] != r) {
        const int32_t next = up[at(v)];
        up[at(v)] = r;
        v = next;
      }
      return r;
    };
    for (size_t k = sorted.size(); k-- > 0;) {
      if ((k & 1023) == 0 && stop_.poll()) return false;
      const int32_t tail = backTail_[at(sorted[k])];
      const int32_t headDepth = depth_[at(backHead_[at(sorted[k])])];
      for (int32_t z = find(tail); depth_[at(z)] > headDepth; z = find(z)) {
        high_[at(z)] = headDepth;
        up[at(z)] = parent_[at(z)];
      }
    }
    return true;
  }

  // M(v): the nearest common ancestor of the tails of cover(v): the first and the last node
  // in preorder within v's subtree with a back edge landing above v (a minimum tree over
  // the own lowest landings finds them).
  bool computeMeet() {
    size_t leaves = 1;
    while (leaves < at(n_)) leaves *= 2;
    leaves_ = leaves;
    tree_.assign(2 * leaves, kNone);
    for (int32_t p = 0; p < n_; ++p) tree_[leaves + at(p)] = ownLow_[at(order_[at(p)])];
    for (size_t i = leaves - 1; i >= 1; --i) tree_[i] = std::min(tree_[2 * i], tree_[2 * i + 1]);
    meet_.assign(at(n_), -1);
    for (int32_t v = 1; v < n_; ++v) {
      if ((v & 1023) == 0 && stop_.poll()) return false;
      const int32_t from = pre_[at(v)];
      const int32_t to = from + size_[at(v)];
      const int32_t first = findEnd(1, 0, static_cast<int32_t>(leaves), from, to, depth_[at(v)], true);
      const int32_t last = findEnd(1, 0, static_cast<int32_t>(leaves), from, to, depth_[at(v)], false);
      if (first >= 0 && last >= 0) meet_[at(v)] = lca(order_[at(first)], order_[at(last)]);
    }
    return true;
  }
  // The first (or last) position in [from, to) whose value is below `below`, -1 if none.
  int32_t findEnd(size_t node, int32_t lo, int32_t hi, int32_t from, int32_t to, int32_t below,
                  bool first) const {
    if (hi <= from || to <= lo || tree_[node] >= below) return -1;
    if (hi - lo == 1) return lo;
    const int32_t mid = (lo + hi) / 2;
    const size_t a = first ? 2 * node : 2 * node + 1;
    const size_t b = first ? 2 * node + 1 : 2 * node;
    const int32_t r =
        first ? findEnd(a, lo, mid, from, to, below, first) : findEnd(a, mid, hi, from, to, below, first);
    if (r >= 0) return r;
    return first ? findEnd(b, mid, hi, from, to, below, first) : findEnd(b, lo, mid, from, to, below, first);
  }

  void buildLabels() {
    label_.assign(at(n_), 0);
    for (size_t k = 0; k < backTail_.size(); ++k) {
      const uint64_t h = mixBits(0x5eedull * 1000003ull + k);
      label_[at(backTail_[k])] ^= h;
      label_[at(backHead_[k])] ^= h;
    }
    for (int32_t p = n_ - 1; p > 0; --p) {
      const int32_t v = order_[at(p)];
      label_[at(parent_[at(v)])] ^= label_[at(v)];
    }
  }

  // The cuts with at most two tree edges, in one preorder sweep that keeps, per value of c,
  // the nodes of the current root path holding it (newest first).
  bool sweep() {
    std::vector<int32_t> meetStart(at(n_) + 1, 0), meetList;
    for (int32_t v = 1; v < n_; ++v)
      if (meet_[at(v)] >= 0) ++meetStart[at(meet_[at(v)]) + 1];
    for (size_t i = 0; i < at(n_); ++i) meetStart[i + 1] += meetStart[i];
    meetList.resize(at(meetStart[at(n_)]));
    {
      std::vector<int32_t> fill(meetStart.begin(), meetStart.end() - 1);
      for (int32_t v = 1; v < n_; ++v)
        if (meet_[at(v)] >= 0) meetList[at(fill[at(meet_[at(v)])]++)] = v;
    }
    int32_t maxCount = 0;
    for (int32_t v = 0; v < n_; ++v) maxCount = std::max(maxCount, count_[at(v)]);
    std::vector<int32_t> newestWith(at(maxCount) + 2, -1);
    std::vector<int32_t> olderWith(at(n_), -1);
    std::vector<int32_t> path;
    for (int32_t p = 0; p < n_; ++p) {
      if (stop_.poll()) return false;
      const int32_t x = order_[at(p)];
      while (!path.empty() && !inSubtree(path.back(), x)) {
        const int32_t y = path.back();
        path.pop_back();
        if (count_[at(y)] >= 0) newestWith[at(count_[at(y)])] = olderWith[at(y)];
      }
      path.push_back(x);
      if (count_[at(x)] >= 0) {
        olderWith[at(x)] = newestWith[at(count_[at(x)])];
        newestWith[at(count_[at(x)])] = x;
      }
      if (x == 0) continue;
      if (count_[at(x)] == 2) {
        Ranges s;
        s.add(pre_[at(x)], pre_[at(x)] + size_[at(x)]);
        consider(s);
      }
      // cover(x) inside cover(v), one edge more: v between hi(x) and x.
      if (count_[at(x)] + 1 <= maxCount)
        for (int32_t v = newestWith[at(count_[at(x)] + 1)]; v >= 0 && depth_[at(v)] > high_[at(x)];
             v = olderWith[at(v)])
          considerDifference(v, x);
      // cover(v) inside cover(w), one edge more, for every v meeting at x: w between v and x.
      for (int32_t k = meetStart[at(x)]; k < meetStart[at(x) + 1]; ++k) {
        const int32_t v = meetList[at(k)];
        if (count_[at(v)] + 1 > maxCount) continue;
        for (int32_t w = newestWith[at(count_[at(v)] + 1)]; w >= 0 && depth_[at(w)] > depth_[at(v)];
             w = olderWith[at(w)])
          considerDifference(v, w);
      }
    }
    return true;
  }
  void considerDifference(int32_t v, int32_t w) {
    Ranges s;
    s.add(pre_[at(v)], pre_[at(w)]);
    s.add(pre_[at(w)] + size_[at(w)], pre_[at(v)] + size_[at(v)]);
    consider(s);
  }

  // Three tree edges, by labels. For every node x: as the lowest piece of a chain u > w1 > x,
  // whose cover lands on the path from u down to w1's parent, u is at most the window above
  // x's landings; as one of the two subtrees cut out below u, whose cover lands above u, u
  // is at most the window above x (and below x's landings). The third node comes from the
  // label cover(u) ^ cover(x).
  bool labelSearch() {
    const int32_t window = std::min(maxSide_, kLabelWindow);
    // Node by label: open addressing over a power of two at least twice the nodes.
    size_t capacity = 16;
    while (capacity < 2 * at(n_)) capacity *= 2;
    std::vector<int32_t> slot(capacity, -1);
    for (int32_t v = 1; v < n_; ++v) {
      size_t i = label_[at(v)] & (capacity - 1);
      while (slot[i] >= 0) i = (i + 1) & (capacity - 1);
      slot[i] = v;
    }
    auto third = [&](int32_t u, int32_t x) {
      const uint64_t wanted = label_[at(u)] ^ label_[at(x)];
      for (size_t i = wanted & (capacity - 1); slot[i] >= 0; i = (i + 1) & (capacity - 1))
        if (label_[at(slot[i])] == wanted) return slot[i] == x || slot[i] == u ? -1 : slot[i];
      return -1;
    };
    for (int32_t x = 1; x < n_; ++x) {
      if (stop_.poll()) return false;
      const int32_t lo = low_[at(x)];
      const int32_t hi = high_[at(x)];
      if (lo == kNone || hi < 0) continue;
      // The chain.
      const int32_t top = std::max(1, hi + 1 - window);
      if (hi - lo + 1 <= window && lo >= top) {
        int32_t u = ancestorAtDepth(x, lo);
        for (int32_t d = lo; d >= top; --d, u = parent_[at(u)]) {
          const int32_t y = third(u, x);
          if (y < 0 || !inSubtree(y, x) || depth_[at(y)] <= hi) continue;
          Ranges s;
          s.add(pre_[at(u)], pre_[at(y)]);
          s.add(pre_[at(x)], pre_[at(x)] + size_[at(x)]);
          s.add(pre_[at(y)] + size_[at(y)], pre_[at(u)] + size_[at(u)]);
          consider(s);
        }
      }
      // The fork.
      const int32_t highest = std::max({1, hi + 1, depth_[at(x)] - window});
      int32_t u = parent_[at(x)];
      for (int32_t d = depth_[at(x)] - 1; d >= highest; --d, u = parent_[at(u)]) {
        // cover(u) = cover(x) + cover(y), c(y) >= 2, and the tails of cover(u) meet at the
        // common ancestor of x and y, strictly above x.
        const int32_t meet = meet_[at(u)];
        if (count_[at(u)] < count_[at(x)] + 2 || meet < 0 || meet == x || !inSubtree(meet, x)) continue;
        const int32_t y = third(u, x);
        if (y < 0 || !inSubtree(u, y) || inSubtree(y, x) || inSubtree(x, y) || high_[at(y)] >= d) continue;
        int32_t a = x;
        int32_t b = y;
        if (pre_[at(a)] > pre_[at(b)]) std::swap(a, b);
        Ranges s;
        s.add(pre_[at(u)], pre_[at(a)]);
        s.add(pre_[at(a)] + size_[at(a)], pre_[at(b)]);
        s.add(pre_[at(b)] + size_[at(b)], pre_[at(u)] + size_[at(u)]);
        consider(s);
      }
    }
    return true;
  }

  // Checks a candidate side by scanning the smaller of it and its complement; keeps it when
  // exactly three edges leave and both sides have two nodes or more.
  void consider(const Ranges& s) {
    const int64_t inside = s.size();
    const int64_t outside = n_ - inside;
    if (inside < 2 || outside < 2 || std::min(inside, outside) > maxSide_) return;
    Ranges scan = s;
    if (outside < inside) {
      scan = Ranges{};
      int32_t from = 0;
      for (int32_t i = 0; i < s.count; ++i) {
        scan.add(from, s.range[at(i)][0]);
        from = s.range[at(i)][1];
      }
      scan.add(from, n_);
    }
    ++stamp_;
    if (mark_.empty()) mark_.assign(at(n_), 0);
    ThreeEdgeCut cut;
    for (int32_t i = 0; i < scan.count; ++i)
      for (int32_t p = scan.range[at(i)][0]; p < scan.range[at(i)][1]; ++p) {
        mark_[at(order_[at(p)])] = stamp_;
        cut.side.push_back(order_[at(p)]);
      }
    int32_t leaving = 0;
    for (int32_t v : cut.side)
      for (int32_t k = inc_.start[at(v)]; k < inc_.start[at(v) + 1]; ++k) {
        const int32_t e = inc_.edge[at(k)];
        const PartEdge& edge = g_.edges[at(e)];
        if (mark_[at(edge.a == v ? edge.b : edge.a)] == stamp_) continue;
        if (leaving == 3) return;
        cut.edges[at(leaving++)] = e;
      }
    if (leaving != 3) return;
    std::sort(cut.edges.begin(), cut.edges.end());
    found_.push_back(std::move(cut));
  }

  const PartGraph& g_;
  const int32_t n_;
  const int32_t maxSide_;
  const StopToken& stop_;
  const Incidence inc_;
  std::vector<int32_t> pre_, order_, parent_, parentEdge_, depth_, size_, count_, low_, ownLow_, high_, meet_;
  std::vector<int32_t> heavy_, head_, chainPos_, chainOrder_;
  std::vector<int32_t> backTail_, backHead_;
  std::vector<int32_t> tree_;
  size_t leaves_ = 1;
  std::vector<uint64_t> label_;
  std::vector<int32_t> mark_;
  int32_t stamp_ = 0;
  std::vector<ThreeEdgeCut> found_;
};

}  // namespace

std::vector<ThreeEdgeCut> findThreeEdgeCuts(const PartGraph& graph, int32_t maxSide, const StopToken& stop) {
  std::vector<ThreeEdgeCut> cuts;
  if (graph.nodeCount < 4 || maxSide < 2) return cuts;
  CutFinder finder(graph, maxSide, stop);
  if (!finder.run(cuts)) cuts.clear();
  return cuts;
}

}  // namespace hc
